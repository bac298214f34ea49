#include "catalogue/widgets/frmcatalogage.h"

#include "base/rights.h"
#include "catalogue/copy/widgets/frmnoticecopie.h"
#include "catalogue/core/recordresult.h"
#include "catalogue/unimarc/widgets/frmnoticeimport.h"
#include "catalogue/widgets/frmnotice.h"
#include "catalogue/widgets/frmnoticeadmin.h"
#include "catalogue/widgets/frmnoticesearch.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

namespace folian {

TFrmCatalogage::TFrmCatalogage(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmCatalogage"), QStringLiteral("Module de catalogage"),
                 QStringLiteral("Module Catalogage"), parent)
{
    setHomeTitle(QStringLiteral("Module de catalogage"), QStringLiteral("وحدة الفهرسة"));
    addEntry(QStringLiteral("BtnRecherche"), QStringLiteral("Recherche"), {}, [this] { Recherche(); });
    addEntry(QStringLiteral("BtnNouvelleNotice"), QStringLiteral("Nouvelle notice"), needs(Right::CatNotice),
             [this] { NouvelleNotice(); });
    addEntry(QStringLiteral("BtnImportation"), QStringLiteral("Importation"), needs(Right::CatImport),
             [this] { Importation(); });
    addEntry(QStringLiteral("BtnCopie"), QStringLiteral("Copie de notices"), {}, [this] { CopieNotices(); });
    const struct {
        const char *name;
        const char16_t *caption;
        NoticeAdminPage page;
    } lists[] = {
        {"BtnTypesDocuments", u"Types de documents", NoticeAdminPage::DocumentTypes},
        {"BtnTypesSupports", u"Types de supports", NoticeAdminPage::Supports},
        {"BtnLangues", u"Langues", NoticeAdminPage::Languages},
        {"BtnPays", u"Pays", NoticeAdminPage::Countries},
        {"BtnPeriodicites", u"Périodicités", NoticeAdminPage::Periodicities},
        {"BtnFonctions", u"Fonctions auteurs", NoticeAdminPage::Functions},
        {"BtnDiplomes", u"Diplômes", NoticeAdminPage::Diplomas},
        {"BtnSpecialites", u"Spécialités", NoticeAdminPage::Specialities},
        {"BtnLocalisations", u"Localisations", NoticeAdminPage::Locations},
    };
    for (const auto &e : lists) {
        const NoticeAdminPage page = e.page;
        addEntry(QLatin1String(e.name), QString::fromUtf16(e.caption), needs(Right::CatAdmin),
                 [this, page] { ReferenceList(page); });
    }
    setFirstEntries({QStringLiteral("BtnRecherche")});
}

namespace {
const QString kSearchFrench = QStringLiteral("Catalogage - Recherche");
const QString kSearchArabic = QStringLiteral("الفهرسة - البحث");
} // namespace

bool TFrmCatalogage::leaveScreen()
{
    if (!ClearDesktopForm())
        return false;  // the screen shown keeps work that could not be saved
    if (TFrmNoticeSearch *kept = keptSearch_.data()) {
        keptSearch_ = nullptr;
        retire(kept);
    }
    return true;
}

void TFrmCatalogage::Recherche()
{
    if (!leaveScreen())
        return;
    auto *search = new TFrmNoticeSearch(data_);
    connect(search, &TFrmNoticeSearch::editRequested, this, &TFrmCatalogage::ModifierNotice);
    host(search, QStringLiteral("FrmNoticeSearch"), kSearchFrench, kSearchArabic);
}

TFrmNotice *TFrmCatalogage::openRecordForm()
{
    auto *form = new TFrmNotice(data_);
    if (!host(form, QStringLiteral("FrmNotice"), QStringLiteral("Catalogage - Notice bibliographique"),
              QStringLiteral("الفهرسة - البطاقة الببليوغرافية")))
        return nullptr;  // the screen shown keeps work that could not be saved
    // "Enregistrer" and "Annuler" end the form's work: back to the search it
    // came from, or to the module's desktop.
    connect(form, &TFrmNotice::finished, this, &TFrmCatalogage::editEnded, Qt::QueuedConnection);
    return form;
}

void TFrmCatalogage::NouvelleNotice()
{
    if (!leaveScreen())
        return;
    if (TFrmNotice *form = openRecordForm())
        form->Append();
}

void TFrmCatalogage::ModifierNotice()
{
    if (TFrmNoticeSearch *search = recordSearch()) {
        keptSearch_ = search;
        keepScreen();
    } else if (!leaveScreen()) {
        return;
    }
    if (TFrmNotice *form = openRecordForm())
        form->Edit();
}

void TFrmCatalogage::editEnded()
{
    TFrmNoticeSearch *search = keptSearch_.data();
    keptSearch_ = nullptr;
    if (!ClearDesktopForm() || !search) {
        if (search)
            retire(search);
        return;
    }
    host(search, QStringLiteral("FrmNoticeSearch"), kSearchFrench, kSearchArabic);
    search->refreshCurrent();
}

void TFrmCatalogage::Importation()
{
    if (!leaveScreen())
        return;
    host(createNoticeImportScreen(data_), QStringLiteral("FrmNoticeImport"), QStringLiteral("Catalogage - Importation"),
         QStringLiteral("الفهرسة - الاستيراد"));
}

void TFrmCatalogage::CopieNotices()
{
    if (!leaveScreen())
        return;
    auto *copy = new TFrmNoticeCopie(data_);
    // The record form replaces the screen once its click has returned.
    connect(
        copy, &TFrmNoticeCopie::editRequested, this,
        [this](int docId) {
            if (!leaveScreen())
                return;
            SqlCondition one = emptyRecordResult();
            one.binds = {docId};
            data_.QNotice->open(one.sql, one.binds);
            if (TFrmNotice *form = openRecordForm())
                form->Edit();
        },
        Qt::QueuedConnection);
    host(copy, QStringLiteral("FrmNoticeCopie"), QStringLiteral("Catalogage - Copie de notices"),
         QStringLiteral("الفهرسة - نسخ التسجيلات"));
}

void TFrmCatalogage::ReferenceList(NoticeAdminPage page)
{
    if (!leaveScreen())
        return;
    host(createNoticeAdmin(data_, page), QStringLiteral("FrmNoticeAdmin"), noticeAdminTitle(page, false),
         noticeAdminTitle(page, true));
}

TFrmNotice *TFrmCatalogage::recordForm() const { return qobject_cast<TFrmNotice *>(CurrentScreen()); }

TFrmNoticeSearch *TFrmCatalogage::recordSearch() const { return qobject_cast<TFrmNoticeSearch *>(CurrentScreen()); }

bool TFrmCatalogage::screenClosing(QWidget *screen)
{
    if (auto *form = qobject_cast<TFrmNotice *>(screen))
        return form->leave();
    return true;
}

} // namespace folian
