#pragma once
// What the record form's tests work on: a data module on a test database
// with the authorities a record picks from (headings with a rejected form,
// a publisher, collections, an index), copy locations and supports, the
// cataloguing agency, an archive directory for monographs and a file to
// attach; and a logged-on operator.

#include "admin/core/passwords.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/shareddata.h"
#include "support/session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace folian::test {

struct RecordFixture {
    explicit RecordFixture(TestDatabase &database) : tdb(database)
    {
        ok = connectTo(data, tdb) && fill();
        if (!ok && why.isEmpty())
            why = tdb.db().lastError().text();
    }

    // The operator "agent.cat" (user 5, types a and b in CATALOGAGE) with a role and rights.
    void logOn(int role, const QList<Right> &rights)
    {
        Session &s = session();
        s.CurrentUserId = 5;
        s.CurrentUserLogin = QStringLiteral("agent.cat");
        s.CurrentUserRole = role;
        for (Right r : allRights())
            s.setRight(r, rights.contains(r));
        s.DefaultDocumentType = QStringLiteral("a");
        s.AppDir = files.path() + u'/';
    }

    template <typename... B>
    QVariant scalar(const char *sql, B... binds)
    {
        return tdb.db().scalar(QLatin1String(sql), QVariantList{QVariant(binds)...});
    }

    // A note of 20,000 characters in French and Arabic, on several lines.
    static QString longNote()
    {
        QString note;
        const QString line = QStringLiteral("Note d'exemplaire « l'été » — ملاحظة حول النسخة. ");
        while (note.size() < 20000)
            note += line + (note.size() % 7 == 0 ? QStringLiteral("\r\n") : QString());
        note.truncate(20000);
        if (note.endsWith(u'\r'))
            note[note.size() - 1] = u'.';
        return note;
    }

    TestDatabase &tdb;
    TFrmData data;
    QTemporaryDir files;
    QString archive;       // the archive of monographs (type a)
    QString resourceFile;  // a file to attach, outside the archive
    bool ok = false;
    QString why;

    const int author = 1, rejectedAuthor = 2, coAuthor = 3, subject = 4, rejectedSubject = 5;
    const int publisher = 1, collection = 1, subCollection = 1;
    const QString classIndex = QStringLiteral("843");

private:
    bool exec(const QString &sql, const QVariantList &binds = {})
    {
        if (tdb.db().exec(sql, binds))
            return true;
        why = sql + QStringLiteral(": ") + tdb.db().lastError().text();
        return false;
    }

    bool fill()
    {
        archive = files.filePath(QStringLiteral("archives/monographies"));
        resourceFile = files.filePath(QStringLiteral("incoming/table d'été.pdf"));
        QDir().mkpath(QFileInfo(resourceFile).absolutePath());
        QFile f(resourceFile);
        if (!f.open(QIODevice::WriteOnly) || f.write("%PDF-1.4 table") < 0)
            return false;
        f.close();
        const bool filled =
            exec(QStringLiteral("INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_PASSWORD, UTL_ROLE) VALUES (5, 'agent.cat', ?, 6)"),
                 {HashPassword(QStringLiteral("x"))})
            && exec(QStringLiteral("INSERT INTO CATALOGAGE (UTL_ID, TYP_ID) VALUES (5, 'a'), (5, 'b')"))
            && exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES "
                                   "(1, 1, 'Feraoun, Mouloud', 1), (2, 1, 'Ferraoun, M.', 1), (3, 1, 'Roblès, Emmanuel', 3), "
                                   "(4, 6, 'Enfance -- Algérie', 4), (5, 6, 'Enfants -- Algérie', 4)"))
            && exec(QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_NOM_AR, EDT_TYPE) VALUES (1, ?, ?, 1)"),
                    {QStringLiteral("Éditions d'Aujourd'hui"), QStringLiteral("منشورات اليوم")})
            && exec(QStringLiteral("INSERT INTO COLLECTION (COL_ID, COL_TITRE_PROPRE) VALUES (1, ?)"),
                    {QStringLiteral("Bibliothèque de l'Islam")})
            && exec(QStringLiteral("INSERT INTO SOUS_COLLECTION (SCL_ID, COL_ID, SCL_TITRE_PROPRE) VALUES (1, 1, ?)"),
                    {QStringLiteral("Série d'histoire")})
            && exec(QStringLiteral("INSERT INTO CLASSIFICATION (CLA_ID, CLA_LIBELLE, CLA_LIBELLE_AR) VALUES ('843', ?, ?)"),
                    {QStringLiteral("Roman d'expression française"), QStringLiteral("رواية بالفرنسية")})
            && exec(QStringLiteral("INSERT INTO LOCALISATION (LOC_ID, LOC_LIBELLE) VALUES ('MAG', 'Magasin'), ('SHS', ?)"),
                    {QStringLiteral("Salle d'histoire")})
            && exec(QStringLiteral("INSERT INTO SUPPORT (SUP_ID, SUP_LIBELLE, SUP_LIBELLE_AR) VALUES (1, ?, ?)"),
                    {QStringLiteral("Imprimé"), QStringLiteral("مطبوع")})
            && exec(QStringLiteral("UPDATE PARAMETRE SET AGENCE = ?"), {QStringLiteral("Bibliothèque d'El Biar")})
            && exec(QStringLiteral("UPDATE TYPE_DOCUMENT SET TYP_REP_ARCHIVAGE = ? WHERE TYP_ID = 'a'"), {archive});
        // The data module read the parameters at its start: again, with the agency.
        return filled && data.QParametre->reopen();
    }
};

} // namespace folian::test

// A fixture on a fresh database of the engine (skipped without PostgreSQL).
#define FOLIAN_RECORD_FIXTURE(fx, tdb, engine)                                   \
    FOLIAN_TEST_DB(tdb, engine);                                                   \
    folian::test::RecordFixture fx(tdb);                                           \
    QVERIFY2(fx.ok, qPrintable(fx.why))
