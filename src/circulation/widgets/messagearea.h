#pragma once
// The message area of the loan desk and the reader administration: refusals
// in red, successes and "est en règle" in blue; each operation clears it first.

#include <QTextEdit>

namespace folian {

class MessageArea : public QTextEdit
{
    Q_OBJECT
public:
    explicit MessageArea(QWidget *parent = nullptr);

    // Each line of the text, in red or in blue.
    void refuse(const QString &text) { write(text, Qt::red); }
    void succeed(const QString &text) { write(text, Qt::blue); }
    void say(bool success, const QString &text) { success ? succeed(text) : refuse(text); }
    // The text shown and whether it was a success (blue).
    QString text() const { return toPlainText(); }
    bool isSuccess() const { return success_; }

private:
    void write(const QString &text, const QColor &color);
    bool success_ = false;
};

} // namespace folian
