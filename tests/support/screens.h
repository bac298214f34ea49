#pragma once
// Driving the module frames and their screens offscreen as an operator: a
// new session in a language, somebody logged on, an entry of a module
// opened, a number typed and a key pressed through the frame.

#include "base/rights.h"
#include "data/widgets/frmmodule.h"
#include "i18n/widgets/localise.h"
#include "support/session.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace folian::test {

// A new session in `language` (the layout's direction and the translation
// file with it) with nobody logged on; its messages recorded in `sink`,
// emptied and answering "Oui" to the questions.
inline void freshSession(RecordingSink &sink, const QString &language)
{
    session() = Session();
    SetApplicationLanguage(language);
    sink.clear();
    sink.answer = true;
    setMessageSink(&sink);
}

// The operator logged on: his number, login, role and the rights he holds.
inline void logOn(int id, const QString &login, int role = 0, const QList<Right> &rights = {})
{
    Session &s = session();
    s.CurrentUserId = id;
    s.CurrentUserLogin = login;
    s.CurrentUserRole = role;
    for (Right r : rights)
        s.setRight(r, true);
}

// The screen on the module's desktop when it is of class T; null otherwise.
template <typename T>
T *shownScreen(TFrmModule &module)
{
    auto *screen = qobject_cast<T *>(module.CurrentScreen());
    if (!screen)
        qWarning("the desktop holds %s", module.CurrentScreen() ? module.CurrentScreen()->metaObject()->className()
                                                               : "nothing");
    return screen;
}

// The screen of class T that the module's entry `button` puts on the
// desktop; null when the entry does not open or opens something else.
template <typename T>
T *openEntry(TFrmModule &module, const QString &button)
{
    if (!module.trigger(button)) {
        qWarning("the entry %s does not open", qPrintable(button));
        return nullptr;
    }
    return shownScreen<T>(module);
}

// Text typed into a field as the operator does: the field takes the focus
// and says it was edited.
inline void typeText(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->setText(text);
    emit field->textEdited(text);
}

// A key pressed in `control`, routed by the module frame as the main window
// routes it; whether the screen took it.
inline bool pressKey(TFrmModule &module, QWidget *control, int key)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    return module.Keyboard(control, &e);
}

} // namespace folian::test
