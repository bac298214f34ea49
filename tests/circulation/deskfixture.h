#pragma once
// A desk's database for the tests: categories 1 (penalty 2 days, flat) and
// 2 (2 days per day late), the correspondents' category 9 (no penalty), loan rules for
// the type "a" (3 copies, 15 days, 7 more days, a 3-day hold), no weekly
// closing day, and readers A, B, C in good standing.

#include "circulation/circfixture.h"
#include "circulation/core/loandesk.h"
#include "support/testdb.h"

namespace folian::test {

inline QDate today() { return QDate::currentDate(); }

inline bool openAllWeek(Database &db) { return db.exec(QStringLiteral("UPDATE PARAMETRE SET WEEKEND1 = 0, WEEKEND2 = 0")); }

inline bool addDeskReader(Database &db, const QString &id, int cat = 1, const QVariant &status = 0)
{
    ReaderRow r;
    r.id = id;
    r.cat = cat;
    r.status = status;
    return addReader(db, r);
}

inline bool deskSetUp(Database &db)
{
    return openAllWeek(db) && addCategory(db, 1, QStringLiteral("Etudiant"), 365, 2, 0)
        && addCategory(db, 2, QStringLiteral("Enseignant"), 365, 2, 1)
        && db.exec(QStringLiteral("UPDATE CATEGORIE SET CAT_ADHESION = 365, CAT_PENALITE = 0 WHERE CAT_ID = 9")) && addRule(db, 1, QStringLiteral("a"), 3, 15)
        && addRule(db, 2, QStringLiteral("a"), 3, 15) && addRule(db, 9, QStringLiteral("a"), 3, 15)
        && addDeskReader(db, QStringLiteral("A")) && addDeskReader(db, QStringLiteral("B"))
        && addDeskReader(db, QStringLiteral("C"), 2);
}

// One more copy of an existing record.
inline bool addCopyOf(Database &db, int docId, const QString &copyId, int status = 2)
{
    return insert(db, "NOTICE_EXEMPLAIRE",
                  {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"), QStringLiteral("STA_EXP_ID")},
                  {copyId, docId, 0, status});
}

inline QVariant copyValue(Database &db, const QString &id, const char *column)
{
    return db.scalar(QStringLiteral("SELECT %1 FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?").arg(QLatin1String(column)), {id});
}

inline QDate copyDate(Database &db, const QString &id, const char *column)
{
    return db.dialect().fromDb(copyValue(db, id, column), ColType::Date).toDate();
}

inline int recordCounter(Database &db, int docId, const char *column)
{
    return db.scalar(QStringLiteral("SELECT COALESCE(%1, 0) FROM NOTICE WHERE DOC_ID = ?").arg(QLatin1String(column)), {docId})
        .toInt();
}

inline int journalRows(Database &db, const QString &where = QString(), const QVariantList &binds = {})
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM HISTORIQUE_PRET") + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
                     binds)
        .toInt();
}

} // namespace folian::test
