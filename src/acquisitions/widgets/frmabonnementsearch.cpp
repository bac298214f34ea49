#include "acquisitions/widgets/frmabonnementsearch.h"

namespace folian {

TFrmAbonnementSearch::TFrmAbonnementSearch(TFrmData &data, QWidget *parent)
    : DocumentSearchScreen(data, AcqType::Subscription, QStringLiteral("FrmAbonnementSearch"), parent)
{
}

} // namespace folian
