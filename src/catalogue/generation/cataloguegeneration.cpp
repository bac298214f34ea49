#include "catalogue/generation/cataloguegeneration.h"

#include "base/cp1256.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/progress.h"
#include "base/session.h"
#include "catalogue/core/sortkeys.h"
#include "catalogue/unimarc/isbd.h"
#include "catalogue/unimarc/preparedsql.h"
#include "catalogue/unimarc/storedrecord.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "reports/core/editions.h"
#include "reports/core/htmlpage.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <optional>

namespace folian {

using unimarc::PreparedQuery;

namespace {

// The kinds of headings the scratch database keeps per record (temp.HEADS).
constexpr int kAuthor = 1;
constexpr int kSubject = 2;

// One page written line by line in Windows-1256 (numeric references for
// what the code page lacks); it replaces the previous page only once whole.
class PageFile
{
public:
    explicit PageFile(const QString &path) : file_(path) {}
    bool open() { return good_ = file_.open(QIODevice::WriteOnly); }
    void line(const QString &text)
    {
        if (!good_)
            return;
        const QByteArray bytes = encodeCp1256(text + u'\n', true);
        good_ = file_.write(bytes) == bytes.size();
    }
    bool commit()
    {
        if (!good_) {
            file_.cancelWriting();
            return false;
        }
        return file_.commit();
    }
    QString path() const { return file_.fileName(); }

private:
    QSaveFile file_;
    bool good_ = false;
};

// An index page: its file, title and table in the scratch database.
struct IndexPage {
    const char *file;
    const char16_t *french;
    const char16_t *arabic;
    const char *table;   // TITRE, AUTEUR or MATIERE: columns ID, <table>, <table>_TRI, RENVOIS
    int CatalogueResult::*count;
};

const IndexPage kIndexes[] = {
    {"titres.html", u"Index titres", u"كشاف العناوين", "TITRE", &CatalogueResult::titles},
    {"auteurs.html", u"Index auteurs", u"كشاف المؤلفين", "AUTEUR", &CatalogueResult::authors},
    {"matieres.html", u"Index matières", u"كشاف رؤوس الموضوعات", "MATIERE", &CatalogueResult::subjects},
};

QString centredTitle(const QString &title)
{
    return QStringLiteral("<p align=\"center\"><b>") + htmlEscape(title) + QStringLiteral("</b></p>");
}

// Does a classification index begin as the typed one does ("*" inside
// standing for any text, as it does in the selection)?
class IndexPrefix
{
public:
    explicit IndexPrefix(QString typed)
    {
        typed = typed.trimmed();
        while (typed.endsWith(u'*'))
            typed.chop(1);
        prefix_ = typed;
        if (typed.contains(u'*')) {
            QStringList parts = typed.split(u'*');
            for (QString &p : parts)
                p = QRegularExpression::escape(p);
            re_.setPattern(u'^' + parts.join(QStringLiteral(".*")));
            re_.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        }
    }
    bool isEmpty() const { return prefix_.isEmpty(); }
    // The LIKE pattern of the selection (see LikePattern).
    QString likePattern() const { return LikePattern(prefix_ + u'*'); }
    bool matches(const QString &index) const
    {
        if (re_.pattern().isEmpty())
            return index.startsWith(prefix_, Qt::CaseInsensitive);
        return re_.match(index).hasMatch();
    }

private:
    QString prefix_;
    QRegularExpression re_;
};

class Generator
{
public:
    Generator(Database &db, const CatalogueOptions &o, Progress *p)
        : db_(db), o_(o), progress_(p), index_(o.classification), arabicPage_(session().ArabicMode),
          directory_(o.directory.isEmpty() ? reportDirectory() : QDir(o.directory).absolutePath() + u'/')
    {
    }

    CatalogueResult run()
    {
        QString why;
        if (!QDir().mkpath(directory_))
            return failed(notWritten(directory_));
        if (!SortKeys::read(db_, &keys_, &why))
            return failed(why);
        if (!openScratchDatabase(scratch_, o_.scratch, true, &why) || !prepareScratch(&why))
            return failed(tr2(QStringLiteral("La base de travail ne peut pas être créée : "),
                              QStringLiteral("تعذر إنشاء قاعدة العمل : "))
                          + why);
        inserts_.emplace(scratch_);
        const bool ok = readRecords() && writeCatalogue() && fillReferences() && writeIndexes();
        if (ok && !scratch_.commit())
            return failed(scratch_.lastError().text());
        closeScratch();
        if (!ok)
            return failed(error_);
        r_.status = stopped_ ? CatalogueResult::Status::Stopped : CatalogueResult::Status::Completed;
        r_.message = (stopped_ ? tr2(QStringLiteral("Génération du catalogue interrompue."), QStringLiteral("عملية التكوين أوقفت."))
                               : tr2(QStringLiteral("Génération du catalogue terminé."), QStringLiteral("عملية التكوين انتهت.")))
            + u'\n' + counts();
        return r_;
    }

private:
    // Closes the scratch database, its statements first.
    void closeScratch()
    {
        inserts_.reset();
        scratch_.close();
    }

    CatalogueResult failed(const QString &why)
    {
        closeScratch();
        r_.status = CatalogueResult::Status::Failed;
        r_.message = tr2(QStringLiteral("La génération du catalogue a échoué : "), QStringLiteral("فشلت عملية التكوين : "))
            + why;
        return r_;
    }

    bool fail(const QString &why)
    {
        error_ = why;
        return false;
    }

    static QString notWritten(const QString &path)
    {
        return tr2(QStringLiteral("Impossible d'écrire le fichier "), QStringLiteral("تعذرت كتابة الملف "))
            + QDir::toNativeSeparators(path);
    }

    QString counts() const
    {
        return tr2(QStringLiteral("%1 notices, %2 entrées ; index : %3 titres, %4 auteurs, %5 matières."),
                   QStringLiteral("%1 بطاقة، %2 مدخل ؛ الكشافات : %3 عنوان، %4 مؤلف، %5 موضوع."))
            .arg(r_.records)
            .arg(r_.entries)
            .arg(r_.titles)
            .arg(r_.authors)
            .arg(r_.subjects);
    }

    // Tells the operator how far the run is; true once asked to stop, and
    // from then on every remaining loop ends at once.
    bool stop(int done, int total, const QString &text)
    {
        if (!progress_)
            return false;
        progress_->step(done, total, text);
        if (progress_->stopped())
            stopped_ = true;
        return stopped_;
    }

    QString creation(const QString &file) const
    {
        return tr2(QStringLiteral("Création ["), QStringLiteral("إنشاء [")) + QDir::toNativeSeparators(directory_ + file)
            + QStringLiteral("] : ");
    }

    QString order(const QString &column) const { return sortKeyOrder(scratch_.dialect(), column); }

    // The scratch database holds what the run does not keep in memory: its
    // temporary table (the headings of each record) and its sorts go to
    // files, and its cache is small. Nothing of it needs to survive a crash.
    bool prepareScratch(QString *why)
    {
        for (const char *sql : {"PRAGMA journal_mode = OFF", "PRAGMA synchronous = OFF", "PRAGMA temp_store = FILE",
                                "PRAGMA cache_size = -16384",
                                "CREATE TEMP TABLE HEADS (DOC_ID INTEGER, KIND INTEGER, VED_ID INTEGER)"}) {
            if (!scratch_.exec(QLatin1String(sql))) {
                *why = scratch_.lastError().text();
                return false;
            }
        }
        if (!scratch_.begin()) {
            *why = scratch_.lastError().text();
            return false;
        }
        return true;
    }

    // The selection, with its bound values.
    QString conditions(QVariantList *binds) const
    {
        QStringList where;
        if (!index_.isEmpty()) {
            where << QStringLiteral("N.DOC_ID IN (SELECT C.DOC_ID FROM NOTICE_CLASSIFICATION C WHERE ")
                    + db_.dialect().likeNoCase(QStringLiteral("C.CLA_ID")) + u')';
            *binds << index_.likePattern();
        }
        if (!o_.type.isEmpty()) {
            where << QStringLiteral("N.TYP_ID = ?");
            *binds << o_.type;
        }
        if (!o_.language.isEmpty()) {
            where << QStringLiteral("N.LAN_ID = ?");
            *binds << o_.language;
        }
        return where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    }

    // Step one: each selected record read and formatted, its entries, its
    // title and its headings put in the scratch database.
    bool readRecords()
    {
        QVariantList binds;
        const QString where = conditions(&binds);
        bool ok = false;
        const int total = db_.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE N") + where, binds, &ok).toInt();
        if (!ok)
            return fail(db_.lastError().text());
        // The identifiers are read forward only, on a connection of their own
        // where the engine cannot keep a result open while the records are read.
        QString stream;
        if (!db_.dialect().streamsOnMainConnection()) {
            stream = db_.acquireStreamConnection();
            if (stream.isEmpty())
                return fail(db_.lastError().text());
        }
        const bool done = [&] {
            QSqlQuery ids(stream.isEmpty() ? db_.connection() : QSqlDatabase::database(stream, false));
            ids.setForwardOnly(true);
            bool prepared = ids.prepare(QStringLiteral("SELECT N.DOC_ID FROM NOTICE N") + where
                                        + QStringLiteral(" ORDER BY N.DOC_ID"));
            for (const QVariant &b : std::as_const(binds))
                ids.addBindValue(b);
            if (!prepared || !ids.exec())
                return fail(ids.lastError().text());
            // The records are read by batches, each batch in a few statements.
            unimarc::RecordLoader loader(db_);
            QList<QVariant> batch;
            int position = 0;
            const auto flush = [&] {
                QList<unimarc::StoredRecord> records;
                QString why;
                if (!loader.loadMany(batch, &records, &why))
                    return fail(why);
                batch.clear();
                for (const unimarc::StoredRecord &record : std::as_const(records)) {
                    if (stopped_)
                        break;
                    if (!addRecord(record))
                        return false;
                    ++position;
                    stop(position, total,
                         tr2(QStringLiteral("Génération : %1 notices"), QStringLiteral("تكوين : %1 بطاقة")).arg(position));
                }
                return true;
            };
            while (!stopped_ && ids.next()) {
                batch << ids.value(0);
                if (batch.size() == unimarc::RecordLoader::kBatch && !flush())
                    return false;
            }
            if (!stopped_ && !batch.isEmpty() && !flush())
                return false;
            if (ids.lastError().isValid())
                return fail(ids.lastError().text());
            return true;
        }();
        if (!stream.isEmpty())
            db_.releaseStreamConnection(stream);
        return done;
    }

    bool addRecord(const unimarc::StoredRecord &record)
    {
        const unimarc::Isbd isbd = unimarc::formatIsbd(record, unimarc::IsbdLayout::Catalogue, o_.analytic);
        QString html = isbd.html;
        // A record in a language written left to right keeps its direction
        // in a right-to-left page (the Arabic records carry theirs).
        if (arabicPage_ && !record.arabic() && html.startsWith(QLatin1String("<p>")))
            html.replace(0, 3, QStringLiteral("<p dir=\"ltr\">"));
        const QVariant docId = record.notice.value(QStringLiteral("DOC_ID"));
        const QString entry = keys_.key(isbd.mainEntry);

        QStringList indices;
        if (index_.isEmpty()) {
            indices << QString();
        } else {
            for (const QString &i : record.indices)
                if (index_.matches(i) && !indices.contains(i))
                    indices << i;
            if (indices.isEmpty())
                return true;
        }
        ++r_.records;
        for (qsizetype occ = 0; occ < indices.size(); ++occ) {
            const QString &index = indices.at(occ);
            if (!inserts_->entry.run({docId, int(occ + 1), index.isEmpty() ? QVariant() : QVariant(index), entry,
                                   isbd.title, html}))
                return fail(inserts_->entry.error().text());
        }
        if (!inserts_->title.run({docId, isbd.title, keys_.key(isbd.title)}))
            return fail(inserts_->title.error().text());

        const auto heading = [&](int kind, int ved, const QString &name, PreparedQuery &insert, QSet<int> &seen) {
            if (ved <= 0 || seen.contains(ved))
                return true;
            seen.insert(ved);
            if (!insert.run({ved, name, keys_.key(name)}))
                return fail(insert.error().text());
            if (!inserts_->head.run({docId, kind, ved}))
                return fail(inserts_->head.error().text());
            return true;
        };
        QSet<int> authors, subjects;
        for (const unimarc::StoredAuthor &a : record.authors)
            if (!heading(kAuthor, a.heading, a.name, inserts_->author, authors))
                return false;
        for (const unimarc::StoredSubject &s : record.subjects)
            if (!heading(kSubject, s.heading, s.name, inserts_->subject, subjects))
                return false;
        return true;
    }

    // Step two: the entries filed by their sort entry, numbered, written.
    bool writeCatalogue()
    {
        const QString file = QStringLiteral("catalogue.html");
        PageFile page(directory_ + file);
        if (!page.open())
            return fail(notWritten(page.path()));
        page.line(htmlPageOpening(arabicPage_));
        QString title = o_.title;
        if (title.isEmpty())
            title = o_.analytic ? tr2(QStringLiteral("Catalogue analytique"), QStringLiteral("فهرس تحليلي"))
                                : tr2(QStringLiteral("Catalogue signaletique"), QStringLiteral("فهرس ببليوغرافي"));
        page.line(centredTitle(title));
        if (!stopped_) {
            bool ok = false;
            const int total = scratch_.scalar(QStringLiteral("SELECT COUNT(*) FROM CATALOGUE"), {}, &ok).toInt();
            if (!ok)
                return fail(scratch_.lastError().text());
            // Filed by entry, then by title; the collator's order is made
            // whole before the first row, so numbering the rows read is safe.
            // Only the keys are sorted; each entry's fragment is read by its key.
            SqlRows q = scratch_.query(QStringLiteral("SELECT C.ID, C.OCC FROM CATALOGUE C "
                                                      "LEFT JOIN TITRE T ON T.ID = C.ID ORDER BY ")
                                       + order(QStringLiteral("C.ENTREE")) + QStringLiteral(", ")
                                       + order(QStringLiteral("T.TITRE_TRI"))
                                       + QStringLiteral(", C.ID, C.OCC"));
            if (!q.isActive())
                return fail(scratch_.lastError().text());
            PreparedQuery fragment(scratch_, QStringLiteral("SELECT ISBD FROM CATALOGUE WHERE ID = ? AND OCC = ?"));
            PreparedQuery number(scratch_, QStringLiteral("UPDATE CATALOGUE SET NUMERO = ? WHERE ID = ? AND OCC = ?"));
            const QString prefix = creation(file);
            while (!stopped_ && q.next()) {
                const int n = ++r_.entries;
                QVariant isbd;
                if (!fragment.first({q.value(0), q.value(1)}, &isbd))
                    return fail(fragment.error().text());
                QString html = isbd.toString();
                html.replace(QStringLiteral("<code></code>"),
                             QStringLiteral("<b>") + QString::number(n) + QStringLiteral(".&nbsp;&nbsp;</b>"));
                page.line(html);
                if (!number.run({n, q.value(0), q.value(1)}))
                    return fail(number.error().text());
                stop(n, total, prefix + QString::number(n));
            }
        }
        page.line(QStringLiteral("</body></html>"));
        if (!page.commit())
            return fail(notWritten(page.path()));
        r_.pages << page.path();
        return true;
    }

    // The numbers of each index line ("3, 7"), from the numbered entries;
    // the lines of entries left unnumbered (a stop) go.
    bool fillReferences()
    {
        const struct {
            const char *table;
            const char *sql;
        } sources[] = {
            {"TITRE", "SELECT ID, NUMERO FROM CATALOGUE WHERE NUMERO IS NOT NULL ORDER BY ID, NUMERO"},
            {"AUTEUR", "SELECT H.VED_ID, C.NUMERO FROM HEADS H JOIN CATALOGUE C ON C.ID = H.DOC_ID "
                       "WHERE H.KIND = 1 AND C.NUMERO IS NOT NULL ORDER BY H.VED_ID, C.NUMERO"},
            {"MATIERE", "SELECT H.VED_ID, C.NUMERO FROM HEADS H JOIN CATALOGUE C ON C.ID = H.DOC_ID "
                        "WHERE H.KIND = 2 AND C.NUMERO IS NOT NULL ORDER BY H.VED_ID, C.NUMERO"},
        };
        for (const auto &s : sources) {
            const QString table = QLatin1String(s.table);
            if (!stopped_) {
                SqlRows q = scratch_.query(QLatin1String(s.sql));
                if (!q.isActive())
                    return fail(scratch_.lastError().text());
                PreparedQuery update(scratch_, QStringLiteral("UPDATE ") + table + QStringLiteral(" SET RENVOIS = ? WHERE ID = ?"));
                QVariant id;
                QStringList numbers;
                const auto flush = [&] {
                    if (!id.isValid() || numbers.isEmpty())
                        return true;
                    if (!update.run({numbers.join(QStringLiteral(", ")), id}))
                        return fail(update.error().text());
                    numbers.clear();
                    return true;
                };
                while (!stopped_ && q.next()) {
                    if (q.value(0) != id && !flush())
                        return false;
                    id = q.value(0);
                    numbers << q.value(1).toString();
                    if (progress_ && progress_->stopped())
                        stopped_ = true;
                }
                if (!stopped_ && !flush())
                    return false;
            }
            if (!scratch_.exec(QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE RENVOIS IS NULL")))
                return fail(scratch_.lastError().text());
        }
        return true;
    }

    // Step three: each index filed by its sort key.
    bool writeIndexes()
    {
        for (const IndexPage &ix : kIndexes) {
            const QString file = QLatin1String(ix.file);
            const QString table = QLatin1String(ix.table);
            PageFile page(directory_ + file);
            if (!page.open())
                return fail(notWritten(page.path()));
            page.line(htmlPageOpening(arabicPage_));
            page.line(centredTitle(tr2(QString::fromUtf16(ix.french), QString::fromUtf16(ix.arabic))));
            page.line(QStringLiteral("<table width=\"100%\">"));
            if (!stopped_) {
                bool ok = false;
                const int total = scratch_.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table, {}, &ok).toInt();
                if (!ok)
                    return fail(scratch_.lastError().text());
                SqlRows q = scratch_.query(QStringLiteral("SELECT %1, RENVOIS FROM %1 ORDER BY ").arg(table)
                                           + order(table + QStringLiteral("_TRI"))
                                           + QStringLiteral(", ID"));
                if (!q.isActive())
                    return fail(scratch_.lastError().text());
                // The numbers stand at the far side of the line: right in a
                // left-to-right page, left in a right-to-left one.
                const QString numbersCell = arabicPage_ ? QStringLiteral("</td><td width=\"40%\" align=\"left\">")
                                                        : QStringLiteral("</td><td width=\"40%\" align=\"right\">");
                const QString prefix = creation(file);
                int n = 0;
                while (!stopped_ && q.next()) {
                    page.line(QStringLiteral("<tr><td width=\"60%\">") + htmlEscape(q.value(0).toString()) + numbersCell
                              + htmlEscape(q.value(1).toString()) + QStringLiteral("</td></tr>"));
                    ++n;
                    stop(n, total, prefix + QString::number(n));
                }
                r_.*(ix.count) = n;
            }
            page.line(QStringLiteral("</table></body></html>"));
            if (!page.commit())
                return fail(notWritten(page.path()));
            r_.pages << page.path();
        }
        return true;
    }

    Database &db_;
    const CatalogueOptions &o_;
    Progress *progress_;
    const IndexPrefix index_;
    const bool arabicPage_;
    const QString directory_;
    SortKeys keys_;
    Database scratch_;
    // The statements of the first step, prepared once.
    struct Inserts {
        explicit Inserts(Database &scratch)
            : entry(scratch, QStringLiteral("INSERT INTO CATALOGUE (ID, OCC, INDICE, ENTREE, TITRE, ISBD) "
                                            "VALUES (?, ?, ?, ?, ?, ?)")),
              title(scratch, QStringLiteral("INSERT OR IGNORE INTO TITRE (ID, TITRE, TITRE_TRI) VALUES (?, ?, ?)")),
              author(scratch, QStringLiteral("INSERT OR IGNORE INTO AUTEUR (ID, AUTEUR, AUTEUR_TRI) VALUES (?, ?, ?)")),
              subject(scratch, QStringLiteral("INSERT OR IGNORE INTO MATIERE (ID, MATIERE, MATIERE_TRI) VALUES (?, ?, ?)")),
              head(scratch, QStringLiteral("INSERT INTO HEADS (DOC_ID, KIND, VED_ID) VALUES (?, ?, ?)"))
        {
        }
        PreparedQuery entry, title, author, subject, head;
    };
    std::optional<Inserts> inserts_;
    CatalogueResult r_;
    QString error_;
    bool stopped_ = false;
};

} // namespace

const QStringList &cataloguePages()
{
    static const QStringList pages{QStringLiteral("catalogue.html"), QStringLiteral("titres.html"),
                                   QStringLiteral("auteurs.html"), QStringLiteral("matieres.html")};
    return pages;
}

CatalogueResult generateCatalogue(Database &db, const CatalogueOptions &options, Progress *progress)
{
    return Generator(db, options, progress).run();
}

} // namespace folian
