#pragma once
// The messages of the partner libraries, their correspondents and the
// inter-library loan, in French or Arabic by the session's language.

#include <QDate>
#include <QString>

namespace folian::circ {

// Partner libraries
QString libraryIncomplete();              // also a correspondent without number, name or first name
QString libraryExists();
QString libraryGone();
QString deleteLibraryQuestion(const QString &name);
QString libraryNotDeletable();
// What keeps a library: records and copies (or issues) of the union
// catalogue, inter-library loans (open or returned), correspondents who
// hold our copies.
QString libraryHolds(int records, int copies, int interLibraryLoans, int correspondentsHolding);
QString librariesCount(int count);        // "3 bibliothèque(s)"

// Correspondents
QString correspondentNumberTaken();
QString deleteCorrespondentQuestion(const QString &name);
QString correspondentNotDeletable();
QString correspondentHolds(int interLibraryLoans, int loans, int reservations);
QString correspondentUnknown(const QString &id);
QString newCorrespondentTitle();
QString editCorrespondentTitle();
// The hint of an empty password field: the stored password is kept.
QString passwordKept();

// Inter-library loan
QString interLibraryFieldsMissing();      // title or author empty
QString libraryNotChosen();
QString dueDateMissing();
QString dueDateInvalid(const QString &typed, const QString &format);
QString dueDateBeforeToday(const QDate &today);
QString interLibraryCopyOpen(const QString &copy, const QString &reader);
QString interLibraryNotFound();
QString interLibraryReturnPenalised(const QString &reader, const QDate &until);

} // namespace folian::circ
