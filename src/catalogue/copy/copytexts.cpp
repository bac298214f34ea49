#include "catalogue/copy/copytexts.h"

#include "base/messages.h"

namespace folian::copy {

QString targetNameRequired()
{
    return tr2(QStringLiteral("Donnez le nom de la cible."), QStringLiteral("أدخل اسم الهدف."));
}

QString targetNameTaken(const QString &name)
{
    return tr2(QStringLiteral("La cible \"%1\" existe déjà."), QStringLiteral("الهدف \"%1\" موجود من قبل.")).arg(name);
}

QString targetNotFound(const QString &name)
{
    return tr2(QStringLiteral("La cible \"%1\" n'existe pas."), QStringLiteral("الهدف \"%1\" غير موجود.")).arg(name);
}

QString noTarget()
{
    return tr2(QStringLiteral("Aucune cible : un responsable du catalogage ou l'administrateur en ajoute une."),
               QStringLiteral("لا يوجد أي هدف: يضيفه مسؤول الفهرسة أو المدير."));
}

QString targetAddressInvalid(const QString &address)
{
    return tr2(QStringLiteral("L'adresse \"%1\" n'est pas valide : une adresse SRU commence par http:// ou "
                              "https://, une adresse Z39.50 s'écrit HOTE:PORT/BASE."),
               QStringLiteral("العنوان \"%1\" غير صالح: عنوان SRU يبدأ بـ http:// أو https://، وعنوان Z39.50 "
                              "يكتب HOTE:PORT/BASE."))
        .arg(address);
}

QString targetTimeoutInvalid(const QString &typed)
{
    return tr2(QStringLiteral("Le délai \"%1\" n'est pas valide : un nombre de secondes de 1 à 300."),
               QStringLiteral("المهلة \"%1\" غير صالحة: عدد من الثواني من 1 إلى 300."))
        .arg(typed);
}

QString charsetUnknown(const QString &typed)
{
    return tr2(QStringLiteral("Jeu de caractères inconnu : \"%1\" (UTF-8, ISO-5426 ou ISO-646)."),
               QStringLiteral("مجموعة محارف غير معروفة: \"%1\" (UTF-8, ISO-5426 أو ISO-646)."))
        .arg(typed);
}

QString indexSetUnknown(const QString &typed)
{
    return tr2(QStringLiteral("Jeu d'index inconnu : \"%1\" (dc ou bib)."),
               QStringLiteral("مجموعة فهارس غير معروفة: \"%1\" (dc أو bib).")).arg(typed);
}

QString marc21Refused()
{
    return tr2(QStringLiteral("Les notices MARC 21 ne peuvent pas être importées : seul le format UNIMARC est "
                              "accepté (aucune conversion de MARC 21 en UNIMARC n'est disponible)."),
               QStringLiteral("لا يمكن استيراد تسجيلات MARC 21: لا يقبل إلا شكل UNIMARC (لا يتوفر أي تحويل من "
                              "MARC 21 إلى UNIMARC)."));
}

QString syntaxUnknown(const QString &typed)
{
    return tr2(QStringLiteral("Format de notices inconnu : \"%1\" (UNIMARC)."),
               QStringLiteral("شكل تسجيلات غير معروف: \"%1\" (UNIMARC).")).arg(typed);
}

QString targetAdded(const QString &name)
{
    return tr2(QStringLiteral("Cible \"%1\" ajoutée."), QStringLiteral("تمت إضافة الهدف \"%1\".")).arg(name);
}

QString targetDeleted(const QString &name)
{
    return tr2(QStringLiteral("Cible \"%1\" supprimée."), QStringLiteral("تم حذف الهدف \"%1\".")).arg(name);
}

QString criterionRequired()
{
    return tr2(QStringLiteral("Donnez un ISBN ou un ISSN, des mots du titre ou un auteur."),
               QStringLiteral("أدخل ردمك أو ردمد أو كلمات من العنوان أو مؤلفا."));
}

QString limitInvalid(const QString &typed)
{
    return tr2(QStringLiteral("Le nombre de notices \"%1\" n'est pas valide : de 1 à 100."),
               QStringLiteral("عدد التسجيلات \"%1\" غير صالح: من 1 إلى 100.")).arg(typed);
}

QString unreachable(const QString &target, const QString &detail)
{
    return tr2(QStringLiteral("La cible \"%1\" ne répond pas : connexion impossible (%2)."),
               QStringLiteral("الهدف \"%1\" لا يستجيب: تعذر الاتصال (%2)."))
        .arg(target, detail);
}

QString timedOut(const QString &target, int seconds)
{
    return tr2(QStringLiteral("La cible \"%1\" n'a pas répondu dans le délai de %2 secondes."),
               QStringLiteral("لم يستجب الهدف \"%1\" في مهلة %2 ثانية."))
        .arg(target)
        .arg(seconds);
}

QString diagnostic(const QString &target, int code, const QString &text)
{
    return tr2(QStringLiteral("La cible \"%1\" a refusé la recherche (diagnostic %2) : %3"),
               QStringLiteral("رفض الهدف \"%1\" البحث (التشخيص %2): %3"))
        .arg(target)
        .arg(code)
        .arg(text);
}

QString protocolFailure(const QString &target, const QString &detail)
{
    return tr2(QStringLiteral("Échange avec la cible \"%1\" impossible : %2"),
               QStringLiteral("تعذر التبادل مع الهدف \"%1\": %2"))
        .arg(target, detail);
}

QString stopped() { return tr2(QStringLiteral("Recherche interrompue."), QStringLiteral("توقف البحث.")); }

QString marc21Record()
{
    return tr2(QStringLiteral("Notice MARC 21 : non importable (seul UNIMARC est accepté)."),
               QStringLiteral("تسجيلة MARC 21: لا يمكن استيرادها (لا يقبل إلا UNIMARC)."));
}

QString malformedRecord(const QString &reason)
{
    return tr2(QStringLiteral("Notice illisible : %1"), QStringLiteral("تسجيلة غير مقروءة: %1")).arg(reason);
}

QString emptyRecord()
{
    return tr2(QStringLiteral("La cible n'a pas envoyé cette notice."), QStringLiteral("لم يرسل الهدف هذه التسجيلة."));
}

QString untitledRecord()
{
    return tr2(QStringLiteral("Notice sans titre propre : non importable."),
               QStringLiteral("تسجيلة بدون عنوان أصلي: لا يمكن استيرادها."));
}

QString foundCount(int shown, qint64 hits)
{
    return tr2(QStringLiteral("%1 notice(s) trouvée(s), %2 affichée(s)."),
               QStringLiteral("%1 تسجيلة موجودة، %2 معروضة."))
        .arg(hits)
        .arg(shown);
}

QString recordImported(int key)
{
    return tr2(QStringLiteral("Notice importée (n° %1)."), QStringLiteral("تم استيراد التسجيلة (رقم %1).")).arg(key);
}

QString recordDuplicate(const QString &title, int key)
{
    return tr2(QStringLiteral("La notice \"%1\" existe déjà dans le catalogue (n° %2) : elle n'est pas importée."),
               QStringLiteral("التسجيلة \"%1\" موجودة في الفهرس (رقم %2): لم يتم استيرادها."))
        .arg(title)
        .arg(key);
}

QString recordNotImported(const QString &why)
{
    return tr2(QStringLiteral("La notice n'a pas été importée : %1"), QStringLiteral("لم يتم استيراد التسجيلة: %1"))
        .arg(why);
}

QString searching(const QString &target)
{
    return tr2(QStringLiteral("Recherche dans \"%1\"..."), QStringLiteral("البحث في \"%1\"...")).arg(target);
}

} // namespace folian::copy
