#include "opac/core/opactexts.h"

#include <QLocale>

namespace folian::opac {

namespace {

const Words kFrench{
    u"fr", u"ltr", u"Catalogue de la bibliothèque", u"العربية", u"ar",
    u"Rechercher", u"Nouvelle recherche",
    u"Titre", u"Auteur", u"Sujet", u"ISBN / ISSN", u"Type de document", u"Langue", u"Tous les types",
    u"Toutes les langues",
    u"Saisissez au moins un critère de recherche.",
    u"Aucune notice ne répond à la recherche.",
    u"Page précédente", u"Page suivante",
    u"Année", u"Disponibilité",
    u"Exemplaires", u"N° exemplaire", u"Cote", u"Localisation", u"Statut", u"Retour prévu",
    u"Aucun exemplaire.",
    u"disponible", u"disponible, consultation sur place", u"en consultation", u"réservé",
    u"Requête refusée", u"Page introuvable", u"Catalogue indisponible pour le moment, réessayez plus tard.",
    u"Retour à la recherche"};

const Words kArabic{
    u"ar", u"rtl", u"فهرس المكتبة", u"Français", u"fr",
    u"بحث", u"بحث جديد",
    u"العنوان", u"المؤلف", u"الموضوع", u"ر.د.م.ك / ر.د.م.د", u"نوع الوثيقة", u"اللغة", u"كل الأنواع",
    u"كل اللغات",
    u"أدخل معيار بحث واحدا على الأقل.",
    u"لا توجد تسجيلة توافق البحث.",
    u"الصفحة السابقة", u"الصفحة التالية",
    u"السنة", u"الإتاحة",
    u"النسخ", u"رقم النسخة", u"رمز الترفيف", u"المكان", u"الحالة", u"تاريخ الإرجاع",
    u"لا توجد نسخ.",
    u"متوفرة", u"متوفرة، للمطالعة الداخلية", u"قيد المطالعة", u"محجوزة",
    u"طلب مرفوض", u"الصفحة غير موجودة", u"الفهرس غير متاح حاليا، أعد المحاولة لاحقا.",
    u"العودة إلى البحث"};

} // namespace

const Words &words(bool arabic) { return arabic ? kArabic : kFrench; }

QString text(const char16_t *word) { return QString::fromUtf16(word); }

QString foundCount(qint64 count, bool arabic, bool more)
{
    if (arabic)
        return more ? QStringLiteral("عدد التسجيلات: أكثر من %1").arg(count) : QStringLiteral("عدد التسجيلات: %1").arg(count);
    if (more)
        return QStringLiteral("plus de %1 notices trouvées").arg(QLocale(QLocale::French).toString(count));
    return count == 1 ? QStringLiteral("1 notice trouvée") : QStringLiteral("%1 notices trouvées").arg(count);
}

QString pageOf(int page, int pages, bool arabic, bool more)
{
    if (more)
        return arabic ? QStringLiteral("الصفحة %1 من الصفحات %2 الأولى").arg(page).arg(pages)
                      : QStringLiteral("page %1 des %2 premières").arg(page).arg(pages);
    return arabic ? QStringLiteral("الصفحة %1 من %2").arg(page).arg(pages)
                  : QStringLiteral("page %1 sur %2").arg(page).arg(pages);
}

QString shownDate(const QDate &date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

QString onLoanUntil(const QDate &due, bool arabic)
{
    if (!due.isValid())
        return arabic ? QStringLiteral("معارة") : QStringLiteral("en prêt");
    return (arabic ? QStringLiteral("معارة إلى غاية ") : QStringLiteral("en prêt jusqu'au ")) + shownDate(due);
}

QString tooLong(bool arabic)
{
    return arabic ? QStringLiteral("الطلب أو أحد معاييره طويل جدا.")
                  : QStringLiteral("La requête ou l'un de ses critères est trop long.");
}

QString tooManyWords(bool arabic)
{
    return arabic ? QStringLiteral("أحد المعايير يحتوي على كلمات كثيرة جدا.")
                  : QStringLiteral("Un critère contient trop de mots.");
}

QString badPage(bool arabic)
{
    return arabic ? QStringLiteral("رقم الصفحة غير صالح.") : QStringLiteral("Le numéro de page n'est pas valide.");
}

QString badCode(bool arabic)
{
    return arabic ? QStringLiteral("نوع الوثيقة أو اللغة غير صالح.")
                  : QStringLiteral("Le type de document ou la langue n'est pas valide.");
}

QString badRecord(bool arabic)
{
    return arabic ? QStringLiteral("رقم التسجيلة غير صالح.") : QStringLiteral("Le numéro de notice n'est pas valide.");
}

QString badMethod(bool arabic)
{
    return arabic ? QStringLiteral("هذا الفهرس يقبل القراءة فقط.")
                  : QStringLiteral("Ce catalogue se consulte seulement.");
}

} // namespace folian::opac
