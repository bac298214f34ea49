// The acquisition screens offscreen, through the module frame: the
// launcher's entries by rights with their count lines, the order screen's
// buttons following the current order and line, a receipt from the order
// screen through the delivery note and the batch generator, and the
// supplier list picking a supplier.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/suppliers.h"
#include "acquisitions/widgets/frmacquisition.h"
#include "acquisitions/widgets/frmcommandesearch.h"
#include "acquisitions/widgets/frmfournisseur.h"
#include "acquisitions/widgets/frmfournisseurdetail.h"
#include "acquisitions/widgets/frmgenerate.h"
#include "acquisitions/widgets/frmlivraisonbon.h"
#include "acquisitions/widgets/frmlivraisonchoix.h"
#include "catalogue/widgets/frmnotice.h"
#include "catalogue/widgets/noticeholdings.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/helpers.h"
#include "support/screens.h"
#include "support/windows.h"

#include <QApplication>
#include <QLabel>
#include <QSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

QStringList enabledButtons(DocumentSearchScreen *s)
{
    QStringList out;
    for (const char *name : {"BtnModifier", "BtnSupprimer", "BtnImprimer", "BtnNouveauTitre", "BtnModifierTitre",
                             "BtnSupprimerTitre", "BtnValidation", "BtnReception"})
        if (s->button(name)->isEnabled())
            out << QLatin1String(name);
    return out;
}

} // namespace

class TstAcqScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QStringList statusLines;

private slots:
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        logOn(3, QStringLiteral("agent.acq"), 5, {Right::AcqTransact});
        statusLines.clear();
        setStatusPanelWriter([this](int, const QString &text) { statusLines << text; });
    }
    void cleanup()
    {
        setStatusPanelWriter({});
        setMessageSink(nullptr);
    }

    void launcher_data() { addEngineRows(); }
    void launcher()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(acqSetUp(tdb.db()) && newDocument(tdb.db()) && newDocument(tdb.db(), AcqType::PreOrder));
        TFrmAcquisition module(data);
        for (const char *name : {"BtnPreCommandes", "BtnCommandes", "BtnAbonnements", "BtnLivraisons", "BtnFactures"})
            QVERIFY2(module.entry(QLatin1String(name))->isEnabled(), name);
        for (const char *name : {"BtnFournisseurs", "BtnBudget", "BtnMonnaies", "BtnRelances"})
            QVERIFY2(!module.entry(QLatin1String(name))->isEnabled(), name);
        QVERIFY(openEntry<TFrmCommandeSearch>(module, QStringLiteral("BtnCommandes")));
        QCOMPARE(module.title(), QStringLiteral("Acquisitions - Recherche commandes"));
        QCOMPARE(statusLines.last(), QStringLiteral(" Commandes : 1 enreg(s)"));
        QVERIFY(module.trigger(QStringLiteral("BtnPreCommandes")));
        QCOMPARE(statusLines.last(), QStringLiteral(" Pré-commandes : 1 enreg(s)"));
        QVERIFY(module.trigger(QStringLiteral("BtnLivraisons")));
        QCOMPARE(statusLines.last(), QStringLiteral(" Livraisons : 0 enreg(s)"));
        logOn(3, QStringLiteral("agent.acq"), 5, {Right::AcqAdmin});
        TFrmAcquisition admin(data);
        QVERIFY(openEntry<TFrmFournisseur>(admin, QStringLiteral("BtnFournisseurs")));
        QCOMPARE(statusLines.last(), QStringLiteral(" Fournisseurs : 2 enreg(s)"));
    }

    // The buttons of the order screen as the current order and line change.
    void enablingTable_data() { addEngineRows(); }
    void enablingTable()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const int empty = newDocument(db, AcqType::Order, QStringLiteral("A-vide"), QDate(2024, 1, 1));
        const int toValidate = newDocument(db, AcqType::Order, QStringLiteral("B-lignes"), QDate(2024, 1, 2));
        QVERIFY(newLine(db, toValidate, 1, QStringLiteral("1")));
        const Received validated = receivedOrder(db, 2);
        const int full = newLine(db, validated.document, 2, QStringLiteral("1"));
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 1 WHERE ACQ_LIGNE_ID = ?"), {full}));
        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmCommandeSearch>(module, QStringLiteral("BtnCommandes"));
        QVERIFY(screen);
        QCOMPARE(enabledButtons(screen), QStringList());
        screen->Search();
        QCOMPARE(screen->countLabel()->text(), acq::documentsCount(2, 3));
        const QStringList document{QStringLiteral("BtnModifier"), QStringLiteral("BtnSupprimer"), QStringLiteral("BtnImprimer"),
                                   QStringLiteral("BtnNouveauTitre")};
        const QStringList titles = document + QStringList{QStringLiteral("BtnModifierTitre"), QStringLiteral("BtnSupprimerTitre")};
        const struct {
            int document, line;
            QStringList enabled;
        } states[] = {
            {empty, 0, document},
            {toValidate, 0, titles + QStringList{QStringLiteral("BtnValidation")}},
            {validated.document, validated.line, titles + QStringList{QStringLiteral("BtnReception")}},
            {validated.document, full, titles},
        };
        for (const auto &s : states) {
            QVERIFY(data.QAcquisition->locate(QStringLiteral("ACQ_ID"), s.document));
            if (s.line > 0)
                QVERIFY(data.QAcquisitionLigne->locate(QStringLiteral("ACQ_LIGNE_ID"), s.line));
            QCOMPARE(enabledButtons(screen), s.enabled);
        }
        // Validation through the screen: asked, done, the buttons follow.
        QVERIFY(data.QAcquisition->locate(QStringLiteral("ACQ_ID"), toValidate));
        screen->BtnValidationClick();
        QCOMPARE(sink.questions.last(), acq::validateQuestion());
        QCOMPARE(loadDocument(db, toValidate).status, int(AcqStatus::Validated));
        QVERIFY(screen->button("BtnReception")->isEnabled());
        QVERIFY(!screen->button("BtnValidation")->isEnabled());
        // A year that is no number: told, nothing searched.
        screen->field("ANNEE")->setText(QStringLiteral("l'an 2024"));
        screen->Search();
        QCOMPARE(sink.messages.last(), acq::yearNotANumber(QStringLiteral("l'an 2024")));
    }

    // Réception of the selected title, its copies generated on the delivery note.
    void receiptThroughTheScreens_data() { addEngineRows(); }
    void receiptThroughTheScreens()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const int order = newDocument(db);
        const int first = newLine(db, order, 4, QStringLiteral("3"), QStringLiteral("25.00"));
        const int second = newLine(db, order, 2, QStringLiteral("1"), QStringLiteral("10.00"));
        QVERIFY(first && second && validateDocument(db, order).passed);
        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmCommandeSearch>(module, QStringLiteral("BtnCommandes"));
        QVERIFY(screen);
        screen->Search();
        screen->lines()->selectRow(0);
        QCOMPARE(screen->selectedLines(), QList<int>{first});

        int notes = 0;
        whenShown<TFrmLivraisonChoix>([&](TFrmLivraisonChoix *choice) {
            QVERIFY(!choice->postButton()->isEnabled());
            choice->numberField()->setText(QStringLiteral("BL <7>"));
            choice->selectedChoice()->setChecked(true);
            whenShown<TFrmLivraisonBon>([&](TFrmLivraisonBon *note) {
                ++notes;
                QCOMPARE(note->titles()->model()->rowCount(), 1);
                QCOMPARE(note->currentLine(), first);
                whenShown<TFrmGenerate>([](TFrmGenerate *g) {
                    g->countField()->setValue(2);
                    g->field("edEXP")->setText(QStringLiteral("A"));
                    g->field("edDebutEXP")->setText(QStringLiteral("98"));
                    g->field("edCote")->setText(QStringLiteral("R 840"));
                    g->Generate();
                });
                note->GenerateCopies();
                QCOMPARE(note->copies()->grid()->model()->rowCount(), 2);
                note->accept();
            });
            choice->BtnPostClick();
        });
        screen->BtnReceptionClick();
        QCOMPARE(notes, 1);
        QCOMPARE(sink.messages, QStringList{acq::generationDone(2)});
        QCOMPARE(lineValue(db, first, "ACQ_NBR_LIVRE"), 2);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE EXP_COTE = 'R 840' AND EXP_PRIX IS NOT NULL")), 2);
        QCOMPARE(recordStatus(db, 4), 1);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON WHERE LIV_NUMERO = 'BL <7>'")), 1);
        // The screen's lines show the received count; the receipt stays possible on this line.
        QCOMPARE(data.QAcquisitionLigne->value(QStringLiteral("ACQ_NBR_LIVRE")).toInt(), 2);
        QVERIFY(screen->button("BtnReception")->isEnabled());
    }

    // The record form's "Générer": the generator on the record alone,
    // proposing the copies still to create (5 wanted, 2 there: 3).
    void recordFormGenerates_data() { addEngineRows(); }
    void recordFormGenerates()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOn(1, QStringLiteral("admin"), 1);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_NBR_EXEMPLAIRE = 5 WHERE DOC_ID = 4")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID) VALUES ('R1', 4, 0), ('R2', 4, 0)")));
        int proposed = -1;
        NoticeHoldings::setGenerator([&](QWidget *parent, TFrmData &d, int record, int count) {
            proposed = count;
            TFrmGenerate generator(d, parent);
            generator.Initialize(GenerationContext::Record, AcquisitionMode::Purchase, record);
            generator.propose(count);
            whenShown<TFrmGenerate>([](TFrmGenerate *g) {
                g->field("edEXP")->setText(QStringLiteral("R"));
                g->field("edDebutEXP")->setText(QStringLiteral("3"));
                g->Generate();
            });
            return generator.exec() == QDialog::Accepted;
        });
        QVERIFY(data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 4")));
        TFrmNotice form(data);
        form.Edit();
        auto *generate = form.findChild<QPushButton *>(QStringLiteral("BtnGenerer"));
        QVERIFY(generate && generate->isEnabled());
        generate->click();
        NoticeHoldings::setGenerator({});
        QCOMPARE(proposed, 3);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = 4")), 5);
        QCOMPARE(data.QExemplaire->rowCount(), 5);
        QCOMPARE(recordStatus(db, 4), 3);
        QVERIFY(data.QNotice->isEditing() || data.QNotice->state() == Dataset::State::Browse);
    }

    void supplierList_data() { addEngineRows(); }
    void supplierList()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(acqSetUp(tdb.db()));
        session().setRight(Right::AcqAdmin, true);  // the suppliers are the acquisitions' administration
        TFrmFournisseur list(data, 2);
        whenShown<TFrmFournisseurDetail>([](TFrmFournisseurDetail *sheet) {
            QVERIFY(!sheet->postButton()->isEnabled());
            sheet->field("EdtNom")->setText(QStringLiteral("Casbah Editions"));
            QVERIFY(sheet->postButton()->isEnabled());
            sheet->BtnPostClick();
        });
        list.BtnAppendClick();
        QCOMPARE(loadSupplier(tdb.db(), 3).name, QStringLiteral("Casbah Editions"));
        QCOMPARE(loadSupplier(tdb.db(), 3).type, 0);
        QCOMPARE(data.QFournisseur->value(QStringLiteral("FOU_ID")).toInt(), 3);
        list.Search(QStringLiteral("Dar"));
        QCOMPARE(data.QFournisseur->value(QStringLiteral("FOU_ID")).toInt(), 2);
        list.Search(QStringLiteral("casbah"));
        QCOMPARE(data.QFournisseur->value(QStringLiteral("FOU_ID")).toInt(), 2);
        bool picked = false;
        connect(&list, &TFrmFournisseur::chosen, this, [&] { picked = true; });
        list.BtnSelectClick();
        QVERIFY(picked);
        QCOMPARE(list.chosenName(), QStringLiteral("Dar El Gharb"));
        list.BtnDeleteClick();
        QCOMPARE(sink.questions.last(), acq::deleteSupplierQuestion(QStringLiteral("Dar El Gharb")));
        QCOMPARE(loadSupplier(tdb.db(), 2).id, 0);
    }
};

QTEST_MAIN(TstAcqScreens)
#include "tst_acqscreens.moc"
