#include "catalogue/core/searchconditions.h"

#include "data/core/dialect.h"
#include "data/core/helpers.h"

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
    QStringList parts;
    for (const QString &w : criterionWords(typed)) {
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
    QStringList parts;
    for (const QString &col : columns) {
        parts << d.likeNoCase(col);
        c.binds << LikePattern(number);
    }
    c.sql = u'(' + parts.join(QStringLiteral(" OR ")) + u')';
    return c;
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
