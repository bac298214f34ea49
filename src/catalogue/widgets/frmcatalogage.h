#pragma once
// The cataloguing module: record search, records, import, code tables.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmCatalogage : public TFrmModule
{
    Q_OBJECT
public:
    TFrmCatalogage(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
