#include "catalogue/core/searchconditions.h"

#include "data/core/dialect.h"
#include "data/core/helpers.h"
#include "data/core/schema.h"
#include "data/core/searchtext.h"

namespace folian {

QStringList criterionWords(const QString &typed)
{
    QStringList words;
    int pos = 1;
    const QString text = typed.trimmed();
    for (;;) {
        const QString w = NextToken(text, pos, KeywordSeparators());
        if (w.isEmpty())
            break;
        words << w;
    }
    return words;
}

SqlCondition keywordCondition(const Dialect &d, const QString &column, const QString &typed, bool onRow)
{
    SqlCondition c;
    const QStringList words = criterionWords(typed);
    const qsizetype dot = column.indexOf(u'.');
    const QString alias = dot < 0 ? QString() : column.left(dot);
    const QString name = column.mid(dot + 1);
    if (const SearchIndexDef *ix = Schema::wordIndexOf(name); ix && !alias.isEmpty()) {
        c.sql = onRow ? d.keywordsHoldOnRow(*ix, alias, words, c.binds) : d.keywordsHold(*ix, alias, words, c.binds);
        return c;
    }
    QStringList parts;
    for (const QString &w : words) {
        parts << d.likeFolded(column);
        c.binds << QVariant(QStringLiteral("%/") + LikePattern(w) + QStringLiteral("/%"));
    }
    c.sql = parts.join(QStringLiteral(" AND "));
    return c;
}

SqlCondition standardNumberIs(const Dialect &d, const QString &column, const QString &key)
{
    // The folded texts from the number up to the number followed by " )"
    // (")" is the character after "("), which the number index reads as one
    // range; of those, the number itself and the number followed by " (".
    SqlCondition c;
    const QString param = d.foldedKey(QStringLiteral("CAST(? AS TEXT)"));
    const QString folded = d.foldedKey(column);
    c.sql = u'(' + (d.foldedIndexesPartial() ? column + QStringLiteral(" IS NOT NULL AND ") : QString()) + folded
        + QStringLiteral(" >= ") + param + QStringLiteral(" AND ") + folded + QStringLiteral(" < ") + param
        + QStringLiteral(" AND (") + folded + QStringLiteral(" = ") + param + QStringLiteral(" OR ") + folded
        + QStringLiteral(" >= ") + param + QStringLiteral("))");
    const QString qualified = key + QStringLiteral(" (");
    c.binds << key << QString(key + QStringLiteral(" )")) << key << qualified;
    return c;
}

SqlCondition standardNumberCondition(const Dialect &d, const QString &typed, const QStringList &columns)
{
    SqlCondition c;
    const QString number = StandardNumberKey(typed);
    if (number.isEmpty() || columns.isEmpty())
        return c;
    const qsizetype star = number.indexOf(u'*');
    const bool byIndex = d.indexedSearch() && d.foldedKeyFits(number);
    const QString param = QStringLiteral("CAST(? AS TEXT)");
    QStringList parts;
    for (const QString &col : columns) {
        if (star < 0 && byIndex) {
            // A whole number: what the number indexes answer.
            const SqlCondition is = standardNumberIs(d, col, number);
            parts << is.sql;
            c.binds += is.binds;
        } else if (star < 0) {
            parts << u'(' + d.likeNoCase(col) + QStringLiteral(" OR ") + d.likeNoCase(col) + u')';
            c.binds << LikePattern(number) << QString(LikePattern(number) + QStringLiteral(" (%"));
        } else if (byIndex && star > 0 && star == number.size() - 1) {
            // A beginning: the folded texts from it up to the last one that
            // starts with it, then the pattern itself.
            const QString indexed = u'(' + (d.foldedIndexesPartial() ? col + QStringLiteral(" IS NOT NULL AND ") : QString())
                + d.foldedKey(col);
            const QString begin = number.left(star);
            parts << indexed + QStringLiteral(" >= ") + d.foldedKey(param) + QStringLiteral(" AND ") + d.foldedKey(col)
                    + QStringLiteral(" < ") + d.foldedKey(param) + QStringLiteral(" AND ") + d.likeNoCase(col) + u')';
            const char32_t last = QChar::LastValidCodePoint;
            c.binds << begin << QString(begin + QString::fromUcs4(&last, 1)) << LikePattern(number);
        } else {
            parts << d.likeNoCase(col);
            c.binds << LikePattern(number);
        }
    }
    c.sql = u'(' + parts.join(QStringLiteral(" OR ")) + u')';
    return c;
}

SqlCondition collationPrefixCondition(const Dialect &d, const QString &keyColumn, const QString &typed,
                                      const QString &language)
{
    if (!d.indexedSearch())
        return {};
    const QString text = typed.trimmed();
    const CollationRange range = CollationPrefixRange(text.left(text.indexOf(u'*')), language);
    if (range.isEmpty())
        return {};
    return {keyColumn + QStringLiteral(" >= ? AND ") + keyColumn + QStringLiteral(" < ?"), {range.from, range.to}};
}

SqlCondition allOf(const QList<SqlCondition> &conditions)
{
    SqlCondition out;
    QStringList parts;
    for (const SqlCondition &c : conditions) {
        if (c.isEmpty())
            continue;
        parts << c.sql;
        out.binds << c.binds;
    }
    out.sql = parts.join(QStringLiteral(" AND "));
    return out;
}

} // namespace folian
