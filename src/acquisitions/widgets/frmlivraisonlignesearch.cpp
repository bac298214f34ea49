#include "acquisitions/widgets/frmlivraisonlignesearch.h"

#include "acquisitions/core/documents.h"
#include "acquisitions/core/receipt.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/pickerdialog.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmLivraisonLigneSearch::TFrmLivraisonLigneSearch(TFrmData &frmData, int delivery, QWidget *parent)
    : QWidget(parent), data_(frmData), delivery_(delivery)
{
    setObjectName(QStringLiteral("FrmLivraisonLigneSearch"));
    setWindowTitle(QStringLiteral("Sélection livraison"));
    titles_ = new Dataset(data_.db(), QStringLiteral("QLivraisonLigneChoix"), QStringLiteral("ACQUISITION_LIGNE"), this);
    auto *model = new DatasetModel(titles_, this);
    model->setColumns({QStringLiteral("ACQ_REFERENCE"), QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("ACQ_EXEMPLAIRE"),
                       QStringLiteral("ACQ_NBR_LIVRE")},
                      {QStringLiteral("Référence"), QStringLiteral("Titre"), QStringLiteral("Nbr. commandé"),
                       QStringLiteral("Nbr. déja livré")});
    Dataset *t = titles_;
    model->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [t](int row) {
        return shortTitle(t->valueAt(row, QStringLiteral("DOC_TITRE_PROPRE")).toString(),
                          t->valueAt(row, QStringLiteral("DOC_TITRE_COMPLEMENT")).toString());
    });
    grid_ = acqGrid("DBGridLigne", model, this);
    setColumnWidths(grid_, {130, 380, 100});
    connect(grid_, &QTableView::doubleClicked, this, &TFrmLivraisonLigneSearch::BtnSelectClick);
    FollowCurrentRow(grid_, titles_, {});
    QPushButton *select = namedButton("BtnSelect", QStringLiteral("Choisir"), this);
    QPushButton *close = namedButton("BtnClose", QStringLiteral("Fermer"), this);
    connect(select, &QPushButton::clicked, this, &TFrmLivraisonLigneSearch::BtnSelectClick);
    connect(close, &QPushButton::clicked, this, &TFrmLivraisonLigneSearch::closeRequested);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(select);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    const SqlText sql = missingTitlesSql(delivery_);
    titles_->open(sql.sql, sql.binds);
    titles_->fetchAll();
}

bool TFrmLivraisonLigneSearch::addTitle(TFrmData &data, int delivery, QWidget *parent)
{
    auto *screen = new TFrmLivraisonLigneSearch(data, delivery);
    PickerDialog dialog(screen, &TFrmLivraisonLigneSearch::chosen,
                        tr2(QStringLiteral("Sélection livraison"), QStringLiteral("اختيار الاستلام")), parent);
    connect(screen, &TFrmLivraisonLigneSearch::closeRequested, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted;
}

void TFrmLivraisonLigneSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmLivraisonLigneSearch::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

void TFrmLivraisonLigneSearch::BtnSelectClick()
{
    if (titles_->rowCount() == 0 || titles_->currentRow() < 0)
        return;
    const AcqResult r = addDeliveredTitle(data_.db(), delivery_, titles_->value(QStringLiteral("ACQ_LIGNE_ID")).toInt());
    if (!r.passed) {
        inform(r.message);
        return;
    }
    emit chosen();
}

} // namespace folian
