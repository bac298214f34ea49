#include "catalogue/widgets/frmautorite.h"

#include "base/rights.h"

namespace folian {

TFrmAutorite::TFrmAutorite(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmAutorite"), QStringLiteral("Gestion des autorités"),
                 QStringLiteral("Module Autorités"), parent)
{
    setHomeTitle(QStringLiteral("Gestion des autorités"), QStringLiteral("تسيير الاستنادات"));
    addEntry(QStringLiteral("BtnVedettes"), QStringLiteral("Vedettes"), {}, {});
    addEntry(QStringLiteral("BtnEditeurs"), QStringLiteral("Editeurs"), {}, {});
    addEntry(QStringLiteral("BtnCollections"), QStringLiteral("Collections"), {}, {});
    addEntry(QStringLiteral("BtnSousCollections"), QStringLiteral("Sous collections"), {}, {});
    addEntry(QStringLiteral("BtnClassifications"), QStringLiteral("Classifications"), {}, {});
    setFirstEntries({QStringLiteral("BtnVedettes")});
}

} // namespace folian
