#pragma once
// "Statistiques" of the acquisitions: the page "Nouvelles acquisitions "
// (the records that received copies in a period, with its filters), the
// page "Statistiques" (copies delivered and their amount by document type
// or by supplier) and the page "Graphe" that holds the chart of the
// latter, with "Imprimer" and "Fermer" (back to the statistics).

#include "statistics/core/statistics.h"

#include <QWidget>

class QTabWidget;

namespace folian {

class StatChartPanel;
class StatisticPage;
class TFrmData;

class TFrmAcquisitionStat : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmAcquisitionStat(TFrmData &data, QWidget *parent = nullptr);

    StatisticPage *newAcquisitions() const { return news_; }
    StatisticPage *statistics() const { return stats_; }
    StatChartPanel *chart() const { return chart_; }
    QTabWidget *tabs() const { return tabs_; }
    // Shows the page of the statistic (NewAcquisitions or Acquisitions).
    void showStatistic(Statistic s);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTabWidget *tabs_;
    StatisticPage *news_;
    StatisticPage *stats_;
    QWidget *chartPage_;
    StatChartPanel *chart_;
};

} // namespace folian
