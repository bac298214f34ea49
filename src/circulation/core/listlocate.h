#pragma once
// The "&Chercher :" field of the circulation lists: typing moves to the first
// row whose chosen column begins with the typed text.

#include <QString>

namespace folian {

class Dataset;

// Moves `dataset` to the first of its rows whose `column` begins with
// `text`, whatever the case of its letters (é finds É). False when no row
// does, or the text is empty: the dataset then stays where it was.
bool locatePartial(Dataset &dataset, const QString &column, const QString &text);

} // namespace folian
