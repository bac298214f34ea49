#pragma once
// Sort keys of the printed catalogue: a title or a heading files under its
// first significant word. The leading words to pass over (articles) are
// the stop words of MOT_VIDE, matched without regard to case when followed
// by a blank or an apostrophe; an Arabic text also files without its
// article "ال".

#include <QString>
#include <QStringList>

namespace folian {

class Database;
class Dialect;

class SortKeys
{
public:
    // Stop words in the order they are tried.
    explicit SortKeys(QStringList stopWords = {});

    // The stop words of MOT_VIDE in table order; false with why when they cannot be read.
    static bool read(Database &db, SortKeys *keys, QString *why);

    // The key of a text. At the first stop word that begins the text and is
    // followed by a blank or an apostrophe (' or ’), the key is the rest of the text
    // after the word, trimmed (so after an apostrophe it begins with the
    // apostrophe: "L'Harmattan" gives "'Harmattan"); without one it is the
    // text as it stands. A key beginning with the Arabic article followed by
    // a word of two letters or more then loses the article.
    QString key(const QString &text) const;

    const QStringList &stopWords() const { return words_; }

private:
    QStringList words_;
};

// The SQL that orders by a column of sort keys in the session's language:
// by the collator (É files with E), leading apostrophes passed over so
// that "'Harmattan" files under H.
QString sortKeyOrder(const Dialect &dialect, const QString &column);

} // namespace folian
