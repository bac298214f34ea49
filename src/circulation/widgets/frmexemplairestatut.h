#pragma once
// "Modification exemplaire": the status, location and remark of one copy,
// changed from the circulation's copy search without opening its record.
// Number and shelf mark are shown only. "Enregistrer" writes the three
// columns, and only while the copy is not lent; "Annuler" or closing the
// window writes nothing.

#include "data/widgets/formdialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace folian {

class TFrmData;

class TFrmExemplaireStatut : public FormDialog
{
    Q_OBJECT
public:
    TFrmExemplaireStatut(TFrmData &data, const QString &copyId, QWidget *parent = nullptr);

    QComboBox *statusList() const { return status_; }
    QComboBox *locationList() const { return location_; }
    QLineEdit *observationField() const { return observation_; }
    QLineEdit *copyField() const { return copy_; }
    QLineEdit *coteField() const { return cote_; }

public slots:
    void BtnEnregistrerClick();

protected:
    void afterLocalise() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();

    TFrmData &data_;
    QString copyId_;
    QLineEdit *copy_, *cote_, *observation_;
    QComboBox *status_, *location_;
};

} // namespace folian
