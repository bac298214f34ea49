#pragma once
// "Recherche d'exemplaire": records found by title words, author, shelf
// mark or standard number; the copies of the current record with their
// availability, and the journal of the current copy. "Sélection" gives the
// copy's number to the loan desk; "Modifier" changes its status, location
// and remark unless it is lent.

#include "data/widgets/screen.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class Dataset;
class TFrmData;

class TFrmCirculationSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmCirculationSearch(TFrmData &data, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    QLineEdit *titleField() const { return title_; }
    QLineEdit *authorField() const { return author_; }
    QLineEdit *coteField() const { return cote_; }
    QLineEdit *numberField() const { return number_; }
    QComboBox *sortList() const { return sort_; }
    QTableView *records() const { return recordGrid_; }
    QTableView *copies() const { return copyGrid_; }
    QTableView *history() const { return historyGrid_; }
    Dataset *recordRows() const { return records_; }
    Dataset *copyRows() const { return copies_; }
    QString countText() const;
    QString copiesHeader() const;
    QString chosenId() const { return chosen_; }

public slots:
    void Search();
    void Initialise();
    void BtnSelectionClick();
    void BtnModifierClick();

signals:
    void chosen();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showCopies();
    void showHistory();
    void pickAuthor();

    TFrmData &data_;
    Dataset *records_, *copies_, *journal_;
    QLineEdit *title_, *author_, *cote_, *number_;
    QComboBox *sort_;
    QLabel *count_, *copiesHeader_;
    QTableView *recordGrid_, *copyGrid_, *historyGrid_;
    QString chosen_;
};

} // namespace folian
