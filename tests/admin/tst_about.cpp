// "À propos": the release, the database's schema version and its engine,
// read from the database on both engines, in both languages.

#include "admin/core/about.h"
#include "base/session.h"
#include "base/version.h"
#include "data/core/dialect.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

class TstAbout : public QObject
{
    Q_OBJECT
private slots:
    void init() { session() = Session(); }

    // What the dialog tells of a database: its own schema version (older than
    // the program's when it was not upgraded), the engine and where it lives.
    void readsTheDatabase_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("older");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" current"))) << engine << false;
            QTest::newRow(qPrintable(engine + QStringLiteral(" older"))) << engine << true;
        }
    }
    void readsTheDatabase()
    {
        QFETCH(QString, engine);
        QFETCH(bool, older);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        const int current = Schema::currentVersion();
        if (older)
            QVERIFY(db.exec(QStringLiteral("UPDATE ") + Schema::versionTable() + QStringLiteral(" SET VRS_NUMERO = ?"),
                            {current - 1}));
        Session s;
        s.DbCatalog = QStringLiteral("folian_test");
        s.DbServer = engine == QLatin1String("POSTGRESQL") ? QStringLiteral("db.biblio:5433") : QString();
        const AboutInfo info = readAboutInfo(db, s);
        QCOMPARE(info.version, QLatin1String(kVersion));
        QCOMPARE(info.schemaVersion, older ? current - 1 : current);
        QCOMPARE(info.programSchema, current);
        QCOMPARE(info.engine, engine == QLatin1String("POSTGRESQL") ? QStringLiteral("PostgreSQL")
                                                                     : QStringLiteral("SQLite"));
        QCOMPARE(info.database, engine == QLatin1String("POSTGRESQL") ? QStringLiteral("folian_test @ db.biblio:5433")
                                                                       : QStringLiteral("folian_test"));

        for (const QString &language : {QStringLiteral("FR"), QStringLiteral("AR")}) {
            session().CurrentLanguage = language;
            session().ArabicMode = language == QLatin1String("AR");
            const QString text = aboutLines(info).join(u'\n');
            QVERIFY2(text.contains(QLatin1String(kVersion)), qPrintable(text));
            QVERIFY2(text.contains(info.engine), qPrintable(text));
            const QString schemaLine =
                (language == QLatin1String("FR") ? QStringLiteral("Version du schéma de la base : ")
                                                 : QStringLiteral("إصدار مخطط القاعدة : "))
                + QString::number(info.schemaVersion);
            QVERIFY2(text.contains(schemaLine), qPrintable(text));
            // An older database says which version the program would bring it to.
            QCOMPARE(text.contains(QStringLiteral("%1)").arg(current)), older);
        }
    }

    // folianctl about tells the same, in the configuration's language, with the captions it would read.
    void commandSaysTheSame_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("language");
        for (const QString &engine : engines())
            for (const QString &language : {QStringLiteral("FR"), QStringLiteral("AR")})
                QTest::newRow(qPrintable(engine + u' ' + language)) << engine << language;
    }
    void commandSaysTheSame()
    {
        QFETCH(QString, engine);
        QFETCH(QString, language);
        FOLIAN_TEST_DB(tdb, engine);
        const CtlRun r = runFolianctl(tdb.writeIni(QStringLiteral("Language=%1\n").arg(language)), {QStringLiteral("about")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        const bool arabic = language == QLatin1String("AR");
        const QString schema = (arabic ? QStringLiteral("إصدار مخطط القاعدة : ") : QStringLiteral("Version du schéma de la base : "))
            + QString::number(Schema::currentVersion());
        QVERIFY2(r.out.contains(schema), qPrintable(r.out));
        QVERIFY2(r.out.contains(engine == QLatin1String("POSTGRESQL") ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite")),
                 qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("Folian.") + language + QChar(0x2069)), qPrintable(r.out));
    }

    void withoutDatabase()
    {
        Database closed;
        const AboutInfo info = readAboutInfo(closed, session());
        QCOMPARE(info.engine, QString());
        session().ArabicMode = false;
        const QStringList lines = aboutLines(info);
        QVERIFY(lines.join(u'\n').contains(QStringLiteral("Aucune base de données ouverte.")));
        QVERIFY(!lines.join(u'\n').contains(QStringLiteral("schéma")));
    }
};

QTEST_GUILESS_MAIN(TstAbout)
#include "tst_about.moc"
