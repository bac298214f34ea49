// folianctl's partner-library and inter-library loan commands on both
// engines: each prints the service's message and exits 0 when done,
// non-zero when refused; libraries are named by their key.

#include "base/session.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/libraries.h"
#include "circulation/interlibraryfixture.h"
#include "support/folianctl.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

class TstInterLibraryCtl : public QObject
{
    Q_OBJECT

private slots:
    void init() { session() = Session(); }

    void commands_data() { addEngineRows(); }
    void commands()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const QString due = today().addDays(10).toString(Qt::ISODate);
        const struct {
            QStringList args;
            bool done;
            QString message;
        } steps[] = {
            {{QStringLiteral("library-add"), QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université A"),
              QStringLiteral("--phone"), QStringLiteral("021 00 00 00")},
             true, QStringLiteral("1")},
            {{QStringLiteral("library-add"), QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université B")}, true,
             QStringLiteral("2")},
            {{QStringLiteral("library-add"), QStringLiteral("Bibliothèque centrale"), QStringLiteral("Université A")}, false,
             circ::libraryExists()},
            {{QStringLiteral("libraries")}, true, QStringLiteral("2\tBibliothèque centrale\tUniversité B")},
            {{QStringLiteral("ill-loan"), QStringLiteral("A"), QStringLiteral("P1"), QStringLiteral("--library"),
              QStringLiteral("2"), QStringLiteral("--title"), QStringLiteral("Titre"), QStringLiteral("--author"),
              QStringLiteral("Auteur"), QStringLiteral("--due"), due},
             true, circ::loanDone(QStringLiteral("P1"))},
            {{QStringLiteral("ill-loan"), QStringLiteral("B"), QStringLiteral("P2"), QStringLiteral("--library"),
              QStringLiteral("2"), QStringLiteral("--title"), QStringLiteral("Titre"), QStringLiteral("--author"),
              QStringLiteral("Auteur"), QStringLiteral("--due"), QStringLiteral("30/02/2031")},
             false, QStringLiteral("30/02/2031")},
            {{QStringLiteral("ill-return"), QStringLiteral("P1"), QStringLiteral("--library"), QStringLiteral("1")}, false,
             circ::interLibraryNotFound()},
            {{QStringLiteral("library-delete"), QStringLiteral("2")}, false, circ::libraryNotDeletable().trimmed()},
            {{QStringLiteral("ill-return"), QStringLiteral("P1"), QStringLiteral("--library"), QStringLiteral("2")}, true,
             circ::returnDone(QStringLiteral("P1"))},
            {{QStringLiteral("correspondent-add"), QStringLiteral("1"), QStringLiteral("R1"), QStringLiteral("Haddad"),
              QStringLiteral("Amina"), QStringLiteral("--password-stdin")},
             true, QString()},
            {{QStringLiteral("correspondent-add"), QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("Autre"),
              QStringLiteral("Nom")},
             false, circ::correspondentNumberTaken()},
            {{QStringLiteral("library-delete"), QStringLiteral("1")}, true, QString()},
            {{QStringLiteral("library-delete"), QStringLiteral("x")}, false, QStringLiteral("BIB_ID")},
        };
        for (const auto &s : steps) {
            const CtlRun r = runFolianctl(ini, s.args, QByteArrayLiteral("secret\n"));
            QVERIFY2((r.code == 0) == s.done, qPrintable(s.args.join(u' ') + QStringLiteral(": ") + r.out));
            QVERIFY2(r.out.contains(s.message), qPrintable(r.out));
            if (s.args.first() == QLatin1String("correspondent-add") && s.done)
                QVERIFY(correspondentPasswordMatches(db, QStringLiteral("R1"), QStringLiteral("secret")));
        }
        // Library 1 went with its correspondent; 2 stays, its returned loan with it.
        QCOMPARE(libraryCount(db), 1);
        QVERIFY(readerValue(db, QStringLiteral("R1"), "LEC_ID").isNull());
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION IN (8, 9)")), 2);
    }

    // A due date typed DD/MM/YYYY or YYYY-MM-DD is the same day whatever
    // the system's locale.
    void dueDateWhateverTheLocale_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        for (const QString &engine : engines())
            for (const char *locale : {"en_US.UTF-8", "fr_FR.UTF-8", "ar_DZ.UTF-8", "C"})
                for (const char *typed : {"05/06/%1", "%1-06-05"})
                    QTest::newRow(qPrintable(engine + u' ' + QLatin1String(locale) + u' ' + QLatin1String(typed)))
                        << engine << QString::fromLatin1(locale) << QString::fromLatin1(typed);
    }
    void dueDateWhateverTheLocale()
    {
        QFETCH(QString, engine);
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(addCommandAdministrator(db));
        const int year = today().year() + 1;
        const CtlRun r = runFolianctl(tdb.writeIni(),
                                      {QStringLiteral("ill-loan"), QStringLiteral("A"), QStringLiteral("P1"),
                                       QStringLiteral("--library"), QStringLiteral("1"), QStringLiteral("--title"),
                                       QStringLiteral("Titre"), QStringLiteral("--author"), QStringLiteral("Auteur"),
                                       QStringLiteral("--due"), typed.arg(year)},
                                      {}, {QStringLiteral("LC_ALL=") + locale, QStringLiteral("LANG=") + locale});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(db.dialect().fromDb(db.scalar(QStringLiteral("SELECT BIB_RETOUR FROM PEB WHERE PEB_EXP_ID = 'P1'")),
                                     ColType::Date)
                     .toDate(),
                 QDate(year, 6, 5));
    }
};

QTEST_GUILESS_MAIN(TstInterLibraryCtl)
#include "tst_interlibraryctl.moc"
