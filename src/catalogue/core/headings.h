#pragma once
// Headings (VEDETTE): accepted and rejected forms, and the searches of the
// heading list and of the accepted-form picker.
//
// Accepted and rejected forms stay one level deep: VED_ID2 always names a
// heading that is its own accepted form. Choosing a rejected form as the
// accepted form of another heading stores ITS accepted form; a heading that
// becomes a rejected form takes its own rejected forms along to its new
// accepted form, in the same transaction; and no heading becomes a rejected
// form of one of its own rejected forms. The record links, the searches and
// the import rely on it.

#include "catalogue/core/references.h"

#include <QString>
#include <QVariant>

namespace folian {

class Database;
class Dataset;
class Dialect;

// The accepted form of heading `vedId` (its VED_ID2, or itself when that is
// blank); a chain left by older data is followed to its end. Invalid when
// the heading does not exist or cannot be read.
QVariant acceptedForm(Database &db, const QVariant &vedId);

struct AcceptedChoice {
    QVariant accepted;  // what the heading's VED_ID2 is to hold
    QString refusal;    // why the choice cannot be made (nothing changes)
    bool ok() const { return refusal.isEmpty(); }
};
// Choosing `chosen` as the accepted form of `heading` (invalid for a
// heading not saved yet): the chosen heading's own accepted form, refused
// when that is the heading itself (a cycle) or when it no longer exists.
// A blank choice, or the heading itself, makes it its own accepted form.
AcceptedChoice resolveAcceptedForm(Database &db, const QVariant &heading, const QVariant &chosen);

struct HeadingSave {
    QString message;     // empty on success, else for the operator
    int repointed = 0;   // headings moved to the new accepted form
    bool ok() const { return message.isEmpty(); }
};
// Saves the heading being edited or inserted in `vedette` (QVedette) in one
// transaction: resolves its accepted form, refuses a blank name, repoints
// its own rejected forms when it becomes a rejected form, posts it. On a
// refusal or a failure nothing is written and the row stays in edit with
// the values typed.
HeadingSave postHeading(Dataset &vedette);

// What the heading list does in each of its modes (0 management, 1 record
// author, 2 record subject, 3 search author, 4 search subject, 5 circulation
// search, 6 order line, 7 inventory).
struct HeadingListMode {
    bool showsKinds = false;      // the kind list is shown
    int presetKind = 1;           // its first choice, and the kind of a new heading
    bool byChosenKind = false;    // the search keeps to the kind chosen in the list
    bool authorKindsOnly = false; // the search keeps to the author kinds 1, 2, 3, 4, 10
};
HeadingListMode headingListMode(int mode);

// The search of the heading list: headings named like `typed` ("*" is the
// wildcard; the case of every letter ignored), of the kinds of the mode (`kind` is
// the one chosen in the list). A blank text finds nothing. The list is
// read in the alphabetical order of `language`.
ListQuery headingSearch(const Dialect &dialect, int mode, int kind, const QString &typed, const QString &language);

// The accepted-form picker: headings of `kind` named like `typed`, other
// than `heading` itself, sorted by name in `language`. A blank text finds
// nothing.
ListQuery acceptedFormSearch(const Dialect &dialect, int kind, const QVariant &heading, const QString &typed,
                             const QString &language);

// The name of a heading; empty when there is none.
QString headingName(Database &db, const QVariant &vedId);

} // namespace folian
