#pragma once
// Where the program writes the files it makes for the operator: the pages
// of the reports and previews ("lecteur.html", "notice.html", ...), the
// letterhead picture beside them and the scratch report database. Every
// user has a directory of his own, so two operators on one machine, or a
// program installed read-only, never overwrite each other's pages.

#include <QString>

namespace folian {

// The user's data directory of the program, ending with '/':
// ~/.local/share/Folian/ unless set by setUserDataDirectory().
QString userDataDirectory();
// Puts the user's files in `dir` instead (tests, batch runs); an empty
// directory restores the default.
void setUserDataDirectory(const QString &dir);

// The directory of the pages, ending with '/'; created when missing.
QString reportDirectory();
// The full path of a page or of a file written beside the pages.
QString reportPath(const QString &fileName);

// The scratch report database ("Folian.tmp") in the user's data directory.
QString scratchDatabasePath();

} // namespace folian
