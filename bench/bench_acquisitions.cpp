// Acquisitions benchmark: a catalogue of 1,000,000 records, 100,000
// acquisition documents over ten years and five suppliers, one order of
// 5,000 lines; then times, through the acquisition services, a line saved
// on that order (its total summed again under the document's lock), a
// batch of 1,000 copies received on a delivered title, and the first page
// of the order search (no criterion, a supplier, a year); then, on a
// chapter with 10,000 commitments (each invoiced once) and 10,000
// transfers, a commitment and an invoice saved, each summing the debits
// it changes again under its locks; printing the median and the 95th
// percentile.
//
//   bench_acquisitions --engine SQLITE [--rows RECORDS] [--documents N] [--repeats N]
//   bench_acquisitions --engine POSTGRESQL ...   (server from FOLIAN_BENCH_PG_HOST, _PORT,
//                                               _USER, _PASSWORD; a database
//                                               folian_bench_acq is made and dropped)

#include "acquisitions/core/commitments.h"
#include "acquisitions/core/copygeneration.h"
#include "acquisitions/core/invoices.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/core/receipt.h"
#include "base/session.h"
#include "data/core/budgetdebits.h"
#include "data/core/dataset.h"
#include "data/core/documenttotal.h"
#include "data/core/migrator.h"
#include "benchdb.h"
#include "measuringprocess.h"
#include "recordgen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

const QString kPgDatabase = QStringLiteral("folian_bench_acq");
constexpr int kOrderLines = 5000;
constexpr int kBatch = 1000;
constexpr int kLedgerRows = 10000;
constexpr int kLedgerYear = 2030;

void report(const char *what, const QString &key, const QVector<double> &ms)
{
    const Stats s = stats(ms);
    std::printf("%-34s median %8.2f ms   p95 %8.2f ms   (%lld timed)\n", what, s.median, s.p95,
                static_cast<long long>(ms.size()));
    result(key + QStringLiteral("_median_ms"), s.median);
    result(key + QStringLiteral("_p95_ms"), s.p95);
}

// The catalogue, the suppliers, the documents and the large order; its key.
int load(Database &db, int records, int documents)
{
    Transaction tx(db);
    exec(db, numbers(records) + QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID, BIB_ID) "
                                               "SELECT I, 'a', 'Titre ' || I, 3, 0 FROM N"));
    exec(db, numbers(5) + QStringLiteral("INSERT INTO FOURNISSEUR (FOU_ID, FOU_LIBELLE, FOU_TYP) "
                                         "SELECT I, 'Fournisseur ' || I, 1 FROM N"));
    // Four orders in five, the rest pre-orders and subscriptions, one a day or so over ten years.
    const QDate first(2016, 1, 1);
    exec(db, numbers(documents)
                 + QStringLiteral("INSERT INTO ACQUISITION (ACQ_ID, ACQ_TYP, ACQ_NUMERO, ACQ_DATE, ACQ_STATUT, FOU_ID, ACQ_TOTAL) "
                                  "SELECT I, CASE WHEN I % 5 = 0 THEN 1 + I % 3 ELSE 2 END, 'BC ' || I, ")
                 + (db.dialect().isPostgres() ? QStringLiteral("CAST(? AS DATE) + (I % 3650)")
                                              : QStringLiteral("DATE(?, '+' || (I % 3650) || ' days')"))
                 + QStringLiteral(", 1 + I % 2, 1 + I % 5, ? FROM N"),
         {dateValue(db, first), db.dialect().toDb(QStringLiteral("100.00"), ColType::Money)});
    // The last document, validated, is the large order.
    const int order = documents;
    exec(db, QStringLiteral("UPDATE ACQUISITION SET ACQ_TYP = 2, ACQ_STATUT = 2 WHERE ACQ_ID = ?"), {order});
    exec(db, numbers(kOrderLines)
                 + QStringLiteral("INSERT INTO ACQUISITION_LIGNE (ACQ_LIGNE_ID, ACQ_ID, DOC_ID, ACQ_EXEMPLAIRE, ACQ_PRIX, ACQ_MONTANT, "
                                  "ACQ_NBR_LIVRE) SELECT I, ?, I, 2, ?, ?, 0 FROM N"),
         {order, db.dialect().toDb(QStringLiteral("19.99"), ColType::Money), db.dialect().toDb(QStringLiteral("39.98"), ColType::Money)});
    if (storeDocumentTotal(db, order) != TotalStored::Done || !tx.commit())
        die(db.lastError().text());
    // The planner told what the tables now hold, before anything is timed.
    for (const char *table : {"NOTICE", "FOURNISSEUR", "ACQUISITION", "ACQUISITION_LIGNE"})
        if (const QString analyze = db.dialect().refreshStatistics(QLatin1String(table)); !analyze.isEmpty())
            exec(db, analyze);
    return order;
}

// The budget of 2030 with chapters 1 and 2: 10,000 commitments of 100.00 on
// chapter 1, each charged 10.00 by one invoice on `order`, and 10,000
// transfers of 1.00 between the two chapters, both ways; the debits summed.
void loadLedger(Database &db, int order)
{
    Transaction tx(db);
    const auto money = [&](const char *amount) { return db.dialect().toDb(QLatin1String(amount), ColType::Money); };
    exec(db, QStringLiteral("INSERT INTO BUDGET (BUD_ID, BUD_MONTANT, BUD_DEBIT) VALUES (?, ?, ?)"),
         {kLedgerYear, money("10000000.00"), money("0.00")});
    exec(db, QStringLiteral("INSERT INTO CHAPITRE (CHP_ID, BUD_ID, CHP_INTITULE, CHP_MONTANT, CHP_DEBIT) VALUES (1, ?, 'Ouvrages', ?, ?), "
                            "(2, ?, 'Périodiques', ?, ?)"),
         {kLedgerYear, money("5000000.00"), money("0.00"), kLedgerYear, money("5000000.00"), money("0.00")});
    exec(db, numbers(kLedgerRows)
                 + QStringLiteral("INSERT INTO ENGAGEMENT (ENG_ID, CHP_ID, ENG_DATE, ENG_MONTANT, ENG_DEBIT) SELECT I, 1, ?, ?, ? FROM N"),
         {dateValue(db, QDate(kLedgerYear, 1, 2)), money("100.00"), money("10.00")});
    exec(db, numbers(kLedgerRows)
                 + QStringLiteral("INSERT INTO FACTURE (FAC_ID, ACQ_ID, ENG_ID, FAC_DATE, FAC_MONTANT) SELECT 'F ' || I, ?, I, ?, ? FROM N"),
         {order, dateValue(db, QDate(kLedgerYear, 2, 3)), money("10.00")});
    exec(db, numbers(kLedgerRows)
                 + QStringLiteral("INSERT INTO TRANSFERT (TRS_ID, CHP_ID, CHP_ID2, TRS_MONTANT) SELECT I, 1 + I % 2, 2 - I % 2, ? FROM N"),
         {money("1.00")});
    if (storeChapterDebit(db, 1) != TotalStored::Done || storeChapterDebit(db, 2) != TotalStored::Done
        || storeBudgetDebit(db, kLedgerYear) != TotalStored::Done || !tx.commit())
        die(db.lastError().text());
    // The server's own maintenance would have passed over rows loaded at
    // once: their sums then read the indexes alone.
    for (const char *table : {"BUDGET", "CHAPITRE", "ENGAGEMENT", "FACTURE", "TRANSFERT"})
        if (db.dialect().isPostgres())
            exec(db, QStringLiteral("VACUUM ANALYZE ") + QLatin1String(table));
        else if (const QString analyze = db.dialect().refreshStatistics(QLatin1String(table)); !analyze.isEmpty())
            exec(db, analyze);
}

// A commitment of 1.00 on chapter 1, then an invoice of 0.01 on its first
// commitment, each saved `repeats` times.
void timeLedger(Database &db, int order, int repeats)
{
    QElapsedTimer t;
    QVector<double> commitmentMs, invoiceMs;
    for (int i = 0; i < repeats; ++i) {
        CommitmentSheet c;
        c.chapter = 1;
        c.date = QDate(kLedgerYear, 5, 1);
        c.amount = QStringLiteral("1.00");
        t.start();
        const AcqResult r = saveCommitment(db, c);
        commitmentMs << double(t.nsecsElapsed()) / 1e6;
        if (!r.passed)
            die(r.message);
    }
    report("commitment saved (10,000 on chapter)", QStringLiteral("commitment_saved"), commitmentMs);
    for (int i = 0; i < repeats; ++i) {
        InvoiceSheet f;
        f.number = QStringLiteral("BENCH %1").arg(i);
        f.document = order;
        f.commitment = QStringLiteral("1");
        f.date = QDate(kLedgerYear, 6, 1);
        f.amount = QStringLiteral("0.01");
        t.start();
        const AcqResult r = saveInvoice(db, f);
        invoiceMs << double(t.nsecsElapsed()) / 1e6;
        if (!r.passed)
            die(r.message);
    }
    report("invoice saved (10,000 on chapter)", QStringLiteral("invoice_saved"), invoiceMs);
    const std::optional<Money> chapter = chapterDebit(db, 1), budget = budgetDebit(db, kLedgerYear);
    std::printf("chapter debit %s, budget debit %s\n", qPrintable(chapter ? chapter->toString() : QStringLiteral("?")),
                qPrintable(budget ? budget->toString() : QStringLiteral("?")));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."), QStringLiteral("engine"));
    const QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Records."), QStringLiteral("n"),
                                     QStringLiteral("1000000"));
    const QCommandLineOption docsOpt(QStringLiteral("documents"), QStringLiteral("Acquisition documents."), QStringLiteral("n"),
                                     QStringLiteral("100000"));
    const QCommandLineOption repeatsOpt(QStringLiteral("repeats"), QStringLiteral("Timings of each measure."),
                                        QStringLiteral("n"), QStringLiteral("100"));
    p.addOptions({engine, rowsOpt, docsOpt, repeatsOpt});
    p.addHelpOption();
    p.process(app);
    const int records = p.value(rowsOpt).toInt(), repeats = p.value(repeatsOpt).toInt();
    const int documents = p.value(docsOpt).toInt();
    if (records < kOrderLines + kBatch || documents < 6 || repeats <= 0)
        die(QStringLiteral("--rows (at least 6000), --documents (at least 6) and --repeats must be positive"));

    QTemporaryDir dir;
    const ConnectionParams c = benchConnection(p.value(engine), dir.path(), kPgDatabase);
    {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(why);
        actAsBenchAdministrator();
        QElapsedTimer t;
        t.start();
        const int order = load(db, records, documents);
        std::printf("== acquisitions: %s, %d records, %d documents, an order of %d lines ==\n", qPrintable(c.engine),
                    records, documents, kOrderLines);
        std::printf("load            %8lld ms\n", static_cast<long long>(t.elapsed()));

        // A line saved on the large order: the line, then its total summed again.
        QVector<double> lineMs;
        for (int i = 0; i < repeats; ++i) {
            LineSheet l;
            l.document = order;
            l.record = kOrderLines + 1 + i % 1000;
            l.copies = QStringLiteral("3");
            l.price = QStringLiteral("12.35");
            t.restart();
            const AcqResult r = saveLine(db, l);
            lineMs << double(t.nsecsElapsed()) / 1e6;
            if (!r.passed)
                die(r.message);
        }
        report("line saved (order of 5,000 lines)", QStringLiteral("line_saved"), lineMs);

        // Batches of 1,000 copies on one delivered title of the order.
        LineSheet big;
        big.document = order;
        big.record = records;
        big.copies = QString::number(kBatch * 5);
        big.price = QStringLiteral("7.50");
        const int line = saveLine(db, big).key;
        ReceiptRequest q;
        q.document = order;
        q.number = QStringLiteral("BL-BENCH");
        q.selectedOnly = true;
        q.lines = {line};
        const int delivery = receive(db, q).key;
        if (line <= 0 || delivery <= 0)
            die(QStringLiteral("no delivered title to generate copies on"));
        QVector<double> batchMs;
        for (int i = 0; i < 5; ++i) {
            GenerationRequest g;
            g.context = GenerationContext::Delivery;
            g.delivery = delivery;
            g.line = line;
            g.count = QString::number(kBatch);
            g.copy = {QStringLiteral("B%1-").arg(i), QStringLiteral("1")};
            g.shelfMark = {QStringLiteral("R 840 "), QStringLiteral("1")};
            t.restart();
            const GenerationResult r = generateCopies(db, g);
            batchMs << double(t.nsecsElapsed()) / 1e6;
            if (!r.passed)
                die(r.message);
        }
        report("batch of 1,000 copies", QStringLiteral("batch_1000"), batchMs);

        // The order search's first page, as its screen opens it.
        const struct {
            const char *name, *key;
            DocumentCriteria criteria;
        } searches[] = {{"order search, first page", "search_all", {AcqType::Order, {}, {}, 0, {}}},
                        {"order search by supplier", "search_supplier", {AcqType::Order, {}, QStringLiteral("Fournisseur 3"), 0, {}}},
                        {"order search by year", "search_year", {AcqType::Order, {}, {}, 0, QStringLiteral("2021")}}};
        for (const auto &s : searches) {
            SqlText sql;
            if (!documentSearchSql(db.dialect(), s.criteria, &sql, &why))
                die(why);
            QVector<double> ms;
            for (int i = 0; i < repeats; ++i) {
                Dataset d(db, QStringLiteral("QAcquisition"), QStringLiteral("ACQUISITION"));
                t.restart();
                if (!d.open(sql.sql, sql.binds) || d.rowCount() == 0)
                    die(QStringLiteral("the search found nothing: ") + d.lastError());
                ms << double(t.nsecsElapsed()) / 1e6;
            }
            report(s.name, QLatin1String(s.key), ms);
        }
        loadLedger(db, order);
        timeLedger(db, order, repeats);

        const QVariant total = db.scalar(QStringLiteral("SELECT ACQ_TOTAL FROM ACQUISITION WHERE ACQ_ID = ?"), {order});
        std::printf("order total %s, copies %d, peak memory %.0f MB\n", qPrintable(total.toString()),
                    db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")).toInt(), peakMb());
    }
    dropBenchDatabase(c);
    return 0;
}
