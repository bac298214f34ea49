// Catalogue benchmark. Fills a fresh database with generated records, then
// measures in a fresh child process how fast the record query opens and
// shows its first rows, how much memory that takes, and how long posting
// one new record through the shared record query takes.
//
//   bench_catalogue --engine SQLITE [--dir DIR] [--rows N]
//   bench_catalogue --engine POSTGRESQL --host H --port P --user U --password W [--db NAME] [--rows N]
//
// The PostgreSQL settings may come from FOLIAN_BENCH_PG_HOST, _PORT, _USER,
// _PASSWORD and _DB instead. --keep leaves the generated database in place.

#include "base/session.h"
#include "benchdb.h"
#include "catalogue/core/recordresult.h"
#include "data/core/database.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "data/core/shareddata.h"
#include "measuringprocess.h"
#include "recordgen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace folian;
using namespace folian::bench;

namespace {

constexpr int kOpenRepeats = 5;
constexpr int kFirstRows = 50;
constexpr int kPostRepeats = 200;
constexpr double kAimOpenMs = 500.0;
constexpr double kAimPeakMb = 300.0;
constexpr double kAimPostMs = 20.0;

// --- small utilities --------------------------------------------------------

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

QString fmt(double v, int decimals = 2) { return QString::number(v, 'f', decimals); }

// --- options ---------------------------------------------------------------

struct Options {
    QString engine;
    qint64 rows = 1000000;
    QString dir;
    QString file;   // the SQLite file, given to the child
    QString host, user, password, db;
    int port = 5432;
    bool keep = false;
    bool measure = false;

    bool postgres() const { return engine == QLatin1String("POSTGRESQL"); }
    QString server() const { return host + u':' + QString::number(port); }
};

Options parseOptions(const QCoreApplication &app)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Catalogue benchmark: generation, first rows, memory, posting."));
    p.addHelpOption();
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."),
                                    QStringLiteral("engine"));
    const QCommandLineOption rows(QStringLiteral("rows"), QStringLiteral("Records to generate."),
                                  QStringLiteral("n"), QStringLiteral("1000000"));
    const QCommandLineOption dir(QStringLiteral("dir"), QStringLiteral("Directory of the SQLite file."),
                                 QStringLiteral("dir"));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("SQLite file (child mode)."),
                                  QStringLiteral("file"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("PostgreSQL host."),
                                  QStringLiteral("host"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("PostgreSQL port."),
                                  QStringLiteral("port"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("PostgreSQL user."),
                                  QStringLiteral("user"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("PostgreSQL password."),
                                      QStringLiteral("password"));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("PostgreSQL database to create."),
                                QStringLiteral("name"));
    const QCommandLineOption keep(QStringLiteral("keep"), QStringLiteral("Keep the generated database."));
    const QCommandLineOption measure(QStringLiteral("measure-open"),
                                     QStringLiteral("Child mode: measure an existing database."));
    p.addOptions({engine, rows, dir, file, host, port, user, password, db, keep, measure});
    p.process(app);

    const auto env = [](const char *name) { return qEnvironmentVariable(name); };
    const auto pick = [&](const QCommandLineOption &o, const char *var, const QString &fallback = {}) {
        if (p.isSet(o))
            return p.value(o);
        const QString e = env(var);
        return e.isEmpty() ? fallback : e;
    };

    Options o;
    o.engine = p.value(engine).trimmed().toUpper();
    if (o.engine != QLatin1String("SQLITE") && o.engine != QLatin1String("POSTGRESQL"))
        die(QStringLiteral("--engine SQLITE|POSTGRESQL is required"));
    bool ok = false;
    o.rows = p.value(rows).toLongLong(&ok);
    if (!ok || o.rows < 1)
        die(QStringLiteral("--rows must be a positive number"));
    o.dir = p.value(dir);
    o.file = p.value(file);
    o.host = pick(host, "FOLIAN_BENCH_PG_HOST", QStringLiteral("127.0.0.1"));
    o.port = pick(port, "FOLIAN_BENCH_PG_PORT", QStringLiteral("5432")).toInt(&ok);
    if (!ok)
        die(QStringLiteral("bad port"));
    o.user = pick(user, "FOLIAN_BENCH_PG_USER", QStringLiteral("postgres"));
    o.password = pick(password, "FOLIAN_BENCH_PG_PASSWORD");
    o.db = pick(db, "FOLIAN_BENCH_PG_DB",
                QStringLiteral("folian_bench_%1").arg(QCoreApplication::applicationPid()));
    // The name goes into CREATE DATABASE as it stands: identifiers cannot be bound.
    if (!QRegularExpression(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$")).match(o.db).hasMatch())
        die(QStringLiteral("--db: lower-case letters, digits and _ only"));
    o.keep = p.isSet(keep);
    o.measure = p.isSet(measure);
    return o;
}

ConnectionParams paramsOf(const Options &o, const QString &catalog)
{
    ConnectionParams c;
    c.engine = o.engine;
    if (o.postgres()) {
        c.server = o.server();
        c.catalog = catalog;
        c.user = o.user;
        c.password = o.password;
        c.appDir = QDir::tempPath() + u'/';
    } else {
        c.catalog = catalog;
        c.appDir = QFileInfo(catalog).absolutePath() + u'/';
    }
    return c;
}


// Multi-row INSERTs on one prepared statement, all in one transaction.
void generate(Database &db, qint64 count)
{
    const TableDef *notice = Schema::table(QStringLiteral("NOTICE"));
    QVector<ColType> types;
    for (const QString &c : generatedColumns())
        types << notice->column(c)->type;

    const int batchRows = db.dialect().isPostgres() ? 1000 : 500;
    Transaction tx(db);
    if (!tx.isActive())
        die(QStringLiteral("cannot begin: ") + db.lastError().text());
    QSqlQuery full(db.connection());
    if (!full.prepare(insertSql(QStringLiteral("NOTICE"), generatedColumns(), batchRows)))
        die(QStringLiteral("prepare: ") + full.lastError().text());

    RecordGenerator gen(20240611);
    const QDateTime base(QDate(2015, 1, 1), QTime(9, 0));
    QVector<QVariantList> batch;
    batch.reserve(batchRows);
    for (qint64 id = 1; id <= count; ++id) {
        QVariantList r = gen.record(int(id), base.addSecs(id * 97));
        for (int i = 0; i < r.size(); ++i)
            r[i] = db.dialect().toDb(r.at(i), types.at(i));
        batch << r;
        if (batch.size() == batchRows) {
            if (!execBatch(full, batch))
                die(QStringLiteral("insert: ") + full.lastError().text());
            batch.clear();
        }
        if (id % 250000 == 0)
            err() << "  " << id << " records" << Qt::endl;
    }
    if (!batch.isEmpty()) {
        QSqlQuery tail(db.connection());
        if (!tail.prepare(insertSql(QStringLiteral("NOTICE"), generatedColumns(), int(batch.size()))) || !execBatch(tail, batch))
            die(QStringLiteral("insert: ") + tail.lastError().text());
    }
    full.finish();
    if (!tx.commit())
        die(QStringLiteral("commit: ") + db.lastError().text());
}

void execOrDie(Database &db, const QString &sql)
{
    if (!db.exec(sql))
        die(sql + QStringLiteral(": ") + db.lastError().text());
}

// --- child: the measures in a fresh process --------------------------------

int measure(const Options &o)
{
    Session &s = session();
    s.DbEngine = o.engine;
    s.SilentMode = 1;
    folian::bench::actAsBenchAdministrator();
    if (o.postgres()) {
        s.DbServer = o.server();
        s.DbCatalog = o.db;
        s.DbUser = o.user;
        s.DbPassword = o.password;
        s.AppDir = QDir::tempPath() + u'/';
    } else {
        s.DbCatalog = o.file;
        s.AppDir = QFileInfo(o.file).absolutePath() + u'/';
    }
    TFrmData data;
    if (!data.DataModuleCreate(sessionConnection(session())))
        die(QStringLiteral("connectSession failed: ") + data.db().lastError().text());
    Dataset *q = data.QNotice;
    const qint64 hwmBase = peakKiB();
    result(QStringLiteral("hwm_base_kb"), hwmBase);

    // (a) open and read the first rows, five times.
    QVector<double> openMs, closeMs;
    qint64 cells = 0;
    for (int rep = 0; rep < kOpenRepeats; ++rep) {
        QElapsedTimer t;
        t.start();
        if (!q->open(QStringLiteral("SELECT * FROM NOTICE")))
            die(QStringLiteral("open: ") + q->lastError());
        while (q->rowCount() < kFirstRows && q->fetchMore()) {
        }
        const int fields = int(q->fieldNames().size());
        for (int r = 0; r < kFirstRows; ++r)
            for (int c = 0; c < fields; ++c)
                if (!q->valueAt(r, c).isNull())
                    ++cells;
        openMs << msSince(t);
        t.restart();
        q->close();
        closeMs << msSince(t);
    }
    const Stats so = stats(openMs), sc = stats(closeMs);
    result(QStringLiteral("open_ms_min"), so.min);
    result(QStringLiteral("open_ms_median"), so.median);
    result(QStringLiteral("open_ms_max"), so.max);
    result(QStringLiteral("close_ms_median"), sc.median);
    result(QStringLiteral("cells_read"), cells / kOpenRepeats);

    // (b) peak memory after (a).
    result(QStringLiteral("hwm_after_kb"), peakKiB());

    // (d) the record search's result: every catalogued record (a criterion
    // that keeps them all), in each order of "Trier par": its first 50 rows,
    // the next page, and the count the screen shows.
    const struct {
        const char *key;
        RecordSort sort;
    } sorts[] = {{"none", RecordSort::None}, {"title", RecordSort::Title}, {"year", RecordSort::Year},
                 {"created", RecordSort::Created}};
    for (const auto &so2 : sorts) {
        RecordCriteria c;
        c.status = 1;
        c.sort = so2.sort;
        SqlCondition sq;
        QString why;
        if (!recordResultQuery(data.db(), c, &sq, &why))
            die(why);
        QVector<double> firstMs, nextMs, countMs;
        for (int rep = 0; rep < 3; ++rep) {
            QElapsedTimer t;
            t.start();
            if (!q->open(sq.sql, sq.binds))
                die(QStringLiteral("search: ") + q->lastError());
            while (q->rowCount() < kFirstRows && q->fetchMore()) {
            }
            firstMs << msSince(t);
            t.restart();
            const int had = q->rowCount();
            q->fetchMore(100);
            if (q->rowCount() <= had)
                die(QStringLiteral("search: no second page"));
            nextMs << msSince(t);
            t.restart();
            if (q->recordCount() < 1)
                die(QStringLiteral("search: no count"));
            countMs << msSince(t);
        }
        q->close();
        result(QStringLiteral("search_%1_first_ms").arg(QLatin1String(so2.key)), stats(firstMs).median);
        result(QStringLiteral("search_%1_next_ms").arg(QLatin1String(so2.key)), stats(nextMs).median);
        result(QStringLiteral("search_%1_count_ms").arg(QLatin1String(so2.key)), stats(countMs).median);
    }
    result(QStringLiteral("hwm_search_kb"), peakKiB());

    // (c) post new records through the shared query, its rules included.
    if (!q->open(QStringLiteral("SELECT * FROM NOTICE")))
        die(QStringLiteral("open: ") + q->lastError());
    const qint64 before = data.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE")).toLongLong();
    const int maxBefore = data.db().scalar(QStringLiteral("SELECT MAX(DOC_ID) FROM NOTICE")).toInt();
    RecordGenerator gen(7);
    QVector<double> totalMs, appendMs, postMs;
    for (int i = 0; i < kPostRepeats; ++i) {
        const bool arabic = gen.chance(30);
        const QString titre = gen.title(arabic, 2, 6);
        const QString isbn = RecordGenerator::hyphenated(gen.isbn(arabic));
        QElapsedTimer t;
        t.start();
        if (!q->append())
            die(QStringLiteral("append: ") + q->lastError());
        const double a = msSince(t);
        q->setValue(QStringLiteral("DOC_TITRE_PROPRE"), titre);
        q->setValue(QStringLiteral("DOC_TITRE_COMPLEMENT"), gen.title(arabic, 1, 3));
        q->setValue(QStringLiteral("TYP_ID"), QString(QChar(u'a' + gen.below(7))));
        q->setValue(QStringLiteral("DOC_ISBN"), isbn);
        q->setValue(QStringLiteral("DOC_ANNEE"), QString::number(1990 + gen.below(35)));
        q->setValue(QStringLiteral("DOC_LIEU_EDITION"), QStringLiteral("Alger"));
        q->setValue(QStringLiteral("DOC_NBR_UNITE"), QStringLiteral("212 p."));
        q->setValue(QStringLiteral("DOC_FORMAT"), QStringLiteral("24 cm"));
        QElapsedTimer tp;
        tp.start();
        if (!q->post())
            die(QStringLiteral("post: ") + q->lastError());
        postMs << msSince(tp);
        appendMs << a;
        totalMs << msSince(t);
    }
    const qint64 after = data.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE")).toLongLong();
    const int maxAfter = data.db().scalar(QStringLiteral("SELECT MAX(DOC_ID) FROM NOTICE")).toInt();
    if (after != before + kPostRepeats || maxAfter != maxBefore + kPostRepeats)
        die(QStringLiteral("posting went wrong: %1 -> %2 rows, max key %3 -> %4")
                .arg(before).arg(after).arg(maxBefore).arg(maxAfter));
    // The last posted record as stored: the rules ran.
    SqlRows c = data.db().query(
        QStringLiteral("SELECT DOC_ISBN, DOC_KEYWORDS, STA_ID FROM NOTICE WHERE DOC_ID = ?"), {maxAfter});
    if (!c.next() || c.value(0).toString().contains(u'-') || c.value(1).toString().isEmpty()
        || c.value(2).toInt() != 1)
        die(QStringLiteral("the posted record lacks what the rules set"));
    q->close();
    const Stats st = stats(totalMs), sa = stats(appendMs), sp = stats(postMs);
    result(QStringLiteral("post_total_ms_min"), st.min);
    result(QStringLiteral("post_total_ms_median"), st.median);
    result(QStringLiteral("post_total_ms_p95"), st.p95);
    result(QStringLiteral("post_total_ms_max"), st.max);
    result(QStringLiteral("append_ms_median"), sa.median);
    result(QStringLiteral("post_only_ms_median"), sp.median);
    result(QStringLiteral("post_only_ms_p95"), sp.p95);
    return 0;
}

// --- parent: build the database, run the child, print the figures ----------

QHash<QString, double> runChild(const Options &o, const QString &sqliteFile)
{
    QStringList args = {QStringLiteral("--measure-open"), QStringLiteral("--engine"), o.engine};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (o.postgres()) {
        args << QStringLiteral("--host") << o.host << QStringLiteral("--port") << QString::number(o.port)
             << QStringLiteral("--user") << o.user << QStringLiteral("--db") << o.db;
        env.insert(QStringLiteral("FOLIAN_BENCH_PG_PASSWORD"), o.password);  // not on the command line
    } else {
        args << QStringLiteral("--file") << sqliteFile;
    }
    const QString output = runMeasuringProcess(args, env);
    out() << "--- measuring process ---\n" << output << "---" << Qt::endl;
    return resultsOf(output);
}

QString verdict(double value, double aim) { return value < aim ? QStringLiteral("ok") : QStringLiteral("MISSED"); }

int runParent(const Options &o)
{
    std::unique_ptr<QTemporaryDir> tmp;
    const QString dir = o.postgres() ? QString() : workDirectory(o.dir, o.keep, tmp);
    const QString sqliteFile = o.postgres() ? QString() : QDir(dir).absoluteFilePath(QStringLiteral("bench.db"));
    if (!o.postgres() && QFileInfo::exists(sqliteFile))
        die(sqliteFile + QStringLiteral(" already exists"));

    Database admin;
    QString why;
    if (o.postgres()) {
        if (!admin.open(paramsOf(o, QStringLiteral("postgres")), false, &why))
            die(QStringLiteral("cannot connect to postgres: ") + why);
        execOrDie(admin, QStringLiteral("CREATE DATABASE ") + o.db);
    }

    double genS = 0, analyzeS = 0;
    {
        Database db;
        if (!db.open(paramsOf(o, o.postgres() ? o.db : sqliteFile), true, &why))
            die(QStringLiteral("cannot open the new database: ") + why);
        if (!createSchema(db, &why))
            die(QStringLiteral("createSchema: ") + why);
        if (!o.postgres()) {
            // A new file has nothing to roll back to: no journal while filling it.
            execOrDie(db, QStringLiteral("PRAGMA journal_mode=MEMORY"));
            execOrDie(db, QStringLiteral("PRAGMA synchronous=OFF"));
        }
        err() << "generating " << o.rows << " records on " << o.engine << Qt::endl;
        QElapsedTimer t;
        t.start();
        generate(db, o.rows);
        genS = msSince(t) / 1000;
        t.restart();
        if (o.postgres()) {
            execOrDie(db, QStringLiteral("VACUUM ANALYZE NOTICE"));
        } else {
            execOrDie(db, QStringLiteral("ANALYZE"));
            execOrDie(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        }
        analyzeS = msSince(t) / 1000;
        db.close();
    }
    QString size;
    if (o.postgres())
        size = admin.scalar(QStringLiteral("SELECT pg_size_pretty(pg_database_size(?))"), {o.db}).toString();
    else
        size = QString::number(double(QFileInfo(sqliteFile).size()) / 1048576.0, 'f', 0) + QStringLiteral(" MB");

    const QHash<QString, double> r = runChild(o, sqliteFile);

    const double peakMb = r.value(QStringLiteral("hwm_after_kb")) / 1024.0;
    const double baseMb = r.value(QStringLiteral("hwm_base_kb")) / 1024.0;
    QTextStream &s = out();
    s << "\n== catalogue benchmark: " << o.engine << ", " << o.rows << " records (" << size << ") ==\n";
    s << "generation            " << fmt(genS, 1) << " s (" << fmt(double(o.rows) / genS, 0) << " records/s)\n";
    s << (o.postgres() ? "vacuum analyze        " : "analyze               ") << fmt(analyzeS, 1) << " s\n";
    s << "first 50 rows         min " << fmt(r.value(QStringLiteral("open_ms_min"))) << " ms, median "
      << fmt(r.value(QStringLiteral("open_ms_median"))) << " ms, max "
      << fmt(r.value(QStringLiteral("open_ms_max"))) << " ms   aim < " << kAimOpenMs << " ms   "
      << verdict(r.value(QStringLiteral("open_ms_median")), kAimOpenMs) << '\n';
    s << "close of the query    median " << fmt(r.value(QStringLiteral("close_ms_median"))) << " ms\n";
    s << "peak memory (VmHWM)   " << fmt(peakMb, 1) << " MB (baseline after connect " << fmt(baseMb, 1)
      << " MB, +" << fmt(peakMb - baseMb, 1) << " MB)   aim < " << kAimPeakMb << " MB   "
      << verdict(peakMb, kAimPeakMb) << '\n';
    s << "post one record       min " << fmt(r.value(QStringLiteral("post_total_ms_min"))) << " ms, median "
      << fmt(r.value(QStringLiteral("post_total_ms_median"))) << " ms, p95 "
      << fmt(r.value(QStringLiteral("post_total_ms_p95"))) << " ms   aim < " << kAimPostMs << " ms   "
      << verdict(r.value(QStringLiteral("post_total_ms_p95")), kAimPostMs) << '\n';
    s << "  of which append()   median " << fmt(r.value(QStringLiteral("append_ms_median"))) << " ms\n";
    s << "  of which post()     median " << fmt(r.value(QStringLiteral("post_only_ms_median"))) << " ms, p95 "
      << fmt(r.value(QStringLiteral("post_only_ms_p95"))) << " ms\n";
    for (const char *key : {"none", "title", "year", "created"}) {
        const QString k = QLatin1String(key);
        s << "search, sort " << qSetFieldWidth(8) << Qt::left << k << qSetFieldWidth(0) << "first 50 rows "
          << fmt(r.value(QStringLiteral("search_") + k + QStringLiteral("_first_ms"))) << " ms, next 100 "
          << fmt(r.value(QStringLiteral("search_") + k + QStringLiteral("_next_ms"))) << " ms, count "
          << fmt(r.value(QStringLiteral("search_") + k + QStringLiteral("_count_ms"))) << " ms\n";
    }
    s << "peak memory after the searches " << fmt(r.value(QStringLiteral("hwm_search_kb")) / 1024.0, 1) << " MB\n";
    s.flush();

    if (o.postgres() && !o.keep)
        execOrDie(admin, QStringLiteral("DROP DATABASE ") + o.db + QStringLiteral(" WITH (FORCE)"));
    else if (o.keep)
        err() << "kept: " << (o.postgres() ? o.db : sqliteFile) << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options o = parseOptions(app);
    if (o.measure) {
        if (!o.postgres() && o.file.isEmpty())
            die(QStringLiteral("--measure-open on SQLite needs --file"));
        return measure(o);
    }
    return runParent(o);
}
