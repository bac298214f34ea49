#include "circulation/widgets/messagearea.h"

namespace folian {

MessageArea::MessageArea(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("MemMessage"));
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setMinimumHeight(60);
    setMaximumHeight(110);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void MessageArea::write(const QString &text, const QColor &color)
{
    clear();
    success_ = color == Qt::blue;
    setTextColor(color);
    for (const QString &line : text.split(u'\n'))
        append(line);
}

} // namespace folian
