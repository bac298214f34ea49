#pragma once
// The messages of the loan desk and of the in-house consultation, in French
// or Arabic by the session's language. `typed` is a number as the operator
// typed it, `id` as stored.

#include <QDate>
#include <QString>

namespace folian::circ {

QString copyNotEntered();
QString copyStatusUndefined(const QString &typed);
// The "n'existe pas" message of each operation.
QString loanCopyUnknown(const QString &typed);
QString returnCopyUnknown(const QString &typed);
QString reservationCopyUnknown(const QString &typed);
QString renewalCopyUnknown(const QString &typed);
QString cancellationCopyUnknown(const QString &typed);
QString consultationCopyUnknown(const QString &typed);

// Loan
QString loanRefusedForStatus(const QString &id, int status);
QString copyOnLoanUntil(const QString &id, const QDate &due);
QString andReservedUntil(const QDate &hold);
QString interLibraryCopyOrdinaryReader(const QString &id, const QString &reader);
QString interLibraryReaderOrdinaryCopy(const QString &id, const QString &reader);
QString loanNoRule();
QString quotaExceeded(const QString &reader);
QString loanReservedUntil(const QString &id, const QDate &hold);
QString loanDone(const QString &id);

// Return
QString copyNotOnLoan(const QString &id);
QString readerNotBorrower();
QString returnPenalised(const QString &reader, const QDate &until);
QString returnDone(const QString &id);
QString returnedCopyReserved(const QString &reserver, const QDate &hold);
// A return dated before the day of its loan.
QString returnBeforeLoan(const QString &id, const QDate &lent);
// A copy consulted in house, brought back to the loan desk; a copy lent,
// brought back to the in-house consultation: where each is returned.
QString consultationAtLoanDesk(const QString &id);
QString loanAtConsultationScreen(const QString &id);

// Reservation
QString reservationCopyAvailable(const QString &typed);
QString reservationAlreadyReserved(const QString &id, const QDate &hold);
QString reservationReaderHoldsCopy(const QString &typed);
QString reservationNoRule();
QString reservationDone(const QString &id);

// Renewal
QString renewalNotLent(const QString &id);
QString renewalDuePassed(const QString &id);
QString renewalReserved(const QString &id, const QDate &hold);
QString renewalNoRule();
QString renewalAlreadyDone(const QString &id);
QString renewalDone(const QString &id);

// Cancellation of a reservation
QString cancellationNotReserved(const QString &id);
QString readerNotReserver();
QString cancellationDone(const QString &id);

// In-house consultation
QString consultationRefusedForStatus(const QString &id, int status);
QString consultationDone(const QString &id);
QString consultationNotCurrent(const QString &id);
QString consultationReturnPenalised(const QString &reader, const QDate &until);

// Another workstation changed the copy between the check and the write.
QString copyChangedMeanwhile(const QString &id);

// The offline desk file
QString replayBadLine(int line);
QString replayFutureDate(int line, const QDate &date);
QString replayUnknownOperation(int line, const QString &operation);
QString replayCounts(int done, int refused);
QString replayUnreadable(const QString &path);

} // namespace folian::circ
