// The public catalogue as a browser shows it: the search page, a page of
// results and a record page loaded in headless Chromium, in French and in
// Arabic, their document read back after the browser built it.

#include "opacfixture.h"

#include "opac/core/opactexts.h"
#include "opac/server/opacserver.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

// The document Chromium builds from `url`, the server answering meanwhile.
QString renderedDocument(const QString &chromium, const QString &url, QString *why)
{
    QTemporaryDir profile;
    QProcess p;
    p.setProgram(chromium);
    p.setArguments({QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                    QStringLiteral("--no-first-run"), QStringLiteral("--user-data-dir=") + profile.path(),
                    QStringLiteral("--dump-dom"), url});
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(90000, &loop, &QEventLoop::quit);
    p.start();
    loop.exec();
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        *why = QStringLiteral("chromium did not end");
        return {};
    }
    *why = QString::fromUtf8(p.readAllStandardError()).right(2000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TstOpacBrowser : public QObject
{
    Q_OBJECT

private slots:
    void pagesInChromium_data()
    {
        QTest::addColumn<bool>("arabic");
        QTest::newRow("French") << false;
        QTest::newRow("Arabic") << true;
    }
    void pagesInChromium()
    {
        QFETCH(bool, arabic);
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            QSKIP("chromium is not installed (scripts/setup.sh installs it)");
        FOLIAN_OPAC_FIXTURE(fx, tdb, QStringLiteral("SQLITE"));
        opac::Server::Options o;
        o.connection = fx.connection;
        o.port = 0;
        o.log = [](const QString &) {};
        opac::Server server(o);
        QString why;
        const quint16 port = server.start(&why);
        QVERIFY2(port, qPrintable(why));
        const QString site = QStringLiteral("http://127.0.0.1:%1/opac").arg(port);
        const QString lang = arabic ? QStringLiteral("lang=ar") : QStringLiteral("lang=fr");
        const opac::Words &w = opac::words(arabic);

        const QString home = renderedDocument(chromium, site + u'?' + lang, &why);
        QVERIFY2(home.contains(QStringLiteral("<html lang=\"") + opac::text(w.language) + QStringLiteral("\" dir=\"")
                               + opac::text(w.direction) + u'"'),
                 qPrintable(why));
        for (const char16_t *caption : {w.catalogue, w.title, w.author, w.subject, w.search, w.anyType})
            QVERIFY2(home.contains(opac::text(caption)), qPrintable(opac::text(caption)));

        const QString results = renderedDocument(chromium, site + QStringLiteral("/search?type=a&") + lang, &why);
        QVERIFY2(results.contains(opac::foundCount(6, arabic)), qPrintable(why));
        for (const QString &seen : {QStringLiteral("Le fils du pauvre"), QStringLiteral("أحمد والبحر"),
                                    QStringLiteral("Feraoun, Mouloud"), opac::text(w.available), opac::text(w.reserved),
                                    opac::onLoanUntil(fx.due, arabic)})
            QVERIFY2(results.contains(seen.toHtmlEscaped()), qPrintable(seen));
        // The title holding a script stays text: the browser made no script of it.
        QVERIFY(results.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt; Dangereux")));
        QVERIFY(!results.contains(QLatin1String("<script"), Qt::CaseInsensitive));

        const QString record = renderedDocument(chromium, site + QStringLiteral("/record/2?") + lang, &why);
        for (const char16_t *caption : {w.copies, w.copyNumber, w.shelfMark, w.location, w.dueDate})
            QVERIFY2(record.contains(opac::text(caption)), qPrintable(opac::text(caption)));
        QVERIFY2(record.contains(QStringLiteral("843 FER C2")), qPrintable(why));
        QVERIFY(!record.contains(OpacFixture::readerName()));
    }
};

QTEST_GUILESS_MAIN(TstOpacBrowser)
#include "tst_opacbrowser.moc"
