// Gifts, exchanges and deposits on both engines: what an outgoing line may
// ask for, the copies and issues it hands over and takes back (the refusals
// leave everything as it was), the incoming lines' copies and issues, the
// direction that no longer changes once the lines hold something, the lists
// of a line, the printed form, and the upgrade that remembers the status
// of the copies handed over before.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/copygeneration.h"
#include "acquisitions/core/giftpages.h"
#include "acquisitions/core/gifts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/receivedcopies.h"
#include "base/session.h"
#include "data/core/schema.h"
#include "reports/core/htmlpage.h"
#include "support/session.h"

#include <QFile>

using namespace folian;
using namespace folian::test;

namespace {

int giftDocument(Database &db, AcqType kind, int direction, const QString &number = QStringLiteral("DON-1"),
                 const QString &partner = QStringLiteral("Ambassade d'Espagne"))
{
    DocumentSheet d;
    d.type = kind;
    d.number = number;
    d.partner = partner;
    d.direction = direction;
    d.date = QDate(2024, 5, 6);
    const AcqResult r = saveDocument(db, d);
    if (!r.passed)
        qWarning("document: %s", qPrintable(r.message));
    return r.key;
}

// Record 2 with the copies X1, X2 (available) and X3 (lost, status 5).
bool threeCopies(Database &db)
{
    for (const auto &[id, status] : {std::pair{"X1", 2}, std::pair{"X2", 2}, std::pair{"X3", 5}})
        if (!acqInsert(db, "NOTICE_EXEMPLAIRE",
                       {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"), QStringLiteral("STA_EXP_ID")},
                       {QLatin1String(id), 2, 0, status}))
            return false;
    return true;
}

QVariant copyValue(Database &db, const QString &id, const char *column)
{
    return db.scalar(QStringLiteral("SELECT %1 FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?").arg(QLatin1String(column)), {id});
}

bool addIssue(Database &db, int id, int record, const QString &number)
{
    return acqInsert(db, "NOTICE_BULLETIN",
                     {QStringLiteral("BUL_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"), QStringLiteral("BUL_NUMERO"),
                      QStringLiteral("BUL_STATUT")},
                     {id, record, 0, number, 1});
}

CopySheet copyNumbered(const QString &id)
{
    CopySheet c;
    c.id = id;
    return c;
}

LineSheet lineOf(Database &db, int line, const QString &copies)
{
    LineSheet l = loadLine(db, line);
    l.copies = copies;
    return l;
}

struct OutgoingCase {
    const char *name;
    AcqType kind;
    int direction;
    int copies;
    bool accepted;
};

// Record 2 has three copies, one of them lost.
const OutgoingCase kOutgoing[] = {
    {"gift out, 2 of 2 good", AcqType::Gift, AcqDirection::Outgoing, 2, true},
    {"gift out, 3 of 2 good", AcqType::Gift, AcqDirection::Outgoing, 3, false},
    {"gift blank, 3 of 2 good", AcqType::Gift, AcqDirection::Unset, 3, false},
    {"exchange out, 3 of 2 good", AcqType::Exchange, AcqDirection::Outgoing, 3, false},
    {"exchange out, 1", AcqType::Exchange, AcqDirection::Outgoing, 1, true},
    {"gift in, 9", AcqType::Gift, AcqDirection::Incoming, 9, true},
    {"deposit, 9", AcqType::Deposit, AcqDirection::Unset, 9, true},
};

struct HandOverCase {
    const char *name;
    const char *copy;
    const char *setUp;   // run on the copies before the hand-over
    QString (*expected)();
};

const HandOverCase kHandOver[] = {
    {"lent", "X1", "UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'A' WHERE EXP_ID = 'X1'", [] { return acq::copyLentNoSelection(); }},
    {"reserved", "X1", "UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = 'A' WHERE EXP_ID = 'X1'",
     [] { return acq::copyReservedNoSelection(); }},
    {"on another line", "X1", "UPDATE NOTICE_EXEMPLAIRE SET ACQ_LIGNE_ID2 = 99 WHERE EXP_ID = 'X1'",
     [] { return acq::copyAlreadyHandedOver(QStringLiteral("X1")); }},
    {"of another title", "Y1", nullptr, [] { return acq::copyNotOfTitle(QStringLiteral("Y1")); }},
    {"unknown", "ZZ", nullptr, [] { return acq::copyGone(QStringLiteral("ZZ")); }},
    {"line complete", "X1", "UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 2",
     [] { return acq::outgoingLineFull(AcqType::Gift); }},
    {"copies lowered below those held", "X1", "UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 1, ACQ_EXEMPLAIRE = 0",
     [] { return acq::outgoingLineFull(AcqType::Gift); }},
};

} // namespace

class TstGifts : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("agent.acq");
        session().CurrentUserRole = 2;  // the acquisitions' manager: every acquisition right
    }
    void cleanup() { setMessageSink(nullptr); }

    // An outgoing line asks no more copies than the title has in good
    // condition; a blank direction is outgoing; incoming lines are free.
    void outgoingLineCopies_data() { addEngineCaseRows(kOutgoing); }
    void outgoingLineCopies()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, index);
        const OutgoingCase &c = kOutgoing[index];
        QVERIFY(threeCopies(db));
        const int document = giftDocument(db, c.kind, c.direction);
        LineSheet l;
        l.document = document;
        l.record = 2;
        l.copies = QString::number(c.copies);
        const AcqResult r = saveLine(db, l);
        QCOMPARE(r.passed, c.accepted);
        if (!c.accepted)
            QCOMPARE(r.message, acq::goodCopiesShort());
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE")), c.accepted ? 1 : 0);
    }

    // A completed outgoing line is edited with the copies it holds counted;
    // its copies are not lowered below those handed over.
    void completedOutgoingLine_data() { addEngineRows(); }
    void completedOutgoingLine()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(threeCopies(db));
        const int line = newLine(db, giftDocument(db, AcqType::Gift, AcqDirection::Outgoing), 2, QStringLiteral("2"));
        QVERIFY(handOverCopy(db, line, QStringLiteral("X1")).passed);
        QVERIFY(handOverCopy(db, line, QStringLiteral("X2")).passed);
        QVERIFY(saveLine(db, lineOf(db, line, QStringLiteral("2"))).passed);
        QCOMPARE(saveLine(db, lineOf(db, line, QStringLiteral("3"))).message, acq::goodCopiesShort());
        QCOMPARE(saveLine(db, lineOf(db, line, QStringLiteral("1"))).message, acq::copiesBelowReceived(2));
        QCOMPARE(lineValue(db, line, "ACQ_EXEMPLAIRE"), 2);
    }

    // A hand-over refused changes neither the copy nor the line.
    void handOverRefusals_data() { addEngineCaseRows(kHandOver); }
    void handOverRefusals()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, index);
        const HandOverCase &c = kHandOver[index];
        QVERIFY(threeCopies(db));
        QVERIFY(acqInsert(db, "NOTICE_EXEMPLAIRE", {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("STA_EXP_ID")},
                          {QStringLiteral("Y1"), 5, 2}));
        const int line = newLine(db, giftDocument(db, AcqType::Gift, AcqDirection::Outgoing), 2, QStringLiteral("2"));
        if (c.setUp)
            QVERIFY(db.exec(QLatin1String(c.setUp)));
        const int held = lineValue(db, line, "ACQ_NBR_LIVRE");
        const AcqResult r = handOverCopy(db, line, QLatin1String(c.copy));
        QVERIFY(!r.passed);
        QCOMPARE(r.message, c.expected());
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), held);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE ACQ_LIGNE_ID2 = ?"), {line}), 0);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE STA_EXP_ID IN (7, 8)")), 0);
    }

    // Handed over: status 8 (gift) or 7 (exchange), the line's count up; a
    // second hand-over of the same copy refused; taken back: the status it
    // had while it still holds the line's, the copy kept, the count down,
    // never below 0.
    void handOverAndTakeBack_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("status");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" gift"))) << engine << int(AcqType::Gift) << 2 << 8;
            QTest::newRow(qPrintable(engine + QStringLiteral(" gift, blank direction"))) << engine << int(AcqType::Gift) << 0 << 8;
            QTest::newRow(qPrintable(engine + QStringLiteral(" exchange"))) << engine << int(AcqType::Exchange) << 2 << 7;
        }
    }
    void handOverAndTakeBack()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, kind);
        QFETCH(int, direction);
        QFETCH(int, status);
        QVERIFY(threeCopies(db));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET STA_EXP_ID = 4 WHERE EXP_ID = 'X2'")));
        const int line = newLine(db, giftDocument(db, AcqType(kind), direction), 2, QStringLiteral("2"));
        const int other = newLine(db, giftDocument(db, AcqType(kind), direction, QStringLiteral("DON-2")), 2, QStringLiteral("1"));
        QVERIFY(line && other);
        QVERIFY(handOverCopy(db, line, QStringLiteral("X1")).passed);
        QVERIFY(handOverCopy(db, line, QStringLiteral("X2")).passed);
        QCOMPARE(copyValue(db, QStringLiteral("X1"), "STA_EXP_ID").toInt(), status);
        QCOMPARE(copyValue(db, QStringLiteral("X2"), "ACQ_LIGNE_ID2").toInt(), line);
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 2);
        // Never twice: neither by this line nor by another.
        QCOMPARE(handOverCopy(db, other, QStringLiteral("X1")).message, acq::copyAlreadyHandedOver(QStringLiteral("X1")));
        QCOMPARE(lineValue(db, other, "ACQ_NBR_LIVRE"), 0);

        // X2 had status 4 and gets it back; X1 was given status 5 meanwhile and keeps it.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET STA_EXP_ID = 5 WHERE EXP_ID = 'X1'")));
        QVERIFY(removeLineCopy(db, line, QStringLiteral("X2")).passed);
        QVERIFY(takeBackCopy(db, line, QStringLiteral("X1")).passed);
        QCOMPARE(copyValue(db, QStringLiteral("X2"), "STA_EXP_ID").toInt(), 4);
        QCOMPARE(copyValue(db, QStringLiteral("X1"), "STA_EXP_ID").toInt(), 5);
        QVERIFY(copyValue(db, QStringLiteral("X2"), "ACQ_LIGNE_ID2").isNull());
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = 2")), 3);
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 0);
        QCOMPARE(takeBackCopy(db, line, QStringLiteral("X1")).message, acq::copyNotOnLine(QStringLiteral("X1")));
        // A count already at 0 stays there.
        QVERIFY(handOverCopy(db, line, QStringLiteral("X1")).passed);
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 0")));
        QVERIFY(takeBackCopy(db, line, QStringLiteral("X1")).passed);
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 0);
    }

    // Incoming lines receive copies (the kind's mode of acquisition, the
    // document's date, the record received) and issues; outgoing lines take
    // no new copy, one by one or generated.
    void incomingAndOutgoingCopies_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("mode");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" gift"))) << engine << int(AcqType::Gift) << 2;
            QTest::newRow(qPrintable(engine + QStringLiteral(" exchange"))) << engine << int(AcqType::Exchange) << 3;
            QTest::newRow(qPrintable(engine + QStringLiteral(" deposit"))) << engine << int(AcqType::Deposit) << 4;
        }
    }
    void incomingAndOutgoingCopies()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, kind);
        QFETCH(int, mode);
        const int line = newLine(db, giftDocument(db, AcqType(kind), AcqDirection::Incoming), 4, QStringLiteral("2"));
        const GiftLine l = loadGiftLine(db, line);
        QVERIFY(l.incoming());
        QCOMPARE(giftTarget(l).mode, mode);
        QVERIFY(addReceivedCopy(db, giftTarget(l), copyNumbered(QStringLiteral("N1"))).passed);
        QCOMPARE(recordStatus(db, 4), 1);
        QCOMPARE(copyValue(db, QStringLiteral("N1"), "MOD_ID").toInt(), mode);
        QCOMPARE(db.dialect().fromDb(copyValue(db, QStringLiteral("N1"), "EXP_DATE_ACQUISITION"), ColType::Date).toDate(),
                 QDate(2024, 5, 6));
        QCOMPARE(handOverCopy(db, line, QStringLiteral("N1")).message, acq::incomingHasNoSelection());
        QCOMPARE(giftAddRefusal(db, line), QString());
        QVERIFY(addReceivedCopy(db, giftTarget(l), copyNumbered(QStringLiteral("N2"))).passed);
        QCOMPARE(giftAddRefusal(db, line), acq::incomingLineFull(AcqType(kind)));

        // A lent or reserved copy is not deleted; a free one is, the count lowered once.
        for (const char *column : {"LEC_ID", "LEC_ID2"}) {
            QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET %1 = 'A' WHERE EXP_ID = 'N1'").arg(QLatin1String(column))));
            QVERIFY(!removeLineCopy(db, line, QStringLiteral("N1")).passed);
            QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 2);
            QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET %1 = NULL WHERE EXP_ID = 'N1'").arg(QLatin1String(column))));
        }
        QVERIFY(removeLineCopy(db, line, QStringLiteral("N1")).passed);
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 1);
        QCOMPARE(removeLineCopy(db, line, QStringLiteral("N1")).message, acq::copyNotOnLine(QStringLiteral("N1")));

        if (AcqType(kind) == AcqType::Deposit)
            return;
        // Outgoing (and blank): no new copy, whether one by one or generated,
        // though the line has room for the one copy the title has.
        QVERIFY(acqInsert(db, "NOTICE_EXEMPLAIRE", {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("STA_EXP_ID")},
                          {QStringLiteral("P1"), 2, 2}));
        for (const int direction : {AcqDirection::Outgoing, AcqDirection::Unset}) {
            const int out = newLine(db, giftDocument(db, AcqType(kind), direction, QStringLiteral("OUT")), 2, QStringLiteral("1"));
            QVERIFY(out > 0);
            QCOMPARE(addReceivedCopy(db, {out, 0, mode}, copyNumbered(QStringLiteral("O1"))).message,
                     acq::outgoingTakesExistingCopies());
            GenerationRequest g;
            g.context = GenerationContext::Line;
            g.mode = mode;
            g.line = out;
            g.count = QStringLiteral("1");
            g.copy = {QStringLiteral("O"), QStringLiteral("1")};
            QCOMPARE(generateCopies(db, g).message, acq::outgoingTakesExistingCopies());
            IssueSheet issue;
            issue.number = QStringLiteral("12");
            QCOMPARE(addReceivedIssue(db, {out, 0, mode}, issue).message, acq::outgoingTakesExistingCopies());
            QCOMPARE(lineValue(db, out, "ACQ_NBR_LIVRE"), 0);
        }
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE EXP_ID LIKE 'O%'")), 0);
    }

    // Issues: an incoming line's first issue receives the record, and its
    // issues are deleted; an outgoing line hands issues over once and only
    // clears them when they are taken off.
    void issuesByDirection_data() { addEngineRows(); }
    void issuesByDirection()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int in = newLine(db, giftDocument(db, AcqType::Gift, AcqDirection::Incoming), 4, QStringLiteral("1"));
        IssueSheet s;
        s.number = QStringLiteral("7");
        const AcqResult added = addReceivedIssue(db, giftTarget(loadGiftLine(db, in)), s);
        QVERIFY(added.passed);
        QCOMPARE(recordStatus(db, 4), 1);
        QCOMPARE(lineValue(db, in, "ACQ_NBR_LIVRE"), 0);

        QVERIFY(addIssue(db, 50, 2, QStringLiteral("1")) && addIssue(db, 51, 5, QStringLiteral("2")));
        const int out = newLine(db, giftDocument(db, AcqType::Exchange, AcqDirection::Outgoing, QStringLiteral("E-1")), 2,
                                QStringLiteral("0"));
        QCOMPARE(handOverIssue(db, out, 51).message, acq::issueNotOfTitle());
        QCOMPARE(handOverIssue(db, in, 50).message, acq::incomingHasNoSelection());
        QVERIFY(handOverIssue(db, out, 50).passed);
        QCOMPARE(handOverIssue(db, out, 50).message, acq::issueAlreadyHandedOver(QStringLiteral("1")));
        const auto listed = [&](const SqlText &t) {
            SqlRows q = db.query(t.sql, t.binds);
            QList<int> ids;
            while (q.next())
                ids << q.value(QStringLiteral("BUL_ID")).toInt();
            return ids;
        };
        QCOMPARE(listed(lineIssuesSql(loadGiftLine(db, out))), QList<int>{50});
        QCOMPARE(listed(selectableIssuesSql(loadGiftLine(db, out))), QList<int>());
        QCOMPARE(listed(lineIssuesSql(loadGiftLine(db, in))), QList<int>{added.key});
        QVERIFY(removeLineIssue(db, out, 50).passed);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE BUL_ID = 50 AND ACQ_LIGNE_ID2 IS NULL")), 1);
        QCOMPARE(removeLineIssue(db, out, 50).message, acq::issueNotOnLine());
        QVERIFY(removeLineIssue(db, in, added.key).passed);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE BUL_ID = ?"), {added.key}), 0);
    }

    // The direction does not change between incoming and outgoing while
    // the lines hold copies or issues; blank and outgoing are one direction.
    void directionLock_data() { addEngineRows(); }
    void directionLock()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(threeCopies(db));
        const auto redirect = [&](int document, int direction) {
            DocumentSheet d = loadDocument(db, document);
            d.direction = direction;
            return saveDocument(db, d);
        };
        const int in = giftDocument(db, AcqType::Gift, AcqDirection::Incoming);
        const int inLine = newLine(db, in, 4, QStringLiteral("2"));
        QVERIFY(redirect(in, AcqDirection::Outgoing).passed);  // nothing held yet
        QVERIFY(redirect(in, AcqDirection::Incoming).passed);
        QVERIFY(addReceivedCopy(db, giftTarget(loadGiftLine(db, inLine)), copyNumbered(QStringLiteral("N1"))).passed);
        QCOMPARE(redirect(in, AcqDirection::Outgoing).message, acq::directionLocked(1, 0));
        QCOMPARE(redirect(in, AcqDirection::Unset).message, acq::directionLocked(1, 0));
        QCOMPARE(loadDocument(db, in).direction, int(AcqDirection::Incoming));
        QVERIFY(redirect(in, AcqDirection::Incoming).passed);  // the same direction: the other fields may change

        const int out = giftDocument(db, AcqType::Exchange, AcqDirection::Unset, QStringLiteral("E-1"));
        const int outLine = newLine(db, out, 2, QStringLiteral("1"));
        QVERIFY(addIssue(db, 50, 2, QStringLiteral("1")));
        QVERIFY(handOverIssue(db, outLine, 50).passed);
        QVERIFY(redirect(out, AcqDirection::Outgoing).passed);
        QCOMPARE(redirect(out, AcqDirection::Incoming).message, acq::directionLocked(0, 1));
    }

    // The lists of a line: an incoming line's own copies, an outgoing line's
    // handed over ones, and what an outgoing line may still choose.
    void lineLists_data() { addEngineRows(); }
    void lineLists()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(threeCopies(db));
        const int out = newLine(db, giftDocument(db, AcqType::Gift, AcqDirection::Outgoing), 2, QStringLiteral("1"));
        QVERIFY(handOverCopy(db, out, QStringLiteral("X2")).passed);
        const auto listed = [&](const SqlText &t) {
            SqlRows q = db.query(t.sql, t.binds);
            QStringList ids;
            while (q.next())
                ids << q.value(QStringLiteral("EXP_ID")).toString();
            return ids;
        };
        const GiftLine l = loadGiftLine(db, out);
        QCOMPARE(listed(lineCopiesSql(l)), QStringList{QStringLiteral("X2")});
        QCOMPARE(listed(selectableCopiesSql(l)), (QStringList{QStringLiteral("X1"), QStringLiteral("X3")}));
        QCOMPARE(giftAddRefusal(db, out), acq::outgoingLineFull(AcqType::Gift));
    }

    // The printed form of each kind: its file, its title, the partner and
    // the titles escaped, in both languages.
    void giftForm_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("file");
        for (const QString &engine : engines())
            for (const QString &language : {QStringLiteral("FR"), QStringLiteral("AR")}) {
                QTest::newRow(qPrintable(engine + u' ' + language + QStringLiteral(" gift")))
                    << engine << int(AcqType::Gift) << language << QStringLiteral("Don.html");
                QTest::newRow(qPrintable(engine + u' ' + language + QStringLiteral(" exchange")))
                    << engine << int(AcqType::Exchange) << language << QStringLiteral("echange.html");
                QTest::newRow(qPrintable(engine + u' ' + language + QStringLiteral(" deposit")))
                    << engine << int(AcqType::Deposit) << language << QStringLiteral("depot.html");
            }
    }
    void giftForm()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, kind);
        QFETCH(QString, language);
        QFETCH(QString, file);
        session().setLanguage(language);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = '<b>Les Misérables</b>' WHERE DOC_ID = 2")));
        const int document = giftDocument(db, AcqType(kind), AcqDirection::Incoming, QStringLiteral("D&1"),
                                          QStringLiteral("O'Brien & <Fils> – دار الغرب"));
        QVERIFY(newLine(db, document, 2, QStringLiteral("3")));
        const ReportResult r = writeGiftForm(db, document);
        QVERIFY2(r.written(), qPrintable(r.message));
        QCOMPARE(QFileInfo(r.path).fileName(), file);
        QString page;
        QVERIFY(readHtmlPage(r.path, &page));
        QVERIFY(page.contains(htmlEscape(QStringLiteral("O'Brien & <Fils> – دار الغرب"))));
        QVERIFY(page.contains(QStringLiteral("&lt;b&gt;Les Mis")));
        QVERIFY(!page.contains(QStringLiteral("<Fils>")));
        QVERIFY(page.contains(htmlReferences(htmlEscape(acq::giftPageTitle(AcqType(kind)))))
                || page.contains(htmlEscape(acq::giftPageTitle(AcqType(kind)))));
        QCOMPARE(page.contains(QStringLiteral("dir=\"rtl\"")) || page.contains(QStringLiteral("dir=rtl")), language == u"AR");
    }

    // From the version before: the copies handed over before get status 2
    // back when they are taken off their line.
    void upgradeRemembersHandedOverStatus_data() { addEngineRows(); }
    void upgradeRemembersHandedOverStatus()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(threeCopies(db));
        const int line = newLine(db, giftDocument(db, AcqType::Gift, AcqDirection::Outgoing), 2, QStringLiteral("2"));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET STA_EXP_ID = 8, ACQ_LIGNE_ID2 = ? WHERE EXP_ID = 'X1'"), {line}));
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 1")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 9")));
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QCOMPARE(copyValue(db, QStringLiteral("X1"), "STA_EXP_ID2").toInt(), 2);
        QVERIFY(copyValue(db, QStringLiteral("X2"), "STA_EXP_ID2").isNull());
        QVERIFY(takeBackCopy(db, line, QStringLiteral("X1")).passed);
        QCOMPARE(copyValue(db, QStringLiteral("X1"), "STA_EXP_ID").toInt(), 2);
    }
};

QTEST_GUILESS_MAIN(TstGifts)
#include "tst_gifts.moc"
