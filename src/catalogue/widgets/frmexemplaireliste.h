#pragma once
// "Liste des exemplaires": the copies whose shelf mark (or number) matches
// the criterion of the record search, by shelf mark, read in pages. "Choisir"
// (or a double click) gives the chosen copy's shelf mark or number back to
// the criterion; "Fermer" and Escape close.

#include "catalogue/core/recordresult.h"
#include "data/widgets/formdialog.h"

class QPushButton;
class QTableView;

namespace folian {

class Dataset;
class TFrmData;

class TFrmExemplaireListe : public FormDialog
{
    Q_OBJECT
public:
    TFrmExemplaireListe(TFrmData &data, CopyListField field, const QString &typed, QWidget *parent = nullptr);

    QTableView *grid() const { return grid_; }
    Dataset *copies() const { return copies_; }
    // The shelf mark or the copy number chosen.
    QString chosen() const { return chosen_; }

public slots:
    void BtnSelectClick();

private:
    void updateButtons();

    CopyListField field_;
    Dataset *copies_;
    QTableView *grid_;
    QPushButton *btnSelect_;
    QString chosen_;
};

} // namespace folian
