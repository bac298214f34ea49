#pragma once
// The duplicate test of an imported record: which records of the catalogue
// it repeats, by the identifier it had in its source, by its standard
// number, or by its title with its edition or its first author. One record
// is tested by a statement of its own; the records of a group waiting to
// be written are tested together by one statement, each against the
// catalogue, and the group keys tell when a record could repeat one of the
// group itself (then the group is written first).

#include "catalogue/unimarc/importmap.h"

#include <QSet>
#include <QVariantList>

namespace folian {
class Dialect;
}

namespace folian::unimarc {

// Which columns a test compares.
enum DuplicateCriterion {
    ByIsbn = 1, ByIssn = 2, ByTitle = 4, WithComplement = 8, WithEdition = 16, WithAuthor = 32,
    BySource = 64  // the identifier the record had in its source, for the same library, whatever the rest
};

struct DuplicateTest {
    int criterion = 0;     // 0: the record has nothing a test could match (it is new)
    QVariantList binds;    // of duplicateSql(criterion), in order
    // The same values by name, for the test of a group.
    QVariant source, library, type, title, complement, edition, author;
    QString number;        // the standard number's key (ISBN or ISSN, by the criterion)
    QVariantList numberValues;  // the number test's values (standardNumberIs)

    // The keys (see duplicateKeys) of the records this test could find.
    QStringList probes() const;
};

// The test of a record for `library`.
DuplicateTest duplicateTestOf(const Dialect &d, const MappedRecord &m, int library);

// The records a record duplicates: `what` of each ("1", or "N.DOC_ID").
QString duplicateSql(const Dialect &d, int criterion, const char *what);
// The first record a record duplicates, by its key.
QString firstDuplicateSql(const Dialect &d, int criterion);

// The test of `rows` records at once: the places (0 to rows - 1) of those
// that duplicate a record of the catalogue. Each row's values come from
// groupDuplicateBinds, a missing row's from groupDuplicateBinds of nothing.
QString groupDuplicateSql(const Dialect &d, int rows);
QVariantList groupDuplicateBinds(const DuplicateTest *test, int place);

// What any test that could find the record, once written, would compare:
// its source identifier, its numbers and its title, each folded so that
// values the test finds equal have equal keys (two records with no common
// key never duplicate one another).
QStringList duplicateKeys(const MappedRecord &m);

} // namespace folian::unimarc
