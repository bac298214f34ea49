#include "catalogue/widgets/frmcatalogage.h"

#include "base/rights.h"

namespace folian {

TFrmCatalogage::TFrmCatalogage(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmCatalogage"), QStringLiteral("Module de catalogage"),
                 QStringLiteral("Module Catalogage"), parent)
{
    setHomeTitle(QStringLiteral("Module de catalogage"), QStringLiteral("وحدة الفهرسة"));
    addEntry(QStringLiteral("BtnRecherche"), QStringLiteral("Recherche"), {}, {});
    addEntry(QStringLiteral("BtnNouvelleNotice"), QStringLiteral("Nouvelle notice"), needs(Right::CatNotice), {});
    addEntry(QStringLiteral("BtnImportation"), QStringLiteral("Importation"), needs(Right::CatImport), {});
    const struct {
        const char *name;
        const char16_t *caption;
    } lists[] = {
        {"BtnTypesDocuments", u"Types de documents"}, {"BtnTypesSupports", u"Types de supports"},
        {"BtnLangues", u"Langues"},                   {"BtnPays", u"Pays"},
        {"BtnPeriodicites", u"Périodicités"},         {"BtnFonctions", u"Fonctions auteurs"},
        {"BtnDiplomes", u"Diplômes"},                 {"BtnSpecialites", u"Spécialités"},
        {"BtnLocalisations", u"Localisations"},
    };
    for (const auto &e : lists)
        addEntry(QLatin1String(e.name), QString::fromUtf16(e.caption), needs(Right::CatAdmin), {});
    setFirstEntries({QStringLiteral("BtnRecherche")});
}

} // namespace folian
