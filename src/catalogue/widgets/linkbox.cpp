#include "catalogue/widgets/linkbox.h"

#include <QKeyEvent>

namespace folian {

LinkBox::LinkBox(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
}

void LinkBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Delete:
        if (!(event->modifiers() & Qt::ControlModifier))
            emit clearRequested();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        emit pickRequested(typed);
        return;
    }
    QLineEdit::keyPressEvent(event);  // moving in the text, copying it
}

} // namespace folian
