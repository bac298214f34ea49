#include "acquisitions/core/copygeneration.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/receiving_p.h"
#include "base/messages.h"
#include "base/progress.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/schema.h"

namespace folian {

namespace {

constexpr int kMostCopies = 1000;
constexpr int kCopiesPerStep = 64;
constexpr int kNumbersNamed = 20;
// A start of more digits could overflow once the count is added.
constexpr qsizetype kMostStartDigits = 15;

// The running start of a series: 0 when blank, 0 or not a number.
qint64 startOf(const NumberSeries &s)
{
    const QString t = s.start.trimmed();
    if (t.isEmpty() || t.size() > kMostStartDigits)
        return 0;
    for (const QChar c : t)
        if (c < u'0' || c > u'9')
            return 0;
    return t.toLongLong();
}

int columnSize(const char *column)
{
    const ColumnDef *c = Schema::table(QStringLiteral("NOTICE_EXEMPLAIRE"))->column(QLatin1String(column));
    return c && c->size > 0 ? c->size : 255;
}

// The values longer than their column, at most a few of them named.
QStringList tooLong(const QStringList &values, int size)
{
    QStringList out;
    for (const QString &v : values)
        if (v.size() > size && !out.contains(v))
            out << v;
    return out;
}

QStringList named(QStringList numbers)
{
    if (numbers.size() > kNumbersNamed) {
        const qsizetype more = numbers.size() - kNumbersNamed;
        numbers = numbers.mid(0, kNumbersNamed);
        numbers << QStringLiteral("… (+%1)").arg(more);
    }
    return numbers;
}

GenerationResult refused(const QString &message)
{
    GenerationResult r;
    r.message = message;
    return r;
}

} // namespace

QStringList seriesPreview(const NumberSeries &series, int count)
{
    QStringList out;
    const qint64 start = startOf(series);
    for (int i = 0; i < count; ++i)
        out << (start > 0 ? series.prefix + QString::number(start + i) : series.prefix);
    return out;
}

GenerationResult generateCopies(Database &db, const GenerationRequest &r, Progress *progress)
{
    // From a record, the copies are the cataloguer's; from a line or a delivery, the acquisitions'.
    const Right needed = r.context == GenerationContext::Record ? Right::CatNotice : Right::AcqTransact;
    if (const QString refusal = rightRefusal(needed, session()); !refusal.isEmpty())
        return refused(refusal);
    bool ok = false;
    const int n = r.count.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > kMostCopies)
        return refused(acq::countOutOfRange(r.count.trimmed()));
    if (startOf(r.copy) <= 0)
        return refused(acq::startZero());
    const QStringList ids = seriesPreview(r.copy, n);
    const bool shelfRuns = startOf(r.shelfMark) > 0, altRuns = startOf(r.altNumber) > 0;
    const QStringList shelfMarks = shelfRuns ? seriesPreview(r.shelfMark, n) : QStringList{r.shelfMark.prefix};
    const QStringList altNumbers = altRuns ? seriesPreview(r.altNumber, n) : QStringList();
    const struct {
        const QStringList *values;
        const char *column;
        QString caption;
    } checks[] = {{&ids, "EXP_ID", acq::text(u"N° exemplaire", u"رقم النسخة")},
                  {&shelfMarks, "EXP_COTE", acq::text(u"Cote", u"الرمز")},
                  {&altNumbers, "EXP_INV", acq::text(u"N° alternatif", u"الرقم البديل")}};
    for (const auto &c : checks) {
        const int size = columnSize(c.column);
        if (const QStringList over = tooLong(*c.values, size); !over.isEmpty())
            return refused(acq::numbersTooLong(named(over), c.caption, size));
    }
    QStringList taken;
    if (!receiving::takenNumbers(db, ids, &taken))
        return refused(databaseError(db).message);
    if (!taken.isEmpty())
        return refused(acq::numbersTaken(named(taken)));

    QVector<receiving::CopyNumbers> copies;
    copies.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString shelf = shelfMarks.value(shelfRuns ? i : 0);
        copies.append({ids.at(i), shelf.isEmpty() ? QVariant() : QVariant(shelf),
                       altRuns ? QVariant(altNumbers.at(i)) : QVariant()});
    }
    const bool received = r.context != GenerationContext::Record;
    bool clash = false;
    const AcqResult written = inTransaction(db, [&] {
        receiving::CopyCommon common;
        common.mode = r.mode;
        common.location = receiving::locationKey(r.location);
        common.support = receiving::supportKey(r.support);
        common.status = receiving::statusKey(r.status);
        if (received) {
            ReceiptTarget target;
            target.line = r.line;
            target.delivery = r.context == GenerationContext::Delivery ? r.delivery : 0;
            target.mode = r.mode;
            receiving::Line line;
            const AcqResult raised = receiving::raise(db, target, n, &line);
            if (!raised.passed)
                return raised;
            common.record = line.record;
            common.delivery = target.delivery > 0 ? QVariant(target.delivery) : QVariant();
            common.line = r.line;
            common.price = line.price;
            common.date = dateValue(db, line.date);
        } else {
            bool read = false;
            if (db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_ID = ?"), {r.record}, &read).toInt() == 0)
                return read ? AcqResult::refused(acq::recordGone()) : databaseError(db);
            common.record = r.record;
        }
        for (int from = 0; from < n; from += kCopiesPerStep) {
            if (!receiving::insertCopies(db, common, copies.mid(from, kCopiesPerStep))) {
                clash = db.dialect().isDuplicateKey(db.lastError());
                return databaseError(db);
            }
            if (progress)
                progress->step(qMin(n, from + kCopiesPerStep), n, acq::generatorCaption());
        }
        if (received && !receiving::recordReceived(db, common.record))
            return databaseError(db);
        return AcqResult::done();
    });
    if (!written.passed) {
        // Another workstation took a number meanwhile: name them, now that
        // the transaction is over.
        if (clash && receiving::takenNumbers(db, ids, &taken) && !taken.isEmpty())
            return refused(acq::numbersTaken(named(taken)));
        return refused(written.message);
    }
    GenerationResult out;
    out.passed = true;
    out.message = acq::generationDone(n);
    out.created = ids;
    return out;
}

} // namespace folian
