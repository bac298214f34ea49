#include "data/widgets/listeditscreen.h"

#include "base/messages.h"
#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
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
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

ListEditScreen::ListEditScreen(TFrmData &frmData, Dataset *dataset, const QString &keyColumn,
                               const QString &labelColumn, Mode mode, bool mayEdit, QWidget *parent)
    : QWidget(parent), data_(frmData), dataset_(dataset), keyColumn_(keyColumn.toUpper()),
      labelColumn_(labelColumn.toUpper()), mode_(mode), mayEdit_(mayEdit)
{
    auto *lblSearch = new QLabel(QStringLiteral("Rechercher :"), this);
    lblSearch->setObjectName(QStringLiteral("LblSearch"));
    searchKey_ = new QLineEdit(this);
    searchKey_->setObjectName(QStringLiteral("EdtSearch"));
    lblSearch->setBuddy(searchKey_);
    connect(searchKey_, &QLineEdit::textEdited, this, &ListEditScreen::Search);
    auto *top = new QHBoxLayout;
    top->addWidget(lblSearch);
    top->addWidget(searchKey_, 1);

    model_ = new DatasetModel(dataset_, this);
    model_->setEditable([this](int row, const QString &field) { return mayEdit_ && cellEditable(row, field); });
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    rowChanged(current.row());
            });
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (mode_ == Mode::Pick)
            BtnSelectClick();
    });
    connect(dataset_, &Dataset::currentChanged, this, [this](int row) {
        if (row >= 0 && row < model_->rowCount() && grid_->currentIndex().row() != row)
            grid_->setCurrentIndex(model_->index(row, qMax(0, grid_->currentIndex().column())));
        updateButtons();
    });
    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(dataset_, signal, this, [this] { updateButtons(); });
    connect(dataset_, &Dataset::rowInserted, this, [this] { updateButtons(); });
    connect(dataset_, &Dataset::rowRemoved, this, [this] { updateButtons(); });

    buttons_ = new QHBoxLayout;
    buttons_->addStretch(1);
    btnSelect_ = addButton("BtnSelect", QStringLiteral("Choisir"));
    btnAppend_ = addButton("BtnAppend", QStringLiteral("Nouveau"));
    btnEdit_ = addButton("BtnEdit", QStringLiteral("Modifier"));
    btnPost_ = addButton("BtnPost", QStringLiteral("Enregistrer"));
    btnDelete_ = addButton("BtnDelete", QStringLiteral("Supprimer"));
    btnCancel_ = addButton("BtnCancel", QStringLiteral("Annuler"));
    btnClose_ = addButton("BtnClose", QStringLiteral("Fermer"));
    btnSelect_->setVisible(mode_ == Mode::Pick);
    connect(btnSelect_, &QPushButton::clicked, this, &ListEditScreen::BtnSelectClick);
    connect(btnAppend_, &QPushButton::clicked, this, &ListEditScreen::BtnAppendClick);
    connect(btnEdit_, &QPushButton::clicked, this, &ListEditScreen::BtnEditClick);
    connect(btnPost_, &QPushButton::clicked, this, &ListEditScreen::BtnPostClick);
    connect(btnDelete_, &QPushButton::clicked, this, &ListEditScreen::BtnDeleteClick);
    connect(btnCancel_, &QPushButton::clicked, this, &ListEditScreen::BtnCancelClick);
    connect(btnClose_, &QPushButton::clicked, this, &ListEditScreen::BtnCloseClick);

    body_ = new QVBoxLayout;
    body_->setContentsMargins(0, 0, 0, 0);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(body_);
    layout->addLayout(buttons_);
}

QPushButton *ListEditScreen::addButton(const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    buttons_->addWidget(b);
    return b;
}

void ListEditScreen::setColumns(const QStringList &fields, const QStringList &titles)
{
    model_->setColumns(fields, titles);
    updateButtons();
}

bool ListEditScreen::cellEditable(int, const QString &field) const { return field == labelColumn_; }

QVariant ListEditScreen::currentKey() const
{
    if (!dataset_->isOpen() || dataset_->currentRow() < 0 || dataset_->state() == Dataset::State::Insert)
        return {};
    return dataset_->value(keyColumn_);
}

void ListEditScreen::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool ListEditScreen::Keyboard(QWidget *control, QKeyEvent *event)
{
    // Keys typed in the grid and its cells are the grid's own.
    if (control && (control == grid_ || grid_->isAncestorOf(control)))
        return false;
    return returnMovesFocus(control, event);
}

void ListEditScreen::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void ListEditScreen::updateButtons()
{
    const bool browsing = dataset_->state() == Dataset::State::Browse;
    const bool editing = dataset_->isEditing();
    const bool rows = browsing && dataset_->rowCount() > 0;
    btnAppend_->setEnabled(mayEdit_ && browsing);
    btnEdit_->setEnabled(mayEdit_ && rows);
    btnPost_->setEnabled(editing);
    btnCancel_->setEnabled(editing);
    btnDelete_->setEnabled(mayEdit_ && rows);
    btnSelect_->setEnabled(mode_ == Mode::Pick && rows);
    updateMore();
}

void ListEditScreen::commitCell()
{
    const QModelIndex at = grid_->currentIndex();
    if (QWidget *editor = at.isValid() ? grid_->indexWidget(at) : nullptr) {
        QMetaObject::invokeMethod(grid_, "commitData", Qt::DirectConnection, Q_ARG(QWidget *, editor));
        QMetaObject::invokeMethod(grid_, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget *, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

void ListEditScreen::rowChanged(int row)
{
    if (row == dataset_->currentRow())
        return;
    if (dataset_->isEditing()) {
        // Leaving the row being edited saves it; when that fails the operator stays on it.
        const int edited = dataset_->currentRow();
        commitCell();
        if (!dataset_->post()) {
            QMetaObject::invokeMethod(this, [this, edited] {
                if (edited >= 0 && edited < model_->rowCount())
                    grid_->setCurrentIndex(model_->index(edited, grid_->currentIndex().column()));
            }, Qt::QueuedConnection);
            return;
        }
        afterChange();
    }
    dataset_->moveTo(row);
}

void ListEditScreen::editCell(int row)
{
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (cellEditable(row, model_->fieldOf(c))) {
            const QModelIndex at = model_->index(row, c);
            grid_->setCurrentIndex(at);
            grid_->setFocus();
            grid_->edit(at);
            return;
        }
    }
}

void ListEditScreen::Search(const QString &text)
{
    if (!dataset_->isOpen() || dataset_->isEditing())
        return;
    dataset_->fetchAll();
    const int col = dataset_->fieldIndex(labelColumn_);
    for (int r = 0; r < dataset_->rowCount(); ++r) {
        if (dataset_->valueAt(r, col).toString().startsWith(text, Qt::CaseSensitive)) {
            dataset_->moveTo(r);
            return;
        }
    }
}

void ListEditScreen::BtnAppendClick()
{
    if (!mayEdit_ || dataset_->state() != Dataset::State::Browse || !dataset_->append())
        return;
    editCell(dataset_->currentRow());
}

void ListEditScreen::BtnEditClick()
{
    if (!mayEdit_ || dataset_->state() != Dataset::State::Browse || dataset_->currentRow() < 0 || !dataset_->edit())
        return;
    editCell(dataset_->currentRow());
}

void ListEditScreen::BtnPostClick()
{
    commitCell();
    if (!dataset_->isEditing())
        return;
    if (dataset_->post())  // a failure has been reported; the row stays in edit
        afterChange();
    updateButtons();
}

void ListEditScreen::BtnCancelClick()
{
    commitCell();
    dataset_->cancel();
    updateButtons();
}

void ListEditScreen::BtnDeleteClick()
{
    if (!mayEdit_ || dataset_->state() != Dataset::State::Browse || dataset_->currentRow() < 0)
        return;
    if (const QString refused = deleteRefusal(); !refused.isEmpty()) {
        inform(refused);
        return;
    }
    if (!confirmIrreversible(deleteQuestion()))
        return;
    const QVariant key = currentKey();
    const int row = dataset_->currentRow();
    const QString refusal = deleteCurrent();
    if (!refusal.isEmpty()) {
        inform(refusal);
        return;
    }
    reopen(key);
    dataset_->fetchAll();
    if (dataset_->rowCount() > 0)
        dataset_->moveTo(qBound(0, row, dataset_->rowCount() - 1));
    afterChange();
}

void ListEditScreen::BtnSelectClick()
{
    if (mode_ == Mode::Pick && dataset_->state() == Dataset::State::Browse && dataset_->currentRow() >= 0)
        emit chosen();
}

void ListEditScreen::reopen(const QVariant &key)
{
    if (dataset_->isEditing())
        dataset_->cancel();
    dataset_->open();
    if (!IsBlank(key))
        dataset_->locate(keyColumn_, key);
    updateButtons();
}

} // namespace folian
