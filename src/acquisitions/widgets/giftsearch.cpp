#include "acquisitions/widgets/giftsearch.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

GiftSearchScreen::GiftSearchScreen(TFrmData &frmData, AcqType kind, const QString &formName, QWidget *parent)
    : QWidget(parent), data_(frmData), kind_(kind)
{
    setObjectName(formName);
    setWindowTitle(acq::giftScreenTitle(kind));
    for (Dataset *d : {data_.QAcquisition, data_.QAcquisitionLigne, data_.QExemplaire, data_.QBulletin})
        d->close();

    auto *documentModel = new DatasetModel(data_.QAcquisition, this);
    QStringList fields{QStringLiteral("ACQ_NUMERO"), QStringLiteral("ACQ_DATE"), QStringLiteral("ACQ_STATUT"),
                       QStringLiteral("ACQ_PARTENAIRE")};
    QStringList titles{QStringLiteral("Numéro"), QStringLiteral("Date"), QStringLiteral("Statut"), QStringLiteral("Partenaire")};
    if (kind != AcqType::Deposit) {
        fields << QStringLiteral("ACQ_SENS");
        titles << QStringLiteral("Sens");
    }
    documentModel->setColumns(fields, titles);
    documentModel->setDisplay(QStringLiteral("ACQ_STATUT"), [](const QVariant &v) { return acq::statusLabel(v.toInt()); });
    documentModel->setDisplay(QStringLiteral("ACQ_SENS"), [](const QVariant &v) { return acq::directionLabel(v.toInt()); });
    documents_ = acqGrid("DBGridDon", documentModel, this);
    setColumnWidths(documents_, {140, 100, 110, 260});
    connect(documents_, &QTableView::doubleClicked, this, &GiftSearchScreen::BtnModifierClick);
    count_ = folian::countLabel("LblCount", this);

    auto *documentRow = new QHBoxLayout;
    documentRow->addWidget(documents_, 1);
    auto *documentButtons = new QVBoxLayout;
    const struct {
        const char *name;
        QString caption;
        void (GiftSearchScreen::*slot)();
    } actions[] = {
        {"BtnNouveau", acq::giftNewCaption(kind), &GiftSearchScreen::BtnNouveauClick},
        {"BtnModifier", acq::giftEditCaption(kind), &GiftSearchScreen::BtnModifierClick},
        {"BtnSupprimer", QStringLiteral("Supprimer"), &GiftSearchScreen::BtnSupprimerClick},
        {"BtnImprimer", QStringLiteral("Imprimer"), &GiftSearchScreen::BtnImprimerClick},
    };
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, a.caption, this);
        connect(b, &QPushButton::clicked, this, a.slot);
        documentButtons->addWidget(b);
    }
    documentButtons->addStretch(1);
    documentRow->addLayout(documentButtons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildCriteria());
    layout->addWidget(count_);
    layout->addLayout(documentRow, 2);
    auto *detail = new QHBoxLayout;
    detail->addWidget(buildLines(), 1);
    detail->addWidget(buildHeld(), 1);
    layout->addLayout(detail, 3);

    FollowCurrentRow(documents_, data_.QAcquisition, [this] { updateButtons(); });
    connect(data_.QAcquisition, &Dataset::currentChanged, this, [this] { showDocument(); });
    FollowCurrentRow(lines_, data_.QAcquisitionLigne, [this] { updateButtons(); });
    connect(data_.QAcquisitionLigne, &Dataset::currentChanged, this, [this] { showHeld(); });
    updateButtons();
}

QWidget *GiftSearchScreen::buildCriteria()
{
    QGroupBox *box = criteriaBox(this);
    auto *grid = new QGridLayout(box);
    auto *number = new QLineEdit(box);
    number->setObjectName(QStringLiteral("NUM"));
    auto *year = new QLineEdit(box);
    year->setObjectName(QStringLiteral("ANNEE"));
    year->setMaximumWidth(70);
    setFocusProxy(number);
    status_ = new QComboBox(box);
    status_->setObjectName(QStringLiteral("STATUT"));
    grid->addWidget(namedLabel("LblNum", QStringLiteral("Numéro :"), box), 0, 0);
    grid->addWidget(number, 0, 1);
    grid->addWidget(namedLabel("LblStatut", QStringLiteral("Statut :"), box), 0, 2);
    grid->addWidget(status_, 0, 3);
    grid->addWidget(namedLabel("LblAnnee", QStringLiteral("Année :"), box), 1, 0);
    grid->addWidget(year, 1, 1, Qt::AlignLeading);
    searchButtons(grid, box, [this] { Search(); }, [this] { BtnInitialiserClick(); });
    return box;
}

QWidget *GiftSearchScreen::buildLines()
{
    auto *box = new QGroupBox(acq::giftLinesPanel(kind_), this);
    box->setObjectName(QStringLiteral("GrpTitres"));
    auto *model = new DatasetModel(data_.QAcquisitionLigne, this);
    model->setColumns({QStringLiteral("ACQ_LIGNE_ID"), QStringLiteral("ACQ_REFERENCE"), QStringLiteral("DOC_TITRE_PROPRE"),
                       QStringLiteral("ACQ_EXEMPLAIRE"), QStringLiteral("ACQ_NBR_LIVRE")},
                      {QStringLiteral("N°"), QStringLiteral("Référence"), QStringLiteral("TITRE"), QStringLiteral("Nb. Exp."),
                       QStringLiteral("Nb. livré")});
    Dataset *l = data_.QAcquisitionLigne;
    model->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [l](int row) {
        return shortTitle(l->valueAt(row, QStringLiteral("DOC_TITRE_PROPRE")).toString(),
                          l->valueAt(row, QStringLiteral("DOC_TITRE_COMPLEMENT")).toString());
    });
    lines_ = acqGrid("DBGridLigne", model, box);
    setColumnWidths(lines_, {40, 110, 190, 60});
    connect(lines_, &QTableView::doubleClicked, this, &GiftSearchScreen::BtnModifierTitreClick);
    linesCount_ = folian::countLabel("LblCountLignes", box);
    auto *buttons = new QVBoxLayout;
    const struct {
        const char *name, *caption;
        void (GiftSearchScreen::*slot)();
    } actions[] = {{"BtnNouveauTitre", "Nouveau titre", &GiftSearchScreen::BtnNouveauTitreClick},
                   {"BtnModifierTitre", "Modifier titre", &GiftSearchScreen::BtnModifierTitreClick},
                   {"BtnSupprimerTitre", "Supprimer titre", &GiftSearchScreen::BtnSupprimerTitreClick},
                   {"BtnValidation", "Validation", &GiftSearchScreen::BtnValidationClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), box);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(lines_, 1);
    row->addLayout(buttons);
    auto *bl = new QVBoxLayout(box);
    bl->addWidget(linesCount_);
    bl->addLayout(row, 1);
    return box;
}

QWidget *GiftSearchScreen::buildHeld()
{
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PgcDetail"));
    issues_ = new SatellitePanel(data_.QBulletin, QStringLiteral("Bulletin"),
                                 {QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"), QStringLiteral("BUL_TITRE")},
                                 {QStringLiteral("N° Bulletin"), QStringLiteral("Date de parution"), QStringLiteral("Titre (n° spécial)")});
    connect(issues_, &SatellitePanel::appendRequested, this, &GiftSearchScreen::AddIssue);
    connect(issues_, &SatellitePanel::editRequested, this, &GiftSearchScreen::EditIssue);
    connect(issues_, &SatellitePanel::deleteRequested, this, &GiftSearchScreen::DeleteIssue);
    copies_ = new SatellitePanel(data_.QExemplaire, QStringLiteral("Exemplaire"),
                                 {QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("LOC_LIBELLE"),
                                  QStringLiteral("STA_EXP_LIBELLE")},
                                 {QStringLiteral("N° Exemplaire"), QStringLiteral("Cote"), QStringLiteral("Localisation"),
                                  QStringLiteral("Statut")});
    QPushButton *generate = namedButton("BtnGenerer", QStringLiteral("Générer"), copies_);
    connect(generate, &QPushButton::clicked, this, &GiftSearchScreen::GenerateCopies);
    copies_->addButton(generate);
    connect(copies_, &SatellitePanel::appendRequested, this, &GiftSearchScreen::AddCopy);
    connect(copies_, &SatellitePanel::editRequested, this, &GiftSearchScreen::EditCopy);
    connect(copies_, &SatellitePanel::deleteRequested, this, &GiftSearchScreen::DeleteCopy);
    for (const auto &[panel, name, caption] : {std::tuple{static_cast<QWidget *>(issues_), "TabBulletins", "Bulletins"},
                                               std::tuple{static_cast<QWidget *>(copies_), "TabExemplaires", "Exemplaires"}}) {
        auto *page = new QWidget(tabs);
        page->setObjectName(QLatin1String(name));
        auto *pl = new QVBoxLayout(page);
        pl->addWidget(panel);
        tabs->addTab(page, QString::fromUtf8(caption));
    }
    setColumnWidths(copies_->grid(), {90, 90, 110});
    setColumnWidths(issues_->grid(), {90, 110});
    tabs->setCurrentIndex(1);
    return tabs;
}

void GiftSearchScreen::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    updateLanguage();
    QWidget::showEvent(event);
}

void GiftSearchScreen::updateLanguage() { fillStatusList(status_); }

bool GiftSearchScreen::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QPushButton *GiftSearchScreen::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }
QLineEdit *GiftSearchScreen::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

int GiftSearchScreen::currentDocument() const { return currentKey(data_.QAcquisition, "ACQ_ID"); }
int GiftSearchScreen::currentLine() const { return currentKey(data_.QAcquisitionLigne, "ACQ_LIGNE_ID"); }

bool GiftSearchScreen::validated() const
{
    return currentDocument() > 0 && data_.QAcquisition->value(QStringLiteral("ACQ_STATUT")).toInt() == AcqStatus::Validated;
}

bool GiftSearchScreen::lineIncoming() const
{
    return currentDocument() > 0 && incomingDirection(kind_, data_.QAcquisition->value(QStringLiteral("ACQ_SENS")).toInt());
}

void GiftSearchScreen::updateButtons()
{
    const bool document = currentDocument() > 0;
    const bool line = currentLine() > 0;
    Dataset *l = data_.QAcquisitionLigne;
    const bool lines = document && l->isOpen() && l->rowCount() > 0;
    const int status = document ? data_.QAcquisition->value(QStringLiteral("ACQ_STATUT")).toInt() : 0;
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
                  {"BtnGenerer", line && lineIncoming()}};
    for (const auto &s : states)
        if (QPushButton *b = button(s.name))
            b->setEnabled(s.on);
    copies_->setWritable(line);
    issues_->setWritable(line);
}

void GiftSearchScreen::showDocument()
{
    const int id = currentDocument();
    data_.QAcquisitionLigne->close();
    if (id > 0) {
        const SqlText lines = documentLinesSql(id);
        data_.QAcquisitionLigne->open(lines.sql, lines.binds);
        data_.QAcquisitionLigne->fetchAll();
    }
    linesCount_->setText(acq::linesCount(id > 0 ? data_.QAcquisitionLigne->rowCount() : 0));
    showHeld();
}

void GiftSearchScreen::showHeld()
{
    for (Dataset *d : {data_.QExemplaire, data_.QBulletin})
        d->close();
    const GiftLine line = loadGiftLine(data_.db(), currentLine());
    if (line.id > 0) {
        const SqlText copies = lineCopiesSql(line);
        data_.QExemplaire->open(copies.sql, copies.binds);
        const SqlText issues = lineIssuesSql(line);
        data_.QBulletin->open(issues.sql, issues.binds);
    }
    updateButtons();
}

void GiftSearchScreen::Search() { reopen(0); }

void GiftSearchScreen::reopen(int id)
{
    DocumentCriteria c;
    c.type = kind_;
    c.number = field("NUM")->text();
    c.status = status_->currentData().toInt();
    c.year = field("ANNEE")->text();
    SqlText sql;
    QString why;
    if (!documentSearchSql(data_.db().dialect(), c, &sql, &why)) {
        inform(why);
        field("ANNEE")->setFocus();
        return;
    }
    Dataset *q = data_.QAcquisition;
    q->open(sql.sql, sql.binds);
    if (id > 0)
        q->locate(QStringLiteral("ACQ_ID"), id);
    count_->setText(acq::documentsCount(int(kind_), q->recordCount()));
    showDocument();
}

void GiftSearchScreen::BtnInitialiserClick()
{
    for (const char *name : {"NUM", "ANNEE"})
        field(name)->clear();
    status_->setCurrentIndex(0);
    data_.QAcquisition->close();
    count_->clear();
    showDocument();
}

void GiftSearchScreen::refreshDocument(int line)
{
    data_.QAcquisition->refreshRow();
    showDocument();
    if (line > 0)
        data_.QAcquisitionLigne->locate(QStringLiteral("ACQ_LIGNE_ID"), line);
    showHeld();
}

TFrmDonSearch::TFrmDonSearch(TFrmData &frmData, QWidget *parent)
    : GiftSearchScreen(frmData, AcqType::Gift, QStringLiteral("FrmDonSearch"), parent)
{
}

TFrmEchangeSearch::TFrmEchangeSearch(TFrmData &frmData, QWidget *parent)
    : GiftSearchScreen(frmData, AcqType::Exchange, QStringLiteral("FrmEchangeSearch"), parent)
{
}

TFrmDepotSearch::TFrmDepotSearch(TFrmData &frmData, QWidget *parent)
    : GiftSearchScreen(frmData, AcqType::Deposit, QStringLiteral("FrmDepotSearch"), parent)
{
}

} // namespace folian
