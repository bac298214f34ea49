// The rules of the shared queries, on both engines: keys, keywords,
// normalised numbers, defaults, stamps, the record cascade (whole or not at
// all), the two messages and two workstations allocating keys at once.

#include "base/messages.h"
#include "base/session.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "support/session.h"

#include <QTest>
#include <QThread>

using namespace folian;
using namespace folian::test;

namespace {

int count(Database &db, const QString &sql) { return db.scalar(sql).toInt(); }

} // namespace

class TstSharedData : public QObject
{
    Q_OBJECT
    QObject hookOwner;  // the handlers a test adds beside the rules
    RecordingSink sink;

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("catalogueur");
        session().DefaultDocumentType = QStringLiteral("a");
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    void recordRules_data() { addEngineRows(); }
    void recordRules()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *n = data.QNotice;
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE PARAMETRE SET PAY_ID = 'DZ', AGENCE = 'BU Alger'")));
        QVERIFY(data.QParametre->open(QStringLiteral("SELECT * FROM PARAMETRE")));
        session().setLanguage(QStringLiteral("AR"));
        session().DefaultDocumentType = QStringLiteral("c");
        QVERIFY(n->open(QStringLiteral("SELECT * FROM NOTICE")));
        QVERIFY(n->append());
        QCOMPARE(n->value(QStringLiteral("TYP_ID")).toString(), QStringLiteral("c"));
        QCOMPARE(n->value(QStringLiteral("LAN_ID")).toString(), QStringLiteral("ara"));
        QCOMPARE(n->value(QStringLiteral("IND_ID")).toString(), QStringLiteral("a"));
        QCOMPARE(n->value(QStringLiteral("PAY_ID")).toString(), QStringLiteral("DZ"));
        QCOMPARE(n->value(QStringLiteral("DOC_AGENCE")).toString(), QStringLiteral("BU Alger"));
        QCOMPARE(n->value(QStringLiteral("CREATE_USER")).toString(), QStringLiteral("catalogueur"));
        QVERIFY(!n->value(QStringLiteral("CREATE_DATE")).isNull());
        n->setValue(QStringLiteral("TYP_ID"), QStringLiteral("b"));
        n->setValue(QStringLiteral("STA_ID"), QVariant());
        n->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("L'enfant,"));
        n->setValue(QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("(roman)"));
        n->setValue(QStringLiteral("DOC_ISBN"), QStringLiteral("2-07-036024-8"));
        n->setValue(QStringLiteral("DOC_ISSN"), QStringLiteral("1234 - 5678"));
        QVERIFY2(n->post(), qPrintable(n->lastError()));
        QCOMPARE(n->value(QStringLiteral("DOC_ID")).toInt(), 1);
        QCOMPARE(session().DefaultDocumentType, QStringLiteral("b"));
        SqlRows q = tdb.db().query(QStringLiteral("SELECT DOC_KEYWORDS, DOC_ISBN, DOC_ISSN, STA_ID, DOC_NUM FROM NOTICE"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("/L//enfant//roman/"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("2070360248"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("12345678"));
        QCOMPARE(q.value(3).toInt(), 1);
        QVERIFY(q.value(4).isNull());
        q.finish();  // an unfinished read would pin this connection's snapshot
        // An edit stamps the row and rebuilds the keywords.
        QVERIFY(n->edit());
        QCOMPARE(n->value(QStringLiteral("UPDATE_USER")).toString(), QStringLiteral("catalogueur"));
        n->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Nedjma"));
        QVERIFY(n->post());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT DOC_KEYWORDS FROM NOTICE")).toString(), QStringLiteral("/Nedjma//roman/"));
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT UPDATE_USER FROM NOTICE")).toString(), QStringLiteral("catalogueur"));
    }

    void satelliteDefaults_data() { addEngineRows(); }
    void satelliteDefaults()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (7, 'T')")));
        QVERIFY(data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = ?"), {7}));
        Dataset *a = data.QAuteur;
        QVERIFY(a->open(QStringLiteral("SELECT * FROM NOTICE_AUTEUR WHERE DOC_ID = ?"), {7}));
        QList<int> types;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(a->append());
            types << a->value(QStringLiteral("AUT_TYPE")).toInt();
            a->setValue(QStringLiteral("VED_ID"), 100 + i);
            QVERIFY2(a->post(), qPrintable(a->lastError()));
        }
        QCOMPARE(types, (QList<int>{1, 2, 2}));
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE_AUTEUR WHERE DOC_ID = 7")), 3);
        // Surrogate keys are allocated and never shown to the rules.
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(DISTINCT NAU_ID) FROM NOTICE_AUTEUR")), 3);
        while (!a->isEmpty())
            QVERIFY(a->remove());
        QVERIFY(a->append());
        QCOMPARE(a->value(QStringLiteral("AUT_TYPE")).toInt(), 1);
        a->cancel();

        QVERIFY(data.QExemplaire->open(QStringLiteral("SELECT * FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = 7")));
        QVERIFY(data.QExemplaire->append());
        for (const auto &[col, v] : QList<QPair<QString, int>>{{QStringLiteral("BIB_ID"), 0}, {QStringLiteral("DOC_ID"), 7},
                                                               {QStringLiteral("STA_EXP_ID"), 2}, {QStringLiteral("MOD_ID"), 5},
                                                               {QStringLiteral("EXP_INVENTORIE"), 1}})
            QCOMPARE(data.QExemplaire->value(col).toInt(), v);
        data.QExemplaire->cancel();

        QVERIFY(data.QBulletin->open(QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE DOC_ID = 7")));
        QVERIFY(data.QBulletin->append());
        QCOMPARE(data.QBulletin->value(QStringLiteral("BUL_STATUT")).toInt(), 1);
        QVERIFY(data.QBulletin->post());
        QCOMPARE(data.QBulletin->value(QStringLiteral("BUL_ID")).toInt(), 1);

        QVERIFY(data.QRessource->open(QStringLiteral("SELECT * FROM NOTICE_RESSOURCE")));
        for (const QString &link : {QStringLiteral("C:\\docs\\sommaire.pdf"), QStringLiteral("https://example.org/t.pdf")}) {
            QVERIFY(data.QRessource->append());
            data.QRessource->setValue(QStringLiteral("RES_LIEN"), link);
            QVERIFY(data.QRessource->post());
        }
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT RES_LIEN FROM NOTICE_RESSOURCE WHERE RES_ID = 1")).toString(), QStringLiteral("sommaire.pdf"));
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT RES_LIEN FROM NOTICE_RESSOURCE WHERE RES_ID = 2")).toString(), QStringLiteral("https://example.org/t.pdf"));
    }

    void authorityRules_data() { addEngineRows(); }
    void authorityRules()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *v = data.QVedette;
        QVERIFY(v->open(QStringLiteral("SELECT * FROM VEDETTE")));
        QVERIFY(v->append());
        v->setValue(QStringLiteral("VED_NOM"), QStringLiteral("Histoire (Maroc) : 1912-1956"));
        v->setValue(QStringLiteral("TYP_VED_ID"), 6);
        QVERIFY(v->post());
        SqlRows q = tdb.db().query(QStringLiteral("SELECT VED_ID, VED_ID2, VED_KEYWORDS FROM VEDETTE"));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toInt(), q.value(0).toInt());
        QCOMPARE(q.value(2).toString(), QStringLiteral("/Histoire//Maroc//1912//1956/"));
        q.finish();

        Dataset *e = data.QEditeur;
        QVERIFY(e->open(QStringLiteral("SELECT * FROM EDITEUR")));
        QVERIFY(e->append());
        QCOMPARE(e->value(QStringLiteral("EDT_TYPE")).toInt(), 1);
        e->setValue(QStringLiteral("EDT_NOM"), QStringLiteral("L'Harmattan"));
        e->setValue(QStringLiteral("EDT_NOM_AR"), QStringLiteral("دار الحرمattan"));
        QVERIFY(e->post());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT EDT_KEYWORDS FROM EDITEUR")).toString(),
                 QStringLiteral("/L//Harmattan//دار//الحرمattan/"));

        Dataset *c = data.QCollection;
        QVERIFY(c->open(QStringLiteral("SELECT * FROM COLLECTION")));
        QVERIFY(c->append());
        c->setValue(QStringLiteral("COL_TITRE_PROPRE"), QStringLiteral("Que sais-je ?"));
        c->setValue(QStringLiteral("COL_ISSN"), QStringLiteral("0768-0066"));
        QVERIFY(c->post());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COL_ISSN FROM COLLECTION")).toString(), QStringLiteral("07680066"));
    }

    void lookupsSortByTheLanguageColumn_data() { addEngineRows(); }
    void lookupsSortByTheLanguageColumn()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        auto firstTwo = [&]() {
            QVERIFY(data.QPays->open(QStringLiteral("SELECT * FROM PAYS WHERE PAY_ID IN ('DZ', 'FR', 'MA')")));
            QCOMPARE(data.QPays->recordCount(), 3);
        };
        session().setLanguage(QStringLiteral("FR"));
        firstTwo();
        QCOMPARE(data.QPays->valueAt(0, data.QPays->fieldIndex(QStringLiteral("PAY_ID"))).toString(), QStringLiteral("DZ"));  // Algérie
        QCOMPARE(data.QPays->valueAt(2, data.QPays->fieldIndex(QStringLiteral("PAY_ID"))).toString(), QStringLiteral("MA"));  // Maroc
        session().setLanguage(QStringLiteral("AR"));
        firstTwo();
        // الجزائر < فرنسا < المغرب? Arabic order: ا (alif) first for both DZ and MA; ف after.
        QCOMPARE(data.QPays->valueAt(2, data.QPays->fieldIndex(QStringLiteral("PAY_ID"))).toString(), QStringLiteral("FR"));
    }

    void typeDocumentInsertRefused_data() { addEngineRows(); }
    void typeDocumentInsertRefused()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(!data.QTypeDocument->append());
        QCOMPARE(data.QTypeDocument->state(), Dataset::State::Browse);
        QVERIFY(sink.messages.isEmpty());
        QVERIFY(data.QTypeDocument->locate(QStringLiteral("TYP_ID"), QStringLiteral("a")));
        QVERIFY(data.QTypeDocument->edit());
        data.QTypeDocument->setValue(QStringLiteral("TYP_LIBELLE"), QStringLiteral("Livre"));
        QVERIFY(data.QTypeDocument->post());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT TYP_LIBELLE FROM TYPE_DOCUMENT WHERE TYP_ID = 'a'")).toString(), QStringLiteral("Livre"));
    }

    void messagesAndSilentMode_data() { addEngineRows(); }
    void messagesAndSilentMode()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *l = data.QLecteur;
        QVERIFY(l->open(QStringLiteral("SELECT * FROM LECTEUR")));
        for (int silent : {0, 1}) {
            session().SilentMode = silent;
            sink.clear();
            QVERIFY(l->append());
            QVERIFY(l->value(QStringLiteral("LEC_DATE_ADHESION")).toDate().isValid());
            QCOMPARE(l->value(QStringLiteral("LEC_STATUT")).toInt(), 0);
            // No reader number: the key is missing, the post fails.
            QVERIFY(!l->post());
            QCOMPARE(l->state(), Dataset::State::Insert);
            QCOMPARE(sink.messages, silent ? QStringList() : QStringList{QStringLiteral("Erreur d'enregistrement.")});
            l->cancel();
        }
        // Messages speak the interface language.
        session().SilentMode = 0;
        session().setLanguage(QStringLiteral("AR"));
        sink.clear();
        QVERIFY(l->append());
        QVERIFY(!l->post());
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first() != QStringLiteral("Erreur d'enregistrement."));
        l->cancel();
    }

    void recordCascade_data() { addEngineRows(); }
    void recordCascade()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        for (int doc : {1, 2}) {
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (?, 'T')"), {doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID) VALUES (?, ?, 1)"), {doc, doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (?, ?, 2)"), {doc, doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) VALUES (?, ?, '320')"), {doc, doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_RESSOURCE (RES_ID, DOC_ID) VALUES (?, ?)"), {doc, doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_BULLETIN (BUL_ID, DOC_ID) VALUES (?, ?)"), {doc, doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID) VALUES (?, ?)"), {QString::number(doc), doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO ACQUISITION_LIGNE (ACQ_LIGNE_ID, DOC_ID) VALUES (?, ?)"), {doc, doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO LIVRAISON_LIGNE (LIV_ID, ACQ_LIGNE_ID) VALUES (1, ?)"), {doc}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, VED_NOM) VALUES (?, 'V')"), {doc}));
        }
        const QStringList satellites{QStringLiteral("NOTICE_AUTEUR"), QStringLiteral("NOTICE_MATIERE"),
                                     QStringLiteral("NOTICE_CLASSIFICATION"), QStringLiteral("NOTICE_RESSOURCE"),
                                     QStringLiteral("NOTICE_BULLETIN"), QStringLiteral("NOTICE_EXEMPLAIRE"),
                                     QStringLiteral("ACQUISITION_LIGNE"), QStringLiteral("NOTICE")};
        // A failure at the last step of the cascade keeps everything.
        const bool pg = db.dialect().isPostgres();
        QVERIFY(db.exec(pg ? QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'refused'; END $$ LANGUAGE plpgsql")
                           : QStringLiteral("SELECT 1")));
        QVERIFY(db.exec(pg ? QStringLiteral("CREATE TRIGGER no_delete BEFORE DELETE ON ACQUISITION_LIGNE FOR EACH ROW EXECUTE FUNCTION refuse()")
                           : QStringLiteral("CREATE TRIGGER no_delete BEFORE DELETE ON ACQUISITION_LIGNE BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        QVERIFY(data.QNotice->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = 1")));
        QVERIFY(!data.QNotice->remove());
        QCOMPARE(sink.messages, QStringList{QStringLiteral("Suppression impossible.")});
        for (const QString &t : satellites)
            QVERIFY2(count(db, QStringLiteral("SELECT COUNT(*) FROM ") + t + QStringLiteral(" WHERE DOC_ID = 1")) == 1, qPrintable(t));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE")), 2);
        // Without the obstacle the whole record goes, and only it.
        QVERIFY(db.exec(pg ? QStringLiteral("DROP TRIGGER no_delete ON ACQUISITION_LIGNE") : QStringLiteral("DROP TRIGGER no_delete")));
        QVERIFY(data.QNotice->remove());
        for (const QString &t : satellites) {
            QVERIFY2(count(db, QStringLiteral("SELECT COUNT(*) FROM ") + t + QStringLiteral(" WHERE DOC_ID = 1")) == 0, qPrintable(t));
            QVERIFY2(count(db, QStringLiteral("SELECT COUNT(*) FROM ") + t + QStringLiteral(" WHERE DOC_ID = 2")) == 1, qPrintable(t));
        }
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE")), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VEDETTE")), 2);  // headings stay
    }

    // Two workstations read the same MAX + 1: the second insert retries and both rows are kept.
    void twoWorkstationsAllocateAtOnce_data() { addEngineRows(); }
    void twoWorkstationsAllocateAtOnce()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database other;
        QVERIFY(other.open(tdb.params()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *mine = data.QSupport;
        Dataset theirs(other, QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        theirs.setAutoKey(QStringLiteral("SUP_ID"));
        QVERIFY(mine->open(QStringLiteral("SELECT * FROM SUPPORT")));
        QVERIFY(theirs.open(QStringLiteral("SELECT * FROM SUPPORT")));
        int raced = 0;
        mine->keyAllocated.add([&](Dataset &d) {
            // Between our read of MAX and our insert, the other workstation posts with the same key.
            if (raced++ > 0)
                return;
            QVERIFY(theirs.append());
            theirs.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("theirs"));
            QVERIFY(theirs.post());
            QCOMPARE(theirs.value(QStringLiteral("SUP_ID")), d.value(QStringLiteral("SUP_ID")));
        }, &hookOwner);
        QVERIFY(mine->append());
        mine->setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("mine"));
        QVERIFY2(mine->post(), qPrintable(mine->lastError()));
        QCOMPARE(raced, 2);
        QCOMPARE(mine->value(QStringLiteral("SUP_ID")).toInt(), 2);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM SUPPORT")), 2);
        QVERIFY(sink.messages.isEmpty());
        // Many interleaved posts from both sides lose nothing.
        mine->keyAllocated.remove(&hookOwner);
        for (int i = 0; i < 20; ++i) {
            Dataset *d = (i % 2) ? mine : &theirs;
            QVERIFY(d->append());
            d->setValue(QStringLiteral("SUP_LIBELLE"), QString::number(i));
            QVERIFY(d->post());
        }
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(DISTINCT SUP_ID) FROM SUPPORT")), 22);
    }

    // The same on real threads, each a workstation with its own connection.
    void workstationsInParallel_data() { addEngineRows(); }
    void workstationsInParallel()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        constexpr int perThread = 60;
        const ConnectionParams params = tdb.params();
        QAtomicInt failures;
        auto work = [&](int who) {
            Database db;
            if (!db.open(params)) {
                failures.fetchAndAddRelaxed(perThread);
                return;
            }
            Dataset d(db, QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
            d.setAutoKey(QStringLiteral("SUP_ID"));
            if (!d.open(QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_ID < 0"))) {
                failures.fetchAndAddRelaxed(perThread);
                return;
            }
            for (int i = 0; i < perThread; ++i) {
                if (!d.append() || !d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("%1-%2").arg(who).arg(i))
                    || !d.post()) {
                    failures.fetchAndAddRelaxed(1);
                    d.cancel();
                }
            }
            d.close();
        };
        QThread *a = QThread::create(work, 1);
        QThread *b = QThread::create(work, 2);
        a->start();
        b->start();
        QVERIFY(a->wait(120000));
        QVERIFY(b->wait(120000));
        delete a;
        delete b;
        QCOMPARE(failures.loadRelaxed(), 0);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM SUPPORT")), 2 * perThread);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT MAX(SUP_ID) FROM SUPPORT")), 2 * perThread);
    }

    void helpersOnTheDatabase_data() { addEngineRows(); }
    void helpersOnTheDatabase()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QCOMPARE(NextId(db, QStringLiteral("SUPPORT"), QStringLiteral("MAX(SUP_ID)")), 1);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO SUPPORT (SUP_ID) VALUES (41)")));
        QCOMPARE(NextId(db, QStringLiteral("SUPPORT"), QStringLiteral("MAX(SUP_ID)")), 42);
        QCOMPARE(NextId(db, QStringLiteral("SUPPORT"), QStringLiteral("MAX(SUP_ID)"), QStringLiteral("WHERE SUP_ID < 0")), 1);
        QCOMPARE(NextId(db, QStringLiteral("NO_SUCH_TABLE"), QStringLiteral("MAX(X)")), 1);
        QCOMPARE(LookupCountText(db, QStringLiteral("TYPE_DOCUMENT"), QStringLiteral("Types"), QStringLiteral("enreg(s)")),
                 QStringLiteral(" Types : 24 enreg(s)"));
        QVERIFY(LookupCountText(db, QStringLiteral("NO_SUCH_TABLE"), QStringLiteral("x"), QStringLiteral("y")).isEmpty());
        const QDateTime now = ServerDate(db).toDateTime();
        QVERIFY(now.isValid());
        QVERIFY(qAbs(now.daysTo(QDateTime::currentDateTime())) <= 1);
        if (!db.dialect().isPostgres())
            QCOMPARE(now.time(), QTime(0, 0));
        db.close();
        QVERIFY(ServerDate(db).isNull());
    }
};

QTEST_GUILESS_MAIN(TstSharedData)
#include "tst_shareddata.moc"
