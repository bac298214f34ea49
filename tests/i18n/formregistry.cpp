#include "formregistry.h"

#include "admin/widgets/frmdetailuser.h"
#include "admin/widgets/frmexception.h"
#include "admin/widgets/frmlogon.h"
#include "admin/widgets/frmparametre.h"
#include "admin/widgets/frmutilisateur.h"
#include "app/widgets/frmmain.h"
#include "app/widgets/modules.h"
#include "catalogue/unimarc/widgets/frmnoticeimport.h"
#include "catalogue/unimarc/widgets/frmnoticepreview.h"
#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "data/core/shareddata.h"
#include "reports/widgets/frmhtmlpreview.h"

namespace folian::test {

namespace {

template <typename F>
RegisteredForm form(const char *name, F make)
{
    return {QLatin1String(name), [make](TFrmData &d) { return std::unique_ptr<QWidget>(make(d)); }};
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
        module("FrmAcquisition", Module::Acquisition),
        module("FrmCatalogage", Module::Catalogage),
        module("FrmAutorite", Module::Autorite),
        module("FrmCirculation", Module::Circulation),
        module("FrmEdition", Module::Edition),
        module("FrmAdministration", Module::Administration),
        module("FrmOPAC", Module::Opac),
        form("FrmHTMLPreview", [](TFrmData &) { return new TFrmHTMLPreview; }),
        form("FrmLogOn", [](TFrmData &d) { return new TFrmLogOn(d); }),
        form("FrmNoticeImport", [](TFrmData &d) { return createNoticeImportScreen(d); }),
        form("FrmNoticeView", [](TFrmData &d) { return new TFrmNoticeView(d); }),
        form("FrmNoticePreview", [](TFrmData &d) { return new TFrmNoticePreview(d); }),
        form("FrmUtilisateur", [](TFrmData &d) { return new TFrmUtilisateur(d); }),
        form("FrmDetailUser", [](TFrmData &d) { return new TFrmDetailUser(d, 0); }),
        form("FrmParametre", [](TFrmData &d) { return new TFrmParametre(d); }),
        form("FrmException",
             [](TFrmData &d) {
                 d.QException->open(QStringLiteral("SELECT * FROM JOUR_EXCEPTION"));
                 d.QException->append();
                 auto *w = new TFrmException(d, QStringLiteral("Exception"));
                 return w;
             }),
    };
}

} // namespace folian::test
