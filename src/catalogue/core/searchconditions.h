#pragma once
// The conditions of the catalogue's searches, as SQL text with bound
// values: words of a keyword column and standard numbers. A criterion
// typed by the operator accepts "*" as the wildcard; "%" and "_" stand for
// themselves. Every comparison ignores case (é finds É) on both engines.

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
// Arabic words match whatever their spelling variant (see likeFolded).
SqlCondition keywordCondition(const Dialect &d, const QString &column, const QString &typed);

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

// The non-empty conditions joined with AND.
SqlCondition allOf(const QList<SqlCondition> &conditions);

} // namespace folian
