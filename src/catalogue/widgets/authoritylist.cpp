#include "catalogue/widgets/authoritylist.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/widgets/hosting.h"
#include "catalogue/widgets/listmodel.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {
QString text(const char16_t *s) { return QString::fromUtf16(s); }
}

TFrmAuthorityList::TFrmAuthorityList(TFrmData &frmData, const Definition &def, int mode, QWidget *parent)
    : FormDialog(parent), data_(frmData), def_(def), mode_(mode)
{
    setObjectName(QLatin1String(def.formName));
    setWindowTitle(text(def.caption));
    resize(760, 520);
    dataset_ = data_.query(QLatin1String(refTableDef(def.table).query));

    pnlOption_ = new QWidget(this);
    pnlOption_->setObjectName(QStringLiteral("PnlOption"));
    auto *lbl = new QLabel(QStringLiteral("Rechercher :"), pnlOption_);
    lbl->setObjectName(QStringLiteral("LblKey"));
    key_ = new QLineEdit(pnlOption_);
    setFocusProxy(key_);  // the list opens ready for the name typed
    key_->setObjectName(QStringLiteral("KEY"));
    lbl->setBuddy(key_);
    btnSearch_ = new QPushButton(QStringLiteral("Rechercher"), pnlOption_);
    btnSearch_->setObjectName(QStringLiteral("BtnSearch"));
    options_ = new QHBoxLayout(pnlOption_);
    options_->setContentsMargins(0, 0, 0, 0);
    options_->addWidget(lbl);
    options_->addWidget(key_, 1);
    auto *outer = new QHBoxLayout;
    outer->addWidget(pnlOption_, 1);
    outer->addWidget(btnSearch_);

    model_ = new ListModel(dataset_, this);
    model_->setColumns(def.columns, def.titles);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->setColumnWidth(0, 320);
    for (int c = 1; c < model_->columnCount(); ++c)
        grid_->setColumnWidth(c, 200);
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (mode_ == 0)
            Edit();
        else
            Select();
    });
    FollowCurrentRow(grid_, dataset_, [this] { updateButtons(); });

    auto button = [this](const char *name, const char16_t *caption, void (TFrmAuthorityList::*slot)()) {
        auto *b = new QPushButton(text(caption), this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    btnAppend_ = button("BtnAppend", u"Nouveau", &TFrmAuthorityList::Append);
    btnEdit_ = button("BtnEdit", u"Modifier", &TFrmAuthorityList::Edit);
    btnDelete_ = button("BtnDelete", u"Supprimer", &TFrmAuthorityList::Delete);
    btnSelect_ = button("BtnSelect", u"Choisir", &TFrmAuthorityList::Select);
    btnClose_ = button("BtnClose", u"Fermer", &TFrmAuthorityList::Close);
    btnSelect_->setVisible(mode_ != 0);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {btnAppend_, btnEdit_, btnDelete_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(btnSelect_);
    buttons->addWidget(btnClose_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(outer);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    // Every change of the name closes the list.
    connect(key_, &QLineEdit::textChanged, this, [this] {
        if (dataset_->isOpen() && !dataset_->isEditing())
            dataset_->close();
        updateButtons();
    });
    connect(btnSearch_, &QPushButton::clicked, this, &TFrmAuthorityList::Search);
}

void TFrmAuthorityList::start(const QString &text)
{
    if (dataset_->isEditing())
        dataset_->cancel();
    dataset_->close();  // a list opens empty, or on its caller's text
    key_->setText(text);
    if (!text.trimmed().isEmpty())
        Search();
    updateButtons();
    key_->setFocus();
}

void TFrmAuthorityList::setTitle(const QString &french, const QString &arabic)
{
    titleFr_ = french;
    titleAr_ = arabic;
    setWindowTitle(tr2(french, arabic));
}

void TFrmAuthorityList::afterLocalise()
{
    if (!titleFr_.isEmpty())
        setWindowTitle(tr2(titleFr_, titleAr_));
}

void TFrmAuthorityList::updateButtons()
{
    const bool browsing = dataset_->state() == Dataset::State::Browse;
    const int rows = dataset_->isOpen() ? dataset_->rowCount() : 0;
    const ListActions a = authorityListActions(session(), mode_, browsing || !dataset_->isOpen(), rows);
    btnSearch_->setEnabled(!key_->text().trimmed().isEmpty());
    btnAppend_->setEnabled(a.append);
    btnEdit_->setEnabled(a.edit);
    btnDelete_->setEnabled(a.remove);
    btnSelect_->setEnabled(a.select);
}

void TFrmAuthorityList::Search()
{
    if (key_->text().trimmed().isEmpty())
        return;
    if (dataset_->isEditing())
        dataset_->cancel();
    const ListQuery q = searchQuery(key_->text());
    dataset_->open(q.sql, q.binds);  // a failure is told by the shared query
    dataset_->first();
    ShowCurrentRow(grid_, dataset_);
    updateButtons();
}

void TFrmAuthorityList::openDetail(bool inserting)
{
    const QString fr = text(inserting ? def_.newFr : def_.editFr);
    const QString ar = text(inserting ? def_.newAr : def_.editAr);
    TFrmAutoriteDetail sheet(data_, def_.page, fr, ar, this);
    if (sheet.exec() == QDialog::Accepted)
        afterSave(sheet);
    ShowCurrentRow(grid_, dataset_);
    updateButtons();
}

void TFrmAuthorityList::Append()
{
    if (!authorityListActions(session(), mode_, dataset_->state() != Dataset::State::Edit, 0).append)
        return;
    if (!dataset_->isOpen()) {
        const ListQuery none = noRows(QLatin1String(refTableDef(def_.table).table));
        if (!dataset_->open(none.sql, none.binds))
            return;
    }
    if (!dataset_->append())
        return;
    prepareNewRow();
    openDetail(true);
}

void TFrmAuthorityList::Edit()
{
    const int rows = dataset_->isOpen() ? dataset_->rowCount() : 0;
    if (!authorityListActions(session(), mode_, dataset_->state() == Dataset::State::Browse, rows).edit
        || dataset_->currentRow() < 0 || !dataset_->edit())
        return;
    openDetail(false);
}

void TFrmAuthorityList::Delete()
{
    const int rows = dataset_->isOpen() ? dataset_->rowCount() : 0;
    if (!authorityListActions(session(), mode_, dataset_->state() == Dataset::State::Browse, rows).remove
        || dataset_->currentRow() < 0)
        return;
    const QString name = referenceName(*dataset_, def_.table);
    if (!confirmIrreversible(tr2(text(def_.deleteFr), text(def_.deleteAr)) + QStringLiteral(" \"") + name + QStringLiteral("\" ?")))
        return;
    const QString refusal = deleteReference(*dataset_, def_.table);
    if (!refusal.isEmpty())
        error(refusal);
    updateButtons();
}

Picked TFrmAuthorityList::currentPick() const
{
    Picked p;
    p.key = dataset_->value(QLatin1String(refTableDef(def_.table).key));
    p.name = referenceName(*dataset_, def_.table);
    return p;
}

void TFrmAuthorityList::Select()
{
    if (mode_ == 0) {
        Edit();
        return;
    }
    if (!dataset_->isOpen() || dataset_->currentRow() < 0 || dataset_->isEditing())
        return;
    chosen_ = currentPick();
    accept();
}

void TFrmAuthorityList::Close()
{
    if (hosted())
        closeScreen(this);
    else
        FormDialog::reject();
}

void TFrmAuthorityList::reject()
{
    // Escape: closes the list, as "Fermer" does.
    Close();
}

bool TFrmAuthorityList::handleKey(QWidget *control, QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // In the options the search is the default button.
    if (enter && control && pnlOption_->isAncestorOf(control)) {
        if (btnSearch_->isEnabled())
            Search();
        return true;
    }
    if (event->key() == Qt::Key_Escape && hosted()) {
        Close();
        return true;
    }
    return returnMovesFocus(control, event);
}

bool TFrmAuthorityList::Keyboard(QWidget *control, QKeyEvent *event) { return handleKey(control, event); }

void TFrmAuthorityList::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(focusWidget(), event))
        FormDialog::keyPressEvent(event);
}

} // namespace folian
