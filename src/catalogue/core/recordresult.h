#pragma once
// The result of the record search as its screen shows it, and what the
// screen lets the operator do with it: the records' own columns (the record
// form edits the current one) with the name of the main author, read in
// pages in the order of the sort; the copy list that fills the shelf-mark
// and copy-number criteria; the buttons by the state of the result, of the
// basket and the rights of the user.

#include "catalogue/core/recordsearch.h"

#include <QVariantList>

namespace folian {

struct CataloguerRights;

// N.* and the main author (AUTEUR) of the records the criteria find, in the
// order of their sort. No criterion gives no row. False with the reason
// when a criterion is not valid. Read by the plan that suits the criteria
// on this database (recordPlan).
bool recordResultQuery(Database &db, const RecordCriteria &c, SqlCondition *out, QString *why);
// The result before any search: no row, the same columns.
SqlCondition emptyRecordResult();

// The "Titre" column: the title proper, then " : " and the other title
// information when there is one.
QString recordTitleText(const QVariant &proper, const QVariant &complement);

// The copy list opened from the shelf-mark or the copy-number criterion:
// every copy whose shelf mark (or number) matches the typed value ("*" is
// the wildcard), all copies when it is empty, by shelf mark.
enum class CopyListField { ShelfMark, CopyNumber };
SqlCondition copyListQuery(const Dialect &d, CopyListField field, const QString &typed);

// The state of the search screen that its buttons follow.
struct RecordSearchState {
    bool criteria = false;     // at least one criterion is filled
    bool resultRows = false;   // the result is open and holds a record
    bool current = false;      // the grid is on a record
    QVariant currentType;      // its TYP_ID
    QVariantList creators;     // CREATE_USER of the records "Supprimer" would delete
    bool basketShown = false;  // the basket's page is shown: print and export take the basket
    bool basketRows = false;
    bool running = false;      // a print, an export or "Tout mettre dans le panier" runs
};

struct RecordSearchActions {
    bool search = false, clear = false;
    bool preview = false, edit = false, remove = false;
    bool addToBasket = false, addAllToBasket = false;
    bool print = false, exportRecords = false;
    bool basketRemove = false, basketClear = false;
};

// "Modifier" needs a record of a type the user may catalogue, "Supprimer"
// one record at least that he may delete (the others are refused one by
// one, with their reason); print and export take the page shown; nothing
// starts while a run goes on.
RecordSearchActions recordSearchActions(const CataloguerRights &rights, const RecordSearchState &s);

} // namespace folian
