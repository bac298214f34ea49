#pragma once
// "Liste des monnaies": the currencies, edited in place in their grid (a
// name in French and in Arabic), sorted by the name of the session's
// language; a currency that documents carry is not deleted.

#include "data/widgets/listeditscreen.h"

namespace folian {

class TFrmMonnaie : public ListEditScreen
{
    Q_OBJECT
public:
    explicit TFrmMonnaie(TFrmData &data, QWidget *parent = nullptr);

protected:
    QString deleteQuestion() const override;
    QString deleteCurrent() override;
    void afterChange() override;
};

} // namespace folian
