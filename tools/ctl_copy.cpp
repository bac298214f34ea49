// Copy cataloguing commands: the targets (other libraries' catalogues) and
// the search that finds records there and imports them, through the same
// services as the copy-cataloguing screen.

#include "ctl.h"

#include "catalogue/copy/copyimport.h"
#include "catalogue/copy/copysearch.h"
#include "catalogue/copy/copytexts.h"
#include "catalogue/copy/targets.h"
#include "data/core/database.h"

namespace folian::ctl {

namespace {

QString protocolName(const copy::CopyTarget &t) { return t.isSru() ? QStringLiteral("SRU") : QStringLiteral("Z39.50"); }

int targetAdd(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("target-add takes the target's name (see folianctl --help)"));
    const bool sru = a.has(QStringLiteral("sru")), z3950 = a.has(QStringLiteral("z3950"));
    if (sru == z3950)
        return fail(QStringLiteral("target-add takes --sru URL or --z3950 HOST:PORT/DATABASE"));
    QString why;
    std::optional<copy::CopyTarget> t = sru ? copy::parseSruAddress(a.value(QStringLiteral("sru")), &why)
                                            : copy::parseZ3950Address(a.value(QStringLiteral("z3950")), &why);
    if (!t)
        return fail(why);
    t->name = a.positional.first();
    t->charset = a.value(QStringLiteral("charset"));
    if (!t->charset.isEmpty() && copy::charsetCode(t->charset).isEmpty())
        return fail(copy::charsetUnknown(t->charset));
    if (a.has(QStringLiteral("timeout"))) {
        const std::optional<int> s = copy::parseTimeout(a.value(QStringLiteral("timeout")));
        if (!s)
            return fail(copy::targetTimeoutInvalid(a.value(QStringLiteral("timeout"))));
        t->timeout = *s;
    }
    if (a.has(QStringLiteral("indexes"))) {
        const std::optional<copy::IndexSet> set = copy::parseIndexSet(a.value(QStringLiteral("indexes")));
        if (!set)
            return fail(copy::indexSetUnknown(a.value(QStringLiteral("indexes"))));
        t->indexSet = *set;
    }
    if (a.has(QStringLiteral("syntax")))
        t->syntax = a.value(QStringLiteral("syntax"));
    Database db;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const copy::TargetResult r = copy::addTarget(db, *t);
    if (!r.passed)
        return fail(r.message);
    say(QString::number(r.key));
    return 0;
}

int targets(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("targets takes no argument"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why, false))
        return fail(why);
    bool ok = false;
    const QList<copy::CopyTarget> list = copy::listTargets(db, &ok);
    if (!ok)
        return fail(db.lastError().text());
    for (const copy::CopyTarget &t : list)
        say(QStringList{t.name, protocolName(t), t.address(), t.syntax, t.charset, QString::number(t.timeout),
                        t.isSru() ? copy::indexSetName(t.indexSet) : QString()}
                .join(u'\t'));
    return 0;
}

int targetDelete(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("target-delete takes the target's name"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const copy::TargetResult r = copy::deleteTarget(db, a.positional.first());
    return tell(r.passed, r.message);
}

// One line of the result: the values without the tabs and line ends that would break it.
QString cell(QString value)
{
    value.replace(u'\t', u' ');
    value.replace(u'\n', u' ');
    value.replace(u'\r', u' ');
    return value;
}

int copySearch(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("copy-search takes the target's name (see folianctl --help)"));
    copy::CopyCriteria criteria;
    criteria.number = a.value(QStringLiteral("isbn"));
    criteria.title = a.value(QStringLiteral("title"));
    criteria.author = a.value(QStringLiteral("author"));
    if (a.has(QStringLiteral("limit"))) {
        bool ok = false;
        criteria.limit = a.value(QStringLiteral("limit")).toInt(&ok);
        if (!ok)
            return fail(copy::limitInvalid(a.value(QStringLiteral("limit"))));
    }
    if (const QString refusal = copy::criteriaRefusal(criteria); !refusal.isEmpty())
        return fail(refusal);
    const bool importing = a.has(QStringLiteral("import"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    if (const QString refusal = importing ? copy::importRefusal() : copy::searchRefusal(); !refusal.isEmpty())
        return fail(refusal);
    const std::optional<copy::CopyTarget> target = copy::findTarget(db, a.positional.first());
    if (!target)
        return fail(copy::targetNotFound(a.positional.first()));
    const std::atomic<bool> stop{false};
    const std::unique_ptr<copy::Transport> transport = copy::networkTransport();
    const copy::CopySearchResult result = copy::searchTarget(*target, criteria, *transport, stop);
    if (!result.passed)
        return fail(result.message);
    for (const copy::CopyHit &hit : result.records) {
        if (!hit.ok())
            fail(QStringLiteral("%1: %2").arg(hit.position).arg(hit.error));
        else
            say(QStringList{cell(hit.number), cell(hit.title), cell(hit.author), cell(hit.year)}.join(u'\t'));
    }
    if (!importing)
        return 0;
    copy::CopyImporter importer(db);
    int status = 0;
    for (const copy::CopyHit &hit : result.records) {
        if (!hit.ok())
            continue;
        const copy::ImportAnswer answer = importer.import(hit);
        if (answer.passed)
            say(QString::number(answer.key));
        else if (answer.duplicate)
            fail(answer.message);
        else
            status = fail(answer.message);
    }
    return status;
}

} // namespace

void addCopyCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("target-add"),
                   QStringLiteral("target-add NAME (--sru URL | --z3950 HOST:PORT/DATABASE) [--charset C] [--timeout S] "
                                  "[--indexes dc|bib] [--syntax UNIMARC]"),
                   QStringLiteral("add a catalogue to copy records from: an SRU service (http or https) or a Z39.50 "
                                  "server; --charset for records that declare none (UTF-8, ISO-5426, ISO-646), "
                                  "--timeout in seconds (30), --indexes the SRU service's index names (dc, or bib for "
                                  "the national library's), --syntax the records' (UNIMARC; MARC 21 is refused); prints its key"),
                   {QStringLiteral("sru"), QStringLiteral("z3950"), QStringLiteral("charset"), QStringLiteral("timeout"),
                    QStringLiteral("indexes"), QStringLiteral("syntax")},
                   {},
                   targetAdd};
    out << Command{QStringLiteral("targets"), QStringLiteral("targets"),
                   QStringLiteral("list the catalogues records are copied from: name, protocol, address, syntax, "
                                  "character set, time-out, index names, tab-separated"),
                   {}, {}, targets};
    out << Command{QStringLiteral("target-delete"), QStringLiteral("target-delete NAME"),
                   QStringLiteral("delete a catalogue records are copied from"), {}, {}, targetDelete};
    out << Command{QStringLiteral("copy-search"),
                   QStringLiteral("copy-search NAME [--isbn N] [--title W] [--author A] [--limit N] [--import]"),
                   QStringLiteral("search a target by ISBN or ISSN, title words, author (10 records at most, "
                                  "--limit up to 100): one line per record, number, title, author and year, "
                                  "tab-separated; with --import, imports them (a record already in the catalogue is "
                                  "said, not imported twice) and prints the keys of those imported"),
                   {QStringLiteral("isbn"), QStringLiteral("title"), QStringLiteral("author"), QStringLiteral("limit")},
                   {QStringLiteral("import")},
                   copySearch};
}

} // namespace folian::ctl
