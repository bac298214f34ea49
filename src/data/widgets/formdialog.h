#pragma once
// What every modal sheet shares: Return moves to the
// next control, Escape closes as "Annuler" does, and the form is localised
// each time it is shown.

#include <QDialog>

namespace folian {

class FormDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FormDialog(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Runs after the captions of the language are in place: the texts that
    // the form sets itself (titles, lists built from data) come here.
    virtual void afterLocalise() {}
};

} // namespace folian
