#include "data/widgets/frmmodule.h"

#include "data/widgets/uihelpers.h"
#include "base/messages.h"
#include "i18n/widgets/localise.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

namespace folian {

namespace {

// The desktop's room: the screen fills it, and scrolls only when it needs
// more than a small screen leaves it (its minimum size, not the size it
// would like): the window never grows past the screen.
class DesktopArea : public QScrollArea
{
public:
    DesktopArea(QWidget *desktop, QWidget *parent) : QScrollArea(parent)
    {
        setObjectName(QStringLiteral("PnlDesktopArea"));
        setFrameShape(QFrame::NoFrame);
        setWidget(desktop);
        desktop->installEventFilter(this);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QScrollArea::resizeEvent(event);
        fit();
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The screen's minimum changed (a screen hosted, a list refilled): fitted once its layout is done.
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            QMetaObject::invokeMethod(this, [this] { fit(); }, Qt::QueuedConnection);
        return QScrollArea::eventFilter(watched, event);
    }

private:
    void fit()
    {
        QWidget *desktop = widget();
        if (!desktop)
            return;
        const QSize needed = desktop->minimumSizeHint().expandedTo(desktop->minimumSize());
        QSize room = maximumViewportSize();
        if (needed.height() > room.height())
            room.rwidth() -= verticalScrollBar()->sizeHint().width();
        if (needed.width() > room.width())
            room.rheight() -= horizontalScrollBar()->sizeHint().height();
        desktop->resize(room.expandedTo(needed));
    }
};

} // namespace

TFrmModule::TFrmModule(TFrmData &dataModule, const QString &formName, const QString &caption,
                       const QString &desktopCaption, QWidget *parent)
    : QWidget(parent), data_(dataModule)
{
    setObjectName(formName);
    setWindowTitle(caption);

    auto *toolbar = new QFrame(this);
    toolbar->setObjectName(QStringLiteral("PnlToolbar"));
    toolbar->setFrameShape(QFrame::StyledPanel);
    toolbar->setAutoFillBackground(true);
    QPalette pal = toolbar->palette();
    pal.setColor(QPalette::Window, QColor(0xe4, 0xea, 0xf2));
    toolbar->setPalette(pal);
    menu_ = new QVBoxLayout(toolbar);
    menu_->setContentsMargins(8, 8, 8, 8);
    menu_->setSpacing(2);
    menu_->addStretch(1);  // entries go above it

    auto *titlePanel = new QFrame(this);
    titlePanel->setObjectName(QStringLiteral("PnlTitle"));
    titlePanel->setFrameShape(QFrame::StyledPanel);
    titlePanel->setAutoFillBackground(true);
    pal = titlePanel->palette();
    pal.setColor(QPalette::Window, QColor(0x3b, 0x5b, 0x8c));
    pal.setColor(QPalette::WindowText, Qt::white);
    titlePanel->setPalette(pal);
    title_ = new QLabel(titlePanel);  // its text is set at run time in the session's language
    QFont tf = title_->font();
    tf.setBold(true);
    tf.setPointSize(12);
    title_->setFont(tf);
    auto *tl = new QHBoxLayout(titlePanel);
    tl->setContentsMargins(10, 6, 10, 6);
    tl->addWidget(title_);

    desktop_ = new QWidget(this);
    desktop_->setObjectName(QStringLiteral("PnlDesktop"));
    auto *dl = new QVBoxLayout(desktop_);
    dl->setContentsMargins(0, 0, 0, 0);
    placeholder_ = new QLabel(desktopCaption, desktop_);
    placeholder_->setObjectName(QStringLiteral("LblDesktop"));
    placeholder_->setAlignment(Qt::AlignCenter);
    QFont pf = placeholder_->font();
    pf.setPointSize(14);
    placeholder_->setFont(pf);
    pal = placeholder_->palette();
    pal.setColor(QPalette::WindowText, QColor(0x90, 0x90, 0x90));
    placeholder_->setPalette(pal);
    dl->addWidget(placeholder_);

    auto *desktopArea = new DesktopArea(desktop_, this);

    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addWidget(titlePanel);
    right->addWidget(desktopArea, 1);

    // The menu scrolls when the window is lower than its entries (a small
    // screen, the larger Arabic font).
    menuArea_ = new QScrollArea(this);
    menuArea_->setObjectName(QStringLiteral("PnlToolbarArea"));
    menuArea_->setWidget(toolbar);
    menuArea_->setWidgetResizable(true);
    menuArea_->setFrameShape(QFrame::NoFrame);
    menuArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    menuArea_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(menuArea_);
    layout->addLayout(right, 1);

    setHomeTitle(caption, caption);
}

TFrmModule::~TFrmModule()
{
    // The screen goes with the frame: CurrentScreen must not outlive it.
    if (screen_)
        session().CurrentScreen.clear();
}

void TFrmModule::addHeading(const QString &name, const QString &caption)
{
    auto *l = new QLabel(caption, menu_->parentWidget());
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    if (menu_->count() > 1)
        menu_->insertSpacing(menu_->count() - 1, 6);
    menu_->insertWidget(menu_->count() - 1, l);
}

void TFrmModule::addEntry(const QString &name, const QString &caption, Rule permitted, Action action)
{
    auto *b = new QPushButton(caption, menu_->parentWidget());
    b->setObjectName(name);
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding: 3px 8px; }"
                                    "QPushButton:enabled { color: #1a3d7c; }"
                                    "QPushButton:disabled { color: #8c96a3; }"
                                    "QPushButton:hover { text-decoration: underline; }"));
    const bool ok = !permitted || permitted(session());
    permitted_.insert(name, ok);
    b->setEnabled(ok && action);
    if (action)
        connect(b, &QPushButton::clicked, this, [action] { action(); });
    menu_->insertWidget(menu_->count() - 1, b);
}

QAbstractButton *TFrmModule::entry(const QString &name) const
{
    return menu_->parentWidget()->findChild<QAbstractButton *>(name, Qt::FindDirectChildrenOnly);
}

bool TFrmModule::entryPermitted(const QString &name) const { return permitted_.value(name, false); }

bool TFrmModule::trigger(const QString &name)
{
    QAbstractButton *b = entry(name);
    if (!b || !b->isEnabled())
        return false;
    b->click();
    return true;
}

QString TFrmModule::title() const { return title_->text(); }

void TFrmModule::start()
{
    for (const QString &name : std::as_const(firstEntries_))
        if (trigger(name))
            return;
}

void TFrmModule::setHomeTitle(const QString &french, const QString &arabic)
{
    homeFrench_ = french;
    homeArabic_ = arabic;
    setTitle(french, arabic);
}

void TFrmModule::setTitle(const QString &french, const QString &arabic) { title_->setText(tr2(french, arabic)); }

bool TFrmModule::Keyboard(QWidget *control, QKeyEvent *event)
{
    if (!routesKeys_ || !screen_ || screenName_.isEmpty() || session().CurrentScreen != screenName_)
        return false;
    auto *target = dynamic_cast<KeyboardTarget *>(screen_.data());
    return target && target->Keyboard(control, event);
}

bool TFrmModule::screenClosing(QWidget *) { return true; }

bool TFrmModule::ClearDesktopForm()
{
    Session &s = session();
    if (screen_ && !screenClosing(screen_))
        return false;
    s.ClearingDesktop = true;
    if (screen_) {
        retire(screen_.data());
        screen_ = nullptr;
    }
    screenName_.clear();
    s.CurrentScreen.clear();
    s.ClearingDesktop = false;
    placeholder_->show();
    setTitle(homeFrench_, homeArabic_);
    return true;
}

bool TFrmModule::host(QWidget *screen, const QString &screenName, const QString &frenchTitle,
                      const QString &arabicTitle)
{
    if (!ClearDesktopForm()) {
        delete screen;
        return false;
    }
    setTitle(frenchTitle, arabicTitle);
    placeholder_->hide();
    screen->setParent(desktop_);
    screen->setWindowFlags(Qt::Widget);
    desktop_->layout()->addWidget(screen);
    screen_ = screen;
    screenName_ = screenName;
    screen->show();
    // A search screen opens with its first criterion ready for typing: the
    // screen's focus proxy.
    if (screen->focusProxy())
        screen->setFocus();
    session().CurrentScreen = screenName;
    return true;
}

QWidget *TFrmModule::keepScreen()
{
    QWidget *kept = screen_.data();
    if (!kept)
        return nullptr;
    kept->hide();
    desktop_->layout()->removeWidget(kept);
    screen_ = nullptr;
    screenName_.clear();
    session().CurrentScreen.clear();
    return kept;
}

void TFrmModule::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    LocaliseForm(this);
    // As wide as its localised entries, with room for its scroll bar.
    menuArea_->setFixedWidth(menuArea_->widget()->sizeHint().width() + menuArea_->verticalScrollBar()->sizeHint().width());
}

} // namespace folian
