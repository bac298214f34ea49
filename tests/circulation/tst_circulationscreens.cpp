// The circulation module driven as a librarian would, offscreen, on both
// engines: register readers one after another, find one, update him,
// suspend him and lift it; leave a reader half typed; categories and their
// loan rules; the reader import; who may use which entry.

#include "base/dates.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "circulation/circfixture.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/widgets/frmcategorie.h"
#include "circulation/widgets/frmcirculation.h"
#include "circulation/widgets/frmlecteur.h"
#include "circulation/widgets/frmlecteuradmin.h"
#include "circulation/widgets/frmlecteurimport.h"
#include "circulation/widgets/frmlecteursearch.h"
#include "circulation/widgets/frmreglement.h"
#include "circulation/widgets/frmtransactions.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerhistory.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"
#include "support/screens.h"
#include "support/session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

void type(QWidget *w, const char *name, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(QLatin1String(name));
    QVERIFY2(e, name);
    // As typed: the field's text changes and says the operator edited it.
    e->setText(text);
    emit e->textEdited(text);
}

void choose(QComboBox *combo, const QVariant &key)
{
    const int i = combo->findData(key);
    QVERIFY(i >= 0);
    combo->setCurrentIndex(i);
    emit combo->activated(i);
}

// Runs `drive` on the modal dialog that `open` shows.
template <typename Dialog, typename Open, typename Drive>
void driveModal(Open open, Drive drive)
{
    QTimer::singleShot(0, [drive] {
        if (auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            drive(*d);
            if (d->isVisible())
                d->reject();
        }
    });
    open();
}

// The circulation's manager logged on with a role and rights.
void logOnManager(int role, const QList<Right> &rights = {})
{
    logOn(2, QStringLiteral("resp.pret"), role, rights);
}

} // namespace

class TstCirculationScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

private slots:
    void initTestCase() { setUserDataDirectory(pages.path()); }
    void init() { freshSession(sink, QStringLiteral("FR")); }
    void cleanup() { setMessageSink(nullptr); }

    void registerFindAndAdminister_data() { addEngineRows(); }
    void registerFindAndAdminister()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")) && addCategory(db, 2, QStringLiteral("Enseignant")));
        QVERIFY(addStructure(db, 5, QStringLiteral("Faculté de droit")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager(4);
        TFrmCirculation module(data);
        module.show();

        // Two readers typed one after the other.
        auto *form = openEntry<TFrmLecteur>(module, QStringLiteral("BtnInscription"));
        QVERIFY(form);
        QCOMPARE(module.title(), QStringLiteral("Lecteur - Inscription"));
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmLecteur"));
        QCOMPARE(form->registrationDate()->date(), QDate::currentDate());
        QCOMPARE(form->categoryList()->currentData().toInt(), 1);  // the first category
        const struct {
            const char *id, *nom, *prenom;
            int cat;
        } readers[] = {{"2024-001", "d'Alembert", "Jean", 2}, {" 2024-002 ", "بن علي", "سارة", 1}};
        for (const auto &r : readers) {
            QVERIFY(!form->postButton()->isEnabled());
            type(form, "EdtNumero", QString::fromUtf8(r.id));
            type(form, "EdtNom", QString::fromUtf8(r.nom));
            type(form, "EdtPrenom", QString::fromUtf8(r.prenom));
            QVERIFY(!form->postButton()->isEnabled());  // the date of birth is still missing
            form->birthDate()->setDate(QDate(2001, 4, 12));
            choose(form->categoryList(), r.cat);
            choose(form->structureList(), 5);
            QVERIFY(form->postButton()->isEnabled());
            QVERIFY2(form->BtnPostClick(), qPrintable(sink.messages.join(u'|')));
        }
        QCOMPARE(form->entered()->count(), 2);
        QCOMPARE(form->entered()->item(1)->text(), QStringLiteral("2024-002  بن علي  سارة"));
        QCOMPARE(readerValue(db, QStringLiteral("2024-001"), "CAT_ID").toInt(), 2);
        QCOMPARE(readerValue(db, QStringLiteral("2024-001"), "STR_ID").toInt(), 5);
        QCOMPARE(readerDate(db, QStringLiteral("2024-001"), "LEC_DATE_NAISSANCE"), QDate(2001, 4, 12));
        QCOMPARE(readerDate(db, QStringLiteral("2024-001"), "LEC_DATE_ADHESION"), QDate::currentDate());
        QCOMPARE(readerValue(db, QStringLiteral("2024-001"), "CREATE_USER").toString(), QStringLiteral("resp.pret"));
        QVERIFY(readerValue(db, QStringLiteral("2024-001"), "LEC_TEL").isNull());  // a blank text is no text
        // A number already taken is refused with a clear message; the row stays.
        type(form, "EdtNumero", QStringLiteral("2024-001"));
        type(form, "EdtNom", QStringLiteral("Autre"));
        type(form, "EdtPrenom", QStringLiteral("Personne"));
        form->birthDate()->setDate(QDate(1999, 1, 1));
        QVERIFY(!form->BtnPostClick());
        QCOMPARE(sink.messages.last(), QStringLiteral("Le lecteur \"2024-001\" existe déjà."));
        QCOMPARE(readerValue(db, QStringLiteral("2024-001"), "LEC_NOM").toString(), QStringLiteral("d'Alembert"));
        sink.answer = false;  // leaving: the question is asked, "Non" gives the row up

        // The reader search finds him by his surname.
        auto *search = openEntry<TFrmLecteurSearch>(module, QStringLiteral("BtnRecherche"));
        QVERIFY(search);
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Sauvegardez les modifications ?")});
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM LECTEUR")).toInt(), 2);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmLecteurSearch"));
        search->setCriterion(ReaderCriterion::Nom);
        search->valueField()->setText(QStringLiteral("D'ALEMBERT"));
        // Return in the option panel searches, through the module's key routing.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QVERIFY(module.Keyboard(search->valueField(), &enter));
        QCOMPARE(search->countText(), QStringLiteral("1 lecteur(s)"));
        QCOMPARE(search->grid()->model()->index(0, 0).data().toString(), QStringLiteral("2024-001"));
        QCOMPARE(search->grid()->model()->index(0, 4).data().toString(), QStringLiteral("Normal"));
        QCOMPARE(search->grid()->model()->index(0, 5).data().toString(), QStringLiteral("Enseignant"));

        // "Modifier": the reader form on him; the search comes back with its list.
        search->BtnEditClick();
        QCOMPARE(module.title(), QStringLiteral("Lecteur - Modification du lecteur"));
        form = shownScreen<TFrmLecteur>(module);
        QVERIFY(form && form->isUpdate());
        QCOMPARE(form->field("EdtNumero")->text(), QStringLiteral("2024-001"));
        QVERIFY(form->field("EdtNumero")->isReadOnly());  // his loans name him by it
        type(form, "EdtPrenom", QStringLiteral("Jean-Baptiste"));
        QVERIFY(form->BtnPostClick());
        QCOMPARE(module.CurrentScreen(), search);
        QCOMPARE(module.title(), QStringLiteral("Lecteur - Recherche"));
        QCOMPARE(search->grid()->model()->index(0, 2).data().toString(), QStringLiteral("Jean-Baptiste"));
        QCOMPARE(readerValue(db, QStringLiteral("2024-001"), "UPDATE_USER").toString(), QStringLiteral("resp.pret"));

        // Suspend him, then lift it, as the administration entries do.
        auto *admin = openEntry<TFrmLecteurAdmin>(module, QStringLiteral("BtnSuspLecteur"));
        QCOMPARE(module.title(), QStringLiteral("Administration - Suspension lecteur"));
        QVERIFY(admin && admin->motifField()->isVisibleTo(admin));
        admin->readerField()->setText(QStringLiteral(" 2024-001"));
        admin->motifField()->setText(QStringLiteral("Ouvrage non rendu"));
        admin->BtnValiderClick();
        QCOMPARE(admin->messages()->text(), QStringLiteral("Suspension du lecteur \"2024-001\" effectuée avec succès"));
        QVERIFY(admin->messages()->isSuccess());
        QVERIFY(!admin->motifField()->isEnabled());
        QCOMPARE(admin->shownName(), QStringLiteral("d'Alembert Jean-Baptiste"));
        QCOMPARE(admin->history()->loansHeader(), QStringLiteral(" 0 prêt(s)"));
        QCOMPARE(readerStatus(db, QStringLiteral("2024-001")), 2);
        QCOMPARE(readerValue(db, QStringLiteral("2024-001"), "LEC_MOTIF").toString(), QStringLiteral("Ouvrage non rendu"));
        admin->BtnValiderClick();
        QCOMPARE(admin->messages()->text(), QStringLiteral("Le lecteur \"2024-001\" est déjà suspendu"));
        QVERIFY(!admin->messages()->isSuccess());
        admin->readerField()->setText(QStringLiteral("inconnu"));
        admin->BtnValiderClick();
        QCOMPARE(admin->messages()->text(), QStringLiteral("Le lecteur \"inconnu\" n'existe pas"));

        admin = openEntry<TFrmLecteurAdmin>(module, QStringLiteral("BtnAnnulSuspension"));
        QVERIFY(admin && !admin->motifField()->isVisibleTo(admin));
        admin->readerField()->setText(QStringLiteral("2024-001"));
        admin->BtnValiderClick();
        QCOMPARE(admin->messages()->text(), QStringLiteral("Suspension du lecteur \"2024-001\" annulée avec succès"));
        QCOMPARE(readerStatus(db, QStringLiteral("2024-001")), 0);
    }

    void searchActions_data() { addEngineRows(); }
    void searchActions()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant"), 30));
        for (const char *id : {"120", "121", "122"}) {
            ReaderRow r;
            r.id = QLatin1String(id);
            r.registered = day(-100);
            QVERIFY(addReader(db, r));
        }
        QVERIFY(addCopy(db, 1, QStringLiteral("E1"), QStringLiteral("a"), QStringLiteral("121"), day(4)));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager(4);
        TFrmCirculation module(data);
        module.show();
        auto *search = openEntry<TFrmLecteurSearch>(module, QStringLiteral("BtnRecherche"));
        QVERIFY(search);
        search->valueField()->setText(QStringLiteral("12*"));
        search->Search();
        QCOMPARE(search->countText(), QStringLiteral("3 lecteur(s)"));

        // Re-registration of 120; the clearance certificate refused to 121, who has a loan.
        search->grid()->selectRow(0);
        search->BtnReinscriptionClick();
        QCOMPARE(sink.messages.last(), QStringLiteral("Réinscription du lecteur effectuée avec succès"));
        QCOMPARE(readerDate(db, QStringLiteral("120"), "LEC_DATE_ADHESION"), QDate::currentDate());
        search->grid()->selectRow(1);
        search->BtnQuitusClick();
        QCOMPARE(sink.messages.last(), QStringLiteral("Le lecteur \"121\" a en sa possession des documents."));
        search->grid()->selectRow(2);
        search->BtnQuitusClick();
        QVERIFY(QFile::exists(reportPath(QStringLiteral("quitus.html"))));

        // Deleting the three: the one with a loan stays, and the operator is told why.
        search->grid()->selectAll();
        search->BtnDeleteClick();
        QCOMPARE(sink.questions.last(), QStringLiteral("Supprimer les lecteurs  ?"));
        QCOMPARE(sink.messages.last(),
                 QStringLiteral("Le lecteur \"121\" ne peut pas être supprimé : il a 1 prêt(s), 0 réservation(s) et 0 PEB en cours."));
        QCOMPARE(search->countText(), QStringLiteral("1 lecteur(s)"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM LECTEUR")).toInt(), 1);

        // The printed list.
        search->BtnPrintClick();
        QVERIFY(QFile::exists(reportPath(QStringLiteral("lecteur.html"))));
    }

    void leavingAHalfTypedReader_data() { addEngineRows(); }
    void leavingAHalfTypedReader()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(addCategory(tdb.db(), 1, QStringLiteral("Etudiant")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager(1);
        TFrmCirculation module(data);
        module.show();
        auto *form = openEntry<TFrmLecteur>(module, QStringLiteral("BtnInscription"));
        QVERIFY(form);
        type(form, "EdtNumero", QStringLiteral("A1"));
        type(form, "EdtNom", QStringLiteral("Sans"));
        type(form, "EdtPrenom", QStringLiteral("Date"));
        // No date of birth: given up without a question.
        QVERIFY(module.trigger(QStringLiteral("BtnCategories")));
        QVERIFY(sink.questions.isEmpty());
        QVERIFY(!data.QLecteur->isEditing());
        // Everything typed: "Oui" saves him.
        form = openEntry<TFrmLecteur>(module, QStringLiteral("BtnInscription"));
        QVERIFY(form);
        type(form, "EdtNumero", QStringLiteral("A2"));
        type(form, "EdtNom", QStringLiteral("Complet"));
        type(form, "EdtPrenom", QStringLiteral("Oui"));
        form->birthDate()->setDate(QDate(1980, 2, 3));
        QVERIFY(module.trigger(QStringLiteral("BtnStructure")));
        QCOMPARE(sink.questions.size(), 1);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT LEC_ID FROM LECTEUR")).toString(), QStringLiteral("A2"));
        QVERIFY(!data.QLecteur->isEditing());
        QVERIFY(session().CurrentScreen.isEmpty());  // the structures screen takes no keys
        QKeyEvent f6(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier);
        QVERIFY(!module.Keyboard(module.CurrentScreen(), &f6));
    }

    // What a reader holds, as the administration screen and the loan desk show it.
    void readerHistory_data() { addEngineRows(); }
    void readerHistory()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        ReaderRow r;
        r.id = QStringLiteral("L1");
        QVERIFY(addReader(db, r));
        QVERIFY(addCopy(db, 1, QStringLiteral("E1"), QStringLiteral("a"), QStringLiteral("L1"), day(-2)));       // overdue
        QVERIFY(addCopy(db, 2, QStringLiteral("E2"), QStringLiteral("a"), QStringLiteral("L1"), day(3), {}, 3)); // in house
        QVERIFY(addCopy(db, 3, QStringLiteral("E3"), QStringLiteral("b"), none(), none(), QStringLiteral("L1")));  // back, held
        QVERIFY(addInterLibraryLoan(db, 1, QStringLiteral("L1"), day(-1)));
        QVERIFY(addInterLibraryLoan(db, 2, QStringLiteral("L1"), day(-9), 1));  // returned
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        ReaderHistory history(data);
        QCOMPARE(history.loansHeader(), QStringLiteral("Prêt"));
        history.showReader(QStringLiteral("L1"), QDate::currentDate());
        QCOMPARE(history.loansHeader(), QStringLiteral(" 2 prêt(s)"));
        QCOMPARE(history.reservationsHeader(), QStringLiteral(" 1 réservation(s)"));
        QCOMPARE(history.interLibraryHeader(), QStringLiteral(" 1 peb(s)"));
        QAbstractItemModel *loans = history.loans()->model();
        QCOMPARE(loans->index(0, 2).data().toString(), QStringLiteral("Titre 1"));
        QCOMPARE(loans->index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QVERIFY(!loans->index(1, 0).data(Qt::ForegroundRole).isValid());
        QCOMPARE(loans->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xc0, 0xc0, 0xc0));
        QCOMPARE(history.reservations()->model()->index(0, 3).data().toString(), QStringLiteral("Restitué"));
        QCOMPARE(history.interLibrary()->model()->index(0, 3).data().toString(), QString());  // no such library
        QCOMPARE(history.interLibrary()->model()->index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::red));
        session().setLanguage(QStringLiteral("AR"));
        history.refreshHeaders();
        QCOMPARE(history.loansHeader(), circ::historyLoans(2));
        QCOMPARE(history.loansHeader(), QStringLiteral(" ") + IsolatedNumber(2) + QStringLiteral(" إعارة"));
        history.clear();
        QCOMPARE(history.interLibraryHeader(), QStringLiteral("الإعارة بين المكتبات"));
    }

    // The reader screens follow the language: the search's record buttons
    // read from where the language starts (in Arabic "first" is the
    // rightmost and points to the right), while a day field reads
    // DD/MM/YYYY left to right in both.
    void readerScreensFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("French") << QStringLiteral("FR");
        QTest::newRow("Arabic") << QStringLiteral("AR");
    }
    void readerScreensFollowTheLanguage()
    {
        QFETCH(QString, language);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        freshSession(sink, language);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager(1, {});
        TFrmCirculation module(data);
        module.show();
        module.RechercheLecteur();
        auto *search = shownScreen<TFrmLecteurSearch>(module);
        QVERIFY(search);
        QList<QPushButton *> buttons;
        for (const char *name : {"BtnFirst", "BtnPrior", "BtnNext", "BtnLast"})
            buttons << search->findChild<QPushButton *>(QLatin1String(name));
        const bool arabic = language == QLatin1String("AR");
        for (int i = 1; i < buttons.size(); ++i) {
            const int before = buttons.at(i - 1)->mapTo(search, QPoint()).x(), after = buttons.at(i)->mapTo(search, QPoint()).x();
            QVERIFY2(arabic ? before > after : before < after, qPrintable(buttons.at(i)->objectName()));
        }
        QCOMPARE(buttons.first()->text(), arabic ? QStringLiteral(">|") : QStringLiteral("|<"));
        QCOMPARE(buttons.last()->text(), arabic ? QStringLiteral("|<") : QStringLiteral(">|"));

        module.LecteurNew();
        auto *form = shownScreen<TFrmLecteur>(module);
        QVERIFY(form);
        const QDate day = form->registrationDate()->date();
        QVERIFY(day.isValid());
        QCOMPARE(form->registrationDate()->text(), ShowDate(day));
        QCOMPARE(form->registrationDate()->layoutDirection(), Qt::LeftToRight);
    }

    void entriesFollowTheRights()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager(7, {Right::CirculTransact});
        TFrmCirculation module(data);
        for (const char *name : {"BtnInscription", "BtnImportation", "BtnEnregistrementPeb", "BtnCategories",
                                 "BtnStructure", "BtnAnnulPenalite", "BtnSuspLecteur", "BtnAnnulSuspension"})
            QVERIFY2(!module.entry(QLatin1String(name))->isEnabled(), name);
        QVERIFY(module.entryPermitted(QStringLiteral("BtnPret")) && module.entryPermitted(QStringLiteral("BtnEditions")));
        QVERIFY(module.entry(QStringLiteral("BtnRecherche"))->isEnabled());
        module.start();  // the loan desk for a user who may lend
        QVERIFY(shownScreen<TFrmTransactions>(module));
        module.RechercheLecteur();
        auto *search = shownScreen<TFrmLecteurSearch>(module);
        QVERIFY(search);
        for (const char *name : {"BtnEdit", "BtnDelete", "BtnReinscription", "BtnQuitus"})
            QVERIFY2(!search->findChild<QPushButton *>(QLatin1String(name))->isEnabled(), name);
        // The entries he may not use open nothing, even called directly.
        module.SuspLecteur();
        module.Categories();
        module.LecteurNew();
        QCOMPARE(module.CurrentScreen(), search);
    }

    void categoriesAndRules_data() { addEngineRows(); }
    void categoriesAndRules()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        QVERIFY(addRule(db, 1, QStringLiteral("a")));
        ReaderRow r;
        r.id = QStringLiteral("L1");
        QVERIFY(addReader(db, r));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager(4);
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmCategorie>(module, QStringLiteral("BtnCategories"));
        QVERIFY(screen);
        Dataset *categories = data.QCategorie;
        DatasetModel *model = screen->model();

        // The reserved category: its label cannot be typed in, it is not deleted, without a question.
        screen->Search(QStringLiteral("Resp"));
        QCOMPARE(categories->value(QStringLiteral("CAT_ID")).toInt(), 9);
        const int row9 = categories->currentRow();
        QVERIFY(!(model->flags(model->index(row9, 0)) & Qt::ItemIsEditable));
        QVERIFY(model->flags(model->index(row9, 1)) & Qt::ItemIsEditable);
        screen->BtnDeleteClick();
        QVERIFY(sink.questions.isEmpty());
        QCOMPARE(sink.messages.last(), QStringLiteral("Suppression impossible de cette catégorie "));
        // A category with readers stays, and the operator is told why.
        screen->Search(QStringLiteral("Etu"));
        screen->BtnDeleteClick();
        QCOMPARE(sink.questions.last(), QStringLiteral("Supprimer la catégorie \"Etudiant\" ?"));
        QCOMPARE(sink.messages.last(), QStringLiteral("La catégorie \"Etudiant\" ne peut pas être supprimée : 1 lecteur(s) y sont inscrits."));

        // A new category typed in the grid; the proportional penalty ticked by a click.
        screen->BtnAppendClick();
        const int row = categories->currentRow();
        QVERIFY(model->setData(model->index(row, 0), QStringLiteral("Visiteur")));
        QVERIFY(model->setData(model->index(row, 1), 90));
        screen->BtnPostClick();
        const int id = db.scalar(QStringLiteral("SELECT CAT_ID FROM CATEGORIE WHERE CAT_LIBELLE = 'Visiteur'")).toInt();
        QCOMPARE(id, 10);
        QVERIFY(categories->locate(QStringLiteral("CAT_ID"), id));
        screen->ToggleProportional(categories->currentRow());
        QCOMPARE(db.scalar(QStringLiteral("SELECT CAT_PENALITE_PROP FROM CATEGORIE WHERE CAT_ID = 10")).toInt(), 1);
        QCOMPARE(model->index(categories->currentRow(), 3).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

        // Its rules: a type already ruled is refused with a clear message, another one is saved.
        QVERIFY(categories->locate(QStringLiteral("CAT_ID"), 1));
        QCOMPARE(screen->rules()->model()->rowCount(), 1);
        QString refusal;
        driveModal<TFrmReglement>([&] { screen->BtnAppendRuleClick(); }, [&](TFrmReglement &sheet) {
            QVERIFY(!sheet.postButton()->isEnabled());
            for (const char *n : {"EdtDocument", "EdtPret", "EdtProlongation", "EdtReservation"})
                QTest::keyClicks(sheet.number(n), QStringLiteral("7"));
            QVERIFY(sheet.postButton()->isEnabled());
            sheet.BtnPostClick();  // no type
            refusal = sink.messages.last();
            choose(sheet.typeList(), QStringLiteral("a"));
            sheet.BtnPostClick();
            QVERIFY(sheet.isVisible());
            refusal += u'|' + sink.messages.last();
            choose(sheet.typeList(), QStringLiteral("b"));
            sheet.BtnPostClick();
        });
        QCOMPARE(refusal, QStringLiteral("Le champ type de document est obligatoire.|"
                                         "Cette catégorie a déjà un règlement pour le type de document \"Monographie\"."));
        QCOMPARE(db.scalar(QStringLiteral("SELECT REG_PRET FROM REGLEMENT WHERE CAT_ID = 1 AND TYP_ID = 'b'")).toInt(), 7);
        QCOMPARE(screen->rules()->model()->rowCount(), 2);
    }

    void importScreen_data() { addEngineRows(); }
    void importScreen()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(addCategory(tdb.db(), 1, QStringLiteral("Etudiant")) && addStructure(tdb.db(), 4, QStringLiteral("Droit")));
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("lecteurs.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("B1;Bouzid;Amel;2000-01-02\nB1;Encore;Lui\n;Sans;Numéro\nB2;بلعيد;مصطفى\n").toUtf8());
        f.close();
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager(4);
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmLecteurImport>(module, QStringLiteral("BtnImportation"));
        QVERIFY(screen);
        QVERIFY(!screen->importButton()->isEnabled());  // no file yet
        screen->fileField()->setText(f.fileName());
        choose(screen->structureList(), 4);
        QVERIFY(screen->importButton()->isEnabled());
        screen->BtnImportClick();
        QCOMPARE(sink.messages.last(), QStringLiteral("Importation terminé.\n4 ligne(s) lue(s), 2 lecteur(s) importé(s), 2 ligne(s) rejetée(s)."));
        QCOMPARE(screen->rejected()->count(), 2);
        QCOMPARE(screen->rejected()->item(0)->text(), circ::importSkippedLine(2, circ::importDuplicateInFile(QStringLiteral("B1"), 1)));
        QCOMPARE(readerValue(tdb.db(), QStringLiteral("B2"), "STR_ID").toInt(), 4);
        QVERIFY(screen->importButton()->isEnabled());
    }
};

QTEST_MAIN(TstCirculationScreens)
#include "tst_circulationscreens.moc"
