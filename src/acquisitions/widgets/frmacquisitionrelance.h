#pragma once
// "Relances": the suppliers that are late, and for the current one the
// titles overdue and the serial issues awaited; the list of the late
// suppliers and the claim letter to the current one printed. What is late
// is the claims service's; the screen shows it as of the day it opened.

#include "data/widgets/screen.h"

#include <QDate>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace folian {

class TFrmData;

class TFrmAcquisitionRelance : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmAcquisitionRelance(TFrmData &data, QWidget *parent = nullptr);

    QTableView *suppliers() const { return suppliers_; }
    QTableView *titles() const { return titles_; }
    QTableView *issues() const { return issues_; }
    QLabel *countLabel() const { return count_; }
    QLabel *titlesLabel() const { return titlesCount_; }
    QLabel *issuesLabel() const { return issuesCount_; }
    QPushButton *button(const char *name) const;
    int currentSupplier() const;
    // Reads the late suppliers again (as of `today`), the current one on `supplier`.
    void reopen(const QDate &today, int supplier = 0);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void BtnImprimerListeClick();
    void BtnImprimerRelanceClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showSupplier();

    TFrmData &data_;
    QDate today_;
    QTableView *suppliers_, *titles_, *issues_;
    QLabel *count_, *titlesCount_, *issuesCount_;
};

} // namespace folian
