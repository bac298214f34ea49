#include "screenshot.h"

#include "admin/core/logon.h"
#include "admin/widgets/frmlogon.h"
#include "app/widgets/frmmain.h"
#include "data/widgets/frmmodule.h"
#include "data/core/shareddata.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

namespace folian {

namespace {

QString shotPath() { return qEnvironmentVariable("FOLIAN_SCREENSHOT"); }

void grabLater(QWidget *w, int ms, std::function<void()> then)
{
    QTimer::singleShot(ms, w, [w, then] {
        w->grab().save(shotPath());
        then();
    });
}

// The button of `parent` whose design caption (or caption) is `caption`.
QAbstractButton *buttonNamed(QWidget *parent, const QString &caption)
{
    for (QAbstractButton *b : parent->findChildren<QAbstractButton *>()) {
        const QVariant design = b->property("designText");
        if ((design.isValid() ? design.toString() : b->text()) == caption)
            return b;
    }
    return nullptr;
}

} // namespace

bool prepareScreenshot(TFrmData &)
{
    if (shotPath().isEmpty())
        return false;
    const QString logon = qEnvironmentVariable("FOLIAN_AUTOLOGON");
    if (logon.isEmpty()) {
        // The logon dialog itself: shown, grabbed, cancelled.
        TFrmMain::setLogonHook([](TFrmData &data) {
            TFrmLogOn dialog(data);
            grabLater(&dialog, 600, [&dialog] { dialog.reject(); });
            dialog.exec();
            return false;
        });
        return true;
    }
    TFrmMain::setLogonHook([logon](TFrmData &data) {
        const QString login = logon.section(u':', 0, 0);
        Dataset *users = data.QUtilisateur;
        if (!users->locate(QStringLiteral("UTL_LOGIN"), login))
            return false;
        return CheckLogon(data, users->value(QStringLiteral("UTL_ID")).toInt(), logon.section(u':', 1))
            == LogonResult::Ok;
    });
    return true;
}

void scheduleMainScreenshot(TFrmMain &window)
{
    if (shotPath().isEmpty())
        return;
    // Without a window manager nothing maximises the window: fill the screen.
    if (QScreen *screen = window.screen())
        window.setGeometry(screen->availableGeometry());
    QTimer::singleShot(300, &window, [&window] {
        const QString open = qEnvironmentVariable("FOLIAN_OPEN");
        if (QAbstractButton *b = buttonNamed(&window, open.section(u'/', 0, 0)))
            b->click();
        if (TFrmModule *m = window.CurrentModuleFrame()) {
            if (QAbstractButton *e = buttonNamed(m, open.section(u'/', 1, 1)))
                e->click();
            // A text typed in the screen's first field, then one of its buttons clicked.
            if (QWidget *screen = m->CurrentScreen()) {
                auto *field = qobject_cast<QLineEdit *>(screen->focusWidget());
                if (field && qEnvironmentVariableIsSet("FOLIAN_TYPE"))
                    field->setText(qEnvironmentVariable("FOLIAN_TYPE"));
                if (QAbstractButton *b = buttonNamed(screen, open.section(u'/', 2)); b && !open.section(u'/', 2).isEmpty())
                    b->click();
            }
        }
        grabLater(&window, 900, [] { QApplication::quit(); });
    });
}

} // namespace folian
