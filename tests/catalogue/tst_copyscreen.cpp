// The copy-cataloguing screen offscreen, through the cataloguing module, in
// French and in Arabic on both engines: a record found by its ISBN on the
// local SRU service, shown with its ISBD display, imported in one click (a
// second click says it is there and writes nothing), "Importer et modifier"
// opening the record form on the record imported, and "Arrêter" giving the
// interface back at once while a target does not answer.

#include "base/messages.h"
#include "catalogue/copy/copytexts.h"
#include "catalogue/copy/targets.h"
#include "catalogue/copy/widgets/frmnoticecopie.h"
#include "catalogue/widgets/frmcatalogage.h"
#include "catalogue/widgets/frmnotice.h"
#include "copyfixture.h"
#include "data/widgets/progresspanel.h"
#include "i18n/widgets/localise.h"
#include "recordfixture.h"
#include "support/screens.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTextBrowser>

using namespace folian;
using namespace folian::test;

namespace {

bool addTarget(Database &db, const QString &name, const QString &url, int timeout)
{
    std::optional<copy::CopyTarget> t = copy::parseSruAddress(url, nullptr);
    t->name = name;
    t->timeout = timeout;
    return copy::addTarget(db, *t).passed;
}

int count(Database &db, const QString &title)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"), {title}).toInt();
}

bool searchFor(TFrmNoticeCopie *screen, const QString &target, const QString &isbn)
{
    screen->targetBox()->setCurrentIndex(screen->targetBox()->findText(target));
    typeText(screen->numberField(), isbn);
    QSignalSpy ended(screen, &TFrmNoticeCopie::searchEnded);
    screen->searchButton()->click();
    return screen->running() && ended.wait(30000);
}

} // namespace

class TstCopyScreen : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SetApplicationLanguage(QStringLiteral("FR")); }

    void findAndImport_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("language");
        for (const QString &engine : engines())
            for (const char *language : {"FR", "AR"})
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(language))) << engine << QString::fromLatin1(language);
    }
    void findAndImport()
    {
        QFETCH(QString, engine);
        QFETCH(QString, language);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        RecordingSink sink;
        freshSession(sink, language);
        fx.logOn(6, {Right::CatAcces, Right::CatImport, Right::CatNotice});
        copy::test::SruServer server;
        session().CurrentUserRole = 1;
        QVERIFY(addTarget(tdb.db(), QStringLiteral("Union"), server.url("/sru"), 10));
        QVERIFY(addTarget(tdb.db(), QStringLiteral("Muet"), server.url("/silent"), 20));
        session().CurrentUserRole = 6;

        TFrmCatalogage module(fx.data);
        module.resize(1200, 800);
        module.show();
        module.start();
        auto *screen = openEntry<TFrmNoticeCopie>(module, QStringLiteral("BtnCopie"));
        QVERIFY(screen);
        QCOMPARE(screen->targetBox()->count(), 2);
        QCOMPARE(screen->layoutDirection(), language == QLatin1String("AR") ? Qt::RightToLeft : Qt::LeftToRight);
        QCOMPARE(screen->importButton()->text(),
                 language == QLatin1String("AR") ? QStringLiteral("استيراد") : QStringLiteral("Importer"));
        QCOMPARE(screen->results()->model()->headerData(1, Qt::Horizontal).toString(),
                 language == QLatin1String("AR") ? QStringLiteral("العنوان") : QStringLiteral("Titre"));
        // A cataloguer searches and imports; the targets are the managers'.
        QVERIFY(!screen->findChild<QPushButton *>(QStringLiteral("BtnAjouterCible"))->isEnabled());

        // Found by its ISBN, shown with its ISBD display.
        QVERIFY(searchFor(screen, QStringLiteral("Union"), QStringLiteral("978-2-07-061275-8")));
        QCOMPARE(screen->results()->rowCount(), 1);
        QCOMPARE(screen->results()->item(0, 1)->text(), QStringLiteral("L'Étranger : récit d'été"));
        QVERIFY2(screen->preview()->toPlainText().contains(QStringLiteral("Gallimard")), qPrintable(screen->preview()->toPlainText()));
        QVERIFY(screen->importButton()->isEnabled());

        // One click imports it; a second one says it is there.
        screen->importButton()->click();
        QCOMPARE(count(tdb.db(), QStringLiteral("L'Étranger : récit d'été")), 1);
        const int key = tdb.db().scalar(QStringLiteral("SELECT DOC_ID FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"),
                                        {QStringLiteral("L'Étranger : récit d'été")}).toInt();
        QCOMPARE(screen->messageLabel()->text(), copy::recordImported(key));
        screen->importButton()->click();
        QCOMPARE(count(tdb.db(), QStringLiteral("L'Étranger : récit d'été")), 1);
        QCOMPARE(screen->messageLabel()->text(), copy::recordDuplicate(QStringLiteral("L'Étranger : récit d'été"), key));
        QVERIFY(sink.messages.isEmpty());

        // "Importer et modifier": the Arabic record, then its form.
        QVERIFY(searchFor(screen, QStringLiteral("Union"), QStringLiteral("9789953686019")));
        QVERIFY2(screen->preview()->toHtml().contains(QStringLiteral("الأيام")), "the preview lacks the Arabic title");
        screen->importEditButton()->click();
        QCOMPARE(count(tdb.db(), QStringLiteral("الأيام")), 1);
        QTRY_VERIFY(module.recordForm() != nullptr);
        QCOMPARE(fx.data.QNotice->value(QStringLiteral("DOC_TITRE_PROPRE")).toString(), QStringLiteral("الأيام"));
        QVERIFY(module.recordForm()->isWritable());
    }

    // A target that never answers: "Arrêter" gives the screen back at once.
    void stop_data() { addEngineRows(); }
    void stop()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        RecordingSink sink;
        freshSession(sink, QStringLiteral("FR"));
        fx.logOn(1, {});
        copy::test::SruServer server;
        QVERIFY(addTarget(tdb.db(), QStringLiteral("Muet"), server.url("/silent"), 30));
        TFrmCatalogage module(fx.data);
        module.show();
        module.start();
        auto *screen = openEntry<TFrmNoticeCopie>(module, QStringLiteral("BtnCopie"));
        QVERIFY(screen);
        typeText(screen->titleField(), QStringLiteral("prince"));
        screen->searchButton()->click();
        QVERIFY(screen->running());
        QVERIFY(screen->progress()->isVisible());
        QVERIFY(!screen->searchButton()->isEnabled());
        QTRY_VERIFY(server.service().requests() == 1);
        screen->progress()->stopButton()->click();
        QVERIFY(!screen->running());
        QCOMPARE(screen->messageLabel()->text(), copy::stopped());
        QVERIFY(screen->searchButton()->isEnabled());
        QCOMPARE(screen->results()->rowCount(), 0);
    }
};

QTEST_MAIN(TstCopyScreen)
#include "tst_copyscreen.moc"
