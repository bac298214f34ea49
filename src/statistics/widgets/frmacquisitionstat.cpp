#include "statistics/widgets/frmacquisitionstat.h"

#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "statistics/widgets/statchart.h"
#include "statistics/widgets/statisticpage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace folian {

TFrmAcquisitionStat::TFrmAcquisitionStat(TFrmData &frmData, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmAcquisitionStat"));
    setWindowTitle(QStringLiteral("Statistiques"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    news_ = new StatisticPage(frmData, Statistic::NewAcquisitions, tabs_);
    stats_ = new StatisticPage(frmData, Statistic::Acquisitions, tabs_);
    tabs_->addTab(news_, statisticDef(Statistic::NewAcquisitions).pageCaption);
    tabs_->addTab(stats_, statisticDef(Statistic::Acquisitions).pageCaption);

    chartPage_ = new QWidget(tabs_);
    chartPage_->setObjectName(QStringLiteral("TabGraphe"));
    chart_ = new StatChartPanel(chartPage_);
    QPushButton *print = namedButton("BtnPrintGraphe", "Imprimer", chartPage_);
    QPushButton *close = namedButton("BtnCloseGraphe", "Fermer", chartPage_);
    connect(print, &QPushButton::clicked, chart_, &StatChartPanel::print);
    connect(close, &QPushButton::clicked, this, [this] { tabs_->setCurrentWidget(stats_); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto *chartLayout = new QVBoxLayout(chartPage_);
    chartLayout->addWidget(chart_, 1);
    chartLayout->addLayout(buttons);
    tabs_->addTab(chartPage_, QStringLiteral("Graphe"));
    connect(stats_, &StatisticPage::chartRequested, this, [this](const ChartData &d) {
        chart_->setData(d);
        tabs_->setCurrentWidget(chartPage_);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

void TFrmAcquisitionStat::showStatistic(Statistic s)
{
    tabs_->setCurrentWidget(s == Statistic::NewAcquisitions ? news_ : stats_);
}

void TFrmAcquisitionStat::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

} // namespace folian
