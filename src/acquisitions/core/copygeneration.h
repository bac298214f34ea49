#pragma once
// Batch copy generation ("Génération des exemplaires"): N copies of a
// title at once, their copy numbers, shelf marks and alternative numbers
// made of a prefix and a running number, received on a delivered title
// (context 1), on an acquisition line directly (context 2) or added to a
// record alone (context 3, the record form).
//
// A batch is all or nothing: every number is checked first (a start of 0,
// a count outside 1-1000, a number longer than its column, a copy number
// already taken are refused with the numbers named); the copies, the
// received counts and the record's status are then written in one
// transaction, the counts raised by the statement that checks them
// (ACQ_NBR_LIVRE + N <= ACQ_EXEMPLAIRE, subscriptions excepted), so no
// workstation ever receives more copies than were ordered. A number taken
// by another workstation meanwhile refuses the whole batch.

#include "acquisitions/core/receivedcopies.h"

#include <QStringList>

namespace folian {

class Database;
class Progress;

enum class GenerationContext { Delivery = 1, Line = 2, Record = 3 };

// A prefix and a start ("A partir de :"): the numbers prefix + start,
// prefix + (start + 1), ...
struct NumberSeries {
    QString prefix;
    QString start;   // digits; blank or 0: no running number
};

// The preview of a series for `count` copies: prefix + start + i, or the
// prefix alone on every line when the start is blank or 0; nothing when
// the count is below 1.
QStringList seriesPreview(const NumberSeries &series, int count);

struct GenerationRequest {
    GenerationContext context = GenerationContext::Record;
    int mode = AcquisitionMode::Purchase;   // MOD_ID of the copies
    int record = 0;      // context 3: the record (DOC_ID)
    int line = 0;        // contexts 1 and 2: the acquisition line
    int delivery = 0;    // context 1: the delivery
    QString count;       // "Nombre d'exemplaire :", as typed
    NumberSeries copy;       // EXP_ID: a start of 1 or more is required
    NumberSeries shelfMark;  // EXP_COTE: without a start, the prefix as typed
    NumberSeries altNumber;  // EXP_INV: without a start, none
    QVariant support, location, status;   // keys; status 2 when none
};

struct GenerationResult {
    bool passed = false;
    QString message;       // "Génération effectuée avec succès" with the count, or the refusal
    QStringList created;   // the copy numbers, in order
};

GenerationResult generateCopies(Database &db, const GenerationRequest &request, Progress *progress = nullptr);

} // namespace folian
