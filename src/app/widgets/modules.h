#pragma once
// The seven module frames that the main window hosts, one at a time.

#include "base/rights.h"
#include "data/widgets/frmmodule.h"

namespace folian {

// A new frame of the module.
TFrmModule *createModuleFrame(Module m, TFrmData &data, QWidget *parent = nullptr);

} // namespace folian
