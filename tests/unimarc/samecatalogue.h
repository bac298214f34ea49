#pragma once
// Two catalogues compared row for row: what imports of the same records
// into two databases must agree on.

#include "data/core/database.h"

#include <QSqlRecord>
#include <QStringList>

namespace folian::unimarc::test {

// Everything a catalogue holds of its records, one query a part, in an order both catalogues share.
inline const QStringList &catalogueQueries()
{
    static const QStringList queries{
        QStringLiteral("SELECT DOC_TITRE_PROPRE, DOC_TITRE_COMPLEMENT, DOC_TITRE_PARALLELE, DOC_TITRE_ENSEMBLE, DOC_NUMERO_PARTIE, "
                       "DOC_ISBN, DOC_ISSN, DOC_NUM, DOC_EDITION, DOC_LIEU_EDITION, DOC_LIEU_EDITION2, DOC_ANNEE, DOC_NBR_UNITE, "
                       "DOC_ILLUSTRATION, DOC_FORMAT, DOC_MATERIEL, DOC_NUMEROTATION, DOC_MUSIQUE, DOC_MATHEMATIQUE, DOC_RESSOURCE, "
                       "DOC_NOTE, DOC_RESUME, DOC_LIEU_SOUTENANCE, LAN_ID, LAN_ID2, PER_ID, TYP_ID, IND_ID, PAY_ID, DOC_AGENCE, "
                       "COL_NUMERO, SCL_NUMERO, DOC_NBR_EXEMPLAIRE, REL_ID, REL_TITRE, REL_VOLUME, REL_DATE_PUB, REL_ISBN, "
                       "REL_ISSN FROM NOTICE ORDER BY DOC_ID"),
        QStringLiteral("SELECT N.DOC_ID, E.EDT_NOM, E.EDT_NOM_AR FROM NOTICE N JOIN EDITEUR E ON E.EDT_ID = N.EDT_ID ORDER BY N.DOC_ID"),
        QStringLiteral("SELECT N.DOC_ID, E.EDT_NOM FROM NOTICE N JOIN EDITEUR E ON E.EDT_ID = N.EDT_ID2 ORDER BY N.DOC_ID"),
        QStringLiteral("SELECT N.DOC_ID, C.COL_TITRE_PROPRE, C.COL_ISSN FROM NOTICE N JOIN COLLECTION C ON C.COL_ID = N.COL_ID "
                       "ORDER BY N.DOC_ID"),
        QStringLiteral("SELECT N.DOC_ID, S.SCL_TITRE_PROPRE FROM NOTICE N JOIN SOUS_COLLECTION S ON S.SCL_ID = N.SCL_ID "
                       "ORDER BY N.DOC_ID"),
        QStringLiteral("SELECT N.DOC_ID, D.DIP_LIBELLE FROM NOTICE N JOIN DIPLOME D ON D.DIP_ID = N.DIP_ID ORDER BY N.DOC_ID"),
        QStringLiteral("SELECT N.DOC_ID, S.SPE_LIBELLE FROM NOTICE N JOIN SPECIALITE S ON S.SPE_ID = N.SPE_ID ORDER BY N.DOC_ID"),
        QStringLiteral("SELECT A.DOC_ID, V.VED_NOM, V.TYP_VED_ID, A.AUT_TYPE, A.FON_ID FROM NOTICE_AUTEUR A "
                       "JOIN VEDETTE V ON V.VED_ID = A.VED_ID ORDER BY A.DOC_ID, A.AUT_TYPE, V.VED_NOM, A.FON_ID"),
        QStringLiteral("SELECT M.DOC_ID, V.VED_NOM, V.TYP_VED_ID FROM NOTICE_MATIERE M JOIN VEDETTE V ON V.VED_ID = M.VED_ID "
                       "ORDER BY M.DOC_ID, V.VED_NOM, V.TYP_VED_ID"),
        QStringLiteral("SELECT DOC_ID, CLA_ID FROM NOTICE_CLASSIFICATION ORDER BY DOC_ID, CLA_ID"),
        QStringLiteral("SELECT DOC_ID, RES_TYPE, RES_LIEN FROM NOTICE_RESSOURCE ORDER BY DOC_ID, RES_LIEN, RES_TYPE"),
        QStringLiteral("SELECT DOC_ID, BUL_NUMERO, BUL_DATE, BUL_TITRE FROM NOTICE_BULLETIN ORDER BY DOC_ID, BUL_ID"),
        QStringLiteral("SELECT EXP_ID, DOC_ID, EXP_COTE, EXP_INV, LOC_ID, SUP_ID, STA_EXP_ID, EXP_OBSERVATION "
                       "FROM NOTICE_EXEMPLAIRE ORDER BY EXP_ID"),
    };
    return queries;
}

// Do two catalogues hold the same records, row for row? `difference` names the first that differs.
inline bool sameCatalogue(Database &a, Database &b, QString *difference)
{
    for (const QString &sql : catalogueQueries()) {
        SqlRows qa = a.query(sql), qb = b.query(sql);
        if (!qa.isActive() || !qb.isActive()) {
            *difference = sql + QStringLiteral(": ") + a.lastError().text() + b.lastError().text();
            return false;
        }
        int row = 0;
        for (;; ++row) {
            const bool more = qa.next();
            if (more != qb.next()) {
                *difference = QStringLiteral("%1: row %2 in one catalogue only").arg(sql).arg(row);
                return false;
            }
            if (!more)
                break;
            for (int i = 0; i < qa.record().count(); ++i)
                if (qa.value(i).toString() != qb.value(i).toString()) {
                    *difference = QStringLiteral("%1: row %2, %3: \"%4\" against \"%5\"")
                                      .arg(sql)
                                      .arg(row)
                                      .arg(qa.record().fieldName(i), qa.value(i).toString(), qb.value(i).toString());
                    return false;
                }
        }
    }
    return true;
}

} // namespace folian::unimarc::test
