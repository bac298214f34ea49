#pragma once
// "Recherche Bulletin": finds the parent of the record being edited (the
// current row of QNotice) by title words or standard number, lists the
// candidate's issues, and on "Sélection" copies the parent's title and
// numbers, and the chosen issue's date and number, into the record. Its
// queries are its own: the record form's lists stay as they are.

#include "data/widgets/formdialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class CatalogueGridModel;
class Dataset;
class TFrmData;

class TFrmBulletinSearch : public FormDialog
{
    Q_OBJECT
public:
    explicit TFrmBulletinSearch(TFrmData &frmData, QWidget *parent = nullptr);

    Dataset *candidates() const { return candidates_; }
    Dataset *issues() const { return issues_; }
    QTableView *candidateGrid() const { return candidateGrid_; }
    QTableView *issueGrid() const { return issueGrid_; }

public slots:
    void Search();
    void Initialise();
    void Select();

protected:
    void afterLocalise() override;

private:
    QWidget *buildCriteria();
    void showIssues();
    void updateCounts();

    TFrmData &data_;
    Dataset *candidates_;
    Dataset *issues_;
    CatalogueGridModel *candidateModel_;
    CatalogueGridModel *issueModel_;
    QLineEdit *title_, *number_;
    QComboBox *sort_;
    QTableView *candidateGrid_, *issueGrid_;
    QLabel *candidateCount_, *issueCount_;
    QPushButton *btnSearch_, *btnSelect_;
    bool searchFailed_ = false;
};

} // namespace folian
