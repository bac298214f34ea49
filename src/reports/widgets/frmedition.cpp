#include "reports/widgets/frmedition.h"

#include "base/rights.h"
#include "data/core/shareddata.h"

#include <QApplication>

namespace folian {

TFrmEdition::TFrmEdition(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmEdition"), QStringLiteral("Editions des états"),
                 QStringLiteral("Module Editions"), parent)
{
    setHomeTitle(QStringLiteral("Editions des états"), QStringLiteral("التقارير"));
    setRoutesKeys(false);
    // The reference lists unrestricted, whatever the logon restricted.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::pair<Dataset *, const char *> refs[] = {
        {dataModule.QTypeDocument, "TYPE_DOCUMENT"},   {dataModule.QIndication, "INDICATION"},
        {dataModule.QStatutNotice, "STATUT_NOTICE"},   {dataModule.QRelation, "RELATION"},
        {dataModule.QStatutExemplaire, "STATUT_EXEMPLAIRE"}, {dataModule.QModeAcquisition, "MODE_ACQUISITION"},
        {dataModule.QTypeVedette, "TYPE_VEDETTE"},
    };
    for (const auto &[query, table] : refs)
        query->open(QStringLiteral("SELECT * FROM ") + QLatin1String(table));
    QApplication::restoreOverrideCursor();

    addHeading(QStringLiteral("LblCatalogage"), QStringLiteral("Catalogage :"));
    const struct {
        const char *name;
        const char16_t *caption;
        Right right;
    } entries[] = {
        {"BtnGeneration", u"Génération...", Right::CatEdition},
        {"BtnCatalogue", u"Catalogue ", Right::CatEdition},
        {"BtnIndexTitres", u"Index titres", Right::CatEdition},
        {"BtnIndexAuteurs", u"Index auteurs", Right::CatEdition},
        {"BtnIndexMatieres", u"Index matières", Right::CatEdition},
        {"BtnFonds", u"Fonds documentaire", Right::CatEdition},
        {nullptr, u"Circulation :", Right::CirculEdition},
        {"BtnStatLecteur", u"Statistiques de prêt  par lecteur", Right::CirculEdition},
        {"BtnStatCategorie", u"Statistiques de prêt  par catégorie de lecteur", Right::CirculEdition},
        {"BtnStatDocument", u"Statistiques de prêt  par documents", Right::CirculEdition},
        {"BtnStatTypeDocument", u"Statistiques de prêt  par type de documents", Right::CirculEdition},
        {"BtnStatStructure", u"Statistiques de prêt  par structure de lecteur", Right::CirculEdition},
        {"BtnLecteursInscrits", u"Lecteurs inscrits par catégorie", Right::CirculEdition},
        {nullptr, u"Acquisition :", Right::AcqEdition},
        {"BtnNouvellesAcquisitions", u"Nouvelles acquisitions", Right::AcqEdition},
        {"BtnStatAcquisitions", u"Statistiques des acquisitions", Right::AcqEdition},
    };
    for (const auto &e : entries) {
        if (!e.name)
            addHeading(e.right == Right::AcqEdition ? QStringLiteral("LblAcquisition")
                                                    : QStringLiteral("LblCirculation"),
                       QString::fromUtf16(e.caption));
        else
            addEntry(QLatin1String(e.name), QString::fromUtf16(e.caption), needs(e.right), {});
    }
}

} // namespace folian
