#include "acquisitions/widgets/frmcommande.h"

#include "acquisitions/core/orders.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "base/session.h"
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

TFrmCommande::TFrmCommande(TFrmData &frmData, AcqType type, int id, QWidget *parent)
    : FormDialog(parent), data_(frmData), type_(type), id_(id)
{
    setObjectName(QStringLiteral("FrmCommande"));
    setWindowTitle(QStringLiteral("Commande"));
    setModal(true);
    supplier_ = new QComboBox(this);
    supplier_->setObjectName(QStringLiteral("CbFournisseur"));
    currency_ = new QComboBox(this);
    currency_->setObjectName(QStringLiteral("CbMonnaie"));
    date_ = folian::dateField("EdtDate", this);
    number_ = new QLineEdit(this);
    number_->setObjectName(QStringLiteral("EdtNumero"));

    auto *form = new QFormLayout;
    const auto addRow = [&](const char *label, const char *caption, QWidget *w) {
        QLabel *l = namedLabel(label, QString::fromUtf8(caption), this);
        l->setBuddy(w);
        form->addRow(l, w);
    };
    addRow("LblFournisseur", "Fournisseur :", supplier_);
    addRow("LblMonnaie", "Monnaie :", currency_);
    addRow("LblDate", "Date :", date_);
    addRow("LblNumero", "Numéro :", number_);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmCommande::BtnPostClick);
    connect(number_, &QLineEdit::textChanged, this, [this](const QString &t) { post_->setEnabled(!t.trimmed().isEmpty()); });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(440);

    fillLists();
    const DocumentSheet d = id_ > 0 ? loadDocument(data_.db(), id_) : DocumentSheet();
    chooseKey(supplier_, d.supplier);
    chooseKey(currency_, d.currency);
    showDate(date_, id_ > 0 ? d.date : serverToday(data_.db()));
    number_->setText(d.number);
    post_->setEnabled(!d.number.trimmed().isEmpty());
    supplier_->setFocus();
}

void TFrmCommande::fillLists()
{
    Database &db = data_.db();
    fillKeyList(supplier_, db, QStringLiteral("SELECT FOU_ID, FOU_LIBELLE FROM FOURNISSEUR ORDER BY FOU_LIBELLE"), true);
    const QString label = QStringLiteral("MON_LIBELLE") + session().LanguageSuffix;
    fillKeyList(currency_, db, QStringLiteral("SELECT MON_ID, %1 FROM MONNAIE ORDER BY %1").arg(label), true);
}

void TFrmCommande::afterLocalise()
{
    const bool edit = id_ > 0;
    switch (type_) {
    case AcqType::PreOrder:
        setWindowTitle(edit ? tr2(QStringLiteral("Modifier pré-commande"), QStringLiteral("تعديل الطلبية المسبقة"))
                            : tr2(QStringLiteral("Nouvelle  pré-commande"), QStringLiteral("طلبية مسبقة جديدة")));
        break;
    case AcqType::Subscription:
        setWindowTitle(edit ? tr2(QStringLiteral("Modifier abonnement"), QStringLiteral("تعديل الاشتراك"))
                            : tr2(QStringLiteral("Nouvel abonnement"), QStringLiteral("اشتراك جديد")));
        break;
    default:
        setWindowTitle(edit ? tr2(QStringLiteral("Modifier commande"), QStringLiteral("تعديل الطلبية"))
                            : tr2(QStringLiteral("Nouvelle commande"), QStringLiteral("طلبية جديدة")));
    }
    fillLists();
}

void TFrmCommande::BtnPostClick()
{
    DocumentSheet d;
    d.id = id_;
    d.type = type_;
    d.supplier = chosenKey(supplier_);
    d.currency = chosenKey(currency_);
    d.date = dateOf(date_);
    d.number = number_->text();
    const AcqResult r = saveDocument(data_.db(), d);
    if (!r.passed) {
        inform(r.message);
        (IsBlank(d.supplier) ? static_cast<QWidget *>(supplier_) : number_)->setFocus();
        return;
    }
    savedId_ = r.key;
    accept();
}

} // namespace folian
