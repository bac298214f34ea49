#include "catalogue/widgets/noticebasket.h"

#include "data/widgets/uihelpers.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

// The rows of the basket as the list shows them; a basket of a whole result
// costs no item per cell.
class BasketModel : public QAbstractTableModel
{
public:
    BasketModel(const RecordBasket &basket, QObject *parent) : QAbstractTableModel(parent), basket_(basket) {}

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : basket_.size(); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole || index.row() >= basket_.size())
            return {};
        const RecordBasket::Row &r = basket_.rows().at(index.row());
        return index.column() == 0 ? QVariant(r.docId) : QVariant(r.title);
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
            return titles_[section];
        return QAbstractTableModel::headerData(section, o, role);
    }
    bool setHeaderData(int section, Qt::Orientation o, const QVariant &value, int role) override
    {
        if (o != Qt::Horizontal || role != Qt::EditRole || section < 0 || section >= 2)
            return false;
        titles_[section] = value.toString();
        emit headerDataChanged(o, section, section);
        return true;
    }
    // Removes a row of the basket: the following rows move up.
    void removeAt(RecordBasket &basket, int row)
    {
        beginRemoveRows(QModelIndex(), row, row);
        basket.removeAt(row);
        endRemoveRows();
    }
    void reload()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const RecordBasket &basket_;
    QString titles_[2] = {QStringLiteral("N°"), QStringLiteral("Titre de la notice")};
};

NoticeBasketPage::NoticeBasketPage(Database &db, QWidget *parent) : QWidget(parent), db_(db)
{
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("PnlBasket"));
    caption_->setProperty("localise", false);
    caption_->setFrameShape(QFrame::StyledPanel);
    model_ = new BasketModel(basket_, this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("NoticeList"));
    list_->setModel(model_);
    ConfigureGrid(list_);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(0, 90);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    btnDelete_ = namedButton("BtnBasketDelete", QStringLiteral("Supprimer"), this);
    btnClear_ = namedButton("BtnBasketClear", QStringLiteral("Tout supprimer"), this);
    connect(btnDelete_, &QPushButton::clicked, this, &NoticeBasketPage::BtnBasketDeleteClick);
    connect(btnClear_, &QPushButton::clicked, this, &NoticeBasketPage::BtnBasketClearClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnDelete_);
    buttons->addWidget(btnClear_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    update();
}

int NoticeBasketPage::add(const QList<int> &ids, Progress *progress)
{
    const int added = ids.size() == 1 ? int(basket_.add(db_, ids.first())) : basket_.addAll(db_, ids, progress);
    if (added != 0) {
        model_->reload();
        list_->scrollToBottom();
    }
    update();
    return added;
}

QString NoticeBasketPage::captionText() const { return caption_->text(); }

void NoticeBasketPage::setRunning(bool running)
{
    running_ = running;
    update();
}

void NoticeBasketPage::BtnBasketDeleteClick()
{
    const int row = list_->currentIndex().row();
    if (running_ || row < 0 || row >= basket_.size())
        return;
    model_->removeAt(basket_, row);
    update();
}

void NoticeBasketPage::BtnBasketClearClick()
{
    if (running_ || basket_.isEmpty())
        return;
    basket_.clear();
    model_->reload();
    update();
}

void NoticeBasketPage::update()
{
    caption_->setText(basket_.caption());
    btnDelete_->setEnabled(!running_ && !basket_.isEmpty());
    btnClear_->setEnabled(!running_ && !basket_.isEmpty());
    emit changed();
}

} // namespace folian
