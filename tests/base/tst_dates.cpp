// Days as the operator reads and types them, DD/MM/YYYY in French and in
// Arabic whatever the system's locale: in grids, in the desk's messages
// (kept in one piece inside an Arabic line), in pages; typed dates read
// day first.

#include "base/dates.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/desktexts.h"
#include "circulation/circfixture.h"
#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
#include "support/testdb.h"

#include <QLocale>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

const QDate kDay(2026, 12, 9);
const QString kShown = QStringLiteral("09/12/2026");
const QChar kIsolate(0x2068), kPop(0x2069);

// The locales a workstation may run under.
void addLocaleRows()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    for (const char *locale : {"C", "en_US", "fr_FR", "ar_DZ"})
        for (const char *language : {"FR", "AR"})
            QTest::newRow(qPrintable(QLatin1String(locale) + u' ' + QLatin1String(language)))
                << QString::fromLatin1(locale) << QString::fromLatin1(language);
}

} // namespace

class TstDates : public QObject
{
    Q_OBJECT

private slots:
    void init() { session() = Session(); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void shown_data() { addLocaleRows(); }
    void shown()
    {
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QLocale::setDefault(QLocale(locale));
        session().setLanguage(language);
        QCOMPARE(ShowDate(kDay), kShown);
        QCOMPARE(ShowDate(QDate()), QString());
        QCOMPARE(ShowDateTime(QDateTime(kDay, QTime(14, 5))), kShown + QStringLiteral(" 14:05"));
        QCOMPARE(ShowDateTime(QDateTime(kDay, QTime(0, 0))), kShown);
        QCOMPARE(DateFormat(), QStringLiteral("dd/MM/yyyy"));
        // Inside a message: isolated in Arabic, as it is in French.
        const bool arabic = language == QLatin1String("AR");
        QCOMPARE(IsolatedDate(kDay), arabic ? kIsolate + kShown + kPop : kShown);
        QCOMPARE(IsolatedNumber(42), arabic ? kIsolate + QStringLiteral("42") + kPop : QStringLiteral("42"));
        QCOMPARE(Isolated(QString()), QString());
    }

    void typed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("day first") << QStringLiteral("05/06/2027") << QDate(2027, 6, 5);
        QTest::newRow("one digit") << QStringLiteral("5/6/2027") << QDate(2027, 6, 5);
        QTest::newRow("dashes") << QStringLiteral("05-06-2027") << QDate(2027, 6, 5);
        QTest::newRow("dots, two-digit year") << QStringLiteral("5.6.27") << QDate(2027, 6, 5);
        QTest::newRow("year first") << QStringLiteral(" 2027-06-05 ") << QDate(2027, 6, 5);
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("٠٥/٠٦/٢٠٢٧") << QDate(2027, 6, 5);
        QTest::newRow("month first is no month") << QStringLiteral("06/25/2027") << QDate();
        QTest::newRow("no such day") << QStringLiteral("31/02/2027") << QDate();
        QTest::newRow("three-digit year") << QStringLiteral("05/06/027") << QDate();
        QTest::newRow("year first, two digits") << QStringLiteral("27-06-05") << QDate(2005, 6, 27);
        QTest::newRow("words") << QStringLiteral("5 juin 2027") << QDate();
        QTest::newRow("empty") << QString() << QDate();
    }
    void typed()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        for (const char *locale : {"C", "en_US", "fr_FR", "ar_DZ"}) {
            QLocale::setDefault(QLocale(QLatin1String(locale)));
            QCOMPARE(ReadDate(text), date);
        }
    }

    // A grid shows a date column as DD/MM/YYYY.
    void grids_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("locale");
        for (const QString &engine : engines())
            for (const char *locale : {"C", "en_US"})
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(locale))) << engine << QString::fromLatin1(locale);
    }
    void grids()
    {
        QFETCH(QString, engine);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        ReaderRow r;
        r.id = QStringLiteral("R1");
        r.registered = kDay;
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")) && addReader(db, r));
        Dataset readers(db, QStringLiteral("QTest"), QStringLiteral("LECTEUR"));
        QVERIFY(readers.open(QStringLiteral("SELECT LEC_ID, LEC_DATE_ADHESION FROM LECTEUR")));
        DatasetModel model(&readers);
        QCOMPARE(model.data(model.index(0, 1)).toString(), kShown);
    }

    // The desk's messages show the day the same way, isolated in Arabic.
    void messages_data() { addLocaleRows(); }
    void messages()
    {
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QLocale::setDefault(QLocale(locale));
        session().setLanguage(language);
        const bool arabic = language == QLatin1String("AR");
        const QString day = arabic ? kIsolate + kShown + kPop : kShown;
        for (const QString &message : {circ::readerPenalised(QStringLiteral("R1"), kDay),
                                       circ::returnPenalised(QStringLiteral("R1"), kDay),
                                       circ::copyOnLoanUntil(QStringLiteral("X"), kDay),
                                       circ::statusPenalisedUntil(kDay)})
            QVERIFY2(message.contains(day), qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TstDates)
#include "tst_dates.moc"
