#pragma once
// "Règlement": the loan rule of the current category for one document type,
// the current row of QReglement (appended or put in edit by the caller).

#include "data/widgets/formdialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace folian {

class FieldBinder;
class TFrmData;

class TFrmReglement : public FormDialog
{
    Q_OBJECT
public:
    TFrmReglement(TFrmData &data, const QVariant &categoryId, const QString &title, QWidget *parent = nullptr);

    QComboBox *typeList() const { return type_; }
    QLineEdit *number(const char *name) const;
    QPushButton *postButton() const { return btnPost_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override { setWindowTitle(title_); }
    void done(int result) override;

private:
    void updateButtons();

    TFrmData &data_;
    QVariant category_;
    QString title_;
    QString openedType_;  // the type of the rule when the sheet opened
    FieldBinder *binder_;
    QComboBox *type_;
    QPushButton *btnPost_;
};

} // namespace folian
