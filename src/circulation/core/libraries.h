#pragma once
// The partner libraries of the inter-library loan and their correspondents
// (readers of category 9 attached to a library by BIB_ID).
//
// A library is always named by its key: two libraries may share a name
// under different supervising bodies, the pair (name, supervising body)
// being unique, which the database's unique index guarantees between
// workstations. A library is deleted with its correspondents in one
// transaction, and only while nothing refers to it: no record, copy or
// issue of the union catalogue (its number would pass to the next library
// added), no inter-library loan (open or returned), no correspondent
// holding our copies. The conditions are decided by the deleting
// statements, after the rows concerned are locked; an import of its
// records holds the library's row batch by batch, so its deletion waits
// for the batch and then sees its records.

#include "circulation/core/readers.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVector>

namespace folian {

class Database;

struct LibrarySheet {
    int id = 0;   // BIB_ID; 0 for a new library
    QString nom, tutelle, contact, phone, fax, catalogue, email, adresse, site, horaires;
};

// Which field a refusal is about.
enum class LibraryField { None, Required, Pair };

struct LibrarySave {
    QString message;                        // empty when saved
    LibraryField field = LibraryField::None;
    int id = 0;                             // the library's key once saved
    bool ok() const { return message.isEmpty(); }
};

// Saves the sheet (values trimmed): a new library takes the largest key + 1
// (taken again when another workstation took it first). Refused without
// name or supervising body, or when another library has the same pair.
LibrarySave saveLibrary(Database &db, const LibrarySheet &sheet);

// The stored sheet of a library; id 0 when there is none.
LibrarySheet loadLibrary(Database &db, int id);

// Deletes the library and its correspondents. Empty on success, else why not.
QString deleteLibrary(Database &db, int id);

// The libraries as lists show them, by name then supervising body.
SqlText librariesSql();
// The correspondents of a library.
SqlText correspondentsSql(int libraryId);

// A library as a list offers it: its key, and its name followed by its
// supervising body when another library has the same name.
struct LibraryChoice {
    int id = 0;
    QString label;
};
QVector<LibraryChoice> libraryChoices(Database &db);

// --- Correspondents ------------------------------------------------------------

struct CorrespondentSheet {
    QString id;                   // LEC_ID
    QString nom, prenom, adresse, tel, email;
    QDate naissance;
    QString password;
    bool keepPassword = false;    // an existing correspondent keeps his password
};

enum class CorrespondentField { None, Required, Number };

struct CorrespondentSave {
    QString message;
    CorrespondentField field = CorrespondentField::None;
    bool ok() const { return message.isEmpty(); }
};

// Saves a correspondent of the library: category 9, the library's key,
// registered on `today`, his password stored as a salted slow hash. A new
// one needs a number no reader has; the library must still exist.
CorrespondentSave saveCorrespondent(Database &db, int libraryId, const CorrespondentSheet &sheet, bool isNew,
                                    const QDate &today);

// The stored sheet of a correspondent (never his password); an empty id when none.
CorrespondentSheet loadCorrespondent(Database &db, const QString &id);

// Does the typed password match the one stored for the correspondent?
bool correspondentPasswordMatches(Database &db, const QString &id, const QString &typed);

// Deletes a correspondent who has no inter-library loan (open or
// returned), no loan and no reservation. Empty on success, else why not.
QString deleteCorrespondent(Database &db, const QString &id);

} // namespace folian
