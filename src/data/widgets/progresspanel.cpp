#include "data/widgets/progresspanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace folian {

ProgressPanel::ProgressPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PnlProgress"));
    setFrameShape(QFrame::StyledPanel);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("LblProgress"));
    label_->setProperty("localise", false);  // the task's own line
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setRange(0, 100);
    stop_ = new QPushButton(QStringLiteral("Arréter"), this);
    stop_->setObjectName(QStringLiteral("BtnStop"));
    connect(stop_, &QPushButton::clicked, this, &ProgressPanel::BtnStopClick);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(label_, 2);
    layout->addWidget(bar_, 1);
    layout->addWidget(stop_);
    hide();
}

void ProgressPanel::start()
{
    stopped_ = false;
    clock_.invalidate();
    label_->clear();
    bar_->setRange(0, 100);
    bar_->setValue(0);
    show();
}

void ProgressPanel::finish() { hide(); }

void ProgressPanel::setBusy(bool on)
{
    if (on) {
        start();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
        finish();
    }
}

void ProgressPanel::step(int done, int total, const QString &text)
{
    // Drawing the panel for every item of a long run would cost more than
    // the items: it is brought up to date a few times a second, and at the end.
    if (clock_.isValid() && clock_.elapsed() < kRefreshMs && (total <= 0 || done < total))
        return;
    clock_.start();
    label_->setText(text);
    if (total > 0) {
        bar_->setRange(0, 100);
        bar_->setValue(int(qint64(qMin(done, total)) * 100 / total));
    } else {
        bar_->setRange(0, 0);  // a busy bar: the total is not known
    }
    QCoreApplication::processEvents();
}

QString ProgressPanel::text() const { return label_->text(); }

int ProgressPanel::value() const { return bar_->value(); }

} // namespace folian
