#include "app/widgets/frmmain.h"

#include "base/dates.h"
#include "data/widgets/uihelpers.h"
#include "admin/widgets/frmlogon.h"
#include "base/messages.h"
#include "base/session.h"
#include "app/widgets/frmapropos.h"
#include "app/widgets/modules.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace folian {

namespace {

TFrmMain::LogonHook &logonHook()
{
    static TFrmMain::LogonHook hook;
    return hook;
}

struct ModuleButton {
    Module module;
    const char *name;
    const char16_t *caption;
    Qt::Key key;
};

const ModuleButton kButtons[ModuleCount] = {
    {Module::Acquisition, "BtnAcquisition", u"Acquisitions", Qt::Key_F1},
    {Module::Catalogage, "BtnCatalogage", u"Catalogage", Qt::Key_F2},
    {Module::Autorite, "BtnAutorite", u"Autorités", Qt::Key_F3},
    {Module::Circulation, "BtnCirculation", u"Circulation", Qt::Key_F4},
    {Module::Edition, "BtnEdition", u"Editions", Qt::Key_F5},
    {Module::Administration, "BtnAdministration", u"Administration", Qt::Key_F6},
    {Module::Opac, "BtnOPAC", u"OPAC", Qt::Key_F7},
};

QToolButton *menuButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumHeight(34);
    b->setMinimumWidth(96);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

void TFrmMain::setLogonHook(LogonHook hook) { logonHook() = std::move(hook); }

TFrmMain::TFrmMain(TFrmData &dataModule, QWidget *parent) : QMainWindow(parent), data_(dataModule)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Folian - Gestion de bibliothèque"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildUi();
    loggedOn_ = runLogon();
    if (!loggedOn_)
        return;
    enableModules();
    SetLanguage(session().CurrentLanguage, false);
    setStatusPanelWriter([this](int panel, const QString &text) {
        if (panel >= 0 && panel < int(panels_.size()))
            panels_[size_t(panel)]->setText(text);
    });
    fillStatusBar();
    qApp->installEventFilter(this);
    setWindowState(windowState() | Qt::WindowMaximized);
}

TFrmMain::~TFrmMain()
{
    qApp->removeEventFilter(this);
    if (loggedOn_)
        setStatusPanelWriter(nullptr);
    if (module_)
        ClearDesktopForm();
}

bool TFrmMain::runLogon()
{
    if (logonHook())
        return logonHook()(data_);
    TFrmLogOn dialog(data_);
    return dialog.exec() == QDialog::Accepted;
}

void TFrmMain::buildUi()
{
    auto *central = new QWidget(this);
    auto *menu = new QFrame(central);
    menu->setObjectName(QStringLiteral("PnlMenu"));
    menu->setFrameShape(QFrame::StyledPanel);
    auto *ml = new QHBoxLayout(menu);
    ml->setContentsMargins(4, 2, 4, 2);
    ml->setSpacing(2);
    for (const ModuleButton &mb : kButtons) {
        QToolButton *b = menuButton(QLatin1String(mb.name), QString::fromUtf16(mb.caption), menu);
        const QKeySequence seq(Qt::CTRL | mb.key);
        b->setToolTip(seq.toString(QKeySequence::NativeText));
        const Module m = mb.module;
        connect(b, &QToolButton::clicked, this, [this, m] { openModule(m); });
        // The shortcut reaches the handler even when the button is disabled: the handler checks.
        auto *a = new QAction(this);
        a->setShortcut(seq);
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, this, [this, m] { openModule(m); });
        addAction(a);
        buttons_[size_t(m)] = b;
        ml->addWidget(b);
    }
    ml->addStretch(1);
    btnLangue_ = menuButton(QStringLiteral("BtnLangue"), QStringLiteral("AR"), menu);
    btnLangue_->setMinimumWidth(48);
    const QKeySequence langSeq(Qt::CTRL | Qt::Key_F8);
    btnLangue_->setToolTip(langSeq.toString(QKeySequence::NativeText));
    connect(btnLangue_, &QToolButton::clicked, this, &TFrmMain::SelectLanguage);
    auto *langAction = new QAction(this);
    langAction->setShortcut(langSeq);
    langAction->setShortcutContext(Qt::ApplicationShortcut);
    connect(langAction, &QAction::triggered, this, &TFrmMain::SelectLanguage);
    addAction(langAction);
    ml->addWidget(btnLangue_);
    // The release, the schema version and the engine, for the one who helps the library.
    auto *about = menuButton(QStringLiteral("BtnAPropos"), QStringLiteral("À propos"), menu);
    connect(about, &QToolButton::clicked, this, [this] {
        TFrmAPropos dialog(data_, this);
        dialog.exec();
    });
    ml->addWidget(about);

    desktop_ = new QWidget(central);
    desktop_->setObjectName(QStringLiteral("PnlDesktop"));
    desktop_->setAutoFillBackground(true);
    QPalette pal = desktop_->palette();
    pal.setColor(QPalette::Window, QColor(0xc8, 0xd0, 0xdc));
    desktop_->setPalette(pal);
    auto *dl = new QVBoxLayout(desktop_);
    dl->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(menu);
    layout->addWidget(desktop_, 1);
    setCentralWidget(central);

    // The four panels: database, user, count line, date. Their texts are data.
    const char16_t *design[] = {u" Catalogue :", u" Utilisateur :", u" Notices :", u" Date :"};
    for (size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(QString::fromUtf16(design[i]), this);
        panels_[i]->setMinimumWidth(160);
        statusBar()->addWidget(panels_[i], i == 2 ? 1 : 0);
    }
    statusBar()->setSizeGripEnabled(false);
    for (QToolButton *b : buttons_)
        b->setEnabled(false);
}

void TFrmMain::enableModules()
{
    for (const ModuleButton &mb : kButtons)
        buttons_[size_t(mb.module)]->setEnabled(moduleEnabled(mb.module, session()));
}

void TFrmMain::fillStatusBar()
{
    const Session &s = session();
    panels_[0]->setText(tr2(QStringLiteral(" Base : "), QStringLiteral(" القاعدة : ")) + s.DbCatalog);
    panels_[1]->setText(tr2(QStringLiteral(" Utilisateur : "), QStringLiteral(" المستخدم : ")) + s.CurrentUserLogin);
    if (panels_[2]->text() == QLatin1String(" Notices :"))
        panels_[2]->setText(QStringLiteral(" ..."));
    const QVariant date = ServerDate(data_.db());
    // The date is isolated left-to-right so that it reads right in an Arabic line.
    panels_[3]->setText(tr2(QStringLiteral(" Date : "), QStringLiteral(" التاريخ : ")) + QChar(0x2066)
                        + ShowDate(date.toDate()) + QChar(0x2069));
}

QAbstractButton *TFrmMain::moduleButton(Module m) const { return buttons_[size_t(m)]; }

QAbstractButton *TFrmMain::languageButton() const { return btnLangue_; }

QString TFrmMain::statusText(int panel) const
{
    return panel >= 0 && panel < int(panels_.size()) ? panels_[size_t(panel)]->text() : QString();
}

void TFrmMain::openModule(Module m)
{
    QToolButton *button = buttons_[size_t(m)];
    if (!loggedOn_ || !button->isEnabled())
        return;
    if (!ClearDesktopForm())
        return;
    TFrmModule *frame = createModuleFrame(m, data_, desktop_);
    desktop_->layout()->addWidget(frame);
    module_ = frame;
    frame->show();
    frame->start();
    Database &db = data_.db();
    if (m == Module::Edition || m == Module::Opac)
        LookupCount(db, QStringLiteral("NOTICE"), tr2(QStringLiteral("Catalogue"), QStringLiteral("الفهرس")),
                    tr2(QStringLiteral("notice(s)"), QStringLiteral("تسجيلة")));
    else if (m == Module::Administration)
        LookupCount(db, QStringLiteral("UTILISATEUR"),
                    tr2(QStringLiteral("Utilisateurs"), QStringLiteral("المستخدمون")),
                    tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
    OptionEnable(button);
    if (m != Module::Opac)
        session().CurrentModule = frame->objectName();
}

bool TFrmMain::ClearDesktopForm()
{
    Session &s = session();
    if (module_ && !module_->ClearDesktopForm())  // the module asks about unsaved work first
        return false;
    s.ClearingDesktop = true;
    if (module_)
        retire(module_.data());
    module_ = nullptr;
    s.ClearingDesktop = false;
    s.CurrentModule.clear();
    s.CurrentScreen.clear();
    return true;
}

void TFrmMain::closeEvent(QCloseEvent *event)
{
    if (module_ && !module_->ClearDesktopForm()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TFrmMain::OptionDisable()
{
    for (QToolButton *b : buttons_)
        b->setPalette(QPalette());
}

void TFrmMain::OptionEnable(QAbstractButton *button)
{
    OptionDisable();
    QPalette pal = button->palette();
    pal.setColor(QPalette::ButtonText, Qt::blue);
    button->setPalette(pal);
}

void TFrmMain::SelectLanguage()
{
    if (!loggedOn_)
        return;
    SetLanguage(session().CurrentLanguage != QLatin1String("AR") ? QStringLiteral("AR") : QStringLiteral("FR"),
                true);
}

void TFrmMain::SetLanguage(const QString &language, bool clearDesktop)
{
    if (clearDesktop && !ClearDesktopForm())
        return;
    OptionDisable();
    SetApplicationLanguage(language);  // direction, language globals, translation file
    LocaliseForm(this);
    const bool arabic = session().ArabicMode;
    btnLangue_->setText(arabic ? QStringLiteral("FR") : QStringLiteral("AR"));
    if (!arabic) {
        for (QToolButton *b : buttons_) {
            QFont f = b->font();
            f.setPointSize(10);
            b->setFont(f);
        }
    }
    fillStatusBar();
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return QMainWindow::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // Ctrl+Delete is swallowed everywhere: no grid deletes a row with it.
    if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
        key->accept();
        return true;
    }
    if (type != QEvent::KeyPress)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w->window() != this)
        return false;
    // Once per key: to the widget that receives it first.
    QWidget *first = QApplication::focusWidget();
    if (w != (first && first->window() == this ? first : this))
        return false;
    TFrmModule *module = module_.data();
    if (!module || session().CurrentModule.isEmpty())
        return false;  // nothing is routed while the OPAC is shown
    return module->Keyboard(w, key);
}

} // namespace folian
