#pragma once
// The editions module: catalogue generation, statistics and lists, and the
// pages of the generated catalogue.

#include "data/widgets/frmmodule.h"

namespace folian {

struct EditionEntry;

class TFrmEdition : public TFrmModule
{
    Q_OBJECT
public:
    TFrmEdition(TFrmData &data, QWidget *parent = nullptr);

private:
    // Hosts a preview of the entry's page when the page exists; else
    // leaves the desktop as it is.
    void previewPage(const EditionEntry &entry);
};

} // namespace folian
