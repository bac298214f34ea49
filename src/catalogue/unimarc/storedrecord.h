#pragma once
// A record as the catalogue holds it, read with everything its displays and
// its export need: the NOTICE row, the labels and names of the reference
// rows it points to (French and Arabic), and its authors, subjects,
// indices, resources, issues and copies in their display order.

#include "catalogue/unimarc/preparedsql.h"

#include <QList>
#include <QVariantHash>
#include <optional>

namespace folian::unimarc {

// A label in both languages; in an Arabic record the Arabic one, or the
// French one when the row has no Arabic label.
struct Label {
    QString french, arabic;
    QString in(bool arabicRecord) const { return arabicRecord && !arabic.isEmpty() ? arabic : french; }
    bool isEmpty() const { return french.isEmpty() && arabic.isEmpty(); }
};

struct StoredAuthor {
    QString name;
    int kind = 0;         // TYP_VED_ID
    QString authorTag;    // TYP_VED_UNIMARC2 of the kind
    QString function;     // FON_ID
    Label abbreviation;   // FON_ABREVIATION
    int type = 0;         // AUT_TYPE, 0 when empty
    int heading = 0;      // VED_ID
};

struct StoredSubject {
    QString name;
    int kind = 0;
    QString subjectTag;   // TYP_VED_UNIMARC1 of the kind
    int heading = 0;      // VED_ID
};

struct StoredResource {
    QString type, link;
};

struct StoredIssue {
    QString number, date, title;
};

struct StoredCopy {
    QString id, inventory, shelfMark, location, support, status, remark;
};

struct StoredRecord {
    QVariantHash notice;   // NOTICE columns, upper-case names
    Label indication, publisher, publisher2, periodicity, diploma, speciality, relation;
    QVariantHash collection, subCollection;  // their rows, empty when the record has none
    QString archiveDirectory;                // TYP_REP_ARCHIVAGE of the document type
    QList<StoredAuthor> authors;             // by AUT_TYPE, then as added
    QList<StoredSubject> subjects;
    QStringList indices;
    QList<StoredResource> resources;
    QList<StoredIssue> issues;
    QList<StoredCopy> copies;                // by copy number

    // A NOTICE column as text, trimmed; empty for NULL.
    QString value(const QString &column) const;
    // Records in Arabic (LAN_ID "ara") are shown and exported with the Arabic labels.
    bool arabic() const { return value(QStringLiteral("LAN_ID")) == QLatin1String("ara"); }
};

// A column of a row read with the record (its collection, ...) as text, trimmed; empty for NULL.
QString rowValue(const QVariantHash &row, const char *column);

// Reads records by DOC_ID, many at a time: each statement reads what a
// whole batch of records needs (their rows, their authors, their copies,
// ...), so that a long run costs a few statements per batch rather than
// several per record.
class RecordLoader
{
public:
    // The records a statement reads at most.
    static constexpr int kBatch = 256;

    explicit RecordLoader(Database &db);
    // The record; nullopt when there is none or the database failed (why says which).
    std::optional<StoredRecord> load(const QVariant &docId, QString *why = nullptr);
    // The records of `docIds`, in that order, appended to `out`; those that
    // do not exist are left out. False when the database failed (why says
    // why), and then `out` holds only whole records.
    bool loadMany(const QList<QVariant> &docIds, QList<StoredRecord> *out, QString *why = nullptr);

private:
    bool loadBatch(const QList<QVariant> &docIds, QList<StoredRecord> *out, QString *why);

    Database &db_;
};

} // namespace folian::unimarc
