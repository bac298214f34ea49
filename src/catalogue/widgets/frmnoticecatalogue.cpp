#include "catalogue/widgets/frmnoticecatalogue.h"

#include "base/messages.h"
#include "catalogue/widgets/noticefields.h"
#include "catalogue/widgets/pickers.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "data/widgets/uihelpers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace folian {

TFrmNoticeCatalogue::TFrmNoticeCatalogue(TFrmData &frmData, QWidget *parent) : FormDialog(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmNoticeCatalogue"));
    setWindowTitle(QStringLiteral("Génération du catalogue"));
    setModal(true);

    options_ = new QGroupBox(QStringLiteral(" Options "), this);
    options_->setObjectName(QStringLiteral("GrpOptions"));
    cla_ = new QLineEdit(options_);
    cla_->setObjectName(QStringLiteral("CLA"));
    auto *btnCla = namedButton("BtnCla", "...", options_);
    btnCla->setMaximumWidth(32);
    connect(btnCla, &QPushButton::clicked, this, &TFrmNoticeCatalogue::BtnClaClick);
    typ_ = new QComboBox(options_);
    typ_->setObjectName(QStringLiteral("TYP"));
    lan_ = new QComboBox(options_);
    lan_->setObjectName(QStringLiteral("LAN"));
    for (Dataset *d : {data_.QTypeDocument, data_.QLangue})
        openLookup(d);
    fillLookupList(typ_, data_.QTypeDocument, QStringLiteral("TYP_ID"), QStringLiteral("TYP"));
    fillLookupList(lan_, data_.QLangue, QStringLiteral("LAN_ID"), QStringLiteral("LAN"));
    cat1_ = new QRadioButton(QStringLiteral("Catalogue signaletique"), options_);
    cat1_->setObjectName(QStringLiteral("CAT1"));
    cat1_->setChecked(true);
    cat2_ = new QRadioButton(QStringLiteral("Catalogue analytique"), options_);
    cat2_->setObjectName(QStringLiteral("CAT2"));

    auto *grid = new QGridLayout(options_);
    auto *claRow = new QHBoxLayout;
    claRow->addWidget(cla_, 1);
    claRow->addWidget(btnCla);
    grid->addWidget(namedLabel("LblCla", "Classification :", options_), 0, 0);
    grid->addLayout(claRow, 0, 1);
    grid->addWidget(namedLabel("LblTyp", "Type de document :", options_), 1, 0);
    grid->addWidget(typ_, 1, 1);
    grid->addWidget(namedLabel("LblLan", "Langue :", options_), 2, 0);
    grid->addWidget(lan_, 2, 1);
    auto *forms = new QHBoxLayout;
    forms->addWidget(cat1_);
    forms->addWidget(cat2_);
    forms->addStretch(1);
    grid->addLayout(forms, 3, 1);
    grid->setColumnStretch(1, 1);

    panel_ = new ProgressPanel(this);
    btnGenerer_ = new QPushButton(QStringLiteral("Générer"), this);
    btnGenerer_->setObjectName(QStringLiteral("BtnGenerer"));
    btnGenerer_->setDefault(true);
    connect(btnGenerer_, &QPushButton::clicked, this, &TFrmNoticeCatalogue::BtnGenererClick);
    btnFermer_ = namedButton("BtnFermer", "Fermer", this);
    connect(btnFermer_, &QPushButton::clicked, this, &TFrmNoticeCatalogue::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnGenerer_);
    buttons->addWidget(btnFermer_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options_);
    layout->addWidget(panel_);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());
}

CatalogueOptions TFrmNoticeCatalogue::options() const
{
    CatalogueOptions o;
    o.classification = cla_->text().trimmed();
    o.type = typ_->currentData().toString();
    o.language = lan_->currentData().toString();
    o.analytic = cat2_->isChecked();
    return o;
}

void TFrmNoticeCatalogue::setRunning(bool on)
{
    running_ = on;
    options_->setEnabled(!on);
    btnGenerer_->setVisible(!on);
    btnFermer_->setEnabled(!on);
    panel_->setBusy(on);
}

void TFrmNoticeCatalogue::BtnGenererClick()
{
    if (running_)
        return;
    setRunning(true);
    result_ = generateCatalogue(data_.db(), options(), panel_);
    setRunning(false);
    if (result_.status == CatalogueResult::Status::Failed) {
        error(result_.message);
        return;
    }
    inform(result_.message);
    accept();
}

void TFrmNoticeCatalogue::BtnClaClick()
{
    PickRequest request;
    request.list = PickList::Classification;
    request.mode = 2;
    if (const QString typed = cla_->text().trimmed(); !typed.isEmpty())
        request.text = typed.endsWith(u'*') ? typed : typed + u'*';
    const Picked chosen = pick(this, data_, request);
    if (chosen.ok())
        cla_->setText(chosen.key.toString());
}

void TFrmNoticeCatalogue::reject()
{
    // A run ends by its stop button, never by closing the screen under it.
    if (!running_)
        FormDialog::reject();
}

void TFrmNoticeCatalogue::closeEvent(QCloseEvent *event)
{
    if (running_)
        event->ignore();
    else
        FormDialog::closeEvent(event);
}

void TFrmNoticeCatalogue::keyPressEvent(QKeyEvent *event)
{
    // Return in the options generates, as the default button would.
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget *focus = focusWidget();
    if (isReturn && !running_ && focus && options_->isAncestorOf(focus) && !qobject_cast<QPushButton *>(focus)) {
        btnGenerer_->click();
        return;
    }
    FormDialog::keyPressEvent(event);
}

} // namespace folian
