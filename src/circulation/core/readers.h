#pragma once
// Readers: the search, the lists of what a reader holds, registration and
// deletion, and the rules of the reader row that the loan desk applies
// (the loan counter, the penalty of a late return, the end of a penalty).
// Every change is one statement that decides from the stored values, so
// that two workstations never undo each other's work.

#include "data/core/helpers.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace folian {

class Database;
class Dialect;
class TFrmData;

// --- Search ----------------------------------------------------------------

enum class ReaderCriterion { Numero, Nom, Categorie, Structure, DateAdhesion, Statut };

struct ReaderSearch {
    ReaderCriterion criterion = ReaderCriterion::Numero;
    QString text;              // Numero ("*" is the wildcard), Nom (whole words)
    QVariant key;              // Categorie: CAT_ID, Structure: STR_ID
    QString op = QStringLiteral("=");  // DateAdhesion: one of dateOperators()
    QDate date;                // DateAdhesion
    int status = -1;           // Statut: 0 normal, 1 penalised, 2 suspended; -1 none
};

// The operators of the registration-date criterion.
const QStringList &dateOperators();

// The readers a criterion finds, sorted by number, as rows of LECTEUR with
// three more columns: LEC_RETARD (1 when a loan or an open inter-library
// loan is overdue), CAT_LIBELLE and STR_LIBELLE. A criterion without a
// value finds nobody.
SqlText readerSearchSql(const Dialect &dialect, const ReaderSearch &search, const QDate &today);
// The same columns for one reader.
SqlText readerRowSql(const Dialect &dialect, const QString &readerId, const QDate &today);

// The "Statut" column of the search list.
QString searchStatusText(const QVariant &status, const QVariant &penaltyEnd, const QVariant &late);

// The surname words of a name criterion, split as keywords are.
QStringList nameWords(const QString &text);

// --- What a reader holds (the " Historique lecteur :" lists) ------------------

// Loans (copies whose LEC_ID is the reader) and reservations (LEC_ID2), with
// the record's title as TITRE and its document type's label as TYPE; open
// inter-library loans with the partner library's name as BIB_NOM.
SqlText readerLoansSql(const QString &readerId);
// The title of the record whose DOC_ID is the column `docId` of the outer
// query, as lists and letters show it: the title proper, followed by " : "
// and the other title information when there is one. A subquery.
QString recordTitleSql(const QString &docId);
SqlText readerReservationsSql(const QString &readerId);
SqlText readerInterLibrarySql(const QString &readerId);
// Opens QPret, QReservation and QPebHistory on the reader; a list that
// cannot be read stays closed.
void openReaderHistory(TFrmData &data, const QString &readerId);
void closeReaderHistory(TFrmData &data);

// --- Registration and deletion -----------------------------------------------

// Why a new reader cannot take this number (already taken), or empty.
QString readerNumberRefusal(Database &db, const QString &readerId);

// Deletes a reader who holds nothing: no loan, no reservation, no open
// inter-library loan, decided in the deleting statement. Empty on success,
// else why not.
QString deleteReader(Database &db, const QString &readerId);

// What keeps a reader from being deleted: the copies lent to him, the
// copies he reserved and his inter-library loans (the open ones only, or
// all of them).
struct ReaderHoldings {
    int loans = 0, held = 0, peb = 0;
    bool any() const { return loans + held + peb > 0; }
};
ReaderHoldings readerHoldings(Database &db, const QString &readerId, bool openInterLibraryOnly);
// The same as a condition on LECTEUR that he holds none of them, with his
// number bound three times: for the statement that deletes him, so that
// what a desk lends him meanwhile keeps him.
QString holdsNothingSql(bool openInterLibraryOnly);

// --- The reader row at the loan desk ---------------------------------------------

// One more loan in the reader's counter (an empty counter counts as 0).
bool countReaderLoan(Database &db, const QString &readerId);
// The last day of the penalty of a return on `today` of a loan due on
// `due`, in a category penalising `penaltyDays` days (per day late when
// `proportional` is 1); none when the return is not late or the category
// does not penalise.
std::optional<QDate> penaltyEnd(const QDate &today, const QDate &due, int penaltyDays, const QVariant &proportional);
// A late return: status 1, or 3 for a suspended reader; the penalty ends on `until`.
bool penaliseReader(Database &db, const QString &readerId, const QDate &until);
// A penalty whose last day is before `today` is over: status 1 becomes 0.
bool clearEndedPenalty(Database &db, const QString &readerId, const QDate &today);

} // namespace folian
