#include "acquisitions/widgets/frmacquisition.h"

#include "base/rights.h"

namespace folian {

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

} // namespace folian
