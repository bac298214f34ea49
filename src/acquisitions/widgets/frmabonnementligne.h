#pragma once
// "Ligne d'abonnement": a serial title of a subscription, with the period
// and the numbering of the issues it covers; the line dialog of the
// documents in its subscription form.

#include "acquisitions/widgets/frmcommandeligne.h"

namespace folian {

class TFrmAbonnementLigne : public TFrmCommandeLigne
{
    Q_OBJECT
public:
    // `line` 0 opens a new line of the subscription.
    TFrmAbonnementLigne(TFrmData &data, int subscription, int line, QWidget *parent = nullptr);
};

} // namespace folian
