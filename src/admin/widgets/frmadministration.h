#pragma once
// The administration module: users, the partner libraries, the reset of the
// loan counters, the union-catalogue import and the parameters. A library
// being typed is not thrown away without the question
// "Sauvegardez les modifications ?" (asked by the libraries screen).

#include "data/widgets/frmmodule.h"

#include <functional>

namespace folian {

// A screen of this module that a module above it owns (the partner
// libraries belong to the circulation): the application registers it.
// Without it, its entry is shown disabled.
struct AdministrationScreen {
    std::function<QWidget *(TFrmData &)> create;
    // Asked before the screen is freed (work being typed); false keeps it.
    std::function<bool(QWidget *)> closing;
};
void setLibrariesScreen(AdministrationScreen screen);

class TFrmAdministration : public TFrmModule
{
    Q_OBJECT
public:
    TFrmAdministration(TFrmData &data, QWidget *parent = nullptr);

    // The menu entries.
    void Utilisateurs();
    void Bibliotheques();
    void Initialisation();
    void Constitution();
    void Parametres();
    void Sauvegarde();

protected:
    bool screenClosing(QWidget *screen) override;

private:
    QPointer<QWidget> libraries_;
};

} // namespace folian
