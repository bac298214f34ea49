// Values set on a dataset are converted by the type of their column and
// checked against its length, the same way on both engines: a blank value
// is NULL, a number typed as text is a number, and a value that does not
// fit is refused with a message naming the field, never cut.

#include "base/session.h"
#include "data/core/dataset.h"
#include "support/testdb.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

class TstDatasetValues : public QObject
{
    Q_OBJECT
private slots:
    void init() { session().setLanguage(QStringLiteral("FR")); }

    void convertedByColumnType_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("typed");
        QTest::addColumn<QVariant>("stored");  // invalid: refused
        const QVariant refused;
        struct Case {
            const char *name, *column;
            QVariant typed, stored;
        };
        const QList<Case> cases{
            {"blank integer is null", "ACQ_EXEMPLAIRE", QStringLiteral("  "), QVariant(QMetaType::fromType<int>())},
            {"empty integer is null", "ACQ_EXEMPLAIRE", QString(), QVariant(QMetaType::fromType<int>())},
            {"integer typed as text", "ACQ_EXEMPLAIRE", QStringLiteral(" 12 "), 12},
            {"integer from a whole double", "ACQ_EXEMPLAIRE", 3.0, 3},
            {"text in an integer", "ACQ_EXEMPLAIRE", QStringLiteral("douze"), refused},
            {"fraction in an integer", "ACQ_EXEMPLAIRE", 2.5, refused},
            {"integer too large", "ACQ_EXEMPLAIRE", QStringLiteral("99999999999"), refused},
            {"blank text is null", "ACQ_REFERENCE", QStringLiteral(" "), QVariant(QMetaType::fromType<QString>())},
            {"text at its length", "ACQ_REFERENCE", QString(50, u'é'), QString(50, u'é')},
            {"text too long", "ACQ_REFERENCE", QString(51, u'x'), refused},
            {"arabic at its length", "ACQ_REFERENCE", QString(50, u'ب'), QString(50, u'ب')},
            {"apostrophe kept", "ACQ_REFERENCE", QStringLiteral("L'Harmattan"), QStringLiteral("L'Harmattan")},
            {"amount typed with a comma", "ACQ_PRIX", QStringLiteral("12,5"), QStringLiteral("12.50")},
            {"amount not a number", "ACQ_PRIX", QStringLiteral("12 euros"), refused},
            {"date typed the French way", "ACQ_DATE_LIVRAISON", QStringLiteral("31/12/2026"), QDate(2026, 12, 31)},
            {"date typed ISO", "ACQ_DATE_LIVRAISON", QStringLiteral("2026-02-28"), QDate(2026, 2, 28)},
            {"impossible date", "ACQ_DATE_LIVRAISON", QStringLiteral("31/02/2026"), refused},
        };
        for (const QString &e : engines())
            for (const Case &c : cases)
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(c.name)))
                    << e << QString::fromLatin1(c.column) << c.typed << c.stored;
    }
    void convertedByColumnType()
    {
        QFETCH(QString, engine);
        QFETCH(QString, column);
        QFETCH(QVariant, typed);
        QFETCH(QVariant, stored);
        FOLIAN_TEST_DB(tdb, engine);
        Dataset d(tdb.db(), QStringLiteral("QAcquisitionLigne"), QStringLiteral("ACQUISITION_LIGNE"));
        d.setAutoKey(QStringLiteral("ACQ_LIGNE_ID"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM ACQUISITION_LIGNE")));
        QVERIFY(d.append());
        QVERIFY(d.setValue(QStringLiteral("ACQ_ID"), 1));
        if (!stored.isValid()) {
            QVERIFY(!d.setValue(column, typed));
            QVERIFY2(d.refusal().contains(column), qPrintable(d.refusal()));
            QVERIFY(d.value(column).isNull());  // nothing half-set
            return;
        }
        QVERIFY2(d.setValue(column, typed), qPrintable(d.lastError()));
        QVERIFY2(d.post(), qPrintable(d.lastError()));
        const QVariant back = tdb.db().scalar(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ACQUISITION_LIGNE"));
        if (stored.isNull()) {
            QVERIFY(back.isNull());
        } else {
            QVERIFY(d.open());
            QCOMPARE(d.value(column), stored);
        }
    }
};

QTEST_GUILESS_MAIN(TstDatasetValues)
#include "tst_datasetvalues.moc"
