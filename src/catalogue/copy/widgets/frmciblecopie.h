#pragma once
// A new target of copy cataloguing ("Nouvelle cible"): its name, its
// protocol and address, the character set of records that declare none, its
// time-out and, for SRU, the names of its indexes. "OK" adds it through the
// targets' service; a refusal is said and the sheet stays open.

#include "data/widgets/formdialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace folian {

class Database;

// A caption named `name` that gives the focus to `buddy` (the copy screens' forms).
QLabel *buddyLabel(const char *name, const QString &caption, QWidget *buddy, QWidget *parent);

class TFrmCibleCopie : public FormDialog
{
    Q_OBJECT
public:
    TFrmCibleCopie(Database &db, QWidget *parent = nullptr);

    QString addedName() const { return added_; }
    QLineEdit *nameField() const { return name_; }
    QComboBox *protocolBox() const { return protocol_; }
    QLineEdit *addressField() const { return address_; }

public slots:
    void BtnOkClick();

private:
    Database &db_;
    QLineEdit *name_, *address_;
    QComboBox *protocol_, *charset_, *indexes_;
    QSpinBox *timeout_;
    QString added_;
};

} // namespace folian
