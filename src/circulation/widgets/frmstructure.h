#pragma once
// "Structure": the organisational units readers belong to, edited in place;
// also the list a structure is picked from ("Choisir").

#include "data/widgets/listeditscreen.h"

namespace folian {

class TFrmStructure : public ListEditScreen
{
    Q_OBJECT
public:
    TFrmStructure(TFrmData &data, Mode mode = Mode::Manage, QWidget *parent = nullptr);

protected:
    QString deleteQuestion() const override;
    QString deleteCurrent() override;
    void afterChange() override;
};

} // namespace folian
