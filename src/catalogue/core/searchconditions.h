#pragma once
// The conditions of the catalogue's searches, as SQL text with bound
// values: words of a keyword column and standard numbers. A criterion
// typed by the operator accepts "*" as the wildcard; "%" and "_" stand for
// themselves. Every comparison ignores case (é finds É) on both engines;
// the words of keyword criteria ignore accents and the spelling variants of
// Arabic too.

#include <QString>
#include <QStringList>
#include <QVariant>

namespace folian {

class Dialect;

struct SqlCondition {
    QString sql;         // empty: no condition
    QVariantList binds;  // one value per "?" of sql, in order
    bool isEmpty() const { return sql.isEmpty(); }
};

// The words of a criterion, cut at the keyword separators.
QStringList criterionWords(const QString &typed);

// One condition per typed word on a keyword column ("/word/" somewhere in
// it, a "*" inside the word standing for any characters), joined with AND.
// Words match whatever their case, accents and Arabic spelling variant
// (see SearchFold). `onRow`: tested on each row read, never through the
// word index (Dialect::keywordsHoldOnRow).
SqlCondition keywordCondition(const Dialect &d, const QString &column, const QString &typed, bool onRow = false);

// A standard number typed with or without blanks, hyphens and full stops,
// matched against any of the columns (which hold the number without them,
// followed by its qualifier when it has one: "2070360248 (br.)"). A whole
// number finds the stored numbers equal to it, whatever their qualifier
// and their case; a qualifier typed with it is not compared.
SqlCondition standardNumberCondition(const Dialect &d, const QString &typed, const QStringList &columns);

// The condition that `column` holds the standard number `key` (see
// StandardNumberKey), with or without a qualifier, ignoring case, as the
// number indexes of the searches answer it.
SqlCondition standardNumberIs(const Dialect &d, const QString &column, const QString &key);

// For a name matched against what the operator typed: the names that begin
// as the typed text begins (up to its first "*"), as a range of the name's
// collation key in `language`. It narrows the rows along the index of the
// alphabetical order, so that a list in that order opens at once; the
// name's own condition still decides. Empty when the text begins with "*"
// or when the searches do not read the indexes (rows written by another
// tool have no key yet, and a scan finds them too).
SqlCondition collationPrefixCondition(const Dialect &d, const QString &keyColumn, const QString &typed,
                                      const QString &language);

// The non-empty conditions joined with AND.
SqlCondition allOf(const QList<SqlCondition> &conditions);

} // namespace folian
