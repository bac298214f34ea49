#include "catalogue/widgets/satellitepanel.h"

#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/noticefields.h"
#include "data/core/dataset.h"
#include "data/widgets/uihelpers.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

SatellitePanel::SatellitePanel(Dataset *dataset, const QString &name, const QStringList &fields,
                               const QStringList &titles, QWidget *parent)
    : QWidget(parent), dataset_(dataset)
{
    setObjectName(QStringLiteral("Pnl") + name);
    model_ = new CatalogueGridModel(dataset, this);
    model_->setColumns(fields, titles);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("Grd") + name);
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (btnEdit_->isEnabled())
            emit editRequested();
    });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (current.isValid() && current.row() != dataset_->currentRow() && !dataset_->isEditing())
            dataset_->moveTo(current.row());
    });
    connect(dataset, &Dataset::currentChanged, this, [this](int row) {
        if (row >= 0 && row < model_->rowCount() && grid_->currentIndex().row() != row)
            grid_->setCurrentIndex(model_->index(row, 0));
    });
    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(dataset, signal, this, [this] { updateButtons(); });
    connect(dataset, &Dataset::rowInserted, this, [this] { updateButtons(); });
    connect(dataset, &Dataset::rowRemoved, this, [this] { updateButtons(); });

    btnAppend_ = namedButton(QStringLiteral("BtnAjouter") + name, QStringLiteral("Ajouter"), this);
    btnEdit_ = namedButton(QStringLiteral("BtnModifier") + name, QStringLiteral("Modifier"), this);
    btnDelete_ = namedButton(QStringLiteral("BtnSupprimer") + name, QStringLiteral("Supprimer"), this);
    connect(btnAppend_, &QPushButton::clicked, this, &SatellitePanel::appendRequested);
    connect(btnEdit_, &QPushButton::clicked, this, &SatellitePanel::editRequested);
    connect(btnDelete_, &QPushButton::clicked, this, &SatellitePanel::deleteRequested);

    buttons_ = new QVBoxLayout;
    buttons_->setContentsMargins(0, 0, 0, 0);
    buttons_->addWidget(btnAppend_);
    buttons_->addWidget(btnEdit_);
    buttons_->addWidget(btnDelete_);
    buttons_->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons_);
    updateButtons();
}

void SatellitePanel::addButton(QPushButton *button)
{
    button->setParent(this);
    buttons_->insertWidget(buttons_->count() - 1, button);
}

void SatellitePanel::setWritable(bool writable)
{
    writable_ = writable;
    updateButtons();
}

void SatellitePanel::updateButtons()
{
    const bool rows = dataset_->isOpen() && dataset_->state() == Dataset::State::Browse && dataset_->rowCount() > 0;
    btnAppend_->setEnabled(writable_);
    btnEdit_->setEnabled(writable_ && rows);
    btnDelete_->setEnabled(writable_ && rows);
}

} // namespace folian
