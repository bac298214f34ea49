#pragma once
// The administration module: users, the reset of the loan counters, the
// union-catalogue import and the parameters; the partner libraries come later.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmAdministration : public TFrmModule
{
    Q_OBJECT
public:
    TFrmAdministration(TFrmData &data, QWidget *parent = nullptr);

    // The menu entries.
    void Utilisateurs();
    void Initialisation();
    void Constitution();
    void Parametres();
};

} // namespace folian
