#pragma once
// The administration module: users, the partner libraries, the reset of the
// loan counters, the union-catalogue import and the parameters. A library
// being typed is not thrown away without the question
// "Sauvegardez les modifications ?".

#include "data/widgets/frmmodule.h"

namespace folian {

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

protected:
    bool screenClosing(QWidget *screen) override;
};

} // namespace folian
