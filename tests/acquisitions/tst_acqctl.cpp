// folianctl's acquisition commands on both engines, as a librarian's
// script runs them: keys printed alone, exit 0 when done and non-zero with
// the service's message when refused; the order shown with exact amounts;
// a budget kept from the command line with its debits exact to the cent.

#include "acquisitions/acqfixture.h"
#include "acquisitions/budgetfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "base/session.h"
#include "support/folianctl.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// The run's output as one key; 0 when it is not one.
int keyOf(const CtlRun &r)
{
    bool ok = false;
    const int key = r.out.trimmed().toInt(&ok);
    return r.code == 0 && ok ? key : 0;
}

} // namespace

class TstAcqCtl : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserRole = 2;  // the acquisitions' manager: every acquisition right
    }

    void orderToCopies_data() { addEngineRows(); }
    void orderToCopies()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const auto run = [&](const QStringList &args) { return runFolianctl(ini, args); };

        const int supplier = keyOf(run({QStringLiteral("supplier-add"), QStringLiteral("Librairie d'Alger"), QStringLiteral("--type"),
                                        QStringLiteral("1"), QStringLiteral("--country"), QStringLiteral("DZ")}));
        QCOMPARE(supplier, 3);
        const int order = keyOf(run({QStringLiteral("order-add"), QStringLiteral("--supplier"), QString::number(supplier),
                                     QStringLiteral("--number"), QStringLiteral("BC 2024/7"), QStringLiteral("--date"),
                                     QStringLiteral("2024-02-29")}));
        QVERIFY(order > 0);
        QCOMPARE(loadDocument(db, order).date, QDate(2024, 2, 29));
        QList<int> lines;
        for (int i = 0; i < 7; ++i)
            lines << keyOf(run({QStringLiteral("order-line"), QString::number(order), QStringLiteral("--record"),
                                QString::number(1 + i % 2), QStringLiteral("--copies"), QStringLiteral("1"), QStringLiteral("--price"),
                                QStringLiteral("19.99")}));
        QVERIFY(!lines.contains(0));
        QCOMPARE(loadLine(db, lines.first()).reference, QStringLiteral("2070360248"));

        CtlRun r = run({QStringLiteral("order-line"), QString::number(order), QStringLiteral("--record"), QStringLiteral("2"),
                        QStringLiteral("--copies"), QStringLiteral("-2")});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(acq::copiesNegative()), qPrintable(r.out));

        r = run({QStringLiteral("order-show"), QString::number(order)});
        QCOMPARE(r.code, 0);
        QStringList shown = r.out.trimmed().split(u'\n');
        QCOMPARE(shown.size(), 8);
        QCOMPARE(shown.first(), QStringLiteral("%1\t1\t1\t0\t19.99\t19.99").arg(lines.first()));
        QCOMPARE(shown.last(), QStringLiteral("total\t139.93"));

        r = run({QStringLiteral("receive"), QString::number(order), QStringLiteral("--number"), QStringLiteral("BL-1")});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(acq::receiptNotValidated()), qPrintable(r.out));
        QCOMPARE(run({QStringLiteral("order-validate"), QString::number(order)}).code, 0);
        r = run({QStringLiteral("order-validate"), QString::number(order)});
        QVERIFY(r.code != 0 && r.out.contains(acq::alreadyValidated()));
        const int delivery = keyOf(run({QStringLiteral("receive"), QString::number(order), QStringLiteral("--number"),
                                        QStringLiteral("BL-1"), QStringLiteral("--line"), QString::number(lines.at(0)),
                                        QStringLiteral("--line"), QString::number(lines.at(1))}));
        QVERIFY(delivery > 0);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE WHERE LIV_ID = ?"), {delivery}), 2);

        r = run({QStringLiteral("generate-copies"), QString::number(delivery), QString::number(lines.at(0)), QStringLiteral("--count"),
                 QStringLiteral("2"), QStringLiteral("--prefix"), QStringLiteral("A"), QStringLiteral("--start"), QStringLiteral("99")});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(acq::countIncorrect()), qPrintable(r.out));
        r = run({QStringLiteral("generate-copies"), QString::number(delivery), QString::number(lines.at(0)), QStringLiteral("--count"),
                 QStringLiteral("1"), QStringLiteral("--prefix"), QStringLiteral("A"), QStringLiteral("--start"), QStringLiteral("99"),
                 QStringLiteral("--shelfmark-prefix"), QStringLiteral("R 840")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), QStringLiteral("A99"));
        r = run({QStringLiteral("order-show"), QString::number(order)});
        QVERIFY(r.out.startsWith(QStringLiteral("%1\t1\t1\t1\t19.99\t19.99").arg(lines.first())));

        r = run({QStringLiteral("order-delete"), QString::number(order)});
        QVERIFY(r.code != 0 && r.out.contains(acq::documentHasDependants(1, 0, 1)));
        r = run({QStringLiteral("supplier-delete"), QString::number(supplier)});
        QVERIFY(r.code != 0 && r.out.contains(acq::supplierInUse(1)));
        QCOMPARE(run({QStringLiteral("delivered-copy-delete"), QStringLiteral("A99")}).code, 0);
        QCOMPARE(lineValue(db, lines.first(), "ACQ_NBR_LIVRE"), 0);
        r = run({QStringLiteral("delivered-copy-delete"), QStringLiteral("A99")});
        QVERIFY(r.code != 0 && r.out.contains(acq::copyGone(QStringLiteral("A99"))));
        QCOMPARE(run({QStringLiteral("order-line-delete"), QString::number(lines.last())}).code, 0);
        r = run({QStringLiteral("order-show"), QString::number(order)});
        QVERIFY(r.out.trimmed().endsWith(QStringLiteral("total\t119.94")));
    }

    void preOrders_data() { addEngineRows(); }
    void preOrders()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const auto run = [&](const QStringList &args) { return runFolianctl(ini, args); };
        CtlRun r = run({QStringLiteral("order-add"), QStringLiteral("--supplier"), QStringLiteral("1"), QStringLiteral("--number"),
                        QStringLiteral(" ")});
        QVERIFY(r.code != 0 && r.out.contains(acq::numberRequired()));
        const int pre = keyOf(run({QStringLiteral("order-add"), QStringLiteral("--supplier"), QStringLiteral("1"), QStringLiteral("--number"),
                                   QStringLiteral("PC-1"), QStringLiteral("--preorder")}));
        QVERIFY(pre > 0);
        const int line = keyOf(run({QStringLiteral("order-line"), QString::number(pre), QStringLiteral("--record"), QStringLiteral("3"),
                                    QStringLiteral("--copies"), QStringLiteral("2"), QStringLiteral("--reference"), QStringLiteral("X-1")}));
        QVERIFY(line > 0);
        QCOMPARE(loadLine(db, line).reference, QStringLiteral("X-1"));
        r = run({QStringLiteral("order-show"), QString::number(pre)});
        QCOMPARE(r.out.trimmed(), QStringLiteral("%1\t3\t2\t0\t\t0.00\ntotal\t0.00").arg(line));
        QCOMPARE(run({QStringLiteral("order-convert"), QString::number(pre)}).code, 0);
        QCOMPARE(recordStatus(db, 3), 3);
        r = run({QStringLiteral("order-convert"), QString::number(pre)});
        QVERIFY(r.code != 0 && r.out.contains(acq::notAPreOrder()));
        QCOMPARE(run({QStringLiteral("order-delete"), QString::number(pre)}).code, 0);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE")), 0);
        QCOMPARE(run({QStringLiteral("supplier-delete"), QStringLiteral("2")}).code, 0);
        r = run({QStringLiteral("order-add"), QStringLiteral("--supplier"), QStringLiteral("2"), QStringLiteral("--number"), QStringLiteral("X")});
        QVERIFY(r.code != 0 && r.out.contains(acq::supplierGone()));
    }

    // A budget of 1,000 with two chapters, a transfer, two commitments and
    // an invoice renamed then deleted, each refusal told with its message.
    void budgetBook_data() { addEngineRows(); }
    void budgetBook()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const auto run = [&](const QStringList &args) { return runFolianctl(ini, args); };
        const auto refused = [&](const QStringList &args, const QString &message) {
            const CtlRun r = run(args);
            return r.code != 0 && r.out.contains(message);
        };
        const int order = newDocument(db);
        QVERIFY(order > 0 && newLine(db, order, 1, QStringLiteral("1"), QStringLiteral("10.00")) && validateDocument(db, order).passed);

        QVERIFY(keyOf(run({QStringLiteral("currency-add"), QStringLiteral("Euro"), QStringLiteral("أورو")})) > 0);
        QCOMPARE(run({QStringLiteral("budget-add"), QStringLiteral("2024"), QStringLiteral("1000")}).code, 0);
        const int a = keyOf(run({QStringLiteral("chapter-add"), QStringLiteral("2024"), QStringLiteral("Ouvrages"), QStringLiteral("500")}));
        const int b = keyOf(run({QStringLiteral("chapter-add"), QStringLiteral("2024"), QStringLiteral("Périodiques"), QStringLiteral("500")}));
        QVERIFY(a > 0 && b > a);
        QVERIFY(refused({QStringLiteral("chapter-add"), QStringLiteral("2024"), QStringLiteral("X"), QStringLiteral("0.01")},
                        acq::chaptersExceedBudget()));
        QVERIFY(refused({QStringLiteral("commitment-add"), QString::number(a), QStringLiteral("-1")}, acq::amountNegative()));
        QVERIFY(refused({QStringLiteral("commitment-add"), QString::number(a), QStringLiteral("500.01")}, acq::commitmentExceedsChapter()));

        const int moved = keyOf(run({QStringLiteral("transfer"), QString::number(b), QString::number(a), QStringLiteral("200")}));
        QVERIFY(moved > 0);
        const int first = keyOf(run({QStringLiteral("commitment-add"), QString::number(a), QStringLiteral("300"), QStringLiteral("--date"),
                                     QStringLiteral("2024-03-01"), QStringLiteral("--payment-mode"), QStringLiteral("Virement")}));
        QVERIFY(first > 0);
        QCOMPARE(run({QStringLiteral("commitment-edit"), QString::number(first), QStringLiteral("--amount"), QStringLiteral("300.00")}).code, 0);
        QVERIFY(refused({QStringLiteral("commitment-add"), QString::number(a), QStringLiteral("400.01")}, acq::commitmentExceedsChapter()));
        const int second = keyOf(run({QStringLiteral("commitment-add"), QString::number(a), QStringLiteral("400")}));
        QVERIFY(second > first);
        QVERIFY(refused({QStringLiteral("transfer-delete"), QString::number(moved)}, acq::transferCommitted()));

        const QStringList invoiceOf = {QStringLiteral("invoice-add"), QStringLiteral("FA 1"), QStringLiteral("--document"), QString::number(order),
                                       QStringLiteral("--commitment"), QString::number(first), QStringLiteral("--amount")};
        QVERIFY(refused(invoiceOf + QStringList{QStringLiteral("300.01")}, acq::invoiceExceedsCommitment()));
        QCOMPARE(run(invoiceOf + QStringList{QStringLiteral("120.40")}).code, 0);
        QVERIFY(refused(invoiceOf + QStringList{QStringLiteral("1")}, acq::invoiceNumberExists(QStringLiteral("FA 1"))));
        QCOMPARE(run({QStringLiteral("invoice-edit"), QStringLiteral("FA 1"), QStringLiteral("--number"), QStringLiteral("FA 2")}).code, 0);

        CtlRun r = run({QStringLiteral("budget-show"), QStringLiteral("2024")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed().split(u'\n'),
                 (QStringList{QStringLiteral("budget\t2024\t1000.00\t700.00"),
                              QStringLiteral("chapter\t%1\tOuvrages\t500.00\t500.00").arg(a),
                              QStringLiteral("chapter\t%1\tPériodiques\t500.00\t200.00").arg(b),
                              QStringLiteral("commitment\t%1\t%2\t300.00\t120.40").arg(first).arg(a),
                              QStringLiteral("commitment\t%1\t%2\t400.00\t0.00").arg(second).arg(a)}));

        QCOMPARE(run({QStringLiteral("invoice-delete"), QStringLiteral("FA 2")}).code, 0);
        QCOMPARE(commitmentDebitOf(db, first), QStringLiteral("0.00"));
        QCOMPARE(run({QStringLiteral("commitment-delete"), QString::number(second)}).code, 0);
        QCOMPARE(run({QStringLiteral("transfer-delete"), QString::number(moved)}).code, 0);
        QCOMPARE(chapterDebitOf(db, a) + u' ' + chapterDebitOf(db, b) + u' ' + budgetDebitOf(db, 2024),
                 QStringLiteral("300.00 0.00 300.00"));
        QCOMPARE(run({QStringLiteral("chapter-delete"), QString::number(b)}).code, 0);
        QVERIFY(refused({QStringLiteral("budget-delete"), QStringLiteral("2024")}, acq::budgetHasChapters(1)));
    }
};

QTEST_GUILESS_MAIN(TstAcqCtl)
#include "tst_acqctl.moc"
