#pragma once
// An inventory database for the tests, over acqSetUp's: records 11 ("Le
// roman d'Alger", French) and 12 ("Poèmes", Arabic, type b, by an author of
// two forms), six copies numbered so that their texts and their numbers
// order differently, a second location and two acquisition modes.

#include "acquisitions/acqfixture.h"

namespace folian::test {

struct CopyRow {
    const char *id;
    int record;
    const char *shelf, *alternative, *location;
    int mode;  // 0: none
    const char *acquired;
    int flag;  // -1: NULL
    const char *reader;
};

// Copy numbers in the order of their texts: "100" < "12" < "120" < "125" < "20" < "3";
// by character codes the other numbers' "INV-..." come before "a-3", which
// a language puts first.
inline const CopyRow copyRows[] = {
    {"100", 11, "A-001", "INV-9", "MAG", 1, "2024-01-10", 1, nullptr},
    {"12", 11, "A-002", "INV-10", "MAG", 1, "2024-01-31", 1, nullptr},
    {"120", 12, "B-001", "INV-11", "SAL", 2, "2024-02-01", 1, nullptr},
    {"125", 12, "B-002", nullptr, "SAL", 2, "2024-02-15", -1, nullptr},
    {"20", 1, "A-003", "INV-2", "MAG", 2, "2023-12-31", 0, nullptr},
    {"3", 2, "A-004", "a-3", nullptr, 0, nullptr, 1, "R1"},
};

inline QVariant orNull(const char *s) { return s ? QVariant(QString::fromUtf8(s)) : QVariant(); }

inline bool addCopy(Database &db, const CopyRow &c)
{
    return acqInsert(db, "NOTICE_EXEMPLAIRE",
                     {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"), QStringLiteral("EXP_COTE"),
                      QStringLiteral("EXP_INV"), QStringLiteral("LOC_ID"), QStringLiteral("MOD_ID"),
                      QStringLiteral("EXP_DATE_ACQUISITION"), QStringLiteral("EXP_INVENTORIE"), QStringLiteral("LEC_ID"),
                      QStringLiteral("STA_EXP_ID")},
                     {QString::fromUtf8(c.id), c.record, 0, orNull(c.shelf), orNull(c.alternative), orNull(c.location),
                      c.mode ? QVariant(c.mode) : QVariant(), orNull(c.acquired), c.flag < 0 ? QVariant() : QVariant(c.flag),
                      orNull(c.reader), 2});
}

// Records 11 ("Le roman d'Alger", French) and 12 ("Poèmes", Arabic, type b,
// by an author of two forms), the copies above, a second location and two modes.
inline bool inventorySetUp(Database &db)
{
    const QStringList record{QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
                             QStringLiteral("DOC_KEYWORDS"), QStringLiteral("LAN_ID"), QStringLiteral("DOC_ISBN"),
                             QStringLiteral("STA_ID"), QStringLiteral("BIB_ID")};
    const QStringList heading{QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"),
                              QStringLiteral("VED_ID2"), QStringLiteral("VED_KEYWORDS")};
    bool ok = acqInsert(db, "NOTICE", record,
                        {11, QStringLiteral("a"), QStringLiteral("Le roman d'Alger"), QStringLiteral("/LE//ROMAN//D//ALGER/"),
                         QStringLiteral("fre"), QStringLiteral("9961000001"), 1, 0})
        && acqInsert(db, "NOTICE", record,
                     {12, QStringLiteral("b"), QStringLiteral("Poèmes"), QStringLiteral("/POEMES/"), QStringLiteral("ara"),
                      QVariant(), 1, 0})
        && acqInsert(db, "VEDETTE", heading,
                     {1, 1, QStringLiteral("Mahfouz, Naguib"), 1, QStringLiteral("/MAHFOUZ//NAGUIB/")})
        && acqInsert(db, "VEDETTE", heading,
                     {2, 1, QStringLiteral("محفوظ، نجيب"), 1, QStringLiteral("/محفوظ//نجيب/")})
        && acqInsert(db, "NOTICE_AUTEUR",
                     {QStringLiteral("NAU_ID"), QStringLiteral("DOC_ID"), QStringLiteral("VED_ID"), QStringLiteral("AUT_TYPE")},
                     {1, 12, 2, 1})
        && db.exec(QStringLiteral("INSERT INTO LOCALISATION (LOC_ID, LOC_LIBELLE) VALUES ('SAL', 'Salle de lecture')"))
        && db.exec(QStringLiteral("INSERT INTO MODE_ACQUISITION (MOD_ID, MOD_LIBELLE, MOD_LIBELLE_AR) VALUES (1, 'Achat', 'شراء')"))
        && db.exec(QStringLiteral("INSERT INTO MODE_ACQUISITION (MOD_ID, MOD_LIBELLE, MOD_LIBELLE_AR) VALUES (2, 'Don', 'هبة')"));
    for (const CopyRow &c : copyRows)
        ok = ok && addCopy(db, c);
    return ok;
}

} // namespace folian::test

// On the server, a database that compares texts as a language does, so
// that a comparison of copy numbers that forgets the character codes' order
// is caught.
#define FOLIAN_INVENTORY_DB(tdb, db)                                             \
    QFETCH(QString, engine);                                                     \
    FOLIAN_TEST_DB_ORDERED(tdb, engine, folian::test::TextOrder::Linguistic);    \
    folian::Database &db = tdb.db();                                             \
    QVERIFY(folian::test::acqSetUp(db));                                         \
    QVERIFY(db.exec(QStringLiteral("DELETE FROM MODE_ACQUISITION")));            \
    QVERIFY(folian::test::inventorySetUp(db))

