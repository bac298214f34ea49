#pragma once
// The messages of circulation in French and Arabic, chosen by the session's
// language: the reader check shared by the loan desk and the reader
// screens, the administration of readers, categories, loan rules and
// structures, the reader import and the printed pages.

#include <QDate>
#include <QString>

namespace folian::circ {

// Reader check
QString readerNotEntered();
// `typed` is the number as the operator typed it; `fullStop` ends the text with "."
QString readerUnknown(const QString &typed, bool fullStop = true);
QString readerPenalised(const QString &id, const QDate &until);
QString readerSuspended(const QString &id);
QString readerPenalisedAndSuspended(const QString &id);
QString motifLine(const QString &motif);
QString readerNotReregistered(const QString &id);
QString readerOverdue(const QString &id);
QString readerOverduePeb(const QString &id);
QString readerHoldsDocuments(const QString &id);
QString readerInGoodStanding(const QString &id);

// Reader administration
QString readerNotPenalised(const QString &id);
QString readerAlreadySuspended(const QString &id);
QString readerNotSuspended(const QString &id);
QString penaltyCancelled(const QString &id);
QString suspensionDone(const QString &id);
QString suspensionLifted(const QString &id);
QString reregistrationDone();

// Reader status texts
QString statusNormal();
QString statusPenalisedUntil(const QDate &until);
QString statusSuspended();
QString statusLate();
// The items of the status criterion: " ", "Normal", "Pénalisé", "Suspendu".
QStringList statusChoices();

// Readers
QString readersFound(int count);            // "12 lecteur(s)"
QString deleteReadersQuestion();
QString readerNumberTaken(const QString &id);
QString readerNotDeletable(const QString &id, int loans, int reservations, int interLibrary);
QString historyLoans(int count);            // " 2 prêt(s)"; -1: the bare title
QString historyReservations(int count);
QString historyInterLibrary(int count);
// A reservation whose copy is back on the shelf, held for the reserver.
QString returnedAndHeld();

// Categories, rules, structures
QString categoryNotDeletable();
QString categoryLabelLocked();
QString deleteCategoryQuestion(const QString &label);
QString categoryInUse(const QString &label, int readers);
QString deleteStructureQuestion(const QString &label);
QString structureInUse(const QString &label, int readers);
QString deleteRuleQuestion();
QString ruleInUse(int copies);
QString ruleTypeRequired();
QString ruleDuplicate(const QString &typeLabel);
QString ruleNumbersRequired();

// Reader import
QString importDone();
QString importStopped();
// Lines read, readers imported, lines rejected, and the blank lines when there are some.
QString importCounts(int read, int imported, int skipped, int blank);
QString importSkippedLine(int line, const QString &reason);
QString importEmptyNumber();
QString importDuplicate(const QString &id);
// The number is that of a reader of an earlier line of the same file.
QString importDuplicateInFile(const QString &id, int firstLine);
// A NUL character in the line (a file of another encoding than it says).
QString importNulCharacter();
// folianctl's failure when lines of the file were not imported.
QString importLinesRejected(int lines);
QString importBadDate(const QString &text);
QString importTooLong(const QString &field);
QString importNotSaved(const QString &why);
QString importUnreadable(const QString &path);
QString importNoCategory();
QString importNoStructure();
QString importFileFormat();

// Reminders and editions
QString lateReadersCount(int count);        // "3 lecteur(s) retardataires(s)"
QString remindersStatus(int count);         // " Relances : 3"
QString reminderLetterTitle();
QString reminderPreviewTitle();
QString reminderNoReader();
QString remindersWritten(int loanLetters, int interLibraryLetters, const QString &directory);
QString editionResult(int count);           // " Résultat : 12"

// Pages
QString clearanceTitle();
QString readerListTitle();
QString clearanceSignature();

} // namespace folian::circ
