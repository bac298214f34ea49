// The rules of headings and reference rows, on both engines: accepted forms
// one level deep, repointing in the same transaction, deletion and re-coding
// refused while a row is used, the rights per action, and searches that
// bind apostrophes, wildcards and Arabic.

#include "base/messages.h"
#include "base/rights.h"
#include "catalogue/core/headings.h"
#include "catalogue/core/references.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "data/core/searchcolumns.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// Headings A, B, C, D (VED_ID 1 to 4) of kind 1, each its own accepted form.
void addHeadings(Database &db)
{
    int id = 1;
    for (const char *name : {"A", "B", "C", "D"}) {
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (?, 1, ?, ?)"),
                        {id, QLatin1String(name), id}));
        ++id;
    }
}

int idOf(QChar letter) { return letter.unicode() - u'A' + 1; }

// "A=B B=B C=C D=D": the accepted form of each heading.
QString acceptedForms(Database &db)
{
    QStringList out;
    SqlRows q = db.query(QStringLiteral("SELECT VED_ID, VED_ID2 FROM VEDETTE ORDER BY VED_ID"));
    while (q.next())
        out << QString(QChar(u'A' + q.value(0).toInt() - 1)) + u'=' + QChar(u'A' + q.value(1).toInt() - 1);
    return out.join(u' ');
}

// Opens heading `letter` in QVedette for editing.
bool editHeading(TFrmData &data, QChar letter)
{
    Dataset *d = data.QVedette;
    return d->open(QStringLiteral("SELECT * FROM VEDETTE WHERE VED_ID = ?"), {idOf(letter)}) && d->first()
        && d->edit();
}

int count(Database &db, const QString &sql, const QVariantList &binds = {})
{
    return db.scalar(sql, binds).toInt();
}

void logOn(int role, const QList<Right> &rights)
{
    Session &s = session();
    s.CurrentUserId = 1;
    s.CurrentUserLogin = QStringLiteral("op");
    s.CurrentUserRole = role;
    s.rights = {};
    for (Right r : rights)
        s.setRight(r, true);
}

} // namespace

class TstAuthorities : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("admin");
        session().CurrentUserRole = 1;
    }
    void cleanup() { setMessageSink(nullptr); }

    // Each step "X>Y" chooses Y as the accepted form of X ("X>" clears it).
    void acceptedFormRules_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("refusedStep");  // -1: every step saved
        const struct {
            const char *name;
            const char *steps;
            const char *expected;
            int refused;
        } cases[] = {
            {"chain A>B then B becomes rejected of C", "A>B B>C", "A=C B=C C=C D=D", -1},
            {"choosing a rejected form stores its accepted form", "B>C A>B", "A=C B=C C=C D=D", -1},
            {"cycle: an accepted form chooses its rejected form", "A>B B>A", "A=B B=B C=C D=D", 1},
            {"cycle through a stored accepted form", "A>B C>A B>C", "A=B B=B C=B D=D", 2},
            {"own accepted form", "A>A", "A=A B=B C=C D=D", -1},
            {"cleared accepted form", "A>B A>", "A=A B=B C=C D=D", -1},
            {"two rejected forms follow", "A>C B>C C>D", "A=D B=D C=D D=D", -1},
        };
        for (const QString &engine : engines())
            for (const auto &c : cases)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(c.name)))
                    << engine << QString::fromLatin1(c.steps).split(u' ') << QString::fromLatin1(c.expected)
                    << c.refused;
    }
    void acceptedFormRules()
    {
        QFETCH(QString, engine);
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        QFETCH(int, refusedStep);
        FOLIAN_TEST_DB(tdb, engine);
        addHeadings(tdb.db());
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        for (int i = 0; i < steps.size(); ++i) {
            const QString step = steps.at(i);
            QVERIFY(editHeading(data, step.at(0)));
            const QVariant to = step.size() > 2 ? QVariant(idOf(step.at(2))) : QVariant();
            QVERIFY(data.QVedette->setValue(QStringLiteral("VED_ID2"), to));
            const HeadingSave saved = postHeading(*data.QVedette);
            QCOMPARE(saved.ok(), i != refusedStep);
            if (i == refusedStep) {
                QVERIFY(saved.message.contains(u'«'));
                QVERIFY(data.QVedette->isEditing());  // the operator's choice is still there
                data.QVedette->cancel();
            }
        }
        QCOMPARE(acceptedForms(tdb.db()), expected);
        // Every stored accepted form is itself an accepted form.
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM VEDETTE V JOIN VEDETTE W ON W.VED_ID = V.VED_ID2 "
                                                "WHERE W.VED_ID2 <> W.VED_ID")),
                 0);
        for (int id = 1; id <= 4; ++id)
            QCOMPARE(acceptedForm(tdb.db(), id).toInt(),
                     tdb.db().scalar(QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {id}).toInt());
        QVERIFY(sink.messages.isEmpty());  // the service reports, the shared handlers stay silent
    }

    // A save that fails after the rejected forms were moved takes the move back.
    void repointRolledBackWithTheSave_data() { addEngineRows(); }
    void repointRolledBackWithTheSave()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addHeadings(tdb.db());
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_ID2 = 1 WHERE VED_ID = 2")));  // B rejected form of A
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(editHeading(data, u'A'));
        QVERIFY(data.QVedette->setValue(QStringLiteral("VED_ID2"), 3));
        // Another workstation deletes A meanwhile: its update finds no row.
        QVERIFY(db.exec(QStringLiteral("DELETE FROM VEDETTE WHERE VED_ID = 1")));
        const HeadingSave saved = postHeading(*data.QVedette);
        QVERIFY(!saved.ok());
        QCOMPARE(saved.repointed, 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = 2")).toInt(), 1);
    }

    void newHeadingPointsToItself_data() { addEngineRows(); }
    void newHeadingPointsToItself()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addHeadings(tdb.db());
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE VEDETTE SET VED_ID2 = 1 WHERE VED_ID = 2")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *d = data.QVedette;
        QVERIFY(d->open(QStringLiteral("SELECT * FROM VEDETTE WHERE 1 = 0")));
        // Arabic name and notes, saved and read back as typed.
        const QString name = QStringLiteral("ابن خلدون، عبد الرحمن");
        const QString notes = QStringLiteral("مؤرخ «المقدمة» – d'après l'édition");
        QVERIFY(d->append());
        QVERIFY(d->setValue(QStringLiteral("TYP_VED_ID"), 1));
        QVERIFY(d->setValue(QStringLiteral("VED_NOM"), name));
        QVERIFY(d->setValue(QStringLiteral("VED_NOTES"), notes));
        QVERIFY(postHeading(*d).ok());
        const int id = d->value(QStringLiteral("VED_ID")).toInt();
        QCOMPARE(id, 5);
        QCOMPARE(d->value(QStringLiteral("VED_ID2")).toInt(), 5);

        // A second one choosing the rejected form B gets B's accepted form A.
        QVERIFY(d->append());
        QVERIFY(d->setValue(QStringLiteral("TYP_VED_ID"), 1));
        QVERIFY(d->setValue(QStringLiteral("VED_NOM"), QStringLiteral("E")));
        QVERIFY(d->setValue(QStringLiteral("VED_ID2"), 2));
        QVERIFY(postHeading(*d).ok());
        QCOMPARE(d->value(QStringLiteral("VED_ID2")).toInt(), 1);

        // Without a name nothing is saved.
        QVERIFY(d->append());
        QVERIFY(!postHeading(*d).ok());
        d->cancel();
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM VEDETTE")), 6);

        SqlRows q = tdb.db().query(QStringLiteral("SELECT VED_NOM, VED_NOTES, VED_KEYWORDS FROM VEDETTE WHERE VED_ID = ?"), {id});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), name);
        QCOMPARE(q.value(1).toString(), notes);
        QCOMPARE(q.value(2).toString(), BuildKeywords(name));
    }

    void acceptedFormOfOlderData_data() { addEngineRows(); }
    void acceptedFormOfOlderData()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addHeadings(tdb.db());
        Database &db = tdb.db();
        // A chain A -> B -> C, a loop D -> ... left by older data, a dangling link.
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_ID2 = 2 WHERE VED_ID = 1")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_ID2 = 3 WHERE VED_ID = 2")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (5, 1, 'E', 6)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (6, 1, 'F', 5)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (7, 1, 'G', 99)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM) VALUES (8, 1, 'H')")));
        QCOMPARE(acceptedForm(db, 1).toInt(), 3);
        QCOMPARE(acceptedForm(db, 3).toInt(), 3);
        QVERIFY(acceptedForm(db, 5).isValid());  // a loop ends
        QCOMPARE(acceptedForm(db, 7).toInt(), 7);
        QCOMPARE(acceptedForm(db, 8).toInt(), 8);
        QVERIFY(!acceptedForm(db, 42).isValid());
        QVERIFY(!acceptedForm(db, QVariant()).isValid());
        QVERIFY(!resolveAcceptedForm(db, 4, 42).ok());
    }

    // One row of each reference table, used by another table: not deleted,
    // nor re-coded, with the using table named; free again, it goes.
    void deletionRefusals_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("table");
        QTest::addColumn<QString>("refSql");
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<QString>("useSql");
        QTest::addColumn<QString>("usingTable");
        QTest::addColumn<QVariant>("newCode");  // invalid: the key is not typed
        const struct {
            const char *name;
            RefTable table;
            const char *ref;
            QVariant key;
            const char *use;
            const char *usingTable;
            QVariant newCode;
        } cases[] = {
            {"heading by an author", RefTable::Heading, "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (?, 1, 'X', 900)",
             900, "INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, ?, 1)", "NOTICE_AUTEUR", {}},
            {"heading by a subject", RefTable::Heading, "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (?, 6, 'X', 900)",
             900, "INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (1, 1, ?)", "NOTICE_MATIERE", {}},
            {"heading by a rejected form", RefTable::Heading, "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (?, 1, 'X', 900)",
             900, "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (901, 1, 'Y', ?)", "VEDETTE", {}},
            {"publisher", RefTable::Publisher, "INSERT INTO EDITEUR (EDT_ID, EDT_NOM) VALUES (?, 'L''Harmattan')", 900,
             "UPDATE NOTICE SET EDT_ID2 = ?", "NOTICE", {}},
            {"collection by a record", RefTable::Collection, "INSERT INTO COLLECTION (COL_ID, COL_TITRE_PROPRE) VALUES (?, 'Q')", 900,
             "UPDATE NOTICE SET COL_ID = ?", "NOTICE", {}},
            {"collection by a sub-collection", RefTable::Collection,
             "INSERT INTO COLLECTION (COL_ID, COL_TITRE_PROPRE) VALUES (?, 'Q')", 900,
             "INSERT INTO SOUS_COLLECTION (SCL_ID, COL_ID, SCL_TITRE_PROPRE) VALUES (1, ?, 'S')", "SOUS_COLLECTION", {}},
            {"sub-collection", RefTable::SubCollection, "INSERT INTO SOUS_COLLECTION (SCL_ID, SCL_TITRE_PROPRE) VALUES (?, 'S')",
             900, "UPDATE NOTICE SET SCL_ID = ?", "NOTICE", {}},
            {"classification", RefTable::Classification, "INSERT INTO CLASSIFICATION (CLA_ID, CLA_LIBELLE) VALUES (?, 'Maths')",
             QStringLiteral("510.5"), "INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) VALUES (1, 1, ?)",
             "NOTICE_CLASSIFICATION", QStringLiteral("511")},
            {"support", RefTable::Support, "INSERT INTO SUPPORT (SUP_ID, SUP_LIBELLE) VALUES (?, 'CD')", 900,
             "INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, SUP_ID) VALUES ('E1', 1, ?)", "NOTICE_EXEMPLAIRE", {}},
            {"language", RefTable::Language, "INSERT INTO LANGUE (LAN_ID, LAN_LIBELLE) VALUES (?, 'Zz')",
             QStringLiteral("zzz"), "UPDATE NOTICE SET LAN_ID2 = ?", "NOTICE", QStringLiteral("zzy")},
            {"country by a publisher", RefTable::Country, "INSERT INTO PAYS (PAY_ID, PAY_LIBELLE) VALUES (?, 'Zz')",
             QStringLiteral("ZZ"), "INSERT INTO EDITEUR (EDT_ID, EDT_NOM, PAY_ID) VALUES (1, 'E', ?)", "EDITEUR",
             QStringLiteral("ZY")},
            {"periodicity", RefTable::Periodicity, "INSERT INTO PERIODICITE (PER_ID, PER_LIBELLE) VALUES (?, 'Zz')",
             QStringLiteral("#"), "UPDATE NOTICE SET PER_ID = ?", "NOTICE", QStringLiteral("!")},
            {"author function", RefTable::Function, "INSERT INTO FONCTION (FON_ID, FON_LIBELLE) VALUES (?, 'Zz')",
             QStringLiteral("999"), "INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, FON_ID) VALUES (1, 1, 1, ?)",
             "NOTICE_AUTEUR", QStringLiteral("998")},
            {"diploma", RefTable::Diploma, "INSERT INTO DIPLOME (DIP_ID, DIP_LIBELLE) VALUES (?, 'Zz')", 900,
             "UPDATE NOTICE SET DIP_ID = ?", "NOTICE", {}},
            {"speciality", RefTable::Speciality, "INSERT INTO SPECIALITE (SPE_ID, SPE_LIBELLE) VALUES (?, 'Zz')", 900,
             "UPDATE NOTICE SET SPE_ID = ?", "NOTICE", {}},
            {"location", RefTable::Location, "INSERT INTO LOCALISATION (LOC_ID, LOC_LIBELLE) VALUES (?, 'Salle')",
             QStringLiteral("SALLE-Z"), "INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, LOC_ID) VALUES ('E1', 1, ?)",
             "NOTICE_EXEMPLAIRE", QStringLiteral("SALLE-Y")},
        };
        for (const QString &engine : engines())
            for (const auto &c : cases)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(c.name)))
                    << engine << int(c.table) << QString::fromLatin1(c.ref) << c.key << QString::fromLatin1(c.use)
                    << QString::fromLatin1(c.usingTable) << c.newCode;
    }
    void deletionRefusals()
    {
        QFETCH(QString, engine);
        QFETCH(int, table);
        QFETCH(QString, refSql);
        QFETCH(QVariant, key);
        QFETCH(QString, useSql);
        QFETCH(QString, usingTable);
        QFETCH(QVariant, newCode);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (1, 'R')")));
        QVERIFY(db.exec(refSql, {key}));
        QVERIFY(db.exec(useSql, {key}));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const RefTable t = RefTable(table);
        const RefTableDef &def = refTableDef(t);
        Dataset *d = data.query(QLatin1String(def.query));
        const QString keyColumn = QLatin1String(def.key);
        const QString select = QStringLiteral("SELECT * FROM ") + QLatin1String(def.table) + QStringLiteral(" WHERE ")
            + keyColumn + QStringLiteral(" = ?");
        const QString rows = QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(def.table) + QStringLiteral(" WHERE ")
            + keyColumn + QStringLiteral(" = ?");
        QVERIFY(d->open(select, {key}) && d->first());

        const QString refusal = deleteReference(*d, t);
        QVERIFY2(refusal.contains(usingTable), qPrintable(refusal));
        QVERIFY(refusal.contains(QStringLiteral(": 1")));
        QCOMPARE(count(db, rows, {key}), 1);
        QCOMPARE(d->rowCount(), 1);

        if (newCode.isValid()) {
            QVERIFY(d->edit());
            QVERIFY(d->setValue(keyColumn, newCode));
            const QString recode = postReference(*d, t);
            QVERIFY2(recode.contains(usingTable), qPrintable(recode));
            QVERIFY(d->isEditing());
            QCOMPARE(count(db, rows, {key}), 1);
            d->cancel();
        }
        // Labels may change while the row is used.
        const QString label = def.names.first();
        if (label != keyColumn) {
            QVERIFY(d->edit());
            QVERIFY(d->setValue(label, QStringLiteral("Libellé modifié")));
            QCOMPARE(postReference(*d, t), QString());
            QCOMPARE(db.scalar(QStringLiteral("SELECT ") + label + QStringLiteral(" FROM ") + QLatin1String(def.table)
                                   + QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ?"),
                               {key})
                         .toString(),
                     QStringLiteral("Libellé modifié"));
        }

        // Once nothing uses it, the code changes and the row goes.
        QVERIFY(db.exec(usingTable == QLatin1String("VEDETTE") ? QStringLiteral("DELETE FROM VEDETTE WHERE VED_ID = 901")
                                                               : QStringLiteral("DELETE FROM ") + usingTable));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM NOTICE")));
        QVERIFY(d->open(select, {key}) && d->first());
        QVariant finalKey = key;
        if (newCode.isValid()) {
            QVERIFY(d->edit());
            QVERIFY(d->setValue(keyColumn, newCode));
            QCOMPARE(postReference(*d, t), QString());
            finalKey = newCode;
        }
        QCOMPARE(deleteReference(*d, t), QString());
        QCOMPARE(count(db, rows, {finalKey}), 0);
        QVERIFY(sink.messages.isEmpty());
    }

    void documentTypesAreFixed_data() { addEngineRows(); }
    void documentTypesAreFixed()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *d = data.QTypeDocument;
        QVERIFY(d->open(QStringLiteral("SELECT * FROM TYPE_DOCUMENT WHERE TYP_ID = 'a'")) && d->first());
        const int before = count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM TYPE_DOCUMENT"));
        QVERIFY(!deleteReference(*d, RefTable::DocumentType).isEmpty());
        QVERIFY(d->edit());
        QVERIFY(d->setValue(QStringLiteral("TYP_ID"), QStringLiteral("z")));
        QVERIFY(!postReference(*d, RefTable::DocumentType).isEmpty());
        d->cancel();
        QVERIFY(d->edit());
        QVERIFY(d->setValue(QStringLiteral("TYP_REP_ARCHIVAGE"), QStringLiteral("/srv/archives/monographies")));
        QCOMPARE(postReference(*d, RefTable::DocumentType), QString());
        QVERIFY(!d->append());  // refused by the shared rule
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM TYPE_DOCUMENT")), before);
    }

    // A code table row needs its code, a publisher a name in either language.
    void requiredNames_data() { addEngineRows(); }
    void requiredNames()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *p = data.QEditeur;
        QVERIFY(p->open(noRows(QStringLiteral("EDITEUR")).sql));
        QVERIFY(p->append());
        QVERIFY(postReference(*p, RefTable::Publisher).contains(QStringLiteral("Nom editeur")));
        QVERIFY(p->setValue(QStringLiteral("EDT_NOM_AR"), QStringLiteral("دار الفكر")));
        QCOMPARE(postReference(*p, RefTable::Publisher), QString());
        QCOMPARE(p->value(QStringLiteral("EDT_TYPE")).toInt(), 1);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT EDT_NOM_AR FROM EDITEUR WHERE EDT_ID = ?"),
                                 {p->value(QStringLiteral("EDT_ID"))}).toString(),
                 QStringLiteral("دار الفكر"));
        Dataset *l = data.QLocalisation;
        QVERIFY(l->open(noRows(QStringLiteral("LOCALISATION")).sql));
        QVERIFY(l->append());
        QVERIFY(l->setValue(QStringLiteral("LOC_LIBELLE"), QStringLiteral("Magasin")));
        QVERIFY(postReference(*l, RefTable::Location).contains(QStringLiteral("Code")));
        QVERIFY(l->isEditing());
        // A value longer than its column is refused, naming the field.
        l->setFieldCaption(QStringLiteral("LOC_ID"), QStringLiteral("Code"));
        QVERIFY(!l->setValue(QStringLiteral("LOC_ID"), QString(31, u'x')));
        QVERIFY(l->refusal().contains(QStringLiteral("Code")));
    }

    void rights_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QList<Right>>("rights");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("rows");
        // "Nouveau", "Modifier", "Supprimer", "Choisir", the code tables
        QTest::addColumn<QString>("expected");
        using R = QList<Right>;
        QTest::newRow("administrator, management") << 1 << R{} << 0 << 3 << "AER-T";
        QTest::newRow("cataloguing manager, picker") << 3 << R{} << 1 << 3 << "AERCT";
        QTest::newRow("agent with record creation") << 6 << R{Right::CatNotice} << 1 << 3 << "AERC-";
        QTest::newRow("agent with authorities") << 0 << R{Right::CatAutorite} << 0 << 3 << "AER--";
        QTest::newRow("agent with code tables only") << 6 << R{Right::CatAdmin} << 3 << 3 << "---CT";
        QTest::newRow("loan agent choosing an author") << 7 << R{Right::CirculAcces} << 5 << 3 << "---C-";
        QTest::newRow("acquisitions manager") << 2 << R{} << 6 << 3 << "---C-";
        QTest::newRow("empty list") << 1 << R{} << 1 << 0 << "A---T";
    }
    void rights()
    {
        QFETCH(int, role);
        QFETCH(QList<Right>, rights);
        QFETCH(int, mode);
        QFETCH(int, rows);
        QFETCH(QString, expected);
        logOn(role, rights);
        const ListActions a = authorityListActions(session(), mode, true, rows);
        QString got;
        for (const auto &[on, c] : {std::pair<bool, char16_t>{a.append, u'A'}, {a.edit, u'E'}, {a.remove, u'R'},
                                    {a.select, u'C'}, {mayManageCodeTables(session()), u'T'}})
            got += on ? QChar(c) : QChar(u'-');
        QCOMPARE(got, expected);
        // Nothing is offered while a row is being edited.
        const ListActions editing = authorityListActions(session(), mode, false, rows);
        QVERIFY(!editing.append && !editing.edit && !editing.remove && !editing.select);
    }

    // The searches bind what the operator types.
    void searches_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("list");  // -1: headings in mode 1, -2: headings in mode 0 kind 6, -3: mode 7
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        const struct {
            const char *name;
            int list;
            const char16_t *typed;
            QStringList found;
        } cases[] = {
            {"apostrophe", int(AuthorityList::Publisher), u"L'Harmattan", {QStringLiteral("L'Harmattan")}},
            {"apostrophe, other case, wildcard", int(AuthorityList::Publisher), u"l'harm*", {QStringLiteral("L'Harmattan")}},
            {"Arabic name", int(AuthorityList::Publisher), u"دار*", {QStringLiteral("Dar al-Fikr")}},
            {"percent is a character", int(AuthorityList::Publisher), u"50%*", {QStringLiteral("50% Editions")}},
            {"underscore is a character", int(AuthorityList::Publisher), u"a_b*", {QStringLiteral("a_b livres")}},
            {"underscore matches only itself", int(AuthorityList::Publisher), u"axb*", {}},
            {"case of accented letters ignored", int(AuthorityList::Publisher), u"ÉDITIONS DE L'éCOLE", {QStringLiteral("Éditions de l'École")}},
            {"blank finds nothing", int(AuthorityList::Publisher), u"   ", {}},
            {"collection", int(AuthorityList::Collection), u"que sais*", {QStringLiteral("Que sais-je ?")}},
            {"sub-collection", int(AuthorityList::SubCollection), u"*histoire*", {QStringLiteral("Série histoire")}},
            {"classification", int(AuthorityList::Classification), u"51*", {QStringLiteral("510"), QStringLiteral("512.5")}},
            {"author heading with apostrophe", -1, u"d'alembert*", {QStringLiteral("d'Alembert, Jean")}},
            {"author mode never shows subjects", -1, u"*histoire*", {QStringLiteral("Histoire, Auguste")}},
            {"management keeps to the kind", -2, u"*histoire*", {QStringLiteral("Histoire de France")}},
            {"Arabic heading", -1, u"ابن*", {QStringLiteral("ابن خلدون")}},
            {"inventory: any kind by name", -3, u"*histoire*",
             {QStringLiteral("Histoire de France"), QStringLiteral("Histoire, Auguste")}},
        };
        for (const QString &engine : engines())
            for (const auto &c : cases)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(c.name)))
                    << engine << c.list << QString::fromUtf16(c.typed) << c.found;
    }
    void searches()
    {
        QFETCH(QString, engine);
        QFETCH(int, list);
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        int id = 1;
        for (const auto &[fr, ar] : {std::pair<const char16_t *, const char16_t *>{u"L'Harmattan", nullptr},
                                     {u"Dar al-Fikr", u"دار الفكر"},
                                     {u"50% Editions", nullptr},
                                     {u"a_b livres", nullptr},
                                     {u"Éditions de l'École", nullptr}})
            QVERIFY(db.exec(QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_NOM_AR) VALUES (?, ?, ?)"),
                            {id++, QString::fromUtf16(fr), ar ? QVariant(QString::fromUtf16(ar)) : QVariant()}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO COLLECTION (COL_ID, COL_TITRE_PROPRE) VALUES (1, 'Que sais-je ?')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO SOUS_COLLECTION (SCL_ID, COL_ID, SCL_TITRE_PROPRE) VALUES (1, 1, ?)"),
                        {QStringLiteral("Série histoire")}));
        for (const char *cla : {"510", "512.5", "5100"})
            QVERIFY(db.exec(QStringLiteral("INSERT INTO CLASSIFICATION (CLA_ID) VALUES (?)"), {QLatin1String(cla)}));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM CLASSIFICATION WHERE CLA_ID = '5100'")));
        id = 1;
        QVector<QVariantList> headings;
        for (const auto &[kind, name] : {std::pair<int, const char16_t *>{1, u"d'Alembert, Jean"},
                                         {1, u"Histoire, Auguste"},
                                         {6, u"Histoire de France"},
                                         {1, u"ابن خلدون"}}) {
            headings << QVariantList{id, kind, QString::fromUtf16(name), id};
            ++id;
        }
        QString why;
        QVERIFY2(insertRows(db, QStringLiteral("VEDETTE"),
                            {QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"),
                             QStringLiteral("VED_ID2")},
                            headings, &why),
                 qPrintable(why));
        ListQuery q;
        QString nameColumn;
        if (list >= 0) {
            q = authoritySearch(db.dialect(), AuthorityList(list), typed);
            nameColumn = refTableDef(refTableOf(AuthorityList(list))).names.first();
        } else {
            const int mode = list == -1 ? 1 : list == -2 ? 0 : 7;
            q = headingSearch(db.dialect(), mode, 6, typed, QStringLiteral("FR"));
            nameColumn = QStringLiteral("VED_NOM");
        }
        SqlRows r = db.query(q.sql, q.binds);
        QVERIFY2(r.isActive(), qPrintable(db.lastError().text()));
        QStringList got;
        while (r.next())
            got << r.value(nameColumn).toString();
        got.sort();
        QCOMPARE(got, found);
    }

    void acceptedFormPicker_data() { addEngineRows(); }
    void acceptedFormPicker()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addHeadings(tdb.db());
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_NOM = 'Hugo, V.' WHERE VED_ID = 1")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_NOM = 'Hugo, Victor' WHERE VED_ID = 2")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_NOM = 'Hugo (sujet)', TYP_VED_ID = 6 WHERE VED_ID = 3")));
        QString why;
        QVERIFY2(refreshSearchColumns(db, nullptr, &why), qPrintable(why));
        // The heading being edited is not offered, nor headings of another kind.
        const ListQuery q = acceptedFormSearch(db.dialect(), 1, 1, QStringLiteral("hugo*"), QStringLiteral("FR"));
        SqlRows r = db.query(q.sql, q.binds);
        QStringList got;
        while (r.next())
            got << r.value(1).toString();
        QCOMPARE(got, QStringList{QStringLiteral("Hugo, Victor")});
        const ListQuery none = acceptedFormSearch(db.dialect(), 1, 1, QStringLiteral(" "), QStringLiteral("FR"));
        SqlRows n = db.query(none.sql, none.binds);
        QVERIFY(n.isActive() && !n.next());
    }

    void firstRowStartingWith_data() { addEngineRows(); }
    void firstRowStartingWith()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *d = data.QLangue;
        QVERIFY(d->open(QStringLiteral("SELECT * FROM LANGUE")));
        const QStringList frFirst{QStringLiteral("LAN_LIBELLE"), QStringLiteral("LAN_LIBELLE_AR")};
        const QStringList arFirst{QStringLiteral("LAN_LIBELLE_AR"), QStringLiteral("LAN_LIBELLE")};
        const int fr = folian::firstRowStartingWith(*d, frFirst, QStringLiteral("fran"));
        QVERIFY(fr >= 0);
        QCOMPARE(d->valueAt(fr, QStringLiteral("LAN_ID")).toString(), QStringLiteral("fre"));
        const int ar = folian::firstRowStartingWith(*d, arFirst, d->valueAt(fr, QStringLiteral("LAN_LIBELLE_AR")).toString().left(3));
        QVERIFY(ar >= 0);
        QVERIFY(d->valueAt(ar, QStringLiteral("LAN_LIBELLE_AR")).toString().startsWith(
            d->valueAt(fr, QStringLiteral("LAN_LIBELLE_AR")).toString().left(3)));
        QCOMPARE(folian::firstRowStartingWith(*d, frFirst, QStringLiteral("zzzz")), -1);
    }
};

QTEST_MAIN(TstAuthorities)
#include "tst_authorities.moc"
