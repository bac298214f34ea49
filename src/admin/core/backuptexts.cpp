#include "admin/core/backuptexts.h"

#include "base/messages.h"

namespace folian::backup {

QString copying()
{
    return tr2(QStringLiteral("Copie de la base en cours…"), QStringLiteral("جارٍ نسخ قاعدة البيانات…"));
}

QString checking()
{
    return tr2(QStringLiteral("Vérification de la copie…"), QStringLiteral("جارٍ التحقق من النسخة…"));
}

QString directoryUnusable(const QString &dir)
{
    return tr2(QStringLiteral("Le dossier \"%1\" ne peut pas recevoir de sauvegarde (il ne peut être créé ou n'est pas "
                              "accessible en écriture) : rien n'a été écrit.").arg(dir),
               QStringLiteral("لا يمكن حفظ النسخة الاحتياطية في المجلد \"%1\" (تعذر إنشاؤه أو الكتابة فيه): لم يُكتب شيء.")
                   .arg(dir));
}

QString inTransaction()
{
    return tr2(QStringLiteral("Une opération est en cours sur cette connexion : terminez-la avant de sauvegarder."),
               QStringLiteral("عملية جارية على هذا الاتصال: أنهها قبل النسخ الاحتياطي."));
}

QString stopped()
{
    return tr2(QStringLiteral("Arrêté à la demande : aucun fichier n'a été gardé."),
               QStringLiteral("أُوقف بطلب منك: لم يُحتفظ بأي ملف."));
}

QString copyFailed(const QString &reason)
{
    return tr2(QStringLiteral("La copie de la base a échoué : %1. Aucun fichier n'a été gardé.").arg(reason),
               QStringLiteral("فشل نسخ قاعدة البيانات: %1. لم يُحتفظ بأي ملف.").arg(reason));
}

QString copyUnreadable(const QString &file, const QString &reason)
{
    return tr2(QStringLiteral("Le fichier \"%1\" ne se lit pas en entier : %2.").arg(file, reason),
               QStringLiteral("تعذرت قراءة الملف \"%1\" كاملا: %2.").arg(file, reason));
}

QString toolMissing(const QString &tool, int serverMajor)
{
    return tr2(QStringLiteral("L'outil %1 de PostgreSQL %2 (ou plus récent) est introuvable : installez le paquet "
                              "postgresql-client-%2 sur ce poste.").arg(tool).arg(serverMajor),
               QStringLiteral("الأداة %1 الخاصة بـ PostgreSQL %2 (أو أحدث) غير موجودة: ثبّت الحزمة "
                              "postgresql-client-%2 على هذا الحاسوب.").arg(tool).arg(serverMajor));
}

QString toolTooOld(const QString &path, int toolMajor, int serverMajor)
{
    return tr2(QStringLiteral("%1 est de la version %2, plus ancienne que le serveur (%3) : installez "
                              "postgresql-client-%3.").arg(path).arg(toolMajor).arg(serverMajor),
               QStringLiteral("%1 من الإصدار %2، أقدم من الخادم (%3): ثبّت postgresql-client-%3.")
                   .arg(path).arg(toolMajor).arg(serverMajor));
}

QString toolFailed(const QString &tool, const QString &output)
{
    return tr2(QStringLiteral("%1 a échoué : %2").arg(tool, output.trimmed()),
               QStringLiteral("فشل %1: %2").arg(tool, output.trimmed()));
}

QString fileMissing(const QString &file)
{
    return tr2(QStringLiteral("Le fichier \"%1\" n'existe pas.").arg(file),
               QStringLiteral("الملف \"%1\" غير موجود.").arg(file));
}

QString checksumMismatch(const QString &file)
{
    return tr2(QStringLiteral("Le fichier \"%1\" a été modifié ou abîmé depuis la sauvegarde (sa taille ou sa somme de "
                              "contrôle diffère de sa description) : rien n'a été restauré.").arg(file),
               QStringLiteral("الملف \"%1\" تغيّر أو تلف منذ النسخ الاحتياطي (حجمه أو مجموعه الاختباري يختلف عن وصفه): "
                              "لم يُسترجع شيء.").arg(file));
}

QString notABackup(const QString &file)
{
    return tr2(QStringLiteral("Le fichier \"%1\" n'est pas une sauvegarde de Folian lisible : rien n'a été restauré.").arg(file),
               QStringLiteral("الملف \"%1\" ليس نسخة احتياطية مقروءة لـ Folian: لم يُسترجع شيء.").arg(file));
}

QString engineMismatch(const QString &backupEngine, const QString &databaseEngine)
{
    return tr2(QStringLiteral("Cette sauvegarde vient d'une base %1 ; la base configurée est %2 : rien n'a été restauré.")
                   .arg(backupEngine, databaseEngine),
               QStringLiteral("هذه النسخة من قاعدة %1، والقاعدة المهيأة %2: لم يُسترجع شيء.").arg(backupEngine, databaseEngine));
}

QString targetHoldsData(qint64 records, qint64 copies, qint64 readers, qint64 loans)
{
    return tr2(QStringLiteral("La base contient déjà des données (%1 notice(s), %2 exemplaire(s), %3 lecteur(s), %4 prêt(s)) : "
                              "rien n'a été restauré. Pour la remplacer, demandez le remplacement : elle sera d'abord "
                              "sauvegardée.").arg(records).arg(copies).arg(readers).arg(loans),
               QStringLiteral("القاعدة تحتوي بيانات (%1 تسجيلة، %2 نسخة، %3 قارئ، %4 إعارة): لم يُسترجع شيء. "
                              "لاستبدالها اطلب الاستبدال: ستُنسخ احتياطيا أولا.")
                   .arg(records).arg(copies).arg(readers).arg(loans));
}

QString newerThanProgram(int backupVersion, int programVersion)
{
    return tr2(QStringLiteral("Cette sauvegarde est de la version %1 du schéma, plus récente que ce programme (%2) : "
                              "mettez le programme à jour.").arg(backupVersion).arg(programVersion),
               QStringLiteral("هذه النسخة من الإصدار %1 للمخطط، أحدث من هذا البرنامج (%2): حدّث البرنامج.")
                   .arg(backupVersion).arg(programVersion));
}

QString upgradeFailed(const QString &reason)
{
    return tr2(QStringLiteral("La sauvegarde est restaurée mais la mise à jour de son schéma a échoué : %1").arg(reason),
               QStringLiteral("استُرجعت النسخة لكن فشل تحديث مخططها: %1").arg(reason));
}

QString descriptionNotWritten(const QString &file, const QString &reason)
{
    return tr2(QStringLiteral("La description \"%1\" n'a pu être écrite : %2. Aucun fichier n'a été gardé.").arg(file, reason),
               QStringLiteral("تعذرت كتابة الوصف \"%1\": %2. لم يُحتفظ بأي ملف.").arg(file, reason));
}

QString written(const QString &file, qint64 size, qint64 records, qint64 copies, qint64 readers, qint64 loans)
{
    return tr2(QStringLiteral("Sauvegarde terminée et vérifiée : %1 (%2 Ko). Elle contient %3 notice(s), %4 exemplaire(s), "
                              "%5 lecteur(s) et %6 prêt(s).")
                   .arg(file).arg((size + 1023) / 1024).arg(records).arg(copies).arg(readers).arg(loans),
               QStringLiteral("اكتمل النسخ الاحتياطي وتم التحقق منه: %1 (%2 ك.ب). يحتوي %3 تسجيلة و%4 نسخة و%5 قارئ "
                              "و%6 إعارة.")
                   .arg(file).arg((size + 1023) / 1024).arg(records).arg(copies).arg(readers).arg(loans));
}

QString restoreQuestion(const QString &file)
{
    return tr2(QStringLiteral("Restaurer la sauvegarde \"%1\" ? Tout ce que contient la base sera remplacé (une sauvegarde "
                              "en sera d'abord faite dans ce dossier). Les autres postes devront être relancés.").arg(file),
               QStringLiteral("استرجاع النسخة \"%1\"؟ سيُستبدل كل ما في القاعدة (بعد نسخه احتياطيا في هذا المجلد). "
                              "يجب إعادة تشغيل الحواسيب الأخرى.").arg(file));
}

QString restored(qint64 records, qint64 copies, qint64 readers, qint64 loans, const QString &keptIn)
{
    const QString kept = keptIn.isEmpty() ? QString()
                                          : tr2(QStringLiteral(" Ce qu'elle contenait est gardé dans %1.").arg(keptIn),
                                                QStringLiteral(" ما كانت تحتويه محفوظ في %1.").arg(keptIn));
    return tr2(QStringLiteral("Restauration terminée : la base contient %1 notice(s), %2 exemplaire(s), %3 lecteur(s) et "
                              "%4 prêt(s). Quittez et relancez le programme sur chaque poste.")
                   .arg(records).arg(copies).arg(readers).arg(loans),
               QStringLiteral("اكتمل الاسترجاع: تحتوي القاعدة %1 تسجيلة و%2 نسخة و%3 قارئ و%4 إعارة. أغلق البرنامج "
                              "وأعد تشغيله على كل حاسوب.")
                   .arg(records).arg(copies).arg(readers).arg(loans))
        + kept;
}

} // namespace folian::backup
