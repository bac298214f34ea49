#pragma once
// "Fournisseur détails": the sheet of a supplier, new or existing, saved by
// the suppliers service. "Enregistrer" stays disabled while the name is
// blank; closing the sheet leaves the supplier as it was.

#include "data/widgets/formdialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace folian {

class TFrmData;

class TFrmFournisseurDetail : public FormDialog
{
    Q_OBJECT
public:
    // `id` 0 opens the sheet of a new supplier.
    TFrmFournisseurDetail(TFrmData &data, int id, QWidget *parent = nullptr);

    int savedId() const { return savedId_; }
    QLineEdit *field(const char *name) const;
    QComboBox *typeList() const { return type_; }
    QComboBox *countryList() const { return country_; }
    QPushButton *postButton() const { return post_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    void fillLists();

    TFrmData &data_;
    const int id_;
    int savedId_ = 0;
    QComboBox *type_, *country_;
    QPushButton *post_;
};

} // namespace folian
