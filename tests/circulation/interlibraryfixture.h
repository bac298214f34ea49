#pragma once
// Partner libraries, correspondents and inter-library loans for the tests,
// on top of the desk's database (deskfixture.h).

#include "circulation/deskfixture.h"

namespace folian::test {

inline bool addLibrary(Database &db, int id, const QString &name, const QString &body)
{
    return insert(db, "BIBLIOTHEQUE", {QStringLiteral("BIB_ID"), QStringLiteral("BIB_NOM"), QStringLiteral("BIB_TUTELLE")},
                  {id, name, body});
}

// A correspondent of the library: a reader of category 9.
inline bool addCorrespondentRow(Database &db, const QString &id, int library)
{
    return addDeskReader(db, id, 9) && db.exec(QStringLiteral("UPDATE LECTEUR SET BIB_ID = ? WHERE LEC_ID = ?"), {library, id});
}

// An inter-library loan of the partner's copy `copy` at `library`.
inline bool addPeb(Database &db, int id, const QString &copy, int library, const QString &reader, const QVariant &due,
                   int returned = 0)
{
    return insert(db, "PEB",
                  {QStringLiteral("PEB_ID"), QStringLiteral("PEB_EXP_ID"), QStringLiteral("PEB_TITRE"),
                   QStringLiteral("PEB_AUTEUR"), QStringLiteral("BIB_ID"), QStringLiteral("LEC_ID"),
                   QStringLiteral("BIB_PRET"), QStringLiteral("BIB_RETOUR"), QStringLiteral("BIB_REMIS")},
                  {id, copy, QStringLiteral("Titre prêté"), QStringLiteral("Auteur"), library, reader, day(-20), due,
                   returned});
}

inline int rows(Database &db, const QString &sql, const QVariantList &binds = {}) { return db.scalar(sql, binds).toInt(); }

inline int libraryCount(Database &db) { return rows(db, QStringLiteral("SELECT COUNT(*) FROM BIBLIOTHEQUE")); }

inline int openLoans(Database &db, const QString &copy)
{
    return rows(db, QStringLiteral("SELECT COUNT(*) FROM PEB WHERE PEB_EXP_ID = ? AND BIB_REMIS = 0"), {copy});
}

// The desk's database with two partner libraries: 1 "Bibliothèque centrale"
// under "Université A", 2 the same name under "Université B".
inline bool interLibrarySetUp(Database &db)
{
    return deskSetUp(db) && addLibrary(db, 1, QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université A"))
        && addLibrary(db, 2, QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université B"));
}

} // namespace folian::test
