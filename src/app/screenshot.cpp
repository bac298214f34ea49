#include "screenshot.h"

#include "admin/core/logon.h"
#include "admin/widgets/frmlogon.h"
#include "app/widgets/frmmain.h"
#include "catalogue/widgets/frmcatalogage.h"
#include "catalogue/widgets/frmnotice.h"
#include "data/widgets/frmmodule.h"
#include "data/core/shareddata.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

namespace folian {

namespace {

QString shotPath() { return qEnvironmentVariable("FOLIAN_SCREENSHOT"); }

// The picture of `w`; with FOLIAN_SCREENSHOT_TEXT=file.txt, also the texts
// it shows (its title, labels and buttons, one a line), which a test of the
// installed program reads.
void grab(QWidget *w)
{
    w->grab().save(shotPath());
    const QString textPath = qEnvironmentVariable("FOLIAN_SCREENSHOT_TEXT");
    if (textPath.isEmpty())
        return;
    QStringList texts{w->windowTitle()};
    for (const QLabel *l : w->findChildren<QLabel *>())
        texts << l->text();
    for (const QAbstractButton *b : w->findChildren<QAbstractButton *>())
        texts << b->text();
    QFile f(textPath);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(texts.join(u'\n').toUtf8() + '\n');
}

// FOLIAN_SHOT_DELAY (ms) waits longer for what loads slowly (a web page).
void grabLater(QWidget *w, int ms, std::function<void()> then)
{
    QTimer::singleShot(qMax(ms, qEnvironmentVariableIntValue("FOLIAN_SHOT_DELAY")), w, [w, then] {
        grab(w);
        then();
    });
}

// The button of `parent` whose design caption (or caption) is `caption`;
// one the operator can see before one on a hidden page.
QAbstractButton *buttonNamed(QWidget *parent, const QString &caption)
{
    QAbstractButton *hidden = nullptr;
    for (QAbstractButton *b : parent->findChildren<QAbstractButton *>()) {
        const QVariant design = b->property("designText");
        if ((design.isValid() ? design.toString() : b->text()) != caption)
            continue;
        if (b->isVisibleTo(parent->window()))
            return b;
        if (!hidden)
            hidden = b;
    }
    return hidden;
}

// FOLIAN_RECORD=<DOC_ID>: the record form on that record, on the page
// FOLIAN_TAB (0 for the first).
void showRecord(TFrmMain &window)
{
    const int docId = qEnvironmentVariableIntValue("FOLIAN_RECORD");
    auto *module = qobject_cast<TFrmCatalogage *>(window.CurrentModuleFrame());
    if (docId <= 0 || !module || !FrmData())
        return;
    FrmData()->QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = ?"), {docId});
    module->ModifierNotice();
    if (TFrmNotice *form = module->recordForm())
        form->tabs()->setCurrentIndex(qEnvironmentVariableIntValue("FOLIAN_TAB"));
}

// FOLIAN_FIELDS=name=value|name=value: the fields of the dialog to grab,
// filled as the operator would before the picture (line edits and spin
// boxes, found by name).
void fillFields(QWidget *dialog)
{
    for (const QString &pair : qEnvironmentVariable("FOLIAN_FIELDS").split(u'|', Qt::SkipEmptyParts)) {
        const QString name = pair.section(u'=', 0, 0), value = pair.section(u'=', 1);
        if (auto *spin = dialog->findChild<QSpinBox *>(name))
            spin->setValue(value.toInt());
        else if (auto *edit = dialog->findChild<QLineEdit *>(name))
            edit->setText(value);
    }
}

bool &modalGrabbed()
{
    static bool grabbed = false;
    return grabbed;
}

// A button that opens a modal dialog returns only once it is closed: the
// dialog is grabbed and closed from here, by the timer returned.
QTimer *grabModalLater(QWidget *window)
{
    auto *timer = new QTimer(window);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, window, [] {
        if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            fillFields(d);
            grab(d);
            modalGrabbed() = true;
            d->reject();
            QApplication::quit();
        }
    });
    timer->start(900);
    return timer;
}

} // namespace

bool prepareScreenshot(TFrmData &)
{
    if (shotPath().isEmpty())
        return false;
    const QString logon = qEnvironmentVariable("FOLIAN_AUTOLOGON");
    if (logon.isEmpty()) {
        // The logon dialog itself: shown, grabbed, cancelled. With
        // FOLIAN_LOGON=login:password, that user is chosen and the password
        // typed after FOLIAN_LOGON_DELAY ms (what the database is meanwhile
        // made to hold is up to the caller), Ok pressed, and the dialog
        // grabbed with the message it shows.
        TFrmMain::setLogonHook([](TFrmData &data) {
            TFrmLogOn dialog(data);
            const QString typed = qEnvironmentVariable("FOLIAN_LOGON");
            if (typed.isEmpty()) {
                grabLater(&dialog, 600, [&dialog] { dialog.reject(); });
            } else {
                const int delay = qMax(600, qEnvironmentVariableIntValue("FOLIAN_LOGON_DELAY"));
                QTimer::singleShot(delay, &dialog, [&dialog, typed] {
                    QComboBox *users = dialog.userList();
                    users->setCurrentIndex(qMax(0, users->findText(typed.section(u':', 0, 0))));
                    if (auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("_PAS")))
                        password->setText(typed.section(u':', 1));
                    // The message is modal: it is grabbed, with the dialog under it, from its own loop.
                    QTimer::singleShot(600, &dialog, [&dialog] {
                        QWidget *message = QApplication::activeModalWidget();
                        QRect area = dialog.frameGeometry();
                        if (message && message != &dialog)
                            area = area.united(message->frameGeometry());
                        if (QScreen *screen = dialog.screen())
                            screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(shotPath());
                        if (auto *box = qobject_cast<QDialog *>(message); box && box != &dialog)
                            box->reject();
                        QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
                    });
                    if (auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("BtnOk")))
                        ok->click();
                });
            }
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
        if (QAbstractButton *b = buttonNamed(&window, open.section(u'/', 0, 0))) {
            QTimer *modal = grabModalLater(&window);  // a button of the window that opens a dialog ("À propos")
            b->click();
            if (modalGrabbed())
                return;
            modal->stop();  // a module's button: its entry's dialog is watched for below
        }
        TFrmModule *m = window.CurrentModuleFrame();
        if (m)
            if (QAbstractButton *e = buttonNamed(m, open.section(u'/', 1, 1))) {
                grabModalLater(&window);
                e->click();
                if (modalGrabbed())
                    return;
            }
        showRecord(window);
        // Text typed into the screen's first field, then Return (a search);
        // FOLIAN_TYPE types it without Return (a button then does the work).
        const bool withReturn = qEnvironmentVariableIsSet("FOLIAN_KEYS");
        const QString keys = withReturn ? qEnvironmentVariable("FOLIAN_KEYS") : qEnvironmentVariable("FOLIAN_TYPE");
        QWidget *screen = m ? m->CurrentScreen() : nullptr;
        auto *field = screen ? qobject_cast<QLineEdit *>(screen->focusWidget()) : nullptr;
        if (screen && !field)
            field = screen->findChild<QLineEdit *>();
        if (field && !keys.isEmpty()) {
            // Without a window manager nothing activates the window: the key must reach the field.
            QApplication::setActiveWindow(&window);
            field->setFocus();
            field->setText(keys);
            if (withReturn) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(field, &press);
            }
        }
        // FOLIAN_SCAN: the desk's keys and numbers, "F6|number|number": an F key
        // chooses the mode, each number goes into the field with the focus
        // and is ended with Return, as a scanner does; a list with the focus
        // takes the item that starts with the text.
        const QString scan = qEnvironmentVariable("FOLIAN_SCAN");
        if (screen && !scan.isEmpty()) {
            QApplication::setActiveWindow(&window);
            for (const QString &part : scan.split(u'|')) {
                QWidget *target = screen->focusWidget() ? screen->focusWidget() : screen;
                const bool fkey = part.size() == 2 && part.at(0) == u'F' && part.at(1).isDigit();
                if (auto *list = qobject_cast<QComboBox *>(target); list && !fkey) {
                    // A list with the focus: the item that starts with the text.
                    list->setCurrentIndex(qMax(0, list->findText(part, Qt::MatchStartsWith)));
                } else if (!fkey) {
                    auto *edit = qobject_cast<QLineEdit *>(target);
                    if (!edit)
                        continue;
                    edit->setText(part);
                    emit edit->textEdited(part);
                }
                QKeyEvent press(QEvent::KeyPress, fkey ? Qt::Key_F1 + part.at(1).digitValue() - 1 : int(Qt::Key_Return),
                                Qt::NoModifier);
                QApplication::sendEvent(target, &press);
            }
        }
        // Buttons of the screen, one after the other ("Documents perdus/Imprimer"):
        // a dialog or a window the last one opens is grabbed.
        const QStringList buttons = open.section(u'/', 2).split(u'/', Qt::SkipEmptyParts);
        if (!screen || buttons.isEmpty()) {
            grabLater(&window, 900, [] {
                // The picture is taken: a record shown in the form is left as it was, unasked.
                if (TFrmData *data = FrmData(); data && data->QNotice->isEditing())
                    data->QNotice->cancel();
                QApplication::quit();
            });
            return;
        }
        const QList<QWidget *> before = QApplication::topLevelWidgets();
        QTimer::singleShot(900, &window, [&window, before] {
            QWidget *shown = QApplication::activeModalWidget();
            for (QWidget *w : QApplication::topLevelWidgets())
                if (!shown && w != &window && w->isVisible() && !before.contains(w))
                    shown = w;
            if (shown)
                fillFields(shown);
            (shown ? shown : static_cast<QWidget *>(&window))->grab().save(shotPath());
            if (auto *d = qobject_cast<QDialog *>(shown))
                d->reject();
            QApplication::quit();
        });
        int delay = 0;
        for (const QString &caption : buttons) {
            QTimer::singleShot(delay, screen, [screen, caption] {
                if (QAbstractButton *b = buttonNamed(screen, caption))
                    b->click();
            });
            delay += 150;
        }
        // FOLIAN_PAGE=<n>: then the screen's pages show page n (0 for the first).
        if (qEnvironmentVariableIsSet("FOLIAN_PAGE"))
            QTimer::singleShot(delay, screen, [screen] {
                if (auto *pages = screen->findChild<QTabWidget *>())
                    pages->setCurrentIndex(qEnvironmentVariableIntValue("FOLIAN_PAGE"));
            });
    });
}

} // namespace folian
