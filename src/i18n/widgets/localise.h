#pragma once
// Localisation of screens: captions from the translation file of the
// current language, the language's font, and right-to-left layout in Arabic.
//
// Every form (dialog, module frame, hosted screen) has an objectName equal to
// its form name ("FrmMain", "FrmLogOn", ...), which is its section in the
// translation file; every captioned control has an objectName, its key.
// The caption written in the code is the French design text; it is kept on
// the control (property "designText") the first time the control is
// localised, and is the fallback when the file has no key.
//
// A form's walk stops at forms nested in it (objectName beginning with
// "Frm", or any window): they are localised on their own. A control whose
// caption is data, set at run time, carries the property "localise" = false
// and is left alone.

#include <QString>
#include <QStringList>

class QFont;
class QWidget;

namespace folian {

// Localises the form itself and every captioned control inside it: labels,
// buttons (push, check, radio, tool), group boxes, tab pages, the window
// title (key = form name) and the column titles of item views (key = view
// name + column number from 1). Applies the language's font to each.
void LocaliseForm(QWidget *form);
// One control of a form.
void LocaliseControl(QWidget *control, QWidget *form);
// Arabic: the installed Arabic font at size 11. French: the platform's sans
// font, and a size of 11 becomes 8; other sizes are kept.
void ApplyLanguageFont(QFont &font);

// Switches the interface language ("FR" or "AR"): the session's language
// globals, the application's layout direction and the translation file.
// Forms already shown must be localised again by their owners.
void SetApplicationLanguage(const QString &language);

// The family used for Arabic text.
QString arabicFontFamily();

// The keys that localising `form` reads from its section (named by the
// form's objectName): the form name, every captioned control, and view name
// + column number for each column of the item views.
QStringList CaptionKeys(QWidget *form);

} // namespace folian
