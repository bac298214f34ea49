#include "acquisitions/core/budgets.h"

#include "acquisitions/core/budgeting_p.h"
#include "acquisitions/core/budgettexts.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/newkey.h"

namespace folian {

using namespace budgeting;

namespace {

// The year typed for a budget, 1 to 9999; 0 when it is none.
int typedYear(const QString &typed)
{
    bool ok = false;
    const int y = typed.trimmed().toInt(&ok);
    return ok && y >= 1 && y <= 9999 ? y : 0;
}

// A new budget, without debit.
AcqResult insertBudget(Database &db, int year, Money amount)
{
    if (db.exec(QStringLiteral("INSERT INTO BUDGET (BUD_ID, BUD_MONTANT, BUD_DEBIT, CREATE_USER, CREATE_DATE) VALUES (?, ?, ?, ?, ?)"),
                {year, amountValue(db, amount), amountValue(db, Money()), session().CurrentUserLogin, auditStamp(db)}))
        return AcqResult::done(year);
    return db.dialect().isDuplicateKey(db.lastError()) ? AcqResult::refused(acq::budgetYearExists(year)) : databaseError(db);
}

AcqResult updateBudget(Database &db, int stored, int year, Money amount)
{
    if (!lockBudgets(db, {stored}))
        return databaseError(db);
    bool ok = true;
    Money before;
    if (!readAmounts(db, QStringLiteral("SELECT BUD_MONTANT FROM BUDGET WHERE BUD_ID = ?"), {stored}, {&before}, &ok))
        return ok ? AcqResult::refused(acq::budgetGone()) : databaseError(db);
    if (year != stored) {
        // The chapters name their budget by its year.
        const int chapters = countRows(db, QStringLiteral("SELECT COUNT(*) FROM CHAPITRE WHERE BUD_ID = ?"), {stored}, &ok);
        if (!ok)
            return databaseError(db);
        if (chapters > 0)
            return AcqResult::refused(acq::budgetYearFixed(chapters));
    }
    const std::optional<Money> debit = budgetDebit(db, stored), allotted = chaptersAllotted(db, stored);
    if (!debit || !allotted)
        return databaseError(db);
    if (amount < before && amount < *debit)
        return AcqResult::refused(acq::budgetBelowDebit());
    if (amount < before && amount < *allotted)
        return AcqResult::refused(acq::budgetBelowChapters(allotted->toString()));
    if (!debit->fitsColumn())
        return AcqResult::refused(amountTooLarge(acq::debitCaption()));
    if (db.exec(QStringLiteral("UPDATE BUDGET SET BUD_ID = ?, BUD_MONTANT = ?, BUD_DEBIT = ?, UPDATE_USER = ?, UPDATE_DATE = ? "
                               "WHERE BUD_ID = ?"),
                {year, amountValue(db, amount), amountValue(db, *debit), session().CurrentUserLogin, auditStamp(db), stored}))
        return AcqResult::done(year);
    return db.dialect().isDuplicateKey(db.lastError()) ? AcqResult::refused(acq::budgetYearExists(year)) : databaseError(db);
}

AcqResult insertChapter(Database &db, int budget, const QVariant &title, Money amount)
{
    if (!lockBudgets(db, {budget}))
        return databaseError(db);
    bool ok = true;
    Money total;
    if (!readAmounts(db, QStringLiteral("SELECT BUD_MONTANT FROM BUDGET WHERE BUD_ID = ?"), {budget}, {&total}, &ok))
        return ok ? AcqResult::refused(acq::budgetGone()) : databaseError(db);
    const std::optional<Money> allotted = chaptersAllotted(db, budget);
    if (!allotted)
        return databaseError(db);
    if (passesLimit(*allotted, *allotted + amount, total))
        return AcqResult::refused(acq::chaptersExceedBudget());
    int id = 0;
    const KeyedInsert done = insertWithNewKey(
        db, QStringLiteral("CHAPITRE"), QStringLiteral("CHP_ID"),
        [&](int key) {
            return db.exec(QStringLiteral("INSERT INTO CHAPITRE (CHP_ID, BUD_ID, CHP_INTITULE, CHP_MONTANT, CHP_DEBIT) "
                                          "VALUES (?, ?, ?, ?, ?)"),
                           {key, budget, title, amountValue(db, amount), amountValue(db, Money())});
        },
        {}, &id);
    return done == KeyedInsert::Done ? AcqResult::done(id) : databaseError(db);
}

AcqResult updateChapter(Database &db, int id, const QVariant &title, Money amount)
{
    bool ok = true;
    const int budget = budgetOfChapter(db, id, &ok);
    if (budget == 0)
        return ok ? AcqResult::refused(acq::chapterGone()) : databaseError(db);
    if (!lockBudgets(db, {budget}) || !lockChapters(db, {id}))
        return databaseError(db);
    Money total, before;
    if (!readAmounts(db, QStringLiteral("SELECT BUD_MONTANT FROM BUDGET WHERE BUD_ID = ?"), {budget}, {&total}, &ok)
        || !readAmounts(db, QStringLiteral("SELECT CHP_MONTANT FROM CHAPITRE WHERE CHP_ID = ?"), {id}, {&before}, &ok))
        return ok ? AcqResult::refused(acq::chapterGone()) : databaseError(db);
    const std::optional<Money> debit = chapterDebit(db, id), others = chaptersAllotted(db, budget, id);
    if (!debit || !others)
        return databaseError(db);
    if (amount < before && amount < *debit)
        return AcqResult::refused(acq::amountBelowDebit());
    if (passesLimit(*others + before, *others + amount, total))
        return AcqResult::refused(acq::chaptersExceedBudget());
    if (!db.exec(QStringLiteral("UPDATE CHAPITRE SET CHP_INTITULE = ?, CHP_MONTANT = ? WHERE CHP_ID = ?"),
                 {title, amountValue(db, amount), id}))
        return databaseError(db);
    if (const std::optional<AcqResult> r = unstored(db, storeChapterDebit(db, id), acq::debitCaption()))
        return *r;
    return AcqResult::done(id);
}

} // namespace

AcqResult saveBudget(Database &db, const BudgetSheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    const int year = typedYear(s.year);
    if (year == 0)
        return AcqResult::refused(acq::budgetYearInvalid(s.year.trimmed()));
    QString refusal;
    const std::optional<Money> amount = typedAmount(db, "BUDGET", "BUD_MONTANT", acq::amountFieldCaption(), s.amount, &refusal);
    if (!amount)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] { return s.stored > 0 ? updateBudget(db, s.stored, year, *amount) : insertBudget(db, year, *amount); });
}

AcqResult deleteBudget(Database &db, int year)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        if (!lockBudgets(db, {year}))
            return databaseError(db);
        SqlRows q = db.query(QStringLiteral("DELETE FROM BUDGET WHERE BUD_ID = ? "
                                              "AND NOT EXISTS (SELECT 1 FROM CHAPITRE C WHERE C.BUD_ID = ?)"),
                               {year, year});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() == 1)
            return AcqResult::done();
        bool ok = true;
        const int chapters = countRows(db, QStringLiteral("SELECT COUNT(*) FROM CHAPITRE WHERE BUD_ID = ?"), {year}, &ok);
        if (!ok)
            return databaseError(db);
        return AcqResult::refused(chapters > 0 ? acq::budgetHasChapters(chapters) : acq::budgetGone());
    });
}

BudgetRow loadBudget(Database &db, int year)
{
    BudgetRow b;
    SqlRows q = db.query(QStringLiteral("SELECT BUD_ID, BUD_MONTANT, BUD_DEBIT, CREATE_USER, CREATE_DATE, UPDATE_USER, UPDATE_DATE "
                                          "FROM BUDGET WHERE BUD_ID = ?"),
                           {year});
    if (!q.next())
        return b;
    const Dialect &d = db.dialect();
    b.year = q.value(0).toInt();
    b.amount = Money::fromVariant(q.value(1)).value_or(Money());
    b.debit = Money::fromVariant(q.value(2)).value_or(Money());
    b.createdBy = q.value(3).toString();
    b.created = d.fromDb(q.value(4), ColType::DateTime).toDateTime();
    b.updatedBy = q.value(5).toString();
    b.updated = d.fromDb(q.value(6), ColType::DateTime).toDateTime();
    return b;
}

AcqResult saveChapter(Database &db, const ChapterSheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    QString refusal;
    const std::optional<QVariant> title =
        columnValue(db, "CHAPITRE", "CHP_INTITULE", acq::titleCaption(), s.title.trimmed(), &refusal);
    const std::optional<Money> amount =
        title ? typedAmount(db, "CHAPITRE", "CHP_MONTANT", acq::amountFieldCaption(), s.amount, &refusal) : std::nullopt;
    if (!amount)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] { return s.id > 0 ? updateChapter(db, s.id, *title, *amount) : insertChapter(db, s.budget, *title, *amount); });
}

AcqResult deleteChapter(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        bool ok = true;
        const int budget = budgetOfChapter(db, id, &ok);
        if (budget == 0)
            return ok ? AcqResult::refused(acq::chapterGone()) : databaseError(db);
        if (!lockBudgets(db, {budget}) || !lockChapters(db, {id}))
            return databaseError(db);
        SqlRows q = db.query(QStringLiteral("DELETE FROM CHAPITRE WHERE CHP_ID = ? "
                                              "AND NOT EXISTS (SELECT 1 FROM ENGAGEMENT E WHERE E.CHP_ID = ?) "
                                              "AND NOT EXISTS (SELECT 1 FROM TRANSFERT T WHERE T.CHP_ID = ? OR T.CHP_ID2 = ?)"),
                               {id, id, id, id});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() == 1)
            return AcqResult::done();
        const int commitments = countRows(db, QStringLiteral("SELECT COUNT(*) FROM ENGAGEMENT WHERE CHP_ID = ?"), {id}, &ok);
        const int transfers = countRows(db, QStringLiteral("SELECT COUNT(*) FROM TRANSFERT WHERE CHP_ID = ? OR CHP_ID2 = ?"), {id, id}, &ok);
        if (!ok)
            return databaseError(db);
        return AcqResult::refused(commitments + transfers > 0 ? acq::chapterInUse(commitments, transfers) : acq::chapterGone());
    });
}

ChapterRow loadChapter(Database &db, int id)
{
    ChapterRow c;
    SqlRows q = db.query(QStringLiteral("SELECT CHP_ID, BUD_ID, CHP_INTITULE, CHP_MONTANT, CHP_DEBIT FROM CHAPITRE WHERE CHP_ID = ?"),
                           {id});
    if (!q.next())
        return c;
    c.id = q.value(0).toInt();
    c.budget = q.value(1).toInt();
    c.title = q.value(2).toString();
    c.amount = Money::fromVariant(q.value(3)).value_or(Money());
    c.debit = Money::fromVariant(q.value(4)).value_or(Money());
    return c;
}

SqlText budgetSearchSql(const Dialect &d, const QString &year)
{
    // The year is a number: its digits are matched as text, on both engines.
    return {QStringLiteral("SELECT * FROM BUDGET WHERE ") + d.likeNoCase(QStringLiteral("CAST(BUD_ID AS VARCHAR(10))"))
                + QStringLiteral(" ORDER BY BUD_ID DESC"),
            {LikePattern(year.trimmed())}};
}

SqlText budgetChaptersSql(int year)
{
    return {QStringLiteral("SELECT * FROM CHAPITRE WHERE BUD_ID = ? ORDER BY CHP_ID"), {year}};
}

SqlText budgetCommitmentsSql(int year)
{
    return {QStringLiteral("SELECT E.*, (SELECT C.CHP_INTITULE FROM CHAPITRE C WHERE C.CHP_ID = E.CHP_ID) AS CHP_INTITULE "
                           "FROM ENGAGEMENT E WHERE E.CHP_ID IN (SELECT C.CHP_ID FROM CHAPITRE C WHERE C.BUD_ID = ?) "
                           "ORDER BY E.ENG_ID"),
            {year}};
}

SqlText budgetTransfersSql(int year)
{
    return {QStringLiteral("SELECT T.*, (SELECT C.CHP_INTITULE FROM CHAPITRE C WHERE C.CHP_ID = T.CHP_ID) AS SOURCE, "
                           "(SELECT C.CHP_INTITULE FROM CHAPITRE C WHERE C.CHP_ID = T.CHP_ID2) AS DESTINATION "
                           "FROM TRANSFERT T WHERE T.CHP_ID IN (SELECT C.CHP_ID FROM CHAPITRE C WHERE C.BUD_ID = ?) "
                           "ORDER BY T.TRS_ID"),
            {year}};
}

QString budgetCountLine(Database &db)
{
    return LookupCountText(db, QStringLiteral("BUDGET"), tr2(QStringLiteral("Budgets"), QStringLiteral("الميزانيات")),
                           tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

} // namespace folian
