// The menus of the module frames. An entry without an action opens a screen
// that is not built yet: it is shown disabled whatever the rights.

#include "app/widgets/modules.h"

#include "data/core/shareddata.h"

#include <QApplication>

namespace folian {

namespace {

// Allowed by the role or the right (allowed()).
TFrmModule::Rule needs(Right r)
{
    return [r](const Session &s) { return allowed(r, s); };
}

} // namespace

TFrmAcquisition::TFrmAcquisition(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmAcquisition"), QStringLiteral("Acquisitions"),
                 QStringLiteral("Module Acquisition"), parent)
{
    setHomeTitle(QStringLiteral("Acquisitions - Achats"), QStringLiteral("التزويد - المشتريات"));
    const struct {
        const char *name;
        const char16_t *caption;
        Right right;
    } entries[] = {
        {"BtnPreCommandes", u"Pré-commandes", Right::AcqTransact},
        {"BtnCommandes", u"Commandes", Right::AcqTransact},
        {"BtnAbonnements", u"Abonnements", Right::AcqTransact},
        {"BtnLivraisons", u"Livraisons", Right::AcqTransact},
        {"BtnFactures", u"Factures", Right::AcqTransact},
        {"BtnDons", u"Dons", Right::AcqTransact},
        {"BtnEchanges", u"Echanges", Right::AcqTransact},
        {"BtnDepots", u"Dépôts", Right::AcqTransact},
        {"BtnBudget", u"Gestion de budget", Right::AcqBudget},
        {"BtnInventaire", u"Inventaire", Right::AcqTransact},
        {"BtnFournisseurs", u"Fournisseurs", Right::AcqAdmin},
        {"BtnMonnaies", u"Monnaies", Right::AcqAdmin},
        {"BtnRelances", u"Relances", Right::AcqAdmin},
    };
    for (const auto &e : entries)
        addEntry(QLatin1String(e.name), QString::fromUtf16(e.caption), needs(e.right), {});
    addEntry(QStringLiteral("BtnSuggestions"), QStringLiteral("Suggestions"), {}, {});
    setFirstEntries({QStringLiteral("BtnCommandes")});
}

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

TFrmAutorite::TFrmAutorite(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmAutorite"), QStringLiteral("Gestion des autorités"),
                 QStringLiteral("Module Autorités"), parent)
{
    setHomeTitle(QStringLiteral("Gestion des autorités"), QStringLiteral("تسيير الاستنادات"));
    addEntry(QStringLiteral("BtnVedettes"), QStringLiteral("Vedettes"), {}, {});
    addEntry(QStringLiteral("BtnEditeurs"), QStringLiteral("Editeurs"), {}, {});
    addEntry(QStringLiteral("BtnCollections"), QStringLiteral("Collections"), {}, {});
    addEntry(QStringLiteral("BtnSousCollections"), QStringLiteral("Sous collections"), {}, {});
    addEntry(QStringLiteral("BtnClassifications"), QStringLiteral("Classifications"), {}, {});
    setFirstEntries({QStringLiteral("BtnVedettes")});
}

TFrmCirculation::TFrmCirculation(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmCirculation"), QStringLiteral("Circulation"),
                 QStringLiteral("Module Circulation"), parent)
{
    setHomeTitle(QStringLiteral("Circulation"), QStringLiteral("الإعارة"));
    const Right lecteur = Right::CirculLecteur, transact = Right::CirculTransact, peb = Right::CirculPeb,
                admin = Right::CirculAdmin;
    addHeading(QStringLiteral("LblLecteurs"), QStringLiteral("Lecteurs :"));
    addEntry(QStringLiteral("BtnRecherche"), QStringLiteral("Recherche"), {}, {});
    addEntry(QStringLiteral("BtnInscription"), QStringLiteral("Inscription"), needs(lecteur), {});
    addEntry(QStringLiteral("BtnImportation"), QStringLiteral("Importation"), needs(lecteur), {});
    addEntry(QStringLiteral("BtnRelance"), QStringLiteral("Relances"), needs(lecteur), {});
    addHeading(QStringLiteral("LblExemplaires"), QStringLiteral("Exemplaires"));
    addEntry(QStringLiteral("BtnPret"), QStringLiteral("Prêt externe"), needs(transact), {});
    addEntry(QStringLiteral("BtnConsultation"), QStringLiteral("Consultation sur place"), needs(transact), {});
    addHeading(QStringLiteral("LblPeb"), QStringLiteral("PEB"));
    addEntry(QStringLiteral("BtnEnregistrementPeb"), QStringLiteral("Enregistrement"), needs(peb), {});
    addEntry(QStringLiteral("BtnRetourPeb"), QStringLiteral("Retour"), needs(peb), {});
    addEntry(QStringLiteral("BtnRelancePeb"), QStringLiteral("Relances"), needs(peb), {});
    addHeading(QStringLiteral("LblAdministration"), QStringLiteral("Administration"));
    addEntry(QStringLiteral("BtnCategories"), QStringLiteral("Catégories et règlements"), needs(admin), {});
    addEntry(QStringLiteral("BtnStructure"), QStringLiteral("Structure des lecteurs"), needs(admin), {});
    addEntry(QStringLiteral("BtnAnnulPenalite"), QStringLiteral("Annuler pénalité"), needs(admin), {});
    addEntry(QStringLiteral("BtnSuspLecteur"), QStringLiteral("Suspension lecteur"), needs(admin), {});
    addEntry(QStringLiteral("BtnAnnulSuspension"), QStringLiteral("Annuler suspension"), needs(admin), {});
    addHeading(QStringLiteral("LblEditions"), QStringLiteral("Editions"));
    addEntry(QStringLiteral("BtnEditions"), QStringLiteral("Editions"), {}, {});
    // The loan desk when the user may lend, else the reader search.
    setFirstEntries({QStringLiteral("BtnPret"), QStringLiteral("BtnRecherche")});
}

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

TFrmOPAC::TFrmOPAC(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmOPAC"), QStringLiteral("Navigateur Web"),
                 QStringLiteral("Navigateur Web"), parent)
{
    setHomeTitle(QStringLiteral("Navigateur Web"), QStringLiteral("متصفح الويب"));
    setRoutesKeys(false);
    addEntry(QStringLiteral("BtnPrevious"), QStringLiteral("Précédent"), {}, {});
    addEntry(QStringLiteral("BtnNext"), QStringLiteral("Suivant"), {}, {});
    addEntry(QStringLiteral("BtnStop"), QStringLiteral("Arréter"), {}, {});
    addEntry(QStringLiteral("BtnRefresh"), QStringLiteral("Actualiser"), {}, {});
    addEntry(QStringLiteral("BtnHome"), QStringLiteral("Démarrage"), {}, {});
}

TFrmModule *createModuleFrame(Module m, TFrmData &data, QWidget *parent)
{
    switch (m) {
    case Module::Acquisition: return new TFrmAcquisition(data, parent);
    case Module::Catalogage: return new TFrmCatalogage(data, parent);
    case Module::Autorite: return new TFrmAutorite(data, parent);
    case Module::Circulation: return new TFrmCirculation(data, parent);
    case Module::Edition: return new TFrmEdition(data, parent);
    case Module::Administration: return new TFrmAdministration(data, parent);
    case Module::Opac: return new TFrmOPAC(data, parent);
    }
    return nullptr;
}

} // namespace folian
