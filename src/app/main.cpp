// Folian: the desktop program.

#include "base/config.h"
#include "base/messages.h"
#include "base/session.h"
#include "base/version.h"
#include "app/widgets/frmmain.h"
#include "app/widgets/messageboxsink.h"
#include "catalogue/widgets/authoritypickers.h"
#include "commandline.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"
#include "screenshot.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QStyleFactory>

using namespace folian;

int main(int argc, char *argv[])
{
    if (printProgramText(argc, argv))  // --version, --man: no display needed
        return 0;
    // The public catalogue's embedded web view needs the OpenGL contexts shared from the start.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QLatin1String(kVersion));
    // The installed desktop entry and icon (org.folian.Folian) are the window's.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.folian.Folian"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.folian.Folian")));
    QApplication::setApplicationName(QStringLiteral("Folian"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Folian - Gestion de bibliothèque"));
    parser.addHelpOption();
    parser.addVersionOption();
    for (const ProgramOption &o : programOptions())
        parser.addOption(QCommandLineOption(o.name, o.text, o.valueName));
    parser.process(app);
    const QString ini = QStringLiteral("ini");
    const QString iniPath = parser.isSet(ini)
        ? parser.value(ini)
        : defaultAppDir(QApplication::applicationDirPath()) + QStringLiteral("Folian.ini");

    MessageBoxSink sink;
    setMessageSink(&sink);
    TFrmData data;
    setFrmData(&data);
    installAuthorityPickers();
    const bool connected = OpenSession(data, iniPath);
    SetApplicationLanguage(session().CurrentLanguage);
    if (!connected) {
        QString text = TFrmData::ConnectionFailedMessage();
        if (!data.connectionError().isEmpty())
            text += QStringLiteral("\n\n") + data.connectionError();
        error(text);
        return 1;  // the configuration file is left as it was
    }

    int status = 0;
    {
        prepareScreenshot(data);
        TFrmMain window(data);
        if (window.loggedOn()) {
            window.showMaximized();
            scheduleMainScreenshot(window);
            status = QApplication::exec();
        }
    }
    CloseSession(data);
    setFrmData(nullptr);
    setMessageSink(nullptr);
    return status;
}
