#include "data/widgets/fieldbinder.h"

#include "base/messages.h"
#include "data/core/dataset.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace folian {

namespace {
const QDate kNoDate(1900, 1, 1);
}

FieldBinder::FieldBinder(Dataset *dataset, QObject *parent) : QObject(parent), dataset_(dataset)
{
    connect(dataset_, &Dataset::reset, this, [this] { showRow(true); });
    connect(dataset_, &Dataset::currentChanged, this, [this] { showRow(true); });
    connect(dataset_, &Dataset::stateChanged, this, [this] {
        if (!starting_)
            showRow(true);
    });
    // A value changed by a rule or another widget: what is being typed stays.
    connect(dataset_, &Dataset::rowChanged, this, [this](int row) {
        if (row == dataset_->currentRow() && !starting_)
            showRow(false);
    });
}

FieldBinder::Binding &FieldBinder::add(QObject *w, const QString &column)
{
    bindings_.append(Binding{w, column.toUpper(), {}, {}, {}, false});
    return bindings_.last();
}

void FieldBinder::bind(QLineEdit *w, const QString &column)
{
    const int i = int(bindings_.size());
    Binding &b = add(w, column);
    b.read = [w] { return QVariant(w->text()); };
    b.show = [w](const QVariant &v) { w->setText(v.toString()); w->setCursorPosition(0); };
    b.lock = [w](bool ro) { w->setReadOnly(ro); };
    // No length limit on the box: a pasted text too long is refused with the
    // field named, never cut silently by the box.
    connect(w, &QLineEdit::textChanged, this, [this, i] { changed(bindings_[i], false); });
    connect(w, &QLineEdit::editingFinished, this, [this, i] {
        if (bindings_[i].pending)
            write(bindings_[i]);
    });
}

void FieldBinder::bind(QPlainTextEdit *w, const QString &column)
{
    const int i = int(bindings_.size());
    Binding &b = add(w, column);
    b.read = [w] { return QVariant(w->toPlainText()); };
    b.show = [w](const QVariant &v) { w->setPlainText(v.toString()); };
    b.lock = [w](bool ro) { w->setReadOnly(ro); };
    connect(w, &QPlainTextEdit::textChanged, this, [this, i] {
        if (!showing_)
            changed(bindings_[i], false);
    });
}

void FieldBinder::bind(QCheckBox *w, const QString &column, const QVariant &on, const QVariant &off)
{
    const int i = int(bindings_.size());
    Binding &b = add(w, column);
    b.read = [w, on, off] { return w->isChecked() ? on : off; };
    b.show = [w, on](const QVariant &v) { w->setChecked(!v.isNull() && v.toString() == on.toString()); };
    b.lock = [w](bool ro) { w->setEnabled(!ro); };
    connect(w, &QCheckBox::toggled, this, [this, i] { changed(bindings_[i], true); });
}

void FieldBinder::bind(QComboBox *w, const QString &column)
{
    const int i = int(bindings_.size());
    Binding &b = add(w, column);
    b.read = [w] { return w->currentIndex() < 0 ? QVariant() : w->currentData(); };
    b.show = [w](const QVariant &v) {
        int at = -1;
        for (int k = 0; k < w->count() && at < 0; ++k) {
            const QVariant d = w->itemData(k);
            if (v.isNull() ? !d.isValid() || d.isNull() : d.toString() == v.toString())
                at = k;
        }
        w->setCurrentIndex(at);
    };
    b.lock = [w](bool ro) { w->setEnabled(!ro); };
    connect(w, &QComboBox::currentIndexChanged, this, [this, i] { changed(bindings_[i], true); });
}

void FieldBinder::bind(QSpinBox *w, const QString &column)
{
    const int i = int(bindings_.size());
    Binding &b = add(w, column);
    b.read = [w] { return QVariant(w->value()); };
    b.show = [w](const QVariant &v) { w->setValue(v.toInt()); };
    b.lock = [w](bool ro) { w->setReadOnly(ro); };
    connect(w, &QSpinBox::valueChanged, this, [this, i] {
        if (!showing_)
            changed(bindings_[i], false);
    });
    connect(w, &QSpinBox::editingFinished, this, [this, i] {
        if (bindings_[i].pending)
            write(bindings_[i]);
    });
}

void FieldBinder::bind(QButtonGroup *w, const QString &column)
{
    const int i = int(bindings_.size());
    Binding &b = add(w, column);
    b.read = [w] { return w->checkedId() < 0 ? QVariant() : QVariant(w->checkedId()); };
    b.show = [w](const QVariant &v) {
        QAbstractButton *on = v.isNull() ? nullptr : w->button(v.toInt());
        if (on) {
            on->setChecked(true);
        } else if (QAbstractButton *checked = w->checkedButton()) {
            w->setExclusive(false);
            checked->setChecked(false);
            w->setExclusive(true);
        }
    };
    b.lock = [w](bool ro) {
        for (QAbstractButton *button : w->buttons())
            button->setEnabled(!ro);
    };
    connect(w, &QButtonGroup::idToggled, this, [this, i](int, bool on) {
        if (on)
            changed(bindings_[i], true);
    });
}

void FieldBinder::bind(QDateEdit *w, const QString &column)
{
    const int i = int(bindings_.size());
    Binding &b = add(w, column);
    w->setMinimumDate(kNoDate);
    w->setSpecialValueText(QStringLiteral(" "));
    b.read = [w] { return w->date() == kNoDate ? QVariant() : QVariant(w->date()); };
    b.show = [w](const QVariant &v) { w->setDate(v.toDate().isValid() ? v.toDate() : kNoDate); };
    b.lock = [w](bool ro) { w->setReadOnly(ro); };
    connect(w, &QDateEdit::dateChanged, this, [this, i] {
        if (!showing_)
            changed(bindings_[i], false);
    });
    connect(w, &QDateEdit::editingFinished, this, [this, i] {
        if (bindings_[i].pending)
            write(bindings_[i]);
    });
}

void FieldBinder::bind(QLabel *w, const QString &column)
{
    Binding &b = add(w, column);
    b.show = [w](const QVariant &v) { w->setText(v.toString()); };
}

void FieldBinder::setCaption(const QString &column, const QString &caption)
{
    dataset_->setFieldCaption(column, caption);
}

void FieldBinder::changed(Binding &b, bool writeNow)
{
    if (showing_ || readOnly_)
        return;
    b.pending = true;
    if (!dataset_->isEditing()) {
        starting_ = true;
        const bool ok = dataset_->edit();
        starting_ = false;
        if (!ok) {
            showRow(true);
            return;
        }
    }
    if (writeNow)
        write(b);
    emit edited(b.column);
}

bool FieldBinder::write(Binding &b)
{
    if (!b.widget || !b.read)
        return true;
    b.pending = false;
    if (!dataset_->isEditing()) {
        starting_ = true;
        const bool ok = dataset_->edit();
        starting_ = false;
        if (!ok)
            return false;
    }
    if (dataset_->setValue(b.column, b.read()))
        return true;
    const QString message = dataset_->refusal().isEmpty() ? dataset_->lastError() : dataset_->refusal();
    showBinding(b);  // the widget shows what the row holds
    if (auto *w = qobject_cast<QWidget *>(b.widget.data()))
        w->setFocus();
    error(message);
    return false;
}

bool FieldBinder::submit()
{
    for (Binding &b : bindings_)
        if (b.pending && !write(b))
            return false;
    return true;
}

bool FieldBinder::post()
{
    return submit() && dataset_->post();
}

void FieldBinder::refresh() { showRow(true); }

void FieldBinder::showBinding(Binding &b)
{
    if (!b.widget)
        return;
    showing_ = true;
    b.pending = false;
    {
        const QSignalBlocker block(b.widget.data());  // a group's buttons signal through the group
        b.show(dataset_->isOpen() ? dataset_->value(b.column) : QVariant());
    }
    showing_ = false;
}

void FieldBinder::showRow(bool all)
{
    for (Binding &b : bindings_)
        if (all || !b.pending)
            showBinding(b);
}

void FieldBinder::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    for (Binding &b : bindings_)
        if (b.widget && b.lock)
            b.lock(readOnly);
}

void FieldBinder::fillList(QComboBox *w, Dataset *lookup, const QString &keyColumn, const QString &labelColumn,
                           bool blank)
{
    const QSignalBlocker block(w);
    // A list of the data is as wide as the room, never as its longest label:
    // a long label does not widen the screen past a small one.
    if (w->sizeAdjustPolicy() == QComboBox::AdjustToContentsOnFirstShow) {
        w->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        if (w->minimumContentsLength() == 0)
            w->setMinimumContentsLength(16);
    }
    w->clear();
    if (blank)
        w->addItem(QString(), QVariant());
    if (!lookup || !lookup->isOpen())
        return;
    lookup->fetchAll();
    const int key = lookup->fieldIndex(keyColumn), label = lookup->fieldIndex(labelColumn);
    for (int r = 0; r < lookup->rowCount(); ++r)
        w->addItem(lookup->valueAt(r, label).toString(), lookup->valueAt(r, key));
}

} // namespace folian
