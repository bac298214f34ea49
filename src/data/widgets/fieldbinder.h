#pragma once
// Widgets bound to the columns of a dataset: they show the current row,
// follow it when it moves or changes, and write back every change that is
// not the binder's own display (the operator's, or a screen's on his behalf). Typing in a widget puts the row in edit; a value the dataset
// refuses (too long, not a number, not a date) is shown to the operator
// with the field it concerns and the widget gets its value back.
//
// Text widgets write when the operator leaves them; call submit() (or
// post()) before posting so that the text still being typed is taken.

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVector>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QWidget;

namespace folian {

class Dataset;

class FieldBinder : public QObject
{
    Q_OBJECT
public:
    explicit FieldBinder(Dataset *dataset, QObject *parent = nullptr);

    Dataset *dataset() const { return dataset_; }

    // A line edit; its length is limited to the column's.
    void bind(QLineEdit *w, const QString &column);
    void bind(QPlainTextEdit *w, const QString &column);
    // A box checked when the column holds `on`; unchecked writes `off`.
    void bind(QCheckBox *w, const QString &column, const QVariant &on = 1, const QVariant &off = 0);
    // A list whose items carry the column's value as their data (an item
    // without data stands for NULL). The value is matched by key, never by
    // the label or the position.
    void bind(QComboBox *w, const QString &column);
    void bind(QSpinBox *w, const QString &column);
    // Radio buttons whose ids are the column's values (none checked: NULL).
    void bind(QButtonGroup *w, const QString &column);
    // A date; the earliest date of the widget, shown blank, stands for NULL.
    void bind(QDateEdit *w, const QString &column);
    // Shown only.
    void bind(QLabel *w, const QString &column);

    // The name the messages give a field (its caption on the screen).
    void setCaption(const QString &column, const QString &caption);

    // Writes what the operator typed and has not yet been written. False
    // when a value is refused: the message has been shown and the widget has
    // the focus.
    bool submit();
    // submit(), then post the row.
    bool post();
    // Shows the current row in every widget.
    void refresh();
    // Widgets shown but not editable (rights, a copy on loan, ...).
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

    // Fills a list with the rows of a lookup dataset: the key column as
    // data, the label as text; with `blank`, a first empty item for NULL.
    // The list is then as wide as the room its screen gives it.
    static void fillList(QComboBox *w, Dataset *lookup, const QString &keyColumn, const QString &labelColumn,
                         bool blank = false);

signals:
    // The operator changed a value.
    void edited(const QString &column);

private:
    struct Binding {
        QPointer<QObject> widget;
        QString column;
        std::function<QVariant()> read;             // the widget's value
        std::function<void(const QVariant &)> show; // puts a value in the widget
        std::function<void(bool)> lock;             // read-only or not
        bool pending = false;                       // typed, not yet written
    };
    Binding &add(QObject *w, const QString &column);
    // The operator changed a widget: write now, or mark it for later.
    void changed(Binding &b, bool writeNow);
    bool write(Binding &b);
    void showRow(bool all);
    void showBinding(Binding &b);

    Dataset *dataset_;
    QVector<Binding> bindings_;
    bool showing_ = false;
    bool starting_ = false;  // this binder is putting the row in edit
    bool readOnly_ = false;
};

} // namespace folian
