#include "circulation/widgets/deskscreen.h"

#include "base/messages.h"
#include "circulation/core/readers.h"
#include "circulation/widgets/frmcirculationsearch.h"
#include "circulation/widgets/frmlecteursearch.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerhistory.h"
#include "circulation/widgets/readerpanel.h"
#include "data/core/shareddata.h"
#include "data/widgets/pickerdialog.h"
#include "i18n/widgets/localise.h"

#include "data/widgets/uihelpers.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace folian {

namespace {

bool isReturnKey(const QKeyEvent *e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

} // namespace

DeskScreen::DeskScreen(TFrmData &frmData, const QString &objectName, const QString &title, QVector<Mode> modes,
                       QWidget *parent)
    : QWidget(parent), data_(frmData), modes_(std::move(modes))
{
    setObjectName(objectName);
    setWindowTitle(title);

    auto *modeRow = new QHBoxLayout;
    for (int i = 0; i < modes_.size(); ++i) {
        QPushButton *b = namedButton(modes_[i].button, QString::fromUtf8(modes_[i].caption), this);
        connect(b, &QPushButton::clicked, this, [this, i] { chooseMode(i); });
        buttons_ << b;
        modeRow->addWidget(b);
    }
    modeRow->addStretch(1);

    reader_ = new QLineEdit(this);
    reader_->setObjectName(QStringLiteral("EdtLecteur"));
    copy_ = new QLineEdit(this);
    copy_->setObjectName(QStringLiteral("EdtExemplaire"));
    for (QLineEdit *e : {reader_, copy_})
        e->installEventFilter(this);
    connect(reader_, &QLineEdit::textEdited, this, &DeskScreen::readerEdited);
    connect(copy_, &QLineEdit::textEdited, this, &DeskScreen::copyEdited);
    QPushButton *btnReader = namedButton("BtnSearchLecteur", QStringLiteral("..."), this);
    QPushButton *btnCopy = namedButton("BtnSearchExemplaire", QStringLiteral("..."), this);
    for (QPushButton *b : {btnReader, btnCopy})
        b->setMaximumWidth(32);
    connect(btnReader, &QPushButton::clicked, this, &DeskScreen::searchReader);
    connect(btnCopy, &QPushButton::clicked, this, &DeskScreen::searchCopy);
    btnValider_ = namedButton("BtnValider", QStringLiteral("Valider"), this);
    btnAnnuler_ = namedButton("BtnAnnuler", QStringLiteral("Annuler"), this);
    connect(btnValider_, &QPushButton::clicked, this, &DeskScreen::Validate);
    connect(btnAnnuler_, &QPushButton::clicked, this, &DeskScreen::cancelEntry);

    panel_ = new ReaderPanel(data_, this);
    panel_->messages()->setMaximumHeight(90);
    cote_ = valueLabel("LblCoteValue", this);
    titre_ = valueLabel("LblTitreValue", this);
    titre_->setWordWrap(true);
    connect(panel_->history(), &ReaderHistory::loanActivated, this, [this](const QString &id) {
        const LoanOperation op = operation();
        if (op == LoanOperation::Return || op == LoanOperation::Renewal || op == LoanOperation::ConsultationReturn)
            pickCopy(id);
    });
    connect(panel_->history(), &ReaderHistory::reservationActivated, this, [this](const QString &id) {
        const LoanOperation op = operation();
        if (op == LoanOperation::Loan || op == LoanOperation::Cancellation)
            pickCopy(id);
    });

    auto *form = new QGridLayout;
    auto *readerRow = new QHBoxLayout;
    readerRow->addWidget(reader_, 1);
    readerRow->addWidget(btnReader);
    auto *copyRow = new QHBoxLayout;
    copyRow->addWidget(copy_, 1);
    copyRow->addWidget(btnCopy);
    form->addWidget(namedLabel("LblLecteur", "N° lecteur :", this), 0, 0);
    form->addLayout(readerRow, 0, 1);
    form->addWidget(namedLabel("LblExemplaire", "N° exemplaire :", this), 1, 0);
    form->addLayout(copyRow, 1, 1);
    auto *actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(btnValider_);
    actions->addWidget(btnAnnuler_);
    form->addLayout(actions, 2, 1);
    form->setColumnStretch(1, 1);

    QGridLayout *info = panel_->nameGrid();
    info->addWidget(namedLabel("LblCote", "Cote :", this), 2, 0);
    info->addWidget(cote_, 2, 1);
    info->addWidget(namedLabel("LblTitre", "Titre :", this), 3, 0, Qt::AlignTop);
    info->addWidget(titre_, 3, 1);
    panel_->arrange(form, modeRow);
    updateCancel();
}

void DeskScreen::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

LoanDesk DeskScreen::desk() { return LoanDesk(data_.db(), today_); }

LoanOperation DeskScreen::operation() const
{
    return mode_ >= 0 && mode_ < modes_.size() ? modes_[mode_].operation : LoanOperation(0);
}

bool DeskScreen::readerFirst() const
{
    const LoanOperation op = operation();
    return op == LoanOperation::Loan || op == LoanOperation::Reservation || op == LoanOperation::Consultation;
}

bool DeskScreen::Keyboard(QWidget *control, QKeyEvent *event)
{
    for (int i = 0; i < modes_.size(); ++i)
        if (event->key() == modes_[i].key && event->modifiers() == Qt::NoModifier) {
            chooseMode(i);
            return true;
        }
    // A scanner ends the number with Return: it validates.
    if ((control == reader_ || control == copy_) && isReturnKey(event)) {
        currentField_ = control == reader_ ? 1 : 2;
        Validate();
        return true;
    }
    return false;
}

void DeskScreen::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

bool DeskScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        currentField_ = watched == reader_ ? 1 : 2;
    else if (event->type() == QEvent::KeyPress && Keyboard(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void DeskScreen::chooseMode(int index)
{
    if (index < 0 || index >= modes_.size())
        return;
    for (int i = 0; i < buttons_.size(); ++i) {
        QPalette p = buttons_[i]->palette();
        p.setColor(QPalette::ButtonText, i == index ? Qt::blue : Qt::black);
        buttons_[i]->setPalette(p);
    }
    mode_ = index;
    for (Dataset *d : {data_.QLecteurSearch, data_.QExemplaireSearch, data_.QNotice})
        if (!d->isEditing())
            d->close();
    panel_->history()->clear();
    reader_->clear();
    copy_->clear();
    panel_->messages()->clear();
    showCopy(DeskCopy());
    panel_->clearName();
    readerChecked_ = copyChecked_ = false;
    updateCancel();
    focusField(readerFirst() ? reader_ : copy_);
}

void DeskScreen::focusField(QLineEdit *field, bool select)
{
    field->setFocus();
    if (select)
        field->selectAll();
    currentField_ = field == reader_ ? 1 : 2;
}

void DeskScreen::readerEdited()
{
    readerChecked_ = false;
    panel_->history()->clear();
    data_.QLecteurSearch->close();
    panel_->clearName();
    panel_->messages()->clear();
    updateCancel();
}

void DeskScreen::copyEdited()
{
    copyChecked_ = false;
    data_.QExemplaireSearch->close();
    showCopy(DeskCopy());
    updateCancel();
}

void DeskScreen::updateCancel()
{
    btnAnnuler_->setEnabled(!reader_->text().trimmed().isEmpty() || !copy_->text().trimmed().isEmpty());
}

void DeskScreen::cancelEntry()
{
    data_.QExemplaireSearch->close();
    data_.QNotice->close();
    reader_->clear();
    copy_->clear();
    panel_->messages()->clear();
    showCopy(DeskCopy());
    readerChecked_ = copyChecked_ = false;
    updateCancel();
    focusField(readerFirst() || mode_ < 0 ? reader_ : copy_);
}

void DeskScreen::showCopy(const DeskCopy &c)
{
    cote_->setText(c.found ? c.cote : QString());
    titre_->setText(c.found ? c.title : QString());
}

void DeskScreen::showReader(const QString &readerId) { panel_->showReader(readerId, desk().today()); }

void DeskScreen::showResult(const DeskResult &r) { panel_->messages()->say(r.blue, r.message()); }

bool DeskScreen::runReaderCheck()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReaderCheck c = desk().checkReader(reader_->text());
    QApplication::restoreOverrideCursor();
    readerChecked_ = panel_->showCheck(c, desk().today());
    return readerChecked_;
}

bool DeskScreen::runCopyCheck()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const DeskResult r = desk().checkCopy(operation(), copy_->text());
    QApplication::restoreOverrideCursor();
    showCopy(r.copy);
    if (!r.readerId.isEmpty()) {
        // The borrower or the reserver is the reader of the operation.
        reader_->setText(r.readerId);
        showReader(r.readerId);
        updateCancel();
    }
    copyChecked_ = r.passed;
    if (!r.passed)
        showResult(r);
    return r.passed;
}

void DeskScreen::Validate()
{
    if (mode_ < 0)
        return;
    if (currentField_ == 1)
        validateReader();
    else
        validateCopy();
}

void DeskScreen::validateReader()
{
    if (readerChecked_) {
        focusField(copy_);
        return;
    }
    const LoanOperation op = operation();
    if (runReaderCheck() || op == LoanOperation::Return || op == LoanOperation::ConsultationReturn)
        focusField(copy_);
    else if (op == LoanOperation::Renewal || op == LoanOperation::Cancellation)
        focusField(copy_);
    else
        focusField(reader_, true);
}

void DeskScreen::validateCopy()
{
    const LoanOperation op = operation();
    if (!copyChecked_ && !runCopyCheck()) {
        focusField(copy_, true);
        return;
    }
    if (readerFirst() && !readerChecked_ && !runReaderCheck()) {
        focusField(reader_, true);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const DeskResult r = desk().run(op, reader_->text(), copy_->text());
    QApplication::restoreOverrideCursor();
    showResult(r);
    copyChecked_ = false;
    if (!r.readerId.isEmpty() && r.readerId != reader_->text().trimmed()) {
        reader_->setText(r.readerId);
        readerChecked_ = false;
    }
    const QString shown = r.readerId.isEmpty() ? reader_->text().trimmed() : r.readerId;
    showReader(shown);
    if (r.passed) {
        emit operationDone(op, r.copy.id);
        copy_->clear();
        showCopy(DeskCopy());
        updateCancel();
        focusField(copy_);
    } else {
        showCopy(r.copy);
        focusField(copy_, true);
    }
}

void DeskScreen::pickCopy(const QString &copyId)
{
    copy_->setText(copyId);
    copyEdited();
    focusField(copy_);
}

void DeskScreen::searchReader()
{
    const QString chosen = TFrmLecteurSearch::pickReader(data_, reader_->text(), this);
    if (!chosen.isNull()) {
        reader_->setText(chosen);
        readerEdited();
    }
    focusField(reader_);
}

void DeskScreen::searchCopy()
{
    auto *search = new TFrmCirculationSearch(data_);
    PickerDialog dialog(search, &TFrmCirculationSearch::chosen,
                        tr2(QStringLiteral("Recherche exemplaire"), QStringLiteral("البحث عن نسخة")), this);
    if (dialog.exec() == QDialog::Accepted) {
        pickCopy(search->chosenId());
        return;
    }
    focusField(copy_);
}

MessageArea *DeskScreen::messages() const { return panel_->messages(); }
ReaderHistory *DeskScreen::history() const { return panel_->history(); }
QString DeskScreen::shownName() const { return panel_->shownName(); }
QString DeskScreen::shownTitle() const { return titre_->text(); }

} // namespace folian
