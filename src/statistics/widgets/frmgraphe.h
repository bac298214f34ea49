#pragma once
// "Statistiques": the chart of a statistic in a dialog of its own, with
// "Imprimer" (prints the chart) and "Fermer".

#include "statistics/core/statistics.h"

#include <QDialog>

namespace folian {

class StatChartPanel;

class TFrmGraphe : public QDialog
{
    Q_OBJECT
public:
    TFrmGraphe(const ChartData &data, QWidget *parent = nullptr);
    StatChartPanel *chart() const { return chart_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    StatChartPanel *chart_;
};

} // namespace folian
