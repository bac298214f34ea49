#pragma once
// The acquisitions module: orders, subscriptions, deliveries, invoices, gifts,
// exchanges, deposits, budgets, suppliers.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmAcquisition : public TFrmModule
{
    Q_OBJECT
public:
    TFrmAcquisition(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
