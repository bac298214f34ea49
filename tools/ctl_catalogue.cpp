// Catalogue commands: the record search and its list page, the copy list
// of its shelf-mark and copy-number criteria.

#include "ctl.h"

#include "base/session.h"
#include "catalogue/core/recordlist.h"
#include "catalogue/core/recordresult.h"
#include "catalogue/core/recordsearch.h"
#include "catalogue/unimarc/output.h"
#include "data/core/database.h"

#include <QFile>
#include <QSqlQuery>

namespace folian::ctl {

namespace {

bool criteriaOf(const Args &a, RecordCriteria *c, QString *why)
{
    c->titleWords = a.value(QStringLiteral("keywords"));
    c->author = a.value(QStringLiteral("author"));
    c->subject = a.value(QStringLiteral("subject"));
    c->publisher = a.value(QStringLiteral("publisher"));
    c->number = a.value(QStringLiteral("number"));
    c->classification = a.value(QStringLiteral("classification"));
    c->shelfMark = a.value(QStringLiteral("shelfmark"));
    c->copy = a.value(QStringLiteral("copy"));
    c->type = a.value(QStringLiteral("type"));
    c->language = a.value(QStringLiteral("language"));
    if (a.has(QStringLiteral("year")) && !parseYearCriterion(a.value(QStringLiteral("year")), &c->yearOperator, &c->year)) {
        *why = QStringLiteral("--year takes [=|>|<|>=|<=]YEAR");
        return false;
    }
    const QString kind = a.value(QStringLiteral("year-of"), QStringLiteral("edition"));
    if (kind == u"purchase")
        c->yearKind = YearKind::Purchase;
    else if (kind == u"entry")
        c->yearKind = YearKind::Entry;
    else if (kind != u"edition") {
        *why = QStringLiteral("--year-of takes edition, purchase or entry");
        return false;
    }
    if (a.has(QStringLiteral("status"))) {
        bool ok = false;
        const int status = a.value(QStringLiteral("status")).toInt(&ok);
        if (!ok || status <= 0) {
            *why = QStringLiteral("--status takes a status number (STA_ID)");
            return false;
        }
        c->status = status;
    }
    const QString sort = a.value(QStringLiteral("sort"));
    c->sort = sort == u"title" ? RecordSort::Title
        : sort == u"year"      ? RecordSort::Year
        : sort == u"created"   ? RecordSort::Created
                               : RecordSort::None;
    if (c->isEmpty()) {
        *why = QStringLiteral("search needs at least one criterion (see --help)");
        return false;
    }
    return true;
}

int search(const Args &a)
{
    RecordCriteria c;
    QString why;
    if (!criteriaOf(a, &c, &why))
        return fail(why);
    Database db;
    if (!openDatabaseAs(db, &why, false))
        return fail(why);
    if (a.has(QStringLiteral("count"))) {
        const qint64 n = countRecords(db, c, &why);
        if (n < 0)
            return fail(why);
        say(QString::number(n));
        return 0;
    }
    SqlCondition q;
    if (!recordSearchQuery(db.dialect(), c, QStringLiteral("N.DOC_ID, N.DOC_TITRE_PROPRE"), &q, &why))
        return fail(why);
    SqlRows rows = db.query(q.sql, q.binds);
    if (!rows.isActive())
        return fail(QStringLiteral("search failed: ") + db.lastError().text());
    qint64 n = 0;
    while (rows.next()) {
        ++n;
        say(rows.value(0).toString() + u'\t' + rows.value(1).toString());
    }
    say(QStringLiteral("%1 record(s)").arg(n));
    if (a.has(QStringLiteral("html"))) {
        Report page;
        if (!recordListReport(db.dialect(), c, &page, &why))
            return fail(why);
        const ReportResult r = writeReport(db, page);
        if (!r.written())
            return fail(r.message);
        const QString target = a.value(QStringLiteral("html"));
        if (QFile::exists(target) && !QFile::remove(target))
            return fail(QStringLiteral("cannot replace %1").arg(target));
        if (!QFile::copy(r.path, target))
            return fail(QStringLiteral("cannot write %1").arg(target));
        say(QStringLiteral("%1 written").arg(target));
    }
    if (a.has(QStringLiteral("export"))) {
        QList<int> ids;
        if (!recordIds(db, c, &ids, &why))
            return fail(QStringLiteral("search failed: ") + why);
        const unimarc::ExportCounts counts = unimarc::exportRecords(db, a.value(QStringLiteral("export")), ids);
        if (!counts.error.isEmpty())
            return fail(counts.error);
        say(unimarc::exportSummary(counts));
    }
    return 0;
}

int copies(const Args &a)
{
    if (a.has(QStringLiteral("shelfmark")) && a.has(QStringLiteral("copy")))
        return fail(QStringLiteral("copies takes --shelfmark or --copy, not both"));
    const bool byNumber = a.has(QStringLiteral("copy"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why, false))
        return fail(why);
    const SqlCondition q = copyListQuery(db.dialect(), byNumber ? CopyListField::CopyNumber : CopyListField::ShelfMark,
                                         a.value(byNumber ? QStringLiteral("copy") : QStringLiteral("shelfmark")));
    SqlRows rows = db.query(q.sql, q.binds);
    if (!rows.isActive())
        return fail(QStringLiteral("copies failed: ") + db.lastError().text());
    qint64 n = 0;
    while (rows.next()) {
        ++n;
        say(rows.value(0).toString() + u'\t' + rows.value(1).toString() + u'\t' + rows.value(2).toString());
    }
    say(QStringLiteral("%1 copy(ies)").arg(n));
    return 0;
}

} // namespace

void addCatalogueCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("search"),
                   QStringLiteral("search [--keywords W] [--author A] [--subject S] [--publisher P] [--number N] "
                                  "[--classification C] [--shelfmark S] [--copy E] [--type T] [--language L] "
                                  "[--year [OP]Y] [--year-of edition|purchase|entry] [--status N] "
                                  "[--sort title|year|created] [--count] [--html FILE] [--export FILE]"),
                   QStringLiteral("list the records the criteria find (DOC_ID and title proper), or their count; "
                                  "--html writes the list page, --export the records in UNIMARC"),
                   {QStringLiteral("keywords"), QStringLiteral("author"), QStringLiteral("subject"),
                    QStringLiteral("publisher"), QStringLiteral("number"), QStringLiteral("classification"),
                    QStringLiteral("shelfmark"), QStringLiteral("copy"), QStringLiteral("type"),
                    QStringLiteral("language"), QStringLiteral("year"), QStringLiteral("year-of"),
                    QStringLiteral("status"), QStringLiteral("sort"), QStringLiteral("html"), QStringLiteral("export")},
                   {QStringLiteral("count")}, search};
    out << Command{QStringLiteral("copies"), QStringLiteral("copies [--shelfmark S | --copy E]"),
                   QStringLiteral("list the copies (number, shelf mark, record) whose shelf mark or number is like "
                                  "the value (\"*\" is the wildcard), all of them without one, by shelf mark"),
                   {QStringLiteral("shelfmark"), QStringLiteral("copy")}, {}, copies};
}

} // namespace folian::ctl
