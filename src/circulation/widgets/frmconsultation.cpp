#include "circulation/widgets/frmconsultation.h"

namespace folian {

TFrmConsultation::TFrmConsultation(TFrmData &data, QWidget *parent)
    : DeskScreen(data, QStringLiteral("FrmConsultation"), QStringLiteral("Consulatation sur palce"),
                 {{"BtnPret", "Prêt (F5)", LoanOperation::Consultation, Qt::Key_F5},
                  {"BtnRetour", "Retour (F6)", LoanOperation::ConsultationReturn, Qt::Key_F6}},
                 parent)
{
}

} // namespace folian
