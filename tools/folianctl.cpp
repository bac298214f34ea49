// folianctl: batch access to the Folian core for librarians' scripts, tests
// and benchmarks.

#include "admin/core/administration.h"
#include "base/config.h"
#include "base/session.h"
#include "catalogue/unimarc/dump.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "demodata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace folian;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "folianctl: %s\n", message.toLocal8Bit().constData());
    return 1;
}

void say(const QString &message) { std::printf("%s\n", message.toLocal8Bit().constData()); }

bool openDatabase(Database &db, const QString &iniPath, bool create, QString *why)
{
    if (!QFileInfo::exists(iniPath)) {
        *why = QStringLiteral("configuration file not found: ") + iniPath;
        return false;
    }
    Session &s = session();
    readConfig(iniPath, s);
    const ConnectionParams p{s.DbEngine, s.DbServer, s.DbCatalog, s.DbUser, s.DbPassword, s.AppDir};
    if (!Dialect::forEngine(p.engine)) {
        *why = QStringLiteral("unknown engine \"%1\" (use SQLITE or POSTGRESQL)").arg(p.engine);
        return false;
    }
    QString reason;
    if (!db.open(p, create, &reason)) {
        *why = QStringLiteral("cannot open the database: ") + reason;
        return false;
    }
    return true;
}

int initDb(const QString &iniPath, const QString &adminLogin, const QString &adminPassword)
{
    Database db;
    QString why;
    if (!openDatabase(db, iniPath, true, &why))
        return fail(why);
    if (!InitialiseDatabase(db, adminLogin, adminPassword, &why))
        return fail(why + QStringLiteral(" (nothing was written)"));
    say(QStringLiteral("Database created (schema version %1) with the administrator \"%2\".")
            .arg(Schema::currentVersion())
            .arg(adminLogin));
    return 0;
}

int upgradeDb(const QString &iniPath)
{
    Database db;
    QString why;
    if (!openDatabase(db, iniPath, false, &why))
        return fail(why);
    const int from = schemaVersion(db);
    if (!upgradeSchema(db, &why))
        return fail(QStringLiteral("upgrade failed: ") + why);
    say(QStringLiteral("Database upgraded from version %1 to %2.").arg(from).arg(Schema::currentVersion()));
    return 0;
}

int demoDb(const QString &iniPath)
{
    Database db;
    QString why;
    if (!openDatabase(db, iniPath, false, &why))
        return fail(why);
    if (schemaVersion(db) == 0)
        return fail(QStringLiteral("the database has no Folian schema; run init-db first"));
    DemoSummary summary;
    if (!populateDemo(db, &summary, &why))
        return fail(QStringLiteral("demo data not written (nothing kept): ") + why);
    say(QStringLiteral("Demo data added: %1 users, %2 records, %3 copies, %4 readers.")
            .arg(summary.users)
            .arg(summary.records)
            .arg(summary.copies)
            .arg(summary.readers));
    return 0;
}

// Prints a UNIMARC file in tagged form; needs no configuration or database.
int dump(const QString &path)
{
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write to the standard output"));
    const unimarc::DumpCounts counts = unimarc::dumpFile(path, out, err);
    out.flush();
    if (!counts.ok())
        return fail(QStringLiteral("cannot read %1: %2").arg(path, counts.error));
    if (counts.rejected > 0)
        std::fprintf(stderr, "folianctl: %lld of %lld records rejected\n", static_cast<long long>(counts.rejected),
                     static_cast<long long>(counts.rejected + counts.records));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("folianctl"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Batch access to a Folian database.\n\n"
        "Commands:\n"
        "  init-db     create the schema, the reference data and an administrator\n"
        "              in an empty database\n"
        "  upgrade-db  bring an older database to this program's schema version\n"
        "  demo-db     add demonstration users, records, copies and readers\n"
        "  dump FILE   print every record of a UNIMARC file in tagged form\n"
        "              (no configuration or database needed)"));
    parser.addHelpOption();
    QCommandLineOption ini(QStringLiteral("ini"), QStringLiteral("Configuration file (default: ./Folian.ini)."),
                           QStringLiteral("FILE"), QStringLiteral("Folian.ini"));
    QCommandLineOption login(QStringLiteral("admin-login"), QStringLiteral("Administrator's login (init-db)."),
                             QStringLiteral("LOGIN"), QStringLiteral("admin"));
    QCommandLineOption password(QStringLiteral("admin-password"),
                                QStringLiteral("Administrator's password (init-db)."), QStringLiteral("PASSWORD"),
                                QStringLiteral("admin"));
    parser.addOption(ini);
    parser.addOption(login);
    parser.addOption(password);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("init-db, upgrade-db, demo-db or dump FILE"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty() && args.first() == QLatin1String("dump")) {
        if (args.size() != 2)
            return fail(QStringLiteral("dump takes one file (see --help)"));
        return dump(args.at(1));
    }
    if (args.size() != 1)
        return fail(QStringLiteral("give one command: init-db, upgrade-db, demo-db or dump FILE (see --help)"));
    const QString iniPath = QFileInfo(parser.value(ini)).absoluteFilePath();
    const QString cmd = args.first();
    if (cmd == QLatin1String("init-db"))
        return initDb(iniPath, parser.value(login), parser.value(password));
    if (cmd == QLatin1String("upgrade-db"))
        return upgradeDb(iniPath);
    if (cmd == QLatin1String("demo-db"))
        return demoDb(iniPath);
    return fail(QStringLiteral("unknown command \"%1\" (init-db, upgrade-db, demo-db or dump)").arg(cmd));
}
