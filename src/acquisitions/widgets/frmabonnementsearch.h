#pragma once
// "Recherche abonnements": the serial subscriptions, their titles with the
// periodicity of each, their invoices, validation and the receipt of
// issues.

#include "acquisitions/widgets/documentsearch.h"

namespace folian {

class TFrmAbonnementSearch : public DocumentSearchScreen
{
    Q_OBJECT
public:
    explicit TFrmAbonnementSearch(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
