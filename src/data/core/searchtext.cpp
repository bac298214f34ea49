#include "data/core/searchtext.h"

#include <QHash>

#include <unicode/ucol.h>

#include <memory>

namespace folian {

namespace {

constexpr qsizetype kLongestCollationKey = 1000;

// The accented letters of the Latin blocks folded to their base letter, as
// their canonical decomposition gives it (a letter of a-z followed by
// combining marks only), the combining marks themselves dropped.
void addLatinLetters(QList<FoldRule> &rules)
{
    const std::pair<char16_t, char16_t> blocks[] = {{0x00C0, 0x024F}, {0x1E00, 0x1EFF}};
    for (const auto &[first, last] : blocks) {
        for (char16_t c = first; c <= last; ++c) {
            const QString d = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            if (d.size() < 2 || d.at(0).unicode() >= 0x80 || !d.at(0).isLetter())
                continue;
            const bool marksOnly = std::all_of(d.cbegin() + 1, d.cend(), [](QChar m) {
                return m.unicode() >= 0x0300 && m.unicode() <= 0x036F;
            });
            if (marksOnly)
                rules << FoldRule{QChar(c), QString(d.at(0).toLower())};
        }
    }
    for (char16_t m = 0x0300; m <= 0x036F; ++m)
        rules << FoldRule{QChar(m), QString()};
}

QList<FoldRule> buildRules()
{
    QList<FoldRule> rules;
    auto map = [&rules](char16_t from, const char16_t *to) { rules << FoldRule{QChar(from), QString::fromUtf16(to)}; };
    // The typographic apostrophes.
    map(u'\u2019', u"'");
    map(u'\u02BC', u"'");
    addLatinLetters(rules);
    // Letters without a decomposition that readers type plainly, and ligatures.
    for (const auto &[from, to] : {std::pair{u'\u00D8', u"o"}, {u'\u00F8', u"o"}, {u'\u0141', u"l"}, {u'\u0142', u"l"},
                                   {u'\u0110', u"d"}, {u'\u0111', u"d"}, {u'\u03C2', u"\u03C3"},
                                   {u'\u0152', u"oe"}, {u'\u0153', u"oe"}, {u'\u00C6', u"ae"}, {u'\u00E6', u"ae"},
                                   {u'\u1E9E', u"ss"}, {u'\u00DF', u"ss"}})
        map(from, to);
    // Arabic: the forms of alef as alef, the seats of hamza as hamza, taa
    // marbuta as haa, alef maqsura as yaa.
    for (const char16_t alef : {u'\u0623', u'\u0625', u'\u0622', u'\u0671'})
        map(alef, u"\u0627");
    map(u'\u0624', u"\u0621");
    map(u'\u0626', u"\u0621");
    map(u'\u0629', u"\u0647");
    map(u'\u0649', u"\u064A");
    // Its short vowels, shadda, sukun, the combining maddah and hamza, the
    // dagger alef and the tatweel are ignored.
    for (char16_t m = 0x064B; m <= 0x0655; ++m)
        map(m, u"");
    map(u'\u0670', u"");
    map(u'\u0640', u"");
    return rules;
}

const QHash<QChar, QString> &foldTable()
{
    static const QHash<QChar, QString> table = [] {
        QHash<QChar, QString> t;
        for (const FoldRule &r : SearchFoldRules())
            t.insert(r.from, r.to);
        return t;
    }();
    return table;
}

// One collator per language and thread, set as the program's sorts set
// theirs: letters compared without regard to case, accents counted after
// the letters, punctuation and blanks as characters.
struct Collator {
    UCollator *c = nullptr;
    explicit Collator(const char *locale)
    {
        UErrorCode status = U_ZERO_ERROR;
        c = ucol_open(locale, &status);
        ucol_setAttribute(c, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(c, UCOL_STRENGTH, UCOL_SECONDARY, &status);
        ucol_setAttribute(c, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(c, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        if (U_FAILURE(status)) {
            ucol_close(c);
            c = nullptr;
        }
    }
    ~Collator() { ucol_close(c); }
    Collator(const Collator &) = delete;
    Collator &operator=(const Collator &) = delete;
};

const UCollator *collatorOf(const QString &language)
{
    thread_local const Collator french("fr");
    thread_local const Collator arabic("ar");
    return language == QLatin1String("AR") ? arabic.c : french.c;
}

// The collator's own key of a text, ending with its zero byte.
QByteArray icuKey(const UCollator *c, const QString &text)
{
    QByteArray key(qMax<qsizetype>(64, text.size() * 3), Qt::Uninitialized);
    const auto *s = reinterpret_cast<const UChar *>(text.utf16());
    const int length = int(text.size());
    int n = ucol_getSortKey(c, s, length, reinterpret_cast<uint8_t *>(key.data()), int(key.size()));
    if (n > key.size()) {
        key.resize(n);
        n = ucol_getSortKey(c, s, length, reinterpret_cast<uint8_t *>(key.data()), int(key.size()));
    }
    key.resize(n);
    return key;
}

QByteArray bound(const QByteArray &key, UColBoundMode mode)
{
    QByteArray out(key.size() + 8, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const auto *k = reinterpret_cast<const uint8_t *>(key.constData());
    int n = ucol_getBound(k, int(key.size()), mode, 1, reinterpret_cast<uint8_t *>(out.data()), int(out.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR || n > out.size()) {
        out.resize(n);
        status = U_ZERO_ERROR;
        n = ucol_getBound(k, int(key.size()), mode, 1, reinterpret_cast<uint8_t *>(out.data()), int(out.size()), &status);
    }
    if (U_FAILURE(status))
        return {};
    out.resize(n);
    return out;
}

} // namespace

const QList<FoldRule> &SearchFoldRules()
{
    static const QList<FoldRule> rules = buildRules();
    return rules;
}

QString SearchFold(const QString &text)
{
    const QHash<QChar, QString> &table = foldTable();
    const QString folded = text.toCaseFolded();
    QString out;
    out.reserve(folded.size());
    for (const QChar c : folded) {
        if (c.unicode() < 0x80) {
            out += c;
            continue;
        }
        const auto it = table.constFind(c);
        if (it == table.constEnd())
            out += c;
        else
            out += *it;
    }
    return out;
}

QByteArray CollationKey(const QString &text, const QString &language)
{
    if (text.isNull())
        return {};
    const UCollator *c = collatorOf(language);
    // Texts the collator holds equal follow in the order of their characters.
    QByteArray key = c ? icuKey(c, text) + text.toUtf8() : text.toUtf8();
    // An index entry has a bounded size: the order of two titles that
    // agree on their first few hundred letters is that of their keys' ends.
    if (key.size() > kLongestCollationKey)
        key.truncate(kLongestCollationKey);
    return key;
}

CollationRange CollationPrefixRange(const QString &prefix, const QString &language)
{
    const UCollator *c = collatorOf(language);
    if (prefix.isEmpty() || !c)
        return {};
    const QByteArray key = icuKey(c, prefix);
    // A prefix of ignorable characters only (tatweel, marks) has no letter
    // to begin a range with.
    if (key.startsWith('\x01'))
        return {};
    CollationRange r{bound(key, UCOL_BOUND_LOWER), bound(key, UCOL_BOUND_UPPER_LONG)};
    if (r.from.isEmpty() || r.to.isEmpty())
        return {};
    return r;
}

} // namespace folian
