#pragma once
// The seven module frames that the main window hosts, one at a time.

#include "admin/core/rights.h"
#include "app/widgets/frmmodule.h"

namespace folian {

class TFrmAcquisition : public TFrmModule
{
    Q_OBJECT
public:
    TFrmAcquisition(TFrmData &data, QWidget *parent = nullptr);
};

class TFrmCatalogage : public TFrmModule
{
    Q_OBJECT
public:
    TFrmCatalogage(TFrmData &data, QWidget *parent = nullptr);
};

class TFrmAutorite : public TFrmModule
{
    Q_OBJECT
public:
    TFrmAutorite(TFrmData &data, QWidget *parent = nullptr);
};

class TFrmCirculation : public TFrmModule
{
    Q_OBJECT
public:
    TFrmCirculation(TFrmData &data, QWidget *parent = nullptr);
};

class TFrmEdition : public TFrmModule
{
    Q_OBJECT
public:
    TFrmEdition(TFrmData &data, QWidget *parent = nullptr);
};

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

class TFrmOPAC : public TFrmModule
{
    Q_OBJECT
public:
    TFrmOPAC(TFrmData &data, QWidget *parent = nullptr);
};

// A new frame of the module.
TFrmModule *createModuleFrame(Module m, TFrmData &data, QWidget *parent = nullptr);

} // namespace folian
