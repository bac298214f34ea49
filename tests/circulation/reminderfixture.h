#pragma once
// The late readers, loans, reservations and inter-library loans that the
// tests of the reminders and of the circulation lists share.

#include "circulation/circfixture.h"

namespace folian::test {

inline const QString kOBrien = QStringLiteral("O'Brien & <Fils>");

// Readers, copies and inter-library loans that every test shares:
//  R01 O'Brien: a late loan E1, a loan E2 not yet due, a late inter-library loan P1
//  R02 Arabic names: a loan E3 and an inter-library loan P2, both due today
//  R03 suspended: a loan E4 due yesterday
//  R04 penalised: an inter-library loan P4 overdue but returned
//  R05 penalised and suspended: a late inter-library loan P3
//  R06: the reserver of E5; E6 is lost and on nobody's card; E7 names
//  nobody by an empty number, and kept its old due date
inline bool seed(Database &db)
{
    bool ok = addCategory(db, 1, QStringLiteral("Etudiant")) && addCategory(db, 2, QStringLiteral("Enseignant"))
        && addStructure(db, 3, QStringLiteral("Lettres & langues"))
        && insert(db, "BIBLIOTHEQUE", {QStringLiteral("BIB_ID"), QStringLiteral("BIB_NOM"), QStringLiteral("BIB_TUTELLE")},
                  {1, QStringLiteral("Bibliothèque <centrale>"), QStringLiteral("Université")});
    const struct {
        const char *id;
        QString nom;
        QString prenom;
        int cat;
        int status;
        const char *motif;
    } readers[] = {
        {"R01", kOBrien, QStringLiteral("Seán"), 1, 0, nullptr},
        {"R02", QStringLiteral("العلوي"), QStringLiteral("فاطمة"), 2, 0, nullptr},
        {"R03", QStringLiteral("Durand"), QStringLiteral("Léa"), 1, 2, "Retards répétés"},
        {"R04", QStringLiteral("Martin"), QStringLiteral("Paul"), 1, 1, nullptr},
        {"R05", QStringLiteral("Petit"), QStringLiteral("Zoé"), 2, 3, "Livre abîmé"},
        {"R06", QStringLiteral("Zidane"), QStringLiteral("Ali"), 1, 0, nullptr},
    };
    for (const auto &r : readers) {
        ReaderRow row;
        row.id = QLatin1String(r.id);
        row.nom = r.nom;
        row.prenom = r.prenom;
        row.cat = r.cat;
        row.str = r.cat == 1 ? QVariant(3) : QVariant();
        row.status = r.status;
        row.penaltyEnd = r.status & 1 ? day(5) : QVariant();
        row.motif = r.motif ? QVariant(QString::fromUtf8(r.motif)) : QVariant();
        ok = ok && addReader(db, row);
    }
    const QString a = QStringLiteral("a");
    ok = ok && addCopy(db, 1, QStringLiteral("E1"), a, QStringLiteral("R01"), day(-3))
        && addCopy(db, 2, QStringLiteral("E2"), a, QStringLiteral("R01"), day(5))
        && addCopy(db, 3, QStringLiteral("E3"), a, QStringLiteral("R02"), day(0))
        && addCopy(db, 4, QStringLiteral("E4"), a, QStringLiteral("R03"), day(-1))
        && addCopy(db, 5, QStringLiteral("E5"), a, none(), none(), QStringLiteral("R06"))
        && addCopy(db, 6, QStringLiteral("E6"), a, none(), none(), none(), 6)
        && addCopy(db, 7, QStringLiteral("E7"), a, none(), day(-4))
        && addInterLibraryLoan(db, 1, QStringLiteral("R01"), day(-2))
        && addInterLibraryLoan(db, 2, QStringLiteral("R02"), day(0))
        && addInterLibraryLoan(db, 3, QStringLiteral("R05"), day(-10))
        && addInterLibraryLoan(db, 4, QStringLiteral("R04"), day(-10), 1);
    return ok
        && db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_COMPLEMENT = ? WHERE DOC_ID = 1"), {QStringLiteral("suite & fin")})
        && db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_COTE = ?, EXP_PRIX = ? WHERE EXP_ID = 'E1'"),
                   {QStringLiteral("840 OBR"), QStringLiteral("1850.5")})
        && db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_COTE = ?, EXP_PRIX = ? WHERE EXP_ID = 'E6'"),
                   {QStringLiteral("ZZ <6>"), QStringLiteral("12")})
        && db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = '', LEC_ID2 = '' WHERE EXP_ID = 'E7'"))
        && db.exec(QStringLiteral("UPDATE PEB SET PEB_AUTEUR = ? WHERE PEB_ID = 1"), {QStringLiteral("Ibn Khaldoun")});
}

} // namespace folian::test
