#pragma once
// The physical inventory: copies selected by their number and by the
// criteria of their record, and each copy's flag EXP_INVENTORIE (1 found on
// the shelves, 0 or NULL not found).
//
// Between workstations: the flag is changed by a conditional update on the
// value the operator saw; when another workstation changed it (or deleted
// the copy) meanwhile, nothing is written and the operator is told what the
// row holds now. Every criterion is a bound value, the record criteria those
// of the record search. Copy numbers compare by the codes of their
// characters on both engines ("100" comes before "20").

#include "acquisitions/core/acqresult.h"
#include "catalogue/core/searchconditions.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace folian {

class Database;

enum class InventoryNumber { Copy, Alternative };  // EXP_ID, EXP_INV
enum class NumberOperator { Equal, Contains, Interval, Greater, Less };  // "Egal", "Contient", ...
enum class InventorySort { None, Copy, Record, ShelfMark };  // "", "N° exemplaire", "N° notice", "Cote"

struct InventoryCriteria {
    InventoryNumber numberColumn = InventoryNumber::Copy;
    NumberOperator numberOperator = NumberOperator::Equal;
    QString number;          // NUM1, "*" allowed
    QString number2;         // NUM2, used by Interval only
    QVariant mode;           // MOD_ID
    QString location;        // LOC_ID
    QString language;        // LAN_ID of the record
    QDate from, to;          // acquisition dates, each bound included; invalid: not used
    QString titleWords;      // TIT
    QString author;          // AUT, any form of the heading
    QString standardNumber;  // ISBN, ISSN or other number of the record
    QString shelfMark;       // COT, "*" allowed
    QString type;            // TYP_ID of the record
    InventorySort sort = InventorySort::None;

    bool isEmpty() const;
    // The criteria as one line for the operator (a campaign's description).
    QString describe() const;
};

// The conditions of the criteria on the copies E (NOTICE_EXEMPLAIRE E),
// joined with AND; empty when no criterion is filled.
SqlCondition inventoryConditions(const Dialect &d, const InventoryCriteria &c);

// The ORDER BY of a sort: plain columns of E ending with E.EXP_ID, so that a
// result read in pages continues in the same order.
QString inventoryOrder(InventorySort sort);

// The copies the criteria select, with the columns of the grid and of the
// pages (see InventoryColumn, every one), in the order of the sort. `numberColumn`
// picks the number shown under "N° inventaire".
SqlCondition inventoryQuery(const Dialect &d, const InventoryCriteria &c);

// The columns inventoryQuery (and the pages' statements) read, in order.
enum InventoryColumn {
    InvFlag, InvNumber, InvAcquired, InvTitle, InvAuthor, InvPublisher, InvYear, InvEdition, InvPlace,
    InvMode, InvStatus, InvSupplier, InvPurchase, InvPrice, InvShelfMark, InvLocation, InvObservation,
    InvCopyId, InvRecord,
    InvFlagLabel,  // the flag as the operator reads it ("Oui", "Non"): two bound values, inventoryLabelBinds()
    InvColumnCount
};
// The select list of those columns for the copies E, each looked up by a
// sub-select of the same statement; labels in the session's language.
QString inventoryColumns(InventoryNumber number);
// The same, one expression a column.
QStringList inventoryColumnList(InventoryNumber number);
// The values InvFlagLabel binds: the labels of found and not found.
QVariantList inventoryLabelBinds();

// How many copies the criteria select; -1 on failure (reason in `why`).
qint64 countInventory(Database &db, const InventoryCriteria &c, QString *why);

// Whether a flag counts as found (neither NULL nor 0).
bool isInventoried(const QVariant &flag);

// The double click on a copy: its flag as the operator saw it (`seen`,
// NULL allowed) becomes 0 when found, else 1. Refused, writing nothing,
// when the copy no longer exists or another workstation changed its flag
// meanwhile; the result's key is the flag now stored (0 or 1).
AcqResult toggleInventoried(Database &db, const QString &copy, const QVariant &seen);

} // namespace folian
