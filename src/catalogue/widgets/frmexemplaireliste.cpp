#include "catalogue/widgets/frmexemplaireliste.h"

#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmExemplaireListe::TFrmExemplaireListe(TFrmData &frmData, CopyListField field, const QString &typed,
                                         QWidget *parent)
    : FormDialog(parent), field_(field)
{
    setObjectName(QStringLiteral("FrmExemplaireListe"));
    setWindowTitle(QStringLiteral("Liste des exemplaires"));
    setModal(true);
    copies_ = new Dataset(frmData.db(), QStringLiteral("QExemplaireListe"), QStringLiteral("NOTICE_EXEMPLAIRE"), this);
    auto *model = new DatasetModel(copies_, this);
    model->setColumns({QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE")},
                      {QStringLiteral("N° exemplaire"), QStringLiteral("Cote")});
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model);
    ConfigureGrid(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(0, 160);
    FollowCurrentRow(grid_, copies_, [this] { updateButtons(); });
    connect(grid_, &QTableView::doubleClicked, this, &TFrmExemplaireListe::BtnSelectClick);

    btnSelect_ = namedButton("BtnSelect", QStringLiteral("Choisir"), this);
    auto *btnClose = namedButton("BtnClose", QStringLiteral("Fermer"), this);
    connect(btnSelect_, &QPushButton::clicked, this, &TFrmExemplaireListe::BtnSelectClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSelect_);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(460, 420);

    const SqlCondition q = copyListQuery(frmData.db().dialect(), field, typed);
    copies_->open(q.sql, q.binds);  // a failure leaves the list empty
    ShowCurrentRow(grid_, copies_);
    updateButtons();
}

void TFrmExemplaireListe::updateButtons()
{
    btnSelect_->setEnabled(copies_->isOpen() && copies_->currentRow() >= 0);
}

void TFrmExemplaireListe::BtnSelectClick()
{
    if (!copies_->isOpen() || copies_->currentRow() < 0)
        return;
    chosen_ = copies_->value(field_ == CopyListField::ShelfMark ? QStringLiteral("EXP_COTE") : QStringLiteral("EXP_ID"))
                  .toString();
    accept();
}

} // namespace folian
