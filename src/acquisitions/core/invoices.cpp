#include "acquisitions/core/invoices.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgeting_p.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/documents.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/documenttotal.h"

namespace folian {

using namespace budgeting;

namespace {

struct InvoiceValues {
    QVariant number;
    int commitment = 0;
    QDate date;
    Money amount;
};

// Locks the invoice's row; its document and commitment (0 when none), or
// false when it is gone (`ok` false on failure).
bool lockInvoice(Database &db, const QString &number, int *document, int *commitment, bool *ok)
{
    *ok = db.exec(db.dialect().lockRow(QStringLiteral("FACTURE"), QStringLiteral("FAC_ID")), {number});
    if (!*ok)
        return false;
    SqlRows q = db.query(QStringLiteral("SELECT ACQ_ID, ENG_ID FROM FACTURE WHERE FAC_ID = ?"), {number});
    *ok = q.isActive();
    if (!q.next())
        return false;
    *document = q.value(0).toInt();
    *commitment = q.value(1).toInt();
    return true;
}

// The amount of a commitment (locked before), or false when it does not exist.
bool commitmentAmount(Database &db, int commitment, Money *amount, bool *ok)
{
    return commitment > 0
        && readAmounts(db, QStringLiteral("SELECT ENG_MONTANT FROM ENGAGEMENT WHERE ENG_ID = ?"), {commitment}, {amount}, ok);
}

// Stores the commitment's debit again; refused when the change took it
// beyond the commitment's amount (`before` the debit it had).
std::optional<AcqResult> commitmentWithin(Database &db, int commitment, Money amount, Money before)
{
    Money after;
    if (const std::optional<AcqResult> r = unstored(db, storeCommitmentDebit(db, commitment, &after), acq::debitCaption()))
        return r;
    if (passesLimit(before, after, amount))
        return AcqResult::refused(acq::invoiceExceedsCommitment());
    return std::nullopt;
}

AcqResult written(Database &db, const QString &number)
{
    return db.dialect().isDuplicateKey(db.lastError()) ? AcqResult::refused(acq::invoiceNumberExists(number)) : databaseError(db);
}

AcqResult insertInvoice(Database &db, int document, const InvoiceValues &v)
{
    if (!lockDocument(db, document))
        return databaseError(db);
    SqlRows d = db.query(QStringLiteral("SELECT ACQ_TYP, ACQ_STATUT FROM ACQUISITION WHERE ACQ_ID = ?"), {document});
    if (!d.isActive())
        return databaseError(db);
    if (!d.next())
        return AcqResult::refused(acq::documentGone());
    const int type = d.value(0).toInt();
    if ((type != int(AcqType::Order) && type != int(AcqType::Subscription)) || d.value(1).toInt() != AcqStatus::Validated)
        return AcqResult::refused(acq::invoiceNotValidated());
    if (!lockCommitments(db, {v.commitment}))
        return databaseError(db);
    bool ok = true;
    Money amount;
    if (!commitmentAmount(db, v.commitment, &amount, &ok))
        return ok ? AcqResult::refused(acq::commitmentUnknown(QString::number(v.commitment))) : databaseError(db);
    const std::optional<Money> before = commitmentDebit(db, v.commitment);
    if (!before)
        return databaseError(db);
    if (!db.exec(QStringLiteral("INSERT INTO FACTURE (FAC_ID, ACQ_ID, ENG_ID, FAC_DATE, FAC_MONTANT) VALUES (?, ?, ?, ?, ?)"),
                 {v.number, document, v.commitment, dateValue(db, v.date), amountValue(db, v.amount)}))
        return written(db, v.number.toString());
    if (const std::optional<AcqResult> r = commitmentWithin(db, v.commitment, amount, *before))
        return *r;
    return AcqResult::done();
}

AcqResult updateInvoice(Database &db, const QString &stored, const InvoiceValues &v)
{
    int document = 0, old = 0;
    bool ok = true;
    if (!lockInvoice(db, stored, &document, &old, &ok))
        return ok ? AcqResult::refused(acq::invoiceGone()) : databaseError(db);
    if ((document > 0 && !lockDocument(db, document)) || !lockCommitments(db, {old, v.commitment}))
        return databaseError(db);
    // An invoice whose commitment was deleted is edited without it; it is
    // moved only to a commitment that exists.
    Money amount;
    const bool charged = commitmentAmount(db, v.commitment, &amount, &ok);
    if (!ok)
        return databaseError(db);
    if (!charged && v.commitment != old)
        return AcqResult::refused(acq::commitmentUnknown(QString::number(v.commitment)));
    const std::optional<Money> before = commitmentDebit(db, v.commitment);
    if (!before)
        return databaseError(db);
    SqlRows q = db.query(QStringLiteral("UPDATE FACTURE SET FAC_ID = ?, ENG_ID = ?, FAC_DATE = ?, FAC_MONTANT = ? WHERE FAC_ID = ?"),
                           {v.number, v.commitment, dateValue(db, v.date), amountValue(db, v.amount), stored});
    if (!q.isActive())
        return written(db, v.number.toString());
    if (q.numRowsAffected() != 1)
        return AcqResult::refused(acq::invoiceGone());
    if (charged)
        if (const std::optional<AcqResult> r = commitmentWithin(db, v.commitment, amount, *before))
            return *r;
    if (old > 0 && old != v.commitment)
        if (const std::optional<AcqResult> r = unstored(db, storeCommitmentDebit(db, old), acq::debitCaption()))
            return *r;
    return AcqResult::done();
}

} // namespace

AcqResult saveInvoice(Database &db, const InvoiceSheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    const QString number = s.number.trimmed();
    if (number.isEmpty())
        return AcqResult::refused(acq::invoiceNumberRequired());
    InvoiceValues v;
    QString refusal;
    const std::optional<QVariant> key = columnValue(db, "FACTURE", "FAC_ID", acq::invoiceNumberCaption(), number, &refusal);
    const std::optional<Money> amount =
        key ? typedAmount(db, "FACTURE", "FAC_MONTANT", acq::amountFieldCaption(), s.amount, &refusal) : std::nullopt;
    if (!amount)
        return AcqResult::refused(refusal);
    v.number = *key;
    v.amount = *amount;
    const QString commitment = s.commitment.trimmed();
    if (commitment.isEmpty())
        return AcqResult::refused(acq::commitmentRequired());
    bool ok = false;
    v.commitment = commitment.toInt(&ok);
    if (!ok || v.commitment <= 0)
        return AcqResult::refused(acq::commitmentUnknown(commitment));
    v.date = s.date.isValid() ? s.date : serverToday(db);
    if (s.stored.isEmpty())
        return inTransaction(db, [&] { return insertInvoice(db, s.document, v); });
    return inTransaction(db, [&] { return updateInvoice(db, s.stored, v); });
}

AcqResult deleteInvoice(Database &db, const QString &number)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        int document = 0, commitment = 0;
        bool ok = true;
        if (!lockInvoice(db, number, &document, &commitment, &ok))
            return ok ? AcqResult::refused(acq::invoiceGone()) : databaseError(db);
        if (!lockCommitments(db, {commitment}) || !db.exec(QStringLiteral("DELETE FROM FACTURE WHERE FAC_ID = ?"), {number}))
            return databaseError(db);
        if (commitment > 0)
            if (const std::optional<AcqResult> r = unstored(db, storeCommitmentDebit(db, commitment), acq::debitCaption()))
                return *r;
        return AcqResult::done();
    });
}

InvoiceRow loadInvoice(Database &db, const QString &number)
{
    InvoiceRow i;
    SqlRows q = db.query(QStringLiteral("SELECT FAC_ID, ACQ_ID, ENG_ID, FAC_DATE, FAC_MONTANT FROM FACTURE WHERE FAC_ID = ?"), {number});
    if (!q.next())
        return i;
    i.number = q.value(0).toString();
    i.document = q.value(1).toInt();
    i.commitment = q.value(2).isNull() ? QVariant() : QVariant(q.value(2).toInt());
    i.date = db.dialect().fromDb(q.value(3), ColType::Date).toDate();
    i.amount = Money::fromVariant(q.value(4)).value_or(Money());
    return i;
}

InvoiceSheet invoiceSheet(const InvoiceRow &row)
{
    return {row.number, row.number, row.document, row.commitment.isNull() ? QString() : row.commitment.toString(), row.date,
            row.amount.toString()};
}

SqlText invoiceSearchSql(const Dialect &d, const InvoiceCriteria &c)
{
    SqlText t;
    t.sql = QStringLiteral("SELECT F.*, (SELECT A.ACQ_NUMERO FROM ACQUISITION A WHERE A.ACQ_ID = F.ACQ_ID) AS ACQ_NUMERO "
                           "FROM FACTURE F");
    QStringList where;
    if (!c.number.trimmed().isEmpty()) {
        where << d.likeNoCase(QStringLiteral("F.FAC_ID"));
        t.binds << LikePattern(c.number);
    }
    if (!c.order.trimmed().isEmpty()) {
        where << QStringLiteral("F.ACQ_ID IN (SELECT A.ACQ_ID FROM ACQUISITION A WHERE ") + d.likeNoCase(QStringLiteral("A.ACQ_NUMERO"))
                + u')';
        t.binds << LikePattern(c.order);
    }
    if (c.from.isValid()) {
        where << QStringLiteral("F.FAC_DATE >= ?");
        t.binds << d.toDb(c.from, ColType::Date);
    }
    if (c.to.isValid()) {
        where << QStringLiteral("F.FAC_DATE <= ?");
        t.binds << d.toDb(c.to, ColType::Date);
    }
    if (!where.isEmpty())
        t.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    t.sql += QStringLiteral(" ORDER BY FAC_DATE DESC, FAC_ID");
    return t;
}

SqlText documentInvoicesSql(int document)
{
    return {QStringLiteral("SELECT * FROM FACTURE WHERE ACQ_ID = ? ORDER BY FAC_DATE DESC, FAC_ID"), {document}};
}

QString invoiceCountLine(Database &db)
{
    return LookupCountText(db, QStringLiteral("FACTURE"), tr2(QStringLiteral("Factures"), QStringLiteral("الفواتير")),
                           tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

} // namespace folian
