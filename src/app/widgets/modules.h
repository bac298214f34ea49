#pragma once
// The seven module frames that the main window hosts, one at a time.

#include "base/rights.h"
#include "data/widgets/frmmodule.h"

namespace folian {

// A new frame of the module.
TFrmModule *createModuleFrame(Module m, TFrmData &data, QWidget *parent = nullptr);

// Registers with the modules the screens and dialogs that modules above
// them own: the editions' dialogs, the administration's partner libraries,
// the record form's copy generator.
// createModuleFrame does it; a test building a frame itself calls it.
void installModuleScreens();

} // namespace folian
