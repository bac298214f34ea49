// The shared rules against other workstations and screens: a key lost to
// another workstation is taken again with everything derived from it; a
// screen's handlers run beside the rules and go with the screen; lookup
// lists come out in alphabetical order in French and in Arabic.

#include "base/messages.h"
#include "base/session.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "support/session.h"

#include <QCollator>
#include <QTest>

using namespace folian;
using namespace folian::test;

class TstSharedRules : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("catalogueur");
    }
    void cleanup() { setMessageSink(nullptr); }

    // Another workstation inserts with the key we read, between our read and our insert.
    void lostKeyIsTakenAgain_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("theirs");  // their insert; ? is the key
        QTest::addColumn<QString>("column");  // the column that marks our row
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" heading"))) << e << QStringLiteral("QVedette") << QStringLiteral("VED_ID")
                << QStringLiteral("INSERT INTO VEDETTE (VED_ID, VED_ID2, VED_NOM) VALUES (?, ?, 'Theirs')") << QStringLiteral("VED_NOM");
            QTest::newRow(qPrintable(e + QStringLiteral(" record"))) << e << QStringLiteral("QNotice") << QStringLiteral("DOC_ID")
                << QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (?, 'Theirs')") << QStringLiteral("DOC_TITRE_PROPRE");
            QTest::newRow(qPrintable(e + QStringLiteral(" author of a record"))) << e << QStringLiteral("QAuteur") << QStringLiteral("NAU_ID")
                << QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, FON_ID) VALUES (?, 1, 1, 'xxx')") << QStringLiteral("FON_ID");
        }
    }
    void lostKeyIsTakenAgain()
    {
        QFETCH(QString, engine);
        QFETCH(QString, query);
        QFETCH(QString, key);
        QFETCH(QString, theirs);
        QFETCH(QString, column);
        FOLIAN_TEST_DB(tdb, engine);
        Database other;
        QVERIFY(other.open(tdb.params()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (1, 'R')")));
        QVERIFY(data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        Dataset *d = data.query(query);
        const QString table = d->table();
        QVERIFY(d->open(QStringLiteral("SELECT * FROM ") + table));
        QObject station;
        QVariant lost;
        d->keyAllocated.add([&](Dataset &ds) {
            if (lost.isValid())
                return;
            lost = ds.value(key);
            const int binds = int(theirs.count(u'?'));
            QVariantList values(binds, lost);
            QVERIFY2(other.exec(theirs, values), qPrintable(other.lastError().text()));
        }, &station);
        QVERIFY(d->append());
        QVERIFY(d->setValue(column, QStringLiteral("Our")));
        if (query == QLatin1String("QVedette"))
            QVERIFY(d->setValue(QStringLiteral("VED_NOM"), QStringLiteral("Ours")));
        QVERIFY2(d->post(), qPrintable(d->lastError()));
        const int ours = d->value(key).toInt();
        QCOMPARE(ours, lost.toInt() + 1);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt(),
                 query == QLatin1String("QNotice") ? 3 : 2);
        if (query == QLatin1String("QVedette")) {
            // The new heading refers to itself, not to the other station's.
            QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {ours}).toInt(), ours);
            QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {lost}).toInt(), lost.toInt());
            QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT VED_KEYWORDS FROM VEDETTE WHERE VED_ID = ?"), {ours}).toString(),
                     QStringLiteral("/Ours/"));
        }
        QVERIFY(sink.messages.isEmpty());
    }

    // A screen adds its handlers beside the rules; they go with the screen.
    void screenHandlersRunBesideTheRules_data() { addEngineRows(); }
    void screenHandlersRunBesideTheRules()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *v = data.QVedette;
        QVERIFY(v->open(QStringLiteral("SELECT * FROM VEDETTE")));
        QStringList calls;
        auto screen = std::make_unique<QObject>();
        v->beforePost.add([&](Dataset &ds) {
            calls << ds.value(QStringLiteral("VED_KEYWORDS")).toString();  // the rule ran first
            return ds.setValue(QStringLiteral("VED_NOTES"), QStringLiteral("vu"));
        }, screen.get());
        QVERIFY(v->append());
        QVERIFY(v->setValue(QStringLiteral("VED_NOM"), QStringLiteral("Histoire (Maroc) : 1912-1956")));
        QVERIFY(v->post());
        QCOMPARE(calls, QStringList{QStringLiteral("/Histoire//Maroc//1912//1956/")});
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT VED_NOTES FROM VEDETTE")).toString(), QStringLiteral("vu"));
        screen.reset();
        QVERIFY(v->append());
        QVERIFY(v->setValue(QStringLiteral("VED_NOM"), QStringLiteral("Alger")));
        QVERIFY(v->post());
        QCOMPARE(calls.size(), 1);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT VED_KEYWORDS FROM VEDETTE WHERE VED_NOM = 'Alger'")).toString(),
                 QStringLiteral("/Alger/"));
        // A blank status is NULL, and NULL becomes 1.
        QVERIFY(data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE")));
        QVERIFY(data.QNotice->append());
        QVERIFY(data.QNotice->setValue(QStringLiteral("STA_ID"), QString()));
        QVERIFY(data.QNotice->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("T")));
        QVERIFY(data.QNotice->post());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT STA_ID FROM NOTICE")).toInt(), 1);
    }

    // Lookup lists in alphabetical order, not by code point.
    void lookupsSortAlphabetically_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("language");
        for (const QString &e : engines())
            for (const char *l : {"FR", "AR"})
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(l))) << e << QString::fromLatin1(l);
    }
    void lookupsSortAlphabetically()
    {
        QFETCH(QString, engine);
        QFETCH(QString, language);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().setLanguage(language);
        QVERIFY(data.QPays->open(QStringLiteral("SELECT * FROM PAYS")));
        QVERIFY(data.QPays->fetchAll());
        const QString col = QStringLiteral("PAY_LIBELLE") + session().LanguageSuffix;
        QStringList labels;
        for (int r = 0; r < data.QPays->rowCount(); ++r)
            labels << data.QPays->valueAt(r, col).toString();
        QCOMPARE(labels.size(), 249);
        if (language == QLatin1String("FR")) {
            const auto at = [&](const QString &l) { return labels.indexOf(l); };
            QVERIFY(at(QStringLiteral("Danemark")) < at(QStringLiteral("Égypte")));
            QVERIFY(at(QStringLiteral("Égypte")) < at(QStringLiteral("Finlande")));
            QVERIFY(at(QStringLiteral("Îles Cook")) < at(QStringLiteral("Inde")));
            QCOMPARE(labels.last(), QStringLiteral("Zimbabwe"));
        }
        // Every neighbour pair in the order of the language's collator.
        QCollator collator(language == QLatin1String("AR") ? QLocale(QLocale::Arabic) : QLocale(QLocale::French));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        int outOfOrder = 0;
        for (int i = 1; i < labels.size(); ++i)
            if (collator.compare(labels.at(i - 1), labels.at(i)) > 0)
                ++outOfOrder;
        QCOMPARE(outOfOrder, 0);
    }
};

QTEST_GUILESS_MAIN(TstSharedRules)
#include "tst_sharedrules.moc"
