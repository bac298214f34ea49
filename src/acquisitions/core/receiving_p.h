#pragma once
// What receiving copies one at a time and in batches share: the line's
// counts raised within what was ordered, the record received, the copies
// written. Inside the caller's transaction.

#include "acquisitions/core/acqresult.h"
#include "acquisitions/core/receivedcopies.h"
#include "data/core/helpers.h"

#include <QDate>
#include <QVector>

namespace folian::receiving {

struct Line {
    int record = 0;        // the title's DOC_ID
    QVariant price;        // the line's ACQ_PRIX as stored
    QDate date;            // the date of acquisition of its copies
    QDate documentDate;    // the date of the line's document
};

// Raises the received counts of the target's line (and delivered title) by
// `n`, within the copies ordered unless the document is a subscription;
// with n = 0 only locks them. Refused: the line or the delivered title is
// gone, the line is fully received, fewer copies remain than `n`, a line
// entered directly that hands copies over (an outgoing gift or exchange)
// instead of receiving them. A line entered directly locks its document
// first, so that its direction does not change meanwhile.
AcqResult raise(Database &db, const ReceiptTarget &target, int n, Line *line);
// The record on order (status 3) is received (status 1).
bool recordReceived(Database &db, int record);

// The keys chosen for a copy as its columns hold them: NULL for none, a
// copy's status 2 (available) when none is chosen.
inline QVariant locationKey(const QVariant &v) { return IsBlank(v) ? QVariant() : QVariant(v.toString()); }
inline QVariant supportKey(const QVariant &v) { return IsBlank(v) ? QVariant() : QVariant(v.toInt()); }
inline QVariant statusKey(const QVariant &v) { return IsBlank(v) ? QVariant(2) : QVariant(v.toInt()); }

// The values every copy of one writing shares.
struct CopyCommon {
    int record = 0;
    QVariant delivery, line;   // LIV_ID, ACQ_LIGNE_ID (NULL for a record alone)
    int mode = 0;
    QVariant price, date;      // as bound
    QVariant location, support, status;
    QVariant observation;
};
struct CopyNumbers {
    QString id;
    QVariant shelfMark, altNumber;
};

// Inserts the copies, many to a statement. False on failure (a number
// taken meanwhile is a duplicate key: see Dialect::isDuplicateKey).
bool insertCopies(Database &db, const CopyCommon &common, const QVector<CopyNumbers> &copies);
// Of these numbers, those a copy already has, in the given order.
bool takenNumbers(Database &db, const QStringList &numbers, QStringList *taken);

} // namespace folian::receiving
