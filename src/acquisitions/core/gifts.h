#pragma once
// Gifts, exchanges and deposits: documents with a partner instead of a
// supplier, whose lines carry titles and numbers of copies only. An
// incoming line (every deposit; a gift or an exchange whose direction is
// "Entrant") receives new copies and issues as any line receives them
// directly (receivedcopies.h, and copygeneration.h in its line context).
// An outgoing line (a gift or an exchange of any other direction, a blank
// one included) hands over copies and issues the catalogue already holds:
// a copy handed over gets the status 8 (gift) or 7 (exchange) and keeps the
// one it had, which it gets back when it is taken off the line while it
// still holds the line's.
//
// Between workstations: handing a copy over is one transaction of two
// conditional statements, the copy written only while it is free (not
// lent, not reserved, on no outgoing line) and the line's count raised
// only while it is below the line's copies; when either finds nothing, the
// transaction is undone and the operator told why. A desk lending a copy
// while it is handed over, or two lines wanting one copy, thus give one
// winner, and a line never holds more copies than it gives. Taking a copy
// back lowers the count once, never below 0. Every change of a line's
// copies and issues locks the document's row first, as a change of its
// direction does; the direction does not change while its lines hold
// copies or issues.

#include "acquisitions/core/acqresult.h"
#include "acquisitions/core/documents.h"
#include "acquisitions/core/receivedcopies.h"
#include "data/core/helpers.h"

namespace folian {

class Database;

// Gifts, exchanges and deposits.
bool isGiftKind(AcqType kind);
// Does a document of this kind and direction receive (else hand over)?
// Deposits always receive; gifts and exchanges only with direction 1.
bool incomingDirection(AcqType kind, int direction);
// The mode of acquisition of the copies a kind receives (2, 3, 4).
int giftCopyMode(AcqType kind);
// The status a kind gives the copies it hands over (8, 7; 0 for deposits).
int handedOverStatus(AcqType kind);

// A line of a gift, an exchange or a deposit, with its document's kind and direction.
struct GiftLine {
    int id = 0;          // ACQ_LIGNE_ID; 0 when there is none (or it is not such a line)
    int document = 0;    // ACQ_ID
    int record = 0;      // DOC_ID
    AcqType kind = AcqType::Gift;
    int direction = AcqDirection::Unset;
    int status = AcqStatus::ToValidate;  // the document's
    int copies = 0;      // ACQ_EXEMPLAIRE
    int held = 0;        // ACQ_NBR_LIVRE: copies received, or handed over
    bool incoming() const { return incomingDirection(kind, direction); }
};
GiftLine loadGiftLine(Database &db, int line);

// Where the incoming copies and issues of a line are received.
ReceiptTarget giftTarget(const GiftLine &line);
// Why the line takes no more copies now (all received, or all handed
// over), empty when it does: what a screen tells before it opens a sheet.
// The writing decides again.
QString giftAddRefusal(Database &db, int line);

// Inside the transaction that saves a line of `document` (the document
// locked): for an outgoing document, why the title has fewer copies in
// good condition (status other than 5 to 8, or held by this line) than
// `copies`; empty when it has enough, or for any other document. `ok`
// becomes false on a failure of the database.
QString outgoingLineRefusal(Database &db, int document, int line, int record, int copies, bool *ok);
// Inside the transaction that saves the header (the document locked): why
// its direction cannot become `direction` (its lines hold copies or
// issues that the other direction's lists would not show); empty when it can.
QString directionChangeRefusal(Database &db, int document, int direction, bool *ok);

// Outgoing lines: a copy or an issue of the title handed over, or taken back.
AcqResult handOverCopy(Database &db, int line, const QString &copy);
AcqResult takeBackCopy(Database &db, int line, const QString &copy);
AcqResult handOverIssue(Database &db, int line, int issue);
AcqResult takeBackIssue(Database &db, int line, int issue);
// A copy or an issue removed from a line: deleted from an incoming line
// (a copy lent or reserved is not), taken back from an outgoing one.
AcqResult removeLineCopy(Database &db, int line, const QString &copy);
AcqResult removeLineIssue(Database &db, int line, int issue);

// The copies and issues of a line: received by an incoming line, handed
// over by an outgoing one. Copies with the labels of their location,
// support and status.
SqlText lineCopiesSql(const GiftLine &line);
SqlText lineIssuesSql(const GiftLine &line);
// What an outgoing line may choose: the title's copies and issues on no
// outgoing line.
SqlText selectableCopiesSql(const GiftLine &line);
SqlText selectableIssuesSql(const GiftLine &line);

} // namespace folian
