#include "data/core/searchcolumns.h"

#include "data/core/database.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/searchtext.h"

namespace folian {

namespace {

// Rows read, and written again, at a time.
constexpr int kPage = 500;
constexpr int kRowsPerUpdate = 50;

QVariant nullIfEmpty(const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); }

QVariant keyOf(const QVariant &text, const QString &language)
{
    if (IsBlank(text))
        return QVariant();
    return CollationKey(text.toString(), language);
}

// The search columns of a table in their order: keywords, folded words, keys.
QStringList derived(const SearchColumnsDef &def)
{
    return {def.keywords, def.folded, def.frenchKey, def.arabicKey};
}

// The columns a refresh reads: the key, the sources and texts, the derived ones.
QStringList readColumns(const SearchColumnsDef &def)
{
    QStringList out{def.key};
    for (const QString &c : def.sources + QStringList{def.frenchText, def.arabicText})
        if (!out.contains(c))
            out << c;
    return out + derived(def);
}

bool sameStored(const QVariant &stored, const QVariant &wanted)
{
    if (stored.isNull() || wanted.isNull())
        return stored.isNull() == wanted.isNull();
    if (wanted.typeId() == QMetaType::QByteArray)
        return stored.toByteArray() == wanted.toByteArray();
    return stored.toString() == wanted.toString();
}

// UPDATE <table> SET <derived> = v.column2.. FROM (VALUES (key, derived..), ..) v
// WHERE <key> = v.column1, for `rows` rows.
QString updateSql(const Dialect &d, const SearchColumnsDef &def, int rows)
{
    const TableDef *t = Schema::table(def.table);
    const QStringList cols = QStringList{def.key} + derived(def);
    QStringList marks;
    for (const QString &c : cols)
        marks << d.typedParameter(*t->column(c));
    const QString tuple = u'(' + marks.join(QStringLiteral(", ")) + u')';
    QStringList tuples;
    for (int i = 0; i < rows; ++i)
        tuples << tuple;
    QStringList sets;
    for (int i = 1; i < cols.size(); ++i)
        sets << cols.at(i) + QStringLiteral(" = V.column%1").arg(i + 1);
    return QStringLiteral("UPDATE %1 SET %2 FROM (VALUES %3) AS V WHERE %1.%4 = V.column1")
        .arg(def.table, sets.join(QStringLiteral(", ")), tuples.join(QStringLiteral(", ")), def.key);
}

bool writeRows(Database &db, const SearchColumnsDef &def, const QList<QVariantList> &rows, QString *why)
{
    for (qsizetype from = 0; from < rows.size(); from += kRowsPerUpdate) {
        const int n = int(qMin<qsizetype>(kRowsPerUpdate, rows.size() - from));
        QVariantList binds;
        for (int i = 0; i < n; ++i)
            binds << rows.at(from + i);
        if (!db.exec(updateSql(db.dialect(), def, n), binds)) {
            if (why)
                *why = def.table + QStringLiteral(": ") + db.lastError().text();
            return false;
        }
    }
    return true;
}

bool refreshTable(Database &db, const SearchColumnsDef &def, qint64 *changed, QString *why)
{
    const QStringList cols = readColumns(def);
    const QString read = QStringLiteral("SELECT %1 FROM %2 WHERE %3 > ? ORDER BY %3 LIMIT %4")
                             .arg(cols.join(QStringLiteral(", ")), def.table, def.key)
                             .arg(kPage);
    const qsizetype firstDerived = cols.size() - derived(def).size();
    QVariant after = std::numeric_limits<int>::min();
    for (;;) {
        // A whole page is read before anything is written on the connection.
        QList<QVariantHash> page;
        {
            SqlRows q = db.query(read, {after});
            if (!q.isActive()) {
                if (why)
                    *why = def.table + QStringLiteral(": ") + db.lastError().text();
                return false;
            }
            while (q.next()) {
                QVariantHash row;
                for (int i = 0; i < cols.size(); ++i)
                    row.insert(cols.at(i), q.value(i));
                page << row;
            }
        }
        if (page.isEmpty())
            return true;
        after = page.last().value(def.key);
        QList<QVariantList> rows;
        for (const QVariantHash &row : std::as_const(page)) {
            const QVariantHash wanted = searchColumnValues(def, [&row](const QString &c) { return row.value(c); });
            bool same = true;
            QVariantList values{row.value(def.key)};
            for (qsizetype i = firstDerived; i < cols.size(); ++i) {
                same = same && sameStored(row.value(cols.at(i)), wanted.value(cols.at(i)));
                values << wanted.value(cols.at(i));
            }
            if (!same)
                rows << values;
        }
        if (!writeRows(db, def, rows, why))
            return false;
        *changed += rows.size();
        if (page.size() < kPage)
            return true;
    }
}

} // namespace

QVariantHash searchColumnValues(const SearchColumnsDef &def, const std::function<QVariant(const QString &)> &value)
{
    QStringList texts;
    for (const QString &c : def.sources)
        texts << value(c).toString();
    const QString keywords = BuildKeywords(texts.join(u' '));
    return {{def.keywords, nullIfEmpty(keywords)},
            {def.folded, nullIfEmpty(SearchFold(keywords))},
            {def.frenchKey, keyOf(value(def.frenchText), QStringLiteral("FR"))},
            {def.arabicKey, keyOf(value(def.arabicText), QStringLiteral("AR"))}};
}

void addSearchColumns(const QString &table, QVariantHash &row)
{
    const SearchColumnsDef *def = Schema::searchColumnsOf(table);
    if (!def)
        return;
    const QVariantHash values = searchColumnValues(*def, [&row](const QString &c) { return row.value(c); });
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        row.insert(it.key(), it.value());
}

void setSearchColumns(Dataset &d)
{
    const SearchColumnsDef *def = Schema::searchColumnsOf(d.table());
    if (!def)
        return;
    const QVariantHash values = searchColumnValues(*def, [&d](const QString &c) { return d.value(c); });
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (d.hasField(it.key()))
            d.setValue(it.key(), it.value());
}

bool refreshSearchColumns(Database &db, qint64 *changed, QString *why)
{
    qint64 n = 0;
    Transaction tx(db);
    if (!tx.isActive()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    for (const SearchColumnsDef &def : Schema::searchColumns())
        if (!refreshTable(db, def, &n, why))
            return false;
    if (!tx.commit()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    if (changed)
        *changed = n;
    return true;
}

} // namespace folian
