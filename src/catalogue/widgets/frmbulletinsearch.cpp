#include "catalogue/widgets/frmbulletinsearch.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/parentsearch.h"
#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/noticefields.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

QTableView *grid(const char *name, CatalogueGridModel *model, QWidget *parent)
{
    auto *g = new QTableView(parent);
    g->setObjectName(QLatin1String(name));
    g->setModel(model);
    ConfigureGrid(g);
    g->horizontalHeader()->setStretchLastSection(true);
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
    return g;
}

// The grid's row is the dataset's current row.
void follow(QTableView *g, Dataset *d)
{
    QObject::connect(g->selectionModel(), &QItemSelectionModel::currentRowChanged, g, [d](const QModelIndex &i) {
        if (i.isValid() && i.row() != d->currentRow())
            d->moveTo(i.row());
    });
    QObject::connect(d, &Dataset::currentChanged, g, [g](int row) {
        if (row >= 0 && row < g->model()->rowCount() && g->currentIndex().row() != row)
            g->setCurrentIndex(g->model()->index(row, 0));
    });
}

} // namespace

TFrmBulletinSearch::TFrmBulletinSearch(TFrmData &frmData, QWidget *parent) : FormDialog(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmBulletinSearch"));
    setWindowTitle(QStringLiteral("Recherche Bulletin"));
    setModal(true);
    candidates_ = new Dataset(frmData.db(), QStringLiteral("QParentCandidates"), QStringLiteral("NOTICE"), this);
    issues_ = new Dataset(frmData.db(), QStringLiteral("QParentIssues"), QStringLiteral("NOTICE_BULLETIN"), this);

    candidateModel_ = new CatalogueGridModel(candidates_, this);
    candidateModel_->setColumns({QStringLiteral("TYP_ID"), QStringLiteral("DOC_ISBN"), QStringLiteral("DOC_TITRE_PROPRE"),
                                 QStringLiteral("AUTEUR"), QStringLiteral("DOC_ANNEE")},
                                {QStringLiteral("^"), QStringLiteral("ISBN, ISSN..."), QStringLiteral("Titre"),
                                 QStringLiteral("Auteur"), QStringLiteral("Année")});
    Dataset *c = candidates_;
    auto at = [c](int row, const char *field) { return c->valueAt(row, QLatin1String(field)); };
    candidateModel_->setRowDisplay(QStringLiteral("TYP_ID"), [](int) { return QString(); });
    candidateModel_->setRowDisplay(QStringLiteral("DOC_ISBN"), [at](int row) {
        return standardNumberText(at(row, "DOC_ISBN"), at(row, "DOC_ISSN"), at(row, "DOC_NUM"));
    });
    candidateModel_->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [at](int row) {
        return fullTitleText(at(row, "DOC_TITRE_PROPRE"), at(row, "DOC_TITRE_PARALLELE"), at(row, "DOC_TITRE_COMPLEMENT"));
    });
    candidateModel_->setStyler([at](int row, const QString &field, int role) -> QVariant {
        if (role == Qt::DecorationRole && field == QLatin1String("TYP_ID"))
            return documentTypeIcon(at(row, "TYP_ID").toString());
        return {};
    });
    issueModel_ = new CatalogueGridModel(issues_, this);
    issueModel_->setColumns({QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"), QStringLiteral("BUL_STATUT")},
                            {QStringLiteral("N° Bulletin"), QStringLiteral("Date de parution"), QStringLiteral("Reçu")});
    Dataset *b = issues_;
    issueModel_->setRowDisplay(QStringLiteral("BUL_STATUT"), [](int) { return QString(); });
    issueModel_->setStyler([b](int row, const QString &field, int role) -> QVariant {
        if (role == Qt::DecorationRole && field == QLatin1String("BUL_STATUT"))
            return issueReceivedIcon(b->valueAt(row, QStringLiteral("BUL_STATUT")).toInt() == 1);
        return {};
    });

    candidateGrid_ = grid("GrdNotices", candidateModel_, this);
    candidateGrid_->setColumnWidth(0, 28);
    candidateGrid_->setColumnWidth(1, 120);
    candidateGrid_->setColumnWidth(2, 330);
    candidateGrid_->setColumnWidth(3, 170);
    issueGrid_ = grid("GrdBulletins", issueModel_, this);
    issueGrid_->setColumnWidth(0, 110);
    issueGrid_->setColumnWidth(1, 150);
    follow(candidateGrid_, candidates_);
    follow(issueGrid_, issues_);
    connect(candidates_, &Dataset::currentChanged, this, [this] { showIssues(); });
    connect(issueGrid_, &QTableView::doubleClicked, this, &TFrmBulletinSearch::Select);

    candidateCount_ = new QLabel(this);
    candidateCount_->setObjectName(QStringLiteral("PnlNotices"));
    issueCount_ = new QLabel(this);
    issueCount_->setObjectName(QStringLiteral("PnlBulletins"));
    for (QLabel *l : {candidateCount_, issueCount_}) {
        l->setProperty("localise", false);
        l->setFrameShape(QFrame::StyledPanel);
    }

    const SheetButtons buttons = sheetButtons(this, QStringLiteral("BtnSelect"), QStringLiteral("Sélection"));
    btnSelect_ = buttons.post;
    connect(btnSelect_, &QPushButton::clicked, this, &TFrmBulletinSearch::Select);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildCriteria());
    layout->addWidget(candidateCount_);
    layout->addWidget(candidateGrid_, 3);
    layout->addWidget(issueCount_);
    layout->addWidget(issueGrid_, 2);
    layout->addLayout(buttons.row);
    resize(820, 560);
    updateCounts();
}

QWidget *TFrmBulletinSearch::buildCriteria()
{
    auto *box = new QGroupBox(QStringLiteral(" Critères "), this);
    box->setObjectName(QStringLiteral("PnlOption"));
    auto *f = new QFormLayout;
    title_ = new QLineEdit(box);
    title_->setObjectName(QStringLiteral("TIT"));
    number_ = new QLineEdit(box);
    number_->setObjectName(QStringLiteral("NUM"));
    sort_ = new QComboBox(box);
    sort_->setObjectName(QStringLiteral("TRI"));
    for (QLineEdit *e : {title_, number_})
        connect(e, &QLineEdit::returnPressed, this, &TFrmBulletinSearch::Search);
    connect(sort_, &QComboBox::activated, this, [this] {
        if (candidates_->isOpen())
            Search();
    });
    auto label = [box](const char *name, const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, box);
        l->setObjectName(QLatin1String(name));
        l->setBuddy(buddy);
        return l;
    };
    f->addRow(label("LblTIT", QStringLiteral("Mots du titre :"), title_), title_);
    f->addRow(label("LblNUM", QStringLiteral("ISBN, ISSN... :"), number_), number_);
    f->addRow(label("LblTRI", QStringLiteral("Trier par :"), sort_), sort_);
    btnSearch_ = namedButton(QStringLiteral("BtnSearch"), QStringLiteral("Rechercher"), box);
    auto *btnClear = namedButton(QStringLiteral("BtnClear"), QStringLiteral("Initialiser"), box);
    connect(btnSearch_, &QPushButton::clicked, this, &TFrmBulletinSearch::Search);
    connect(btnClear, &QPushButton::clicked, this, &TFrmBulletinSearch::Initialise);
    auto *side = new QVBoxLayout;
    side->addWidget(btnSearch_);
    side->addWidget(btnClear);
    side->addStretch(1);
    auto *row = new QHBoxLayout(box);
    row->addLayout(f, 1);
    row->addLayout(side);
    return box;
}

void TFrmBulletinSearch::afterLocalise()
{
    const int current = qMax(0, sort_->currentIndex());
    sort_->clear();
    sort_->addItem(QString());
    sort_->addItem(tr2(QStringLiteral("Titre"), QStringLiteral("العنوان")));
    sort_->addItem(tr2(QStringLiteral("Année"), QStringLiteral("السنة")));
    sort_->addItem(tr2(QStringLiteral("Date création"), QStringLiteral("تاريخ الإنشاء")));
    sort_->setCurrentIndex(current);
    updateCounts();
}

void TFrmBulletinSearch::Search()
{
    ParentCriteria c;
    c.titleWords = title_->text();
    c.number = number_->text();
    c.sort = ParentSort(qMax(0, sort_->currentIndex()));
    c.language = session().CurrentLanguage;
    const SqlCondition q = parentSearchQuery(data_.db().dialect(), c);
    searchFailed_ = !candidates_->open(q.sql, q.binds);
    showIssues();
    updateCounts();
    candidateGrid_->setFocus();
}

void TFrmBulletinSearch::Initialise()
{
    title_->clear();
    number_->clear();
    sort_->setCurrentIndex(0);
    candidates_->close();
    issues_->close();
    searchFailed_ = false;
    updateCounts();
    title_->setFocus();
}

void TFrmBulletinSearch::showIssues()
{
    const int row = candidates_->isOpen() ? candidates_->currentRow() : -1;
    if (row < 0)
        issues_->close();
    else
        issues_->open(parentIssuesSql(), {candidates_->value(QStringLiteral("DOC_ID"))});
    updateCounts();
}

void TFrmBulletinSearch::updateCounts()
{
    candidateCount_->setText(searchFailed_ ? tr2(QStringLiteral(" Résultat de recherche"), QStringLiteral(" نتيجة البحث"))
                             : candidates_->isOpen()
                                 ? u' ' + QString::number(candidates_->recordCount())
                                       + tr2(QStringLiteral(" notice(s)"), QStringLiteral(" وثيقة"))
                                 : QString());
    issueCount_->setText(issues_->isOpen() ? u' ' + QString::number(issues_->recordCount())
                                                 + tr2(QStringLiteral(" Bulletin(s)"), QStringLiteral(" نسخة"))
                                           : QString());
    btnSelect_->setEnabled(candidates_->isOpen() && candidates_->currentRow() >= 0);
}

void TFrmBulletinSearch::Select()
{
    Dataset *n = data_.QNotice;
    if (!candidates_->isOpen() || candidates_->currentRow() < 0 || !n->isOpen() || n->currentRow() < 0)
        return;
    if (!linkParent(*n, parentChoice(*candidates_, issues_))) {
        error(n->refusal().isEmpty() ? n->lastError() : n->refusal());
        return;
    }
    accept();
}

} // namespace folian
