// A module's desktop frees its screen safely: a screen that opens another
// from one of its own handlers is not deleted while that handler runs.

#include "base/session.h"
#include "data/core/shareddata.h"
#include "data/widgets/frmmodule.h"
#include "support/session.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

class Module : public TFrmModule
{
public:
    explicit Module(TFrmData &d) : TFrmModule(d, QStringLiteral("FrmTest"), QStringLiteral("Test"), QStringLiteral("Vide")) {}
    using TFrmModule::host;
};

} // namespace

class TstDesktop : public QObject
{
    Q_OBJECT
private slots:
    void screenOpensAnotherFromItsHandler()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Module module(data);
        auto *first = new QPushButton(QStringLiteral("Ouvrir"));
        QPointer<QPushButton> watch = first;
        bool handlerFinished = false;
        QObject::connect(first, &QPushButton::clicked, first, [&, first] {
            module.host(new QWidget, QStringLiteral("FrmSecond"), QStringLiteral("Deux"), QStringLiteral("Deux"));
            // Still alive here: the handler goes on with its own members.
            first->setText(QStringLiteral("fini"));
            handlerFinished = true;
        });
        module.host(first, QStringLiteral("FrmFirst"), QStringLiteral("Un"), QStringLiteral("Un"));
        first->click();
        QVERIFY(handlerFinished);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmSecond"));
        QVERIFY(module.CurrentScreen() != first);
        QVERIFY(watch);
        QVERIFY(first->isHidden());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!watch);  // freed once the handler was done
    }
};

QTEST_MAIN(TstDesktop)
#include "tst_desktop.moc"
