#pragma once
// Playing the operator on the record form and its dialogs offscreen: typing
// into named fields, choosing in lists, clicking, answering the modal
// dialogs a click opens, and the pickers that choose headings and
// reference rows.

#include "catalogue/widgets/pickers.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace folian::test {

// The child of `w` named `name`, failing the test when there is none.
template <typename T>
T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return c;
}

// Types into a line edit as an operator does: focus, replace, leave.
inline void typeInto(QWidget *form, const QString &name, const QString &text)
{
    auto *e = child<QLineEdit>(form, name);
    if (!e)
        return;
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    // Any character, Arabic ones too, as the keyboard sends it.
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &release);
    }
    emit e->editingFinished();
}

// A long text: set as if pasted.
inline void pasteInto(QWidget *form, const QString &name, const QString &text)
{
    auto *e = child<QPlainTextEdit>(form, name);
    if (e)
        e->setPlainText(text);
}

// Chooses the item of a list whose data is `key`, as a click does.
inline bool chooseIn(QWidget *form, const QString &name, const QVariant &key)
{
    auto *c = child<QComboBox>(form, name);
    if (!c)
        return false;
    const int i = c->findData(key);
    if (i < 0)
        return false;
    c->setCurrentIndex(i);
    emit c->activated(i);
    return true;
}

inline void click(QWidget *form, const QString &name)
{
    if (auto *b = child<QAbstractButton>(form, name))
        b->click();
}

// Runs the handlers, in turn, on the modal dialogs the next action shows
// (whatever their class), each once it is on the screen; `handled` counts
// the dialogs that came.
class ModalHandler : public QObject
{
public:
    using Handle = std::function<void(QDialog *)>;
    explicit ModalHandler(Handle handle) : ModalHandler(QList<Handle>{std::move(handle)}) {}
    explicit ModalHandler(QList<Handle> handles) : handles_(std::move(handles))
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!d || !d->isVisible() || d == seen_ || handles_.isEmpty())
                return;
            seen_ = d;
            ++handled;
            const Handle h = handles_.takeFirst();
            if (handles_.isEmpty())
                timer_.stop();
            h(d);
        });
        timer_.start();
    }
    int handled = 0;

private:
    QList<Handle> handles_;
    QTimer timer_;
    QPointer<QDialog> seen_;
};

// Installs pickers that answer from a queue of choices and remember what they were asked.
class Pickers
{
public:
    Pickers()
    {
        for (PickList l : {PickList::Heading, PickList::Publisher, PickList::Collection, PickList::SubCollection,
                           PickList::Classification})
            setPicker(l, [this](QWidget *, TFrmData &, const PickRequest &r) {
                requests << r;
                return choices.isEmpty() ? Picked() : choices.takeFirst();
            });
    }
    ~Pickers()
    {
        for (PickList l : {PickList::Heading, PickList::Publisher, PickList::Collection, PickList::SubCollection,
                           PickList::Classification})
            setPicker(l, {});
    }
    // A heading `key` whose accepted form is `accepted`, or another row.
    void push(const QVariant &key, const QVariant &accepted = {}, const QString &name = {})
    {
        choices << Picked{key, accepted.isValid() ? accepted : key, name};
    }
    void cancel() { choices << Picked(); }

    QList<Picked> choices;
    QList<PickRequest> requests;
};

} // namespace folian::test
