#pragma once
// Builds the ISO 2709 bytes of a record: UTF-8 text, lengths counted in bytes
// of that text, the directory, the leader's record length and base address,
// field and record terminators. A record the format cannot hold (a field over
// 9,999 bytes, a record over 99,999) is refused with a reason, never cut.

#include "catalogue/unimarc/record.h"

#include <QByteArray>
#include <QString>

namespace folian::unimarc {

struct WriteResult {
    QByteArray bytes;  // empty when refused
    QString error;     // why the record cannot be written
    bool ok() const { return error.isEmpty(); }
};

WriteResult writeRecord(const Record &record);

// Makes field 100 $a declare UTF-8 (positions 26-29 "50  "), adding the field
// or padding the value with blanks where needed.
void declareUtf8(Record &record);

} // namespace folian::unimarc
