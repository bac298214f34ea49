#pragma once
// Labelled fields bound to a dataset's columns, as the record form and its
// dialogs lay them out: the label is named "Lbl" + column, the field is
// named after its column, and refusals name the field by its caption.

#include "data/widgets/uihelpers.h"

#include <QString>

class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QPushButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace folian {

class Dataset;
class FieldBinder;

// A form layout of labelled fields, in `w`.
QFormLayout *fieldForm(QWidget *w);
// The label of a field; `caption` is the design text ("Titre propre :").
QLabel *addFieldRow(QFormLayout *form, const QString &column, const QString &caption, QWidget *field);
// A line edit. It takes any length: a text too long for its column is
// refused by the record with a message naming the field, never cut by the
// box (as a limited box would cut a paste).
QLineEdit *addLine(QFormLayout *form, FieldBinder &binder, const QString &column, const QString &caption);
// Lifts the length limit the binder gives a box (see addLine).
void acceptAnyLength(QLineEdit *edit);
QPlainTextEdit *addText(QFormLayout *form, FieldBinder &binder, const QString &column, const QString &caption);
// A list of a lookup's rows: its key `keyColumn` as data, its label column
// in the interface's language (`labelPrefix` + "_LIBELLE", + "_AR" in
// Arabic unless `frenchOnly`), a first blank item for NULL.
QComboBox *addList(QFormLayout *form, FieldBinder &binder, const QString &column, const QString &caption,
                   Dataset *lookup, const QString &keyColumn, const QString &labelPrefix, bool frenchOnly = false);
// Fills a list as addList does.
void fillLookupList(QComboBox *list, Dataset *lookup, const QString &keyColumn, const QString &labelPrefix,
                    bool frenchOnly = false);
// The buttons of a sheet, at the right of their row: `post` (named BtnPost,
// "Enregistrer" unless told) and "Annuler" (BtnCancel).
struct SheetButtons {
    QPushButton *post;
    QPushButton *cancel;
    QHBoxLayout *row;
};
SheetButtons sheetButtons(QWidget *sheet, const QString &postName = QStringLiteral("BtnPost"),
                          const QString &postCaption = QStringLiteral("Enregistrer"));

// Opens a lookup on its whole table unless it is open so already.
void openLookup(Dataset *lookup);

} // namespace folian
