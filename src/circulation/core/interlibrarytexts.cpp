#include "circulation/core/interlibrarytexts.h"

#include "base/dates.h"
#include "base/messages.h"
#include "circulation/core/circulationtexts.h"

namespace folian::circ {

QString libraryIncomplete() { return tr2(QStringLiteral("Completez votre inscription !!!"), QStringLiteral("أكمل التسجيل !!!")); }

QString libraryExists()
{
    return tr2(QStringLiteral("Cette Bibliotheque existe déja"), QStringLiteral("هذه المكتبة موجودة من قبل"));
}

QString libraryGone()
{
    return tr2(QStringLiteral("Cette bibliothèque n'existe plus."), QStringLiteral("هذه المكتبة لم تعد موجودة."));
}

QString deleteLibraryQuestion(const QString &name)
{
    return tr2(QStringLiteral("Etes-vous sûr de vouloir supprimer la Bibliothéque ") + name + u'?',
               QStringLiteral("هل أنت متأكد من حذف المكتبة ") + name + QStringLiteral("؟"));
}

QString libraryNotDeletable()
{
    return tr2(QStringLiteral("Impossible de supprimer cette bibliothèque "), QStringLiteral("لا يمكن حذف هذه المكتبة "));
}

QString libraryHolds(int records, int copies, int interLibraryLoans, int correspondentsHolding)
{
    return tr2(QStringLiteral("Elle a %1 notice(s) et %2 exemplaire(s) au catalogue, %3 PEB enregistré(s) et %4 "
                              "responsable(s) détenant des documents."),
               QStringLiteral("لديها %1 بطاقة و %2 نسخة في الفهرس و %3 إعارة بين المكتبات مسجلة و %4 مسؤول بحوزته وثائق."))
        .arg(IsolatedNumber(records))
        .arg(IsolatedNumber(copies))
        .arg(IsolatedNumber(interLibraryLoans))
        .arg(IsolatedNumber(correspondentsHolding));
}

QString librariesCount(int count)
{
    return tr2(QStringLiteral("%1 bibliothèque(s)").arg(IsolatedNumber(count)), QStringLiteral("%1 مكتبة").arg(IsolatedNumber(count)));
}

QString correspondentNumberTaken()
{
    return tr2(QStringLiteral("Ce numéro de lecteur existe déja"), QStringLiteral("رقم القارئ هذا موجود من قبل"));
}

QString deleteCorrespondentQuestion(const QString &name)
{
    return tr2(QStringLiteral("Etes-vous sûr de vouloir supprimer le Responsable") + u' ' + name + u'?',
               QStringLiteral("هل أنت متأكد من حذف المسؤول") + u' ' + name + QStringLiteral("؟"));
}

QString correspondentNotDeletable()
{
    return tr2(QStringLiteral("Impossible de supprimer ce lecteur "), QStringLiteral("لا يمكن حذف هذا القارئ "));
}

QString correspondentHolds(int interLibraryLoans, int loans, int reservations)
{
    return tr2(QStringLiteral("Il a %1 PEB enregistré(s), %2 prêt(s) et %3 réservation(s).")
                   .arg(IsolatedNumber(interLibraryLoans))
                   .arg(IsolatedNumber(loans))
                   .arg(IsolatedNumber(reservations)),
               QStringLiteral("لديه %1 إعارة بين المكتبات مسجلة و %2 إعارة و %3 حجز.")
                   .arg(IsolatedNumber(interLibraryLoans))
                   .arg(IsolatedNumber(loans))
                   .arg(IsolatedNumber(reservations)));
}

QString correspondentUnknown(const QString &id) { return readerUnknown(id); }

QString newCorrespondentTitle() { return tr2(QStringLiteral("Nouveau responsable"), QStringLiteral("مسؤول جديد")); }

QString editCorrespondentTitle()
{
    return tr2(QStringLiteral("Modifier les informations"), QStringLiteral("تعديل المعلومات"));
}

QString passwordKept()
{
    return tr2(QStringLiteral("(inchangé si vide)"), QStringLiteral("(دون تغيير إذا ترك فارغا)"));
}

QString interLibraryFieldsMissing()
{
    return tr2(QStringLiteral("Le titre et l'auteur doivent être saisis."), QStringLiteral("يجب إدخال العنوان والمؤلف."));
}

QString libraryNotChosen()
{
    return tr2(QStringLiteral("La bibliothèque n'est pas choisie."), QStringLiteral("المكتبة غير محددة."));
}

QString dueDateMissing()
{
    return tr2(QStringLiteral("La date de retour n'est pas saisie."), QStringLiteral("تاريخ الإرجاع غير مدخل."));
}

QString dueDateInvalid(const QString &typed, const QString &format)
{
    const QString hint = QStringLiteral(" (") + format.toLower() + QStringLiteral(").");
    return tr2(QStringLiteral("La date de retour \"") + Isolated(typed) + QStringLiteral("\" n'est pas une date") + hint,
               QStringLiteral("تاريخ الإرجاع \"") + Isolated(typed) + QStringLiteral("\" ليس تاريخا") + hint);
}

QString dueDateBeforeToday(const QDate &today)
{
    return tr2(QStringLiteral("La date de retour ne peut pas précéder la date du prêt (") + IsolatedDate(today)
                   + QStringLiteral(")."),
               QStringLiteral("لا يمكن أن يسبق تاريخ الإرجاع تاريخ الإعارة (") + IsolatedDate(today) + QStringLiteral(")."));
}

QString interLibraryCopyOpen(const QString &copy, const QString &reader)
{
    return tr2(QStringLiteral("L'exemplaire \"") + Isolated(copy) + QStringLiteral("\" de cette bibliothèque est déjà prêté au lecteur \"")
                   + Isolated(reader) + QStringLiteral("\"."),
               QStringLiteral("النسخة \"") + Isolated(copy) + QStringLiteral("\" من هذه المكتبة معارة للقارئ \"") + Isolated(reader)
                   + QStringLiteral("\"."));
}

QString interLibraryNotFound() { return tr2(QStringLiteral("PEB introuvable"), QStringLiteral("الإعارة بين المكتبات غير موجودة")); }

QString interLibraryReturnPenalised(const QString &reader, const QDate &until)
{
    // No blank between the closing quote and "est", as the desks have always shown it.
    return tr2(QStringLiteral("Retour effectué mais le lecteur \"") + Isolated(reader) + QStringLiteral("\"est pénalisé jusqu'au : ")
                   + IsolatedDate(until),
               QStringLiteral("إرجاع محقق بنجاح لكن القارئ \"") + Isolated(reader) + QStringLiteral("\" عوقب إلى غاية : ")
                   + IsolatedDate(until));
}

} // namespace folian::circ
