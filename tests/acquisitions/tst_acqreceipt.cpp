// Deliveries and the copies received on both engines: the conditions of a
// receipt, the received counts that never pass what was ordered, batch
// numbering and its all-or-nothing checks, the record received with its
// first copy or issue, what a copy's deletion lowers, the deletions refused
// while copies or issues depend on a delivery, the delivery search and note.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/copygeneration.h"
#include "acquisitions/core/receivedcopies.h"
#include "base/session.h"
#include "catalogue/core/records.h"
#include "reports/core/htmlpage.h"
#include "support/session.h"

using namespace folian;
using namespace folian::test;

namespace {

GenerationRequest batch(const Received &r, const QString &count, const QString &prefix, const QString &start)
{
    GenerationRequest g;
    g.context = GenerationContext::Delivery;
    g.delivery = r.delivery;
    g.line = r.line;
    g.count = count;
    g.copy = {prefix, start};
    return g;
}

int copies(Database &db) { return countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")); }

int delivered(Database &db, const Received &r)
{
    return countOf(db, QStringLiteral("SELECT LIV_EXEMPLAIRE FROM LIVRAISON_LIGNE WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ?"),
                   {r.delivery, r.line});
}

CopySheet copyNumbered(const QString &id)
{
    CopySheet c;
    c.id = id;
    return c;
}

struct NumberingCase {
    const char *name;
    NumberSeries copy, shelf, alt;
    int count;
    QStringList ids, shelves, alts;   // an empty text: NULL
};

const NumberingCase kNumbering[] = {
    {"A98 to A100", {QStringLiteral("A"), QStringLiteral("98")}, {}, {}, 3,
     {QStringLiteral("A98"), QStringLiteral("A99"), QStringLiteral("A100")}, {QString(), QString(), QString()},
     {QString(), QString(), QString()}},
    {"shelf mark prefix alone", {QStringLiteral("B"), QStringLiteral("1")}, {QStringLiteral("R 840"), QString()}, {}, 2,
     {QStringLiteral("B1"), QStringLiteral("B2")}, {QStringLiteral("R 840"), QStringLiteral("R 840")}, {QString(), QString()}},
    {"shelf mark start 0", {QStringLiteral("C"), QStringLiteral("9")}, {QStringLiteral("840 FER"), QStringLiteral("0")},
     {QStringLiteral("INV-"), QStringLiteral("007")}, 2, {QStringLiteral("C9"), QStringLiteral("C10")},
     {QStringLiteral("840 FER"), QStringLiteral("840 FER")}, {QStringLiteral("INV-7"), QStringLiteral("INV-8")}},
    {"numbers without prefixes", {QString(), QStringLiteral("5")}, {QString(), QStringLiteral("12")}, {QStringLiteral("X"), QString()},
     2, {QStringLiteral("5"), QStringLiteral("6")}, {QStringLiteral("12"), QStringLiteral("13")}, {QString(), QString()}},
};

} // namespace

class TstAcqReceipt : public QObject
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

    void preview()
    {
        QCOMPARE(seriesPreview({QStringLiteral("BIB"), QStringLiteral("98")}, 3),
                 (QStringList{QStringLiteral("BIB98"), QStringLiteral("BIB99"), QStringLiteral("BIB100")}));
        QCOMPARE(seriesPreview({QStringLiteral("R 840"), QString()}, 2), (QStringList{QStringLiteral("R 840"), QStringLiteral("R 840")}));
        QCOMPARE(seriesPreview({QStringLiteral("P"), QStringLiteral("x1")}, 1), QStringList{QStringLiteral("P")});
        QCOMPARE(seriesPreview({QStringLiteral("P"), QStringLiteral("1")}, 0), QStringList());
    }

    void receiptConditions_data() { addEngineRows(); }
    void receiptConditions()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int order = newDocument(db);
        const int full = newLine(db, order, 1, QStringLiteral("2"));
        const int open = newLine(db, order, 2, QStringLiteral("3"));
        const int none = newLine(db, order, 5, QStringLiteral("0"));
        QVERIFY(full && open && none);
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 2 WHERE ACQ_LIGNE_ID = ?"), {full}));
        const int other = newDocument(db, AcqType::Order, QStringLiteral("BC-9"));
        const int foreign = newLine(db, other, 1, QStringLiteral("1"));
        const int pre = newDocument(db, AcqType::PreOrder, QStringLiteral("PC-1"));
        QVERIFY(newLine(db, pre, 1, QStringLiteral("1")));
        const auto request = [](int document, const QString &number, bool selected = false, QList<int> lines = {}) {
            ReceiptRequest r;
            r.document = document;
            r.number = number;
            r.selectedOnly = selected;
            r.lines = lines;
            return r;
        };
        QCOMPARE(receive(db, request(order, QStringLiteral("BL"))).message, acq::receiptNotValidated());
        QCOMPARE(receive(db, request(pre, QStringLiteral("BL"))).message, acq::receiptWrongType());
        QVERIFY(validateDocument(db, order).passed);
        QCOMPARE(receive(db, request(order, QStringLiteral("  "))).message, acq::deliveryNumberRequired());
        QCOMPARE(receive(db, request(order, QStringLiteral("BL"), true)).message, acq::noTitleSelected());
        QCOMPARE(receive(db, request(order, QStringLiteral("BL"), true, {open, foreign})).message, acq::lineNotOfDocument(foreign));
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON")), 0);

        // Every title not fully received: a line of 0 copies counts as received.
        const AcqResult all = receive(db, request(order, QStringLiteral("BL-1")));
        QVERIFY(all.passed);
        QCOMPARE(countOf(db, QStringLiteral("SELECT ACQ_LIGNE_ID FROM LIVRAISON_LIGNE WHERE LIV_ID = ?"), {all.key}), open);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE WHERE LIV_ID = ?"), {all.key}), 1);
        // Selected titles, the fully received one left out; and a delivery with none.
        const AcqResult chosen = receive(db, request(order, QStringLiteral("BL-2"), true, {full, open}));
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE WHERE LIV_ID = ?"), {chosen.key}), 1);
        const AcqResult empty = receive(db, request(order, QStringLiteral("BL-3"), true, {full}));
        QVERIFY(empty.passed);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE WHERE LIV_ID = ?"), {empty.key}), 0);
        QCOMPARE(loadDelivery(db, empty.key).number, QStringLiteral("BL-3"));
    }

    // A line of 5 with 4 received: a batch of 2 is refused and writes
    // nothing, 1 is taken, then one more is refused.
    void deliveryBeyondTheOrder_data() { addEngineRows(); }
    void deliveryBeyondTheOrder()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Received r = receivedOrder(db, 5);
        QVERIFY(r.delivery > 0);
        QVERIFY(generateCopies(db, batch(r, QStringLiteral("4"), QStringLiteral("A"), QStringLiteral("1"))).passed);
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 4);

        const GenerationResult two = generateCopies(db, batch(r, QStringLiteral("2"), QStringLiteral("A"), QStringLiteral("5")));
        QCOMPARE(two.message, acq::countIncorrect());
        QCOMPARE(copies(db), 4);
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 4);
        QCOMPARE(delivered(db, r), 4);

        const GenerationResult one = generateCopies(db, batch(r, QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("5")));
        QVERIFY(one.passed);
        QCOMPARE(one.message, acq::generationDone(1));
        QCOMPARE(one.created, QStringList{QStringLiteral("A5")});
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 5);
        QCOMPARE(delivered(db, r), 5);

        QCOMPARE(generateCopies(db, batch(r, QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("6"))).message,
                 acq::lineFullyDelivered());
        ReceiptTarget t{r.line, r.delivery, AcquisitionMode::Purchase};
        QCOMPARE(addReceivedCopy(db, t, copyNumbered(QStringLiteral("A6"))).message, acq::lineFullyDelivered());
        QCOMPARE(copies(db), 5);
        // The received copies carry the delivery, the line's price and the delivery's date.
        SqlRows q = db.query(QStringLiteral("SELECT LIV_ID, ACQ_LIGNE_ID, EXP_PRIX, EXP_DATE_ACQUISITION, MOD_ID, STA_EXP_ID, "
                                              "DOC_ID, BIB_ID, EXP_INVENTORIE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'A5'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), r.delivery);
        QCOMPARE(q.value(1).toInt(), r.line);
        QCOMPARE(Money::fromVariant(q.value(2))->toString(), QStringLiteral("12.50"));
        QCOMPARE(db.dialect().fromDb(q.value(3), ColType::Date).toDate(), QDate(2024, 4, 2));
        QCOMPARE(q.value(4).toInt(), 1);
        QCOMPARE(q.value(5).toInt(), 2);
        QCOMPARE(q.value(6).toInt(), 4);
        QCOMPARE(q.value(7).toInt(), 0);
        QCOMPARE(q.value(8).toInt(), 1);
    }

    void numbering_data() { addEngineCaseRows(kNumbering); }
    void numbering()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const NumberingCase &k = kNumbering[index];
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(acqSetUp(db));
        const Received r = receivedOrder(db, 5);
        GenerationRequest g = batch(r, QString::number(k.count), k.copy.prefix, k.copy.start);
        g.shelfMark = k.shelf;
        g.altNumber = k.alt;
        g.location = QStringLiteral("MAG");
        g.support = 1;
        g.status = 3;
        const GenerationResult done = generateCopies(db, g);
        QVERIFY2(done.passed, qPrintable(done.message));
        QCOMPARE(done.created, k.ids);
        for (int i = 0; i < k.count; ++i) {
            SqlRows q = db.query(QStringLiteral("SELECT EXP_COTE, EXP_INV, LOC_ID, SUP_ID, STA_EXP_ID FROM NOTICE_EXEMPLAIRE "
                                                  "WHERE EXP_ID = ?"),
                                   {k.ids.at(i)});
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), k.shelves.at(i));
            QCOMPARE(q.value(0).isNull(), k.shelves.at(i).isEmpty());
            QCOMPARE(q.value(1).toString(), k.alts.at(i));
            QCOMPARE(q.value(1).isNull(), k.alts.at(i).isEmpty());
            QCOMPARE(q.value(2).toString(), QStringLiteral("MAG"));
            QCOMPARE(q.value(3).toInt(), 1);
            QCOMPARE(q.value(4).toInt(), 3);
        }
    }

    // Every number is checked before anything is written.
    void batchRefusals_data() { addEngineRows(); }
    void batchRefusals()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Received r = receivedOrder(db, 5);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID) VALUES ('A99', 1, 0), ('A100', 1, 0)")));
        const QString longPrefix(49, u'X');
        GenerationRequest longShelf = batch(r, QStringLiteral("2"), QStringLiteral("L"), QStringLiteral("1"));
        longShelf.shelfMark = {QString(49, u'S'), QStringLiteral("9")};
        const struct {
            GenerationRequest request;
            QString refusal;
        } cases[] = {
            {batch(r, QStringLiteral("3"), QStringLiteral("A"), QStringLiteral("98")),
             acq::numbersTaken({QStringLiteral("A99"), QStringLiteral("A100")})},
            {batch(r, QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("0")), acq::startZero()},
            {batch(r, QStringLiteral("1"), QStringLiteral("A"), QString()), acq::startZero()},
            {batch(r, QStringLiteral("0"), QStringLiteral("A"), QStringLiteral("1")), acq::countOutOfRange(QStringLiteral("0"))},
            {batch(r, QStringLiteral("1001"), QStringLiteral("A"), QStringLiteral("1")), acq::countOutOfRange(QStringLiteral("1001"))},
            {batch(r, QStringLiteral("deux"), QStringLiteral("A"), QStringLiteral("1")), acq::countOutOfRange(QStringLiteral("deux"))},
            {batch(r, QStringLiteral("3"), longPrefix, QStringLiteral("9")),
             acq::numbersTooLong({longPrefix + QStringLiteral("10"), longPrefix + QStringLiteral("11")},
                                 QStringLiteral("N° exemplaire"), 50)},
            {longShelf, acq::numbersTooLong({QString(49, u'S') + QStringLiteral("10")}, QStringLiteral("Cote"), 50)},
        };
        for (const auto &c : cases)
            QCOMPARE(generateCopies(db, c.request).message, c.refusal);
        QCOMPARE(copies(db), 2);
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 0);
        QCOMPARE(delivered(db, r), 0);
        QCOMPARE(recordStatus(db, 4), 3);
    }

    // Copies entered directly on a line (a gift): the line's counts within
    // what was given, today's date, the gift's mode, no delivery.
    void directEntryOnALine_data() { addEngineRows(); }
    void directEntryOnALine()
    {
        FOLIAN_ACQ_DB(tdb, db);
        DocumentSheet gift;
        gift.type = AcqType::Gift;
        gift.number = QStringLiteral("DON-1");
        gift.partner = QStringLiteral("Ambassade d'Espagne");
        gift.direction = AcqDirection::Incoming;
        const int document = saveDocument(db, gift).key;
        const int line = newLine(db, document, 4, QStringLiteral("3"));
        QVERIFY(document > 0 && line > 0);
        GenerationRequest g;
        g.context = GenerationContext::Line;
        g.mode = AcquisitionMode::Gift;
        g.line = line;
        g.count = QStringLiteral("2");
        g.copy = {QStringLiteral("G"), QStringLiteral("1")};
        QVERIFY(generateCopies(db, g).passed);
        g.copy = {QStringLiteral("G"), QStringLiteral("3")};
        QCOMPARE(generateCopies(db, g).message, acq::countIncorrect());
        const ReceiptTarget t{line, 0, AcquisitionMode::Gift};
        QVERIFY(addReceivedCopy(db, t, copyNumbered(QStringLiteral("G3"))).passed);
        QCOMPARE(addReceivedCopy(db, t, copyNumbered(QStringLiteral("G4"))).message, acq::lineFullyDelivered());
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 3);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE ACQ_LIGNE_ID = ? AND MOD_ID = 2 "
                                            "AND LIV_ID IS NULL AND EXP_PRIX IS NULL AND EXP_DATE_ACQUISITION = ?"),
                         {line, dateValue(db, serverToday(db))}),
                 3);
        QCOMPARE(recordStatus(db, 4), 1);
    }

    // Status 3 becomes 1 at the first copy or issue received, and only then.
    void recordReceived_data() { addEngineRows(); }
    void recordReceived()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Received r = receivedOrder(db, 5);
        QCOMPARE(recordStatus(db, 4), 3);
        GenerationRequest alone;
        alone.context = GenerationContext::Record;
        alone.record = 4;
        alone.count = QStringLiteral("1");
        alone.copy = {QStringLiteral("R"), QStringLiteral("1")};
        session().setRight(Right::CatNotice, true);  // copies made from a record are the cataloguer's
        QVERIFY(generateCopies(db, alone).passed);
        QCOMPARE(recordStatus(db, 4), 3);
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 0);
        ReceiptTarget t{r.line, r.delivery, AcquisitionMode::Purchase};
        QVERIFY(addReceivedCopy(db, t, copyNumbered(QStringLiteral("N1"))).passed);
        QCOMPARE(recordStatus(db, 4), 1);
        QVERIFY(deleteReceivedCopy(db, QStringLiteral("N1")).passed);
        QCOMPARE(recordStatus(db, 4), 1);

        // A subscription: its first issue receives the record; copies and
        // issues beyond the copies subscribed.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET STA_ID = 3 WHERE DOC_ID = 5")));
        const int sub = newDocument(db, AcqType::Subscription, QStringLiteral("AB-1"));
        const int line = newLine(db, sub, 5, QStringLiteral("1"), QStringLiteral("80.00"));
        QVERIFY(validateDocument(db, sub).passed);
        ReceiptRequest q;
        q.document = sub;
        q.number = QStringLiteral("BL-AB");
        const int delivery = receive(db, q).key;
        QVERIFY(delivery > 0);
        IssueSheet issue;
        issue.number = QStringLiteral("12");
        const ReceiptTarget st{line, delivery, AcquisitionMode::Purchase};
        QVERIFY(addReceivedIssue(db, st, issue).passed);
        QCOMPARE(recordStatus(db, 5), 1);
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 0);
        for (const char *id : {"S1", "S2", "S3"})
            QVERIFY(addReceivedCopy(db, st, copyNumbered(QLatin1String(id))).passed);
        QCOMPARE(lineValue(db, line, "ACQ_NBR_LIVRE"), 3);
    }

    // A copy deleted lowers its own line's and delivery's counts once,
    // never below 0; a lent or reserved copy stays.
    void copyDeletion_data() { addEngineRows(); }
    void copyDeletion()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Received r = receivedOrder(db, 5);
        QVERIFY(generateCopies(db, batch(r, QStringLiteral("4"), QStringLiteral("D"), QStringLiteral("1"))).passed);
        QVERIFY(deleteReceivedCopy(db, QStringLiteral("D1")).passed);
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 3);
        QCOMPARE(delivered(db, r), 3);
        QCOMPARE(deleteReceivedCopy(db, QStringLiteral("D1")).message, acq::copyGone(QStringLiteral("D1")));
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 3);

        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'L1', EXP_DATE_RETOUR = ? WHERE EXP_ID = 'D2'"),
                        {dateValue(db, QDate(2030, 1, 1))}));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = 'L2' WHERE EXP_ID = 'D3'")));
        QCOMPARE(deleteReceivedCopy(db, QStringLiteral("D2")).message, copyDeleteRefusal(db, QStringLiteral("D2")));
        QVERIFY(!copyDeleteRefusal(db, QStringLiteral("D3")).isEmpty());
        QCOMPARE(deleteReceivedCopy(db, QStringLiteral("D3")).message, copyDeleteRefusal(db, QStringLiteral("D3")));
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 3);

        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 0")));
        QVERIFY(db.exec(QStringLiteral("UPDATE LIVRAISON_LIGNE SET LIV_EXEMPLAIRE = 0")));
        QVERIFY(deleteReceivedCopy(db, QStringLiteral("D4")).passed);
        QCOMPARE(lineValue(db, r.line, "ACQ_NBR_LIVRE"), 0);
        QCOMPARE(delivered(db, r), 0);
    }

    // A delivery or delivered title with copies or issues stays; a title
    // removed can be added back while it is not fully received.
    void deliveriesKeptByTheirCopies_data() { addEngineRows(); }
    void deliveriesKeptByTheirCopies()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Received r = receivedOrder(db, 2);
        const ReceiptTarget t{r.line, r.delivery, AcquisitionMode::Purchase};
        QVERIFY(addReceivedCopy(db, t, copyNumbered(QStringLiteral("K1"))).passed);
        IssueSheet issue;
        issue.number = QStringLiteral("3");
        QVERIFY(addReceivedIssue(db, t, issue).passed);
        QCOMPARE(deleteDelivery(db, r.delivery).message, acq::deliveryHasReceipts(1, 1));
        QCOMPARE(removeDeliveredTitle(db, r.delivery, r.line).message, acq::titleHasReceipts(1, 1));
        QVERIFY(deleteIssue(db, countOf(db, QStringLiteral("SELECT MAX(BUL_ID) FROM NOTICE_BULLETIN"))).passed);
        QVERIFY(deleteReceivedCopy(db, QStringLiteral("K1")).passed);
        QCOMPARE(missingTitles(db, r.delivery), 0);
        QVERIFY(removeDeliveredTitle(db, r.delivery, r.line).passed);
        QCOMPARE(removeDeliveredTitle(db, r.delivery, r.line).message, acq::titleNotDelivered());
        QCOMPARE(addReceivedCopy(db, t, copyNumbered(QStringLiteral("K2"))).message, acq::titleNotDelivered());
        QCOMPARE(missingTitles(db, r.delivery), 1);
        QVERIFY(addDeliveredTitle(db, r.delivery, r.line).passed);
        QCOMPARE(addDeliveredTitle(db, r.delivery, r.line).message, acq::titleAlreadyDelivered());
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 2")));
        QVERIFY(removeDeliveredTitle(db, r.delivery, r.line).passed);
        QCOMPARE(addDeliveredTitle(db, r.delivery, r.line).message, acq::lineFullyDelivered());
        QVERIFY(deleteDelivery(db, r.delivery).passed);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE")), 0);
        QCOMPARE(deleteDelivery(db, r.delivery).message, acq::deliveryGone());
    }

    void deliverySearch_data() { addEngineRows(); }
    void deliverySearch()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Received first = receivedOrder(db, 2);
        const int other = newDocument(db, AcqType::Order, QStringLiteral("BC_2"), QDate(2024, 5, 1), 2);
        QVERIFY(newLine(db, other, 1, QStringLiteral("1")) && validateDocument(db, other).passed);
        ReceiptRequest q;
        q.document = other;
        q.number = QStringLiteral("L'BL_2");
        q.date = QDate(2024, 6, 1);
        const int second = receive(db, q).key;
        QVERIFY(first.delivery > 0 && second > 0);
        const struct {
            DeliveryCriteria criteria;
            QList<int> found;
        } cases[] = {
            {{}, {second, first.delivery}},
            {{QStringLiteral("l'bl_2"), {}, 0, {}, {}}, {second}},
            {{QStringLiteral("BL_1"), {}, 0, {}, {}}, {}},
            {{QStringLiteral("*"), QStringLiteral("BC_*"), 0, {}, {}}, {second}},
            {{{}, {}, 1, {}, {}}, {first.delivery}},
            {{{}, {}, 0, QDate(2024, 5, 1), {}}, {second}},
            {{{}, {}, 0, {}, QDate(2024, 4, 2)}, {first.delivery}},
        };
        for (const auto &k : cases) {
            const SqlText sql = deliverySearchSql(db.dialect(), k.criteria);
            SqlRows r = db.query(sql.sql, sql.binds);
            QVERIFY2(r.isActive(), qPrintable(db.lastError().text()));
            QList<int> ids;
            while (r.next())
                ids << r.value(0).toInt();
            QCOMPARE(ids, k.found);
        }
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = '<script>x</script>' WHERE DOC_ID = 1")));
        const ReportResult note = writeDeliveryNote(db, second);
        QVERIFY2(note.written(), qPrintable(note.message));
        QString html;
        QVERIFY(readHtmlPage(note.path, &html));
        QVERIFY(note.path.endsWith(QStringLiteral("/livraison.html")));
        QVERIFY(html.contains(QStringLiteral("&lt;script&gt;x&lt;/script&gt;")) && !html.contains(QStringLiteral("<script>")));
        QVERIFY(html.contains(QStringLiteral("L&#39;BL_2")) || html.contains(QStringLiteral("L'BL_2")));
    }
};

QTEST_GUILESS_MAIN(TstAcqReceipt)
#include "tst_acqreceipt.moc"
