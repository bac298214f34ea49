#include "catalogue/widgets/frmresponsabilite.h"

#include "base/messages.h"
#include "catalogue/core/records.h"
#include "catalogue/widgets/noticefields.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace folian {

TFrmResponsabilite::TFrmResponsabilite(TFrmData &frmData, QWidget *parent) : FormDialog(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmResponsabilite"));
    setWindowTitle(QStringLiteral("Mention de responsabilité"));
    setModal(true);
    Dataset *a = frmData.QAuteur;
    binder_ = new FieldBinder(a, this);

    auto *fields = new QWidget(this);
    QFormLayout *f = fieldForm(fields);
    author_ = new QLabel(headingName(frmData.db(), a->value(QStringLiteral("VED_ID"))), fields);
    author_->setProperty("localise", false);
    QFont bold = author_->font();
    bold.setBold(true);
    author_->setFont(bold);
    addFieldRow(f, QStringLiteral("VED_ID"), QStringLiteral("Auteur :"), author_);

    // The kinds of responsibility, named in the record's language.
    auto *kindBox = new QWidget(fields);
    auto *kl = new QVBoxLayout(kindBox);
    kl->setContentsMargins(0, 0, 0, 0);
    kinds_ = new QButtonGroup(this);
    const QVariant language = frmData.QNotice->value(QStringLiteral("LAN_ID"));
    for (int kind = 1; kind <= 3; ++kind) {
        auto *rb = new QRadioButton(authorTypeName(kind, language), kindBox);
        rb->setObjectName(QStringLiteral("RbType%1").arg(kind));
        rb->setProperty("localise", false);
        kinds_->addButton(rb, kind);
        kl->addWidget(rb);
    }
    const int current = a->value(QStringLiteral("AUT_TYPE")).toInt();
    if (QAbstractButton *b = kinds_->button(current >= 1 && current <= 3 ? current : 1))
        b->setChecked(true);
    addFieldRow(f, QStringLiteral("AUT_TYPE"), QStringLiteral("Type :"), kindBox);

    openLookup(frmData.QFonction);
    function_ = addList(f, *binder_, QStringLiteral("FON_ID"), QStringLiteral("Fonction :"), frmData.QFonction,
                        QStringLiteral("FON_ID"), QStringLiteral("FON"));
    function_->installEventFilter(this);
    binder_->refresh();

    const SheetButtons buttons = sheetButtons(this);
    connect(buttons.post, &QPushButton::clicked, this, &TFrmResponsabilite::BtnPostClick);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addLayout(buttons.row);
    setMinimumWidth(420);
}

bool TFrmResponsabilite::eventFilter(QObject *watched, QEvent *event)
{
    // "." empties the function.
    if (watched == function_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->text() == QLatin1String(".")) {
        function_->setCurrentIndex(0);  // the blank item
        emit function_->activated(function_->currentIndex());
        return true;
    }
    return FormDialog::eventFilter(watched, event);
}

void TFrmResponsabilite::BtnPostClick()
{
    Dataset *a = data_.QAuteur;
    if (!a->isEditing())
        return;
    if (!a->setValue(QStringLiteral("AUT_TYPE"), kinds_->checkedId() > 0 ? kinds_->checkedId() : 1)) {
        error(a->refusal().isEmpty() ? a->lastError() : a->refusal());
        return;
    }
    if (binder_->post())
        accept();
}

} // namespace folian
