#pragma once
// The accepted-form picker ("Sélection forme retenue"): the headings of one
// kind found by name; "Choisir" returns the one chosen.

#include "data/widgets/formdialog.h"

#include <QVariant>

class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class Dataset;
class ListModel;
class TFrmData;

class TFrmAutoriteSelect : public FormDialog
{
    Q_OBJECT
public:
    // `kind` is the kind of the heading being edited, `heading` its VED_ID
    // (left out of the list); a `text` is searched at once.
    TFrmAutoriteSelect(TFrmData &data, int kind, const QVariant &heading, const QString &text = QString(),
                       QWidget *parent = nullptr);

    QLineEdit *searchField() const { return key_; }
    QTableView *grid() const { return grid_; }
    Dataset *dataset() const { return found_; }
    // The heading chosen (after exec() returned Accepted).
    QVariant chosenId() const { return chosenId_; }

public slots:
    void Search();
    void Select();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void afterLocalise() override;

private:
    void updateButtons();

    TFrmData &data_;
    const int kind_;
    const QVariant heading_;
    Dataset *found_;
    ListModel *model_;
    QLineEdit *key_;
    QTableView *grid_;
    QPushButton *btnSearch_, *btnSelect_;
    QVariant chosenId_;
};

} // namespace folian
