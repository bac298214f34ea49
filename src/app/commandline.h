#pragma once
// The desktop program's command line: one table of options for its parser,
// for --help and for its manual page.

#include <QString>
#include <QVector>

namespace folian {

struct ManPage;

struct ProgramOption {
    QString name;       // "ini"
    QString valueName;  // "FILE", empty for a switch
    QString text;       // one line for --help
};

// The options the program reads, --help and --version aside.
const QVector<ProgramOption> &programOptions();
// "Folian 0.1.0 (2026-12-10)".
QString programVersionLine();
// folian(1).
ManPage programManualPage();

// What the program prints without starting (--version, --man), before any
// display is opened; false when the arguments ask for neither.
bool printProgramText(int argc, char **argv);

} // namespace folian
