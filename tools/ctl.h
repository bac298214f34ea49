#pragma once
// folianctl's commands: each subsystem adds its own, each a thin face over
// the same core services as the screens.

#include <QHash>
#include <QSet>
#include <QStringList>
#include <functional>

namespace folian {
class Database;
}

namespace folian::ctl {

// The words that follow a command's name.
struct Args {
    QStringList positional;
    QHash<QString, QStringList> options;  // --name VALUE, repeatable
    QSet<QString> flags;                  // --name

    QString value(const QString &name, const QString &fallback = QString()) const
    {
        const QStringList v = options.value(name);
        return v.isEmpty() ? fallback : v.last();
    }
    QStringList values(const QString &name) const { return options.value(name); }
    bool has(const QString &name) const { return flags.contains(name) || options.contains(name); }
};

struct Command {
    QString name;
    QString synopsis;             // "import FILE [--library N]"
    QString summary;              // one line for --help
    QStringList valueOptions;     // options that take a value
    QStringList flagOptions;      // options that take none
    std::function<int(const Args &)> run;
};

// Messages: on standard error with a non-zero status, or on standard output.
int fail(const QString &message);
void say(const QString &message);
// The message of an operation: said when it passed, else the failure.
int tell(bool passed, const QString &message);

// A key typed on the command line: a whole number above 0.
bool toKey(const QString &text, int *id);

// The configuration file given by --ini (default ./Folian.ini).
QString iniPath();
// Reads the configuration into the session and opens its database.
bool openDatabase(Database &db, bool create, QString *why);
// The session acts for the user of the database that --user (or --login)
// names, the first administrator (init-db's) by default: his login in the
// journal and the audit stamps, his rights checked by the services as the
// screens check them. False, with the reason, when there is no such user.
// A command that only reads (`needed` false) acts for nobody unless named.
bool actForUser(Database &db, QString *why, bool needed = true);
// openDatabase, then actForUser.
bool openDatabaseAs(Database &db, QString *why, bool needed = true);

// A role command of a shared server (runtime-role, opac-role): the
// database opened, its schema there, the role named and its password read
// from standard input (--password-stdin) or made (an existing role then
// keeps its own); `grant` makes the role or grants it again; `said` is
// what is printed then, with the role (%1), "is made:" or "is granted
// again:" (%2) and the database (%3). A password made is printed once.
using RoleGrant = std::function<bool(Database &db, const QString &role, const QString &password, bool *created,
                                     QString *why)>;
int roleCommand(const Args &a, const QString &command, const RoleGrant &grant, const QString &said);

// The commands of each subsystem.
void addAdminCommands(QVector<Command> &out);
void addUnimarcCommands(QVector<Command> &out);
void addReportCommands(QVector<Command> &out);
void addCirculationCommands(QVector<Command> &out);
void addInterLibraryCommands(QVector<Command> &out);
void addAuthorityCommands(QVector<Command> &out);
void addRecordCommands(QVector<Command> &out);
void addCatalogueCommands(QVector<Command> &out);
void addAcquisitionCommands(QVector<Command> &out);
void addStatisticsCommands(QVector<Command> &out);
void addInventoryCommands(QVector<Command> &out);
void addBackupCommands(QVector<Command> &out);
// The release and the database's facts (about).
void addAboutCommands(QVector<Command> &out);
// The public catalogue: its server and its reading role.
void addOpacCommands(QVector<Command> &out);
// Copy cataloguing: the targets, and the search and import from them.
void addCopyCommands(QVector<Command> &out);

} // namespace folian::ctl
