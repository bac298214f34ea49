#include "circulation/widgets/indexsearch.h"

#include "circulation/core/listlocate.h"
#include "data/core/dataset.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace folian {

IndexSearch::IndexSearch(QWidget *parent) : QWidget(parent)
{
    auto *lblIndex = new QLabel(QStringLiteral("&Index :"), this);
    lblIndex->setObjectName(QStringLiteral("LblIndex"));
    index_ = new QComboBox(this);
    index_->setObjectName(QStringLiteral("CbxIndex"));
    index_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblIndex->setBuddy(index_);
    auto *lblSearch = new QLabel(QStringLiteral("&Chercher :"), this);
    lblSearch->setObjectName(QStringLiteral("LblChercher"));
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("EdtChercher"));
    lblSearch->setBuddy(field_);
    connect(field_, &QLineEdit::textChanged, this, &IndexSearch::search);
    connect(index_, &QComboBox::currentIndexChanged, this, &IndexSearch::search);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lblIndex);
    row->addWidget(index_);
    row->addSpacing(12);
    row->addWidget(lblSearch);
    row->addWidget(field_, 1);
}

void IndexSearch::setList(Dataset *dataset, const QStringList &fields, const QStringList &captions)
{
    dataset_ = dataset;
    fields_ = fields;
    const QSignalBlocker quiet(index_);
    index_->clear();
    index_->addItems(captions);
    index_->setCurrentIndex(fields.isEmpty() ? -1 : 0);
    field_->clear();
}

void IndexSearch::search()
{
    const int i = index_->currentIndex();
    if (dataset_ && i >= 0 && i < fields_.size())
        locatePartial(*dataset_, fields_.at(i), field_->text());
}

} // namespace folian
