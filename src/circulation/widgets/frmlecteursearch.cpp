#include "circulation/widgets/frmlecteursearch.h"

#include "base/messages.h"
#include "base/rights.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/readerpages.h"
#include "circulation/core/readerstanding.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "data/widgets/pickerdialog.h"
#include "data/widgets/progresspanel.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/frmhtmlpreview.h"
#include "reports/widgets/printreport.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

// The pages of the value fields, by criterion.
enum Page { TextPage, CategoryPage, StructurePage, DatePage, StatusPage };

Page pageOf(ReaderCriterion c)
{
    switch (c) {
    case ReaderCriterion::Numero:
    case ReaderCriterion::Nom: return TextPage;
    case ReaderCriterion::Categorie: return CategoryPage;
    case ReaderCriterion::Structure: return StructurePage;
    case ReaderCriterion::DateAdhesion: return DatePage;
    case ReaderCriterion::Statut: return StatusPage;
    }
    return TextPage;
}

void openList(Dataset *d, const char *table)
{
    if (!d->isOpen() || d->isEditing())
        d->open(QStringLiteral("SELECT * FROM ") + QLatin1String(table));
}

} // namespace

TFrmLecteurSearch::TFrmLecteurSearch(TFrmData &frmData, Mode mode, QWidget *parent)
    : QWidget(parent), data_(frmData), mode_(mode)
{
    setObjectName(QStringLiteral("FrmLecteurSearch"));
    setWindowTitle(QStringLiteral("Recherche de lecteurs"));

    Dataset *readers = data_.QLecteur;
    model_ = new DatasetModel(readers, this);
    model_->setColumns({QStringLiteral("LEC_ID"), QStringLiteral("LEC_NOM"), QStringLiteral("LEC_PRENOM"),
                        QStringLiteral("LEC_DATE_NAISSANCE"), QStringLiteral("STATUT"), QStringLiteral("CAT_LIBELLE"),
                        QStringLiteral("STR_LIBELLE"), QStringLiteral("LEC_DATE_ADHESION"),
                        QStringLiteral("LEC_OBSERVATION")},
                       {QStringLiteral("Numéro"), QStringLiteral("Nom"), QStringLiteral("Prénom"),
                        QStringLiteral("Date naissance"), QStringLiteral("Statut"), QStringLiteral("Catégorie"),
                        QStringLiteral("Structure"), QStringLiteral("Date d'adhésion"), QStringLiteral("Observation")});
    model_->setRowDisplay(QStringLiteral("STATUT"), [readers](int row) {
        return searchStatusText(readers->valueAt(row, QStringLiteral("LEC_STATUT")),
                                readers->valueAt(row, QStringLiteral("LEC_FIN_PENALITE")),
                                readers->valueAt(row, QStringLiteral("LEC_RETARD")));
    });
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->setSelectionMode(mode_ == Mode::Pick ? QAbstractItemView::SingleSelection
                                                : QAbstractItemView::ExtendedSelection);
    grid_->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {80, 140, 130, 100, 170, 110, 230, 105};
    for (int c = 0; c < int(std::size(widths)); ++c)
        grid_->setColumnWidth(c, widths[c]);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [readers](const QModelIndex &current) {
                if (current.isValid() && current.row() != readers->currentRow() && !readers->isEditing())
                    readers->moveTo(current.row());
            });
    connect(readers, &Dataset::currentChanged, this, [this](int row) {
        if (row >= 0 && row < model_->rowCount() && grid_->currentIndex().row() != row)
            grid_->setCurrentIndex(model_->index(row, 0));
        updateButtons();
    });
    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(readers, signal, this, [this] { updateButtons(); });
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (mode_ == Mode::Pick)
            BtnSelectClick();
        else
            BtnEditClick();
    });

    progress_ = new ProgressPanel(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildOptions());
    layout->addWidget(grid_, 1);
    layout->addWidget(progress_);
    layout->addWidget(buildButtons());

    // An empty list until the first search.
    if (!readers->isEditing())
        run(ReaderSearch{});
    updateButtons();
}

QWidget *TFrmLecteurSearch::buildOptions()
{
    options_ = new QFrame(this);
    options_->setObjectName(QStringLiteral("PnlOption"));
    options_->setFrameShape(QFrame::StyledPanel);

    auto *lblCritere = new QLabel(QStringLiteral("Critères :"), options_);
    lblCritere->setObjectName(QStringLiteral("LblCritere"));
    criterion_ = new QComboBox(options_);
    criterion_->setObjectName(QStringLiteral("CbxCritere"));
    criterion_->addItem(tr2(QStringLiteral("Numéro"), QStringLiteral("الرقم")), int(ReaderCriterion::Numero));
    criterion_->addItem(tr2(QStringLiteral("Nom"), QStringLiteral("اللقب")), int(ReaderCriterion::Nom));
    criterion_->addItem(tr2(QStringLiteral("Catégorie"), QStringLiteral("الفئة")), int(ReaderCriterion::Categorie));
    criterion_->addItem(tr2(QStringLiteral("Structure"), QStringLiteral("الهيكل")), int(ReaderCriterion::Structure));
    criterion_->addItem(tr2(QStringLiteral("Date d'adhésion"), QStringLiteral("تاريخ الانخراط")),
                        int(ReaderCriterion::DateAdhesion));
    criterion_->addItem(tr2(QStringLiteral("Statut"), QStringLiteral("الحالة")), int(ReaderCriterion::Statut));
    lblCritere->setBuddy(criterion_);

    values_ = new QStackedWidget(options_);
    value_ = new QLineEdit(values_);
    value_->setObjectName(QStringLiteral("EdtValeur"));
    setFocusProxy(value_);  // the screen opens ready for the number typed
    category_ = new QComboBox(values_);
    category_->setObjectName(QStringLiteral("CbxCategorie"));
    structure_ = new QComboBox(values_);
    structure_->setObjectName(QStringLiteral("CbxStructure"));
    openList(data_.QCategorie, "CATEGORIE");
    openList(data_.QStructure, "STRUCTURE");
    FieldBinder::fillList(category_, data_.QCategorie, QStringLiteral("CAT_ID"), QStringLiteral("CAT_LIBELLE"));
    FieldBinder::fillList(structure_, data_.QStructure, QStringLiteral("STR_ID"), QStringLiteral("STR_LIBELLE"));
    auto *datePage = new QWidget(values_);
    operator_ = new QComboBox(datePage);
    operator_->setObjectName(QStringLiteral("CbxOperateur"));
    operator_->addItems(dateOperators());
    date_ = new QDateEdit(QDate::currentDate(), datePage);
    date_->setObjectName(QStringLiteral("EdtDate"));
    ConfigureDateField(date_);
    date_->setCalendarPopup(true);
    auto *dl = new QHBoxLayout(datePage);
    dl->setContentsMargins(0, 0, 0, 0);
    dl->addWidget(operator_);
    dl->addWidget(date_, 1);
    status_ = new QComboBox(values_);
    status_->setObjectName(QStringLiteral("CbxStatut"));
    status_->addItems(circ::statusChoices());
    for (QWidget *page : {static_cast<QWidget *>(value_), static_cast<QWidget *>(category_),
                          static_cast<QWidget *>(structure_), datePage, static_cast<QWidget *>(status_)})
        values_->addWidget(page);
    connect(criterion_, &QComboBox::currentIndexChanged, this, [this] {
        values_->setCurrentIndex(pageOf(ReaderCriterion(criterion_->currentData().toInt())));
        focusValue();
    });

    btnSearch_ = namedButton("BtnSearch", QStringLiteral("Rechercher"), options_);
    connect(btnSearch_, &QPushButton::clicked, this, &TFrmLecteurSearch::Search);
    count_ = new QLabel(options_);
    count_->setObjectName(QStringLiteral("LblCount"));
    count_->setProperty("localise", false);

    auto *row = new QHBoxLayout(options_);
    row->addWidget(lblCritere);
    row->addWidget(criterion_);
    row->addWidget(values_, 1);
    row->addWidget(btnSearch_);
    row->addSpacing(12);
    row->addWidget(count_);
    return options_;
}

QWidget *TFrmLecteurSearch::buildButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    Dataset *readers = data_.QLecteur;
    const struct {
        const char *name;
        const char *caption;
        bool (Dataset::*move)();
    } nav[] = {{"BtnFirst", "|<", &Dataset::first}, {"BtnPrior", "<", &Dataset::prior},
               {"BtnNext", ">", &Dataset::next}, {"BtnLast", ">|", &Dataset::last}};
    for (const auto &n : nav) {
        QPushButton *b = namedButton(n.name, QString::fromLatin1(n.caption), bar);
        b->setMaximumWidth(36);
        const auto move = n.move;
        connect(b, &QPushButton::clicked, this, [readers, move] {
            if (!readers->isEditing())
                (readers->*move)();
        });
        row->addWidget(b);
    }
    row->addStretch(1);
    btnSelect_ = namedButton("BtnSelect", QStringLiteral("Choisir"), bar);
    btnEdit_ = namedButton("BtnEdit", QStringLiteral("Modifier"), bar);
    btnDelete_ = namedButton("BtnDelete", QStringLiteral("Supprimer "), bar);
    btnReinscription_ = namedButton("BtnReinscription", QStringLiteral("Réinscription"), bar);
    btnQuitus_ = namedButton("BtnQuitus", QStringLiteral("Quitus"), bar);
    btnPrint_ = namedButton("BtnPrint", QStringLiteral("Imprimer"), bar);
    btnSelect_->setVisible(mode_ == Mode::Pick);
    connect(btnSelect_, &QPushButton::clicked, this, &TFrmLecteurSearch::BtnSelectClick);
    connect(btnEdit_, &QPushButton::clicked, this, &TFrmLecteurSearch::BtnEditClick);
    connect(btnDelete_, &QPushButton::clicked, this, &TFrmLecteurSearch::BtnDeleteClick);
    connect(btnReinscription_, &QPushButton::clicked, this, &TFrmLecteurSearch::BtnReinscriptionClick);
    connect(btnQuitus_, &QPushButton::clicked, this, &TFrmLecteurSearch::BtnQuitusClick);
    connect(btnPrint_, &QPushButton::clicked, this, &TFrmLecteurSearch::BtnPrintClick);
    for (QPushButton *b : {btnSelect_, btnEdit_, btnDelete_, btnReinscription_, btnQuitus_, btnPrint_})
        row->addWidget(b);
    return bar;
}

void TFrmLecteurSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmLecteurSearch::Keyboard(QWidget *control, QKeyEvent *event)
{
    // In the option panel Return searches, as its default button.
    if (control && options_->isAncestorOf(control)
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && control != btnSearch_) {
        Search();
        return true;
    }
    return returnMovesFocus(control, event);
}

void TFrmLecteurSearch::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void TFrmLecteurSearch::setCriterion(ReaderCriterion c)
{
    criterion_->setCurrentIndex(criterion_->findData(int(c)));
}

void TFrmLecteurSearch::focusValue()
{
    QWidget *w = values_->currentWidget();
    if (w == values_->widget(DatePage))
        w = date_;
    w->setFocus();
}

void TFrmLecteurSearch::prefill(const QString &number)
{
    setCriterion(ReaderCriterion::Numero);
    value_->setText(number.trimmed());
    if (!value_->text().isEmpty())
        Search();
}

ReaderSearch TFrmLecteurSearch::criterion() const
{
    ReaderSearch s;
    s.criterion = ReaderCriterion(criterion_->currentData().toInt());
    s.text = value_->text();
    s.key = s.criterion == ReaderCriterion::Categorie ? category_->currentData() : structure_->currentData();
    s.op = operator_->currentText();
    s.date = date_->date();
    s.status = status_->currentIndex() - 1;
    return s;
}

void TFrmLecteurSearch::Search() { run(criterion()); }

void TFrmLecteurSearch::run(const ReaderSearch &s)
{
    Dataset *readers = data_.QLecteur;
    if (readers->isEditing())
        readers->cancel();
    last_ = s;
    const SqlText q = readerSearchSql(data_.db().dialect(), s, serverToday(data_.db()));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!readers->open(q.sql, q.binds)) {
        const SqlText none = readerSearchSql(data_.db().dialect(), ReaderSearch{}, QDate::currentDate());
        readers->open(none.sql, none.binds);
    }
    QApplication::restoreOverrideCursor();
    showCount();
    updateButtons();
}

void TFrmLecteurSearch::refresh()
{
    Dataset *readers = data_.QLecteur;
    const QString id = currentId();
    run(last_);
    if (!id.isEmpty())
        readers->locate(QStringLiteral("LEC_ID"), id);
}

void TFrmLecteurSearch::showCount()
{
    const int n = data_.QLecteur->isOpen() ? data_.QLecteur->recordCount() : 0;
    count_->setText(circ::readersFound(qMax(0, n)));
}

QString TFrmLecteurSearch::countText() const { return count_->text(); }

QString TFrmLecteurSearch::currentId() const
{
    Dataset *readers = data_.QLecteur;
    if (!readers->isOpen() || readers->currentRow() < 0 || readers->state() == Dataset::State::Insert)
        return {};
    return readers->value(QStringLiteral("LEC_ID")).toString();
}

void TFrmLecteurSearch::updateButtons()
{
    Dataset *readers = data_.QLecteur;
    const bool listed = readers->state() == Dataset::State::Browse && readers->rowCount() > 0;
    const bool manage = allowed(Right::CirculLecteur, session());
    const bool picking = mode_ == Mode::Pick;
    btnSelect_->setEnabled(picking && listed);
    btnEdit_->setEnabled(manage && !picking && readers->state() == Dataset::State::Browse);
    btnDelete_->setEnabled(manage && !picking && listed);
    btnReinscription_->setEnabled(manage && listed);
    btnQuitus_->setEnabled(manage && listed);
    btnPrint_->setEnabled(listed);
}

QString TFrmLecteurSearch::pickReader(TFrmData &data, const QString &typed, QWidget *parent)
{
    auto *search = new TFrmLecteurSearch(data, Mode::Pick);
    PickerDialog dialog(search, &TFrmLecteurSearch::chosen,
                        tr2(QStringLiteral("Recherche lecteur"), QStringLiteral("البحث عن قارئ")), parent);
    search->prefill(typed);
    return dialog.exec() == QDialog::Accepted ? search->chosenId() : QString();
}

void TFrmLecteurSearch::BtnSelectClick()
{
    if (mode_ != Mode::Pick)
        return;
    chosen_ = currentId();
    if (!chosen_.isEmpty())
        emit chosen();
}

void TFrmLecteurSearch::BtnEditClick()
{
    if (mode_ == Mode::Pick || !allowed(Right::CirculLecteur, session()))
        return;
    if (currentId().isEmpty())
        emit registerRequested();
    else
        emit updateRequested();
}

void TFrmLecteurSearch::BtnDeleteClick()
{
    if (!btnDelete_->isEnabled())
        return;
    Dataset *readers = data_.QLecteur;
    QStringList ids;
    for (const QModelIndex &i : grid_->selectionModel()->selectedRows())
        ids << readers->valueAt(i.row(), QStringLiteral("LEC_ID")).toString();
    if (ids.isEmpty() && !currentId().isEmpty())
        ids << currentId();
    if (ids.isEmpty() || !confirmIrreversible(circ::deleteReadersQuestion()))
        return;
    // Each reader on his own: one refused does not stop the others.
    QStringList refusals;
    for (const QString &id : std::as_const(ids))
        if (const QString why = deleteReader(data_.db(), id); !why.isEmpty())
            refusals << why;
    run(last_);
    LookupCount(data_.db(), QStringLiteral("LECTEUR"), tr2(QStringLiteral("Lecteurs"), QStringLiteral("القراء")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
    if (!refusals.isEmpty())
        inform(refusals.join(u'\n'));
}

void TFrmLecteurSearch::BtnReinscriptionClick()
{
    const QString id = currentId();
    if (id.isEmpty() || !btnReinscription_->isEnabled())
        return;
    const ReaderChange r = reregisterReader(data_.db(), id, serverToday(data_.db()));
    if (r.done)
        data_.QLecteur->refreshRow();
    inform(r.message);
}

void TFrmLecteurSearch::BtnQuitusClick()
{
    const QString id = currentId();
    if (id.isEmpty() || !btnQuitus_->isEnabled())
        return;
    const ReaderCheck c = checkReader(data_.db(), id, CheckPurpose::Clearance, serverToday(data_.db()));
    if (!c.passed) {
        inform(c.message());
        return;
    }
    btnQuitus_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportResult page = writeClearance(data_.db(), id);
    QApplication::restoreOverrideCursor();
    updateButtons();
    if (page.written())
        TFrmHTMLPreview::showFile(circ::clearanceTitle(), page.path, this);
    else
        error(page.message);
}

void TFrmLecteurSearch::BtnPrintClick()
{
    if (!btnPrint_->isEnabled())
        return;
    Dataset *readers = data_.QLecteur;
    const QString id = currentId();
    PrintReport(data_.db(), readerListReport(*readers), this, progress_, btnPrint_);
    if (!id.isEmpty())
        readers->locate(QStringLiteral("LEC_ID"), id);
}

} // namespace folian
