// The preview of a page (its text, its letterhead, printing, the office
// hand-off), printing a report from a screen (progress, stop, failure) and
// the editions module (which entries open, the catalogue pages it hosts).

#include "base/messages.h"
#include "base/outputdir.h"
#include "base/rights.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "i18n/core/translationfile.h"
#include "reports/core/htmlpage.h"
#include "reports/widgets/frmedition.h"
#include "reports/widgets/frmhtmlpreview.h"
#include "reports/widgets/printreport.h"
#include "support/session.h"
#include "support/windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextTable>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

using Rights = QList<Right>;

// A letterhead that is easy to find on the screen: a pure red band.
QByteArray redLetterhead()
{
    QImage image(120, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

Report listOf(int rows)
{
    Report r;
    r.fileName = QStringLiteral("liste.html");
    r.french = QStringLiteral("Liste des lecteurs");
    r.arabic = QStringLiteral("قائمة القراء");
    r.columns = {{QStringLiteral("N°"), QStringLiteral("الرقم"), 40, ColumnKind::Number, false, {}},
                 {QStringLiteral("Nom"), QStringLiteral("الاسم"), 200, ColumnKind::Text, false, {}}};
    const QStringList names{QStringLiteral("O'Brien & <Fils>"), QStringLiteral("بن علي"), QStringLiteral("Ayşe")};
    for (int i = 0; i < rows; ++i)
        r.rows << QVariantList{i + 1, names.at(i % names.size())};
    return r;
}

QList<TFrmHTMLPreview *> previewWindows() { return shownWindows<TFrmHTMLPreview>(); }
void closePreviews() { closeWindows<TFrmHTMLPreview>(); }

int redPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0))
                ++n;
    return n;
}

} // namespace

Q_DECLARE_METATYPE(Rights)

class TstReportScreens : public QObject
{
    Q_OBJECT
    QTemporaryDir home_;
    RecordingSink sink_;
    QByteArray path_ = qgetenv("PATH");

private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        setMessageSink(&sink_);
    }
    void init()
    {
        session() = Session();
        setUserDataDirectory(home_.path() + QStringLiteral("/user"));
        QDir(home_.path() + QStringLiteral("/user")).removeRecursively();
        sink_.clear();
        LanguageFile() = TranslationFile();
    }
    void cleanup()
    {
        closePreviews();
        qputenv("PATH", path_);
    }
    void cleanupTestCase()
    {
        setMessageSink(nullptr);
        setUserDataDirectory({});
    }

    // The page as written: its text decoded from windows-1256, the
    // letterhead shown, right to left in Arabic.
    void preview_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("FR") << QStringLiteral("FR");
        QTest::newRow("AR") << QStringLiteral("AR");
    }
    void preview()
    {
        QFETCH(QString, language);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE PARAMETRE SET ENTETE = ?"), {redLetterhead()}));
        session().setLanguage(language);
        Report report = listOf(3);
        report.letterhead = true;
        const ReportResult r = writeReport(tdb.db(), report);
        QVERIFY2(r.written(), qPrintable(r.message));

        TFrmHTMLPreview preview;
        preview.resize(800, 600);
        QVERIFY(preview.PreviewFile(report.title(), r.path));
        QCOMPARE(preview.file(), r.path);
        QCOMPARE(preview.findChild<QLabel *>(QStringLiteral("LblTitle"))->text(), u' ' + report.title());
        const QString text = preview.browser()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("O'Brien & <Fils>")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("بن علي")));
        QVERIFY(text.contains(QStringLiteral("Ayşe")));
        QVERIFY(text.contains(report.title()));
        QVERIFY(text.contains(language == QLatin1String("AR") ? QStringLiteral("الرقم") : QStringLiteral("N°")));
        QVERIFY2(redPixels(preview.browser()->viewport()->grab().toImage()) > 1000, "the letterhead is not shown");
        // The first column stands on the right in Arabic.
        QTextTable *table = nullptr;
        for (QTextFrame *frame : preview.browser()->document()->rootFrame()->childFrames())
            if ((table = qobject_cast<QTextTable *>(frame)))
                break;
        QVERIFY(table);
        const int last = table->columns() - 1;
        const QTextTableCell number = table->cellAt(1, language == QLatin1String("AR") ? last : 0);
        QTextCursor c = number.firstCursorPosition();
        c.setPosition(number.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        QCOMPARE(c.selectedText(), QStringLiteral("1"));
        QVERIFY(!preview.PreviewFile(report.title(), r.path + QStringLiteral(".absent")));
        QVERIFY(preview.browser()->toPlainText().isEmpty());
    }

    // "Imprimer" opens the print preview of the page, with its pages drawn.
    void print()
    {
        QVERIFY(writeHtmlPage(reportPath(QStringLiteral("p.html")),
                              htmlPageOpening(false) + QStringLiteral("<p>Bonjour</p></body></html>")));
        TFrmHTMLPreview preview;
        QVERIFY(preview.PreviewFile(QStringLiteral("P"), reportPath(QStringLiteral("p.html"))));
        int pages = -1;
        QTimer::singleShot(0, this, [&pages] {
            auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto *w = dialog->findChild<QPrintPreviewWidget *>())
                pages = w->pageCount();
            dialog->reject();
        });
        preview.findChild<QPushButton *>(QStringLiteral("BtnPrint"))->click();
        QCOMPARE(pages, 1);
    }

    // "Word" and "Excel" start the office suite on the page; without one
    // and without a desktop handler, a message says so.
    void office()
    {
        QTemporaryDir bin;
        const QString log = bin.filePath(QStringLiteral("args.txt"));
        QFile script(bin.filePath(QStringLiteral("soffice")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" >> '" + log.toLocal8Bit() + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.path().toLocal8Bit());
        const QString page = reportPath(QStringLiteral("liste.html"));
        QVERIFY(writeHtmlPage(page, QStringLiteral("<html></html>")));
        TFrmHTMLPreview preview;
        preview.PreviewFile(QStringLiteral("Liste"), page);
        preview.findChild<QPushButton *>(QStringLiteral("BtnWord"))->click();
        QTRY_VERIFY(QFile::exists(log));
        preview.findChild<QPushButton *>(QStringLiteral("BtnExcel"))->click();
        const auto logged = [&log] {
            QFile f(log);
            return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
        };
        QTRY_COMPARE(logged().count(u'\n'), 2);
        QCOMPARE(logged(), QStringLiteral("--writer ") + page + QStringLiteral("\n--calc ") + page + u'\n');
        QVERIFY(sink_.messages.isEmpty());

        if (officeCommand(OfficeProgram::WordProcessor, page, {QStringLiteral("/usr/bin")}).found())
            QSKIP("an office suite is installed in the usual places");
        qputenv("PATH", QByteArray("/nonexistent"));
        const auto usual = officeSearchPaths();
        if (officeCommand(OfficeProgram::WordProcessor, page, usual).found())
            QSKIP("an office suite is installed in the usual places");
        preview.findChild<QPushButton *>(QStringLiteral("BtnExcel"))->click();
        QCOMPARE(sink_.messages, QStringList{officeUnavailableMessage(page)});
    }

    // From a screen: the panel runs and goes, the print button comes back,
    // and the preview opens only for a page written whole.
    void printReport_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("outcome");
        for (const QString &e : engines())
            for (const char *o : {"written", "stopped", "failed"})
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(o))) << e << QString::fromLatin1(o);
    }
    void printReport()
    {
        QFETCH(QString, engine);
        QFETCH(QString, outcome);
        FOLIAN_TEST_DB(tdb, engine);
        QWidget screen;
        auto *panel = new ProgressPanel(&screen);
        auto *button = new QPushButton(QStringLiteral("Imprimer"), &screen);
        screen.show();
        Report report = listOf(50);
        if (outcome == QLatin1String("failed")) {
            report.sql = QStringLiteral("SELECT NOPE FROM NO_SUCH_TABLE");
            report.columns.clear();
        }
        bool panelShown = false, buttonDisabled = false;
        QTimer::singleShot(0, panel, [&] {
            panelShown = panel->isVisible();
            buttonDisabled = !button->isEnabled();
            if (outcome == QLatin1String("stopped"))
                panel->stopButton()->click();
        });
        const ReportResult r = PrintReport(tdb.db(), report, &screen, panel, button);
        QVERIFY(button->isEnabled());
        QVERIFY(!panel->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        const QList<TFrmHTMLPreview *> previews = previewWindows();
        if (outcome == QLatin1String("written")) {
            QVERIFY(r.written());
            QVERIFY(panelShown && buttonDisabled);
            QCOMPARE(panel->value(), 100);
            QCOMPARE(panel->text(), QStringLiteral("Création [") + reportDirectory() + QStringLiteral("liste.htm] : 50"));
            QCOMPARE(previews.size(), 1);
            QCOMPARE(previews.first()->file(), r.path);
            QCOMPARE(previews.first()->parentWidget(), &screen);
            QVERIFY(sink_.messages.isEmpty());
        } else if (outcome == QLatin1String("stopped")) {
            QCOMPARE(r.status, ReportResult::Status::Stopped);
            QVERIFY(r.rows >= 1 && r.rows < 50);
            QVERIFY(previews.isEmpty());
            QVERIFY(sink_.messages.isEmpty());
            QVERIFY(!QFile::exists(reportPath(QStringLiteral("liste.html"))));
        } else {
            QCOMPARE(r.status, ReportResult::Status::Failed);
            QVERIFY(previews.isEmpty());
            QCOMPARE(sink_.messages, QStringList{r.message});
        }
    }

    // Who may open what: the catalogue pages for catalogue editions; the
    // entries whose screens are still to come stay disabled for everyone.
    void editionsGating_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<Rights>("rights");
        QTest::addColumn<bool>("catalogue");
        QTest::addColumn<bool>("circulation");
        QTest::addColumn<bool>("acquisition");
        QTest::newRow("administrateur") << 1 << Rights{} << true << true << true;
        QTest::newRow("resp. catalogage") << 3 << Rights{} << true << false << false;
        QTest::newRow("resp. pret") << 4 << Rights{} << false << true << false;
        QTest::newRow("resp. acquisition") << 2 << Rights{} << false << false << true;
        QTest::newRow("saisie edition catalogue") << 0 << Rights{Right::CatEdition} << true << false << false;
        QTest::newRow("agent pret edition circulation") << 7 << Rights{Right::CirculEdition} << false << true << false;
        QTest::newRow("agent catalogage sans droit") << 6 << Rights{Right::CatNotice, Right::CatAcces} << false << false << false;
        QTest::newRow("agent acquisition edition acq.") << 5 << Rights{Right::AcqEdition} << false << false << true;
    }
    void editionsGating()
    {
        QFETCH(int, role);
        QFETCH(Rights, rights);
        QFETCH(bool, catalogue);
        QFETCH(bool, circulation);
        QFETCH(bool, acquisition);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserRole = role;
        for (Right r : rights)
            session().setRight(r, true);
        TFrmEdition edition(data);
        const QStringList previews{QStringLiteral("BtnCatalogue"), QStringLiteral("BtnIndexTitres"),
                                   QStringLiteral("BtnIndexAuteurs"), QStringLiteral("BtnIndexMatieres")};
        const QStringList groups[] = {
            {QStringLiteral("BtnGeneration"), QStringLiteral("BtnCatalogue"), QStringLiteral("BtnIndexTitres"),
             QStringLiteral("BtnIndexAuteurs"), QStringLiteral("BtnIndexMatieres"), QStringLiteral("BtnFonds")},
            {QStringLiteral("BtnStatLecteur"), QStringLiteral("BtnStatCategorie"), QStringLiteral("BtnStatDocument"),
             QStringLiteral("BtnStatTypeDocument"), QStringLiteral("BtnStatStructure"),
             QStringLiteral("BtnLecteursInscrits")},
            {QStringLiteral("BtnNouvellesAcquisitions"), QStringLiteral("BtnStatAcquisitions")}};
        const bool permitted[] = {catalogue, circulation, acquisition};
        for (int g = 0; g < 3; ++g) {
            for (const QString &name : groups[g]) {
                QAbstractButton *b = edition.entry(name);
                QVERIFY2(b, qPrintable(name));
                QCOMPARE(edition.entryPermitted(name), permitted[g]);
                QVERIFY2(b->isEnabled() == (permitted[g] && previews.contains(name)), qPrintable(name));
            }
        }
    }

    // A catalogue page is hosted once generated; before, the entry does nothing.
    void editionsPreview_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("previewTitle");
        QTest::newRow("titres FR") << QStringLiteral("FR") << QStringLiteral("BtnIndexTitres") << QStringLiteral("titres.html")
                                   << QStringLiteral("Editions - Index titres") << QStringLiteral(" Index titres");
        QTest::newRow("auteurs AR") << QStringLiteral("AR") << QStringLiteral("BtnIndexAuteurs") << QStringLiteral("auteurs.html")
                                    << QStringLiteral("التقارير - كشاف المؤلفين") << QStringLiteral(" كشاف المؤلفين");
        QTest::newRow("catalogue FR") << QStringLiteral("FR") << QStringLiteral("BtnCatalogue") << QStringLiteral("catalogue.html")
                                      << QStringLiteral("Editions - Catalogue") << QStringLiteral(" Catalogue");
        QTest::newRow("matieres AR") << QStringLiteral("AR") << QStringLiteral("BtnIndexMatieres") << QStringLiteral("matieres.html")
                                     << QStringLiteral("التقارير - كشاف الموضوعات") << QStringLiteral(" كشاف الموضوعات");
    }
    void editionsPreview()
    {
        QFETCH(QString, language);
        QFETCH(QString, entry);
        QFETCH(QString, page);
        QFETCH(QString, title);
        QFETCH(QString, previewTitle);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().setLanguage(language);
        QVERIFY(LanguageFile().load(QStringLiteral(FOLIAN_I18N_FILES "/Folian.") + language));
        session().CurrentUserRole = 3;
        TFrmEdition edition(data);
        edition.show();
        const QString home = edition.title();
        QVERIFY(QFile::exists(scratchDatabasePath()));

        QVERIFY(edition.trigger(entry));
        QVERIFY(!edition.CurrentScreen());
        QCOMPARE(edition.title(), home);
        QVERIFY(sink_.messages.isEmpty());

        QVERIFY(writeHtmlPage(reportPath(page), htmlPageOpening(language == QLatin1String("AR"))
                                                    + QStringLiteral("<p>Nedjma</p></body></html>")));
        QVERIFY(edition.trigger(entry));
        auto *preview = qobject_cast<TFrmHTMLPreview *>(edition.CurrentScreen());
        QVERIFY(preview);
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->file(), reportPath(page));
        QCOMPARE(preview->browser()->toPlainText(), QStringLiteral("Nedjma"));
        QCOMPARE(edition.title(), title);
        QCOMPARE(preview->findChild<QLabel *>(QStringLiteral("LblTitle"))->text(), previewTitle);
        // The preview is localised with the module.
        if (language == QLatin1String("AR"))
            QCOMPARE(preview->findChild<QPushButton *>(QStringLiteral("BtnPrint"))->text(), QStringLiteral("طباعة"));

        // Another entry replaces it.
        QVERIFY(writeHtmlPage(reportPath(QStringLiteral("titres.html")), QStringLiteral("<p>Titres</p>")));
        QPointer<TFrmHTMLPreview> previous = preview;
        QVERIFY(edition.trigger(QStringLiteral("BtnIndexTitres")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(entry == QLatin1String("BtnIndexTitres") || !previous);
        QCOMPARE(qobject_cast<TFrmHTMLPreview *>(edition.CurrentScreen())->browser()->toPlainText(),
                 QStringLiteral("Titres"));
    }
};

QTEST_MAIN(TstReportScreens)
#include "tst_reportscreens.moc"
