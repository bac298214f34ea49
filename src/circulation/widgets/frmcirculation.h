#pragma once
// The circulation module: readers, the loan desk, inter-library loan,
// categories and loan rules, editions.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmCirculation : public TFrmModule
{
    Q_OBJECT
public:
    TFrmCirculation(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
