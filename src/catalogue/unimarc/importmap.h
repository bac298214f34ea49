#pragma once
// What one UNIMARC record gives the catalogue, before anything is looked up
// in the database: the columns of its NOTICE row, the codes and names that
// the import looks up or creates (language, publisher, headings...), and
// its authors, subjects, indices, resources, issues and copies.
//
// Values keep the subfield boundaries of the record: a code (ISBN, language,
// country, function, copy number) is the first value of its subfield that
// is not empty, never several values glued together; text subfields that
// repeat are joined with their separator. A field that the record can hold
// once keeps its first occurrence (the principal one, as cataloguing orders
// them); what is left out is said in the record's remarks.

#include "catalogue/unimarc/record.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace folian::unimarc {

// What the mapping needs to know of the database, read once per import.
struct MappingContext {
    QSet<int> relations;        // REL_ID of RELATION: the 4xx linking tags kept
    QString documentTypes;      // every TYP_ID of TYPE_DOCUMENT
    QSet<int> supports;         // SUP_ID of SUPPORT
    QSet<int> copyStatuses;     // STA_EXP_ID of STATUT_EXEMPLAIRE
    int classification = 0;     // PARAMETRE.CLASSIFICATION: 1 675, 2 676, 3 686 (and short 995)
};

struct MappedAuthor {
    QString name;
    QString function;  // FON_ID, a UNIMARC relator code
    int kind = 1;      // TYP_VED_ID
    int type = 1;      // AUT_TYPE
    friend bool operator==(const MappedAuthor &, const MappedAuthor &) = default;
};

struct MappedSubject {
    QString name;
    int kind = 6;
    friend bool operator==(const MappedSubject &, const MappedSubject &) = default;
};

struct MappedResource {
    QString type;  // RES_TYPE
    QString link;  // RES_LIEN
};

struct MappedIssue {
    QString number, date, title;
};

struct MappedCopy {
    QString id;         // EXP_ID
    QString inventory;  // EXP_INV
    QString shelfMark;  // EXP_COTE
    QString location;   // LOC_ID, looked up or created
    QVariant support;   // SUP_ID when it is a known code, else null
    QVariant status;    // STA_EXP_ID: 2 when the field gives none, null for an unknown code
    QString remark;     // EXP_OBSERVATION
};

struct MappedCollection {
    QString title, parallel, complement, responsibility, issn;
    bool isEmpty() const { return title.isEmpty(); }
};

struct MappedRecord {
    // NOTICE columns taken as they stand (titles, numbers, notes, ...); a
    // column absent from the hash is left to the defaults of a new record.
    QHash<QString, QString> columns;
    QString typeId;  // TYP_ID
    QString indication;  // IND_ID, empty: the default
    // Codes and names looked up (or created) when the record is written.
    QString language, originalLanguage, periodicity, country;
    QString publisher, publisher2;
    MappedCollection collection;
    QString subCollection;
    QString diploma, speciality;
    QList<MappedAuthor> authors;
    QList<MappedSubject> subjects;
    QStringList indices;
    QList<MappedResource> resources;
    QList<MappedIssue> issues;
    QList<MappedCopy> copies;       // from 995
    QStringList shelfNumbers;       // from 990
    QString firstMainAuthor;        // the name of the first 700, for the duplicate test
    QString sourceId;               // the record's identifier in its source: 001, else 035 $a
    bool numberOfCopiesSet = false;
    QStringList remarks;            // what the record holds that the catalogue cannot, left out

    QString column(const QString &name) const { return columns.value(name); }
    QString title() const { return column(QStringLiteral("DOC_TITRE_PROPRE")); }
};

// The document type and general material designation of a leader.
QString documentTypeOfLeader(char recordType, char bibliographicLevel);
// Is the letter a type of record of the leader ("abcdefgijklmr"), which a
// record keeps as its general material designation (IND_ID)?
bool isRecordType(char c);

MappedRecord mapRecord(const Record &record, const MappingContext &context);

// One wanted subfield of a field rule and the separator written before its
// value when something precedes it.
struct Wanted {
    char code;
    const char *separator;
};
// The values of the wanted subfields, in field order, joined by their
// separators; trimmed. A subfield that repeats joins its values with its
// own separator ("; " when it has none), so values are never glued.
QString extract(const Field &field, std::initializer_list<Wanted> wanted);

// A part of a name ($a, $b of an author) without the ISBD punctuation
// carried at its ends (", Mariana" is "Mariana", "Mazzucato," is "Mazzucato").
QString namePart(const QString &value);

} // namespace folian::unimarc
