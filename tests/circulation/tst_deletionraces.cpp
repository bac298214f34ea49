// Deletions that meet the work of another workstation on PostgreSQL, one
// connection per thread: a reader deleted while a loan, a reservation or
// a consultation to him commits; a partner library deleted during the
// import of its union-catalogue records; a category or a structure
// deleted while readers are imported into it; a loan rule deleted while a
// loan under it commits. Each time one of the two gives way: nothing
// refers to a row that no longer exists.

#include "base/messages.h"
#include "base/progress.h"
#include "base/session.h"
#include "catalogue/unimarc/importfile.h"
#include "circulation/core/categories.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/libraries.h"
#include "circulation/core/readerimport.h"
#include "circulation/core/readers.h"
#include "circulation/interlibraryfixture.h"
#include "support/workstations.h"
#include "unimarc/records.h"

#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

const QString X = QStringLiteral("X");

// Calls `pause` at the first step of a task, on the task's thread: the task
// has written its first rows and not yet committed them.
struct PauseOnce : Progress {
    std::function<void()> pause;
    bool paused = false;
    void step(int done, int, const QString &) override
    {
        if (done > 0 && !paused) {
            paused = true;
            pause();
        }
    }
};

// Holds the copy's row on its own connection, as a desk in the middle of
// an operation on it does, until release().
class CopyHolder
{
public:
    explicit CopyHolder(const ConnectionParams &params)
    {
        ok_ = db_.open(params) && db_.begin()
            && db_.exec(QStringLiteral("SELECT 1 FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'X' FOR UPDATE"));
    }
    bool ok() const { return ok_; }
    bool release() { return db_.commit(); }

private:
    Database db_;
    bool ok_ = false;
};

} // namespace

class TstDeletionRaces : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir dir;

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("resp.pret");
        session().CurrentUserRole = 1;  // deletes libraries, categories and readers, and lends
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    // The copy is held while a desk lends, reserves or lets D consult it;
    // D's deletion meanwhile waits for the desk and then refuses: D holds
    // the copy.
    void readerDeletedWhileACopyGoesToHim_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("column");
        QTest::newRow("loan") << int(LoanOperation::Loan) << "LEC_ID";
        QTest::newRow("reservation") << int(LoanOperation::Reservation) << "LEC_ID2";
        QTest::newRow("consultation") << int(LoanOperation::Consultation) << "LEC_ID";
    }
    void readerDeletedWhileACopyGoesToHim()
    {
        QFETCH(int, operation);
        QFETCH(QString, column);
        const LoanOperation op = LoanOperation(operation);
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db) && addDeskReader(db, QStringLiteral("D")));
        const bool reservation = op == LoanOperation::Reservation;
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), reservation ? QVariant(QStringLiteral("A")) : none(),
                        reservation ? day(5) : none(), none(), op == LoanOperation::Consultation ? 3 : 2));
        Database observer;
        QVERIFY(observer.open(tdb.params()));
        CopyHolder holder(tdb.params());
        QVERIFY(holder.ok());
        DeskResult desk;
        Workstation counter(tdb.params(), [&](Database &c) {
            desk = LoanDesk(c, today()).run(op, QStringLiteral("D"), X);
            return desk.passed;
        });
        QVERIFY(waitForLockWaits(observer, 1));
        QString refusal;
        Workstation deletion(tdb.params(), [&](Database &c) {
            refusal = deleteReader(c, QStringLiteral("D"));
            return refusal.isEmpty();
        });
        QVERIFY(finishedOrHeld(observer, deletion, 2));
        QVERIFY(holder.release());
        QVERIFY2(counter.wait(), qPrintable(desk.message()));
        QVERIFY(!deletion.wait());
        QCOMPARE(refusal, reservation ? circ::readerNotDeletable(QStringLiteral("D"), 0, 1, 0)
                                      : circ::readerNotDeletable(QStringLiteral("D"), 1, 0, 0));
        QCOMPARE(readerValue(db, QStringLiteral("D"), "LEC_ID").toString(), QStringLiteral("D"));
        QCOMPARE(copyValue(db, X, column.toLatin1().constData()).toString(), QStringLiteral("D"));
    }

    // A partner library deleted while the import of its records writes its
    // first batch: the deletion waits for the batch and then refuses, the
    // library keeps its number and its copies.
    void libraryDeletedDuringItsImport()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &db = tdb.db();
        QVERIFY(addLibrary(db, 3, QStringLiteral("Bibliothèque partenaire"), QStringLiteral("Université C")));
        QList<unimarc::Record> records;
        for (int i = 0; i < 40; ++i) {
            unimarc::Record r = unimarc::test::sampleRecord("50", QStringLiteral("Titre %1").arg(i));
            r.append(unimarc::test::dataField("995", "  ", {{'f', qPrintable(QStringLiteral("P%1").arg(i))}}));
            records << r;
        }
        const QString path = unimarc::test::writeRecords(dir, records);
        QString refusal;
        bool deletionHeldOrDone = false;
        unimarc::ImportCounts counts;
        const ConnectionParams params = tdb.params();
        std::unique_ptr<Workstation> deletion;
        Workstation import(params, [&](Database &c) {
            Database observer;
            if (!observer.open(params))
                return false;
            PauseOnce pause;
            pause.pause = [&] {
                deletion = std::make_unique<Workstation>(params, [&](Database &d) {
                    refusal = deleteLibrary(d, 3);
                    return refusal.isEmpty();
                });
                deletionHeldOrDone = finishedOrHeld(observer, *deletion);
            };
            counts = unimarc::importFile(c, path, {3, true}, nullptr, &pause);
            return counts.completed;
        });
        QVERIFY2(import.wait(), qPrintable(counts.error));
        QVERIFY(deletionHeldOrDone);
        QVERIFY(deletion);
        QVERIFY(!deletion->wait());
        QVERIFY2(refusal.startsWith(circ::libraryNotDeletable()), qPrintable(refusal));
        QCOMPARE(counts.imported, 40);
        QCOMPARE(libraryCount(db), 1);
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE BIB_ID = 3")), 40);
    }

    // The library is gone before the import's first batch: nothing is
    // imported for it and the import says why.
    void importForALibraryThatIsGone_data() { addEngineRows(); }
    void importForALibraryThatIsGone()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addLibrary(db, 3, QStringLiteral("Bibliothèque partenaire"), QStringLiteral("Université C")));
        QVERIFY(deleteLibrary(db, 3).isEmpty());
        const QString path = unimarc::test::writeRecords(dir, {unimarc::test::sampleRecord()});
        const unimarc::ImportCounts counts = unimarc::importFile(db, path, {3, true}, nullptr);
        QVERIFY(!counts.completed);
        QCOMPARE(counts.imported, 0);
        QCOMPARE(counts.error, unimarc::libraryGoneMessage(3));
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 0);
    }

    // A category or a structure deleted while readers are imported into
    // it: the deletion waits for the import's batch, then refuses.
    void deletedDuringAReaderImport_data()
    {
        QTest::addColumn<bool>("category");
        QTest::newRow("category") << true;
        QTest::newRow("structure") << false;
    }
    void deletedDuringAReaderImport()
    {
        QFETCH(bool, category);
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 3, QStringLiteral("Etudiant")) && addStructure(db, 2, QStringLiteral("Lettres")));
        QByteArray file;
        for (int i = 0; i < 50; ++i)
            file += QStringLiteral("R%1;Nom;Prénom\n").arg(i).toUtf8();
        const QString path = dir.filePath(QStringLiteral("readers.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
        f.close();
        const ConnectionParams params = tdb.params();
        QString refusal;
        bool deletionHeldOrDone = false;
        std::unique_ptr<Workstation> deletion;
        ReaderImportResult result;
        Workstation import(params, [&](Database &c) {
            Database observer;
            if (!observer.open(params))
                return false;
            PauseOnce pause;
            pause.pause = [&] {
                deletion = std::make_unique<Workstation>(params, [&](Database &d) {
                    refusal = category ? deleteCategory(d, 3) : deleteStructure(d, 2);
                    return refusal.isEmpty();
                });
                deletionHeldOrDone = finishedOrHeld(observer, *deletion);
            };
            ReaderImportOptions o;
            o.categoryId = 3;
            o.structureId = 2;
            result = importReaders(c, path, o, &pause);
            return result.error.isEmpty();
        });
        QVERIFY2(import.wait(), qPrintable(result.error));
        QVERIFY(deletionHeldOrDone);
        QVERIFY(deletion);
        QVERIFY(!deletion->wait());
        QCOMPARE(refusal, category ? circ::categoryInUse(QStringLiteral("Etudiant"), 50)
                                   : circ::structureInUse(QStringLiteral("Lettres"), 50));
        QCOMPARE(result.imported, 50);
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM CATEGORIE WHERE CAT_ID = 3")), 1);
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM STRUCTURE WHERE STR_ID = 2")), 1);
    }

    // A loan rule deleted while a loan under it commits: the deletion waits
    // for the loan, then refuses since a reader of the category holds a
    // copy of the type.
    void ruleDeletedDuringALoan()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), none(), none()));
        Database observer;
        QVERIFY(observer.open(tdb.params()));
        CopyHolder holder(tdb.params());
        QVERIFY(holder.ok());
        DeskResult desk;
        Workstation counter(tdb.params(), [&](Database &c) {
            desk = LoanDesk(c, today()).lend(QStringLiteral("A"), X);
            return desk.passed;
        });
        QVERIFY(waitForLockWaits(observer, 1));
        QString refusal;
        Workstation deletion(tdb.params(), [&](Database &c) {
            refusal = deleteRule(c, 1, QStringLiteral("a"));
            return refusal.isEmpty();
        });
        QVERIFY(finishedOrHeld(observer, deletion, 2));
        QVERIFY(holder.release());
        QVERIFY2(counter.wait(), qPrintable(desk.message()));
        QVERIFY(!deletion.wait());
        QCOMPARE(refusal, circ::ruleInUse(1));
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM REGLEMENT WHERE CAT_ID = 1 AND TYP_ID = 'a'")), 1);
    }
};

QTEST_GUILESS_MAIN(TstDeletionRaces)
#include "tst_deletionraces.moc"
