#pragma once
// What the budget, commitment and invoice services share: how a limit is
// passed, how a debit that could not be stored is told, and reading one
// row's amounts.

#include "acquisitions/core/acqresult.h"
#include "data/core/budgetdebits.h"
#include "data/core/columnvalue.h"
#include "data/core/database.h"

#include <QSqlQuery>

namespace folian::budgeting {

// Does a change take a sum beyond its limit? Only when the sum rises: a row
// already beyond it (an older database) may still be lowered or left as it is.
inline bool passesLimit(Money before, Money after, Money limit) { return after > limit && after > before; }

// A debit stored (Done) goes on; otherwise the refusal, naming the field.
inline std::optional<AcqResult> unstored(Database &db, TotalStored s, const QString &field)
{
    switch (s) {
    case TotalStored::Done: return std::nullopt;
    case TotalStored::TooLarge: return AcqResult::refused(amountTooLarge(field));
    case TotalStored::Failed: break;
    }
    return databaseError(db);
}

// The budget of a chapter (a chapter never leaves its budget), 0 when the
// chapter is gone; `ok` false on failure.
inline int budgetOfChapter(Database &db, int chapter, bool *ok)
{
    return countRows(db, QStringLiteral("SELECT COALESCE(MAX(BUD_ID), 0) FROM CHAPITRE WHERE CHP_ID = ?"), {chapter}, ok);
}

// An amount as an amount column stores it.
inline QVariant amountValue(Database &db, Money m) { return db.dialect().toDb(m.toVariant(), ColType::Money); }

// The amounts of the first row `sql` reads (NULL as 0); false when there is
// no row or it cannot be read (`ok` false on failure).
inline bool readAmounts(Database &db, const QString &sql, const QVariantList &binds, std::initializer_list<Money *> out,
                        bool *ok)
{
    SqlRows q = db.query(sql, binds);
    *ok = q.isActive();
    if (!q.next())
        return false;
    int i = 0;
    for (Money *m : out)
        *m = Money::fromVariant(q.value(i++)).value_or(Money());
    return true;
}

} // namespace folian::budgeting
