// The loan desk and the consultation screens driven offscreen as at a desk
// with a scanner: the five modes chosen with F5 to F9 through the module
// frame, numbers ended with Return, the red and blue messages, the reader
// lists, double clicks; the copy search and the copy-status dialog.

#include "base/messages.h"
#include "base/session.h"
#include "circulation/deskfixture.h"
#include "circulation/widgets/frmcirculation.h"
#include "circulation/widgets/frmcirculationsearch.h"
#include "circulation/widgets/frmconsultation.h"
#include "circulation/widgets/frmexemplairestatut.h"
#include "circulation/widgets/frmtransactions.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerhistory.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/copysearch.h"
#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"
#include "support/screens.h"
#include "support/session.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// A number typed and ended with Return, as a scanner does.
void scan(TFrmCirculation &module, QLineEdit *field, const QString &number)
{
    typeText(field, number);
    if (!pressKey(module, field, Qt::Key_Return))
        qWarning("Return not taken by the desk");
}

void press(TFrmCirculation &module, int key)
{
    if (!pressKey(module, module.CurrentScreen(), key))
        qWarning("key not taken by the desk");
}

} // namespace

class TstDeskScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        logOn(2, QStringLiteral("resp.pret"), 7, {Right::CirculTransact});
    }
    void cleanup() { setMessageSink(nullptr); }

    void fiveModes_data() { addEngineRows(); }
    void fiveModes()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X1"), QStringLiteral("a"), none(), none()));
        QVERIFY(addCopy(db, 2, QStringLiteral("X2"), QStringLiteral("a"), none(), none(), none(), 6));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmCirculation module(data);
        module.show();
        auto *desk = openEntry<TFrmTransactions>(module, QStringLiteral("BtnPret"));
        QVERIFY(desk);
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmTransactions"));
        QCOMPARE(desk->operation(), LoanOperation::Loan);  // the desk starts lending
        MessageArea *msg = desk->messages();

        // Loan: the reader, then a lost copy (red), then a good one (blue).
        scan(module, desk->readerField(), QStringLiteral("A"));
        QVERIFY(msg->isSuccess());
        QCOMPARE(msg->text(), circ::readerInGoodStanding(QStringLiteral("A")));
        QCOMPARE(desk->shownName(), QStringLiteral("Nom Prénom"));
        QVERIFY(desk->copyField()->hasFocus() || !desk->isActiveWindow());
        scan(module, desk->copyField(), QStringLiteral("X2"));
        QVERIFY(!msg->isSuccess());
        QCOMPARE(msg->text(), circ::loanRefusedForStatus(QStringLiteral("X2"), 6));
        QCOMPARE(desk->copyField()->selectedText(), QStringLiteral("X2"));
        scan(module, desk->copyField(), QStringLiteral("X1"));
        QVERIFY(msg->isSuccess());
        QCOMPARE(msg->text(), circ::loanDone(QStringLiteral("X1")));
        QVERIFY(desk->copyField()->text().isEmpty());
        QCOMPARE(desk->history()->loansHeader(), circ::historyLoans(1));
        QCOMPARE(copyValue(db, QStringLiteral("X1"), "LEC_ID").toString(), QStringLiteral("A"));

        // Reservation (F7) by B of the copy A holds.
        press(module, Qt::Key_F7);
        QCOMPARE(desk->operation(), LoanOperation::Reservation);
        QVERIFY(desk->readerField()->text().isEmpty());
        QCOMPARE(desk->history()->loansHeader(), circ::historyLoans(-1));
        scan(module, desk->readerField(), QStringLiteral("B"));
        scan(module, desk->copyField(), QStringLiteral("X1"));
        QCOMPARE(msg->text(), circ::reservationDone(QStringLiteral("X1")));
        QCOMPARE(desk->history()->reservationsHeader(), circ::historyReservations(1));

        // Renewal (F8): the copy alone; refused since B reserved it, and the borrower is filled in.
        press(module, Qt::Key_F8);
        scan(module, desk->copyField(), QStringLiteral("X1"));
        QVERIFY(!msg->isSuccess());
        QVERIFY(msg->text().startsWith(QStringLiteral("Prolongation impossible car l'exemplaire \"X1\" est réservé")));
        QCOMPARE(desk->readerField()->text(), QStringLiteral("A"));

        // Return (F6): done, and the desk says who reserved it.
        press(module, Qt::Key_F6);
        scan(module, desk->copyField(), QStringLiteral("X1"));
        QVERIFY(msg->isSuccess());
        QVERIFY(msg->text().startsWith(circ::returnDone(QStringLiteral("X1"))));
        QVERIFY(msg->text().contains(QStringLiteral("\"B\"")));
        QCOMPARE(desk->readerField()->text(), QStringLiteral("A"));
        QVERIFY(copyValue(db, QStringLiteral("X1"), "LEC_ID").isNull());

        // Cancellation (F9): the reserver's list shows "Restitué"; a double
        // click puts the copy in the field.
        press(module, Qt::Key_F9);
        scan(module, desk->copyField(), QStringLiteral("X1"));
        QCOMPARE(msg->text(), circ::cancellationDone(QStringLiteral("X1")));
        QCOMPARE(desk->readerField()->text(), QStringLiteral("B"));
        QVERIFY(copyValue(db, QStringLiteral("X1"), "LEC_ID2").isNull());

        // Back to loan (F5): B holds nothing reserved any more; the journal has all four operations.
        press(module, Qt::Key_F5);
        QCOMPARE(desk->operation(), LoanOperation::Loan);
        QCOMPARE(journalRows(db), 4);
        // "Annuler" follows the fields.
        QVERIFY(!desk->cancelButton()->isEnabled());
        typeText(desk->readerField(), QStringLiteral("A"));
        QVERIFY(desk->cancelButton()->isEnabled());
        desk->cancelEntry();
        QVERIFY(desk->readerField()->text().isEmpty());
        QVERIFY(!desk->cancelButton()->isEnabled());
    }

    // The reservations list: a copy back on the shelf is "Restitué"; a
    // double click in loan mode puts it in the copy field.
    void heldCopyShownAndPicked_data() { addEngineRows(); }
    void heldCopyShownAndPicked()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X1"), QStringLiteral("a"), none(), none(), QStringLiteral("B")));
        QVERIFY(addCopy(db, 2, QStringLiteral("X2"), QStringLiteral("a"), QStringLiteral("B"), day(-2)));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmTransactions desk(data);
        desk.show();
        desk.Pret();
        desk.readerField()->setText(QStringLiteral("B"));
        desk.Validate();
        QCOMPARE(desk.messages()->text(), circ::readerOverdue(QStringLiteral("B")));
        QTableView *held = desk.history()->reservations();
        QCOMPARE(held->model()->index(0, 3).data().toString(), circ::returnedAndHeld());
        QTableView *loans = desk.history()->loans();
        QCOMPARE(loans->model()->index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        emit held->doubleClicked(held->model()->index(0, 0));
        QCOMPARE(desk.copyField()->text(), QStringLiteral("X1"));
        // In loan mode a loan row's double click does nothing.
        desk.copyField()->clear();
        emit loans->doubleClicked(loans->model()->index(0, 0));
        QVERIFY(desk.copyField()->text().isEmpty());
    }

    void consultationScreen_data() { addEngineRows(); }
    void consultationScreen()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("S1"), QStringLiteral("a"), none(), none(), none(), 3));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmConsultation>(module, QStringLiteral("BtnConsultation"));
        QVERIFY(screen);
        scan(module, screen->readerField(), QStringLiteral("A"));
        scan(module, screen->copyField(), QStringLiteral("S1"));
        QCOMPARE(screen->messages()->text(), circ::consultationDone(QStringLiteral("S1")));
        QTableView *loans = screen->history()->loans();
        QCOMPARE(loans->model()->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xc0, 0xc0, 0xc0));
        press(module, Qt::Key_F6);
        scan(module, screen->copyField(), QStringLiteral("S1"));
        QCOMPARE(screen->messages()->text(), circ::returnDone(QStringLiteral("S1")));
        QVERIFY(!pressKey(module, screen->copyField(), Qt::Key_F7));  // no third mode here
        QCOMPARE(screen->operation(), LoanOperation::ConsultationReturn);
    }

    // The operator's and the database's text is shown as text: tags and
    // entities stay as typed, and the colour is the message's own.
    void messagesAreText()
    {
        MessageArea area;
        const QString text = QStringLiteral("Le lecteur \"<font color=blue>X\" n'existe pas.\nMotif : \"<b>retards</b> &amp; pertes\"");
        area.refuse(text);
        QCOMPARE(area.text(), text);
        QVERIFY(!area.isSuccess());
        for (QTextBlock b = area.document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                QCOMPARE(it.fragment().charFormat().foreground().color(), QColor(Qt::red));
                QCOMPARE(it.fragment().charFormat().fontWeight(), area.font().weight());
            }
        area.succeed(QStringLiteral("<i>ok</i>"));
        QCOMPARE(area.text(), QStringLiteral("<i>ok</i>"));
        QVERIFY(area.isSuccess());
    }

    // The copy search's author is the record's first main author, in the
    // order of its authors, whatever the numbers of their headings.
    void copySearchAuthor_data() { addEngineRows(); }
    void copySearchAuthor()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X1"), QStringLiteral("a"), none(), none()));
        const QStringList columns{QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"),
                                  QStringLiteral("VED_ID2")};
        QVERIFY(insert(db, "VEDETTE", columns, {10, 1, QStringLiteral("Second auteur"), 10}));
        QVERIFY(insert(db, "VEDETTE", columns, {20, 1, QStringLiteral("Premier auteur"), 20}));
        QVERIFY(insert(db, "VEDETTE", columns, {5, 1, QStringLiteral("Auteur secondaire"), 5}));
        const QStringList authors{QStringLiteral("NAU_ID"), QStringLiteral("DOC_ID"), QStringLiteral("VED_ID"),
                                  QStringLiteral("AUT_TYPE")};
        QVERIFY(insert(db, "NOTICE_AUTEUR", authors, {1, 1, 5, 2}));
        QVERIFY(insert(db, "NOTICE_AUTEUR", authors, {2, 1, 20, 1}));
        QVERIFY(insert(db, "NOTICE_AUTEUR", authors, {3, 1, 10, 1}));
        const SqlText sql = copySearchSql(db.dialect(), CopySearch{});
        SqlRows q = db.query(sql.sql, sql.binds);
        QVERIFY(q.next());
        QCOMPARE(q.value(QStringLiteral("CS_AUTEUR")).toString(), QStringLiteral("Premier auteur"));
    }

    // The copy search: an author under another form of his heading, an
    // ISBN typed with hyphens, an apostrophe; availability; a lent copy
    // cannot be modified, a free one can, and only its own columns change.
    void copySearch_data() { addEngineRows(); }
    void copySearch()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X1"), QStringLiteral("a"), QStringLiteral("A"), day(3)));
        QVERIFY(addCopyOf(db, 1, QStringLiteral("X2")));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = 'Contes de L''Harmattan', "
                                       "DOC_KEYWORDS = '/Contes/de/L/Harmattan/', DOC_ISBN = '9782738412345' WHERE DOC_ID = 1")));
        QVERIFY(addCopy(db, 2, QStringLiteral("Y1"), QStringLiteral("a"), none(), none()));
        // Heading 10 is the accepted form, 11 a rejected form of it; record 1 is under 10.
        QVERIFY(insert(db, "VEDETTE", {QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"),
                                       QStringLiteral("VED_ID2"), QStringLiteral("VED_KEYWORDS")},
                       {10, 1, QStringLiteral("Ibn Khaldoun"), 10, QStringLiteral("/Ibn/Khaldoun/")}));
        QVERIFY(insert(db, "VEDETTE", {QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"),
                                       QStringLiteral("VED_ID2"), QStringLiteral("VED_KEYWORDS")},
                       {11, 1, QStringLiteral("ابن خلدون"), 10, QStringLiteral("/ابن/خلدون/")}));
        QVERIFY(insert(db, "NOTICE_AUTEUR", {QStringLiteral("NAU_ID"), QStringLiteral("DOC_ID"), QStringLiteral("VED_ID"), QStringLiteral("AUT_TYPE")},
                       {1, 1, 10, 1}));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmCirculationSearch search(data);
        search.show();
        const struct {
            QLineEdit *field;
            const char *text;
        } criteria[] = {{search.authorField(), "خلدون"}, {search.numberField(), "978-2-7384-1234-5"},
                        {search.titleField(), "l'harmattan"}};
        for (const auto &c : criteria) {
            search.Initialise();
            c.field->setText(QString::fromUtf8(c.text));
            search.Search();
            QCOMPARE(search.recordRows()->recordCount(), 1);
            QCOMPARE(search.recordRows()->value(QStringLiteral("DOC_ID")).toInt(), 1);
        }
        QCOMPARE(search.records()->model()->index(0, 2).data().toString(), QStringLiteral("Ibn Khaldoun"));
        QCOMPARE(search.copiesHeader(), QStringLiteral(" 2 exemplaire(s)"));
        QAbstractItemModel *copies = search.copies()->model();
        QCOMPARE(copies->index(0, 4).data().toString(), availability(QStringLiteral("A"), today().addDays(3), {}, {}));
        QCOMPARE(copies->index(1, 4).data().toString(), QStringLiteral("Disponible"));
        // The lent copy is refused.
        search.copyRows()->moveTo(0);
        search.BtnModifierClick();
        QCOMPARE(sink.messages.value(0), QStringLiteral("Modification impossible car l'exemplaire est emprûnté"));
        // The free one: status 6 (lost), written with nothing else.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_COTE = '840 IBN' WHERE EXP_ID = 'X2'")));
        TFrmExemplaireStatut dialog(data, QStringLiteral("X2"));
        QCOMPARE(dialog.coteField()->text(), QStringLiteral("840 IBN"));
        QVERIFY(!dialog.coteField()->isEnabled());
        dialog.statusList()->setCurrentIndex(dialog.statusList()->findData(QStringLiteral("6")));
        dialog.observationField()->setText(QStringLiteral("Introuvable à l'inventaire"));
        dialog.BtnEnregistrerClick();
        QCOMPARE(copyValue(db, QStringLiteral("X2"), "STA_EXP_ID").toInt(), 6);
        QCOMPARE(copyValue(db, QStringLiteral("X2"), "EXP_OBSERVATION").toString(), QStringLiteral("Introuvable à l'inventaire"));
        QCOMPARE(copyValue(db, QStringLiteral("X2"), "EXP_COTE").toString(), QStringLiteral("840 IBN"));
        // Lent meanwhile at a desk: the dialog's save is refused.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'B', STA_EXP_ID = 2 WHERE EXP_ID = 'X2'")));
        QVERIFY(!changeCopyStatus(db, QStringLiteral("X2"), 5, {}, {}).isEmpty());
        QCOMPARE(copyValue(db, QStringLiteral("X2"), "STA_EXP_ID").toInt(), 2);
    }
};

QTEST_MAIN(TstDeskScreens)
#include "tst_deskscreens.moc"
