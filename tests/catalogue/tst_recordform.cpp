// The record form as an operator uses it, offscreen, on both engines: a
// monograph and a serial created with an author, a subject, an index, a
// resource, an issue and two copies, saved, reopened and read back field by
// field; the defaults and the first and second author; texts with
// apostrophes, Arabic and a long note unchanged.

#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/core/resources.h"
#include "catalogue/widgets/frmnotice.h"
#include "catalogue/widgets/frmnoticedetail.h"
#include "catalogue/widgets/frmresponsabilite.h"
#include "catalogue/widgets/noticeholdings.h"
#include "catalogue/widgets/noticesatellites.h"
#include "catalogue/widgets/referencebox.h"
#include "data/core/shareddata.h"
#include "formdriver.h"
#include "recordfixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTableView>

using namespace folian;
using namespace folian::test;

class TstRecordForm : public QObject
{
    Q_OBJECT
    RecordingSink sink;

    // The responsibility dialog: a kind and a function, then "Enregistrer".
    static ModalHandler::Handle responsibility(int kind, const QString &function, int *preselected = nullptr)
    {
        return [=](QDialog *d) {
            auto *r = qobject_cast<TFrmResponsabilite *>(d);
            QVERIFY(r);
            if (preselected)
                *preselected = r->kinds()->checkedId();
            r->kinds()->button(kind)->click();
            QVERIFY(chooseIn(r, QStringLiteral("FON_ID"), function));
            click(r, QStringLiteral("BtnPost"));
        };
    }

    // A copy's sheet filled and saved.
    static ModalHandler::Handle copySheet(const QString &id, const QString &shelfMark, const QString &price)
    {
        return [=](QDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Nouvelle exemplaire"));
            typeInto(d, QStringLiteral("EXP_COTE"), shelfMark);
            typeInto(d, QStringLiteral("EXP_ID"), id);
            QVERIFY(chooseIn(d, QStringLiteral("LOC_ID"), QStringLiteral("MAG")));
            QVERIFY(chooseIn(d, QStringLiteral("SUP_ID"), 1));
            QVERIFY(chooseIn(d, QStringLiteral("STA_EXP_ID"), 3));
            typeInto(d, QStringLiteral("EXP_PRIX"), price);
            auto *date = child<QDateEdit>(d, QStringLiteral("EXP_DATE_ACQUISITION"));
            date->setDate(QDate(2025, 9, 30));
            emit date->editingFinished();
            typeInto(d, QStringLiteral("EXP_OBSERVATION"), QStringLiteral("Don de l'auteur"));
            typeInto(d, QStringLiteral("EXP_INV"), QStringLiteral("ALT-") + id);
            click(d, QStringLiteral("BtnPost"));
        };
    }

    // One run through the form: a new record of type `type`, saved with
    // its satellites; `docId` receives its number.
    void createThroughTheForm(RecordFixture &fx, const QString &type, bool serial, int *docIdOut)
    {
        TFrmData &data = fx.data;
        Pickers pickers;
        TFrmNotice form(data);
        form.resize(1100, 700);
        form.show();
        form.Append();
        Dataset *n = data.QNotice;
        QCOMPARE(n->state(), Dataset::State::Insert);

        QVERIFY2(chooseIn(&form, QStringLiteral("TYP_ID"), type), "type offered");
        typeInto(&form, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("   "));
        QVERIFY(!child<QPushButton>(&form, QStringLiteral("BtnPost"))->isEnabled());
        const QString title = serial ? QStringLiteral("Revue d'histoire maghrébine") : QStringLiteral("L'enfant");
        typeInto(&form, QStringLiteral("DOC_TITRE_PROPRE"), title);
        QVERIFY(child<QPushButton>(&form, QStringLiteral("BtnPost"))->isEnabled());
        typeInto(&form, QStringLiteral("DOC_TITRE_PARALLELE"), QStringLiteral("الطفل"));
        typeInto(&form, QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("roman"));
        chooseIn(&form, QStringLiteral("LAN_ID2"), QStringLiteral("ara"));
        if (serial) {
            typeInto(&form, QStringLiteral("DOC_ISSN"), QStringLiteral("0395-2037"));
            chooseIn(&form, QStringLiteral("PER_ID"), QStringLiteral("c"));
        } else {
            typeInto(&form, QStringLiteral("DOC_ISBN"), QStringLiteral("2-07-036822-X"));
        }
        typeInto(&form, QStringLiteral("DOC_NBR_UNITE"), QStringLiteral("215 p."));
        typeInto(&form, QStringLiteral("DOC_ANNEE"), QStringLiteral("1953"));
        typeInto(&form, QStringLiteral("DOC_LIEU_EDITION"), QStringLiteral("Alger"));
        pasteInto(&form, QStringLiteral("DOC_NOTE"), fx.longNote());
        pasteInto(&form, QStringLiteral("DOC_RESUME"), QStringLiteral("طفولة في الجزائر\nوصف لحياة قرية."));
        typeInto(&form, QStringLiteral("DOC_NUMEROTATION"), QStringLiteral("1ère année, n° 1 (1974)-"));

        // Publisher, collection, sub-collection: each chosen from its list.
        pickers.push(fx.publisher);
        click(&form, QStringLiteral("Btn_EDT_ID"));
        pickers.push(fx.collection);
        click(&form, QStringLiteral("Btn_COL_ID"));
        pickers.push(fx.subCollection);
        click(&form, QStringLiteral("Btn_SCL_ID"));
        typeInto(&form, QStringLiteral("COL_NUMERO"), QStringLiteral("12"));
        // A key typed in a box opens its list on the name shown; Enter does not.
        pickers.cancel();
        QTest::keyClick(child<QLineEdit>(&form, QStringLiteral("Nom_EDT_ID")), Qt::Key_E);
        QCOMPARE(pickers.requests.size(), 4);
        QCOMPARE(pickers.requests.last().text, QStringLiteral("Éditions d'Aujourd'hui*"));
        QCOMPARE(pickers.requests.at(2).parent.toInt(), fx.collection);  // sub-collections of the collection
        QCOMPARE(n->value(QStringLiteral("EDT_ID")).toInt(), fx.publisher);
        QTest::keyClick(child<QLineEdit>(&form, QStringLiteral("Nom_EDT_ID")), Qt::Key_Return);
        QCOMPARE(pickers.requests.size(), 4);
        // The second publisher chosen from its empty box, then cleared by Delete.
        pickers.push(fx.publisher);
        QTest::keyClick(child<QLineEdit>(&form, QStringLiteral("Nom_EDT_ID2")), Qt::Key_E);
        QCOMPARE(pickers.requests.last().text, QString());
        QCOMPARE(pickers.requests.last().mode, 2);
        QCOMPARE(n->value(QStringLiteral("EDT_ID2")).toInt(), fx.publisher);
        QCOMPARE(child<QLineEdit>(&form, QStringLiteral("Nom_EDT_ID2"))->text(), QStringLiteral("Éditions d'Aujourd'hui"));
        QTest::keyClick(child<QLineEdit>(&form, QStringLiteral("Nom_EDT_ID2")), Qt::Key_Delete);
        QVERIFY(n->value(QStringLiteral("EDT_ID2")).isNull());
        QCOMPARE(child<QLineEdit>(&form, QStringLiteral("Nom_EDT_ID2"))->text(), QString());

        // The first author: a rejected form chosen, the accepted one linked.
        // Adding it saves the record first.
        {
            int preselected = 0;
            pickers.push(fx.rejectedAuthor, fx.author);
            ModalHandler h(responsibility(1, QStringLiteral("070"), &preselected));
            click(&form, QStringLiteral("BtnAjouterAuteur"));
            QCOMPARE(h.handled, 1);
            QCOMPARE(preselected, 1);
        }
        QVERIFY(!n->isEditing());
        const int docId = n->value(QStringLiteral("DOC_ID")).toInt();
        *docIdOut = docId;
        QVERIFY(docId > 0);
        // The second author: "Annuler" in the responsibility returns to the
        // list, where another heading is chosen; it is a co-author.
        {
            int preselected = 0;
            pickers.push(fx.author);
            pickers.push(fx.coAuthor);
            ModalHandler h({[](QDialog *d) { click(d, QStringLiteral("BtnCancel")); },
                            responsibility(2, QStringLiteral("730"), &preselected)});
            click(&form, QStringLiteral("BtnAjouterAuteur"));
            QCOMPARE(h.handled, 2);
            QCOMPARE(preselected, 2);
        }
        pickers.push(fx.rejectedSubject, fx.subject);
        click(&form, QStringLiteral("BtnAjouterMatiere"));
        pickers.push(fx.classIndex);
        click(&form, QStringLiteral("BtnAjouterIndice"));

        // A resource moved into the archive of its type; the address of a serial kept whole.
        {
            ModalHandler h([&](QDialog *d) {
                auto *sheet = qobject_cast<TFrmNoticeDetail *>(d);
                QVERIFY(sheet);
                QCOMPARE(sheet->windowTitle(), QStringLiteral("Nouvelle ressource"));
                sheet->resourceType()->setCurrentText(QStringLiteral("Texte integral"));
                typeInto(d, QStringLiteral("RES_LIEN"), serial ? QStringLiteral("www.example.org/revue/1974.html") : fx.resourceFile);
                sheet->archiveOptions()->button(int(ArchiveMode::Move))->click();
                click(d, QStringLiteral("BtnPost"));
            });
            click(&form, QStringLiteral("BtnAjouterRessource"));
            QCOMPARE(h.handled, 1);
        }
        if (serial) {
            ModalHandler h([](QDialog *d) {
                QCOMPARE(d->windowTitle(), QStringLiteral("Nouveau bulletin"));
                QVERIFY(child<QCheckBox>(d, QStringLiteral("BUL_STATUT"))->isChecked());  // received by default
                typeInto(d, QStringLiteral("BUL_DATE"), QStringLiteral("printemps 1974"));
                typeInto(d, QStringLiteral("BUL_NUMERO"), QStringLiteral("1"));
                typeInto(d, QStringLiteral("BUL_TITRE"), QStringLiteral("Numéro spécial : l'Émir"));
                child<QCheckBox>(d, QStringLiteral("BUL_STATUT"))->click();
                click(d, QStringLiteral("BtnPost"));
            });
            click(&form, QStringLiteral("BtnAjouterBulletin"));
            QCOMPARE(h.handled, 1);
        }
        for (int i = 1; i <= 2; ++i) {
            const QString id = QStringLiteral("%1%2").arg(type).arg(docId * 10 + i);
            ModalHandler h(copySheet(id, QStringLiteral("843 KAT"), QStringLiteral("1250,50")));
            click(&form, QStringLiteral("BtnAjouterExemplaire"));
            QCOMPARE(h.handled, 1);
        }
        click(&form, QStringLiteral("BtnCompter"));  // "?"
        QCOMPARE(n->value(QStringLiteral("DOC_NBR_EXEMPLAIRE")).toInt(), 2);

        typeInto(&form, QStringLiteral("DOC_EDITION"), QStringLiteral("2e éd."));
        QSignalSpy finished(&form, &TFrmNotice::finished);
        click(&form, QStringLiteral("BtnPost"));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(n->state(), Dataset::State::Browse);
        QVERIFY2(sink.messages.isEmpty(), qPrintable(sink.messages.join(u'\n')));
    }

private slots:
    void init()
    {
        session() = Session();
        sink.clear();
        sink.answer = true;
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    void monographAndSerial_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("serial");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" monograph"))) << e << false;
            QTest::newRow(qPrintable(e + QStringLiteral(" serial"))) << e << true;
        }
    }
    void monographAndSerial()
    {
        QFETCH(QString, engine);
        QFETCH(bool, serial);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(6, {Right::CatNotice});  // a cataloguing agent with types a and b
        const QString type = serial ? QStringLiteral("b") : QStringLiteral("a");
        int docId = 0;
        createThroughTheForm(fx, type, serial, &docId);
        if (QTest::currentTestFailed())
            return;
        Database &db = tdb.db();

        // The resource file moved into the archive; the link keeps the file name or the whole address.
        if (serial) {
            QCOMPARE(fx.scalar("SELECT RES_LIEN FROM NOTICE_RESSOURCE WHERE DOC_ID = ?", docId).toString(),
                     QStringLiteral("www.example.org/revue/1974.html"));
        } else {
            QVERIFY(!QFile::exists(fx.resourceFile));
            QVERIFY(QFile::exists(fx.archive + QStringLiteral("/table d'été.pdf")));
            QCOMPARE(fx.scalar("SELECT RES_LIEN FROM NOTICE_RESSOURCE WHERE DOC_ID = ?", docId).toString(),
                     QStringLiteral("table d'été.pdf"));
        }

        // Reopened in a new form: every value as it was typed.
        Dataset *n = fx.data.QNotice;
        QVERIFY(n->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = ?"), {docId}));
        TFrmNotice form(fx.data);
        form.resize(1100, 700);
        form.show();
        form.Edit();
        QCOMPARE(n->state(), Dataset::State::Edit);
        QVERIFY(form.isWritable());
        auto text = [&](const char *name) { return child<QLineEdit>(&form, QLatin1String(name))->text(); };
        auto key = [&](const char *name) { return child<QComboBox>(&form, QLatin1String(name))->currentData().toString(); };
        QCOMPARE(text("DOC_TITRE_PROPRE"), serial ? QStringLiteral("Revue d'histoire maghrébine") : QStringLiteral("L'enfant"));
        QCOMPARE(text("DOC_TITRE_PARALLELE"), QStringLiteral("الطفل"));
        QCOMPARE(text("DOC_TITRE_COMPLEMENT"), QStringLiteral("roman"));
        QCOMPARE(text(serial ? "DOC_ISSN" : "DOC_ISBN"), serial ? QStringLiteral("03952037") : QStringLiteral("207036822X"));
        QCOMPARE(key("TYP_ID"), type);
        QCOMPARE(key("IND_ID"), QStringLiteral("a"));
        QCOMPARE(key("STA_ID"), QStringLiteral("1"));
        QCOMPARE(key("LAN_ID"), QStringLiteral("fre"));
        QCOMPARE(key("LAN_ID2"), QStringLiteral("ara"));
        QCOMPARE(key("PER_ID"), serial ? QStringLiteral("c") : QString());
        QCOMPARE(key("PAY_ID"), QStringLiteral("DZ"));
        QCOMPARE(text("DOC_AGENCE"), QStringLiteral("Bibliothèque d'El Biar"));
        QCOMPARE(text("DOC_NBR_UNITE"), QStringLiteral("215 p."));
        QCOMPARE(text("DOC_EDITION"), QStringLiteral("2e éd."));
        QCOMPARE(text("DOC_NUMEROTATION"), QStringLiteral("1ère année, n° 1 (1974)-"));
        QCOMPARE(text("COL_NUMERO"), QStringLiteral("12"));
        QCOMPARE(text("DOC_NBR_EXEMPLAIRE"), QStringLiteral("2"));
        // Long texts keep their lines ending with CR LF, as imported notes are separated.
        QCOMPARE(fx.scalar("SELECT DOC_NOTE FROM NOTICE WHERE DOC_ID = ?", docId).toString(), fx.longNote());
        QCOMPARE(child<QPlainTextEdit>(&form, QStringLiteral("DOC_NOTE"))->toPlainText(),
                 QString(fx.longNote()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(fx.scalar("SELECT DOC_RESUME FROM NOTICE WHERE DOC_ID = ?", docId).toString(),
                 QStringLiteral("طفولة في الجزائر\r\nوصف لحياة قرية."));
        QCOMPARE(text("Nom_EDT_ID"), QStringLiteral("Éditions d'Aujourd'hui"));
        QCOMPARE(text("Nom_EDT_ID2"), QString());
        QCOMPARE(text("Nom_COL_ID"), QStringLiteral("Bibliothèque de l'Islam"));
        QCOMPARE(text("Nom_SCL_ID"), QStringLiteral("Série d'histoire"));
        QVERIFY(child<QLabel>(&form, QStringLiteral("ValCreation"))->text().startsWith(QStringLiteral("agent.cat")));
        QCOMPARE(fx.scalar("SELECT DOC_KEYWORDS FROM NOTICE WHERE DOC_ID = ?", docId).toString(),
                 serial ? QStringLiteral("/Revue//d//histoire//maghrébine//roman//الطفل/")
                        : QStringLiteral("/L//enfant//roman//الطفل/"));

        // Authors: the accepted heading, principal then co-author, with their functions.
        auto cell = [&](const char *grid, int row, int column) {
            QAbstractItemModel *m = child<QTableView>(&form, QLatin1String(grid))->model();
            return m->data(m->index(row, column)).toString();
        };
        auto rows = [&](const char *grid) { return child<QTableView>(&form, QLatin1String(grid))->model()->rowCount(); };
        QCOMPARE(rows("GrdAuteur"), 2);
        QCOMPARE(cell("GrdAuteur", 0, 0), QStringLiteral("Feraoun, Mouloud"));
        QCOMPARE(cell("GrdAuteur", 0, 1), QStringLiteral("Auteur principal"));
        QCOMPARE(cell("GrdAuteur", 0, 2), QStringLiteral("Auteur"));
        QCOMPARE(cell("GrdAuteur", 1, 0), QStringLiteral("Roblès, Emmanuel"));
        QCOMPARE(cell("GrdAuteur", 1, 1), QStringLiteral("Co-auteur"));
        QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE_AUTEUR WHERE DOC_ID = ? AND VED_ID = ?", docId, fx.rejectedAuthor).toInt(), 0);
        QCOMPARE(rows("GrdMatiere"), 1);
        QCOMPARE(cell("GrdMatiere", 0, 0), QStringLiteral("Enfance -- Algérie"));
        QCOMPARE(rows("GrdIndice"), 1);
        QCOMPARE(cell("GrdIndice", 0, 0), QStringLiteral("843"));
        QCOMPARE(cell("GrdIndice", 0, 1), QStringLiteral("Roman d'expression française"));
        QCOMPARE(rows("GrdRessource"), 1);
        QCOMPARE(cell("GrdRessource", 0, 0), QStringLiteral("Texte integral"));
        QCOMPARE(rows("GrdBulletin"), serial ? 1 : 0);
        if (serial) {
            QCOMPARE(cell("GrdBulletin", 0, 0), QStringLiteral("1"));
            QCOMPARE(cell("GrdBulletin", 0, 1), QStringLiteral("printemps 1974"));
            QCOMPARE(cell("GrdBulletin", 0, 2), QStringLiteral("Numéro spécial : l'Émir"));
            QCOMPARE(fx.scalar("SELECT BUL_STATUT FROM NOTICE_BULLETIN WHERE DOC_ID = ?", docId).toInt(), 0);
            QCOMPARE(fx.scalar("SELECT BIB_ID FROM NOTICE_BULLETIN WHERE DOC_ID = ?", docId).toInt(), 0);
        }
        QCOMPARE(rows("GrdExemplaire"), 2);
        for (int r = 0; r < 2; ++r) {
            const QString id = QStringLiteral("%1%2").arg(type).arg(docId * 10 + r + 1);
            QCOMPARE(cell("GrdExemplaire", r, 0), id);
            QCOMPARE(cell("GrdExemplaire", r, 1), QStringLiteral("843 KAT"));
            QCOMPARE(cell("GrdExemplaire", r, 2), QStringLiteral("Magasin"));
            QCOMPARE(cell("GrdExemplaire", r, 3), QStringLiteral("Imprimé"));
            QCOMPARE(cell("GrdExemplaire", r, 5), QStringLiteral("ALT-") + id);
            SqlRows q = db.query(QStringLiteral("SELECT EXP_PRIX, EXP_DATE_ACQUISITION, EXP_OBSERVATION, MOD_ID, BIB_ID, "
                                                "EXP_INVENTORIE, STA_EXP_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"),
                                 {id});
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString().left(7), QStringLiteral("1250.50"));
            QCOMPARE(db.dialect().fromDb(q.value(1), ColType::Date).toDate(), QDate(2025, 9, 30));
            QCOMPARE(q.value(2).toString(), QStringLiteral("Don de l'auteur"));
            QCOMPARE(q.value(3).toInt(), 5);
            QCOMPARE(q.value(4).toInt(), 0);
            QCOMPARE(q.value(5).toInt(), 1);
            QCOMPARE(q.value(6).toInt(), 3);
        }
        // The record was not changed by opening it: leaving asks, "No" keeps it as it was.
        sink.answer = false;
        QVERIFY(form.leave());
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Sauvegardez les modifications ?")});
        QCOMPARE(n->state(), Dataset::State::Browse);
    }

    // The defaults of a new record, and the Arabic names of the kinds of
    // responsibility for an Arabic record in the French interface.
    void defaultsAndArabicRecord_data() { addEngineRows(); }
    void defaultsAndArabicRecord()
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        fx.logOn(3, {});
        session().DefaultDocumentType = QStringLiteral("c");
        Pickers pickers;
        TFrmNotice form(fx.data);
        form.show();
        form.Append();
        Dataset *n = fx.data.QNotice;
        QCOMPARE(n->value(QStringLiteral("TYP_ID")).toString(), QStringLiteral("c"));
        QCOMPARE(child<QComboBox>(&form, QStringLiteral("TYP_ID"))->currentData().toString(), QStringLiteral("c"));
        QCOMPARE(n->value(QStringLiteral("IND_ID")).toString(), QStringLiteral("a"));
        QCOMPARE(n->value(QStringLiteral("STA_ID")).toInt(), 1);
        QCOMPARE(n->value(QStringLiteral("LAN_ID")).toString(), QStringLiteral("fre"));
        QCOMPARE(n->value(QStringLiteral("PAY_ID")).toString(), QStringLiteral("DZ"));
        QCOMPARE(n->value(QStringLiteral("DOC_AGENCE")).toString(), QStringLiteral("Bibliothèque d'El Biar"));
        QCOMPARE(n->value(QStringLiteral("DOC_PRET_INTERNE")).toInt(), 0);
        QCOMPARE(n->value(QStringLiteral("DOC_PRET_EXTERNE")).toInt(), 0);
        QCOMPARE(n->value(QStringLiteral("CREATE_USER")).toString(), QStringLiteral("agent.cat"));
        QVERIFY(!n->value(QStringLiteral("CREATE_DATE")).isNull());
        QCOMPARE(form.tabs()->currentIndex(), 0);

        chooseIn(&form, QStringLiteral("LAN_ID"), QStringLiteral("ara"));
        chooseIn(&form, QStringLiteral("TYP_ID"), QStringLiteral("a"));
        typeInto(&form, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("نجمة"));
        for (const QVariant &heading : {QVariant(fx.author), QVariant(fx.coAuthor)}) {
            pickers.push(heading);
            ModalHandler h([](QDialog *d) {
                // The kinds are named in Arabic: the record is in Arabic.
                auto *r = qobject_cast<TFrmResponsabilite *>(d);
                QCOMPARE(r->kinds()->button(1)->text(), QStringLiteral("مؤلف رئيسي"));
                click(d, QStringLiteral("BtnPost"));
            });
            click(&form, QStringLiteral("BtnAjouterAuteur"));
            QCOMPARE(h.handled, 1);
        }
        QAbstractItemModel *m = child<QTableView>(&form, QStringLiteral("GrdAuteur"))->model();
        QCOMPARE(m->data(m->index(0, 1)).toString(), QStringLiteral("مؤلف رئيسي"));
        QCOMPARE(m->data(m->index(1, 1)).toString(), QStringLiteral("مؤلف مساعد"));
        // The next new record starts with the type of this one.
        QCOMPARE(session().DefaultDocumentType, QStringLiteral("a"));

        // All authors deleted: the next one is principal again.
        sink.answer = true;
        auto *grid = child<QTableView>(&form, QStringLiteral("GrdAuteur"));
        while (grid->model()->rowCount() > 0) {
            grid->setCurrentIndex(grid->model()->index(0, 0));
            click(&form, QStringLiteral("BtnSupprimerAuteur"));
        }
        QCOMPARE(sink.questions.count(QStringLiteral("Supprimer l'auteur ?")), 2);
        pickers.push(fx.coAuthor);
        int preselected = 0;
        ModalHandler h(responsibility(1, QStringLiteral("070"), &preselected));
        click(&form, QStringLiteral("BtnAjouterAuteur"));
        QCOMPARE(preselected, 1);
        QCOMPARE(fx.scalar("SELECT AUT_TYPE FROM NOTICE_AUTEUR WHERE VED_ID = ?", fx.coAuthor).toInt(), 1);
        // A row that points to a rejected form (written by an older program)
        // is drawn in red; modifying it opens the list on its name.
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE NOTICE_AUTEUR SET VED_ID = ?"), {fx.rejectedAuthor}));
        QVERIFY(fx.data.QAuteur->reopen());
        QCOMPARE(m->data(m->index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QVERIFY(!form.satellites()->EditAuthor());  // cancelled in the list: nothing changes
        QCOMPARE(pickers.requests.last().text, QStringLiteral("Ferraoun, M.*"));
        QCOMPARE(fx.scalar("SELECT VED_ID FROM NOTICE_AUTEUR").toInt(), fx.rejectedAuthor);
    }
};

QTEST_MAIN(TstRecordForm)
#include "tst_recordform.moc"
