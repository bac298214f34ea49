#pragma once
// "Réception": a delivery of the document is recorded, with its number and
// date, for every title not yet received or for the titles selected in the
// document's screen. "Enregistrer" stays disabled while the number is
// blank; the receipt itself is the receipt service's.

#include "data/widgets/formdialog.h"

class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace folian {

class TFrmData;

class TFrmLivraisonChoix : public FormDialog
{
    Q_OBJECT
public:
    TFrmLivraisonChoix(TFrmData &data, int document, const QList<int> &selectedLines, QWidget *parent = nullptr);

    // The delivery recorded, 0 before.
    int deliveryId() const { return delivery_; }
    QLineEdit *numberField() const { return number_; }
    QDateEdit *dateField() const { return date_; }
    QRadioButton *selectedChoice() const { return selected_; }
    QPushButton *postButton() const { return post_; }

public slots:
    void BtnPostClick();

private:
    TFrmData &data_;
    const int document_;
    const QList<int> lines_;
    int delivery_ = 0;
    QLineEdit *number_;
    QDateEdit *date_;
    QRadioButton *all_, *selected_;
    QPushButton *post_;
};

} // namespace folian
