#include "circulation/widgets/interlibraryscreen.h"

#include "circulation/core/libraries.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerhistory.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

InterLibraryScreen::InterLibraryScreen(TFrmData &frmData, const QString &objectName, const QString &caption,
                                       QWidget *parent)
    : QWidget(parent), data_(frmData)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    libraries_ = new QComboBox(this);
    libraries_->setObjectName(QStringLiteral("CbxBibliotheque"));
    libraries_->setProperty("localise", false);  // the names come from the data
    libraries_->setMinimumContentsLength(24);
    btnEnregistrer_ = namedButton("BtnEnregistrer", QStringLiteral("Enregistrer"), this);
    btnAnnuler_ = namedButton("BtnAnnuler", QStringLiteral("Annuler"), this);
    connect(btnEnregistrer_, &QPushButton::clicked, this, [this] { BtnEnregistrerClick(); });
    connect(btnAnnuler_, &QPushButton::clicked, this, [this] { BtnAnnulerClick(); });
    messages_ = new MessageArea(this);
    messages_->setMaximumHeight(90);
    nom_ = valueLabel("LblNomValue", this);
    prenom_ = valueLabel("LblPrenomValue", this);
    history_ = new ReaderHistory(data_, this);
    history_->showInterLibraryTab();
    fillLibraries();
    connect(libraries_, &QComboBox::currentIndexChanged, this, [this] { updateSave(); });
}

void InterLibraryScreen::arrange(QGridLayout *form)
{
    auto *actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(btnEnregistrer_);
    actions->addWidget(btnAnnuler_);
    form->addLayout(actions, form->rowCount(), 1);
    form->setColumnStretch(1, 1);

    auto *info = new QGridLayout;
    info->addWidget(namedLabel("LblNom", "Nom :", this), 0, 0);
    info->addWidget(nom_, 0, 1);
    info->addWidget(namedLabel("LblPrenom", "Prénom :", this), 1, 0);
    info->addWidget(prenom_, 1, 1);
    info->setColumnStretch(1, 1);
    info->setRowStretch(2, 1);

    auto *top = new QHBoxLayout;
    top->addLayout(form, 3);
    top->addSpacing(16);
    top->addLayout(info, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(messages_);
    layout->addWidget(history_, 1);
    updateSave();
}

void InterLibraryScreen::fillLibraries()
{
    const QVariant chosen = chosenLibrary();
    libraries_->clear();
    libraries_->addItem(QString());  // none chosen
    for (const LibraryChoice &c : libraryChoices(data_.db()))
        libraries_->addItem(c.label, c.id);
    chooseLibrary(chosen.toInt());
}

QVariant InterLibraryScreen::chosenLibrary() const { return libraries_->currentData(); }

void InterLibraryScreen::chooseLibrary(int id)
{
    const int index = id > 0 ? libraries_->findData(id) : -1;
    libraries_->setCurrentIndex(index < 0 ? 0 : index);
}

InterLibraryDesk InterLibraryScreen::desk() { return InterLibraryDesk(data_.db(), today_); }

void InterLibraryScreen::showReader(const QString &readerId)
{
    Dataset *q = data_.QLecteurSearch;
    const bool found = !readerId.isEmpty()
        && q->open(QStringLiteral("SELECT * FROM LECTEUR WHERE LEC_ID = ?"), {readerId}) && q->rowCount() > 0;
    if (!found)
        q->close();
    nom_->setText(found ? q->value(QStringLiteral("LEC_NOM")).toString() : QString());
    prenom_->setText(found ? q->value(QStringLiteral("LEC_PRENOM")).toString() : QString());
    history_->showReader(found ? readerId : QString(), desk().today());
}

void InterLibraryScreen::showResult(const InterLibraryResult &r)
{
    messages_->clear();
    messages_->say(r.blue, r.message());
}

QString InterLibraryScreen::shownName() const { return nom_->text() + u' ' + prenom_->text(); }

bool InterLibraryScreen::Keyboard(QWidget *control, QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && returnInField(control))
        return true;
    return returnMovesFocus(control, event);
}

void InterLibraryScreen::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void InterLibraryScreen::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

} // namespace folian
