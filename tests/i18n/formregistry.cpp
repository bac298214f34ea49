#include "formregistry.h"

#include "admin/widgets/frmcatalogue.h"
#include "admin/widgets/frmdetailuser.h"
#include "admin/widgets/frmexception.h"
#include "admin/widgets/frmlogon.h"
#include "admin/widgets/frmparametre.h"
#include "admin/widgets/frmutilisateur.h"
#include "app/widgets/frmmain.h"
#include "app/widgets/frmapropos.h"
#include "catalogue/widgets/frmautoritedetail.h"
#include "catalogue/widgets/frmautoriteselect.h"
#include "catalogue/widgets/frmnoticeadmin.h"
#include "catalogue/widgets/frmnoticecatalogue.h"
#include "catalogue/widgets/frmreferencelists.h"
#include "catalogue/widgets/frmvedette.h"
#include "app/widgets/modules.h"
#include "circulation/widgets/frmbibliotheque.h"
#include "circulation/widgets/frmcategorie.h"
#include "circulation/widgets/frmdetailbib.h"
#include "circulation/widgets/frmpebinscription.h"
#include "circulation/widgets/frmpebretour.h"
#include "circulation/widgets/frmcirculationsearch.h"
#include "circulation/widgets/frmconsultation.h"
#include "circulation/widgets/frmexemplairestatut.h"
#include "circulation/widgets/frmcirculationedition.h"
#include "circulation/widgets/frmlecteur.h"
#include "circulation/widgets/frmlecteuradmin.h"
#include "circulation/widgets/frmlecteurimport.h"
#include "circulation/widgets/frmlecteursearch.h"
#include "circulation/widgets/frmreglement.h"
#include "circulation/widgets/frmrelance.h"
#include "circulation/widgets/frmstructure.h"
#include "catalogue/widgets/frmbulletinsearch.h"
#include "catalogue/widgets/frmnotice.h"
#include "catalogue/widgets/frmnoticedetail.h"
#include "catalogue/widgets/frmresponsabilite.h"
#include "catalogue/copy/widgets/frmciblecopie.h"
#include "catalogue/copy/widgets/frmnoticecopie.h"
#include "catalogue/unimarc/widgets/frmnoticeimport.h"
#include "catalogue/unimarc/widgets/frmnoticepreview.h"
#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "circulation/widgets/frmtransactions.h"
#include "statistics/widgets/frmacquisitionstat.h"
#include "statistics/widgets/frmgraphe.h"
#include "statistics/widgets/frmstatistique.h"
#include "data/core/shareddata.h"
#include "reports/widgets/frmhtmlpreview.h"
// The record search and its copy list.
#include "catalogue/widgets/frmexemplaireliste.h"
// Acquisitions: suppliers, orders, deliveries, batch generation, budgets, currencies, invoices.
#include "acquisitions/widgets/frmabonnementligne.h"
#include "acquisitions/widgets/frmabonnementsearch.h"
#include "acquisitions/widgets/frmacquisitionrelance.h"
#include "acquisitions/widgets/frmbudget.h"
#include "acquisitions/widgets/frmbudgetligne.h"
#include "acquisitions/widgets/frmbudgetmontant.h"
#include "acquisitions/widgets/frmcommande.h"
#include "acquisitions/widgets/frmcommandeligne.h"
#include "acquisitions/widgets/frmcommandelignesearch.h"
#include "acquisitions/widgets/frmcommandesearch.h"
#include "acquisitions/widgets/frmdevissearch.h"
#include "acquisitions/widgets/frmfacture.h"
#include "acquisitions/widgets/frmfacturesearch.h"
#include "acquisitions/widgets/frmdon.h"
#include "acquisitions/widgets/frmsuggestion.h"
#include "acquisitions/widgets/giftsearch.h"
#include "acquisitions/widgets/frmfournisseur.h"
#include "acquisitions/widgets/frminventairephysique.h"
#include "acquisitions/widgets/frmfournisseurdetail.h"
#include "acquisitions/widgets/frmgenerate.h"
#include "acquisitions/widgets/frmlivraison.h"
#include "acquisitions/widgets/frmlivraisonbon.h"
#include "acquisitions/widgets/frmlivraisonchoix.h"
#include "acquisitions/widgets/frmlivraisonexemplaire.h"
#include "acquisitions/widgets/frmlivraisonlignesearch.h"
#include "acquisitions/widgets/frmlivraisonsearch.h"
#include "acquisitions/widgets/frmmonnaie.h"
#include "catalogue/widgets/frmnoticesearch.h"

namespace folian::test {

namespace {

template <typename F>
RegisteredForm form(const char *name, F make)
{
    return {QLatin1String(name), [make](TFrmData &d) { return std::unique_ptr<QWidget>(make(d)); }};
}

RegisteredForm detail(AuthorityPage page)
{
    return form("FrmAutoriteDetail", [page](TFrmData &d) {
        return new TFrmAutoriteDetail(d, page, QStringLiteral("Autorité"), QStringLiteral("استناد"));
    });
}

RegisteredForm module(const char *name, Module m)
{
    return form(name, [m](TFrmData &d) { return createModuleFrame(m, d); });
}

} // namespace

QList<RegisteredForm> registeredForms()
{
    return {
        form("FrmMain",
             [](TFrmData &d) {
                 TFrmMain::setLogonHook([](TFrmData &) { return true; });
                 auto *w = new TFrmMain(d);
                 TFrmMain::setLogonHook({});
                 return w;
             }),
        form("FrmAPropos", [](TFrmData &d) { return new TFrmAPropos(d); }),
        module("FrmAcquisition", Module::Acquisition),
        module("FrmCatalogage", Module::Catalogage),
        module("FrmAutorite", Module::Autorite),
        module("FrmCirculation", Module::Circulation),
        module("FrmEdition", Module::Edition),
        module("FrmAdministration", Module::Administration),
        module("FrmOPAC", Module::Opac),
        form("FrmVedette", [](TFrmData &d) { return new TFrmVedette(d); }),
        form("FrmEditeur", [](TFrmData &d) { return new TFrmEditeur(d); }),
        form("FrmCollection", [](TFrmData &d) { return new TFrmCollection(d); }),
        form("FrmSousCollection", [](TFrmData &d) { return new TFrmSousCollection(d); }),
        form("FrmClassification", [](TFrmData &d) { return new TFrmClassification(d); }),
        detail(AuthorityPage::Heading),
        detail(AuthorityPage::Publisher),
        detail(AuthorityPage::Collection),
        detail(AuthorityPage::SubCollection),
        detail(AuthorityPage::Classification),
        form("FrmAutoriteSelect", [](TFrmData &d) { return new TFrmAutoriteSelect(d, 1, QVariant()); }),
        form("FrmNoticeAdmin", [](TFrmData &d) { return new TFrmNoticeAdmin(d, NoticeAdminPage::Languages); }),
        form("FrmHTMLPreview", [](TFrmData &) { return new TFrmHTMLPreview; }),
        form("FrmLogOn", [](TFrmData &d) { return new TFrmLogOn(d); }),
        form("FrmNoticeImport", [](TFrmData &d) { return createNoticeImportScreen(d); }),
        form("FrmNoticeCopie", [](TFrmData &d) { return createNoticeCopyScreen(d); }),
        form("FrmCibleCopie", [](TFrmData &d) { return new TFrmCibleCopie(d.db()); }),
        form("FrmNoticeView", [](TFrmData &d) { return new TFrmNoticeView(d); }),
        form("FrmNoticePreview", [](TFrmData &d) { return new TFrmNoticePreview(d); }),
        form("FrmUtilisateur", [](TFrmData &d) { return new TFrmUtilisateur(d); }),
        form("FrmDetailUser", [](TFrmData &d) { return new TFrmDetailUser(d, 0); }),
        form("FrmParametre", [](TFrmData &d) { return new TFrmParametre(d); }),
        form("FrmNotice", [](TFrmData &d) { return new TFrmNotice(d); }),
        form("FrmResponsabilite", [](TFrmData &d) { return new TFrmResponsabilite(d); }),
        form("FrmNoticeDetail",
             [](TFrmData &d) {
                 return new TFrmNoticeDetail(d, TFrmNoticeDetail::Page::Copy, QStringLiteral("Nouvelle exemplaire"));
             }),
        form("FrmBulletinSearch", [](TFrmData &d) { return new TFrmBulletinSearch(d); }),
        form("FrmException",
             [](TFrmData &d) {
                 d.QException->open(QStringLiteral("SELECT * FROM JOUR_EXCEPTION"));
                 d.QException->append();
                 auto *w = new TFrmException(d, QStringLiteral("Exception"));
                 return w;
             }),
        form("FrmLecteurSearch", [](TFrmData &d) { return new TFrmLecteurSearch(d, TFrmLecteurSearch::Mode::Pick); }),
        form("FrmLecteur", [](TFrmData &d) { return new TFrmLecteur(d); }),
        form("FrmLecteurAdmin", [](TFrmData &d) { return new TFrmLecteurAdmin(d, AdminAction::Suspend); }),
        form("FrmLecteurImport", [](TFrmData &d) { return new TFrmLecteurImport(d); }),
        form("FrmTransactions", [](TFrmData &d) { return new TFrmTransactions(d); }),
        form("FrmConsultation", [](TFrmData &d) { return new TFrmConsultation(d); }),
        form("FrmCirculationSearch", [](TFrmData &d) { return new TFrmCirculationSearch(d); }),
        form("FrmExemplaireStatut", [](TFrmData &d) { return new TFrmExemplaireStatut(d, QStringLiteral("X")); }),
        form("FrmCategorie", [](TFrmData &d) { return new TFrmCategorie(d); }),
        form("FrmStructure", [](TFrmData &d) { return new TFrmStructure(d, ListEditScreen::Mode::Pick); }),
        form("FrmReglement",
             [](TFrmData &d) {
                 d.QReglement->open(QStringLiteral("SELECT * FROM REGLEMENT"));
                 d.QReglement->append();
                 return new TFrmReglement(d, 9, QStringLiteral("Règlement"));
             }),
        form("FrmRelance", [](TFrmData &d) { return new TFrmRelance(d, ReminderKind::Loans); }),
        form("FrmCirculationEdition", [](TFrmData &d) { return new TFrmCirculationEdition(d); }),
        // The statistics
        form("FrmStatistique", [](TFrmData &d) { return new TFrmStatistique(d); }),
        form("FrmAcquisitionStat", [](TFrmData &d) { return new TFrmAcquisitionStat(d); }),
        form("FrmGraphe", [](TFrmData &) { return new TFrmGraphe(ChartData{}); }),
        // Partner libraries and the inter-library loan
        form("FrmBibliotheque", [](TFrmData &d) { return new TFrmBibliotheque(d); }),
        form("FrmDetailBib", [](TFrmData &d) { return new TFrmDetailBib(d, 1, QString()); }),
        form("FrmPEBInscription", [](TFrmData &d) { return new TFrmPEBInscription(d); }),
        form("FrmPEBRetour", [](TFrmData &d) { return new TFrmPEBRetour(d); }),
        // The printed catalogue and the union catalogue.
        form("FrmNoticeCatalogue", [](TFrmData &d) { return new TFrmNoticeCatalogue(d); }),
        form("FrmCatalogue", [](TFrmData &d) { return new TFrmCatalogue(d); }),
        // The record search and its copy list.
        form("FrmNoticeSearch", [](TFrmData &d) { return new TFrmNoticeSearch(d); }),
        form("FrmExemplaireListe",
             [](TFrmData &d) { return new TFrmExemplaireListe(d, CopyListField::ShelfMark, QString()); }),
        // Acquisitions
        form("FrmFournisseur", [](TFrmData &d) { return new TFrmFournisseur(d, 2); }),
        form("FrmInventairePhysique", [](TFrmData &d) { return new TFrmInventairePhysique(d); }),
        form("FrmFournisseurDetail", [](TFrmData &d) { return new TFrmFournisseurDetail(d, 0); }),
        form("FrmCommandeSearch", [](TFrmData &d) { return new TFrmCommandeSearch(d); }),
        form("FrmDevisSearch", [](TFrmData &d) { return new TFrmDevisSearch(d); }),
        form("FrmCommande", [](TFrmData &d) { return new TFrmCommande(d, AcqType::Order, 0); }),
        form("FrmCommandeLigne", [](TFrmData &d) { return new TFrmCommandeLigne(d, AcqType::Order, 1, 0); }),
        form("FrmCommandeLigneSearch", [](TFrmData &d) { return new TFrmCommandeLigneSearch(d, 1, AcqType::Order); }),
        form("FrmLivraisonChoix", [](TFrmData &d) { return new TFrmLivraisonChoix(d, 1, {}); }),
        form("FrmLivraison", [](TFrmData &d) { return new TFrmLivraison(d, 1); }),
        form("FrmLivraisonBon", [](TFrmData &d) { return new TFrmLivraisonBon(d, 1); }),
        form("FrmLivraisonLigneSearch", [](TFrmData &d) { return new TFrmLivraisonLigneSearch(d, 1); }),
        form("FrmLivraisonExemplaire",
             [](TFrmData &d) {
                 return new TFrmLivraisonExemplaire(d, TFrmLivraisonExemplaire::Page::Copy, {1, 1, 1});
             }),
        form("FrmLivraisonSearch", [](TFrmData &d) { return new TFrmLivraisonSearch(d); }),
        form("FrmGenerate", [](TFrmData &d) { return new TFrmGenerate(d); }),
        form("FrmBudget", [](TFrmData &d) { return new TFrmBudget(d, TFrmBudget::Mode::Pick); }),
        form("FrmBudgetMontant", [](TFrmData &d) { return new TFrmBudgetMontant(d, TFrmBudgetMontant::Page::Budget, 0); }),
        form("FrmBudgetLigne", [](TFrmData &d) { return new TFrmBudgetLigne(d, TFrmBudgetLigne::Page::Commitment, 2024); }),
        form("FrmMonnaie", [](TFrmData &d) { return new TFrmMonnaie(d); }),
        form("FrmFacture", [](TFrmData &d) { return new TFrmFacture(d, 1); }),
        form("FrmFactureSearch", [](TFrmData &d) { return new TFrmFactureSearch(d); }),
        // Gifts, exchanges, deposits and the suggestions
        form("FrmDonSearch", [](TFrmData &d) { return new TFrmDonSearch(d); }),
        form("FrmEchangeSearch", [](TFrmData &d) { return new TFrmEchangeSearch(d); }),
        form("FrmDepotSearch", [](TFrmData &d) { return new TFrmDepotSearch(d); }),
        form("FrmDon", [](TFrmData &d) { return new TFrmDon(d, AcqType::Exchange, 0); }),
        form("FrmDonLigne", [](TFrmData &d) { return new TFrmDonLigne(d, AcqType::Gift, 1, 0); }),
        form("FrmSuggestionSearch", [](TFrmData &d) { return new TFrmSuggestionSearch(d); }),
        form("FrmSuggestionLigne", [](TFrmData &d) { return new TFrmSuggestionLigne(d, 0); }),
        // Serial subscriptions and the claims to late suppliers.
        form("FrmAbonnementSearch", [](TFrmData &d) { return new TFrmAbonnementSearch(d); }),
        form("FrmAbonnementLigne", [](TFrmData &d) { return new TFrmAbonnementLigne(d, 1, 0); }),
        form("FrmAcquisitionRelance", [](TFrmData &d) { return new TFrmAcquisitionRelance(d); }),
    };
}

} // namespace folian::test
