#pragma once
// "Recherche factures": criteria (invoice number, number of the document
// invoiced, dates), the invoices found newest first with their document's
// number; an invoice changed or deleted, the list printed
// ("factures.html").

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

class TFrmFactureSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmFactureSearch(TFrmData &data, QWidget *parent = nullptr);

    QTableView *grid() const { return grid_; }
    QLineEdit *field(const char *name) const;
    QCheckBox *box(const char *name) const;
    QDateEdit *dateField(const char *name) const;
    QPushButton *button(const char *name) const;
    QLabel *countLabel() const { return count_; }
    // The current invoice's number, empty when none.
    QString currentInvoice() const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void BtnInitialiserClick();
    void BtnModifierClick();
    void BtnSupprimerClick();
    void BtnImprimerClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildCriteria();
    void reopen(const QString &number);
    void updateButtons();

    TFrmData &data_;
    QTableView *grid_;
    QLabel *count_;
};

} // namespace folian
