#include "acquisitions/widgets/frmacquisitionrelance.h"

#include "acquisitions/core/claims.h"
#include "acquisitions/core/documents.h"
#include "acquisitions/core/serialtexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/frmhtmlpreview.h"
#include "reports/widgets/printreport.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

// A grid under its caption, with its count above it.
QGroupBox *captioned(const char *name, const char *caption, QLabel *count, QTableView *grid, QWidget *parent)
{
    auto *box = new QGroupBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(count);
    layout->addWidget(grid, 1);
    return box;
}

} // namespace

TFrmAcquisitionRelance::TFrmAcquisitionRelance(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmAcquisitionRelance"));
    setWindowTitle(QStringLiteral("Relances"));
    for (Dataset *d : {data_.QFournisseur, data_.QAcquisitionLigne, data_.QBulletin})
        d->close();

    auto *supplierModel = new DatasetModel(data_.QFournisseur, this);
    supplierModel->setColumns({QStringLiteral("FOU_LIBELLE"), QStringLiteral("FOU_COMPTE"), QStringLiteral("FOU_CONTACT"),
                               QStringLiteral("FOU_TEL"), QStringLiteral("FOU_FAX"), QStringLiteral("FOU_EMAIL")},
                              {QStringLiteral("Nom"), QStringLiteral("Compte"), QStringLiteral("Contact"), QStringLiteral("Téléphone"),
                               QStringLiteral("Fax"), QStringLiteral("E-mail")});
    suppliers_ = acqGrid("DBGridFournisseur", supplierModel, this);
    setColumnWidths(suppliers_, {240, 110, 140, 110, 110});
    count_ = folian::countLabel("LblCount", this);

    auto *titleModel = new DatasetModel(data_.QAcquisitionLigne, this);
    titleModel->setColumns({QStringLiteral("COMMANDE"), QStringLiteral("ACQ_REFERENCE"), QStringLiteral("DOC_TITRE_PROPRE"),
                            QStringLiteral("ACQ_EXEMPLAIRE"), QStringLiteral("ACQ_NBR_LIVRE"), QStringLiteral("ACQ_PRIX"),
                            QStringLiteral("ACQ_MONTANT"), QStringLiteral("ACQ_DATE_LIVRAISON")},
                           {QStringLiteral("COMMANDE"), QStringLiteral("Référence"), QStringLiteral("Titre"),
                            QStringLiteral("Nbr. commandé"), QStringLiteral("Nbr. reçu"), QStringLiteral("Prix"),
                            QStringLiteral("Total"), QStringLiteral("Date livraison")});
    Dataset *l = data_.QAcquisitionLigne;
    titleModel->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [l](int row) {
        return shortTitle(l->valueAt(row, QStringLiteral("DOC_TITRE_PROPRE")).toString(),
                          l->valueAt(row, QStringLiteral("DOC_TITRE_COMPLEMENT")).toString());
    });
    titleModel->setDisplay(QStringLiteral("ACQ_PRIX"), moneyText);
    titleModel->setDisplay(QStringLiteral("ACQ_MONTANT"), moneyText);
    titles_ = acqGrid("DBGridLigne", titleModel, this);
    setColumnWidths(titles_, {100, 120, 260, 105, 80, 80, 80});
    titlesCount_ = folian::countLabel("LblCountLignes", this);

    auto *issueModel = new DatasetModel(data_.QBulletin, this);
    issueModel->setColumns({QStringLiteral("ABONNEMENT"), QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"),
                            QStringLiteral("BUL_TITRE")},
                           {QStringLiteral("ABONNEMENT"), QStringLiteral("N° Bulletin"), QStringLiteral("Date de parution"),
                            QStringLiteral("Titre")});
    issues_ = acqGrid("DBGridBulletin", issueModel, this);
    setColumnWidths(issues_, {120, 110, 140});
    issuesCount_ = folian::countLabel("LblCountBulletins", this);

    auto *buttons = new QVBoxLayout;
    const struct {
        const char *name, *caption;
        void (TFrmAcquisitionRelance::*slot)();
    } actions[] = {{"BtnImprimerListe", "Imprimer liste", &TFrmAcquisitionRelance::BtnImprimerListeClick},
                   {"BtnImprimerRelance", "Imprimer relance", &TFrmAcquisitionRelance::BtnImprimerRelanceClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), this);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(captioned("GrpFournisseurs", " Fournisseurs retardataires ", count_, suppliers_, this), 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(captioned("GrpTitres", " Titres en retard ", titlesCount_, titles_, this), 2);
    layout->addWidget(captioned("GrpBulletins", " Bulletins attendus ", issuesCount_, issues_, this), 2);

    FollowCurrentRow(suppliers_, data_.QFournisseur, [] {});
    connect(data_.QFournisseur, &Dataset::currentChanged, this, [this] { showSupplier(); });
    reopen(serverToday(data_.db()));
}

void TFrmAcquisitionRelance::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmAcquisitionRelance::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QPushButton *TFrmAcquisitionRelance::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

int TFrmAcquisitionRelance::currentSupplier() const
{
    Dataset *q = data_.QFournisseur;
    return q->isOpen() && q->rowCount() > 0 && q->currentRow() >= 0 ? q->value(QStringLiteral("FOU_ID")).toInt() : 0;
}

void TFrmAcquisitionRelance::reopen(const QDate &today, int supplier)
{
    today_ = today;
    const SqlText late = lateSuppliersSql(data_.db(), today_);
    Dataset *q = data_.QFournisseur;
    q->open(late.sql, late.binds);
    q->fetchAll();
    if (supplier > 0)
        q->locate(QStringLiteral("FOU_ID"), supplier);
    const int count = q->rowCount();
    count_->setText(acq::lateSuppliersCount(count));
    writeStatusPanel(2, acq::claimsCountLine(count));
    for (const char *name : {"BtnImprimerListe", "BtnImprimerRelance"})
        button(name)->setEnabled(count > 0);
    showSupplier();
}

void TFrmAcquisitionRelance::showSupplier()
{
    const int supplier = currentSupplier();
    for (Dataset *d : {data_.QAcquisitionLigne, data_.QBulletin})
        d->close();
    if (supplier > 0) {
        const SqlText titles = overdueTitlesSql(data_.db(), supplier, today_);
        data_.QAcquisitionLigne->open(titles.sql, titles.binds);
        data_.QAcquisitionLigne->fetchAll();
        const SqlText issues = awaitedIssuesSql(supplier);
        data_.QBulletin->open(issues.sql, issues.binds);
        data_.QBulletin->fetchAll();
    }
    titlesCount_->setText(acq::lateTitlesCount(supplier > 0 ? data_.QAcquisitionLigne->rowCount() : 0));
    issuesCount_->setText(acq::awaitedIssuesCount(supplier > 0 ? data_.QBulletin->rowCount() : 0));
}

void TFrmAcquisitionRelance::BtnImprimerListeClick()
{
    QPushButton *print = button("BtnImprimerListe");
    if (!print->isEnabled())
        return;
    PrintReport(data_.db(), lateSupplierListReport(data_.db(), today_), this, nullptr, print);
}

void TFrmAcquisitionRelance::BtnImprimerRelanceClick()
{
    const int supplier = currentSupplier();
    QPushButton *print = button("BtnImprimerRelance");
    if (supplier <= 0 || !print->isEnabled())
        return;
    print->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportResult r = writeClaimLetter(data_.db(), supplier, today_);
    QApplication::restoreOverrideCursor();
    print->setEnabled(true);
    if (!r.written()) {
        inform(r.message);
        return;
    }
    TFrmHTMLPreview::showFile(acq::claimLetterTitle(), r.path, this);
}

} // namespace folian
