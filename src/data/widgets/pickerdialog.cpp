#include "data/widgets/pickerdialog.h"

#include <QVBoxLayout>

namespace folian {

void PickerDialog::embed(QWidget *screen)
{
    setObjectName(QStringLiteral("FrmPicker"));
    setModal(true);
    setWindowTitle(title_);
    screen->setParent(this);
    screen->setWindowFlags(Qt::Widget);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(screen);
    resize(screen->sizeHint().expandedTo(QSize(760, 480)));
}

} // namespace folian
