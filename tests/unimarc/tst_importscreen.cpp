// The import screen and the record preview, offscreen: an import run to its
// end and one stopped, the log shown, integrated, saved and printed; the
// record shown in ISBD and in UNIMARC.

#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "catalogue/unimarc/widgets/frmnoticeimport.h"
#include "catalogue/unimarc/widgets/frmnoticepreview.h"
#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "data/widgets/progresspanel.h"
#include "i18n/widgets/localise.h"
#include "records.h"
#include "support/screens.h"
#include "support/session.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace folian;
using namespace folian::test;
using folian::unimarc::test::dataField;
using folian::unimarc::test::recordOf;
using folian::unimarc::test::writeRecords;
using folian::unimarc::Record;

namespace {

int count(Database &db, const QString &sql) { return db.scalar(sql).toInt(); }

QPushButton *button(QWidget *w, const char *name) { return w->findChild<QPushButton *>(QLatin1String(name)); }

// `n` records numbered from 1, by one author.
QString writeFile(const QTemporaryDir &dir, int n)
{
    QList<Record> records;
    for (int i = 1; i <= n; ++i)
        records << recordOf({dataField("010", "  ", {{'a', QByteArray::number(2070360000 + i).constData()}}),
                             dataField("200", "1 ", {{'a', QStringLiteral("Notice %1").arg(i).toUtf8().constData()}}),
                             dataField("700", " 1", {{'a', "Dupont"}, {'b', "Jean"}})});
    return writeRecords(dir, records, "\r\n");
}

} // namespace

class TstImportScreen : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

private slots:
    void init()
    {
        freshSession(sink);
        logOn(1, QStringLiteral("admin"), 1);
        setUserDataDirectory(pages.path());
    }
    void cleanup()
    {
        setMessageSink(nullptr);
        setUserDataDirectory(QString());
    }

    void importStopAndIntegrate_data() { addEngineRows(); }
    void importStopAndIntegrate()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QTemporaryDir dir;
        const QString path = writeFile(dir, 5);
        TFrmNoticeImport screen(data);
        screen.show();
        QPushButton *import = button(&screen, "BtnImport");
        QCheckBox *all = screen.findChild<QCheckBox *>(QStringLiteral("CbAll"));
        QVERIFY(!import->isEnabled());
        screen.fileField()->setText(path);
        QVERIFY(import->isEnabled());

        // Stopped at once: the record being read is finished, nothing after it.
        // A click elsewhere meanwhile does not reach its button.
        QPushButton elsewhere(QStringLiteral("Ailleurs"));
        elsewhere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
        int clickedElsewhere = 0;
        connect(&elsewhere, &QPushButton::clicked, this, [&] { ++clickedElsewhere; });
        QTimer::singleShot(0, &elsewhere, [&] {
            QTest::mouseClick(&elsewhere, Qt::LeftButton);
            screen.progress()->stopButton()->click();
        });
        import->click();
        QCOMPARE(clickedElsewhere, 0);
        QTest::mouseClick(&elsewhere, Qt::LeftButton);
        QCOMPARE(clickedElsewhere, 1);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 1);
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY2(sink.messages.first().startsWith(QStringLiteral("Importation interrompue.\n1 notices lues, 1 importées")),
                 qPrintable(sink.messages.first()));
        QVERIFY(!screen.running());
        QVERIFY(!screen.progress()->isVisible());
        QVERIFY(import->isEnabled());
        QVERIFY(!button(&screen, "BtnIntegrer")->isEnabled());
        QVERIFY(!all->isVisible());

        // The whole file, by Return in the file field: the first record is a duplicate now.
        sink.clear();
        screen.fileField()->setFocus();
        QTest::keyClick(screen.fileField(), Qt::Key_Return);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 5);
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY2(sink.messages.first().startsWith(QStringLiteral("Importation terminé.\n5 notices lues, 4 importées, 1 doubles")),
                 qPrintable(sink.messages.first()));
        QListWidget *log = screen.logList();
        QCOMPARE(log->count(), 1);
        QCOMPARE(log->item(0)->text(), QStringLiteral("Existe --> Notice 1"));
        QVERIFY(all->isVisible());
        QVERIFY(button(&screen, "BtnIntegrer")->isEnabled());
        QVERIFY(button(&screen, "BtnSave")->isEnabled());

        // Saved as text and printed.
        const QString report = dir.filePath(QStringLiteral("Rapport_importation.txt"));
        QVERIFY(screen.saveLog(report));
        QFile saved(report);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("Existe --> Notice 1\n"));
        button(&screen, "BtnPrint")->click();
        QFile page(reportPath(QStringLiteral("rapport_importation.html")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("Existe --&gt; Notice 1"));

        // "Intégrer" imports the checked duplicate and takes its line away.
        sink.clear();
        all->click();
        QCOMPARE(log->item(0)->checkState(), Qt::Checked);
        button(&screen, "BtnIntegrer")->click();
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 6);
        QCOMPARE(log->count(), 0);
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().startsWith(QStringLiteral("Opération terminé.\n1 notices intégrées, 0 non intégrées.")));
        QVERIFY(!button(&screen, "BtnIntegrer")->isEnabled());
        QVERIFY(!all->isVisible());

        // A file that is not there: nothing happens.
        sink.clear();
        screen.fileField()->setText(dir.filePath(QStringLiteral("absent.txt")));
        import->click();
        QCOMPARE(sink.messages, QStringList());
    }

    void preview_data() { addEngineRows(); }
    void preview()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QTemporaryDir dir;
        TFrmNoticeImport screen(data);
        screen.fileField()->setText(writeFile(dir, 1));
        screen.BtnImportClick();
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 1);

        TFrmNoticePreview preview(data);
        QVERIFY(preview.showRecord(1));
        TFrmNoticeView *view = preview.view();
        QCOMPARE(view->display(), TFrmNoticeView::Display::Isbd);
        QVERIFY2(view->fragment().contains(QString::fromUtf8("<b>Dupont, Jean</b><br>Notice 1 [Texte imprimé] / Jean Dupont. - [s.l] : [s.n], [s.d].")),
                 qPrintable(view->fragment()));
        // The page is the user's own.
        QCOMPARE(view->pagePath(), reportPath(QStringLiteral("notice.html")));
        QVERIFY(view->pagePath().startsWith(pages.path()));
        QVERIFY(view->browser()->toPlainText().contains(QString::fromUtf8("Notice 1 [Texte imprimé] / Jean Dupont")));
        button(view, "BtnUNIMARC")->click();
        QCOMPARE(view->display(), TFrmNoticeView::Display::Unimarc);
        QVERIFY(view->fragment().contains(QStringLiteral("<b>200</b> ## <font color=blue>$a</font>Notice 1<br>")));
        QVERIFY(view->browser()->toPlainText().contains(QStringLiteral("700 ## $aDupont$bJean")));
        button(view, "BtnISBD")->click();
        QCOMPARE(view->display(), TFrmNoticeView::Display::Isbd);
        // A record that is not there.
        QVERIFY(!view->showRecord(99));
        QVERIFY(view->browser()->toPlainText().contains(QStringLiteral("Notice introuvable.")));
    }

    // Pictures of the screens in French and Arabic, for looking at them:
    // FOLIAN_SHOTS_DIR=dir, under a real display (xvfb-run with QT_QPA_PLATFORM=xcb).
    void screenshots()
    {
        const QString shots = qEnvironmentVariable("FOLIAN_SHOTS_DIR");
        if (shots.isEmpty())
            QSKIP("set FOLIAN_SHOTS_DIR to take the pictures of the screens");
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QTemporaryDir dir;
        const QList<Record> records{
            recordOf({dataField("010", "  ", {{'a', "2-07-036024-8"}}), dataField("101", "0 ", {{'a', "fre"}}),
                      dataField("200", "1 ", {{'a', "L'étranger"}, {'e', "roman"}}),
                      dataField("210", "  ", {{'a', "Paris"}, {'c', "Gallimard"}, {'d', "1942"}}),
                      dataField("215", "  ", {{'a', "185 p."}, {'d', "18 cm"}}),
                      dataField("225", "1 ", {{'a', "Folio"}, {'v', "2"}}),
                      dataField("300", "  ", {{'a', "Première édition en 1942"}}),
                      dataField("330", "  ", {{'a', "Meursault, un employé de bureau à Alger..."}}),
                      dataField("606", "  ", {{'a', "Roman français"}, {'z', "20e siècle"}}),
                      dataField("700", " 1", {{'a', "Camus"}, {'b', "Albert"}, {'4', "070"}}),
                      dataField("702", " 1", {{'a', "Sartre"}, {'b', "Jean-Paul"}, {'4', "080"}}),
                      dataField("995", "  ", {{'f', "B0001"}, {'k', "843 CAM"}})}),
            recordOf({dataField("010", "  ", {{'a', "9789953"}}), dataField("101", "0 ", {{'a', "ara"}}),
                      dataField("200", "1 ", {{'a', "الطريق"}, {'e', "رواية"}}),
                      dataField("210", "  ", {{'a', "القاهرة"}, {'c', "دار الشروق"}, {'d', "2005"}}),
                      dataField("215", "  ", {{'a', "160 ص."}, {'d', "20 سم"}}),
                      dataField("606", "  ", {{'a', "الرواية العربية"}}),
                      dataField("700", " 1", {{'a', "محفوظ"}, {'b', "نجيب"}}),
                      dataField("995", "  ", {{'f', "B0002"}, {'k', "892.7 MAH"}})}),
            recordOf({dataField("200", "1 ", {{'a', "Sans numéro"}}), dataField("995", "  ", {{'f', "B0001"}})}),
            // Declared ASCII, written in Latin-1; two 210: the log says both.
            recordOf({dataField("100", "  ", {{'a', "20240101d2001    k  y0frey01      ba"}}),
                      unimarc::Field("200", '1', ' ', {unimarc::Subfield('a', unimarc::test::bytes("Soci{E9}t{E9} g{E9}n{E9}rale"))}),
                      dataField("210", "  ", {{'a', "Paris"}, {'c', "Dalloz"}}), dataField("210", "  ", {{'a', "Lyon"}})}),
        };
        QByteArray bytes;
        for (const Record &r : records)
            bytes += unimarc::test::bytesOf(r) + "\r\n";
        const QString path = dir.filePath(QStringLiteral("notices.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        for (const char *language : {"FR", "AR"}) {
            SetApplicationLanguage(QLatin1String(language));
            const QString suffix = QString::fromLatin1(language).toLower();
            TFrmNoticeImport screen(data);
            screen.fileField()->setText(path);
            screen.resize(860, 520);
            screen.show();
            QVERIFY(QTest::qWaitForWindowExposed(&screen));
            // While the first run reads the file: its progress bar and stop button.
            bool runningShot = false;
            QTimer::singleShot(0, &screen, [&] {
                runningShot = screen.running()
                    && screen.grab().save(QDir(shots).filePath(QStringLiteral("import-running-%1.png").arg(suffix)));
            });
            screen.BtnImportClick();
            QVERIFY(runningShot);
            screen.BtnImportClick();  // the second time: duplicates and a copy number taken
            QTest::qWait(100);
            QVERIFY(screen.grab().save(QDir(shots).filePath(QStringLiteral("import-%1.png").arg(suffix))));
            for (const int doc : {1, 2}) {
                TFrmNoticePreview preview(data);
                preview.showRecord(doc);
                preview.show();
                QVERIFY(QTest::qWaitForWindowExposed(&preview));
                QTest::qWait(100);
                const QString record = doc == 1 ? QStringLiteral("fr") : QStringLiteral("ar");
                QVERIFY(preview.grab().save(QDir(shots).filePath(QStringLiteral("notice-%1-%2.png").arg(record, suffix))));
                if (doc == 1) {
                    preview.view()->BtnUnimarcClick();
                    QTest::qWait(100);
                    QVERIFY(preview.grab().save(QDir(shots).filePath(QStringLiteral("unimarc-%1.png").arg(suffix))));
                }
            }
        }
        SetApplicationLanguage(QStringLiteral("FR"));
    }
};

QTEST_MAIN(TstImportScreen)
#include "tst_importscreen.moc"
