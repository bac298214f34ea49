#pragma once
// A book of accounts for the tests, on the acquisitions database of
// acqfixture.h: the budget of 2024 with two chapters A and B, a validated
// order to invoice, and helpers that add commitments, transfers and
// invoices and read the stored debits back as text with two decimals.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/budgets.h"
#include "acquisitions/core/commitments.h"
#include "acquisitions/core/invoices.h"

namespace folian::test {

struct Book {
    int year = 2024;
    int a = 0, b = 0;    // the two chapters
    int order = 0;       // a validated order of one line
};

// The budget of 2024 of `total` with chapters A and B of `chapter` each, and
// a validated order; an empty Book (a == 0) on failure.
inline Book openBook(Database &db, const QString &total = QStringLiteral("1000.00"), const QString &chapter = QStringLiteral("500.00"))
{
    Book k;
    if (!saveBudget(db, {0, QString::number(k.year), total}).passed)
        return {};
    k.a = saveChapter(db, {0, k.year, QStringLiteral("Ouvrages"), chapter}).key;
    k.b = saveChapter(db, {0, k.year, QStringLiteral("Périodiques"), chapter}).key;
    k.order = newDocument(db);
    if (!newLine(db, k.order, 1, QStringLiteral("1"), QStringLiteral("10.00")) || !validateDocument(db, k.order).passed)
        return {};
    return k;
}

// A step of a case that should have passed, told as a refusal the case
// cannot expect; STEP returns it from the case.
inline AcqResult unexpected(const AcqResult &r) { return AcqResult::refused(QStringLiteral("unexpected refusal: ") + r.message); }

#define STEP(call)                          \
    do {                                    \
        const AcqResult step_ = (call);     \
        if (!step_.passed)                  \
            return unexpected(step_);       \
    } while (0)

inline AcqResult commit(Database &db, int chapter, const QString &amount)
{
    CommitmentSheet s;
    s.chapter = chapter;
    s.date = QDate(2024, 3, 1);
    s.amount = amount;
    return saveCommitment(db, s);
}

// The stored commitment with another amount (and chapter, when given).
inline AcqResult recommit(Database &db, int id, const QString &amount, int chapter = 0)
{
    CommitmentSheet s = commitmentSheet(loadCommitment(db, id));
    s.amount = amount;
    if (chapter > 0)
        s.chapter = chapter;
    return saveCommitment(db, s);
}

inline AcqResult transfer(Database &db, int from, int to, const QString &amount) { return addTransfer(db, {from, to, amount}); }

inline AcqResult invoice(Database &db, const QString &number, int document, int commitment, const QString &amount)
{
    InvoiceSheet s;
    s.number = number;
    s.document = document;
    s.commitment = QString::number(commitment);
    s.date = QDate(2024, 4, 1);
    s.amount = amount;
    return saveInvoice(db, s);
}

// The stored invoice with another amount, commitment or number (each when given).
inline AcqResult reinvoice(Database &db, const QString &number, const QString &amount, int commitment = 0,
                           const QString &renamed = QString())
{
    InvoiceSheet s = invoiceSheet(loadInvoice(db, number));
    if (!amount.isEmpty())
        s.amount = amount;
    if (commitment > 0)
        s.commitment = QString::number(commitment);
    if (!renamed.isEmpty())
        s.number = renamed;
    return saveInvoice(db, s);
}

// A stored amount as text with two decimals; "NULL" when there is none.
inline QString storedAmount(Database &db, const char *sql, const QVariant &key)
{
    const std::optional<Money> m = Money::fromVariant(db.scalar(QLatin1String(sql), {key}));
    return m ? m->toString() : QStringLiteral("NULL");
}
inline QString budgetDebitOf(Database &db, int year) { return storedAmount(db, "SELECT BUD_DEBIT FROM BUDGET WHERE BUD_ID = ?", year); }
inline QString chapterDebitOf(Database &db, int id) { return storedAmount(db, "SELECT CHP_DEBIT FROM CHAPITRE WHERE CHP_ID = ?", id); }
inline QString commitmentDebitOf(Database &db, int id)
{
    return storedAmount(db, "SELECT ENG_DEBIT FROM ENGAGEMENT WHERE ENG_ID = ?", id);
}

} // namespace folian::test
