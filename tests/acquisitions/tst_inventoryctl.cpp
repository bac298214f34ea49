// folianctl inventory on both engines, as a librarian's script runs it: a
// campaign started over a range of shelf marks, a scanner's file marked,
// the counts on standard output and the numbers on standard error, the
// pages written, exit non-zero on a failure.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/inventorytexts.h"
#include "base/session.h"
#include "support/folianctl.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace folian;
using namespace folian::test;

class TstInventoryCtl : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserRole = 2;
    }

    void campaign_data() { addEngineRows(); }
    void campaign()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        for (const auto &[id, shelf, reader] : {std::tuple{"A1", "A-001", ""}, std::tuple{"A2", "A-002", "R1"},
                                                std::tuple{"A3", "A-003", ""}, std::tuple{"B1", "B-001", ""}})
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, EXP_COTE, EXP_INVENTORIE, LEC_ID) "
                                           "VALUES (?, 1, 0, ?, 1, ?)"),
                            {QLatin1String(id), QLatin1String(shelf), *reader ? QVariant(QLatin1String(reader)) : QVariant()}));
        const QString ini = tdb.writeIni();
        const auto run = [&](const QStringList &args) { return runFolianctl(ini, QStringList{QStringLiteral("inventory")} + args); };

        CtlRun r = run({QStringLiteral("status")});
        QVERIFY(r.code != 0);
        r = run({QStringLiteral("start"), QStringLiteral("--shelfmark"), QStringLiteral("A-*")});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("3\n")), qPrintable(r.out));
        QVERIFY(run({QStringLiteral("start")}).code != 0);  // no criterion: nothing reset

        const QString file = tdb.dir() + QStringLiteral("scan.txt");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("A1\r\nA2\r\nZZ\r\nB1\r\nA1\r\n");
        f.close();
        r = run({QStringLiteral("mark"), file});
        QCOMPARE(r.code, 0);
        for (const char *line : {"found\t3\n", "unknown\t1\n", "duplicates\t1\n", "misplaced\t1\n", "lent\t1\n",
                                 "unknown\tZZ\n", "duplicate\tA1\n", "misplaced\tB1\n", "lent\tA2\n"})
            QVERIFY2(r.out.contains(QLatin1String(line)), qPrintable(r.out));

        r = run({QStringLiteral("status")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QStringLiteral("selection\t3\nfound\t2\nnot-found\t1\n"));

        const QString dir = tdb.dir() + QStringLiteral("pages");
        r = run({QStringLiteral("report"), dir});
        QCOMPARE(r.code, 0);
        for (const char *name : {"invClassique.html", "invPhysique.html", "invEcarts.html", "invCampagne.html", "ecarts.txt"})
            QVERIFY2(QFile::exists(QDir(dir).filePath(QLatin1String(name))), name);
        QFile gaps(QDir(dir).filePath(QStringLiteral("ecarts.txt")));
        QVERIFY(gaps.open(QIODevice::ReadOnly));
        QCOMPARE(gaps.readAll(), QByteArrayLiteral("A3\n"));

        QVERIFY(run({QStringLiteral("mark"), tdb.dir() + QStringLiteral("missing.txt")}).code != 0);
        QVERIFY(run({QStringLiteral("status"), QStringLiteral("--campaign"), QStringLiteral("9")}).code != 0);
    }
};

QTEST_GUILESS_MAIN(TstInventoryCtl)
#include "tst_inventoryctl.moc"
