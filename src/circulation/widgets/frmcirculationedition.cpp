#include "circulation/widgets/frmcirculationedition.h"

#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/widgets/indexsearch.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/printreport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

// The first list of a tab: its table is the table of every list of the tab.
const CirculationEdition &firstEdition(EditionTab tab)
{
    for (const CirculationEdition &e : circulationEditions())
        if (e.tab == tab)
            return e;
    return circulationEditions().first();
}

void showColumns(DatasetModel *model, const CirculationEdition &e)
{
    QStringList fields, titles;
    for (const EditionColumn &c : e.columns) {
        fields << c.field;
        titles << tr2(c.french, c.arabic);
    }
    model->setColumns(fields, titles);
}

QLabel *runtimeLabel(const char *name, bool bold, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setProperty("localise", false);  // written at run time, in the session's language
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

} // namespace

EditionPage::EditionPage(TFrmData &frmData, EditionTab tab, QWidget *parent)
    : QWidget(parent), data_(frmData), tab_(tab)
{
    static const char *const names[] = {"TabDoc", "TabLecteur", "TabPeb"};
    setObjectName(QLatin1String(names[int(tab)]));
    rows_ = new Dataset(data_.db(), QStringLiteral("QEdition"), firstEdition(tab).table, this);
    model_ = new DatasetModel(rows_, this);
    showColumns(model_, firstEdition(tab));

    auto *buttons = new QVBoxLayout;
    for (const CirculationEdition &e : circulationEditions()) {
        if (e.tab != tab)
            continue;
        auto *b = new QPushButton(e.caption, this);
        b->setObjectName(e.button);
        b->setAutoDefault(false);
        const CirculationList list = e.list;
        connect(b, &QPushButton::clicked, this, [this, list] { showList(list); });
        buttons_.insert(int(list), b);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    title_ = runtimeLabel("LblTitre", true, this);
    title_->setAlignment(Qt::AlignCenter);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGridEdition"));
    grid_->setProperty("localise", false);  // its columns follow the list shown
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    FollowCurrentRow(grid_, rows_, {});
    count_ = runtimeLabel("LblCount", true, this);
    search_ = new IndexSearch(this);
    btnPrint_ = new QPushButton(QStringLiteral("Imprimer"), this);
    btnPrint_->setObjectName(QStringLiteral("BtnPrint"));
    btnPrint_->setAutoDefault(false);
    btnPrint_->setEnabled(false);
    connect(btnPrint_, &QPushButton::clicked, this, &EditionPage::BtnPrintClick);
    progress_ = new ProgressPanel(this);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(count_);
    bottom->addSpacing(24);
    bottom->addWidget(search_, 1);
    bottom->addSpacing(24);
    bottom->addWidget(btnPrint_);
    auto *list = new QVBoxLayout;
    list->addWidget(title_);
    list->addWidget(grid_, 1);
    list->addLayout(bottom);
    list->addWidget(progress_);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(list, 1);
}

QPushButton *EditionPage::firstButton() const { return button(firstEdition(tab_).list); }

bool EditionPage::showList(CirculationList list)
{
    const CirculationEdition &e = circulationEdition(list);
    if (e.tab != tab_)
        return false;
    list_ = list;
    QStringList searchFields, searchTitles;
    for (const EditionColumn &c : e.columns) {
        if (c.page.kind == ColumnKind::Text) {
            searchFields << c.field;
            searchTitles << tr2(c.french, c.arabic);
        }
    }
    const SqlText sql = circulationListSql(data_.db().dialect(), list, serverToday(data_.db()));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool ok;
    {
        SilentScope silent;  // a list that cannot be read is shown empty
        ok = rows_->open(sql.sql, sql.binds);
    }
    if (!ok)
        rows_->close();
    showColumns(model_, e);
    for (int c = 0; c < e.columns.size(); ++c)
        grid_->setColumnWidth(c, qMax(grid_->horizontalHeader()->sectionSizeHint(c), e.columns.at(c).page.width + 40));
    QApplication::restoreOverrideCursor();
    title_->setText(e.screenTitle());
    count_->setText(circ::editionResult(ok ? qMax(0, rows_->recordCount()) : 0));
    search_->setList(rows_, searchFields, searchTitles);
    btnPrint_->setEnabled(true);
    if (!ok)
        error(rows_->lastError());
    return ok;
}

QString EditionPage::titleText() const { return title_->text(); }

QString EditionPage::countText() const { return count_->text(); }

void EditionPage::BtnPrintClick()
{
    if (!list_ || !btnPrint_->isEnabled())
        return;
    PrintReport(data_.db(), circulationListReport(data_.db().dialect(), *list_, serverToday(data_.db())), this,
                progress_, btnPrint_);
}

TFrmCirculationEdition::TFrmCirculationEdition(TFrmData &frmData, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmCirculationEdition"));
    setWindowTitle(QStringLiteral("Edition"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    const struct {
        EditionTab tab;
        const char *caption;
    } tabs[] = {{EditionTab::Documents, "Edition Doc"},
                {EditionTab::Readers, "Edition Lecteurs"},
                {EditionTab::InterLibrary, "Edition PEB"}};
    for (const auto &t : tabs) {
        auto *p = new EditionPage(frmData, t.tab, tabs_);
        pages_ << p;
        tabs_->addTab(p, QString::fromLatin1(t.caption));
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

EditionPage *TFrmCirculationEdition::page(EditionTab tab) const { return pages_.at(int(tab)); }

QPushButton *TFrmCirculationEdition::button(CirculationList list) const
{
    return page(circulationEdition(list).tab)->button(list);
}

bool TFrmCirculationEdition::showList(CirculationList list)
{
    EditionPage *p = page(circulationEdition(list).tab);
    tabs_->setCurrentWidget(p);
    return p->showList(list);
}

void TFrmCirculationEdition::focusFirstButton()
{
    tabs_->setCurrentIndex(0);
    if (QPushButton *b = pages_.first()->firstButton())
        b->setFocus();
}

void TFrmCirculationEdition::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

} // namespace folian
