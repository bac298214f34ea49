#include "catalogue/unimarc/widgets/frmnoticeview.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/unimarc/isbd.h"
#include "catalogue/unimarc/output.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/core/htmlpage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace folian {

TFrmNoticeView::TFrmNoticeView(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmNoticeView"));
    btnIsbd_ = new QPushButton(QStringLiteral("ISBD"), this);
    btnIsbd_->setObjectName(QStringLiteral("BtnISBD"));
    btnUnimarc_ = new QPushButton(QStringLiteral("UNIMARC"), this);
    btnUnimarc_->setObjectName(QStringLiteral("BtnUNIMARC"));
    for (QPushButton *b : {btnIsbd_, btnUnimarc_})
        b->setCheckable(true);
    btnIsbd_->setChecked(true);
    connect(btnIsbd_, &QPushButton::clicked, this, &TFrmNoticeView::BtnIsbdClick);
    connect(btnUnimarc_, &QPushButton::clicked, this, &TFrmNoticeView::BtnUnimarcClick);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("WebBrowser"));
    // A click opens a web or mail address in the desktop's browser, nothing else.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [](const QUrl &url) { OpenSafeLink(url); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnIsbd_);
    buttons->addWidget(btnUnimarc_);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
}

void TFrmNoticeView::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmNoticeView::showRecord(int docId)
{
    docId_ = docId;
    return refresh();
}

void TFrmNoticeView::BtnIsbdClick()
{
    display_ = Display::Isbd;
    refresh();
}

void TFrmNoticeView::BtnUnimarcClick()
{
    display_ = Display::Unimarc;
    refresh();
}

bool TFrmNoticeView::refresh()
{
    btnIsbd_->setChecked(display_ == Display::Isbd);
    btnUnimarc_->setChecked(display_ == Display::Unimarc);
    fragment_.clear();
    page_.clear();
    QString why;
    unimarc::RecordLoader loader(data_.db());
    const std::optional<unimarc::StoredRecord> record = loader.load(docId_, &why);
    if (!record) {
        browser_->setHtml(QStringLiteral("<p>") + htmlEscape(why.isEmpty()
                              ? tr2(QStringLiteral("Notice introuvable."), QStringLiteral("البطاقة غير موجودة."))
                              : why) + QStringLiteral("</p>"));
        return false;
    }
    const bool rtl = record->arabic();
    fragment_ = display_ == Display::Isbd
        ? unimarc::formatIsbd(*record, unimarc::IsbdLayout::Card, true).html
        : unimarc::unimarcHtml(*record, session().ClassificationScheme);
    page_ = unimarc::writeNoticePage(fragment_, rtl && display_ == Display::Isbd);
    QString html;
    if (page_.isEmpty() || !readHtmlPage(page_, &html)) {
        // The page could not be written: show the fragment all the same.
        html = unimarc::noticePage(fragment_, rtl && display_ == Display::Isbd);
    }
    browser_->setHtml(previewHtml(html));
    return true;
}

} // namespace folian
