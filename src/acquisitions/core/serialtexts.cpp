#include "acquisitions/core/serialtexts.h"

#include "acquisitions/core/acqtexts.h"
#include "base/messages.h"

namespace folian::acq {

QString subscriptionEditValidatedQuestion()
{
    return text(u"Cet abonnement est validé, voulez vous comme même le modifier ?",
                u"هذا الاشتراك مصادق عليه، هل تريد تعديله رغم ذلك ؟");
}

QString subscriptionDeleteValidatedQuestion()
{
    return text(u"Cet abonnement est validé, voulez vous comme même le supprimer ?",
                u"هذا الاشتراك مصادق عليه، هل تريد حذفه رغم ذلك ؟");
}

QString deleteSubscriptionQuestion(const QString &number)
{
    return tr2(QStringLiteral("Supprimer l'abonnement ") + quoted(number) + QStringLiteral(" ?"),
               QStringLiteral("حذف الاشتراك ") + quoted(number) + QStringLiteral(" ؟"));
}

QString subscriptionEditValidatedLinesQuestion()
{
    return text(u"Cet abonnement est validé, voulez vous comme même modifier ses titres ?",
                u"هذا الاشتراك مصادق عليه، هل تريد تعديل عناوينه رغم ذلك ؟");
}

QString subscriptionDeleteValidatedLinesQuestion()
{
    return text(u"Cet abonnement est validé, voulez vous comme même supprimer ses titres ?",
                u"هذا الاشتراك مصادق عليه، هل تريد حذف عناوينه رغم ذلك ؟");
}

QString subscriptionValidateQuestion()
{
    return text(u"Une fois cet abonnement sera validé, il ne devra plus être modifié ni supprimé!",
                u"بعد المصادقة على هذا الاشتراك، لا ينبغي تعديله ولا حذفه!");
}

QString subscriptionFormTitle() { return text(u"Bon d'abonnement", u"وصل اشتراك"); }
QString subscriptionLinesCaption() { return text(u"Titres d'abonnement", u"عناوين الاشتراك"); }

QString lateSuppliersCount(int count) { return counted(count, u"fournisseur(s) retardataire(s)", u"مورد متأخر"); }
QString lateTitlesCount(int count) { return counted(count, u"Titre(s)", u"عنوان"); }
QString awaitedIssuesCount(int count) { return counted(count, u"Bulletin(s)", u"نشرة"); }

QString claimsCountLine(int count)
{
    return text(u" Relances : ", u" التذكيرات : ") + QString::number(count) + u' ' + text(u"enreg(s)", u"تسجيلة");
}

QString claimLetterTitle() { return text(u"Relance fournisseur", u"تذكير المورد"); }
QString lateSupplierListTitle() { return text(u"Liste des fournisseurs retardataires", u"قائمة الموردين المتأخرين"); }
QString lateTitlesCaption() { return text(u"Titres non livrés", u"العناوين غير المستلمة"); }
QString awaitedIssuesCaption() { return text(u"Bulletins non reçus", u"النشرات غير المستلمة"); }

QString supplierNotLate(const QString &name)
{
    return tr2(QStringLiteral("Le fournisseur ") + quoted(name) + QStringLiteral(" n'a aucun retard."),
               QStringLiteral("المورد ") + quoted(name) + QStringLiteral(" ليس لديه أي تأخر."));
}

QString claimsWritten(int letters)
{
    return tr2(QStringLiteral("%1 lettre(s) de relance écrite(s).").arg(letters),
               QStringLiteral("تمت كتابة %1 رسالة تذكير.").arg(letters));
}

} // namespace folian::acq
