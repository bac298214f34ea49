// The subscription and claims screens offscreen, through the module frame:
// the subscriptions' entry with its count line, the periodicity column
// (blank for a title without one), the subscription's own questions, a
// title added with its period and numbering, an issue received awaited
// through "Réception" and the delivery note; the claims' entry with its
// count line, the late suppliers and, for the current one, its overdue
// titles and awaited issues, the letter printed.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/claims.h"
#include "acquisitions/core/receivedcopies.h"
#include "acquisitions/core/serialtexts.h"
#include "acquisitions/widgets/frmabonnementligne.h"
#include "acquisitions/widgets/frmabonnementsearch.h"
#include "acquisitions/widgets/frmacquisition.h"
#include "acquisitions/widgets/frmacquisitionrelance.h"
#include "acquisitions/widgets/frmlivraisonbon.h"
#include "acquisitions/widgets/frmlivraisonchoix.h"
#include "acquisitions/widgets/frmlivraisonexemplaire.h"
#include "catalogue/widgets/satellitepanel.h"
#include "base/outputdir.h"
#include "data/core/helpers.h"
#include "reports/widgets/frmhtmlpreview.h"
#include "support/screens.h"
#include "support/windows.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace folian;
using namespace folian::test;

namespace {

// The texts of a grid's column titled `title`, row by row.
QStringList columnTexts(QTableView *grid, const QString &title)
{
    QAbstractItemModel *m = grid->model();
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal).toString() == title) {
            QStringList out;
            for (int r = 0; r < m->rowCount(); ++r)
                out << m->index(r, c).data().toString();
            return out;
        }
    return {QStringLiteral("no column %1").arg(title)};
}

} // namespace

class TstSerialScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QStringList statusLines;
    QTemporaryDir pages;

private slots:
    void initTestCase() { setUserDataDirectory(pages.path()); }
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        logOn(3, QStringLiteral("agent.acq"), 5, {Right::AcqTransact, Right::AcqAdmin});
        statusLines.clear();
        setStatusPanelWriter([this](int, const QString &text) { statusLines << text; });
    }
    void cleanup()
    {
        closeWindows<TFrmHTMLPreview>();
        setStatusPanelWriter({});
        setMessageSink(nullptr);
    }

    void subscriptions_data() { addEngineRows(); }
    void subscriptions()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET PER_ID = 'h' WHERE DOC_ID = 5")));
        const int sub = newDocument(db, AcqType::Subscription, QStringLiteral("AB-1"));
        QVERIFY(newLine(db, sub, 5, QStringLiteral("1"), QStringLiteral("50.00")) && newLine(db, sub, 2, QStringLiteral("1")));
        QVERIFY(newDocument(db, AcqType::Order, QStringLiteral("BC-1")));
        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmAbonnementSearch>(module, QStringLiteral("BtnAbonnements"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("Acquisitions - Recherche abonnements"));
        QCOMPARE(statusLines.last(), QStringLiteral(" Abonnements : 1 enreg(s)"));
        screen->Search();
        QCOMPARE(screen->countLabel()->text(), acq::documentsCount(3, 1));
        QCOMPARE(columnTexts(screen->lines(), QStringLiteral("PERIODICITE")), (QStringList{QStringLiteral("Trimestriel"), QString()}));

        // A title with its period and numbering, through the subscription's line dialog.
        whenShown<TFrmAbonnementLigne>([](TFrmAbonnementLigne *sheet) {
            QVERIFY(!sheet->expectedField() && sheet->startField() && sheet->endField());
            sheet->chooseRecord(1);
            sheet->startField()->setDate(QDate(2025, 1, 1));
            sheet->endField()->setDate(QDate(2025, 12, 31));
            sheet->field("EdtNumerotation")->setText(QStringLiteral("n° 1 à 52"));
            sheet->field("EdtExemplaire")->setText(QStringLiteral("2"));
            sheet->BtnPostClick();
        });
        screen->BtnNouveauTitreClick();
        QCOMPARE(screen->lines()->model()->rowCount(), 3);
        const LineSheet added = loadLine(db, screen->currentLine());
        QCOMPARE(added.numbering, QStringLiteral("n° 1 à 52"));
        QCOMPARE(added.subscriptionStart, QDate(2025, 1, 1));
        QCOMPARE(added.subscriptionEnd, QDate(2025, 12, 31));
        QVERIFY(!added.expected.isValid());

        // Its questions are a subscription's.
        screen->BtnValidationClick();
        QCOMPARE(sink.questions.last(), acq::subscriptionValidateQuestion());
        whenShown<TFrmAbonnementLigne>([](TFrmAbonnementLigne *sheet) { sheet->reject(); });
        screen->BtnModifierTitreClick();
        QCOMPARE(sink.questions.last(), acq::subscriptionEditValidatedLinesQuestion());
        screen->BtnImprimerClick();
        QCOMPARE(shownWindows<TFrmHTMLPreview>().size(), 1);
    }

    // "Réception" of a subscription: on its delivery note an issue saved
    // with "Reçu" unticked leaves the record on order and is claimed; ticked
    // later, it receives the record and is claimed no more.
    void awaitedIssue_data() { addEngineRows(); }
    void awaitedIssue()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const int sub = newDocument(db, AcqType::Subscription, QStringLiteral("AB-3"));
        const int line = newLine(db, sub, 4, QStringLiteral("1"));  // record 4 is on order
        QVERIFY(line && validateDocument(db, sub).passed);
        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmAbonnementSearch>(module, QStringLiteral("BtnAbonnements"));
        QVERIFY(screen);
        screen->Search();
        QVERIFY(screen->button("BtnReception")->isEnabled());
        const QDate today = serverToday(db);
        whenShown<TFrmLivraisonChoix>([&](TFrmLivraisonChoix *choice) {
            choice->numberField()->setText(QStringLiteral("BL-A3"));
            whenShown<TFrmLivraisonBon>([&](TFrmLivraisonBon *note) {
                whenShown<TFrmLivraisonExemplaire>([](TFrmLivraisonExemplaire *sheet) {
                    QVERIFY(sheet->receivedBox()->isChecked());  // a new issue starts received
                    sheet->field("EdtNumeroBulletin")->setText(QStringLiteral("7"));
                    sheet->field("EdtDateParution")->setText(QStringLiteral("juillet"));
                    sheet->receivedBox()->setChecked(false);
                    sheet->BtnPostClick();
                });
                note->AddIssue();
                QCOMPARE(note->issues()->grid()->model()->rowCount(), 1);
                QCOMPARE(recordStatus(db, 4), 3);
                QCOMPARE(lateSupplierCount(db, today), 1);
                whenShown<TFrmLivraisonExemplaire>([](TFrmLivraisonExemplaire *sheet) {
                    QVERIFY(!sheet->receivedBox()->isChecked());
                    sheet->receivedBox()->setChecked(true);
                    sheet->BtnPostClick();
                });
                note->EditIssue();
                note->accept();
            });
            choice->BtnPostClick();
        });
        screen->BtnReceptionClick();
        QCOMPARE(sink.messages, QStringList());
        QCOMPARE(recordStatus(db, 4), 1);
        QCOMPARE(lateSupplierCount(db, today), 0);
    }

    void claims_data() { addEngineRows(); }
    void claims()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const QDate today = serverToday(db);
        const int order = newDocument(db, AcqType::Order, QStringLiteral("BC-9"), today, 1);
        LineSheet l;
        l.document = order;
        l.record = 1;
        l.copies = QStringLiteral("3");
        l.expected = today.addDays(-1);
        QVERIFY(saveLine(db, l).passed && validateDocument(db, order).passed);
        const int sub = newDocument(db, AcqType::Subscription, QStringLiteral("AB-2"), today, 2);
        const int line = newLine(db, sub, 5, QStringLiteral("1"));
        QVERIFY(line && validateDocument(db, sub).passed);
        ReceiptRequest q;
        q.document = sub;
        q.number = QStringLiteral("BL-1");
        const int delivery = receive(db, q).key;
        IssueSheet issue;
        issue.number = QStringLiteral("14");
        issue.received = false;
        QVERIFY(addReceivedIssue(db, {line, delivery, AcquisitionMode::Purchase}, issue).passed);

        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmAcquisitionRelance>(module, QStringLiteral("BtnRelances"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("Acquisition - Relances fournisseurs"));
        QCOMPARE(statusLines.last(), acq::claimsCountLine(2));
        QCOMPARE(screen->countLabel()->text(), acq::lateSuppliersCount(2));
        QVERIFY(screen->button("BtnImprimerListe")->isEnabled() && screen->button("BtnImprimerRelance")->isEnabled());
        // By name: "Dar El Gharb" (an awaited issue) first, then "L'Harmattan" (a title overdue).
        QCOMPARE(screen->currentSupplier(), 2);
        QCOMPARE(screen->titlesLabel()->text(), acq::lateTitlesCount(0));
        QCOMPARE(screen->issuesLabel()->text(), acq::awaitedIssuesCount(1));
        QCOMPARE(columnTexts(screen->issues(), QStringLiteral("ABONNEMENT")), QStringList{QStringLiteral("AB-2")});
        QVERIFY(data.QFournisseur->locate(QStringLiteral("FOU_ID"), 1));
        QCOMPARE(screen->titlesLabel()->text(), acq::lateTitlesCount(1));
        QCOMPARE(screen->issuesLabel()->text(), acq::awaitedIssuesCount(0));
        QCOMPARE(columnTexts(screen->titles(), QStringLiteral("COMMANDE")), QStringList{QStringLiteral("BC-9")});
        screen->BtnImprimerRelanceClick();
        QCOMPARE(sink.messages, QStringList());
        QCOMPARE(shownWindows<TFrmHTMLPreview>().size(), 1);
        QVERIFY(QFile::exists(reportPath(QStringLiteral("relanceFournisseur.html"))));
        screen->BtnImprimerListeClick();
        QVERIFY(QFile::exists(reportPath(QStringLiteral("listeFournisseur.html"))));

        // Nothing late any more: no supplier, nothing to print.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_BULLETIN SET BUL_STATUT = 1")));
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_DATE_LIVRAISON = NULL")));
        screen->reopen(today);
        QCOMPARE(screen->countLabel()->text(), acq::lateSuppliersCount(0));
        QCOMPARE(screen->currentSupplier(), 0);
        QVERIFY(!screen->button("BtnImprimerListe")->isEnabled() && !screen->button("BtnImprimerRelance")->isEnabled());
    }
};

QTEST_MAIN(TstSerialScreens)
#include "tst_serialscreens.moc"
