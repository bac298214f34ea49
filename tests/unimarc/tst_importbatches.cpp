// The import's batches, on both engines: records of a file tested and
// written together give the catalogue, the counts and the log that writing
// them one by one gives; a record that repeats one of its own batch is a
// duplicate; a record the server refuses in the middle of a batch is said,
// and the records around it are written whole; a stop keeps every record
// read before it.

#include "base/progress.h"
#include "base/session.h"
#include "catalogue/unimarc/importfile.h"
#include "catalogue/unimarc/reader.h"
#include "records.h"
#include "samecatalogue.h"
#include "support/session.h"
#include "support/testdb.h"
#include "support/workstations.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using namespace folian;
using namespace folian::test;
using namespace folian::unimarc;
using folian::unimarc::test::dataField;
using folian::unimarc::test::recordOf;
using folian::unimarc::test::sameCatalogue;
using folian::unimarc::test::writeRecords;

namespace {

QByteArray utf8(const QString &s) { return s.toUtf8(); }

// A record of a file where titles, numbers, source identifiers, authors
// and editions come back now and then, so that some records repeat others,
// near them or far; its copy is its own.
Record mixed(int i)
{
    QList<Field> f;
    if (i % 3 == 0)
        f << Field::control("001", QByteArray("S") + QByteArray::number(i % 21));
    if (i % 4 == 1) {
        const QByteArray isbn = QByteArray("2-07-0360") + QByteArray::number(10 + i % 13);
        f << dataField("010", "  ", {{'a', (i % 8 == 1 ? isbn : QByteArray(isbn).replace("-", "")).constData()}});
    }
    f << dataField("200", "1 ", {{'a', utf8(QStringLiteral("Titre %1").arg(i % 17)).constData()}});
    if (i % 5 == 0)
        f << dataField("205", "  ", {{'a', i % 10 == 0 ? "2e éd." : "3e éd."}});
    f << dataField("210", "  ", {{'a', "Alger"}, {'c', i % 2 ? "Casbah" : "ENAG"}, {'d', "2001"}});
    f << dataField("606", "  ", {{'a', i % 3 ? "Histoire" : "Géographie"}});
    if (i % 6 != 5)
        f << dataField("700", " 1", {{'a', i % 7 < 4 ? "Dib" : "Feraoun"}, {'b', "Mohammed"}});
    f << dataField("995", "  ", {{'f', utf8(QStringLiteral("C%1").arg(i)).constData()}, {'k', "800 DIB"}});
    return recordOf(f);
}

// The records one by one, each in a transaction of its own, as the import
// wrote them before it wrote them in batches.
ImportCounts oneByOne(Database &db, const QList<Record> &records, QStringList *duplicates)
{
    ImportCounts c;
    RecordImporter importer(db);
    QString why;
    if (!importer.start(&why))
        return c;
    for (const Record &r : records) {
        const RecordOutcome o = importer.importRecord(r, {});
        ++c.read;
        c.imported += o.result();
        if (o.status == RecordOutcome::Status::Duplicate) {
            ++c.duplicates;
            *duplicates << o.title;
        }
        c.failed += o.status == RecordOutcome::Status::Failed ? 1 : 0;
    }
    c.completed = true;
    return c;
}

int count(Database &db, const QString &sql, const QVariantList &binds = {})
{
    bool ok = false;
    const int n = db.scalar(sql, binds, &ok).toInt();
    if (!ok)
        qWarning("%s: %s", qPrintable(sql), qPrintable(db.lastError().text()));
    return n;
}

// Stops the import once it has read `after` records.
class StopAfter : public Progress
{
public:
    explicit StopAfter(int after) : after_(after) {}
    void step(int, int, const QString &) override { ++steps_; }
    bool stopped() const override { return steps_ > after_; }

private:
    int after_;
    int steps_ = 0;  // the first step comes before any record
};

// Two records, the second right after the first in one batch.
struct PairCase {
    const char *name;
    QList<Field> first, second;
    QByteArray leader;
    bool duplicate;
};

const Field kAuthor = dataField("700", " 1", {{'a', "Dib"}, {'b', "Mohammed"}});
const Field kPublisher = dataField("210", "  ", {{'c', "Casbah"}});

QList<Field> titled(const char *title, QList<Field> more = {})
{
    more.prepend(dataField("200", "1 ", {{'a', title}}));
    return more;
}

// The record with its identifier in its source.
QList<Field> sourced(const char *id, QList<Field> fields)
{
    fields.prepend(Field::control("001", QByteArray(id)));
    return fields;
}

const PairCase kPairs[] = {
    {"same source identifier", sourced("A1", titled("Un")), sourced("A1", titled("Deux")), "00000nam  2200000   450 ", true},
    {"same ISBN written otherwise", titled("Un", {dataField("010", "  ", {{'a', "2-07-036024-8"}})}),
     titled("Deux", {dataField("010", "  ", {{'a', "2070360248 (br.)"}})}), "00000nam  2200000   450 ", true},
    {"ISBN x against X", titled("Un", {dataField("010", "  ", {{'a', "2-07-036822-x"}})}),
     titled("Deux", {dataField("010", "  ", {{'a', "207036822X"}})}), "00000nam  2200000   450 ", true},
    {"same ISSN", titled("Revue", {dataField("011", "  ", {{'a', "0955-2359 (print)"}})}),
     titled("Autre", {dataField("011", "  ", {{'a', "09552359"}})}), "00000nas  2200000   450 ", true},
    {"same title and author", titled("Nedjma", {kAuthor}), titled("Nedjma", {kAuthor, kPublisher}),
     "00000nam  2200000   450 ", true},
    {"same title and edition", titled("Nedjma", {dataField("205", "  ", {{'a', "2e éd."}})}),
     titled("Nedjma", {dataField("205", "  ", {{'a', "2e éd."}})}), "00000nam  2200000   450 ", true},
    {"title in other case", titled("Nedjma", {kAuthor}), titled("NEDJMA", {kAuthor}), "00000nam  2200000   450 ", false},
    {"same title alone", titled("Nedjma"), titled("Nedjma"), "00000nam  2200000   450 ", false},
    {"same title, other edition", titled("Nedjma", {dataField("205", "  ", {{'a', "2e éd."}})}),
     titled("Nedjma", {dataField("205", "  ", {{'a', "3e éd."}})}), "00000nam  2200000   450 ", false},
    {"ISBN that only begins the same", titled("Un", {dataField("010", "  ", {{'a', "20703602489"}})}),
     titled("Deux", {dataField("010", "  ", {{'a', "2070360248"}})}), "00000nam  2200000   450 ", false},
};

} // namespace

class TstImportBatches : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("importateur");
        session().CurrentUserRole = 1;
    }
    void cleanup() { setMessageSink(nullptr); }

    // A file of records that repeat one another now and then, written in
    // batches and one by one: the same catalogue, counts and duplicates.
    void batchesWriteWhatOneByOneWrites_data() { addEngineRows(); }
    void batchesWriteWhatOneByOneWrites()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(batched, engine);
        FOLIAN_TEST_DB(single, engine);
        QList<Record> records;
        for (int i = 0; i < 150; ++i)
            records << mixed(i);
        QTemporaryDir dir;
        QList<ImportLogLine> log;
        const ImportCounts b = importFile(batched.db(), writeRecords(dir, records), {}, &log);
        QVERIFY2(b.completed, qPrintable(b.error));
        QStringList duplicates;
        const ImportCounts s = oneByOne(single.db(), records, &duplicates);
        QVERIFY(s.duplicates > 20 && s.imported > 50);  // the file repeats itself enough to say something
        QCOMPARE(b.imported, s.imported);
        QCOMPARE(b.duplicates, s.duplicates);
        QCOMPARE(b.failed, 0);
        QStringList logged;
        for (const ImportLogLine &l : log)
            if (l.kind == ImportLogLine::Kind::Duplicate)
                logged << l.title;
        QCOMPARE(logged, duplicates);
        QString difference;
        QVERIFY2(sameCatalogue(batched.db(), single.db(), &difference), qPrintable(difference));
    }

    // A record right after the one it repeats, both in one batch.
    void duplicateWithinABatch_data() { addEngineCaseRows(kPairs); }
    void duplicateWithinABatch()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const PairCase &c = kPairs[index];
        FOLIAN_TEST_DB(tdb, engine);
        // Records before them name the same author and publisher, so that
        // nothing of the pair is new to the batch but the records themselves.
        QList<Record> records{recordOf(titled("Avant", {kAuthor, kPublisher}), c.leader),
                              recordOf(titled("Avant aussi", {kAuthor, kPublisher}), c.leader),
                              recordOf(c.first, c.leader), recordOf(c.second, c.leader),
                              recordOf(titled("Après", {kAuthor}), c.leader)};
        QTemporaryDir dir;
        QList<ImportLogLine> log;
        const ImportCounts counts = importFile(tdb.db(), writeRecords(dir, records), {}, &log);
        QCOMPARE(counts.duplicates, c.duplicate ? 1 : 0);
        QCOMPARE(counts.imported, c.duplicate ? 4 : 5);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), c.duplicate ? 4 : 5);
        if (c.duplicate) {
            QCOMPARE(log.size(), 1);
            QCOMPARE(log.first().text, QStringLiteral("Existe --> ") + mapRecord(records.at(3), {}).title());
            // Nothing of the duplicate is written: its publisher stays with the records before.
            QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE EDT_ID IS NOT NULL")), 2);
        }
    }

    // The server refuses one record in the middle of a batch: it is said in
    // the log by its title, nothing of it is written, and every other record
    // of the file, before and after it, is written whole.
    void refusedRecordInTheMiddle_data() { addEngineRows(); }
    void refusedRecordInTheMiddle()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        const QStringList refuse = engine == QLatin1String("SQLITE")
            ? QStringList{QStringLiteral("CREATE TRIGGER REFUSE_NOTE BEFORE INSERT ON NOTICE WHEN NEW.DOC_NOTE = 'refusée' "
                                         "BEGIN SELECT RAISE(ABORT, 'note refusée par le serveur'); END")}
            : QStringList{QStringLiteral("CREATE FUNCTION REFUSE_NOTE() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                         "IF NEW.DOC_NOTE = 'refusée' THEN RAISE EXCEPTION 'note refusée par le serveur'; "
                                         "END IF; RETURN NEW; END $$"),
                          QStringLiteral("CREATE TRIGGER REFUSE_NOTE BEFORE INSERT ON NOTICE FOR EACH ROW "
                                         "EXECUTE FUNCTION REFUSE_NOTE()")};
        for (const QString &sql : refuse)
            QVERIFY2(db.exec(sql), qPrintable(db.lastError().text()));
        QList<Record> records;
        for (int i = 0; i < 100; ++i) {
            QList<Field> f = titled(utf8(QStringLiteral("Notice %1").arg(i)).constData(), {kAuthor, kPublisher});
            f << dataField("995", "  ", {{'f', utf8(QStringLiteral("C%1").arg(i)).constData()}});
            if (i == 50)
                f << dataField("300", "  ", {{'a', "refusée"}});
            records << recordOf(f);
        }
        QTemporaryDir dir;
        QList<ImportLogLine> log;
        const ImportCounts c = importFile(db, writeRecords(dir, records), {}, &log);
        QVERIFY(c.completed);
        QCOMPARE(c.imported, 99);
        QCOMPARE(c.failed, 1);
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.first().kind, ImportLogLine::Kind::Error);
        QVERIFY2(log.first().text.startsWith(QStringLiteral(" Erreur --> Notice 50 : ")), qPrintable(log.first().text));
        QVERIFY2(log.first().text.contains(QStringLiteral("note refusée par le serveur")), qPrintable(log.first().text));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = 'Notice 50'")), 0);
        for (const char *table : {"NOTICE", "NOTICE_AUTEUR", "NOTICE_EXEMPLAIRE"})
            QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))), 99);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'C50'")), 0);
        // Every record written holds its own rows.
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE N WHERE EXISTS (SELECT 1 FROM NOTICE_AUTEUR A "
                                          "WHERE A.DOC_ID = N.DOC_ID) AND EXISTS (SELECT 1 FROM NOTICE_EXEMPLAIRE X "
                                          "WHERE X.DOC_ID = N.DOC_ID AND X.EXP_ID = 'C' || SUBSTR(N.DOC_TITRE_PROPRE, 8))")),
                 99);
    }

    // A stop between two records keeps every record read before it, whole,
    // however many of them were still waiting to be written together.
    void stopKeepsWhatWasRead_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("after");
        for (const QString &e : engines())
            for (int after : {1, 31, 32, 45})
                QTest::newRow(qPrintable(QStringLiteral("%1 after %2").arg(e).arg(after))) << e << after;
    }
    void stopKeepsWhatWasRead()
    {
        QFETCH(QString, engine);
        QFETCH(int, after);
        FOLIAN_TEST_DB(tdb, engine);
        QList<Record> records;
        for (int i = 0; i < 80; ++i)
            records << recordOf(titled(utf8(QStringLiteral("Notice %1").arg(i)).constData(),
                                       {kAuthor, dataField("995", "  ", {{'f', utf8(QStringLiteral("C%1").arg(i)).constData()}})}));
        QTemporaryDir dir;
        StopAfter stop(after);
        const ImportCounts c = importFile(tdb.db(), writeRecords(dir, records), {}, nullptr, &stop);
        QVERIFY(!c.completed);
        QCOMPARE(c.read, after);
        QCOMPARE(c.imported, after);
        for (const char *table : {"NOTICE", "NOTICE_AUTEUR", "NOTICE_EXEMPLAIRE"})
            QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))), after);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"),
                       {QStringLiteral("Notice %1").arg(after - 1)}),
                 1);
    }

    // Four workstations import the same file at once: each record is
    // written once, and the other three find it there.
    void sameFileAtOnce_data() { addEngineRows(); }
    void sameFileAtOnce()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        const int n = 60;
        QList<Record> records;
        for (int i = 0; i < n; ++i)
            records << recordOf({Field::control("001", QByteArray("SRC") + QByteArray::number(i)),
                                 dataField("200", "1 ", {{'a', utf8(QStringLiteral("Ouvrage %1").arg(i)).constData()}}),
                                 kAuthor});
        QTemporaryDir dir;
        // Their heading is there already: nothing else makes one wait for another.
        QVERIFY(importFile(tdb.db(), writeRecords(dir, {recordOf(titled("Préalable", {kAuthor}))}, {}, QStringLiteral("a.txt")), {},
                           nullptr)
                    .imported
                == 1);
        const QString path = writeRecords(dir, records);
        std::atomic<int> imported{0}, duplicates{0}, failed{0};
        const int completed = atOnce(tdb.params(), 4, [&](int, Database &db) {
            const ImportCounts c = importFile(db, path, {}, nullptr);
            imported += int(c.imported);
            duplicates += int(c.duplicates);
            failed += int(c.failed);
            return c.completed;
        });
        QCOMPARE(completed, 4);
        QCOMPARE(failed.load(), 0);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), n + 1);
        QCOMPARE(imported.load(), n);
        QCOMPARE(duplicates.load(), 3 * n);
    }
};

QTEST_GUILESS_MAIN(TstImportBatches)
#include "tst_importbatches.moc"
