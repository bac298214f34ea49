#pragma once
// "Facture": an invoice of a document, new or changed: its number, date,
// amount and the commitment it is charged to, typed or picked on the
// budget screen ("..."). "Enregistrer" stays disabled while the number,
// the amount or the commitment is blank; the invoices service saves it
// and a refusal leaves the dialog open on the amount.

#include "data/widgets/formdialog.h"

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace folian {

class TFrmData;

class TFrmFacture : public FormDialog
{
    Q_OBJECT
public:
    // A new invoice of `document` with an empty `number`, else that invoice.
    TFrmFacture(TFrmData &data, int document, const QString &number = QString(), QWidget *parent = nullptr);

    QLineEdit *field(const char *name) const;
    QDateEdit *dateField() const { return date_; }
    QPushButton *postButton() const { return post_; }
    QString savedNumber() const { return savedNumber_; }

    // The invoice deleted once the operator agrees; a refusal told. False
    // when it was not asked or not deleted.
    static bool deleteAsked(TFrmData &data, const QString &number);

public slots:
    void BtnPostClick();
    void BtnEngagementClick();

protected:
    void afterLocalise() override;

private:
    void updatePost();

    TFrmData &data_;
    const int document_;
    const QString stored_;
    QString savedNumber_;
    QDateEdit *date_;
    QPushButton *post_;
};

} // namespace folian
