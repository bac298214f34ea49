#include "acquisitions/widgets/frmfournisseurdetail.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/suppliers.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

namespace {

struct Field {
    const char *name, *label, *caption;
    QString SupplierSheet::*member;
};
// Between "Type :" and "Pays :" come the account and the contact.
const Field kFields[] = {{"EdtNom", "LblNom", "Nom :", &SupplierSheet::name},
                         {"EdtCompte", "LblCompte", "Compte :", &SupplierSheet::account},
                         {"EdtContact", "LblContact", "Contact :", &SupplierSheet::contact},
                         {"EdtAdresse", "LblAdresse", "Adresse :", &SupplierSheet::address},
                         {"EdtTelephone", "LblTelephone", "Téléphone :", &SupplierSheet::phone},
                         {"EdtFax", "LblFax", "Fax :", &SupplierSheet::fax},
                         {"EdtEmail", "LblEmail", "E-Mail :", &SupplierSheet::email},
                         {"EdtUrl", "LblUrl", "URL:", &SupplierSheet::url}};

} // namespace

TFrmFournisseurDetail::TFrmFournisseurDetail(TFrmData &frmData, int id, QWidget *parent)
    : FormDialog(parent), data_(frmData), id_(id)
{
    setObjectName(QStringLiteral("FrmFournisseurDetail"));
    setWindowTitle(QStringLiteral("Fournisseur détails"));
    setModal(true);
    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("CbType"));
    country_ = new QComboBox(this);
    country_->setObjectName(QStringLiteral("CbPays"));

    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const char *label, const char *caption, QWidget *w) {
        QLabel *l = namedLabel(label, QString::fromUtf8(caption), this);
        l->setBuddy(w);
        grid->addWidget(l, row, 0);
        grid->addWidget(w, row++, 1);
    };
    for (const Field &f : kFields) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(f.name));
        addRow(f.label, f.caption, e);
        if (qstrcmp(f.name, "EdtNom") == 0)
            addRow("LblType", "Type :", type_);
        else if (qstrcmp(f.name, "EdtContact") == 0)
            addRow("LblPays", "Pays :", country_);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 320);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmFournisseurDetail::BtnPostClick);
    connect(field("EdtNom"), &QLineEdit::textChanged, this,
            [this](const QString &t) { post_->setEnabled(!t.trimmed().isEmpty()); });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(bottom);

    fillLists();
    const SupplierSheet s = id_ > 0 ? loadSupplier(data_.db(), id_) : SupplierSheet();
    for (const Field &f : kFields)
        field(f.name)->setText(s.*f.member);
    chooseKey(type_, s.type);
    chooseKey(country_, s.country.isEmpty() ? QVariant() : QVariant(s.country));
    post_->setEnabled(!s.name.trimmed().isEmpty());
    field("EdtNom")->setFocus();
}

QLineEdit *TFrmFournisseurDetail::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

void TFrmFournisseurDetail::fillLists()
{
    const QVariant kept = chosenKey(type_);
    type_->clear();
    for (int t = 0; t <= 3; ++t)
        type_->addItem(acq::supplierTypeLabel(t), t);
    chooseKey(type_, kept.isNull() ? QVariant(0) : kept);
    const QString label = QStringLiteral("PAY_LIBELLE") + session().LanguageSuffix;
    fillKeyList(country_, data_.db(), QStringLiteral("SELECT PAY_ID, %1 FROM PAYS ORDER BY %1").arg(label), true);
}

void TFrmFournisseurDetail::afterLocalise()
{
    setWindowTitle(id_ > 0 ? tr2(QStringLiteral("Mise à jour fournisseur"), QStringLiteral("تحديث المورد"))
                           : tr2(QStringLiteral("Nouveau fournisseur"), QStringLiteral("مورد جديد")));
    fillLists();
}

void TFrmFournisseurDetail::BtnPostClick()
{
    SupplierSheet s;
    s.id = id_;
    for (const Field &f : kFields)
        s.*f.member = field(f.name)->text();
    s.type = chosenKey(type_).toInt();
    s.country = chosenKey(country_).toString();
    const AcqResult r = saveSupplier(data_.db(), s);
    if (!r.passed) {
        inform(r.message);
        field("EdtNom")->setFocus();
        return;
    }
    savedId_ = r.key;
    accept();
}

} // namespace folian
