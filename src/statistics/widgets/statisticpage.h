#pragma once
// One statistic on a page: its title and the source it reads, its options
// (the row limit, the classification with its list, the period, the
// grouping, the filters of the new acquisitions), the grid of its rows, the
// count, and "Imprimer", "Graphe" and the two spreadsheet exports. A
// failure is shown on the page, never an empty grid that says nothing.

#include "statistics/core/statistics.h"

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class ProgressPanel;
class StatisticModel;
class TFrmData;

class StatisticPage : public QWidget
{
    Q_OBJECT
public:
    StatisticPage(TFrmData &data, Statistic statistic, QWidget *parent = nullptr);

    Statistic statistic() const { return statistic_; }
    // Reads the statistic with the options shown; false on a failure or a refusal (said on the page).
    bool run();
    // The rows read so far (the grid reads the others as it scrolls), and
    // the statistic whole, read again if the grid has not read it all.
    const StatisticTable &table() const;
    StatisticTable wholeTable() const;
    StatisticOptions options() const;

    void setLimit(int limit);
    void setPeriod(const QDate &from, const QDate &to);
    void setGrouping(StatGrouping by);
    void setClassification(const QString &text);
    // Empties the filters and the period back to this month.
    void clearFilters();

    // Writes the rows as CSV or as a workbook; false with the message shown.
    bool exportTo(const QString &path, bool workbook);

    QTableView *grid() const { return grid_; }
    QString countText() const;
    QString statusText() const;
    QPushButton *searchButton() const { return btnSearch_; }
    QPushButton *chartButton() const { return btnChart_; }

signals:
    // "Graphe": the chart of the rows shown.
    void chartRequested(const ChartData &data);

public slots:
    void BtnPrintClick();
    void BtnGrapheClick();

private:
    void addLimit(QHBoxLayout *row);
    void addClassification(QHBoxLayout *row);
    void addPeriod(QHBoxLayout *row);
    void addGroupings(QHBoxLayout *row);
    void addFilters(QGridLayout *grid);
    QComboBox *filterBox(const char *name, AcqFilter f);
    void exportAs(bool workbook);
    void showResult();

    TFrmData &data_;
    Statistic statistic_;
    StatisticModel *model_;
    QLabel *title_;
    QLabel *source_;
    QComboBox *limit_ = nullptr;
    QLineEdit *classification_ = nullptr;
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QButtonGroup *groupings_ = nullptr;
    QList<std::pair<AcqFilter, QComboBox *>> filters_;
    QPushButton *btnSearch_ = nullptr;
    QTableView *grid_;
    QLabel *count_;
    QLabel *status_;
    QPushButton *btnPrint_;
    QPushButton *btnChart_ = nullptr;
    ProgressPanel *progress_;
};

} // namespace folian
