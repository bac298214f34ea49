#pragma once
// What the main window's keyboard routing needs of a module frame or a
// hosted screen.

class QKeyEvent;
class QWidget;

namespace folian {

class KeyboardTarget
{
public:
    virtual ~KeyboardTarget() = default;
    // A key pressed while this module or screen is current; true when consumed.
    virtual bool Keyboard(QWidget *control, QKeyEvent *event) = 0;
};

// Return or Enter moves the focus to the next control; true when it did.
bool returnMovesFocus(QWidget *control, QKeyEvent *event);

} // namespace folian
