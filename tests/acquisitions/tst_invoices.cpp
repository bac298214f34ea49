// Invoices on both engines: the debit of a commitment is exactly the sum of
// its invoices after every sequence (an edit without change, a new number,
// a move to another commitment, a deletion), the limit to the cent, the
// refusals (a number taken, an unknown commitment, a negative amount, an
// order not validated), a commitment deleted under its invoices, the
// search's criteria and the printed list.

#include "acquisitions/budgetfixture.h"
#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "reports/core/htmlpage.h"
#include "reports/core/report.h"
#include "support/session.h"

using namespace folian;
using namespace folian::test;

namespace {

// On the book of 2024 (2000.00, chapters A and B of 1000.00) with
// commitments C1 of 1000.00 on A and C2 of 500.00 on B and a validated
// order: the steps, the last one's refusal (none when it passes) and the
// debits of C1 and C2 after.
struct Charged {
    Book book;
    int c1 = 0, c2 = 0;
};

struct InvoiceCase {
    const char *name;
    AcqResult (*steps)(Database &, const Charged &);
    QString (*refusal)();
    const char *c1, *c2;
};

const QString F1 = QStringLiteral("F-1"), F2 = QStringLiteral("F-2");

const InvoiceCase kInvoices[] = {
    {"1000 = 600 + 400",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         return invoice(db, F2, c.book.order, c.c1, QStringLiteral("400"));
     },
     nullptr, "1000.00", "0.00"},
    {"1000 = 600 + 400 refuses 0.01 more",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         STEP(invoice(db, F2, c.book.order, c.c1, QStringLiteral("400")));
         return invoice(db, QStringLiteral("F-3"), c.book.order, c.c1, QStringLiteral("0.01"));
     },
     acq::invoiceExceedsCommitment, "1000.00", "0.00"},
    {"600 and 400.01",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         return invoice(db, F2, c.book.order, c.c1, QStringLiteral("400.01"));
     },
     acq::invoiceExceedsCommitment, "600.00", "0.00"},
    {"600.50 edited without change",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600.50")));
         return reinvoice(db, F1, QStringLiteral("600.50"));
     },
     nullptr, "600.50", "0.00"},
    {"600.50 edited without change and deleted",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600.50")));
         STEP(reinvoice(db, F1, QStringLiteral("600.50")));
         return deleteInvoice(db, F1);
     },
     nullptr, "0.00", "0.00"},
    {"600 edited to 700 beside 300",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         STEP(invoice(db, F2, c.book.order, c.c1, QStringLiteral("300")));
         return reinvoice(db, F1, QStringLiteral("700"));
     },
     nullptr, "1000.00", "0.00"},
    {"600 edited to 700.01 beside 300",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         STEP(invoice(db, F2, c.book.order, c.c1, QStringLiteral("300")));
         return reinvoice(db, F1, QStringLiteral("700.01"));
     },
     acq::invoiceExceedsCommitment, "900.00", "0.00"},
    {"a new number counts the invoice once",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         return reinvoice(db, F1, QStringLiteral("600"), 0, QStringLiteral("F-1bis"));
     },
     nullptr, "600.00", "0.00"},
    {"a new number already taken",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         STEP(invoice(db, F2, c.book.order, c.c1, QStringLiteral("100")));
         return reinvoice(db, F1, QStringLiteral("600"), 0, F2);
     },
     [] { return acq::invoiceNumberExists(F2); }, "700.00", "0.00"},
    {"a number taken",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         return invoice(db, F1, c.book.order, c.c2, QStringLiteral("10"));
     },
     [] { return acq::invoiceNumberExists(F1); }, "600.00", "0.00"},
    {"moved to the other commitment",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("300.30")));
         return reinvoice(db, F1, QString(), c.c2);
     },
     nullptr, "0.00", "300.30"},
    {"moved beyond the other commitment",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("500.01")));
         return reinvoice(db, F1, QString(), c.c2);
     },
     acq::invoiceExceedsCommitment, "500.01", "0.00"},
    {"on an unknown commitment",
     [](Database &db, const Charged &c) { return invoice(db, F1, c.book.order, 99, QStringLiteral("1")); },
     [] { return acq::commitmentUnknown(QStringLiteral("99")); }, "0.00", "0.00"},
    {"moved to an unknown commitment",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("1")));
         return reinvoice(db, F1, QString(), 99);
     },
     [] { return acq::commitmentUnknown(QStringLiteral("99")); }, "1.00", "0.00"},
    {"a negative invoice",
     [](Database &db, const Charged &c) { return invoice(db, F1, c.book.order, c.c1, QStringLiteral("-5")); },
     acq::amountNegative, "0.00", "0.00"},
    {"an invoice of 0", [](Database &db, const Charged &c) { return invoice(db, F1, c.book.order, c.c1, QStringLiteral("0")); },
     nullptr, "0.00", "0.00"},
    {"a commitment lowered below its invoices",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         return recommit(db, c.c1, QStringLiteral("599.99"));
     },
     acq::amountBelowDebit, "600.00", "0.00"},
    {"a commitment lowered to its invoices",
     [](Database &db, const Charged &c) {
         STEP(invoice(db, F1, c.book.order, c.c1, QStringLiteral("600")));
         return recommit(db, c.c1, QStringLiteral("600"));
     },
     nullptr, "600.00", "0.00"},
    {"an order not validated",
     [](Database &db, const Charged &c) {
         const int order = newDocument(db, AcqType::Order, QStringLiteral("BC-2"));
         return invoice(db, F1, order, c.c1, QStringLiteral("1"));
     },
     acq::invoiceNotValidated, "0.00", "0.00"},
};

Charged charged(Database &db)
{
    Charged c;
    c.book = openBook(db, QStringLiteral("2000"), QStringLiteral("1000"));
    c.c1 = commit(db, c.book.a, QStringLiteral("1000")).key;
    c.c2 = commit(db, c.book.b, QStringLiteral("500")).key;
    return c;
}

} // namespace

class TstInvoices : public QObject
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

    void charges_data() { addEngineCaseRows(kInvoices); }
    void charges()
    {
        QFETCH(int, index);
        FOLIAN_ACQ_DB(tdb, db);
        const Charged c = charged(db);
        QVERIFY(c.c1 > 0 && c.c2 > 0);
        const InvoiceCase &t = kInvoices[index];
        const AcqResult r = t.steps(db, c);
        QCOMPARE(r.message, t.refusal ? t.refusal() : QString());
        QCOMPARE(r.passed, !t.refusal);
        QCOMPARE(commitmentDebitOf(db, c.c1) + u' ' + commitmentDebitOf(db, c.c2), QLatin1String(t.c1) + u' ' + QLatin1String(t.c2));
    }

    // A commitment with invoices may go; its invoices are edited and
    // deleted without it, and no new commitment takes its number.
    void commitmentDeletedUnderInvoices_data() { addEngineRows(); }
    void commitmentDeletedUnderInvoices()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Charged c = charged(db);
        QVERIFY(invoice(db, F1, c.book.order, c.c2, QStringLiteral("250")).passed);
        QVERIFY(invoice(db, F2, c.book.order, c.c2, QStringLiteral("100")).passed);
        QVERIFY(deleteCommitment(db, c.c2).passed);
        QCOMPARE(chapterDebitOf(db, c.book.b), QStringLiteral("0.00"));
        QCOMPARE(budgetDebitOf(db, c.book.year), QStringLiteral("1000.00"));
        QCOMPARE(loadInvoice(db, F1).commitment.toInt(), c.c2);
        const int again = commit(db, c.book.b, QStringLiteral("400")).key;
        QVERIFY(again > c.c2);
        QCOMPARE(commitmentDebitOf(db, again), QStringLiteral("0.00"));
        QVERIFY(reinvoice(db, F1, QStringLiteral("900")).passed);
        QCOMPARE(loadInvoice(db, F1).amount.toString(), QStringLiteral("900.00"));
        QCOMPARE(reinvoice(db, F2, QString(), 99).message, acq::commitmentUnknown(QStringLiteral("99")));
        QVERIFY(reinvoice(db, F2, QString(), again).passed);
        QCOMPARE(commitmentDebitOf(db, again), QStringLiteral("100.00"));
        QVERIFY(deleteInvoice(db, F1).passed);
        QCOMPARE(deleteInvoice(db, F1).message, acq::invoiceGone());
        QCOMPARE(commitmentDebitOf(db, again), QStringLiteral("100.00"));
    }

    void search_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("found");
        for (const QString &engine : engines()) {
            const auto row = [&](const char *name, const char *number, const char *order, QDate from, QDate to, const char *found) {
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(name)))
                    << engine << QString::fromUtf8(number) << QString::fromUtf8(order) << from << to << QString::fromUtf8(found);
            };
            row("every invoice, newest first", "", "", {}, {}, "F'3 F_2 F-1");
            row("a number", "f-1", "", {}, {}, "F-1");
            row("a wildcard", "F*", "", {}, {}, "F'3 F_2 F-1");
            row("an underscore stands for itself", "F_2", "", {}, {}, "F_2");
            row("an apostrophe", "F'3", "", {}, {}, "F'3");
            row("an order number", "", "BC-1", {}, {}, "F'3 F_2 F-1");
            row("another order", "", "BC-9", {}, {}, "");
            row("from a day", "", "", QDate(2024, 4, 2), {}, "F'3 F_2");
            row("up to a day", "", "", {}, QDate(2024, 4, 2), "F_2 F-1");
            row("between two days", "*", "BC*", QDate(2024, 4, 2), QDate(2024, 4, 2), "F_2");
        }
    }
    void search()
    {
        QFETCH(QString, number);
        QFETCH(QString, order);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, found);
        FOLIAN_ACQ_DB(tdb, db);
        const Charged c = charged(db);
        int day = 1;
        for (const char *n : {"F-1", "F_2", "F'3"}) {
            InvoiceSheet s;
            s.number = QLatin1String(n);
            s.document = c.book.order;
            s.commitment = QString::number(c.c1);
            s.amount = QStringLiteral("10");
            s.date = QDate(2024, 4, day++);
            QVERIFY(saveInvoice(db, s).passed);
        }
        const SqlText sql = invoiceSearchSql(db.dialect(), {number, order, from, to});
        SqlRows q = db.query(sql.sql, sql.binds);
        QVERIFY2(q.isActive(), qPrintable(db.lastError().text()));
        QStringList numbers;
        while (q.next()) {
            numbers << q.value(QStringLiteral("FAC_ID")).toString();
            QCOMPARE(q.value(QStringLiteral("ACQ_NUMERO")).toString(), QStringLiteral("BC-1"));
        }
        QCOMPARE(numbers.join(u' '), found);
    }

    // "factures.html": one row per invoice found, every value escaped.
    void printedList_data() { addEngineRows(); }
    void printedList()
    {
        FOLIAN_ACQ_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const Charged c = charged(db);
        QVERIFY(invoice(db, QStringLiteral("<b>F</b>"), c.book.order, c.c1, QStringLiteral("234.5")).passed);
        const SqlText sql = invoiceSearchSql(db.dialect(), {});
        data.QFacture->open(sql.sql, sql.binds);
        const Report report = invoiceListReport(*data.QFacture);
        QCOMPARE(report.fileName, QStringLiteral("factures.html"));
        QCOMPARE(report.rows.size(), 1);
        const ReportResult r = writeReport(db, report);
        QVERIFY2(r.written(), qPrintable(r.message));
        QString html;
        QVERIFY(readHtmlPage(r.path, &html));
        QVERIFY(html.contains(QStringLiteral("&lt;b&gt;F&lt;/b&gt;")));
        QVERIFY(!html.contains(QStringLiteral("<b>F</b>")));
        QVERIFY(html.contains(QStringLiteral("234.50")));
        QVERIFY(html.contains(QStringLiteral("Liste des factures")));
        QVERIFY(html.contains(QStringLiteral("BC-1")));
    }
};

QTEST_GUILESS_MAIN(TstInvoices)
#include "tst_invoices.moc"
