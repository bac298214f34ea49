#include "catalogue/widgets/frmautoriteselect.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/headings.h"
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

TFrmAutoriteSelect::TFrmAutoriteSelect(TFrmData &frmData, int kind, const QVariant &heading, const QString &text,
                                       QWidget *parent)
    : FormDialog(parent), data_(frmData), kind_(kind), heading_(heading)
{
    setObjectName(QStringLiteral("FrmAutoriteSelect"));
    setWindowTitle(QStringLiteral("Sélection vedette retenue"));
    setModal(true);
    resize(520, 420);

    // Its own read-only set: the heading being edited stays the current row of QVedette.
    found_ = new Dataset(data_.db(), QStringLiteral("QVedetteRetenue"), QString(), this);
    found_->setUniqueKey({QStringLiteral("VED_ID")});

    auto *options = new QWidget(this);
    options->setObjectName(QStringLiteral("PnlOption"));
    auto *lbl = new QLabel(QStringLiteral("Nom de vedette :"), options);
    lbl->setObjectName(QStringLiteral("LblKey"));
    key_ = new QLineEdit(options);
    key_->setObjectName(QStringLiteral("KEY"));
    lbl->setBuddy(key_);
    btnSearch_ = new QPushButton(QStringLiteral("Rechercher"), options);
    btnSearch_->setObjectName(QStringLiteral("BtnSearch"));
    auto *ol = new QHBoxLayout(options);
    ol->setContentsMargins(0, 0, 0, 0);
    ol->addWidget(lbl);
    ol->addWidget(key_, 1);
    ol->addWidget(btnSearch_);

    model_ = new ListModel(found_, this);
    model_->setColumns({QStringLiteral("VED_NOM")}, {QStringLiteral("Nom de la vedette")});
    model_->setRowColour([this](int row) {
        const QVariant id = found_->valueAt(row, QStringLiteral("VED_ID"));
        const QVariant to = found_->valueAt(row, QStringLiteral("VED_ID2"));
        return !to.isNull() && to.toString() != id.toString() ? QColor(Qt::red) : QColor();
    });
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    ConfigureGrid(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &QTableView::doubleClicked, this, &TFrmAutoriteSelect::Select);
    FollowCurrentRow(grid_, found_, [this] { updateButtons(); });

    btnSelect_ = new QPushButton(QStringLiteral("Choisir"), this);
    btnSelect_->setObjectName(QStringLiteral("BtnSelect"));
    auto *btnClose = new QPushButton(QStringLiteral("Fermer"), this);
    btnClose->setObjectName(QStringLiteral("BtnClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSelect_);
    buttons->addWidget(btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    connect(key_, &QLineEdit::textChanged, this, [this] {
        found_->close();
        updateButtons();
    });
    connect(btnSearch_, &QPushButton::clicked, this, &TFrmAutoriteSelect::Search);
    connect(btnSelect_, &QPushButton::clicked, this, &TFrmAutoriteSelect::Select);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    key_->setText(text);
    updateButtons();
    if (!text.trimmed().isEmpty())
        Search();
    key_->setFocus();
}

void TFrmAutoriteSelect::afterLocalise()
{
    setWindowTitle(tr2(QStringLiteral("Sélection forme retenue"), QStringLiteral("إختيار الإسم المقبول")));
}

void TFrmAutoriteSelect::updateButtons()
{
    btnSearch_->setEnabled(!key_->text().trimmed().isEmpty());
    btnSelect_->setEnabled(found_->isOpen() && found_->rowCount() > 0);
}

void TFrmAutoriteSelect::Search()
{
    if (key_->text().trimmed().isEmpty())
        return;
    const ListQuery q = acceptedFormSearch(data_.db().dialect(), kind_, heading_, key_->text(),
                                           session().CurrentLanguage);
    if (!found_->open(q.sql, q.binds))
        error(found_->lastError());
    found_->first();
    ShowCurrentRow(grid_, found_);
    updateButtons();
}

void TFrmAutoriteSelect::Select()
{
    if (!found_->isOpen() || found_->currentRow() < 0)
        return;
    chosenId_ = found_->value(QStringLiteral("VED_ID"));
    accept();
}

void TFrmAutoriteSelect::keyPressEvent(QKeyEvent *event)
{
    // Return in the search field searches.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() == key_) {
        Search();
        return;
    }
    FormDialog::keyPressEvent(event);
}

} // namespace folian
