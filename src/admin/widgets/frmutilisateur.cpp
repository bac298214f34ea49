#include "admin/widgets/frmutilisateur.h"

#include "base/rights.h"
#include "admin/core/users.h"
#include "admin/widgets/frmdetailuser.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmUtilisateur::TFrmUtilisateur(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmUtilisateur"));
    setWindowTitle(QStringLiteral("Gestion des Utilisateur"));

    Dataset *users = data_.QUtilisateur;
    if (!users->isOpen())
        users->open(QStringLiteral("SELECT * FROM UTILISATEUR"));
    model_ = new DatasetModel(users, this);
    model_->setColumns({QStringLiteral("UTL_LOGIN"), QStringLiteral("UTL_NOM"), QStringLiteral("UTL_PRENOM"),
                        QStringLiteral("UTL_ROLE")},
                       {QStringLiteral("Login"), QStringLiteral("Nom"), QStringLiteral("Prénom"), QStringLiteral("Rôle")});
    model_->setDisplay(QStringLiteral("UTL_ROLE"), [](const QVariant &v) {
        return v.isNull() ? QString() : roleName(v.toInt(), session().ArabicMode);
    });

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->setColumnWidth(0, 140);
    grid_->setColumnWidth(1, 180);
    grid_->setColumnWidth(2, 180);
    connect(grid_, &QTableView::doubleClicked, this, &TFrmUtilisateur::BtnUpdateClick);
    FollowCurrentRow(grid_, users, [this] { updateButtons(); });

    btnAppend_ = new QPushButton(QStringLiteral("&Insérer"), this);
    btnAppend_->setObjectName(QStringLiteral("BtnAppend"));
    btnUpdate_ = new QPushButton(QStringLiteral("&Modifier"), this);
    btnUpdate_->setObjectName(QStringLiteral("BtnUpdate"));
    btnDelete_ = new QPushButton(QStringLiteral("S&upprimer"), this);
    btnDelete_->setObjectName(QStringLiteral("BtnDelete"));
    connect(btnAppend_, &QPushButton::clicked, this, &TFrmUtilisateur::BtnAppendClick);
    connect(btnUpdate_, &QPushButton::clicked, this, &TFrmUtilisateur::BtnUpdateClick);
    connect(btnDelete_, &QPushButton::clicked, this, &TFrmUtilisateur::BtnDeleteClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAppend_);
    buttons->addWidget(btnUpdate_);
    buttons->addWidget(btnDelete_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    ShowCurrentRow(grid_, data_.QUtilisateur);
    updateButtons();
}

void TFrmUtilisateur::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmUtilisateur::Keyboard(QWidget *control, QKeyEvent *event)
{
    return returnMovesFocus(control, event);
}

void TFrmUtilisateur::keyPressEvent(QKeyEvent *event)
{
    // Shown on its own (outside a module frame) the screen routes its keys itself.
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void TFrmUtilisateur::updateButtons()
{
    Dataset *users = data_.QUtilisateur;
    const bool browsing = users->state() == Dataset::State::Browse;
    const bool rows = browsing && users->rowCount() > 0;
    btnAppend_->setEnabled(browsing);
    btnUpdate_->setEnabled(rows);
    btnDelete_->setEnabled(rows);
}

void TFrmUtilisateur::openSheet(int userId, const QString &title)
{
    TFrmDetailUser sheet(data_, userId, title, this);
    const int row = data_.QUtilisateur->currentRow();
    if (sheet.exec() == QDialog::Accepted)
        reopen(sheet.savedId(), row);
    else
        reopen(userId, row);  // saving may have failed half-way: show what the database holds
}

void TFrmUtilisateur::BtnAppendClick()
{
    if (data_.QUtilisateur->state() != Dataset::State::Browse)
        return;
    openSheet(0, tr2(QStringLiteral("Nouvel utilisateur "), QStringLiteral("مستخدم جديد")));
}

void TFrmUtilisateur::BtnUpdateClick()
{
    Dataset *users = data_.QUtilisateur;
    if (users->state() != Dataset::State::Browse || users->currentRow() < 0)
        return;
    openSheet(users->value(QStringLiteral("UTL_ID")).toInt(),
              tr2(QStringLiteral("Modifier les informations "), QStringLiteral("تعديل معلومات المستخدم")));
}

void TFrmUtilisateur::BtnDeleteClick()
{
    Dataset *users = data_.QUtilisateur;
    if (users->state() != Dataset::State::Browse || users->currentRow() < 0)
        return;
    const int id = users->value(QStringLiteral("UTL_ID")).toInt();
    const int row = users->currentRow();
    if (const QString refusal = deleteUserRefusal(data_, id); !refusal.isEmpty()) {
        inform(refusal);
        return;
    }
    if (!confirmIrreversible(deleteUserQuestion(users->value(QStringLiteral("UTL_LOGIN")).toString())))
        return;
    const QString refusal = deleteUser(data_, id);
    if (!refusal.isEmpty()) {
        inform(refusal);
        reopen(id, row);
        return;
    }
    reopen(0, row);
}

void TFrmUtilisateur::reopen(int userId, int fallbackRow)
{
    Dataset *users = data_.QUtilisateur;
    if (users->isEditing())
        users->cancel();
    users->open(QStringLiteral("SELECT * FROM UTILISATEUR"));
    if (userId > 0 && users->locate(QStringLiteral("UTL_ID"), userId))
        return;
    users->fetchAll();
    users->moveTo(qBound(0, fallbackRow, users->rowCount() - 1));
}

} // namespace folian
