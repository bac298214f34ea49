#pragma once
// The main window: the logon, one button per module, the desktop hosting
// one module frame at a time, the status bar, the language switch and the
// routing of keys to the current module.

#include "base/rights.h"
#include "data/widgets/frmmodule.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

class QAbstractButton;
class QLabel;
class QToolButton;

namespace folian {

class TFrmData;

class TFrmMain : public QMainWindow
{
    Q_OBJECT
public:
    // Replaces the logon dialog: returns whether the logon succeeded (tests,
    // unattended runs). An empty hook restores the dialog.
    using LogonHook = std::function<bool(TFrmData &data)>;
    static void setLogonHook(LogonHook hook);

    // Runs the logon first; when it is refused the window stays empty and
    // loggedOn() is false: the program then ends.
    explicit TFrmMain(TFrmData &data, QWidget *parent = nullptr);
    ~TFrmMain() override;
    bool loggedOn() const { return loggedOn_; }

    // Opening a module (button or shortcut); nothing when its button is disabled.
    void Acquisition() { openModule(Module::Acquisition); }
    void Catalogage() { openModule(Module::Catalogage); }
    void Autorite() { openModule(Module::Autorite); }
    void Circulation() { openModule(Module::Circulation); }
    void Edition() { openModule(Module::Edition); }
    void Administration() { openModule(Module::Administration); }
    void OPAC() { openModule(Module::Opac); }
    void openModule(Module m);

    // Frees the module frame the desktop holds; false when its screen keeps
    // unsaved work that could not be saved (the frame stays).
    bool ClearDesktopForm();
    // The active module's button caption in blue; all back to normal.
    void OptionEnable(QAbstractButton *button);
    void OptionDisable();
    // BtnLangue: to Arabic unless Arabic is current, the desktop cleared.
    void SelectLanguage();
    void SetLanguage(const QString &language, bool clearDesktop);
    void Quitter() { close(); }

    // The module frame on the desktop, or null.
    TFrmModule *CurrentModuleFrame() const { return module_; }
    QAbstractButton *moduleButton(Module m) const;
    QAbstractButton *languageButton() const;
    QString statusText(int panel) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Leaving the program asks about unsaved work like leaving a screen.
    void closeEvent(QCloseEvent *event) override;

private:
    bool runLogon();
    void buildUi();
    void enableModules();
    void fillStatusBar();

    TFrmData &data_;
    bool loggedOn_ = false;
    std::array<QToolButton *, ModuleCount> buttons_{};
    QToolButton *btnLangue_ = nullptr;
    QWidget *desktop_ = nullptr;
    QPointer<TFrmModule> module_;
    std::array<QLabel *, 4> panels_{};
};

} // namespace folian
