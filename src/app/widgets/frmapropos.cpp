#include "app/widgets/frmapropos.h"

#include "admin/core/about.h"
#include "base/session.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmAPropos::TFrmAPropos(TFrmData &dataModule, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAPropos"));
    setWindowTitle(QStringLiteral("À propos de Folian"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 12);
    layout->setSpacing(8);
    const QStringList texts = aboutLines(readAboutInfo(dataModule.db(), session()));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto *label = new QLabel(texts.at(i), this);
        label->setObjectName(QStringLiteral("LblLigne%1").arg(i + 1));
        label->setProperty("localise", false);  // data, in the session's language already
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (i == 0) {
            QFont f = label->font();
            f.setBold(true);
            label->setFont(f);
        }
        lines_ << label;
        layout->addWidget(label);
    }
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("Fermer"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BtnOk"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    LocaliseForm(this);
    setMinimumWidth(380);
}

QStringList TFrmAPropos::lines() const
{
    QStringList out;
    for (const QLabel *l : lines_)
        out << l->text();
    return out;
}

} // namespace folian
