// Public catalogue benchmark. Fills a fresh database with the generated
// catalogue of the search benchmark, starts the catalogue server on it (on
// PostgreSQL as the role that only reads), then times, with a number of
// clients at once each sending its requests one after the other, a
// selective search (a rare word and another word of one title), a broad
// search (a common word) and record pages: requests per second, and the
// median and 95th percentile of each request's time.
//
//   bench_opac --engine SQLITE [--rows N] [--clients C] [--requests R] [--workers W]
//   bench_opac --engine POSTGRESQL [--rows N] [--clients C] [--requests R] [--workers W] [--keep]
//                                        [--only selective|broad|record]
//
// --keep (PostgreSQL) leaves the database folian_opac_bench on the server at
// the end, and reuses it when it is there with the records asked for, so
// that a server kept up between runs generates the catalogue once.
//
// The PostgreSQL server is given by FOLIAN_BENCH_PG_HOST, _PORT, _USER and
// _PASSWORD (scripts/bench.sh starts one).

#include "data/core/migrator.h"
#include "opac/core/opacrole.h"
#include "opac/server/opacserver.h"
#include "benchdb.h"
#include "cataloguegen.h"
#include "processortime.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <cstdio>
#include <mutex>

using namespace folian;
using namespace folian::bench;

namespace {

constexpr double kAimSelectiveP95Ms = 50.0;

// One GET on its own connection, waited for; the time in ms, or -1 when it
// did not end with a page (status 200).
double timedGet(quint16 port, const QByteArray &target)
{
    QElapsedTimer t;
    t.start();
    QTcpSocket s;
    s.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!s.waitForConnected(10000))
        return -1;
    s.write("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray got;
    qsizetype length = -1, headerEnd = -1;
    while (s.waitForReadyRead(60000)) {
        got += s.readAll();
        if (headerEnd < 0 && (headerEnd = got.indexOf("\r\n\r\n")) >= 0) {
            const QByteArray head = got.left(headerEnd).toLower();
            const qsizetype at = head.indexOf("content-length:");
            length = at < 0 ? -1 : head.mid(at + 15, head.indexOf('\r', at) - at - 15).trimmed().toLongLong();
        }
        if (headerEnd >= 0 && length >= 0 && got.size() - headerEnd - 4 >= length)
            break;
    }
    return got.startsWith("HTTP/1.1 200") ? double(t.nsecsElapsed()) / 1e6 : -1;
}

struct Scenario {
    QString name;
    std::function<QByteArray(int client, int request)> target;
};

struct Figures {
    Stats stats;
    double perSecond = 0;
    int failed = 0, done = 0;
};

// `clients` threads each sending `requests` requests of the scenario, the
// server answering on this thread's event loop meanwhile.
Figures run(quint16 port, const Scenario &scenario, int clients, int requests)
{
    QVector<double> times;
    std::mutex mutex;
    std::atomic<int> failed{0};
    QEventLoop loop;
    std::atomic<int> running{clients};
    std::vector<std::unique_ptr<QThread>> threads;
    QElapsedTimer wall;
    wall.start();
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back(QThread::create([&, c] {
            QVector<double> mine;
            for (int r = 0; r < requests; ++r) {
                const double ms = timedGet(port, scenario.target(c, r));
                if (ms < 0)
                    ++failed;
                else
                    mine << ms;
            }
            std::lock_guard lock(mutex);
            times += mine;
        }));
        QObject::connect(threads.back().get(), &QThread::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
        threads.back()->start();
    }
    loop.exec();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    for (auto &t : threads)
        t->wait();
    Figures f;
    f.stats = stats(times);
    f.done = int(times.size());
    f.failed = failed;
    f.perSecond = seconds > 0 ? f.done / seconds : 0;
    return f;
}

// The selective search's words of a kept database of `rows` records; empty
// when there is none.
QString keptKeyword(const ConnectionParams &c, int rows)
{
    Database db;
    if (!db.open(c, false, nullptr))
        return {};
    bool ok = false;
    const QVariant keyword =
        db.scalar(QStringLiteral("SELECT KEYWORD FROM BENCH_OPAC_KEPT WHERE RECORDS = ?"), {rows}, &ok);
    return ok ? keyword.toString() : QString();
}

// The database server's processes of the catalogue's connections (the
// workers connect as the reading role).
QList<qint64> serverProcesses(const ConnectionParams &c)
{
    Database db;
    if (!db.open(c, false, nullptr))
        return {};
    QList<qint64> pids;
    SqlRows q = db.query(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE usename = 'folian_opac_bench'"));
    while (q.next())
        pids << q.value(0).toLongLong();
    return pids;
}

// The processor time of all of `pids` in seconds; -1 when one cannot be read.
double cpuSecondsOf(const QList<qint64> &pids)
{
    double sum = 0;
    for (qint64 pid : pids) {
        const double s = folian::bench::cpuSecondsOf(pid);
        if (s < 0)
            return -1;
        sum += s;
    }
    return pids.isEmpty() ? -1 : sum;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Public catalogue benchmark."));
    p.addHelpOption();
    const QCommandLineOption engineOption(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."), QStringLiteral("engine"));
    const QCommandLineOption rowsOption(QStringLiteral("rows"), QStringLiteral("Records to generate."), QStringLiteral("n"),
                                        QStringLiteral("1000000"));
    const QCommandLineOption clientsOption(QStringLiteral("clients"), QStringLiteral("Clients at once."), QStringLiteral("n"),
                                           QStringLiteral("8"));
    const QCommandLineOption requestsOption(QStringLiteral("requests"), QStringLiteral("Requests of each client."),
                                            QStringLiteral("n"), QStringLiteral("40"));
    const QCommandLineOption workersOption(QStringLiteral("workers"), QStringLiteral("The server's workers."),
                                           QStringLiteral("n"), QStringLiteral("4"));
    const QCommandLineOption keepOption(QStringLiteral("keep"),
                                        QStringLiteral("Keep the PostgreSQL database, and reuse a kept one."));
    const QCommandLineOption onlyOption(QStringLiteral("only"), QStringLiteral("Time one request alone."),
                                        QStringLiteral("selective|broad|record"));
    p.addOptions({engineOption, rowsOption, clientsOption, requestsOption, workersOption, keepOption, onlyOption});
    p.process(app);
    const QString engine = p.value(engineOption).trimmed().toUpper();
    const int rows = p.value(rowsOption).toInt();
    const int clients = qMax(1, p.value(clientsOption).toInt());
    const int requests = qMax(1, p.value(requestsOption).toInt());
    const int workers = qMax(1, p.value(workersOption).toInt());
    if (rows < 1000)
        die(QStringLiteral("--rows must be a number of at least 1000"));

    QTemporaryDir dir;
    const bool keep = p.isSet(keepOption) && engine == QLatin1String("POSTGRESQL");
    const QString kept = QStringLiteral("folian_opac_bench");
    ConnectionParams c = keep ? benchConnection(engine, dir.path()) : benchConnection(engine, dir.path(), kept);
    const bool postgres = c.engine == QLatin1String("POSTGRESQL");
    ConnectionParams served;
    Targets targets;
    if (keep) {
        c.catalog = kept;
        targets.keyword = keptKeyword(c, rows);
        if (targets.keyword.isEmpty()) {
            adminExec(c, QStringLiteral("DROP DATABASE IF EXISTS ") + kept + QStringLiteral(" WITH (FORCE)"));
            adminExec(c, QStringLiteral("CREATE DATABASE ") + kept + QStringLiteral(" ENCODING 'UTF8'"));
        } else {
            std::fprintf(stderr, "reusing the kept database %s\n", qPrintable(kept));
        }
    }
    if (!targets.keyword.isEmpty()) {
        Database db;
        QString why;
        if (!db.open(c, false, &why))
            die(QStringLiteral("cannot open the kept database: ") + why);
        // The role stays with the kept database; it is given a new password.
        const QString password = QStringLiteral("opac-bench-%1").arg(QCoreApplication::applicationPid());
        if (!opac::GrantCatalogueReaderRole(db, QStringLiteral("folian_opac_bench"), password, nullptr, &why))
            die(QStringLiteral("the reading role: ") + why);
        served = opac::catalogueConnection(c, QStringLiteral("folian_opac_bench"), password);
    } else {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(QStringLiteral("cannot make the database: ") + why);
        if (!postgres) {
            exec(db, QStringLiteral("PRAGMA journal_mode=MEMORY"));
            exec(db, QStringLiteral("PRAGMA synchronous=OFF"));
        }
        std::fprintf(stderr, "generating %d records on %s (load %s)\n", rows, qPrintable(engine), qPrintable(loadAverage()));
        QElapsedTimer t;
        t.start();
        targets = CatalogueGenerator(db, rows).run();
        analyse(db);
        if (!postgres)
            exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        std::fprintf(stderr, "generated in %.1f s\n", double(t.elapsed()) / 1000);
        if (keep) {
            exec(db, QStringLiteral("CREATE TABLE BENCH_OPAC_KEPT (RECORDS INTEGER, KEYWORD VARCHAR(200))"));
            exec(db, QStringLiteral("INSERT INTO BENCH_OPAC_KEPT VALUES (?, ?)"), {rows, targets.keyword});
        }
        served = opac::catalogueConnection(c, {}, {});
        if (postgres) {
            const QString password = QStringLiteral("opac-bench-%1").arg(QCoreApplication::applicationPid());
            adminExec(c, QStringLiteral("DROP ROLE IF EXISTS folian_opac_bench"));
            if (!opac::GrantCatalogueReaderRole(db, QStringLiteral("folian_opac_bench"), password, nullptr, &why))
                die(QStringLiteral("the reading role: ") + why);
            served = opac::catalogueConnection(c, QStringLiteral("folian_opac_bench"), password);
        }
    }

    quint16 port = 0;
    {
        opac::Server::Options o;
        o.connection = served;
        o.port = 0;
        o.workers = workers;
        o.log = [](const QString &) {};
        opac::Server server(o);
        QString why;
        port = server.start(&why);
        if (!port)
            die(QStringLiteral("the server: ") + why);

        const QByteArray selective = "/opac/search?title=" + QUrl::toPercentEncoding(targets.keyword);
        const QList<Scenario> scenarios{
            {QStringLiteral("selective"), [&](int, int) -> QByteArray { return selective; }},
            {QStringLiteral("broad"), [](int, int) -> QByteArray { return QByteArray("/opac/search?title=histoire"); }},
            {QStringLiteral("record"), [rows](int client, int request) -> QByteArray {
                 // Records spread over the table, none of the non-public ones (every hundredth).
                 int id = 1 + int((quint64(client) * 7919 + quint64(request) * 104729) % quint64(rows));
                 if (id % 100 == 0)
                     ++id;
                 return QByteArray("/opac/record/") + QByteArray::number(qMin(id, rows));
             }},
        };
        std::printf("== public catalogue benchmark: %s, %d records, %d clients x %d requests, %d workers (load %s) ==\n",
                    qPrintable(engine), rows, clients, requests, workers, qPrintable(loadAverage()));
        std::printf("selective search: title=%s\n", qPrintable(targets.keyword));
        for (const Scenario &s : scenarios) {
            if (p.isSet(onlyOption) && p.value(onlyOption) != s.name)
                continue;
            run(port, s, clients, 2);  // warm-up: statements prepared, pages cached
            const QList<qint64> backends = postgres ? serverProcesses(c) : QList<qint64>();
            const double ours = cpuSeconds(), theirs = cpuSecondsOf(backends);
            const Figures f = run(port, s, clients, requests);
            const double perRequest = f.done > 0 ? 1000.0 / f.done : 0;
            std::printf("RESULT opac %s %-9s %7.1f req/s  median %7.1f ms  p95 %7.1f ms  max %7.1f ms  (%d answered, %d failed)\n",
                        qPrintable(engine), qPrintable(s.name), f.perSecond, f.stats.median, f.stats.p95, f.stats.max,
                        f.done, f.failed);
            // Processor time per request: this process (the server and its
            // clients), and the database server's processes of the workers.
            std::printf("processor time per request: this process %.2f ms", (cpuSeconds() - ours) * perRequest);
            if (postgres && theirs >= 0)
                std::printf(", database server %.2f ms", (cpuSecondsOf(backends) - theirs) * perRequest);
            std::printf("\n");
            if (s.name == QLatin1String("selective") && postgres)
                std::printf("aim: selective search p95 under %.0f ms on PostgreSQL: %s\n", kAimSelectiveP95Ms,
                            f.stats.p95 < kAimSelectiveP95Ms ? "ok" : "MISSED");
            std::fflush(stdout);
        }
        std::printf("load after: %s\n", qPrintable(loadAverage()));
    }
    if (postgres && !keep) {
        dropBenchDatabase(c);
        adminExec(c, QStringLiteral("DROP ROLE IF EXISTS folian_opac_bench"));
    }
    return 0;
}
