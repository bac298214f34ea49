#include "acquisitions/widgets/frmdon.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmDon::TFrmDon(TFrmData &frmData, AcqType kind, int id, QWidget *parent)
    : FormDialog(parent), data_(frmData), kind_(kind), id_(id)
{
    setObjectName(QStringLiteral("FrmDon"));
    setWindowTitle(QStringLiteral("Don"));
    setModal(true);
    auto *form = new QFormLayout;
    number_ = formLine(form, this, "EdtNumero", "LblNumero", "Numéro :");
    date_ = folian::dateField("EdtDate", this);
    formRow(form, this, "LblDate", "Date :", date_);
    partner_ = formLine(form, this, "EdtPartenaire", "LblPartenaire", "Partenaire :");
    direction_ = formList(form, this, "CbSens", "LblSens", "Sens :");
    // Deposits always come in: no direction to choose.
    form->setRowVisible(direction_, kind != AcqType::Deposit);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmDon::BtnPostClick);
    connect(number_, &QLineEdit::textChanged, this, [this](const QString &t) { post_->setEnabled(!t.trimmed().isEmpty()); });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(420);

    const DocumentSheet d = id_ > 0 ? loadDocument(data_.db(), id_) : DocumentSheet();
    afterLocalise();
    direction_->setCurrentIndex(qBound(0, d.direction, 2));
    showDate(date_, id_ > 0 ? d.date : serverToday(data_.db()));
    number_->setText(d.number);
    partner_->setText(d.partner);
    post_->setEnabled(!d.number.trimmed().isEmpty());
    number_->setFocus();
}

void TFrmDon::afterLocalise()
{
    setWindowTitle(id_ > 0 ? acq::giftEditCaption(kind_) : acq::giftNewCaption(kind_));
    const int kept = direction_->currentIndex();
    direction_->clear();
    for (int d = AcqDirection::Unset; d <= AcqDirection::Outgoing; ++d)
        direction_->addItem(acq::directionLabel(d), d);
    direction_->setCurrentIndex(qMax(0, kept));
}

void TFrmDon::BtnPostClick()
{
    DocumentSheet d = id_ > 0 ? loadDocument(data_.db(), id_) : DocumentSheet();
    d.id = id_;
    d.type = kind_;
    d.number = number_->text();
    d.partner = partner_->text();
    d.date = dateOf(date_);
    d.direction = kind_ == AcqType::Deposit ? AcqDirection::Unset : direction_->currentData().toInt();
    const AcqResult r = saveDocument(data_.db(), d);
    if (!r.passed) {
        inform(r.message);
        number_->setFocus();
        return;
    }
    savedId_ = r.key;
    accept();
}

TFrmDonLigne::TFrmDonLigne(TFrmData &frmData, AcqType kind, int document, int line, QWidget *parent)
    : TFrmCommandeLigne(frmData, kind, document, line, parent)
{
    setObjectName(QStringLiteral("FrmDonLigne"));
    setWindowTitle(acq::giftLineCaption());
    // No price and no total on a gift's line.
    for (const char *name : {"EdtPrix", "LblPrix", "EdtTotal", "LblTotal"})
        if (QWidget *w = findChild<QWidget *>(QLatin1String(name)))
            w->hide();
}

} // namespace folian
