// What one keystroke or one click may do: a question whose "Oui" deletes or
// resets is answered "Non" by Return alone; a link in a record's preview
// opens only a web or mail address, in the desktop's browser; a search
// screen takes the operator's first words in its first criterion.

#include "acquisitions/widgets/frmacquisition.h"
#include "admin/widgets/frmadministration.h"
#include "app/widgets/messageboxsink.h"
#include "appfixture.h"
#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "catalogue/widgets/frmautorite.h"
#include "catalogue/widgets/frmcatalogage.h"
#include "circulation/widgets/frmcirculation.h"
#include "data/core/shareddata.h"
#include "support/screens.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

// Presses Return on every message box shown while it lives, as an operator
// in a hurry does; counts them.
class ReturnPresser : public QObject
{
public:
    ReturnPresser()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            ++boxes;
            QTest::keyClick(box, Qt::Key_Return);
        });
        timer_.start(20);
    }
    int boxes = 0;

private:
    QTimer timer_;
};

// The addresses the desktop was asked to open, by scheme.
class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    explicit OpenedUrls(const QStringList &schemes) : schemes_(schemes)
    {
        for (const QString &s : schemes_)
            QDesktopServices::setUrlHandler(s, this, "open");
    }
    ~OpenedUrls() override
    {
        for (const QString &s : schemes_)
            QDesktopServices::unsetUrlHandler(s);
    }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }

private:
    QStringList schemes_;
};

// The links of the document shown, in order.
QStringList anchors(QTextBrowser *b)
{
    QStringList out;
    for (QTextBlock block = b->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                out << it.fragment().charFormat().anchorHref();
    return out;
}

// Clicks each link of the document as the operator does, with the mouse.
void clickEveryLink(QTextBrowser *b)
{
    QList<int> positions;
    for (QTextBlock block = b->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                positions << it.fragment().position();
    for (int pos : positions) {
        QTextCursor c(b->document());
        c.setPosition(pos + 1);
        b->ensureCursorVisible();
        const QPoint at = b->cursorRect(c).center();
        QTest::mouseMove(b->viewport(), at);
        QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
}

} // namespace

class TstSafety : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init() { freshSession(sink, QStringLiteral("FR")); }
    void cleanup() { setMessageSink(nullptr); }

    // Return alone on the question that resets or deletes keeps everything.
    void irreversibleQuestionsDefaultToNo_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("action");
        for (const QString &engine : engines())
            for (const char *a : {"reset loan statistics", "delete a user"})
                QTest::newRow(qPrintable(engine + QStringLiteral(": ") + QLatin1String(a))) << engine << QString::fromLatin1(a);
    }
    void irreversibleQuestionsDefaultToNo()
    {
        QFETCH(QString, engine);
        QFETCH(QString, action);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(insertUser(db, 1, QStringLiteral("admin"), QStringLiteral("a"), 1));
        QVERIFY(insertUser(db, 2, QStringLiteral("zoe"), QStringLiteral("z"), 7));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, DOC_PRET_EXTERNE) VALUES (1, 'T', 7)")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOn(1, QStringLiteral("admin"), 1);
        MessageBoxSink boxes;
        setMessageSink(&boxes);
        const QString state = QStringLiteral("SELECT (SELECT SUM(DOC_PRET_EXTERNE) FROM NOTICE) * 100 "
                                             "+ (SELECT COUNT(*) FROM UTILISATEUR)");
        const int before = db.scalar(state).toInt();
        TFrmAdministration module(data);
        module.show();
        ReturnPresser operatorInAHurry;
        if (action == QLatin1String("reset loan statistics")) {
            QVERIFY(module.trigger(QStringLiteral("BtnInitialisation")));
        } else {
            QVERIFY(module.trigger(QStringLiteral("BtnUtilisateurs")));
            QWidget *screen = module.CurrentScreen();
            auto *grid = screen->findChild<QAbstractItemView *>(QStringLiteral("DBGrid1"));
            QVERIFY(grid);
            grid->setCurrentIndex(grid->model()->index(1, 0));  // "zoe", after "admin"
            QCOMPARE(data.QUtilisateur->value(QStringLiteral("UTL_LOGIN")).toString(), QStringLiteral("zoe"));
            screen->findChild<QPushButton *>(QStringLiteral("BtnDelete"))->click();
        }
        QCOMPARE(operatorInAHurry.boxes, 1);  // the question, and nothing done after it
        QCOMPARE(db.scalar(state).toInt(), before);
    }

    // A record's resources in its preview: only web and mail addresses are
    // links, opened by the desktop's browser; a local file, a relative path
    // or another scheme is shown as text and loads nothing.
    void previewLinks_data() { addEngineRows(); }
    void previewLinks()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, LAN_ID) VALUES (1, 'a', 'Titre', 'fre')")));
        const QStringList links{QStringLiteral("http://example.org/notice"), QStringLiteral("file:///etc/hostname"),
                                QStringLiteral("../../etc/hostname"), QStringLiteral("smb://serveur/partage"),
                                QStringLiteral("mailto:bibliotheque@example.org"), QStringLiteral("www.example.org"),
                                QStringLiteral("javascript:alert(1)")};
        for (int i = 0; i < links.size(); ++i)
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_RESSOURCE (RES_ID, DOC_ID, RES_LIEN) VALUES (?, 1, ?)"),
                            {i + 1, links.at(i)}));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        OpenedUrls opened({QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto"), QStringLiteral("file"),
                           QStringLiteral("smb"), QStringLiteral("javascript")});
        TFrmNoticeView view(data);
        view.resize(900, 700);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.showRecord(1));
        view.BtnUnimarcClick();
        QTextBrowser *b = view.browser();
        const QString shown = b->toPlainText();
        for (const QString &l : links)
            QVERIFY2(shown.contains(l), qPrintable(l));  // every address is shown
        for (const QString &href : anchors(b)) {
            const QString scheme = QUrl(href).scheme();
            QVERIFY2(scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"),
                     qPrintable(href));
        }
        clickEveryLink(b);
        // Anchors made by anyone else lead nowhere either.
        emit b->anchorClicked(QUrl(QStringLiteral("file:///etc/hostname")));
        emit b->anchorClicked(QUrl(QStringLiteral("smb://serveur/partage")));
        QCOMPARE(b->toPlainText(), shown);  // nothing was loaded in place of the record
        QVERIFY(b->source().isEmpty());
        QStringList schemes;
        for (const QUrl &u : opened.urls)
            schemes << u.scheme();
        QCOMPARE(schemes, (QStringList{QStringLiteral("http"), QStringLiteral("mailto"), QStringLiteral("http")}));
    }

    // Each search screen opens with its first criterion ready for typing.
    void searchScreensFocusTheirFirstCriterion_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("criterion");
        QTest::newRow("records") << QStringLiteral("Catalogage") << QString() << QStringLiteral("TIT");
        QTest::newRow("records again") << QStringLiteral("Catalogage") << QStringLiteral("BtnRecherche") << QStringLiteral("TIT");
        QTest::newRow("readers") << QStringLiteral("Circulation") << QStringLiteral("BtnRecherche") << QStringLiteral("EdtValeur");
        QTest::newRow("headings") << QStringLiteral("Autorite") << QStringLiteral("BtnVedettes") << QStringLiteral("KEY");
        QTest::newRow("publishers") << QStringLiteral("Autorite") << QStringLiteral("BtnEditeurs") << QStringLiteral("KEY");
        QTest::newRow("orders") << QStringLiteral("Acquisition") << QStringLiteral("BtnCommandes") << QStringLiteral("NUM");
        QTest::newRow("pre-orders") << QStringLiteral("Acquisition") << QStringLiteral("BtnPreCommandes") << QStringLiteral("NUM");
        QTest::newRow("deliveries") << QStringLiteral("Acquisition") << QStringLiteral("BtnLivraisons") << QStringLiteral("EdtNumero");
    }
    void searchScreensFocusTheirFirstCriterion()
    {
        QFETCH(QString, module);
        QFETCH(QString, entry);
        QFETCH(QString, criterion);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOn(1, QStringLiteral("admin"), 1);
        std::unique_ptr<TFrmModule> frame;
        if (module == QLatin1String("Catalogage"))
            frame = std::make_unique<TFrmCatalogage>(data);
        else if (module == QLatin1String("Circulation"))
            frame = std::make_unique<TFrmCirculation>(data);
        else if (module == QLatin1String("Acquisition"))
            frame = std::make_unique<TFrmAcquisition>(data);
        else
            frame = std::make_unique<TFrmAutorite>(data);
        frame->resize(1200, 800);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        if (auto *catalogage = dynamic_cast<TFrmCatalogage *>(frame.get()))
            catalogage->start();
        if (!entry.isEmpty())
            QVERIFY(frame->trigger(entry));
        QWidget *screen = frame->CurrentScreen();
        QVERIFY(screen);
        QWidget *focused = frame->focusWidget();
        QVERIFY2(focused && focused->objectName() == criterion,
                 qPrintable(focused ? focused->objectName() + u' ' + QLatin1String(focused->metaObject()->className())
                                    : QStringLiteral("nothing focused")));
    }
};

QTEST_MAIN(TstSafety)
#include "tst_safety.moc"
