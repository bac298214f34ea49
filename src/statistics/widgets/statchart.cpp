#include "statistics/widgets/statchart.h"

#include "base/session.h"
#include "statistics/core/statisticstexts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSet>
#include <QValueAxis>
#include <QVBoxLayout>

namespace folian {

StatChartPanel::StatChartPanel(QWidget *parent) : QWidget(parent)
{
    view_ = new QChartView(this);
    view_->setObjectName(QStringLiteral("Chart"));
    view_->setRenderHint(QPainter::Antialiasing);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LblNote"));
    note_->setProperty("localise", false);
    note_->setVisible(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
    layout->addWidget(note_);
}

void StatChartPanel::setData(const ChartData &d)
{
    auto *chart = new QChart;
    chart->setTitle(d.title);
    chart->legend()->hide();
    auto *set = new QBarSet(d.title);
    // The marks show the rates as the grid does, with two decimals.
    for (double v : d.values)
        *set << double(qRound64(v * 100.0)) / 100.0;
    auto *series = new QBarSeries;
    series->append(set);
    // Marks on every bar while they can be read.
    series->setLabelsVisible(d.values.size() <= 50);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setLabelsPrecision(12);
    chart->addSeries(series);
    auto *categories = new QBarCategoryAxis;
    // Equal labels would be merged into one category: each bar keeps its place.
    QStringList labels;
    QSet<QString> seen;
    for (QString l : d.labels) {
        while (seen.contains(l))
            l += QChar(0x200B);
        seen.insert(l);
        labels << l;
    }
    categories->append(labels);
    categories->setLabelsVisible(d.labels.size() <= 50);
    auto *values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.2f"));
    double top = 0;
    for (double v : d.values)
        top = qMax(top, v);
    values->setRange(0, top > 0 ? top * 1.1 : 1);
    // Right to left in Arabic: the first bar on the right, the scale beside it.
    const bool arabic = session().ArabicMode;
    categories->setReverse(arabic);
    chart->addAxis(categories, Qt::AlignBottom);
    chart->addAxis(values, arabic ? Qt::AlignRight : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(values);
    QChart *old = view_->chart();
    view_->setChart(chart);
    delete old;
    bars_ = int(d.values.size());
    note_->setText(d.truncated() ? stats::chartTruncated(bars_, d.rows) : QString());
    note_->setVisible(d.truncated());
}

int StatChartPanel::barCount() const { return bars_; }

QString StatChartPanel::note() const { return note_->text(); }

void StatChartPanel::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    view_->render(&painter);
}

} // namespace folian
