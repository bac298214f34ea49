#pragma once
// Handing a page to the word processor or the spreadsheet: LibreOffice
// Writer or Calc when installed, else whatever the desktop opens the file
// with.

#include <QString>
#include <QStringList>

namespace folian {

enum class OfficeProgram { WordProcessor, Spreadsheet };

struct OfficeCommand
{
    QString program;        // empty: no office suite, use the desktop's handler
    QStringList arguments;

    bool found() const { return !program.isEmpty(); }
};

// The directories searched for the office suite: the PATH, then the
// usual places of its packages.
QStringList officeSearchPaths();

// The command that opens `file` in the program, "soffice --writer FILE" or
// "soffice --calc FILE", with the first soffice or libreoffice found in `paths`.
OfficeCommand officeCommand(OfficeProgram program, const QString &file,
                            const QStringList &paths = officeSearchPaths());

// The message when nothing could open the file, in the session's language.
QString officeUnavailableMessage(const QString &file);

} // namespace folian
