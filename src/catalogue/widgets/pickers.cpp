#include "catalogue/widgets/pickers.h"

#include <QHash>

namespace folian {

namespace {
QHash<int, Picker> &pickers()
{
    static QHash<int, Picker> p;
    return p;
}
} // namespace

void setPicker(PickList list, Picker picker)
{
    if (picker)
        pickers().insert(int(list), std::move(picker));
    else
        pickers().remove(int(list));
}

Picked pick(QWidget *parent, TFrmData &data, const PickRequest &request)
{
    const Picker p = pickers().value(int(request.list));
    return p ? p(parent, data, request) : Picked();
}

} // namespace folian
