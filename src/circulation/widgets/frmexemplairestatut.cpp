#include "circulation/widgets/frmexemplairestatut.h"

#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/copysearch.h"
#include "data/core/database.h"
#include "data/core/shareddata.h"

#include "data/widgets/uihelpers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

namespace {

void selectKey(QComboBox *list, const QVariant &key)
{
    list->setCurrentIndex(key.isNull() ? -1 : list->findData(key.toString()));
}

} // namespace

TFrmExemplaireStatut::TFrmExemplaireStatut(TFrmData &frmData, const QString &copyId, QWidget *parent)
    : FormDialog(parent), data_(frmData), copyId_(copyId)
{
    setObjectName(QStringLiteral("FrmExemplaireStatut"));
    copy_ = new QLineEdit(this);
    copy_->setObjectName(QStringLiteral("EdtExemplaire"));
    cote_ = new QLineEdit(this);
    cote_->setObjectName(QStringLiteral("EdtCote"));
    for (QLineEdit *e : {copy_, cote_})
        e->setEnabled(false);
    status_ = new QComboBox(this);
    status_->setObjectName(QStringLiteral("CmbStatut"));
    location_ = new QComboBox(this);
    location_->setObjectName(QStringLiteral("CmbLocalisation"));
    for (QComboBox *c : {status_, location_}) {
        c->setProperty("localise", false);
        c->installEventFilter(this);
    }
    observation_ = new QLineEdit(this);
    observation_->setObjectName(QStringLiteral("EdtObservation"));
    observation_->setMaxLength(255);

    auto *form = new QFormLayout;
    form->addRow(namedLabel("LblExemplaire", "N° exemplaire :", this), copy_);
    form->addRow(namedLabel("LblCote", "Cote :", this), cote_);
    form->addRow(namedLabel("LblStatut", "Statut :", this), status_);
    form->addRow(namedLabel("LblLocalisation", "Localisation :", this), location_);
    form->addRow(namedLabel("LblObservation", "Observation :", this), observation_);
    auto *save = new QPushButton(QStringLiteral("Enregistrer"), this);
    save->setObjectName(QStringLiteral("BtnEnregistrer"));
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BtnAnnuler"));
    for (QPushButton *b : {save, cancel})
        b->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &TFrmExemplaireStatut::BtnEnregistrerClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(460, 240);
    load();
    status_->setFocus();
}

void TFrmExemplaireStatut::afterLocalise()
{
    setWindowTitle(tr2(QStringLiteral("Modification exemplaire"), QStringLiteral("تعديل النسخة")));
}

void TFrmExemplaireStatut::load()
{
    Database &db = data_.db();
    const bool arabic = session().ArabicMode;
    status_->clear();
    SqlRows s = db.query(QStringLiteral("SELECT STA_EXP_ID, STA_EXP_LIBELLE, STA_EXP_LIBELLE_AR FROM STATUT_EXEMPLAIRE "
                                        "ORDER BY STA_EXP_ID"));
    while (s.next()) {
        const QString ar = s.value(2).toString();
        status_->addItem(arabic && !ar.isEmpty() ? ar : s.value(1).toString(), s.value(0).toString());
    }
    location_->clear();
    SqlRows l = db.query(QStringLiteral("SELECT LOC_ID, LOC_LIBELLE FROM LOCALISATION ORDER BY LOC_LIBELLE"));
    while (l.next())
        location_->addItem(l.value(1).toString(), l.value(0).toString());
    SqlRows c = db.query(QStringLiteral("SELECT EXP_ID, EXP_COTE, STA_EXP_ID, LOC_ID, EXP_OBSERVATION "
                                        "FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"),
                         {copyId_});
    if (c.next()) {
        copy_->setText(c.value(0).toString());
        cote_->setText(c.value(1).toString());
        selectKey(status_, c.value(2));
        selectKey(location_, c.value(3));
        observation_->setText(c.value(4).toString());
    }
}

bool TFrmExemplaireStatut::eventFilter(QObject *watched, QEvent *event)
{
    // "." empties a list.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->text() == QLatin1String(".")) {
        if (auto *list = qobject_cast<QComboBox *>(watched)) {
            list->setCurrentIndex(-1);
            return true;
        }
    }
    return FormDialog::eventFilter(watched, event);
}

void TFrmExemplaireStatut::BtnEnregistrerClick()
{
    const QString why = changeCopyStatus(data_.db(), copyId_, status_->currentData(), location_->currentData(),
                                         observation_->text().trimmed());
    if (!why.isEmpty()) {
        warn(why);
        return;
    }
    accept();
}

} // namespace folian
