#include "circulation/core/loanjournal.h"

#include "base/messages.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/helpers.h"

namespace folian {

namespace {
// Workstations writing at the same moment take the same key; each retry
// reads the largest key again.
constexpr int kKeyAttempts = 50;
} // namespace

bool writeJournal(Database &db, const JournalEntry &e, QString *why)
{
    const Dialect &d = db.dialect();
    QDateTime when = e.when;
    if (!when.isValid())
        when = db.serverDate();
    // The embedded engine's clock gives the day only: the time is the workstation's.
    if (when.time() == QTime(0, 0) && when.date() == QDate::currentDate())
        when = QDateTime::currentDateTime();
    const QString login = session().CurrentUserLogin;
    // The key is computed in the statement itself; a key another
    // workstation took first leaves the row out instead of failing (which
    // would undo the operation's transaction), and the next attempt reads
    // the largest key again.
    for (int attempt = 0; attempt < kKeyAttempts; ++attempt) {
        SqlRows q = db.query(
            QStringLiteral("INSERT INTO HISTORIQUE_PRET (HIS_ID, HIS_OPERATION, EXP_ID, DOC_ID, LEC_ID, HIS_DATE, "
                           "HIS_DATE_RETOUR, HIS_USER) VALUES ((SELECT COALESCE(MAX(HIS_ID), 0) + 1 FROM HISTORIQUE_PRET), "
                           "?, ?, ?, ?, ?, ?, ?) ON CONFLICT (HIS_ID) DO NOTHING"),
            {int(e.operation), e.copyId, e.docId.isNull() ? QVariant() : e.docId,
             e.readerId.isEmpty() ? QVariant() : QVariant(e.readerId), d.toDb(when, ColType::DateTime),
             e.due.isValid() ? d.toDb(e.due, ColType::Date) : QVariant(), login.isEmpty() ? QVariant() : QVariant(login)});
        if (!q.isActive()) {
            if (why)
                *why = db.lastError().text();
            return false;
        }
        if (q.numRowsAffected() == 1)
            return true;
    }
    if (why)
        *why = tr2(QStringLiteral("Aucune clé libre pour le journal des prêts."),
                   QStringLiteral("لا يوجد مفتاح متاح لسجل الإعارة."));
    return false;
}

QString operationName(int operation)
{
    switch (LoanOperation(operation)) {
    case LoanOperation::Loan: return tr2(QStringLiteral("Prêt"), QStringLiteral("إعارة"));
    case LoanOperation::Return: return tr2(QStringLiteral("Retour"), QStringLiteral("إرجاع"));
    case LoanOperation::Reservation: return tr2(QStringLiteral("Réservation"), QStringLiteral("حجز"));
    case LoanOperation::Renewal: return tr2(QStringLiteral("Prolongation"), QStringLiteral("تمديد"));
    case LoanOperation::Cancellation:
        return tr2(QStringLiteral("Annulation de réservation"), QStringLiteral("إلغاء حجز"));
    case LoanOperation::Consultation: return tr2(QStringLiteral("Consultation"), QStringLiteral("اطلاع داخلي"));
    case LoanOperation::ConsultationReturn:
        return tr2(QStringLiteral("Retour de consultation"), QStringLiteral("إرجاع اطلاع داخلي"));
    case LoanOperation::InterLibraryLoan: return tr2(QStringLiteral("Prêt PEB"), QStringLiteral("إعارة بين المكتبات"));
    case LoanOperation::InterLibraryReturn:
        return tr2(QStringLiteral("Retour PEB"), QStringLiteral("إرجاع إعارة بين المكتبات"));
    }
    return QString::number(operation);
}

SqlText copyHistorySql(const QString &copyId)
{
    return {QStringLiteral("SELECT H.HIS_ID, H.HIS_DATE, H.HIS_OPERATION, H.LEC_ID, L.LEC_NOM, L.LEC_PRENOM, "
                           "H.HIS_DATE_RETOUR, H.HIS_USER FROM HISTORIQUE_PRET H "
                           "LEFT JOIN LECTEUR L ON L.LEC_ID = H.LEC_ID WHERE H.EXP_ID = ? "
                           "AND H.HIS_OPERATION NOT IN (?, ?) ORDER BY H.HIS_ID DESC"),
            // A partner's copy may bear the same number as one of ours.
            {copyId, int(LoanOperation::InterLibraryLoan), int(LoanOperation::InterLibraryReturn)}};
}

} // namespace folian
