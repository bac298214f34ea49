#pragma once
// The bar chart of a statistic: one bar per row, in the statistic's order,
// valued by its rate, with its marks shown. A statistic of more rows than
// the chart draws (ChartMaxBars) is drawn from its first rows, and a note
// under the chart says so.

#include "statistics/core/statistics.h"

#include <QWidget>

class QChartView;
class QLabel;

namespace folian {

class StatChartPanel : public QWidget
{
    Q_OBJECT
public:
    explicit StatChartPanel(QWidget *parent = nullptr);

    void setData(const ChartData &data);
    int barCount() const;           // the bars drawn
    QString note() const;           // what the note says; empty when every row is drawn
    QChartView *view() const { return view_; }
    // Prints the chart through the print dialog.
    void print();

private:
    QChartView *view_;
    QLabel *note_;
    int bars_ = 0;
};

} // namespace folian
