#include "acquisitions/widgets/frmlivraisonchoix.h"

#include "acquisitions/core/receipt.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace folian {

TFrmLivraisonChoix::TFrmLivraisonChoix(TFrmData &frmData, int document, const QList<int> &selectedLines, QWidget *parent)
    : FormDialog(parent), data_(frmData), document_(document), lines_(selectedLines)
{
    setObjectName(QStringLiteral("FrmLivraisonChoix"));
    setWindowTitle(QStringLiteral("Réception"));
    setModal(true);
    number_ = new QLineEdit(this);
    number_->setObjectName(QStringLiteral("EdtNumero"));
    date_ = folian::dateField("EdtDate", this);
    showDate(date_, serverToday(data_.db()));
    auto *form = new QFormLayout;
    form->addRow(namedLabel("LblNumero", QStringLiteral("Numéro livraison :"), this), number_);
    form->addRow(namedLabel("LblDate", QStringLiteral("Date livraison :"), this), date_);

    auto *choice = new QGroupBox(QStringLiteral("Choix de réception"), this);
    choice->setObjectName(QStringLiteral("GrpChoix"));
    all_ = new QRadioButton(QStringLiteral("Réceptionner tous les titres non reçus"), choice);
    all_->setObjectName(QStringLiteral("RbTous"));
    selected_ = new QRadioButton(QStringLiteral("Réceptionner les titres sélectionnés"), choice);
    selected_->setObjectName(QStringLiteral("RbSelection"));
    all_->setChecked(true);
    auto *cl = new QVBoxLayout(choice);
    cl->addWidget(all_);
    cl->addWidget(selected_);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmLivraisonChoix::BtnPostClick);
    connect(number_, &QLineEdit::textChanged, this, [this](const QString &t) { post_->setEnabled(!t.trimmed().isEmpty()); });
    post_->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(choice);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(420);
    number_->setFocus();
}

void TFrmLivraisonChoix::BtnPostClick()
{
    ReceiptRequest r;
    r.document = document_;
    r.number = number_->text();
    r.date = dateOf(date_);
    r.selectedOnly = selected_->isChecked();
    if (r.selectedOnly)
        r.lines = lines_;
    const AcqResult done = receive(data_.db(), r);
    if (!done.passed) {
        inform(done.message);
        return;
    }
    delivery_ = done.key;
    accept();
}

} // namespace folian
