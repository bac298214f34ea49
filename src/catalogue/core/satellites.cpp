#include "catalogue/core/satellites.h"

#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

Dataset *satelliteQuery(TFrmData &data, Satellite s)
{
    switch (s) {
    case Satellite::Authors: return data.QAuteur;
    case Satellite::Subjects: return data.QMatiere;
    case Satellite::Indices: return data.QIndice;
    case Satellite::Resources: return data.QRessource;
    case Satellite::Issues: return data.QBulletin;
    case Satellite::Copies: return data.QExemplaire;
    }
    return nullptr;
}

QString satelliteSql(Satellite s)
{
    switch (s) {
    case Satellite::Authors:
        return QStringLiteral("SELECT A.*, V.VED_NOM, V.VED_ID2, F.FON_LIBELLE, F.FON_LIBELLE_AR "
                              "FROM NOTICE_AUTEUR A LEFT JOIN VEDETTE V ON V.VED_ID = A.VED_ID "
                              "LEFT JOIN FONCTION F ON F.FON_ID = A.FON_ID WHERE A.DOC_ID = ? ORDER BY A.AUT_TYPE");
    case Satellite::Subjects:
        return QStringLiteral("SELECT M.*, V.VED_NOM, V.VED_ID2 FROM NOTICE_MATIERE M "
                              "LEFT JOIN VEDETTE V ON V.VED_ID = M.VED_ID WHERE M.DOC_ID = ?");
    case Satellite::Indices:
        return QStringLiteral("SELECT C.*, K.CLA_LIBELLE, K.CLA_LIBELLE_AR FROM NOTICE_CLASSIFICATION C "
                              "LEFT JOIN CLASSIFICATION K ON K.CLA_ID = C.CLA_ID WHERE C.DOC_ID = ?");
    case Satellite::Resources:
        return QStringLiteral("SELECT * FROM NOTICE_RESSOURCE WHERE DOC_ID = ?");
    case Satellite::Issues:
        return QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE DOC_ID = ?");
    case Satellite::Copies:
        return QStringLiteral("SELECT X.*, L.LOC_LIBELLE, S.SUP_LIBELLE, S.SUP_LIBELLE_AR, T.STA_EXP_LIBELLE, "
                              "T.STA_EXP_LIBELLE_AR FROM NOTICE_EXEMPLAIRE X "
                              "LEFT JOIN LOCALISATION L ON L.LOC_ID = X.LOC_ID "
                              "LEFT JOIN SUPPORT S ON S.SUP_ID = X.SUP_ID "
                              "LEFT JOIN STATUT_EXEMPLAIRE T ON T.STA_EXP_ID = X.STA_EXP_ID "
                              "WHERE X.DOC_ID = ? ORDER BY X.EXP_ID");
    }
    return {};
}

bool openSatellite(TFrmData &data, Satellite s, const QVariant &docId)
{
    Dataset *d = satelliteQuery(data, s);
    if (d->isEditing())
        d->cancel();
    if (IsBlank(docId)) {
        d->close();
        return true;
    }
    const bool same = d->isOpen() && d->sql() == satelliteSql(s) && d->binds() == QVariantList{docId};
    d->setSql(satelliteSql(s), {docId});
    return same ? d->reopen() : d->open();
}

bool openSatellites(TFrmData &data, const QVariant &docId)
{
    bool ok = true;
    for (Satellite s : kSatellites)
        ok = openSatellite(data, s, docId) && ok;
    return ok;
}

} // namespace folian
