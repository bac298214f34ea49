#pragma once
// The basket page of the record search ("Panier"): the records collected
// (NoticeList: the record's number and its title), each listed once, the
// panel that counts them, and the buttons that remove the current row or
// empty the basket.

#include "catalogue/core/recordbasket.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace folian {

class Database;
class Progress;
class BasketModel;

class NoticeBasketPage : public QWidget
{
    Q_OBJECT
public:
    NoticeBasketPage(Database &db, QWidget *parent = nullptr);

    const RecordBasket &basket() const { return basket_; }
    // Adds the records not listed yet; the number added (-1: they could not be read).
    int add(const QList<int> &ids, Progress *progress = nullptr);
    QString captionText() const;
    QTableView *list() const { return list_; }
    // The buttons of the page follow the basket, unless a run goes on.
    void setRunning(bool running);

public slots:
    void BtnBasketDeleteClick();
    void BtnBasketClearClick();

signals:
    void changed();

private:
    void update();

    Database &db_;
    RecordBasket basket_;
    BasketModel *model_;
    QLabel *caption_;
    QTableView *list_;
    QPushButton *btnDelete_, *btnClear_;
    bool running_ = false;
};

} // namespace folian
