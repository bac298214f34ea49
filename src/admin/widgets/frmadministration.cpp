#include "admin/widgets/frmadministration.h"

#include "admin/core/administration.h"
#include "admin/widgets/frmcatalogue.h"
#include "admin/widgets/frmparametre.h"
#include "admin/widgets/frmsauvegarde.h"
#include "admin/widgets/frmutilisateur.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <QApplication>

namespace folian {

namespace {
AdministrationScreen &librariesScreen()
{
    static AdministrationScreen screen;
    return screen;
}
} // namespace

void setLibrariesScreen(AdministrationScreen screen) { librariesScreen() = std::move(screen); }

TFrmAdministration::TFrmAdministration(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmAdministration"), QStringLiteral("Administration"),
                 QStringLiteral("Module Administration"), parent)
{
    setHomeTitle(QStringLiteral("Administration"), QStringLiteral("الإدارة"));
    addEntry(QStringLiteral("BtnUtilisateurs"), QStringLiteral("Utilisateurs"), {}, [this] { Utilisateurs(); });
    addEntry(QStringLiteral("BtnBibliotheques"), QStringLiteral("Bibliothèques"), {},
             librariesScreen().create ? Action([this] { Bibliotheques(); }) : Action());
    addEntry(QStringLiteral("BtnInitialisation"), QStringLiteral("Initialisation"), {}, [this] { Initialisation(); });
    addEntry(QStringLiteral("BtnConstitution"), QStringLiteral("Constitution"), {}, [this] { Constitution(); });
    addEntry(QStringLiteral("BtnParametres"), QStringLiteral("Paramètres"), {}, [this] { Parametres(); });
    addEntry(QStringLiteral("BtnSauvegarde"), QStringLiteral("Sauvegarde"), {}, [this] { Sauvegarde(); });
    addEntry(QStringLiteral("BtnCatalogueCollectif"), QStringLiteral("Catalogue Collectif"), {}, {});
    addEntry(QStringLiteral("BtnStatistiques"), QStringLiteral("Statistiques"), {}, {});
}

bool TFrmAdministration::screenClosing(QWidget *screen)
{
    const AdministrationScreen &libraries = librariesScreen();
    return screen != libraries_ || !libraries.closing || libraries.closing(screen);
}

void TFrmAdministration::Utilisateurs()
{
    if (!ClearDesktopForm())  // the operator kept his unsaved work
        return;
    data_.QUtilisateur->open(QStringLiteral("SELECT *") + QStringLiteral(" FROM UTILISATEUR"));  // errors ignored
    host(new TFrmUtilisateur(data_, this), QStringLiteral("FrmUtilisateur"),
         QStringLiteral("Administration - Utilisateurs"), QStringLiteral("الإدارة -المستخدمين"));
}

void TFrmAdministration::Bibliotheques()
{
    if (!ClearDesktopForm())
        return;
    libraries_ = librariesScreen().create(data_);
    host(libraries_, QStringLiteral("FrmBibliotheque"), QStringLiteral("Administration - Bibliothèques"),
         QStringLiteral("الإدارة - المكتبات"));
    LookupCount(data_.db(), QStringLiteral("BIBLIOTHEQUE"), tr2(QStringLiteral("Bibliothèques"), QStringLiteral("المكتبات")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

void TFrmAdministration::Initialisation()
{
    if (!ClearDesktopForm())
        return;
    setTitle(QStringLiteral("Administration - Initialisation des Statistiques de Prêt"),
             QStringLiteral("الإدارة -إفراغ الإحصاءات"));
    if (!confirmIrreversible(tr2(QStringLiteral("Etes-vous sûr de vouloir initialiser les Statistiques de prêt? "),
                     QStringLiteral(" هل أنت متأكد من إفراغ الإحصاءات؟  "))))
        return;
    QString why;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = ResetLoanStatistics(data_.db(), &why);
    QApplication::restoreOverrideCursor();
    if (ok)
        inform(tr2(QStringLiteral("L'initialisation des statistiques de prêt est terminer avec succès"),
                   QStringLiteral("عملية إفراغ الإحصاءات تمت بنجاح")));
    else
        error(tr2(QStringLiteral("L'initialisation des statistiques de prêt a échoué."),
                  QStringLiteral("فشلت عملية إفراغ الإحصاءات.")) + u'\n' + why);
}

void TFrmAdministration::Constitution()
{
    host(new TFrmCatalogue(data_, this), QStringLiteral("FrmCatalogue"), QStringLiteral("Administration - Catalogue Collectif"),
         QStringLiteral("الإدارة - الفهرس المشترك"));
}

void TFrmAdministration::Sauvegarde()
{
    if (!ClearDesktopForm())
        return;
    host(new TFrmSauvegarde(data_.db(), this), QStringLiteral("FrmSauvegarde"), QStringLiteral("Administration - Sauvegarde"),
         QStringLiteral("الإدارة - النسخ الاحتياطي"));
}

void TFrmAdministration::Parametres()
{
    TFrmParametre dialog(data_, this);
    dialog.exec();
}

} // namespace folian
