// folianctl's gift, exchange, deposit and suggestion commands on both
// engines, as a librarian's script runs them: keys printed alone, exit 0
// when done and non-zero with the service's message when refused.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifttexts.h"
#include "base/session.h"
#include "support/folianctl.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

int keyOf(const CtlRun &r)
{
    bool ok = false;
    const int key = r.out.trimmed().toInt(&ok);
    return r.code == 0 && ok ? key : 0;
}

} // namespace

class TstGiftCtl : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserRole = 2;
    }

    void giftsBothWays_data() { addEngineRows(); }
    void giftsBothWays()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, STA_EXP_ID) VALUES ('X1', 2, 0, 2)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, STA_EXP_ID, LEC_ID) "
                                       "VALUES ('X2', 2, 0, 2, 'A')")));
        const QString ini = tdb.writeIni();
        const auto run = [&](const QStringList &args) { return runFolianctl(ini, args); };

        // Incoming: copies generated on the line, with the gift's mode of acquisition.
        const int in = keyOf(run({QStringLiteral("gift-add"), QStringLiteral("--kind"), QStringLiteral("gift"), QStringLiteral("--number"),
                                  QStringLiteral("DON 1"), QStringLiteral("--partner"), QStringLiteral("O'Brien & <Fils>"),
                                  QStringLiteral("--direction"), QStringLiteral("in"), QStringLiteral("--date"),
                                  QStringLiteral("2024-05-06")}));
        QVERIFY(in > 0);
        QCOMPARE(loadDocument(db, in).partner, QStringLiteral("O'Brien & <Fils>"));
        const int inLine = keyOf(run({QStringLiteral("gift-line"), QString::number(in), QStringLiteral("--record"), QStringLiteral("4"),
                                      QStringLiteral("--copies"), QStringLiteral("2")}));
        QVERIFY(inLine > 0);
        const CtlRun made = run({QStringLiteral("generate-copies"), QString::number(inLine), QStringLiteral("--count"),
                                 QStringLiteral("2"), QStringLiteral("--prefix"), QStringLiteral("G"), QStringLiteral("--start"),
                                 QStringLiteral("1")});
        QCOMPARE(made.code, 0);
        QCOMPARE(made.out.split(u'\n', Qt::SkipEmptyParts), (QStringList{QStringLiteral("G1"), QStringLiteral("G2")}));
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE ACQ_LIGNE_ID = ? AND MOD_ID = 2"), {inLine}), 2);
        QCOMPARE(recordStatus(db, 4), 1);

        // Outgoing (no direction given): copies handed over and taken back.
        const int out = keyOf(run({QStringLiteral("gift-add"), QStringLiteral("--kind"), QStringLiteral("exchange"),
                                   QStringLiteral("--number"), QStringLiteral("ECH 1")}));
        QVERIFY(out > 0);
        QCOMPARE(loadDocument(db, out).direction, int(AcqDirection::Unset));
        const CtlRun tooMany = run({QStringLiteral("gift-line"), QString::number(out), QStringLiteral("--record"), QStringLiteral("2"),
                                    QStringLiteral("--copies"), QStringLiteral("3")});
        QVERIFY(tooMany.code != 0);
        QVERIFY(tooMany.out.contains(acq::goodCopiesShort()));
        const int outLine = keyOf(run({QStringLiteral("gift-line"), QString::number(out), QStringLiteral("--record"), QStringLiteral("2"),
                                       QStringLiteral("--copies"), QStringLiteral("1")}));
        QVERIFY(outLine > 0);
        const CtlRun refused = run({QStringLiteral("generate-copies"), QString::number(outLine), QStringLiteral("--count"),
                                    QStringLiteral("1"), QStringLiteral("--prefix"), QStringLiteral("E"), QStringLiteral("--start"),
                                    QStringLiteral("1")});
        QVERIFY(refused.code != 0);
        QVERIFY(refused.out.contains(acq::outgoingTakesExistingCopies()));
        const CtlRun lent = run({QStringLiteral("gift-attach"), QString::number(outLine), QStringLiteral("X2")});
        QVERIFY(lent.code != 0);
        QVERIFY(lent.out.contains(acq::copyLentNoSelection()));
        const CtlRun attached = run({QStringLiteral("gift-attach"), QString::number(outLine), QStringLiteral("X1")});
        QCOMPARE(attached.code, 0);
        QCOMPARE(attached.out.trimmed(), QString());
        QCOMPARE(countOf(db, QStringLiteral("SELECT STA_EXP_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'X1'")), 7);
        QCOMPARE(run({QStringLiteral("gift-detach"), QString::number(outLine), QStringLiteral("X1")}).code, 0);
        QCOMPARE(countOf(db, QStringLiteral("SELECT STA_EXP_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'X1'")), 2);
        QCOMPARE(lineValue(db, outLine, "ACQ_NBR_LIVRE"), 0);
        const CtlRun again = run({QStringLiteral("gift-detach"), QString::number(outLine), QStringLiteral("X1")});
        QVERIFY(again.code != 0);
        QVERIFY(again.out.contains(acq::copyNotOnLine(QStringLiteral("X1"))));
        QVERIFY(run({QStringLiteral("gift-add"), QStringLiteral("--kind"), QStringLiteral("loan"), QStringLiteral("--number"),
                     QStringLiteral("X")})
                    .code
                != 0);
    }

    void suggestions_data() { addEngineRows(); }
    void suggestions()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const auto run = [&](const QStringList &args) { return runFolianctl(ini, args); };
        const int first = keyOf(run({QStringLiteral("suggestion-add"), QStringLiteral("L'Étranger"), QStringLiteral("--author"),
                                     QStringLiteral("Camus"), QStringLiteral("--price"), QStringLiteral("12.50"), QStringLiteral("--date"),
                                     QStringLiteral("2024-03-02")}));
        QCOMPARE(first, 1);
        for (int i = 2; i <= 11; ++i)
            QCOMPARE(keyOf(run({QStringLiteral("suggestion-add"), QStringLiteral("Titre %1").arg(i), QStringLiteral("--date"),
                                QStringLiteral("2024-01-%1").arg(i, 2, 10, QLatin1Char('0'))})),
                     i);
        const CtlRun negative = run({QStringLiteral("suggestion-add"), QStringLiteral("X"), QStringLiteral("--price"), QStringLiteral("-1")});
        QVERIFY(negative.code != 0);
        const CtlRun found = run({QStringLiteral("suggestions"), QStringLiteral("--number"), QStringLiteral("1*")});
        QCOMPARE(found.code, 0);
        const QStringList rows = found.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0).section(u'\t', 0, 0), QStringLiteral("10"));
        QCOMPARE(rows.at(1).section(u'\t', 0, 0), QStringLiteral("11"));
        QCOMPARE(rows.at(2), QStringLiteral("1\t2024-03-02\tL'Étranger\tCamus\t\t12.50"));
        QCOMPARE(run({QStringLiteral("suggestions")}).out.split(u'\n', Qt::SkipEmptyParts).size(), 11);
        QVERIFY(run({QStringLiteral("suggestions"), QStringLiteral("--number"), QStringLiteral("x")}).code != 0);
    }
};

QTEST_GUILESS_MAIN(TstGiftCtl)
#include "tst_giftctl.moc"
