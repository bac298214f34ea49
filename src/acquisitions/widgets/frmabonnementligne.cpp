#include "acquisitions/widgets/frmabonnementligne.h"

namespace folian {

TFrmAbonnementLigne::TFrmAbonnementLigne(TFrmData &data, int subscription, int line, QWidget *parent)
    : TFrmCommandeLigne(data, AcqType::Subscription, subscription, line, parent)
{
    setObjectName(QStringLiteral("FrmAbonnementLigne"));
    setWindowTitle(QStringLiteral("Ligne d'abonnement"));
}

} // namespace folian
