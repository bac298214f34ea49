#pragma once
// Reads one record's bytes (leader, directory, fields) into a Record. Whatever
// the bytes, it never reads outside them: a malformed record is refused with
// the position of the fault and a reason.

#include "catalogue/unimarc/charset.h"
#include "catalogue/unimarc/record.h"
#include "catalogue/unimarc/splitter.h"

#include <QByteArrayView>
#include <QString>

namespace folian::unimarc {

struct ParseResult {
    Record record;             // empty when refused
    QString error;             // technical reason (English), empty when read
    qsizetype errorAt = -1;    // byte position of the fault inside the record
    Charset declared = Charset::Undeclared;
    Charset charset = Charset::Undeclared;  // the set the values were decoded from

    bool ok() const { return error.isEmpty(); }
    // The error with the position of the fault.
    QString reason() const;
    // The declared set was not the one the bytes hold.
    bool charsetMismatch() const;
};

// `bytes` runs from the leader to the record terminator; a record whose
// terminator is missing (the last one of a cut file) is read all the same.
ParseResult parseRecord(QByteArrayView bytes);
// A record as the splitter cut it; one too long for the format is refused.
ParseResult parseRecord(const RawRecord &raw);

// The operator's message for a refused record: its number in the file, its
// byte offset and the reason, in the interface language.
QString rejectionMessage(qint64 ordinal, qint64 offset, const QString &reason);

} // namespace folian::unimarc
