#include "acquisitions/widgets/frmacquisition.h"

#include "acquisitions/core/budgets.h"
#include "acquisitions/core/currencies.h"
#include "acquisitions/core/invoices.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/core/receipt.h"
#include "acquisitions/core/claims.h"
#include "acquisitions/core/serialtexts.h"
#include "acquisitions/core/suggestions.h"
#include "acquisitions/widgets/frmabonnementsearch.h"
#include "acquisitions/widgets/frmacquisitionrelance.h"
#include "acquisitions/widgets/frmbudget.h"
#include "acquisitions/widgets/frmcommandesearch.h"
#include "acquisitions/widgets/frmdevissearch.h"
#include "acquisitions/widgets/frmfacturesearch.h"
#include "acquisitions/widgets/frmfournisseur.h"
#include "acquisitions/widgets/frminventairephysique.h"
#include "acquisitions/widgets/frmmonnaie.h"
#include "acquisitions/widgets/frmsuggestion.h"
#include "acquisitions/widgets/giftsearch.h"
#include "acquisitions/widgets/frmlivraisonsearch.h"
#include "base/messages.h"
#include "base/rights.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

TFrmAcquisition::TFrmAcquisition(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmAcquisition"), QStringLiteral("Acquisitions"),
                 QStringLiteral("Module Acquisition"), parent)
{
    setHomeTitle(QStringLiteral("Acquisitions - Achats"), QStringLiteral("التزويد - المشتريات"));
    // What an entry opens: its screen, the screen's name, the title and the
    // status-bar count line.
    struct Opened {
        std::function<QWidget *()> make;
        const char *screen;
        const char16_t *french, *arabic;
        std::function<QString()> count;
    };
    const auto opens = [this](const Opened &o) -> Action {
        return [this, o] {
            if (host(o.make(), QLatin1String(o.screen), QString::fromUtf16(o.french), QString::fromUtf16(o.arabic)))
                writeStatusPanel(2, o.count());
        };
    };
    Database &db = data_.db();
    // Gifts, exchanges and deposits: one screen of three kinds; and the suggestions.
    const Action gifts = opens({[this] { return new TFrmDonSearch(data_); }, "FrmDonSearch", u"Acquisition - Recherche dons",
                                u"التزويد - البحث عن الهبات", [&db] { return documentCountLine(db, AcqType::Gift); }});
    const Action exchanges = opens({[this] { return new TFrmEchangeSearch(data_); }, "FrmEchangeSearch",
                                    u"Acquisition - Recherche échanges", u"التزويد - البحث عن التبادلات",
                                    [&db] { return documentCountLine(db, AcqType::Exchange); }});
    const Action deposits = opens({[this] { return new TFrmDepotSearch(data_); }, "FrmDepotSearch", u"Acquisition - Recherche dépôts",
                                   u"التزويد - البحث عن الإيداعات", [&db] { return documentCountLine(db, AcqType::Deposit); }});
    const Action suggestions = opens({[this] { return new TFrmSuggestionSearch(data_); }, "FrmSuggestionSearch",
                                      u"Acquisition - Recherche suggestions", u"التزويد - البحث عن الاقتراحات",
                                      [&db] { return suggestionCountLine(db); }});
    const Action preOrders = opens({[this] { return new TFrmDevisSearch(data_); }, "FrmDevisSearch",
                                    u"Acquisition - Recherche pré-commande", u"التزويد - البحث عن الطلبيات المسبقة",
                                    [&db] { return documentCountLine(db, AcqType::PreOrder); }});
    const Action orders = opens({[this] { return new TFrmCommandeSearch(data_); }, "FrmCommandeSearch",
                                 u"Acquisitions - Recherche commandes", u"التزويد - البحث عن الطلبيات",
                                 [&db] { return documentCountLine(db, AcqType::Order); }});
    const Action deliveries = opens({[this] { return new TFrmLivraisonSearch(data_); }, "FrmLivraisonSearch",
                                     u"Acquisition - Recherche livraisons", u"التزويد - البحث عن الاستلامات",
                                     [&db] { return deliveryCountLine(db); }});
    const Action suppliers = opens({[this] {
                                        auto *screen = new TFrmFournisseur(data_, 0);
                                        connect(screen, &TFrmFournisseur::closeRequested, this, [this] { ClearDesktopForm(); });
                                        return screen;
                                    },
                                    "FrmFournisseur", u"Acquisition - Fournisseurs", u"التزويد - الموردون",
                                    [&db] {
                                        return LookupCountText(db, QStringLiteral("FOURNISSEUR"),
                                                               tr2(QStringLiteral("Fournisseurs"), QStringLiteral("الموردون")),
                                                               tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
                                    }});
    const Action invoices = opens({[this] { return new TFrmFactureSearch(data_); }, "FrmFactureSearch",
                                   u"Acquisition - Recherche factures", u"التزويد - البحث عن الفواتير",
                                   [&db] { return invoiceCountLine(db); }});
    const Action budget = opens({[this] { return new TFrmBudget(data_); }, "FrmBudget", u"Acquisition - Gestion de budget",
                                 u"التزويد - تسيير الميزانية", [&db] { return budgetCountLine(db); }});
    const Action currencies = opens({[this] {
                                         auto *screen = new TFrmMonnaie(data_);
                                         connect(screen, &TFrmMonnaie::closeRequested, this, [this] { ClearDesktopForm(); });
                                         return screen;
                                     },
                                     "FrmMonnaie", u"Acquisition - Monnaies", u"التزويد - العملات",
                                     [&db] { return currencyCountLine(db); }});
    // Serial subscriptions and the claims to late suppliers.
    const Action subscriptions = opens({[this] { return new TFrmAbonnementSearch(data_); }, "FrmAbonnementSearch",
                                        u"Acquisitions - Recherche abonnements", u"التزويد - البحث عن الاشتراكات",
                                        [&db] { return documentCountLine(db, AcqType::Subscription); }});
    const Action claims = opens({[this] { return new TFrmAcquisitionRelance(data_); }, "FrmAcquisitionRelance",
                                 u"Acquisition - Relances fournisseurs", u"التزويد - تذكير الموردين",
                                 [&db] { return acq::claimsCountLine(qMax(0, lateSupplierCount(db, serverToday(db)))); }});
    const Action inventory = opens({[this] { return new TFrmInventairePhysique(data_); }, "InventairePhysique",
                                    u"Acquisition - Inventaire physique", u"التزويد - الجرد المادي",
                                    [&db] {
                                        return LookupCountText(db, QStringLiteral("NOTICE_EXEMPLAIRE"),
                                                               tr2(QStringLiteral("Exemplaires"), QStringLiteral("النسخ")),
                                                               tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
                                    }});
    const struct {
        const char *name;
        const char16_t *caption;
        Right right;
        Action action;
    } entries[] = {
        {"BtnPreCommandes", u"Pré-commandes", Right::AcqTransact, preOrders},
        {"BtnCommandes", u"Commandes", Right::AcqTransact, orders},
        {"BtnAbonnements", u"Abonnements", Right::AcqTransact, subscriptions},
        {"BtnLivraisons", u"Livraisons", Right::AcqTransact, deliveries},
        {"BtnFactures", u"Factures", Right::AcqTransact, invoices},
        {"BtnDons", u"Dons", Right::AcqTransact, gifts},
        {"BtnEchanges", u"Echanges", Right::AcqTransact, exchanges},
        {"BtnDepots", u"Dépôts", Right::AcqTransact, deposits},
        {"BtnBudget", u"Gestion de budget", Right::AcqBudget, budget},
        {"BtnInventaire", u"Inventaire", Right::AcqTransact, inventory},
        {"BtnFournisseurs", u"Fournisseurs", Right::AcqAdmin, suppliers},
        {"BtnMonnaies", u"Monnaies", Right::AcqAdmin, currencies},
        {"BtnRelances", u"Relances", Right::AcqAdmin, claims},
    };
    for (const auto &e : entries)
        addEntry(QLatin1String(e.name), QString::fromUtf16(e.caption), needs(e.right), e.action);
    addEntry(QStringLiteral("BtnSuggestions"), QStringLiteral("Suggestions"), {}, suggestions);
    setFirstEntries({QStringLiteral("BtnCommandes")});
}

} // namespace folian
