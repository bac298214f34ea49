#include "circulation/widgets/frmcirculation.h"

#include "base/rights.h"

namespace folian {

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

} // namespace folian
