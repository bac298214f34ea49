#include "circulation/widgets/frmpebretour.h"

#include "circulation/widgets/messagearea.h"
#include "data/widgets/uihelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace folian {

TFrmPEBRetour::TFrmPEBRetour(TFrmData &frmData, QWidget *parent)
    : InterLibraryScreen(frmData, QStringLiteral("FrmPEBRetour"), QStringLiteral("Retour PEB"), parent)
{
    copy_ = new QLineEdit(this);
    copy_->setObjectName(QStringLiteral("EdtExemplaire"));
    copy_->setMaxLength(50);
    copy_->setMinimumWidth(240);
    connect(copy_, &QLineEdit::textChanged, this, [this] { updateSave(); });
    connect(copy_, &QLineEdit::textEdited, this, [this] { messages()->clear(); });
    auto *form = new QGridLayout;
    form->addWidget(namedLabel("LblExemplaire", "N° exemplaire :", this), 0, 0);
    form->addWidget(copy_, 0, 1, Qt::AlignLeading);
    form->addWidget(namedLabel("LblBibliotheque", "Bibiliothèque :", this), 1, 0);
    form->addWidget(libraries_, 1, 1, Qt::AlignLeading);
    setTabOrder(copy_, libraries_);
    arrange(form);
}

void TFrmPEBRetour::focusCopy()
{
    copy_->setFocus();
    copy_->selectAll();
}

void TFrmPEBRetour::updateSave()
{
    saveButton()->setEnabled(!copy_->text().trimmed().isEmpty() && !chosenLibrary().isNull());
}

bool TFrmPEBRetour::returnInField(QWidget *control)
{
    if (control != copy_ && control != libraries_)
        return false;
    if (saveButton()->isEnabled())
        BtnEnregistrerClick();
    else if (control == copy_)
        libraries_->setFocus();
    return true;
}

void TFrmPEBRetour::BtnEnregistrerClick()
{
    if (!saveButton()->isEnabled())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const InterLibraryResult r = desk().giveBack(copy_->text(), chosenLibrary());
    QApplication::restoreOverrideCursor();
    showResult(r);
    // The borrower's lists after his return; none when no loan was found.
    showReader(r.passed ? r.readerId : QString());
    if (!r.passed) {
        if (r.field == InterLibraryField::Library)
            libraries_->setFocus();
        else
            focusCopy();
        return;
    }
    emit operationDone();
    copy_->clear();
    chooseLibrary(0);
    focusCopy();
}

void TFrmPEBRetour::BtnAnnulerClick()
{
    copy_->clear();
    chooseLibrary(0);
    messages()->clear();
    showReader(QString());
    focusCopy();
}

} // namespace folian
