#pragma once
// "PEB - Retour": the return of a document borrowed from a partner library,
// found by the partner's copy number at the chosen library. The borrower's
// lists are shown; a late return penalises him.

#include "circulation/widgets/interlibraryscreen.h"

namespace folian {

class TFrmPEBRetour : public InterLibraryScreen
{
    Q_OBJECT
public:
    explicit TFrmPEBRetour(TFrmData &data, QWidget *parent = nullptr);

    QLineEdit *copyField() const { return copy_; }
    void focusCopy();

    void BtnEnregistrerClick() override;
    void BtnAnnulerClick() override;

protected:
    bool returnInField(QWidget *control) override;
    void updateSave() override;

private:
    QLineEdit *copy_;
};

} // namespace folian
