#include "circulation/widgets/interlibraryscreen.h"

#include "circulation/core/libraries.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerhistory.h"
#include "circulation/widgets/readerpanel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

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
    libraries_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    libraries_->setMinimumContentsLength(24);
    btnEnregistrer_ = namedButton("BtnEnregistrer", QStringLiteral("Enregistrer"), this);
    btnAnnuler_ = namedButton("BtnAnnuler", QStringLiteral("Annuler"), this);
    connect(btnEnregistrer_, &QPushButton::clicked, this, [this] { BtnEnregistrerClick(); });
    connect(btnAnnuler_, &QPushButton::clicked, this, [this] { BtnAnnulerClick(); });
    panel_ = new ReaderPanel(data_, this);
    panel_->messages()->setMaximumHeight(90);
    panel_->history()->showInterLibraryTab();
    fillLibraries();
    connect(libraries_, &QComboBox::currentIndexChanged, this, [this] { updateSave(); });
}

void InterLibraryScreen::arrange(QGridLayout *form)
{
    // The buttons under the reader's name, in the room the form leaves there.
    auto *actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(btnEnregistrer_);
    actions->addWidget(btnAnnuler_);
    form->setColumnStretch(1, 1);
    panel_->nameGrid()->setRowStretch(2, 1);
    panel_->nameGrid()->addLayout(actions, 3, 0, 1, 2);
    panel_->arrange(form);
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

void InterLibraryScreen::showReader(const QString &readerId) { panel_->showReader(readerId, desk().today()); }

bool InterLibraryScreen::showCheck(const ReaderCheck &check) { return panel_->showCheck(check, desk().today()); }

void InterLibraryScreen::showResult(const InterLibraryResult &r) { panel_->messages()->say(r.blue, r.message()); }

MessageArea *InterLibraryScreen::messages() const { return panel_->messages(); }
ReaderHistory *InterLibraryScreen::history() const { return panel_->history(); }
QString InterLibraryScreen::shownName() const { return panel_->shownName(); }

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
