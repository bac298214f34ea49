#include "reports/core/report.h"

#include "base/cp1256.h"
#include "base/dates.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/progress.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/money.h"
#include "reports/core/htmlpage.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSqlRecord>
#include <optional>

namespace folian {

namespace {

using Labels = QHash<QString, QString>;

const QString kBlank = QStringLiteral("&nbsp;");

QString inLanguage(const QString &french, const QString &arabic)
{
    return tr2(french, arabic.isEmpty() ? french : arabic);
}

ReportResult failed(const QString &message)
{
    ReportResult r;
    r.status = ReportResult::Status::Failed;
    r.message = message;
    return r;
}

ReportResult queryFailed(const QString &why)
{
    return failed(tr2(QStringLiteral("La requête du rapport a échoué : "), QStringLiteral("فشل استعلام التقرير : "))
                  + why);
}

ReportResult notWritten(const QString &path)
{
    return failed(tr2(QStringLiteral("Impossible d'écrire le fichier "), QStringLiteral("تعذرت كتابة الملف "))
                  + path);
}

// The rows of the report, one at a time: from its query, read forward only
// (on a connection of its own where the engine cannot keep a result open
// while the interface runs other statements), or from the given rows.
class RowSource
{
public:
    RowSource(Database &db, const Report &report) : db_(db), report_(report) {}
    ~RowSource()
    {
        query_.reset();
        if (!stream_.isEmpty())
            db_.releaseStreamConnection(stream_);
    }
    RowSource(const RowSource &) = delete;
    RowSource &operator=(const RowSource &) = delete;

    bool open(QString *why)
    {
        if (report_.sql.isEmpty())
            return true;
        if (!db_.dialect().streamsOnMainConnection() && !db_.inTransaction()) {
            stream_ = db_.acquireStreamConnection();
            if (stream_.isEmpty()) {
                *why = db_.lastError().text();
                return false;
            }
        }
        query_.emplace(stream_.isEmpty() ? db_.connection() : QSqlDatabase::database(stream_, false));
        query_->setForwardOnly(true);
        query_->setNumericalPrecisionPolicy(QSql::HighPrecision);
        bool ok = query_->prepare(report_.sql);
        for (const QVariant &b : report_.binds)
            query_->addBindValue(b);
        ok = ok && query_->exec();
        if (!ok)
            *why = query_->lastError().text();
        return ok;
    }

    // The number of rows, 0 when it cannot be known.
    int total()
    {
        if (report_.sql.isEmpty())
            return int(report_.rows.size());
        bool ok = false;
        const QVariant n = db_.scalar(QStringLiteral("SELECT COUNT(*) FROM (") + report_.sql
                                          + QStringLiteral(") REPORT_ROWS"),
                                      report_.binds, &ok);
        return ok ? n.toInt() : 0;
    }

    bool next(QVariantList *row)
    {
        if (!query_) {
            if (given_ >= report_.rows.size())
                return false;
            *row = report_.rows.at(given_++);
            return true;
        }
        if (!query_->next())
            return false;
        row->clear();
        const int n = query_->record().count();
        for (int i = 0; i < n; ++i)
            row->append(query_->value(i));
        return true;
    }

    // The query's own columns, as text titled by their names.
    QList<ReportColumn> queryColumns() const
    {
        QList<ReportColumn> out;
        if (!query_)
            return out;
        const QSqlRecord rec = query_->record();
        for (int i = 0; i < rec.count(); ++i) {
            ReportColumn c;
            c.french = rec.fieldName(i);
            out << c;
        }
        return out;
    }

    QString error() const { return query_ ? query_->lastError().text() : QString(); }
    bool failedWhileReading() const { return query_ && query_->lastError().isValid(); }

private:
    Database &db_;
    const Report &report_;
    QString stream_;
    std::optional<QSqlQuery> query_;
    qsizetype given_ = 0;
};

QDate toDate(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

bool isCentered(const ReportColumn &c)
{
    return c.centered || c.kind == ColumnKind::Number || c.kind == ColumnKind::Rate || c.kind == ColumnKind::Money;
}

// The cell text of a value, escaped; "&nbsp;" for nothing to show.
QString cellText(const ReportColumn &column, const Labels &labels, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return kBlank;
    QString text;
    switch (column.kind) {
    case ColumnKind::Text:
    case ColumnKind::Number:
        text = v.toString();
        break;
    case ColumnKind::Rate: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok)
            text = QString::number(d, 'f', 2);
        break;
    }
    case ColumnKind::Money:
        if (const std::optional<Money> m = Money::fromVariant(v))
            text = m->toString();
        break;
    case ColumnKind::Date: {
        const QDate d = toDate(v);
        if (d.isValid())
            text = ShowDate(d);
        break;
    }
    case ColumnKind::Code:
        text = labels.value(v.toString());
        break;
    }
    return text.isEmpty() ? kBlank : htmlEscape(text);
}

QString headerRow(const QList<ReportColumn> &columns)
{
    const bool arabic = session().ArabicMode;
    QString line = QStringLiteral("<tr align=\"center\">");
    for (const ReportColumn &c : columns) {
        const QString title = htmlEscape(inLanguage(c.french, c.arabic));
        line += (c.width > 0 ? QStringLiteral("<td width=\"%1\"><b>").arg(c.width) : QStringLiteral("<td><b>"))
            + (arabic ? title : htmlReferences(title)) + QStringLiteral("</b></td>");
    }
    return line + QStringLiteral("</tr>");
}

QString bodyRow(const QList<ReportColumn> &columns, const QList<Labels> &labels, const QVariantList &row)
{
    QString line = QStringLiteral("<tr>");
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const ReportColumn &c = columns.at(i);
        line += isCentered(c) ? QStringLiteral("<td align=\"center\" valign=\"top\">")
                              : QStringLiteral("<td valign=\"top\">");
        line += cellText(c, labels.at(i), i < row.size() ? row.at(i) : QVariant())
            + QStringLiteral("</td>");
    }
    return line + QStringLiteral("</tr>");
}

// The labels of every code column, read before the rows so that no other
// statement runs while they are read.
bool readLabels(Database &db, const QList<ReportColumn> &columns, QList<Labels> *out, QString *why)
{
    for (const ReportColumn &c : columns) {
        Labels labels;
        if (c.kind == ColumnKind::Code) {
            SqlRows q = db.query(QStringLiteral("SELECT %1, %2 FROM %3")
                                     .arg(c.lookup.key, c.lookup.label + session().LanguageSuffix,
                                          c.lookup.table));
            if (!q.isActive()) {
                *why = db.lastError().text();
                return false;
            }
            while (q.next())
                if (!q.value(1).isNull())
                    labels.insert(q.value(0).toString(), q.value(1).toString());
        }
        out->append(labels);
    }
    return true;
}

// The progress line without its row number: "Création [" + the page's
// directory and short name ("statistiqueleteur.htm") + "] : ".
QString progressPrefix(const QString &fileName)
{
    QString shortName = fileName;
    if (shortName.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        shortName.chop(1);
    return tr2(QStringLiteral("Création ["), QStringLiteral("إنشاء [")) + reportDirectory() + shortName
        + QStringLiteral("] : ");
}

} // namespace

bool writeLetterhead(Database &db, QString *path, const QString &directory)
{
    bool ok = false;
    const QByteArray image = db.scalar(QStringLiteral("SELECT ENTETE FROM PARAMETRE"), {}, &ok).toByteArray();
    if (!ok || image.isEmpty())
        return true;
    const QString name = QStringLiteral("entete.bmp");
    QSaveFile f(directory.isEmpty() ? reportPath(name) : QDir(directory).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size() || !f.commit()) {
        *path = f.fileName();
        return false;
    }
    *path = f.fileName();
    return true;
}

QString letterheadHtml(const QString &picture)
{
    if (picture.isEmpty())
        return {};
    return QStringLiteral("<p align=\"center\"><b><img src=\"") + htmlFileUrl(picture)
        + QStringLiteral("\"></b></p>\n<p align=\"center\">&nbsp;</p>");
}

ReportColumn reportColumn(const QString &french, const QString &arabic, int width, ColumnKind kind)
{
    ReportColumn c;
    c.french = french;
    c.arabic = arabic;
    c.width = width;
    c.kind = kind;
    return c;
}

QString reportHeaderRow(const QList<ReportColumn> &columns) { return headerRow(columns); }

QString reportBodyRow(const QList<ReportColumn> &columns, const QVariantList &row)
{
    return bodyRow(columns, QList<Labels>(columns.size()), row);
}

QString Report::title() const { return inLanguage(french, arabic); }

ReportResult writeReport(Database &db, const Report &report, Progress *progress)
{
    const bool arabic = session().ArabicMode;
    QString why;
    QList<Labels> labels;
    if (!readLabels(db, report.columns, &labels, &why))
        return queryFailed(why);
    RowSource rows(db, report);
    const int total = rows.total();
    if (!rows.open(&why))
        return queryFailed(why);
    QList<ReportColumn> columns = report.columns;
    if (columns.isEmpty()) {
        columns = rows.queryColumns();
        labels = QList<Labels>(columns.size());
    }

    QString letterhead;
    if (report.letterhead && !writeLetterhead(db, &letterhead, report.directory))
        return notWritten(letterhead);

    QSaveFile file(report.directory.isEmpty() ? reportPath(report.fileName)
                                              : QDir(report.directory).filePath(report.fileName));
    if (!file.open(QIODevice::WriteOnly))
        return notWritten(file.fileName());
    bool good = true;
    const auto writeLine = [&file, &good](const QString &line) {
        const QByteArray bytes = encodeCp1256(line + u'\n', true);
        good = good && file.write(bytes) == bytes.size();
    };

    writeLine(htmlPageOpening(arabic));
    if (!letterhead.isEmpty())
        writeLine(letterheadHtml(letterhead));
    writeLine(QStringLiteral("<p align=\"center\"><b>") + htmlEscape(report.title())
              + QStringLiteral("</b></p>"));
    writeLine(QStringLiteral("<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">"));
    writeLine(headerRow(columns));

    ReportResult result;
    result.path = file.fileName();
    const QString prefix = progressPrefix(report.fileName);
    QVariantList row;
    while (good && rows.next(&row)) {
        writeLine(bodyRow(columns, labels, row));
        ++result.rows;
        if (progress) {
            progress->step(result.rows, total, prefix + QString::number(result.rows));
            if (progress->stopped()) {
                file.cancelWriting();
                result.status = ReportResult::Status::Stopped;
                return result;
            }
        }
    }
    if (rows.failedWhileReading()) {
        file.cancelWriting();
        return queryFailed(rows.error());
    }
    writeLine(QStringLiteral("</table></body></html>"));
    if (!good || !file.commit())
        return notWritten(result.path);
    result.status = ReportResult::Status::Written;
    return result;
}

} // namespace folian
