#include "circulation/widgets/frmpebinscription.h"

#include "base/dates.h"
#include "base/messages.h"
#include "circulation/widgets/frmlecteursearch.h"
#include "circulation/widgets/messagearea.h"
#include "data/widgets/uihelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace folian {

TFrmPEBInscription::TFrmPEBInscription(TFrmData &frmData, QWidget *parent)
    : InterLibraryScreen(frmData, QStringLiteral("FrmPEBInscription"), QStringLiteral("Inscription "), parent)
{
    const auto edit = [this](const char *name, int length) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(length);
        connect(e, &QLineEdit::textChanged, this, [this] { updateSave(); });
        return e;
    };
    reader_ = edit("EdtLecteur", 20);
    copy_ = edit("EdtExemplaire", 50);
    title_ = edit("EdtTitre", 255);
    author_ = edit("EdtAuteur", 255);
    due_ = edit("EdtDateRetour", 10);
    due_->setPlaceholderText(DateFormat().toLower());
    due_->setMaximumWidth(140);
    connect(reader_, &QLineEdit::textEdited, this, &TFrmPEBInscription::readerEdited);
    QPushButton *search = namedButton("BtnSearchLecteur", QStringLiteral("..."), this);
    search->setMaximumWidth(32);
    connect(search, &QPushButton::clicked, this, &TFrmPEBInscription::searchReader);

    auto *form = new QGridLayout;
    auto *readerRow = new QHBoxLayout;
    readerRow->addWidget(reader_, 1);
    readerRow->addWidget(search);
    const struct {
        const char *label, *caption;
        QWidget *field;
        QLayout *row;
    } rows[] = {{"LblLecteur", "N° lecteur :", nullptr, readerRow},
                {"LblExemplaire", "N° exemplaire :", copy_, nullptr},
                {"LblTitre", "Titre :", title_, nullptr},
                {"LblAuteur", "Auteur :", author_, nullptr},
                {"LblBibliotheque", "Bibiliothèque :", libraries_, nullptr},
                {"LblDateRetour", "Date de retour :", due_, nullptr}};
    int r = 0;
    for (const auto &row : rows) {
        form->addWidget(namedLabel(row.label, QString::fromUtf8(row.caption), this), r, 0);
        if (row.row)
            form->addLayout(row.row, r, 1);
        else if (row.field == libraries_ || row.field == due_)
            form->addWidget(row.field, r, 1, Qt::AlignLeading);
        else
            form->addWidget(row.field, r, 1);
        ++r;
    }
    // Field after field, as the form reads.
    QWidget *order[] = {reader_, search, copy_, title_, author_, libraries_, due_};
    for (int i = 1; i < int(std::size(order)); ++i)
        setTabOrder(order[i - 1], order[i]);
    arrange(form);
}

void TFrmPEBInscription::focusReader() { focusField(reader_, true); }

void TFrmPEBInscription::focusField(QLineEdit *field, bool select)
{
    field->setFocus();
    if (select)
        field->selectAll();
}

void TFrmPEBInscription::updateSave()
{
    bool filled = !reader_->text().trimmed().isEmpty();
    for (QLineEdit *e : {copy_, title_, author_, due_})
        filled = filled && !e->text().trimmed().isEmpty();
    saveButton()->setEnabled(filled && !chosenLibrary().isNull());
}

void TFrmPEBInscription::readerEdited()
{
    messages()->clear();
    showReader(QString());
}

bool TFrmPEBInscription::checkReader()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReaderCheck c = desk().checkReader(reader_->text());
    QApplication::restoreOverrideCursor();
    return showCheck(c);
}

bool TFrmPEBInscription::returnInField(QWidget *control)
{
    if (control == reader_) {
        if (checkReader())
            focusField(copy_);
        else
            focusField(reader_, true);
        return true;
    }
    if (control == due_) {
        if (saveButton()->isEnabled())
            BtnEnregistrerClick();
        return true;
    }
    return false;
}

void TFrmPEBInscription::BtnEnregistrerClick()
{
    if (!saveButton()->isEnabled())
        return;
    InterLibraryLoan loan;
    loan.reader = reader_->text();
    loan.copy = copy_->text();
    loan.title = title_->text();
    loan.author = author_->text();
    loan.libraryId = chosenLibrary();
    loan.due = due_->text();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const InterLibraryResult r = desk().lend(loan);
    QApplication::restoreOverrideCursor();
    showResult(r);
    if (!r.readerId.isEmpty())
        showReader(r.readerId);
    if (r.passed) {
        emit operationDone();
        for (QLineEdit *e : {due_, copy_, title_, author_})
            e->clear();
        chooseLibrary(0);
        focusField(copy_);
        return;
    }
    switch (r.field) {
    case InterLibraryField::Reader: focusField(reader_, true); break;
    case InterLibraryField::Copy: focusField(copy_, true); break;
    case InterLibraryField::Title: focusField(title_->text().trimmed().isEmpty() ? title_ : author_, true); break;
    case InterLibraryField::Library: libraries_->setFocus(); break;
    case InterLibraryField::Due: focusField(due_, true); break;
    case InterLibraryField::None: break;
    }
}

void TFrmPEBInscription::BtnAnnulerClick()
{
    for (QLineEdit *e : {reader_, copy_, title_, author_, due_})
        e->clear();
    chooseLibrary(0);
    messages()->clear();
    showReader(QString());
    focusField(reader_);
}

void TFrmPEBInscription::searchReader()
{
    const QString chosen = TFrmLecteurSearch::pickReader(data_, reader_->text(), this);
    if (!chosen.isNull()) {
        reader_->setText(chosen);
        if (checkReader()) {
            focusField(copy_);
            return;
        }
    }
    focusField(reader_, true);
}

} // namespace folian
