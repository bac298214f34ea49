#pragma once
// "Transactions", the loan desk: loan (F5), return (F6), reservation (F7),
// renewal (F8) and cancellation of a reservation (F9).

#include "circulation/widgets/deskscreen.h"

namespace folian {

class TFrmTransactions : public DeskScreen
{
    Q_OBJECT
public:
    explicit TFrmTransactions(TFrmData &data, QWidget *parent = nullptr);

    void Pret() { chooseMode(0); }
    void Retour() { chooseMode(1); }
    void Reservation() { chooseMode(2); }
    void Prolongation() { chooseMode(3); }
    void AnnulerReservation() { chooseMode(4); }
};

} // namespace folian
