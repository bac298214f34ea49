#include "data/core/connectiontexts.h"

#include "base/messages.h"

namespace folian {

namespace {
QString withReason(const QString &text, const QString &reason)
{
    return reason.trimmed().isEmpty() ? text : text + u' ' + reason.trimmed();
}
} // namespace

QString configFileMissingMessage(const QString &iniPath)
{
    return tr2(QStringLiteral("Fichier de configuration introuvable : %1"), QStringLiteral("ملف الإعدادات غير موجود : %1"))
        .arg(iniPath);
}

QString configFileUnreadableMessage(const QString &iniPath)
{
    return tr2(QStringLiteral("Lecture impossible du fichier de configuration : %1"),
               QStringLiteral("تعذرت قراءة ملف الإعدادات : %1"))
        .arg(iniPath);
}

QString noCatalogMessage(const QString &iniPath)
{
    if (iniPath.isEmpty())
        return tr2(QStringLiteral("Aucune base de données indiquée : la clé Catalog est vide."),
                   QStringLiteral("لم تحدد قاعدة البيانات : المفتاح Catalog فارغ."));
    return tr2(QStringLiteral("Aucune base de données indiquée : la clé Catalog est vide dans %1."),
               QStringLiteral("لم تحدد قاعدة البيانات : المفتاح Catalog فارغ في %1."))
        .arg(iniPath);
}

QString unknownEngineMessage(const QString &engine, const QString &iniPath)
{
    const QString text = iniPath.isEmpty()
        ? tr2(QStringLiteral("Moteur de base de données inconnu « %1 » (SQLITE ou POSTGRESQL)."),
              QStringLiteral("محرك قاعدة بيانات غير معروف « %1 » (SQLITE أو POSTGRESQL)."))
        : tr2(QStringLiteral("Moteur de base de données inconnu « %1 » dans %2 (SQLITE ou POSTGRESQL)."),
              QStringLiteral("محرك قاعدة بيانات غير معروف « %1 » في %2 (SQLITE أو POSTGRESQL)."));
    return iniPath.isEmpty() ? text.arg(engine) : text.arg(engine, iniPath);
}

QString driverMissingMessage(const QString &driver)
{
    return tr2(QStringLiteral("Le pilote de base de données %1 n'est pas installé."),
               QStringLiteral("برنامج تشغيل قاعدة البيانات %1 غير مثبت."))
        .arg(driver);
}

QString badServerMessage(const QString &server)
{
    return tr2(QStringLiteral("Adresse de serveur incorrecte « %1 » : hôte[:port], une adresse IPv6 entre crochets ([::1]:5432)."),
               QStringLiteral("عنوان الخادم غير صحيح « %1 » : المضيف[:المنفذ]، وعنوان IPv6 بين معقوفين ([::1]:5432)."))
        .arg(server);
}

QString badSslModeMessage(const QString &mode)
{
    return tr2(QStringLiteral("Valeur de SSLMode incorrecte « %1 » : disable, allow, prefer, require, verify-ca ou verify-full."),
               QStringLiteral("قيمة SSLMode غير صحيحة « %1 » : disable أو allow أو prefer أو require أو verify-ca أو verify-full."))
        .arg(mode);
}

QString databaseFileMissingMessage(const QString &path)
{
    return tr2(QStringLiteral("Fichier de base de données introuvable : %1"), QStringLiteral("ملف قاعدة البيانات غير موجود : %1"))
        .arg(path);
}

QString notADatabaseMessage(const QString &path)
{
    return tr2(QStringLiteral("Le fichier %1 n'est pas une base de données."), QStringLiteral("الملف %1 ليس قاعدة بيانات."))
        .arg(path);
}

QString notFolianDatabaseMessage(const QString &path)
{
    return tr2(QStringLiteral("Le fichier %1 n'est pas une base de données Folian (il ne porte aucune version de schéma) : "
                              "il n'a pas été modifié."),
               QStringLiteral("الملف %1 ليس قاعدة بيانات Folian (لا يحمل أي رقم إصدار للمخطط) : لم يغير."))
        .arg(path);
}

QString serverUnreachableMessage(const QString &reason)
{
    return withReason(tr2(QStringLiteral("Le serveur de la base de données ne peut pas être joint :"),
                          QStringLiteral("تعذر الوصول إلى خادم قاعدة البيانات :")),
                      reason);
}

QString connectionLostMessage(const QString &reason)
{
    return withReason(tr2(QStringLiteral("La connexion au serveur de la base de données est perdue et n'a pas pu être rétablie :"),
                          QStringLiteral("انقطع الاتصال بخادم قاعدة البيانات وتعذرت استعادته :")),
                      reason);
}

} // namespace folian
