#pragma once
// Days as the operator reads and types them, the same in French and in
// Arabic whatever the system's locale: DD/MM/YYYY. Lists, messages, pages
// and letters show dates through ShowDate; date fields use DateFormat;
// typed dates and dates of files are read by ReadDate.

#include <QDate>
#include <QDateTime>
#include <QString>

namespace folian {

// The format of a day: "dd/MM/yyyy" (for the date fields' display format).
QString DateFormat();

// A day as "DD/MM/YYYY"; empty for an invalid date.
QString ShowDate(const QDate &d);
// A moment as "DD/MM/YYYY HH:MM"; a moment at midnight shows its day only.
QString ShowDateTime(const QDateTime &dt);

// A day typed as day/month/year ("05/06/2027", "5-6-27", "05.06.2027") or
// as year-month-day ("2027-06-05"), in Latin or Arabic-Indic digits,
// whatever the system's locale; a two-digit year is of this century.
// Invalid when the text is not such a day. `twoDigitYear` tells whether
// the year was typed with two digits (a date of birth is then put back a
// century when it would lie ahead).
QDate ReadDate(const QString &text, bool *twoDigitYear = nullptr);

// A value set inside a message (a date, a number, a reader or copy
// number), kept in one piece and in its own direction in an Arabic line:
// in Arabic the value is wrapped in first-strong isolation marks, so that
// the bidirectional algorithm never reorders it with the words around it.
QString Isolated(const QString &value);
// The same for a date (ShowDate) and a whole number.
QString IsolatedDate(const QDate &d);
QString IsolatedNumber(qint64 n);

} // namespace folian
