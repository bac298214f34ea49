// Authority commands: headings found by name, their accepted forms, and the
// deletion of a heading or reference row that nothing uses any more.

#include "ctl.h"

#include "base/session.h"
#include "catalogue/core/headings.h"
#include "catalogue/core/references.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian::ctl {

namespace {

// The data module on the configured database, with its shared rules,
// acting for the user named (see actForUser).
bool connect(TFrmData &data, QString *why, bool needed = true)
{
    if (!OpenSession(data, iniPath())) {
        *why = QStringLiteral("cannot open the database: ") + data.connectionError();
        return false;
    }
    return actForUser(data.db(), why, needed);
}

int headings(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("headings needs the name to search (\"*\" is the wildcard)"));
    bool ok = true;
    const int mode = a.value(QStringLiteral("mode"), QStringLiteral("7")).toInt(&ok);
    if (!ok || mode < 0 || mode > 7)
        return fail(QStringLiteral("--mode is a number from 0 to 7"));
    const int kind = a.value(QStringLiteral("kind"), QStringLiteral("1")).toInt();
    TFrmData data;
    QString why;
    if (!connect(data, &why, false))
        return fail(why);
    const ListQuery q = headingSearch(data.db().dialect(), mode, kind, a.positional.first(), session().CurrentLanguage);
    SqlRows r = data.db().query(q.sql + QStringLiteral(" ORDER BY VED_NOM, VED_ID"), q.binds);
    if (!r.isActive())
        return fail(data.db().lastError().text());
    int n = 0;
    while (r.next()) {
        const QVariant id = r.value(QStringLiteral("VED_ID"));
        const QVariant to = r.value(QStringLiteral("VED_ID2"));
        QString line = id.toString() + u'\t' + r.value(QStringLiteral("TYP_VED_ID")).toString() + u'\t'
            + r.value(QStringLiteral("VED_NOM")).toString();
        if (!IsBlank(to) && !sameValue(to, id))
            line += QStringLiteral("\t-> ") + to.toString() + u' ' + headingName(data.db(), to);
        say(line);
        ++n;
    }
    say(QStringLiteral("%1 heading(s)").arg(n));
    return 0;
}

int acceptedFormCommand(const Args &a)
{
    if (a.positional.isEmpty() || a.positional.size() > 2)
        return fail(QStringLiteral("accepted-form needs a VED_ID, and the VED_ID of its new accepted form "
                                   "(\"none\" makes it its own)"));
    TFrmData data;
    QString why;
    if (!connect(data, &why, a.positional.size() == 2))  // showing it only reads
        return fail(why);
    const int id = a.positional.first().toInt();
    if (a.positional.size() == 1) {
        const QVariant to = acceptedForm(data.db(), id);
        if (!to.isValid())
            return fail(QStringLiteral("no heading %1").arg(id));
        say(to.toString() + u'\t' + headingName(data.db(), to));
        return 0;
    }
    Dataset *d = data.QVedette;
    if (!d->open(QStringLiteral("SELECT * FROM VEDETTE WHERE VED_ID = ?"), {id}) || !d->first())
        return fail(QStringLiteral("no heading %1").arg(id));
    const QString target = a.positional.at(1);
    const QVariant chosen = target == QLatin1String("none") ? QVariant() : QVariant(target.toInt());
    if (!d->edit() || !d->setValue(QStringLiteral("VED_ID2"), chosen))
        return fail(d->lastError());
    const HeadingSave saved = postHeading(*d);
    if (!saved.ok())
        return fail(saved.message);
    const QVariant to = d->value(QStringLiteral("VED_ID2"));
    say(QStringLiteral("%1 now has the accepted form %2 %3; %4 other heading(s) moved with it.")
            .arg(id)
            .arg(to.toString(), headingName(data.db(), to))
            .arg(saved.repointed));
    return 0;
}

int deleteReferenceCommand(const Args &a)
{
    const struct {
        const char *name;
        RefTable table;
    } tables[] = {
        {"VEDETTE", RefTable::Heading},       {"EDITEUR", RefTable::Publisher},
        {"COLLECTION", RefTable::Collection}, {"SOUS_COLLECTION", RefTable::SubCollection},
        {"CLASSIFICATION", RefTable::Classification}, {"SUPPORT", RefTable::Support},
        {"LANGUE", RefTable::Language},       {"PAYS", RefTable::Country},
        {"PERIODICITE", RefTable::Periodicity}, {"FONCTION", RefTable::Function},
        {"DIPLOME", RefTable::Diploma},       {"SPECIALITE", RefTable::Speciality},
        {"LOCALISATION", RefTable::Location}, {"TYPE_DOCUMENT", RefTable::DocumentType},
    };
    if (a.positional.size() != 2)
        return fail(QStringLiteral("delete-reference needs a TABLE (VEDETTE, EDITEUR, LANGUE, ...) and a key"));
    const QString name = a.positional.first().toUpper();
    const RefTableDef *def = nullptr;
    for (const auto &t : tables)
        if (name == QLatin1String(t.name))
            def = &refTableDef(t.table);
    if (!def)
        return fail(QStringLiteral("no reference table \"%1\"").arg(a.positional.first()));
    TFrmData data;
    QString why;
    if (!connect(data, &why))
        return fail(why);
    Dataset *d = data.query(QLatin1String(def->query));
    const QString key = QLatin1String(def->key);
    if (!d->open(QStringLiteral("SELECT * FROM ") + QLatin1String(def->table) + QStringLiteral(" WHERE ") + key
                     + QStringLiteral(" = ?"),
                 {a.positional.at(1)})
        || !d->first())
        return fail(QStringLiteral("no row %1 in %2").arg(a.positional.at(1), name));
    const QString shown = referenceName(*d, def->id);
    const QString refusal = deleteReference(*d, def->id);
    if (!refusal.isEmpty())
        return fail(refusal);
    say(QStringLiteral("Deleted %1 \"%2\" from %3.").arg(a.positional.at(1), shown, name));
    return 0;
}

} // namespace

void addAuthorityCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("headings"), QStringLiteral("headings NAME [--mode 0-7] [--kind K]"),
                   QStringLiteral("list the headings named like NAME as the heading list of that mode finds them"),
                   {QStringLiteral("mode"), QStringLiteral("kind")}, {}, headings};
    out << Command{QStringLiteral("accepted-form"), QStringLiteral("accepted-form VED_ID [ACCEPTED_VED_ID|none]"),
                   QStringLiteral("show the accepted form of a heading, or choose it (its rejected forms follow)"), {},
                   {}, acceptedFormCommand};
    out << Command{QStringLiteral("delete-reference"), QStringLiteral("delete-reference TABLE KEY"),
                   QStringLiteral("delete a heading or reference row, refused while records or copies use it"), {}, {},
                   deleteReferenceCommand};
}

} // namespace folian::ctl
