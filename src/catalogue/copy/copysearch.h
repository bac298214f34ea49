#pragma once
// Finding records in another library's catalogue and reading them. The
// exchange itself (SRU or Z39.50) is behind `Transport`, so that the rules
// here (the queries, how each record is read, the refusal of MARC 21, the
// messages) are the same whatever carries them, and are tested without the
// network. Every record is read by our own UNIMARC reader with its
// character-set rules: ISO 2709 as it comes, UNIMARC XML first turned into
// the same structure.
//
// A search reads nothing from the database and writes nothing: it may run
// off the interface's thread.

#include "catalogue/copy/targets.h"
#include "catalogue/unimarc/record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <memory>

namespace folian::copy {

struct CopyCriteria {
    QString number;   // an ISBN or an ISSN, with or without its hyphens
    QString title;    // words of the title
    QString author;
    int limit = 10;   // records fetched at most

    bool isEmpty() const { return number.trimmed().isEmpty() && title.trimmed().isEmpty() && author.trimmed().isEmpty(); }
};

constexpr int kMaxLimit = 100;

// Why the criteria cannot be searched, or empty.
QString criteriaRefusal(const CopyCriteria &c);
// An ISSN is 8 characters once its hyphens and spaces are gone; anything else is an ISBN.
bool isIssn(const QString &number);
// The query in the prefix notation of Z39.50 (Bib-1 use attributes), and
// in CQL with the target's index names; the criteria are joined by "and".
QString pqfQuery(const CopyCriteria &c);
QString cqlQuery(const CopyCriteria &c, IndexSet set);

// What the exchange gives back.
struct FetchedRecord {
    QByteArray data;   // ISO 2709, or XML
    QString syntax;    // as the target names it: "Unimarc", "USmarc", "XML", ...; may be empty
};

enum class FetchFailure { None, Unreachable, Timeout, Diagnostic, Protocol, Stopped };

struct FetchReply {
    FetchFailure failure = FetchFailure::None;
    int code = 0;          // a diagnostic's number
    QString detail;        // the target's or the library's words
    qint64 hits = 0;       // records the target found
    QList<FetchedRecord> records;
};

struct FetchRequest {
    CopyTarget target;
    QString query;         // pqfQuery or cqlQuery, by the protocol
    int limit = 10;
};

// One exchange with a target: connects, searches, fetches up to `limit`
// records, gives up after the target's time-out at each step and between
// records when `stop` is set. Never throws; a failure is in the reply.
class Transport
{
public:
    virtual ~Transport() = default;
    virtual FetchReply fetch(const FetchRequest &request, const std::atomic<bool> &stop) = 0;
};

// The exchange over the network (SRU and Z39.50).
std::unique_ptr<Transport> networkTransport();

// One record of a result.
struct CopyHit {
    int position = 0;          // from 1, in the target's order
    unimarc::Record record;    // empty when it could not be read
    QString title, author, year, number;
    QString error;             // why it cannot be imported; empty when it can
    QString remark;            // text not read in the declared set, said to the operator
    bool ok() const { return error.isEmpty(); }
};

struct CopySearchResult {
    bool passed = false;
    QString message;           // why it failed, or what it found
    qint64 hits = 0;
    QList<CopyHit> records;
};

// Searches the target: the query built from the criteria, the records read.
// A search whose records are all MARC 21 fails with the refusal.
CopySearchResult searchTarget(const CopyTarget &target, const CopyCriteria &criteria, Transport &transport,
                              const std::atomic<bool> &stop);

// One record as the target sent it, read (exposed for the tests of the reading rules).
CopyHit readFetched(const FetchedRecord &fetched, const CopyTarget &target, int position);
// A UNIMARC record in XML (the MARCXML-like form: leader, controlfield,
// datafield with subfield), as a Record whose values are the XML's text;
// false with why when it is not one. `marc21` is set when the record says
// it is MARC 21.
bool recordFromXml(const QByteArray &xml, unimarc::Record *out, bool *marc21, QString *why);

} // namespace folian::copy
