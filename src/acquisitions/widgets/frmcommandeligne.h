#pragma once
// "Ligne de commande": a title of a document, new ("Nouveau titre") or
// existing ("Modifier titre"): the record chosen with the title picker,
// its reference, the expected delivery date (for a subscription: the
// period and the numbering instead), the price and the number of copies,
// the line's total computed as they are typed. Saving (the line and the
// document's total together) is the documents service's.

#include "acquisitions/core/documents.h"
#include "data/widgets/formdialog.h"

#include <QList>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace folian {

class TFrmData;

class TFrmCommandeLigne : public FormDialog
{
    Q_OBJECT
public:
    // `line` 0 opens a new line of the document.
    TFrmCommandeLigne(TFrmData &data, AcqType type, int document, int line, QWidget *parent = nullptr);

    int savedId() const { return savedId_; }
    int record() const { return record_; }
    QLineEdit *field(const char *name) const;
    // The expected day (none on a subscription's line), the period (a subscription's only).
    QDateEdit *expectedField() const { return expected_; }
    QDateEdit *startField() const { return start_; }
    QDateEdit *endField() const { return end_; }
    QPushButton *postButton() const { return post_; }

    // The title chosen in the picker: its text, key and reference are taken.
    void chooseRecord(int record);

public slots:
    void BtnTitreClick();
    void BtnPostClick();
    // Price × copies into "Total :".
    void ShowAmount();

protected:
    void afterLocalise() override;

private:
    void updateButtons();

    TFrmData &data_;
    const AcqType type_;
    const int document_, line_;
    int record_ = 0;
    int savedId_ = 0;
    QDateEdit *expected_ = nullptr, *start_ = nullptr, *end_ = nullptr;
    QList<QLabel *> formats_;
    QPushButton *post_;
};

} // namespace folian
