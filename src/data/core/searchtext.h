#pragma once
// How the searches compare texts and how the lists put them in alphabetical
// order, the same on both engines.
//
// Folding: a word is found whatever its case, its accents and ligatures
// ("ecole" finds "École", "oeuvre" finds "Œuvre"), its apostrophe (’ and ʼ
// are the plain one) and the spelling variants of Arabic (the forms of
// alef, the seats of hamza, taa marbuta and haa, alef maqsura and yaa),
// whose short vowels and tatweel are ignored.
//
// Collation keys: a title or a name as bytes that sort, compared byte by
// byte, in the order of the language's collator (French or Arabic, letters
// without regard to case, É with E), texts that the collator holds equal in
// the order of their characters. An index on them serves the order on any
// engine.

#include <QByteArray>
#include <QList>
#include <QString>

namespace folian {

// A text as the searches compare it: case-folded, then each character
// through the folding rules.
QString SearchFold(const QString &text);

// The folding rules after the case fold: a character and what it becomes
// (one character, two, or none: a mark that is ignored). An engine that
// folds in SQL builds its expression from them.
struct FoldRule {
    QChar from;
    QString to;
};
const QList<FoldRule> &SearchFoldRules();

// The collation key of a text in "FR" or "AR" (another language sorts as
// French); empty for a null text. A key holds at most 1,000 bytes: titles
// that only differ beyond their first three hundred letters or so keep the
// order of their record numbers.
QByteArray CollationKey(const QString &text, const QString &language);

// The keys of every text that begins with `prefix` as a case-insensitive
// LIKE sees it, letters compared by their base (so a few more texts than
// those: "é" for "e"): from <= key < to. Empty when the prefix is empty.
struct CollationRange {
    QByteArray from, to;
    bool isEmpty() const { return from.isEmpty(); }
};
CollationRange CollationPrefixRange(const QString &prefix, const QString &language);

} // namespace folian
