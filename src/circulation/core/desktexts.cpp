#include "circulation/core/desktexts.h"

#include "base/dates.h"
#include "base/messages.h"
#include "circulation/core/circulationtexts.h"

namespace folian::circ {

namespace {

QString quoted(const QDate &d) { return u'\'' + IsolatedDate(d) + u'\''; }

QString fr(const char16_t *s) { return QString::fromUtf16(s); }

// A refusal that starts with the operation's prefix and the copy number.
QString copyText(const char16_t *frPrefix, const QString &id, const char16_t *frEnd, const char16_t *arPrefix,
                 const char16_t *arEnd)
{
    return tr2(fr(frPrefix) + Isolated(id) + fr(frEnd), fr(arPrefix) + Isolated(id) + fr(arEnd));
}

const char16_t *kLoan = u"Prêt impossible car l'exemplaire \"";
const char16_t *kReturn = u"Retour impossible car l'exemplaire \"";
const char16_t *kReservation = u"Réservation impossible car l'exemplaire \"";
const char16_t *kRenewal = u"Prolongation impossible car l'exemplaire \"";
const char16_t *kCancellation = u"Annulation de la réservation impossible car l'exemplaire \"";
const char16_t *kConsultation = u"Consultation impossible car l'exemplaire \"";
const char16_t *kCopy = u"النسخة \"";

} // namespace

QString copyNotEntered()
{
    return tr2(QStringLiteral("Le numéro d'exemplaire n'est pas saisi"), QStringLiteral("النسخة غير مدخلة"));
}

QString copyStatusUndefined(const QString &typed)
{
    return copyText(u"le Statut de l'exemplaire \"", typed, u"\" est non définie.", u"حالة النسخة \"", u"\" غير محددة");
}

QString loanCopyUnknown(const QString &typed) { return copyText(kLoan, typed, u"\" n'existe pas.", kCopy, u"\" غير موجودة"); }
QString returnCopyUnknown(const QString &typed) { return copyText(kReturn, typed, u"\" n'existe pas.", kCopy, u"\" غير موجودة"); }
QString reservationCopyUnknown(const QString &typed)
{
    return copyText(kReservation, typed, u"\" n'existe pas.", kCopy, u"\" غير موجودة");
}
QString renewalCopyUnknown(const QString &typed) { return copyText(kRenewal, typed, u"\" n'existe pas.", kCopy, u"\" غير موجودة"); }
QString cancellationCopyUnknown(const QString &typed)
{
    return copyText(kCancellation, typed, u"\" n'existe pas.", kCopy, u"\" غير موجودة");
}
QString consultationCopyUnknown(const QString &typed)
{
    return copyText(kConsultation, typed, u"\" n'existe pas", kCopy, u"\" غير موجودة");
}

QString loanRefusedForStatus(const QString &id, int status)
{
    switch (status) {
    case 1: return copyText(kLoan, id, u"\" est en dépôt", kCopy, u"\" في ايداع");
    case 3:
        return copyText(kLoan, id, u"\" est exclu du prêt externe, il peut être consulté sur place", u"النسخة\"",
                        u"\" معفاة من الإعارة الخارجية و موجهة للإعارة الداخلية");
    case 5: return copyText(u"Prêt impossible car l'exemplaire\"", id, u"\" est déterioré", u"النسخة  \"", u"\" متلفة");
    case 6: return copyText(kLoan, id, u"\" est perdu", kCopy, u"\" مفقودة");
    case 7: return copyText(kLoan, id, u"\" a été échangé", kCopy, u"\" مستبدلة");
    case 8: return copyText(kLoan, id, u"\" a été cédé", kCopy, u"\" مهداة");
    default: return {};
    }
}

QString copyOnLoanUntil(const QString &id, const QDate &due)
{
    return tr2(QStringLiteral("L'exemplaire \"") + Isolated(id) + QStringLiteral("\" est actuellement emprunté  jusqu'au : ") + quoted(due),
               QStringLiteral("النسخة\"") + Isolated(id) + QStringLiteral("\" معارة حتى : ") + quoted(due));
}

QString andReservedUntil(const QDate &hold)
{
    return tr2(QStringLiteral(" et réservé jusqu'au :") + quoted(hold), QStringLiteral(" و محجزة حتى : ") + quoted(hold));
}

QString interLibraryCopyOrdinaryReader(const QString &id, const QString &reader)
{
    return tr2(QStringLiteral("L'exemplaire \"") + Isolated(id) + QStringLiteral("\" est destiné pour le PEB or que le lecteur\"")
                   + Isolated(reader) + QStringLiteral("\" n'est pas un responsable de PEB"),
               QStringLiteral("النسخة \"") + Isolated(id) + QStringLiteral("\" متوفرة للإعارة الخارجية لكن القارئ\"") + Isolated(reader)
                   + QStringLiteral("\" ليس مسؤول عن الإعارة الخارجية"));
}

QString interLibraryReaderOrdinaryCopy(const QString &id, const QString &reader)
{
    return tr2(QStringLiteral("Le lecteur \"") + Isolated(reader) + QStringLiteral("\" est un responsable de PEB or que l'exemplaire\"")
                   + Isolated(id) + QStringLiteral("\" n'est pas destiné pour le PEB"),
               QStringLiteral("القارئ \"") + Isolated(reader) + QStringLiteral("\" مسؤول عن الإعارة الخارجية لكن النسخة\"") + Isolated(id)
                   + QStringLiteral("\" غير متوفرة للإعارة الخارجية"));
}

QString loanNoRule()
{
    return tr2(QStringLiteral("Prêt impossible car le règlement correspondant n'existe pas"),
               QStringLiteral("القانون الموافق غير موجود"));
}

QString quotaExceeded(const QString &reader)
{
    return tr2(QStringLiteral("Prêt impossible car le quota est dépassé pour le lecteur \"") + Isolated(reader) + u'"',
               QStringLiteral("عدد النسخ المعارة متجاوز من طرف القارئ \"") + Isolated(reader) + u'"');
}

QString loanReservedUntil(const QString &id, const QDate &hold)
{
    return tr2(fr(kLoan) + Isolated(id) + QStringLiteral("\" est réservé jusqu'au : ") + quoted(hold),
               fr(kCopy) + Isolated(id) + QStringLiteral("\" محجزة حتى : ") + quoted(hold));
}

QString loanDone(const QString &id)
{
    return copyText(u"Prêt de l'exemplaire \"", id, u"\" effectué avec succès", u"إعارة النسخة \"", u"\" محققة بنجاح");
}

QString copyNotOnLoan(const QString &id)
{
    return copyText(kReturn, id, u"\" n'est pas au prêt externe.", kCopy, u"\" غير معارة");
}

QString readerNotBorrower()
{
    return tr2(QStringLiteral("N° lecteur ne correspond pas à l'emprunteur"),
               QStringLiteral("رقم القارئ المدخل لا يطابق رقم القارئ المعير"));
}

QString returnPenalised(const QString &reader, const QDate &until)
{
    return tr2(QStringLiteral("Retour effectué mais le lecteur \"") + Isolated(reader) + QStringLiteral("\" a été pénalisé jusqu'au : ")
                   + IsolatedDate(until),
               QStringLiteral("إرجاع محقق بنجاح لكن القارئ \"") + Isolated(reader) + QStringLiteral("\" عوقب إلى غاية : ")
                   + IsolatedDate(until));
}

QString returnDone(const QString &id)
{
    return copyText(u"Retour de l'exemplaire \"", id, u"\" effectué avec succès", u"إرجاع النسخة \"", u"\" محقق بنجاح");
}

QString returnedCopyReserved(const QString &reserver, const QDate &hold)
{
    return tr2(QStringLiteral("L'exemplaire est réservé par le lecteur \"") + Isolated(reserver) + QStringLiteral("\" jusqu'au : ")
                   + quoted(hold) + QStringLiteral(" : mettez-le de côté."),
               QStringLiteral("النسخة محجوزة من طرف القارئ \"") + Isolated(reserver) + QStringLiteral("\" حتى : ") + quoted(hold)
                   + QStringLiteral(" : ضعها جانبا."));
}

QString returnBeforeLoan(const QString &id, const QDate &lent)
{
    return tr2(fr(kReturn) + Isolated(id) + QStringLiteral("\" a été prêté le ") + quoted(lent)
                   + QStringLiteral(" : un retour ne peut pas précéder son prêt."),
               fr(kCopy) + Isolated(id) + QStringLiteral("\" أعيرت يوم ") + quoted(lent)
                   + QStringLiteral(" : لا يمكن أن يسبق الإرجاع الإعارة."));
}

QString consultationAtLoanDesk(const QString &id)
{
    return copyText(kReturn, id, u"\" est consulté sur place : son retour se fait à l'écran « Consultation sur place ».",
                    kCopy, u"\" قيد الاطلاع الداخلي : يتم إرجاعها من شاشة « الاطلاع الداخلي ».");
}

QString loanAtConsultationScreen(const QString &id)
{
    return copyText(kReturn, id, u"\" est au prêt externe : son retour se fait à l'écran « Prêt externe ».", kCopy,
                    u"\" معارة إعارة خارجية : يتم إرجاعها من شاشة « الإعارة الخارجية ».");
}

QString reservationCopyAvailable(const QString &typed)
{
    return copyText(kReservation, typed, u"\" est disponible", u"حجز  غير محقق \"", u"\" متوفرة");
}

QString reservationAlreadyReserved(const QString &id, const QDate &hold)
{
    return tr2(fr(kReservation) + Isolated(id) + QStringLiteral("\" est déjà réservé jusqu'au : ") + quoted(hold),
               QStringLiteral("حجز  غير محقق النسخة \"") + Isolated(id) + QStringLiteral("\" محجوزة إلى غاية : ") + quoted(hold));
}

QString reservationReaderHoldsCopy(const QString &typed)
{
    return tr2(QStringLiteral("Réservation impossible car le lecteur est déjà en possession de l'exemplaire \"") + Isolated(typed) + u'"',
               QStringLiteral("حجز  غير محقق القارئ لديه النسخة \"") + Isolated(typed));
}

QString reservationNoRule()
{
    return tr2(QStringLiteral("Réservation impossible car le règlement appliqué n'existe pas"),
               QStringLiteral("القانون الموافق غير موجود"));
}

QString reservationDone(const QString &id)
{
    return copyText(u"Réservation de l'exemplaire \"", id, u"\" effectuée avec succès", u"حجز النسخة \"", u"\" محقق بنجاح");
}

QString renewalNotLent(const QString &id)
{
    return copyText(kRenewal, id, u"\" n'est pas prêté", u"التمديد  غير محقق النسخة \"", u"\" غير معارة");
}

QString renewalDuePassed(const QString &id)
{
    return copyText(u"Prolongation impossible car la date de restitution de l'exemplaire \"", id, u"\" est dépassée",
                    u"التمديد  غير محقق تاريخ إرجاع النسخة \"", u"\" مجاوز");
}

QString renewalReserved(const QString &id, const QDate &hold)
{
    return tr2(fr(kRenewal) + Isolated(id) + QStringLiteral("\" est réservé jusqu'au : ") + quoted(hold),
               QStringLiteral("التمديد  غير محقق  النسخة \"") + Isolated(id) + QStringLiteral("\" محجزة إلى غاية : ") + quoted(hold));
}

QString renewalNoRule()
{
    return tr2(QStringLiteral("Prolongation impossible car le règlement appliqué n'existe pas"),
               QStringLiteral("التمديد  غير محقق القانون الموافق غير موجود"));
}

QString renewalAlreadyDone(const QString &id)
{
    return copyText(kRenewal, id, u"\" a été déjà prolongé", u"التمديد  غير محقق لأن النسخة \"", u"\" ممددة من قبل ");
}

QString renewalDone(const QString &id)
{
    return copyText(u"Prolongation de l'exemplaire \"", id, u"\" effectuée avec succès", u"تمديد  النسخة \"",
                    u"\" محقق بنجاح");
}

QString cancellationNotReserved(const QString &id)
{
    return copyText(kCancellation, id, u"\" n'est pas réservé.", kCopy, u"\"غير محجوزة");
}

QString readerNotReserver()
{
    return tr2(QStringLiteral("N° lecteur ne correspond pas au lecteur qui a réservé"),
               QStringLiteral("رقم القارئ المدخل لا يطابق رقم القارئ المحجز"));
}

QString cancellationDone(const QString &id)
{
    return copyText(u"Annulation de la réservation de l'exemplaire \"", id, u"\" effectuée avec succès",
                    u"إلغاء حجز النسخة \"", u"\" محقق بنجاح");
}

QString consultationRefusedForStatus(const QString &id, int status)
{
    const char16_t *ar = u"الاطلاع غير ممكن لأن النسخة \"";
    switch (status) {
    case 1: return copyText(kConsultation, id, u"\" est en dépôt", ar, u"\" في ايداع");
    case 2: return copyText(kConsultation, id, u"\" est destiné au prêt externe", ar, u"\" موجهة للإعارة الخارجية");
    case 3: return copyText(kConsultation, id, u"\" est actuellement consulté ", ar, u"\" قيد الاطلاع حاليا");
    case 4: return copyText(kConsultation, id, u"\" est dipsonible pour le PEB", ar, u"\" متوفرة للإعارة بين المكتبات");
    case 5: return copyText(kConsultation, id, u"\" est détrioré", ar, u"\" متلفة");
    case 6: return copyText(kConsultation, id, u"\" est perdu", ar, u"\" مفقودة");
    case 7: return copyText(kConsultation, id, u"\" a été échangé", ar, u"\" مستبدلة");
    case 8: return copyText(kConsultation, id, u"\" a été cédé", ar, u"\" مهداة");
    default: return {};
    }
}

QString consultationDone(const QString &id)
{
    return copyText(u"Consultation de l'exemplaire \"", id, u"\" effectuée avec succès", u"الاطلاع على النسخة \"",
                    u"\" محقق بنجاح");
}

QString consultationNotCurrent(const QString &id)
{
    return copyText(kReturn, id, u"\" n'est pas consulté actuellement.", kCopy, u"\" غير مطلع عليها حاليا");
}

QString consultationReturnPenalised(const QString &reader, const QDate &until)
{
    return tr2(QStringLiteral("Retour effectué mais le lecteur \"") + Isolated(reader) + QStringLiteral("\"est pénalisé jusqu'au : ")
                   + IsolatedDate(until),
               QStringLiteral("إرجاع محقق بنجاح لكن القارئ \"") + Isolated(reader) + QStringLiteral("\" عوقب إلى غاية : ")
                   + IsolatedDate(until));
}

QString copyChangedMeanwhile(const QString &id)
{
    return tr2(QStringLiteral("L'exemplaire \"") + Isolated(id)
                   + QStringLiteral("\" vient d'être modifié par un autre poste : recommencez l'opération."),
               QStringLiteral("النسخة \"") + Isolated(id) + QStringLiteral("\" عدلت للتو من مركز آخر : أعد العملية."));
}

QString replayBadLine(int line)
{
    return tr2(QStringLiteral("Ligne %1 : ligne illisible (DATE, OPERATION, LECTEUR, EXEMPLAIRE attendus)").arg(IsolatedNumber(line)),
               QStringLiteral("السطر %1 : سطر غير مقروء").arg(IsolatedNumber(line)));
}

QString replayFutureDate(int line, const QDate &date)
{
    return tr2(QStringLiteral("Ligne %1 : la date %2 est dans le futur").arg(IsolatedNumber(line)).arg(IsolatedDate(date)),
               QStringLiteral("السطر %1 : التاريخ %2 في المستقبل").arg(IsolatedNumber(line)).arg(IsolatedDate(date)));
}

QString replayUnknownOperation(int line, const QString &operation)
{
    return tr2(QStringLiteral("Ligne %1 : opération inconnue \"%2\"").arg(IsolatedNumber(line)).arg(operation),
               QStringLiteral("السطر %1 : عملية مجهولة \"%2\"").arg(IsolatedNumber(line)).arg(operation));
}

QString replayCounts(int done, int refused)
{
    return tr2(QStringLiteral("%1 opération(s) effectuée(s), %2 refusée(s)").arg(IsolatedNumber(done)).arg(IsolatedNumber(refused)),
               QStringLiteral("%1 عملية محققة، %2 مرفوضة").arg(IsolatedNumber(done)).arg(IsolatedNumber(refused)));
}

QString replayUnreadable(const QString &path)
{
    return tr2(QStringLiteral("Fichier illisible : ") + path, QStringLiteral("ملف غير مقروء : ") + path);
}

} // namespace folian::circ
