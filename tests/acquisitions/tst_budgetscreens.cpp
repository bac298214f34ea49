// The budget, currency and invoice screens offscreen, through the module
// frame: the launcher's entries by rights with their titles and count
// lines, the budget screen's lists and a refusal that keeps its dialog
// open, an invoice entered from an order's "Factures" tab with its
// commitment picked on the budget screen, the invoices' search, and the
// currency list refusing to delete a currency in use.

#include "acquisitions/budgetfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/currencies.h"
#include "acquisitions/widgets/frmacquisition.h"
#include "acquisitions/widgets/frmbudget.h"
#include "acquisitions/widgets/frmbudgetligne.h"
#include "acquisitions/widgets/frmbudgetmontant.h"
#include "acquisitions/widgets/frmcommandesearch.h"
#include "acquisitions/widgets/frmfacture.h"
#include "acquisitions/widgets/frmfacturesearch.h"
#include "acquisitions/widgets/frmmonnaie.h"
#include "data/core/datasetmodel.h"
#include "data/widgets/pickerdialog.h"
#include "support/screens.h"
#include "support/windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

using namespace folian;
using namespace folian::test;

namespace {

// The budget of 2024 with its two chapters, a commitment of 300 on A, a
// transfer of 50 from A to B and a validated order.
struct Scene {
    Book book;
    int commitment = 0;
};

Scene scene(Database &db)
{
    Scene s;
    s.book = openBook(db);
    s.commitment = commit(db, s.book.a, QStringLiteral("300")).key;
    if (!transfer(db, s.book.a, s.book.b, QStringLiteral("50")).passed)
        s.commitment = 0;
    return s;
}

QString cell(QTableView *grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }

} // namespace

class TstBudgetScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QStringList statusLines;

private slots:
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        session().CurrentUserRole = 2;  // the acquisitions' manager: every acquisition right
        statusLines.clear();
        setStatusPanelWriter([this](int, const QString &text) { statusLines << text; });
    }
    void cleanup()
    {
        setStatusPanelWriter({});
        setMessageSink(nullptr);
    }

    // Each entry by its right, its screen, title and count line.
    void launcher_data() { addEngineRows(); }
    void launcher()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(scene(db).commitment > 0);
        QVERIFY(saveCurrency(db, {0, QStringLiteral("Euro"), QStringLiteral("أورو")}).passed);
        const struct {
            Right right;
            const char *entry, *title, *count;
            std::function<bool(TFrmModule &)> opened;
        } entries[] = {
            {Right::AcqTransact, "BtnFactures", "Acquisition - Recherche factures", " Factures : 0 enreg(s)",
             [](TFrmModule &m) { return shownScreen<TFrmFactureSearch>(m) != nullptr; }},
            {Right::AcqBudget, "BtnBudget", "Acquisition - Gestion de budget", " Budgets : 1 enreg(s)",
             [](TFrmModule &m) { return shownScreen<TFrmBudget>(m) != nullptr; }},
            {Right::AcqAdmin, "BtnMonnaies", "Acquisition - Monnaies", " Monnaies : 1 enreg(s)",
             [](TFrmModule &m) { return shownScreen<TFrmMonnaie>(m) != nullptr; }},
        };
        for (const auto &e : entries) {
            session() = Session();
            logOn(3, QStringLiteral("agent.acq"), 5, {e.right});
            TFrmAcquisition module(data);
            for (const auto &other : entries)
                QCOMPARE(module.entry(QLatin1String(other.entry))->isEnabled(), other.right == e.right);
            QVERIFY(module.trigger(QLatin1String(e.entry)));
            QVERIFY(e.opened(module));
            QCOMPARE(module.title(), QString::fromUtf8(e.title));
            QCOMPARE(statusLines.last(), QString::fromUtf8(e.count));
        }
    }

    // The budgets found, the current one's lists with exact amounts, and a
    // commitment beyond its chapter refused in its dialog, which stays open.
    void budgetScreen_data() { addEngineRows(); }
    void budgetScreen()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserLogin = QStringLiteral("resp.acq");  // who made the scene
        const Scene s = scene(db);
        QVERIFY(s.commitment > 0);
        logOn(3, QStringLiteral("resp.acq"), 5, {Right::AcqBudget});
        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmBudget>(module, QStringLiteral("BtnBudget"));
        QVERIFY(screen);
        QVERIFY(!screen->button("BtnModifier")->isEnabled());
        typeText(screen->yearField(), QStringLiteral("*"));
        screen->Search();
        QCOMPARE(screen->label("LblCount")->text(), acq::budgetsCount(1));
        QCOMPARE(screen->label("LblCountTabChapitres")->text(), acq::chaptersCount(2));
        QCOMPARE(screen->label("LblCountTabEngagements")->text(), acq::commitmentsCount(1));
        QCOMPARE(screen->label("LblCountTabTransferts")->text(), acq::transfersCount(1));
        QCOMPARE(screen->label("LblCreationValeur")->text().section(u' ', 0, 0), QStringLiteral("resp.acq"));
        QTableView *budgets = screen->grid("DBGridBudget"), *chapters = screen->grid("DBGridChapitre");
        QCOMPARE(cell(budgets, 0, 1) + u' ' + cell(budgets, 0, 2), QStringLiteral("1000.00 300.00"));
        QCOMPARE(cell(chapters, 0, 2) + u' ' + cell(chapters, 1, 2), QStringLiteral("350.00 -50.00"));
        QCOMPARE(cell(screen->grid("DBGridEngagement"), 0, 1), QStringLiteral("Ouvrages"));
        QCOMPARE(cell(screen->grid("DBGridTransfert"), 0, 0) + u'>' + cell(screen->grid("DBGridTransfert"), 0, 1),
                 QStringLiteral("Ouvrages>Périodiques"));
        QVERIFY(!screen->button("BtnChoisir")->isEnabled());

        // 150.01 on A, which has 150.00 left: refused, the dialog stays open.
        bool stayed = false;
        whenShown<TFrmBudgetLigne>([&](TFrmBudgetLigne *sheet) {
            QCOMPARE(sheet->page(), TFrmBudgetLigne::Page::Commitment);
            QCOMPARE(sheet->list("CbChapitre")->count(), 2);
            sheet->field("EdtMontant")->setText(QStringLiteral("150.01"));
            sheet->BtnPostClick();
            stayed = sheet->isVisible();
            sheet->field("EdtMontant")->setText(QStringLiteral("150.00"));
            sheet->BtnPostClick();
        });
        screen->BtnNouvelEngagementClick();
        QVERIFY(stayed);
        QCOMPARE(sink.messages, QStringList{acq::commitmentExceedsChapter()});
        QCOMPARE(screen->label("LblCountTabEngagements")->text(), acq::commitmentsCount(2));
        QCOMPARE(cell(budgets, 0, 2), QStringLiteral("450.00"));
        QCOMPARE(chapterDebitOf(db, s.book.a), QStringLiteral("500.00"));

        // A transfer is never changed; a chapter with commitments is kept.
        data.QTransfert->moveTo(0);
        screen->BtnModifierTransfertClick();
        QCOMPARE(sink.messages.last(), acq::transfersNotEditable());
        data.QChapitre->moveTo(0);
        screen->BtnSupprimerChapitreClick();
        QCOMPARE(sink.questions.last(), acq::deleteChapterQuestion());
        QCOMPARE(sink.messages.last(), acq::chapterInUse(2, 1));
    }

    // From an order's "Factures" tab: a new invoice, its commitment picked
    // on the budget screen; the tab's buttons follow the order's status.
    void invoiceFromTheOrder_data() { addEngineRows(); }
    void invoiceFromTheOrder()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const Scene s = scene(db);
        QVERIFY(s.commitment > 0);
        const int draft = newDocument(db, AcqType::Order, QStringLiteral("BC-brouillon"), QDate(2024, 1, 1));
        logOn(3, QStringLiteral("agent.acq"), 5, {Right::AcqTransact});
        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmCommandeSearch>(module, QStringLiteral("BtnCommandes"));
        QVERIFY(screen);
        screen->Search();
        QVERIFY(data.QAcquisition->locate(QStringLiteral("ACQ_ID"), draft));
        QVERIFY(!screen->button("BtnNouvelleFacture")->isEnabled());
        QVERIFY(data.QAcquisition->locate(QStringLiteral("ACQ_ID"), s.book.order));
        QVERIFY(screen->button("BtnNouvelleFacture")->isEnabled());
        QVERIFY(!screen->button("BtnModifierFacture")->isEnabled());

        bool picked = false;
        whenShown<TFrmFacture>([&](TFrmFacture *sheet) {
            QVERIFY(!sheet->postButton()->isEnabled());
            sheet->field("EdtNumero")->setText(QStringLiteral("FA 2024/12"));
            sheet->field("EdtMontant")->setText(QStringLiteral("120,40"));
            QVERIFY(!sheet->postButton()->isEnabled());
            whenShown<PickerDialog>([&](PickerDialog *picker) {
                auto *budget = picker->findChild<TFrmBudget *>();
                QVERIFY(budget);
                QCOMPARE(budget->mode(), TFrmBudget::Mode::Pick);
                QCOMPARE(budget->tabs()->currentIndex(), 0);
                typeText(budget->yearField(), QStringLiteral("2024"));
                budget->Search();
                QVERIFY(budget->button("BtnChoisir")->isEnabled());
                budget->BtnChoisirClick();
                picked = true;
            });
            sheet->BtnEngagementClick();
            QCOMPARE(sheet->field("EdtEngagement")->text(), QString::number(s.commitment));
            QVERIFY(sheet->postButton()->isEnabled());
            sheet->BtnPostClick();
        });
        screen->BtnNouvelleFactureClick();
        QVERIFY(picked);
        QCOMPARE(sink.messages, QStringList());
        QCOMPARE(commitmentDebitOf(db, s.commitment), QStringLiteral("120.40"));
        QCOMPARE(screen->invoicesLabel()->text(), acq::invoicesCount(1));
        QCOMPARE(screen->currentInvoice(), QStringLiteral("FA 2024/12"));
        QCOMPARE(cell(screen->invoices(), 0, 1), QStringLiteral("120.40"));
        QVERIFY(screen->button("BtnSupprimerFacture")->isEnabled());

        // An invoice beyond what the commitment has left: told, the dialog stays open.
        bool stayed = false;
        whenShown<TFrmFacture>([&](TFrmFacture *sheet) {
            QCOMPARE(sheet->field("EdtNumero")->text(), QStringLiteral("FA 2024/12"));
            sheet->field("EdtMontant")->setText(QStringLiteral("300.01"));
            sheet->BtnPostClick();
            stayed = sheet->isVisible();
            sheet->reject();
        });
        screen->BtnModifierFactureClick();
        QVERIFY(stayed);
        QCOMPARE(sink.messages.last(), acq::invoiceExceedsCommitment());
        screen->BtnSupprimerFactureClick();
        QCOMPARE(sink.questions.last(), acq::deleteInvoiceQuestion(QStringLiteral("FA 2024/12")));
        QCOMPARE(screen->invoicesLabel()->text(), acq::invoicesCount(0));
        QCOMPARE(commitmentDebitOf(db, s.commitment), QStringLiteral("0.00"));
    }

    void invoiceSearch_data() { addEngineRows(); }
    void invoiceSearch()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const Scene s = scene(db);
        QVERIFY(invoice(db, QStringLiteral("F-1"), s.book.order, s.commitment, QStringLiteral("10")).passed);
        QVERIFY(invoice(db, QStringLiteral("F-2"), s.book.order, s.commitment, QStringLiteral("20")).passed);
        logOn(3, QStringLiteral("agent.acq"), 5, {Right::AcqTransact});
        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmFactureSearch>(module, QStringLiteral("BtnFactures"));
        QVERIFY(screen);
        QVERIFY(!screen->button("BtnModifier")->isEnabled());
        screen->field("EdtNumero")->setText(QStringLiteral("F*"));
        screen->Search();
        QCOMPARE(screen->countLabel()->text(), acq::invoicesCount(2));
        QCOMPARE(cell(screen->grid(), 0, 1), QStringLiteral("BC-1"));
        QVERIFY(data.QFacture->locate(QStringLiteral("FAC_ID"), QStringLiteral("F-2")));
        screen->BtnSupprimerClick();
        QCOMPARE(screen->countLabel()->text(), acq::invoicesCount(1));
        QCOMPARE(commitmentDebitOf(db, s.commitment), QStringLiteral("10.00"));
        QCOMPARE(statusLines.last(), QStringLiteral(" Factures : 1 enreg(s)"));
    }

    // The list of currencies: one added in the grid, one in use kept.
    void currencies_data() { addEngineRows(); }
    void currencies()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const int euro = saveCurrency(db, {0, QStringLiteral("Euro"), QStringLiteral("أورو")}).key;
        QVERIFY(newDocument(db) && db.exec(QStringLiteral("UPDATE ACQUISITION SET MON_ID = ?"), {euro}));
        logOn(3, QStringLiteral("admin.acq"), 5, {Right::AcqAdmin});
        TFrmMonnaie list(data);
        list.BtnAppendClick();
        list.BtnPostClick();
        QCOMPARE(sink.messages.last(), acq::currencyLabelRequired());
        data.QMonnaie->setValue(QStringLiteral("MON_LIBELLE"), QStringLiteral("Dinar"));
        list.BtnPostClick();
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM MONNAIE WHERE MON_LIBELLE = 'Dinar'")), 1);
        list.Search(QStringLiteral("Eu"));
        QCOMPARE(list.currentKey().toInt(), euro);
        list.BtnDeleteClick();
        QCOMPARE(sink.questions.last(), acq::deleteCurrencyQuestion(QStringLiteral("Euro")));
        QCOMPARE(sink.messages.last(), acq::currencyInUse(1));
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM MONNAIE")), 2);
    }
};

QTEST_MAIN(TstBudgetScreens)
#include "tst_budgetscreens.moc"
