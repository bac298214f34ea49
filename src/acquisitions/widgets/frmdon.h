#pragma once
// The header of a gift, an exchange or a deposit ("Nouveau don", "Modifier
// échange", ...): number, date, partner and, except for deposits, the
// direction ("Sens :" blank, "Entrant", "Sortant"). "Enregistrer" stays
// disabled while the number is blank; saving is the documents service's,
// which refuses a direction change while the lines hold copies or issues.
// And the line of such a document ("Ligne de don"): the line dialog of the
// orders without price or total.

#include "acquisitions/core/documents.h"
#include "acquisitions/widgets/frmcommandeligne.h"
#include "data/widgets/formdialog.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace folian {

class TFrmData;

class TFrmDon : public FormDialog
{
    Q_OBJECT
public:
    // `id` 0 opens a new document of the kind, dated today.
    TFrmDon(TFrmData &data, AcqType kind, int id, QWidget *parent = nullptr);

    int savedId() const { return savedId_; }
    QLineEdit *numberField() const { return number_; }
    QLineEdit *partnerField() const { return partner_; }
    QComboBox *directionList() const { return direction_; }
    QDateEdit *dateField() const { return date_; }
    QPushButton *postButton() const { return post_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    TFrmData &data_;
    const AcqType kind_;
    const int id_;
    int savedId_ = 0;
    QLineEdit *number_, *partner_;
    QDateEdit *date_;
    QComboBox *direction_;
    QPushButton *post_;
};

class TFrmDonLigne : public TFrmCommandeLigne
{
    Q_OBJECT
public:
    TFrmDonLigne(TFrmData &data, AcqType kind, int document, int line, QWidget *parent = nullptr);
};

} // namespace folian
