#pragma once
// The rules of a bibliographic record beyond the shared ones: who may
// create, edit and delete it, the document types a cataloguer may use, the
// names of the kinds of responsibility, the deletion of a record and the
// refusals that protect copies on loan.

#include "catalogue/core/headings.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace folian {

class Database;
class Dataset;
class TFrmData;
struct Session;

// What the logged-on user may do with records.
struct CataloguerRights {
    // Reads the user's document types (CATALOGAGE) unless his role gives him all.
    static CataloguerRights of(Database &db, const Session &s);

    bool manager = false;   // role 1 or 3: every record, every type
    bool notice = false;    // UTL_CAT_NOTICE
    QString login;
    QStringList types;      // the types he may catalogue (all of them for a manager)

    // A new record and its satellites.
    bool mayCreate() const { return manager || notice; }
    // An existing record of this document type: its fields and satellites.
    bool mayEdit(const QVariant &typId) const;
    // A record created by `createUser`.
    bool mayDelete(const QVariant &createUser) const;
    // The record as the form opens it: a new one, or an existing one of this type.
    bool mayWrite(bool newRecord, const QVariant &typId) const
    {
        return newRecord ? mayCreate() : mayEdit(typId);
    }
};

// The document types a user may catalogue, in code order: every type for
// roles 1 and 3, else those CATALOGAGE lists for him.
QStringList cataloguableTypes(Database &db, const Session &s);

// The label of a kind of responsibility (AUT_TYPE 1, 2, 3), in Arabic for a
// record in Arabic ("ara"), in French otherwise, whatever the interface.
QString authorTypeName(const QVariant &autType, const QVariant &recordLanguage);

// Why a record cannot be deleted now (a copy on loan or reserved), or empty.
QString recordDeleteRefusal(Database &db, const QVariant &docId);
// Why the user of `rights` may not delete the record (he has no right to
// records, or did not create it), or empty.
QString recordDeleteRightRefusal(Database &db, const CataloguerRights &rights, const QVariant &docId);
// Deletes a record with its authors, subjects, indices, resources, issues,
// copies and order lines in one transaction, through the shared record
// query (which it positions on the record), when the session's user may
// (or the user of `rights`). Empty on success, else the reason for the
// operator; nothing is deleted then.
QString deleteRecord(TFrmData &data, const QVariant &docId);
QString deleteRecord(TFrmData &data, const CataloguerRights &rights, const QVariant &docId);

// The refusals to edit or delete a copy lent to a reader, with its due
// date; empty when the copy may be changed. Read from the database.
QString copyEditRefusal(Database &db, const QVariant &expId);
QString copyDeleteRefusal(Database &db, const QVariant &expId);
// The question asked before deleting a copy, an issue, a resource.
QString copyDeleteQuestion(const QVariant &expId);
QString issueDeleteQuestion(const QVariant &number);
QString resourceDeleteQuestion(const QVariant &link);

// The name a record's form shows beside a key: the publisher of EDT_ID or
// EDT_ID2 (its Arabic name in Arabic, the French one when it has none),
// the collection of COL_ID, the sub-collection of SCL_ID. Empty for an
// empty or unknown key.
QString referenceName(Database &db, const QString &keyColumn, const QVariant &key, bool arabic);

// "?": DOC_NBR_EXEMPLAIRE becomes the number of the record's copies (empty
// when it has none) and the record is posted; a failed post cancels the
// change. `notice` is the record's dataset on its current row.
bool storeCopyCount(Dataset &notice, Database &db);

// A long text as the record keeps it: lines end with CR LF (imported notes
// are separated so), whatever the editor gave.
QString withRecordLineBreaks(const QString &text);

// The record's title proper is not blank: it may be saved.
bool hasTitle(const Dataset &notice);
// The message when a record without a title proper would be saved.
QString titleRequiredMessage();

} // namespace folian
