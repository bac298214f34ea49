#include "statistics/widgets/statisticpage.h"

#include "base/messages.h"
#include "catalogue/widgets/pickers.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "data/widgets/uihelpers.h"
#include "reports/widgets/printreport.h"
#include "statistics/core/statexport.h"
#include "statistics/core/statisticstexts.h"
#include "statistics/widgets/statisticmodel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

const char *groupingButton(StatGrouping g)
{
    switch (g) {
    case StatGrouping::Type: return "RbType";
    case StatGrouping::Supplier: return "RbFournisseur";
    case StatGrouping::Month: return "RbMois";
    case StatGrouping::Category: return "RbCategorie";
    case StatGrouping::Structure: return "RbStructure";
    }
    return "";
}

bool hasPeriod(Statistic s)
{
    return s == Statistic::NewAcquisitions || s == Statistic::Acquisitions || s == Statistic::Loans;
}

} // namespace

StatisticPage::StatisticPage(TFrmData &frmData, Statistic statistic, QWidget *parent)
    : QWidget(parent), data_(frmData), statistic_(statistic)
{
    const StatisticDef &def = statisticDef(statistic);
    setObjectName(def.page);
    model_ = new StatisticModel(this);

    title_ = valueLabel("LblTitre", this);
    title_->setAlignment(Qt::AlignCenter);
    source_ = new QLabel(this);
    source_->setObjectName(QStringLiteral("LblSource"));
    source_->setProperty("localise", false);
    source_->setText(stats::sourceText(def.source));
    source_->setWordWrap(true);
    QFont italic = source_->font();
    italic.setItalic(true);
    source_->setFont(italic);

    // The options on rows of their own, so that the page fits a small screen:
    // the limit or the period, then the grouping or the classification with
    // the buttons that read the statistic.
    auto *optionRow = new QHBoxLayout;
    auto *choiceRow = new QHBoxLayout;
    auto *filters = new QGridLayout;
    if (!def.limits.isEmpty())
        addLimit(optionRow);
    if (statistic == Statistic::NewAcquisitions)
        addFilters(filters);
    if (hasPeriod(statistic))
        addPeriod(optionRow);
    if (!def.groupings.isEmpty())
        addGroupings(choiceRow);
    if (statistic == Statistic::Collection || statistic == Statistic::NewAcquisitions)
        addClassification(statistic == Statistic::Collection ? optionRow : choiceRow);
    QHBoxLayout *buttonRow = hasPeriod(statistic) ? choiceRow : optionRow;
    if (hasPeriod(statistic) || statistic == Statistic::Collection) {
        btnSearch_ = namedButton("BtnSearch", "Rechercher", this);
        connect(btnSearch_, &QPushButton::clicked, this, &StatisticPage::run);
        buttonRow->addWidget(btnSearch_);
        if (statistic == Statistic::Collection)
            btnSearch_->setEnabled(false);
    }
    if (statistic == Statistic::NewAcquisitions || statistic == Statistic::Acquisitions) {
        QPushButton *clear = namedButton("BtnClear", "Initialiser", this);
        connect(clear, &QPushButton::clicked, this, &StatisticPage::clearFilters);
        buttonRow->addWidget(clear);
    }
    optionRow->addStretch(1);
    choiceRow->addStretch(1);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGridStat"));
    grid_->setProperty("localise", false);  // its titles are the statistic's
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);

    count_ = valueLabel("LblCount", this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("LblStatus"));
    status_->setProperty("localise", false);
    status_->setStyleSheet(QStringLiteral("color: #b00000"));
    status_->setWordWrap(true);
    btnPrint_ = namedButton("BtnPrint", "Imprimer", this);
    connect(btnPrint_, &QPushButton::clicked, this, &StatisticPage::BtnPrintClick);
    auto *counts = new QHBoxLayout;
    counts->addWidget(count_);
    counts->addWidget(status_, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnPrint_);
    if (statisticLayout(statistic).rateColumn >= 0) {
        btnChart_ = namedButton("BtnGraphe", "Graphe", this);
        connect(btnChart_, &QPushButton::clicked, this, &StatisticPage::BtnGrapheClick);
        bottom->addWidget(btnChart_);
    }
    QPushButton *csv = namedButton("BtnCsv", "CSV...", this);
    QPushButton *xlsx = namedButton("BtnXlsx", "Excel (.xlsx)...", this);
    connect(csv, &QPushButton::clicked, this, [this] { exportAs(false); });
    connect(xlsx, &QPushButton::clicked, this, [this] { exportAs(true); });
    bottom->addWidget(csv);
    bottom->addWidget(xlsx);
    progress_ = new ProgressPanel(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(source_);
    layout->addLayout(filters);
    layout->addLayout(optionRow);
    layout->addLayout(choiceRow);
    layout->addWidget(grid_, 1);
    layout->addLayout(counts);
    layout->addLayout(bottom);
    layout->addWidget(progress_);

    StatisticTable empty;
    empty.statistic = statistic;
    empty.layout = statisticLayout(statistic, options().by);
    model_->setTable(empty);
    title_->setText(empty.layout.title());
    btnPrint_->setEnabled(false);
    if (btnChart_)
        btnChart_->setEnabled(false);
}

void StatisticPage::addLimit(QHBoxLayout *row)
{
    row->addWidget(namedLabel("LblLimite", "Statistique des :", this));
    limit_ = new QComboBox(this);
    limit_->setObjectName(QStringLiteral("CmbLimite"));
    for (int n : statisticDef(statistic_).limits)
        limit_->addItem(QString::number(n), n);
    row->addWidget(limit_);
    row->addWidget(namedLabel("LblPremiers", "premiers", this));
    // Another limit reads the statistic again.
    connect(limit_, &QComboBox::currentIndexChanged, this, [this] { run(); });
}

void StatisticPage::addClassification(QHBoxLayout *row)
{
    row->addWidget(namedLabel("LblClassification", "Classification :", this));
    classification_ = new QLineEdit(this);
    classification_->setObjectName(QStringLiteral("CLA_ID"));
    row->addWidget(classification_);
    QPushButton *choose = namedButton("BtnSelectClassification", "...", this);
    choose->setMaximumWidth(40);
    row->addWidget(choose);
    connect(choose, &QPushButton::clicked, this, [this] {
        const Picked p = pick(this, data_, {PickList::Classification, 2, classification_->text().trimmed() + u'*', {}});
        if (p.ok())
            classification_->setText(p.key.toString());
    });
    if (statistic_ == Statistic::Collection) {
        // Another classification closes the rows of the previous one.
        connect(classification_, &QLineEdit::textChanged, this, [this](const QString &text) {
            btnSearch_->setEnabled(!text.trimmed().isEmpty());
            StatisticTable empty;
            empty.statistic = statistic_;
            empty.layout = model_->table().layout;
            model_->setTable(empty);
            count_->clear();
        });
    }
}

void StatisticPage::addPeriod(QHBoxLayout *row)
{
    row->addWidget(namedLabel("LblDu", "Du :", this));
    from_ = new QDateEdit(this);
    from_->setObjectName(QStringLiteral("DateDebut"));
    ConfigureDateField(from_);
    row->addWidget(from_);
    row->addWidget(namedLabel("LblAu", "Au :", this));
    to_ = new QDateEdit(this);
    to_->setObjectName(QStringLiteral("DateFin"));
    ConfigureDateField(to_);
    row->addWidget(to_);
    const QDate today = serverToday(data_.db());
    setPeriod(QDate(today.year(), today.month(), 1), today);
}

void StatisticPage::addGroupings(QHBoxLayout *row)
{
    row->addWidget(namedLabel("LblPar", " Par :", this));
    groupings_ = new QButtonGroup(this);
    for (StatGrouping g : statisticDef(statistic_).groupings) {
        auto *b = new QRadioButton(groupingName(g), this);
        b->setObjectName(QLatin1String(groupingButton(g)));
        groupings_->addButton(b, int(g));
        row->addWidget(b);
    }
    groupings_->buttons().constFirst()->setChecked(true);
}

QComboBox *StatisticPage::filterBox(const char *name, AcqFilter f)
{
    auto *box = new QComboBox(this);
    box->setObjectName(QLatin1String(name));
    // Long labels (languages, suppliers) do not widen the page.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(16);
    box->addItem(QString(), QVariant());
    for (const auto &[key, text] : filterChoices(data_.db(), f))
        box->addItem(text, key);
    filters_.append({f, box});
    return box;
}

void StatisticPage::addFilters(QGridLayout *grid)
{
    grid->addWidget(namedLabel("LblMode", "Mode d'acq. :", this), 0, 0);
    grid->addWidget(filterBox("MODE", AcqFilter::Mode), 0, 1);
    grid->addWidget(namedLabel("LblType", "Type de document :", this), 0, 2);
    grid->addWidget(filterBox("TYP", AcqFilter::Type), 0, 3);
    grid->addWidget(namedLabel("LblLangue", "Langue :", this), 1, 0);
    grid->addWidget(filterBox("LAN", AcqFilter::Language), 1, 1);
    grid->addWidget(namedLabel("LblFournisseur", "Fournisseur :", this), 1, 2);
    grid->addWidget(filterBox("FOU", AcqFilter::Supplier), 1, 3);
    grid->setColumnStretch(4, 1);
}

StatisticOptions StatisticPage::options() const
{
    StatisticOptions o;
    if (limit_)
        o.limit = limit_->currentData().toInt();
    if (classification_)
        o.classification = classification_->text();
    if (from_) {
        o.from = from_->date();
        o.to = to_->date();
    }
    if (groupings_)
        o.by = StatGrouping(groupings_->checkedId());
    for (const auto &[filter, box] : filters_) {
        const QVariant v = box->currentData();
        switch (filter) {
        case AcqFilter::Mode: o.mode = v; break;
        case AcqFilter::Type: o.type = v; break;
        case AcqFilter::Language: o.language = v; break;
        case AcqFilter::Supplier: o.supplier = v; break;
        }
    }
    return o;
}

void StatisticPage::setLimit(int limit)
{
    if (limit_)
        limit_->setCurrentIndex(limit_->findData(limit));
}

void StatisticPage::setPeriod(const QDate &from, const QDate &to)
{
    if (!from_)
        return;
    from_->setDate(from);
    to_->setDate(to);
}

void StatisticPage::setGrouping(StatGrouping by)
{
    if (groupings_)
        if (QAbstractButton *b = groupings_->button(int(by)))
            b->setChecked(true);
}

void StatisticPage::setClassification(const QString &text)
{
    if (classification_)
        classification_->setText(text);
}

void StatisticPage::clearFilters()
{
    for (const auto &[filter, box] : filters_)
        box->setCurrentIndex(0);
    if (classification_)
        classification_->clear();
    if (from_) {
        const QDate today = serverToday(data_.db());
        setPeriod(QDate(today.year(), today.month(), 1), today);
    }
    if (groupings_)
        groupings_->buttons().constFirst()->setChecked(true);
}

bool StatisticPage::run()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StatisticOptions o = options();
    o.pageRows = StatisticPageRows;
    const StatisticTable t = computeStatistic(data_.db(), statistic_, o);
    // A full first page may have more after it: the count says how many.
    QString why;
    const qint64 total = t.ok && t.rows.size() == o.pageRows ? countStatistic(data_.db(), statistic_, options(), &why)
                                                              : qint64(t.rows.size());
    model_->setFirstPage(data_.db(), t, total);
    QApplication::restoreOverrideCursor();
    showResult();
    return t.ok;
}

void StatisticPage::showResult()
{
    const StatisticTable &t = model_->table();
    title_->setText(t.layout.title());
    for (int c = 0; c < t.layout.columns.size(); ++c)
        grid_->setColumnWidth(c, qMax(grid_->horizontalHeader()->sectionSizeHint(c), qMin(t.layout.columns.at(c).page.width, 400) + 20));
    status_->setText(t.ok ? QString() : t.message);
    const int rows = int(model_->total());
    switch (statistic_) {
    case Statistic::NewAcquisitions: count_->setText(t.ok ? stats::recordsFound(rows) : stats::searchResult()); break;
    case Statistic::Acquisitions: count_->setText(t.ok ? stats::titlesFound(rows) : stats::searchResult()); break;
    default: count_->setText(t.ok ? QString::number(rows) : QString()); break;
    }
    btnPrint_->setEnabled(t.ok);
    if (btnChart_)
        btnChart_->setEnabled(t.ok);
}

const StatisticTable &StatisticPage::table() const { return model_->table(); }

StatisticTable StatisticPage::wholeTable() const
{
    const StatisticTable &read = model_->table();
    if (!read.ok || read.rows.size() >= model_->total())
        return read;
    StatisticOptions o = read.options;
    o.offset = o.pageRows = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StatisticTable whole = computeStatistic(data_.db(), statistic_, o);
    QApplication::restoreOverrideCursor();
    return whole;
}

QString StatisticPage::countText() const { return count_->text(); }

QString StatisticPage::statusText() const { return status_->text(); }

void StatisticPage::BtnPrintClick()
{
    if (!btnPrint_->isEnabled())
        return;
    PrintReport(data_.db(), statisticReport(wholeTable()), this, progress_, btnPrint_);
}

void StatisticPage::BtnGrapheClick()
{
    if (btnChart_ && btnChart_->isEnabled())
        emit chartRequested(chartData(wholeTable()));
}

bool StatisticPage::exportTo(const QString &path, bool workbook)
{
    const StatisticTable whole = wholeTable();
    const ExportResult r = workbook ? writeStatisticXlsx(whole, path) : writeStatisticCsv(whole, path);
    status_->setText(r.ok ? QString() : r.message);
    if (!r.ok)
        error(r.message);
    return r.ok;
}

void StatisticPage::exportAs(bool workbook)
{
    if (!model_->table().ok)
        return;
    const QString base = QFileInfo(model_->table().layout.fileName).completeBaseName();
    const QString path = QFileDialog::getSaveFileName(
        this, QString(), base + (workbook ? QStringLiteral(".xlsx") : QStringLiteral(".csv")),
        workbook ? QStringLiteral("Excel (*.xlsx)") : QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        exportTo(path, workbook);
}

} // namespace folian
