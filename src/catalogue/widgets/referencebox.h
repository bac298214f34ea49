#pragma once
// A record's reference to a publisher, a collection or a sub-collection:
// the name of the row its key names, read-only, and a button that opens
// the list to choose another. In the box, Delete clears the key, Enter does
// nothing and any other key opens the list.

#include "catalogue/widgets/pickers.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace folian {

class Dataset;
class TFrmData;

class ReferenceBox : public QWidget
{
    Q_OBJECT
public:
    // `keyColumn` of the record (EDT_ID, EDT_ID2, COL_ID, SCL_ID) chosen from `list`.
    ReferenceBox(TFrmData &frmData, Dataset *record, const QString &keyColumn, PickList list, int mode,
                 QWidget *parent = nullptr);

    QLineEdit *edit() const { return edit_; }
    QToolButton *button() const { return button_; }
    void setWritable(bool writable);
    // Opens the list filtered on the box's text + "*" and writes the chosen key.
    bool choose();
    // Empties the key.
    void clear();
    // Shows the name of the key the record holds now.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TFrmData &data_;
    Dataset *record_;
    QString keyColumn_;
    PickList list_;
    int mode_;
    QLineEdit *edit_;
    QToolButton *button_;
    QVariant shownKey_;
    bool writable_ = true;
};

} // namespace folian
