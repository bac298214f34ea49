#pragma once
// "Nouveau lecteur": the reader form on the current row of QLecteur. A new
// reader is saved and the next one can be typed at once (the readers
// entered are listed beside the form); an existing reader is saved and the
// form closes.

#include "data/widgets/screen.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace folian {

class FieldBinder;
class TFrmData;

class TFrmLecteur : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmLecteur(TFrmData &data, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    // Registration: a new row appended, the registration date today.
    void startNew();
    // Update: the current row put in edit, the date from the row.
    void startUpdate();
    bool isUpdate() const { return update_; }

    // The row is being typed and the four mandatory fields hold a value.
    bool isPending() const;
    bool mandatoryFilled() const;
    // Saves when leaving the form (the module's question answered Yes); the
    // row is given up when that fails. Nothing stays pending.
    bool saveOnLeaving();
    // Gives up the row being typed.
    void cancelRow();

    QLineEdit *field(const char *name) const;
    QComboBox *categoryList() const { return category_; }
    QComboBox *structureList() const { return structure_; }
    QDateEdit *birthDate() const { return birth_; }
    QDateEdit *registrationDate() const { return registered_; }
    QListWidget *entered() const { return entered_; }
    QString statusText() const;
    QPushButton *postButton() const { return btnPost_; }

public slots:
    // "Enregistrer"; true when the reader was saved.
    bool BtnPostClick();
    void BtnCancelClick();
    void BtnStructureClick();

signals:
    // The form is done: saved (an update) or cancelled.
    void finished(bool saved);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool save();
    void showRow();
    void updateButtons();
    QDate today() const;

    TFrmData &data_;
    FieldBinder *binder_;
    bool update_ = false;
    QComboBox *category_, *structure_;
    QDateEdit *birth_, *registered_;
    QLabel *status_, *created_, *updated_;
    QListWidget *entered_;
    QPushButton *btnPost_, *btnCancel_;
};

} // namespace folian
