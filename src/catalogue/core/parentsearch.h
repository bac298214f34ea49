#pragma once
// The search for a record's parent (a serial and its issue, a set): the
// candidates by title words or standard number, their issues, and the copy
// of the chosen parent into the record's parent-record columns.

#include "catalogue/core/searchconditions.h"

namespace folian {

class Dataset;
class Dialect;

enum class ParentSort { None, Title, Year, Created };

struct ParentCriteria {
    QString titleWords;   // "Mots du titre :"
    QString number;       // "ISBN, ISSN... :"
    ParentSort sort = ParentSort::None;
    QString language = QStringLiteral("FR");  // the alphabetical order of titles
    bool isEmpty() const { return titleWords.trimmed().isEmpty() && number.trimmed().isEmpty(); }
};

// The candidates' SQL with its values: the record's columns and its main
// author (AUTEUR). No criterion gives no row.
SqlCondition parentSearchQuery(const Dialect &d, const ParentCriteria &c);
// The name of a record's first principal author, as a column expression on
// the record alias `n`.
QString mainAuthorExpression(const QString &n);
// The issues of a candidate (one bound value: its DOC_ID).
QString parentIssuesSql();

// The columns the candidate list shows.
QString standardNumberText(const QVariant &isbn, const QVariant &issn, const QVariant &other);
QString fullTitleText(const QVariant &proper, const QVariant &parallel, const QVariant &complement);

// What the operator chose: the parent record, and one of its issues or none.
struct ParentChoice {
    QVariant title, isbn, issn, year;  // DOC_TITRE_PROPRE, DOC_ISBN, DOC_ISSN, DOC_ANNEE
    bool withIssue = false;
    QVariant issueDate, issueNumber;   // BUL_DATE, BUL_NUMERO
};
// The choice from the current rows of a candidate set and of its issue set
// (the issue set may be empty or closed).
ParentChoice parentChoice(const Dataset &candidate, const Dataset *issues);
// Writes the parent into the record's current row (putting it in edit):
// title and numbers, then the issue's date and number, or the parent's
// year and no volume. False when the record refuses a value (refusal()).
bool linkParent(Dataset &notice, const ParentChoice &choice);

} // namespace folian
