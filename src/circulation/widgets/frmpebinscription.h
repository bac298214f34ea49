#pragma once
// "PEB - Enregistrement": a document borrowed from a partner library lent on
// to one of our readers. The reader is checked as at the loan desk (Return
// in his field); "Enregistrer", enabled once every field is filled and a
// library chosen, registers the loan.

#include "circulation/widgets/interlibraryscreen.h"

namespace folian {

class TFrmPEBInscription : public InterLibraryScreen
{
    Q_OBJECT
public:
    explicit TFrmPEBInscription(TFrmData &data, QWidget *parent = nullptr);

    QLineEdit *readerField() const { return reader_; }
    QLineEdit *copyField() const { return copy_; }
    QLineEdit *titleField() const { return title_; }
    QLineEdit *authorField() const { return author_; }
    QLineEdit *dueField() const { return due_; }
    void focusReader();

    // The reader check of the desk on the reader field.
    bool checkReader();
    void BtnEnregistrerClick() override;
    void BtnAnnulerClick() override;

protected:
    bool returnInField(QWidget *control) override;
    void updateSave() override;

private:
    void readerEdited();
    void searchReader();
    void focusField(QLineEdit *field, bool select = false);

    QLineEdit *reader_, *copy_, *title_, *author_, *due_;
};

} // namespace folian
