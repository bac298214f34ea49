#pragma once
// The responsibility of an author on a record (the current row of
// QAuteur, being inserted or edited): its kind and its function.
// "Enregistrer" posts the row; "Annuler" leaves it unposted.

#include "data/widgets/formdialog.h"

class QButtonGroup;
class QComboBox;
class QLabel;

namespace folian {

class FieldBinder;
class TFrmData;

class TFrmResponsabilite : public FormDialog
{
    Q_OBJECT
public:
    explicit TFrmResponsabilite(TFrmData &frmData, QWidget *parent = nullptr);

    QButtonGroup *kinds() const { return kinds_; }
    QComboBox *function() const { return function_; }

public slots:
    void BtnPostClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TFrmData &data_;
    FieldBinder *binder_;
    QLabel *author_;
    QButtonGroup *kinds_;
    QComboBox *function_;
};

} // namespace folian
