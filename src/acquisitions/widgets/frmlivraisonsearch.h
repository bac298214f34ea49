#pragma once
// The deliveries' screen: criteria (delivery number, order number,
// supplier, dates), the deliveries found newest first with their order and
// supplier; a delivery's note opened, a delivery deleted (refused while
// copies or issues were received with it), the list printed.

#include "data/widgets/screen.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class TFrmData;

class TFrmLivraisonSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmLivraisonSearch(TFrmData &data, QWidget *parent = nullptr);

    QTableView *grid() const { return grid_; }
    QLineEdit *field(const char *name) const;
    QCheckBox *box(const char *name) const;
    QDateEdit *dateField(const char *name) const;
    QPushButton *button(const char *name) const;
    QLabel *countLabel() const { return count_; }
    int currentDelivery() const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void BtnInitialiserClick();
    void BtnFournisseurClick();
    void BtnModifierClick();
    void BtnSupprimerClick();
    void BtnImprimerClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildCriteria();
    void reopen(int id);
    void updateButtons();

    TFrmData &data_;
    QTableView *grid_;
    QLabel *count_;
};

} // namespace folian
