#include "catalogue/copy/widgets/frmciblecopie.h"

#include "base/messages.h"
#include "data/widgets/uihelpers.h"
#include "catalogue/copy/targets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace folian {

QLabel *buddyLabel(const char *name, const QString &caption, QWidget *buddy, QWidget *parent)
{
    QLabel *l = namedLabel(QLatin1String(name), caption, parent);
    l->setBuddy(buddy);
    return l;
}

TFrmCibleCopie::TFrmCibleCopie(Database &db, QWidget *parent) : FormDialog(parent), db_(db)
{
    setObjectName(QStringLiteral("FrmCibleCopie"));
    setWindowTitle(QStringLiteral("Nouvelle cible"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("EdtNom"));
    name_->setMaxLength(100);
    protocol_ = new QComboBox(this);
    protocol_->setObjectName(QStringLiteral("CmbProtocole"));
    protocol_->addItems({QStringLiteral("SRU"), QStringLiteral("Z39.50")});
    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("EdtAdresse"));
    address_->setPlaceholderText(QStringLiteral("https://…/SRU"));
    charset_ = new QComboBox(this);
    charset_->setObjectName(QStringLiteral("CmbJeu"));
    charset_->addItems({QString(), QStringLiteral("UTF-8"), QStringLiteral("ISO-5426"), QStringLiteral("ISO-646")});
    timeout_ = new QSpinBox(this);
    timeout_->setObjectName(QStringLiteral("EdtDelai"));
    timeout_->setRange(1, copy::kMaxTimeout);
    timeout_->setValue(copy::kDefaultTimeout);
    indexes_ = new QComboBox(this);
    indexes_->setObjectName(QStringLiteral("CmbIndex"));
    indexes_->addItems({QStringLiteral("dc"), QStringLiteral("bib")});
    connect(protocol_, &QComboBox::currentIndexChanged, this, [this](int i) {
        indexes_->setEnabled(i == 0);
        address_->setPlaceholderText(i == 0 ? QStringLiteral("https://…/SRU") : QStringLiteral("HOTE:PORT/BASE"));
    });

    auto *form = new QFormLayout;
    form->addRow(buddyLabel("LblNom", QStringLiteral("Nom :"), name_, this), name_);
    form->addRow(buddyLabel("LblProtocole", QStringLiteral("Protocole :"), protocol_, this), protocol_);
    form->addRow(buddyLabel("LblAdresse", QStringLiteral("Adresse :"), address_, this), address_);
    form->addRow(buddyLabel("LblJeu", QStringLiteral("Jeu de caractères :"), charset_, this), charset_);
    form->addRow(buddyLabel("LblDelai", QStringLiteral("Délai (secondes) :"), timeout_, this), timeout_);
    form->addRow(buddyLabel("LblIndex", QStringLiteral("Index SRU :"), indexes_, this), indexes_);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BtnOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BtnAnnuler"));
    connect(ok, &QPushButton::clicked, this, &TFrmCibleCopie::BtnOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void TFrmCibleCopie::BtnOkClick()
{
    QString why;
    const bool sru = protocol_->currentIndex() == 0;
    std::optional<copy::CopyTarget> t = sru ? copy::parseSruAddress(address_->text(), &why)
                                            : copy::parseZ3950Address(address_->text(), &why);
    if (!t) {
        error(why);
        address_->setFocus();
        return;
    }
    t->name = name_->text().trimmed();
    t->charset = charset_->currentText();
    t->timeout = timeout_->value();
    t->indexSet = copy::parseIndexSet(indexes_->currentText()).value_or(copy::IndexSet::DublinCore);
    const copy::TargetResult r = copy::addTarget(db_, *t);
    if (!r.passed) {
        error(r.message);
        name_->setFocus();
        return;
    }
    added_ = t->name;
    accept();
}

} // namespace folian
