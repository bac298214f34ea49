#include "opac/widgets/frmopac.h"

#include "base/session.h"
#include "opac/core/opacaddress.h"
#include "opac/widgets/opacbrowser.h"

namespace folian {

TFrmOPAC::TFrmOPAC(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmOPAC"), QStringLiteral("Navigateur Web"),
                 QStringLiteral("Navigateur Web"), parent),
      browser_(new OpacBrowser)
{
    setHomeTitle(QStringLiteral("Navigateur Web"), QStringLiteral("متصفح الويب"));
    setRoutesKeys(false);
    // Without an embedded view only the start page has something to open.
    const bool embedded = browser_->embedded();
    auto navigation = [embedded](void (OpacBrowser::*step)(), OpacBrowser *b) -> Action {
        if (!embedded)
            return {};
        return [b, step] { (b->*step)(); };
    };
    addEntry(QStringLiteral("BtnPrevious"), QStringLiteral("Précédent"), {}, navigation(&OpacBrowser::Previous, browser_));
    addEntry(QStringLiteral("BtnNext"), QStringLiteral("Suivant"), {}, navigation(&OpacBrowser::Next, browser_));
    addEntry(QStringLiteral("BtnStop"), QStringLiteral("Arréter"), {}, navigation(&OpacBrowser::Stop, browser_));
    addEntry(QStringLiteral("BtnRefresh"), QStringLiteral("Actualiser"), {}, navigation(&OpacBrowser::Refresh, browser_));
    addEntry(QStringLiteral("BtnHome"), QStringLiteral("Démarrage"), {}, [this] { Home(); });
    host(browser_, QString(), QStringLiteral("Navigateur Web"), QStringLiteral("متصفح الويب"));
    FormCreate();
}

QString TFrmOPAC::StartAddress()
{
    const Session &s = session();
    return opacStartAddress(s.DbServer, s.OpacDirectory, s.OpacAddress);
}

void TFrmOPAC::FormCreate() { browser_->Navigate(StartAddress()); }

void TFrmOPAC::Home() { browser_->Navigate(StartAddress()); }

} // namespace folian
