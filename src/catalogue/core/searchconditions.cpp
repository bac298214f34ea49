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

SqlCondition keywordCondition(const Dialect &d, const QString &column, const QString &typed)
{
    SqlCondition c;
    const QStringList words = criterionWords(typed);
    const qsizetype dot = column.indexOf(u'.');
    const QString alias = dot < 0 ? QString() : column.left(dot);
    const QString name = column.mid(dot + 1);
    if (const SearchIndexDef *ix = Schema::wordIndexOf(name); ix && !alias.isEmpty()) {
        c.sql = d.keywordsHold(*ix, alias, words, c.binds);
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

SqlCondition standardNumberCondition(const Dialect &d, const QString &typed, const QStringList &columns)
{
    SqlCondition c;
    const QString number = NormaliseStandardNumber(typed.trimmed()).toString();
    if (number.isEmpty() || columns.isEmpty())
        return c;
    const qsizetype star = number.indexOf(u'*');
    const bool byIndex = d.indexedSearch() && d.foldedKeyFits(number);
    const QString param = QStringLiteral("CAST(? AS TEXT)");
    QStringList parts;
    for (const QString &col : columns) {
        const QString indexed = u'(' + (d.foldedIndexesPartial() ? col + QStringLiteral(" IS NOT NULL AND ") : QString())
            + d.foldedKey(col);
        if (byIndex && star < 0) {
            // A whole number: equal once folded, which the number indexes answer.
            parts << indexed + QStringLiteral(" = ") + d.foldedKey(param) + u')';
            c.binds << number;
        } else if (byIndex && star > 0 && star == number.size() - 1) {
            // A beginning: the folded texts from it up to the last one that
            // starts with it, then the pattern itself.
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
