// The physical inventory on both engines: every criterion and number
// operator (copy numbers compared as texts the same way on both), the sort
// across the pages of the result, the flag's toggle against a change made
// meanwhile, the pages (the discrepancies whatever the criteria, a NULL flag
// not found), and campaigns marked from scanners' files.

#include "acquisitions/inventoryfixture.h"
#include "acquisitions/core/inventorycampaign.h"
#include "acquisitions/core/inventorypages.h"
#include "acquisitions/core/inventorytexts.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "data/core/dataset.h"
#include "data/core/dialect.h"
#include "reports/core/htmlpage.h"
#include "support/workstations.h"

#include <QBuffer>
#include <QTest>
#include <algorithm>

using namespace folian;
using namespace folian::test;

namespace {

// The copies the criteria select, as "a b c" in the order of the texts.
QString selected(Database &db, const InventoryCriteria &c)
{
    const SqlCondition q = inventoryQuery(db.dialect(), c);
    SqlRows rows = db.query(q.sql, q.binds);
    if (!rows.isActive())
        return QStringLiteral("failed: ") + db.lastError().text();
    QStringList ids;
    while (rows.next())
        ids << rows.value(InvCopyId).toString();
    std::sort(ids.begin(), ids.end());
    return ids.join(u' ');
}

QVariant flagOf(Database &db, const QString &copy)
{
    return db.scalar(QStringLiteral("SELECT EXP_INVENTORIE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {copy});
}

struct CriteriaCase {
    const char *name;
    void (*set)(InventoryCriteria &);
    const char *expected;
};

const CriteriaCase criteriaCases[] = {
    {"equal", [](InventoryCriteria &c) { c.number = QStringLiteral("12"); }, "12"},
    {"equal ignores the star", [](InventoryCriteria &c) { c.number = QStringLiteral("12*"); }, "12"},
    {"contains 12*", [](InventoryCriteria &c) { c.numberOperator = NumberOperator::Contains; c.number = QStringLiteral("12*"); },
     "12 120 125"},
    {"interval", [](InventoryCriteria &c) { c.numberOperator = NumberOperator::Interval; c.number = QStringLiteral("100");
                                            c.number2 = QStringLiteral("125"); }, "100 12 120 125"},
    {"interval, second bound only (100 before 20)",
     [](InventoryCriteria &c) { c.numberOperator = NumberOperator::Interval; c.number2 = QStringLiteral("20"); },
     "100 12 120 125 20"},
    {"greater", [](InventoryCriteria &c) { c.numberOperator = NumberOperator::Greater; c.number = QStringLiteral("20"); }, "3"},
    {"less", [](InventoryCriteria &c) { c.numberOperator = NumberOperator::Less; c.number = QStringLiteral("12"); }, "100"},
    {"alternative equal", [](InventoryCriteria &c) { c.numberColumn = InventoryNumber::Alternative; c.number = QStringLiteral("INV-2"); },
     "20"},
    {"alternative contains", [](InventoryCriteria &c) { c.numberColumn = InventoryNumber::Alternative;
                                                        c.numberOperator = NumberOperator::Contains; c.number = QStringLiteral("INV-1*"); },
     "12 120"},
    {"alternative interval, second bound only",
     [](InventoryCriteria &c) { c.numberColumn = InventoryNumber::Alternative; c.numberOperator = NumberOperator::Interval;
                                c.number2 = QStringLiteral("INV-10"); }, "12"},
    {"alternative greater", [](InventoryCriteria &c) { c.numberColumn = InventoryNumber::Alternative;
                                                       c.numberOperator = NumberOperator::Greater; c.number = QStringLiteral("INV-2"); },
     "100 3"},
    {"alternative less", [](InventoryCriteria &c) { c.numberColumn = InventoryNumber::Alternative;
                                                    c.numberOperator = NumberOperator::Less; c.number = QStringLiteral("INV-11"); },
     "12"},
    {"mode", [](InventoryCriteria &c) { c.mode = 2; }, "120 125 20"},
    {"location", [](InventoryCriteria &c) { c.location = QStringLiteral("SAL"); }, "120 125"},
    {"language", [](InventoryCriteria &c) { c.language = QStringLiteral("ara"); }, "120 125"},
    {"dates, both bounds included", [](InventoryCriteria &c) { c.from = QDate(2024, 1, 31); c.to = QDate(2024, 2, 1); },
     "12 120"},
    {"date from only", [](InventoryCriteria &c) { c.from = QDate(2024, 2, 1); }, "120 125"},
    {"title words", [](InventoryCriteria &c) { c.titleWords = QStringLiteral("roman alger"); }, "100 12"},
    {"type", [](InventoryCriteria &c) { c.type = QStringLiteral("b"); }, "120 125"},
    {"author, another form of the heading", [](InventoryCriteria &c) { c.author = QStringLiteral("mahfouz"); }, "120 125"},
    {"author, Arabic form", [](InventoryCriteria &c) { c.author = QStringLiteral("نجيب"); }, "120 125"},
    {"standard number typed with hyphens", [](InventoryCriteria &c) { c.standardNumber = QStringLiteral("996-100-0001"); },
     "100 12"},
    {"shelf mark pattern", [](InventoryCriteria &c) { c.shelfMark = QStringLiteral("a-*"); }, "100 12 20 3"},
    {"a quote in a criterion", [](InventoryCriteria &c) { c.shelfMark = QStringLiteral("d'A*"); }, ""},
    {"criteria together", [](InventoryCriteria &c) { c.shelfMark = QStringLiteral("B*"); c.mode = 2; c.location = QStringLiteral("SAL");
                                                     c.numberOperator = NumberOperator::Greater; c.number = QStringLiteral("120"); },
     "125"},
};

struct ToggleCase {
    const char *name;
    int seen;  // -1: NULL
    int expected;
};

const ToggleCase toggleCases[] = {
    {"NULL becomes found", -1, 1},
    {"0 becomes found", 0, 1},
    {"1 becomes not found", 1, 0},
    {"another found value becomes not found", 2, 0},
};

struct LineEndCase {
    const char *name;
    const char *end;
};

const LineEndCase lineEnds[] = {{"LF", "\n"}, {"CR LF", "\r\n"}, {"CR alone", "\r"}};

// A scanner's file of the lines with `end` after each, a trailing end and a blank line.
QByteArray scannerFile(const QStringList &lines, const char *end)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + end;
    return out + end;
}

ScanReport mark(Database &db, int campaign, const QByteArray &file)
{
    QByteArray bytes = file;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return markScanned(db, campaign, buffer);
}

QString pageOf(const ReportResult &r)
{
    QString html;
    if (!r.written() || !readHtmlPage(r.path, &html))
        return QStringLiteral("not written: ") + r.message;
    return html;
}

} // namespace

class TstInventory : public QObject
{
    Q_OBJECT

    QTemporaryDir pages_;

private slots:
    void initTestCase() { setUserDataDirectory(pages_.path()); }

    void init()
    {
        session() = Session();
        session().CurrentUserRole = 2;  // the acquisitions' manager
    }

    void criteria_data() { addEngineCaseRows(criteriaCases); }
    void criteria()
    {
        QFETCH(int, index);
        FOLIAN_INVENTORY_DB(tdb, db);
        const CriteriaCase &k = criteriaCases[index];
        InventoryCriteria c;
        k.set(c);
        QVERIFY(!c.isEmpty());
        QCOMPARE(selected(db, c), QString::fromUtf8(k.expected));
        QString why;
        QCOMPARE(countInventory(db, c, &why), qint64(QString::fromUtf8(k.expected).split(u' ', Qt::SkipEmptyParts).size()));
    }

    // The result is read in pages; each page continues the database's order.
    void sortAcrossPages_data() { addEngineRows(); }
    void sortAcrossPages()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        {
            Transaction tx(db);
            for (int i = 0; i < 600; ++i)
                QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, EXP_COTE, EXP_INVENTORIE) "
                                               "VALUES (?, ?, 0, ?, 1)"),
                                {QStringLiteral("P%1").arg(i, 4, 10, QChar(u'0')), 1 + i % 5,
                                 QStringLiteral("Z-%1").arg(599 - i, 4, 10, QChar(u'0'))}));
            QVERIFY(tx.commit());
        }
        for (const InventorySort sort : {InventorySort::ShelfMark, InventorySort::Record, InventorySort::Copy}) {
            InventoryCriteria c;
            c.numberOperator = NumberOperator::Contains;
            c.number = QStringLiteral("P*");
            c.sort = sort;
            const SqlCondition q = inventoryQuery(db.dialect(), c);
            Dataset d(db, QStringLiteral("QExemplaire"), QStringLiteral("NOTICE_EXEMPLAIRE"));
            QVERIFY2(d.open(q.sql, q.binds), qPrintable(d.lastError()));
            QVERIFY(d.fetchAll());
            QCOMPARE(d.rowCount(), 600);
            QSet<QString> seen;
            for (int row = 0; row < d.rowCount(); ++row) {
                const QString id = d.valueAt(row, QStringLiteral("EXP_ID")).toString();
                QVERIFY(!seen.contains(id));
                seen.insert(id);
                if (row == 0)
                    continue;
                const QString prev = d.valueAt(row - 1, QStringLiteral("EXP_ID")).toString();
                if (sort == InventorySort::ShelfMark)
                    QVERIFY(d.valueAt(row - 1, QStringLiteral("EXP_COTE")).toString()
                            < d.valueAt(row, QStringLiteral("EXP_COTE")).toString());
                else if (sort == InventorySort::Record)
                    QVERIFY(std::pair(d.valueAt(row - 1, QStringLiteral("DOC_ID")).toInt(), prev)
                            < std::pair(d.valueAt(row, QStringLiteral("DOC_ID")).toInt(), id));
                else
                    QVERIFY(prev < id);
            }
        }
    }

    void toggle_data() { addEngineCaseRows(toggleCases); }
    void toggle()
    {
        QFETCH(int, index);
        FOLIAN_INVENTORY_DB(tdb, db);
        const ToggleCase &k = toggleCases[index];
        const QVariant seen = k.seen < 0 ? QVariant() : QVariant(k.seen);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_INVENTORIE = ? WHERE EXP_ID = '120'"), {seen}));
        const AcqResult once = toggleInventoried(db, QStringLiteral("120"), seen);
        QVERIFY2(once.passed, qPrintable(once.message));
        QCOMPARE(flagOf(db, QStringLiteral("120")).toInt(), k.expected);
        // Twice: back to found or not found as it was.
        const AcqResult twice = toggleInventoried(db, QStringLiteral("120"), flagOf(db, QStringLiteral("120")));
        QVERIFY2(twice.passed, qPrintable(twice.message));
        QCOMPARE(isInventoried(flagOf(db, QStringLiteral("120"))), isInventoried(seen));
    }

    void toggleAfterAnotherChange_data() { addEngineRows(); }
    void toggleAfterAnotherChange()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        // The operator saw 1 on copy 100; another workstation sets it to 0 meanwhile.
        Database other;
        QString why;
        QVERIFY2(other.open(tdb.params(), false, &why), qPrintable(why));
        QVERIFY(other.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_INVENTORIE = 0 WHERE EXP_ID = '100'")));
        const AcqResult r = toggleInventoried(db, QStringLiteral("100"), 1);
        QVERIFY(!r.passed);
        QCOMPARE(r.message, inv::flagChanged(QStringLiteral("100"), false));
        QCOMPARE(flagOf(db, QStringLiteral("100")).toInt(), 0);
        // Seen 0 while NULL is stored: not written either.
        QVERIFY(!toggleInventoried(db, QStringLiteral("125"), 0).passed);
        QVERIFY(flagOf(db, QStringLiteral("125")).isNull());
        // Deleted meanwhile.
        QVERIFY(other.exec(QStringLiteral("DELETE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = '12'")));
        const AcqResult gone = toggleInventoried(db, QStringLiteral("12"), 1);
        QVERIFY(!gone.passed);
        QCOMPARE(gone.message, inv::copyGone(QStringLiteral("12")));
        other.close();
    }

    // Workstations double-clicking the same row at once, having seen it found:
    // one of them changes it, the others are told.
    void toggleRace()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase tdb(QStringLiteral("POSTGRESQL"));
        QVERIFY(tdb.isValid());
        QVERIFY(acqSetUp(tdb.db()) && tdb.db().exec(QStringLiteral("DELETE FROM MODE_ACQUISITION")) && inventorySetUp(tdb.db()));
        const int done = atOnce(tdb.params(), 4, [](int, Database &db) {
            return toggleInventoried(db, QStringLiteral("100"), 1).passed;
        });
        QCOMPARE(done, 1);
        QCOMPARE(flagOf(tdb.db(), QStringLiteral("100")).toInt(), 0);
    }

    void pages_data() { addEngineRows(); }
    void pages()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        InventoryCriteria c;
        c.shelfMark = QStringLiteral("B*");
        // The discrepancies: every copy not found, 0 or NULL, whatever the criteria.
        const QString gaps = pageOf(writeInventoryPage(db, InventoryPage::Discrepancies, c));
        QVERIFY2(gaps.contains(QStringLiteral("A-003")) && gaps.contains(QStringLiteral("B-002")), qPrintable(gaps));
        for (const char *found : {"A-001", "A-002", "B-001", "A-004"})
            QVERIFY2(!gaps.contains(QLatin1String(found)), found);
        // The check list: the selection only, each flag's label, NULL not found.
        const QString check = pageOf(writeInventoryPage(db, InventoryPage::Check, c));
        QVERIFY(check.contains(QStringLiteral("B-001")) && check.contains(QStringLiteral("B-002")));
        QVERIFY(!check.contains(QStringLiteral("A-00")));
        QCOMPARE(check.count(QStringLiteral(">Oui<")), 1);
        QCOMPARE(check.count(QStringLiteral(">Non<")), 1);
        // The register: the record's title and author, the mode's label, the location's.
        const QString reg = pageOf(writeInventoryPage(db, InventoryPage::Register, c));
        QVERIFY2(reg.contains(QStringLiteral("Poèmes")) && reg.contains(QStringLiteral("Don"))
                     && reg.contains(QStringLiteral("Salle de lecture")),
                 qPrintable(reg));
        QVERIFY(reg.contains(QStringLiteral("<td>120</td>")) || reg.contains(QStringLiteral(">120<")));
    }

    // A campaign over one range of shelf marks resets that range only; a
    // scanner's file marks it, whatever its line ends.
    void campaignFromScanner_data() { addEngineCaseRows(lineEnds); }
    void campaignFromScanner()
    {
        QFETCH(int, index);
        FOLIAN_INVENTORY_DB(tdb, db);
        InventoryCriteria c;
        c.shelfMark = QStringLiteral("A-*");
        const AcqResult started = startCampaign(db, c);
        QVERIFY2(started.passed, qPrintable(started.message));
        CampaignStatus s = campaignStatus(db, started.key);
        QVERIFY(s.read);
        QCOMPARE(s.selection, qint64(4));
        QCOMPARE(s.notFound, qint64(4));
        // Every other copy keeps its flag.
        QCOMPARE(flagOf(db, QStringLiteral("120")).toInt(), 1);
        QVERIFY(flagOf(db, QStringLiteral("125")).isNull());

        const QByteArray file = scannerFile({QStringLiteral("100"), QStringLiteral("12"), QString(), QStringLiteral("  999 "),
                                             QStringLiteral("120"), QStringLiteral("100"), QStringLiteral("3")},
                                            lineEnds[index].end);
        const ScanReport r = mark(db, started.key, file);
        QVERIFY2(r.passed, qPrintable(r.message));
        QCOMPARE(r.lines, 6);
        QCOMPARE(r.found, 4);
        QCOMPARE(r.unknownNumbers, QStringList{QStringLiteral("999")});
        QCOMPARE(r.duplicateNumbers, QStringList{QStringLiteral("100")});
        QCOMPARE(r.misplacedNumbers, QStringList{QStringLiteral("120")});
        QCOMPARE(r.lentNumbers, QStringList{QStringLiteral("3")});
        s = campaignStatus(db, started.key);
        QCOMPARE(s.found, qint64(3));
        QCOMPARE(s.notFound, qint64(1));
        QCOMPARE(s.misplaced, qint64(1));

        // Resumed: a second file adds to the first.
        const ScanReport again = mark(db, started.key, scannerFile({QStringLiteral("20"), QStringLiteral("12")}, lineEnds[index].end));
        QVERIFY(again.passed);
        QCOMPARE(again.found, 1);
        QCOMPARE(again.duplicates, 1);
        s = campaignStatus(db, started.key);
        QCOMPARE(s.found, qint64(4));
        QCOMPARE(s.notFound, qint64(0));
    }

    // Numbers holding the marks of a list of texts (quotes, backslashes,
    // commas, braces, blanks, the word NULL) are each their own copy; a
    // file longer than a batch finds a number read again batches later.
    void scannedNumbers_data() { addEngineRows(); }
    void scannedNumbers()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        const QStringList marked{QStringLiteral("Q\"1"), QStringLiteral("B\\2"), QStringLiteral("C,3"), QStringLiteral("{D}"),
                                 QStringLiteral("NULL"), QStringLiteral("E 5"), QStringLiteral("F'6")};
        for (const QString &n : marked) {
            const QByteArray id = n.toUtf8();
            QVERIFY(addCopy(db, {id.constData(), 11, "Z-001", nullptr, "MAG", 0, nullptr, 0, nullptr}));
        }
        InventoryCriteria c;
        c.shelfMark = QStringLiteral("A-*");
        const AcqResult started = startCampaign(db, c);
        QVERIFY2(started.passed, qPrintable(started.message));
        ScanReport r = mark(db, started.key, scannerFile(marked + QStringList{QStringLiteral("\"")}, "\n"));
        QVERIFY2(r.passed, qPrintable(r.message));
        QCOMPARE(r.found, int(marked.size()));
        QCOMPARE(r.misplacedNumbers, marked);
        QCOMPARE(r.unknownNumbers, QStringList{QStringLiteral("\"")});
        for (const QString &n : marked)
            QCOMPARE(flagOf(db, n).toInt(), 1);

        QStringList lines{QStringLiteral("100")};
        for (int i = 1; i <= 12000; ++i)
            lines << QStringLiteral("X%1").arg(i);
        lines << QStringLiteral("100") << QStringLiteral("X1");
        r = mark(db, started.key, scannerFile(lines, "\r\n"));
        QVERIFY2(r.passed, qPrintable(r.message));
        QCOMPARE(r.lines, 12003);
        QCOMPARE(r.found, 1);
        QCOMPARE(r.unknown, 12000);
        QCOMPARE(r.duplicateNumbers, (QStringList{QStringLiteral("100"), QStringLiteral("X1")}));
        const CampaignStatus s = campaignStatus(db, started.key);
        QCOMPARE(s.found, qint64(1));
        QCOMPARE(s.misplaced, qint64(marked.size()));
    }

    // The campaign's pages: its discrepancies are of its selection, a NULL
    // flag set meanwhile counting as not found.
    void campaignPages_data() { addEngineRows(); }
    void campaignPages()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        InventoryCriteria c;
        c.location = QStringLiteral("SAL");
        const AcqResult started = startCampaign(db, c);
        QVERIFY(started.passed);
        QVERIFY(mark(db, started.key, QByteArrayLiteral("120\n")).passed);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_INVENTORIE = NULL WHERE EXP_ID = '125'")));
        QCOMPARE(campaignStatus(db, started.key).notFound, qint64(1));
        const QString gaps = pageOf(writeCampaignPage(db, InventoryPage::Discrepancies, started.key, nullptr, pages_.path()));
        QVERIFY2(gaps.contains(QStringLiteral("B-002")) && !gaps.contains(QStringLiteral("B-001"))
                     && !gaps.contains(QStringLiteral("A-003")),
                 qPrintable(gaps));
        int count = 0;
        QString why;
        const QString list = pages_.filePath(QStringLiteral("ecarts.txt"));
        QVERIFY2(writeDiscrepancyList(db, started.key, list, &count, &why), qPrintable(why));
        QCOMPARE(count, 1);
        QFile f(list);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArrayLiteral("125\n"));
    }

    void campaignRefusals_data() { addEngineRows(); }
    void campaignRefusals()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        const AcqResult none = startCampaign(db, InventoryCriteria());
        QVERIFY(!none.passed);
        QCOMPARE(none.message, inv::criterionRequired());
        QCOMPARE(flagOf(db, QStringLiteral("100")).toInt(), 1);
        QCOMPARE(mark(db, 7, QByteArrayLiteral("100\n")).message, inv::campaignUnknown(7));
        session().CurrentUserRole = 0;  // no acquisition right
        InventoryCriteria c;
        c.shelfMark = QStringLiteral("A*");
        QVERIFY(!startCampaign(db, c).passed);
        QVERIFY(!toggleInventoried(db, QStringLiteral("100"), 1).passed);
        QCOMPARE(flagOf(db, QStringLiteral("100")).toInt(), 1);
    }

    // A database of the version before gets the campaigns' tables.
    void upgrade_data() { addEngineRows(); }
    void upgrade()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        QVERIFY(db.exec(QStringLiteral("DROP TABLE INVENTAIRE_EXEMPLAIRE")));
        QVERIFY(db.exec(QStringLiteral("DROP TABLE INVENTAIRE_CAMPAGNE")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 9")));
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        InventoryCriteria c;
        c.shelfMark = QStringLiteral("A*");
        QVERIFY(startCampaign(db, c).passed);
    }
};

QTEST_GUILESS_MAIN(TstInventory)
#include "tst_inventory.moc"
