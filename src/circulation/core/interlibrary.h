#pragma once
// Incoming inter-library loans: a document borrowed from a partner library
// is lent on to one of our readers (a PEB row, open while BIB_REMIS is 0)
// and its return recorded, with the penalty of a late return. The screens
// "PEB - Enregistrement" and "PEB - Retour" and folianctl are faces of this
// one service.
//
// Each operation is one transaction with its journal row. A registration
// locks the partner library's row, so that one of its copies is never lent
// twice at once; a return closes the loan only while it is still open
// (BIB_REMIS = 0), so that a return done at two workstations at once is done
// and penalised once.

#include "circulation/core/readerstanding.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace folian {

class Database;

// What the registration screen holds, as typed.
struct InterLibraryLoan {
    QString reader;
    QString copy;          // the partner's copy number
    QString title;
    QString author;
    QVariant libraryId;    // BIB_ID of the lending library; null when none is chosen
    QString due;           // the due date as typed
};

// Which field the operator corrects after a refusal.
enum class InterLibraryField { None, Reader, Copy, Title, Library, Due };

struct InterLibraryResult {
    bool passed = false;   // done
    bool blue = false;     // shown in blue; a return that penalises is done, shown in red
    QStringList lines;
    QString readerId;      // the reader (the borrower of a return)
    QString copyId;        // the partner's copy number as stored
    QDate due;             // the due date of the loan
    InterLibraryField field = InterLibraryField::None;
    QString message() const { return lines.join(u'\n'); }
};

// The last day of the penalty of an inter-library loan due on `due` and
// returned on `today`: none when it is not late; otherwise today +
// `penaltyDays` (times the days late when `proportional` is 1), whatever
// the category's penalty (0 penalises until today).
std::optional<QDate> interLibraryPenaltyEnd(const QDate &today, const QDate &due, int penaltyDays,
                                            const QVariant &proportional);

class InterLibraryDesk
{
public:
    // With a valid `today`, that day stands for the server's date.
    explicit InterLibraryDesk(Database &db, const QDate &today = QDate());

    QDate today();
    // The reader check of the loan desk.
    ReaderCheck checkReader(const QString &typed);
    // Registers the loan: the reader check, the fields, the library, the
    // due date (not before today), the copy not lent already by that library.
    InterLibraryResult lend(const InterLibraryLoan &loan);
    // Records the return of the copy lent by the library.
    InterLibraryResult giveBack(const QString &copy, const QVariant &libraryId);

private:
    bool journal(int operation, const QString &copy, const QString &reader, const QDate &due);

    Database &db_;
    QDate fixedToday_;
};

} // namespace folian
