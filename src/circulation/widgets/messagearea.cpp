#include "circulation/widgets/messagearea.h"

#include <QTextCharFormat>
#include <QTextCursor>

namespace folian {

MessageArea::MessageArea(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("MemMessage"));
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setMinimumHeight(48);
    setMaximumHeight(110);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void MessageArea::write(const QString &text, const QColor &color)
{
    // Written as plain text: what an operator typed or the database holds
    // ("<b>", "&amp;") is shown as it is, in the message's colour.
    clear();
    success_ = color == Qt::blue;
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontWeight(font().weight());
    QTextCursor cursor(document());
    cursor.insertText(text, format);
}

} // namespace folian
