#pragma once
// What the acquisition screens build alike: their grids, the lists of keys
// and labels, the date fields that may stay blank, the rows of buttons.

#include <QString>
#include <QVariant>

#include <functional>

class QComboBox;
class QDialog;
class QGroupBox;
class QPushButton;
class QDateEdit;
class QFormLayout;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QLabel;
class QTableView;
class QWidget;

namespace folian {

class Database;
class Dataset;
class DatasetModel;

// A grid named `name` over the model, whole rows, its last column stretched.
QTableView *acqGrid(const char *name, DatasetModel *model, QWidget *parent);
void setColumnWidths(QTableView *grid, std::initializer_list<int> widths);

// Fills a list with the rows of `sql` (key, label): the key as each item's
// data, the label as its text; with `blank`, a first empty item (no key).
// The selection is kept by key.
void fillKeyList(QComboBox *list, Database &db, const QString &sql, bool blank);
// The key of the chosen item (NULL for the blank one).
QVariant chosenKey(const QComboBox *list);
// Chooses the item whose key is `key` (the blank one for NULL).
void chooseKey(QComboBox *list, const QVariant &key);

// The lists of a copy's location (blank first), support (blank first) and
// status, by their keys in table order, labels in the session's language.
void fillCopyLists(Database &db, QComboBox *location, QComboBox *support, QComboBox *status);

// A date field in the workstation's format; with `blankAllowed`, its
// earliest day, shown blank, stands for no date.
QDateEdit *dateField(const char *name, QWidget *parent, bool blankAllowed = false);
QDate dateOf(const QDateEdit *field);
void showDate(QDateEdit *field, const QDate &date);

// The search criteria's box (PnlOption) of a screen.
QGroupBox *criteriaBox(QWidget *parent);
// "Rechercher" and "Initialiser" at the right of the criteria's grid (rows
// 0 and 1 of column 4), its fields' columns 1 and 3 stretched.
void searchButtons(QGridLayout *grid, QWidget *box, const std::function<void()> &search, const std::function<void()> &reset);
// The "Du" and "Au" criteria of a search (ChkDu and EdtDu, ChkAu and EdtAu):
// each a check box and a day, `today` until changed.
QHBoxLayout *dateRangeRow(QWidget *box, const QDate &today);
// The days of the range that are checked (the others left invalid).
void readDateRange(const QWidget *screen, QDate *from, QDate *to);
void clearDateRange(QWidget *screen);
// The "Enregistrer" and "Annuler" of a sheet at the right of a row:
// "Annuler" closes it unsaved; "Enregistrer" (BtnPost) is given in `post`.
QHBoxLayout *sheetButtons(QDialog *dialog, QPushButton **post);

// A row of a form: the label `label` with its caption, buddy of `field`.
void formRow(QFormLayout *form, QWidget *parent, const char *label, const char *caption, QWidget *field);
// A line edit or a list named `name` on a new row of the form.
QLineEdit *formLine(QFormLayout *form, QWidget *parent, const char *name, const char *label, const char *caption);
QComboBox *formList(QFormLayout *form, QWidget *parent, const char *name, const char *label, const char *caption);

// An amount as the grids show it: two decimals; blank for none.
QString moneyText(const QVariant &v);

// The status criterion of the search screens: blank, "A valider", "En
// cours" in the session's language (each its code as data), the choice kept.
void fillStatusList(QComboBox *list);
// The integer key `column` of the dataset's current row; 0 when it has none.
int currentKey(Dataset *rows, const char *column);

// A label showing a count or a value at run time, not translated.
QLabel *countLabel(const char *name, QWidget *parent);

} // namespace folian
