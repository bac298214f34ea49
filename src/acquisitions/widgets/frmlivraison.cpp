#include "acquisitions/widgets/frmlivraison.h"

#include "acquisitions/core/receipt.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmLivraison::TFrmLivraison(TFrmData &frmData, int delivery, QWidget *parent)
    : FormDialog(parent), data_(frmData), delivery_(delivery)
{
    setObjectName(QStringLiteral("FrmLivraison"));
    setWindowTitle(QStringLiteral("Livraison"));
    setModal(true);
    const DeliverySheet d = loadDelivery(data_.db(), delivery);
    number_ = new QLineEdit(d.number, this);
    number_->setObjectName(QStringLiteral("EdtNumero"));
    date_ = folian::dateField("EdtDate", this);
    showDate(date_, d.date);
    auto *form = new QFormLayout;
    form->addRow(namedLabel("LblNumero", QStringLiteral("Numéro livraison :"), this), number_);
    form->addRow(namedLabel("LblDate", QStringLiteral("Date :"), this), date_);
    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmLivraison::BtnPostClick);
    connect(number_, &QLineEdit::textChanged, this, [this](const QString &t) { post_->setEnabled(!t.trimmed().isEmpty()); });
    post_->setEnabled(!d.number.trimmed().isEmpty());
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(360);
}

void TFrmLivraison::BtnPostClick()
{
    const AcqResult r = updateDelivery(data_.db(), delivery_, number_->text(), dateOf(date_));
    if (!r.passed) {
        inform(r.message);
        return;
    }
    accept();
}

} // namespace folian
