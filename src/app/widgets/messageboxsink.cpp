#include "app/widgets/messageboxsink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace folian {

namespace {

QString boxTitle() { return QStringLiteral("Folian"); }

} // namespace

void MessageBoxSink::show(MessageKind kind, const QString &text)
{
    const QMessageBox::Icon icon = kind == MessageKind::Error ? QMessageBox::Critical
        : kind == MessageKind::Warning                        ? QMessageBox::Warning
                                                              : QMessageBox::Information;
    QMessageBox box(icon, boxTitle(), text, QMessageBox::NoButton, QApplication::activeWindow());
    box.addButton(tr2(QStringLiteral("OK"), QStringLiteral("موافق")), QMessageBox::AcceptRole);
    box.exec();
}

bool MessageBoxSink::ask(const QString &text, bool yesByDefault)
{
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton *yes = box.addButton(tr2(QStringLiteral("Oui"), QStringLiteral("نعم")), QMessageBox::YesRole);
    QPushButton *no = box.addButton(tr2(QStringLiteral("Non"), QStringLiteral("لا")), QMessageBox::NoRole);
    box.setDefaultButton(yesByDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace folian
