// Import benchmark: a UNIMARC file made of periouni.mrc repeated to the
// size asked for (each repetition with its own 001, ISSN, ISBN and titles, so
// that its records are new to the catalogue), imported into a fresh
// database with every lookup and the duplicate test, then imported again
// (its records found duplicate). Each import runs in a child process of its
// own, which reports its time and its peak memory; a file a third of the
// size is imported too, to show that the memory does not grow with the file.
//
//   bench_import --engine SQLITE [--records N] [--source periouni.mrc] [--dir DIR]
//   bench_import --engine POSTGRESQL [--records N] ...   (server from FOLIAN_BENCH_PG_HOST, _PORT, _USER, _PASSWORD)

#include "base/session.h"
#include "benchdb.h"
#include "catalogue/unimarc/importfile.h"
#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"
#include "catalogue/unimarc/writer.h"
#include "data/core/database.h"
#include "data/core/migrator.h"

#include <QCommandLineParser>
#include "peakmemory.h"
#include "processortime.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace folian;
using namespace folian::unimarc;
using folian::bench::cpuSeconds;
using folian::bench::cpuSecondsOf;

namespace {

constexpr double kAimSqlite = 6000.0;    // records per second
constexpr double kAimPostgres = 3000.0;

[[noreturn]] void die(const QString &message)
{
    std::fprintf(stderr, "bench_import: %s\n", qPrintable(message));
    std::exit(2);
}

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

struct Options {
    QString engine, source, dir, host, user, password;
    int port = 5432;
    qint64 records = 300000;
    // Child mode: import `input` into `catalog`.
    QString input, catalog;
    bool postgres() const { return engine == QLatin1String("POSTGRESQL"); }
};

ConnectionParams paramsOf(const Options &o, const QString &catalog)
{
    ConnectionParams c;
    c.engine = o.engine;
    c.catalog = catalog;
    if (o.postgres()) {
        c.server = o.host + u':' + QString::number(o.port);
        c.user = o.user;
        c.password = o.password;
        c.appDir = QDir::tempPath() + u'/';
    } else {
        c.appDir = QFileInfo(catalog).absolutePath() + u'/';
    }
    return c;
}

// CREATE or DROP DATABASE on the server (names are ours: lower-case letters, digits, _).
void adminExec(const Options &o, const QString &sql)
{
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        admin.setHostName(o.host);
        admin.setPort(o.port);
        admin.setUserName(o.user);
        admin.setPassword(o.password);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open())
            die(admin.lastError().text());
        QSqlQuery q(admin);
        if (!q.exec(sql))
            die(q.lastError().text() + QStringLiteral(": ") + sql);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
}

// A fresh database with the schema; its catalog (file or database name).
QString freshDatabase(const Options &o, const QString &name)
{
    QString catalog = name;
    if (o.postgres()) {
        adminExec(o, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        adminExec(o, QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8'").arg(name));
    } else {
        catalog = QDir(o.dir).filePath(name + QStringLiteral(".db"));
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(catalog + QLatin1String(suffix));
    }
    Database db;
    QString why;
    if (!db.open(paramsOf(o, catalog), true, &why) || !createSchema(db, &why))
        die(QStringLiteral("cannot create the database: ") + why);
    return catalog;
}

// The source records repeated to `wanted`, each repetition made new: its
// identifier in the source (001), ISSN, ISBN and titles carry the
// repetition's number.
qint64 makeFile(const QString &source, const QString &path, qint64 wanted)
{
    QList<Record> base;
    RecordSplitter splitter(source);
    RawRecord raw;
    while (splitter.next(raw)) {
        const ParseResult p = parseRecord(raw);
        if (p.ok())
            base << p.record;
    }
    if (base.isEmpty())
        die(QStringLiteral("no record in ") + source);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        die(out.errorString());
    qint64 written = 0;
    for (int k = 0; written < wanted; ++k) {
        for (Record r : std::as_const(base)) {
            if (written == wanted)
                break;
            for (Field &f : r.fields) {
                // The source's own identifier too: a record read again with
                // it is the same record, whatever its titles.
                if (f.hasTag("001") && !f.data.isEmpty()) {
                    f.data = QByteArray::number(k) + 'X' + f.data;
                    continue;
                }
                const bool number = f.hasTag("010") || f.hasTag("011");
                const bool title = f.hasTag("200") || f.hasTag("530");
                if (!number && !title)
                    continue;
                for (Subfield &s : f.subfields)
                    if (s.code == 'a')
                        s.value = number ? QByteArray(QByteArray::number(k) + 'X' + s.value)
                                         : QByteArray(s.value + " [" + QByteArray::number(k) + ']');
            }
            declareUtf8(r);
            const WriteResult w = writeRecord(r);
            if (!w.ok())
                continue;
            out.write(w.bytes);
            ++written;
        }
    }
    return written;
}

// Child: one import, one line of figures.
int child(const Options &o)
{
    Database db;
    QString why;
    if (!db.open(paramsOf(o, o.catalog), false, &why))
        die(why);
    folian::bench::actAsBenchAdministrator();
    const qint64 server = o.postgres() ? db.scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong() : 0;
    const double serverCpu = cpuSecondsOf(server);
    QElapsedTimer t;
    t.start();
    const double cpu = cpuSeconds();
    const ImportCounts c = importFile(db, o.input, RecordOptions{0, true}, nullptr);
    const double s = double(t.nsecsElapsed()) / 1e9;
    if (!c.completed)
        die(QStringLiteral("import interrupted: ") + c.error);
    const double serverUsed = serverCpu < 0 ? -1 : cpuSecondsOf(server) - serverCpu;
    std::printf("%lld %lld %lld %.3f %.3f %.3f %ld\n", static_cast<long long>(c.read), static_cast<long long>(c.imported),
                static_cast<long long>(c.duplicates), s, cpuSeconds() - cpu, serverUsed, bench::peakKiB());
    return 0;
}

struct Run {
    qint64 read = 0, imported = 0, duplicates = 0;
    double seconds = 0;
    double cpu = 0;        // of the importing process
    double serverCpu = 0;  // of the server's process of its connection (PostgreSQL), -1 unknown
    long peak = 0;
    double rate() const { return seconds > 0 ? double(read) / seconds : 0; }
};

Run runChild(const Options &o, const QString &input, const QString &catalog)
{
    QStringList args{QStringLiteral("--engine"), o.engine, QStringLiteral("--input"), input,
                     QStringLiteral("--catalog"), catalog};
    if (o.postgres())
        args << QStringLiteral("--host") << o.host << QStringLiteral("--port") << QString::number(o.port)
             << QStringLiteral("--user") << o.user << QStringLiteral("--password") << o.password;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        die(QStringLiteral("the import failed"));
    const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
    if (f.size() != 7)
        die(QStringLiteral("unexpected child output"));
    return Run{f[0].toLongLong(), f[1].toLongLong(), f[2].toLongLong(), f[3].toDouble(),
               f[4].toDouble(),   f[5].toDouble(),   f[6].toLong()};
}

QString describe(const Run &r)
{
    const QString processor = r.serverCpu > 0
        ? QStringLiteral("processor: %1 s importer, %2 s server").arg(r.cpu, 0, 'f', 1).arg(r.serverCpu, 0, 'f', 1)
        : QStringLiteral("processor: %1 s").arg(r.cpu, 0, 'f', 1);
    return QStringLiteral("%1 records (%2 new, %3 duplicate) in %4 s (%5): %6 records/s, peak memory %7 MiB")
        .arg(r.read)
        .arg(r.imported)
        .arg(r.duplicates)
        .arg(r.seconds, 0, 'f', 1)
        .arg(processor)
        .arg(r.rate(), 0, 'f', 0)
        .arg(double(r.peak) / 1024.0, 0, 'f', 1);
}

Options parse(const QCoreApplication &app)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("UNIMARC import benchmark."));
    p.addHelpOption();
    const auto opt = [&](const char *name, const char *help) {
        QCommandLineOption o(QLatin1String(name), QLatin1String(help), QStringLiteral("value"));
        p.addOption(o);
        return o;
    };
    const QCommandLineOption engine = opt("engine", "SQLITE or POSTGRESQL");
    const QCommandLineOption records = opt("records", "records in the big file (default 300000)");
    const QCommandLineOption source = opt("source", "the file to repeat (periouni.mrc)");
    const QCommandLineOption dir = opt("dir", "working directory (default: a temporary one)");
    const QCommandLineOption host = opt("host", "PostgreSQL host");
    const QCommandLineOption port = opt("port", "PostgreSQL port");
    const QCommandLineOption user = opt("user", "PostgreSQL user");
    const QCommandLineOption password = opt("password", "PostgreSQL password");
    const QCommandLineOption input = opt("input", "child mode: the file to import");
    const QCommandLineOption catalog = opt("catalog", "child mode: the database");
    p.process(app);
    auto pick = [&](const QCommandLineOption &o, const char *var, const QString &fallback) {
        if (p.isSet(o))
            return p.value(o);
        const QString e = qEnvironmentVariable(var);
        return e.isEmpty() ? fallback : e;
    };
    Options o;
    o.engine = p.value(engine).toUpper();
    if (o.engine != QLatin1String("SQLITE") && o.engine != QLatin1String("POSTGRESQL"))
        die(QStringLiteral("--engine SQLITE|POSTGRESQL is required"));
    o.records = p.isSet(records) ? p.value(records).toLongLong() : 300000;
    if (o.records < 3)
        die(QStringLiteral("--records: at least 3"));
    o.source = p.value(source);
    o.dir = p.value(dir);
    o.host = pick(host, "FOLIAN_BENCH_PG_HOST", QStringLiteral("127.0.0.1"));
    o.port = pick(port, "FOLIAN_BENCH_PG_PORT", QStringLiteral("5432")).toInt();
    o.user = pick(user, "FOLIAN_BENCH_PG_USER", QStringLiteral("postgres"));
    o.password = pick(password, "FOLIAN_BENCH_PG_PASSWORD", QString());
    o.input = p.value(input);
    o.catalog = p.value(catalog);
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options o = parse(app);
    if (!o.input.isEmpty())
        return child(o);
    if (o.source.isEmpty() || !QFile::exists(o.source))
        die(QStringLiteral("--source names no file (periouni.mrc)"));
    QTemporaryDir temp;
    if (o.dir.isEmpty())
        o.dir = temp.path();
    const QString big = QDir(o.dir).filePath(QStringLiteral("big.mrc"));
    const QString small = QDir(o.dir).filePath(QStringLiteral("small.mrc"));
    const qint64 nBig = makeFile(o.source, big, o.records);
    const qint64 nSmall = makeFile(o.source, small, o.records / 3);
    say(QStringLiteral("%1: files of %2 and %3 records (%4 MiB)")
            .arg(o.engine)
            .arg(nBig)
            .arg(nSmall)
            .arg(double(QFileInfo(big).size()) / 1048576.0, 0, 'f', 0));
    const QString name = QStringLiteral("folian_bench_import_%1").arg(QCoreApplication::applicationPid());
    const QString smallDb = freshDatabase(o, name + QStringLiteral("_s"));
    const Run s = runChild(o, small, smallDb);
    say(QStringLiteral("  new records, small file: ") + describe(s));
    const QString bigDb = freshDatabase(o, name + QStringLiteral("_b"));
    const Run b = runChild(o, big, bigDb);
    say(QStringLiteral("  new records, big file:   ") + describe(b));
    const Run again = runChild(o, big, bigDb);
    say(QStringLiteral("  the big file again:      ") + describe(again));
    const double aim = o.postgres() ? kAimPostgres : kAimSqlite;
    say(QStringLiteral("  aim %1 records/s: %2; peak memory %3 MiB at %4 records, %5 MiB at %6")
            .arg(aim, 0, 'f', 0)
            .arg(b.rate() >= aim ? QStringLiteral("met") : QStringLiteral("missed"))
            .arg(double(s.peak) / 1024.0, 0, 'f', 1)
            .arg(nSmall)
            .arg(double(b.peak) / 1024.0, 0, 'f', 1)
            .arg(nBig));
    if (o.postgres()) {
        adminExec(o, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name + QStringLiteral("_s")));
        adminExec(o, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name + QStringLiteral("_b")));
    }
    return 0;
}
