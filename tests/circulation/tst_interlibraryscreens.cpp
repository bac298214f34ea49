// The inter-library screens driven offscreen as an operator: the libraries
// screen of the administration module with its correspondents and the
// question on leaving, the registration and the return of the circulation
// module's "PEB" entries with their red and blue messages and lists.

#include "admin/widgets/frmadministration.h"
#include "app/widgets/modules.h"
#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/libraries.h"
#include "circulation/interlibraryfixture.h"
#include "circulation/widgets/frmbibliotheque.h"
#include "circulation/widgets/frmcirculation.h"
#include "circulation/widgets/frmdetailbib.h"
#include "circulation/widgets/frmpebinscription.h"
#include "circulation/widgets/frmpebretour.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerhistory.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"
#include "support/screens.h"
#include "support/session.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

// Return in a field, routed by the module frame.
void enter(TFrmModule &module, QWidget *field)
{
    if (!pressKey(module, field, Qt::Key_Return))
        qWarning("Return not taken by the screen");
}

// Fills the modal correspondent sheet when it shows, and saves it.
void answerSheet(const QString &number, const QString &surname)
{
    QTimer::singleShot(0, [number, surname] {
        auto *sheet = qobject_cast<TFrmDetailBib *>(QApplication::activeModalWidget());
        if (!sheet) {
            qWarning("no correspondent sheet");
            return;
        }
        sheet->field("EdtNumero")->setText(number);
        sheet->field("EdtNom")->setText(surname);
        sheet->field("EdtPrenom")->setText(QStringLiteral("Karim"));
        sheet->field("EdtPassword")->setText(QStringLiteral("motdepasse"));
        sheet->BtnPostClick();
    });
}

} // namespace

class TstInterLibraryScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        logOn(1, QStringLiteral("admin"), 7, {Right::CirculPeb});
    }
    void cleanup() { setMessageSink(nullptr); }

    void librariesScreen_data() { addEngineRows(); }
    void librariesScreen()
    {
        QFETCH(QString, engine);
        logOn(1, QStringLiteral("admin"), 1);  // the administration module is the administrator's
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(addCorrespondentRow(db, QStringLiteral("R1"), 2));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        installModuleScreens();
        TFrmAdministration module(data);
        module.show();
        auto *screen = openEntry<TFrmBibliotheque>(module, QStringLiteral("BtnBibliotheques"));
        QVERIFY(screen);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmBibliotheque"));
        QCOMPARE(module.title(), QStringLiteral("Administration - Bibliothèques"));
        // The namesakes are told apart by their supervising body; the second one's correspondent is listed.
        QCOMPARE(screen->libraries()->model()->rowCount(), 2);
        QCOMPARE(screen->currentLibrary(), 1);
        QVERIFY(screen->field("EdtNom")->isReadOnly());
        QCOMPARE(screen->correspondents()->model()->rowCount(), 0);
        screen->libraries()->setCurrentIndex(screen->libraries()->model()->index(1, 0));
        QCOMPARE(screen->currentLibrary(), 2);
        QCOMPARE(screen->field("EdtTutelle")->text(), QStringLiteral("Université B"));
        QCOMPARE(screen->correspondents()->model()->rowCount(), 1);

        // A third library with A's name and body is refused and stays as typed.
        screen->BtnAjouterClick();
        QVERIFY(screen->isPending());
        typeText(screen->field("EdtNom"), QStringLiteral("Bibliothèque centrale"));
        typeText(screen->field("EdtTutelle"), QStringLiteral("Université A"));
        QVERIFY(!screen->BtnEnregistrerClick());
        QCOMPARE(sink.messages.last(), circ::libraryExists());
        QVERIFY(screen->isPending());
        QCOMPARE(libraryCount(db), 2);
        // Leaving for the users: the question, "Oui" saves the library once corrected.
        typeText(screen->field("EdtTutelle"), QStringLiteral("Ministère"));
        QVERIFY(module.trigger(QStringLiteral("BtnUtilisateurs")));
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Sauvegardez les modifications ?")});
        QCOMPARE(libraryCount(db), 3);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmUtilisateur"));

        // Back to the libraries: "Non" on leaving gives the typed one up.
        screen = openEntry<TFrmBibliotheque>(module, QStringLiteral("BtnBibliotheques"));
        QVERIFY(screen);
        screen->BtnAjouterClick();
        typeText(screen->field("EdtNom"), QStringLiteral("Annexe"));
        sink.answer = false;
        QVERIFY(module.trigger(QStringLiteral("BtnUtilisateurs")));
        QCOMPARE(libraryCount(db), 3);
        sink.answer = true;

        // A correspondent through the sheet, then the deletions.
        screen = openEntry<TFrmBibliotheque>(module, QStringLiteral("BtnBibliotheques"));
        QVERIFY(screen);
        screen->libraries()->setCurrentIndex(screen->libraries()->model()->index(0, 0));
        const int library = screen->currentLibrary();
        QVERIFY(library > 0);
        answerSheet(QStringLiteral("R7"), QStringLiteral("Mansour"));
        screen->BtnNouveauRespClick();
        QCOMPARE(readerValue(db, QStringLiteral("R7"), "BIB_ID").toInt(), library);
        QCOMPARE(screen->correspondents()->model()->rowCount(), 1);
        QCOMPARE(data.QLecteur->value(QStringLiteral("LEC_ID")).toString(), QStringLiteral("R7"));
        QVERIFY(correspondentPasswordMatches(db, QStringLiteral("R7"), QStringLiteral("motdepasse")));
        // A number already taken: the sheet says so and stays open.
        sink.clear();
        answerSheet(QStringLiteral("A"), QStringLiteral("Autre"));
        QTimer::singleShot(10, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                static_cast<QDialog *>(w)->reject();
        });
        screen->BtnNouveauRespClick();
        QCOMPARE(sink.messages, QStringList{circ::correspondentNumberTaken()});
        QCOMPARE(readerValue(db, QStringLiteral("A"), "BIB_ID").toInt(), 0);

        sink.clear();
        QVERIFY(addPeb(db, 1, QStringLiteral("P1"), library, QStringLiteral("A"), day(3), 1));
        screen->BtnSupprimerClick();
        QCOMPARE(sink.questions.size(), 1);
        QVERIFY(sink.questions.first().startsWith(QStringLiteral("Etes-vous sûr de vouloir supprimer la Bibliothéque ")));
        QVERIFY(sink.messages.value(0).startsWith(circ::libraryNotDeletable()));
        QCOMPARE(screen->currentLibrary(), library);
        QVERIFY(db.exec(QStringLiteral("DELETE FROM PEB")));
        screen->BtnSupprimerRespClick();
        QCOMPARE(sink.questions.last(), QStringLiteral("Etes-vous sûr de vouloir supprimer le Responsable Mansour?"));
        QVERIFY(readerValue(db, QStringLiteral("R7"), "LEC_ID").isNull());
        screen->BtnSupprimerClick();
        QCOMPARE(libraryCount(db), 2);
        QVERIFY(screen->currentLibrary() != library);
    }

    void registrationScreen_data() { addEngineRows(); }
    void registrationScreen()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(addPeb(db, 1, QStringLiteral("OLD"), 1, QStringLiteral("B"), day(-2)));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmPEBInscription>(module, QStringLiteral("BtnEnregistrementPeb"));
        QVERIFY(screen);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmPEBInscription"));
        QCOMPARE(module.title(), QStringLiteral("PEB - Enregistrement"));
        MessageArea *msg = screen->messages();
        QCOMPARE(screen->libraryList()->count(), 3);  // none, then both namesakes
        QVERIFY(!screen->saveButton()->isEnabled());

        // A reader late with an inter-library loan is refused, in red.
        typeText(screen->readerField(), QStringLiteral("B"));
        enter(module, screen->readerField());
        QVERIFY(!msg->isSuccess());
        QCOMPARE(msg->text(), circ::readerOverduePeb(QStringLiteral("B")));
        QCOMPARE(screen->history()->interLibraryHeader(), circ::historyInterLibrary(1));

        // Reader A: in good standing; every field filled enables "Enregistrer".
        typeText(screen->readerField(), QStringLiteral("A"));
        QCOMPARE(screen->history()->interLibraryHeader(), circ::historyInterLibrary(-1));
        enter(module, screen->readerField());
        QVERIFY(msg->isSuccess());
        QCOMPARE(screen->shownName(), QStringLiteral("Nom Prénom"));
        typeText(screen->copyField(), QStringLiteral("P-9"));
        typeText(screen->titleField(), QStringLiteral("Muqaddima"));
        typeText(screen->authorField(), QStringLiteral("Ibn Khaldoun"));
        screen->chooseLibrary(2);
        QVERIFY(!screen->saveButton()->isEnabled());
        typeText(screen->dueField(), QStringLiteral("31/02/2031"));
        QVERIFY(screen->saveButton()->isEnabled());
        enter(module, screen->dueField());
        QVERIFY(!msg->isSuccess());
        QVERIFY(msg->text().startsWith(QStringLiteral("La date de retour \"31/02/2031\" n'est pas une date")));
        QCOMPARE(openLoans(db, QStringLiteral("P-9")), 0);

        const QDate due = today().addDays(20);
        typeText(screen->dueField(), due.toString(QStringLiteral("dd/MM/yyyy")));
        screen->BtnEnregistrerClick();
        QVERIFY(msg->isSuccess());
        QCOMPARE(msg->text(), circ::loanDone(QStringLiteral("P-9")));
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM PEB WHERE PEB_EXP_ID = 'P-9' AND BIB_ID = 2 AND LEC_ID = 'A'")), 1);
        QCOMPARE(screen->history()->interLibraryHeader(), circ::historyInterLibrary(1));
        QVERIFY(screen->copyField()->text().isEmpty() && screen->titleField()->text().isEmpty());
        QVERIFY(screen->chosenLibrary().isNull());
        QCOMPARE(screen->readerField()->text(), QStringLiteral("A"));
        QVERIFY(!screen->saveButton()->isEnabled());
    }

    void returnScreen_data() { addEngineRows(); }
    void returnScreen()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(db.exec(QStringLiteral("UPDATE CATEGORIE SET CAT_PENALITE = 0 WHERE CAT_ID = 1")));
        QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 1, QStringLiteral("A"), day(-2)));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmPEBRetour>(module, QStringLiteral("BtnRetourPeb"));
        QVERIFY(screen);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmPEBRetour"));
        MessageArea *msg = screen->messages();

        // At the namesake library the copy is not on loan.
        typeText(screen->copyField(), QStringLiteral("P1"));
        screen->chooseLibrary(2);
        enter(module, screen->copyField());
        QVERIFY(!msg->isSuccess());
        QCOMPARE(msg->text(), circ::interLibraryNotFound());
        QCOMPARE(screen->history()->interLibraryHeader(), circ::historyInterLibrary(-1));
        QCOMPARE(openLoans(db, QStringLiteral("P1")), 1);

        // At the right one: returned late, penalised until today whatever the category says.
        screen->chooseLibrary(1);
        screen->BtnEnregistrerClick();
        QVERIFY(!msg->isSuccess());
        QCOMPARE(msg->text(), circ::interLibraryReturnPenalised(QStringLiteral("A"), today()));
        QCOMPARE(screen->shownName(), QStringLiteral("Nom Prénom"));
        QCOMPARE(screen->history()->interLibraryHeader(), circ::historyInterLibrary(0));
        QCOMPARE(readerStatus(db, QStringLiteral("A")), 1);
        QVERIFY(screen->copyField()->text().isEmpty());
        QVERIFY(screen->chosenLibrary().isNull());
    }

    void entriesFollowTheRight()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().setRight(Right::CirculPeb, false);
        session().setRight(Right::CirculTransact, true);
        TFrmCirculation module(data);
        QVERIFY(!module.trigger(QStringLiteral("BtnEnregistrementPeb")));
        QVERIFY(!module.trigger(QStringLiteral("BtnRetourPeb")));
        QVERIFY(module.CurrentScreen() == nullptr);
        session().setRight(Right::CirculPeb, true);
        TFrmCirculation allowed(data);
        QVERIFY(allowed.trigger(QStringLiteral("BtnRetourPeb")));
    }
};

QTEST_MAIN(TstInterLibraryScreens)
#include "tst_interlibraryscreens.moc"
