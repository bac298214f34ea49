#pragma once
// The authorities module: headings, publishers, collections, classifications.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmAutorite : public TFrmModule
{
    Q_OBJECT
public:
    TFrmAutorite(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
