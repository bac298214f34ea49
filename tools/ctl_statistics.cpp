// The statistics command: the rows of a statistic, tab-separated, and its
// spreadsheets and page on demand.

#include "ctl.h"

#include "data/core/database.h"
#include "data/core/helpers.h"
#include "statistics/core/statexport.h"
#include "statistics/core/statistics.h"

namespace folian::ctl {

namespace {

bool dayOption(const Args &a, const char *name, QDate *day)
{
    const QString key = QLatin1String(name);
    if (!a.has(key))
        return true;
    *day = QDate::fromString(a.value(key), Qt::ISODate);
    return day->isValid();
}

QStringList statisticNames()
{
    QStringList names;
    for (const StatisticDef &d : statisticDefs())
        names << d.name;
    return names;
}

int runStatistic(const Args &a)
{
    const std::optional<Statistic> s = a.positional.size() == 1 ? statisticNamed(a.positional.first()) : std::nullopt;
    if (!s)
        return fail(QStringLiteral("stats takes one of: ") + statisticNames().join(QStringLiteral(", ")));
    const StatisticDef &def = statisticDef(*s);
    StatisticOptions o;
    o.limit = def.limits.isEmpty() ? 0 : 10;
    if (a.has(QStringLiteral("limit"))) {
        bool ok = false;
        o.limit = a.value(QStringLiteral("limit")).toInt(&ok);
        if (!ok || o.limit <= 0)
            return fail(QStringLiteral("--limit takes a number of rows above 0"));
    }
    o.classification = a.value(QStringLiteral("classification"));
    if (!def.groupings.isEmpty())
        o.by = def.groupings.first();
    if (a.has(QStringLiteral("by"))) {
        const std::optional<StatGrouping> by = groupingNamed(a.value(QStringLiteral("by")));
        if (!by)
            return fail(QStringLiteral("--by takes type, supplier, month, category or structure"));
        o.by = *by;
    }
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    // The period of the screens unless given: from the first of the month to today.
    const QDate today = serverToday(db);
    o.from = QDate(today.year(), today.month(), 1);
    o.to = today;
    if (!dayOption(a, "from", &o.from) || !dayOption(a, "to", &o.to))
        return fail(QStringLiteral("--from and --to take a day as YYYY-MM-DD"));

    const StatisticTable t = computeStatistic(db, *s, o);
    if (!t.ok)
        return fail(t.message);
    for (int row = 0; row < t.rows.size(); ++row) {
        QStringList cells;
        for (int c = 0; c < t.layout.columns.size(); ++c)
            cells << cellText(t, row, c);
        say(cells.join(u'\t'));
    }
    if (a.has(QStringLiteral("csv"))) {
        const ExportResult r = writeStatisticCsv(t, a.value(QStringLiteral("csv")));
        if (!r.ok)
            return fail(r.message);
    }
    if (a.has(QStringLiteral("xlsx"))) {
        const ExportResult r = writeStatisticXlsx(t, a.value(QStringLiteral("xlsx")));
        if (!r.ok)
            return fail(r.message);
    }
    if (a.has(QStringLiteral("page"))) {
        const ReportResult r = writeReport(db, statisticReport(t));
        if (!r.written())
            return fail(r.message);
    }
    return 0;
}

} // namespace

void addStatisticsCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("stats"),
                   QStringLiteral("stats NAME [--limit N] [--classification C] [--from YYYY-MM-DD --to YYYY-MM-DD] "
                                  "[--by type|supplier|month|category|structure] [--csv FILE] [--xlsx FILE] [--page]"),
                   QStringLiteral("print a statistic's rows tab-separated (label, counts, rate): NAME is ")
                       + statisticNames().join(QStringLiteral(", "))
                       + QStringLiteral("; --csv and --xlsx save it for a spreadsheet, --page writes its HTML page"),
                   {QStringLiteral("limit"), QStringLiteral("classification"), QStringLiteral("from"), QStringLiteral("to"),
                    QStringLiteral("by"), QStringLiteral("csv"), QStringLiteral("xlsx")},
                   {QStringLiteral("page")},
                   runStatistic};
}

} // namespace folian::ctl
