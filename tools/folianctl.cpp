// folianctl: batch access to the Folian core for librarians' scripts, tests
// and benchmarks.

#include "admin/core/passwords.h"
#include "base/config.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "demodata.h"
#include "reports/core/editions.h"
#include "reports/core/report.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
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
    if (!db.dialect().tables(db.connection()).isEmpty())
        return fail(QStringLiteral("the database already holds tables; init-db only fills an empty database"));
    if (!createSchema(db, &why))
        return fail(QStringLiteral("creating the schema failed: ") + why);
    const QString hash = HashPassword(adminPassword);
    if (hash.isEmpty())
        return fail(QStringLiteral("cannot hash the administrator's password"));
    QStringList cols{QStringLiteral("UTL_ID"), QStringLiteral("UTL_LOGIN"), QStringLiteral("UTL_PASSWORD"),
                     QStringLiteral("UTL_NOM"), QStringLiteral("UTL_PRENOM"), QStringLiteral("UTL_ROLE")};
    QVariantList row{1, adminLogin, hash, QStringLiteral("Administrateur"), QStringLiteral("Système"), 1};
    for (Right r : allRights()) {
        cols << QLatin1String(rightColumn(r));
        row << 1;
    }
    if (!insertRows(db, QStringLiteral("UTILISATEUR"), cols, {row}, &why))
        return fail(QStringLiteral("creating the administrator failed: ") + why);
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

// A page of the query's rows, in the configured language, among the user's pages.
int writePage(const QString &iniPath, const QString &fileName, const QString &title, const QString &sql,
              bool letterhead)
{
    if (fileName.isEmpty() || fileName.contains(u'/') || sql.isEmpty())
        return fail(QStringLiteral("report needs a page name (no directory), --title and --sql"));
    Database db;
    QString why;
    if (!openDatabase(db, iniPath, false, &why))
        return fail(why);
    Report report;
    report.fileName = fileName;
    report.french = title;
    report.sql = sql;
    report.letterhead = letterhead;
    const ReportResult result = writeReport(db, report);
    if (!result.written())
        return fail(result.message);
    say(QStringLiteral("%1 rows written to %2").arg(result.rows).arg(result.path));
    return 0;
}

int scratchDb()
{
    QString why;
    if (!ensureScratchDatabase(&why))
        return fail(QStringLiteral("cannot create the scratch report database: ") + why);
    say(QStringLiteral("Scratch report database ready: ") + scratchDatabasePath());
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
        "  report PAGE write the rows of --sql as the page PAGE (\"liste.html\")\n"
        "              titled --title (--letterhead: with the letterhead), among\n"
        "              the user's pages\n"
        "  scratch-db  create the scratch report database of the catalogue generation"));
    parser.addHelpOption();
    QCommandLineOption ini(QStringLiteral("ini"), QStringLiteral("Configuration file (default: ./Folian.ini)."),
                           QStringLiteral("FILE"), QStringLiteral("Folian.ini"));
    QCommandLineOption login(QStringLiteral("admin-login"), QStringLiteral("Administrator's login (init-db)."),
                             QStringLiteral("LOGIN"), QStringLiteral("admin"));
    QCommandLineOption password(QStringLiteral("admin-password"),
                                QStringLiteral("Administrator's password (init-db)."), QStringLiteral("PASSWORD"),
                                QStringLiteral("admin"));
    QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Title of the page (report)."),
                             QStringLiteral("TITLE"));
    QCommandLineOption sql(QStringLiteral("sql"), QStringLiteral("The query whose rows the page lists (report)."),
                           QStringLiteral("SELECT"));
    QCommandLineOption letterhead(QStringLiteral("letterhead"),
                                  QStringLiteral("Put the letterhead picture on top of the page (report)."));
    parser.addOption(ini);
    parser.addOption(letterhead);
    parser.addOption(login);
    parser.addOption(password);
    parser.addOption(title);
    parser.addOption(sql);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("init-db, upgrade-db, demo-db, report or scratch-db"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() == 2 && args.first() == QLatin1String("report"))
        return writePage(QFileInfo(parser.value(ini)).absoluteFilePath(), args.at(1), parser.value(title),
                         parser.value(sql), parser.isSet(letterhead));
    if (args.size() != 1)
        return fail(QStringLiteral("give one command: init-db, upgrade-db, demo-db, report or scratch-db (see --help)"));
    const QString iniPath = QFileInfo(parser.value(ini)).absoluteFilePath();
    const QString cmd = args.first();
    if (cmd == QLatin1String("init-db"))
        return initDb(iniPath, parser.value(login), parser.value(password));
    if (cmd == QLatin1String("upgrade-db"))
        return upgradeDb(iniPath);
    if (cmd == QLatin1String("demo-db"))
        return demoDb(iniPath);
    if (cmd == QLatin1String("scratch-db"))
        return scratchDb();
    return fail(QStringLiteral("unknown command \"%1\" (init-db, upgrade-db, demo-db, report or scratch-db)").arg(cmd));
}
