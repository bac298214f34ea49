// Orders and pre-orders on both engines: exact totals kept by every change
// of their lines (and by a record's deletion), the amount limit, the
// checks of a line, validation and conversion as conditions of the
// service, the refused deletions with their counts, the searches'
// criteria, the printed order form, the upgrade that sums the totals.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/suppliers.h"
#include "base/session.h"
#include "catalogue/core/records.h"
#include "data/core/columnvalue.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "reports/core/htmlpage.h"
#include "support/session.h"

#include <QFile>

using namespace folian;
using namespace folian::test;

namespace {

// Lines written straight into the table, as another program or an older
// version wrote them: `n` lines of one copy at `price`.
bool rawLines(Database &db, int document, int n, const QString &price)
{
    const int first = countOf(db, QStringLiteral("SELECT COALESCE(MAX(ACQ_LIGNE_ID), 0) FROM ACQUISITION_LIGNE")) + 1;
    const QVariant amount = db.dialect().toDb(price, ColType::Money);
    for (int i = 0; i < n; ++i)
        if (!db.exec(QStringLiteral("INSERT INTO ACQUISITION_LIGNE (ACQ_LIGNE_ID, ACQ_ID, DOC_ID, ACQ_EXEMPLAIRE, ACQ_PRIX, "
                                    "ACQ_MONTANT, ACQ_NBR_LIVRE) VALUES (?, ?, 2, 1, ?, ?, 0)"),
                     {first + i, document, amount, amount}))
            return false;
    return true;
}

struct TotalCase {
    const char *name;
    bool (*build)(Database &, int document);
    const char *total;
};

const TotalCase kTotals[] = {
    {"seven lines of 19.99",
     [](Database &db, int d) {
         for (int i = 0; i < 7; ++i)
             if (!newLine(db, d, 1 + i % 5, QStringLiteral("1"), QStringLiteral("19.99")))
                 return false;
         return true;
     },
     "139.93"},
    {"a thousand lines of 0.10",
     [](Database &db, int d) { return rawLines(db, d, 999, QStringLiteral("0.10")) && newLine(db, d, 1, QStringLiteral("1"), QStringLiteral("0,10")); },
     "100.00"},
    {"three copies at 0.10", [](Database &db, int d) { return newLine(db, d, 1, QStringLiteral("3"), QStringLiteral("0.1")) > 0; },
     "0.30"},
    {"lines without a price",
     [](Database &db, int d) { return newLine(db, d, 1, QStringLiteral("2")) && newLine(db, d, 2, QStringLiteral("5")); }, "0.00"},
    {"a priced line edited to no price",
     [](Database &db, int d) {
         const int line = newLine(db, d, 1, QStringLiteral("2"), QStringLiteral("45.00"));
         LineSheet l = loadLine(db, line);
         l.price.clear();
         return line > 0 && saveLine(db, l).passed;
     },
     "0.00"},
    {"last line deleted",
     [](Database &db, int d) {
         const int line = newLine(db, d, 1, QStringLiteral("2"), QStringLiteral("19.99"));
         return line > 0 && deleteLine(db, line).passed;
     },
     "0.00"},
    {"one of two lines deleted",
     [](Database &db, int d) {
         const int a = newLine(db, d, 1, QStringLiteral("2"), QStringLiteral("19.99"));
         return a && newLine(db, d, 2, QStringLiteral("3"), QStringLiteral("0.01")) && deleteLine(db, a).passed;
     },
     "0.03"},
};

QString readPage(const QString &path)
{
    QString html;
    return readHtmlPage(path, &html) ? html : QString();
}

} // namespace

class TstAcqOrders : public QObject
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

    void totals_data() { addEngineCaseRows(kTotals); }
    void totals()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(acqSetUp(db));
        const int document = newDocument(db);
        QVERIFY(document > 0);
        QCOMPARE(storedTotal(db, document), QStringLiteral("NULL"));
        QVERIFY(kTotals[index].build(db, document));
        QCOMPARE(storedTotal(db, document), QLatin1String(kTotals[index].total));
    }

    // Beyond NUMERIC(15,2): refused naming the field, on both engines, and nothing written.
    void amountLimit_data() { addEngineRows(); }
    void amountLimit()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int document = newDocument(db);
        const QString most = QStringLiteral("9999999999999.99");
        const struct {
            QString copies, price;
            QString refusal;  // empty: saved
        } cases[] = {
            {QStringLiteral("1"), QStringLiteral("10000000000000"), amountTooLarge(acq::priceCaption())},
            {QStringLiteral("2"), most, amountTooLarge(acq::amountCaption())},
            {QStringLiteral("1"), most, QString()},
            {QStringLiteral("1"), QStringLiteral("0.01"), amountTooLarge(acq::totalCaption())},
        };
        for (const auto &c : cases) {
            LineSheet l;
            l.document = document;
            l.record = 1;
            l.copies = c.copies;
            l.price = c.price;
            const AcqResult r = saveLine(db, l);
            QCOMPARE(r.message, c.refusal);
            QCOMPARE(r.passed, c.refusal.isEmpty());
        }
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE")), 1);
        QCOMPARE(storedTotal(db, document), most);

        // Any amount column, through a dataset too: the field named, never the generic error.
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *budget = data.QBudget;
        QVERIFY(budget->open(QStringLiteral("SELECT * FROM BUDGET")));
        QVERIFY(budget->append());
        budget->setFieldCaption(QStringLiteral("BUD_MONTANT"), QStringLiteral("Montant"));
        QVERIFY(budget->setValue(QStringLiteral("BUD_ID"), 2024));
        QVERIFY(!budget->setValue(QStringLiteral("BUD_MONTANT"), QStringLiteral("12345678901234")));
        QCOMPARE(budget->refusal(), amountTooLarge(QStringLiteral("Montant")));
        QVERIFY(budget->setValue(QStringLiteral("BUD_MONTANT"), QStringLiteral("-9999999999999.99")));
        QVERIFY2(budget->post(), qPrintable(budget->lastError()));
    }

    void lineChecks_data() { addEngineRows(); }
    void lineChecks()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int document = newDocument(db);
        const struct {
            int record;
            QString copies, price, refusal;
        } cases[] = {
            {1, QStringLiteral("-1"), QStringLiteral("10"), acq::copiesNegative()},
            {1, QStringLiteral("1"), QStringLiteral("-0.50"), acq::priceNegative()},
            {1, QStringLiteral(" "), QStringLiteral("10"), acq::copiesRequired()},
            {0, QStringLiteral("1"), QStringLiteral("10"), acq::recordRequired()},
            {99, QStringLiteral("1"), QStringLiteral("10"), acq::recordGone()},
        };
        for (const auto &c : cases) {
            LineSheet l;
            l.document = document;
            l.record = c.record;
            l.copies = c.copies;
            l.price = c.price;
            QCOMPARE(saveLine(db, l).message, c.refusal);
        }
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE")), 0);

        // A line received in part keeps its copies at least at what was received.
        const Received r = receivedOrder(db, 5);
        QVERIFY(r.delivery > 0);
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = 3 WHERE ACQ_LIGNE_ID = ?"), {r.line}));
        LineSheet l = loadLine(db, r.line);
        l.copies = QStringLiteral("2");
        QCOMPARE(saveLine(db, l).message, acq::copiesBelowReceived(3));
        l.copies = QStringLiteral("3");
        QVERIFY(saveLine(db, l).passed);
        l.record = 5;
        QCOMPARE(saveLine(db, l).message, acq::recordFixedOnceReceived());
        QCOMPARE(storedTotal(db, r.document), QStringLiteral("37.50"));
    }

    void validationAndConversion_data() { addEngineRows(); }
    void validationAndConversion()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int order = newDocument(db);
        QCOMPARE(validateDocument(db, order).message, acq::validateNoLines());
        QVERIFY(newLine(db, order, 1, QStringLiteral("1")));
        QVERIFY(validateDocument(db, order).passed);
        QCOMPARE(loadDocument(db, order).status, int(AcqStatus::Validated));
        QCOMPARE(validateDocument(db, order).message, acq::alreadyValidated());
        QCOMPARE(convertToOrder(db, order).message, acq::notAPreOrder());

        // A pre-order: not validated, converted once; only its titles in status 2 go to 3.
        const int pre = newDocument(db, AcqType::PreOrder, QStringLiteral("PC-7"));
        QVERIFY(newLine(db, pre, 3, QStringLiteral("1")) && newLine(db, pre, 1, QStringLiteral("2"), QStringLiteral("3.00")));
        QCOMPARE(validateDocument(db, pre).message, acq::notValidable());
        QVERIFY(convertToOrder(db, pre).passed);
        const DocumentSheet d = loadDocument(db, pre);
        QCOMPARE(int(d.type), int(AcqType::Order));
        QCOMPARE(d.number, QStringLiteral("PC-7"));
        QCOMPARE(d.status, int(AcqStatus::ToValidate));
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE WHERE ACQ_ID = ?"), {pre}), 2);
        QCOMPARE(recordStatus(db, 3), 3);
        QCOMPARE(recordStatus(db, 1), 1);
        QCOMPARE(convertToOrder(db, pre).message, acq::notAPreOrder());
        QCOMPARE(storedTotal(db, pre), QStringLiteral("6.00"));
    }

    // What depends on a row keeps it, and the refusal counts it.
    void refusedDeletions_data() { addEngineRows(); }
    void refusedDeletions()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Received r = receivedOrder(db, 5);
        QVERIFY(r.delivery > 0);
        QCOMPARE(deleteDocument(db, r.document).message, acq::documentHasDependants(1, 0, 0));
        QCOMPARE(deleteLine(db, r.line).message, acq::lineHasReceipts(0, 1, 0, 0));
        QCOMPARE(deleteSupplier(db, 1).message, acq::supplierInUse(1));

        const int invoiced = newDocument(db, AcqType::Order, QStringLiteral("BC-2"));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO FACTURE (FAC_ID, ACQ_ID, FAC_MONTANT) VALUES ('F1', ?, '10.00')"), {invoiced}));
        QCOMPARE(deleteDocument(db, invoiced).message, acq::documentHasDependants(0, 1, 0));
        QCOMPARE(deleteSupplier(db, 1).message, acq::supplierInUse(2));

        // Without dependants: the document goes with its lines, the supplier when nothing names it.
        const int free = newDocument(db, AcqType::Order, QStringLiteral("BC-3"), QDate(2024, 1, 1), 2);
        QVERIFY(newLine(db, free, 1, QStringLiteral("1")) && newLine(db, free, 2, QStringLiteral("1")));
        QVERIFY(deleteDocument(db, free).passed);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE WHERE ACQ_ID = ?"), {free}), 0);
        QVERIFY(deleteSupplier(db, 2).passed);
        QCOMPARE(deleteSupplier(db, 2).message, acq::supplierGone());
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION")), 2);
    }

    void searchCriteria_data() { addEngineRows(); }
    void searchCriteria()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int a = newDocument(db, AcqType::Order, QStringLiteral("BC_1"), QDate(2024, 3, 1), 1);
        const int b = newDocument(db, AcqType::Order, QStringLiteral("BCX1"), QDate(2023, 12, 31), 2);
        const int c = newDocument(db, AcqType::Order, QStringLiteral("ZZ*"), QDate(2025, 1, 1), 1);
        const int pre = newDocument(db, AcqType::PreOrder, QStringLiteral("BC_1"), QDate(2024, 3, 2), 1);
        QVERIFY(newLine(db, a, 1, QStringLiteral("1")) && validateDocument(db, a).passed);
        const struct {
            DocumentCriteria criteria;
            QList<int> found;  // newest first
        } cases[] = {
            {{AcqType::Order, QStringLiteral("*"), {}, 0, {}}, {c, a, b}},
            {{AcqType::Order, QStringLiteral("bc_1"), {}, 0, {}}, {a}},
            {{AcqType::Order, QStringLiteral("BC*"), {}, 0, {}}, {a, b}},
            {{AcqType::Order, {}, QStringLiteral("L'Harmattan"), 0, {}}, {c, a}},
            {{AcqType::Order, {}, QStringLiteral("l'harmattan"), 0, {}}, {c, a}},
            {{AcqType::Order, {}, QStringLiteral("*"), 0, {}}, {}},
            {{AcqType::Order, {}, QStringLiteral("Dar El Gharb"), 0, QStringLiteral("2023")}, {b}},
            {{AcqType::Order, {}, {}, 2, {}}, {a}},
            {{AcqType::Order, {}, {}, 1, QStringLiteral(" 2024 ")}, {}},
            {{AcqType::Order, QStringLiteral("ZZ*"), {}, 0, QStringLiteral("2025")}, {c}},
            {{AcqType::PreOrder, QStringLiteral("BC_1"), QStringLiteral("L'Harmattan"), 0, QStringLiteral("2024")}, {pre}},
        };
        for (const auto &k : cases) {
            SqlText sql;
            QString why;
            QVERIFY2(documentSearchSql(db.dialect(), k.criteria, &sql, &why), qPrintable(why));
            SqlRows q = db.query(QStringLiteral("SELECT ACQ_ID FROM (") + sql.sql + QStringLiteral(") R"), sql.binds);
            QVERIFY2(q.isActive(), qPrintable(db.lastError().text()));
            QList<int> ids;
            while (q.next())
                ids << q.value(0).toInt();
            QCOMPARE(ids, k.found);
        }
        SqlText sql;
        QString why;
        QVERIFY(!documentSearchSql(db.dialect(), {AcqType::Order, {}, {}, 0, QStringLiteral("deux mille")}, &sql, &why));
        QCOMPARE(why, acq::yearNotANumber(QStringLiteral("deux mille")));
    }

    // A record deleted with the lines that order it: the orders' totals follow.
    void recordDeletionKeepsTotals_data() { addEngineRows(); }
    void recordDeletionKeepsTotals()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int first = newDocument(db), second = newDocument(db, AcqType::PreOrder, QStringLiteral("PC-1"));
        QVERIFY(newLine(db, first, 2, QStringLiteral("2"), QStringLiteral("10.00")));
        QVERIFY(newLine(db, first, 5, QStringLiteral("1"), QStringLiteral("5.55")));
        QVERIFY(newLine(db, second, 2, QStringLiteral("1"), QStringLiteral("7.00")));
        QCOMPARE(storedTotal(db, first), QStringLiteral("25.55"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserRole = 3;  // records are deleted by the cataloguing
        QCOMPARE(deleteRecord(data, 2), QString());
        QCOMPARE(storedTotal(db, first), QStringLiteral("5.55"));
        QCOMPARE(storedTotal(db, second), QStringLiteral("0.00"));
    }

    void orderFormEscapes_data() { addEngineRows(); }
    void orderFormEscapes()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = '<b>Gras</b> & co' WHERE DOC_ID = 1")));
        QVERIFY(db.exec(QStringLiteral("UPDATE FOURNISSEUR SET FOU_LIBELLE = '<i>Dar</i>' WHERE FOU_ID = 1")));
        const int order = newDocument(db, AcqType::Order, QStringLiteral("<b>BC</b>"));
        QVERIFY(newLine(db, order, 1, QStringLiteral("3"), QStringLiteral("19.99")));
        for (bool arabic : {false, true}) {
            session().setLanguage(arabic ? QStringLiteral("AR") : QStringLiteral("FR"));
            const ReportResult r = writeOrderForm(db, order);
            QVERIFY2(r.written(), qPrintable(r.message));
            QVERIFY(r.path.endsWith(QStringLiteral("/commande.html")));
            const QString html = readPage(r.path);
            QVERIFY(html.contains(QStringLiteral("&lt;b&gt;Gras&lt;/b&gt; &amp; co")));
            QVERIFY(html.contains(QStringLiteral("&lt;b&gt;BC&lt;/b&gt;")));
            QVERIFY(html.contains(QStringLiteral("&lt;i&gt;Dar&lt;/i&gt;")));
            QVERIFY(!html.contains(QStringLiteral("<b>Gras")) && !html.contains(QStringLiteral("<i>Dar")));
            QVERIFY(html.contains(QStringLiteral("59.97")));
            QCOMPARE(html.contains(QStringLiteral("dir=\"rtl\"")) || html.contains(QStringLiteral("dir=rtl")), arabic);
        }
        session().setLanguage(QStringLiteral("FR"));
        const int pre = newDocument(db, AcqType::PreOrder, QStringLiteral("PC-1"));
        const ReportResult r = writeOrderForm(db, pre);
        QVERIFY(r.path.endsWith(QStringLiteral("/preCommande.html")));
        const QString html = readPage(r.path);
        QVERIFY(html.contains(QStringLiteral("Bon de pr")) && html.contains(QStringLiteral("&#8211;")));
    }

    // A database of the version before: its totals, summed in binary
    // floating point and stored NULL when that sum was no amount, summed
    // again exactly.
    void upgradeSumsTotals_data() { addEngineRows(); }
    void upgradeSumsTotals()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int order = newDocument(db), empty = newDocument(db, AcqType::Order, QStringLiteral("BC-2"));
        QVERIFY(rawLines(db, order, 7, QStringLiteral("19.99")));
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION SET ACQ_TOTAL = NULL")));
        QVERIFY(db.exec(QStringLiteral("DROP INDEX IX_ACQUISITION_TYP_DATE")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 5")));
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QCOMPARE(storedTotal(db, order), QStringLiteral("139.93"));
        QCOMPARE(storedTotal(db, empty), QStringLiteral("NULL"));
        QVERIFY(!db.exec(QStringLiteral("CREATE INDEX IX_ACQUISITION_TYP_DATE ON ACQUISITION (ACQ_TYP)")));
    }
};

QTEST_GUILESS_MAIN(TstAcqOrders)
#include "tst_acqorders.moc"
