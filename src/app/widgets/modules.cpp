#include "app/widgets/modules.h"

#include "acquisitions/widgets/frmacquisition.h"
#include "acquisitions/widgets/frmgenerate.h"
#include "admin/widgets/frmadministration.h"
#include "opac/widgets/frmopac.h"
#include "catalogue/widgets/frmautorite.h"
#include "catalogue/widgets/frmcatalogage.h"
#include "catalogue/widgets/frmnoticecatalogue.h"
#include "catalogue/widgets/noticeholdings.h"
#include "circulation/widgets/frmbibliotheque.h"
#include "circulation/widgets/frmcirculation.h"
#include "reports/widgets/frmedition.h"
#include "statistics/widgets/frmacquisitionstat.h"
#include "statistics/widgets/frmstatistique.h"

namespace folian {

void installModuleScreens()
{
    setEditionDialog(QStringLiteral("BtnGeneration"), [](TFrmData &data, QWidget *parent) {
        TFrmNoticeCatalogue dialog(data, parent);
        dialog.exec();
    });
    // The statistics, each entry on its own page.
    for (const StatisticDef &def : statisticDefs()) {
        if (def.entry.isEmpty())
            continue;
        const Statistic s = def.statistic;
        setEditionScreen(def.entry, [s](TFrmData &data, const QString &) -> QWidget * {
            if (s == Statistic::NewAcquisitions || s == Statistic::Acquisitions) {
                auto *screen = new TFrmAcquisitionStat(data);
                screen->showStatistic(s);
                return screen;
            }
            auto *screen = new TFrmStatistique(data);
            screen->showStatistic(s);
            return screen;
        });
    }
    setLibrariesScreen({[](TFrmData &data) -> QWidget * { return new TFrmBibliotheque(data); },
                        [](QWidget *screen) {
                            auto *libraries = qobject_cast<TFrmBibliotheque *>(screen);
                            return !libraries || libraries->askBeforeClosing();
                        }});
    // The record form's "Générer": the acquisitions' batch generator on the
    // record alone, its copies bought (mode of acquisition 1).
    NoticeHoldings::setGenerator([](QWidget *parent, TFrmData &data, int record, int proposed) {
        TFrmGenerate generator(data, parent);
        generator.Initialize(GenerationContext::Record, AcquisitionMode::Purchase, record);
        if (proposed > 0)
            generator.propose(proposed);
        return generator.exec() == QDialog::Accepted;
    });
}

TFrmModule *createModuleFrame(Module m, TFrmData &data, QWidget *parent)
{
    installModuleScreens();
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
