// Record search benchmark. Fills a fresh database with a generated
// catalogue: records with French and Arabic titles (and a long tail of rare
// words), their authors (headings of persons, a fifth of them with a
// rejected form too), subjects, publishers and copies. Then, each time in a
// fresh process, it times the searches as the search screen runs them (the
// record query opened on the shared query QNotice and its first 50 rows
// read) and their count, and the list "liste.html" of every hundredth
// record. The measures are taken with the search indexes, then again after
// dropping them (the searches then scan), and the indexes are made anew
// over the full tables.
//
//   bench_search --engine SQLITE [--rows N] [--repeats R] [--dir DIR] [--keep] [--no-scan]
//   bench_search --engine POSTGRESQL [--rows N] [--repeats R] [--keep] [--no-scan]
//
// --no-scan leaves out the measures without the indexes (at a million
// records a scan of every search runs for an hour on the server).
//
// The PostgreSQL server is given by FOLIAN_BENCH_PG_HOST, _PORT, _USER and
// _PASSWORD (scripts/bench.sh starts one).

#include "base/outputdir.h"
#include "base/session.h"
#include "catalogue/core/headings.h"
#include "catalogue/core/parentsearch.h"
#include "catalogue/core/recordlist.h"
#include "catalogue/core/recordresult.h"
#include "catalogue/core/recordsearch.h"
#include "catalogue/core/references.h"
#include "data/core/database.h"
#include "data/core/dataset.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "data/core/shareddata.h"
#include "reports/core/report.h"
#include "benchdb.h"
#include "measuringprocess.h"
#include "cataloguegen.h"
#include "recordgen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

constexpr int kFirstRows = 50;
constexpr int kListRepeats = 3;
constexpr double kAimSelectiveMs = 100.0;
constexpr double kAimBroadMs = 1000.0;

// --- options ----------------------------------------------------------------

struct Options {
    QString engine;
    int rows = 1000000;
    int repeats = 7;
    QString dir;
    bool keep = false;
    bool scan = true;
    // The measuring process: the database and what to look for.
    bool measure = false;
    QString file, db, label;
    QStringList criteria;  // keyword, author, ISBN

    bool postgres() const { return engine == QLatin1String("POSTGRESQL"); }
};

Options parseOptions(const QCoreApplication &app)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Record search benchmark."));
    p.addHelpOption();
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."),
                                    QStringLiteral("engine"));
    const QCommandLineOption rows(QStringLiteral("rows"), QStringLiteral("Records to generate."), QStringLiteral("n"),
                                  QStringLiteral("1000000"));
    const QCommandLineOption repeats(QStringLiteral("repeats"), QStringLiteral("Runs of each search."),
                                     QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption dir(QStringLiteral("dir"), QStringLiteral("Directory of the SQLite file."),
                                 QStringLiteral("dir"));
    const QCommandLineOption keep(QStringLiteral("keep"), QStringLiteral("Keep the generated database."));
    const QCommandLineOption noScan(QStringLiteral("no-scan"), QStringLiteral("Measure with the indexes only."));
    const QCommandLineOption measure(QStringLiteral("measure"), QStringLiteral("Measuring process."));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("SQLite file (measuring process)."),
                                  QStringLiteral("file"));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("Database (measuring process)."),
                                QStringLiteral("name"));
    const QCommandLineOption label(QStringLiteral("label"), QStringLiteral("Name of the measures."),
                                   QStringLiteral("label"));
    const QCommandLineOption criterion(QStringLiteral("criterion"), QStringLiteral("Keyword, author, ISBN."),
                                       QStringLiteral("text"));
    p.addOptions({engine, rows, repeats, dir, keep, noScan, measure, file, db, label, criterion});
    p.process(app);
    Options o;
    o.engine = p.value(engine).trimmed().toUpper();
    if (o.engine != QLatin1String("SQLITE") && !o.postgres())
        die(QStringLiteral("--engine SQLITE|POSTGRESQL is required"));
    bool ok = false;
    o.rows = p.value(rows).toInt(&ok);
    if (!ok || o.rows < 1000)
        die(QStringLiteral("--rows must be a number of at least 1000"));
    o.repeats = p.value(repeats).toInt(&ok);
    if (!ok || o.repeats < 1)
        die(QStringLiteral("--repeats must be a positive number"));
    o.dir = p.value(dir);
    o.keep = p.isSet(keep);
    o.scan = !p.isSet(noScan);
    o.measure = p.isSet(measure);
    o.file = p.value(file);
    o.db = p.value(db);
    o.label = p.value(label);
    o.criteria = p.values(criterion);
    return o;
}

ConnectionParams connection(const Options &o, const QString &catalog)
{
    ConnectionParams c;
    c.engine = o.engine;
    c.catalog = catalog;
    if (o.postgres()) {
        c.server = qEnvironmentVariable("FOLIAN_BENCH_PG_HOST", QStringLiteral("127.0.0.1")) + u':'
            + qEnvironmentVariable("FOLIAN_BENCH_PG_PORT", QStringLiteral("5432"));
        c.user = qEnvironmentVariable("FOLIAN_BENCH_PG_USER", QStringLiteral("postgres"));
        c.password = qEnvironmentVariable("FOLIAN_BENCH_PG_PASSWORD");
        c.appDir = QDir::tempPath() + u'/';
    } else {
        c.appDir = QFileInfo(catalog).absolutePath() + u'/';
    }
    return c;
}

// --- the measuring process ------------------------------------------------------

struct Search {
    QString name;
    RecordCriteria criteria;
};

QList<Search> searches(const QStringList &targets)
{
    QList<Search> out;
    RecordCriteria keyword, author, isbn, broad;
    keyword.titleWords = targets.value(0);
    author.author = targets.value(1);
    isbn.number = targets.value(2);
    broad.titleWords = QStringLiteral("histoire");
    out << Search{QStringLiteral("keyword"), keyword} << Search{QStringLiteral("author"), author}
        << Search{QStringLiteral("isbn"), isbn} << Search{QStringLiteral("broad"), broad};
    return out;
}

// The plan of the engine for a search's query, on standard error.
void explain(Database &db, const Search &search)
{
    SqlCondition sql;
    QString why;
    if (!recordSearchQuery(db.dialect(), search.criteria, QStringLiteral("N.*"), &sql, &why))
        die(why);
    // The server cannot prepare an EXPLAIN: its values are written into it.
    SqlRows plan = db.dialect().isPostgres()
        ? db.query(Dialect::inlineBinds(db.connection(), QStringLiteral("EXPLAIN ") + sql.sql, sql.binds))
        : db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql.sql, sql.binds);
    std::fprintf(stderr, "-- %s: %s\n", qPrintable(search.name), qPrintable(sql.sql));
    const int column = db.dialect().isPostgres() ? 0 : 3;
    while (plan.next())
        std::fprintf(stderr, "   %s\n", qPrintable(plan.value(column).toString()));
}

// The first page of a dataset opened on a query (kFirstRows rows, or all
// there are), in milliseconds; stops when it finds nothing.
double firstPage(Dataset *q, const QString &name, const QString &sql, const QVariantList &binds)
{
    QElapsedTimer t;
    t.start();
    if (!q->open(sql, binds))
        die(name + QStringLiteral(": ") + q->lastError());
    while (q->rowCount() < kFirstRows && q->fetchMore()) {
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (q->rowCount() == 0)
        die(name + QStringLiteral(" found nothing"));
    q->close();
    return ms;
}

// The lists read in alphabetical order: searches sorted by title (a rare
// word, an author, a common word, every record of a type) and the heading
// and publisher lists, by a beginning and whole.
struct Ordered {
    QString name;
    enum { Records, Headings, Publishers } list;
    RecordCriteria criteria;  // Records
    QString typed;            // Headings, Publishers
};

QList<Ordered> orderedLists(const QStringList &targets)
{
    QList<Ordered> out;
    auto records = [&](const char *name, RecordCriteria c) {
        c.sort = RecordSort::Title;
        out << Ordered{QLatin1String(name), Ordered::Records, c, {}};
    };
    RecordCriteria keyword, author, broad, arabic, type;
    keyword.titleWords = targets.value(0);
    author.author = targets.value(1);
    broad.titleWords = QStringLiteral("histoire");
    // A common word of the Arabic titles: in the French order they come
    // last, as the Latin titles do in the Arabic order.
    arabic.titleWords = QStringLiteral("تاريخ");
    type.type = QStringLiteral("a");
    records("title_keyword", keyword);
    records("title_author", author);
    records("title_broad", broad);
    records("title_arabic", arabic);
    records("title_type", type);
    out << Ordered{QStringLiteral("headings_begin"), Ordered::Headings, {}, targets.value(3) + u'*'}
        << Ordered{QStringLiteral("headings_all"), Ordered::Headings, {}, QStringLiteral("*")}
        << Ordered{QStringLiteral("publishers_begin"), Ordered::Publishers, {}, QStringLiteral("éditions m*")}
        << Ordered{QStringLiteral("publishers_all"), Ordered::Publishers, {}, QStringLiteral("*")};
    return out;
}

void measureOrdered(TFrmData &data, const Options &o)
{
    Database &db = data.db();
    const QList<Ordered> all = orderedLists(o.criteria);
    const bool conditionsOnly = qEnvironmentVariable("FOLIAN_BENCH_PLAN") == QLatin1String("conditions");
    QHash<QString, QVector<double>> ms;
    for (const QString &language : {QStringLiteral("FR"), QStringLiteral("AR")}) {
        session().setLanguage(language);
        for (int rep = 0; rep < o.repeats; ++rep) {
            for (const Ordered &l : all) {
                const QString name = l.name + u'_' + language.toLower();
                switch (l.list) {
                case Ordered::Records: {
                    RecordCriteria c = l.criteria;
                    c.sortLanguage = language;
                    SqlCondition sql;
                    QString why;
                    // As the search screen reads its result (its columns, the
                    // main author's name among them): the query built, then
                    // its first page.
                    QElapsedTimer t;
                    t.start();
                    // FOLIAN_BENCH_PLAN=conditions: the records found then sorted, whatever their number.
                    const QString columns = QStringLiteral("N.*, ") + mainAuthorExpression(QStringLiteral("N"))
                        + QStringLiteral(" AS AUTEUR");
                    const bool built = conditionsOnly ? recordSearchQuery(db.dialect(), c, columns, &sql, &why)
                                                      : recordResultQuery(db, c, &sql, &why);
                    if (!built)
                        die(name + QStringLiteral(": ") + why);
                    const double build = double(t.nsecsElapsed()) / 1e6;
                    ms[name] << build + firstPage(data.QNotice, name, sql.sql, sql.binds);
                    break;
                }
                case Ordered::Headings: {
                    const ListQuery q = headingSearch(db.dialect(), 3, 0, l.typed, language);
                    ms[name] << firstPage(data.QVedette, name, q.sql, q.binds);
                    break;
                }
                case Ordered::Publishers: {
                    const ListQuery q = authoritySearch(db.dialect(), AuthorityList::Publisher, l.typed);
                    ms[name] << firstPage(data.QEditeur, name, q.sql, q.binds);
                    break;
                }
                }
            }
        }
    }
    session().setLanguage(QStringLiteral("FR"));
    for (auto it = ms.cbegin(); it != ms.cend(); ++it) {
        const Stats s = stats(it.value());
        result(it.key() + QStringLiteral("_median"), s.median);
        result(it.key() + QStringLiteral("_max"), s.max);
    }
}

RecordCriteria listCriteria()
{
    RecordCriteria c;
    c.status = 2;
    return c;
}

int measure(const Options &o)
{
    Session &s = session();
    s.DbEngine = o.engine;
    s.SilentMode = 1;
    actAsBenchAdministrator();
    const ConnectionParams c = connection(o, o.postgres() ? o.db : o.file);
    s.DbServer = c.server;
    s.DbCatalog = c.catalog;
    s.DbUser = c.user;
    s.DbPassword = c.password;
    s.AppDir = c.appDir;
    QTemporaryDir pages;
    setUserDataDirectory(pages.path());
    TFrmData data;
    if (!data.DataModuleCreate(sessionConnection(s)))
        die(QStringLiteral("cannot connect: ") + data.db().lastError().text());
    Database &db = data.db();
    if (o.label == QLatin1String("scan"))
        db.setIndexedSearch(false);  // the searches as they were written before the indexes
    Dataset *q = data.QNotice;
    result(QStringLiteral("indexed"), db.dialect().indexedSearch() ? 1 : 0);
    std::printf("LOAD before %s\n", qPrintable(loadAverage()));

    const QList<Search> all = searches(o.criteria);
    if (qEnvironmentVariableIsSet("FOLIAN_BENCH_EXPLAIN"))
        for (const Search &search : all)
            explain(db, search);
    QHash<QString, QVector<double>> firstMs, countMs;
    QHash<QString, qint64> found;
    for (int rep = 0; rep < o.repeats; ++rep) {
        for (const Search &search : all) {
            QString why;
            QElapsedTimer t;
            t.start();
            SqlCondition sql;
            if (!recordSearchQuery(db.dialect(), search.criteria, QStringLiteral("N.*"), &sql, &why))
                die(search.name + QStringLiteral(": ") + why);
            if (!q->open(sql.sql, sql.binds))
                die(search.name + QStringLiteral(": ") + q->lastError());
            while (q->rowCount() < kFirstRows && q->fetchMore()) {
            }
            const int shown = qMin(kFirstRows, q->rowCount());
            const int fields = int(q->fieldNames().size());
            qint64 cells = 0;
            for (int r = 0; r < shown; ++r)
                for (int f = 0; f < fields; ++f)
                    cells += q->valueAt(r, f).isNull() ? 0 : 1;
            firstMs[search.name] << double(t.nsecsElapsed()) / 1e6;
            if (shown == 0 || cells == 0)
                die(search.name + QStringLiteral(" found nothing"));
            t.restart();
            const qint64 n = countRecords(db, search.criteria, &why);
            countMs[search.name] << double(t.nsecsElapsed()) / 1e6;
            if (n < shown)
                die(search.name + QStringLiteral(": count failed or too small: ") + why);
            if (found.contains(search.name) && found.value(search.name) != n)
                die(search.name + QStringLiteral(": the count changed between runs"));
            found[search.name] = n;
        }
    }
    q->close();
    for (const Search &search : all) {
        const Stats f = stats(firstMs.value(search.name)), n = stats(countMs.value(search.name));
        result(search.name + QStringLiteral("_found"), double(found.value(search.name)));
        result(search.name + QStringLiteral("_first_median"), f.median);
        result(search.name + QStringLiteral("_first_max"), f.max);
        result(search.name + QStringLiteral("_count_median"), n.median);
        result(search.name + QStringLiteral("_count_max"), n.max);
    }

    QVector<double> listMs;
    int listed = 0;
    for (int rep = 0; rep < kListRepeats; ++rep) {
        QElapsedTimer t;
        t.start();
        Report report;
        QString why;
        if (!recordListReport(db.dialect(), listCriteria(), &report, &why))
            die(QStringLiteral("list: ") + why);
        const ReportResult written = writeReport(db, report);
        if (!written.written())
            die(QStringLiteral("list: ") + written.message);
        listMs << double(t.nsecsElapsed()) / 1e6;
        listed = written.rows;
    }
    const Stats l = stats(listMs);
    result(QStringLiteral("list_rows"), listed);
    result(QStringLiteral("list_median"), l.median);
    result(QStringLiteral("list_max"), l.max);
    measureOrdered(data, o);
    result(QStringLiteral("peak_mb"), peakMb());
    std::printf("LOAD after %s\n", qPrintable(loadAverage()));
    return 0;
}

// --- the generating process -----------------------------------------------------

struct Measures {
    QHash<QString, double> values;
    QString loadBefore, loadAfter;
    double operator[](const QString &key) const { return values.value(key); }
};

Measures runMeasures(const Options &o, const QString &catalog, const QString &label, const Targets &t)
{
    QStringList args = {QStringLiteral("--measure"), QStringLiteral("--engine"), o.engine,
                        QStringLiteral("--rows"), QString::number(o.rows), QStringLiteral("--repeats"),
                        QString::number(o.repeats), QStringLiteral("--label"), label,
                        o.postgres() ? QStringLiteral("--db") : QStringLiteral("--file"), catalog};
    for (const QString &c : {t.keyword, t.author, t.isbn, t.heading})
        args << QStringLiteral("--criterion") << c;
    const QString output = runMeasuringProcess(args);
    Measures m;
    m.values = resultsOf(output);
    for (const QString &line : output.split(u'\n')) {
        const QStringList parts = line.split(u' ');
        if (parts.size() >= 3 && parts.at(0) == QLatin1String("LOAD"))
            (parts.at(1) == QLatin1String("before") ? m.loadBefore : m.loadAfter) = parts.mid(2).join(u' ');
    }
    return m;
}

QString databaseSize(Database &db, const Options &o, const QString &file)
{
    if (o.postgres())
        return db.scalar(QStringLiteral("SELECT pg_size_pretty(pg_database_size(current_database()))")).toString();
    // The pages in use: a file does not shrink when its tables are dropped.
    Q_UNUSED(file);
    const double pages = db.scalar(QStringLiteral("PRAGMA page_count")).toDouble()
        - db.scalar(QStringLiteral("PRAGMA freelist_count")).toDouble();
    return QString::number(pages * db.scalar(QStringLiteral("PRAGMA page_size")).toDouble() / 1048576.0, 'f', 0)
        + QStringLiteral(" MB");
}

QString verdict(double ms, double aim) { return ms < aim ? QStringLiteral("ok") : QStringLiteral("MISSED"); }

void printTable(const Measures &with, const Measures &without)
{
    std::printf("\n%-8s %9s | %-23s %-23s | %-23s %-23s\n", "search", "found", "first page (indexes)",
                "count (indexes)", "first page (scan)", "count (scan)");
    std::printf("%-8s %9s | %-23s %-23s | %-23s %-23s\n", "", "", "median / max ms", "median / max ms",
                "median / max ms", "median / max ms");
    // Without the scan's measures (--no-scan) their columns say so.
    auto pair = [](const Measures &m, const QString &k) {
        if (m.values.isEmpty())
            return QStringLiteral("not measured");
        return QString(QString::number(m[k + QStringLiteral("_median")], 'f', 1) + QStringLiteral(" / ")
                       + QString::number(m[k + QStringLiteral("_max")], 'f', 1));
    };
    for (const char *name : {"keyword", "author", "isbn", "broad"}) {
        const QString n = QLatin1String(name);
        const double aim = n == QLatin1String("broad") ? kAimBroadMs : kAimSelectiveMs;
        std::printf("%-8s %9.0f | %-23s %-23s | %-23s %-23s   aim first page < %.0f ms: %s\n", name,
                    with[n + QStringLiteral("_found")], qPrintable(pair(with, n + QStringLiteral("_first"))),
                    qPrintable(pair(with, n + QStringLiteral("_count"))),
                    qPrintable(pair(without, n + QStringLiteral("_first"))),
                    qPrintable(pair(without, n + QStringLiteral("_count"))), aim,
                    qPrintable(verdict(with[n + QStringLiteral("_first_median")], aim)));
        if (!without.values.isEmpty() && with[n + QStringLiteral("_found")] != without[n + QStringLiteral("_found")])
            die(n + QStringLiteral(": the scan found another number of records than the indexes"));
    }
    std::printf("list of %.0f records (liste.html): %s ms with the indexes, %s ms without\n", with[QStringLiteral("list_rows")],
                qPrintable(pair(with, QStringLiteral("list"))), qPrintable(pair(without, QStringLiteral("list"))));
    std::printf("\n%-17s | %-19s %-19s | %-19s %-19s\n", "first page in", "French (indexes)", "Arabic (indexes)",
                "French (scan)", "Arabic (scan)");
    std::printf("alphabetical order | median / max ms     median / max ms     | median / max ms     median / max ms\n");
    for (const Ordered &l : orderedLists({})) {
        const QString fr = l.name + QStringLiteral("_fr"), ar = l.name + QStringLiteral("_ar");
        const double worst = qMax(with[fr + QStringLiteral("_median")], with[ar + QStringLiteral("_median")]);
        std::printf("%-17s | %-19s %-19s | %-19s %-19s   aim < %.0f ms: %s\n", qPrintable(l.name), qPrintable(pair(with, fr)),
                    qPrintable(pair(with, ar)), qPrintable(pair(without, fr)), qPrintable(pair(without, ar)),
                    kAimSelectiveMs, qPrintable(verdict(worst, kAimSelectiveMs)));
    }
    std::printf("peak memory of the measuring process: %.0f MB\n", with[QStringLiteral("peak_mb")]);
    std::printf("load average (1, 5, 15 min): %s -> %s with the indexes, %s -> %s without\n", qPrintable(with.loadBefore),
                qPrintable(with.loadAfter), qPrintable(without.loadBefore), qPrintable(without.loadAfter));
}

int runParent(const Options &o)
{
    std::unique_ptr<QTemporaryDir> tmp;
    const QString dir = o.postgres() ? QString() : workDirectory(o.dir, o.keep, tmp);
    const QString dbName = QStringLiteral("folian_search_%1").arg(QCoreApplication::applicationPid());
    const QString file = o.postgres() ? QString() : QDir(dir).absoluteFilePath(QStringLiteral("search.db"));
    const QString catalog = o.postgres() ? dbName : file;
    if (o.postgres())
        adminExec(connection(o, {}), QStringLiteral("CREATE DATABASE ") + dbName + QStringLiteral(" ENCODING 'UTF8'"));
    else if (QFileInfo::exists(file))
        die(file + QStringLiteral(" already exists"));

    Database db;
    QString why;
    if (!db.open(connection(o, catalog), true, &why) || !createSchema(db, &why))
        die(QStringLiteral("cannot make the database: ") + why);
    if (!missingSearchIndexes(db).isEmpty())
        die(QStringLiteral("search indexes missing: ") + missingSearchIndexes(db).join(QStringLiteral(", ")));
    if (!o.postgres()) {
        // A new file has nothing to roll back to: no journal while filling it.
        exec(db, QStringLiteral("PRAGMA journal_mode=MEMORY"));
        exec(db, QStringLiteral("PRAGMA synchronous=OFF"));
    }
    std::fprintf(stderr, "generating %d records on %s (load %s)\n", o.rows, qPrintable(o.engine), qPrintable(loadAverage()));
    QElapsedTimer t;
    t.start();
    const Targets targets = CatalogueGenerator(db, o.rows).run();
    const double generateS = double(t.elapsed()) / 1000;
    t.restart();
    analyse(db);
    if (!o.postgres())
        exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    const double analyseS = double(t.elapsed()) / 1000;
    const QString sizeWith = databaseSize(db, o, file);
    std::printf("== search benchmark: %s, %d records (%s with the indexes) ==\n", qPrintable(o.engine), o.rows,
                qPrintable(sizeWith));
    std::printf("generation with the indexes kept up to date: %.1f s (%.0f records/s, their authors, subjects "
                "and copies included); analyse %.1f s\n",
                generateS, o.rows / generateS, analyseS);
    std::printf("searched: keyword \"%s\", author \"%s\", ISBN \"%s\", broad \"histoire\", list: status 2, "
                "heading list \"%s*\"\n",
                qPrintable(targets.keyword), qPrintable(targets.author), qPrintable(targets.isbn), qPrintable(targets.heading));
    std::fflush(stdout);

    db.close();
    const Measures with = runMeasures(o, catalog, QStringLiteral("indexes"), targets);
    if (with[QStringLiteral("indexed")] != 1)
        die(QStringLiteral("the searches did not use the indexes"));

    if (!o.scan) {
        printTable(with, {});
    } else {
        if (!db.open(connection(o, catalog), false, &why))
            die(why);
        if (!dropSearchIndexes(db, &why))
            die(QStringLiteral("drop: ") + why);
        analyse(db);
        const QString sizeWithout = databaseSize(db, o, file);
        db.close();
        const Measures without = runMeasures(o, catalog, QStringLiteral("scan"), targets);
        if (without[QStringLiteral("indexed")] != 0)
            die(QStringLiteral("the searches still read the indexes"));

        if (!db.open(connection(o, catalog), false, &why))
            die(why);
        t.restart();
        if (!createSearchIndexes(db, &why) || !missingSearchIndexes(db).isEmpty())
            die(QStringLiteral("create: ") + why);
        const double buildS = double(t.elapsed()) / 1000;
        printTable(with, without);
        std::printf("search indexes made anew over the full tables: %.1f s; database %s with them, %s without\n", buildS,
                    qPrintable(databaseSize(db, o, file)), qPrintable(sizeWithout));
    }
    db.close();
    if (o.postgres() && !o.keep)
        adminExec(connection(o, {}), QStringLiteral("DROP DATABASE ") + dbName + QStringLiteral(" WITH (FORCE)"));
    else if (o.keep)
        std::fprintf(stderr, "kept: %s (measured again by --measure --label indexes with --criterion \"%s\" \"%s\" \"%s\" \"%s\")\n",
                     qPrintable(catalog), qPrintable(targets.keyword), qPrintable(targets.author),
                     qPrintable(targets.isbn), qPrintable(targets.heading));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options o = parseOptions(app);
    return o.measure ? measure(o) : runParent(o);
}
