#pragma once
// Reader categories, their loan rules (one per category and document type)
// and the structures readers belong to. What readers still use is never
// deleted: each deletion locks its row first (a reader import into it, a
// loan under the rule, finishes first or waits), then is one statement
// whose condition checks it, and a refusal says why.

#include "circulation/core/readers.h"

#include <QString>
#include <QVariant>

namespace folian {

class Database;
class Dataset;

// The category of partner-library correspondents: never deleted, never renamed.
bool isReservedCategory(const QVariant &catId);

// Deletes a category and its loan rules in one transaction, unless it is
// the reserved one or readers belong to it. Empty on success, else why not.
QString deleteCategory(Database &db, int catId);
// Deletes a structure no reader belongs to. Empty on success, else why not.
QString deleteStructure(Database &db, int strId);
// Deletes a loan rule unless readers of its category hold or reserve
// copies of its document type (their renewals and reservations need it).
QString deleteRule(Database &db, int catId, const QString &typId);

// The loan rules of a category, with the label of their document type in
// the session's language as TYPE.
SqlText categoryRulesSql(int catId);

// "Pénalité proportionnelle" clicked: empty or 0 becomes 1, anything else
// 0, decided from the stored value.
bool toggleProportionalPenalty(Database &db, int catId);

// Why a rule cannot be saved with this document type in this category:
// no type, or another rule of the category has it (`currentTypId` is the
// type the rule had when it was opened, empty for a new rule). Empty when
// it can.
QString ruleRefusal(Database &db, const QVariant &catId, const QVariant &typId, const QString &currentTypId);

// A veto for QCategorie: the reserved category keeps its label. Refuses
// (with the message shown) when the row being posted renames it.
bool keepReservedLabel(Database &db, Dataset &categories);

} // namespace folian
