#include "statistics/widgets/frmstatistique.h"

#include "i18n/widgets/localise.h"
#include "statistics/widgets/frmgraphe.h"
#include "statistics/widgets/statisticpage.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace folian {

const QList<Statistic> &TFrmStatistique::statistics()
{
    static const QList<Statistic> all{Statistic::Readers,    Statistic::Categories, Statistic::Records,
                                      Statistic::Types,      Statistic::Structures, Statistic::Registered,
                                      Statistic::Collection, Statistic::Loans};
    return all;
}

TFrmStatistique::TFrmStatistique(TFrmData &frmData, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmStatistique"));
    setWindowTitle(QStringLiteral("Statistiques"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    for (Statistic s : statistics()) {
        auto *p = new StatisticPage(frmData, s, tabs_);
        connect(p, &StatisticPage::chartRequested, this, [this](const ChartData &d) {
            TFrmGraphe graph(d, this);
            graph.exec();
        });
        pages_ << p;
        tabs_->addTab(p, statisticDef(s).pageCaption);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

StatisticPage *TFrmStatistique::page(Statistic s) const
{
    const qsizetype i = statistics().indexOf(s);
    return i < 0 ? nullptr : pages_.at(i);
}

void TFrmStatistique::showStatistic(Statistic s)
{
    StatisticPage *p = page(s);
    if (!p)
        return;
    current_ = s;
    tabs_->setCurrentWidget(p);
    // The counters, the readers and the collection are read at once; a
    // period waits for "Rechercher".
    if (s != Statistic::Loans)
        p->run();
}

void TFrmStatistique::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

} // namespace folian
