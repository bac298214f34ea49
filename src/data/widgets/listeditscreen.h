#pragma once
// A small table edited in place in a grid over its shared query: a search
// key that moves to the first row whose label starts with the typed text,
// and the buttons "Nouveau", "Modifier", "Enregistrer", "Supprimer",
// "Annuler", "Fermer", plus "Choisir" when the screen is opened to pick a
// row. Moving to another row saves the row being edited, as grids over a
// table do. The deletion itself, with its question and its refusals, is
// the screen's.

#include "data/widgets/screen.h"

#include <QWidget>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace folian {

class Dataset;
class DatasetModel;
class TFrmData;

class ListEditScreen : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    enum class Mode { Manage, Pick };

    Mode mode() const { return mode_; }
    Dataset *dataset() const { return dataset_; }
    DatasetModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    QLineEdit *searchKey() const { return searchKey_; }
    // The key of the current row (the table's integer key), or null.
    QVariant currentKey() const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void BtnAppendClick();
    void BtnEditClick();
    void BtnPostClick();
    void BtnDeleteClick();
    void BtnCancelClick();
    void BtnCloseClick() { emit closeRequested(); }
    void BtnSelectClick();
    // Moves to the first row whose label starts with `text` (case counts).
    void Search(const QString &text);

signals:
    void chosen();          // "Choisir" (picking mode)
    void closeRequested();  // "Fermer"

protected:
    // `keyColumn` is the table's key, `labelColumn` the column the search
    // key looks in and a new row is typed in first; `mayEdit` the user's
    // right to change the table.
    ListEditScreen(TFrmData &data, Dataset *dataset, const QString &keyColumn, const QString &labelColumn, Mode mode,
                   bool mayEdit, QWidget *parent = nullptr);

    // Why the current row may not be deleted at all (told instead of the
    // question), the question before deleting it, and the deletion (empty
    // on success, else why not).
    virtual QString deleteRefusal() const { return {}; }
    virtual QString deleteQuestion() const = 0;
    virtual QString deleteCurrent() = 0;
    // After a row was saved or deleted (the status-bar count).
    virtual void afterChange() {}
    // Whether a cell of the grid may be typed in.
    virtual bool cellEditable(int row, const QString &field) const;
    // The enabled state of the screen's own buttons.
    virtual void updateMore() {}

    // Shows these fields with these titles.
    void setColumns(const QStringList &fields, const QStringList &titles);
    // Where the screen adds its own part, under the grid.
    QVBoxLayout *body() const { return body_; }
    QHBoxLayout *buttonRow() const { return buttons_; }
    QPushButton *addButton(const char *name, const QString &caption);
    // Opens the dataset again and puts the current row on `key` when it is still there.
    void reopen(const QVariant &key);
    void updateButtons();
    bool mayEdit() const { return mayEdit_; }
    TFrmData &data_;

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Writes what is being typed in the grid's cell into the row.
    void commitCell();
    void rowChanged(int row);
    void editCell(int row);

    Dataset *dataset_;
    QString keyColumn_, labelColumn_;
    Mode mode_;
    bool mayEdit_;
    DatasetModel *model_;
    QTableView *grid_;
    QLineEdit *searchKey_;
    QVBoxLayout *body_;
    QHBoxLayout *buttons_;
    QPushButton *btnAppend_, *btnEdit_, *btnPost_, *btnDelete_, *btnCancel_, *btnClose_, *btnSelect_;
};

} // namespace folian
