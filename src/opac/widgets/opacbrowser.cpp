#include "opac/widgets/opacbrowser.h"

#include "base/messages.h"
#include "base/session.h"
#include "data/core/helpers.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#ifdef FOLIAN_WEBENGINE
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#endif

namespace folian {

namespace {

bool offscreen() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

#ifdef FOLIAN_WEBENGINE
QWebEngineView *webView(QWidget *view) { return static_cast<QWebEngineView *>(view); }
#endif

} // namespace

OpacBrowser::OpacBrowser(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PnlBrowser"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *line = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("OPAC URL :"), this);
    label->setObjectName(QStringLiteral("LblURL"));
    url_ = new QLineEdit(this);
    url_->setObjectName(QStringLiteral("URL"));
    url_->setLayoutDirection(Qt::LeftToRight);  // an address reads left to right in both languages
    label->setBuddy(url_);
    line->setContentsMargins(6, 4, 6, 4);
    line->setSpacing(8);
    line->addWidget(label);
    line->addWidget(url_, 1);
    layout->addLayout(line);
    connect(url_, &QLineEdit::returnPressed, this, &OpacBrowser::URLKeyPress);

#ifdef FOLIAN_WEBENGINE
    // No web engine where nothing is displayed (the tests' offscreen platform).
    if (!offscreen()) {
        // The catalogue's pages in the operator's language first.
        QWebEngineProfile::defaultProfile()->setHttpAcceptLanguage(
            session().ArabicMode ? QStringLiteral("ar,fr") : QStringLiteral("fr,ar"));
        auto *view = new QWebEngineView(this);
        view->setObjectName(QStringLiteral("WebBrowser"));
        layout->addWidget(view, 1);
        view_ = view;
        connect(view, &QWebEngineView::urlChanged, this, [this](const QUrl &u) { url_->setText(u.toString()); });
        connect(view, &QWebEngineView::loadStarted, this, [this] { status_->setText(tr2(QStringLiteral("Chargement..."), QStringLiteral("جار التحميل..."))); });
        connect(view, &QWebEngineView::loadFinished, this, [this](bool ok) {
            status_->setText(ok ? QString()
                                : tr2(QStringLiteral("La page n'a pas pu être chargée."), QStringLiteral("تعذر تحميل الصفحة.")));
        });
        connect(view->page(), &QWebEnginePage::linkHovered, this, [this](const QString &link) { status_->setText(link); });
    }
#endif
    if (!view_) {
        auto *note = new QLabel(tr2(QStringLiteral("Le catalogue public s'ouvre dans le navigateur du poste."),
                                    QStringLiteral("يفتح الفهرس العمومي في متصفح الجهاز.")),
                                this);
        note->setObjectName(QStringLiteral("LblExternal"));
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        layout->addWidget(note, 1);
    }
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusBar"));
    status_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(status_);
}

QString OpacBrowser::address() const { return url_->text(); }

void OpacBrowser::Navigate(const QString &address)
{
    url_->setText(address);
    if (!IsBlank(address))
        go(QUrl::fromUserInput(address.trimmed()));
}

void OpacBrowser::URLKeyPress()
{
    if (IsBlank(url_->text()))
        return;
    go(QUrl::fromUserInput(url_->text().trimmed()));
}

void OpacBrowser::go(const QUrl &url)
{
#ifdef FOLIAN_WEBENGINE
    if (view_) {
        webView(view_)->setUrl(url);
        return;
    }
#endif
    opened_ = url;
    if (!offscreen() && !QDesktopServices::openUrl(url))
        status_->setText(tr2(QStringLiteral("Aucun navigateur ne peut ouvrir %1."), QStringLiteral("لا يوجد متصفح لفتح %1."))
                             .arg(url.toDisplayString()));
}

// The browser's errors (no page to go back to, ...) are ignored.
void OpacBrowser::Previous()
{
#ifdef FOLIAN_WEBENGINE
    if (view_)
        webView(view_)->back();
#endif
}

void OpacBrowser::Next()
{
#ifdef FOLIAN_WEBENGINE
    if (view_)
        webView(view_)->forward();
#endif
}

void OpacBrowser::Stop()
{
#ifdef FOLIAN_WEBENGINE
    if (view_)
        webView(view_)->stop();
#endif
}

void OpacBrowser::Refresh()
{
#ifdef FOLIAN_WEBENGINE
    if (view_)
        webView(view_)->reload();
#endif
}

} // namespace folian
