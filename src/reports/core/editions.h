#pragma once
// The editions module's menu: its three groups, each entry with the right
// that opens it, the module title it shows and, for the generated
// catalogue, the page it previews. And the scratch report database that
// catalogue generation fills.

#include "base/session.h"

#include <QList>
#include <QString>

namespace folian {

struct EditionEntry
{
    QString name;          // objectName of the menu entry ("BtnIndexTitres")
    QString caption;       // French caption
    Right right;           // the group's right: catalogue, circulation or acquisition editions
    QString titleFrench;   // module title while the entry's screen is shown
    QString titleArabic;
    // For the generated catalogue's files: the page shown and the preview's title.
    QString page;
    QString pageFrench;
    QString pageArabic;
};

struct EditionGroup
{
    QString name;          // objectName of the heading ("LblCatalogage")
    QString caption;
    QList<EditionEntry> entries;
};

const QList<EditionGroup> &editionMenu();

// The page an entry previews, when the catalogue generation wrote it; empty
// when the entry previews nothing or the page does not exist yet.
QString existingEditionPage(const EditionEntry &entry);

class Database;

// Creates the scratch report database with its four tables when it does
// not exist, or adds the tables it lacks. False with the reason otherwise.
bool ensureScratchDatabase(QString *why = nullptr);
// Opens the scratch report database at `path` (empty: scratchDatabasePath())
// on `scratch`, with its four tables; `fresh` first removes the file, so
// the tables are empty. False with the reason otherwise.
bool openScratchDatabase(Database &scratch, const QString &path, bool fresh, QString *why = nullptr);

} // namespace folian
