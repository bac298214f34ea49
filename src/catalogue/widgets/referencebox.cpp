#include "catalogue/widgets/referencebox.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/records.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace folian {

ReferenceBox::ReferenceBox(TFrmData &frmData, Dataset *record, const QString &keyColumn, PickList list, int mode,
                           QWidget *parent)
    : QWidget(parent), data_(frmData), record_(record), keyColumn_(keyColumn.toUpper()), list_(list), mode_(mode)
{
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Nom_") + keyColumn_);
    edit_->setReadOnly(true);
    edit_->installEventFilter(this);
    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("Btn_") + keyColumn_);
    button_->setText(QStringLiteral("..."));
    button_->setProperty("localise", false);
    connect(button_, &QToolButton::clicked, this, [this] { choose(); });
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(edit_, 1);
    layout->addWidget(button_);
    for (auto signal : {&Dataset::reset, &Dataset::stateChanged})
        connect(record, signal, this, [this] { refresh(); });
    connect(record, &Dataset::currentChanged, this, [this] { refresh(); });
    connect(record, &Dataset::rowChanged, this, [this](int row) {
        if (row == record_->currentRow())
            refresh();
    });
    refresh();
}

void ReferenceBox::setWritable(bool writable)
{
    writable_ = writable;
    button_->setEnabled(writable);
}

void ReferenceBox::refresh()
{
    const QVariant key = record_->isOpen() ? record_->value(keyColumn_) : QVariant();
    if (sameValue(key, shownKey_) && !edit_->text().isEmpty() == !IsBlank(key))
        return;
    shownKey_ = key;
    edit_->setText(referenceName(data_.db(), keyColumn_, key, session().ArabicMode));
    edit_->setCursorPosition(0);
}

bool ReferenceBox::choose()
{
    if (!writable_ || !record_->isOpen() || record_->currentRow() < 0)
        return false;
    const QString text = edit_->text().trimmed();
    PickRequest request{list_, mode_, text.isEmpty() ? QString() : text + u'*', {}};
    if (list_ == PickList::SubCollection)
        request.parent = record_->value(QStringLiteral("COL_ID"));
    const Picked picked = pick(window(), data_, request);
    if (!picked.ok())
        return false;
    if (!record_->edit() || !record_->setValue(keyColumn_, picked.key)) {
        error(record_->lastError());
        return false;
    }
    refresh();
    return true;
}

void ReferenceBox::clear()
{
    if (!writable_ || !record_->isOpen() || record_->currentRow() < 0 || IsBlank(record_->value(keyColumn_)))
        return;
    if (record_->edit())
        record_->setValue(keyColumn_, QVariant());
    refresh();
}

bool ReferenceBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edit_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Delete:
        if (!(key->modifiers() & Qt::ControlModifier))  // Ctrl+Delete is swallowed everywhere
            clear();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return false;  // the form moves to the next field
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
        return false;
    default:
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;  // shortcuts (copying the name, ...)
        choose();
        return true;
    }
}

} // namespace folian
