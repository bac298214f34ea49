#pragma once
// The logon dialog: the operator chooses his login, types his password and
// may switch the interface language before logging on.

#include "data/widgets/formdialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace folian {

class DatasetModel;
class TFrmData;

class TFrmLogOn : public FormDialog
{
    Q_OBJECT
public:
    explicit TFrmLogOn(TFrmData &data, QWidget *parent = nullptr);

    QComboBox *userList() const { return usr_; }
    QLineEdit *passwordField() const { return pas_; }
    // The UTL_ID chosen in the list; 0 when nobody is chosen.
    int selectedUserId() const;

public slots:
    // "Ok": the logon check; the dialog stays open when it fails.
    void BtnOkClick();
    // BtnLangue: switches to the other language.
    void SelectLanguage();

protected:
    void showEvent(QShowEvent *event) override;
    void afterLocalise() override;

private:
    void SetLanguage(const QString &language);
    void selectUser(int userId);

    TFrmData &data_;
    DatasetModel *model_;
    QComboBox *usr_;
    QLineEdit *pas_;
    QPushButton *btnLangue_;
};

} // namespace folian
