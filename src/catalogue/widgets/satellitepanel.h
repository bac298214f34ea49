#pragma once
// A list of a record's satellite rows (authors, subjects, copies, ...) with
// its three buttons "Ajouter", "Modifier", "Supprimer". The grid's row is
// the dataset's current row, both ways; a double click modifies.

#include <QWidget>

class QPushButton;
class QTableView;
class QVBoxLayout;

namespace folian {

class CatalogueGridModel;
class Dataset;

class SatellitePanel : public QWidget
{
    Q_OBJECT
public:
    // `name` makes the names of the grid ("Grd" + name) and of the buttons
    // ("BtnAjouter" + name, ...).
    SatellitePanel(Dataset *dataset, const QString &name, const QStringList &fields, const QStringList &titles,
                   QWidget *parent = nullptr);

    CatalogueGridModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    QPushButton *appendButton() const { return btnAppend_; }
    QPushButton *editButton() const { return btnEdit_; }
    QPushButton *deleteButton() const { return btnDelete_; }
    // The operator may change the list (rights, record state).
    void setWritable(bool writable);
    void updateButtons();
    // Another command of the list, below the three.
    void addButton(QPushButton *button);

signals:
    void appendRequested();
    void editRequested();
    void deleteRequested();

private:
    Dataset *dataset_;
    CatalogueGridModel *model_;
    QTableView *grid_;
    QPushButton *btnAppend_, *btnEdit_, *btnDelete_;
    QVBoxLayout *buttons_;
    bool writable_ = true;
};

} // namespace folian
