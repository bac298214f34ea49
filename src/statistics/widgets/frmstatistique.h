#pragma once
// "Statistiques": the loan and collection statistics, one page each (the
// readers, categories, records, types and structures by their loan
// counters, the registered readers, the collection, and the loans and
// returns over a period from the loan journal). "Graphe" opens the chart
// in TFrmGraphe.

#include "statistics/core/statistics.h"

#include <QWidget>

class QTabWidget;

namespace folian {

class StatisticPage;
class TFrmData;

class TFrmStatistique : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmStatistique(TFrmData &data, QWidget *parent = nullptr);

    // Shows the statistic's page and reads it (the period statistic waits for "Rechercher").
    void showStatistic(Statistic s);
    StatisticPage *page(Statistic s) const;
    Statistic current() const { return current_; }
    QTabWidget *tabs() const { return tabs_; }

    // The statistics this screen holds, in the order of its pages.
    static const QList<Statistic> &statistics();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTabWidget *tabs_;
    QList<StatisticPage *> pages_;
    Statistic current_ = Statistic::Readers;
};

} // namespace folian
