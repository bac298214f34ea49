#include "catalogue/widgets/frmcatalogage.h"

#include "base/rights.h"
#include "catalogue/widgets/frmnotice.h"

namespace folian {

TFrmCatalogage::TFrmCatalogage(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmCatalogage"), QStringLiteral("Module de catalogage"),
                 QStringLiteral("Module Catalogage"), parent)
{
    setHomeTitle(QStringLiteral("Module de catalogage"), QStringLiteral("وحدة الفهرسة"));
    addEntry(QStringLiteral("BtnRecherche"), QStringLiteral("Recherche"), {}, {});
    addEntry(QStringLiteral("BtnNouvelleNotice"), QStringLiteral("Nouvelle notice"), needs(Right::CatNotice),
             [this] { NouvelleNotice(); });
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

TFrmNotice *TFrmCatalogage::openRecordForm()
{
    auto *form = new TFrmNotice(data_);
    if (!host(form, QStringLiteral("FrmNotice"), QStringLiteral("Catalogage - Notice bibliographique"),
              QStringLiteral("الفهرسة - البطاقة الببليوغرافية")))
        return nullptr;  // the screen shown keeps work that could not be saved
    // "Enregistrer" and "Annuler" end the form's work: back to the module's desktop.
    connect(form, &TFrmNotice::finished, this, [this] { ClearDesktopForm(); }, Qt::QueuedConnection);
    return form;
}

void TFrmCatalogage::NouvelleNotice()
{
    if (TFrmNotice *form = openRecordForm())
        form->Append();
}

void TFrmCatalogage::ModifierNotice()
{
    if (TFrmNotice *form = openRecordForm())
        form->Edit();
}

TFrmNotice *TFrmCatalogage::recordForm() const { return qobject_cast<TFrmNotice *>(CurrentScreen()); }

bool TFrmCatalogage::screenClosing(QWidget *screen)
{
    if (auto *form = qobject_cast<TFrmNotice *>(screen))
        return form->leave();
    return true;
}

} // namespace folian
