#pragma once
// The record-level import: one UNIMARC record becomes a NOTICE row with its
// authors, subjects, indices, resources, issues and copies, the reference
// rows it names looked up or created, after the duplicate test.
//
// Each record is written atomically inside a savepoint: all of it, or
// nothing. A satellite row or reference row the server refuses (a copy
// number already taken, ...) is left out and said, and the record is
// written again without it, so the rest of the record stays. Records are
// written in batches, one transaction each (beginBatch / commitBatch).

#include "catalogue/unimarc/importmap.h"
#include "catalogue/unimarc/lookups.h"

#include <QDateTime>
#include <optional>

namespace folian::unimarc {

struct RecordOptions {
    int library = 0;             // BIB_ID of the records and copies: 0 for our own library
    bool checkDuplicates = true;
};

struct RecordOutcome {
    enum class Status {
        Imported,   // a new record
        Attached,   // a duplicate of another library's record: its issues and copies joined the match
        Duplicate,  // a duplicate for our own library: nothing written
        Untitled,   // no title proper: dropped
        Failed      // the record could not be written (error says why)
    };
    Status status = Status::Failed;
    QVariant docId;        // the record written, or the match of a duplicate
    QString title;
    QStringList skipped;   // rows left out of a written record, each with why
    QString error;

    // 1 when the record was stored or attached, else 0.
    int result() const { return status == Status::Imported || status == Status::Attached ? 1 : 0; }
};

class RecordImporter
{
public:
    explicit RecordImporter(Database &db);
    ~RecordImporter();
    RecordImporter(const RecordImporter &) = delete;
    RecordImporter &operator=(const RecordImporter &) = delete;

    // Reads what the mapping needs and the defaults of new records; false with why.
    bool start(QString *why);
    const MappingContext &context() const { return context_; }

    RecordOutcome importRecord(const Record &record, const RecordOptions &options);
    RecordOutcome importMapped(const MappedRecord &record, const RecordOptions &options);

    // The batch transaction around the records (nestable in a caller's own).
    bool beginBatch(QString *why);
    // Commits the batch; on failure everything since beginBatch is undone.
    bool commitBatch(QString *why);
    void rollbackBatch();
    bool inBatch() const { return batch_.has_value(); }

private:
    struct Attempt;
    friend struct Attempt;

    Database &db_;
    MappingContext context_;
    QVariant defaultCountry, defaultAgency;
    QVariant stamp_;
    Lookups lookups_;
    PreparedInsert notice_, author_, subject_, index_, resource_, issue_, copy_;
    QHash<int, PreparedQuery *> duplicateQueries_;
    std::optional<Transaction> batch_;
};

// The text of a value refused by a reference table or a satellite row, for the log.
QString skippedRow(const QString &what, const QString &value, const QString &why);

} // namespace folian::unimarc
