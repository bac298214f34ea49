#include "acquisitions/core/commitments.h"

#include "acquisitions/core/budgeting_p.h"
#include "acquisitions/core/budgettexts.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/helpers.h"
#include "data/core/newkey.h"

namespace folian {

using namespace budgeting;

namespace {

// Commitments take the largest number of a commitment or of an invoice + 1:
// the invoices of a deleted commitment keep its number, and a new
// commitment taking it would count them.
const QString kCommitmentNumbers = QStringLiteral(
    "(SELECT MAX(ENG_ID) AS ENG_ID FROM ENGAGEMENT UNION ALL SELECT MAX(ENG_ID) AS ENG_ID FROM FACTURE) K");

struct CommitmentValues {
    Money amount;
    QVariant paymentNumber, paymentMode;
};

// The chapter a commitment is on, 0 when it is gone; `ok` false on failure.
int chapterOf(Database &db, int commitment, bool *ok)
{
    return countRows(db, QStringLiteral("SELECT COALESCE(MAX(CHP_ID), 0) FROM ENGAGEMENT WHERE ENG_ID = ?"), {commitment}, ok);
}

// Stores the chapter's debit again; refused when the change, which `added`
// to its debit (under the chapter's lock), took it beyond the chapter's
// amount. The debit before is the one after less what was added: one sum of
// the chapter's rows, not two.
std::optional<AcqResult> chapterWithin(Database &db, int chapter, Money added, const QString &beyond)
{
    bool ok = true;
    Money amount;
    if (!readAmounts(db, QStringLiteral("SELECT CHP_MONTANT FROM CHAPITRE WHERE CHP_ID = ?"), {chapter}, {&amount}, &ok))
        return ok ? AcqResult::refused(acq::chapterGone()) : databaseError(db);
    Money after;
    if (const std::optional<AcqResult> r = unstored(db, storeChapterDebit(db, chapter, &after), acq::debitCaption()))
        return r;
    if (passesLimit(after - added, after, amount))
        return AcqResult::refused(beyond);
    return std::nullopt;
}

// Stores the debits of these chapters and budgets again (those gone are left).
std::optional<AcqResult> storeDebits(Database &db, const QList<int> &chapters, const QList<int> &budgets)
{
    for (int c : chapters)
        if (c > 0)
            if (const std::optional<AcqResult> r = unstored(db, storeChapterDebit(db, c), acq::debitCaption()))
                return r;
    for (int b : budgets)
        if (b > 0)
            if (const std::optional<AcqResult> r = unstored(db, storeBudgetDebit(db, b), acq::debitCaption()))
                return r;
    return std::nullopt;
}

QVariant dayOrNull(Database &db, const QDate &d) { return d.isValid() ? dateValue(db, d) : QVariant(); }

AcqResult insertCommitment(Database &db, const CommitmentSheet &s, const CommitmentValues &v)
{
    bool ok = true;
    const int budget = budgetOfChapter(db, s.chapter, &ok);
    if (budget == 0)
        return ok ? AcqResult::refused(acq::chapterGone()) : databaseError(db);
    if (!lockBudgets(db, {budget}) || !lockChapters(db, {s.chapter}))
        return databaseError(db);
    int id = 0;
    const QDate date = s.date.isValid() ? s.date : serverToday(db);
    const KeyedInsert done = insertWithNewKey(
        db, kCommitmentNumbers, QStringLiteral("ENG_ID"),
        [&](int key) {
            return db.exec(QStringLiteral("INSERT INTO ENGAGEMENT (ENG_ID, CHP_ID, ENG_DATE, ENG_NUMERO_PAIEMENT, ENG_MODE_PAIEMENT, "
                                          "ENG_DATE_PAIEMENT, ENG_MONTANT, ENG_DEBIT, CREATE_USER, CREATE_DATE) "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                           {key, s.chapter, dateValue(db, date), v.paymentNumber, v.paymentMode, dayOrNull(db, s.paymentDate),
                            amountValue(db, v.amount), amountValue(db, Money()), session().CurrentUserLogin, auditStamp(db)});
        },
        {}, &id);
    if (done != KeyedInsert::Done)
        return databaseError(db);
    if (const std::optional<AcqResult> r = chapterWithin(db, s.chapter, v.amount, acq::commitmentExceedsChapter()))
        return *r;
    if (const std::optional<AcqResult> r = storeDebits(db, {}, {budget}))
        return *r;
    return AcqResult::done(id);
}

AcqResult updateCommitment(Database &db, const CommitmentSheet &s, const CommitmentValues &v)
{
    bool ok = true;
    const int stored = chapterOf(db, s.id, &ok);
    if (stored == 0)
        return ok ? AcqResult::refused(acq::commitmentGone()) : databaseError(db);
    const int oldBudget = budgetOfChapter(db, stored, &ok), newBudget = budgetOfChapter(db, s.chapter, &ok);
    if (newBudget == 0)
        return ok ? AcqResult::refused(acq::chapterGone()) : databaseError(db);
    if (!lockBudgets(db, {oldBudget, newBudget}) || !lockChapters(db, {stored, s.chapter}) || !lockCommitments(db, {s.id}))
        return databaseError(db);
    // Moved meanwhile by another workstation: its chapter is not locked.
    if (chapterOf(db, s.id, &ok) != stored)
        return ok ? AcqResult::refused(acq::changedMeanwhile()) : databaseError(db);
    Money amountBefore;
    if (!readAmounts(db, QStringLiteral("SELECT ENG_MONTANT FROM ENGAGEMENT WHERE ENG_ID = ?"), {s.id}, {&amountBefore}, &ok))
        return ok ? AcqResult::refused(acq::commitmentGone()) : databaseError(db);
    const std::optional<Money> invoiced = commitmentDebit(db, s.id);
    if (!invoiced)
        return databaseError(db);
    if (v.amount < amountBefore && v.amount < *invoiced)
        return AcqResult::refused(acq::amountBelowDebit());
    const QDate date = s.date.isValid() ? s.date : serverToday(db);
    if (!db.exec(QStringLiteral("UPDATE ENGAGEMENT SET CHP_ID = ?, ENG_DATE = ?, ENG_NUMERO_PAIEMENT = ?, ENG_MODE_PAIEMENT = ?, "
                                "ENG_DATE_PAIEMENT = ?, ENG_MONTANT = ?, UPDATE_USER = ?, UPDATE_DATE = ? WHERE ENG_ID = ?"),
                 {s.chapter, dateValue(db, date), v.paymentNumber, v.paymentMode, dayOrNull(db, s.paymentDate),
                  amountValue(db, v.amount), session().CurrentUserLogin, auditStamp(db), s.id}))
        return databaseError(db);
    if (const std::optional<AcqResult> r = unstored(db, storeCommitmentDebit(db, s.id), acq::debitCaption()))
        return *r;
    if (const std::optional<AcqResult> r = chapterWithin(db, s.chapter, stored == s.chapter ? v.amount - amountBefore : v.amount,
                                                                acq::editedCommitmentsExceedChapter()))
        return *r;
    if (const std::optional<AcqResult> r = storeDebits(db, {stored == s.chapter ? 0 : stored}, {oldBudget, newBudget}))
        return *r;
    return AcqResult::done(s.id);
}

// Runs `operation` on a commitment again while another workstation moved
// it between the reading of its chapter and the locks.
template <typename Operation>
AcqResult onSettledCommitment(Database &db, Operation operation)
{
    AcqResult r;
    for (int attempt = 0; attempt < 5; ++attempt) {
        r = inTransaction(db, operation);
        if (r.passed || r.message != acq::changedMeanwhile())
            break;
    }
    return r;
}

} // namespace

AcqResult saveCommitment(Database &db, const CommitmentSheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    if (s.chapter <= 0)
        return AcqResult::refused(acq::chapterRequired());
    QString refusal;
    const std::optional<Money> amount =
        typedAmount(db, "ENGAGEMENT", "ENG_MONTANT", acq::amountFieldCaption(), s.amount, &refusal);
    if (!amount)
        return AcqResult::refused(refusal);
    CommitmentValues v{*amount, {}, {}};
    if (!columnValues(db, "ENGAGEMENT",
                      {{"ENG_NUMERO_PAIEMENT", u"N° paiement", u"رقم الدفع", s.paymentNumber, &v.paymentNumber},
                       {"ENG_MODE_PAIEMENT", u"Mode paiement", u"طريقة الدفع", s.paymentMode, &v.paymentMode}},
                      &refusal))
        return AcqResult::refused(refusal);
    if (s.id <= 0)
        return inTransaction(db, [&] { return insertCommitment(db, s, v); });
    return onSettledCommitment(db, [&] { return updateCommitment(db, s, v); });
}

AcqResult deleteCommitment(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return onSettledCommitment(db, [&] {
        bool ok = true;
        const int chapter = chapterOf(db, id, &ok);
        if (chapter == 0)
            return ok ? AcqResult::refused(acq::commitmentGone()) : databaseError(db);
        const int budget = budgetOfChapter(db, chapter, &ok);
        if (!ok || !lockBudgets(db, {budget}) || !lockChapters(db, {chapter}) || !lockCommitments(db, {id}))
            return databaseError(db);
        SqlRows q = db.query(QStringLiteral("DELETE FROM ENGAGEMENT WHERE ENG_ID = ? AND CHP_ID = ?"), {id, chapter});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() != 1)
            return chapterOf(db, id, &ok) == 0 ? AcqResult::refused(acq::commitmentGone()) : AcqResult::refused(acq::changedMeanwhile());
        if (const std::optional<AcqResult> r = storeDebits(db, {chapter}, {budget}))
            return *r;
        return AcqResult::done();
    });
}

CommitmentRow loadCommitment(Database &db, int id)
{
    CommitmentRow c;
    SqlRows q = db.query(QStringLiteral("SELECT ENG_ID, CHP_ID, ENG_DATE, ENG_NUMERO_PAIEMENT, ENG_MODE_PAIEMENT, ENG_DATE_PAIEMENT, "
                                          "ENG_MONTANT, ENG_DEBIT FROM ENGAGEMENT WHERE ENG_ID = ?"),
                           {id});
    if (!q.next())
        return c;
    const Dialect &d = db.dialect();
    c.id = q.value(0).toInt();
    c.chapter = q.value(1).toInt();
    c.date = d.fromDb(q.value(2), ColType::Date).toDate();
    c.paymentNumber = q.value(3).toString();
    c.paymentMode = q.value(4).toString();
    c.paymentDate = d.fromDb(q.value(5), ColType::Date).toDate();
    c.amount = Money::fromVariant(q.value(6)).value_or(Money());
    c.debit = Money::fromVariant(q.value(7)).value_or(Money());
    return c;
}

CommitmentSheet commitmentSheet(const CommitmentRow &row)
{
    return {row.id, row.chapter, row.date, row.paymentNumber, row.paymentMode, row.paymentDate, row.amount.toString()};
}

AcqResult addTransfer(Database &db, const TransferSheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    if (s.from <= 0 || s.to <= 0)
        return AcqResult::refused(acq::chapterRequired());
    if (s.from == s.to)
        return AcqResult::refused(acq::sameChapters());
    QString refusal;
    const std::optional<Money> amount =
        typedAmount(db, "TRANSFERT", "TRS_MONTANT", acq::amountFieldCaption(), s.amount, &refusal);
    if (!amount)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        bool ok = true;
        const int budget = budgetOfChapter(db, s.from, &ok), other = budgetOfChapter(db, s.to, &ok);
        if (budget == 0 || other == 0)
            return ok ? AcqResult::refused(acq::chapterGone()) : databaseError(db);
        if (budget != other)
            return AcqResult::refused(acq::transferAcrossBudgets());
        if (!lockBudgets(db, {budget}) || !lockChapters(db, {s.from, s.to}))
            return databaseError(db);
        int id = 0;
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("TRANSFERT"), QStringLiteral("TRS_ID"),
            [&](int key) {
                return db.exec(QStringLiteral("INSERT INTO TRANSFERT (TRS_ID, CHP_ID, CHP_ID2, TRS_MONTANT) VALUES (?, ?, ?, ?)"),
                               {key, s.from, s.to, amountValue(db, *amount)});
            },
            {}, &id);
        if (done != KeyedInsert::Done)
            return databaseError(db);
        if (const std::optional<AcqResult> r = chapterWithin(db, s.from, *amount, acq::transferExceedsChapter()))
            return *r;
        if (const std::optional<AcqResult> r = storeDebits(db, {s.to}, {}))
            return *r;
        return AcqResult::done(id);
    });
}

AcqResult deleteTransfer(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqBudget, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        // A transfer never changes: its chapters read once are its chapters.
        SqlRows t = db.query(QStringLiteral("SELECT CHP_ID, CHP_ID2, TRS_MONTANT FROM TRANSFERT WHERE TRS_ID = ?"), {id});
        if (!t.isActive())
            return databaseError(db);
        if (!t.next())
            return AcqResult::refused(acq::transferGone());
        const int from = t.value(0).toInt(), to = t.value(1).toInt();
        const std::optional<Money> moved = Money::fromVariant(t.value(2));
        if (!moved)
            return databaseError(db);
        bool ok = true;
        const int budget = budgetOfChapter(db, from, &ok), other = budgetOfChapter(db, to, &ok);
        if (!ok || !lockBudgets(db, {budget, other}) || !lockChapters(db, {from, to}))
            return databaseError(db);
        SqlRows q = db.query(QStringLiteral("DELETE FROM TRANSFERT WHERE TRS_ID = ?"), {id});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() != 1)
            return AcqResult::refused(acq::transferGone());
        if (to > 0 && other > 0)
            if (const std::optional<AcqResult> r = chapterWithin(db, to, *moved, acq::transferCommitted()))
                return *r;
        if (const std::optional<AcqResult> r = storeDebits(db, {from}, {}))
            return *r;
        return AcqResult::done();
    });
}

} // namespace folian
