// Outgoing gifts and exchanges at several workstations on one PostgreSQL
// server, one connection per thread, all starting together: eight lines
// wanting the title's last free copy hand it over once; a desk lending a
// copy while a line hands it over gives one winner; eight copies offered
// to a line of two give it exactly two.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/gifts.h"
#include "base/messages.h"
#include "base/session.h"
#include "circulation/deskfixture.h"
#include "support/workstations.h"

#include <QTest>
#include <atomic>

using namespace folian;
using namespace folian::test;

namespace {

constexpr int kWorkstations = 8;
constexpr int kRounds = 3;

int outgoingLine(Database &db, AcqType kind, const QString &number, int copies)
{
    DocumentSheet d;
    d.type = kind;
    d.number = number;
    d.direction = AcqDirection::Outgoing;
    const int document = saveDocument(db, d).key;
    return document > 0 ? newLine(db, document, 2, QString::number(copies)) : 0;
}

bool copyOf2(Database &db, const QString &id, int status = 2)
{
    return acqInsert(db, "NOTICE_EXEMPLAIRE",
                     {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"), QStringLiteral("STA_EXP_ID")},
                     {id, 2, 0, status});
}

} // namespace

class TstGiftConcurrency : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("agent.acq");
        session().CurrentUserRole = 2;  // the acquisitions' manager: every acquisition right
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    // Eight lines, one on each workstation, want the last free copy: one has it.
    void eightLinesTheLastFreeCopy()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            QVERIFY(copyOf2(db, QStringLiteral("LAST")) && copyOf2(db, QStringLiteral("GONE"), 8));
            QList<int> lines;
            for (int i = 0; i < kWorkstations; ++i)
                lines << outgoingLine(db, i % 2 ? AcqType::Exchange : AcqType::Gift, QStringLiteral("D-%1").arg(i), 1);
            QVERIFY(!lines.contains(0));
            const int done = atOnce(tdb.params(), kWorkstations,
                                    [&](int i, Database &c) { return handOverCopy(c, lines.at(i), QStringLiteral("LAST")).passed; });
            QCOMPARE(done, 1);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COALESCE(SUM(ACQ_NBR_LIVRE), 0) FROM ACQUISITION_LIGNE")), 1);
            const int holder = countOf(db, QStringLiteral("SELECT ACQ_LIGNE_ID2 FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'LAST'"));
            QVERIFY(lines.contains(holder));
            QCOMPARE(lineValue(db, holder, "ACQ_NBR_LIVRE"), 1);
        }
    }

    // Eight copies offered at once to a line of two: it holds two.
    void eightCopiesForALineOfTwo()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            for (int i = 0; i < kWorkstations; ++i)
                QVERIFY(copyOf2(db, QStringLiteral("C%1").arg(i)));
            const int line = outgoingLine(db, AcqType::Gift, QStringLiteral("D-1"), 2);
            const int done = atOnce(tdb.params(), kWorkstations,
                                    [&](int i, Database &c) { return handOverCopy(c, line, QStringLiteral("C%1").arg(i)).passed; });
            QCOMPARE(done, 2);
            QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 2);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE ACQ_LIGNE_ID2 = ? AND STA_EXP_ID = 8"),
                             {line}),
                     2);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE ACQ_LIGNE_ID2 IS NULL AND STA_EXP_ID = 2")),
                     kWorkstations - 2);
        }
    }

    // A loan desk and an outgoing line take one copy at once: one of them
    // has it, never both.
    void deskLendsWhileHandedOver()
    {
        session().CurrentUserRole = 1;  // the administrator: the desk's rights and the acquisitions'
        int lent = 0, handedOver = 0;
        for (int round = 0; round < kRounds * 2; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db) && deskSetUp(db));
            QVERIFY(copyOf2(db, QStringLiteral("X")) && copyOf2(db, QStringLiteral("Y")));
            // The desk lends a copy that nobody hands over.
            const DeskResult alone = LoanDesk(db, today()).lend(QStringLiteral("B"), QStringLiteral("Y"));
            QVERIFY2(alone.passed, qPrintable(alone.lines.join(u' ')));
            const int line = outgoingLine(db, AcqType::Gift, QStringLiteral("D-1"), 1);
            std::atomic<bool> loan{false}, gift{false};
            atOnce(tdb.params(), 2, [&](int i, Database &c) {
                if (i == 0) {
                    loan = LoanDesk(c, today()).lend(QStringLiteral("A"), QStringLiteral("X")).passed;
                } else {
                    // Every other round the line comes a little later, so that each side wins at times.
                    QThread::msleep(round % 2 ? 40 : 0);
                    gift = handOverCopy(c, line, QStringLiteral("X")).passed;
                }
                return true;
            });
            QVERIFY2(loan != gift, loan ? "both took the copy" : "nobody took the copy");
            QCOMPARE(copyValue(db, QStringLiteral("X"), "LEC_ID").toString() == u"A", loan.load());
            QCOMPARE(!copyValue(db, QStringLiteral("X"), "ACQ_LIGNE_ID2").isNull(), gift.load());
            QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), gift ? 1 : 0);
            lent += loan;
            handedOver += gift;
        }
        qInfo("the desk won %d time(s), the line %d time(s)", lent, handedOver);
        QVERIFY(lent > 0 && handedOver > 0);
    }
};

QTEST_GUILESS_MAIN(TstGiftConcurrency)
#include "tst_giftconcurrency.moc"
