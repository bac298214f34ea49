#pragma once
// The lists a screen opens to choose a row of another table: headings
// (authors, subjects), publishers, collections, sub-collections,
// classification indices. The authority lists install themselves as the
// pickers; a caller asks for a choice and writes the chosen key itself.
// Tests install pickers of their own to play the operator.

#include <QString>
#include <QVariant>
#include <functional>

class QWidget;

namespace folian {

class TFrmData;

enum class PickList { Heading, Publisher, Collection, SubCollection, Classification };

struct PickRequest {
    PickList list = PickList::Heading;
    // The caller's mode, as the lists number them (heading list: 1 record
    // author, 2 record subject, 3 search author, 4 search subject, 5
    // circulation search, 6 order line, 7 inventory; the reference lists:
    // 1 record form, 2 second publisher or index criterion, ...).
    int mode = 1;
    // The text of the caller's box; the list searches at once with it
    // (the caller adds the "*" wildcard).
    QString text;
    // For a sub-collection: the collection it belongs to (or invalid).
    QVariant parent;
};

struct Picked {
    QVariant key;        // VED_ID, EDT_ID, COL_ID, SCL_ID or CLA_ID of the chosen row
    QVariant accepted;   // for a heading: its accepted form's VED_ID
    QString name;        // the chosen row's name as the list shows it
    bool ok() const { return key.isValid() && !key.isNull(); }
};

using Picker = std::function<Picked(QWidget *parent, TFrmData &data, const PickRequest &request)>;

// Installs the picker of a list (replacing the previous one); an empty
// function removes it.
void setPicker(PickList list, Picker picker);
// Opens the list and returns the choice; nothing chosen (or no picker) gives !ok().
Picked pick(QWidget *parent, TFrmData &data, const PickRequest &request);

} // namespace folian
