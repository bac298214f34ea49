#pragma once
// What the "À propos" dialog tells: the release of the program, the version
// of the database's schema and the engine it lives on. A technician reads
// it to the one who helps him: nothing here needs a right.

#include <QString>
#include <QStringList>

namespace folian {

class Database;
struct Session;

struct AboutInfo {
    QString version;        // "0.1.0"
    QString releaseDate;    // "2026-12-10"
    int schemaVersion = 0;  // the database's
    int programSchema = 0;  // the version this program makes and upgrades to
    QString engine;         // "SQLite" or "PostgreSQL"
    QString database;       // the file, or the catalog and its server
    QString translationFile;  // the captions in use; empty when none was found
};

AboutInfo readAboutInfo(Database &db, const Session &s);
// The dialog's lines, in the session's language.
QStringList aboutLines(const AboutInfo &info);

} // namespace folian
