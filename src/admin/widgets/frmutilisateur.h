#pragma once
// The users list of the administration module: the operators with their
// role; inserting, modifying and deleting them.

#include "data/widgets/screen.h"

#include <QWidget>

class QPushButton;
class QTableView;

namespace folian {

class DatasetModel;
class TFrmData;

class TFrmUtilisateur : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmUtilisateur(TFrmData &data, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;
    QTableView *grid() const { return grid_; }

public slots:
    void BtnAppendClick();
    void BtnUpdateClick();
    void BtnDeleteClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openSheet(int userId, const QString &title);
    // Reads the users again and puts the current row on `userId`, or on
    // the row at `fallbackRow` when he is not there any more.
    void reopen(int userId, int fallbackRow = 0);
    void updateButtons();

    TFrmData &data_;
    DatasetModel *model_;
    QTableView *grid_;
    QPushButton *btnAppend_, *btnUpdate_, *btnDelete_;
};

} // namespace folian
