#pragma once
// "Recherche pré-commandes": the pre-orders and their titles, turned into
// orders with "Passer en commande".

#include "acquisitions/widgets/documentsearch.h"

namespace folian {

class TFrmDevisSearch : public DocumentSearchScreen
{
    Q_OBJECT
public:
    explicit TFrmDevisSearch(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
