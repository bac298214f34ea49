#pragma once
// The box that names a linked row (the accepted form of a heading, the
// collection of a sub-collection): the operator does not type in it. The
// Delete key clears the link, Enter does nothing, any other character opens
// the list that chooses the row.

#include <QLineEdit>

namespace folian {

class LinkBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit LinkBox(QWidget *parent = nullptr);

signals:
    void clearRequested();
    // `typed` is the character that opened the list.
    void pickRequested(const QString &typed);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace folian
