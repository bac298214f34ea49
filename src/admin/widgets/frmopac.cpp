#include "admin/widgets/frmopac.h"

#include "base/rights.h"

namespace folian {

TFrmOPAC::TFrmOPAC(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmOPAC"), QStringLiteral("Navigateur Web"),
                 QStringLiteral("Navigateur Web"), parent)
{
    setHomeTitle(QStringLiteral("Navigateur Web"), QStringLiteral("متصفح الويب"));
    setRoutesKeys(false);
    addEntry(QStringLiteral("BtnPrevious"), QStringLiteral("Précédent"), {}, {});
    addEntry(QStringLiteral("BtnNext"), QStringLiteral("Suivant"), {}, {});
    addEntry(QStringLiteral("BtnStop"), QStringLiteral("Arréter"), {}, {});
    addEntry(QStringLiteral("BtnRefresh"), QStringLiteral("Actualiser"), {}, {});
    addEntry(QStringLiteral("BtnHome"), QStringLiteral("Démarrage"), {}, {});
}

} // namespace folian
