#include "circulation/core/circulationtexts.h"

#include "base/dates.h"
#include "base/messages.h"

#include <QStringList>

namespace folian::circ {

namespace {

const QChar kQuote = u'"';

// `Le lecteur "ID` + French ending, or `القارئ "ID` + Arabic ending.
QString reader(const QString &id, const QString &french, const QString &arabic)
{
    return tr2(QStringLiteral("Le lecteur \"") + Isolated(id) + french, QStringLiteral("القارئ \"") + Isolated(id) + arabic);
}

} // namespace

QString readerNotEntered() { return tr2(QStringLiteral("Le lecteur n'est pas saisi"), QStringLiteral("القارئ غير مدخل")); }

QString readerUnknown(const QString &typed, bool fullStop)
{
    return reader(typed, fullStop ? QStringLiteral("\" n'existe pas.") : QStringLiteral("\" n'existe pas"),
                  QStringLiteral("\" غير موجود"));
}

QString readerPenalised(const QString &id, const QDate &until)
{
    return reader(id, QStringLiteral("\" est pénalisé jusqu'au : ") + IsolatedDate(until),
                  QStringLiteral("\" معاقب حتى : ") + IsolatedDate(until));
}

QString readerSuspended(const QString &id)
{
    return reader(id, QStringLiteral("\" est suspendu."), QStringLiteral("\" موقف."));
}

QString readerPenalisedAndSuspended(const QString &id)
{
    return reader(id, QStringLiteral("\" est pénalisé et suspendu."), QStringLiteral("\" موقف و معاقب."));
}

QString motifLine(const QString &motif)
{
    return tr2(QStringLiteral("Motif : \"") + motif + kQuote, QStringLiteral("السبب : \"") + motif + kQuote);
}

QString readerNotReregistered(const QString &id)
{
    return reader(id, QStringLiteral("\" n'est pas réinscrit."), QStringLiteral("\" لم يعيد التسجيل."));
}

QString readerOverdue(const QString &id)
{
    return reader(id, QStringLiteral("\" n'est pas en règle."), QStringLiteral("\" في حالة غير قانونية"));
}

QString readerOverduePeb(const QString &id)
{
    return tr2(QStringLiteral("Le lecteur \"") + Isolated(id) + QStringLiteral("\" n'est pas en règle par rapport au PEB."),
               QStringLiteral("القارئ\"") + Isolated(id) + QStringLiteral("\" في حالة غير قانونية بالنسبة للإعارة بين المكتبات"));
}

QString readerHoldsDocuments(const QString &id)
{
    return reader(id, QStringLiteral("\" a en sa possession des documents."), QStringLiteral("\" بحوزته وثائق."));
}

QString readerInGoodStanding(const QString &id)
{
    return reader(id, QStringLiteral("\" est en règle."), QStringLiteral("\" في حالة  قانونية"));
}

QString readerNotPenalised(const QString &id)
{
    return reader(id, QStringLiteral("\" n'est pas pénalisé"), QStringLiteral("\" غير معاقب"));
}

QString readerAlreadySuspended(const QString &id)
{
    return reader(id, QStringLiteral("\" est déjà suspendu"), QStringLiteral("\" موقف من قبل"));
}

QString readerNotSuspended(const QString &id)
{
    return reader(id, QStringLiteral("\" n'est pas suspendu"), QStringLiteral("\" غير موقف"));
}

QString penaltyCancelled(const QString &id)
{
    return tr2(QStringLiteral("Pénalité du lecteur \"") + Isolated(id) + QStringLiteral("\" annulée avec succès"),
               QStringLiteral("تم إلغاء عقوبة القارئ \"") + Isolated(id) + QStringLiteral("\" بنجاح"));
}

QString suspensionDone(const QString &id)
{
    return tr2(QStringLiteral("Suspension du lecteur \"") + Isolated(id) + QStringLiteral("\" effectuée avec succès"),
               QStringLiteral("تم توقيف القارئ \"") + Isolated(id) + QStringLiteral("\" بنجاح"));
}

QString suspensionLifted(const QString &id)
{
    return tr2(QStringLiteral("Suspension du lecteur \"") + Isolated(id) + QStringLiteral("\" annulée avec succès"),
               QStringLiteral("تم إلغاء توقيف القارئ \"") + Isolated(id) + QStringLiteral("\" بنجاح"));
}

QString reregistrationDone()
{
    return tr2(QStringLiteral("Réinscription du lecteur effectuée avec succès"),
               QStringLiteral("تمت إعادة تسجيل القارئ بنجاح"));
}

QString statusNormal() { return tr2(QStringLiteral("Normal"), QStringLiteral("عادي")); }

QString statusPenalisedUntil(const QDate &until)
{
    return tr2(QStringLiteral("Pénalisé jusqu'au "), QStringLiteral("معاقب إلى غاية ")) + IsolatedDate(until);
}

QString statusSuspended() { return tr2(QStringLiteral("Suspendu"), QStringLiteral("موقوف")); }

QString statusLate() { return tr2(QStringLiteral("Retardataire"), QStringLiteral("متأخر")); }

QStringList statusChoices()
{
    return {QStringLiteral(" "), statusNormal(), tr2(QStringLiteral("Pénalisé"), QStringLiteral("معاقب")),
            statusSuspended()};
}

QString readersFound(int count)
{
    return IsolatedNumber(count) + tr2(QStringLiteral(" lecteur(s)"), QStringLiteral(" قارئ"));
}

QString deleteReadersQuestion()
{
    return tr2(QStringLiteral("Supprimer les lecteurs ") + QStringLiteral(" ?"), QStringLiteral("حذف القراء ؟"));
}

QString readerNumberTaken(const QString &id)
{
    return reader(id, QStringLiteral("\" existe déjà."), QStringLiteral("\" موجود من قبل."));
}

QString readerNotDeletable(const QString &id, int loans, int reservations, int interLibrary)
{
    return tr2(QStringLiteral("Le lecteur \"%1\" ne peut pas être supprimé : il a %2 prêt(s), %3 réservation(s) "
                              "et %4 PEB en cours.")
                   .arg(Isolated(id))
                   .arg(IsolatedNumber(loans))
                   .arg(IsolatedNumber(reservations))
                   .arg(IsolatedNumber(interLibrary)),
               QStringLiteral("لا يمكن حذف القارئ \"%1\" : لديه %2 إعارة و %3 حجز و %4 إعارة بين المكتبات جارية.")
                   .arg(Isolated(id))
                   .arg(IsolatedNumber(loans))
                   .arg(IsolatedNumber(reservations))
                   .arg(IsolatedNumber(interLibrary)));
}

namespace {
QString header(int count, const QString &frenchTitle, const QString &arabicTitle, const QString &frenchUnit,
               const QString &arabicUnit)
{
    if (count < 0)
        return tr2(frenchTitle, arabicTitle);
    return u' ' + IsolatedNumber(count) + u' ' + tr2(frenchUnit, arabicUnit);
}
} // namespace

QString historyLoans(int count)
{
    return header(count, QStringLiteral("Prêt"), QStringLiteral("الإعارة"), QStringLiteral("prêt(s)"),
                  QStringLiteral("إعارة"));
}

QString historyReservations(int count)
{
    return header(count, QStringLiteral("Réservation"), QStringLiteral("الحجز"), QStringLiteral("réservation(s)"),
                  QStringLiteral("حجز"));
}

QString historyInterLibrary(int count)
{
    return header(count, QStringLiteral("PEB"), QStringLiteral("الإعارة بين المكتبات"), QStringLiteral("peb(s)"),
                  QStringLiteral("إعارة بين المكتبات"));
}

QString returnedAndHeld() { return tr2(QStringLiteral("Restitué"), QStringLiteral("مسترجعة")); }

QString categoryNotDeletable()
{
    return tr2(QStringLiteral("Suppression impossible de cette catégorie "), QStringLiteral("لا يمكن حذف هذه الفئة"));
}

QString categoryLabelLocked()
{
    return tr2(QStringLiteral("Le libellé de cette catégorie ne peut pas être modifié."),
               QStringLiteral("لا يمكن تعديل اسم هذه الفئة."));
}

QString deleteCategoryQuestion(const QString &label)
{
    return tr2(QStringLiteral("Supprimer la catégorie \"") + label + QStringLiteral("\" ?"),
               QStringLiteral("حذف الفئة \"") + label + QStringLiteral("\" ؟"));
}

QString categoryInUse(const QString &label, int readers)
{
    return tr2(QStringLiteral("La catégorie \"%1\" ne peut pas être supprimée : %2 lecteur(s) y sont inscrits.")
                   .arg(label)
                   .arg(IsolatedNumber(readers)),
               QStringLiteral("لا يمكن حذف الفئة \"%1\" : %2 قارئ مسجل فيها.").arg(label).arg(IsolatedNumber(readers)));
}

QString deleteStructureQuestion(const QString &label)
{
    return tr2(QStringLiteral("Supprimer la structure \"") + label + QStringLiteral("\" ?"),
               QStringLiteral("حذف الهيكل \"") + label + QStringLiteral("\" ؟"));
}

QString structureInUse(const QString &label, int readers)
{
    return tr2(QStringLiteral("La structure \"%1\" ne peut pas être supprimée : %2 lecteur(s) y appartiennent.")
                   .arg(label)
                   .arg(IsolatedNumber(readers)),
               QStringLiteral("لا يمكن حذف الهيكل \"%1\" : ينتمي إليه %2 قارئ.").arg(label).arg(IsolatedNumber(readers)));
}

QString deleteRuleQuestion() { return tr2(QStringLiteral("Supprimer ce règlement ?"), QStringLiteral("حذف هذا القانون ؟")); }

QString ruleInUse(int copies)
{
    return tr2(QStringLiteral("Ce règlement ne peut pas être supprimé : les lecteurs de la catégorie ont %1 "
                              "document(s) de ce type en prêt ou en réservation.")
                   .arg(IsolatedNumber(copies)),
               QStringLiteral("لا يمكن حذف هذا القانون : لقراء هذه الفئة %1 وثيقة من هذا النوع معارة أو محجوزة.")
                   .arg(IsolatedNumber(copies)));
}

QString ruleTypeRequired()
{
    return tr2(QStringLiteral("Le champ type de document est obligatoire."), QStringLiteral("حقل نوع الوثيقة إجباري."));
}

QString ruleDuplicate(const QString &typeLabel)
{
    return tr2(QStringLiteral("Cette catégorie a déjà un règlement pour le type de document \"") + typeLabel
                   + QStringLiteral("\"."),
               QStringLiteral("لهذه الفئة قانون من قبل لنوع الوثيقة \"") + typeLabel + QStringLiteral("\"."));
}

QString ruleNumbersRequired()
{
    return tr2(QStringLiteral("Les quatre nombres du règlement sont obligatoires."),
               QStringLiteral("الأعداد الأربعة للقانون إجبارية."));
}

QString importDone() { return tr2(QStringLiteral("Importation terminé."), QStringLiteral("تم الاستيراد.")); }

QString importStopped() { return tr2(QStringLiteral("Importation interrompue."), QStringLiteral("تم إيقاف الاستيراد.")); }

QString importCounts(int read, int imported, int skipped, int blank)
{
    QString text = tr2(QStringLiteral("%1 ligne(s) lue(s), %2 lecteur(s) importé(s), %3 ligne(s) rejetée(s)")
                           .arg(IsolatedNumber(read))
                           .arg(IsolatedNumber(imported))
                           .arg(IsolatedNumber(skipped)),
                       QStringLiteral("%1 سطر مقروء، %2 قارئ مستورد، %3 سطر مرفوض").arg(IsolatedNumber(read)).arg(IsolatedNumber(imported)).arg(IsolatedNumber(skipped)));
    if (blank > 0)
        text += tr2(QStringLiteral(", %1 ligne(s) vide(s)").arg(IsolatedNumber(blank)), QStringLiteral("، %1 سطر فارغ").arg(IsolatedNumber(blank)));
    return text + u'.';
}

QString importSkippedLine(int line, const QString &reason)
{
    return tr2(QStringLiteral("Ligne %1 : ").arg(IsolatedNumber(line)), QStringLiteral("السطر %1 : ").arg(IsolatedNumber(line))) + reason;
}

QString importEmptyNumber() { return tr2(QStringLiteral("numéro de lecteur vide"), QStringLiteral("رقم القارئ فارغ")); }

QString importDuplicate(const QString &id)
{
    return tr2(QStringLiteral("le lecteur \"") + Isolated(id) + QStringLiteral("\" existe déjà"),
               QStringLiteral("القارئ \"") + Isolated(id) + QStringLiteral("\" موجود من قبل"));
}

QString importDuplicateInFile(const QString &id, int firstLine)
{
    return tr2(QStringLiteral("le lecteur \"%1\" figure déjà à la ligne %2").arg(Isolated(id)).arg(IsolatedNumber(firstLine)),
               QStringLiteral("القارئ \"%1\" مذكور من قبل في السطر %2").arg(Isolated(id)).arg(IsolatedNumber(firstLine)));
}

QString importNulCharacter()
{
    return tr2(QStringLiteral("caractère nul dans la ligne (encodage du fichier non reconnu)"),
               QStringLiteral("حرف منعدم في السطر (ترميز الملف غير معروف)"));
}

QString importLinesRejected(int lines)
{
    return tr2(QStringLiteral("%1 ligne(s) non importée(s).").arg(IsolatedNumber(lines)), QStringLiteral("%1 سطر لم يستورد.").arg(IsolatedNumber(lines)));
}

QString importBadDate(const QString &text)
{
    return tr2(QStringLiteral("date de naissance illisible \"") + text + kQuote,
               QStringLiteral("تاريخ الميلاد غير مقروء \"") + text + kQuote);
}

QString importTooLong(const QString &field)
{
    return tr2(QStringLiteral("texte trop long pour le champ ") + field, QStringLiteral("نص طويل جدا للحقل ") + field);
}

QString importNotSaved(const QString &why)
{
    return tr2(QStringLiteral("enregistrement impossible : "), QStringLiteral("التسجيل غير ممكن : ")) + why;
}

QString importUnreadable(const QString &path)
{
    return tr2(QStringLiteral("Le fichier \"") + path + QStringLiteral("\" ne peut pas être lu."),
               QStringLiteral("تعذرت قراءة الملف \"") + path + QStringLiteral("\"."));
}

QString importNoCategory()
{
    return tr2(QStringLiteral("Choisissez la catégorie des lecteurs importés."), QStringLiteral("اختر فئة القراء المستوردين."));
}

QString importNoStructure()
{
    return tr2(QStringLiteral("La structure choisie n'existe pas."), QStringLiteral("الهيكل المختار غير موجود."));
}

QString importFileFormat()
{
    return tr2(QStringLiteral("N° lecteur ;  Nom ; Prénom ; Date de naissance ; Adresse"),
               QStringLiteral("رقم القارئ ; اللقب ; الاسم ; تاريخ الميلاد ; العنوان"));
}

QString lateReadersCount(int count)
{
    return IsolatedNumber(count)
        + tr2(QStringLiteral(" lecteur(s) retardataires(s)"), QStringLiteral(" قارئ(ة) متأخر(ة)"));
}

QString remindersStatus(int count)
{
    return tr2(QStringLiteral(" Relances : "), QStringLiteral(" التذكيرات : ")) + IsolatedNumber(count);
}

QString reminderLetterTitle() { return tr2(QStringLiteral("Lettre de relance"), QStringLiteral("رسالة تذكير")); }

QString reminderPreviewTitle() { return tr2(QStringLiteral("Relance lecteur"), QStringLiteral("تذكير القارئ")); }

QString reminderNoReader()
{
    return tr2(QStringLiteral("Aucun lecteur retardataire n'est choisi."), QStringLiteral("لم يتم اختيار أي قارئ متأخر."));
}

QString remindersWritten(int loanLetters, int interLibraryLetters, const QString &directory)
{
    return tr2(QStringLiteral("%1 lettre(s) de relance (prêt) et %2 lettre(s) de relance (PEB) écrites dans %3"),
               QStringLiteral("%1 رسالة تذكير (إعارة) و %2 رسالة تذكير (إعارة بين المكتبات) كتبت في %3"))
        .arg(IsolatedNumber(loanLetters))
        .arg(IsolatedNumber(interLibraryLetters))
        .arg(directory);
}

QString editionResult(int count)
{
    return tr2(QStringLiteral(" Résultat : "), QStringLiteral(" النتيجة : ")) + IsolatedNumber(count);
}

QString clearanceTitle() { return tr2(QStringLiteral("Quitus"), QStringLiteral("براءة الذمة")); }

QString readerListTitle() { return tr2(QStringLiteral("Liste des lecteurs"), QStringLiteral("قائمة القراء")); }

QString clearanceSignature()
{
    return tr2(QStringLiteral("Signature et cachet de la bibliothèque :"), QStringLiteral("إمضاء و ختم المكتبة :"));
}

} // namespace folian::circ
