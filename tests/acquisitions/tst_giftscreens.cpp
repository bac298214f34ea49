// The screens of gifts, exchanges, deposits and suggestions, offscreen on
// both engines: the launcher's entries and count lines; an exchange whose
// outgoing title chooses its copy on the selection page, refuses a lent one
// and says when it is complete, with "Générer" for incoming titles only;
// the header dialog without direction for deposits; the suggestions found,
// one added through its dialog.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/widgets/frmacquisition.h"
#include "acquisitions/widgets/frmdon.h"
#include "acquisitions/widgets/frmgenerate.h"
#include "acquisitions/widgets/frmlivraisonexemplaire.h"
#include "acquisitions/widgets/frmsuggestion.h"
#include "acquisitions/widgets/giftsearch.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/helpers.h"
#include "support/screens.h"
#include "support/windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

using namespace folian;
using namespace folian::test;

namespace {

int giftDocument(Database &db, AcqType kind, int direction, const QString &number)
{
    DocumentSheet d;
    d.type = kind;
    d.number = number;
    d.partner = QStringLiteral("Bibliothèque de Tlemcen");
    d.direction = direction;
    return saveDocument(db, d).key;
}

// The row of the grid whose column 0 shows `text`; -1 when none.
int rowShowing(QTableView *grid, const QString &text)
{
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 0).data().toString() == text)
            return r;
    return -1;
}

} // namespace

class TstGiftScreens : public QObject
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

    void exchangeHandsOverItsCopies_data() { addEngineRows(); }
    void exchangeHandsOverItsCopies()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        for (const auto &[id, reader] : {std::pair{"X1", ""}, std::pair{"X2", "A"}})
            QVERIFY(acqInsert(db, "NOTICE_EXEMPLAIRE",
                              {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"), QStringLiteral("STA_EXP_ID"),
                               QStringLiteral("LEC_ID")},
                              {QLatin1String(id), 2, 0, 2, *reader ? QVariant(QLatin1String(reader)) : QVariant()}));
        const int out = giftDocument(db, AcqType::Exchange, AcqDirection::Outgoing, QStringLiteral("ECH-1"));
        const int line = newLine(db, out, 2, QStringLiteral("1"));
        QVERIFY(line > 0);

        TFrmAcquisition module(data);
        auto *screen = openEntry<TFrmEchangeSearch>(module, QStringLiteral("BtnEchanges"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("Acquisition - Recherche échanges"));
        QCOMPARE(statusLines.last(), QStringLiteral(" Echanges : 1 enreg(s)"));
        screen->Search();
        QCOMPARE(screen->countLabel()->text(), acq::documentsCount(int(AcqType::Exchange), 1));
        QCOMPARE(screen->currentDocument(), out);
        QCOMPARE(screen->currentLine(), line);
        QVERIFY(!screen->button("BtnGenerer")->isEnabled());
        QVERIFY(screen->button("BtnValidation")->isEnabled());

        // The lent copy is listed and refused; the free one is handed over.
        int pages = 0;
        whenShown<TFrmLivraisonExemplaire>([&](TFrmLivraisonExemplaire *sheet) {
            ++pages;
            QCOMPARE(sheet->page(), TFrmLivraisonExemplaire::Page::SelectCopy);
            QCOMPARE(sheet->windowTitle(), acq::copySelectCaption());
            QTableView *choices = sheet->choices();
            QCOMPARE(choices->model()->rowCount(), 2);
            choices->setCurrentIndex(choices->model()->index(rowShowing(choices, QStringLiteral("X2")), 0));
            sheet->BtnPostClick();
            QCOMPARE(sink.messages.last(), acq::copyLentNoSelection());
            choices->setCurrentIndex(choices->model()->index(rowShowing(choices, QStringLiteral("X1")), 0));
            sheet->BtnPostClick();
        });
        screen->AddCopy();
        QCOMPARE(pages, 1);
        QCOMPARE(screen->copies()->grid()->model()->rowCount(), 1);
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 1);
        QCOMPARE(countOf(db, QStringLiteral("SELECT STA_EXP_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'X1'")), 7);
        // Complete: told before any page opens.
        screen->AddCopy();
        QCOMPARE(pages, 1);
        QCOMPARE(sink.messages.last(), acq::outgoingLineFull(AcqType::Exchange));
        // Taken off: the copy stays, with its status back.
        screen->DeleteCopy();
        QCOMPARE(screen->copies()->grid()->model()->rowCount(), 0);
        QCOMPARE(countOf(db, QStringLiteral("SELECT STA_EXP_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'X1'")), 2);
    }

    void incomingGiftGenerates_data() { addEngineRows(); }
    void incomingGiftGenerates()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const int in = giftDocument(db, AcqType::Gift, AcqDirection::Incoming, QStringLiteral("DON-1"));
        const int line = newLine(db, in, 4, QStringLiteral("3"));
        TFrmDonSearch screen(data);
        screen.show();
        screen.Search();
        QCOMPARE(screen.currentLine(), line);
        QVERIFY(screen.button("BtnGenerer")->isEnabled());
        whenShown<TFrmGenerate>([](TFrmGenerate *g) {
            QCOMPARE(g->countField()->value(), 3);
            g->countField()->setValue(2);
            g->field("edEXP")->setText(QStringLiteral("DON-"));
            g->field("edDebutEXP")->setText(QStringLiteral("1"));
            g->Generate();
        });
        screen.GenerateCopies();
        QCOMPARE(screen.copies()->grid()->model()->rowCount(), 2);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE MOD_ID = 2 AND ACQ_LIGNE_ID = ?"), {line}), 2);
        QCOMPARE(recordStatus(db, 4), 1);
    }

    // The header: no direction for deposits; a direction change refused
    // while the lines hold copies, told in the dialog that stays open.
    void headerDialog_data() { addEngineRows(); }
    void headerDialog()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmDon deposit(data, AcqType::Deposit, 0);
        QVERIFY(deposit.directionList()->isHidden());
        QCOMPARE(deposit.windowTitle(), acq::giftNewCaption(AcqType::Deposit));
        QVERIFY(!deposit.postButton()->isEnabled());
        deposit.numberField()->setText(QStringLiteral("DEP 1"));
        QVERIFY(deposit.postButton()->isEnabled());
        deposit.BtnPostClick();
        QCOMPARE(loadDocument(db, deposit.savedId()).type, AcqType::Deposit);

        const int in = giftDocument(db, AcqType::Gift, AcqDirection::Incoming, QStringLiteral("DON-1"));
        const int line = newLine(db, in, 4, QStringLiteral("1"));
        CopySheet copy;
        copy.id = QStringLiteral("N1");
        QVERIFY(addReceivedCopy(db, giftTarget(loadGiftLine(db, line)), copy).passed);
        TFrmDon gift(data, AcqType::Gift, in);
        QVERIFY(!gift.directionList()->isHidden());
        QCOMPARE(gift.directionList()->currentData().toInt(), int(AcqDirection::Incoming));
        gift.directionList()->setCurrentIndex(AcqDirection::Outgoing);
        gift.BtnPostClick();
        QCOMPARE(gift.savedId(), 0);
        QCOMPARE(sink.messages.last(), acq::directionLocked(1, 0));
    }

    void suggestions_data() { addEngineRows(); }
    void suggestions()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOn(4, QStringLiteral("lecteur"), 5, {});  // no right: the entry is open to everyone
        TFrmAcquisition module(data);
        QVERIFY(module.entry(QStringLiteral("BtnSuggestions"))->isEnabled());
        auto *screen = openEntry<TFrmSuggestionSearch>(module, QStringLiteral("BtnSuggestions"));
        QVERIFY(screen);
        QCOMPARE(statusLines.last(), QStringLiteral(" Suggestions : 0 enreg(s)"));
        QVERIFY(!screen->button("BtnModifier")->isEnabled());
        whenShown<TFrmSuggestionLigne>([](TFrmSuggestionLigne *sheet) {
            QVERIFY(!sheet->postButton()->isEnabled());
            sheet->field("EdtTitre")->setText(QStringLiteral("Nedjma"));
            sheet->field("EdtAuteur")->setText(QStringLiteral("Kateb Yacine"));
            sheet->field("EdtPrix")->setText(QStringLiteral("15.00"));
            QVERIFY(sheet->postButton()->isEnabled());
            sheet->BtnPostClick();
        });
        screen->BtnNouveauClick();
        QCOMPARE(screen->grid()->model()->rowCount(), 1);
        QCOMPARE(screen->countLabel()->text(), acq::suggestionsCount(1));
        QCOMPARE(statusLines.last(), QStringLiteral(" Suggestions : 1 enreg(s)"));
        screen->numberField()->setText(QStringLiteral("x"));
        screen->Search();
        QCOMPARE(sink.messages.last(), acq::suggestionNumberNotANumber(QStringLiteral("x")));
        screen->numberField()->setText(QStringLiteral("*"));
        screen->Search();
        QCOMPARE(screen->grid()->model()->rowCount(), 1);
        QVERIFY(screen->button("BtnModifier")->isEnabled());
        screen->BtnSupprimerClick();
        QCOMPARE(screen->grid()->model()->rowCount(), 0);
    }
};

QTEST_MAIN(TstGiftScreens)
#include "tst_giftscreens.moc"
