#pragma once
// The statistics of the editions module: who and what circulates (the loan
// counters of readers and records, and the loan journal over a period), what
// the collection holds and what was bought. Each statistic is one bound
// query; its rows feed the grid, the page, the chart and the spreadsheets
// alike, so that they always show the same rows.
//
// Counts come from SQL as whole numbers; rates are computed here (a rate of
// nothing is no rate, never a division by zero); amounts are exact cents
// summed in SQL. Rows are ranked by what the rate measures, then by the
// group's key, so that equal rows always come in the same order.
//
// Statistics only read: several workstations may run them at once; each
// reads the rows committed when its query runs.

#include "base/session.h"
#include "circulation/core/circulationeditions.h"
#include "data/core/helpers.h"
#include "reports/core/report.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

namespace folian {

class Database;
class Dialect;

enum class Statistic {
    Readers = 1,      // loans by reader: the readers' counters
    Categories,       // loans by reader category
    Records,          // loans by record: the records' external loans
    Types,            // loans by document type
    Structures,       // loans by reader structure
    Registered,       // registered readers by category
    Collection,       // records and copies by document type
    NewAcquisitions,  // the records that received copies in a period
    Acquisitions,     // copies delivered and their amount, by type or supplier
    Loans             // loans and returns over a period, from the loan journal
};
constexpr int StatisticCount = 10;

// How the acquisitions and the period statistics group their rows.
enum class StatGrouping { Type, Supplier, Month, Category, Structure };

// What a statistic reads, as the screen tells it.
enum class StatSource { LoanCounters, Readers, Catalogue, Copies, Deliveries, LoanJournal };

struct StatisticOptions {
    int limit = 0;            // rows at most, where the statistic offers limits; 0: all
    QString classification;   // Collection, NewAcquisitions: "*" is the wildcard; blank or "*": all
    QDate from, to;           // the period, both days included
    StatGrouping by = StatGrouping::Type;
    // NewAcquisitions' filters; null: any.
    QVariant mode;            // MOD_ID of the copy acquired in the period
    QVariant type;            // TYP_ID of the record
    QVariant language;        // LAN_ID of the record
    QVariant supplier;        // FOU_ID of an order of the record
    // One page of the rows the limit leaves: `pageRows` rows (0: all of
    // them) from the row `offset` (0: the first), in the statistic's order.
    int offset = 0;
    int pageRows = 0;
};

struct StatisticDef {
    Statistic statistic;
    QString name;          // folianctl's name ("readers")
    QString page;          // objectName of its page in the statistics screen ("TabLecteur")
    QString pageCaption;   // French caption of the page ("Stat lecteur")
    QString entry;         // objectName of the editions entry that opens it; empty: none
    Right right;           // the right that shows it
    StatSource source;
    QList<int> limits;     // the limits offered; empty: no limit
    QList<StatGrouping> groupings;  // the groupings offered; empty: one way only
};

const QList<StatisticDef> &statisticDefs();
const StatisticDef &statisticDef(Statistic s);
// The statistic of folianctl's name, or of an editions entry's objectName.
std::optional<Statistic> statisticNamed(const QString &name);
std::optional<Statistic> statisticOfEntry(const QString &entry);
// The grouping of folianctl's --by word ("type", "supplier", "month", "category", "structure").
std::optional<StatGrouping> groupingNamed(const QString &word);
QString groupingName(StatGrouping g);  // in the session's language

// The columns, page file and titles of a statistic grouped so.
struct StatisticLayout {
    QList<EditionColumn> columns;  // grid, page and spreadsheet columns, in order
    int labelColumn = 0;           // the chart's bar labels
    int rateColumn = -1;           // the chart's values; -1: no chart
    QString fileName;              // "statistiqueleteur.html"
    QString pageFrench, pageArabic;
    QString chartFrench, chartArabic;

    QString title() const;         // the page's, in the session's language
    QString chartTitle() const;
};
StatisticLayout statisticLayout(Statistic s, StatGrouping by = StatGrouping::Type);

// The statistic's query with its bound values. Its columns are those of the
// layout, but for the rate; a statistic with a rate then gives the rate's
// numerator and its denominator, last.
SqlText statisticSql(const Dialect &dialect, Statistic s, const StatisticOptions &o);

struct StatisticTable {
    Statistic statistic = Statistic::Readers;
    StatisticOptions options;
    StatisticLayout layout;
    QList<QVariantList> rows;  // one value per layout column: counts qint64, amounts Money text, rates double
    bool ok = false;
    QString message;           // why it failed or was refused, in the session's language

    QString source() const;    // what it reads, in the session's language
};

// The rows a screen reads at a time.
constexpr int StatisticPageRows = 1000;

// Runs the statistic for the session's user (who needs the statistic's
// right). A failure is said, never shown as an empty result.
StatisticTable computeStatistic(Database &db, Statistic s, const StatisticOptions &o);
// How many rows the statistic gives with these options, its limit applied
// and its page not; -1 when it is refused or cannot be read (`why` says why).
qint64 countStatistic(Database &db, Statistic s, const StatisticOptions &o, QString *why = nullptr);
// Why the statistic cannot run with these options (a period missing or
// upside down), or empty.
QString optionsRefusal(Statistic s, const StatisticOptions &o);

// A rate in percent of `part` in `whole`: none when the whole is nothing.
QVariant ratePercent(qint64 part, qint64 whole);

// The statistic's page, its rows given.
Report statisticReport(const StatisticTable &t);

// What the chart draws: one bar per row, in order, at most `maxBars`.
struct ChartData {
    QString title;
    QStringList labels;
    QList<double> values;
    int rows = 0;              // the rows of the statistic
    bool truncated() const { return rows > labels.size(); }
};
constexpr int ChartMaxBars = 1000;
ChartData chartData(const StatisticTable &t, int maxBars = ChartMaxBars);

// A cell as the grid, the command line and the CSV show it: counts as
// they are, rates with two decimals and a full stop, amounts with two decimals.
QString cellText(const StatisticTable &t, int row, int column);

// The values a filter of the new acquisitions offers, with their labels in
// the session's language, in key order. The modes are every mode but 5
// (the library's own copies, which were never acquired).
enum class AcqFilter { Mode, Type, Language, Supplier };
QList<std::pair<QVariant, QString>> filterChoices(Database &db, AcqFilter f);

} // namespace folian
