#pragma once
// "Recherche commandes": the purchase orders, their titles and invoices,
// validation and receipt.

#include "acquisitions/widgets/documentsearch.h"

namespace folian {

class TFrmCommandeSearch : public DocumentSearchScreen
{
    Q_OBJECT
public:
    explicit TFrmCommandeSearch(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
