#include "circulation/core/listlocate.h"

#include "data/core/dataset.h"

namespace folian {

bool locatePartial(Dataset &dataset, const QString &column, const QString &text)
{
    const int field = dataset.fieldIndex(column);
    if (text.isEmpty() || field < 0 || !dataset.isOpen() || dataset.isEditing())
        return false;
    // The lists are short (what is late, lost, reserved): read them whole.
    dataset.fetchAll();
    for (int row = 0; row < dataset.rowCount(); ++row)
        if (dataset.valueAt(row, field).toString().startsWith(text, Qt::CaseInsensitive))
            return dataset.moveTo(row);
    return false;
}

} // namespace folian
