#pragma once
// "Recherche de lecteurs": one criterion (number, surname, category,
// structure, registration date, status), the list of the readers found,
// and what is done to them: update, delete, re-register, the clearance
// certificate, the printed list. Also the picker of a reader for the
// other circulation screens ("Choisir").

#include "circulation/core/readers.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace folian {

class DatasetModel;
class ProgressPanel;
class TFrmData;

class TFrmLecteurSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    enum class Mode { Manage, Pick };

    TFrmLecteurSearch(TFrmData &data, Mode mode, QWidget *parent = nullptr);

    // "Recherche lecteur" as a modal picker over `parent`, opened on the
    // number `typed`: the number of the reader chosen, a null text when
    // the picker was closed.
    static QString pickReader(TFrmData &data, const QString &typed, QWidget *parent);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    Mode mode() const { return mode_; }
    // The criterion and its value fields.
    void setCriterion(ReaderCriterion c);
    QComboBox *criterionList() const { return criterion_; }
    QLineEdit *valueField() const { return value_; }
    QComboBox *categoryList() const { return category_; }
    QComboBox *structureList() const { return structure_; }
    QComboBox *operatorList() const { return operator_; }
    QDateEdit *dateField() const { return date_; }
    QComboBox *statusList() const { return status_; }
    QTableView *grid() const { return grid_; }
    QString countText() const;
    // The reader chosen in picking mode.
    QString chosenId() const { return chosen_; }
    // Puts the number in the value field (number criterion) and searches
    // when it is not empty.
    void prefill(const QString &number);
    void focusValue();
    // The search as the fields hold it.
    ReaderSearch criterion() const;

public slots:
    void Search();
    void BtnSelectClick();
    void BtnEditClick();
    void BtnDeleteClick();
    void BtnReinscriptionClick();
    void BtnQuitusClick();
    void BtnPrintClick();
    // After an update of the current reader: the list read again.
    void refresh();

signals:
    void chosen();
    void updateRequested();    // "Modifier" on a listed reader
    void registerRequested();  // "Modifier" with nobody listed

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildOptions();
    QWidget *buildButtons();
    void updateButtons();
    void showCount();
    // Opens QLecteur on the search, or on nobody when it cannot be read.
    void run(const ReaderSearch &s);
    QString currentId() const;

    TFrmData &data_;
    Mode mode_;
    ReaderSearch last_;
    QString chosen_;
    QFrame *options_;
    QComboBox *criterion_, *category_, *structure_, *operator_, *status_;
    QLineEdit *value_;
    QDateEdit *date_;
    QStackedWidget *values_;
    QLabel *count_;
    DatasetModel *model_;
    QTableView *grid_;
    ProgressPanel *progress_;
    QPushButton *btnSearch_, *btnSelect_, *btnEdit_, *btnDelete_, *btnReinscription_, *btnQuitus_, *btnPrint_;
};

} // namespace folian
