// The record form when things go wrong or are not allowed, offscreen, on
// both engines: unsaved work kept when it cannot be saved, satellite
// commands that stop when the record cannot be saved, a sheet that stays
// open with what was typed, copies on loan, the rights, the parent record
// chosen in its dialog with the form's own lists intact, the opening of
// resources and the module's menu.

#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/core/resources.h"
#include "catalogue/widgets/frmbulletinsearch.h"
#include "catalogue/widgets/frmcatalogage.h"
#include "catalogue/widgets/frmnotice.h"
#include "catalogue/widgets/noticeholdings.h"
#include "data/core/searchcolumns.h"
#include "data/core/shareddata.h"
#include "formdriver.h"
#include "recordfixture.h"

#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>

using namespace folian;
using namespace folian::test;

namespace {

// Makes every insert into NOTICE fail, as a lost connection or a full disk would.
bool refuseRecordInserts(Database &db, bool on)
{
    const bool pg = db.dialect().isPostgres();
    if (!on)
        return db.exec(pg ? QStringLiteral("DROP TRIGGER no_insert ON NOTICE") : QStringLiteral("DROP TRIGGER no_insert"));
    if (pg && !db.exec(QStringLiteral("CREATE OR REPLACE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'refused'; "
                                      "END $$ LANGUAGE plpgsql")))
        return false;
    return db.exec(pg ? QStringLiteral("CREATE TRIGGER no_insert BEFORE INSERT ON NOTICE FOR EACH ROW EXECUTE FUNCTION refuse()")
                      : QStringLiteral("CREATE TRIGGER no_insert BEFORE INSERT ON NOTICE BEGIN SELECT RAISE(ABORT, 'refused'); END"));
}

bool addRecord(Database &db, int id, const char *type, const QString &title, const QString &creator = QStringLiteral("other"))
{
    return db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, CREATE_USER, LAN_ID, STA_ID) "
                                  "VALUES (?, ?, ?, ?, 'fre', 1)"),
                   {id, QLatin1String(type), title, creator});
}

} // namespace

class TstRecordFormCases : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        session() = Session();
        sink.clear();
        sink.answer = true;
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    // "Yes" then a failed save: the form stays with the work and the message.
    // "No": the work is cancelled. No title: cancelled without a question.
    void leavingUnsavedWork_data() { addEngineRows(); }
    void leavingUnsavedWork()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(3, {});
        TFrmCatalogage module(fx.data);
        module.resize(1200, 760);
        module.show();
        QVERIFY(module.trigger(QStringLiteral("BtnNouvelleNotice")));
        TFrmNotice *form = module.recordForm();
        QVERIFY(form);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmNotice"));
        typeInto(form, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Le fils du pauvre"));
        QVERIFY(refuseRecordInserts(tdb.db(), true));

        QVERIFY(module.trigger(QStringLiteral("BtnNouvelleNotice")));
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Sauvegardez les modifications ?")});
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().startsWith(QStringLiteral("Erreur d'enregistrement.")));
        QCOMPARE(module.recordForm(), form);  // kept, with the work
        QCOMPARE(child<QLineEdit>(form, QStringLiteral("DOC_TITRE_PROPRE"))->text(), QStringLiteral("Le fils du pauvre"));
        QCOMPARE(fx.data.QNotice->state(), Dataset::State::Insert);

        QVERIFY(refuseRecordInserts(tdb.db(), false));
        sink.clear();
        sink.answer = false;
        QVERIFY(module.trigger(QStringLiteral("BtnNouvelleNotice")));
        QCOMPARE(sink.questions.size(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(module.recordForm() != nullptr);
        QVERIFY(module.recordForm() != form);
        QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE").toInt(), 0);
        QCOMPARE(fx.data.QNotice->state(), Dataset::State::Insert);  // the new form's record

        // A record without a title is dropped without a question.
        sink.clear();
        QVERIFY(module.trigger(QStringLiteral("BtnNouvelleNotice")));
        QVERIFY(sink.questions.isEmpty());

        // "Yes" and a save that works: stored, and "Enregistrer" goes back to the desktop.
        sink.answer = true;
        form = module.recordForm();
        typeInto(form, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("La terre et le sang"));
        click(form, QStringLiteral("BtnPost"));
        QCoreApplication::processEvents();
        QCOMPARE(fx.scalar("SELECT DOC_TITRE_PROPRE FROM NOTICE").toString(), QStringLiteral("La terre et le sang"));
        QVERIFY(module.recordForm() == nullptr);
        QCOMPARE(session().CurrentScreen, QString());
    }

    // A text too long for its column is refused with the field's name, never cut.
    void tooLongIsRefusedNotCut_data() { addEngineRows(); }
    void tooLongIsRefusedNotCut()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        TFrmNotice form(fx.data);
        form.show();
        form.Append();
        typeInto(&form, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Nedjma"));
        // A paste of 501 characters into a title of 500.
        auto *title = child<QLineEdit>(&form, QStringLiteral("DOC_TITRE_PROPRE"));
        const QString pasted(501, u'é');
        title->setText(pasted);
        QCOMPARE(title->text(), pasted);  // the box does not cut it
        emit title->textEdited(pasted);
        emit title->editingFinished();
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY2(sink.messages.first().contains(QStringLiteral("« Titre propre »"))
                     && sink.messages.first().contains(QStringLiteral("500")),
                 qPrintable(sink.messages.first()));
        QCOMPARE(fx.data.QNotice->value(QStringLiteral("DOC_TITRE_PROPRE")).toString(), QStringLiteral("Nedjma"));
        click(&form, QStringLiteral("BtnPost"));
        QCOMPARE(fx.scalar("SELECT DOC_TITRE_PROPRE FROM NOTICE").toString(), QStringLiteral("Nedjma"));
    }

    // Subjects and indices modified and deleted through their lists.
    void subjectsAndIndices_data() { addEngineRows(); }
    void subjectsAndIndices()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        Database &db = tdb.db();
        QVERIFY(addRecord(db, 1, "a", QStringLiteral("Le fils du pauvre")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO CLASSIFICATION (CLA_ID, CLA_LIBELLE) VALUES ('920', 'Biographies')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (1, 1, 4)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) VALUES (1, 1, '843')")));
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        Pickers pickers;
        TFrmNotice form(fx.data);
        form.show();
        form.Edit();
        // A rejected form chosen in place of the subject: the accepted one is linked.
        pickers.push(fx.rejectedSubject, fx.subject);
        click(&form, QStringLiteral("BtnModifierMatiere"));
        QCOMPARE(pickers.requests.last().text, QStringLiteral("Enfance -- Algérie*"));
        QCOMPARE(pickers.requests.last().mode, 2);
        QCOMPARE(fx.scalar("SELECT VED_ID FROM NOTICE_MATIERE").toInt(), fx.subject);
        pickers.push(QStringLiteral("920"));
        click(&form, QStringLiteral("BtnModifierIndice"));
        QCOMPARE(pickers.requests.last().list, PickList::Classification);
        QCOMPARE(pickers.requests.last().text, QStringLiteral("843"));
        QCOMPARE(fx.scalar("SELECT CLA_ID FROM NOTICE_CLASSIFICATION").toString(), QStringLiteral("920"));
        auto *indices = child<QTableView>(&form, QStringLiteral("GrdIndice"));
        QCOMPARE(indices->model()->data(indices->model()->index(0, 1)).toString(), QStringLiteral("Biographies"));
        // A choice cancelled in the list adds nothing.
        pickers.cancel();
        click(&form, QStringLiteral("BtnAjouterMatiere"));
        QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE_MATIERE").toInt(), 1);
        sink.answer = false;
        click(&form, QStringLiteral("BtnSupprimerMatiere"));
        QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE_MATIERE").toInt(), 1);
        sink.answer = true;
        click(&form, QStringLiteral("BtnSupprimerMatiere"));
        click(&form, QStringLiteral("BtnSupprimerIndice"));
        QCOMPARE(sink.questions, (QStringList{QStringLiteral("Supprimer la vedette matière ?"),
                                              QStringLiteral("Supprimer la vedette matière ?"),
                                              QStringLiteral("Supprimer l'indice ?")}));
        QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE_MATIERE").toInt() + fx.scalar("SELECT COUNT(*) FROM NOTICE_CLASSIFICATION").toInt(), 0);
        QVERIFY(!child<QPushButton>(&form, QStringLiteral("BtnSupprimerIndice"))->isEnabled());
    }

    // Every satellite command saves the record first and stops when it cannot.
    void satelliteCommandsStopWhenTheRecordCannotBeSaved_data() { addEngineRows(); }
    void satelliteCommandsStopWhenTheRecordCannotBeSaved()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        Pickers pickers;
        pickers.push(fx.author);
        TFrmNotice form(fx.data);
        form.show();
        form.Append();
        // No title yet: said, nothing chosen.
        click(&form, QStringLiteral("BtnAjouterAuteur"));
        QCOMPARE(sink.messages, QStringList{QStringLiteral("Le titre propre est obligatoire.")});
        QVERIFY(pickers.requests.isEmpty());
        typeInto(&form, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Nedjma"));
        QVERIFY(refuseRecordInserts(tdb.db(), true));
        for (const char *button : {"BtnAjouterAuteur", "BtnAjouterMatiere", "BtnAjouterIndice", "BtnAjouterExemplaire",
                                   "BtnAjouterBulletin", "BtnAjouterRessource", "BtnCompter"}) {
            sink.clear();
            ModalHandler sheet([](QDialog *d) { d->reject(); });
            click(&form, QLatin1String(button));
            QCOMPARE(sheet.handled, 0);
            QCOMPARE(sink.messages.size(), 1);
            QVERIFY2(sink.messages.first().startsWith(QStringLiteral("Erreur d'enregistrement.")), button);
        }
        QVERIFY(pickers.requests.isEmpty());
        QCOMPARE(fx.data.QNotice->state(), Dataset::State::Insert);
        QVERIFY(!fx.data.QAuteur->isOpen() || !fx.data.QAuteur->isEditing());
        QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE_AUTEUR").toInt(), 0);
    }

    // A sheet whose post fails stays open with what was typed; a value the
    // column refuses is named by its caption.
    void sheetStaysOpenWhenItsPostFails_data() { addEngineRows(); }
    void sheetStaysOpenWhenItsPostFails()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        QVERIFY(addRecord(tdb.db(), 1, "a", QStringLiteral("Le Quai aux fleurs")));
        QVERIFY(addRecord(tdb.db(), 2, "a", QStringLiteral("Autre")));
        QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID) VALUES ('C-1', 2)")));
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        TFrmNotice form(fx.data);
        form.show();
        form.Edit();
        bool stayed = false;
        ModalHandler h([&](QDialog *d) {
            typeInto(d, QStringLiteral("EXP_PRIX"), QStringLiteral("douze"));
            QVERIFY(!sink.messages.isEmpty());
            QVERIFY2(sink.messages.last().contains(QStringLiteral("« Prix »")), qPrintable(sink.messages.last()));
            typeInto(d, QStringLiteral("EXP_COTE"), QStringLiteral("843 FER"));
            typeInto(d, QStringLiteral("EXP_ID"), QStringLiteral("C-1"));  // another record's copy number
            sink.clear();
            click(d, QStringLiteral("BtnPost"));
            stayed = d->isVisible() && child<QLineEdit>(d, QStringLiteral("EXP_ID"))->text() == QLatin1String("C-1")
                && child<QLineEdit>(d, QStringLiteral("EXP_COTE"))->text() == QLatin1String("843 FER");
            QCOMPARE(sink.messages.size(), 1);
            QVERIFY(sink.messages.first().startsWith(QStringLiteral("Erreur d'enregistrement.")));
            typeInto(d, QStringLiteral("EXP_ID"), QStringLiteral("C-2"));
            click(d, QStringLiteral("BtnPost"));
        });
        click(&form, QStringLiteral("BtnAjouterExemplaire"));
        QCOMPARE(h.handled, 1);
        QVERIFY(stayed);
        QCOMPARE(fx.scalar("SELECT DOC_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'C-2'").toInt(), 1);
        QCOMPARE(fx.scalar("SELECT EXP_COTE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'C-2'").toString(), QStringLiteral("843 FER"));
        QCOMPARE(fx.scalar("SELECT DOC_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'C-1'").toInt(), 2);
    }

    // A copy on loan is neither modified nor deleted, with the reason; a
    // free one is deleted after the question.
    void copiesOnLoan_data() { addEngineRows(); }
    void copiesOnLoan()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        Database &db = tdb.db();
        QVERIFY(addRecord(db, 1, "a", QStringLiteral("Les chemins qui montent")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, LEC_ID, EXP_DATE_RETOUR) VALUES "
                                       "('A1', 1, 'L7', '2026-05-02'), ('A2', 1, NULL, NULL)")));
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        TFrmNotice form(fx.data);
        form.show();
        form.Edit();
        auto *grid = child<QTableView>(&form, QStringLiteral("GrdExemplaire"));
        QCOMPARE(grid->model()->rowCount(), 2);
        grid->setCurrentIndex(grid->model()->index(0, 0));
        ModalHandler none([](QDialog *d) { d->reject(); });
        click(&form, QStringLiteral("BtnModifierExemplaire"));
        click(&form, QStringLiteral("BtnSupprimerExemplaire"));
        QCOMPARE(none.handled, 0);
        QCOMPARE(sink.messages,
                 (QStringList{QStringLiteral("Impossible de modifier, l'exemplaire \"A1\" est actuellement emprunté  jusqu'au : '02/05/2026'"),
                              QStringLiteral("Suppression impossible, l'exemplaire \"A1\" est actuellement emprunté  jusqu'au : '02/05/2026'")}));
        QVERIFY(sink.questions.isEmpty());
        grid->setCurrentIndex(grid->model()->index(1, 0));
        click(&form, QStringLiteral("BtnSupprimerExemplaire"));
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Supprimer l'exemplaire \"A2\" ?")});
        QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE").toInt(), 1);
        QCOMPARE(grid->model()->rowCount(), 1);
        click(&form, QStringLiteral("BtnCompter"));
        QCOMPARE(fx.scalar("SELECT DOC_NBR_EXEMPLAIRE FROM NOTICE").toInt(), 1);
    }

    // The rights of the user decide what the form lets him do.
    void rights_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("noticeRight");
        QTest::addColumn<QString>("type");      // of the record edited
        QTest::addColumn<bool>("mayCreate");
        QTest::addColumn<bool>("mayEdit");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" agent, his type"))) << e << 6 << true << QStringLiteral("a") << true << true;
            QTest::newRow(qPrintable(e + QStringLiteral(" agent, another type"))) << e << 6 << true << QStringLiteral("c") << true << false;
            QTest::newRow(qPrintable(e + QStringLiteral(" agent without the right"))) << e << 6 << false << QStringLiteral("a") << false << false;
            QTest::newRow(qPrintable(e + QStringLiteral(" manager, any type"))) << e << 3 << false << QStringLiteral("c") << true << true;
        }
    }
    void rights()
    {
        QFETCH(QString, engine);
        QFETCH(int, role);
        QFETCH(bool, noticeRight);
        QFETCH(QString, type);
        QFETCH(bool, mayCreate);
        QFETCH(bool, mayEdit);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(role, noticeRight ? QList<Right>{Right::CatNotice} : QList<Right>{});
        TFrmCatalogage module(fx.data);
        QCOMPARE(module.entry(QStringLiteral("BtnNouvelleNotice"))->isEnabled(), mayCreate);
        // The import and the code tables need their own rights, which a manager has.
        for (const char *other : {"BtnImportation", "BtnTypesDocuments", "BtnLocalisations"})
            QVERIFY2(module.entry(QLatin1String(other))->isEnabled() == (role == 3), other);

        TFrmNotice form(fx.data);
        form.show();
        form.Append();
        QCOMPARE(form.isWritable(), mayCreate);
        QCOMPARE(fx.data.QNotice->state() == Dataset::State::Insert, mayCreate);
        QCOMPARE(child<QPushButton>(&form, QStringLiteral("BtnAjouterAuteur"))->isEnabled(), mayCreate);
        if (mayCreate && role == 6) {
            QStringList offered;
            auto *types = child<QComboBox>(&form, QStringLiteral("TYP_ID"));
            for (int i = 0; i < types->count(); ++i)
                offered << types->itemData(i).toString();
            QCOMPARE(offered, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        }
        form.BtnCancelClick();

        QVERIFY(addRecord(tdb.db(), 1, qPrintable(type), QStringLiteral("Le sommeil du juste")));
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        form.Edit();
        QCOMPARE(form.isWritable(), mayEdit);
        QCOMPARE(fx.data.QNotice->state() == Dataset::State::Edit, mayEdit);
        QCOMPARE(child<QLineEdit>(&form, QStringLiteral("DOC_TITRE_PROPRE"))->isReadOnly(), !mayEdit);
        for (const char *b : {"BtnAjouterAuteur", "BtnAjouterExemplaire", "BtnLierNotice", "BtnCompter", "Btn_EDT_ID"})
            QVERIFY2(child<QAbstractButton>(&form, QLatin1String(b))->isEnabled() == mayEdit, b);
        QCOMPARE(child<QPushButton>(&form, QStringLiteral("BtnPost"))->isEnabled(), mayEdit);
        QCOMPARE(child<QPushButton>(&form, QStringLiteral("BtnGenerer"))->isEnabled(), false);
        // Typing in a read-only form changes nothing.
        QTest::keyClicks(child<QLineEdit>(&form, QStringLiteral("DOC_TITRE_PROPRE")), QStringLiteral("x"));
        QCOMPARE(fx.data.QNotice->isEditing(), mayEdit);
    }

    // The module hosts the import and every code table under its own title;
    // the record form's "Aperçu" shows the stored record in ISBD and UNIMARC.
    void moduleScreensAndPreview_data() { addEngineRows(); }
    void moduleScreensAndPreview()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(3, {});
        TFrmCatalogage module(fx.data);
        module.resize(1200, 760);
        module.show();
        QVERIFY(module.trigger(QStringLiteral("BtnImportation")));
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmNoticeImport"));
        QVERIFY(module.trigger(QStringLiteral("BtnLangues")));
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmNoticeAdmin"));
        auto *title = child<QWidget>(&module, QStringLiteral("PnlTitle"))->findChild<QLabel *>();
        QCOMPARE(title->text(), QStringLiteral("Catalogage - Langues"));

        QVERIFY(addRecord(tdb.db(), 1, "a", QStringLiteral("Le sommeil du juste")));
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        module.ModifierNotice();
        TFrmNotice *form = module.recordForm();
        QVERIFY(form);
        auto *tabs = form->findChild<QTabWidget *>();
        QVERIFY(tabs);
        QWidget *preview = child<QWidget>(form, QStringLiteral("TabApercu"));
        tabs->setCurrentWidget(preview);
        auto *browser = preview->findChild<QTextBrowser *>();
        QVERIFY(browser);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Le sommeil du juste")));
        QVERIFY(browser->updatesEnabled());  // the page paints once the form is shown
        click(form, QStringLiteral("BtnUNIMARC"));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("200")));
    }

    // "Liéer notice": the parent chosen in its dialog; the record's own issues stay listed.
    void parentRecord_data() { addEngineRows(); }
    void parentRecord()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        Database &db = tdb.db();
        QVERIFY(addRecord(db, 1, "b", QStringLiteral("Revue algérienne des sciences")));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_ISSN = '03952037', DOC_ANNEE = '1964', DOC_KEYWORDS = "
                                       "'/Revue//algérienne//des//sciences/' WHERE DOC_ID = 1")));
        // Keywords written by hand: their folded words written as the program would.
        qint64 rewritten = 0;
        QString why;
        QVERIFY2(refreshSearchColumns(db, &rewritten, &why), qPrintable(why));
        QVERIFY(addRecord(db, 2, "b", QStringLiteral("Cahiers d'études")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_BULLETIN (BUL_ID, DOC_ID, BUL_NUMERO, BUL_DATE, BUL_STATUT) VALUES "
                                       "(1, 1, '3', 'mars 1990', 1), (2, 1, '4', 'avril 1990', 0), (3, 2, '77', '2001', 1)")));
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 2")));
        TFrmNotice form(fx.data);
        form.show();
        form.Edit();
        QCOMPARE(child<QTableView>(&form, QStringLiteral("GrdBulletin"))->model()->rowCount(), 1);
        QVERIFY(chooseIn(&form, QStringLiteral("REL_ID"), 421));
        for (bool withIssue : {true, false}) {
            ModalHandler h([&](QDialog *d) {
                auto *s = qobject_cast<TFrmBulletinSearch *>(d);
                QVERIFY(s);
                typeInto(d, withIssue ? QStringLiteral("NUM") : QStringLiteral("TIT"),
                         withIssue ? QStringLiteral("0395-2037") : QStringLiteral("algérienne revue"));
                click(d, QStringLiteral("BtnSearch"));
                QCOMPARE(s->candidates()->rowCount(), 1);
                QCOMPARE(child<QLabel>(d, QStringLiteral("PnlNotices"))->text(), QStringLiteral(" 1 notice(s)"));
                QCOMPARE(child<QLabel>(d, QStringLiteral("PnlBulletins"))->text(), QStringLiteral(" 2 Bulletin(s)"));
                if (withIssue) {
                    s->issueGrid()->setCurrentIndex(s->issueGrid()->model()->index(1, 0));
                    click(d, QStringLiteral("BtnSelect"));
                } else {
                    s->issues()->close();  // no issue current: the serial itself
                    s->Select();
                }
            });
            click(&form, QStringLiteral("BtnLierNotice"));
            QCOMPARE(h.handled, 1);
            auto text = [&](const char *name) { return child<QLineEdit>(&form, QLatin1String(name))->text(); };
            QCOMPARE(text("REL_TITRE"), QStringLiteral("Revue algérienne des sciences"));
            QCOMPARE(text("REL_ISSN"), QStringLiteral("03952037"));
            QCOMPARE(text("REL_DATE_PUB"), withIssue ? QStringLiteral("avril 1990") : QStringLiteral("1964"));
            QCOMPARE(text("REL_VOLUME"), withIssue ? QStringLiteral("4") : QString());
            // The form's own issue list is the record's.
            QCOMPARE(fx.data.QBulletin->rowCount(), 1);
            QCOMPARE(fx.data.QBulletin->value(QStringLiteral("BUL_NUMERO")).toString(), QStringLiteral("77"));
        }
        click(&form, QStringLiteral("BtnPost"));
        QCOMPARE(fx.scalar("SELECT REL_ID FROM NOTICE WHERE DOC_ID = 2").toInt(), 421);
        QCOMPARE(fx.scalar("SELECT REL_DATE_PUB FROM NOTICE WHERE DOC_ID = 2").toString(), QStringLiteral("1964"));
        QVERIFY(fx.scalar("SELECT REL_VOLUME FROM NOTICE WHERE DOC_ID = 2").isNull());
        QVERIFY(sink.messages.isEmpty());
    }

    // A file chosen by a path longer than the column of links is archived
    // and linked by its name.
    void longPathArchived_data() { addEngineRows(); }
    void longPathArchived()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        QVERIFY(addRecord(tdb.db(), 1, "a", QStringLiteral("Le fils du pauvre")));
        const QString deep = fx.files.filePath(QString(120, u'd') + u'/' + QString(120, u'e') + u'/' + QString(40, u'f'));
        QVERIFY(QDir().mkpath(deep));
        const QString source = deep + QStringLiteral("/rapport.pdf");
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(source.size() > 255);
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        TFrmNotice form(fx.data);
        form.show();
        form.Edit();
        ModalHandler h([&](QDialog *d) {
            typeInto(d, QStringLiteral("RES_LIEN"), source);
            QCOMPARE(child<QLineEdit>(d, QStringLiteral("RES_LIEN"))->text(), source);
            click(d, QStringLiteral("BtnPost"));
        });
        click(&form, QStringLiteral("BtnAjouterRessource"));
        QCOMPARE(h.handled, 1);
        QVERIFY2(sink.messages.isEmpty(), qPrintable(sink.messages.join(u'\n')));
        QCOMPARE(fx.scalar("SELECT RES_LIEN FROM NOTICE_RESSOURCE").toString(), QStringLiteral("rapport.pdf"));
        QVERIFY(QFile::exists(fx.archive + QStringLiteral("/rapport.pdf")));
        QVERIFY(QFile::exists(source));  // copied, the default
    }

    // The open button: an address as an address, a file from the archive of the record's type.
    void openingResources_data() { addEngineRows(); }
    void openingResources()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(1, {});
        Database &db = tdb.db();
        QVERIFY(QDir().mkpath(fx.archive));
        QFile f(fx.archive + QStringLiteral("/plan.pdf"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(addRecord(db, 1, "a", QStringLiteral("Atlas")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_RESSOURCE (RES_ID, DOC_ID, RES_LIEN) VALUES "
                                       "(1, 1, 'plan.pdf'), (2, 1, 'www.example.org/atlas'), (3, 1, 'absent.pdf')")));
        QList<ResourceTarget> opened;
        NoticeHoldings::setOpener([&](const ResourceTarget &t) {
            opened << t;
            return true;
        });
        QVERIFY(fx.data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        TFrmNotice form(fx.data);
        form.show();
        form.Edit();
        auto *grid = child<QTableView>(&form, QStringLiteral("GrdRessource"));
        QVERIFY(child<QPushButton>(&form, QStringLiteral("BtnOuvrirRessource"))->isEnabled());
        for (int r = 0; r < 3; ++r) {
            grid->setCurrentIndex(grid->model()->index(r, 0));
            click(&form, QStringLiteral("BtnOuvrirRessource"));
        }
        NoticeHoldings::setOpener({});
        QCOMPARE(opened.size(), 2);
        QVERIFY(!opened.at(0).address);
        QCOMPARE(opened.at(0).target, QFileInfo(fx.archive + QStringLiteral("/plan.pdf")).absoluteFilePath());
        QVERIFY(opened.at(1).address);
        QCOMPARE(opened.at(1).target, QStringLiteral("http://www.example.org/atlas"));
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().contains(QStringLiteral("absent.pdf")));
    }
};

QTEST_MAIN(TstRecordFormCases)
#include "tst_recordformcases.moc"
