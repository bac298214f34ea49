#pragma once
// The top-level windows that a test's actions leave on the screen
// (previews, pages), found by their class, and closed.

#include <QApplication>
#include <QList>
#include <QWidget>

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

} // namespace folian::test
