#pragma once
// Helpers that need widgets or the desktop.

#include <QAnyStringView>
#include <QString>
#include <QUrl>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QObject;
class QWidget;
class QDateEdit;
class QTableView;

namespace folian {

class Dataset;

// Adds the text as a new item and selects it; does nothing without a list.
void AddAndSelect(const QString &text, QListWidget *list);

// A grid over a shared query as the screens show them: whole rows, one at
// a time, no editing in the cells, no row numbers.
void ConfigureGrid(QTableView *view);
// A day field: DD/MM/YYYY, read from left to right in both languages.
void ConfigureDateField(QDateEdit *field);

// A grid over a dataset kept on the dataset's current row, both ways: the
// dataset moving puts the grid on its row; the operator putting the grid on
// another row calls `chosen` (by default the dataset moves there, unless a
// row is being edited). `changed` runs whenever the rows or the state of the
// dataset change (the screen's buttons follow them).
void FollowCurrentRow(QTableView *grid, Dataset *dataset, std::function<void()> changed,
                      std::function<void(int row)> chosen = {});
// Puts the grid on the dataset's current row.
void ShowCurrentRow(QTableView *grid, Dataset *dataset);

// Controls made as the screens make them: named, so that the translation
// files find them. A button is never the default one (Return belongs to the
// fields); a value label shows a run-time value in bold and is left alone by
// the translation.
QPushButton *namedButton(QAnyStringView name, QAnyStringView caption, QWidget *parent);
QLabel *namedLabel(QAnyStringView name, QAnyStringView caption, QWidget *parent);
QLabel *valueLabel(QAnyStringView name, QWidget *parent);

// Takes a screen off the desktop at once and frees it when control is back
// in the event loop: a screen that opens another from one of its own
// handlers is never deleted while that handler runs.
void retire(QWidget *screen);

// Opens a link clicked in a preview when it is a web or mail address
// (SafeLinkUrl), in the desktop's browser or mail program; anything else is
// left alone. False when nothing was opened.
bool OpenSafeLink(const QUrl &url);

// Opens a file or an address with the desktop's handler. A file with
// parameters is started as a program with them, in `directory`. False when
// nothing could open it.
bool RunDocument(const QString &file, const QString &parameters = QString(),
                 const QString &directory = QString());

} // namespace folian
