#include "circulation/widgets/frmstructure.h"

#include "base/messages.h"
#include "base/rights.h"
#include "circulation/core/categories.h"
#include "circulation/core/circulationtexts.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

TFrmStructure::TFrmStructure(TFrmData &frmData, Mode mode, QWidget *parent)
    : ListEditScreen(frmData, frmData.QStructure, QStringLiteral("STR_ID"), QStringLiteral("STR_LIBELLE"), mode,
                     allowed(Right::CirculAdmin, session()), parent)
{
    setObjectName(QStringLiteral("FrmStructure"));
    setWindowTitle(QStringLiteral("Structure"));
    if (!dataset()->isOpen() || dataset()->isEditing())
        dataset()->open(QStringLiteral("SELECT * FROM STRUCTURE"));
    setColumns({QStringLiteral("STR_LIBELLE")}, {QStringLiteral("Structure")});
    dataset()->setFieldCaption(QStringLiteral("STR_LIBELLE"), QStringLiteral("Structure"));
}

QString TFrmStructure::deleteQuestion() const
{
    return circ::deleteStructureQuestion(dataset()->value(QStringLiteral("STR_LIBELLE")).toString());
}

QString TFrmStructure::deleteCurrent() { return deleteStructure(data_.db(), currentKey().toInt()); }

void TFrmStructure::afterChange()
{
    LookupCount(data_.db(), QStringLiteral("STRUCTURE"), tr2(QStringLiteral("Structures"), QStringLiteral("الهياكل")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

} // namespace folian
