// folianctl's record commands on both engines: a record deleted whole or
// refused with the lent copy named, a parent found by its ISSN typed with a
// hyphen and linked with one of its issues.

#include "data/core/database.h"
#include "data/core/searchcolumns.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

class TstCtlRecords : public QObject
{
    Q_OBJECT
private slots:
    void records_data() { addEngineRows(); }
    void records()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        const QString ini = tdb.writeIni();
        QVERIFY(addCommandAdministrator(db));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_NOM, UTL_PRENOM, UTL_ROLE) "
                                       "VALUES (2, 'script', 'Script', 'Nuit', 3)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, DOC_ISSN, DOC_ANNEE, DOC_KEYWORDS) VALUES "
                                       "(1, ?, '03952037', '1974', ?), (2, 'Article', NULL, NULL, '/Article/')"),
                        {QStringLiteral("Revue d'histoire"), QStringLiteral("/Revue//d//histoire/")}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_BULLETIN (BUL_ID, DOC_ID, BUL_NUMERO, BUL_DATE) VALUES "
                                       "(7, 1, '12', 'printemps 1980')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, LEC_ID, EXP_DATE_RETOUR) VALUES "
                                       "('X1', 1, 'L1', '2026-03-14'), ('X2', 1, NULL, NULL)")));
        QString why;
        QVERIFY2(refreshSearchColumns(db, nullptr, &why), qPrintable(why));

        CtlRun r = runFolianctl(ini, {QStringLiteral("find-parent"), QStringLiteral("--number"), QStringLiteral("0395-2037")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("1\t03952037\tRevue d'histoire\t\t1974")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("  issue 7\t12\tprintemps 1980")));
        QVERIFY(r.out.contains(QStringLiteral("1 record(s)")));
        r = runFolianctl(ini, {QStringLiteral("find-parent"), QStringLiteral("--title"), QStringLiteral("d'histoire")});
        QVERIFY2(r.code == 0 && r.out.contains(QStringLiteral("1 record(s)")), qPrintable(r.out));
        QVERIFY(runFolianctl(ini, {QStringLiteral("find-parent")}).code != 0);

        r = runFolianctl(ini, {QStringLiteral("link-parent"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("--issue"),
                            QStringLiteral("7"), QStringLiteral("--login"), QStringLiteral("script")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(db.scalar(QStringLiteral("SELECT REL_TITRE FROM NOTICE WHERE DOC_ID = 2")).toString(), QStringLiteral("Revue d'histoire"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT REL_VOLUME FROM NOTICE WHERE DOC_ID = 2")).toString(), QStringLiteral("12"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT UPDATE_USER FROM NOTICE WHERE DOC_ID = 2")).toString(), QStringLiteral("script"));
        QVERIFY(runFolianctl(ini, {QStringLiteral("link-parent"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("--issue"),
                                QStringLiteral("99")}).code != 0);

        // A lent copy keeps the record, and says which.
        r = runFolianctl(ini, {QStringLiteral("delete-record"), QStringLiteral("1")});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(QStringLiteral("\"X1\"")), qPrintable(r.out));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")).toInt(), 2);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = NULL")));
        r = runFolianctl(ini, {QStringLiteral("delete-record"), QStringLiteral("1")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("2 copies")));
        for (const char *t : {"NOTICE", "NOTICE_BULLETIN", "NOTICE_EXEMPLAIRE"})
            QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(t) + QStringLiteral(" WHERE DOC_ID = 1")).toInt(), 0);
        QVERIFY(runFolianctl(ini, {QStringLiteral("delete-record"), QStringLiteral("1")}).code != 0);
        QVERIFY(runFolianctl(ini, {QStringLiteral("delete-record"), QStringLiteral("x")}).code != 0);
    }
};

QTEST_GUILESS_MAIN(TstCtlRecords)
#include "tst_ctlrecords.moc"
