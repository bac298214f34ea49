#include "circulation/widgets/frmconsultation.h"

namespace folian {

TFrmConsultation::TFrmConsultation(TFrmData &frmData, QWidget *parent)
    : DeskScreen(frmData, QStringLiteral("FrmConsultation"), QStringLiteral("Consulatation sur palce"),
                 {{"BtnPret", "Prêt (F5)", LoanOperation::Consultation, Qt::Key_F5},
                  {"BtnRetour", "Retour (F6)", LoanOperation::ConsultationReturn, Qt::Key_F6}},
                 parent)
{
}

} // namespace folian
