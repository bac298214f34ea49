#pragma once
// "Inventaire physique": copies selected by number and by the criteria of
// their record, each double-clicked row found or not found on the shelves,
// the register, check list and discrepancy pages; and campaigns, whose
// selection is reset and marked from a scanner's file.

#include "acquisitions/core/inventory.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class DatasetModel;
class ProgressPanel;
class TFrmData;

class TFrmInventairePhysique : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmInventairePhysique(TFrmData &data, QWidget *parent = nullptr);

    QTableView *grid() const { return grid_; }
    QLabel *countPanel() const { return count_; }
    QLabel *positionPanel() const { return position_; }
    // The criteria as the fields hold them.
    InventoryCriteria criteria() const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void Clear();
    void OrderChange();
    void DataChange();
    void DBInventaireDblClick();
    void BtnAuteurClick();
    void StartCampaign();
    void ReadScannerFile();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *line(const char *name) const;
    QComboBox *list(const char *name) const;
    void print(int page);
    void showPosition();

    TFrmData &data_;
    DatasetModel *model_;
    QTableView *grid_;
    QLabel *count_;
    QLabel *position_;
    QButtonGroup *numberKind_;
    ProgressPanel *progress_ = nullptr;  // made last: the fields are all there once it is
    qint64 total_ = 0;
};

} // namespace folian
