// The schema on both engines: created whole with its reference data,
// refused over an existing database, and brought up from an older version.

#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "support/testdb.h"

#include <QSet>
#include <QTest>

#include <algorithm>

using namespace folian;
using namespace folian::test;

class TstSchema : public QObject
{
    Q_OBJECT
private slots:
    void everyTableHasAKey()
    {
        for (const TableDef &t : Schema::tables()) {
            QVERIFY2(!t.primaryKey.isEmpty(), qPrintable(t.name));
            for (const QString &k : t.primaryKey)
                QVERIFY2(t.hasColumn(k), qPrintable(t.name + u'.' + k));
        }
        QCOMPARE(Schema::table(QStringLiteral("REGLEMENT"))->primaryKey,
                 (QStringList{QStringLiteral("CAT_ID"), QStringLiteral("TYP_ID")}));
        QVERIFY(Schema::table(QStringLiteral("NOTICE_AUTEUR"))->surrogateKey);
        QCOMPARE(Schema::table(QStringLiteral("NOTICE_EXEMPLAIRE"))->primaryKey, QStringList{QStringLiteral("EXP_ID")});
    }

    // The reference rows fit their tables: known columns, full rows, unique
    // keys, and an Arabic label wherever a table has one.
    void referenceDataFitsTheSchema()
    {
        for (const SeedRows &seed : Schema::referenceData()) {
            const TableDef *t = Schema::table(seed.table);
            QVERIFY2(t, qPrintable(seed.table));
            for (const QString &c : seed.columns)
                QVERIFY2(t->hasColumn(c), qPrintable(seed.table + u'.' + c));
            QSet<QString> keys;
            for (const QVariantList &row : seed.rows) {
                QCOMPARE(row.size(), seed.columns.size());
                QStringList key;
                for (const QString &k : t->primaryKey) {
                    const int i = int(seed.columns.indexOf(k));
                    if (i >= 0)
                        key << row.at(i).toString();
                }
                if (!key.isEmpty())
                    QVERIFY2(!keys.contains(key.join(u'|')), qPrintable(seed.table + u' ' + key.join(u'|')));
                keys.insert(key.join(u'|'));
                for (int i = 0; i < seed.columns.size(); ++i) {
                    if (!seed.columns.at(i).endsWith(QLatin1String("_AR")) || row.at(i).isNull())
                        continue;
                    const QString v = row.at(i).toString();
                    const bool arabic = std::any_of(v.begin(), v.end(), [](QChar c) { return c.script() == QChar::Script_Arabic; });
                    QVERIFY2(arabic, qPrintable(seed.table + u' ' + seed.columns.at(i) + u' ' + v));
                }
                for (int i = 0; i < seed.columns.size(); ++i) {
                    const ColumnDef *c = t->column(seed.columns.at(i));
                    if (c->type == ColType::Text && c->size > 0 && !row.at(i).isNull())
                        QVERIFY2(row.at(i).toString().size() <= c->size, qPrintable(seed.table + u'.' + c->name));
                }
            }
        }
    }

    void createsSchemaAndReferenceData_data() { addEngineRows(); }
    void createsSchemaAndReferenceData()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        const QStringList tables = db.dialect().tables(db.connection());
        for (const TableDef &t : Schema::tables())
            QVERIFY2(tables.contains(t.name), qPrintable(t.name));
        for (const SeedRows &seed : Schema::referenceData()) {
            const int n = db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + seed.table).toInt();
            QVERIFY2(n >= seed.rows.size(), qPrintable(seed.table));
        }
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM TYPE_DOCUMENT")).toInt(), 24);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM TYPE_VEDETTE")).toInt(), 10);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM PARAMETRE")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT CAT_ID FROM CATEGORIE WHERE CAT_ID = 9")).toInt(), 9);
        // Arabic labels survive the round trip.
        QCOMPARE(db.scalar(QStringLiteral("SELECT PAY_LIBELLE_AR FROM PAYS WHERE PAY_ID = ?"), {QStringLiteral("DZ")}).toString(),
                 QStringLiteral("الجزائر"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT TYP_VED_UNIMARC1 FROM TYPE_VEDETTE WHERE TYP_VED_ID = 6")).toString(),
                 QStringLiteral("606"));
        // A second creation is refused.
        QString why;
        QVERIFY(!createSchema(db, &why));
        QVERIFY(!why.isEmpty());
    }

    void uniqueCopyNumberAndKeys_data() { addEngineRows(); }
    void uniqueCopyNumberAndKeys()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        const QString ins = QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID) VALUES (?, ?)");
        QVERIFY(db.exec(ins, {QStringLiteral("0001"), 1}));
        QVERIFY(!db.exec(ins, {QStringLiteral("0001"), 2}));
        QVERIFY(db.dialect().isDuplicateKey(db.lastError()));
        const QString rule = QStringLiteral("INSERT INTO REGLEMENT (CAT_ID, TYP_ID, REG_PRET) VALUES (?, ?, ?)");
        QVERIFY(db.exec(rule, {9, QStringLiteral("a"), 14}));
        QVERIFY(db.exec(rule, {9, QStringLiteral("b"), 14}));
        QVERIFY(!db.exec(rule, {9, QStringLiteral("a"), 7}));
    }

    void upgradesAnOlderDatabase_data() { addEngineRows(); }
    void upgradesAnOlderDatabase()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        // An older database: a table and a column missing, an index missing, version 0.
        QVERIFY(db.exec(QStringLiteral("DROP TABLE SUGGESTION")));
        QVERIFY(db.exec(QStringLiteral("DROP INDEX IX_NOTICE_EXEMPLAIRE_LEC_ID2")));
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE NOTICE_EXEMPLAIRE DROP COLUMN LEC_ID2")));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM VERSION_BASE")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID) VALUES ('X1', 5)")));
        QCOMPARE(schemaVersion(db), 0);
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QVERIFY(db.dialect().tables(db.connection()).contains(QStringLiteral("SUGGESTION")));
        QVERIFY(db.dialect().columns(db.connection(), QStringLiteral("NOTICE_EXEMPLAIRE")).contains(QStringLiteral("LEC_ID2")));
        // Existing rows are kept; upgrading again changes nothing.
        QCOMPARE(db.scalar(QStringLiteral("SELECT DOC_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'X1'")).toInt(), 5);
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        // A database of a newer version is refused.
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 999")));
        QVERIFY(!upgradeSchema(db, &why));
    }

    // A catalogue of the first version: its records become ours, the numbers
    // are indexed with the type, the links of resources take any length.
    void upgradesAFirstVersionCatalogue_data() { addEngineRows(); }
    void upgradesAFirstVersionCatalogue()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        for (const char *sql : {"DROP INDEX IX_NOTICE_SOURCE_BIB", "ALTER TABLE NOTICE DROP COLUMN BIB_ID", "DROP INDEX IX_NOTICE_ISBN_TYP",
                                "DROP INDEX IX_NOTICE_ISSN_TYP", "CREATE INDEX IX_NOTICE_DOC_ISBN ON NOTICE (DOC_ISBN)",
                                "CREATE INDEX IX_NOTICE_DOC_ISSN ON NOTICE (DOC_ISSN)",
                                "INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (1, 'Ancienne')",
                                "UPDATE VERSION_BASE SET VRS_NUMERO = 1"})
            QVERIFY2(db.exec(QLatin1String(sql)), sql);
        ColumnDef shortLink{QStringLiteral("RES_LIEN"), ColType::Text, 255};
        if (const QString narrow = db.dialect().changeColumnType(QStringLiteral("NOTICE_RESSOURCE"), shortLink); !narrow.isEmpty())
            QVERIFY(db.exec(narrow));
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QCOMPARE(db.scalar(QStringLiteral("SELECT BIB_ID FROM NOTICE WHERE DOC_ID = 1")).toInt(), 0);
        QVERIFY(!db.exec(QStringLiteral("DROP INDEX IX_NOTICE_DOC_ISBN")));
        QVERIFY(!db.exec(QStringLiteral("DROP INDEX IX_NOTICE_DOC_ISSN")));
        QVERIFY(db.exec(QStringLiteral("DROP INDEX IX_NOTICE_ISBN_TYP")));
        QVERIFY(db.exec(QStringLiteral("DROP INDEX IX_NOTICE_ISSN_TYP")));
        const QString link = QStringLiteral("http://example.org/") + QString(400, u'x');
        QVERIFY2(db.exec(QStringLiteral("INSERT INTO NOTICE_RESSOURCE (RES_ID, DOC_ID, RES_LIEN) VALUES (1, 1, ?)"), {link}),
                 qPrintable(db.lastError().text()));
    }

    // A catalogue of version 3: its records gain the column of their source
    // identifier (unknown for those already there), and the numbers whose
    // qualifier was glued to them get it apart, so that they are found.
    void upgradesAVersionThreeCatalogue_data() { addEngineRows(); }
    void upgradesAVersionThreeCatalogue()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        for (const char *sql : {"DROP INDEX IX_NOTICE_SOURCE_BIB", "ALTER TABLE NOTICE DROP COLUMN DOC_IDENTIFIANT_SOURCE",
                                "INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, DOC_ISBN, DOC_ISSN, DOC_NUM) "
                                "VALUES (1, 'Broché', '2070360248(br)', '09552359', '(sans)')",
                                "INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, DOC_ISBN) VALUES (2, 'Relié', '2070360256 (rel)')",
                                "UPDATE VERSION_BASE SET VRS_NUMERO = 3"})
            QVERIFY2(db.exec(QString::fromUtf8(sql)), sql);
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QVERIFY(db.dialect().columns(db.connection(), QStringLiteral("NOTICE")).contains(QStringLiteral("DOC_IDENTIFIANT_SOURCE")));
        SqlRows q = db.query(QStringLiteral("SELECT DOC_ISBN, DOC_ISSN, DOC_NUM, DOC_IDENTIFIANT_SOURCE FROM NOTICE ORDER BY DOC_ID"));
        QStringList rows;
        while (q.next())
            rows << QStringLiteral("%1|%2|%3|%4").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                                     q.value(3).isNull() ? QStringLiteral("null") : q.value(3).toString());
        QCOMPARE(rows, QStringList({QStringLiteral("2070360248 (br)|09552359|(sans)|null"),
                                    QStringLiteral("2070360256 (rel)|||null")}));
        // The identifier is looked up with the library, by its index.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_IDENTIFIANT_SOURCE = 'FRBNF1', BIB_ID = 0 WHERE DOC_ID = 1")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT DOC_ID FROM NOTICE WHERE DOC_IDENTIFIANT_SOURCE = ? AND BIB_ID = 0"),
                           {QStringLiteral("FRBNF1")}).toInt(),
                 1);
        QVERIFY(!db.exec(QStringLiteral("CREATE INDEX IX_NOTICE_SOURCE_BIB ON NOTICE (DOC_IDENTIFIANT_SOURCE)")));
    }
};

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
