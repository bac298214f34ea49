#include "acquisitions/core/acqtexts.h"

#include "base/messages.h"

namespace folian::acq {

QString text(const char16_t *french, const char16_t *arabic)
{
    return tr2(QString::fromUtf16(french), QString::fromUtf16(arabic));
}

namespace {

QString t(const char16_t *french, const char16_t *arabic) { return text(french, arabic); }

QString quoted(const QString &s) { return u'"' + s + u'"'; }

// " 3 commande(s)": a blank, the count, a blank and the unit.
QString counted(int count, const char16_t *french, const char16_t *arabic)
{
    return u' ' + QString::number(count) + u' ' + t(french, arabic);
}

} // namespace

QString statusLabel(int status)
{
    switch (status) {
    case 1: return t(u"A valider", u"في انتظار المصادقة");
    case 2: return t(u"En cours", u"قيد التنفيذ");
    default: return {};
    }
}

QString directionLabel(int direction)
{
    switch (direction) {
    case 1: return t(u"Entrant", u"وارد");
    case 2: return t(u"Sortant", u"صادر");
    default: return {};
    }
}

QString supplierTypeLabel(int type)
{
    switch (type) {
    case 1: return t(u"Fournisseur", u"مورد");
    case 2: return t(u"Donnateur", u"واهب");
    case 3: return t(u"Partenaire", u"شريك");
    default: return {};
    }
}

QString documentsCount(int type, int count)
{
    switch (type) {
    case 1: return counted(count, u"pré-commande(s)", u"طلبية مسبقة");
    case 3: return counted(count, u"abonnement(s)", u"اشتراك");
    case 4: return counted(count, u"don(s)", u"هبة");
    case 5: return counted(count, u"échange(s)", u"تبادل");
    case 6: return counted(count, u"dépôt(s)", u"إيداع");
    default: return counted(count, u"commande(s)", u"طلبية");
    }
}

QString linesCount(int count) { return counted(count, u"titre(s)", u"عنوان"); }
QString invoicesCount(int count) { return counted(count, u"facture(s)", u"فاتورة"); }
QString deliveriesCount(int count) { return counted(count, u"livraison(s)", u"استلام"); }
QString recordsFound(int count) { return counted(count, u"notice(s) trouvé(s)", u"بطاقة موجودة"); }

QString supplierNameRequired() { return t(u"Le nom du fournisseur est obligatoire.", u"اسم المورد إجباري."); }

QString deleteSupplierQuestion(const QString &name)
{
    return tr2(QStringLiteral("Supprimer le fournisseur ") + quoted(name) + QStringLiteral(" ?"),
               QStringLiteral("حذف المورد ") + quoted(name) + QStringLiteral(" ؟"));
}

QString supplierInUse(int documents)
{
    return tr2(QStringLiteral("Suppression impossible : ce fournisseur est celui de %1 document(s) d'acquisition.").arg(documents),
               QStringLiteral("الحذف مستحيل : هذا المورد مرتبط بـ %1 وثيقة تزويد.").arg(documents));
}

QString supplierGone() { return t(u"Ce fournisseur n'existe plus.", u"هذا المورد لم يعد موجودا."); }

QString supplierTypeUnknown(int type)
{
    return tr2(QStringLiteral("Le type de fournisseur %1 n'existe pas (0 à 3).").arg(type),
               QStringLiteral("نوع المورد %1 غير موجود (من 0 إلى 3).").arg(type));
}

QString supplierRequired() { return t(u"Le champ fournisseur est obligatoire.", u"حقل المورد إجباري."); }
QString numberRequired() { return t(u"Le numéro est obligatoire.", u"الرقم إجباري."); }
QString documentGone() { return t(u"Ce document n'existe plus.", u"هذه الوثيقة لم تعد موجودة."); }

QString editValidatedQuestion()
{
    return t(u"Cette commande est validée, voulez vous comme même la modifier ?",
             u"هذه الطلبية مصادق عليها، هل تريد تعديلها رغم ذلك ؟");
}

QString deleteValidatedQuestion()
{
    return t(u"Cette commande est validée, voulez vous comme même la supprimer ?",
             u"هذه الطلبية مصادق عليها، هل تريد حذفها رغم ذلك ؟");
}

QString deleteOrderQuestion(const QString &number)
{
    return tr2(QStringLiteral("Supprimer la commande ") + quoted(number) + QStringLiteral(" ?"),
               QStringLiteral("حذف الطلبية ") + quoted(number) + QStringLiteral(" ؟"));
}

QString deletePreOrderQuestion(const QString &number)
{
    return tr2(QStringLiteral("Supprimer la pré-commande ") + quoted(number) + QStringLiteral(" ?"),
               QStringLiteral("حذف الطلبية المسبقة ") + quoted(number) + QStringLiteral(" ؟"));
}

QString documentHasDependants(int deliveries, int invoices, int received)
{
    return tr2(QStringLiteral("Suppression impossible : ce document a %1 livraison(s), %2 facture(s) et %3 exemplaire(s) "
                              "ou bulletin(s) reçu(s).")
                   .arg(deliveries)
                   .arg(invoices)
                   .arg(received),
               QStringLiteral("الحذف مستحيل : لهذه الوثيقة %1 استلام و %2 فاتورة و %3 نسخة أو نشرة مستلمة.")
                   .arg(deliveries)
                   .arg(invoices)
                   .arg(received));
}

QString validateQuestion()
{
    return t(u"Une fois cette commande sera validée, elle ne devra plus être modifiée ni supprimée!",
             u"بعد المصادقة على هذه الطلبية، لا ينبغي تعديلها ولا حذفها!");
}

QString validateNoLines() { return t(u"Validation impossible : la commande n'a aucun titre.", u"المصادقة مستحيلة : الطلبية بدون عناوين."); }
QString alreadyValidated() { return t(u"Cette commande est déjà validée.", u"هذه الطلبية مصادق عليها من قبل."); }
QString notValidable()
{
    return t(u"Validation impossible : seules les commandes et les abonnements se valident.",
             u"المصادقة مستحيلة : لا يصادق إلا على الطلبيات والاشتراكات.");
}

QString convertQuestion(const QString &number)
{
    return tr2(QStringLiteral("Passer la pré_commande ") + quoted(number) + QStringLiteral("en commande ?"),
               QStringLiteral("تحويل الطلبية المسبقة ") + quoted(number) + QStringLiteral(" إلى طلبية ؟"));
}

QString notAPreOrder() { return t(u"Ce document n'est plus une pré-commande.", u"هذه الوثيقة لم تعد طلبية مسبقة."); }

QString yearNotANumber(const QString &typed)
{
    return tr2(QStringLiteral("L'année « %1 » n'est pas un nombre.").arg(typed),
               QStringLiteral("السنة « %1 » ليست عددا.").arg(typed));
}

QString editValidatedLinesQuestion()
{
    return t(u"Cette commande est validée, voulez vous comme même modifier ses titres ?",
             u"هذه الطلبية مصادق عليها، هل تريد تعديل عناوينها رغم ذلك ؟");
}

QString deleteValidatedLinesQuestion()
{
    return t(u"Cette commande est validée, voulez vous comme même supprimer ses titres ?",
             u"هذه الطلبية مصادق عليها، هل تريد حذف عناوينها رغم ذلك ؟");
}

QString deleteLineQuestion() { return t(u"Supprimer ce titre ?", u"حذف هذا العنوان ؟"); }
QString copiesNegative() { return t(u"Le nombre d'exemplaire est négatif", u"عدد النسخ سالب"); }
QString priceNegative() { return t(u"Le prix est négatif", u"السعر سالب"); }
QString copiesRequired() { return t(u"Le nombre d'exemplaire est obligatoire.", u"عدد النسخ إجباري."); }
QString recordRequired() { return t(u"Choisissez le titre commandé.", u"اختر العنوان المطلوب."); }
QString recordGone() { return t(u"Cette notice n'existe plus.", u"هذه البطاقة لم تعد موجودة."); }
QString lineGone() { return t(u"Ce titre n'existe plus.", u"هذا العنوان لم يعد موجودا."); }

QString copiesBelowReceived(int received)
{
    return tr2(QStringLiteral("Le nombre d'exemplaire ne peut être inférieur au nombre déjà reçu (%1).").arg(received),
               QStringLiteral("لا يمكن أن يقل عدد النسخ عن العدد المستلم (%1).").arg(received));
}

QString recordFixedOnceReceived()
{
    return t(u"Des exemplaires de ce titre ont été reçus : sa notice ne peut plus changer.",
             u"استلمت نسخ من هذا العنوان : لا يمكن تغيير بطاقته.");
}

QString lineHasReceipts(int received, int deliveries, int copies, int issues)
{
    return tr2(QStringLiteral("Suppression impossible : ce titre a %1 exemplaire(s) reçu(s), %2 livraison(s), "
                              "%3 exemplaire(s) et %4 bulletin(s).")
                   .arg(received)
                   .arg(deliveries)
                   .arg(copies)
                   .arg(issues),
               QStringLiteral("الحذف مستحيل : لهذا العنوان %1 نسخة مستلمة و %2 استلام و %3 نسخة و %4 نشرة.")
                   .arg(received)
                   .arg(deliveries)
                   .arg(copies)
                   .arg(issues));
}

QString totalCaption() { return t(u"Montant de la commande", u"مبلغ الطلبية"); }
QString amountCaption() { return t(u"Total", u"المجموع"); }
QString priceCaption() { return t(u"Prix", u"السعر"); }

QString noTitleSelected() { return t(u"Aucun titre n'a été sélectionné", u"لم يتم اختيار أي عنوان"); }

QString receiptNotValidated()
{
    return t(u"Réception impossible : la commande n'est pas validée.", u"الاستلام مستحيل : الطلبية غير مصادق عليها.");
}

QString receiptWrongType()
{
    return t(u"Réception impossible : seules les commandes et les abonnements sont livrés.",
             u"الاستلام مستحيل : لا تستلم إلا الطلبيات والاشتراكات.");
}

QString deliveryNumberRequired() { return t(u"Le numéro de livraison est obligatoire.", u"رقم الاستلام إجباري."); }

QString lineNotOfDocument(int line)
{
    return tr2(QStringLiteral("Le titre %1 n'est pas une ligne de ce document.").arg(line),
               QStringLiteral("العنوان %1 ليس سطرا من هذه الوثيقة.").arg(line));
}

QString allTitlesReceived()
{
    return t(u"Ajout impossible car tous les titres ont été reçus", u"إضافة مستحيلة لأن كل العناوين قد استلمت");
}

QString lineFullyDelivered()
{
    return t(u"Ajout impossible car le nombre d'exemplaire déjà livré est égale au nombre d'exemplaire commandé",
             u"إضافة مستحيلة لأن عدد النسخ المستلمة يساوي عدد النسخ المطلوبة");
}

QString countIncorrect() { return t(u"Ajout impossible car le nombre d'exemplaire est incorrect", u"إضافة مستحيلة لأن عدد النسخ خاطئ"); }
QString removeTitleQuestion() { return t(u"Supprimer cette livraison ?", u"حذف هذا الاستلام ؟"); }

QString deleteDeliveryQuestion(const QString &number)
{
    return tr2(QStringLiteral("Supprimer la livraison ") + quoted(number) + QStringLiteral(" ?"),
               QStringLiteral("حذف الاستلام ") + quoted(number) + QStringLiteral(" ؟"));
}

QString deliveryGone() { return t(u"Cette livraison n'existe plus.", u"هذا الاستلام لم يعد موجودا."); }
QString titleNotDelivered() { return t(u"Ce titre n'est pas sur cette livraison.", u"هذا العنوان ليس في هذا الاستلام."); }

QString titleAlreadyDelivered() { return t(u"Ce titre est déjà sur cette livraison.", u"هذا العنوان موجود في هذا الاستلام."); }

QString deliveryHasReceipts(int copies, int issues)
{
    return tr2(QStringLiteral("Suppression impossible : %1 exemplaire(s) et %2 bulletin(s) ont été reçus avec cette livraison.")
                   .arg(copies)
                   .arg(issues),
               QStringLiteral("الحذف مستحيل : استلمت %1 نسخة و %2 نشرة بهذا الاستلام.").arg(copies).arg(issues));
}

QString titleHasReceipts(int copies, int issues)
{
    return tr2(QStringLiteral("Suppression impossible : %1 exemplaire(s) et %2 bulletin(s) de ce titre ont été reçus avec "
                              "cette livraison.")
                   .arg(copies)
                   .arg(issues),
               QStringLiteral("الحذف مستحيل : استلمت %1 نسخة و %2 نشرة من هذا العنوان بهذا الاستلام.").arg(copies).arg(issues));
}

QString newCopyCaption() { return t(u"Nouvel exemplaire", u"نسخة جديدة"); }
QString editCopyCaption() { return t(u"Modification exemplaire", u"تعديل نسخة"); }
QString newIssueCaption() { return t(u"Nouveau bulletin", u"نشرة جديدة"); }
QString editIssueCaption() { return t(u"Modification bulletin", u"تعديل نشرة"); }
QString copyNumberRequired() { return t(u"Le numéro d'exemplaire est obligatoire.", u"رقم النسخة إجباري."); }

QString copyNumberTaken(const QString &id)
{
    return tr2(QStringLiteral("L'exemplaire ") + quoted(id) + QStringLiteral(" existe déjà."),
               QStringLiteral("النسخة ") + quoted(id) + QStringLiteral(" موجودة من قبل."));
}

QString issueNumberRequired() { return t(u"Le numéro du bulletin est obligatoire.", u"رقم النشرة إجباري."); }

QString copyGone(const QString &id)
{
    return tr2(QStringLiteral("L'exemplaire ") + quoted(id) + QStringLiteral(" n'existe plus."),
               QStringLiteral("النسخة ") + quoted(id) + QStringLiteral(" لم تعد موجودة."));
}

QString issueGone() { return t(u"Ce bulletin n'existe plus.", u"هذه النشرة لم تعد موجودة."); }

QString generationDone(int created)
{
    return tr2(QStringLiteral("Génération effectuée avec succès : %1 exemplaire(s) créé(s).").arg(created),
               QStringLiteral("تكوين محقق بنجاح : أنشئت %1 نسخة.").arg(created));
}

QString countOutOfRange(const QString &typed)
{
    return tr2(QStringLiteral("Le nombre d'exemplaire « %1 » doit être compris entre 1 et 1000.").arg(typed),
               QStringLiteral("عدد النسخ « %1 » يجب أن يكون بين 1 و 1000.").arg(typed));
}

QString startZero()
{
    return t(u"Génération impossible : la numérotation des exemplaires doit partir de 1 ou plus.",
             u"التكوين مستحيل : يجب أن يبدأ ترقيم النسخ من 1 فما فوق.");
}

QString numbersTaken(const QStringList &numbers)
{
    return tr2(QStringLiteral("Génération impossible : ces numéros d'exemplaire existent déjà : ") + numbers.join(QStringLiteral(", ")),
               QStringLiteral("التكوين مستحيل : أرقام النسخ هذه موجودة من قبل : ") + numbers.join(QStringLiteral("، ")));
}

QString numbersTooLong(const QStringList &numbers, const QString &field, int length)
{
    return tr2(QStringLiteral("Génération impossible : ces valeurs du champ « %1 » dépassent %2 caractères : ").arg(field).arg(length)
                   + numbers.join(QStringLiteral(", ")),
               QStringLiteral("التكوين مستحيل : قيم الحقل « %1 » هذه تتجاوز %2 حرفا : ").arg(field).arg(length)
                   + numbers.join(QStringLiteral("، ")));
}

QString generatorCaption() { return t(u"Génération des exemplaires", u"تكوين النسخ"); }

QString orderFormTitle(bool preOrder)
{
    return preOrder ? t(u"Bon de pré-commande", u"وصل طلبية مسبقة") : t(u"Bon de commande", u"وصل طلبية");
}

QString deliveryNoteTitle() { return t(u"Bon de livraison", u"وصل استلام"); }
QString deliveryListTitle() { return t(u"Liste des livraisons", u"قائمة الاستلامات"); }

} // namespace folian::acq
