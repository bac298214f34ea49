#pragma once
// A catalogue for the public catalogue's tests: records with accents,
// apostrophes, Arabic spelling variants, "%" and "_", a title holding a
// script, a record the public must not see; copies free, lent, reserved and
// read on site, all by a reader whose name must never show; and the
// read-only connection the server uses (on PostgreSQL, a role made for it
// and dropped at the end).

#include "data/core/database.h"
#include "data/core/migrator.h"
#include "data/core/searchcolumns.h"
#include "opac/core/opacrole.h"
#include "support/testdb.h"

#include <QDate>
#include <QDateTime>
#include <QRandomGenerator>

namespace folian::test {

struct OpacFixture {
    // The reader who holds every copy that is held: nothing of him may show.
    static QString readerId() { return QStringLiteral("LEC-7781"); }
    static QString readerName() { return QStringLiteral("Secretname"); }
    static QString readerFirstName() { return QStringLiteral("Zoubida"); }

    explicit OpacFixture(TestDatabase &database) : tdb(database)
    {
        ok = fill();
        if (ok && tdb.params().engine == QLatin1String("POSTGRESQL"))
            ok = makeRole();
        else
            connection = opac::catalogueConnection(tdb.params(), {}, {});
    }
    ~OpacFixture()
    {
        if (role.isEmpty())
            return;
        tdb.db().exec(QStringLiteral("DROP OWNED BY ") + role);
        tdb.db().exec(QStringLiteral("DROP ROLE IF EXISTS ") + role);
    }

    TestDatabase &tdb;
    ConnectionParams connection;  // the server's
    QString role;
    QDate today, due;
    bool ok = false;
    QString why;

private:
    bool exec(const QString &sql, const QVariantList &binds = {})
    {
        if (tdb.db().exec(sql, binds))
            return true;
        why = sql + QStringLiteral(": ") + tdb.db().lastError().text();
        return false;
    }

    bool record(int id, const QString &title, const QString &language, int status = 1, const QString &isbn = {})
    {
        return exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, DOC_ANNEE, STA_ID, LAN_ID, "
                                   "DOC_ISBN, DOC_NOTE) VALUES (?, 'a', ?, '1998', ?, ?, ?, ?)"),
                    {id, title, status, language, isbn.isEmpty() ? QVariant() : QVariant(isbn),
                     QStringLiteral("Note publique %1").arg(id)});
    }

    bool copy(const QString &number, int record, int status, const QVariant &lent, const QVariant &due_,
              const QVariant &reserved, const QVariant &holdUntil)
    {
        return exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, EXP_COTE, LOC_ID, STA_EXP_ID, "
                                   "EXP_OBSERVATION, LEC_ID, EXP_DATE_PRET, EXP_DATE_RETOUR, LEC_ID2, EXP_DATE_RESERVATION) "
                                   "VALUES (?, ?, 0, ?, 'SAL', ?, ?, ?, ?, ?, ?, ?)"),
                    {number, record, QString(QStringLiteral("843 FER ") + number), status,
                     QString(QStringLiteral("Remarque interne ") + number), lent,
                     lent.isNull() ? QVariant() : QVariant(today), due_, reserved, holdUntil});
    }

    bool fill()
    {
        today = tdb.db().serverDate().date();
        due = today.addDays(10);
        const QVariant none;
        const QVariant reader(readerId());
        qint64 changed = 0;
        return exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2, VED_NOTES) VALUES "
                                   "(1, 1, 'Feraoun, Mouloud', 1, 'Note interne de vedette'), (2, 1, ?, 2, NULL), "
                                   "(3, 6, ?, 3, NULL)"),
                    {QStringLiteral("أحمد شوقي"), QStringLiteral("Enfance -- Algérie")})
            && exec(QStringLiteral("INSERT INTO LOCALISATION (LOC_ID, LOC_LIBELLE) VALUES ('SAL', ?)"),
                    {QStringLiteral("Salle d'étude")})
            && exec(QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, LEC_PRENOM, CAT_ID) VALUES (?, ?, ?, 1)"),
                    {reader, readerName(), readerFirstName()})
            && record(1, QStringLiteral("Le fils du pauvre"), QStringLiteral("fre"), 1, QStringLiteral("9782020000001"))
            && record(2, QStringLiteral("L'été d'Alger"), QStringLiteral("fre"))
            && record(3, QStringLiteral("أحمد والبحر"), QStringLiteral("ara"))
            && record(4, QStringLiteral("Remise de 100% sur le_tiret"), QStringLiteral("fre"))
            && record(5, QStringLiteral("<script>alert(1)</script> Dangereux"), QStringLiteral("fre"))
            && record(6, QStringLiteral("Suggestion interne"), QStringLiteral("fre"), 2)
            && record(7, QStringLiteral("Prix 1000 lextiret"), QStringLiteral("fre"))
            && exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, 1, 1), "
                                   "(2, 2, 1, 1), (3, 3, 2, 1)"))
            && exec(QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (1, 1, 3)"))
            && copy(QStringLiteral("C1"), 1, 2, none, none, none, none)
            && copy(QStringLiteral("C2"), 2, 2, reader, due, none, none)
            && copy(QStringLiteral("C3"), 3, 2, none, none, reader, today.addDays(3))
            && copy(QStringLiteral("C4"), 4, 3, reader, today, none, none)
            && copy(QStringLiteral("C5"), 4, 6, none, none, none, none)
            && refreshSearchColumns(tdb.db(), &changed, &why);
    }

    bool makeRole()
    {
        role = QStringLiteral("folian_opac_%1").arg(QRandomGenerator::global()->generate64() % 1000000000);
        const QString password = QStringLiteral("pw%1").arg(QRandomGenerator::global()->generate64(), 0, 16);
        bool created = false;
        if (!opac::GrantCatalogueReaderRole(tdb.db(), role, password, &created, &why))
            return false;
        connection = opac::catalogueConnection(tdb.params(), role, password);
        return created;
    }
};

} // namespace folian::test

// The fixture on a fresh database of the engine (skipped without PostgreSQL).
#define FOLIAN_OPAC_FIXTURE(fx, tdb, engine)   \
    FOLIAN_TEST_DB(tdb, engine);               \
    folian::test::OpacFixture fx(tdb);         \
    QVERIFY2(fx.ok, qPrintable(fx.why))
