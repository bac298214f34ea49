#include "catalogue/widgets/hosting.h"

#include "data/widgets/frmmodule.h"

namespace folian {

void closeScreen(QWidget *screen)
{
    for (QWidget *w = screen->parentWidget(); w; w = w->parentWidget())
        if (auto *module = qobject_cast<TFrmModule *>(w)) {
            module->ClearDesktopForm();
            return;
        }
    screen->close();
}

} // namespace folian
