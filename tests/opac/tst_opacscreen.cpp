// The OPAC screen: its start address from the configuration, the address
// field's Return, and the navigation it offers where no page can be shown
// on the desktop itself (the offscreen platform of the tests).

#include "opac/widgets/frmopac.h"
#include "opac/widgets/opacbrowser.h"

#include "support/session.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

using namespace folian;
using namespace folian::test;

class TstOpacScreen : public QObject
{
    Q_OBJECT

private slots:
    void startAndReturn()
    {
        RecordingSink sink;
        freshSession(sink);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Session &s = session();
        s.DbServer = QStringLiteral("dbhost:5433");
        s.OpacDirectory = QStringLiteral("/opac/");
        TFrmOPAC frame(data);
        frame.show();
        OpacBrowser *b = frame.browser();
        auto *field = b->findChild<QLineEdit *>(QStringLiteral("URL"));
        QVERIFY(field);
        const QUrl start(QStringLiteral("http://dbhost:8080/opac"));
        QCOMPARE(field->text(), start.toString());
        QVERIFY(!b->embedded());
        QCOMPARE(b->openedExternally(), start);
        // Only the start page has something to open without an embedded view.
        for (const char *name : {"BtnPrevious", "BtnNext", "BtnStop", "BtnRefresh"})
            QVERIFY2(!frame.entry(QLatin1String(name))->isEnabled(), name);
        QVERIFY(frame.entry(QStringLiteral("BtnHome"))->isEnabled());

        // Return in a field of blanks does nothing; on an address, goes there.
        field->setText(QStringLiteral("   "));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(b->openedExternally(), start);
        field->setText(QStringLiteral(" catalogue.example.org/opac "));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(b->openedExternally(), QUrl(QStringLiteral("http://catalogue.example.org/opac")));
        QVERIFY(frame.trigger(QStringLiteral("BtnHome")));
        QCOMPARE(b->openedExternally(), start);
        QCOMPARE(field->text(), start.toString());

        // [OPAC] Address wins over the database's host.
        s.OpacAddress = QStringLiteral("https://opac.example.org/");
        QCOMPARE(TFrmOPAC::StartAddress(), QStringLiteral("https://opac.example.org/"));
        setMessageSink(nullptr);
    }
};

QTEST_MAIN(TstOpacScreen)
#include "tst_opacscreen.moc"
