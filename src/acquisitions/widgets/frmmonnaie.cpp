#include "acquisitions/widgets/frmmonnaie.h"

#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/currencies.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <QTableView>

namespace folian {

TFrmMonnaie::TFrmMonnaie(TFrmData &frmData, QWidget *parent)
    : ListEditScreen(frmData, frmData.QMonnaie, QStringLiteral("MON_ID"), QStringLiteral("MON_LIBELLE"), Mode::Manage,
                     allowed(Right::AcqAdmin, session()), parent)
{
    setObjectName(QStringLiteral("FrmMonnaie"));
    setWindowTitle(QStringLiteral("Liste des monnaies"));
    Dataset *currencies = dataset();
    if (!currencies->isOpen() || currencies->isEditing())
        currencies->open(QStringLiteral("SELECT * FROM MONNAIE"));
    // A currency has a name: the lists show nothing else.
    currencies->beforePost.add(
        [](Dataset &d) {
            if (!IsBlank(d.value(QStringLiteral("MON_LIBELLE"))))
                return true;
            inform(acq::currencyLabelRequired());
            return false;
        },
        this);
    currencies->setFieldCaption(QStringLiteral("MON_LIBELLE"), QStringLiteral("Monnaie"));
    currencies->setFieldCaption(QStringLiteral("MON_LIBELLE_AR"), QStringLiteral("Monnaie (arabe)"));
    setColumns({QStringLiteral("MON_LIBELLE"), QStringLiteral("MON_LIBELLE_AR")},
               {QStringLiteral("Monnaie"), QStringLiteral("Monnaie (arabe)")});
    grid()->setColumnWidth(0, 280);
}

QString TFrmMonnaie::deleteQuestion() const
{
    return acq::deleteCurrencyQuestion(dataset()->value(QStringLiteral("MON_LIBELLE")).toString());
}

QString TFrmMonnaie::deleteCurrent()
{
    const AcqResult r = deleteCurrency(data_.db(), currentKey().toInt());
    return r.passed ? QString() : r.message;
}

void TFrmMonnaie::afterChange() { writeStatusPanel(2, currencyCountLine(data_.db())); }

} // namespace folian
