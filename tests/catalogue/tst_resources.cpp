// The archive of electronic resources: the directory of a document type,
// a copy that never overwrites another record's file, a move that deletes
// the source only once the copy is in place (and the post done), a failed
// copy that leaves nothing behind, and what the open button opens.

#include "base/session.h"
#include "catalogue/core/resources.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace folian;
using namespace folian::test;

namespace {

QString write(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(content);
    return path;
}

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstResources : public QObject
{
    Q_OBJECT

private slots:
    void archiveDirectories_data() { addEngineRows(); }
    void archiveDirectories()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("UPDATE TYPE_DOCUMENT SET TYP_REP_ARCHIVAGE = ? WHERE TYP_ID = 'a'"), {QStringLiteral("  /srv/these's  ")}));
        QVERIFY(db.exec(QStringLiteral("UPDATE TYPE_DOCUMENT SET TYP_REP_ARCHIVAGE = '/srv/b/' WHERE TYP_ID = 'b'")));
        QCOMPARE(archiveDirectory(db, QStringLiteral("a"), QStringLiteral("/app/")), QStringLiteral("/srv/these's/"));
        QCOMPARE(archiveDirectory(db, QStringLiteral("b"), QStringLiteral("/app/")), QStringLiteral("/srv/b/"));
        QCOMPARE(archiveDirectory(db, QStringLiteral("c"), QStringLiteral("/app/")), QStringLiteral("/app/"));  // none given
        QCOMPARE(archiveDirectory(db, QVariant(), QStringLiteral("/app")), QStringLiteral("/app/"));
    }

    // Copy and move, and the post that follows them failing or not.
    void keepingTheFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("posted");
        QTest::addColumn<bool>("sourceStays");
        QTest::addColumn<bool>("copyStays");
        QTest::newRow("copy, posted") << int(ArchiveMode::Copy) << true << true << true;
        QTest::newRow("move, posted") << int(ArchiveMode::Move) << true << false << true;
        QTest::newRow("move, post failed") << int(ArchiveMode::Move) << false << true << false;
        QTest::newRow("copy, post failed") << int(ArchiveMode::Copy) << false << true << false;
    }
    void keepingTheFile()
    {
        QFETCH(int, mode);
        QFETCH(bool, posted);
        QTemporaryDir dir;
        const QString archive = dir.filePath(QStringLiteral("archives/theses"));  // created on demand
        const QString source = write(dir.filePath(QStringLiteral("incoming/résumé d'été.pdf")), "PDF-1");
        QVERIFY(!source.isEmpty());
        ResourceArchive a(source, archive, ArchiveMode(mode));
        QVERIFY2(a.prepare(), qPrintable(a.message()));
        QVERIFY(a.copied());
        QCOMPARE(a.link(), QStringLiteral("résumé d'été.pdf"));
        QCOMPARE(read(archive + QStringLiteral("/résumé d'été.pdf")), QByteArray("PDF-1"));
        QVERIFY(QFile::exists(source));  // nothing deleted before the post
        if (posted)
            QVERIFY(a.finish());
        else
            a.undo();
        QTEST(QFile::exists(source), "sourceStays");
        QTEST(QFile::exists(archive + QStringLiteral("/résumé d'été.pdf")), "copyStays");
        if (!posted)
            QCOMPARE(a.link(), source);  // the sheet shows what was typed
    }

    // Two records' files of the same name: the second gets a free name.
    void sameNameNeverOverwrites()
    {
        QTemporaryDir dir;
        const QString archive = dir.filePath(QStringLiteral("arch"));
        const QString first = write(dir.filePath(QStringLiteral("one/sommaire.pdf")), "first");
        const QString second = write(dir.filePath(QStringLiteral("two/sommaire.pdf")), "second");
        const QString third = write(dir.filePath(QStringLiteral("three/sommaire.pdf")), "third");
        QStringList links;
        for (const QString &src : {first, second, third}) {
            ResourceArchive a(src, archive, ArchiveMode::Copy);
            QVERIFY(a.prepare());
            QVERIFY(a.finish());
            links << a.link();
        }
        QCOMPARE(links, (QStringList{QStringLiteral("sommaire.pdf"), QStringLiteral("sommaire (2).pdf"),
                                     QStringLiteral("sommaire (3).pdf")}));
        QCOMPARE(read(archive + QStringLiteral("/sommaire.pdf")), QByteArray("first"));
        QCOMPARE(read(archive + QStringLiteral("/sommaire (2).pdf")), QByteArray("second"));
        QCOMPARE(read(archive + QStringLiteral("/sommaire (3).pdf")), QByteArray("third"));
    }

    // Links that are not files to copy are left as they are.
    void nothingToCopy_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("kept");
        QTest::newRow("address") << QStringLiteral("https://example.org/a.pdf") << QStringLiteral("https://example.org/a.pdf");
        QTest::newRow("www") << QStringLiteral("www.example.org") << QStringLiteral("www.example.org");
        QTest::newRow("bare name, already archived") << QStringLiteral("a.pdf") << QStringLiteral("a.pdf");
        QTest::newRow("missing file") << QStringLiteral("/nowhere/a.pdf") << QStringLiteral("/nowhere/a.pdf");
        QTest::newRow("empty") << QString() << QString();
    }
    void nothingToCopy()
    {
        QFETCH(QString, link);
        QTemporaryDir dir;
        for (ArchiveMode mode : {ArchiveMode::Copy, ArchiveMode::Move}) {
            ResourceArchive a(link, dir.filePath(QStringLiteral("arch")), mode);
            QVERIFY(a.prepare());
            QVERIFY(!a.copied());
            QTEST(a.link(), "kept");
            QVERIFY(a.finish());
        }
        QVERIFY(!QDir(dir.filePath(QStringLiteral("arch"))).exists());
    }

    void fileAlreadyInTheArchive()
    {
        QTemporaryDir dir;
        const QString inArchive = write(dir.filePath(QStringLiteral("arch/x.pdf")), "x");
        ResourceArchive a(inArchive, dir.filePath(QStringLiteral("arch/")), ArchiveMode::Move);
        QVERIFY(a.prepare());
        QVERIFY(!a.copied());
        QCOMPARE(a.link(), QStringLiteral("x.pdf"));
        QVERIFY(a.finish());
        QVERIFY(QFile::exists(inArchive));  // never deleted
    }

    void leaveMode()
    {
        QTemporaryDir dir;
        const QString src = write(dir.filePath(QStringLiteral("in/y.pdf")), "y");
        ResourceArchive a(src, dir.filePath(QStringLiteral("arch")), ArchiveMode::Leave);
        QVERIFY(a.prepare());
        QVERIFY(!a.copied());
        QCOMPARE(a.link(), src);
    }

    // The archive cannot be written: said, and nothing is left behind.
    void copyFailure()
    {
        QTemporaryDir dir;
        const QString src = write(dir.filePath(QStringLiteral("in/z.pdf")), "z");
        // A file where the archive directory should be: no one can create it.
        const QString blocked = write(dir.filePath(QStringLiteral("blocked")), "not a directory");
        for (const QString &archive : QStringList{blocked, blocked + QStringLiteral("/sub")}) {
            ResourceArchive a(src, archive, ArchiveMode::Move);
            QVERIFY(!a.prepare());
            QVERIFY2(a.message().contains(blocked), qPrintable(a.message()));
            QVERIFY(!a.copied());
            QVERIFY(QFile::exists(src));
        }
        QCOMPARE(read(blocked), QByteArray("not a directory"));
        if (::geteuid() == 0)
            return;  // directory permissions do not bind the superuser
        const QString locked = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(locked));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        ResourceArchive b(src, locked, ArchiveMode::Move);
        QVERIFY(!b.prepare());
        QVERIFY(QFile::exists(src));
        QVERIFY(!QFile::exists(locked + QStringLiteral("/z.pdf")));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void openTargets()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("a.pdf")), "a");
        ResourceTarget t = resourceTarget(QStringLiteral("www.example.org/x"), dir.path());
        QVERIFY(t.address);
        QCOMPARE(t.target, QStringLiteral("http://www.example.org/x"));
        t = resourceTarget(QStringLiteral("ftp://example.org/x"), dir.path());
        QVERIFY(t.address);
        QCOMPARE(t.target, QStringLiteral("ftp://example.org/x"));
        t = resourceTarget(QStringLiteral("a.pdf"), dir.path());
        QVERIFY(!t.address);
        QCOMPARE(t.target, dir.filePath(QStringLiteral("a.pdf")));
        QCOMPARE(resourceTarget(QStringLiteral("b.pdf"), dir.path()).target, QString());
        QCOMPARE(resourceTarget(QVariant(), dir.path()).target, QString());
    }
};

QTEST_GUILESS_MAIN(TstResources)
#include "tst_resources.moc"
