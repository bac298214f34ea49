#include "catalogue/widgets/frmnoticesearch.h"

#include "base/dates.h"
#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/parentsearch.h"
#include "catalogue/core/recordbasket.h"
#include "catalogue/core/recordresult.h"
#include "catalogue/unimarc/widgets/frmnoticepreview.h"
#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/noticebasket.h"
#include "catalogue/widgets/noticesearchcriteria.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QApplication>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmNoticeSearch::TFrmNoticeSearch(TFrmData &frmData, QWidget *parent)
    : QWidget(parent), data_(frmData), rights_(CataloguerRights::of(frmData.db(), session()))
{
    setObjectName(QStringLiteral("FrmNoticeSearch"));
    setWindowTitle(QStringLiteral("Recherche de documents"));

    criteria_ = new NoticeSearchCriteria(frmData, this);
    setFocusProxy(criteria_->firstCriterion());  // the screen opens ready for the title's words
    connect(criteria_, &NoticeSearchCriteria::changed, this, &TFrmNoticeSearch::updateButtons);
    connect(criteria_, &NoticeSearchCriteria::searchRequested, this, &TFrmNoticeSearch::Search);
    connect(criteria_, &NoticeSearchCriteria::clearRequested, this, &TFrmNoticeSearch::Initialise);
    connect(criteria_, &NoticeSearchCriteria::sortChanged, this, &TFrmNoticeSearch::Resort);
    // The status column shows the label of the status list (opened by the criteria).
    Dataset *statuses = frmData.QStatutNotice;
    const QString label = QStringLiteral("STA_LIBELLE") + session().LanguageSuffix;
    for (int r = 0; statuses->isOpen() && r < statuses->rowCount(); ++r)
        statusLabels_.insert(statuses->valueAt(r, QStringLiteral("STA_ID")).toInt(),
                             statuses->valueAt(r, label).toString());

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PgNotices"));
    pages_->addTab(buildResultPage(), QStringLiteral("Résultat"));
    basket_ = new NoticeBasketPage(frmData.db(), pages_);
    basket_->setObjectName(QStringLiteral("TabPanier"));
    pages_->addTab(basket_, QStringLiteral("Panier"));
    connect(basket_, &NoticeBasketPage::changed, this, &TFrmNoticeSearch::updateButtons);
    connect(pages_, &QTabWidget::currentChanged, this, &TFrmNoticeSearch::updateButtons);

    progress_ = new ProgressPanel(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(criteria_);
    layout->addWidget(pages_, 1);
    layout->addWidget(progress_);
    layout->addWidget(buildButtons());

    // An empty result until the first search.
    if (!frmData.QNotice->isEditing())
        Initialise();
    updateButtons();
}

QWidget *TFrmNoticeSearch::buildResultPage()
{
    auto *page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("TabResultat"));
    count_ = new QLabel(page);
    count_->setObjectName(QStringLiteral("PnlResult"));
    count_->setProperty("localise", false);
    count_->setFrameShape(QFrame::StyledPanel);

    Dataset *n = data_.QNotice;
    model_ = new CatalogueGridModel(n, this);
    model_->setColumns({QStringLiteral("TYP_ID"), QStringLiteral("DOC_ISBN"), QStringLiteral("DOC_TITRE_PROPRE"),
                        QStringLiteral("AUTEUR"), QStringLiteral("DOC_ANNEE"), QStringLiteral("STA_ID"),
                        QStringLiteral("CREATE_DATE")},
                       {QStringLiteral("^"), QStringLiteral("ISBN, ISSN..."), QStringLiteral("Titre"),
                        QStringLiteral("Auteur"), QStringLiteral("Année"), QStringLiteral("Statut"),
                        QStringLiteral("Date de création")});
    auto at = [n](int row, const char *field) { return n->valueAt(row, QLatin1String(field)); };
    model_->setRowDisplay(QStringLiteral("TYP_ID"), [](int) { return QString(); });
    model_->setRowDisplay(QStringLiteral("DOC_ISBN"), [at](int row) {
        return standardNumberText(at(row, "DOC_ISBN"), at(row, "DOC_ISSN"), at(row, "DOC_NUM"));
    });
    model_->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [at](int row) {
        return recordTitleText(at(row, "DOC_TITRE_PROPRE"), at(row, "DOC_TITRE_COMPLEMENT"));
    });
    model_->setRowDisplay(QStringLiteral("STA_ID"), [this, at](int row) {
        const QVariant status = at(row, "STA_ID");
        return status.isNull() ? QString() : statusLabels_.value(status.toInt());
    });
    model_->setDisplay(QStringLiteral("CREATE_DATE"), [](const QVariant &v) {
        return v.isNull() ? QString() : ShowDate(v.toDateTime().date());
    });
    model_->setStyler([at](int row, const QString &field, int role) -> QVariant {
        if (role == Qt::DecorationRole && field == QLatin1String("TYP_ID"))
            return documentTypeIcon(at(row, "TYP_ID").toString());
        return {};
    });

    grid_ = new QTableView(page);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    const int widths[] = {28, 130, 380, 170, 55, 110};
    for (int c = 0; c < int(std::size(widths)); ++c)
        grid_->setColumnWidth(c, widths[c]);
    FollowCurrentRow(grid_, n, [this] { updateButtons(); });
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFrmNoticeSearch::updateButtons);
    connect(grid_, &QTableView::doubleClicked, this, &TFrmNoticeSearch::BtnEditClick);

    auto *l = new QVBoxLayout(page);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(count_);
    l->addWidget(grid_, 1);
    return page;
}

QWidget *TFrmNoticeSearch::buildButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    btnPreview_ = namedButton("BtnPreview", QStringLiteral("Aperçu"), bar);
    btnEdit_ = namedButton("BtnEdit", QStringLiteral("Modifier"), bar);
    btnDelete_ = namedButton("BtnDelete", QStringLiteral("Supprimer"), bar);
    btnAdd_ = namedButton("BtnAdd", QStringLiteral("Mettre dans le panier"), bar);
    btnAddAll_ = namedButton("BtnAddAll", QStringLiteral("Tout mettre dans le panier"), bar);
    btnPrint_ = namedButton("BtnPrint", QStringLiteral("Imprimer"), bar);
    btnExport_ = namedButton("BtnExport", QStringLiteral("Exporter"), bar);
    connect(btnPreview_, &QPushButton::clicked, this, &TFrmNoticeSearch::BtnPreviewClick);
    connect(btnEdit_, &QPushButton::clicked, this, &TFrmNoticeSearch::BtnEditClick);
    connect(btnDelete_, &QPushButton::clicked, this, &TFrmNoticeSearch::BtnDeleteClick);
    connect(btnAdd_, &QPushButton::clicked, this, &TFrmNoticeSearch::BtnAddClick);
    connect(btnAddAll_, &QPushButton::clicked, this, &TFrmNoticeSearch::BtnAddAllClick);
    connect(btnPrint_, &QPushButton::clicked, this, &TFrmNoticeSearch::BtnPrintClick);
    connect(btnExport_, &QPushButton::clicked, this, &TFrmNoticeSearch::BtnExportClick);
    for (QPushButton *b : {btnPreview_, btnEdit_, btnDelete_})
        row->addWidget(b);
    row->addStretch(1);
    for (QPushButton *b : {btnAdd_, btnAddAll_, btnPrint_, btnExport_})
        row->addWidget(b);
    return bar;
}

void TFrmNoticeSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmNoticeSearch::Keyboard(QWidget *control, QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier))
        return true;  // swallowed everywhere
    // In the option panel Return searches, as its default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && control && criteria_->isAncestorOf(control) && !qobject_cast<QPushButton *>(control)) {
        Search();
        return true;
    }
    return returnMovesFocus(control, event);
}

void TFrmNoticeSearch::keyPressEvent(QKeyEvent *event)
{
    // Shown on its own (outside a module frame) the screen routes its keys itself.
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

bool TFrmNoticeSearch::run(const RecordCriteria &c)
{
    SqlCondition q;
    QString why;
    if (!recordResultQuery(data_.db(), c, &q, &why)) {
        error(why);
        criteria_->yearField()->setFocus();
        return false;
    }
    Dataset *n = data_.QNotice;
    if (n->isEditing())
        n->cancel();
    grid_->clearSelection();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    failed_ = !n->open(q.sql, q.binds);
    if (failed_) {
        const SqlCondition none = emptyRecordResult();
        n->open(none.sql, none.binds);
    }
    QApplication::restoreOverrideCursor();
    resultSql_ = n->sql();
    last_ = c;
    searched_ = !failed_ && !c.isEmpty();
    showCount();
    updateButtons();
    return !failed_;
}

void TFrmNoticeSearch::Search()
{
    if (running_ || !criteria_->filled())
        return;
    if (run(criteria_->criteria()) && data_.QNotice->rowCount() > 0)
        grid_->setFocus();
}

void TFrmNoticeSearch::Resort()
{
    if (running_ || !searched_)
        return;
    RecordCriteria c = last_;
    c.sort = criteria_->sort();
    c.sortLanguage = session().CurrentLanguage;
    run(c);
}

void TFrmNoticeSearch::Initialise()
{
    if (running_)
        return;
    criteria_->clear();
    run(RecordCriteria{});
    failed_ = false;
    showCount();
    criteria_->focusFirst();
}

void TFrmNoticeSearch::refreshCurrent()
{
    Dataset *n = data_.QNotice;
    if (n->isEditing())
        n->cancel();
    if (n->sql() != resultSql_) {  // the result was replaced meanwhile: search again
        run(last_);
        return;
    }
    n->refreshRow();
    ShowCurrentRow(grid_, n);
    updateButtons();
    grid_->setFocus();
}

void TFrmNoticeSearch::showCount()
{
    const int n = searched_ && data_.QNotice->isOpen() ? data_.QNotice->recordCount() : -1;
    count_->setText(n < 0 ? tr2(QStringLiteral(" Résultat de recherche"), QStringLiteral(" نتيجة البحث"))
                          : RecordBasket::resultCaption(n));
}

QString TFrmNoticeSearch::countText() const { return count_->text(); }

bool TFrmNoticeSearch::basketShown() const { return pages_->currentWidget() == basket_; }

QList<int> TFrmNoticeSearch::chosenRows() const
{
    QList<int> rows;
    Dataset *n = data_.QNotice;
    if (!searched_ || !n->isOpen())
        return rows;
    for (const QModelIndex &i : grid_->selectionModel()->selectedRows())
        if (i.row() < n->rowCount())
            rows << i.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && n->currentRow() >= 0 && n->state() == Dataset::State::Browse)
        rows << n->currentRow();
    return rows;
}

QList<int> TFrmNoticeSearch::chosenIds() const
{
    QList<int> ids;
    for (int row : chosenRows())
        ids << data_.QNotice->valueAt(row, QStringLiteral("DOC_ID")).toInt();
    return ids;
}

void TFrmNoticeSearch::updateButtons()
{
    Dataset *n = data_.QNotice;
    RecordSearchState s;
    s.criteria = criteria_->filled();
    s.resultRows = searched_ && n->state() == Dataset::State::Browse && n->rowCount() > 0;
    s.current = s.resultRows && n->currentRow() >= 0;
    if (s.current)
        s.currentType = n->value(QStringLiteral("TYP_ID"));
    for (int row : chosenRows())
        s.creators << n->valueAt(row, QStringLiteral("CREATE_USER"));
    s.basketShown = basketShown();
    s.basketRows = !basket_->basket().isEmpty();
    s.running = running_;
    const RecordSearchActions a = recordSearchActions(rights_, s);
    criteria_->searchButton()->setEnabled(a.search);
    criteria_->clearButton()->setEnabled(a.clear);
    btnPreview_->setEnabled(a.preview);
    btnEdit_->setEnabled(a.edit);
    btnDelete_->setEnabled(a.remove);
    btnAdd_->setEnabled(a.addToBasket);
    btnAddAll_->setEnabled(a.addAllToBasket);
    btnPrint_->setEnabled(a.print);
    btnExport_->setEnabled(a.exportRecords);
}

void TFrmNoticeSearch::BtnPreviewClick()
{
    if (!btnPreview_->isEnabled())
        return;
    TFrmNoticePreview::preview(data_, data_.QNotice->value(QStringLiteral("DOC_ID")).toInt(), this);
}

void TFrmNoticeSearch::BtnEditClick()
{
    if (btnEdit_->isEnabled())
        emit editRequested();
}

void TFrmNoticeSearch::BtnAddClick()
{
    if (!btnAdd_->isEnabled())
        return;
    basket_->add(chosenIds());
}

void TFrmNoticeSearch::startRun()
{
    running_ = true;
    basket_->setRunning(true);
    updateButtons();
}

void TFrmNoticeSearch::endRun()
{
    running_ = false;
    basket_->setRunning(false);
    updateButtons();
}

} // namespace folian
