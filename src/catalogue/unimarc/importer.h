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

#include "catalogue/unimarc/duplicatetest.h"
#include "catalogue/unimarc/importmap.h"
#include "catalogue/unimarc/lookups.h"

#include <QDateTime>
#include <memory>
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

// A record of a batch and its outcome, with the caller's tag (its offset in the file).
struct BatchOutcome {
    qint64 tag = 0;
    RecordOutcome outcome;
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

    // One record, written at once in a savepoint of its own.
    RecordOutcome importRecord(const Record &record, const RecordOptions &options);
    RecordOutcome importMapped(const MappedRecord &record, const RecordOptions &options);

    // Batches: records written in one transaction (nestable in a caller's
    // own). A batch writes its records quickly, each table's rows in one
    // statement and without a savepoint per record; when the server refuses
    // anything, the batch is rolled back and written again record by record,
    // each in its own savepoint, so that the refused row is found and left
    // out and every record stays whole.
    bool beginBatch(QString *why);
    // The partner library whose records the batches write: each batch
    // transaction first locks its row and checks that it is still there
    // (its deletion then waits for the batch and sees its records); a
    // batch for a library that is gone does not begin.
    void holdLibrary(int libraryId) { heldLibrary_ = libraryId; }
    // Writes the record into the batch; its outcome comes with commitBatch().
    // False when the batch cannot go on (the database failed; why says why).
    bool add(const MappedRecord &record, const RecordOptions &options, qint64 tag, QString *why);
    int batchSize() const { return int(pending_.size()); }
    // Commits the batch and gives the outcomes of its records in order; when
    // the commit fails, none of them is in the database and their outcomes say so.
    bool commitBatch(QList<BatchOutcome> *outcomes, QString *why);
    void rollbackBatch();
    bool inBatch() const { return batch_.has_value(); }

private:
    struct Attempt;
    friend struct Attempt;
    struct Pending {
        qint64 tag;
        MappedRecord record;
        RecordOptions options;
        RecordOutcome outcome;
    };

    // On the embedded engine, a record of our own library whose reference
    // rows are all known waits in the group: the group's records are tested
    // and written together, their rows joining those of the batch.
    struct Grouped {
        qsizetype pending;   // its place in pending_
        QVariantHash notice;
        DuplicateTest test;
        QList<std::pair<PreparedInsert *, QVariantHash>> rows;  // without their DOC_ID
    };
    enum class Grouping { Done, Alone, Failed };
    // Puts the record pending_[at] in the group (Done, the group written
    // when it is full or when the record could repeat one of it), or says
    // that it is to be written on its own (Alone); Failed: the group could
    // not be written.
    Grouping writeGrouped(qsizetype at);
    // Tests and writes the group's records; false when the server refused.
    bool flushGroup();

    RecordOutcome writeCarefully(const MappedRecord &record, const RecordOptions &options);
    bool writeQuickly(const MappedRecord &record, const RecordOptions &options, RecordOutcome &out);
    bool writeBatchAgain(QString *why);
    // Writes the rows waiting for their table: every one, or only full statements.
    bool flushDeferred(bool all);
    bool beginBatchTransaction(QString *why);
    void refreshStatistics();
    // The duplicate test of a criterion as a condition ("SELECT 1 FROM NOTICE N WHERE ...").
    const QString &duplicateCondition(int criterion);

    Database &db_;
    MappingContext context_;
    QVariant defaultCountry, defaultAgency;
    QVariant stamp_;
    Lookups lookups_;
    PreparedInsert notice_, author_, subject_, index_, resource_, issue_, copy_;
    PreparedQuery heldIssue_, heldCopy_;  // a library's holding already attached to a record
    QHash<int, PreparedQuery *> duplicateQueries_;
    QHash<int, QString> duplicateConditions_;
    std::optional<Transaction> batch_;
    QList<Pending> pending_;
    QHash<PreparedInsert *, QList<QVariantHash>> deferred_;  // satellite rows of the batch not yet written
    QList<Grouped> group_;
    QSet<QString> groupKeys_;    // duplicateKeys of the group's records
    std::unique_ptr<PreparedQuery> groupTest_;
    bool careful_ = false;   // the batch writes record by record
    bool refused_ = false;   // the server refused something in this batch
    qint64 batches_ = 0;     // committed
    int heldLibrary_ = 0;    // locked by every batch; 0: none
};

// Why an import for a partner library stops: the library is no longer there.
QString libraryGoneMessage(int library);

// The text of a value refused by a reference table or a satellite row, for the log.
QString skippedRow(const QString &what, const QString &value, const QString &why);

} // namespace folian::unimarc
