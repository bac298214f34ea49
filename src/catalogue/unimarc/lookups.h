#pragma once
// The reference rows that imported records name, looked up and created
// when missing: languages, countries, periodicities, publishers,
// collections and sub-collections, diplomas, specialities, classification
// indices, headings, functions and locations.
//
// Every answer is cached for the run. A row created inside a record or a
// batch that is then rolled back is forgotten again, so the cache never
// names a row the database does not hold.

#include "catalogue/unimarc/importmap.h"
#include "catalogue/unimarc/preparedsql.h"

#include <QHash>
#include <memory>
#include <vector>

namespace folian::unimarc {

enum class LookupKind {
    Language, Country, Periodicity, Publisher, Collection, SubCollection, Diploma, Speciality,
    Classification, Heading, Function, Location
};

class Lookups
{
public:
    explicit Lookups(Database &db);
    ~Lookups();

    // The outcome of one lookup.
    struct Answer {
        QVariant key;            // null: the value was empty, refused or could not be created
        QString refusal;         // the value does not fit its column (nothing was sent)
        bool failed = false;     // the server refused the new row: the enclosing work must roll back
        bool unknown = false;    // answering only from the cache, and the value is not in it (nothing was sent)
        QSqlError error;
    };

    // While true, answers come from the cache alone: nothing is read or created.
    void setCacheOnly(bool only) { cacheOnly_ = only; }

    Answer code(LookupKind kind, const QString &value);
    Answer publisher(const QString &name);
    Answer collection(const MappedCollection &c);
    Answer subCollection(const QString &title, const QVariant &collection);
    // The accepted form of the heading: a heading found under a rejected
    // form gives the heading its VED_ID2 names.
    Answer heading(const QString &name, int kind);

    // Rows created since the last call of keepRecord()/dropRecord() belong
    // to the record being written; those kept belong to the batch until
    // keepBatch()/dropBatch().
    void keepRecord();
    void dropRecord();
    void keepBatch();
    void dropBatch();

    // The French label of a lookup kind, for the operator's messages.
    static QString caption(LookupKind kind);

private:
    struct Table;
    Table &table(LookupKind kind);
    Answer find(Table &t, const QString &cacheKey, const QVariantList &match);
    Answer create(Table &t, const QString &cacheKey, const QVariantHash &values);
    void remember(Table &t, const QString &cacheKey, const QVariant &key, bool created);

    Database &db_;
    std::vector<std::unique_ptr<Table>> tables_;
    struct Created {
        Table *table;
        QString cacheKey;
    };
    QList<Created> record_;
    QList<Created> batch_;
    bool cacheOnly_ = false;
};

} // namespace folian::unimarc
