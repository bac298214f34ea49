#pragma once
// What the public catalogue reads: the records a reader's search finds, a
// page at a time, and one record with its copies. Read-only, through the
// record search's conditions (the same words, folding and indexes as the
// desktop's search).
//
// What readers never see is never read: a copy's borrower and reserver are
// asked of the database only as "is there one" (the keys stay there), and
// no reader, user, acquisition or note table is named. Records that the
// acquisitions made for a title not on order (status 2) are not public.

#include "opac/core/opacrequest.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace folian {

class Database;

namespace opac {

// How a copy can be had, from the best to the worst.
enum class Availability {
    Available,        // on the shelf
    OnSite,           // on the shelf, read on site only (status 3)
    OnLoan,           // lent until its due date
    InConsultation,   // being read on site
    Reserved,         // back, and kept for the reader who reserved it
    Unavailable,      // damaged, or any other status that keeps it off the shelf
    NoCopy            // a record without a copy shown
};

// A copy's circulation as the catalogue reads it: whether someone holds
// or reserved it, never who.
struct CopyFacts {
    int status = 0;             // STA_EXP_ID, 0 when empty
    bool lent = false;          // LEC_ID set
    QDate due;                  // EXP_DATE_RETOUR
    bool reserved = false;      // LEC_ID2 set
    QDate reservationDate;      // EXP_DATE_RESERVATION
};

// Whether a copy is shown at all: the lost and the given away are not.
bool isShown(int status);
Availability availabilityOf(const CopyFacts &copy, const QDate &today);

// A record's availability: its best copy's, with the earliest due date
// when the best is a loan.
struct Summary {
    Availability kind = Availability::NoCopy;
    QDate due;
};
Summary summarise(const QList<CopyFacts> &copies, const QDate &today);
// The words of an availability; `statusLabel` for an unavailable copy.
QString availabilityText(Availability kind, const QDate &due, const QString &statusLabel, bool arabic);

// A code and its label in the page's language, for the form's lists.
using Choice = QPair<QString, QString>;
struct Choices {
    QList<Choice> types, languages;
};

struct Hit {
    int id = 0;
    QString title, author, year, type;
    Summary availability;
};

struct Results {
    qint64 count = 0;
    bool more = false;  // more records found than counted: `count` is the bound, `pages` those it fills
    int page = 1, pages = 0;
    QList<Hit> hits;
};

struct CopyLine {
    QString number, shelfMark, location, state;
    QDate due;  // shown for a loan
};

struct RecordView {
    QString isbd;        // the ISBD card, an escaped HTML fragment
    QString title;
    bool arabicRecord = false;
    QList<CopyLine> copies;
};

enum class Outcome { Done, OutOfRange, NotFound, Failed };

class Catalogue
{
public:
    // Searches finding at most `countedAtMost` records are sorted with
    // their count in one statement; the others are counted no further and
    // take the desktop search's plan.
    static constexpr int kCountedAtMost = 10000;
    explicit Catalogue(Database &db, int countedAtMost = kCountedAtMost) : db_(db), countedAtMost_(countedAtMost) {}

    // The page `page` of the records found, by title in the alphabetical
    // order of the page's language. OutOfRange when there is no such page.
    // The records are counted up to a bound: a search that finds more shows
    // the pages the bound fills.
    Outcome search(const Criteria &criteria, int page, bool arabic, Results *out, QString *why);
    // A public record with its ISBD and its copies.
    Outcome record(int id, bool arabic, RecordView *out, QString *why);
    // The document types and languages, labelled in the page's language,
    // by label; read again when older than a few minutes.
    Outcome choices(bool arabic, Choices *out, QString *why);

private:
    // Each hit's main author and availability.
    bool readHitFacts(QList<Hit> &hits, QString *why);

    Database &db_;
    int countedAtMost_;
    struct Labelled {
        QString code, french, arabic;
    };
    Choices sortedChoices_[2];  // French, Arabic
    QDateTime choicesRead_;
};

} // namespace opac
} // namespace folian
