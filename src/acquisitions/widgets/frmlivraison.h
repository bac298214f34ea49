#pragma once
// "Livraison": the number and date of a delivery, changed from its note.
// "Enregistrer" stays disabled while the number is blank.

#include "data/widgets/formdialog.h"

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace folian {

class TFrmData;

class TFrmLivraison : public FormDialog
{
    Q_OBJECT
public:
    TFrmLivraison(TFrmData &data, int delivery, QWidget *parent = nullptr);

    QLineEdit *numberField() const { return number_; }
    QDateEdit *dateField() const { return date_; }
    QPushButton *postButton() const { return post_; }

public slots:
    void BtnPostClick();

private:
    TFrmData &data_;
    const int delivery_;
    QLineEdit *number_;
    QDateEdit *date_;
    QPushButton *post_;
};

} // namespace folian
