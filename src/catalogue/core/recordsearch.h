#pragma once
// The record search: every criterion of the search screen as bound SQL
// conditions on NOTICE N. Codes (type, language, diploma, speciality,
// status) are their keys, never labels; the year is checked as a number
// before any SQL is built. Words match whole keywords without regard to
// case or to Arabic spelling variants; "*" is the wildcard.

#include "catalogue/core/searchconditions.h"

#include <QString>
#include <QVariant>

namespace folian {

class Database;

enum class YearKind { Edition, Purchase, Entry };  // "Edition", "Achat", "Saisie"
enum class RecordSort { None, Title, Year, Created };

struct RecordCriteria {
    QString titleWords;      // TIT
    QString number;          // NUM: ISBN, ISSN or other number, "*" allowed
    QString author;          // AUT: words of an author heading, any of its forms
    QString subject;         // MAT: words of a subject heading, any of its forms
    QString publisher;       // EDT
    QString classification;  // CLA, "*" allowed
    QString shelfMark;       // COT, "*" allowed
    QString copy;            // EXP, "*" allowed
    YearKind yearKind = YearKind::Edition;
    QString yearOperator = QStringLiteral("=");  // "=", ">", "<", ">=", "<="
    QString year;            // DAT: blank or a number
    QString type;            // TYP_ID
    QString language;        // LAN_ID
    QVariant diploma;        // DIP_ID
    QVariant speciality;     // SPE_ID
    QVariant status;         // STA_ID
    RecordSort sort = RecordSort::None;
    QString sortLanguage = QStringLiteral("FR");  // the alphabetical order of titles ("FR", "AR")

    bool isEmpty() const;
};

// How the engine reads a search's rows. Conditions: through the indexes of
// its conditions (the word index, the type's), then sorted, which costs
// what the records found cost (a search sorted by title is written so that
// no planner reads it along the title's index instead). Order: along the
// index of its order, each row read tested, which stops at the end of a
// page: the first page of a search sorted by title that finds many records
// opens at once, where sorting them would take seconds. Both find the same
// records in the same order.
enum class RecordPlan { Conditions, Order };

// The conditions of the criteria joined with AND (empty when no criterion
// is filled). False, with the reason in `why`, when the year or its
// operator is not valid.
bool recordSearchConditions(const Dialect &d, const RecordCriteria &c, SqlCondition *out, QString *why,
                            RecordPlan plan = RecordPlan::Conditions);

// SELECT <columns> FROM NOTICE N WHERE ... ORDER BY the sort, then DOC_ID.
bool recordSearchQuery(const Dialect &d, const RecordCriteria &c, const QString &columns, SqlCondition *out,
                       QString *why, RecordPlan plan = RecordPlan::Conditions);
// The same, read by the plan that suits the criteria on this database.
bool recordSearchQuery(Database &db, const RecordCriteria &c, const QString &columns, SqlCondition *out,
                       QString *why);

// The plan for a search on this database. A search sorted by title, with
// criteria, is first tried on the first rows of the title order: when
// enough of them match, its rows are read along the order (Order), else
// found then sorted (Conditions). Every other search: Conditions.
RecordPlan recordPlan(Database &db, const RecordCriteria &c);

// The ORDER BY of a sort (plain columns of N, ending with N.DOC_ID); titles
// in the alphabetical order of `language`.
QString recordSortOrder(RecordSort sort, const QString &language);

// The DOC_IDs the criteria find, in the order of their sort, read on a
// query of their own (the result's grid stays where it is); false with the
// reason on failure.
bool recordIds(Database &db, const RecordCriteria &c, QList<int> *ids, QString *why);

// How many records the criteria find; -1 on failure (reason in `why`).
qint64 countRecords(Database &db, const RecordCriteria &c, QString *why);

// A year operator and year given as one text: "1990", ">=1990", "<2000".
bool parseYearCriterion(const QString &text, QString *op, QString *year);

} // namespace folian
