// folianctl: batch access to the Folian core for librarians' scripts, tests
// and benchmarks.

#include "ctl.h"
#include "ctl_manual.h"

#include "admin/core/logon.h"
#include "base/manpage.h"
#include "base/config.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/shareddata.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace folian::ctl {

namespace {
QString g_ini = QStringLiteral("Folian.ini");
QString g_user;  // --user / --login
}

int fail(const QString &message)
{
    std::fprintf(stderr, "folianctl: %s\n", message.toLocal8Bit().constData());
    return 1;
}

void say(const QString &message)
{
    std::printf("%s\n", message.toLocal8Bit().constData());
    std::fflush(stdout);
}

int tell(bool passed, const QString &message)
{
    if (!passed)
        return fail(message);
    say(message);
    return 0;
}

bool toKey(const QString &text, int *id)
{
    bool ok = false;
    *id = text.toInt(&ok);
    return ok && *id > 0;
}

QString iniPath() { return QFileInfo(g_ini).absoluteFilePath(); }

bool openDatabase(Database &db, bool create, QString *why)
{
    Session &s = session();
    const bool read = readConfig(iniPath(), s);
    if (const QString refusal = ConfigurationRefusal(s, read); !refusal.isEmpty()) {
        *why = refusal;
        return false;
    }
    QString reason;
    if (!db.open(sessionConnection(s), create, &reason)) {
        *why = QStringLiteral("cannot open the database: ") + reason;
        return false;
    }
    return true;
}

bool actForUser(Database &db, QString *why, bool needed)
{
    if (!needed && g_user.isEmpty())
        return true;
    QString reason;
    if (ActForUser(db, g_user, &reason))
        return true;
    *why = reason + QStringLiteral(" (nothing was done)");
    return false;
}

bool openDatabaseAs(Database &db, QString *why, bool needed)
{
    return openDatabase(db, false, why) && actForUser(db, why, needed);
}

namespace {

QVector<Command> allCommands()
{
    QVector<Command> out;
    addAdminCommands(out);
    addUnimarcCommands(out);
    addReportCommands(out);
    addCirculationCommands(out);
    addInterLibraryCommands(out);
    addAuthorityCommands(out);
    addRecordCommands(out);
    addCatalogueCommands(out);
    addAcquisitionCommands(out);
    addStatisticsCommands(out);
    addInventoryCommands(out);
    addBackupCommands(out);
    addAboutCommands(out);
    addOpacCommands(out);
    addCopyCommands(out);
    return out;
}

// Splits the words after the command by its options; false with a reason on a word it does not know.
bool parse(const Command &c, const QStringList &words, Args &args, QString *why)
{
    for (int i = 0; i < words.size(); ++i) {
        const QString &w = words.at(i);
        if (!w.startsWith(QLatin1String("--")) || w == QLatin1String("--")) {
            args.positional << w;
            continue;
        }
        QString name = w.mid(2), value;
        const qsizetype eq = name.indexOf(u'=');
        const bool inlineValue = eq > 0;
        if (inlineValue) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        }
        if (c.valueOptions.contains(name)) {
            if (!inlineValue) {
                if (i + 1 >= words.size()) {
                    *why = QStringLiteral("--%1 needs a value").arg(name);
                    return false;
                }
                value = words.at(++i);
            }
            args.options[name] << value;
        } else if (c.flagOptions.contains(name) && !inlineValue) {
            args.flags << name;
        } else {
            *why = QStringLiteral("%1 does not take --%2 (see folianctl --help)").arg(c.name, name);
            return false;
        }
    }
    return true;
}

} // namespace

} // namespace folian::ctl

int main(int argc, char **argv)
{
    using namespace folian::ctl;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("folianctl"));
    const QVector<Command> commands = allCommands();
    // The command is the first word that is neither an option nor an option's
    // value; --ini FILE may stand anywhere, the command's options too.
    QSet<QString> takesValue{QStringLiteral("ini")};
    for (const Command &c : commands)
        for (const QString &o : c.valueOptions)
            takesValue.insert(o);
    const QStringList all = app.arguments().mid(1);
    // What the program says about itself, from the same table as --help:
    // its release, its manual page and its bash completion (the build makes both).
    if (all.size() == 1) {
        const QString &only = all.first();
        QString text;
        if (only == QLatin1String("--version"))
            text = versionLine() + u'\n';
        else if (only == QLatin1String("--man"))
            text = manPageText(manualPage(commands));
        else if (only == QLatin1String("--bash-completion"))
            text = bashCompletion(commands);
        if (!text.isEmpty()) {
            std::printf("%s", text.toUtf8().constData());
            return 0;
        }
    }
    QStringList words;
    QString name;
    for (int i = 0; i < all.size(); ++i) {
        const QString &w = all.at(i);
        if (w == QLatin1String("--help") || w == QLatin1String("-h")) {
            if (name.isEmpty()) {
                std::printf("%s", helpText(commands).toLocal8Bit().constData());
                return 0;
            }
            words << w;
        } else if (w == QLatin1String("--ini") || w.startsWith(QLatin1String("--ini="))) {
            if (w.contains(u'='))
                g_ini = w.mid(6);
            else if (i + 1 < all.size())
                g_ini = all.at(++i);
            else
                return fail(QStringLiteral("--ini needs a file"));
        } else if (const QString option = w.section(u'=', 0, 0);
                   option == QLatin1String("--user") || option == QLatin1String("--login")) {
            if (w.contains(u'='))
                g_user = w.section(u'=', 1);
            else if (i + 1 < all.size())
                g_user = all.at(++i);
            if (g_user.trimmed().isEmpty())
                return fail(QStringLiteral("%1 needs the login of a user").arg(option));
        } else if (w.startsWith(QLatin1String("--"))) {
            words << w;
            if (!w.contains(u'=') && takesValue.contains(w.mid(2)) && i + 1 < all.size())
                words << all.at(++i);
        } else if (name.isEmpty()) {
            name = w;
        } else {
            words << w;
        }
    }
    if (name.isEmpty())
        return fail(QStringLiteral("give a command (see --help)"));
    for (const Command &c : commands) {
        if (c.name != name)
            continue;
        Args args;
        QString why;
        if (words.contains(QLatin1String("--help"))) {
            say(QStringLiteral("Usage: folianctl %1\n%2").arg(c.synopsis, c.summary));
            return 0;
        }
        if (!parse(c, words, args, &why))
            return fail(why);
        return c.run(args);
    }
    return fail(QStringLiteral("unknown command \"%1\" (see --help)").arg(name));
}
