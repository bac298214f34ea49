#pragma once
// The public catalogue's pages on the desktop: the address field ("OPAC
// URL :"), the page and a status line. The page is shown in an embedded
// web view when the build has one and a display can show it; otherwise the
// address opens in the desktop's browser, and back, forward, stop and
// refresh have nothing to act on.

#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace folian {

class OpacBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit OpacBrowser(QWidget *parent = nullptr);

    // Whether the pages are shown here (true) or in the desktop's browser.
    bool embedded() const { return view_ != nullptr; }
    // Writes the address into the field, then goes there when it is not blank.
    void Navigate(const QString &address);
    void Previous();
    void Next();
    void Stop();
    void Refresh();
    QString address() const;
    // The last address handed to the desktop's browser (none is opened
    // where there is no desktop: the offscreen platform).
    QUrl openedExternally() const { return opened_; }

private:
    // Return in the address field: goes to the typed address, not to blanks.
    void URLKeyPress();
    void go(const QUrl &url);

    QLineEdit *url_;
    QLabel *status_;
    QWidget *view_ = nullptr;
    QUrl opened_;
};

} // namespace folian
