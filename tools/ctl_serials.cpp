// Serial issues received or awaited on a delivery, and the claims to late
// suppliers, through the services the screens use.

#include "ctl_acq.h"

#include "acquisitions/core/claims.h"
#include "acquisitions/core/receivedcopies.h"
#include "data/core/database.h"
#include "data/core/helpers.h"

namespace folian::ctl {

namespace {

int addIssue(const Args &a)
{
    ReceiptTarget t;
    if (a.positional.size() != 2 || !toKey(a.positional.at(0), &t.delivery) || !toKey(a.positional.at(1), &t.line))
        return fail(QStringLiteral("issue-add takes DELIVERY LINE (see --help)"));
    IssueSheet issue;
    issue.number = a.value(QStringLiteral("number"));
    issue.date = a.value(QStringLiteral("date"));
    issue.title = a.value(QStringLiteral("title"));
    issue.received = !a.has(QStringLiteral("awaited"));
    return withDatabase(a, [&](Database &db) { return addReceivedIssue(db, t, issue); });
}

// The letters and the list written into DIR; the late suppliers printed.
int claims(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("claims takes the directory of the letters (see --help)"));
    QDate today;
    if (!dayOption(a, "date", &today))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    if (!today.isValid())
        today = serverToday(db);
    const ClaimBatch b = writeClaims(db, a.positional.first(), today);
    if (!b.passed)
        return fail(b.message);
    for (const LateSupplier &s : b.suppliers)
        say(QString::number(s.id) + u'\t' + s.name);
    return 0;
}

} // namespace

void addSerialCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("issue-add"),
                   QStringLiteral("issue-add DELIVERY LINE --number N [--date TEXT] [--title TEXT] [--awaited]"),
                   QStringLiteral("record a serial issue on a delivered title, received (or awaited, to be claimed); "
                                  "prints its key"),
                   {QStringLiteral("number"), QStringLiteral("date"), QStringLiteral("title")},
                   {QStringLiteral("awaited")}, addIssue};
    out << Command{QStringLiteral("claims"), QStringLiteral("claims DIR [--date YYYY-MM-DD]"),
                   QStringLiteral("write a claim letter per late supplier (relanceFournisseur-KEY.html) and their list "
                                  "(listeFournisseur.html) into DIR; prints KEY<TAB>NAME of each late supplier"),
                   {QStringLiteral("date")}, {}, claims};
}

} // namespace folian::ctl
