#pragma once
// The rows that records and copies point to: headings, publishers,
// collections, sub-collections, classification indices and the code tables
// of cataloguing. Which tables use each of them, the refusals that keep a
// row in use from being deleted or re-coded, who may change them, and the
// searches of the authority lists.

#include <QString>
#include <QStringList>
#include <QVariant>

namespace folian {

class Database;
class Dataset;
class Dialect;
struct Session;

enum class RefTable {
    Heading, Publisher, Collection, SubCollection, Classification,
    DocumentType, Support, Language, Country, Periodicity, Function, Diploma, Speciality, Location
};

// A column of another table that holds the key of a reference row.
struct RefUse {
    const char *table;
    const char *column;
    const char16_t *french;   // the rows that use it, as the operator knows them
    const char16_t *arabic;
    bool otherRowsOnly = false;  // a row of the same table: the row itself does not count
};

struct RefTableDef {
    RefTable id;
    const char *table;
    const char *key;
    const char *query;        // the shared query that edits it
    QStringList names;        // the columns that name a row (the first one filled is shown)
    // One of these columns must be filled for the row to be saved, with
    // the field's caption for the message.
    QStringList required;
    const char16_t *requiredFr;
    const char16_t *requiredAr;
    bool fixedSet = false;    // rows are neither added, deleted nor re-coded
    QList<RefUse> uses;
};

const RefTableDef &refTableDef(RefTable t);

// How many rows of each using table hold `key`, as lines for the operator
// ("les auteurs des notices (NOTICE_AUTEUR) : 3"); empty when nothing uses
// it. A count that fails is reported as a use, so nothing is lost.
QStringList referenceUses(Database &db, RefTable t, const QVariant &key);

// A name between the quotation marks of the messages.
QString quotedName(const QString &name);

// The name of the current row of `d` as the lists show it.
QString referenceName(const Dataset &d, RefTable t);

// Deletes the current row of `d` (the shared query of `t`) unless another
// table still uses it, in one transaction. Empty on success, otherwise the
// message for the operator and nothing is deleted.
QString deleteReference(Dataset &d, RefTable t);

// Posts the row being edited or inserted in `d` (the shared query of `t`),
// refusing a row without its name and the change of a code that other rows
// still use. Empty on success, otherwise the message for the operator; the
// row stays in edit with the values typed.
QString postReference(Dataset &d, RefTable t);

// The message of a refused value or a failed post of `d`.
QString postFailure(const Dataset &d);

// --- Rights -----------------------------------------------------------------

// Why the session's user may not change the rows of `t` (an authority, or a
// code table), or empty: checked by deleteReference and postReference.
QString referenceRightRefusal(RefTable t, const Session &s);

// Creating, changing and deleting headings, publishers, collections,
// sub-collections and indices: roles 1 and 3, or UTL_CAT_NOTICE, or
// UTL_CAT_AUTORITE.
bool mayManageAuthorities(const Session &s);
// The code tables of cataloguing: roles 1 and 3, or UTL_CAT_ADMIN.
bool mayManageCodeTables(const Session &s);

// The buttons of a heading or authority list.
struct ListActions {
    bool append = false;   // "Nouveau"
    bool edit = false;     // "Modifier"
    bool remove = false;   // "Supprimer"
    bool select = false;   // "Choisir"
};
// `mode` 0 is the management of the list, any other a caller choosing a row.
ListActions authorityListActions(const Session &s, int mode, bool browsing, int rows);

// --- Searches -------------------------------------------------------------

// SQL text with its bound values.
struct ListQuery {
    QString sql;
    QVariantList binds;
};

enum class AuthorityList { Publisher, Collection, SubCollection, Classification };

RefTable refTableOf(AuthorityList l);

// The search of an authority list on the text typed by the operator ("*"
// is the wildcard; "%", "_" and quotes stand for themselves; the case of
// every letter is ignored). A blank text finds nothing.
ListQuery authoritySearch(const Dialect &dialect, AuthorityList l, const QString &typed);

// A query that finds no row of `table`, for a list that is shown empty.
ListQuery noRows(const QString &table);

// The first row of `d` whose value in one of `columns` (tried in order)
// begins with `typed`, without regard to case; -1 when none. Reads the
// whole result (code tables are small).
int firstRowStartingWith(Dataset &d, const QStringList &columns, const QString &typed);

} // namespace folian
