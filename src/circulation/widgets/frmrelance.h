#pragma once
// "Relances": the readers who are late and, for the current one, his late
// loans and the reminder letter. Two tabs: "Relance prêt" for the library's
// own copies, "Relance PEB" for inter-library loans; each lists only its own
// kind of loan and writes its own letter.

#include "circulation/core/reminders.h"

#include <QDate>
#include <QWidget>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace folian {

class Dataset;
class IndexSearch;
class TFrmData;

// One tab: the late readers, the current one's late loans, the search and "Imprimer".
class ReminderPage : public QWidget
{
    Q_OBJECT
public:
    ReminderPage(TFrmData &data, ReminderKind kind, const QDate &today, QWidget *parent = nullptr);

    ReminderKind kind() const { return kind_; }
    // Reads the late readers again; false when they cannot be read (the list is then empty).
    bool refresh();
    int lateReaders() const { return count_; }
    QString countText() const;

    Dataset *readers() const { return readers_; }
    Dataset *loans() const { return loans_; }
    QTableView *readerGrid() const { return readerGrid_; }
    QTableView *loanGrid() const { return loanGrid_; }
    IndexSearch *search() const { return search_; }
    QPushButton *printButton() const { return btnPrint_; }

public slots:
    // The current reader's letter, shown in a preview.
    void BtnPrintClick();

signals:
    void countChanged(int count);

private:
    void showLoans();
    QString currentReader() const;

    TFrmData &data_;
    ReminderKind kind_;
    QDate today_;
    int count_ = 0;
    Dataset *readers_;
    Dataset *loans_;
    QTableView *readerGrid_;
    QTableView *loanGrid_;
    QLabel *lblCount_;
    IndexSearch *search_;
    QPushButton *btnPrint_;
};

class TFrmRelance : public QWidget
{
    Q_OBJECT
public:
    // Opens on the tab of `start`.
    TFrmRelance(TFrmData &data, ReminderKind start, QWidget *parent = nullptr);

    ReminderPage *page(ReminderKind kind) const;
    ReminderPage *currentPage() const;
    QTabWidget *tabs() const { return tabs_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showStatus();

    QTabWidget *tabs_;
    ReminderPage *loans_;
    ReminderPage *interLibrary_;
};

} // namespace folian
