#include "circulation/core/readerstanding.h"

#include "base/rights.h"

#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/copystate.h"
#include "circulation/core/readers.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <optional>

namespace folian {

namespace {

struct StoredReader {
    QString id;
    int status = 0;
    QDate penaltyEnd;
    QString motif;
    QDate registered;
    int membershipDays = 0;
    // What he holds, read only for a check of his standing.
    int loans = 0, lateLoans = 0;            // copies, and those due before the day of the check
    int interLibrary = 0, lateInterLibrary = 0;  // open inter-library loans, and those overdue
};

// The reader's row and his category's membership period; for a check of
// his standing on `day`, what he holds and what of it is late that day, in
// the same statement.
std::optional<StoredReader> readReader(Database &db, const QString &id, std::optional<QDate> day = std::nullopt,
                                       bool *failed = nullptr)
{
    QString sql = QStringLiteral("SELECT L.LEC_ID, L.LEC_STATUT, L.LEC_FIN_PENALITE, L.LEC_MOTIF, "
                                 "L.LEC_DATE_ADHESION, C.CAT_ADHESION");
    QVariantList binds;
    if (day) {
        const QVariant d = dateValue(db, *day);
        sql += QStringLiteral(
            ", (SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE E WHERE E.LEC_ID = L.LEC_ID), "
            "(SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE E WHERE E.LEC_ID = L.LEC_ID AND E.EXP_DATE_RETOUR < ?), "
            "(SELECT COUNT(*) FROM PEB P WHERE P.LEC_ID = L.LEC_ID AND P.BIB_REMIS = 0), "
            "(SELECT COUNT(*) FROM PEB P WHERE P.LEC_ID = L.LEC_ID AND P.BIB_REMIS = 0 AND P.BIB_RETOUR < ?)");
        binds << d << d;
    }
    sql += QStringLiteral(" FROM LECTEUR L LEFT JOIN CATEGORIE C ON C.CAT_ID = L.CAT_ID WHERE L.LEC_ID = ?");
    binds << id;
    SqlRows q = db.query(sql, binds);
    if (failed)
        *failed = !q.isActive();
    if (!q.next())
        return std::nullopt;
    const Dialect &d = db.dialect();
    StoredReader r;
    r.id = q.value(0).toString();
    r.status = ReaderStatus::of(q.value(1));
    r.penaltyEnd = d.fromDb(q.value(2), ColType::Date).toDate();
    r.motif = q.value(3).toString().trimmed();
    r.registered = d.fromDb(q.value(4), ColType::Date).toDate();
    r.membershipDays = q.value(5).toInt();  // none counts as 0
    if (day) {
        r.loans = q.value(6).toInt();
        r.lateLoans = q.value(7).toInt();
        r.interLibrary = q.value(8).toInt();
        r.lateInterLibrary = q.value(9).toInt();
    }
    return r;
}

ReaderCheck failure(ReaderCheck c, const QString &line)
{
    c.lines << line;
    c.passed = false;
    return c;
}

QVariantList stamp(Database &db)
{
    const QString login = session().CurrentUserLogin;
    return {login.isEmpty() ? QVariant() : QVariant(login), db.dialect().toDb(ServerDate(db), ColType::DateTime)};
}

} // namespace

ReaderCheck checkReader(Database &db, const QString &typed, CheckPurpose purpose, const QDate &today)
{
    ReaderCheck c;
    const QString id = typed.trimmed();
    if (id.isEmpty())
        return failure(c, circ::readerNotEntered());
    const std::optional<StoredReader> r = readReader(db, id, today);
    if (!r)
        return failure(c, circ::readerUnknown(typed));
    c.found = true;
    c.readerId = r->id;
    const bool desk = purpose == CheckPurpose::Desk;

    if (r->status == ReaderStatus::Penalised && r->penaltyEnd.isValid() && today <= r->penaltyEnd)
        return failure(c, circ::readerPenalised(r->id, r->penaltyEnd));
    if (r->status == ReaderStatus::Suspended || r->status == ReaderStatus::PenalisedAndSuspended) {
        c = failure(c, r->status == ReaderStatus::Suspended ? circ::readerSuspended(r->id)
                                                            : circ::readerPenalisedAndSuspended(r->id));
        if (desk && !r->motif.isEmpty())
            c.lines << circ::motifLine(r->motif);
        return c;
    }
    if (desk && (!r->registered.isValid() || today > r->registered.addDays(r->membershipDays)))
        return failure(c, circ::readerNotReregistered(r->id));

    if (r->lateLoans > 0)
        return failure(c, circ::readerOverdue(r->id));
    if (purpose == CheckPurpose::Clearance && r->loans > 0)
        return failure(c, circ::readerHoldsDocuments(r->id));
    if (r->lateInterLibrary > 0)
        return failure(c, circ::readerOverduePeb(r->id));
    if (purpose == CheckPurpose::Clearance && r->interLibrary > 0)
        return failure(c, circ::readerHoldsDocuments(r->id));

    c.passed = true;
    if (desk) {
        if (r->status == ReaderStatus::Penalised)
            clearEndedPenalty(db, r->id, today);
        c.lines << circ::readerInGoodStanding(r->id);
    }
    return c;
}

ReaderChange reregisterReader(Database &db, const QString &readerId, const QDate &today)
{
    if (const QString refusal = rightRefusal(Right::CirculLecteur, session()); !refusal.isEmpty())
        return {false, refusal};
    const ReaderCheck c = checkReader(db, readerId, CheckPurpose::Reregistration, today);
    if (!c.passed)
        return {false, c.message()};
    SqlRows q = db.query(QStringLiteral("UPDATE LECTEUR SET LEC_DATE_ADHESION = ?, UPDATE_USER = ?, UPDATE_DATE = ? "
                                        "WHERE LEC_ID = ?"),
                         QVariantList{dateValue(db, today)} + stamp(db) + QVariantList{c.readerId});
    if (!q.isActive())
        return {false, TFrmData::PostErrorMessage() + u'\n' + db.lastError().text()};
    if (q.numRowsAffected() == 0)
        return {false, circ::readerUnknown(readerId)};
    return {true, circ::reregistrationDone()};
}

ReaderChange administerReader(Database &db, const QString &typed, AdminAction action, const QString &motif,
                              const QDate &today)
{
    if (const QString refusal = rightRefusal(Right::CirculAdmin, session()); !refusal.isEmpty())
        return {false, refusal};
    const QString id = typed.trimmed();
    if (id.isEmpty())
        return {false, circ::readerNotEntered()};
    bool failed = false;
    const std::optional<StoredReader> r = readReader(db, id, std::nullopt, &failed);
    if (!r)
        return {false, failed ? db.lastError().text() : circ::readerUnknown(id, false)};

    QString set, condition, success, refusal;
    QVariantList setBinds, conditionBinds;
    switch (action) {
    case AdminAction::CancelPenalty:
        set = QStringLiteral("LEC_STATUT = CASE WHEN LEC_STATUT = 3 THEN 2 ELSE 0 END");
        condition = QStringLiteral("LEC_STATUT IN (1, 3) AND LEC_FIN_PENALITE >= ?");
        conditionBinds << dateValue(db, today);
        success = circ::penaltyCancelled(r->id);
        refusal = circ::readerNotPenalised(r->id);
        break;
    case AdminAction::Suspend:
        set = QStringLiteral("LEC_STATUT = CASE WHEN LEC_STATUT = 1 THEN 3 ELSE 2 END");
        if (!motif.trimmed().isEmpty()) {
            set += QStringLiteral(", LEC_MOTIF = ?");
            setBinds << motif.trimmed();
        }
        condition = QStringLiteral("COALESCE(LEC_STATUT, 0) NOT IN (2, 3)");
        success = circ::suspensionDone(r->id);
        refusal = circ::readerAlreadySuspended(r->id);
        break;
    case AdminAction::LiftSuspension:
        set = QStringLiteral("LEC_STATUT = CASE WHEN LEC_STATUT = 3 THEN 1 ELSE 0 END");
        condition = QStringLiteral("LEC_STATUT IN (2, 3)");
        success = circ::suspensionLifted(r->id);
        refusal = circ::readerNotSuspended(r->id);
        break;
    }
    SqlRows q = db.query(QStringLiteral("UPDATE LECTEUR SET ") + set
                             + QStringLiteral(", UPDATE_USER = ?, UPDATE_DATE = ? WHERE LEC_ID = ? AND ") + condition,
                         setBinds + stamp(db) + QVariantList{r->id} + conditionBinds);
    if (!q.isActive())
        return {false, TFrmData::PostErrorMessage() + u'\n' + db.lastError().text()};
    if (q.numRowsAffected() == 0)
        return {false, refusal};
    return {true, success};
}

} // namespace folian
