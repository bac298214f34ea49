// The main window on a real database: logon, module buttons, one module at
// a time, the status bar, the keyboard routing, the language switch and the
// administration module.

#include "admin/core/logon.h"
#include "base/messages.h"
#include "app/widgets/frmmain.h"
#include "app/widgets/modules.h"
#include "appfixture.h"
#include "data/core/shareddata.h"
#include "i18n/core/translationfile.h"
#include "support/testdb.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

// Records the key presses (modifier keys aside) that reach a widget.
class KeySpy : public QObject
{
public:
    explicit KeySpy(QObject *target) { target->installEventFilter(this); }
    QList<int> keys;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        const int key = e->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(e)->key() : 0;
        if (key && key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt)
            keys << key;
        return false;
    }
};

// Logs on through the real check, as the dialog's "Ok" does.
void logOnAs(const QString &login, const QString &password)
{
    TFrmMain::setLogonHook([login, password](TFrmData &data) {
        Dataset *users = data.QUtilisateur;
        if (!users->locate(QStringLiteral("UTL_LOGIN"), login))
            return false;
        return CheckLogon(data, users->value(QStringLiteral("UTL_ID")).toInt(), password) == LogonResult::Ok;
    });
}

struct Fixture {
    TestDatabase tdb;
    TFrmData data;
    bool ok = false;

    explicit Fixture(const QString &engine) : tdb(engine)
    {
        Database &db = tdb.db();
        ok = tdb.isValid() && insertUser(db, 1, QStringLiteral("admin"), QStringLiteral("secret"), 1)
            && insertUser(db, 2, QStringLiteral("pret"), QStringLiteral("p"), 7)
            && insertUser(db, 3, QStringLiteral("saisie"), QStringLiteral("s"), 0, {Right::CatEdition})
            && connectTo(data, tdb);
    }
};

#define FIXTURE(f)                                                                      \
    QFETCH(QString, engine);                                                            \
    if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())                  \
        QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");              \
    Fixture f(engine);                                                                  \
    QVERIFY2(f.ok, qPrintable(f.tdb.error() + f.tdb.db().lastError().text()))

void showActive(QWidget &w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

bool isBlue(QAbstractButton *b) { return b->palette().color(QPalette::ButtonText) == QColor(Qt::blue); }

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        resetSession();
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup()
    {
        TFrmMain::setLogonHook({});
        setMessageSink(nullptr);
        QApplication::setLayoutDirection(Qt::LeftToRight);
    }

    void refusedLogon_data() { addEngineRows(); }
    void refusedLogon()
    {
        FIXTURE(f);
        logOnAs(QStringLiteral("admin"), QStringLiteral("wrong"));
        TFrmMain w(f.data);
        QVERIFY(!w.loggedOn());
        QCOMPARE(session().CurrentUserId, 0);
        w.openModule(Module::Opac);
        QVERIFY(!w.CurrentModuleFrame());
    }

    // Every module in turn, each freeing the one before.
    void modules_data() { addEngineRows(); }
    void modules()
    {
        FIXTURE(f);
        logOnAs(QStringLiteral("admin"), QStringLiteral("secret"));
        TFrmMain w(f.data);
        QVERIFY(w.loggedOn());
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QCOMPARE(w.statusText(0), QStringLiteral(" Base : ") + session().DbCatalog);
        QCOMPARE(w.statusText(1), QStringLiteral(" Utilisateur : admin"));
        QCOMPARE(w.statusText(2), QStringLiteral(" ..."));
        QCOMPARE(w.statusText(3), QStringLiteral(" Date : ") + QChar(0x2066)
                                      + QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)
                                      + QChar(0x2069));
        const struct {
            Module m;
            const char *form;
            const char *current;
            const char *count;
        } rows[] = {
            // Its first screen, the orders, writes the count of orders.
            {Module::Acquisition, "FrmAcquisition", "FrmAcquisition", " Commandes : 0 enreg(s)"},
            // Nothing counts here: the line the orders wrote stays.
            {Module::Catalogage, "FrmCatalogage", "FrmCatalogage", " Commandes : 0 enreg(s)"},
            // The headings, its first screen, count themselves.
            {Module::Autorite, "FrmAutorite", "FrmAutorite", " Notices : 0 notice(s)"},
            // Its first screen, the reader search, writes the count of readers.
            {Module::Circulation, "FrmCirculation", "FrmCirculation", " Lecteurs : 0 enreg(s)"},
            {Module::Edition, "FrmEdition", "FrmEdition", " Catalogue : 0 notice(s)"},
            {Module::Administration, "FrmAdministration", "FrmAdministration", " Utilisateurs : 3 enreg(s)"},
            {Module::Opac, "FrmOPAC", "", " Catalogue : 0 notice(s)"},
        };
        QPointer<TFrmModule> previous;
        for (const auto &r : rows) {
            w.openModule(r.m);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(w.CurrentModuleFrame());
            QCOMPARE(w.CurrentModuleFrame()->objectName(), QLatin1String(r.form));
            QCOMPARE(session().CurrentModule, QLatin1String(r.current));
            QCOMPARE(w.statusText(2), QLatin1String(r.count));
            QVERIFY(!previous);  // freed, not hidden
            QCOMPARE(w.findChildren<TFrmModule *>().size(), 1);
            for (int m = 0; m < ModuleCount; ++m)
                QCOMPARE(isBlue(w.moduleButton(Module(m))), Module(m) == r.m);
            previous = w.CurrentModuleFrame();
        }
    }

    // Role 7: only the circulation and the OPAC; a disabled module's shortcut does nothing.
    void shortcuts_data() { addEngineRows(); }
    void shortcuts()
    {
        FIXTURE(f);
        logOnAs(QStringLiteral("pret"), QStringLiteral("p"));
        TFrmMain w(f.data);
        QVERIFY(w.loggedOn());
        showActive(w);
        for (int m = 0; m < ModuleCount; ++m)
            QCOMPARE(w.moduleButton(Module(m))->isEnabled(), Module(m) == Module::Circulation || Module(m) == Module::Opac);
        QTest::keyClick(&w, Qt::Key_F1, Qt::ControlModifier);
        QVERIFY(!w.CurrentModuleFrame());
        QTest::keyClick(&w, Qt::Key_F6, Qt::ControlModifier);
        QVERIFY(!w.CurrentModuleFrame());
        QTest::keyClick(&w, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(w.CurrentModuleFrame());
        QCOMPARE(session().CurrentModule, QStringLiteral("FrmCirculation"));
        QTest::keyClick(&w, Qt::Key_F7, Qt::ControlModifier);
        QCOMPARE(w.CurrentModuleFrame()->objectName(), QStringLiteral("FrmOPAC"));
        QCOMPARE(session().CurrentModule, QString());
    }

    // Keys go through the module to the hosted screen; Ctrl+Delete reaches nothing.
    void keyboard_data() { addEngineRows(); }
    void keyboard()
    {
        FIXTURE(f);
        logOnAs(QStringLiteral("admin"), QStringLiteral("secret"));
        TFrmMain w(f.data);
        showActive(w);
        w.Administration();
        TFrmModule *admin = w.CurrentModuleFrame();
        QVERIFY(admin);
        QVERIFY(admin->trigger(QStringLiteral("BtnUtilisateurs")));
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmUtilisateur"));
        QWidget *screen = admin->CurrentScreen();
        QVERIFY(screen);
        auto *grid = screen->findChild<QTableView *>(QStringLiteral("DBGrid1"));
        QVERIFY(grid);
        QCOMPARE(grid->model()->rowCount(), 3);
        grid->setFocus();
        QVERIFY(grid->hasFocus());
        KeySpy spy(grid);
        auto *deleteAction = new QAction(&w);
        deleteAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
        deleteAction->setShortcutContext(Qt::ApplicationShortcut);
        w.addAction(deleteAction);
        bool deleted = false;
        connect(deleteAction, &QAction::triggered, this, [&deleted] { deleted = true; });

        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(spy.keys.isEmpty());
        QVERIFY(!deleted);
        QCOMPARE(f.tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR")).toInt(), 3);

        // Return: taken by the screen's Keyboard (the focus moves), never seen by the grid.
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(spy.keys.isEmpty());
        QVERIFY(!grid->hasFocus());
        // A key the screen does not want goes on to the control.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(spy.keys, QList<int>{Qt::Key_Down});
    }

    // Arabic and back: the desktop is cleared, captions and fonts follow.
    void language_data() { addEngineRows(); }
    void language()
    {
        FIXTURE(f);
        logOnAs(QStringLiteral("admin"), QStringLiteral("secret"));
        TFrmMain w(f.data);
        showActive(w);
        QAbstractButton *acq = w.moduleButton(Module::Acquisition);
        QCOMPARE(acq->text(), QStringLiteral("Acquisitions"));
        QCOMPARE(acq->font().pointSize(), 10);
        QCOMPARE(w.languageButton()->text(), QStringLiteral("AR"));
        w.Administration();
        QVERIFY(w.CurrentModuleFrame()->trigger(QStringLiteral("BtnUtilisateurs")));

        QTest::keyClick(&w, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(session().CurrentLanguage, QStringLiteral("AR"));
        QVERIFY(!w.CurrentModuleFrame());
        QVERIFY(session().CurrentModule.isEmpty());
        QVERIFY(session().CurrentScreen.isEmpty());
        QCOMPARE(w.layoutDirection(), Qt::RightToLeft);
        QCOMPARE(w.languageButton()->text(), QStringLiteral("FR"));
        QVERIFY(LanguageFile().isLoaded());
        QCOMPARE(acq->text(), LanguageFile().caption(QStringLiteral("FrmMain"), QStringLiteral("BtnAcquisition"), {}));
        QVERIFY(acq->text() != QLatin1String("Acquisitions"));
        QCOMPARE(w.windowTitle(), LanguageFile().caption(QStringLiteral("FrmMain"), QStringLiteral("FrmMain"), {}));
        QCOMPARE(acq->font().pointSize(), 11);
        QVERIFY(!isBlue(w.moduleButton(Module::Administration)));

        // A module opened in Arabic: its title and the grid's column titles.
        w.Administration();
        TFrmModule *admin = w.CurrentModuleFrame();
        QCOMPARE(admin->entry(QStringLiteral("BtnUtilisateurs"))->text(),
                 LanguageFile().caption(QStringLiteral("FrmAdministration"), QStringLiteral("BtnUtilisateurs"), {}));
        QVERIFY(admin->trigger(QStringLiteral("BtnUtilisateurs")));
        QCOMPARE(admin->title(), QStringLiteral("الإدارة -المستخدمين"));
        auto *grid = admin->CurrentScreen()->findChild<QTableView *>(QStringLiteral("DBGrid1"));
        QVERIFY(grid);
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(),
                 LanguageFile().caption(QStringLiteral("FrmUtilisateur"), QStringLiteral("DBGrid11"), {}));

        w.SelectLanguage();
        QCOMPARE(session().CurrentLanguage, QStringLiteral("FR"));
        QVERIFY(!w.CurrentModuleFrame());
        QCOMPARE(w.layoutDirection(), Qt::LeftToRight);
        QCOMPARE(acq->text(), QStringLiteral("Acquisitions"));
        QCOMPARE(w.moduleButton(Module::Autorite)->text(), QStringLiteral("Autorités"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Folian - Gestion de bibliothèque"));
        QCOMPARE(w.languageButton()->text(), QStringLiteral("AR"));
        QCOMPARE(acq->font().pointSize(), 10);
    }

    // "Initialisation": asked first; No changes nothing, Yes zeroes every counter.
    void initialisation_data() { addEngineRows(); }
    void initialisation()
    {
        FIXTURE(f);
        Database &db = f.tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, DOC_PRET_INTERNE, "
                                       "DOC_PRET_EXTERNE) VALUES (?, ?, ?, ?)"),
                        {1, QStringLiteral("L'étranger"), 4, 7}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, LEC_STAT_PRET) VALUES (?, ?, ?)"),
                        {QStringLiteral("L001"), QStringLiteral("Haddad"), 5}));
        const QString sum = QStringLiteral("SELECT (SELECT SUM(DOC_PRET_INTERNE + DOC_PRET_EXTERNE) FROM NOTICE)"
                                           " + (SELECT SUM(LEC_STAT_PRET) FROM LECTEUR)");
        QCOMPARE(db.scalar(sum).toInt(), 16);
        logOnAs(QStringLiteral("admin"), QStringLiteral("secret"));
        TFrmMain w(f.data);
        w.Administration();
        TFrmModule *admin = w.CurrentModuleFrame();
        QVERIFY(admin->trigger(QStringLiteral("BtnUtilisateurs")));

        sink.answer = false;
        QVERIFY(admin->trigger(QStringLiteral("BtnInitialisation")));
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Etes-vous sûr de vouloir initialiser les Statistiques de prêt? ")});
        QVERIFY(sink.messages.isEmpty());
        QCOMPARE(db.scalar(sum).toInt(), 16);
        QVERIFY(!admin->CurrentScreen());  // the desktop was cleared first
        QCOMPARE(admin->title(), QStringLiteral("Administration - Initialisation des Statistiques de Prêt"));

        sink.answer = true;
        QVERIFY(admin->trigger(QStringLiteral("BtnInitialisation")));
        QCOMPARE(db.scalar(sum).toInt(), 0);
        QCOMPARE(sink.messages, QStringList{QStringLiteral("L'initialisation des statistiques de prêt est terminer avec succès")});
        QCOMPARE(sink.kinds, QList<MessageKind>{MessageKind::Information});
        QVERIFY(!QApplication::overrideCursor());

        // A failure is reported as one, never as success.
        sink.clear();
        QVERIFY(db.exec(QStringLiteral("DROP TABLE LECTEUR")));
        QVERIFY(admin->trigger(QStringLiteral("BtnInitialisation")));
        QCOMPARE(sink.kinds, QList<MessageKind>{MessageKind::Error});
        QVERIFY(!QApplication::overrideCursor());
    }

    // "Paramètres" is a dialog over the module: the hosted screen stays.
    void parametres_data() { addEngineRows(); }
    void parametres()
    {
        FIXTURE(f);
        logOnAs(QStringLiteral("admin"), QStringLiteral("secret"));
        TFrmMain w(f.data);
        showActive(w);
        w.Administration();
        TFrmModule *admin = w.CurrentModuleFrame();
        QVERIFY(admin->trigger(QStringLiteral("BtnUtilisateurs")));
        QPointer<QWidget> screen = admin->CurrentScreen();
        QString shown;
        QTimer::singleShot(0, this, [&shown] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                shown = dialog->objectName();
                dialog->close();
            }
        });
        QVERIFY(admin->trigger(QStringLiteral("BtnParametres")));
        QCOMPARE(shown, QStringLiteral("FrmParametre"));
        QVERIFY(screen);
        QCOMPARE(admin->CurrentScreen(), screen.data());
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmUtilisateur"));
        QCOMPARE(admin->title(), QStringLiteral("Administration - Utilisateurs"));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
