#include "circulation/widgets/frmcirculation.h"

#include "base/messages.h"
#include "base/rights.h"
#include "circulation/widgets/frmcategorie.h"
#include "circulation/widgets/frmconsultation.h"
#include "circulation/widgets/frmcirculationedition.h"
#include "circulation/widgets/frmlecteur.h"
#include "circulation/widgets/frmlecteuradmin.h"
#include "circulation/widgets/frmlecteurimport.h"
#include "circulation/widgets/frmlecteursearch.h"
#include "circulation/widgets/frmpebinscription.h"
#include "circulation/widgets/frmpebretour.h"
#include "circulation/widgets/frmrelance.h"
#include "circulation/widgets/frmstructure.h"
#include "circulation/widgets/frmtransactions.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QLineEdit>

namespace folian {

namespace {
const QString kSearchFrench = QStringLiteral("Lecteur - Recherche");
const QString kSearchArabic = QStringLiteral("القراء - البحث");
} // namespace

TFrmCirculation::TFrmCirculation(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmCirculation"), QStringLiteral("Circulation"),
                 QStringLiteral("Module Circulation"), parent)
{
    setHomeTitle(QStringLiteral("Circulation"), QStringLiteral("الإعارة"));
    const Right lecteur = Right::CirculLecteur, transact = Right::CirculTransact, peb = Right::CirculPeb,
                admin = Right::CirculAdmin;
    addHeading(QStringLiteral("LblLecteurs"), QStringLiteral("Lecteurs :"));
    addEntry(QStringLiteral("BtnRecherche"), QStringLiteral("Recherche"), {}, [this] { RechercheLecteur(); });
    addEntry(QStringLiteral("BtnInscription"), QStringLiteral("Inscription"), needs(lecteur), [this] { LecteurNew(); });
    addEntry(QStringLiteral("BtnImportation"), QStringLiteral("Importation"), needs(lecteur),
             [this] { LblImportation2Click(); });
    addEntry(QStringLiteral("BtnRelance"), QStringLiteral("Relances"), needs(lecteur), [this] { Relance(); });
    addHeading(QStringLiteral("LblExemplaires"), QStringLiteral("Exemplaires"));
    addEntry(QStringLiteral("BtnPret"), QStringLiteral("Prêt externe"), needs(transact), [this] { Pret(); });
    addEntry(QStringLiteral("BtnConsultation"), QStringLiteral("Consultation sur place"), needs(transact),
             [this] { Consultation(); });
    addHeading(QStringLiteral("LblPeb"), QStringLiteral("PEB"));
    addEntry(QStringLiteral("BtnEnregistrementPeb"), QStringLiteral("Enregistrement"), needs(peb),
             [this] { EnregistrementPeb(); });
    addEntry(QStringLiteral("BtnRetourPeb"), QStringLiteral("Retour"), needs(peb), [this] { RetourPeb(); });
    addEntry(QStringLiteral("BtnRelancePeb"), QStringLiteral("Relances"), needs(peb), [this] { RelancePeb(); });
    addHeading(QStringLiteral("LblAdministration"), QStringLiteral("Administration"));
    addEntry(QStringLiteral("BtnCategories"), QStringLiteral("Catégories et règlements"), needs(admin),
             [this] { Categories(); });
    addEntry(QStringLiteral("BtnStructure"), QStringLiteral("Structure des lecteurs"), needs(admin),
             [this] { Structure(); });
    addEntry(QStringLiteral("BtnAnnulPenalite"), QStringLiteral("Annuler pénalité"), needs(admin),
             [this] { AnnulPenalite(); });
    addEntry(QStringLiteral("BtnSuspLecteur"), QStringLiteral("Suspension lecteur"), needs(admin),
             [this] { SuspLecteur(); });
    addEntry(QStringLiteral("BtnAnnulSuspension"), QStringLiteral("Annuler suspension"), needs(admin),
             [this] { AnnulSuspension(); });
    addHeading(QStringLiteral("LblEditions"), QStringLiteral("Editions"));
    addEntry(QStringLiteral("BtnEditions"), QStringLiteral("Editions"), {}, [this] { Label1Click(); });
    // The loan desk when the user may lend, else the reader search.
    setFirstEntries({QStringLiteral("BtnPret"), QStringLiteral("BtnRecherche")});
}

void TFrmCirculation::countReaders()
{
    LookupCount(data_.db(), QStringLiteral("LECTEUR"), tr2(QStringLiteral("Lecteurs"), QStringLiteral("القراء")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

void TFrmCirculation::openLists()
{
    for (const auto &l : {std::pair{data_.QCategorie, "CATEGORIE"}, std::pair{data_.QStructure, "STRUCTURE"}}) {
        if (l.first->isEditing())
            l.first->cancel();
        l.first->open(QStringLiteral("SELECT *") + QStringLiteral(" FROM ") + QLatin1String(l.second));
    }
}

void TFrmCirculation::dropKeptSearch()
{
    if (keptSearch_)
        retire(keptSearch_.data());
    keptSearch_ = nullptr;
}

bool TFrmCirculation::screenClosing(QWidget *screen)
{
    auto *form = qobject_cast<TFrmLecteur *>(screen);
    if (!form || !form->isPending())
        return true;
    // A reader half typed (a mandatory field empty) goes without a question.
    if (form->mandatoryFilled() && confirm(tr2(QStringLiteral("Sauvegardez les modifications ?"), QStringLiteral("حفظ التغييرات؟"))))
        return form->saveOnLeaving();
    form->cancelRow();
    return true;
}

void TFrmCirculation::RechercheLecteur()
{
    dropKeptSearch();
    if (!ClearDesktopForm())  // the operator kept his unsaved work
        return;
    auto *search = new TFrmLecteurSearch(data_, TFrmLecteurSearch::Mode::Manage);
    connect(search, &TFrmLecteurSearch::updateRequested, this, &TFrmCirculation::LecteurUpdate);
    connect(search, &TFrmLecteurSearch::registerRequested, this, &TFrmCirculation::LecteurNew);
    host(search, QStringLiteral("FrmLecteurSearch"), kSearchFrench, kSearchArabic);
    search->focusValue();
    countReaders();
}

void TFrmCirculation::LecteurNew()
{
    if (!entryPermitted(QStringLiteral("BtnInscription")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())  // the operator kept his unsaved work
        return;
    openLists();
    auto *form = new TFrmLecteur(data_);
    connect(form, &TFrmLecteur::finished, this, [this] { ClearDesktopForm(); });
    host(form, QStringLiteral("FrmLecteur"), QStringLiteral("Lecteur - Inscription"), QStringLiteral("القراء - التسجيل"));
    form->startNew();
    countReaders();
}

void TFrmCirculation::LecteurUpdate()
{
    auto *search = qobject_cast<TFrmLecteurSearch *>(CurrentScreen());
    if (!search || !allowed(Right::CirculLecteur, session()))
        return;
    keptSearch_ = search;
    keepScreen();
    openLists();
    auto *form = new TFrmLecteur(data_);
    connect(form, &TFrmLecteur::finished, this, &TFrmCirculation::updateEnded);
    host(form, QStringLiteral("FrmLecteur"), QStringLiteral("Lecteur - Modification du lecteur"),
         QStringLiteral("القراء - تعديل قارئ"));
    form->startUpdate();
}

void TFrmCirculation::updateEnded()
{
    TFrmLecteurSearch *search = keptSearch_.data();
    keptSearch_ = nullptr;
    if (!search) {
        ClearDesktopForm();
        return;
    }
    host(search, QStringLiteral("FrmLecteurSearch"), kSearchFrench, kSearchArabic);
    search->refresh();
    search->focusValue();
}

void TFrmCirculation::LblImportation2Click()
{
    if (!entryPermitted(QStringLiteral("BtnImportation")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())  // the operator kept his unsaved work
        return;
    openLists();
    host(new TFrmLecteurImport(data_), QStringLiteral("FrmLecteurImport"), QStringLiteral("Lecteurs - Importation"),
         QStringLiteral("القراء - الاستيراد"));
    countReaders();
}

void TFrmCirculation::Categories()
{
    if (!entryPermitted(QStringLiteral("BtnCategories")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())  // the operator kept his unsaved work
        return;
    auto *screen = new TFrmCategorie(data_);
    connect(screen, &ListEditScreen::closeRequested, this, [this] { ClearDesktopForm(); });
    host(screen, QString(), QStringLiteral("Administration - Catégorie et règlement"),
         QStringLiteral("الإدارة - الفئات والقوانين"));
    screen->searchKey()->setFocus();
    LookupCount(data_.db(), QStringLiteral("CATEGORIE"), tr2(QStringLiteral("Catégories"), QStringLiteral("الفئات")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

void TFrmCirculation::Structure()
{
    if (!entryPermitted(QStringLiteral("BtnStructure")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())  // the operator kept his unsaved work
        return;
    auto *screen = new TFrmStructure(data_);
    connect(screen, &ListEditScreen::closeRequested, this, [this] { ClearDesktopForm(); });
    host(screen, QString(), QStringLiteral("Administration - Structure"), QStringLiteral("الإدارة - الهياكل"));
    screen->searchKey()->setFocus();
    LookupCount(data_.db(), QStringLiteral("STRUCTURE"), tr2(QStringLiteral("Structures"), QStringLiteral("الهياكل")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

void TFrmCirculation::administration(AdminAction action)
{
    if (!allowed(Right::CirculAdmin, session()))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())  // the operator kept his unsaved work
        return;
    static const struct {
        const char16_t *french, *arabic;
    } titles[] = {{u"Administration - Annuler une pénalité", u"الإدارة - إلغاء عقوبة"},
                  {u"Administration - Suspension lecteur", u"الإدارة - توقيف قارئ"},
                  {u"Administration - Annuler une suspension", u"الإدارة - إلغاء توقيف"}};
    const auto &t = titles[int(action)];
    auto *screen = new TFrmLecteurAdmin(data_, action);
    host(screen, QStringLiteral("FrmLecteurAdmin"), QString::fromUtf16(t.french), QString::fromUtf16(t.arabic));
    screen->focusReader();
    countReaders();
}

void TFrmCirculation::Pret()
{
    if (!entryPermitted(QStringLiteral("BtnPret")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())
        return;
    if (!data_.QNotice->isEditing())
        data_.QNotice->close();
    auto *desk = new TFrmTransactions(data_);
    host(desk, QStringLiteral("FrmTransactions"), QStringLiteral("Exemplaires - Transactions"),
         QStringLiteral("النسخ - المعاملات"));
    desk->Pret();
    countReaders();
}

void TFrmCirculation::Consultation()
{
    if (!entryPermitted(QStringLiteral("BtnConsultation")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())
        return;
    auto *screen = new TFrmConsultation(data_);
    host(screen, QStringLiteral("FrmConsultation"), QStringLiteral("Consultation sur place - Enregistrement"),
         QStringLiteral("الاطلاع الداخلي - التسجيل"));
    screen->Pret();
    countReaders();
}

void TFrmCirculation::EnregistrementPeb()
{
    if (!entryPermitted(QStringLiteral("BtnEnregistrementPeb")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())
        return;
    auto *screen = new TFrmPEBInscription(data_);
    host(screen, QStringLiteral("FrmPEBInscription"), QStringLiteral("PEB - Enregistrement"),
         QStringLiteral("الإعارة بين المكتبات - التسجيل"));
    screen->focusReader();
    countReaders();
}

void TFrmCirculation::RetourPeb()
{
    if (!entryPermitted(QStringLiteral("BtnRetourPeb")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())
        return;
    auto *screen = new TFrmPEBRetour(data_);
    host(screen, QStringLiteral("FrmPEBRetour"), QStringLiteral("PEB - Retour"),
         QStringLiteral("الإعارة بين المكتبات - الإرجاع"));
    screen->focusCopy();
    countReaders();
}

void TFrmCirculation::reminders(ReminderKind kind)
{
    const bool loans = kind == ReminderKind::Loans;
    if (!entryPermitted(loans ? QStringLiteral("BtnRelance") : QStringLiteral("BtnRelancePeb")))
        return;
    dropKeptSearch();
    if (!ClearDesktopForm())
        return;
    // The keys of the main window reach neither tab.
    host(new TFrmRelance(data_, kind), loans ? QStringLiteral("FrmRelance") : QString(),
         loans ? QStringLiteral("Lecteur - Relance") : QStringLiteral("PEB - Relance"),
         loans ? QStringLiteral("القراء - التذكير") : QStringLiteral("الإعارة بين المكتبات - التذكير"));
}

void TFrmCirculation::Label1Click()
{
    dropKeptSearch();
    if (!ClearDesktopForm())
        return;
    auto *screen = new TFrmCirculationEdition(data_);
    host(screen, QString(), QStringLiteral("Circulation - Editions"), QStringLiteral("الإعارة - التقارير"));
    screen->focusFirstButton();
    countReaders();
}

} // namespace folian
