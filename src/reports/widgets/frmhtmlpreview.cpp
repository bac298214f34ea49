#include "reports/widgets/frmhtmlpreview.h"

#include "base/messages.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/core/htmlpage.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace folian {

TFrmHTMLPreview::TFrmHTMLPreview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmHTMLPreview"));
    setWindowTitle(QStringLiteral("Aperçu HTML"));

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PnlTitle"));
    panel->setFrameShape(QFrame::StyledPanel);
    title_ = new QLabel(panel);
    title_->setObjectName(QStringLiteral("LblTitle"));
    title_->setProperty("localise", false);  // the page's title, set at run time
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);
    btnPrint_ = new QPushButton(QStringLiteral("Imprimer"), panel);
    btnPrint_->setObjectName(QStringLiteral("BtnPrint"));
    btnWord_ = new QPushButton(QStringLiteral("Word"), panel);
    btnWord_->setObjectName(QStringLiteral("BtnWord"));
    btnExcel_ = new QPushButton(QStringLiteral("Excel"), panel);
    btnExcel_->setObjectName(QStringLiteral("BtnExcel"));
    connect(btnPrint_, &QPushButton::clicked, this, &TFrmHTMLPreview::BtnPrintClick);
    connect(btnWord_, &QPushButton::clicked, this, &TFrmHTMLPreview::BtnWordClick);
    connect(btnExcel_, &QPushButton::clicked, this, &TFrmHTMLPreview::BtnExcelClick);
    auto *pl = new QHBoxLayout(panel);
    pl->setContentsMargins(8, 4, 8, 4);
    pl->addWidget(title_, 1);
    pl->addWidget(btnPrint_);
    pl->addWidget(btnWord_);
    pl->addWidget(btnExcel_);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("WebBrowser"));
    browser_->setOpenLinks(false);
    // A link in a page opens a web or mail address in the desktop's browser, nothing else.
    connect(browser_, &QTextBrowser::anchorClicked, this, [](const QUrl &url) { OpenSafeLink(url); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(browser_, 1);
    resize(900, 650);
}

void TFrmHTMLPreview::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmHTMLPreview::PreviewFile(const QString &title, const QString &file)
{
    file_ = QFileInfo(file).absoluteFilePath();
    title_->setText(u' ' + title);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString html;
    const bool read = readHtmlPage(file_, &html);
    // Pictures beside the page (the letterhead) are found from its directory.
    browser_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(file_).absolutePath() + u'/'));
    browser_->setSearchPaths({QFileInfo(file_).absolutePath()});
    browser_->setHtml(read ? previewHtml(html) : QString());
    QApplication::restoreOverrideCursor();
    show();
    return read;
}

TFrmHTMLPreview *TFrmHTMLPreview::showFile(const QString &title, const QString &file, QWidget *parent)
{
    auto *preview = new TFrmHTMLPreview(parent);
    preview->setWindowFlags(Qt::Window);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->PreviewFile(title, file);
    return preview;
}

void TFrmHTMLPreview::BtnPrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *p) { browser_->document()->print(p); });
    dialog.exec();
}

void TFrmHTMLPreview::BtnWordClick() { openIn(OfficeProgram::WordProcessor); }

void TFrmHTMLPreview::BtnExcelClick() { openIn(OfficeProgram::Spreadsheet); }

void TFrmHTMLPreview::openIn(OfficeProgram program)
{
    if (file_.isEmpty())
        return;
    const OfficeCommand cmd = officeCommand(program, file_);
    if (cmd.found() && QProcess::startDetached(cmd.program, cmd.arguments))
        return;
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(file_)))
        return;
    error(officeUnavailableMessage(file_));
}

} // namespace folian
