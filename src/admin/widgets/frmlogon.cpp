#include "admin/widgets/frmlogon.h"

#include "admin/core/logon.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmLogOn::TFrmLogOn(TFrmData &frmData, QWidget *parent) : FormDialog(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmLogOn"));
    setWindowTitle(QStringLiteral("Ouverture de session"));
    setModal(true);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PnlLogOn"));
    panel->setFrameShape(QFrame::StyledPanel);

    Dataset *users = data_.QUtilisateur;
    if (!users->isOpen())
        users->open(QStringLiteral("SELECT * FROM UTILISATEUR"));
    users->fetchAll();  // the list shows every login, sorted on it by the shared query
    model_ = new DatasetModel(users, this);
    model_->setColumns({QStringLiteral("UTL_LOGIN")});

    usr_ = new QComboBox(panel);
    usr_->setObjectName(QStringLiteral("_USR"));
    usr_->setModel(model_);
    usr_->setMinimumContentsLength(20);
    // Choosing a user positions the shared query on him.
    connect(usr_, &QComboBox::currentIndexChanged, this, [users](int row) {
        if (row >= 0 && !users->isEditing())
            users->moveTo(row);
    });

    pas_ = new QLineEdit(panel);
    pas_->setObjectName(QStringLiteral("_PAS"));
    pas_->setMaxLength(20);
    pas_->setEchoMode(QLineEdit::Password);

    auto *lblUser = new QLabel(QStringLiteral("Utilisateur :"), panel);
    lblUser->setObjectName(QStringLiteral("LblUser"));
    lblUser->setBuddy(usr_);
    auto *lblPassword = new QLabel(QStringLiteral("Mot de passe :"), panel);
    lblPassword->setObjectName(QStringLiteral("LblPassword"));
    lblPassword->setBuddy(pas_);

    auto *form = new QFormLayout(panel);
    form->addRow(lblUser, usr_);
    form->addRow(lblPassword, pas_);

    auto *btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setObjectName(QStringLiteral("BtnOk"));
    auto *btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("BtnCancel"));
    btnLangue_ = new QPushButton(QStringLiteral("AR"), this);
    btnLangue_->setObjectName(QStringLiteral("BtnLangue"));
    btnLangue_->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &TFrmLogOn::BtnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnLangue_, &QPushButton::clicked, this, &TFrmLogOn::SelectLanguage);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnLangue_);
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);

    // The last user of this workstation is proposed.
    selectUser(session().CurrentUserId);
    setTabOrder(usr_, pas_);
    setTabOrder(pas_, btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, btnLangue_);
    setMinimumWidth(340);
    pas_->setFocus();
}

void TFrmLogOn::selectUser(int userId)
{
    Dataset *users = data_.QUtilisateur;
    const int key = users->fieldIndex(QStringLiteral("UTL_ID"));
    for (int row = 0; row < users->rowCount(); ++row)
        if (users->valueAt(row, key).toInt() == userId && userId > 0) {
            usr_->setCurrentIndex(row);
            return;
        }
    usr_->setCurrentIndex(-1);
}

int TFrmLogOn::selectedUserId() const
{
    const int row = usr_->currentIndex();
    if (row < 0)
        return 0;
    Dataset *users = data_.QUtilisateur;
    return users->valueAt(row, users->fieldIndex(QStringLiteral("UTL_ID"))).toInt();
}

void TFrmLogOn::showEvent(QShowEvent *event)
{
    // The language of the session: its layout direction and its file.
    SetApplicationLanguage(session().CurrentLanguage);
    FormDialog::showEvent(event);
    pas_->setFocus();
}

void TFrmLogOn::SelectLanguage()
{
    SetLanguage(session().CurrentLanguage == QLatin1String("AR") ? QStringLiteral("FR") : QStringLiteral("AR"));
}

void TFrmLogOn::SetLanguage(const QString &language)
{
    SetApplicationLanguage(language);
    LocaliseForm(this);
    afterLocalise();
}

void TFrmLogOn::afterLocalise()
{
    // The button names the language that a click switches to.
    btnLangue_->setText(session().ArabicMode ? QStringLiteral("FR") : QStringLiteral("AR"));
}

void TFrmLogOn::BtnOkClick()
{
    const int userId = selectedUserId();
    QString why;
    const LogonResult r = CheckLogon(data_, userId, pas_->text(), &why);
    switch (r) {
    case LogonResult::Ok:
        accept();
        return;
    case LogonResult::NoUser:
        usr_->setFocus();
        return;
    case LogonResult::WrongPassword:
        error(LogonMessage(r));
        pas_->setFocus();
        pas_->selectAll();
        return;
    case LogonResult::AlreadyConnected:
        inform(LogonMessage(r));
        usr_->setFocus();
        return;
    case LogonResult::UserGone:
        // The list read at start is out of date: read it again.
        error(LogonMessage(r));
        data_.QUtilisateur->open(QStringLiteral("SELECT * FROM UTILISATEUR"));
        data_.QUtilisateur->fetchAll();
        selectUser(0);
        usr_->setFocus();
        return;
    case LogonResult::ServerUnreachable:
        error(LogonMessage(r, why));
        pas_->setFocus();
        return;
    }
}

} // namespace folian
