// The rules of records beyond the shared ones, on both engines: who may
// create, edit and delete, the types a cataloguer may use, the deletion of
// a record in one piece and its refusal while a copy is lent or reserved
// (by the service and by the cascade itself, whoever deletes), the refusals
// on copies on loan, the names beside the keys, the count of copies.

#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/core/records.h"
#include "catalogue/core/satellites.h"
#include "data/core/shareddata.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

int count(Database &db, const QString &sql, const QVariantList &binds = {})
{
    return db.scalar(sql, binds).toInt();
}

// A record with one row in each satellite table and `copies` copies named "<doc>-<n>".
void addRecord(Database &db, int doc, int copies, const QString &creator = QStringLiteral("agent"))
{
    QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, CREATE_USER) VALUES (?, 'a', 'T', ?)"),
                    {doc, creator}));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (?, ?, 1, 1)"), {doc, doc}));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (?, ?, 2)"), {doc, doc}));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_BULLETIN (BUL_ID, DOC_ID, BUL_NUMERO) VALUES (?, ?, '1')"), {doc, doc}));
    for (int i = 1; i <= copies; ++i)
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID) VALUES (?, ?)"),
                        {QStringLiteral("%1-%2").arg(doc).arg(i), doc}));
}

} // namespace

class TstRecords : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("agent");
        session().CurrentUserRole = 3;  // a cataloguing manager, unless a test says otherwise
    }
    void cleanup() { setMessageSink(nullptr); }

    // Rights per action: role, right, the user's document types, the creator.
    void rightsPerAction_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("noticeRight");
        QTest::addColumn<bool>("create");
        QTest::addColumn<bool>("editA");      // a record of type a (listed for the user)
        QTest::addColumn<bool>("editC");      // a record of type c (not listed)
        QTest::addColumn<bool>("deleteOwn");
        QTest::addColumn<bool>("deleteOther");
        QTest::addColumn<QStringList>("types");
        const QStringList all{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        const QStringList ab{QStringLiteral("a"), QStringLiteral("b")};
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" administrator"))) << e << 1 << false << true << true << true << true << true << all;
            QTest::newRow(qPrintable(e + QStringLiteral(" cataloguing manager"))) << e << 3 << false << true << true << true << true << true << all;
            QTest::newRow(qPrintable(e + QStringLiteral(" cataloguing agent with the right"))) << e << 6 << true << true << true << false << true << false << ab;
            QTest::newRow(qPrintable(e + QStringLiteral(" cataloguing agent without it"))) << e << 6 << false << false << false << false << false << false << ab;
            QTest::newRow(qPrintable(e + QStringLiteral(" loan manager with the right"))) << e << 4 << true << true << true << false << true << false << ab;
            QTest::newRow(qPrintable(e + QStringLiteral(" data entry, nothing"))) << e << 0 << false << false << false << false << false << false << ab;
        }
    }
    void rightsPerAction()
    {
        QFETCH(QString, engine);
        QFETCH(int, role);
        QFETCH(bool, noticeRight);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        // TYPE_DOCUMENT holds every type; the user is given a and b.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO CATALOGAGE (UTL_ID, TYP_ID) VALUES (5, 'a'), (5, 'b'), (6, 'c')")));
        Session &s = session();
        s.CurrentUserId = 5;
        s.CurrentUserRole = role;
        s.setRight(Right::CatNotice, noticeRight);
        const CataloguerRights r = CataloguerRights::of(db, s);
        QTEST(r.mayCreate(), "create");
        QTEST(r.mayEdit(QStringLiteral("a")), "editA");
        QTEST(r.mayEdit(QStringLiteral("c")), "editC");
        QTEST(r.mayDelete(QStringLiteral("agent")), "deleteOwn");
        QTEST(r.mayDelete(QStringLiteral("other")), "deleteOther");
        QVERIFY(!r.mayEdit(QVariant()) || r.manager);
        QFETCH(QStringList, types);
        if (r.manager)
            QCOMPARE(r.types.size(), count(db, QStringLiteral("SELECT COUNT(*) FROM TYPE_DOCUMENT")));
        else
            QCOMPARE(r.types, types);
        QCOMPARE(r.mayWrite(true, QStringLiteral("c")), r.mayCreate());
        QCOMPARE(r.mayWrite(false, QStringLiteral("c")), r.mayEdit(QStringLiteral("c")));
    }

    void authorTypesFollowTheRecordLanguage_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("name");
        QTest::newRow("principal, French record") << QVariant(1) << QStringLiteral("fre") << QStringLiteral("Auteur principal");
        QTest::newRow("co-author, Arabic record") << QVariant(2) << QStringLiteral("ara") << QStringLiteral("مؤلف مساعد");
        QTest::newRow("secondary, Arabic upper case") << QVariant(3) << QStringLiteral("ARA") << QStringLiteral("مؤلف ثانوي");
        QTest::newRow("secondary, English record") << QVariant(3) << QStringLiteral("eng") << QStringLiteral("Auteur secondaire");
        QTest::newRow("no language") << QVariant(1) << QString() << QStringLiteral("Auteur principal");
        QTest::newRow("unknown kind") << QVariant(7) << QStringLiteral("fre") << QString();
        QTest::newRow("no kind") << QVariant() << QStringLiteral("ara") << QString();
    }
    void authorTypesFollowTheRecordLanguage()
    {
        QFETCH(QVariant, type);
        QFETCH(QString, language);
        // The interface language does not matter.
        for (const char *ui : {"FR", "AR"}) {
            session().setLanguage(QLatin1String(ui));
            QTEST(authorTypeName(type, language), "name");
        }
    }

    // A lent or reserved copy stops the deletion: the service says why, and
    // the shared cascade refuses too when asked directly.
    void deletionRefusedWhileCopiesAreHeld_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("hold");     // the statement that holds copy 1-2
        QTest::addColumn<QString>("message");  // a piece of the refusal
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" lent"))) << e
                << QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'L1', EXP_DATE_RETOUR = '2026-03-14' WHERE EXP_ID = '1-2'")
                << QStringLiteral("\"1-2\" de cette notice est actuellement emprunté  jusqu'au : '14/03/2026'");
            QTest::newRow(qPrintable(e + QStringLiteral(" reserved"))) << e
                << QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = 'L2' WHERE EXP_ID = '1-2'")
                << QStringLiteral("\"1-2\" de cette notice est réservé");
        }
    }
    void deletionRefusedWhileCopiesAreHeld()
    {
        QFETCH(QString, engine);
        QFETCH(QString, hold);
        QFETCH(QString, message);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        addRecord(db, 1, 3);
        addRecord(db, 2, 1);
        QVERIFY(db.exec(hold));

        const QString refusal = deleteRecord(data, 1);
        QVERIFY2(refusal.contains(message), qPrintable(refusal));
        // Directly through the shared query: refused, nothing deleted.
        QVERIFY(data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        QVERIFY(!data.QNotice->remove());
        QCOMPARE(sink.messages, QStringList{QStringLiteral("Suppression impossible.")});
        for (const char *t : {"NOTICE", "NOTICE_AUTEUR", "NOTICE_MATIERE", "NOTICE_BULLETIN"})
            QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(t) + QStringLiteral(" WHERE DOC_ID = 1")), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = 1")), 3);

        // Free again: the whole record goes, the other stays.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = NULL, LEC_ID2 = NULL, EXP_DATE_RETOUR = NULL")));
        QCOMPARE(recordDeleteRefusal(db, 1), QString());
        QCOMPARE(deleteRecord(data, 1), QString());
        for (const char *t : {"NOTICE", "NOTICE_AUTEUR", "NOTICE_MATIERE", "NOTICE_BULLETIN", "NOTICE_EXEMPLAIRE"}) {
            QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(t) + QStringLiteral(" WHERE DOC_ID = 1")), 0);
            QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(t) + QStringLiteral(" WHERE DOC_ID = 2")), 1);
        }
        QVERIFY(!deleteRecord(data, 1).isEmpty());  // no such record any more
    }

    // Copies on loan are neither changed nor deleted, whoever asks.
    void copiesOnLoan_data() { addEngineRows(); }
    void copiesOnLoan()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        addRecord(db, 1, 3);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'L1', EXP_DATE_RETOUR = '2026-03-14' WHERE EXP_ID = '1-1'")));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = 'L2' WHERE EXP_ID = '1-2'")));
        QCOMPARE(copyEditRefusal(db, QStringLiteral("1-1")),
                 QStringLiteral("Impossible de modifier, l'exemplaire \"1-1\" est actuellement emprunté  jusqu'au : '14/03/2026'"));
        QCOMPARE(copyDeleteRefusal(db, QStringLiteral("1-1")),
                 QStringLiteral("Suppression impossible, l'exemplaire \"1-1\" est actuellement emprunté  jusqu'au : '14/03/2026'"));
        QCOMPARE(copyEditRefusal(db, QStringLiteral("1-2")), QString());  // a reserved copy may be corrected
        QVERIFY(copyDeleteRefusal(db, QStringLiteral("1-2")).contains(QStringLiteral("réservé")));
        QCOMPARE(copyEditRefusal(db, QStringLiteral("1-3")), QString());
        QCOMPARE(copyDeleteRefusal(db, QStringLiteral("1-3")), QString());
        session().setLanguage(QStringLiteral("AR"));
        QCOMPARE(copyEditRefusal(db, QStringLiteral("1-1")),
                 QStringLiteral("لا يمكنك إجراء أي تعديل, النسخة\"1-1\" معارة حتى : '14/03/2026'"));
        session().setLanguage(QStringLiteral("FR"));

        // The shared query refuses to delete the held copies and deletes the free one.
        QVERIFY(openSatellite(data, Satellite::Copies, 1));
        Dataset *x = data.QExemplaire;
        for (const char *id : {"1-1", "1-2"}) {
            QVERIFY(x->locate(QStringLiteral("EXP_ID"), QLatin1String(id)));
            QVERIFY(!x->remove());
        }
        QVERIFY(x->locate(QStringLiteral("EXP_ID"), QStringLiteral("1-3")));
        QVERIFY(x->remove());
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")), 2);
        QCOMPARE(sink.messages.size(), 2);  // "Suppression impossible." for each refusal
    }

    // Names beside the keys, bound: apostrophes and Arabic as they are.
    void namesBesideTheKeys_data() { addEngineRows(); }
    void namesBesideTheKeys()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_NOM_AR) VALUES (1, ?, ?), (2, ?, NULL)"),
                        {QStringLiteral("Éditions d'Aujourd'hui"), QStringLiteral("منشورات اليوم"), QStringLiteral("L'Harmattan")}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO COLLECTION (COL_ID, COL_TITRE_PROPRE) VALUES (3, ?)"), {QStringLiteral("Que sais-je ?")}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO SOUS_COLLECTION (SCL_ID, COL_ID, SCL_TITRE_PROPRE) VALUES (4, 3, ?)"),
                        {QStringLiteral("Série d'histoire")}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, VED_NOM) VALUES (5, ?)"), {QStringLiteral("d'Alembert, Jean")}));
        QCOMPARE(referenceName(db, QStringLiteral("EDT_ID"), 1, false), QStringLiteral("Éditions d'Aujourd'hui"));
        QCOMPARE(referenceName(db, QStringLiteral("EDT_ID2"), 1, true), QStringLiteral("منشورات اليوم"));
        QCOMPARE(referenceName(db, QStringLiteral("EDT_ID"), 2, true), QStringLiteral("L'Harmattan"));  // no Arabic name
        QCOMPARE(referenceName(db, QStringLiteral("COL_ID"), 3, false), QStringLiteral("Que sais-je ?"));
        QCOMPARE(referenceName(db, QStringLiteral("SCL_ID"), 4, true), QStringLiteral("Série d'histoire"));
        QCOMPARE(referenceName(db, QStringLiteral("COL_ID"), QVariant(), false), QString());
        QCOMPARE(referenceName(db, QStringLiteral("COL_ID"), 99, false), QString());
        QCOMPARE(headingName(db, 5), QStringLiteral("d'Alembert, Jean"));
    }

    // A new record given up: whoever hears of it finds the current row on a real row.
    void cancelledNewRecord_data() { addEngineRows(); }
    void cancelledNewRecord()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        addRecord(tdb.db(), 1, 0);
        Dataset *n = data.QNotice;
        QVERIFY(n->open(QStringLiteral("SELECT * FROM NOTICE")));
        QList<int> seen;
        QStringList titles;
        QObject listener;
        connect(n, &Dataset::stateChanged, &listener, [&] {
            seen << (n->currentRow() < n->rowCount() ? n->currentRow() : -99);
            titles << n->value(QStringLiteral("DOC_TITRE_PROPRE")).toString();
        });
        QVERIFY(n->append());
        n->cancel();
        QCOMPARE(seen, (QList<int>{1, 0}));
        QCOMPARE(titles.last(), QStringLiteral("T"));
        QCOMPARE(n->rowCount(), 1);
    }

    // "?": the number of copies, or empty without copies; a refused post
    // cancels the count only.
    void copyCount_data() { addEngineRows(); }
    void copyCount()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        addRecord(db, 1, 3);
        addRecord(db, 2, 0);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_NBR_EXEMPLAIRE = 7")));
        Dataset *n = data.QNotice;
        QVERIFY(n->open(QStringLiteral("SELECT * FROM NOTICE ORDER BY DOC_ID")));
        QVERIFY(storeCopyCount(*n, db));
        QCOMPARE(count(db, QStringLiteral("SELECT DOC_NBR_EXEMPLAIRE FROM NOTICE WHERE DOC_ID = 1")), 3);
        QVERIFY(n->next());
        QVERIFY(storeCopyCount(*n, db));
        QVERIFY(db.scalar(QStringLiteral("SELECT DOC_NBR_EXEMPLAIRE FROM NOTICE WHERE DOC_ID = 2")).isNull());
        QVERIFY(!n->isEditing());
    }
};

QTEST_GUILESS_MAIN(TstRecords)
#include "tst_records.moc"
