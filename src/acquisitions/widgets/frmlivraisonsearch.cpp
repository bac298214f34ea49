#include "acquisitions/widgets/frmlivraisonsearch.h"

#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/receipt.h"
#include "acquisitions/core/suppliers.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmfournisseur.h"
#include "acquisitions/widgets/frmlivraisonbon.h"
#include "base/messages.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/printreport.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmLivraisonSearch::TFrmLivraisonSearch(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmLivraisonSearch"));
    setWindowTitle(QStringLiteral("Recherche livraisons"));
    data_.QLivraison->close();
    auto *model = new DatasetModel(data_.QLivraison, this);
    model->setColumns({QStringLiteral("LIV_NUMERO"), QStringLiteral("COMMANDE"), QStringLiteral("FOURNISSEUR"),
                       QStringLiteral("LIV_DATE")},
                      {QStringLiteral("N° livraison"), QStringLiteral("COMMANDE"), QStringLiteral("FOURNISSEUR"),
                       QStringLiteral("Date")});
    grid_ = acqGrid("DBGridLivraison", model, this);
    setColumnWidths(grid_, {150, 150, 260});
    connect(grid_, &QTableView::doubleClicked, this, &TFrmLivraisonSearch::BtnModifierClick);
    count_ = folian::countLabel("LblCount", this);

    auto *buttons = new QVBoxLayout;
    const struct {
        const char *name, *caption;
        void (TFrmLivraisonSearch::*slot)();
    } actions[] = {{"BtnModifier", "Modifier", &TFrmLivraisonSearch::BtnModifierClick},
                   {"BtnSupprimer", "Supprimer", &TFrmLivraisonSearch::BtnSupprimerClick},
                   {"BtnImprimer", "Imprimer liste", &TFrmLivraisonSearch::BtnImprimerClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), this);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(grid_, 1);
    row->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildCriteria());
    layout->addWidget(count_);
    layout->addLayout(row, 1);
    FollowCurrentRow(grid_, data_.QLivraison, [this] { updateButtons(); });
    updateButtons();
}

QWidget *TFrmLivraisonSearch::buildCriteria()
{
    QGroupBox *box = criteriaBox(this);
    auto *grid = new QGridLayout(box);
    const auto line = [&](const char *name, const char *label, const char *caption, int row, int column) {
        auto *e = new QLineEdit(box);
        e->setObjectName(QLatin1String(name));
        grid->addWidget(namedLabel(label, QString::fromUtf8(caption), box), row, column);
        grid->addWidget(e, row, column + 1);
        return e;
    };
    setFocusProxy(line("EdtNumero", "LblNumero", "N° livraison :", 0, 0));  // ready for the number typed
    line("EdtAchat", "LblAchat", "N° achat :", 0, 2);
    QLineEdit *supplier = line("EdtFournisseur", "LblFournisseur", "Fournisseur :", 1, 0);
    grid->removeWidget(supplier);
    QPushButton *pick = namedButton("BtnFournisseur", QStringLiteral("..."), box);
    pick->setProperty("localise", false);
    pick->setMaximumWidth(32);
    connect(pick, &QPushButton::clicked, this, &TFrmLivraisonSearch::BtnFournisseurClick);
    auto *supplierRow = new QHBoxLayout;
    supplierRow->addWidget(supplier, 1);
    supplierRow->addWidget(pick);
    grid->addLayout(supplierRow, 1, 1);
    grid->addLayout(dateRangeRow(box, serverToday(data_.db())), 1, 2, 1, 2);
    searchButtons(grid, box, [this] { Search(); }, [this] { BtnInitialiserClick(); });
    return box;
}

void TFrmLivraisonSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmLivraisonSearch::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QLineEdit *TFrmLivraisonSearch::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QCheckBox *TFrmLivraisonSearch::box(const char *name) const { return findChild<QCheckBox *>(QLatin1String(name)); }
QDateEdit *TFrmLivraisonSearch::dateField(const char *name) const { return findChild<QDateEdit *>(QLatin1String(name)); }
QPushButton *TFrmLivraisonSearch::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

int TFrmLivraisonSearch::currentDelivery() const
{
    Dataset *q = data_.QLivraison;
    return q->isOpen() && q->rowCount() > 0 && q->currentRow() >= 0 ? q->value(QStringLiteral("LIV_ID")).toInt() : 0;
}

void TFrmLivraisonSearch::updateButtons()
{
    const bool current = currentDelivery() > 0;
    button("BtnModifier")->setEnabled(current);
    button("BtnSupprimer")->setEnabled(current);
    button("BtnImprimer")->setEnabled(current);
}

void TFrmLivraisonSearch::Search() { reopen(0); }

void TFrmLivraisonSearch::reopen(int id)
{
    DeliveryCriteria c;
    c.number = field("EdtNumero")->text();
    c.orderNumber = field("EdtAchat")->text();
    const QString supplier = field("EdtFournisseur")->text().trimmed();
    if (!supplier.isEmpty()) {
        const int key = supplierNamed(data_.db(), supplier);
        c.supplier = key > 0 ? key : -1;
    }
    readDateRange(this, &c.from, &c.to);
    const SqlText sql = deliverySearchSql(data_.db().dialect(), c);
    Dataset *q = data_.QLivraison;
    q->open(sql.sql, sql.binds);
    if (id > 0)
        q->locate(QStringLiteral("LIV_ID"), id);
    count_->setText(acq::deliveriesCount(q->recordCount()));
    updateButtons();
}

void TFrmLivraisonSearch::BtnInitialiserClick()
{
    for (const char *name : {"EdtNumero", "EdtAchat", "EdtFournisseur"})
        field(name)->clear();
    clearDateRange(this);
    data_.QLivraison->close();
    count_->clear();
    updateButtons();
}

void TFrmLivraisonSearch::BtnFournisseurClick()
{
    const QString name = TFrmFournisseur::pick(data_, 4, this);
    if (!name.isEmpty())
        field("EdtFournisseur")->setText(name);
}

void TFrmLivraisonSearch::BtnModifierClick()
{
    const int id = currentDelivery();
    if (id <= 0)
        return;
    TFrmLivraisonBon note(data_, id, this);
    note.exec();
    reopen(id);
}

void TFrmLivraisonSearch::BtnSupprimerClick()
{
    const int id = currentDelivery();
    if (id <= 0 || !confirmIrreversible(acq::deleteDeliveryQuestion(data_.QLivraison->value(QStringLiteral("LIV_NUMERO")).toString())))
        return;
    const AcqResult r = deleteDelivery(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    reopen(r.passed ? 0 : id);
    writeStatusPanel(2, deliveryCountLine(data_.db()));
}

void TFrmLivraisonSearch::BtnImprimerClick()
{
    if (!data_.QLivraison->isOpen())
        return;
    const ReportResult r = PrintReport(data_.db(), deliveryListReport(*data_.QLivraison), this, nullptr, button("BtnImprimer"));
    Q_UNUSED(r);
}

} // namespace folian
