#include "admin/core/about.h"

#include "base/dates.h"
#include "base/messages.h"
#include "base/session.h"
#include "base/version.h"
#include "data/core/database.h"
#include "data/core/dialect.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "i18n/core/translationfile.h"

#include <QDate>

namespace folian {

AboutInfo readAboutInfo(Database &db, const Session &s)
{
    AboutInfo info;
    info.version = QLatin1String(kVersion);
    info.releaseDate = QLatin1String(kReleaseDate);
    info.programSchema = Schema::currentVersion();
    info.translationFile = LanguageFilePath();
    if (!db.isOpen())
        return info;
    info.schemaVersion = schemaVersion(db);
    const bool server = db.dialect().name() == QLatin1String("POSTGRESQL");
    info.engine = server ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
    info.database = server && !s.DbServer.isEmpty()
        ? QStringLiteral("%1 @ %2").arg(s.DbCatalog, s.DbServer)
        : s.DbCatalog;
    return info;
}

QStringList aboutLines(const AboutInfo &info)
{
    const QDate released = QDate::fromString(info.releaseDate, Qt::ISODate);
    // Versions, names and paths read left to right in an Arabic line too.
    const auto ltr = [](const QString &text) -> QString { return QChar(0x2066) + text + QChar(0x2069); };
    QStringList lines;
    lines << tr2(QStringLiteral("Folian, gestion de bibliothèque"), QStringLiteral("فوليان، تسيير المكتبة"));
    lines << tr2(QStringLiteral("Version : "), QStringLiteral("الإصدار : ")) + ltr(info.version)
            + tr2(QStringLiteral(" du "), QStringLiteral(" بتاريخ ")) + ltr(ShowDate(released));
    if (info.engine.isEmpty()) {
        lines << tr2(QStringLiteral("Aucune base de données ouverte."), QStringLiteral("لا توجد قاعدة بيانات مفتوحة."));
    } else {
        QString schema = tr2(QStringLiteral("Version du schéma de la base : "),
                             QStringLiteral("إصدار مخطط القاعدة : "))
            + QString::number(info.schemaVersion);
        if (info.schemaVersion != info.programSchema)
            schema += tr2(QStringLiteral(" (le programme connaît la version %1)"),
                          QStringLiteral(" (يعرف البرنامج الإصدار %1)"))
                          .arg(info.programSchema);
        lines << schema;
        lines << tr2(QStringLiteral("Moteur : "), QStringLiteral("المحرك : ")) + ltr(info.engine);
        lines << tr2(QStringLiteral("Base : "), QStringLiteral("القاعدة : ")) + ltr(info.database);
    }
    // Which captions are in use: a copy beside Folian.ini is read before the installed one.
    lines << tr2(QStringLiteral("Traductions : "), QStringLiteral("الترجمة : "))
            + (info.translationFile.isEmpty()
                   ? tr2(QStringLiteral("aucun fichier trouvé"), QStringLiteral("لم يوجد أي ملف"))
                   : ltr(info.translationFile));
    return lines;
}

} // namespace folian
