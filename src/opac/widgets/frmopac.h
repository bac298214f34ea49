#pragma once
// The public catalogue browser module ("Navigateur Web"): the catalogue's
// pages as the public sees them, with back, forward, stop, refresh and
// the start page in the module's menu.

#include "data/widgets/frmmodule.h"

namespace folian {

class OpacBrowser;

class TFrmOPAC : public TFrmModule
{
    Q_OBJECT
public:
    TFrmOPAC(TFrmData &data, QWidget *parent = nullptr);

    OpacBrowser *browser() const { return browser_; }
    // The start address, from the configuration (see opacStartAddress).
    static QString StartAddress();

private:
    void FormCreate();
    void Home();

    OpacBrowser *browser_;
};

} // namespace folian
