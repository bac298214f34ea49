// Several acquisition workstations at once on one PostgreSQL server, one
// connection per thread, all starting together: a line of 5 gets exactly
// 5 copies, an order's total counts every line added, a pre-order is
// converted once, and two batches wanting the same numbers give one.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/copygeneration.h"
#include "acquisitions/core/receivedcopies.h"
#include "base/messages.h"
#include "base/session.h"
#include "support/workstations.h"

#include <QTest>
#include <atomic>

using namespace folian;
using namespace folian::test;

namespace {

constexpr int kWorkstations = 8;
constexpr int kRounds = 3;

} // namespace

class TstAcqConcurrency : public QObject
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

    void eightCopiesOnALineOfFive()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            const Received r = receivedOrder(db, 5);
            QVERIFY(r.delivery > 0);
            std::atomic<int> refusedAsFull{0};
            const int done = atOnce(tdb.params(), kWorkstations, [&](int i, Database &c) {
                CopySheet copy;
                copy.id = QStringLiteral("W%1").arg(i);
                const AcqResult a = addReceivedCopy(c, {r.line, r.delivery, AcquisitionMode::Purchase}, copy);
                if (!a.passed && a.message == acq::lineFullyDelivered())
                    ++refusedAsFull;
                return a.passed;
            });
            QCOMPARE(done, 5);
            QCOMPARE(refusedAsFull.load(), kWorkstations - 5);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")), 5);
            QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 5);
            QCOMPARE(countOf(db, QStringLiteral("SELECT LIV_EXEMPLAIRE FROM LIVRAISON_LIGNE WHERE LIV_ID = ?"), {r.delivery}), 5);
        }
    }

    void batchesOnALineOfFive()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            const Received r = receivedOrder(db, 5);
            const int done = atOnce(tdb.params(), kWorkstations, [&](int i, Database &c) {
                GenerationRequest g;
                g.context = GenerationContext::Delivery;
                g.delivery = r.delivery;
                g.line = r.line;
                g.count = QStringLiteral("2");
                g.copy = {QStringLiteral("G%1-").arg(i), QStringLiteral("1")};
                return generateCopies(c, g).passed;
            });
            QCOMPARE(done, 2);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")), 4);
            QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 4);
        }
    }

    void eightLinesOnOneOrder()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            const int order = newDocument(db);
            QVERIFY(newLine(db, order, 1, QStringLiteral("1"), QStringLiteral("0.01")));
            const int done = atOnce(tdb.params(), kWorkstations, [&](int i, Database &c) {
                return newLine(c, order, 1 + i % 5, QStringLiteral("3"), QStringLiteral("19.99")) > 0;
            });
            QCOMPARE(done, kWorkstations);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE WHERE ACQ_ID = ?"), {order}), kWorkstations + 1);
            QCOMPARE(storedTotal(db, order), QStringLiteral("479.77"));
        }
    }

    // Lines of one order changed at once: no line's new amount is lost from the total.
    void eightLinesEditedOnOneOrder()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            const int order = newDocument(db);
            QList<int> lines;
            for (int i = 0; i < kWorkstations; ++i)
                lines << newLine(db, order, 1 + i % 5, QStringLiteral("1"), QStringLiteral("1.00"));
            QVERIFY(!lines.contains(0));
            QCOMPARE(storedTotal(db, order), QStringLiteral("8.00"));
            const int done = atOnce(tdb.params(), kWorkstations, [&](int i, Database &c) {
                LineSheet l = loadLine(c, lines.at(i));
                l.copies = QStringLiteral("3");
                l.price = QStringLiteral("19.99");
                return saveLine(c, l).passed;
            });
            QCOMPARE(done, kWorkstations);
            QCOMPARE(storedTotal(db, order), QStringLiteral("479.76"));
        }
    }

    void conversionRacedByTwo()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            const int pre = newDocument(db, AcqType::PreOrder, QStringLiteral("PC-1"));
            QVERIFY(newLine(db, pre, 3, QStringLiteral("1")));
            std::atomic<int> refused{0};
            const int done = atOnce(tdb.params(), 2, [&](int, Database &c) {
                const AcqResult r = convertToOrder(c, pre);
                if (r.message == acq::notAPreOrder())
                    ++refused;
                return r.passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(refused.load(), 1);
            QCOMPARE(int(loadDocument(db, pre).type), int(AcqType::Order));
            QCOMPARE(recordStatus(db, 3), 3);
        }
    }

    void twoBatchesWantingTheSameNumbers()
    {
        session().setRight(Right::CatNotice, true);  // copies made from a record are the cataloguer's
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(acqSetUp(db));
            std::atomic<int> refusedAsTaken{0};
            const int done = atOnce(tdb.params(), 2, [&](int i, Database &c) {
                GenerationRequest g;
                g.context = GenerationContext::Record;
                g.record = 1 + i;
                g.count = QStringLiteral("50");
                g.copy = {QStringLiteral("T"), QStringLiteral("1")};
                const GenerationResult r = generateCopies(c, g);
                if (r.message.startsWith(acq::numbersTaken({}).trimmed()))
                    ++refusedAsTaken;
                return r.passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(refusedAsTaken.load(), 1);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")), 50);
            QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(DISTINCT DOC_ID) FROM NOTICE_EXEMPLAIRE")), 1);
        }
    }
};

QTEST_GUILESS_MAIN(TstAcqConcurrency)
#include "tst_acqconcurrency.moc"
