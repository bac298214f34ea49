#include "acquisitions/core/inventorytexts.h"

#include "acquisitions/core/acqtexts.h"

namespace folian::inv {

namespace {

QString t(const char16_t *french, const char16_t *arabic) { return acq::text(french, arabic); }

} // namespace

QString searchResult() { return t(u" Résultat de recherche", u" نتيجة البحث"); }

QString copiesCount(qint64 count)
{
    return u' ' + QString::number(count) + t(u" exemplaire(s)", u" نسخة");
}

QString position(int row, qint64 count) { return QString::number(row) + QStringLiteral(" / ") + QString::number(count); }

QString flagLabel(bool found) { return found ? t(u"Oui", u"نعم") : t(u"Non", u"لا"); }

QString copyGone(const QString &copy)
{
    return t(u"L'exemplaire %1 n'existe plus : un autre poste l'a supprimé.", u"النسخة %1 لم تعد موجودة: حذفها مركز آخر.")
        .arg(copy);
}

QString flagChanged(const QString &copy, bool nowFound)
{
    return t(u"Un autre poste vient de modifier l'exemplaire %1 : il est maintenant « %2 ». Rien n'a été changé.",
             u"قام مركز آخر بتعديل النسخة %1: هي الآن « %2 ». لم يتم أي تغيير.")
        .arg(copy, flagLabel(nowFound));
}

QString criterionRequired()
{
    return t(u"Une campagne d'inventaire porte sur une sélection : donnez au moins un critère.",
             u"تخص حملة الجرد انتقاء محددا: أدخل معيارا واحدا على الأقل.");
}

QString startQuestion(qint64 selection)
{
    return t(u"Ouvrir une campagne d'inventaire sur les %1 exemplaire(s) sélectionné(s) ? Ils seront tous marqués « non trouvé » "
             u"jusqu'à leur lecture.",
             u"فتح حملة جرد على %1 نسخة منتقاة؟ ستوسم كلها « غير موجودة » إلى غاية قراءتها.")
        .arg(selection);
}

QString noCampaign()
{
    return t(u"Aucune campagne d'inventaire n'est ouverte.", u"لا توجد حملة جرد مفتوحة.");
}

QString campaignUnknown(int campaign)
{
    return t(u"La campagne d'inventaire %1 n'existe pas.", u"حملة الجرد %1 غير موجودة.").arg(campaign);
}

QString campaignStarted(int campaign, qint64 selection)
{
    return t(u"Campagne %1 ouverte : %2 exemplaire(s) à retrouver.", u"تم فتح الحملة %1: %2 نسخة للجرد.")
        .arg(campaign)
        .arg(selection);
}

QString fileUnreadable(const QString &path)
{
    return t(u"Le fichier %1 ne peut pas être lu.", u"لا يمكن قراءة الملف %1.").arg(path);
}

QString scanSummary(int found, int unknown, int duplicates, int misplaced, int lent)
{
    return t(u"Trouvés : %1 ; inconnus : %2 ; lus deux fois : %3 ; hors sélection : %4 ; en prêt : %5",
             u"موجودة: %1 ؛ غير معروفة: %2 ؛ مقروءة مرتين: %3 ؛ خارج الانتقاء: %4 ؛ معارة: %5")
        .arg(found)
        .arg(unknown)
        .arg(duplicates)
        .arg(misplaced)
        .arg(lent);
}

QString statusSummary(qint64 selection, qint64 found, qint64 notFound, qint64 misplaced)
{
    return t(u"Sélection : %1 ; trouvés : %2 ; non trouvés : %3 ; hors sélection : %4",
             u"الانتقاء: %1 ؛ موجودة: %2 ؛ غير موجودة: %3 ؛ خارج الانتقاء: %4")
        .arg(selection)
        .arg(found)
        .arg(notFound)
        .arg(misplaced);
}

QString stoppedAfter(int lines)
{
    return t(u"Lecture arrêtée après %1 ligne(s) : les lignes suivantes n'ont pas été lues.",
             u"توقفت القراءة بعد %1 سطر: لم تتم قراءة الأسطر الموالية.")
        .arg(lines);
}

QString registerTitle() { return t(u"Inventaire", u"سجل الجرد"); }
QString checkTitle() { return t(u"Inventaire physique", u"الجرد المادي"); }
QString discrepanciesTitle() { return t(u"Ecarts d'inventaire", u"فوارق الجرد"); }
QString campaignTitle() { return t(u"Campagne d'inventaire", u"حملة الجرد"); }

} // namespace folian::inv
