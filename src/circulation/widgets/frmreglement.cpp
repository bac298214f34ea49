#include "circulation/widgets/frmreglement.h"

#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/categories.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

namespace {
struct Number {
    const char *label, *caption, *name, *column;
};
const Number kNumbers[] = {
    {"LblDocument", "Nbr de document :", "EdtDocument", "REG_DOCUMENT"},
    {"LblPret", "Durée de prêt :", "EdtPret", "REG_PRET"},
    {"LblProlongation", "Durée de prolongation :", "EdtProlongation", "REG_PROLONGATION"},
    {"LblReservation", "Durée de réservation :", "EdtReservation", "REG_RESERVATION"},
};
} // namespace

TFrmReglement::TFrmReglement(TFrmData &frmData, const QVariant &categoryId, const QString &title, QWidget *parent)
    : FormDialog(parent), data_(frmData), category_(categoryId), title_(title)
{
    setObjectName(QStringLiteral("FrmReglement"));
    setWindowTitle(QStringLiteral("Règlement"));
    setModal(true);
    Dataset *rule = data_.QReglement;
    openedType_ = rule->state() == Dataset::State::Edit ? rule->value(QStringLiteral("TYP_ID")).toString() : QString();
    binder_ = new FieldBinder(rule, this);

    auto *form = new QFormLayout;
    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("CbxType"));
    Dataset *types = data_.QLookup;
    types->open(QStringLiteral("SELECT TYP_ID, TYP_LIBELLE, TYP_LIBELLE_AR FROM TYPE_DOCUMENT ORDER BY TYP_ID"));
    FieldBinder::fillList(type_, types, QStringLiteral("TYP_ID"), QStringLiteral("TYP_LIBELLE") + session().LanguageSuffix, true);
    types->close();
    binder_->bind(type_, QStringLiteral("TYP_ID"));
    auto *lblType = new QLabel(QStringLiteral("Type de document :"), this);
    lblType->setObjectName(QStringLiteral("LblType"));
    form->addRow(lblType, type_);
    for (const Number &n : kNumbers) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(n.name));
        e->setValidator(new QIntValidator(0, 99999, e));
        binder_->bind(e, QLatin1String(n.column));
        binder_->setCaption(QLatin1String(n.column), QString::fromUtf8(n.caption).remove(QStringLiteral(" :")));
        connect(e, &QLineEdit::textChanged, this, &TFrmReglement::updateButtons);
        auto *l = new QLabel(QString::fromUtf8(n.caption), this);
        l->setObjectName(QLatin1String(n.label));
        form->addRow(l, e);
    }

    btnPost_ = new QPushButton(QStringLiteral("Enregistrer"), this);
    btnPost_->setObjectName(QStringLiteral("BtnPost"));
    auto *btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("BtnCancel"));
    for (QPushButton *b : {btnPost_, btnCancel})
        b->setAutoDefault(false);
    connect(btnPost_, &QPushButton::clicked, this, &TFrmReglement::BtnPostClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPost_);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    updateButtons();
    type_->setFocus();
}

QLineEdit *TFrmReglement::number(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

void TFrmReglement::updateButtons()
{
    bool all = true;
    for (const Number &n : kNumbers)
        all = all && !number(n.name)->text().trimmed().isEmpty();
    btnPost_->setEnabled(all && data_.QReglement->isEditing());
}

void TFrmReglement::BtnPostClick()
{
    Dataset *rule = data_.QReglement;
    if (!btnPost_->isEnabled() || !binder_->submit())
        return;
    const QString refusal = ruleRefusal(data_.db(), category_, rule->value(QStringLiteral("TYP_ID")), openedType_);
    if (!refusal.isEmpty()) {
        inform(refusal);
        type_->setFocus();
        return;
    }
    rule->setValue(QStringLiteral("CAT_ID"), category_);
    if (rule->post())  // a failure has been reported; the rule stays pending
        accept();
}

void TFrmReglement::done(int result)
{
    if (result != QDialog::Accepted)
        data_.QReglement->cancel();
    FormDialog::done(result);
}

} // namespace folian
