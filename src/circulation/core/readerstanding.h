#pragma once
// Whether a reader is in good standing, and what the reader administration
// does to his status: cancel a penalty, suspend him, lift a suspension.
//
// Status transitions: cancel penalty 1 -> 0 and 3 -> 2; suspend 0 -> 2 and
// 1 -> 3; lift 2 -> 0 and 3 -> 1. Each is one UPDATE computing the new status
// from the stored one, under the condition that the stored one allows the
// action: what another workstation just did is never undone, and an action
// the stored status no longer allows is refused.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace folian {

class Database;

// Why the standing is checked.
enum class CheckPurpose {
    Desk,            // the loan desk: status, membership, overdue loans; an ended penalty is cleared
    Clearance,       // the clearance certificate: nothing may be held at all
    Reregistration   // re-registration: status and overdue loans
};

struct ReaderCheck {
    bool found = false;
    bool passed = false;
    QString readerId;        // as stored
    QStringList lines;       // the message, one line each (French or Arabic)
    QString message() const { return lines.join(u'\n'); }
};

// Checks the reader numbered `typed` (trimmed for the look-up; the
// messages quote it as typed when he does not exist). At the desk a pass
// also clears a penalty whose last day is over, and the message says he is
// in good standing.
ReaderCheck checkReader(Database &db, const QString &typed, CheckPurpose purpose, const QDate &today);

struct ReaderChange {
    bool done = false;
    QString message;
};

// "Réinscription": when the reader passes the re-registration check, his
// registration date becomes `today`.
ReaderChange reregisterReader(Database &db, const QString &readerId, const QDate &today);

enum class AdminAction { CancelPenalty = 0, Suspend = 1, LiftSuspension = 2 };

// The action on the reader numbered `typed`; `motif` (trimmed) becomes the
// reason of a suspension when not empty. The penalty end date and the
// reason are never cleared.
ReaderChange administerReader(Database &db, const QString &typed, AdminAction action, const QString &motif,
                              const QDate &today);

} // namespace folian
