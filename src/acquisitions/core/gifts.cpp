#include "acquisitions/core/gifts.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/receipt.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/documenttotal.h"
#include "data/core/shareddata.h"

#include <functional>

namespace folian {

namespace {

// Copies that count as existing and in good condition: not lost, damaged
// or given away.
const QString kGoodCondition = QStringLiteral("COALESCE(STA_EXP_ID, 0) NOT IN (5, 6, 7, 8)");

// The line, its document locked first; refused when it is gone or is not
// a line of a gift, an exchange or a deposit.
AcqResult lockedGiftLine(Database &db, int id, GiftLine *out)
{
    bool ok = false;
    const QVariant document = db.scalar(QStringLiteral("SELECT ACQ_ID FROM ACQUISITION_LIGNE WHERE ACQ_LIGNE_ID = ?"), {id}, &ok);
    if (!ok)
        return databaseError(db);
    if (IsBlank(document))
        return AcqResult::refused(acq::lineGone());
    if (!lockDocument(db, document.toInt()))
        return databaseError(db);
    *out = loadGiftLine(db, id);
    if (out->id == 0 || out->document != document.toInt())
        return AcqResult::refused(isGiftKind(out->kind) ? acq::lineGone() : acq::notAGiftLine());
    return AcqResult::done(id);
}

// Why the copy could not be handed over to a line of `record`.
QString copyHandOverRefusal(Database &db, const QString &copy, int record)
{
    SqlRows q = db.query(QStringLiteral("SELECT DOC_ID, LEC_ID, LEC_ID2, ACQ_LIGNE_ID2 FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {copy});
    if (!q.next())
        return acq::copyGone(copy);
    if (q.value(0).toInt() != record)
        return acq::copyNotOfTitle(copy);
    if (!IsBlank(q.value(1)))
        return acq::copyLentNoSelection();
    if (!IsBlank(q.value(2)))
        return acq::copyReservedNoSelection();
    return acq::copyAlreadyHandedOver(copy);
}

QString issueHandOverRefusal(Database &db, int issue, int record)
{
    SqlRows q = db.query(QStringLiteral("SELECT DOC_ID, BUL_NUMERO FROM NOTICE_BULLETIN WHERE BUL_ID = ?"), {issue});
    if (!q.next())
        return acq::issueGone();
    if (q.value(0).toInt() != record)
        return acq::issueNotOfTitle();
    return acq::issueAlreadyHandedOver(q.value(1).toString());
}

// A change of one row that must find it; else the refusal.
AcqResult changedOne(Database &db, const QString &sql, const QVariantList &binds, const std::function<QString()> &refusal)
{
    SqlRows q = db.query(sql, binds);
    if (!q.isActive())
        return databaseError(db);
    return q.numRowsAffected() == 1 ? AcqResult::done() : AcqResult::refused(refusal());
}

// An operation on the copies or issues an outgoing line holds: the user's
// right, one transaction, the line's document locked, the line outgoing;
// then `body` with the line.
AcqResult onOutgoingLine(Database &db, int id, const std::function<AcqResult(const GiftLine &)> &body)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        GiftLine l;
        if (const AcqResult locked = lockedGiftLine(db, id, &l); !locked.passed)
            return locked;
        if (l.incoming())
            return AcqResult::refused(acq::incomingHasNoSelection());
        const AcqResult r = body(l);
        return r.passed ? AcqResult::done(id) : r;
    });
}

} // namespace

bool isGiftKind(AcqType kind) { return kind == AcqType::Gift || kind == AcqType::Exchange || kind == AcqType::Deposit; }

bool incomingDirection(AcqType kind, int direction)
{
    return kind == AcqType::Deposit || direction == AcqDirection::Incoming;
}

int giftCopyMode(AcqType kind)
{
    switch (kind) {
    case AcqType::Exchange: return AcquisitionMode::Exchange;
    case AcqType::Deposit: return AcquisitionMode::Deposit;
    default: return AcquisitionMode::Gift;
    }
}

int handedOverStatus(AcqType kind)
{
    switch (kind) {
    case AcqType::Gift: return 8;
    case AcqType::Exchange: return 7;
    default: return 0;
    }
}

GiftLine loadGiftLine(Database &db, int id)
{
    GiftLine l;
    SqlRows q = db.query(QStringLiteral("SELECT L.ACQ_LIGNE_ID, L.ACQ_ID, L.DOC_ID, A.ACQ_TYP, A.ACQ_SENS, A.ACQ_STATUT, "
                                          "COALESCE(L.ACQ_EXEMPLAIRE, 0), COALESCE(L.ACQ_NBR_LIVRE, 0) FROM ACQUISITION_LIGNE L "
                                          "JOIN ACQUISITION A ON A.ACQ_ID = L.ACQ_ID WHERE L.ACQ_LIGNE_ID = ?"),
                           {id});
    if (!q.next())
        return l;
    l.kind = AcqType(q.value(3).toInt());
    if (!isGiftKind(l.kind))
        return l;
    l.id = q.value(0).toInt();
    l.document = q.value(1).toInt();
    l.record = q.value(2).toInt();
    l.direction = q.value(4).toInt();
    l.status = q.value(5).toInt();
    l.copies = q.value(6).toInt();
    l.held = q.value(7).toInt();
    return l;
}

ReceiptTarget giftTarget(const GiftLine &line) { return {line.id, 0, giftCopyMode(line.kind)}; }

QString giftAddRefusal(Database &db, int id)
{
    const GiftLine l = loadGiftLine(db, id);
    if (l.id == 0)
        return isGiftKind(l.kind) ? acq::lineGone() : acq::notAGiftLine();
    if (l.held < l.copies)
        return {};
    return l.incoming() ? acq::incomingLineFull(l.kind) : acq::outgoingLineFull(l.kind);
}

QString outgoingLineRefusal(Database &db, int document, int line, int record, int copies, bool *ok)
{
    SqlRows q = db.query(QStringLiteral("SELECT ACQ_TYP, ACQ_SENS FROM ACQUISITION WHERE ACQ_ID = ?"), {document});
    if (!q.isActive()) {
        *ok = false;
        return {};
    }
    if (!q.next())
        return {};
    const AcqType kind = AcqType(q.value(0).toInt());
    if (!isGiftKind(kind) || incomingDirection(kind, q.value(1).toInt()))
        return {};
    // The copies this line already holds have its status: they count.
    const int good = countRows(db,
                               QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ? AND (")
                                   + kGoodCondition + QStringLiteral(" OR ACQ_LIGNE_ID2 = ?)"),
                               {record, line}, ok);
    return *ok && good < copies ? acq::goodCopiesShort() : QString();
}

QString directionChangeRefusal(Database &db, int document, int direction, bool *ok)
{
    SqlRows q = db.query(QStringLiteral("SELECT ACQ_TYP, ACQ_SENS FROM ACQUISITION WHERE ACQ_ID = ?"), {document});
    if (!q.isActive()) {
        *ok = false;
        return {};
    }
    if (!q.next())
        return {};
    const AcqType kind = AcqType(q.value(0).toInt());
    if (!isGiftKind(kind) || incomingDirection(kind, q.value(1).toInt()) == incomingDirection(kind, direction))
        return {};
    const QString onLines = QStringLiteral(" IN (SELECT L.ACQ_LIGNE_ID FROM ACQUISITION_LIGNE L WHERE L.ACQ_ID = ?)");
    const int copies = countRows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE ACQ_LIGNE_ID") + onLines
                                         + QStringLiteral(" OR ACQ_LIGNE_ID2") + onLines,
                                 {document, document}, ok);
    const int issues = countRows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE ACQ_LIGNE_ID") + onLines
                                         + QStringLiteral(" OR ACQ_LIGNE_ID2") + onLines,
                                 {document, document}, ok);
    return *ok && copies + issues > 0 ? acq::directionLocked(copies, issues) : QString();
}

AcqResult handOverCopy(Database &db, int id, const QString &copy)
{
    return onOutgoingLine(db, id, [&](const GiftLine &l) {
        // The copy only while it is free and on no line: a desk lending it
        // at the same moment, or another line taking it, finds it taken.
        const AcqResult taken = changedOne(
            db,
            QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET ACQ_LIGNE_ID2 = ?, STA_EXP_ID2 = STA_EXP_ID, STA_EXP_ID = ? "
                           "WHERE EXP_ID = ? AND DOC_ID = ? AND ACQ_LIGNE_ID2 IS NULL AND ")
                + CopyIsFreeCondition(),
            {id, handedOverStatus(l.kind), copy, l.record}, [&] { return copyHandOverRefusal(db, copy, l.record); });
        if (!taken.passed)
            return taken;
        // The line's count only while below its copies: attached >= copies is full.
        return changedOne(db,
                          QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = COALESCE(ACQ_NBR_LIVRE, 0) + 1 "
                                         "WHERE ACQ_LIGNE_ID = ? AND COALESCE(ACQ_NBR_LIVRE, 0) < COALESCE(ACQ_EXEMPLAIRE, 0)"),
                          {id}, [&] { return acq::outgoingLineFull(l.kind); });
    });
}

AcqResult takeBackCopy(Database &db, int id, const QString &copy)
{
    return onOutgoingLine(db, id, [&](const GiftLine &l) {
        // Its status back while it still has the one this line gave it.
        const AcqResult freed = changedOne(
            db,
            QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET ACQ_LIGNE_ID2 = NULL, STA_EXP_ID = CASE WHEN STA_EXP_ID = ? "
                           "AND STA_EXP_ID2 IS NOT NULL THEN STA_EXP_ID2 ELSE STA_EXP_ID END, STA_EXP_ID2 = NULL "
                           "WHERE EXP_ID = ? AND ACQ_LIGNE_ID2 = ?"),
            {handedOverStatus(l.kind), copy, id}, [&] { return acq::copyNotOnLine(copy); });
        if (!freed.passed)
            return freed;
        if (!db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = ACQ_NBR_LIVRE - 1 "
                                    "WHERE ACQ_LIGNE_ID = ? AND ACQ_NBR_LIVRE > 0"),
                     {id}))
            return databaseError(db);
        return AcqResult::done(id);
    });
}

AcqResult handOverIssue(Database &db, int id, int issue)
{
    return onOutgoingLine(db, id, [&](const GiftLine &l) {
        return changedOne(db,
                          QStringLiteral("UPDATE NOTICE_BULLETIN SET ACQ_LIGNE_ID2 = ? "
                                         "WHERE BUL_ID = ? AND DOC_ID = ? AND ACQ_LIGNE_ID2 IS NULL"),
                          {id, issue, l.record}, [&] { return issueHandOverRefusal(db, issue, l.record); });
    });
}

AcqResult takeBackIssue(Database &db, int id, int issue)
{
    return onOutgoingLine(db, id, [&](const GiftLine &) {
        return changedOne(db, QStringLiteral("UPDATE NOTICE_BULLETIN SET ACQ_LIGNE_ID2 = NULL WHERE BUL_ID = ? AND ACQ_LIGNE_ID2 = ?"),
                          {issue, id}, [] { return acq::issueNotOnLine(); });
    });
}

AcqResult removeLineCopy(Database &db, int id, const QString &copy)
{
    const GiftLine l = loadGiftLine(db, id);
    if (l.id == 0)
        return AcqResult::refused(isGiftKind(l.kind) ? acq::lineGone() : acq::notAGiftLine());
    if (!l.incoming())
        return takeBackCopy(db, id, copy);
    bool ok = false;
    if (db.scalar(QStringLiteral("SELECT ACQ_LIGNE_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {copy}, &ok).toInt() != id)
        return ok ? AcqResult::refused(acq::copyNotOnLine(copy)) : databaseError(db);
    return deleteReceivedCopy(db, copy);
}

AcqResult removeLineIssue(Database &db, int id, int issue)
{
    const GiftLine l = loadGiftLine(db, id);
    if (l.id == 0)
        return AcqResult::refused(isGiftKind(l.kind) ? acq::lineGone() : acq::notAGiftLine());
    if (!l.incoming())
        return takeBackIssue(db, id, issue);
    bool ok = false;
    if (db.scalar(QStringLiteral("SELECT ACQ_LIGNE_ID FROM NOTICE_BULLETIN WHERE BUL_ID = ?"), {issue}, &ok).toInt() != id)
        return ok ? AcqResult::refused(acq::issueNotOnLine()) : databaseError(db);
    return deleteIssue(db, issue);
}

SqlText lineCopiesSql(const GiftLine &l)
{
    return copiesWithLabelsSql(l.incoming() ? QStringLiteral("E.ACQ_LIGNE_ID = ?") : QStringLiteral("E.ACQ_LIGNE_ID2 = ?"), {l.id});
}

SqlText lineIssuesSql(const GiftLine &l)
{
    return {l.incoming() ? QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE ACQ_LIGNE_ID = ? ORDER BY BUL_ID")
                         : QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE ACQ_LIGNE_ID2 = ? ORDER BY BUL_ID"),
            {l.id}};
}

SqlText selectableCopiesSql(const GiftLine &l)
{
    return copiesWithLabelsSql(QStringLiteral("E.DOC_ID = ? AND E.ACQ_LIGNE_ID2 IS NULL"), {l.record});
}

SqlText selectableIssuesSql(const GiftLine &l)
{
    return {QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE DOC_ID = ? AND ACQ_LIGNE_ID2 IS NULL ORDER BY BUL_ID"), {l.record}};
}

} // namespace folian
