// Partner libraries and their correspondents on both engines: the pair
// (name, supervising body) unique, libraries named by key, deletion refused
// while anything refers to a library or a correspondent and otherwise done
// with the correspondents in one transaction, passwords stored hashed.

#include "admin/core/passwords.h"
#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/libraries.h"
#include "circulation/interlibraryfixture.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

LibrarySheet sheet(const QString &name, const QString &body, int id = 0)
{
    LibrarySheet s;
    s.id = id;
    s.nom = name;
    s.tutelle = body;
    return s;
}

CorrespondentSheet correspondent(const QString &id, const QString &password = QStringLiteral("s3cret"))
{
    CorrespondentSheet s;
    s.id = id;
    s.nom = QStringLiteral("Haddad");
    s.prenom = QStringLiteral("Amina");
    s.email = QStringLiteral("amina@example.org");
    s.password = password;
    return s;
}

int readersOf(Database &db, int library)
{
    return rows(db, QStringLiteral("SELECT COUNT(*) FROM LECTEUR WHERE BIB_ID = ?"), {library});
}

} // namespace

class TstLibraries : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("admin");
        session().CurrentUserRole = 1;
    }
    void cleanup() { setMessageSink(nullptr); }

    void namesAndSupervisingBodies_data() { addEngineRows(); }
    void namesAndSupervisingBodies()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        const LibrarySave a = saveLibrary(db, sheet(QStringLiteral(" Bibliothèque centrale "), QStringLiteral("Université A")));
        QVERIFY2(a.ok(), qPrintable(a.message));
        const LibrarySave b = saveLibrary(db, sheet(QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université B")));
        QVERIFY2(b.ok(), qPrintable(b.message));
        QVERIFY(a.id > 0 && b.id > a.id);
        // Stored trimmed: the same pair typed with blanks is the same pair.
        QCOMPARE(db.scalar(QStringLiteral("SELECT BIB_NOM FROM BIBLIOTHEQUE WHERE BIB_ID = ?"), {a.id}).toString(),
                 QStringLiteral("Bibliothèque centrale"));
        const LibrarySave again = saveLibrary(db, sheet(QStringLiteral("Bibliothèque centrale"), QStringLiteral(" Université A ")));
        QCOMPARE(again.message, circ::libraryExists());
        QCOMPARE(again.field, LibraryField::Pair);
        // Renaming B into A's pair is refused; B keeping its own pair is not.
        QCOMPARE(saveLibrary(db, sheet(QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université A"), b.id)).message,
                 circ::libraryExists());
        LibrarySheet kept = sheet(QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université B"), b.id);
        kept.phone = QStringLiteral("071 000 000");
        QVERIFY(saveLibrary(db, kept).ok());
        QCOMPARE(loadLibrary(db, b.id).phone, QStringLiteral("071 000 000"));
        QCOMPARE(libraryCount(db), 2);
        // A library that is no more cannot be saved over.
        QCOMPARE(saveLibrary(db, sheet(QStringLiteral("X"), QStringLiteral("Y"), 99)).message, circ::libraryGone());

        // Lists name them by key, the supervising body telling the namesakes apart.
        QVERIFY(saveLibrary(db, sheet(QStringLiteral("Annexe"), QStringLiteral("Ville"))).ok());
        const QVector<LibraryChoice> choices = libraryChoices(db);
        QCOMPARE(choices.size(), 3);
        QCOMPARE(choices.at(0).label, QStringLiteral("Annexe"));
        QCOMPARE(choices.at(1).label, QStringLiteral("Bibliothèque centrale (Université A)"));
        QCOMPARE(choices.at(1).id, a.id);
        QCOMPARE(choices.at(2).label, QStringLiteral("Bibliothèque centrale (Université B)"));
        QCOMPARE(choices.at(2).id, b.id);
    }

    void incompleteLibrary_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("body");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" no name"))) << engine << QStringLiteral("  ") << QStringLiteral("Ville");
            QTest::newRow(qPrintable(engine + QStringLiteral(" no body"))) << engine << QStringLiteral("Annexe") << QString();
        }
    }
    void incompleteLibrary()
    {
        QFETCH(QString, engine);
        QFETCH(QString, name);
        QFETCH(QString, body);
        FOLIAN_TEST_DB(tdb, engine);
        const LibrarySave r = saveLibrary(tdb.db(), sheet(name, body));
        QCOMPARE(r.message, circ::libraryIncomplete());
        QCOMPARE(r.field, LibraryField::Required);
        QCOMPARE(libraryCount(tdb.db()), 0);
    }

    void deletionRefused_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("what");
        for (const QString &engine : engines())
            for (const char *what : {"copy", "open loan", "returned loan", "correspondent's loan",
                                     "correspondent's reservation", "correspondent's returned loan"})
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(what))) << engine << QString::fromLatin1(what);
    }
    void deletionRefused()
    {
        QFETCH(QString, engine);
        QFETCH(QString, what);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(addCorrespondentRow(db, QStringLiteral("R1"), 1) && addCorrespondentRow(db, QStringLiteral("R2"), 1));
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), none(), none(), none(), 4));
        if (what == QLatin1String("copy"))
            QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET BIB_ID = 1")));
        else if (what == QLatin1String("open loan"))
            QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 1, QStringLiteral("A"), day(5)));
        else if (what == QLatin1String("returned loan"))
            QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 1, QStringLiteral("A"), day(-5), 1));
        else if (what == QLatin1String("correspondent's loan"))
            QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'R2', EXP_DATE_RETOUR = ?"), {day(5)}));
        else if (what == QLatin1String("correspondent's reservation"))
            QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = 'R1'")));
        else
            QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 2, QStringLiteral("R1"), day(-5), 1));
        const QString refusal = deleteLibrary(db, 1);
        QVERIFY2(refusal.startsWith(circ::libraryNotDeletable()), qPrintable(refusal));
        QCOMPARE(libraryCount(db), 2);
        QCOMPARE(readersOf(db, 1), 2);
    }

    void deletionTakesCorrespondents_data() { addEngineRows(); }
    void deletionTakesCorrespondents()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(addCorrespondentRow(db, QStringLiteral("R1"), 1) && addCorrespondentRow(db, QStringLiteral("R2"), 1)
                && addCorrespondentRow(db, QStringLiteral("S1"), 2));
        // Library 2 is busy; library 1 is free.
        QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 2, QStringLiteral("A"), day(5)));
        QCOMPARE(deleteLibrary(db, 1), QString());
        QCOMPARE(libraryCount(db), 1);
        QCOMPARE(readersOf(db, 1), 0);
        QCOMPARE(readersOf(db, 2), 1);
        QCOMPARE(readersOf(db, 0), 3);  // our own readers stay
        QCOMPARE(deleteLibrary(db, 1), circ::libraryGone());
        QVERIFY(deleteLibrary(db, 0) == circ::libraryGone());
    }

    void correspondentSaved_data() { addEngineRows(); }
    void correspondentSaved()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        const QDate today = QDate::currentDate();
        CorrespondentSave r = saveCorrespondent(db, 2, correspondent(QStringLiteral(" R1 ")), true, today);
        QVERIFY2(r.ok(), qPrintable(r.message));
        QCOMPARE(readerValue(db, QStringLiteral("R1"), "CAT_ID").toInt(), 9);
        QCOMPARE(readerValue(db, QStringLiteral("R1"), "BIB_ID").toInt(), 2);
        QCOMPARE(readerStatus(db, QStringLiteral("R1")), 0);
        QCOMPARE(readerDate(db, QStringLiteral("R1"), "LEC_DATE_ADHESION"), today);
        QCOMPARE(readerValue(db, QStringLiteral("R1"), "CREATE_USER").toString(), QStringLiteral("admin"));
        const QString stored = readerValue(db, QStringLiteral("R1"), "LEC_PASSWORD").toString();
        QVERIFY(IsPasswordHash(stored));
        QVERIFY(!stored.contains(QStringLiteral("s3cret")));
        QVERIFY(correspondentPasswordMatches(db, QStringLiteral("R1"), QStringLiteral("s3cret")));
        QVERIFY(!correspondentPasswordMatches(db, QStringLiteral("R1"), QStringLiteral("S3cret")));

        // Modified without a password: the stored one stays; with one: it changes.
        CorrespondentSheet edited = loadCorrespondent(db, QStringLiteral("R1"));
        QCOMPARE(edited.email, QStringLiteral("amina@example.org"));
        edited.tel = QStringLiteral("22 333 444");
        QVERIFY(saveCorrespondent(db, 2, edited, false, today).ok());
        QCOMPARE(readerValue(db, QStringLiteral("R1"), "LEC_PASSWORD").toString(), stored);
        QCOMPARE(readerValue(db, QStringLiteral("R1"), "UPDATE_USER").toString(), QStringLiteral("admin"));
        edited.password = QStringLiteral("nouveau");
        edited.keepPassword = false;
        QVERIFY(saveCorrespondent(db, 2, edited, false, today).ok());
        QVERIFY(correspondentPasswordMatches(db, QStringLiteral("R1"), QStringLiteral("nouveau")));

        // Refusals: a number any reader has, a missing name, a library gone.
        r = saveCorrespondent(db, 2, correspondent(QStringLiteral("A")), true, today);
        QCOMPARE(r.message, circ::correspondentNumberTaken());
        QCOMPARE(r.field, CorrespondentField::Number);
        QCOMPARE(readerValue(db, QStringLiteral("A"), "CAT_ID").toInt(), 1);
        CorrespondentSheet nameless = correspondent(QStringLiteral("R2"));
        nameless.nom.clear();
        QCOMPARE(saveCorrespondent(db, 2, nameless, true, today).message, circ::libraryIncomplete());
        QCOMPARE(saveCorrespondent(db, 7, correspondent(QStringLiteral("R3")), true, today).message, circ::libraryGone());
        QVERIFY(readerValue(db, QStringLiteral("R3"), "LEC_ID").isNull());
    }

    void correspondentDeletion_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("deleted");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" free"))) << engine << QStringLiteral("free") << true;
            QTest::newRow(qPrintable(engine + QStringLiteral(" returned loan"))) << engine << QStringLiteral("returned loan") << false;
            QTest::newRow(qPrintable(engine + QStringLiteral(" loan"))) << engine << QStringLiteral("loan") << false;
            QTest::newRow(qPrintable(engine + QStringLiteral(" reservation"))) << engine << QStringLiteral("reservation") << false;
            QTest::newRow(qPrintable(engine + QStringLiteral(" own reader"))) << engine << QStringLiteral("own reader") << false;
        }
    }
    void correspondentDeletion()
    {
        QFETCH(QString, engine);
        QFETCH(QString, what);
        QFETCH(bool, deleted);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(addCorrespondentRow(db, QStringLiteral("R1"), 1));
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), none(), none(), none(), 4));
        QString id = QStringLiteral("R1");
        if (what == QLatin1String("returned loan"))
            QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 2, QStringLiteral("R1"), day(-3), 1));
        else if (what == QLatin1String("loan"))
            QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'R1', EXP_DATE_RETOUR = ?"), {day(5)}));
        else if (what == QLatin1String("reservation"))
            QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = 'R1'")));
        else if (what == QLatin1String("own reader"))
            id = QStringLiteral("A");  // not a correspondent: the reader screens delete him
        const QString result = deleteCorrespondent(db, id);
        QCOMPARE(result.isEmpty(), deleted);
        QCOMPARE(readerValue(db, id, "LEC_ID").isNull(), deleted);
        if (what == QLatin1String("own reader"))
            QCOMPARE(result, circ::correspondentUnknown(id));
        else if (!deleted)
            QVERIFY2(result.startsWith(circ::correspondentNotDeletable()), qPrintable(result));
    }
};

QTEST_GUILESS_MAIN(TstLibraries)
#include "tst_libraries.moc"
