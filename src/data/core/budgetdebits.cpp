#include "data/core/budgetdebits.h"

#include "data/core/database.h"

#include <algorithm>

namespace folian {

namespace {

bool lockRows(Database &db, const char *table, const char *key, QList<int> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const QString sql = db.dialect().lockRow(QLatin1String(table), QLatin1String(key));
    for (int id : std::as_const(ids))
        if (id > 0 && !db.exec(sql, {id}))
            return false;
    return true;
}

// The exact sum of cents that `sql` reads (its %1 stands for the cents of an
// amount expression given in `amounts`).
std::optional<Money> sum(Database &db, QString sql, const QStringList &amounts, const QVariantList &binds)
{
    for (const QString &a : amounts)
        sql = sql.arg(db.dialect().moneyCents(a));
    bool ok = false;
    const QVariant v = db.scalar(sql, binds, &ok);
    return ok ? Money::fromCentsValue(v) : std::nullopt;
}

TotalStored store(Database &db, const std::optional<Money> &m, const char *update, int key, Money *debit)
{
    if (!m)
        return TotalStored::Failed;
    if (debit)
        *debit = *m;
    if (!m->fitsColumn())
        return TotalStored::TooLarge;
    return db.exec(QLatin1String(update), {db.dialect().toDb(m->toVariant(), ColType::Money), key}) ? TotalStored::Done
                                                                                                      : TotalStored::Failed;
}

} // namespace

bool lockBudgets(Database &db, QList<int> years) { return lockRows(db, "BUDGET", "BUD_ID", years); }
bool lockChapters(Database &db, QList<int> chapters) { return lockRows(db, "CHAPITRE", "CHP_ID", chapters); }
bool lockCommitments(Database &db, QList<int> commitments) { return lockRows(db, "ENGAGEMENT", "ENG_ID", commitments); }

std::optional<Money> commitmentDebit(Database &db, int commitment)
{
    return sum(db, QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM FACTURE WHERE ENG_ID = ?"), {QStringLiteral("FAC_MONTANT")},
               {commitment});
}

std::optional<Money> chapterDebit(Database &db, int chapter)
{
    return sum(db,
               QStringLiteral("SELECT COALESCE((SELECT SUM(%1) FROM ENGAGEMENT WHERE CHP_ID = ?), 0) "
                              "+ COALESCE((SELECT SUM(%2) FROM TRANSFERT WHERE CHP_ID = ?), 0) "
                              "- COALESCE((SELECT SUM(%2) FROM TRANSFERT WHERE CHP_ID2 = ?), 0)"),
               {QStringLiteral("ENG_MONTANT"), QStringLiteral("TRS_MONTANT")}, {chapter, chapter, chapter});
}

std::optional<Money> budgetDebit(Database &db, int year)
{
    return sum(db,
               QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM ENGAGEMENT E "
                              "WHERE E.CHP_ID IN (SELECT C.CHP_ID FROM CHAPITRE C WHERE C.BUD_ID = ?)"),
               {QStringLiteral("E.ENG_MONTANT")}, {year});
}

std::optional<Money> chaptersAllotted(Database &db, int year, int except)
{
    return sum(db, QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM CHAPITRE WHERE BUD_ID = ? AND CHP_ID <> ?"),
               {QStringLiteral("CHP_MONTANT")}, {year, except});
}

TotalStored storeCommitmentDebit(Database &db, int commitment, Money *debit)
{
    return store(db, commitmentDebit(db, commitment), "UPDATE ENGAGEMENT SET ENG_DEBIT = ? WHERE ENG_ID = ?", commitment, debit);
}

TotalStored storeChapterDebit(Database &db, int chapter, Money *debit)
{
    return store(db, chapterDebit(db, chapter), "UPDATE CHAPITRE SET CHP_DEBIT = ? WHERE CHP_ID = ?", chapter, debit);
}

TotalStored storeBudgetDebit(Database &db, int year, Money *debit)
{
    return store(db, budgetDebit(db, year), "UPDATE BUDGET SET BUD_DEBIT = ? WHERE BUD_ID = ?", year, debit);
}

} // namespace folian
