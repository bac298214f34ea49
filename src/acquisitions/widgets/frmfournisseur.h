#pragma once
// "Liste des fournisseurs": the suppliers by name, managed from the
// launcher (mode 0) or picked for the supplier criterion of a search
// (modes 1 pre-orders, 2 orders, 3 subscriptions, 4 deliveries): there
// "Choisir" hands the chosen name to the search and closes.

#include "data/widgets/screen.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class DatasetModel;
class TFrmData;

class TFrmFournisseur : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    TFrmFournisseur(TFrmData &data, int mode = 0, QWidget *parent = nullptr);

    // Opens the list in a picking mode as a modal dialog; the chosen
    // supplier's name, or an empty text when none was chosen.
    static QString pick(TFrmData &data, int mode, QWidget *parent);

    int mode() const { return mode_; }
    QTableView *grid() const { return grid_; }
    QLineEdit *searchKey() const { return key_; }
    QPushButton *button(const char *name) const;
    // The current supplier's key, 0 when none.
    int currentSupplier() const;
    QString chosenName() const { return chosen_; }

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void BtnAppendClick();
    void BtnEditClick();
    void BtnDeleteClick();
    void BtnSelectClick();
    // Moves to the first supplier whose name starts with the text (case counts).
    void Search(const QString &text);

signals:
    void chosen();
    void closeRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reopen(int id);
    void openSheet(int id);
    void updateButtons();

    TFrmData &data_;
    const int mode_;
    DatasetModel *model_;
    QTableView *grid_;
    QLineEdit *key_;
    QString chosen_;
};

} // namespace folian
