// Real UNIMARC files from public sources, the dump of a file and the
// `folianctl dump` command.

#include "catalogue/unimarc/dump.h"
#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"
#include "catalogue/unimarc/tagged.h"
#include "records.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folian::unimarc;
using namespace folian::unimarc::test;

namespace {

QString testDataDir()
{
    const QByteArray env = qgetenv("FOLIAN_UNIMARC_TESTDATA");
    return env.isEmpty() ? QStringLiteral(FOLIAN_UNIMARC_TESTDATA) : QString::fromLocal8Bit(env);
}

struct FileScan {
    int records = 0;
    int rejected = 0;
    int deleted = 0;
    int mismatched = 0;  // declared one set, held another
    QStringList titles;  // 200 $a
    QString text;        // tagged form of every record
};

FileScan scanFile(const QString &path)
{
    FileScan s;
    RecordSplitter splitter(path);
    RawRecord raw;
    while (splitter.next(raw)) {
        const ParseResult p = parseRecord(raw);
        if (!p.ok()) {
            ++s.rejected;
            qWarning("%s", qPrintable(rejectionMessage(raw.ordinal, raw.offset, p.reason())));
            continue;
        }
        ++s.records;
        s.deleted += p.record.isDeleted();
        s.mismatched += p.charsetMismatch();
        s.titles << p.record.value("200", 'a');
        s.text += taggedText(p.record);
    }
    return s;
}

struct Run {
    int code = -1;
    QByteArray out, err;
};
Run folianctl(const QStringList &args, const QString &cwd)
{
    QProcess p;
    p.setWorkingDirectory(cwd);
    p.start(QStringLiteral(FOLIANCTL_PATH), args);
    Run r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// A file of four records with line ends between: a good one, one with a
// damaged directory entry, a malformed one, a deleted one.
QByteArray mixedFile()
{
    QByteArray damaged = bytesOf(sampleRecord("50", QStringLiteral("Abîmé")));
    damaged.replace(31, 5, "90000");  // the first entry points outside
    QByteArray bad = bytesOf(sampleRecord("50", QStringLiteral("Illisible")));
    bad.replace(12, 5, "0x100");  // no base address
    Record deleted = sampleRecord("50", QStringLiteral("Effacé"));
    deleted.leader[5] = 'd';
    return bytesOf(sampleRecord()) + "\r\n" + damaged + "\r\n" + bad + "\r\n" + bytesOf(deleted);
}

} // namespace

class TstUnimarcFiles : public QObject
{
    Q_OBJECT
private slots:
    void realFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("knownTitle");
        QTest::newRow("periouni.mrc") << QStringLiteral("periouni.mrc") << 3064
                                      << QStringLiteral("Combined statement of receipts, outlays, and balances of the United States government");
        QTest::newRow("bncf_data.mrc") << QStringLiteral("bncf_data.mrc") << 5 << QStringLiteral("Lo Stato innovatore");
        QTest::newRow("testunimarc.dat") << QStringLiteral("testunimarc.dat") << 1 << QStringLiteral("L'altra faccia della spirale");
    }
    void realFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, records);
        QFETCH(QString, knownTitle);
        const QString path = QDir(testDataDir()).filePath(file);
        if (!QFile::exists(path))
            QSKIP(qPrintable(QStringLiteral("the real UNIMARC files are not here (%1); set FOLIAN_UNIMARC_TESTDATA").arg(path)));
        const FileScan s = scanFile(path);
        QCOMPARE(s.rejected, 0);
        QCOMPARE(s.records, records);
        QVERIFY(s.titles.contains(knownTitle));
        // No replacement character, no UTF-8 read as Latin-1, no non-sorting marker left.
        QVERIFY(!s.text.contains(QChar(0xFFFD)));
        QVERIFY(!s.text.contains(u"Ã©") && !s.text.contains(u"Ã¨") && !s.text.contains(u"Ã"));
        for (const char16_t marker : {u'\u0088', u'\u0089', u'\u0098', u'\u009C'})
            QVERIFY(!s.text.contains(QChar(marker)));
        // NFC: no decomposed e + acute.
        QVERIFY(!s.text.contains(QStringLiteral("e\u0301")));
    }

    // periouni.mrc declares ISO 646 / ISO 5426 in hundreds of records that hold UTF-8.
    void wrongDeclarations()
    {
        const QString path = QDir(testDataDir()).filePath(QStringLiteral("periouni.mrc"));
        if (!QFile::exists(path))
            QSKIP("the real UNIMARC files are not here; set FOLIAN_UNIMARC_TESTDATA");
        const FileScan s = scanFile(path);
        QVERIFY2(s.mismatched > 0, "the wrongly declared records were not noticed");
        QVERIFY(s.text.contains(u"Revue électronique"));
        QVERIFY(s.text.contains(u"Périodiques"));
        QVERIFY(s.text.contains(u"Accès au texte intégral"));
    }

    void dump()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mixed.mrc"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(mixedFile());
        f.close();
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const DumpCounts c = dumpFile(path, out, err);
        QVERIFY(c.ok());
        QCOMPARE(c.records, 3);
        QCOMPARE(c.rejected, 1);
        QCOMPARE(c.deleted, 1);
        const QString text = QString::fromUtf8(out.data());
        const QStringList blocks = text.split(QStringLiteral("\n\n"));
        QCOMPARE(blocks.size(), 3);
        QVERIFY(blocks.at(0).contains(u"200 1# $aLe petit prince$eroman"));
        // The damaged record without the field of its bad entry.
        QVERIFY(blocks.at(1).contains(u"200 1# $aAbîmé$eroman"));
        QVERIFY(!blocks.at(1).contains(u"\n001 "));
        QVERIFY(blocks.at(2).startsWith(u"LDR 00") && blocks.at(2).mid(9, 1) == u"d");
        QVERIFY(blocks.at(2).contains(u"$aEffacé"));
        const QString errors = QString::fromUtf8(err.data());
        const QByteArray file = mixedFile();
        const qsizetype secondAt = file.indexOf("\r\n") + 2;
        const qsizetype thirdAt = file.indexOf("\r\n", secondAt) + 2;
        QVERIFY2(errors.contains(QStringLiteral("n° 2 (octet %1) : répertoire endommagé").arg(secondAt)), qPrintable(errors));
        QVERIFY(errors.contains(u"points outside the record"));
        QVERIFY2(errors.contains(QStringLiteral("n° 3 (octet %1) rejetée").arg(thirdAt)), qPrintable(errors));
        QVERIFY(errors.contains(u"base address"));

        QBuffer none;
        none.open(QIODevice::WriteOnly);
        const DumpCounts missing = dumpFile(dir.filePath(QStringLiteral("absent.mrc")), none, err);
        QVERIFY(!missing.ok());
        QCOMPARE(missing.records, 0);
    }

    // The command needs no configuration: it runs in a folder without Folian.ini.
    void folianctlDump()
    {
        QTemporaryDir dir;
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Folian.ini"))));
        const QString path = dir.filePath(QStringLiteral("mixed.mrc"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(mixedFile());
        f.close();
        const Run r = folianctl({QStringLiteral("dump"), path}, dir.path());
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains("200 1# $aLe petit prince$eroman\n"));
        QVERIFY(r.out.contains("$aEffac\xc3\xa9"));
        QVERIFY(r.err.contains("points outside the record"));
        QVERIFY(r.err.contains("1 of 4 records rejected"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Folian.ini"))));

        const Run absent = folianctl({QStringLiteral("dump"), dir.filePath(QStringLiteral("absent.mrc"))}, dir.path());
        QVERIFY(absent.code != 0);
        QVERIFY(absent.err.contains("cannot read"));
        QVERIFY(absent.out.isEmpty());
        const Run noFile = folianctl({QStringLiteral("dump")}, dir.path());
        QVERIFY(noFile.code != 0);
    }
};

QTEST_GUILESS_MAIN(TstUnimarcFiles)
#include "tst_unimarcfiles.moc"
