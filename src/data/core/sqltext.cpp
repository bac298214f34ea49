#include "data/core/sqltext.h"

#include <QRegularExpression>

namespace folian {

namespace {

struct Word {
    qsizetype pos;
    QString text;  // upper-cased
};

// The words of the statement outside quotes and parentheses.
QVector<Word> topLevelWords(const QString &sql, QVector<qsizetype> *commas)
{
    QVector<Word> words;
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (depth == 0 && c == u',') {
            if (commas)
                commas->append(i);
        } else if (depth == 0 && (c.isLetter() || c == u'_')) {
            qsizetype j = i;
            while (j < sql.size() && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_' || sql.at(j) == u'.'))
                ++j;
            words.append({i, sql.mid(i, j - i).toUpper()});
            i = j - 1;
        }
    }
    return words;
}

} // namespace

SqlOrder splitOrderBy(const QString &sql)
{
    SqlOrder out;
    QString text = sql.trimmed();
    while (text.endsWith(u';'))
        text.chop(1);
    out.base = text;
    const QVector<Word> words = topLevelWords(text, nullptr);
    qsizetype orderAt = -1, listAt = -1;
    for (int i = 0; i + 1 < words.size(); ++i)
        if (words.at(i).text == QLatin1String("ORDER") && words.at(i + 1).text == QLatin1String("BY")) {
            orderAt = words.at(i).pos;
            listAt = words.at(i + 1).pos + 2;
        }
    for (const Word &w : words)
        if (w.text == QLatin1String("LIMIT") || w.text == QLatin1String("OFFSET") || w.text == QLatin1String("FETCH")
            || w.text == QLatin1String("FOR")) {
            out.pageable = false;
            return out;
        }
    // One source: SELECT DISTINCT, or one table after FROM with no join,
    // no second table, no grouping and no union.
    if (words.size() > 1 && words.at(0).text == QLatin1String("SELECT") && words.at(1).text == QLatin1String("DISTINCT")) {
        out.singleSource = true;
    } else {
        int from = -1;
        for (int i = 0; i < words.size(); ++i)
            if (words.at(i).text == QLatin1String("FROM")) {
                from = i;
                break;
            }
        bool single = from >= 0;
        for (int i = 0; i < words.size() && single; ++i) {
            const QString &w = words.at(i).text;
            if (w == QLatin1String("JOIN") || w == QLatin1String("UNION") || w == QLatin1String("GROUP")
                || w == QLatin1String("EXCEPT") || w == QLatin1String("INTERSECT"))
                single = false;
        }
        if (single) {
            // A comma between FROM and the clause after it names a second table.
            const qsizetype start = words.at(from).pos;
            qsizetype end = text.size();
            for (int i = from + 1; i < words.size(); ++i)
                if (words.at(i).text == QLatin1String("WHERE") || words.at(i).text == QLatin1String("ORDER")) {
                    end = words.at(i).pos;
                    break;
                }
            QVector<qsizetype> commas;
            topLevelWords(text.mid(start, end - start), &commas);
            single = commas.isEmpty();
        }
        out.singleSource = single;
    }
    if (orderAt < 0)
        return out;
    out.base = text.left(orderAt).trimmed();
    const QString list = text.mid(listAt);
    if (list.contains(u'?')) {
        out.pageable = false;
        return out;
    }
    QVector<qsizetype> commas;
    topLevelWords(list, &commas);
    commas.append(list.size());
    static const QRegularExpression item(
        QStringLiteral("^\\s*(?:[A-Za-z_][A-Za-z0-9_]*\\.)?([A-Za-z_][A-Za-z0-9_]*)"
                       "(\\s+COLLATE\\s+(?:\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_]*))?(?:\\s+(ASC|DESC))?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    qsizetype from = 0;
    for (qsizetype to : std::as_const(commas)) {
        const QRegularExpressionMatch m = item.match(list.mid(from, to - from));
        if (!m.hasMatch()) {
            out.items.clear();
            out.pageable = false;
            out.base = text;
            return out;
        }
        out.items.append({m.captured(1).toUpper(), m.captured(2).isEmpty() ? QString() : u' ' + m.captured(2).trimmed(),
                          m.captured(3).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0});
        from = to + 1;
    }
    return out;
}

} // namespace folian
