#pragma once
// What folianctl says about itself, all from its one table of commands:
// --help, the manual page and the bash completion, so that none of them
// forgets a command or an option the others know.

#include "ctl.h"

#include <QString>
#include <QVector>

namespace folian {
struct ManPage;
}

namespace folian::ctl {

// The text of folianctl --help.
QString helpText(const QVector<Command> &commands);
// folianctl(1).
ManPage manualPage(const QVector<Command> &commands);
// A bash completion script for folianctl's commands and their options.
QString bashCompletion(const QVector<Command> &commands);
// "folianctl 0.1.0 (2026-12-10)".
QString versionLine();

} // namespace folian::ctl
