#pragma once
// Folian.ini: where it lives, what is read from it at start and what is
// written back at the end of a session.

#include <QString>

namespace folian {

struct Session;

// The directory that holds Folian.ini: beside the program when a Folian.ini
// is there (portable install), else the user's configuration directory.
QString defaultAppDir(const QString &programDir);

// Sets AppDir, IniPath and TempDir from the INI path, then reads the keys of
// section Application and OPAC with their defaults. A missing file leaves
// every default. Returns false when the file could not be read.
bool readConfig(const QString &iniPath, Session &s);

// Writes Engine, Server, Username, Password, Catalog, Login and Language
// back under Application, leaving every other line alone (SSLMode and
// SSLRootCert among them). Only call it when
// the session's connection was open. Errors are reported by the result only.
bool writeConfig(const Session &s);

} // namespace folian
