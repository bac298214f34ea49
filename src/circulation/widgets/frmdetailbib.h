#pragma once
// "Responsable bibliothèque": the sheet of a correspondent of a partner
// library (number, name, first name, password, date of birth, address,
// telephone, e-mail). Saving goes through saveCorrespondent: category 9,
// the library's key, registered today, the password stored hashed.

#include "data/widgets/formdialog.h"

class QDateEdit;
class QLineEdit;

namespace folian {

class TFrmData;

class TFrmDetailBib : public FormDialog
{
    Q_OBJECT
public:
    // An empty `correspondentId` opens the sheet of a new correspondent.
    TFrmDetailBib(TFrmData &data, int libraryId, const QString &correspondentId, QWidget *parent = nullptr);

    // The number of the correspondent once saved.
    QString savedId() const { return savedId_; }
    QLineEdit *field(const char *name) const;
    QDateEdit *birthField() const { return birth_; }

public slots:
    // "Enregistrer": saves and closes, or shows why not and stays open.
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    TFrmData &data_;
    const int libraryId_;
    const QString id_;
    QString savedId_;
    QDateEdit *birth_;
};

} // namespace folian
