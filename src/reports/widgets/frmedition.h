#pragma once
// The editions module: catalogue generation, statistics and lists, and the
// pages of the generated catalogue.

#include "data/widgets/frmmodule.h"

#include <functional>

namespace folian {

struct EditionEntry;

// The module's dialogs that belong to another subsystem (the catalogue
// generation belongs to the catalogue) are opened through what the program
// installs for their entries; an entry with nothing installed is shown
// disabled. An empty function removes the entry's dialog.
using EditionDialog = std::function<void(TFrmData &data, QWidget *parent)>;
void setEditionDialog(const QString &entryName, EditionDialog open);

// The screens the module hosts in its desktop for an entry (the statistics
// belong to a layer above the editions): made when the entry is chosen,
// already on the entry's page, and freed when another entry is chosen.
using EditionScreen = std::function<QWidget *(TFrmData &data, const QString &entryName)>;
void setEditionScreen(const QString &entryName, EditionScreen make);

class TFrmEdition : public TFrmModule
{
    Q_OBJECT
public:
    TFrmEdition(TFrmData &data, QWidget *parent = nullptr);

private:
    // Clears the desktop, shows the entry's title and opens its dialog.
    void openDialog(const EditionEntry &entry, const EditionDialog &open);
    // Hosts the entry's screen under the entry's title.
    void hostScreen(const EditionEntry &entry, const EditionScreen &make);
    // Hosts a preview of the entry's page when the page exists; else
    // leaves the desktop as it is.
    void previewPage(const EditionEntry &entry);
};

} // namespace folian
