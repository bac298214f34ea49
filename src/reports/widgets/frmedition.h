#pragma once
// The editions module: catalogue generation, statistics and lists.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmEdition : public TFrmModule
{
    Q_OBJECT
public:
    TFrmEdition(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
