#pragma once
// The public catalogue browser module.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmOPAC : public TFrmModule
{
    Q_OBJECT
public:
    TFrmOPAC(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
