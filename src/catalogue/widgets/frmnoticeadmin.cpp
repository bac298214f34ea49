#include "catalogue/widgets/frmnoticeadmin.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/references.h"
#include "catalogue/widgets/hosting.h"
#include "catalogue/widgets/listmodel.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace folian {

// A grid whose cell being typed into can be taken before the row is saved.
class EditGrid : public QTableView
{
public:
    using QTableView::QTableView;
    // Writes the cell being typed into and closes its editor; `keep` false drops it.
    void finishEditing(bool keep)
    {
        if (state() != QAbstractItemView::EditingState)
            return;
        for (QWidget *editor : viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!editor->isVisible())
                continue;
            if (keep)
                commitData(editor);
            closeEditor(editor, keep ? QAbstractItemDelegate::NoHint : QAbstractItemDelegate::RevertModelCache);
        }
    }
};

namespace {

struct PageDef {
    NoticeAdminPage page;
    RefTable table;
    const char *grid;
    const char16_t *french, *arabic;  // the module's command
    QStringList columns;
    QStringList titles;
    QStringList labels;  // French label, then Arabic label (searched)
};

QStringList strings(std::initializer_list<const char16_t *> list)
{
    QStringList out;
    for (const char16_t *s : list)
        out << QString::fromUtf16(s);
    return out;
}

const QList<PageDef> &pageDefs()
{
    static const QList<PageDef> defs{
        {NoticeAdminPage::DocumentTypes, RefTable::DocumentType, "GrdTypeDocument", u"Types de documents",
         u"أنواع الوثائق", strings({u"TYP_LIBELLE", u"TYP_LIBELLE_AR", u"TYP_REP_ARCHIVAGE"}),
         strings({u"Libellé", u"Libellé (AR)", u"Répertoire d'archivage"}), strings({u"TYP_LIBELLE", u"TYP_LIBELLE_AR"})},
        {NoticeAdminPage::Supports, RefTable::Support, "GrdSupport", u"Types de supports", u"أنواع الحوامل",
         strings({u"SUP_LIBELLE", u"SUP_LIBELLE_AR"}), strings({u"Libellé", u"Libellé (AR)"}),
         strings({u"SUP_LIBELLE", u"SUP_LIBELLE_AR"})},
        {NoticeAdminPage::Languages, RefTable::Language, "GrdLangue", u"Langues", u"اللغات",
         strings({u"LAN_ID", u"LAN_LIBELLE", u"LAN_LIBELLE_AR"}), strings({u"Code", u"Libellé", u"Libellé (AR)"}),
         strings({u"LAN_LIBELLE", u"LAN_LIBELLE_AR"})},
        {NoticeAdminPage::Countries, RefTable::Country, "GrdPays", u"Pays", u"البلدان",
         strings({u"PAY_ID", u"PAY_LIBELLE", u"PAY_LIBELLE_AR"}), strings({u"Code", u"Libellé", u"Libellé (AR)"}),
         strings({u"PAY_LIBELLE", u"PAY_LIBELLE_AR"})},
        {NoticeAdminPage::Periodicities, RefTable::Periodicity, "GrdPeriodicite", u"Périodicités", u"فترات الصدور",
         strings({u"PER_ID", u"PER_LIBELLE", u"PER_LIBELLE_AR"}), strings({u"Code", u"Libellé", u"Libellé (AR)"}),
         strings({u"PER_LIBELLE", u"PER_LIBELLE_AR"})},
        {NoticeAdminPage::Functions, RefTable::Function, "GrdFonction", u"Fonctions auteurs", u"وظائف المؤلفين",
         strings({u"FON_ID", u"FON_LIBELLE", u"FON_ABREVIATION", u"FON_LIBELLE_AR", u"FON_ABREVIATION_AR"}),
         strings({u"Code", u"Libellé", u"Abréviation", u"Libellé (AR)", u"Abréviation (AR)"}),
         strings({u"FON_LIBELLE", u"FON_LIBELLE_AR"})},
        {NoticeAdminPage::Diplomas, RefTable::Diploma, "GrdDiplome", u"Diplômes", u"الشهادات",
         strings({u"DIP_LIBELLE", u"DIP_LIBELLE_AR"}), strings({u"Libellé", u"Libellé (AR)"}),
         strings({u"DIP_LIBELLE", u"DIP_LIBELLE_AR"})},
        {NoticeAdminPage::Specialities, RefTable::Speciality, "GrdSpecialite", u"Spécialités", u"التخصصات",
         strings({u"SPE_LIBELLE", u"SPE_LIBELLE_AR"}), strings({u"Libellé", u"Libellé (AR)"}),
         strings({u"SPE_LIBELLE", u"SPE_LIBELLE_AR"})},
        {NoticeAdminPage::Locations, RefTable::Location, "GrdLocalisation", u"Localisations", u"أماكن الحفظ",
         strings({u"LOC_ID", u"LOC_LIBELLE"}), strings({u"Code", u"Libellé"}), strings({u"LOC_LIBELLE"})},
    };
    return defs;
}

const PageDef &pageDef(NoticeAdminPage p)
{
    for (const PageDef &d : pageDefs())
        if (d.page == p)
            return d;
    return pageDefs().first();
}

} // namespace

QString noticeAdminTitle(NoticeAdminPage page, bool arabic)
{
    const PageDef &d = pageDef(page);
    return arabic ? QStringLiteral("الفهرسة - ") + QString::fromUtf16(d.arabic)
                  : QStringLiteral("Catalogage - ") + QString::fromUtf16(d.french);
}

TFrmNoticeAdmin::TFrmNoticeAdmin(TFrmData &frmData, NoticeAdminPage page, QWidget *parent)
    : QWidget(parent), data_(frmData), page_(page)
{
    setObjectName(QStringLiteral("FrmNoticeAdmin"));
    setWindowTitle(QStringLiteral("Mise à jour des tables"));

    auto *lbl = new QLabel(QStringLiteral("Rechercher :"), this);
    lbl->setObjectName(QStringLiteral("LblSearch"));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("EdtSearch"));
    lbl->setBuddy(search_);
    connect(search_, &QLineEdit::textEdited, this, &TFrmNoticeAdmin::Search);
    auto *top = new QHBoxLayout;
    top->addWidget(lbl);
    top->addWidget(search_, 1);

    // Every page is built (their captions are localised with the form); the caller's is opened.
    pages_ = new QStackedWidget(this);
    const bool editable = mayManageCodeTables(session());
    for (const PageDef &d : pageDefs()) {
        Dataset *set = data_.query(QLatin1String(refTableDef(d.table).query));
        auto *grid = new EditGrid(pages_);
        grid->setObjectName(QLatin1String(d.grid));
        auto *model = new ListModel(set, grid);
        model->setColumns(d.columns, d.titles);
        if (editable)
            model->setEditable(d.columns);
        grid->setModel(model);
        ConfigureGrid(grid);
        grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed);
        grid->horizontalHeader()->setStretchLastSection(true);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        for (int c = 0; c < d.columns.size(); ++c)
            grid->setColumnWidth(c, d.columns.at(c).endsWith(QLatin1String("_ID")) ? 90 : 240);
        pages_->addWidget(grid);
        if (d.page == page_) {
            grid_ = grid;
            dataset_ = set;
        }
    }
    pages_->setCurrentWidget(grid_);

    auto button = [this](const char *name, const char16_t *caption) {
        auto *b = new QPushButton(QString::fromUtf16(caption), this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    btnAppend_ = button("BtnAppend", u"Nouveau");
    btnEdit_ = button("BtnEdit", u"Modifier");
    btnDelete_ = button("BtnDelete", u"Supprimer");
    btnPost_ = button("BtnPost", u"Enregistrer");
    btnCancel_ = button("BtnCancel", u"Annuler");
    QPushButton *btnClose = button("BtnClose", u"Fermer");
    connect(btnAppend_, &QPushButton::clicked, this, &TFrmNoticeAdmin::BtnAppendClick);
    connect(btnEdit_, &QPushButton::clicked, this, &TFrmNoticeAdmin::BtnEditClick);
    connect(btnDelete_, &QPushButton::clicked, this, &TFrmNoticeAdmin::BtnDeleteClick);
    connect(btnPost_, &QPushButton::clicked, this, &TFrmNoticeAdmin::BtnPostClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TFrmNoticeAdmin::BtnCancelClick);
    connect(btnClose, &QPushButton::clicked, this, &TFrmNoticeAdmin::BtnCloseClick);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {btnAppend_, btnEdit_, btnDelete_, btnPost_, btnCancel_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    // Leaving a row being edited saves it first.
    FollowCurrentRow(grid_, dataset_, [this] { updateButtons(); }, [this](int row) { rowChosen(row); });

    if (dataset_->isEditing())
        dataset_->cancel();
    const RefTableDef &def = refTableDef(pageDef(page_).table);
    dataset_->open(QStringLiteral("SELECT * FROM ") + QLatin1String(def.table));
    LookupCount(data_.db(), QLatin1String(def.table),
                tr2(QString::fromUtf16(pageDef(page_).french), QString::fromUtf16(pageDef(page_).arabic)),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
    dataset_->first();
    ShowCurrentRow(grid_, dataset_);
    updateButtons();
}

TFrmNoticeAdmin::~TFrmNoticeAdmin()
{
    // The shared query is never left in edit for the next screen.
    if (dataset_ && dataset_->isEditing())
        dataset_->cancel();
}

QTableView *TFrmNoticeAdmin::grid() const { return grid_; }

void TFrmNoticeAdmin::BtnCloseClick()
{
    grid_->finishEditing(true);
    if (dataset_->isEditing()) {
        if (confirm(tr2(QStringLiteral("Sauvegardez les modifications ?"), QStringLiteral("حفظ التغييرات؟")))) {
            if (!save())
                return;  // the message is shown, the row stays to be corrected
        } else {
            BtnCancelClick();
        }
    }
    closeScreen(this);
}

void TFrmNoticeAdmin::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    // A refused value names its column as the grid titles it.
    auto *model = static_cast<ListModel *>(grid_->model());
    for (int c = 0; c < model->columnCount(); ++c)
        dataset_->setFieldCaption(model->fieldOf(c), model->headerData(c, Qt::Horizontal).toString());
    QWidget::showEvent(event);
}

void TFrmNoticeAdmin::updateButtons()
{
    const RefTableDef &def = refTableDef(pageDef(page_).table);
    const bool may = mayManageCodeTables(session());
    const bool browsing = dataset_->state() == Dataset::State::Browse;
    const bool rows = browsing && dataset_->rowCount() > 0;
    btnAppend_->setEnabled(may && browsing && !def.fixedSet);
    btnEdit_->setEnabled(may && rows);
    btnDelete_->setEnabled(may && rows && !def.fixedSet);
    btnPost_->setEnabled(dataset_->isEditing());
    btnCancel_->setEnabled(dataset_->isEditing());
}

bool TFrmNoticeAdmin::save()
{
    grid_->finishEditing(true);
    if (!dataset_->isEditing())
        return true;
    const QString message = postReference(*dataset_, pageDef(page_).table);
    if (message.isEmpty())
        return true;
    error(message);
    return false;
}

void TFrmNoticeAdmin::rowChosen(int row)
{
    if (row == dataset_->currentRow())
        return;
    if (dataset_->isEditing() && !save()) {
        // The row being edited stays the current one.
        QTimer::singleShot(0, this, [this] { ShowCurrentRow(grid_, dataset_); });
        return;
    }
    dataset_->moveTo(row);
}

void TFrmNoticeAdmin::BtnAppendClick()
{
    if (!btnAppend_->isEnabled() || !dataset_->append())
        return;
    ShowCurrentRow(grid_, dataset_);
    grid_->setFocus();
    grid_->edit(grid_->model()->index(dataset_->currentRow(), 0));
}

void TFrmNoticeAdmin::BtnEditClick()
{
    if (!btnEdit_->isEnabled() || !dataset_->edit())
        return;
    grid_->setFocus();
    grid_->edit(grid_->model()->index(dataset_->currentRow(), qMax(0, grid_->currentIndex().column())));
}

void TFrmNoticeAdmin::BtnDeleteClick()
{
    if (!btnDelete_->isEnabled())
        return;
    if (!confirmIrreversible(tr2(QStringLiteral("Supprimer l'enregistrement"), QStringLiteral("حذف التسجيلة"))))
        return;
    const QString refusal = deleteReference(*dataset_, pageDef(page_).table);
    if (!refusal.isEmpty())
        error(refusal);
}

void TFrmNoticeAdmin::BtnPostClick() { save(); }

void TFrmNoticeAdmin::BtnCancelClick()
{
    grid_->finishEditing(false);
    dataset_->cancel();
}

void TFrmNoticeAdmin::Search(const QString &text)
{
    const PageDef &d = pageDef(page_);
    // The labels of the interface's language first.
    QStringList columns = d.labels;
    if (session().ArabicMode)
        std::reverse(columns.begin(), columns.end());
    const int row = firstRowStartingWith(*dataset_, columns, text.trimmed());
    if (row >= 0)
        rowChosen(row);
}

bool TFrmNoticeAdmin::Keyboard(QWidget *control, QKeyEvent *event)
{
    // The grid keeps Return for its cells.
    if (control && grid_->isAncestorOf(control))
        return false;
    return returnMovesFocus(control, event);
}

void TFrmNoticeAdmin::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

QWidget *createNoticeAdmin(TFrmData &data, NoticeAdminPage page, QWidget *parent)
{
    return new TFrmNoticeAdmin(data, page, parent);
}

} // namespace folian
