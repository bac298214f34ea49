#include "acquisitions/widgets/documentsearch.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/invoices.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmfournisseur.h"
#include "base/messages.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

// The caption of an order's control, of a pre-order's and of a subscription's.
QString byType(AcqType t, const char16_t *order, const char16_t *preOrder, const char16_t *subscription)
{
    return QString::fromUtf16(t == AcqType::PreOrder ? preOrder : t == AcqType::Subscription ? subscription : order);
}

} // namespace

DocumentSearchScreen::DocumentSearchScreen(TFrmData &frmData, AcqType type, const QString &formName, QWidget *parent)
    : QWidget(parent), data_(frmData), type_(type)
{
    setObjectName(formName);
    setWindowTitle(byType(type, u"Recherche commandes", u"Recherche pré-commandes", u"Recherche abonnements"));
    for (Dataset *d : {data_.QAcquisition, data_.QAcquisitionLigne, data_.QFacture})
        d->close();

    documentModel_ = new DatasetModel(data_.QAcquisition, this);
    QStringList fields{QStringLiteral("ACQ_NUMERO"), QStringLiteral("FOU_LIBELLE"), QStringLiteral("ACQ_DATE")};
    QStringList titles{byType(type, u"N° commande", u"N° pré-commande", u"N° abonnement"), QStringLiteral("Fournisseur"), QStringLiteral("Date ")};
    if (type != AcqType::PreOrder) {
        fields << QStringLiteral("ACQ_STATUT");
        titles << QStringLiteral("Statut");
    }
    fields << QStringLiteral("ACQ_TOTAL");
    titles << QStringLiteral("Total");
    documentModel_->setColumns(fields, titles);
    documentModel_->setDisplay(QStringLiteral("ACQ_STATUT"), [](const QVariant &v) { return acq::statusLabel(v.toInt()); });
    documentModel_->setDisplay(QStringLiteral("ACQ_TOTAL"), moneyText);
    documents_ = acqGrid("DBGridCommande", documentModel_, this);
    setColumnWidths(documents_, {140, 240, 100, 140});
    connect(documents_, &QTableView::doubleClicked, this, &DocumentSearchScreen::BtnModifierClick);
    count_ = folian::countLabel("LblCount", this);

    auto *list = new QWidget(this);
    auto *ll = new QVBoxLayout(list);
    ll->setContentsMargins(0, 0, 0, 0);
    ll->addWidget(buildCriteria());
    ll->addWidget(count_);
    auto *documentRow = new QHBoxLayout;
    documentRow->addWidget(documents_, 1);
    auto *documentButtons = new QVBoxLayout;
    const struct {
        const char *name;
        QString caption;
        void (DocumentSearchScreen::*slot)();
    } actions[] = {
        {"BtnNouveau", byType(type, u"Nouvelle commande", u"Nouvelle pré-commande", u"Nouvel abonnement"), &DocumentSearchScreen::BtnNouveauClick},
        {"BtnModifier", byType(type, u"Modifier commande", u"Modifier pré-commande", u"Modifier abonnement"), &DocumentSearchScreen::BtnModifierClick},
        {"BtnSupprimer", byType(type, u"Supprimer commande", u"Supprimer pré-commande", u"Supprimer abonnement"), &DocumentSearchScreen::BtnSupprimerClick},
        {"BtnImprimer", byType(type, u"Imprimer commande", u"Imprimer pré-commande", u"Imprimer abonnement"), &DocumentSearchScreen::BtnImprimerClick},
    };
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, a.caption, this);
        connect(b, &QPushButton::clicked, this, a.slot);
        documentButtons->addWidget(b);
    }
    documentButtons->addStretch(1);
    documentRow->addLayout(documentButtons);
    ll->addLayout(documentRow, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list, 3);
    layout->addWidget(buildLines(), 2);

    FollowCurrentRow(documents_, data_.QAcquisition, [this] { updateButtons(); });
    connect(data_.QAcquisition, &Dataset::currentChanged, this, [this] { showDocument(); });
    FollowCurrentRow(lines_, data_.QAcquisitionLigne, [this] { updateButtons(); });
    connect(data_.QAcquisitionLigne, &Dataset::currentChanged, this, [this] { updateButtons(); });
    updateButtons();
}

QWidget *DocumentSearchScreen::buildCriteria()
{
    QGroupBox *box = criteriaBox(this);
    auto *grid = new QGridLayout(box);
    const auto line = [&](const char *name) {
        auto *e = new QLineEdit(box);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    QLineEdit *number = line("NUM"), *supplier = line("FOUR"), *year = line("ANNEE");
    year->setMaximumWidth(70);
    setFocusProxy(number);  // the screen opens ready for the number typed
    QPushButton *pick = namedButton("BtnFournisseur", QStringLiteral("..."), box);
    pick->setProperty("localise", false);
    pick->setMaximumWidth(32);
    connect(pick, &QPushButton::clicked, this, &DocumentSearchScreen::BtnFournisseurClick);
    grid->addWidget(namedLabel("LblNum", byType(type_, u"N° commande :", u"N° pré-commande :", u"N° abonnement :"), box), 0, 0);
    grid->addWidget(number, 0, 1);
    grid->addWidget(namedLabel("LblFour", QStringLiteral("Fournisseur :"), box), 0, 2);
    auto *supplierRow = new QHBoxLayout;
    supplierRow->addWidget(supplier, 1);
    supplierRow->addWidget(pick);
    grid->addLayout(supplierRow, 0, 3);
    int column = 4;
    if (type_ != AcqType::PreOrder) {
        status_ = new QComboBox(box);
        status_->setObjectName(QStringLiteral("STATUT"));
        grid->addWidget(namedLabel("LblStatut", QStringLiteral("Statut :"), box), 0, column++);
        grid->addWidget(status_, 0, column++);
    }
    grid->addWidget(namedLabel("LblAnnee", QStringLiteral("Année :"), box), 0, column++);
    grid->addWidget(year, 0, column++);
    QPushButton *search = namedButton("BtnRechercher", QStringLiteral("Rechercher"), box);
    QPushButton *reset = namedButton("BtnInitialiser", QStringLiteral("Initialiser"), box);
    connect(search, &QPushButton::clicked, this, &DocumentSearchScreen::Search);
    connect(reset, &QPushButton::clicked, this, &DocumentSearchScreen::BtnInitialiserClick);
    grid->addWidget(search, 0, column++);
    grid->addWidget(reset, 0, column);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);
    return box;
}

QWidget *DocumentSearchScreen::buildLines()
{
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PgcDetail"));
    lineModel_ = new DatasetModel(data_.QAcquisitionLigne, this);
    QStringList fields{QStringLiteral("ACQ_LIGNE_ID"), QStringLiteral("ACQ_REFERENCE"), QStringLiteral("DOC_TITRE_PROPRE")};
    QStringList titles{QStringLiteral("N°"), QStringLiteral("Référence"), QStringLiteral("Titre")};
    if (type_ == AcqType::Subscription) {
        fields << QStringLiteral("PERIODICITE");
        titles << QStringLiteral("PERIODICITE");
    }
    lineModel_->setColumns(fields + QStringList{QStringLiteral("ACQ_EXEMPLAIRE"), QStringLiteral("ACQ_PRIX"), QStringLiteral("ACQ_MONTANT")},
                           titles + QStringList{QStringLiteral("Nb. Exp."), QStringLiteral("Prix"), QStringLiteral("Total")});
    Dataset *l = data_.QAcquisitionLigne;
    lineModel_->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [l](int row) {
        return shortTitle(l->valueAt(row, QStringLiteral("DOC_TITRE_PROPRE")).toString(),
                          l->valueAt(row, QStringLiteral("DOC_TITRE_COMPLEMENT")).toString());
    });
    lineModel_->setDisplay(QStringLiteral("ACQ_PRIX"), moneyText);
    lineModel_->setDisplay(QStringLiteral("ACQ_MONTANT"), moneyText);
    lines_ = acqGrid("DBGridLigne", lineModel_, this);
    lines_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    if (type_ == AcqType::Subscription)
        setColumnWidths(lines_, {60, 130, 300, 110, 80, 90});
    else
        setColumnWidths(lines_, {60, 130, 360, 80, 90});
    connect(lines_, &QTableView::doubleClicked, this, &DocumentSearchScreen::BtnModifierTitreClick);
    linesCount_ = folian::countLabel("LblCountLignes", this);

    auto *page = new QWidget(tabs_);
    page->setObjectName(QStringLiteral("TabTitres"));
    auto *row = new QHBoxLayout;
    row->addWidget(lines_, 1);
    auto *buttons = new QVBoxLayout;
    const struct {
        const char *name, *caption;
        void (DocumentSearchScreen::*slot)();
        bool shown;
    } actions[] = {
        {"BtnNouveauTitre", "Nouveau titre", &DocumentSearchScreen::BtnNouveauTitreClick, true},
        {"BtnModifierTitre", "Modifier titre", &DocumentSearchScreen::BtnModifierTitreClick, true},
        {"BtnSupprimerTitre", "Supprimer titre", &DocumentSearchScreen::BtnSupprimerTitreClick, true},
        {"BtnValidation", "Validation", &DocumentSearchScreen::BtnValidationClick, type_ != AcqType::PreOrder},
        {"BtnReception", "Réception", &DocumentSearchScreen::BtnReceptionClick, type_ != AcqType::PreOrder},
        {"BtnPasserCommande", "Passer en commande", &DocumentSearchScreen::BtnPasserCommandeClick, type_ == AcqType::PreOrder},
    };
    for (const auto &a : actions) {
        if (!a.shown)
            continue;
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), page);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    row->addLayout(buttons);
    auto *pl = new QVBoxLayout(page);
    pl->addWidget(linesCount_);
    pl->addLayout(row, 1);
    tabs_->addTab(page, type_ == AcqType::Subscription ? QStringLiteral("Titres d'abonnement") : QStringLiteral("Titres "));

    if (type_ != AcqType::PreOrder)
        tabs_->addTab(buildInvoices(), QStringLiteral("Factures"));
    return tabs_;
}

QWidget *DocumentSearchScreen::buildInvoices()
{
    auto *invoiceModel = new DatasetModel(data_.QFacture, this);
    invoiceModel->setColumns({QStringLiteral("FAC_ID"), QStringLiteral("FAC_MONTANT"), QStringLiteral("FAC_DATE")},
                             {QStringLiteral("N° facture"), QStringLiteral("Montant"), QStringLiteral("Date")});
    invoiceModel->setDisplay(QStringLiteral("FAC_MONTANT"), moneyText);
    invoices_ = acqGrid("DBGridFacture", invoiceModel, this);
    setColumnWidths(invoices_, {160, 120});
    connect(invoices_, &QTableView::doubleClicked, this, &DocumentSearchScreen::BtnModifierFactureClick);
    invoicesCount_ = folian::countLabel("LblCountFactures", this);
    auto *page = new QWidget(tabs_);
    page->setObjectName(QStringLiteral("TabFactures"));
    auto *buttons = new QVBoxLayout;
    for (const auto &[name, caption, slot] :
         {std::tuple{"BtnNouvelleFacture", "Nouvelle facture", &DocumentSearchScreen::BtnNouvelleFactureClick},
          std::tuple{"BtnModifierFacture", "Modifier facture", &DocumentSearchScreen::BtnModifierFactureClick},
          std::tuple{"BtnSupprimerFacture", "Supprimer facture", &DocumentSearchScreen::BtnSupprimerFactureClick}}) {
        QPushButton *b = namedButton(name, QString::fromUtf8(caption), page);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(invoices_, 1);
    row->addLayout(buttons);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(invoicesCount_);
    layout->addLayout(row, 1);
    FollowCurrentRow(invoices_, data_.QFacture, [this] { updateButtons(); });
    return page;
}

void DocumentSearchScreen::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    updateLanguage();
    QWidget::showEvent(event);
}

void DocumentSearchScreen::updateLanguage()
{
    if (status_)
        fillStatusList(status_);
}

bool DocumentSearchScreen::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QPushButton *DocumentSearchScreen::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }
QLineEdit *DocumentSearchScreen::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

int DocumentSearchScreen::currentDocument() const { return currentKey(data_.QAcquisition, "ACQ_ID"); }
int DocumentSearchScreen::currentLine() const { return currentKey(data_.QAcquisitionLigne, "ACQ_LIGNE_ID"); }

QString DocumentSearchScreen::currentInvoice() const
{
    Dataset *q = data_.QFacture;
    return invoices_ && q->isOpen() && q->currentRow() >= 0 && q->rowCount() > 0 ? q->value(QStringLiteral("FAC_ID")).toString()
                                                                                 : QString();
}

QList<int> DocumentSearchScreen::selectedLines() const
{
    QList<int> out;
    for (const QModelIndex &i : lines_->selectionModel()->selectedRows())
        out << data_.QAcquisitionLigne->valueAt(i.row(), QStringLiteral("ACQ_LIGNE_ID")).toInt();
    std::sort(out.begin(), out.end());
    return out;
}

bool DocumentSearchScreen::validated() const
{
    return currentDocument() > 0 && data_.QAcquisition->value(QStringLiteral("ACQ_STATUT")).toInt() == AcqStatus::Validated;
}

void DocumentSearchScreen::updateButtons()
{
    const bool document = currentDocument() > 0;
    Dataset *l = data_.QAcquisitionLigne;
    const bool lines = document && l->isOpen() && l->rowCount() > 0;
    const int status = document ? data_.QAcquisition->value(QStringLiteral("ACQ_STATUT")).toInt() : 0;
    const bool waiting = lines && l->currentRow() >= 0
        && l->value(QStringLiteral("ACQ_EXEMPLAIRE")).toInt() != l->value(QStringLiteral("ACQ_NBR_LIVRE")).toInt();
    const struct {
        const char *name;
        bool on;
    } states[] = {{"BtnModifier", document},
                  {"BtnSupprimer", document},
                  {"BtnImprimer", document},
                  {"BtnNouveauTitre", document},
                  {"BtnModifierTitre", lines},
                  {"BtnSupprimerTitre", lines},
                  {"BtnValidation", lines && status == AcqStatus::ToValidate},
                  {"BtnReception", lines && status == AcqStatus::Validated && waiting},
                  {"BtnPasserCommande", document},
                  {"BtnNouvelleFacture", status == AcqStatus::Validated},
                  {"BtnModifierFacture", !currentInvoice().isEmpty()},
                  {"BtnSupprimerFacture", !currentInvoice().isEmpty()}};
    for (const auto &s : states)
        if (QPushButton *b = button(s.name))
            b->setEnabled(s.on);
}

void DocumentSearchScreen::showDocument()
{
    const int id = currentDocument();
    for (Dataset *d : {data_.QAcquisitionLigne, data_.QFacture})
        d->close();
    if (id > 0) {
        const SqlText lines = documentLinesSql(id);
        data_.QAcquisitionLigne->open(lines.sql, lines.binds);
        data_.QAcquisitionLigne->fetchAll();
        if (invoices_) {
            const SqlText invoices = documentInvoicesSql(id);
            data_.QFacture->open(invoices.sql, invoices.binds);
            data_.QFacture->fetchAll();
        }
    }
    linesCount_->setText(acq::linesCount(id > 0 ? data_.QAcquisitionLigne->rowCount() : 0));
    if (invoicesCount_)
        invoicesCount_->setText(acq::invoicesCount(id > 0 ? data_.QFacture->rowCount() : 0));
    updateButtons();
}

void DocumentSearchScreen::Search() { reopen(0); }

void DocumentSearchScreen::reopen(int id)
{
    DocumentCriteria c;
    c.type = type_;
    c.number = field("NUM")->text();
    c.supplier = field("FOUR")->text();
    c.status = status_ ? status_->currentData().toInt() : 0;
    c.year = field("ANNEE")->text();
    SqlText sql;
    QString why;
    if (!documentSearchSql(data_.db().dialect(), c, &sql, &why)) {
        inform(why);
        field("ANNEE")->setFocus();
        field("ANNEE")->selectAll();
        return;
    }
    Dataset *q = data_.QAcquisition;
    q->open(sql.sql, sql.binds);
    if (id > 0)
        q->locate(QStringLiteral("ACQ_ID"), id);
    count_->setText(acq::documentsCount(int(type_), q->recordCount()));
    showDocument();
}

void DocumentSearchScreen::BtnInitialiserClick()
{
    for (const char *name : {"NUM", "FOUR", "ANNEE"})
        field(name)->clear();
    if (status_)
        status_->setCurrentIndex(0);
    data_.QAcquisition->close();
    count_->clear();
    showDocument();
}

void DocumentSearchScreen::BtnFournisseurClick()
{
    const QString name = TFrmFournisseur::pick(data_, type_ == AcqType::PreOrder ? 1 : 2, this);
    if (!name.isEmpty())
        field("FOUR")->setText(name);
}

void DocumentSearchScreen::refreshDocument(int line)
{
    data_.QAcquisition->refreshRow();
    showDocument();
    if (line > 0)
        data_.QAcquisitionLigne->locate(QStringLiteral("ACQ_LIGNE_ID"), line);
    updateButtons();
}

} // namespace folian
