#include "acquisitions/widgets/frmlivraisonbon.h"

#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/receipt.h"
#include "acquisitions/core/receivedcopies.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmgenerate.h"
#include "acquisitions/widgets/frmlivraison.h"
#include "acquisitions/widgets/frmlivraisonexemplaire.h"
#include "acquisitions/widgets/frmlivraisonlignesearch.h"
#include "base/dates.h"
#include "base/messages.h"
#include "catalogue/core/records.h"
#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "reports/widgets/frmhtmlpreview.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmLivraisonBon::TFrmLivraisonBon(TFrmData &frmData, int delivery, QWidget *parent)
    : FormDialog(parent), data_(frmData), delivery_(delivery)
{
    setObjectName(QStringLiteral("FrmLivraisonBon"));
    setWindowTitle(QStringLiteral("Bon de livraison"));
    setModal(true);
    for (Dataset *d : {data_.QLivraisonLigne, data_.QExemplaire, data_.QBulletin})
        d->close();

    number_ = valueLabel("LblNumeroValeur", this);
    date_ = valueLabel("LblDateValeur", this);
    auto *header = new QHBoxLayout;
    header->addWidget(namedLabel("LblNumero", QStringLiteral("N° livraison :"), this));
    header->addWidget(number_);
    header->addSpacing(24);
    header->addWidget(namedLabel("LblDate", QStringLiteral("Date livraison :"), this));
    header->addWidget(date_);
    header->addStretch(1);
    const struct {
        const char *name, *caption;
        void (TFrmLivraisonBon::*slot)();
    } actions[] = {{"BtnModifier", "Modifier", &TFrmLivraisonBon::BtnModifierClick},
                   {"BtnImprimer", "Imprimer", &TFrmLivraisonBon::BtnImprimerClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), this);
        connect(b, &QPushButton::clicked, this, a.slot);
        header->addWidget(b);
    }
    QPushButton *close = namedButton("BtnFermer", QStringLiteral("Fermer"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    header->addWidget(close);

    copies_ = new SatellitePanel(data_.QExemplaire, QStringLiteral("Exemplaire"),
                                 {QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("LOC_LIBELLE"),
                                  QStringLiteral("SUP_LIBELLE"), QStringLiteral("STA_EXP_LIBELLE")},
                                 {QStringLiteral("N° Exemplaire"), QStringLiteral("Cote"), QStringLiteral("Localisation"),
                                  QStringLiteral("Support"), QStringLiteral("Statut")});
    QPushButton *generate = namedButton("BtnGenerer", QStringLiteral("Générer"), copies_);
    connect(generate, &QPushButton::clicked, this, &TFrmLivraisonBon::GenerateCopies);
    copies_->addButton(generate);
    connect(copies_, &SatellitePanel::appendRequested, this, &TFrmLivraisonBon::AddCopy);
    connect(copies_, &SatellitePanel::editRequested, this, &TFrmLivraisonBon::EditCopy);
    connect(copies_, &SatellitePanel::deleteRequested, this, &TFrmLivraisonBon::DeleteCopy);

    issues_ = new SatellitePanel(data_.QBulletin, QStringLiteral("Bulletin"),
                                 {QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"), QStringLiteral("BUL_TITRE"),
                                  QStringLiteral("BUL_STATUT")},
                                 {QStringLiteral("N° Bulletin"), QStringLiteral("Date de parution"),
                                  QStringLiteral("Titre (n° spécial)"), QStringLiteral("Reçu")});
    Dataset *b = data_.QBulletin;
    issues_->model()->setDisplay(QStringLiteral("BUL_STATUT"), [](const QVariant &) { return QString(); });
    issues_->model()->setStyler([b](int row, const QString &field, int role) -> QVariant {
        if (role != Qt::DecorationRole || field != QLatin1String("BUL_STATUT"))
            return {};
        return issueReceivedIcon(b->valueAt(row, QStringLiteral("BUL_STATUT")).toInt() == 1);
    });
    connect(issues_, &SatellitePanel::appendRequested, this, &TFrmLivraisonBon::AddIssue);
    connect(issues_, &SatellitePanel::editRequested, this, &TFrmLivraisonBon::EditIssue);
    connect(issues_, &SatellitePanel::deleteRequested, this, &TFrmLivraisonBon::DeleteIssue);

    auto *received = new QHBoxLayout;
    for (const auto &[panel, name, caption] : {std::tuple{static_cast<QWidget *>(copies_), "GrpExemplaires", "Exemplaires :"},
                                               std::tuple{static_cast<QWidget *>(issues_), "GrpBulletins", "Bulletins :"}}) {
        auto *box = new QGroupBox(QString::fromUtf8(caption), this);
        box->setObjectName(QLatin1String(name));
        auto *bl = new QVBoxLayout(box);
        bl->addWidget(panel);
        received->addWidget(box, 1);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(buildTitles(), 1);
    layout->addLayout(received, 1);
    resize(1040, 640);

    connect(data_.QLivraisonLigne, &Dataset::currentChanged, this, [this] { showReceived(); });
    showHeader();
    showTitles(0);
}

QWidget *TFrmLivraisonBon::buildTitles()
{
    auto *box = new QGroupBox(QStringLiteral(" Liste des livraisons"), this);
    box->setObjectName(QStringLiteral("GrpTitres"));
    auto *model = new DatasetModel(data_.QLivraisonLigne, this);
    model->setColumns({QStringLiteral("ACQ_LIGNE_ID"), QStringLiteral("ACQ_REFERENCE"), QStringLiteral("DOC_TITRE_PROPRE"),
                       QStringLiteral("ACQ_EXEMPLAIRE"), QStringLiteral("ACQ_NBR_LIVRE"), QStringLiteral("LIV_EXEMPLAIRE")},
                      {QStringLiteral("N°"), QStringLiteral("Référence"), QStringLiteral("Titre"), QStringLiteral("Nbr. commandé"),
                       QStringLiteral("Nbr. déja livré"), QStringLiteral("Nbr. reçu")});
    Dataset *t = data_.QLivraisonLigne;
    model->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [t](int row) {
        return shortTitle(t->valueAt(row, QStringLiteral("DOC_TITRE_PROPRE")).toString(),
                          t->valueAt(row, QStringLiteral("DOC_TITRE_COMPLEMENT")).toString());
    });
    titles_ = acqGrid("DBGridLivraison", model, box);
    setColumnWidths(titles_, {50, 120, 300, 100, 100});
    FollowCurrentRow(titles_, t, [this] { updateButtons(); });
    auto *buttons = new QVBoxLayout;
    const struct {
        const char *name, *caption;
        void (TFrmLivraisonBon::*slot)();
    } actions[] = {{"BtnManquants", "Réception titres manquants", &TFrmLivraisonBon::BtnManquantsClick},
                   {"BtnSupprimerTitre", "Suppression titres reçus", &TFrmLivraisonBon::BtnSupprimerTitreClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), box);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *l = new QHBoxLayout(box);
    l->addWidget(titles_, 1);
    l->addLayout(buttons);
    return box;
}

void TFrmLivraisonBon::afterLocalise() { showHeader(); }

QPushButton *TFrmLivraisonBon::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

int TFrmLivraisonBon::currentLine() const
{
    Dataset *t = data_.QLivraisonLigne;
    return t->isOpen() && t->rowCount() > 0 && t->currentRow() >= 0 ? t->value(QStringLiteral("ACQ_LIGNE_ID")).toInt() : 0;
}

void TFrmLivraisonBon::showHeader()
{
    const DeliverySheet d = loadDelivery(data_.db(), delivery_);
    number_->setText(d.number);
    date_->setText(ShowDate(d.date));
}

void TFrmLivraisonBon::showTitles(int line)
{
    const SqlText sql = deliveredTitlesSql(delivery_);
    Dataset *t = data_.QLivraisonLigne;
    t->open(sql.sql, sql.binds);
    t->fetchAll();
    if (!(line > 0 && t->locate(QStringLiteral("ACQ_LIGNE_ID"), line)))
        t->first();
    showReceived();
}

void TFrmLivraisonBon::showReceived()
{
    const int line = currentLine();
    for (Dataset *d : {data_.QExemplaire, data_.QBulletin})
        d->close();
    if (line > 0) {
        const SqlText copies = deliveredCopiesSql(delivery_, line);
        data_.QExemplaire->open(copies.sql, copies.binds);
        const SqlText issues = deliveredIssuesSql(delivery_, line);
        data_.QBulletin->open(issues.sql, issues.binds);
    }
    updateButtons();
}

void TFrmLivraisonBon::updateButtons()
{
    const bool title = currentLine() > 0;
    button("BtnSupprimerTitre")->setEnabled(title);
    copies_->setWritable(title);
    issues_->setWritable(title);
    button("BtnGenerer")->setEnabled(title);
}

void TFrmLivraisonBon::BtnModifierClick()
{
    TFrmLivraison sheet(data_, delivery_, this);
    if (sheet.exec() == QDialog::Accepted)
        showHeader();
}

void TFrmLivraisonBon::BtnImprimerClick()
{
    const ReportResult r = writeDeliveryNote(data_.db(), delivery_);
    if (!r.written()) {
        inform(r.message);
        return;
    }
    TFrmHTMLPreview::showFile(acq::deliveryNoteTitle(), r.path, this);
}

void TFrmLivraisonBon::BtnManquantsClick()
{
    if (missingTitles(data_.db(), delivery_) == 0) {
        inform(acq::allTitlesReceived());
        return;
    }
    if (TFrmLivraisonLigneSearch::addTitle(data_, delivery_, this))
        showTitles(currentLine());
}

void TFrmLivraisonBon::BtnSupprimerTitreClick()
{
    const int line = currentLine();
    if (line <= 0 || !confirmIrreversible(acq::removeTitleQuestion()))
        return;
    const AcqResult r = removeDeliveredTitle(data_.db(), delivery_, line);
    if (!r.passed)
        inform(r.message);
    showTitles(r.passed ? 0 : line);
}

bool TFrmLivraisonBon::receivable(int line)
{
    const QString refusal = copiesRefusal(data_.db(), line, 1);
    if (!refusal.isEmpty())
        inform(refusal);
    return refusal.isEmpty();
}

void TFrmLivraisonBon::openSheet(int page, const QString &copyId, int issueId)
{
    const int line = currentLine();
    TFrmLivraisonExemplaire sheet(data_, TFrmLivraisonExemplaire::Page(page), {line, delivery_, AcquisitionMode::Purchase},
                                  copyId, issueId, this);
    if (sheet.exec() == QDialog::Accepted)
        showTitles(line);
}

void TFrmLivraisonBon::AddCopy()
{
    if (const int line = currentLine(); line > 0 && receivable(line))
        openSheet(int(TFrmLivraisonExemplaire::Page::Copy), QString(), 0);
}

void TFrmLivraisonBon::EditCopy()
{
    Dataset *c = data_.QExemplaire;
    if (currentLine() <= 0 || c->rowCount() == 0)
        return;
    const QString id = c->value(QStringLiteral("EXP_ID")).toString();
    if (const QString lent = copyEditRefusal(data_.db(), id); !lent.isEmpty())
        inform(lent);
    else
        openSheet(int(TFrmLivraisonExemplaire::Page::Copy), id, 0);
}

void TFrmLivraisonBon::DeleteCopy()
{
    const int line = currentLine();
    Dataset *c = data_.QExemplaire;
    if (line <= 0 || c->rowCount() == 0)
        return;
    const QString id = c->value(QStringLiteral("EXP_ID")).toString();
    if (!confirmIrreversible(copyDeleteQuestion(id)))
        return;
    const AcqResult r = deleteReceivedCopy(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    showTitles(line);
}

void TFrmLivraisonBon::GenerateCopies()
{
    const int line = currentLine();
    if (line <= 0 || !receivable(line))
        return;
    TFrmGenerate generator(data_, this);
    generator.Initialize(GenerationContext::Delivery, AcquisitionMode::Purchase,
                         data_.QLivraisonLigne->value(QStringLiteral("DOC_ID")).toInt(), line, delivery_);
    if (generator.exec() == QDialog::Accepted)
        showTitles(line);
}

void TFrmLivraisonBon::AddIssue()
{
    if (currentLine() > 0)
        openSheet(int(TFrmLivraisonExemplaire::Page::Issue), QString(), 0);
}

void TFrmLivraisonBon::EditIssue()
{
    Dataset *b = data_.QBulletin;
    if (currentLine() > 0 && b->rowCount() > 0)
        openSheet(int(TFrmLivraisonExemplaire::Page::Issue), QString(), b->value(QStringLiteral("BUL_ID")).toInt());
}

void TFrmLivraisonBon::DeleteIssue()
{
    const int line = currentLine();
    Dataset *b = data_.QBulletin;
    if (line <= 0 || b->rowCount() == 0 || !confirmIrreversible(issueDeleteQuestion(b->value(QStringLiteral("BUL_NUMERO")))))
        return;
    const AcqResult r = deleteIssue(data_.db(), b->value(QStringLiteral("BUL_ID")).toInt());
    if (!r.passed)
        inform(r.message);
    showTitles(line);
}

} // namespace folian
