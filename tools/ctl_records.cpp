// Record commands: deleting a record, finding and linking a parent record.

#include "ctl.h"

#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/core/parentsearch.h"
#include "catalogue/core/records.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian::ctl {

namespace {

// The data module on the configured database, acting for the user that
// --login (or --user) names: the audit stamps give his login, the services
// check his rights. A command that only reads (`needed` false) acts for
// nobody unless named.
bool connect(TFrmData &data, QString *why, bool needed = true)
{
    if (!OpenSession(data, iniPath())) {
        *why = QStringLiteral("cannot open the database: ") + data.connectionError();
        return false;
    }
    return actForUser(data.db(), why, needed);
}

int deleteRecordCommand(const Args &a)
{
    int id = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &id))
        return fail(QStringLiteral("delete-record needs one record number"));
    TFrmData data;
    QString why;
    if (!connect(data, &why))
        return fail(why);
    const int copies = data.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ?"), {id}).toInt();
    if (const QString refusal = deleteRecord(data, id); !refusal.isEmpty())
        return fail(refusal + QStringLiteral(" (nothing was deleted)"));
    say(QStringLiteral("Record %1 deleted with its satellites (%2 copies).").arg(id).arg(copies));
    return 0;
}

ParentSort sortOf(const QString &name)
{
    if (name == QLatin1String("title"))
        return ParentSort::Title;
    if (name == QLatin1String("year"))
        return ParentSort::Year;
    if (name == QLatin1String("created"))
        return ParentSort::Created;
    return ParentSort::None;
}

int findParent(const Args &a)
{
    ParentCriteria c;
    c.titleWords = a.value(QStringLiteral("title"));
    c.number = a.value(QStringLiteral("number"));
    c.sort = sortOf(a.value(QStringLiteral("sort")));
    if (c.isEmpty())
        return fail(QStringLiteral("find-parent needs --title or --number"));
    TFrmData data;
    QString why;
    if (!connect(data, &why, false))
        return fail(why);
    c.language = session().CurrentLanguage;
    const SqlCondition q = parentSearchQuery(data.db().dialect(), c);
    SqlRows rows = data.db().query(q.sql, q.binds);
    if (!rows.isActive())
        return fail(QStringLiteral("search failed: ") + data.db().lastError().text());
    int n = 0;
    while (rows.next()) {
        ++n;
        const QSqlRecord r = rows.record();
        auto v = [&](const char *f) { return rows.value(r.indexOf(QLatin1String(f))); };
        say(QStringList{v("DOC_ID").toString(), standardNumberText(v("DOC_ISBN"), v("DOC_ISSN"), v("DOC_NUM")),
                        fullTitleText(v("DOC_TITRE_PROPRE"), v("DOC_TITRE_PARALLELE"), v("DOC_TITRE_COMPLEMENT")),
                        v("AUTEUR").toString(), v("DOC_ANNEE").toString()}
                .join(u'\t'));
        SqlRows issues = data.db().query(parentIssuesSql(), {v("DOC_ID")});
        while (issues.isActive() && issues.next())
            say(QStringLiteral("  issue ") + QStringList{issues.value(QStringLiteral("BUL_ID")).toString(),
                                                         issues.value(QStringLiteral("BUL_NUMERO")).toString(),
                                                         issues.value(QStringLiteral("BUL_DATE")).toString()}
                                                 .join(u'\t'));
    }
    say(QStringLiteral("%1 record(s)").arg(n));
    return 0;
}

int linkParentCommand(const Args &a)
{
    int id = 0, parent = 0, issue = 0;
    if (a.positional.size() != 2 || !toKey(a.positional.at(0), &id) || !toKey(a.positional.at(1), &parent)
        || (a.has(QStringLiteral("issue")) && !toKey(a.value(QStringLiteral("issue")), &issue)))
        return fail(QStringLiteral("link-parent needs a record number, its parent's number and perhaps --issue N"));
    TFrmData data;
    QString why;
    if (!connect(data, &why))
        return fail(why);
    Dataset candidate(data.db(), QStringLiteral("QParent"), QStringLiteral("NOTICE"));
    Dataset issues(data.db(), QStringLiteral("QParentIssue"), QStringLiteral("NOTICE_BULLETIN"));
    if (!candidate.open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = ?"), {parent}) || candidate.rowCount() == 0)
        return fail(QStringLiteral("no record %1").arg(parent));
    if (issue > 0
        && (!issues.open(QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE BUL_ID = ? AND DOC_ID = ?"), {issue, parent})
            || issues.rowCount() == 0))
        return fail(QStringLiteral("record %1 has no issue %2").arg(parent).arg(issue));
    Dataset *n = data.QNotice;
    if (!n->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = ?"), {id}) || n->rowCount() == 0)
        return fail(QStringLiteral("no record %1").arg(id));
    // The record form's rule: a record of a document type the user catalogues.
    if (!CataloguerRights::of(data.db(), session()).mayEdit(n->value(QStringLiteral("TYP_ID"))))
        return fail(notAllowedMessage(session(), rightLabel(Right::CatNotice)));
    SilentScope quiet;
    if (!linkParent(*n, parentChoice(candidate, issue > 0 ? &issues : nullptr)) || !n->post())
        return fail(QStringLiteral("record %1 not changed: %2").arg(id).arg(n->refusal().isEmpty() ? n->lastError() : n->refusal()));
    say(QStringLiteral("Record %1 linked to %2: %3, %4 %5")
            .arg(id)
            .arg(parent)
            .arg(n->value(QStringLiteral("REL_TITRE")).toString(), n->value(QStringLiteral("REL_DATE_PUB")).toString(),
                 n->value(QStringLiteral("REL_VOLUME")).toString()));
    return 0;
}

} // namespace

void addRecordCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("delete-record"), QStringLiteral("delete-record DOC_ID [--login L]"),
                   QStringLiteral("delete a record with its authors, subjects, indices, resources, issues, copies and "
                                  "order lines (refused while a copy is lent or reserved)"),
                   {}, {}, deleteRecordCommand};
    out << Command{QStringLiteral("find-parent"),
                   QStringLiteral("find-parent [--title WORDS] [--number N] [--sort title|year|created]"),
                   QStringLiteral("list the records a record may be part of, with their issues"),
                   {QStringLiteral("title"), QStringLiteral("number"), QStringLiteral("sort")}, {}, findParent};
    out << Command{QStringLiteral("link-parent"), QStringLiteral("link-parent DOC_ID PARENT_ID [--issue BUL_ID] [--login L]"),
                   QStringLiteral("copy the parent's title and numbers (and the issue's date and number) into the record"),
                   {QStringLiteral("issue")}, {}, linkParentCommand};
}

} // namespace folian::ctl
