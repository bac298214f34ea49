#include "acquisitions/widgets/frmfacturesearch.h"

#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/invoices.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmfacture.h"
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

TFrmFactureSearch::TFrmFactureSearch(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmFactureSearch"));
    setWindowTitle(QStringLiteral("Recherche factures"));
    data_.QFacture->close();
    auto *model = new DatasetModel(data_.QFacture, this);
    model->setColumns({QStringLiteral("FAC_ID"), QStringLiteral("ACQ_NUMERO"), QStringLiteral("FAC_MONTANT"), QStringLiteral("FAC_DATE")},
                      {QStringLiteral("N° facture"), QStringLiteral("N° achat"), QStringLiteral("Montant"), QStringLiteral("Date")});
    model->setDisplay(QStringLiteral("FAC_MONTANT"), moneyText);
    grid_ = acqGrid("DBGridFacture", model, this);
    setColumnWidths(grid_, {160, 160, 120});
    connect(grid_, &QTableView::doubleClicked, this, &TFrmFactureSearch::BtnModifierClick);
    count_ = folian::countLabel("LblCount", this);

    auto *buttons = new QVBoxLayout;
    for (const auto &[name, caption, slot] : {std::tuple{"BtnModifier", "Modifier", &TFrmFactureSearch::BtnModifierClick},
                                              std::tuple{"BtnSupprimer", "Supprimer", &TFrmFactureSearch::BtnSupprimerClick},
                                              std::tuple{"BtnImprimer", "Imprimer", &TFrmFactureSearch::BtnImprimerClick}}) {
        QPushButton *b = namedButton(name, QString::fromUtf8(caption), this);
        connect(b, &QPushButton::clicked, this, slot);
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
    FollowCurrentRow(grid_, data_.QFacture, [this] { updateButtons(); });
    updateButtons();
}

QWidget *TFrmFactureSearch::buildCriteria()
{
    QGroupBox *box = criteriaBox(this);
    auto *grid = new QGridLayout(box);
    for (const auto &[name, label, caption, column] :
         {std::tuple{"EdtNumero", "LblNumero", "N° facture :", 0}, std::tuple{"EdtAchat", "LblAchat", "N° achat :", 2}}) {
        auto *e = new QLineEdit(box);
        e->setObjectName(QLatin1String(name));
        QLabel *l = namedLabel(label, QString::fromUtf8(caption), box);
        l->setBuddy(e);
        grid->addWidget(l, 0, column);
        grid->addWidget(e, 0, column + 1);
    }
    grid->addLayout(dateRangeRow(box, serverToday(data_.db())), 1, 0, 1, 4);
    searchButtons(grid, box, [this] { Search(); }, [this] { BtnInitialiserClick(); });
    return box;
}

void TFrmFactureSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmFactureSearch::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QLineEdit *TFrmFactureSearch::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QCheckBox *TFrmFactureSearch::box(const char *name) const { return findChild<QCheckBox *>(QLatin1String(name)); }
QDateEdit *TFrmFactureSearch::dateField(const char *name) const { return findChild<QDateEdit *>(QLatin1String(name)); }
QPushButton *TFrmFactureSearch::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

QString TFrmFactureSearch::currentInvoice() const
{
    Dataset *q = data_.QFacture;
    return q->isOpen() && q->rowCount() > 0 && q->currentRow() >= 0 ? q->value(QStringLiteral("FAC_ID")).toString() : QString();
}

void TFrmFactureSearch::updateButtons()
{
    const bool current = !currentInvoice().isEmpty();
    button("BtnModifier")->setEnabled(current);
    button("BtnSupprimer")->setEnabled(current);
    button("BtnImprimer")->setEnabled(current);
}

void TFrmFactureSearch::Search() { reopen(QString()); }

void TFrmFactureSearch::reopen(const QString &number)
{
    InvoiceCriteria c;
    c.number = field("EdtNumero")->text();
    c.order = field("EdtAchat")->text();
    readDateRange(this, &c.from, &c.to);
    const SqlText sql = invoiceSearchSql(data_.db().dialect(), c);
    Dataset *q = data_.QFacture;
    q->open(sql.sql, sql.binds);
    if (!number.isEmpty())
        q->locate(QStringLiteral("FAC_ID"), number);
    count_->setText(acq::invoicesCount(q->recordCount()));
    updateButtons();
}

void TFrmFactureSearch::BtnInitialiserClick()
{
    for (const char *name : {"EdtNumero", "EdtAchat"})
        field(name)->clear();
    clearDateRange(this);
    data_.QFacture->close();
    count_->clear();
    updateButtons();
}

void TFrmFactureSearch::BtnModifierClick()
{
    const QString number = currentInvoice();
    if (number.isEmpty())
        return;
    TFrmFacture sheet(data_, data_.QFacture->value(QStringLiteral("ACQ_ID")).toInt(), number, this);
    if (sheet.exec() == QDialog::Accepted)
        reopen(sheet.savedNumber());
}

void TFrmFactureSearch::BtnSupprimerClick()
{
    const QString number = currentInvoice();
    if (number.isEmpty())
        return;
    reopen(TFrmFacture::deleteAsked(data_, number) ? QString() : number);
    writeStatusPanel(2, invoiceCountLine(data_.db()));
}

void TFrmFactureSearch::BtnImprimerClick()
{
    if (!data_.QFacture->isOpen())
        return;
    PrintReport(data_.db(), invoiceListReport(*data_.QFacture), this, nullptr, button("BtnImprimer"));
}

} // namespace folian
