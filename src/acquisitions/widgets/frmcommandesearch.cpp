#include "acquisitions/widgets/frmcommandesearch.h"

namespace folian {

TFrmCommandeSearch::TFrmCommandeSearch(TFrmData &data, QWidget *parent)
    : DocumentSearchScreen(data, AcqType::Order, QStringLiteral("FrmCommandeSearch"), parent)
{
}

} // namespace folian
