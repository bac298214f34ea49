#pragma once
// Builds the ISO 2709 bytes of a record: UTF-8 text, lengths counted in bytes
// of that text, the directory, the leader's record length and base address,
// field and record terminators. A record the format cannot hold (a field over
// 9,999 bytes, a record over 99,999) is refused with a reason, never cut.

#include "catalogue/unimarc/record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace folian::unimarc {

struct WriteResult {
    QByteArray bytes;     // empty when refused
    QString error;        // why the record cannot be written
    QStringList leftOut;  // what was left out so that the rest could be written (see fitRecord)
    bool ok() const { return error.isEmpty(); }
};

WriteResult writeRecord(const Record &record);

// The record made to fit the format. A field over 9,999 bytes whose tag may
// repeat with one text (`splittable`) becomes several fields, its text cut
// between paragraphs, sentences or words; a longer field of another tag is
// left out. When the fields still need more than the record's 99,999 bytes,
// the last fields of the tags of `droppable` are left out, tag after tag,
// until they fit. What was left out is said in `leftOut`, one line each kind.
Record fitRecord(const Record &record, const QList<QByteArray> &splittable, const QList<QByteArray> &droppable,
                 QStringList *leftOut);

// Makes field 100 $a declare UTF-8 (positions 26-29 "50  "), adding the field
// or padding the value with blanks where needed.
void declareUtf8(Record &record);

} // namespace folian::unimarc
