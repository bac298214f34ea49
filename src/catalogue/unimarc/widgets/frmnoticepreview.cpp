#include "catalogue/unimarc/widgets/frmnoticepreview.h"

#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "i18n/widgets/localise.h"

#include <QVBoxLayout>

namespace folian {

TFrmNoticePreview::TFrmNoticePreview(TFrmData &data, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmNoticePreview"));
    setWindowTitle(QStringLiteral("Aperçu notice"));
    view_ = new TFrmNoticeView(data, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    resize(760, 560);
}

void TFrmNoticePreview::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QDialog::showEvent(event);
}

bool TFrmNoticePreview::showRecord(int docId) { return view_->showRecord(docId); }

TFrmNoticePreview *TFrmNoticePreview::preview(TFrmData &data, int docId, QWidget *parent)
{
    auto *w = new TFrmNoticePreview(data, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->showRecord(docId);
    w->show();
    return w;
}

} // namespace folian
