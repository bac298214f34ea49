#include "reports/core/editions.h"

#include "base/messages.h"
#include "base/outputdir.h"
#include "data/core/database.h"
#include "data/core/schema_scratch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace folian {

namespace {

EditionEntry entry(const char16_t *name, const char16_t *caption, Right right, const char16_t *subject,
                   const char16_t *arabicSubject)
{
    return {QString::fromUtf16(name),
            QString::fromUtf16(caption),
            right,
            QStringLiteral("Editions - ") + QString::fromUtf16(subject),
            QStringLiteral("التقارير - ") + QString::fromUtf16(arabicSubject),
            {},
            {},
            {}};
}

EditionEntry pageEntry(const char16_t *name, const char16_t *caption, const char16_t *subject,
                       const char16_t *arabicSubject, const char16_t *page)
{
    EditionEntry e = entry(name, caption, Right::CatEdition, subject, arabicSubject);
    e.page = QString::fromUtf16(page);
    e.pageFrench = QString::fromUtf16(subject);
    e.pageArabic = QString::fromUtf16(arabicSubject);
    return e;
}

QList<EditionGroup> buildMenu()
{
    const Right cat = Right::CatEdition, circ = Right::CirculEdition, acq = Right::AcqEdition;
    return {
        {QStringLiteral("LblCatalogage"),
         QStringLiteral("Catalogage :"),
         {entry(u"BtnGeneration", u"Génération...", cat, u"Génération catalogue", u"توليد الفهرس"),
          pageEntry(u"BtnCatalogue", u"Catalogue ", u"Catalogue", u"الفهرس", u"catalogue.html"),
          pageEntry(u"BtnIndexTitres", u"Index titres", u"Index titres", u"كشاف العناوين", u"titres.html"),
          pageEntry(u"BtnIndexAuteurs", u"Index auteurs", u"Index auteurs", u"كشاف المؤلفين", u"auteurs.html"),
          pageEntry(u"BtnIndexMatieres", u"Index matières", u"Index matières", u"كشاف الموضوعات",
                    u"matieres.html"),
          entry(u"BtnFonds", u"Fonds documentaire", cat, u"Fond documentaire par type de document",
                u"الرصيد الوثائقي حسب نوع الوثيقة")}},
        {QStringLiteral("LblCirculation"),
         QStringLiteral("Circulation :"),
         {entry(u"BtnStatLecteur", u"Statistiques de prêt  par lecteur", circ, u"Statistiques de prêt par lecteur",
                u"إحصاءات الإعارة حسب القارئ"),
          entry(u"BtnStatCategorie", u"Statistiques de prêt  par catégorie de lecteur", circ,
                u"Statistiques de prêt par catégorie de lecteur", u"إحصاءات الإعارة حسب فئة القارئ"),
          entry(u"BtnStatDocument", u"Statistiques de prêt  par documents", circ,
                u"Statistiques de prêt par document", u"إحصاءات الإعارة حسب الوثيقة"),
          entry(u"BtnStatTypeDocument", u"Statistiques de prêt  par type de documents", circ,
                u"Statistiques de prêt par type de document", u"إحصاءات الإعارة حسب نوع الوثيقة"),
          entry(u"BtnStatStructure", u"Statistiques de prêt  par structure de lecteur", circ,
                u"Statistiques de prêt par structure de lecteur", u"إحصاءات الإعارة حسب هيكل القراء"),
          entry(u"BtnLecteursInscrits", u"Lecteurs inscrits par catégorie", circ,
                u"Lecteurs inscrits par catégorie", u"القراء المسجلون حسب الفئة"),
          entry(u"BtnStatPeriode", u"Prêts et retours par période", circ, u"Prêts et retours par période",
                u"الإعارات والإرجاعات حسب الفترة")}},
        {QStringLiteral("LblAcquisition"),
         QStringLiteral("Acquisition :"),
         {entry(u"BtnNouvellesAcquisitions", u"Nouvelles acquisitions", acq, u"Nouvelles acquisitions",
                u"المقتنيات الجديدة"),
          entry(u"BtnStatAcquisitions", u"Statistiques des acquisitions", acq, u"Statistiques des acquisitions",
                u"إحصاءات التزويد")}},
    };
}

} // namespace

const QList<EditionGroup> &editionMenu()
{
    static const QList<EditionGroup> menu = buildMenu();
    return menu;
}

QString existingEditionPage(const EditionEntry &e)
{
    if (e.page.isEmpty())
        return {};
    const QString path = reportPath(e.page);
    return QFileInfo(path).isFile() ? path : QString();
}

bool openScratchDatabase(Database &db, const QString &file, bool fresh, QString *why)
{
    const QString path = file.isEmpty() ? scratchDatabasePath() : file;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (fresh) {
        for (const QString &suffix : {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
            if (QFileInfo::exists(path + suffix) && !QFile::remove(path + suffix)) {
                if (why)
                    *why = QStringLiteral("%1 : %2").arg(QDir::toNativeSeparators(path + suffix),
                                                         tr2(QStringLiteral("le fichier ne peut pas être remplacé"),
                                                             QStringLiteral("تعذر استبدال الملف")));
                return false;
            }
    }
    ConnectionParams p;
    p.engine = QStringLiteral("SQLITE");
    p.catalog = path;
    QString reason;
    if (!db.open(p, true, &reason)) {
        if (why)
            *why = reason;
        return false;
    }
    const QStringList present = db.dialect().tables(db.connection());
    for (const TableDef &t : scratchTables()) {
        if (present.contains(t.name.toUpper()))
            continue;
        QStringList ddl{db.dialect().createTable(t)};
        for (const IndexDef &ix : t.indexes)
            ddl << db.dialect().createIndex(t, ix);
        for (const QString &statement : std::as_const(ddl)) {
            if (!db.exec(statement)) {
                if (why)
                    *why = db.lastError().text();
                db.close();
                return false;
            }
        }
    }
    return true;
}

bool ensureScratchDatabase(QString *why)
{
    Database db;
    return openScratchDatabase(db, QString(), false, why);
}

} // namespace folian
