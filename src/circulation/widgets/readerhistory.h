#pragma once
// " Historique lecteur :": what the identified reader holds, on two tabs.
// "Prêt externe/interne": his loans (an in-house loan on silver, an overdue
// one in red) and his reservations (a copy back on the shelf and held for
// him shows "Restitué"); "PEB": his open inter-library loans (overdue in
// red). Over QPret, QReservation and QPebHistory, opened by
// openReaderHistory(); the headers count the rows.

#include <QDate>
#include <QGroupBox>

class QLabel;
class QTabWidget;
class QTableView;

namespace folian {

class DatasetModel;
class TFrmData;

class ReaderHistory : public QGroupBox
{
    Q_OBJECT
public:
    explicit ReaderHistory(TFrmData &data, QWidget *parent = nullptr);

    // Shows the reader's lists (opening them), or none with an empty number.
    void showReader(const QString &readerId, const QDate &today);
    void clear();
    // Shows the tab of the inter-library loans (the loans' tab otherwise).
    void showInterLibraryTab();
    // Writes the headers from the lists as they are.
    void refreshHeaders();

    QTableView *loans() const { return loans_; }
    QTableView *reservations() const { return reservations_; }
    QTableView *interLibrary() const { return peb_; }
    QString loansHeader() const;
    QString reservationsHeader() const;
    QString interLibraryHeader() const;

signals:
    // A row double-clicked: the copy number.
    void loanActivated(const QString &copyId);
    void reservationActivated(const QString &copyId);

private:
    QTableView *grid(const char *name, DatasetModel *model);

    TFrmData &data_;
    QDate today_;
    QLabel *lblLoans_, *lblReservations_, *lblPeb_;
    QTabWidget *tabs_;
    QTableView *loans_, *reservations_, *peb_;
};

} // namespace folian
