#pragma once
// "Recherche de documents": the title picker of the lines of orders and
// pre-orders (mode 1), subscriptions (2) and gifts, exchanges and deposits
// (3). The record search's criteria (title words, author, publisher,
// number, year with its operator, document type) and order; "Choisir"
// hands the record to the line, "Ajouter notice" creates one with the
// record form, on order (status 3) or not (status 2, for a pre-order).

#include "acquisitions/core/documents.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class Dataset;
class DatasetModel;
class TFrmData;

class TFrmCommandeLigneSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    TFrmCommandeLigneSearch(TFrmData &data, int mode, AcqType documentType, QWidget *parent = nullptr);

    // Opens the picker as a modal dialog; the chosen record, 0 when none.
    static int pick(TFrmData &data, int mode, AcqType documentType, QWidget *parent);

    int chosenRecord() const { return chosen_; }
    QTableView *grid() const { return grid_; }
    Dataset *result() const { return result_; }
    QLineEdit *field(const char *name) const;
    QComboBox *operatorList() const { return operator_; }
    QComboBox *typeList() const { return type_; }
    QLabel *countLabel() const { return count_; }
    QPushButton *button(const char *name) const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void BtnSelectClick();
    void BtnAjouterNoticeClick();

signals:
    void chosen();
    void closeRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateButtons();

    TFrmData &data_;
    const int mode_;
    const AcqType documentType_;
    Dataset *result_;
    DatasetModel *model_;
    QTableView *grid_;
    QComboBox *operator_, *type_;
    QButtonGroup *sort_;
    QLabel *count_;
    int chosen_ = 0;
};

} // namespace folian
