#include "catalogue/core/sortkeys.h"

#include "base/session.h"
#include "data/core/database.h"

namespace folian {

namespace {

const QString kArabicArticle = QStringLiteral("\u0627\u0644");  // ال

bool isApostrophe(QChar c) { return c == u'\'' || c == u'\u2019'; }

// The text without its leading Arabic article, when a word of two letters
// or more follows it ("الكتاب" files as "كتاب", "الم" stays).
QString withoutArabicArticle(const QString &text)
{
    if (text.size() < 4 || !text.startsWith(kArabicArticle) || !text.at(2).isLetter() || !text.at(3).isLetter())
        return text;
    return text.mid(2);
}

} // namespace

SortKeys::SortKeys(QStringList stopWords)
{
    for (QString &w : stopWords) {
        w = w.trimmed();
        if (!w.isEmpty())
            words_ << w;
    }
}

bool SortKeys::read(Database &db, SortKeys *keys, QString *why)
{
    SqlRows q = db.query(QStringLiteral("SELECT MOT FROM MOT_VIDE ORDER BY MOV_ID"));
    if (!q.isActive()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    QStringList words;
    while (q.next())
        words << q.value(0).toString();
    *keys = SortKeys(words);
    return true;
}

QString SortKeys::key(const QString &text) const
{
    for (const QString &w : words_) {
        const qsizetype n = w.size();
        if (text.size() <= n || QStringView(text).left(n).compare(w, Qt::CaseInsensitive) != 0)
            continue;
        const QChar next = text.at(n);
        if (next == u' ' || isApostrophe(next))
            return withoutArabicArticle(text.mid(n).trimmed());
    }
    return withoutArabicArticle(text);
}

QString sortKeyOrder(const Dialect &dialect, const QString &column)
{
    return QStringLiteral("LTRIM(") + column + QStringLiteral(", '''\u2019')")
        + dialect.collate(session().CurrentLanguage);
}

} // namespace folian
