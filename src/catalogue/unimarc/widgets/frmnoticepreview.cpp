#include "catalogue/unimarc/widgets/frmnoticepreview.h"

#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "i18n/widgets/localise.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmNoticePreview::TFrmNoticePreview(TFrmData &frmData, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmNoticePreview"));
    setWindowTitle(QStringLiteral("Aperçu notice"));
    view_ = new TFrmNoticeView(frmData, this);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("BtnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(760, 560);
}

void TFrmNoticePreview::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QDialog::showEvent(event);
}

bool TFrmNoticePreview::showRecord(int docId) { return view_->showRecord(docId); }

TFrmNoticePreview *TFrmNoticePreview::preview(TFrmData &frmData, int docId, QWidget *parent)
{
    auto *w = new TFrmNoticePreview(frmData, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->showRecord(docId);
    w->show();
    return w;
}

} // namespace folian
