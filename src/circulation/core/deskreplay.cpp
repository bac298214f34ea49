#include "circulation/core/deskreplay.h"

#include "base/progress.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/loandesk.h"
#include "circulation/core/readers.h"

#include <QFile>

namespace folian {

namespace {

bool operationOf(const QString &name, LoanOperation *op)
{
    static const struct {
        const char *name;
        LoanOperation op;
    } names[] = {{"loan", LoanOperation::Loan},
                 {"return", LoanOperation::Return},
                 {"reserve", LoanOperation::Reservation},
                 {"renew", LoanOperation::Renewal},
                 {"cancel", LoanOperation::Cancellation}};
    for (const auto &n : names)
        if (name == QLatin1String(n.name)) {
            *op = n.op;
            return true;
        }
    return false;
}

} // namespace

ReplayResult replayDeskText(Database &db, const QString &text, Progress *progress)
{
    ReplayResult r;
    const QDate today = serverToday(db);
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (progress && progress->stopped())
            break;
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const int number = i + 1;
        const QStringList f = line.split(u'\t');
        const QDate day = QDate::fromString(f.value(0).trimmed(), Qt::ISODate);
        QString message;
        bool done = false;
        LoanOperation op = LoanOperation::Loan;
        if (f.size() != 4 || !day.isValid())
            message = circ::replayBadLine(number);
        else if (day > today)
            message = circ::replayFutureDate(number, day);
        else if (!operationOf(f.at(1).trimmed().toLower(), &op))
            message = circ::replayUnknownOperation(number, f.at(1).trimmed());
        else {
            const DeskResult d = LoanDesk(db, day).run(op, f.at(2), f.at(3));
            done = d.passed;
            message = d.lines.join(QStringLiteral(" / "));
        }
        ++(done ? r.done : r.refused);
        r.lines << QString::number(number) + QStringLiteral(": ") + message;
        if (progress)
            progress->step(i + 1, int(lines.size()), message);
    }
    return r;
}

ReplayResult replayDesk(Database &db, const QString &path, Progress *progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReplayResult r;
        r.error = circ::replayUnreadable(path);
        return r;
    }
    return replayDeskText(db, QString::fromUtf8(file.readAll()), progress);
}

} // namespace folian
