#pragma once
// "Consulatation sur palce", the in-house consultation: a copy excluded
// from external loan lent for the day (F5) and its return (F6).

#include "circulation/widgets/deskscreen.h"

namespace folian {

class TFrmConsultation : public DeskScreen
{
    Q_OBJECT
public:
    explicit TFrmConsultation(TFrmData &data, QWidget *parent = nullptr);

    void Pret() { chooseMode(0); }
    void Retour() { chooseMode(1); }
};

} // namespace folian
