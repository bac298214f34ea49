#include "acquisitions/core/gifttexts.h"

#include "acquisitions/core/acqtexts.h"
#include "base/messages.h"

namespace folian::acq {

namespace {

QString t(const char16_t *french, const char16_t *arabic) { return text(french, arabic); }

// The text of the kind: a gift's, an exchange's or a deposit's.
struct ByKind {
    const char16_t *gift, *giftAr, *exchange, *exchangeAr, *deposit, *depositAr;
};

QString byKind(AcqType kind, const ByKind &k)
{
    switch (kind) {
    case AcqType::Exchange: return t(k.exchange, k.exchangeAr);
    case AcqType::Deposit: return t(k.deposit, k.depositAr);
    default: return t(k.gift, k.giftAr);
    }
}

QString asked(const QString &question) { return question + QStringLiteral(" ?"); }

} // namespace

QString giftScreenTitle(AcqType kind)
{
    return byKind(kind, {u"Recherche dons", u"البحث عن الهبات", u"Recherche échanges", u"البحث عن التبادلات", u"Recherche dépôts",
                         u"البحث عن الإيداعات"});
}

QString giftNewCaption(AcqType kind)
{
    return byKind(kind, {u"Nouveau don", u"هبة جديدة", u"Nouvel échange", u"تبادل جديد", u"Nouveau dépôt", u"إيداع جديد"});
}

QString giftEditCaption(AcqType kind)
{
    return byKind(kind, {u"Modifier don", u"تعديل الهبة", u"Modifier échange", u"تعديل التبادل", u"Modifier dépôt", u"تعديل الإيداع"});
}

QString giftLinesPanel(AcqType kind)
{
    return byKind(kind, {u" Titres de don", u" عناوين الهبة", u" Titres d'échange", u" عناوين التبادل", u" Titres de dépôt",
                         u" عناوين الإيداع"});
}

QString giftPageTitle(AcqType kind) { return byKind(kind, {u"Don", u"هبة", u"Echange", u"تبادل", u"Dépôt", u"إيداع"}); }
QString giftLineCaption() { return t(u"Ligne de don", u"سطر الهبة"); }

QString giftValidateQuestion(AcqType kind)
{
    return byKind(kind, {u"Une fois ce don sera validé, il ne devra plus être modifié ni supprimé!",
                         u"بعد المصادقة على هذه الهبة لا يجب تعديلها ولا حذفها!",
                         u"Une fois cet échange sera validé, il ne pourra plus être modifié ni supprimé!",
                         u"بعد المصادقة على هذا التبادل لا يمكن تعديله ولا حذفه!",
                         u"Une fois ce dépôt sera validé, il ne devra plus être modifié ni supprimé!",
                         u"بعد المصادقة على هذا الإيداع لا يجب تعديله ولا حذفه!"});
}

QString giftEditValidatedQuestion(AcqType kind)
{
    return asked(byKind(kind, {u"Cet don est validé, voulez vous comme même le modifier", u"هذه الهبة مصادق عليها، هل تريد تعديلها رغم ذلك",
                               u"Cet échange est validé, voulez vous comme même le modifier",
                               u"هذا التبادل مصادق عليه، هل تريد تعديله رغم ذلك",
                               u"Ce dépôt est validé, voulez vous comme même le modifier",
                               u"هذا الإيداع مصادق عليه، هل تريد تعديله رغم ذلك"}));
}

QString giftDeleteValidatedQuestion(AcqType kind)
{
    return asked(byKind(kind, {u"Ce don est validé, voulez vous comme même le supprimer", u"هذه الهبة مصادق عليها، هل تريد حذفها رغم ذلك",
                               u"Cet échange est validé, voulez vous comme même le supprimer",
                               u"هذا التبادل مصادق عليه، هل تريد حذفه رغم ذلك",
                               u"Ce dépôt est validé, voulez vous comme même le supprimer",
                               u"هذا الإيداع مصادق عليه، هل تريد حذفه رغم ذلك"}));
}

QString giftEditValidatedLinesQuestion(AcqType kind)
{
    return asked(byKind(kind, {u"Ce don est validé, voulez vous comme même modifier ses titres",
                               u"هذه الهبة مصادق عليها، هل تريد تعديل عناوينها رغم ذلك",
                               u"Cet échange est validé, voulez vous comme même modifier ses titres",
                               u"هذا التبادل مصادق عليه، هل تريد تعديل عناوينه رغم ذلك",
                               u"Cet dépôt est validé, voulez vous comme même modifier ses titres",
                               u"هذا الإيداع مصادق عليه، هل تريد تعديل عناوينه رغم ذلك"}));
}

QString giftDeleteValidatedLinesQuestion(AcqType kind)
{
    return asked(byKind(kind, {u"Ce don est validé, voulez vous comme même supprimer ses titres",
                               u"هذه الهبة مصادق عليها، هل تريد حذف عناوينها رغم ذلك",
                               u"Cet échange est validé, voulez vous comme même supprimer ses titres",
                               u"هذا التبادل مصادق عليه، هل تريد حذف عناوينه رغم ذلك",
                               u"Cet dépôt est validé, voulez vous comme même supprimer ses titres",
                               u"هذا الإيداع مصادق عليه، هل تريد حذف عناوينه رغم ذلك"}));
}

QString giftDeleteQuestion(AcqType kind, const QString &number)
{
    return byKind(kind, {u"Supprimer le don", u"حذف الهبة", u"Supprimer l'échange", u"حذف التبادل", u"Supprimer le dépôt",
                         u"حذف الإيداع"})
        + u' ' + quoted(number) + QStringLiteral(" ?");
}

QString goodCopiesShort()
{
    return t(u"Le nombre d'exemplaire saisi est supérieur au nombre d'exemplaire (existant et bon état) du titre sélectionné",
             u"عدد النسخ المدخل أكبر من عدد نسخ العنوان المختار (الموجودة وفي حالة جيدة)");
}

QString incomingLineFull(AcqType kind)
{
    if (kind == AcqType::Deposit)
        return lineFullyDelivered();
    return t(u"Ajout impossible car le nombre d'exemplaire est égale au nombre d'exemplaire reçu",
             u"إضافة مستحيلة لأن عدد النسخ يساوي عدد النسخ المستلمة");
}

QString outgoingLineFull(AcqType kind)
{
    return byKind(kind, {u"Ajout impossible car le nombre d'exemplaire est égale au nombre d'exemplaire cédé",
                         u"إضافة مستحيلة لأن عدد النسخ يساوي عدد النسخ المتنازل عنها",
                         u"Ajout impossible car le nombre d'exemplaire est égale au nombre d'exemplaire échangé",
                         u"إضافة مستحيلة لأن عدد النسخ يساوي عدد النسخ المتبادلة", u"", u""});
}

QString copyLentNoSelection() { return t(u"Séléction impossible car l'exemplaire est emprûnté", u"اختيار مستحيل لأن النسخة معارة"); }
QString copyReservedNoSelection() { return t(u"Sélection impossible car l'exemplaire est réservé", u"اختيار مستحيل لأن النسخة محجوزة"); }

QString copyAlreadyHandedOver(const QString &copy)
{
    return tr2(QStringLiteral("L'exemplaire %1 est déjà cédé par une ligne de don ou d'échange.").arg(quoted(copy)),
               QStringLiteral("النسخة %1 متنازل عنها من قبل في سطر هبة أو تبادل.").arg(quoted(copy)));
}

QString copyNotOfTitle(const QString &copy)
{
    return tr2(QStringLiteral("L'exemplaire %1 n'est pas un exemplaire de ce titre.").arg(quoted(copy)),
               QStringLiteral("النسخة %1 ليست من نسخ هذا العنوان.").arg(quoted(copy)));
}

QString copyNotOnLine(const QString &copy)
{
    return tr2(QStringLiteral("L'exemplaire %1 n'est pas sur cette ligne.").arg(quoted(copy)),
               QStringLiteral("النسخة %1 ليست في هذا السطر.").arg(quoted(copy)));
}

QString issueAlreadyHandedOver(const QString &number)
{
    return tr2(QStringLiteral("Le bulletin %1 est déjà cédé par une ligne de don ou d'échange.").arg(quoted(number)),
               QStringLiteral("النشرة %1 متنازل عنها من قبل في سطر هبة أو تبادل.").arg(quoted(number)));
}

QString issueNotOfTitle() { return t(u"Ce bulletin n'est pas un bulletin de ce titre.", u"هذه النشرة ليست من نشرات هذا العنوان."); }
QString issueNotOnLine() { return t(u"Ce bulletin n'est pas sur cette ligne.", u"هذه النشرة ليست في هذا السطر."); }

QString outgoingTakesExistingCopies()
{
    return t(u"Ce titre est sortant : ses exemplaires et ses bulletins se choisissent parmi ceux du catalogue.",
             u"هذا العنوان صادر : تختار نسخه ونشراته من بين الموجودة في الفهرس.");
}

QString incomingHasNoSelection()
{
    return t(u"Ce titre est entrant : ses exemplaires et ses bulletins sont créés, pas choisis.",
             u"هذا العنوان وارد : تنشأ نسخه ونشراته ولا تختار.");
}

QString notAGiftLine() { return t(u"Cette ligne n'est pas une ligne de don, d'échange ou de dépôt.", u"هذا السطر ليس سطر هبة أو تبادل أو إيداع."); }

QString directionLocked(int copies, int issues)
{
    return tr2(QStringLiteral("Le sens ne peut pas changer : les titres de ce document ont %1 exemplaire(s) et %2 bulletin(s).")
                   .arg(copies)
                   .arg(issues),
               QStringLiteral("لا يمكن تغيير الاتجاه : لعناوين هذه الوثيقة %1 نسخة و%2 نشرة.").arg(copies).arg(issues));
}

QString copySelectCaption() { return t(u"Sélection exemplaire", u"اختيار نسخة"); }
QString issueSelectCaption() { return t(u"Sélection bulletin", u"اختيار نشرة"); }

QString suggestionsCount(int count) { return counted(count, u"suggestion(s)", u"اقتراح"); }
QString suggestionTitleRequired() { return t(u"Le titre est obligatoire.", u"العنوان إجباري."); }
QString suggestionGone() { return t(u"Cette suggestion n'existe plus.", u"هذا الاقتراح لم يعد موجودا."); }
QString suggestionDeleteQuestion() { return t(u"Supprimer cette suggestion  ?", u"حذف هذا الاقتراح ؟"); }
QString suggestionNewCaption() { return t(u"Nouvelle suggestion", u"اقتراح جديد"); }
QString suggestionEditCaption() { return t(u"Modifier suggestion", u"تعديل الاقتراح"); }
QString suggestionListTitle() { return t(u"Liste des suggestions", u"قائمة الاقتراحات"); }

QString suggestionNumberNotANumber(const QString &typed)
{
    return tr2(QStringLiteral("Le numéro de suggestion « %1 » n'est pas un nombre (« * » pour n'importe quels chiffres).").arg(typed),
               QStringLiteral("رقم الاقتراح « %1 » ليس عددا (« * » لأي أرقام).").arg(typed));
}

} // namespace folian::acq
