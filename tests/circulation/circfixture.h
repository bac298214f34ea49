#pragma once
// Rows of the circulation tables for the tests: categories, structures,
// readers, records with a copy lent or reserved, inter-library loans. Dates
// are given relative to today.

#include "data/core/database.h"
#include "data/core/migrator.h"

#include <QDate>
#include <QTest>

namespace folian::test {

inline QVariant day(int fromToday) { return QDate::currentDate().addDays(fromToday); }
inline QVariant none() { return QVariant(); }

inline bool insert(Database &db, const char *table, const QStringList &columns, const QVariantList &row)
{
    QString why;
    if (!insertRows(db, QLatin1String(table), columns, {row}, &why)) {
        qWarning("%s: %s", table, qPrintable(why));
        return false;
    }
    return true;
}

inline bool addCategory(Database &db, int id, const QString &label, int membershipDays = 365, int penalty = 2,
                        const QVariant &proportional = 0)
{
    return insert(db, "CATEGORIE",
                  {QStringLiteral("CAT_ID"), QStringLiteral("CAT_LIBELLE"), QStringLiteral("CAT_ADHESION"),
                   QStringLiteral("CAT_PENALITE"), QStringLiteral("CAT_PENALITE_PROP")},
                  {id, label, membershipDays, penalty, proportional});
}

inline bool addStructure(Database &db, int id, const QString &label)
{
    return insert(db, "STRUCTURE", {QStringLiteral("STR_ID"), QStringLiteral("STR_LIBELLE")}, {id, label});
}

inline bool addRule(Database &db, int cat, const QString &type, int documents = 3, int loanDays = 15)
{
    return insert(db, "REGLEMENT",
                  {QStringLiteral("CAT_ID"), QStringLiteral("TYP_ID"), QStringLiteral("REG_DOCUMENT"),
                   QStringLiteral("REG_PRET"), QStringLiteral("REG_PROLONGATION"), QStringLiteral("REG_RESERVATION")},
                  {cat, type, documents, loanDays, 7, 3});
}

struct ReaderRow {
    QString id;
    QString nom = QStringLiteral("Nom");
    QString prenom = QStringLiteral("Prénom");
    int cat = 1;
    QVariant str;
    QVariant status = 0;
    QVariant penaltyEnd;
    QVariant registered = day(-10);
    QVariant motif;
};

inline bool addReader(Database &db, const ReaderRow &r)
{
    return insert(db, "LECTEUR",
                  {QStringLiteral("LEC_ID"), QStringLiteral("LEC_NOM"), QStringLiteral("LEC_PRENOM"),
                   QStringLiteral("LEC_DATE_NAISSANCE"), QStringLiteral("CAT_ID"), QStringLiteral("STR_ID"),
                   QStringLiteral("LEC_STATUT"), QStringLiteral("LEC_FIN_PENALITE"), QStringLiteral("LEC_DATE_ADHESION"),
                   QStringLiteral("LEC_MOTIF"), QStringLiteral("LEC_STAT_PRET"), QStringLiteral("BIB_ID")},
                  {r.id, r.nom, r.prenom, QDate(1990, 5, 17), r.cat, r.str, r.status, r.penaltyEnd, r.registered,
                   r.motif, 0, 0});
}

// A record of the type with one copy, lent to `borrower` until `due` and reserved by `reserver`.
inline bool addCopy(Database &db, int docId, const QString &copyId, const QString &type, const QVariant &borrower,
                    const QVariant &due, const QVariant &reserver = QVariant(), int status = 2)
{
    return insert(db, "NOTICE",
                  {QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
                   QStringLiteral("STA_ID")},
                  {docId, type, QStringLiteral("Titre %1").arg(docId), 1})
        && insert(db, "NOTICE_EXEMPLAIRE",
                  {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"),
                   QStringLiteral("STA_EXP_ID"), QStringLiteral("LEC_ID"), QStringLiteral("EXP_DATE_PRET"),
                   QStringLiteral("EXP_DATE_RETOUR"), QStringLiteral("LEC_ID2"), QStringLiteral("EXP_DATE_RESERVATION")},
                  {copyId, docId, 0, status, borrower, borrower.isNull() ? QVariant() : day(-20), due, reserver,
                   reserver.isNull() ? QVariant() : day(5)});
}

inline bool addInterLibraryLoan(Database &db, int id, const QString &reader, const QVariant &due, int returned = 0)
{
    return insert(db, "PEB",
                  {QStringLiteral("PEB_ID"), QStringLiteral("PEB_EXP_ID"), QStringLiteral("PEB_TITRE"),
                   QStringLiteral("BIB_ID"), QStringLiteral("LEC_ID"), QStringLiteral("BIB_PRET"),
                   QStringLiteral("BIB_RETOUR"), QStringLiteral("BIB_REMIS")},
                  {id, QStringLiteral("P%1").arg(id), QStringLiteral("Livre prêté"), 1, reader, day(-30), due, returned});
}

inline QVariant readerValue(Database &db, const QString &id, const char *column)
{
    return db.scalar(QStringLiteral("SELECT %1 FROM LECTEUR WHERE LEC_ID = ?").arg(QLatin1String(column)), {id});
}

inline int readerStatus(Database &db, const QString &id) { return readerValue(db, id, "LEC_STATUT").toInt(); }

inline QDate readerDate(Database &db, const QString &id, const char *column)
{
    return db.dialect().fromDb(readerValue(db, id, column), ColType::Date).toDate();
}

} // namespace folian::test
