#pragma once
// Prints every record of a UNIMARC file in the tagged text form, with no
// database: the routine behind `folianctl dump`.

#include <QIODevice>
#include <QString>

namespace folian::unimarc {

struct DumpCounts {
    qint64 records = 0;   // printed, deleted ones included
    qint64 deleted = 0;
    qint64 rejected = 0;  // malformed, reported on the error device
    QString error;        // the file could not be opened or read
    bool ok() const { return error.isEmpty(); }
};

// Records go to `out` separated by a blank line; each malformed record is
// reported on `err` with its number, byte offset and reason, and the dump
// goes on; so is each directory entry of a record that was ignored.
DumpCounts dumpFile(const QString &path, QIODevice &out, QIODevice &err);

} // namespace folian::unimarc
