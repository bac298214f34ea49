#pragma once
// The top-level windows that a test's actions leave on the screen
// (previews, pages), found by their class, and closed; a modal dialog
// acted on once it shows.

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace folian::test {

// The visible top-level windows of class T.
template <typename T>
QList<T *> shownWindows()
{
    QList<T *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            out << t;
    return out;
}

// Closes them; those that go with their closing are freed at once.
template <typename T>
void closeWindows()
{
    for (T *w : shownWindows<T>())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs `act` on the modal dialog of class T once it shows; another dialog
// shown instead is told and closed.
template <typename T>
void whenShown(std::function<void(T *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!d) {
            qWarning("no %s shown", T::staticMetaObject.className());
            if (QWidget *w = QApplication::activeModalWidget())
                static_cast<QDialog *>(w)->reject();
            return;
        }
        act(d);
    });
}

} // namespace folian::test
