#pragma once
// "Sélection livraison": the titles of the delivered document not fully
// received and not yet on the delivery; "Choisir" (or a double-click) adds
// the chosen one to the delivery and closes.

#include "data/widgets/screen.h"

#include <QWidget>

class QPushButton;
class QTableView;

namespace folian {

class Dataset;
class TFrmData;

class TFrmLivraisonLigneSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    TFrmLivraisonLigneSearch(TFrmData &data, int delivery, QWidget *parent = nullptr);

    // Opens the picker as a modal dialog; true when a title was added.
    static bool addTitle(TFrmData &data, int delivery, QWidget *parent);

    QTableView *grid() const { return grid_; }
    Dataset *titles() const { return titles_; }

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void BtnSelectClick();

signals:
    void chosen();
    void closeRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFrmData &data_;
    const int delivery_;
    Dataset *titles_;
    QTableView *grid_;
};

} // namespace folian
