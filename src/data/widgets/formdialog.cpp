#include "data/widgets/formdialog.h"

#include "data/widgets/screen.h"
#include "i18n/widgets/localise.h"

#include <QKeyEvent>

namespace folian {

FormDialog::FormDialog(QWidget *parent) : QDialog(parent) {}

void FormDialog::keyPressEvent(QKeyEvent *event)
{
    // A key reaches the form when its control did not use it: a push button
    // clicks on Return itself, a field passes Return on, and it moves on here.
    if (returnMovesFocus(focusWidget(), event))
        return;
    QDialog::keyPressEvent(event);  // Escape: reject()
}

void FormDialog::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    afterLocalise();
    QDialog::showEvent(event);
}

} // namespace folian
