#pragma once
// The progress panel of a long task run from a screen: a line of text, a
// bar and a stop button. It is the task's Progress: a few times a second a
// step shows the text and the bar and lets the interface process pending
// events, so the stop button can be clicked while the task runs.

#include "base/progress.h"

#include <QElapsedTimer>
#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

namespace folian {

class ProgressPanel : public QFrame, public Progress
{
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget *parent = nullptr);

    // Shows the panel with the bar at 0 and forgets an earlier stop.
    void start();
    // Hides the panel.
    void finish();
    // A task that holds the interface: the panel started with the wait
    // cursor, or both taken away.
    void setBusy(bool on);

    void step(int done, int total, const QString &text) override;
    bool stopped() const override { return stopped_; }

    QPushButton *stopButton() const { return stop_; }
    QString text() const;
    int value() const;

public slots:
    void BtnStopClick() { stopped_ = true; }

private:
    QLabel *label_;
    QProgressBar *bar_;
    QPushButton *stop_;
    bool stopped_ = false;
    QElapsedTimer clock_;
    static constexpr qint64 kRefreshMs = 50;
};

} // namespace folian
