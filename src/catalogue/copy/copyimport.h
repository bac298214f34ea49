#pragma once
// A record found in another catalogue, shown and brought into ours: its
// ISBD display as the catalogue would show it, and its import through the
// record routine of the UNIMARC exchange, with its duplicate test (a record
// already in the catalogue is said and not imported twice). Both run on the
// interface's thread, with the workstation's connection.

#include "catalogue/copy/copysearch.h"

#include <memory>

namespace folian {
class Database;
}

namespace folian::unimarc {
class RecordImporter;
}

namespace folian::copy {

struct ImportAnswer {
    bool passed = false;    // the record is in the catalogue now
    bool duplicate = false; // it was there already: nothing written
    int key = 0;            // the record written, or the one it duplicates
    QString message;
};

class CopyImporter
{
public:
    explicit CopyImporter(Database &db);
    ~CopyImporter();
    CopyImporter(const CopyImporter &) = delete;
    CopyImporter &operator=(const CopyImporter &) = delete;

    // The record's ISBD display (an HTML fragment), from the record alone:
    // the codes it names shown as they stand, its functions by their
    // abbreviations in the catalogue.
    QString preview(const unimarc::Record &record);
    // Imports the hit for our own library, after the duplicate test.
    ImportAnswer import(const CopyHit &hit);

private:
    bool ready(QString *why);

    Database &db_;
    std::unique_ptr<unimarc::RecordImporter> importer_;
    bool started_ = false;
};

// Why the session's user may not search other catalogues (the cataloguing
// module), or import from them (the import right); empty when he may.
QString searchRefusal();
QString importRefusal();

} // namespace folian::copy
