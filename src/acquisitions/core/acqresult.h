#pragma once
// What an acquisition operation answers: done (with the key of the row it
// wrote) or refused, with the message for the operator. Each operation is
// one transaction: a refusal or a failure writes nothing.

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <optional>

namespace folian {

class Database;

struct AcqResult {
    bool passed = false;
    QString message;   // why it was refused; what was done, when there is something to say
    int key = 0;       // the key of the row written (a new row's allocated key)

    static AcqResult done(int key = 0, const QString &message = QString()) { return {true, message, key}; }
    static AcqResult refused(const QString &message) { return {false, message, 0}; }
};

// A failure of the database: the shared save error and the engine's words.
AcqResult databaseError(Database &db);

// Runs `body` (returning an AcqResult) in one transaction, committed only
// when the body passed.
template <typename Body>
AcqResult inTransaction(Database &db, Body body);

// A value for a column of the schema, checked as the datasets check it (its
// type, its length, an amount's limit), refused under the field's
// `caption`; a blank value is NULL.
std::optional<QVariant> columnValue(Database &db, const char *table, const char *column, const QString &caption,
                                    const QVariant &value, QString *refusal);

// A typed text for a column: where its value goes, the caption a refusal
// names it by.
struct TypedField {
    const char *column;
    const char16_t *french, *arabic;
    QString typed;
    QVariant *out;
};
// Each text trimmed and checked as columnValue checks it; false with the
// first refusal.
bool columnValues(Database &db, const char *table, std::initializer_list<TypedField> fields, QString *refusal);

} // namespace folian

#include "data/core/database.h"

namespace folian {

template <typename Body>
AcqResult inTransaction(Database &db, Body body)
{
    AcqResult r;
    {
        Transaction tx(db);
        if (!tx.isActive())
            return databaseError(db);
        r = body();
        if (r.passed && !tx.commit())
            return databaseError(db);
    }
    return r;
}

} // namespace folian
