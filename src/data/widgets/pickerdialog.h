#pragma once
// A screen shown as a modal picker ("Recherche lecteur", a structure to
// choose): the screen fills the dialog, and the dialog closes with OK when
// the screen says a row was chosen.

#include "data/widgets/formdialog.h"

namespace folian {

class PickerDialog : public FormDialog
{
    Q_OBJECT
public:
    // Takes `screen`; `chosen` is the screen's signal that a row was chosen.
    template <typename Screen, typename Signal>
    PickerDialog(Screen *screen, Signal chosen, const QString &title, QWidget *parent = nullptr)
        : FormDialog(parent), title_(title)
    {
        embed(screen);
        connect(screen, chosen, this, &QDialog::accept);
    }

protected:
    void afterLocalise() override { setWindowTitle(title_); }

private:
    void embed(QWidget *screen);
    QString title_;
};

} // namespace folian
