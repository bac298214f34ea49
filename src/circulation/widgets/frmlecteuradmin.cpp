#include "circulation/widgets/frmlecteuradmin.h"

#include "base/messages.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/readers.h"
#include "circulation/widgets/frmlecteursearch.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerpanel.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"

#include "data/widgets/uihelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace folian {

TFrmLecteurAdmin::TFrmLecteurAdmin(TFrmData &frmData, AdminAction action, QWidget *parent)
    : QWidget(parent), data_(frmData), action_(action)
{
    setObjectName(QStringLiteral("FrmLecteurAdmin"));
    setWindowTitle(QStringLiteral("Administration lecteur"));

    reader_ = new QLineEdit(this);
    reader_->setObjectName(QStringLiteral("EdtLecteur"));
    auto *btnSearch = new QPushButton(QStringLiteral("..."), this);
    btnSearch->setObjectName(QStringLiteral("BtnSearchLecteur"));
    btnSearch->setAutoDefault(false);
    btnSearch->setMaximumWidth(32);
    connect(btnSearch, &QPushButton::clicked, this, &TFrmLecteurAdmin::BtnSearchClick);
    motif_ = new QLineEdit(this);
    motif_->setObjectName(QStringLiteral("EdtMotif"));
    motif_->setMaxLength(255);
    connect(reader_, &QLineEdit::textEdited, this, [this] {
        motif_->setEnabled(true);
        messages()->clear();
    });

    btnValider_ = new QPushButton(QStringLiteral("Valider"), this);
    btnValider_->setObjectName(QStringLiteral("BtnValider"));
    btnAnnuler_ = new QPushButton(QStringLiteral("Annuler"), this);
    btnAnnuler_->setObjectName(QStringLiteral("BtnAnnuler"));
    for (QPushButton *b : {btnValider_, btnAnnuler_})
        b->setAutoDefault(false);
    connect(btnValider_, &QPushButton::clicked, this, &TFrmLecteurAdmin::BtnValiderClick);
    connect(btnAnnuler_, &QPushButton::clicked, this, &TFrmLecteurAdmin::BtnAnnulerClick);

    panel_ = new ReaderPanel(data_, this);

    auto *form = new QGridLayout;
    auto *readerRow = new QHBoxLayout;
    readerRow->addWidget(reader_, 1);
    readerRow->addWidget(btnSearch);
    form->addWidget(namedLabel("LblLecteur", "N° lecteur :", this), 0, 0);
    form->addLayout(readerRow, 0, 1);
    QLabel *lblMotif = namedLabel("LblMotif", "Motif :", this);
    form->addWidget(lblMotif, 1, 0);
    form->addWidget(motif_, 1, 1);
    lblMotif->setVisible(action_ == AdminAction::Suspend);
    motif_->setVisible(action_ == AdminAction::Suspend);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnValider_);
    buttons->addWidget(btnAnnuler_);
    form->addLayout(buttons, 2, 1);
    form->setColumnStretch(1, 1);
    panel_->arrange(form);
}

void TFrmLecteurAdmin::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmLecteurAdmin::Keyboard(QWidget *control, QKeyEvent *event)
{
    // Return in the reader or reason field validates.
    if ((control == reader_ || control == motif_) && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (control == reader_ && motif_->isVisible() && motif_->isEnabled() && motif_->text().isEmpty())
            motif_->setFocus();
        else
            BtnValiderClick();
        return true;
    }
    return returnMovesFocus(control, event);
}

void TFrmLecteurAdmin::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void TFrmLecteurAdmin::focusReader()
{
    reader_->setFocus();
    reader_->selectAll();
}

MessageArea *TFrmLecteurAdmin::messages() const { return panel_->messages(); }
ReaderHistory *TFrmLecteurAdmin::history() const { return panel_->history(); }
QString TFrmLecteurAdmin::shownName() const { return panel_->shownName(); }

bool TFrmLecteurAdmin::loadReader(const QString &id)
{
    Dataset *q = data_.QLecteur;
    if (q->isEditing())
        q->cancel();
    const QDate today = serverToday(data_.db());
    const SqlText sql = readerRowSql(data_.db().dialect(), id, today);
    const bool found = q->open(sql.sql, sql.binds) && q->rowCount() > 0;
    panel_->showRow(q, found, today);
    return found;
}

void TFrmLecteurAdmin::BtnValiderClick()
{
    const QString typed = reader_->text();
    messages()->clear();
    if (!loadReader(typed.trimmed()) && !typed.trimmed().isEmpty()) {
        messages()->refuse(circ::readerUnknown(typed.trimmed(), false));
        focusReader();
        return;
    }
    const ReaderChange c = administerReader(data_.db(), typed, action_, motif_->text(), serverToday(data_.db()));
    messages()->say(c.done, c.message);
    if (c.done) {
        data_.QLecteur->refreshRow();
        if (action_ == AdminAction::Suspend) {
            motif_->clear();
            motif_->setEnabled(false);
        }
    }
    focusReader();
}

void TFrmLecteurAdmin::BtnAnnulerClick()
{
    reader_->clear();
    motif_->clear();
    motif_->setEnabled(true);
    messages()->clear();
    loadReader(QString());
    focusReader();
}

void TFrmLecteurAdmin::BtnSearchClick()
{
    const QString chosen = TFrmLecteurSearch::pickReader(data_, reader_->text(), this);
    if (!chosen.isNull()) {
        reader_->setText(chosen);
        motif_->setEnabled(true);
        loadReader(chosen);
    }
    focusReader();
}

} // namespace folian
