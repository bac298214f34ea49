#include "acquisitions/widgets/frmdevissearch.h"

namespace folian {

TFrmDevisSearch::TFrmDevisSearch(TFrmData &data, QWidget *parent)
    : DocumentSearchScreen(data, AcqType::PreOrder, QStringLiteral("FrmDevisSearch"), parent)
{
}

} // namespace folian
