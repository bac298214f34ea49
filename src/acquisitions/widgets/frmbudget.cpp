#include "acquisitions/widgets/frmbudget.h"

#include "acquisitions/core/budgets.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/pickerdialog.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

// Who and when, as the stamps of the current budget show them.
QString stampText(const QString &who, const QDateTime &when)
{
    return who + (when.isValid() ? u' ' + QLocale().toString(when.date(), QLocale::ShortFormat) : QString());
}

} // namespace

TFrmBudget::TFrmBudget(TFrmData &frmData, Mode mode, QWidget *parent) : QWidget(parent), data_(frmData), mode_(mode)
{
    setObjectName(QStringLiteral("FrmBudget"));
    setWindowTitle(QStringLiteral("Gestion de budget"));
    for (Dataset *d : {data_.QBudget, data_.QChapitre, data_.QEngagement, data_.QTransfert})
        d->close();

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PgcBudget"));
    tabs_->addTab(buildPage("TabChapitres", "DBGridChapitre", data_.QChapitre,
                            {QStringLiteral("CHP_INTITULE"), QStringLiteral("CHP_MONTANT"), QStringLiteral("CHP_DEBIT")},
                            {QStringLiteral("Intitulé"), QStringLiteral("Montant"), QStringLiteral("Débit")},
                            {{"BtnNouveauChapitre", &TFrmBudget::BtnNouveauChapitreClick},
                             {"BtnModifierChapitre", &TFrmBudget::BtnModifierChapitreClick},
                             {"BtnSupprimerChapitre", &TFrmBudget::BtnSupprimerChapitreClick}},
                            &chaptersCount_),
                  QStringLiteral("Chapitres"));
    tabs_->addTab(buildPage("TabEngagements", "DBGridEngagement", data_.QEngagement,
                            {QStringLiteral("ENG_ID"), QStringLiteral("CHP_INTITULE"), QStringLiteral("ENG_DATE"),
                             QStringLiteral("ENG_MODE_PAIEMENT"), QStringLiteral("ENG_NUMERO_PAIEMENT"),
                             QStringLiteral("ENG_DATE_PAIEMENT"), QStringLiteral("ENG_MONTANT"), QStringLiteral("ENG_DEBIT")},
                            {QStringLiteral("N°"), QStringLiteral("Chapitre"), QStringLiteral("Date engagement"),
                             QStringLiteral("Mode paiement"), QStringLiteral("N° paiement"), QStringLiteral("Date paiement"),
                             QStringLiteral("Montant"), QStringLiteral("Débit")},
                            {{"BtnNouvelEngagement", &TFrmBudget::BtnNouvelEngagementClick},
                             {"BtnModifierEngagement", &TFrmBudget::BtnModifierEngagementClick},
                             {"BtnSupprimerEngagement", &TFrmBudget::BtnSupprimerEngagementClick},
                             {"BtnChoisir", &TFrmBudget::BtnChoisirClick}},
                            &commitmentsCount_),
                  QStringLiteral("Engagements"));
    tabs_->addTab(buildPage("TabTransferts", "DBGridTransfert", data_.QTransfert,
                            {QStringLiteral("SOURCE"), QStringLiteral("DESTINATION"), QStringLiteral("TRS_MONTANT")},
                            {QStringLiteral("Chapitre source"), QStringLiteral("Chapitre destination"), QStringLiteral("Montant")},
                            {{"BtnNouveauTransfert", &TFrmBudget::BtnNouveauTransfertClick},
                             {"BtnModifierTransfert", &TFrmBudget::BtnModifierTransfertClick},
                             {"BtnSupprimerTransfert", &TFrmBudget::BtnSupprimerTransfertClick}},
                            &transfersCount_),
                  QStringLiteral("Transferts"));
    connect(grid("DBGridEngagement"), &QTableView::doubleClicked, this, &TFrmBudget::BtnModifierEngagementClick);
    setColumnWidths(grid("DBGridChapitre"), {320, 120});
    setColumnWidths(grid("DBGridEngagement"), {50, 200, 110, 130, 110, 110, 100});
    setColumnWidths(grid("DBGridTransfert"), {260, 260});
    // Picking a commitment starts on the chapters, to see what each has left.
    tabs_->setCurrentIndex(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildBudgets(), 2);
    layout->addWidget(tabs_, 3);

    FollowCurrentRow(grid("DBGridBudget"), data_.QBudget, [this] { updateButtons(); });
    connect(data_.QBudget, &Dataset::currentChanged, this, [this] { showBudget(); });
    for (const char *name : {"DBGridChapitre", "DBGridEngagement", "DBGridTransfert"})
        FollowCurrentRow(grid(name), qobject_cast<DatasetModel *>(grid(name)->model())->dataset(), [this] { updateButtons(); });
    updateButtons();
}

QWidget *TFrmBudget::buildBudgets()
{
    auto *area = new QWidget(this);
    QGroupBox *box = criteriaBox(area);
    auto *criteria = new QHBoxLayout(box);
    year_ = new QLineEdit(box);
    year_->setObjectName(QStringLiteral("EdtAnnee"));
    year_->setMaximumWidth(90);
    QLabel *yearLabel = namedLabel("LblAnnee", QStringLiteral("Année :"), box);
    yearLabel->setBuddy(year_);
    QPushButton *search = namedButton("BtnRechercher", QStringLiteral("Rechercher"), box);
    connect(search, &QPushButton::clicked, this, &TFrmBudget::Search);
    criteria->addWidget(yearLabel);
    criteria->addWidget(year_);
    criteria->addWidget(search);
    criteria->addStretch(1);

    auto *model = new DatasetModel(data_.QBudget, area);
    model->setColumns({QStringLiteral("BUD_ID"), QStringLiteral("BUD_MONTANT"), QStringLiteral("BUD_DEBIT")},
                      {QStringLiteral("Année"), QStringLiteral("Montant"), QStringLiteral("Débit")});
    model->setDisplay(QStringLiteral("BUD_MONTANT"), moneyText);
    model->setDisplay(QStringLiteral("BUD_DEBIT"), moneyText);
    QTableView *budgets = acqGrid("DBGridBudget", model, area);
    setColumnWidths(budgets, {90, 160});
    connect(budgets, &QTableView::doubleClicked, this, &TFrmBudget::BtnModifierClick);
    count_ = folian::countLabel("LblCount", area);

    auto *buttons = new QVBoxLayout;
    for (const auto &[name, caption, slot] :
         {std::tuple{"BtnNouveau", "Nouveau", &TFrmBudget::BtnNouveauClick}, std::tuple{"BtnModifier", "Modifier", &TFrmBudget::BtnModifierClick},
          std::tuple{"BtnSupprimer", "Supprimer", &TFrmBudget::BtnSupprimerClick}}) {
        QPushButton *b = namedButton(name, QString::fromUtf8(caption), area);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *stamps = new QGridLayout;
    stamps->addWidget(namedLabel("LblCreation", QStringLiteral("Création :"), area), 0, 0);
    stamps->addWidget(folian::countLabel("LblCreationValeur", area), 0, 1);
    stamps->addWidget(namedLabel("LblMiseAJour", QStringLiteral("Mise à jour :"), area), 1, 0);
    stamps->addWidget(folian::countLabel("LblMiseAJourValeur", area), 1, 1);
    stamps->setColumnStretch(1, 1);
    buttons->addLayout(stamps);

    auto *row = new QHBoxLayout;
    row->addWidget(budgets, 1);
    row->addLayout(buttons);
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(count_);
    layout->addLayout(row, 1);
    return area;
}

QWidget *TFrmBudget::buildPage(const char *pageName, const char *gridName, Dataset *rows, const QStringList &fields,
                               const QStringList &titles,
                               std::initializer_list<std::pair<const char *, void (TFrmBudget::*)()>> actions, QLabel **count)
{
    auto *page = new QWidget(tabs_);
    page->setObjectName(QLatin1String(pageName));
    auto *model = new DatasetModel(rows, page);
    model->setColumns(fields, titles);
    for (const char *amount : {"CHP_MONTANT", "CHP_DEBIT", "ENG_MONTANT", "ENG_DEBIT", "TRS_MONTANT"})
        if (fields.contains(QLatin1String(amount)))
            model->setDisplay(QLatin1String(amount), moneyText);
    QTableView *view = acqGrid(gridName, model, page);
    *count = folian::countLabel(QByteArray(QByteArray("LblCount") + pageName).constData(), page);
    const QHash<QByteArray, const char *> captions{
        {"BtnNouveauChapitre", "Nouveau"},  {"BtnModifierChapitre", "Modifier"},  {"BtnSupprimerChapitre", "Supprimer"},
        {"BtnNouvelEngagement", "Nouveau"}, {"BtnModifierEngagement", "Modifier"}, {"BtnSupprimerEngagement", "Supprimer"},
        {"BtnChoisir", "Choisir"},          {"BtnNouveauTransfert", "Nouveau"},   {"BtnModifierTransfert", "Modifier"},
        {"BtnSupprimerTransfert", "Supprimer"}};
    auto *buttons = new QVBoxLayout;
    for (const auto &[name, slot] : actions) {
        QPushButton *b = namedButton(name, QString::fromUtf8(captions.value(name)), page);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(view, 1);
    row->addLayout(buttons);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(*count);
    layout->addLayout(row, 1);
    return page;
}

int TFrmBudget::pickCommitment(TFrmData &data, QWidget *parent)
{
    auto *screen = new TFrmBudget(data, Mode::Pick);
    PickerDialog dialog(screen, &TFrmBudget::chosen, tr2(QStringLiteral("Gestion de budget"), QStringLiteral("تسيير الميزانية")), parent);
    dialog.resize(900, 600);
    return dialog.exec() == QDialog::Accepted ? screen->chosenCommitment() : 0;
}

void TFrmBudget::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmBudget::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QTableView *TFrmBudget::grid(const char *name) const { return findChild<QTableView *>(QLatin1String(name)); }
QPushButton *TFrmBudget::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }
QLabel *TFrmBudget::label(const char *name) const { return findChild<QLabel *>(QLatin1String(name)); }

int TFrmBudget::keyOf(Dataset *rows, const char *column) const
{
    return rows->isOpen() && rows->rowCount() > 0 && rows->currentRow() >= 0 ? rows->value(QLatin1String(column)).toInt() : 0;
}

int TFrmBudget::currentBudget() const { return keyOf(data_.QBudget, "BUD_ID"); }
int TFrmBudget::currentChapter() const { return keyOf(data_.QChapitre, "CHP_ID"); }
int TFrmBudget::currentCommitment() const { return keyOf(data_.QEngagement, "ENG_ID"); }
int TFrmBudget::currentTransfer() const { return keyOf(data_.QTransfert, "TRS_ID"); }

void TFrmBudget::updateButtons()
{
    const bool budget = currentBudget() > 0, chapters = currentChapter() > 0;
    const struct {
        const char *name;
        bool on;
    } states[] = {{"BtnModifier", budget},
                  {"BtnSupprimer", budget},
                  {"BtnNouveauChapitre", budget},
                  {"BtnModifierChapitre", chapters},
                  {"BtnSupprimerChapitre", chapters},
                  {"BtnNouvelEngagement", chapters},
                  {"BtnModifierEngagement", currentCommitment() > 0},
                  {"BtnSupprimerEngagement", currentCommitment() > 0},
                  {"BtnChoisir", mode_ == Mode::Pick && currentCommitment() > 0},
                  {"BtnNouveauTransfert", data_.QChapitre->isOpen() && data_.QChapitre->rowCount() > 1},
                  {"BtnModifierTransfert", currentTransfer() > 0},
                  {"BtnSupprimerTransfert", currentTransfer() > 0}};
    for (const auto &s : states)
        button(s.name)->setEnabled(s.on);
}

void TFrmBudget::showBudget()
{
    const int year = currentBudget();
    const BudgetRow b = year > 0 ? loadBudget(data_.db(), year) : BudgetRow();
    label("LblCreationValeur")->setText(stampText(b.createdBy, b.created));
    label("LblMiseAJourValeur")->setText(stampText(b.updatedBy, b.updated));
    const struct {
        Dataset *rows;
        SqlText (*sql)(int);
        QLabel *count;
        QString (*counted)(int);
    } lists[] = {{data_.QChapitre, budgetChaptersSql, chaptersCount_, acq::chaptersCount},
                 {data_.QEngagement, budgetCommitmentsSql, commitmentsCount_, acq::commitmentsCount},
                 {data_.QTransfert, budgetTransfersSql, transfersCount_, acq::transfersCount}};
    for (const auto &l : lists) {
        l.rows->close();
        if (year > 0) {
            const SqlText sql = l.sql(year);
            l.rows->open(sql.sql, sql.binds);
            l.rows->fetchAll();
        }
        l.count->setText(l.counted(year > 0 ? l.rows->rowCount() : 0));
    }
    updateButtons();
}

void TFrmBudget::Search() { reopen(0); }

void TFrmBudget::reopen(int year)
{
    const SqlText sql = budgetSearchSql(data_.db().dialect(), year_->text());
    Dataset *q = data_.QBudget;
    q->open(sql.sql, sql.binds);
    if (year > 0)
        q->locate(QStringLiteral("BUD_ID"), year);
    count_->setText(acq::budgetsCount(q->recordCount()));
    showBudget();
}

void TFrmBudget::refreshBudget()
{
    const int chapter = currentChapter(), commitment = currentCommitment(), transfer = currentTransfer();
    data_.QBudget->refreshRow();
    showBudget();
    data_.QChapitre->locate(QStringLiteral("CHP_ID"), chapter);
    data_.QEngagement->locate(QStringLiteral("ENG_ID"), commitment);
    data_.QTransfert->locate(QStringLiteral("TRS_ID"), transfer);
    updateButtons();
}

} // namespace folian
