// Reader import on both engines, in UTF-8, UTF-16 and Windows-1256, with
// any line ends: the lines that cannot be imported are listed with their
// reason and the counts are exact; a stop keeps what was saved; dates are
// read day first whatever the locale; folianctl import-readers says the
// same and fails when the file cannot be read or lines were rejected.

#include "base/cp1256.h"
#include "base/progress.h"
#include "base/session.h"
#include "circulation/circfixture.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/readerimport.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// Eleven lines: four readers, two blank lines, five lines rejected.
const QString kFile = QStringLiteral(
    "R100;Benali;Ahmed;12/03/1990;Rue des Frères Bouadou\n"
    "\n"
    " R101 ; Saïdi ; Rania \n"
    "R100;Doublon;Dans le fichier;01/01/2000\n"
    "EX1;Existant;Déjà là\n"
    "R102;Mauvaise;Date;31/02/1990\n"
    ";Sans;Numéro;01/01/1999\n"
    "R103;بوعلام;سارة;05/07/2001;حي 500 مسكن، البليدة;reste;ignoré\r\n"
    "   \n"
    "R104;%1;Trop long\n"
    "R105;d'Alembert;Jean;1985-11-30\n")
                          .arg(QString(101, u'x'));

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

struct StopAfter : Progress {
    explicit StopAfter(int n) : lines(n) {}
    void step(int done, int, const QString &) override { seen = done; }
    bool stopped() const override { return seen >= lines; }
    int lines;
    int seen = 0;
};

QStringList readerIds(Database &db)
{
    QStringList out;
    SqlRows q = db.query(QStringLiteral("SELECT LEC_ID FROM LECTEUR ORDER BY LEC_ID"));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace

class TstReaderImport : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("resp.pret");
        session().CurrentUserRole = 4;
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("short format") << QStringLiteral("12/03/1990") << QDate(1990, 3, 12);
        QTest::newRow("one digit day and month") << QStringLiteral("1/2/1985") << QDate(1985, 2, 1);
        QTest::newRow("two-digit year, last century") << QStringLiteral("01/02/85") << QDate(1985, 2, 1);
        QTest::newRow("two-digit year, this century") << QStringLiteral("01/02/05") << QDate(2005, 2, 1);
        QTest::newRow("dots") << QStringLiteral("12.03.1990") << QDate(1990, 3, 12);
        QTest::newRow("hyphens") << QStringLiteral("12-03-1990") << QDate(1990, 3, 12);
        QTest::newRow("year first") << QStringLiteral("1990-03-12") << QDate(1990, 3, 12);
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("١٢/٠٣/١٩٩٠") << QDate(1990, 3, 12);
        QTest::newRow("no such day") << QStringLiteral("31/02/1990") << QDate();
        QTest::newRow("month 13") << QStringLiteral("12/13/1990") << QDate();
        QTest::newRow("three-digit year") << QStringLiteral("12/03/990") << QDate();
        QTest::newRow("two parts") << QStringLiteral("12/03") << QDate();
        QTest::newRow("words") << QStringLiteral("12 mars 1990") << QDate();
    }
    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(parseImportDate(text), date);
    }

    // Line feeds, carriage returns with line feeds, or carriage returns
    // alone: three readers each time, the lines numbered alike.
    void lineEnds_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("end");
        for (const QString &engine : engines())
            for (const auto &[name, end] : {std::pair{"LF", "\n"}, std::pair{"CRLF", "\r\n"}, std::pair{"CR", "\r"}})
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(name))) << engine << QString::fromLatin1(end);
    }
    void lineEnds()
    {
        QFETCH(QString, engine);
        QFETCH(QString, end);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        const QString text = QStringList{QStringLiteral("R1;Un;Premier;01/02/1990;Adresse 1"), QString(),
                                         QStringLiteral("R2;Deux;Second"), QStringLiteral(";Sans;Numéro"),
                                         QStringLiteral("R3;Trois;Troisième;03/04/1995")}
                                 .join(end)
            + end;
        ReaderImportOptions o;
        o.categoryId = 1;
        const ReaderImportResult r = importReaders(db, writeFile(dir, QStringLiteral("ends.txt"), text.toUtf8()), o);
        QCOMPARE(r.lines, 5);
        QCOMPARE(r.blank, 1);
        QCOMPARE(r.imported, 3);
        QCOMPARE(r.skippedLines(), QStringList{circ::importSkippedLine(4, circ::importEmptyNumber())});
        QCOMPARE(readerIds(db), (QStringList{QStringLiteral("R1"), QStringLiteral("R2"), QStringLiteral("R3")}));
        QCOMPARE(readerValue(db, QStringLiteral("R1"), "LEC_ADRESSE").toString(), QStringLiteral("Adresse 1"));
    }

    // The encodings a workstation writes text files in: UTF-16 with its
    // byte-order mark, UTF-8 with or without one, else Windows-1256.
    void encodings_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("encoding");
        for (const QString &engine : engines())
            for (const char *encoding : {"UTF-16LE", "UTF-16BE", "UTF-8 BOM", "UTF-8", "Windows-1256"})
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(encoding))) << engine << QString::fromLatin1(encoding);
    }
    void encodings()
    {
        QFETCH(QString, engine);
        QFETCH(QString, encoding);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        const QString text = QStringLiteral("R1;Saïdi;Rania\r\nR2;بوعلام;سارة;05/07/2001\r\n");
        QByteArray bytes;
        if (encoding.startsWith(QLatin1String("UTF-16"))) {
            QStringEncoder encoder(encoding == QLatin1String("UTF-16LE") ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
                                   QStringEncoder::Flag::WriteBom);
            bytes = encoder(text);
        } else if (encoding == QLatin1String("UTF-8 BOM")) {
            bytes = QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
        } else {
            bytes = encoding == QLatin1String("UTF-8") ? text.toUtf8() : encodeCp1256(text, false);
        }
        ReaderImportOptions o;
        o.categoryId = 1;
        const ReaderImportResult r = importReaders(db, writeFile(dir, encoding + QStringLiteral(".txt"), bytes), o);
        QCOMPARE(r.skippedLines(), QStringList());
        QCOMPARE(r.imported, 2);
        QCOMPARE(readerIds(db), (QStringList{QStringLiteral("R1"), QStringLiteral("R2")}));
        QCOMPARE(readerValue(db, QStringLiteral("R1"), "LEC_NOM").toString(), QStringLiteral("Saïdi"));
        QCOMPARE(readerValue(db, QStringLiteral("R2"), "LEC_PRENOM").toString(), QStringLiteral("سارة"));
        QCOMPARE(readerDate(db, QStringLiteral("R2"), "LEC_DATE_NAISSANCE"), QDate(2001, 7, 5));
    }

    // A NUL byte has no place in a reader's line: the line is refused with
    // its number. A UTF-16 file without its mark is all NUL bytes in
    // between: no reader comes of it.
    void nulCharacters_data() { addEngineRows(); }
    void nulCharacters()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        ReaderImportOptions o;
        o.categoryId = 1;
        ReaderImportResult r = importReaders(
            db, writeFile(dir, QStringLiteral("nul.txt"), QByteArrayLiteral("R1;Un;Premier\nR2;De\0ux;Second\n\0\nR3;Trois;T\n")),
            o);
        QCOMPARE(r.skippedLines(), (QStringList{circ::importSkippedLine(2, circ::importNulCharacter()),
                                                circ::importSkippedLine(3, circ::importNulCharacter())}));
        QCOMPARE(readerIds(db), (QStringList{QStringLiteral("R1"), QStringLiteral("R3")}));
        QStringEncoder utf16(QStringEncoder::Utf16LE);
        const QByteArray noMark = utf16(QStringLiteral("R4;Quatre;Q\nR5;Cinq;C\n"));
        r = importReaders(db, writeFile(dir, QStringLiteral("utf16.txt"), noMark), o);
        QCOMPARE(r.imported, 0);
        // Read as single bytes: two lines, and the NUL byte after the last line end.
        QCOMPARE(r.skipped.size(), 3);
        for (const SkippedLine &l : std::as_const(r.skipped))
            QCOMPARE(l.reason, circ::importNulCharacter());
        QCOMPARE(readerIds(db).size(), 2);
    }

    // Dates of birth are read day first whatever the workstation's locale.
    void datesWhateverTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *locale : {"en_US", "en_GB", "fr_FR", "ar_DZ", "C"})
            QTest::newRow(locale) << QString::fromLatin1(locale);
    }
    void datesWhateverTheLocale()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const QDate read = parseImportDate(QStringLiteral("05/06/1990"));
        const QDate yearFirst = parseImportDate(QStringLiteral("1990-06-05"));
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        QCOMPARE(read, QDate(1990, 6, 5));
        QCOMPARE(yearFirst, QDate(1990, 6, 5));
    }

    void import_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("encoding");
        for (const QString &engine : engines())
            for (const char *encoding : {"UTF-8", "Windows-1256"})
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(encoding))) << engine << QString::fromLatin1(encoding);
    }
    void import()
    {
        QFETCH(QString, engine);
        QFETCH(QString, encoding);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 3, QStringLiteral("Etudiant")) && addStructure(db, 2, QStringLiteral("Lettres")));
        ReaderRow existing;
        existing.id = QStringLiteral("EX1");
        existing.cat = 3;
        QVERIFY(addReader(db, existing));
        const QByteArray bytes = encoding == QLatin1String("UTF-8") ? kFile.toUtf8() : encodeCp1256(kFile, false);
        QCOMPARE(decodeText(bytes), kFile);  // the file holds nothing the code page lacks
        const QString path = writeFile(dir, encoding + QStringLiteral(".txt"), bytes);

        ReaderImportOptions o;
        o.categoryId = 3;
        o.structureId = 2;
        o.registrationDate = QDate(2024, 9, 15);
        const ReaderImportResult r = importReaders(db, path, o);
        QVERIFY(r.readable);
        QVERIFY(r.error.isEmpty());
        QVERIFY(!r.stopped);
        QCOMPARE(r.lines, 11);
        QCOMPARE(r.blank, 2);
        QCOMPARE(r.imported, 4);
        QCOMPARE(r.skippedLines(),
                 (QStringList{circ::importSkippedLine(4, circ::importDuplicateInFile(QStringLiteral("R100"), 1)),
                              circ::importSkippedLine(5, circ::importDuplicate(QStringLiteral("EX1"))),
                              QStringLiteral("Ligne 6 : date de naissance illisible \"31/02/1990\""),
                              QStringLiteral("Ligne 7 : numéro de lecteur vide"),
                              QStringLiteral("Ligne 10 : texte trop long pour le champ Nom")}));
        QCOMPARE(r.summary(), QStringLiteral("Importation terminé.\n11 ligne(s) lue(s), 4 lecteur(s) importé(s), "
                                             "5 ligne(s) rejetée(s), 2 ligne(s) vide(s)."));
        QCOMPARE(readerIds(db), (QStringList{QStringLiteral("EX1"), QStringLiteral("R100"), QStringLiteral("R101"),
                                             QStringLiteral("R103"), QStringLiteral("R105")}));

        // What each reader got: the line's fields trimmed, the choices, the defaults.
        QCOMPARE(readerValue(db, QStringLiteral("R100"), "LEC_ADRESSE").toString(), QStringLiteral("Rue des Frères Bouadou"));
        QCOMPARE(readerDate(db, QStringLiteral("R100"), "LEC_DATE_NAISSANCE"), QDate(1990, 3, 12));
        QCOMPARE(readerValue(db, QStringLiteral("R101"), "LEC_NOM").toString(), QStringLiteral("Saïdi"));
        QVERIFY(readerValue(db, QStringLiteral("R101"), "LEC_DATE_NAISSANCE").isNull());
        QVERIFY(readerValue(db, QStringLiteral("R101"), "LEC_ADRESSE").isNull());
        QCOMPARE(readerValue(db, QStringLiteral("R103"), "LEC_NOM").toString(), QStringLiteral("بوعلام"));
        QCOMPARE(readerValue(db, QStringLiteral("R103"), "LEC_PRENOM").toString(), QStringLiteral("سارة"));
        QCOMPARE(readerValue(db, QStringLiteral("R103"), "LEC_ADRESSE").toString(), QStringLiteral("حي 500 مسكن، البليدة"));
        QCOMPARE(readerDate(db, QStringLiteral("R105"), "LEC_DATE_NAISSANCE"), QDate(1985, 11, 30));
        QCOMPARE(readerValue(db, QStringLiteral("R105"), "LEC_NOM").toString(), QStringLiteral("d'Alembert"));
        for (const char *id : {"R100", "R101", "R103", "R105"}) {
            const QString reader = QLatin1String(id);
            QCOMPARE(readerValue(db, reader, "CAT_ID").toInt(), 3);
            QCOMPARE(readerValue(db, reader, "STR_ID").toInt(), 2);
            QCOMPARE(readerDate(db, reader, "LEC_DATE_ADHESION"), QDate(2024, 9, 15));
            QCOMPARE(readerValue(db, reader, "LEC_STATUT").toInt(), 0);
            QCOMPARE(readerValue(db, reader, "LEC_STAT_PRET").toInt(), 0);
            QCOMPARE(readerValue(db, reader, "BIB_ID").toInt(), 0);
            QCOMPARE(readerValue(db, reader, "CREATE_USER").toString(), QStringLiteral("resp.pret"));
            QVERIFY(!readerValue(db, reader, "CREATE_DATE").isNull());
        }
        // The existing reader is as he was.
        QCOMPARE(readerValue(db, QStringLiteral("EX1"), "LEC_NOM").toString(), QStringLiteral("Nom"));
    }

    void stopKeepsWhatWasSaved_data() { addEngineRows(); }
    void stopKeepsWhatWasSaved()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        const QString path = writeFile(dir, QStringLiteral("stop.txt"), kFile.toUtf8());
        ReaderImportOptions o;
        o.categoryId = 1;
        StopAfter stop(3);
        session().setLanguage(QStringLiteral("AR"));
        const ReaderImportResult r = importReaders(db, path, o, &stop);
        QVERIFY(r.stopped);
        QCOMPARE(r.lines, 3);
        QCOMPARE(r.imported, 2);
        QCOMPARE(r.summary(), circ::importStopped() + u'\n' + circ::importCounts(3, 2, 0, 1));
        QVERIFY(r.summary().startsWith(QStringLiteral("تم إيقاف الاستيراد.")));
        QCOMPARE(readerIds(db), (QStringList{QStringLiteral("R100"), QStringLiteral("R101")}));
        // Without a registration date, today's.
        QCOMPARE(readerDate(db, QStringLiteral("R101"), "LEC_DATE_ADHESION"), QDate::currentDate());
        QVERIFY(readerValue(db, QStringLiteral("R101"), "STR_ID").isNull());
    }

    void refusedBeforeStarting_data() { addEngineRows(); }
    void refusedBeforeStarting()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        ReaderImportOptions o;
        o.categoryId = 1;  // no such category
        const QString path = writeFile(dir, QStringLiteral("ok.txt"), QByteArrayLiteral("A1;Nom;Prénom\n"));
        ReaderImportResult r = importReaders(db, path, o);
        QCOMPARE(r.error, QStringLiteral("Choisissez la catégorie des lecteurs importés."));
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        o.structureId = 7;
        r = importReaders(db, path, o);
        QCOMPARE(r.error, QStringLiteral("La structure choisie n'existe pas."));
        r = importReaders(db, dir.filePath(QStringLiteral("missing.txt")), o);
        QVERIFY(!r.readable);
        QVERIFY(r.error.contains(QLatin1String("missing.txt")));
        QVERIFY(readerIds(db).isEmpty());
    }

    void folianctlImport_data() { addEngineRows(); }
    void folianctlImport()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 3, QStringLiteral("Etudiant")) && addStructure(db, 2, QStringLiteral("Lettres")));
        ReaderRow existing;
        existing.id = QStringLiteral("EX1");
        QVERIFY(addReader(db, existing));
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const QString path = writeFile(dir, QStringLiteral("ctl.txt"), encodeCp1256(kFile, false));
        const auto run = [&ini](const QStringList &args, QString *out) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(QStringLiteral(FOLIANCTL_PATH), QStringList{QStringLiteral("--ini"), ini} + args);
            p.waitForFinished(120000);
            *out = QString::fromUtf8(p.readAll());
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        QString out;
        // Lines were rejected: a failure status, with how many.
        QVERIFY(run({QStringLiteral("import-readers"), path, QStringLiteral("--category"), QStringLiteral("3"),
                     QStringLiteral("--structure"), QStringLiteral("2"), QStringLiteral("--date"),
                     QStringLiteral("2024-09-15")},
                    &out)
                != 0);
        QVERIFY2(out.contains(circ::importLinesRejected(5)), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("4 lecteur(s) importé(s), 5 ligne(s) rejetée(s)")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("Ligne 6 : date de naissance illisible \"31/02/1990\"")));
        QVERIFY(out.contains(QStringLiteral("Ligne 10 : texte trop long pour le champ Nom")));
        QCOMPARE(readerValue(db, QStringLiteral("R103"), "LEC_NOM").toString(), QStringLiteral("بوعلام"));
        QCOMPARE(readerDate(db, QStringLiteral("R103"), "LEC_DATE_ADHESION"), QDate(2024, 9, 15));
        // The same file again: every line is now a duplicate.
        QVERIFY(run({QStringLiteral("import-readers"), path, QStringLiteral("--category"), QStringLiteral("3")}, &out) != 0);
        QVERIFY2(out.contains(QStringLiteral("0 lecteur(s) importé(s), 9 ligne(s) rejetée(s)")), qPrintable(out));
        QVERIFY(out.contains(circ::importLinesRejected(9)));
        // A file whose every line is imported: done.
        const QString clean = writeFile(dir, QStringLiteral("clean.txt"), QByteArrayLiteral("N1;Nouveau;Lecteur\n"));
        QCOMPARE(run({QStringLiteral("import-readers"), clean, QStringLiteral("--category"), QStringLiteral("3")}, &out), 0);
        QVERIFY2(out.contains(QStringLiteral("1 lecteur(s) importé(s), 0 ligne(s) rejetée(s)")), qPrintable(out));
        // No file, no category: a failure status and a reason.
        QVERIFY(run({QStringLiteral("import-readers"), dir.filePath(QStringLiteral("none.txt")), QStringLiteral("--category"),
                     QStringLiteral("3")},
                    &out)
                != 0);
        QVERIFY(out.contains(QStringLiteral("none.txt")));
        QVERIFY(run({QStringLiteral("import-readers"), path}, &out) != 0);
        QVERIFY(out.contains(QStringLiteral("--category")));
        QCOMPARE(readerIds(db).size(), 6);
    }
};

QTEST_GUILESS_MAIN(TstReaderImport)
#include "tst_readerimport.moc"
