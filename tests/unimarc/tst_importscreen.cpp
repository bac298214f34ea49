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
#include "records.h"
#include "support/session.h"

#include <QCheckBox>
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

namespace {

int count(Database &db, const QString &sql) { return db.scalar(sql).toInt(); }

QPushButton *button(QWidget *w, const char *name) { return w->findChild<QPushButton *>(QLatin1String(name)); }

QString writeFile(const QTemporaryDir &dir, int records, const QString &name = QStringLiteral("notices.txt"))
{
    QByteArray bytes;
    for (int i = 1; i <= records; ++i)
        bytes += unimarc::test::bytesOf(recordOf(
                     {dataField("010", "  ", {{'a', QByteArray::number(2070360000 + i).constData()}}),
                      dataField("200", "1 ", {{'a', QStringLiteral("Notice %1").arg(i).toUtf8().constData()}}),
                      dataField("700", " 1", {{'a', "Dupont"}, {'b', "Jean"}})}))
            + "\r\n";
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qWarning("cannot write %s", qPrintable(path));
    return path;
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
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("admin");
        sink.clear();
        setMessageSink(&sink);
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
        QTimer::singleShot(0, screen.progress()->stopButton(), &QPushButton::click);
        import->click();
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
};

QTEST_MAIN(TstImportScreen)
#include "tst_importscreen.moc"
