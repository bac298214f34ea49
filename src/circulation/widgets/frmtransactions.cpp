#include "circulation/widgets/frmtransactions.h"

namespace folian {

TFrmTransactions::TFrmTransactions(TFrmData &frmData, QWidget *parent)
    : DeskScreen(frmData, QStringLiteral("FrmTransactions"), QStringLiteral("Transactions"),
                 {{"BtnPret", "Prêt (F5)", LoanOperation::Loan, Qt::Key_F5},
                  {"BtnRetour", "Retour (F6)", LoanOperation::Return, Qt::Key_F6},
                  {"BtnReservation", "Réservation (F7)", LoanOperation::Reservation, Qt::Key_F7},
                  {"BtnProlongation", "Prolongation (F8)", LoanOperation::Renewal, Qt::Key_F8},
                  {"BtnAnnulerReservation", "Annuler réservation(F9)", LoanOperation::Cancellation, Qt::Key_F9}},
                 parent)
{
}

} // namespace folian
