#include "acquisitions/widgets/frminventairephysique.h"

#include "acquisitions/core/inventorycampaign.h"
#include "acquisitions/core/inventorypages.h"
#include "acquisitions/core/inventorytexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "base/session.h"
#include "catalogue/widgets/pickers.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/frmhtmlpreview.h"
#include "reports/widgets/printreport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

const char *const lineFields[] = {"NUM1", "NUM2", "TIT", "AUT", "ISBN", "COT"};
const char *const listFields[] = {"MODE", "LOC_ID", "LAN_ID", "TypeDoc"};

} // namespace

TFrmInventairePhysique::TFrmInventairePhysique(TFrmData &frmData, QWidget *parent)
    : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmInventairePhysique"));
    setWindowTitle(QStringLiteral("Inventaire physique"));
    Database &db = data_.db();

    QGroupBox *box = criteriaBox(this);
    box->setObjectName(QStringLiteral("PnlCriteres"));
    auto *g = new QGridLayout(box);
    const auto field = [&](const char *name, const char *caption, int row, int column) {
        auto *edit = new QLineEdit(box);
        edit->setObjectName(QLatin1String(name));
        connect(edit, &QLineEdit::textChanged, this, &TFrmInventairePhysique::DataChange);
        g->addWidget(namedLabel(QByteArray("Lbl") + name, QString::fromUtf8(caption), box), row, column);
        g->addWidget(edit, row, column + 1);
        return edit;
    };
    const auto combo = [&](const char *name, const char *caption, int row, int column) {
        auto *c = new QComboBox(box);
        c->setObjectName(QLatin1String(name));
        // Long labels (locations, types) must not widen the screen beyond a small display.
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(14);
        connect(c, &QComboBox::currentIndexChanged, this, &TFrmInventairePhysique::DataChange);
        g->addWidget(namedLabel(QByteArray("Lbl") + name, QString::fromUtf8(caption), box), row, column);
        g->addWidget(c, row, column + 1);
        return c;
    };

    auto *kind = new QGroupBox(QStringLiteral(" N° inventaire "), box);
    kind->setObjectName(QStringLiteral("GrpNumero"));
    auto *kindRow = new QHBoxLayout(kind);
    numberKind_ = new QButtonGroup(this);
    for (const auto &[name, caption, id] : {std::tuple{"RbExemplaire", "N° exemplaire", 0}, std::tuple{"RbAlternatif", "N° alternatif", 1}}) {
        auto *b = new QRadioButton(QString::fromUtf8(caption), kind);
        b->setObjectName(QLatin1String(name));
        b->setChecked(id == 0);
        numberKind_->addButton(b, id);
        kindRow->addWidget(b);
    }
    g->addWidget(kind, 0, 0, 1, 4);
    field("NUM1", "N° exemplaire :", 1, 0);
    auto *numbers = new QHBoxLayout;
    QComboBox *opr = new QComboBox(box);
    opr->setObjectName(QStringLiteral("OPR"));
    opr->addItems({tr2(QStringLiteral("Egal"), QStringLiteral("يساوي")), tr2(QStringLiteral("Contient"), QStringLiteral("يبدأ بـ")),
                   tr2(QStringLiteral("Interval"), QStringLiteral("مجال")), tr2(QStringLiteral("Supérieur"), QStringLiteral("أكبر من")),
                   tr2(QStringLiteral("Infèrieur"), QStringLiteral("أصغر من"))});
    auto *num2 = new QLineEdit(box);
    num2->setObjectName(QStringLiteral("NUM2"));
    num2->setEnabled(false);
    connect(num2, &QLineEdit::textChanged, this, &TFrmInventairePhysique::DataChange);
    connect(opr, &QComboBox::currentIndexChanged, this, [num2](int i) {
        num2->setEnabled(i == int(NumberOperator::Interval));
    });
    numbers->addWidget(opr);
    numbers->addWidget(num2, 1);
    g->addLayout(numbers, 1, 2, 1, 2);
    const QString suffix = session().LanguageSuffix;
    fillKeyList(combo("MODE", "Mode d'acquisition :", 2, 0), db,
                QStringLiteral("SELECT MOD_ID, MOD_LIBELLE%1 FROM MODE_ACQUISITION ORDER BY MOD_ID").arg(suffix), true);
    fillKeyList(combo("LOC_ID", "Localisation :", 2, 2), db,
                QStringLiteral("SELECT LOC_ID, LOC_LIBELLE FROM LOCALISATION ORDER BY LOC_LIBELLE"), true);
    fillKeyList(combo("LAN_ID", "Langue :", 3, 0), db,
                QStringLiteral("SELECT LAN_ID, LAN_LIBELLE%1 FROM LANGUE ORDER BY LAN_LIBELLE%1").arg(suffix), true);
    fillKeyList(combo("TypeDoc", "Type de document :", 3, 2), db,
                QStringLiteral("SELECT TYP_ID, TYP_LIBELLE%1 FROM TYPE_DOCUMENT ORDER BY TYP_ID").arg(suffix), true);
    auto *dates = new QGroupBox(QStringLiteral(" Date d'acquisition "), box);
    dates->setObjectName(QStringLiteral("GrpDates"));
    dates->setLayout(dateRangeRow(dates, serverToday(db)));
    g->addWidget(dates, 4, 0, 1, 4);
    field("TIT", "Mots du titre :", 5, 0);
    QLineEdit *author = field("AUT", "Auteur :", 5, 2);
    QPushButton *pickAuthor = namedButton("BtnAuteur", QStringLiteral("..."), box);
    connect(pickAuthor, &QPushButton::clicked, this, &TFrmInventairePhysique::BtnAuteurClick);
    g->removeWidget(author);
    auto *authorRow = new QHBoxLayout;
    authorRow->addWidget(author, 1);
    authorRow->addWidget(pickAuthor);
    g->addLayout(authorRow, 5, 3);
    field("ISBN", "ISBN, ISSN... :", 6, 0);
    field("COT", "Cote :", 6, 2);
    QComboBox *sort = combo("TRI", "Tri :", 7, 0);
    sort->addItems({QString(), tr2(QStringLiteral("N° exemplaire"), QStringLiteral("رقم النسخة")),
                    tr2(QStringLiteral("N° notice"), QStringLiteral("رقم البطاقة")), tr2(QStringLiteral("Cote"), QStringLiteral("الرمز"))});
    disconnect(sort, nullptr, this, nullptr);
    connect(sort, &QComboBox::currentIndexChanged, this, &TFrmInventairePhysique::OrderChange);
    searchButtons(g, box, [this] { Search(); }, [this] { Clear(); });

    Dataset *copies = data_.QExemplaire;
    model_ = new DatasetModel(copies, this);
    model_->setColumns({QStringLiteral("INV_INVENTORIE"), QStringLiteral("INV_NUMERO"), QStringLiteral("EXP_DATE_ACQUISITION"),
                        QStringLiteral("INV_TITRE"), QStringLiteral("INV_AUTEUR"), QStringLiteral("INV_EDITEUR"),
                        QStringLiteral("INV_ANNEE"), QStringLiteral("INV_EDITION"), QStringLiteral("INV_LIEU"),
                        QStringLiteral("INV_MODE"), QStringLiteral("INV_STATUT"), QStringLiteral("INV_FOURNISSEUR"),
                        QStringLiteral("INV_ACHAT"), QStringLiteral("EXP_PRIX"), QStringLiteral("EXP_COTE"),
                        QStringLiteral("INV_LOCALISATION")},
                       {QStringLiteral("Inventorié"), QStringLiteral("N° inventaire"), QStringLiteral("Date acquisition"),
                        QStringLiteral("Titre"), QStringLiteral("Auteur"), QStringLiteral("Editeur"),
                        QStringLiteral("Date d'édition"), QStringLiteral("Edition"), QStringLiteral("Lieu d'édition"),
                        QStringLiteral("Mode d'acquisition"), QStringLiteral("Statut"), QStringLiteral("Fournisseur"),
                        QStringLiteral("N° achat"), QStringLiteral("Prix"), QStringLiteral("Cote"),
                        QStringLiteral("Localisation")});
    grid_ = acqGrid("DBInventaire", model_, this);
    setColumnWidths(grid_, {80, 100, 90, 240, 150, 120, 70, 70, 100, 110, 90, 120, 80, 70, 90});
    connect(grid_, &QTableView::doubleClicked, this, &TFrmInventairePhysique::DBInventaireDblClick);

    auto *bottom = new QHBoxLayout;
    count_ = valueLabel("PnlCount", this);
    count_->setText(inv::searchResult());
    bottom->addWidget(count_, 1);
    const struct {
        const char *name, *caption;
        void (*move)(Dataset *);
    } moves[] = {{"BtnFirst", "|<", [](Dataset *d) { d->first(); }},
                 {"BtnPrior", "<", [](Dataset *d) { d->prior(); }},
                 {"BtnNext", ">", [](Dataset *d) { d->next(); }},
                 {"BtnLast", ">|", [](Dataset *d) { d->last(); }}};
    for (const auto &m : moves) {
        QPushButton *b = namedButton(m.name, QString::fromUtf8(m.caption), this);
        connect(b, &QPushButton::clicked, this, [this, move = m.move] {
            if (data_.QExemplaire->isOpen())
                move(data_.QExemplaire);
            ShowCurrentRow(grid_, data_.QExemplaire);
            showPosition();
        });
        bottom->addWidget(b);
    }
    position_ = valueLabel("PnlPosition", this);
    bottom->addWidget(position_);
    QPushButton *printButton = namedButton("BtnImprimer", QStringLiteral("Imprimer"), this);
    auto *menu = new QMenu(printButton);
    menu->setObjectName(QStringLiteral("PopupImprimer"));
    const struct {
        const char *name;
        QString caption;
        int page;
    } pages[] = {{"MnuClassique", inv::registerTitle(), int(InventoryPage::Register)},
                 {"MnuPhysique", inv::checkTitle(), int(InventoryPage::Check)},
                 {"MnuEcarts", inv::discrepanciesTitle(), int(InventoryPage::Discrepancies)},
                 {"MnuCampagne", inv::campaignTitle(), -1}};
    for (const auto &p : pages) {
        QAction *a = menu->addAction(p.caption);
        a->setObjectName(QLatin1String(p.name));
        connect(a, &QAction::triggered, this, [this, page = p.page] { print(page); });
    }
    printButton->setMenu(menu);
    bottom->addWidget(printButton);
    QPushButton *campaign = namedButton("BtnCampagne", QStringLiteral("Nouvelle campagne"), this);
    connect(campaign, &QPushButton::clicked, this, &TFrmInventairePhysique::StartCampaign);
    bottom->addWidget(campaign);
    QPushButton *file = namedButton("BtnFichier", QStringLiteral("Lire un fichier"), this);
    connect(file, &QPushButton::clicked, this, &TFrmInventairePhysique::ReadScannerFile);
    bottom->addWidget(file);
    progress_ = new ProgressPanel(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);
    layout->addWidget(progress_);
    FollowCurrentRow(grid_, copies, [this] { showPosition(); });
    DataChange();
}

void TFrmInventairePhysique::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
    // The number first: where a scanner or the operator types.
    line("NUM1")->setFocus();
}

bool TFrmInventairePhysique::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QLineEdit *TFrmInventairePhysique::line(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QComboBox *TFrmInventairePhysique::list(const char *name) const { return findChild<QComboBox *>(QLatin1String(name)); }

InventoryCriteria TFrmInventairePhysique::criteria() const
{
    InventoryCriteria c;
    c.numberColumn = numberKind_->checkedId() == 1 ? InventoryNumber::Alternative : InventoryNumber::Copy;
    c.numberOperator = NumberOperator(list("OPR")->currentIndex());
    c.number = line("NUM1")->text();
    if (c.numberOperator == NumberOperator::Interval)
        c.number2 = line("NUM2")->text();
    c.mode = chosenKey(list("MODE"));
    c.location = chosenKey(list("LOC_ID")).toString();
    c.language = chosenKey(list("LAN_ID")).toString();
    c.type = chosenKey(list("TypeDoc")).toString();
    readDateRange(this, &c.from, &c.to);
    c.titleWords = line("TIT")->text();
    c.author = line("AUT")->text();
    c.standardNumber = line("ISBN")->text();
    c.shelfMark = line("COT")->text();
    c.sort = InventorySort(list("TRI")->currentIndex());
    return c;
}

void TFrmInventairePhysique::DataChange()
{
    if (!progress_)
        return;  // still being made
    const bool any = !criteria().isEmpty();
    for (const char *name : {"BtnRechercher", "BtnCampagne"})
        if (auto *b = findChild<QPushButton *>(QLatin1String(name)))
            b->setEnabled(any);
}

void TFrmInventairePhysique::Search()
{
    const InventoryCriteria c = criteria();
    Dataset *d = data_.QExemplaire;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    total_ = countInventory(data_.db(), c, &why);
    const SqlCondition q = inventoryQuery(data_.db().dialect(), c);
    const bool opened = total_ >= 0 && d->open(q.sql, q.binds);
    QApplication::restoreOverrideCursor();
    if (!opened) {
        count_->setText(inv::searchResult());
        position_->clear();
        return;
    }
    count_->setText(inv::copiesCount(total_));
    ShowCurrentRow(grid_, d);
    showPosition();
}

// The database sorts the result again, so that the pages not read yet follow in order.
void TFrmInventairePhysique::OrderChange()
{
    if (data_.QExemplaire->isOpen())
        Search();
}

void TFrmInventairePhysique::Clear()
{
    for (const char *name : lineFields)
        line(name)->clear();
    for (const char *name : listFields)
        list(name)->setCurrentIndex(0);
    list("OPR")->setCurrentIndex(0);
    list("TRI")->setCurrentIndex(0);
    clearDateRange(this);
    count_->setText(inv::searchResult());
    position_->clear();
    DataChange();
}

void TFrmInventairePhysique::showPosition()
{
    const Dataset *d = data_.QExemplaire;
    if (!d->isOpen() || d->rowCount() == 0) {
        position_->clear();
        return;
    }
    position_->setText(inv::position(d->currentRow() + 1, total_));
}

void TFrmInventairePhysique::DBInventaireDblClick()
{
    Dataset *d = data_.QExemplaire;
    if (!d->isOpen() || d->rowCount() == 0)
        return;
    const AcqResult r = toggleInventoried(data_.db(), d->value(QStringLiteral("EXP_ID")).toString(),
                                          d->value(QStringLiteral("EXP_INVENTORIE")));
    // The row as it is now, whether this workstation or another one changed it.
    d->refreshRow();
    if (!r.passed)
        error(r.message);
}

void TFrmInventairePhysique::BtnAuteurClick()
{
    PickRequest request;
    request.list = PickList::Heading;
    request.mode = 7;
    request.text = line("AUT")->text();
    const Picked p = pick(this, data_, request);
    if (p.ok())
        line("AUT")->setText(p.name);
}

void TFrmInventairePhysique::print(int page)
{
    Database &db = data_.db();
    QWidget *button = findChild<QPushButton *>(QStringLiteral("BtnImprimer"));
    if (page >= 0) {
        PrintReport(db, inventoryPageReport(db, InventoryPage(page), criteria()), this, progress_, button);
        return;
    }
    const int campaign = latestCampaign(db);
    if (campaign <= 0) {
        error(inv::noCampaign());
        return;
    }
    const ReportResult r = writeCampaignSummary(db, campaign);
    if (r.written())
        TFrmHTMLPreview::showFile(inv::campaignTitle(), r.path, this);
    else
        error(r.message);
}

void TFrmInventairePhysique::StartCampaign()
{
    const InventoryCriteria c = criteria();
    QString why;
    const qint64 n = countInventory(data_.db(), c, &why);
    if (n < 0 || !confirm(inv::startQuestion(n)))
        return;
    const AcqResult r = startCampaign(data_.db(), c);
    if (!r.passed) {
        error(r.message);
        return;
    }
    inform(inv::campaignStarted(r.key, n));
    Search();
}

void TFrmInventairePhysique::ReadScannerFile()
{
    Database &db = data_.db();
    const int campaign = latestCampaign(db);
    if (campaign <= 0) {
        error(inv::noCampaign());
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, tr2(QStringLiteral("Fichier du lecteur"), QStringLiteral("ملف القارئ")));
    if (path.isEmpty())
        return;
    progress_->setBusy(true);
    const ScanReport r = markScannedFile(db, campaign, path, progress_);
    progress_->setBusy(false);
    const QString counts = inv::scanSummary(r.found, r.unknown, r.duplicates, r.misplaced, r.lent);
    if (r.passed)
        inform(counts);
    else
        error(r.message + u'\n' + counts);
    if (data_.QExemplaire->isOpen())
        Search();
}

} // namespace folian
