#pragma once
// A module frame: a menu of entries (PnlToolbar), a title (PnlTitle) and a
// desktop (PnlDesktop) hosting one screen at a time. Each module declares
// its entries: caption, who may use it, and what it opens.

#include "base/session.h"
#include "data/widgets/screen.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace folian {

class TFrmData;

class TFrmModule : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    using Rule = std::function<bool(const Session &)>;
    using Action = std::function<void()>;

    // `formName` is the objectName ("FrmAdministration"), `caption` the
    // window caption, `desktopCaption` the text of the empty desktop.
    TFrmModule(TFrmData &data, const QString &formName, const QString &caption,
               const QString &desktopCaption, QWidget *parent = nullptr);
    ~TFrmModule() override;

    // Opens the module's first screen, if it has one the user may open.
    void start();

    // The main window's keys: passed to the hosted screen named by CurrentScreen.
    bool Keyboard(QWidget *control, QKeyEvent *event) override;
    // Frees the hosted screen (asking first where the module asks) and
    // empties CurrentScreen. False when the screen stays: the operator's
    // work could not be saved and is kept.
    bool ClearDesktopForm();
    // The hosted screen, or null.
    QWidget *CurrentScreen() const { return screen_; }

    // The menu entry named `name`, or null.
    QAbstractButton *entry(const QString &name) const;
    // Whether the entry's rights rule lets the session's user use it (its
    // screen may still be missing).
    bool entryPermitted(const QString &name) const;
    // Clicks the entry when it is enabled; false otherwise.
    bool trigger(const QString &name);
    QString title() const;

protected:
    // Menu declaration. An entry without an action is a screen still to
    // come: it is shown disabled.
    void addHeading(const QString &name, const QString &caption);
    void addEntry(const QString &name, const QString &caption, Rule permitted, Action action);
    // The entries tried in order by start(); the first enabled one opens.
    void setFirstEntries(const QStringList &names) { firstEntries_ = names; }
    // The title shown while no screen is open (French, Arabic).
    void setHomeTitle(const QString &french, const QString &arabic);
    // Keys are routed to screens unless the module ignores them.
    void setRoutesKeys(bool on) { routesKeys_ = on; }

    // Clears the desktop, shows the title and hosts `screen` filling the
    // desktop; `screenName` becomes CurrentScreen (empty: no key reaches it).
    // When the screen shown refuses to close, `screen` is freed and false
    // returned.
    bool host(QWidget *screen, const QString &screenName, const QString &frenchTitle,
              const QString &arabicTitle);
    void setTitle(const QString &french, const QString &arabic);
    // Takes the hosted screen off the desktop without freeing it, so that it
    // can be hosted again later (it stays a hidden child of the desktop and
    // goes with the frame); CurrentScreen is emptied. Null when none.
    QWidget *keepScreen();
    // Called before the hosted screen is freed: the place to ask about
    // unsaved changes. False keeps the screen.
    virtual bool screenClosing(QWidget *screen);

    void showEvent(QShowEvent *event) override;

    TFrmData &data_;

private:
    QVBoxLayout *menu_;
    QScrollArea *menuArea_;
    QWidget *desktop_;
    QLabel *title_;
    QLabel *placeholder_;
    QPointer<QWidget> screen_;
    QString screenName_;
    QString homeFrench_, homeArabic_;
    QStringList firstEntries_;
    QHash<QString, bool> permitted_;
    bool routesKeys_ = true;
};

} // namespace folian
