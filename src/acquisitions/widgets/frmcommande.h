#pragma once
// The header of an order, a pre-order or a subscription ("Nouvelle
// commande", "Modifier commande", ...): supplier, currency, date, number.
// "Enregistrer" stays disabled while the number is blank; saving is the
// documents service's; closing the dialog changes nothing.

#include "acquisitions/core/documents.h"
#include "data/widgets/formdialog.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace folian {

class TFrmData;

class TFrmCommande : public FormDialog
{
    Q_OBJECT
public:
    // `id` 0 opens a new document of the type, dated today.
    TFrmCommande(TFrmData &data, AcqType type, int id, QWidget *parent = nullptr);

    int savedId() const { return savedId_; }
    QComboBox *supplierList() const { return supplier_; }
    QComboBox *currencyList() const { return currency_; }
    QDateEdit *dateField() const { return date_; }
    QLineEdit *numberField() const { return number_; }
    QPushButton *postButton() const { return post_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    void fillLists();

    TFrmData &data_;
    const AcqType type_;
    const int id_;
    int savedId_ = 0;
    QComboBox *supplier_, *currency_;
    QDateEdit *date_;
    QLineEdit *number_;
    QPushButton *post_;
};

} // namespace folian
