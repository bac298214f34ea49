#pragma once
// The administration module: users, the reset of the loan counters and the
// parameters; the partner libraries and the union catalogue come later.

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
    void Parametres();
};

} // namespace folian
