#include "statistics/widgets/frmgraphe.h"

#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "statistics/widgets/statchart.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmGraphe::TFrmGraphe(const ChartData &chartData, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmGraphe"));
    setWindowTitle(QStringLiteral("Statistiques"));
    resize(900, 600);
    chart_ = new StatChartPanel(this);
    chart_->setData(chartData);
    QPushButton *print = namedButton("BtnPrint", "Imprimer", this);
    QPushButton *close = namedButton("BtnClose", "Fermer", this);
    connect(print, &QPushButton::clicked, chart_, &StatChartPanel::print);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chart_, 1);
    layout->addLayout(buttons);
}

void TFrmGraphe::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QDialog::showEvent(event);
}

} // namespace folian
