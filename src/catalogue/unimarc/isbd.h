#pragma once
// The ISBD display of a record: a catalogue card in ISBD punctuation as an
// HTML fragment (every value escaped), written in the language of the record
// (an Arabic record with the Arabic labels and placeholders, right to left,
// whatever the interface language), with its main entry and its title as
// plain text for the printed catalogue.

#include "catalogue/unimarc/storedrecord.h"

namespace folian::unimarc {

enum class IsbdLayout {
    Card,      // the call numbers at the top
    Catalogue  // the call numbers at the bottom
};

struct Isbd {
    QString html;       // the fragment
    QString mainEntry;  // the first principal author among the first three, else the title
    QString title;      // the title without its general material designation
};

Isbd formatIsbd(const StoredRecord &record, IsbdLayout layout, bool withSubjects);

// A fragment (ISBD or UNIMARC display) as a page of its own.
QString noticePage(const QString &fragment, bool rightToLeft);
// Writes the page as "notice.html" in the user's directory of pages; the
// path, or empty when it cannot be written.
QString writeNoticePage(const QString &fragment, bool rightToLeft);

} // namespace folian::unimarc
