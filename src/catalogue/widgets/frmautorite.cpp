#include "catalogue/widgets/frmautorite.h"

#include "base/messages.h"
#include "catalogue/widgets/frmreferencelists.h"
#include "catalogue/widgets/frmvedette.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

TFrmAutorite::TFrmAutorite(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmAutorite"), QStringLiteral("Gestion des autorités"),
                 QStringLiteral("Module Autorités"), parent)
{
    setHomeTitle(QStringLiteral("Gestion des autorités"), QStringLiteral("تسيير الاستنادات"));
    addEntry(QStringLiteral("BtnVedettes"), QStringLiteral("Vedettes"), {}, [this] { Vedettes(); });
    addEntry(QStringLiteral("BtnEditeurs"), QStringLiteral("Editeurs"), {}, [this] { Editeurs(); });
    addEntry(QStringLiteral("BtnCollections"), QStringLiteral("Collections"), {}, [this] { Collections(); });
    addEntry(QStringLiteral("BtnSousCollections"), QStringLiteral("Sous collections"), {},
             [this] { SousCollections(); });
    addEntry(QStringLiteral("BtnClassifications"), QStringLiteral("Classifications"), {},
             [this] { Classifications(); });
    setFirstEntries({QStringLiteral("BtnVedettes")});
}

void TFrmAutorite::open(QWidget *list, const QString &table, const QString &frTitle, const QString &arTitle)
{
    host(list, list->objectName(), QStringLiteral("Autorités - ") + frTitle, QStringLiteral("القوائم - ") + arTitle);
    // The headings are counted as authority records.
    const bool headings = table == QLatin1String("VEDETTE");
    LookupCount(data_.db(), table, tr2(frTitle, arTitle),
                headings ? tr2(QStringLiteral("notice(s)"), QStringLiteral("مدخل"))
                         : tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

void TFrmAutorite::Vedettes()
{
    ClearDesktopForm();
    open(new TFrmVedette(data_, 0, {}, this), QStringLiteral("VEDETTE"), QStringLiteral("Notices"),
         QStringLiteral("المداخل"));
}

void TFrmAutorite::Editeurs()
{
    ClearDesktopForm();
    open(new TFrmEditeur(data_, 0, {}, this), QStringLiteral("EDITEUR"), QStringLiteral("Editeurs"),
         QStringLiteral("الناشرون"));
}

void TFrmAutorite::Collections()
{
    ClearDesktopForm();
    open(new TFrmCollection(data_, 0, {}, this), QStringLiteral("COLLECTION"), QStringLiteral("Collections"),
         QStringLiteral("السلاسل"));
}

void TFrmAutorite::SousCollections()
{
    ClearDesktopForm();
    open(new TFrmSousCollection(data_, 0, {}, {}, this), QStringLiteral("SOUS_COLLECTION"),
         QStringLiteral("Sous collections"), QStringLiteral("السلاسل الفرعية"));
}

void TFrmAutorite::Classifications()
{
    ClearDesktopForm();
    open(new TFrmClassification(data_, 0, {}, this), QStringLiteral("CLASSIFICATION"),
         QStringLiteral("Classifications"), QStringLiteral("التصنيفات"));
}

} // namespace folian
