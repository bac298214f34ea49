#pragma once
// A seeded database for the statistics, on either engine:
//
// Readers (counter LEC_STAT_PRET, category, structure):
//   R1 6 cat 1 str 1 "O'Brien & <Fils>"   R2 3 cat 1 str 2 "بن علي"
//   R3 3 cat 2 str 1                       R4 0 cat 2 str 2      R5 0 cat 3
// Records (type, external loans, copies, classification):
//   1 a 4 (2 copies) "81"   2 a 4 (1) "82_x"   3 g 2 (0) "8"   4 a 0 (1) "O'Neil"
// The loan journal of 2024 and the orders are added by the tests that need them.

#include "data/core/database.h"
#include "data/core/migrator.h"
#include "support/testdb.h"

#include <QTest>

namespace folian::test {

inline bool statInsert(Database &db, const char *table, const QStringList &columns, const QList<QVariantList> &rows)
{
    QString why;
    if (!insertRows(db, QLatin1String(table), columns, rows, &why)) {
        qWarning("%s: %s", table, qPrintable(why));
        return false;
    }
    return true;
}

inline QStringList cols(const char *list) { return QString::fromLatin1(list).split(u','); }

inline bool seedStatistics(Database &db)
{
    const QVariant none;
    return statInsert(db, "CATEGORIE", cols("CAT_ID,CAT_LIBELLE"),
                      {{1, QStringLiteral("Étudiants")}, {2, QStringLiteral("Enseignants")}, {3, QStringLiteral("Externes")}})
        && statInsert(db, "STRUCTURE", cols("STR_ID,STR_LIBELLE"),
                      {{1, QStringLiteral("Lettres")}, {2, QStringLiteral("العلوم")}})
        && statInsert(db, "LECTEUR", cols("LEC_ID,LEC_NOM,LEC_PRENOM,CAT_ID,STR_ID,LEC_STAT_PRET,LEC_STATUT,BIB_ID"),
                      {{QStringLiteral("R1"), QStringLiteral("O'Brien & <Fils>"), QStringLiteral("Seán"), 1, 1, 6, 0, 0},
                       {QStringLiteral("R2"), QStringLiteral("بن علي"), QStringLiteral("أحمد"), 1, 2, 3, 0, 0},
                       {QStringLiteral("R3"), QStringLiteral("Durand"), QStringLiteral("Luc"), 2, 1, 3, 0, 0},
                       {QStringLiteral("R4"), QStringLiteral("Martin"), QStringLiteral("Léa"), 2, 2, 0, 0, 0},
                       {QStringLiteral("R5"), QStringLiteral("Zidane"), QStringLiteral("Amel"), 3, none, 0, 0, 0}})
        && statInsert(db, "NOTICE", cols("DOC_ID,TYP_ID,STA_ID,DOC_TITRE_PROPRE,DOC_ISBN,DOC_ANNEE,DOC_PRET_EXTERNE,BIB_ID,LAN_ID"),
                      {{1, QStringLiteral("a"), 1, QStringLiteral("L'Étranger"), QStringLiteral("2070360024"), QStringLiteral("1942"), 4, 0, QStringLiteral("fre")},
                       {2, QStringLiteral("a"), 1, QStringLiteral("الأيام"), none, QStringLiteral("1929"), 4, 0, QStringLiteral("ara")},
                       {3, QStringLiteral("g"), 1, QStringLiteral("Atlas"), none, none, 2, 0, QStringLiteral("fre")},
                       {4, QStringLiteral("a"), 1, QStringLiteral("Nedjma"), none, QStringLiteral("1956"), 0, 0, QStringLiteral("fre")}})
        && statInsert(db, "NOTICE_EXEMPLAIRE", cols("EXP_ID,DOC_ID,BIB_ID,STA_EXP_ID,MOD_ID"),
                      {{QStringLiteral("E1"), 1, 0, 2, 5}, {QStringLiteral("E2"), 1, 0, 2, 5},
                       {QStringLiteral("E3"), 2, 0, 2, 5}, {QStringLiteral("E4"), 4, 0, 2, 5}})
        && statInsert(db, "NOTICE_CLASSIFICATION", cols("NCL_ID,DOC_ID,CLA_ID"),
                      {{1, 1, QStringLiteral("81")}, {2, 2, QStringLiteral("82_x")}, {3, 3, QStringLiteral("8")},
                       {4, 4, QStringLiteral("O'Neil")}});
}

#define FOLIAN_STAT_DB(var, db)                                   \
    FOLIAN_TEST_DB(var, engine);                                  \
    folian::Database &db = var.db();                              \
    QVERIFY(folian::test::seedStatistics(db))

} // namespace folian::test
