#include "acquisitions/widgets/frmfacture.h"

#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/invoices.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmbudget.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmFacture::TFrmFacture(TFrmData &frmData, int document, const QString &number, QWidget *parent)
    : FormDialog(parent), data_(frmData), document_(document), stored_(number)
{
    setObjectName(QStringLiteral("FrmFacture"));
    setWindowTitle(QStringLiteral("Facture"));
    setModal(true);
    auto *form = new QFormLayout;
    QLineEdit *numberField = formLine(form, this, "EdtNumero", "LblNumero", "Numéro facture :");
    date_ = folian::dateField("EdtDate", this);
    formRow(form, this, "LblDate", "Date :", date_);
    QLineEdit *amount = formLine(form, this, "EdtMontant", "LblMontant", "Montant :");
    auto *commitment = new QLineEdit(this);
    commitment->setObjectName(QStringLiteral("EdtEngagement"));
    QPushButton *pick = namedButton("BtnEngagement", QStringLiteral("..."), this);
    pick->setProperty("localise", false);
    pick->setMaximumWidth(32);
    connect(pick, &QPushButton::clicked, this, &TFrmFacture::BtnEngagementClick);
    auto *commitmentRow = new QWidget(this);
    auto *cl = new QHBoxLayout(commitmentRow);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->addWidget(commitment, 1);
    cl->addWidget(pick);
    formRow(form, this, "LblEngagement", "Engagement :", commitmentRow);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmFacture::BtnPostClick);
    for (QLineEdit *e : {numberField, amount, commitment})
        connect(e, &QLineEdit::textChanged, this, [this] { updatePost(); });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(420);

    const InvoiceRow i = number.isEmpty() ? InvoiceRow() : loadInvoice(data_.db(), number);
    numberField->setText(i.number);
    showDate(date_, i.number.isEmpty() ? serverToday(data_.db()) : i.date);
    amount->setText(i.number.isEmpty() ? QString() : i.amount.toString());
    commitment->setText(i.commitment.isNull() ? QString() : i.commitment.toString());
    updatePost();
    numberField->setFocus();
}

QLineEdit *TFrmFacture::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

void TFrmFacture::updatePost()
{
    bool filled = true;
    for (const char *name : {"EdtNumero", "EdtMontant", "EdtEngagement"})
        filled = filled && !field(name)->text().trimmed().isEmpty();
    post_->setEnabled(filled);
}

void TFrmFacture::afterLocalise() { setWindowTitle(stored_.isEmpty() ? acq::newInvoiceCaption() : acq::editInvoiceCaption()); }

void TFrmFacture::BtnEngagementClick()
{
    if (const int commitment = TFrmBudget::pickCommitment(data_, this); commitment > 0)
        field("EdtEngagement")->setText(QString::number(commitment));
}

void TFrmFacture::BtnPostClick()
{
    if (!post_->isEnabled())
        return;
    InvoiceSheet s;
    s.stored = stored_;
    s.number = field("EdtNumero")->text();
    s.document = document_;
    s.commitment = field("EdtEngagement")->text();
    s.date = dateOf(date_);
    s.amount = field("EdtMontant")->text();
    const AcqResult r = saveInvoice(data_.db(), s);
    if (!r.passed) {
        inform(r.message);
        field("EdtMontant")->setFocus();
        field("EdtMontant")->selectAll();
        return;
    }
    savedNumber_ = s.number.trimmed();
    accept();
}

bool TFrmFacture::deleteAsked(TFrmData &data, const QString &number)
{
    if (number.isEmpty() || !confirm(acq::deleteInvoiceQuestion(number)))
        return false;
    const AcqResult r = deleteInvoice(data.db(), number);
    if (!r.passed)
        inform(r.message);
    return r.passed;
}

} // namespace folian
