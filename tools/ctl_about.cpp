// folianctl about: what the "À propos" dialog tells, for a workstation's
// technician at a terminal.

#include "ctl.h"

#include "admin/core/about.h"
#include "base/session.h"
#include "data/core/database.h"
#include "i18n/core/translationfile.h"

namespace folian::ctl {

namespace {

int about(const Args &)
{
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    // The captions the desktop program would read with this configuration.
    LoadLanguageFile(session().CurrentLanguage);
    for (const QString &line : aboutLines(readAboutInfo(db, session())))
        say(line);
    return 0;
}

} // namespace

void addAboutCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("about"), QStringLiteral("about"),
                   QStringLiteral("print the release, the database's schema version, its engine and the translation "
                                  "file in use, in the language of the configuration, as the About dialog shows them"),
                   {}, {}, about};
}

} // namespace folian::ctl
