#pragma once
// Reads one record's bytes (leader, directory, fields). Whatever the bytes,
// it never reads outside them. A record whose leader or directory cannot be
// made sense of is refused with the position of the fault and a reason; a
// bad directory entry (a field outside the record, of length 0, without its
// terminator) costs only its own field, and is said in the record's remarks.
//
// Reading is two steps: scanRecord() checks the structure and finds every
// field as a view into the bytes, without copying; toRecord() then decodes
// the values into a Record. Callers that only pass the text on (the dump)
// decode straight from the views.

#include "catalogue/unimarc/charset.h"
#include "catalogue/unimarc/iso2709.h"
#include "catalogue/unimarc/record.h"
#include "catalogue/unimarc/splitter.h"

#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>

namespace folian::unimarc {

struct FieldView {
    QByteArrayView tag;
    QByteArrayView body;       // the field without its terminator
    QByteArrayView subfields;  // data fields: the bytes after the indicators
    char ind1 = ' ';
    char ind2 = ' ';
    qsizetype start = 0;       // position of the body in the record
    qsizetype entry = 0;       // directory entry, from 1
    Charset charset = Charset::Iso646;  // the set its values are read in (ISO 646: ASCII only)

    bool isControl() const { return Field::isControlTag(tag); }
};

// Calls f(code, rawValue) for each subfield, in order. Text before the first
// delimiter belongs to no subfield, and a delimiter without a code is empty.
template <class F>
void forEachSubfield(QByteArrayView data, F &&f)
{
    qsizetype p = data.indexOf(kSubfieldDelimiter);
    while (p >= 0) {
        const qsizetype next = data.indexOf(kSubfieldDelimiter, p + 1);
        const qsizetype end = next < 0 ? data.size() : next;
        if (end > p + 1)
            f(data[p + 1], data.sliced(p + 2, end - p - 2));
        p = next;
    }
}

// Fields read in a set other than the one declared (or, when the record
// declares none, in a single-byte set), with their tags.
struct CharsetUse {
    Charset charset = Charset::Undeclared;
    QStringList tags;
    friend bool operator==(const CharsetUse &, const CharsetUse &) = default;
};

struct RecordView {
    QByteArrayView leader;
    QVarLengthArray<FieldView, 48> fields;
    Charset declared = Charset::Undeclared;
    Charset charset = Charset::Undeclared;  // the set most of its text is read in
    QList<CharsetUse> readOtherwise;        // fields not read as declared
    QStringList remarks;                    // what was ignored (English), with the byte positions
    QString error;                          // technical reason (English), empty when read
    qsizetype errorAt = -1;                 // byte position of the fault inside the record
    bool verbatim = false;                  // the values are already clean UTF-8

    bool ok() const { return error.isEmpty(); }
    // Appends a raw value of `field` decoded to UTF-8.
    void appendValue(QByteArray &out, const FieldView &field, QByteArrayView raw) const
    {
        if (verbatim)
            out.append(raw);
        else
            appendDecoded(out, raw, field.charset);
    }
    Record toRecord() const;
};

// Checks the structure of `bytes` (leader to record terminator; a record whose
// terminator is missing, the last of a cut file, is read all the same). With
// `scratch`, a record padded with NUL bytes that no length counts is read
// without them, the views then pointing into `scratch`.
bool scanRecord(QByteArrayView bytes, RecordView &view, QByteArray *scratch = nullptr);
// A record as the splitter cut it; one too long for the format is refused.
bool scanRecord(const RawRecord &raw, RecordView &view, QByteArray *scratch);

struct ParseResult {
    Record record;             // empty when refused
    QString error;             // technical reason (English), empty when read
    qsizetype errorAt = -1;    // byte position of the fault inside the record
    Charset declared = Charset::Undeclared;
    Charset charset = Charset::Undeclared;
    QList<CharsetUse> readOtherwise;
    QStringList remarks;       // directory entries ignored (English)

    bool ok() const { return error.isEmpty(); }
    // The error with the position of the fault.
    QString reason() const;
    // Some text was not read in the declared set.
    bool charsetMismatch() const { return !readOtherwise.isEmpty(); }
    // For the operator: the set declared and the sets used, with their fields.
    QString charsetRemark() const;
};

ParseResult parseRecord(QByteArrayView bytes);
ParseResult parseRecord(const RawRecord &raw);

// The error of a refused view, with the position of the fault.
QString reason(const RecordView &view);

// The operator's message for a refused record: its number in the file, its
// byte offset and the reason, in the interface language.
QString rejectionMessage(qint64 ordinal, qint64 offset, const QString &reason);
// The operator's message for an entry of a record's directory that was
// ignored or read otherwise than it says.
QString ignoredEntryMessage(const QString &remark);
// The same for the dump: with the record's number in the file and its byte offset.
QString ignoredEntryMessage(qint64 ordinal, qint64 offset, const QString &remark);

} // namespace folian::unimarc
