#include "acquisitions/core/budgettexts.h"

#include "acquisitions/core/acqtexts.h"
#include "base/messages.h"

namespace folian::acq {

namespace {

QString t(const char16_t *french, const char16_t *arabic) { return text(french, arabic); }

} // namespace

QString budgetsCount(int count) { return counted(count, u"budget(s)", u"ميزانية"); }
QString chaptersCount(int count) { return counted(count, u"chapitre(s)", u"باب"); }
QString commitmentsCount(int count) { return counted(count, u"engagements(s)", u"التزام"); }
QString transfersCount(int count) { return counted(count, u"transfert(s)", u"تحويل"); }

QString yearCaption() { return t(u"Année", u"السنة"); }
QString amountFieldCaption() { return t(u"Montant", u"المبلغ"); }
QString debitCaption() { return t(u"Débit", u"المدين"); }
QString titleCaption() { return t(u"Intitulé", u"العنوان"); }
QString invoiceNumberCaption() { return t(u"Numéro facture", u"رقم الفاتورة"); }

QString amountRequired() { return t(u"Le montant est obligatoire.", u"المبلغ إجباري."); }

QString amountNotANumber(const QString &typed)
{
    return tr2(QStringLiteral("Le montant « %1 » n'est pas un nombre à deux décimales.").arg(typed),
               QStringLiteral("المبلغ « %1 » ليس عددا بمنزلتين عشريتين.").arg(typed));
}

QString amountNegative() { return t(u"Le montant ne peut pas être négatif.", u"لا يمكن أن يكون المبلغ سالبا."); }

QString budgetYearInvalid(const QString &typed)
{
    return tr2(QStringLiteral("L'année « %1 » n'est pas une année (1 à 9999).").arg(typed),
               QStringLiteral("« %1 » ليست سنة (من 1 إلى 9999).").arg(typed));
}

QString budgetYearExists(int year)
{
    return tr2(QStringLiteral("Le budget de l'année %1 existe déjà.").arg(year),
               QStringLiteral("ميزانية السنة %1 موجودة من قبل.").arg(year));
}

QString budgetYearFixed(int chapters)
{
    return tr2(QStringLiteral("L'année de ce budget ne peut plus changer : il a %1 chapitre(s).").arg(chapters),
               QStringLiteral("لا يمكن تغيير سنة هذه الميزانية : لها %1 باب.").arg(chapters));
}

QString budgetGone() { return t(u"Ce budget n'existe plus.", u"هذه الميزانية لم تعد موجودة."); }
QString budgetBelowDebit() { return t(u"Le montant de ce budget est inferieur au débit", u"مبلغ هذه الميزانية أقل من المدين"); }

QString budgetBelowChapters(const QString &allotted)
{
    return tr2(QStringLiteral("Le montant de ce budget est inférieur à la somme des montants de ses chapitres (%1).").arg(allotted),
               QStringLiteral("مبلغ هذه الميزانية أقل من مجموع مبالغ أبوابها (%1).").arg(allotted));
}

QString budgetHasChapters(int chapters)
{
    return tr2(QStringLiteral("Suppression impossible : ce budget a %1 chapitre(s).").arg(chapters),
               QStringLiteral("الحذف مستحيل : لهذه الميزانية %1 باب.").arg(chapters));
}

QString deleteBudgetQuestion() { return t(u"Supprimer ce budget ?", u"حذف هذه الميزانية ؟"); }
QString newBudgetCaption() { return t(u"Nouveau budget", u"ميزانية جديدة"); }
QString editBudgetCaption() { return t(u"Modifier budget", u"تعديل الميزانية"); }

QString chaptersExceedBudget()
{
    return t(u"La somme des montants des chapitres dépasse le montant global du budget",
             u"مجموع مبالغ الأبواب يتجاوز المبلغ الإجمالي للميزانية");
}

QString amountBelowDebit() { return t(u"Le montant est inferieur au débit", u"المبلغ أقل من المدين"); }
QString chapterGone() { return t(u"Ce chapitre n'existe plus.", u"هذا الباب لم يعد موجودا."); }
QString chapterRequired() { return t(u"Choisissez le chapitre.", u"اختر الباب."); }

QString chapterInUse(int commitments, int transfers)
{
    return tr2(QStringLiteral("Suppression impossible : ce chapitre a %1 engagement(s) et %2 transfert(s).").arg(commitments).arg(transfers),
               QStringLiteral("الحذف مستحيل : لهذا الباب %1 التزام و %2 تحويل.").arg(commitments).arg(transfers));
}

QString deleteChapterQuestion() { return t(u"Supprimer ce chapitre ?", u"حذف هذا الباب ؟"); }
QString newChapterCaption() { return t(u"Nouveau chapitre", u"باب جديد"); }
QString editChapterCaption() { return t(u"Modifier chapitre", u"تعديل الباب"); }

QString commitmentExceedsChapter()
{
    return t(u"La somme des montants des engagements dépasse le montant global du chapitre",
             u"مجموع مبالغ الالتزامات يتجاوز المبلغ الإجمالي للباب");
}

QString editedCommitmentsExceedChapter()
{
    return t(u"Le somme des montants des engagements dépasse le montant global du chapitre",
             u"مجموع مبالغ الالتزامات يتجاوز المبلغ الإجمالي للباب");
}

QString commitmentGone() { return t(u"Cet engagement n'existe plus.", u"هذا الالتزام لم يعد موجودا."); }

QString commitmentUnknown(const QString &typed)
{
    return tr2(QStringLiteral("L'engagement %1 n'existe pas.").arg(typed), QStringLiteral("الالتزام %1 غير موجود.").arg(typed));
}

QString commitmentRequired() { return t(u"L'engagement est obligatoire.", u"الالتزام إجباري."); }

QString changedMeanwhile()
{
    return t(u"Cet engagement a été modifié sur un autre poste : recommencez.", u"عدل هذا الالتزام في مركز آخر : أعد المحاولة.");
}

QString deleteCommitmentQuestion() { return t(u"Supprimer cet engagement ?", u"حذف هذا الالتزام ؟"); }
QString newCommitmentCaption() { return t(u"Nouvel engagement", u"التزام جديد"); }
QString editCommitmentCaption() { return t(u"Modifier engagement", u"تعديل الالتزام"); }

QString sameChapters()
{
    return t(u"Le chapitre source et le chapitre destination sont identiques", u"الباب المصدر والباب الوجهة متطابقان");
}

QString transferExceedsChapter()
{
    return t(u"Le montant du transfert dépasse le montant du chapitre", u"مبلغ التحويل يتجاوز مبلغ الباب");
}

QString transfersNotEditable()
{
    return t(u"Les transferts entre chapitres ne sont pas modifiables", u"التحويلات بين الأبواب غير قابلة للتعديل");
}

QString transferAcrossBudgets()
{
    return t(u"Transfert impossible : les deux chapitres doivent être du même budget.",
             u"التحويل مستحيل : يجب أن يكون البابان من نفس الميزانية.");
}

QString transferCommitted()
{
    return t(u"Suppression impossible : le chapitre destination a déjà engagé le crédit de ce transfert.",
             u"الحذف مستحيل : الباب الوجهة التزم من قبل برصيد هذا التحويل.");
}

QString transferGone() { return t(u"Ce transfert n'existe plus.", u"هذا التحويل لم يعد موجودا."); }
QString deleteTransferQuestion() { return t(u"Supprimer ce transfert ?", u"حذف هذا التحويل ؟"); }
QString newTransferCaption() { return t(u"Nouveau transfert", u"تحويل جديد"); }

QString currencyLabelRequired() { return t(u"Le nom de la monnaie est obligatoire.", u"اسم العملة إجباري."); }

QString currencyInUse(int documents)
{
    return tr2(QStringLiteral("Suppression impossible : cette monnaie est celle de %1 document(s) d'acquisition.").arg(documents),
               QStringLiteral("الحذف مستحيل : هذه العملة مستعملة في %1 وثيقة تزويد.").arg(documents));
}

QString currencyGone() { return t(u"Cette monnaie n'existe plus.", u"هذه العملة لم تعد موجودة."); }

QString deleteCurrencyQuestion(const QString &label)
{
    return tr2(QStringLiteral("Supprimer la monnaie ") + quoted(label) + QStringLiteral(" ?"),
               QStringLiteral("حذف العملة ") + quoted(label) + QStringLiteral(" ؟"));
}

QString invoiceNumberRequired() { return t(u"Le numéro de facture est obligatoire.", u"رقم الفاتورة إجباري."); }

QString invoiceNumberExists(const QString &number)
{
    return tr2(QStringLiteral("La facture ") + quoted(number) + QStringLiteral(" existe déjà."),
               QStringLiteral("الفاتورة ") + quoted(number) + QStringLiteral(" موجودة من قبل."));
}

QString invoiceExceedsCommitment()
{
    return t(u"Le montant de cette facture dépasse le montant restant de l'engagement",
             u"مبلغ هذه الفاتورة يتجاوز المبلغ المتبقي من الالتزام");
}

QString invoiceGone() { return t(u"Cette facture n'existe plus.", u"هذه الفاتورة لم تعد موجودة."); }

QString invoiceNotValidated()
{
    return t(u"Facture impossible : seules les commandes et les abonnements validés se facturent.",
             u"الفوترة مستحيلة : لا تفوتر إلا الطلبيات والاشتراكات المصادق عليها.");
}

QString deleteInvoiceQuestion(const QString &number)
{
    return tr2(QStringLiteral("Supprimer la facture ") + quoted(number) + QStringLiteral(" ?"),
               QStringLiteral("حذف الفاتورة ") + quoted(number) + QStringLiteral(" ؟"));
}

QString newInvoiceCaption() { return t(u"Nouvelle facture", u"فاتورة جديدة"); }
QString editInvoiceCaption() { return t(u"Modifier facture", u"تعديل الفاتورة"); }

} // namespace folian::acq
