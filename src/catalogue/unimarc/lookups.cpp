#include "catalogue/unimarc/lookups.h"

#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/searchcolumns.h"

namespace folian::unimarc {

struct Lookups::Table {
    LookupKind kind;
    QString name;
    PreparedQuery select;
    PreparedQuery selectWithoutParent;  // sub-collections of no collection
    PreparedInsert insert;
    QHash<QString, QVariant> cache;
};

namespace {

struct Definition {
    LookupKind kind;
    const char *table;
    const char *select;   // the key (and, for headings, the accepted form) of the matching row
    const char *selectWithoutParent;
    QStringList columns;  // of the new row
    const char *counter;  // MAX + 1 key, or null for a code key
    QStringList sameAsCounter;
};

QStringList cols(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out << QLatin1String(n);
    return out;
}

QList<Definition> definitions()
{
    return {
        {LookupKind::Language, "LANGUE", "SELECT LAN_ID FROM LANGUE WHERE LAN_ID = ?", nullptr,
         cols({"LAN_ID", "LAN_LIBELLE", "LAN_LIBELLE_AR"}), nullptr, {}},
        {LookupKind::Country, "PAYS", "SELECT PAY_ID FROM PAYS WHERE PAY_ID = ?", nullptr,
         cols({"PAY_ID", "PAY_LIBELLE", "PAY_LIBELLE_AR"}), nullptr, {}},
        {LookupKind::Periodicity, "PERIODICITE", "SELECT PER_ID FROM PERIODICITE WHERE PER_ID = ?", nullptr,
         cols({"PER_ID", "PER_LIBELLE", "PER_LIBELLE_AR"}), nullptr, {}},
        {LookupKind::Publisher, "EDITEUR", "SELECT EDT_ID FROM EDITEUR WHERE EDT_NOM = ? ORDER BY EDT_ID", nullptr,
         cols({"EDT_NOM", "EDT_NOM_AR", "EDT_TYPE", "EDT_KEYWORDS", "EDT_MOTS", "EDT_CLE_FR", "EDT_CLE_AR"}), "EDT_ID", {}},
        {LookupKind::Collection, "COLLECTION",
         "SELECT COL_ID FROM COLLECTION WHERE COL_TITRE_PROPRE = ? ORDER BY COL_ID", nullptr,
         cols({"COL_TITRE_PROPRE", "COL_TITRE_PARALLELE", "COL_TITRE_COMPLEMENT", "COL_RESPONSABILITE", "COL_ISSN"}),
         "COL_ID", {}},
        {LookupKind::SubCollection, "SOUS_COLLECTION",
         "SELECT SCL_ID FROM SOUS_COLLECTION WHERE SCL_TITRE_PROPRE = ? AND COL_ID = ? ORDER BY SCL_ID",
         "SELECT SCL_ID FROM SOUS_COLLECTION WHERE SCL_TITRE_PROPRE = ? AND COL_ID IS NULL ORDER BY SCL_ID",
         cols({"SCL_TITRE_PROPRE", "COL_ID"}), "SCL_ID", {}},
        {LookupKind::Diploma, "DIPLOME", "SELECT DIP_ID FROM DIPLOME WHERE DIP_LIBELLE = ? ORDER BY DIP_ID", nullptr,
         cols({"DIP_LIBELLE", "DIP_LIBELLE_AR"}), "DIP_ID", {}},
        {LookupKind::Speciality, "SPECIALITE", "SELECT SPE_ID FROM SPECIALITE WHERE SPE_LIBELLE = ? ORDER BY SPE_ID",
         nullptr, cols({"SPE_LIBELLE", "SPE_LIBELLE_AR"}), "SPE_ID", {}},
        {LookupKind::Classification, "CLASSIFICATION", "SELECT CLA_ID FROM CLASSIFICATION WHERE CLA_ID = ?", nullptr,
         cols({"CLA_ID", "CLA_LIBELLE", "CLA_LIBELLE_AR"}), nullptr, {}},
        {LookupKind::Heading, "VEDETTE",
         "SELECT VED_ID, VED_ID2 FROM VEDETTE WHERE VED_NOM = ? AND TYP_VED_ID = ? ORDER BY VED_ID", nullptr,
         cols({"TYP_VED_ID", "VED_NOM", "VED_KEYWORDS", "VED_MOTS", "VED_CLE_FR", "VED_CLE_AR"}), "VED_ID",
         cols({"VED_ID2"})},
        {LookupKind::Function, "FONCTION", "SELECT FON_ID FROM FONCTION WHERE FON_ID = ?", nullptr,
         cols({"FON_ID", "FON_LIBELLE", "FON_LIBELLE_AR"}), nullptr, {}},
        {LookupKind::Location, "LOCALISATION", "SELECT LOC_ID FROM LOCALISATION WHERE LOC_ID = ?", nullptr,
         cols({"LOC_ID", "LOC_LIBELLE"}), nullptr, {}},
    };
}

} // namespace

Lookups::Lookups(Database &db) : db_(db)
{
    for (const Definition &d : definitions()) {
        const QString table = QLatin1String(d.table);
        tables_.push_back(std::unique_ptr<Table>(new Table{
            d.kind, table, PreparedQuery(db, QLatin1String(d.select)),
            PreparedQuery(db, d.selectWithoutParent ? QLatin1String(d.selectWithoutParent) : QString()),
            PreparedInsert(db, table, d.columns, d.counter ? QLatin1String(d.counter) : QString(), d.sameAsCounter),
            {}}));
    }
}

Lookups::~Lookups() = default;

Lookups::Table &Lookups::table(LookupKind kind)
{
    for (const auto &t : tables_)
        if (t->kind == kind)
            return *t;
    Q_UNREACHABLE();
}

QString Lookups::caption(LookupKind kind)
{
    switch (kind) {
    case LookupKind::Language: return tr2(QStringLiteral("langue"), QStringLiteral("اللغة"));
    case LookupKind::Country: return tr2(QStringLiteral("pays"), QStringLiteral("البلد"));
    case LookupKind::Periodicity: return tr2(QStringLiteral("périodicité"), QStringLiteral("الدورية"));
    case LookupKind::Publisher: return tr2(QStringLiteral("éditeur"), QStringLiteral("الناشر"));
    case LookupKind::Collection: return tr2(QStringLiteral("collection"), QStringLiteral("السلسلة"));
    case LookupKind::SubCollection: return tr2(QStringLiteral("sous-collection"), QStringLiteral("السلسلة الفرعية"));
    case LookupKind::Diploma: return tr2(QStringLiteral("diplôme"), QStringLiteral("الشهادة"));
    case LookupKind::Speciality: return tr2(QStringLiteral("spécialité"), QStringLiteral("التخصص"));
    case LookupKind::Classification: return tr2(QStringLiteral("indice"), QStringLiteral("رمز التصنيف"));
    case LookupKind::Heading: return tr2(QStringLiteral("vedette"), QStringLiteral("المدخل"));
    case LookupKind::Function: return tr2(QStringLiteral("fonction"), QStringLiteral("الوظيفة"));
    case LookupKind::Location: return tr2(QStringLiteral("localisation"), QStringLiteral("الموقع"));
    }
    return {};
}

void Lookups::remember(Table &t, const QString &cacheKey, const QVariant &key, bool created)
{
    t.cache.insert(cacheKey, key);
    if (created)
        record_ << Created{&t, cacheKey};
}

Lookups::Answer Lookups::find(Table &t, const QString &cacheKey, const QVariantList &match)
{
    Answer a;
    if (const auto it = t.cache.constFind(cacheKey); it != t.cache.constEnd()) {
        a.key = *it;
        return a;
    }
    if (cacheOnly_) {
        a.unknown = true;
        return a;
    }
    PreparedQuery &q = match.size() > 1 && match.at(1).isNull() ? t.selectWithoutParent : t.select;
    const QVariantList binds = match.size() > 1 && match.at(1).isNull() ? match.mid(0, 1) : match;
    if (!q.run(binds)) {
        a.failed = true;
        a.error = q.error();
        return a;
    }
    if (q.next()) {
        a.key = q.value(0);
        // A rejected form leads to the heading it names as accepted.
        if (t.kind == LookupKind::Heading && !IsBlank(q.value(1)))
            a.key = q.value(1);
    }
    q.finish();
    if (!a.key.isNull())
        remember(t, cacheKey, a.key, false);
    return a;
}

Lookups::Answer Lookups::create(Table &t, const QString &cacheKey, const QVariantHash &values)
{
    Answer a;
    QVariant key;
    switch (t.insert.insert(values, &key)) {
    case PreparedInsert::Result::Refused:
        a.refusal = t.insert.refusal();
        return a;
    case PreparedInsert::Result::Failed:
        a.failed = true;
        a.error = t.insert.error();
        return a;
    case PreparedInsert::Result::Inserted:
        break;
    }
    // A code table is keyed by the code itself.
    a.key = t.insert.hasCounter() ? key : values.value(QStringLiteral("KEY"));
    remember(t, cacheKey, a.key, true);
    return a;
}

Lookups::Answer Lookups::code(LookupKind kind, const QString &value)
{
    const QString v = value.trimmed();
    if (v.isEmpty())
        return {};
    Table &t = table(kind);
    Answer a = find(t, v, {v});
    if (a.failed || a.unknown || !a.key.isNull())
        return a;
    // The new row: the code (or, for diplomas and specialities, the text)
    // as its key and as its labels.
    static const struct {
        LookupKind kind;
        const char *prefix;
        bool codeKey;
        bool arabicLabel;
    } shapes[] = {
        {LookupKind::Language, "LAN", true, true},     {LookupKind::Country, "PAY", true, true},
        {LookupKind::Periodicity, "PER", true, true},  {LookupKind::Classification, "CLA", true, true},
        {LookupKind::Function, "FON", true, true},     {LookupKind::Location, "LOC", true, false},
        {LookupKind::Diploma, "DIP", false, true},     {LookupKind::Speciality, "SPE", false, true},
    };
    QVariantHash row;
    row.insert(QStringLiteral("KEY"), v);
    for (const auto &shape : shapes) {
        if (shape.kind != kind)
            continue;
        const QString prefix = QLatin1String(shape.prefix);
        if (shape.codeKey)
            row.insert(prefix + QStringLiteral("_ID"), v);
        row.insert(prefix + QStringLiteral("_LIBELLE"), v);
        if (shape.arabicLabel)
            row.insert(prefix + QStringLiteral("_LIBELLE_AR"), v);
    }
    return create(t, v, row);
}

Lookups::Answer Lookups::publisher(const QString &name)
{
    const QString v = name.trimmed();
    if (v.isEmpty())
        return {};
    Table &t = table(LookupKind::Publisher);
    Answer a = find(t, v, {v});
    if (a.failed || a.unknown || !a.key.isNull())
        return a;
    QVariantHash row{{QStringLiteral("EDT_NOM"), v}, {QStringLiteral("EDT_NOM_AR"), v}, {QStringLiteral("EDT_TYPE"), 1}};
    addSearchColumns(t.name, row);
    return create(t, v, row);
}

Lookups::Answer Lookups::collection(const MappedCollection &c)
{
    const QString title = c.title.trimmed();
    if (title.isEmpty())
        return {};
    Table &t = table(LookupKind::Collection);
    Answer a = find(t, title, {title});
    if (a.failed || a.unknown || !a.key.isNull())
        return a;
    return create(t, title,
                  {{QStringLiteral("COL_TITRE_PROPRE"), title},
                   {QStringLiteral("COL_TITRE_PARALLELE"), c.parallel},
                   {QStringLiteral("COL_TITRE_COMPLEMENT"), c.complement},
                   {QStringLiteral("COL_RESPONSABILITE"), c.responsibility},
                   {QStringLiteral("COL_ISSN"), NormaliseStandardNumber(c.issn)}});
}

Lookups::Answer Lookups::subCollection(const QString &title, const QVariant &collection)
{
    const QString v = title.trimmed();
    if (v.isEmpty())
        return {};
    Table &t = table(LookupKind::SubCollection);
    const QString cacheKey = collection.toString() + u'\x1f' + v;
    Answer a = find(t, cacheKey, {v, collection});
    if (a.failed || a.unknown || !a.key.isNull())
        return a;
    return create(t, cacheKey, {{QStringLiteral("SCL_TITRE_PROPRE"), v}, {QStringLiteral("COL_ID"), collection}});
}

Lookups::Answer Lookups::heading(const QString &name, int kind)
{
    const QString v = name.trimmed();
    if (v.isEmpty())
        return {};
    Table &t = table(LookupKind::Heading);
    const QString cacheKey = QString::number(kind) + u'\x1f' + v;
    Answer a = find(t, cacheKey, {v, kind});
    if (a.failed || a.unknown || !a.key.isNull())
        return a;
    QVariantHash row{{QStringLiteral("TYP_VED_ID"), kind}, {QStringLiteral("VED_NOM"), v}};
    addSearchColumns(t.name, row);
    return create(t, cacheKey, row);
}

void Lookups::keepRecord()
{
    batch_ += record_;
    record_.clear();
}

void Lookups::dropRecord()
{
    for (const Created &c : std::as_const(record_))
        c.table->cache.remove(c.cacheKey);
    record_.clear();
}

void Lookups::keepBatch()
{
    keepRecord();
    batch_.clear();
}

void Lookups::dropBatch()
{
    dropRecord();
    for (const Created &c : std::as_const(batch_))
        c.table->cache.remove(c.cacheKey);
    batch_.clear();
}

} // namespace folian::unimarc
