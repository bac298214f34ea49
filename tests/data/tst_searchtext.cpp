// How the searches fold words and how the collation keys order texts: a
// typed word and the stored one fold alike whatever their case, accents,
// ligatures, apostrophes and Arabic spelling variants, while different
// letters stay apart; the keys order texts as the program's collators do
// (French and Arabic, letters without regard to case, ties in the order of
// their characters), and the range of a beginning holds every text that a
// case-insensitive LIKE finds with it.

#include "data/core/searchtext.h"

#include <QCollator>
#include <QLocale>
#include <QTest>

#include <algorithm>

using namespace folian;

namespace {

// Titles and names where the orders differ or are easily got wrong: case
// and accents alone, ligatures, apostrophes, punctuation, digits, Arabic
// with and without its variants and short vowels, both scripts mixed, a
// tatweel and a direction mark that the collators ignore.
const QStringList &samples()
{
    static const QStringList s = {
        QStringLiteral("paris"), QStringLiteral("Paris"), QStringLiteral("PARIS"), QStringLiteral("pAris"),
        QStringLiteral("École"), QStringLiteral("ecole"), QStringLiteral("Ecole"), QStringLiteral("école"),
        QStringLiteral("Écoles"), QStringLiteral("Éclair"), QStringLiteral("eclair"), QStringLiteral("L'été"),
        QStringLiteral("L’été"), QStringLiteral("l'Été"), QStringLiteral("Lété"), QStringLiteral("Œuvres"),
        QStringLiteral("oeuvres"), QStringLiteral("Oeuvre"), QStringLiteral("Ærø"), QStringLiteral("straße"),
        QStringLiteral("strasse"), QStringLiteral("Ça"), QStringLiteral("ca"), QStringLiteral("cote"),
        QStringLiteral("côte"), QStringLiteral("coté"), QStringLiteral("côté"), QStringLiteral("zèbre"),
        QStringLiteral("Zèbre"), QStringLiteral("a-b"), QStringLiteral("ab"), QStringLiteral("a b"),
        QStringLiteral("-a"), QStringLiteral("10 contes"), QStringLiteral("9 contes"), QStringLiteral("١٢٣"),
        QStringLiteral("مسؤولية"), QStringLiteral("مسئولية"), QStringLiteral("أحمد"), QStringLiteral("احمد"),
        QStringLiteral("إحياء"), QStringLiteral("الكتاب"), QStringLiteral("كتاب"), QStringLiteral("ذِكْرَى"),
        QStringLiteral("ذكرى"), QStringLiteral("مدرسة"), QStringLiteral("مدرسه"), QStringLiteral("كـتاب"),
        QStringLiteral("Amsterdam"), QStringLiteral("Amsterdam\u200E"), QStringLiteral("Dar El Gharb"),
        QStringLiteral("دار الغرب"), QStringLiteral("Le petit prince"), QStringLiteral("Le Petit Prince"),
        QStringLiteral("Les petits chevaux"), QStringLiteral("L'Harmattan"), QStringLiteral("Éditions d'Aujourd'hui"),
        QStringLiteral("Zola, Émile"), QStringLiteral("Ibn Khaldoun"), QStringLiteral("ابن خلدون"),
        QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("ـ"), QStringLiteral("!")};
    return s;
}

QCollator collator(const QString &language)
{
    QCollator c(language == QLatin1String("AR") ? QLocale(QLocale::Arabic) : QLocale(QLocale::French, QLocale::France));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

} // namespace

class TstSearchText : public QObject
{
    Q_OBJECT
private slots:
    // The stored word and the word typed fold to one text when they differ
    // only by case, accents, ligatures, apostrophes or Arabic spelling
    // variants; letters that are not variants of one another stay apart.
    void folds_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("alike");
        auto row = [](const char *name, const char16_t *stored, const char16_t *typed, bool alike = true) {
            QTest::newRow(name) << QString::fromUtf16(stored) << QString::fromUtf16(typed) << alike;
        };
        row("case", u"ÉCOLE", u"école");
        row("acute accent", u"École", u"ecole");
        row("grave, circumflex, diaeresis", u"Père Noël fête", u"pere noel fete");
        row("cedilla", u"Ça", u"ca");
        row("o e ligature", u"Œuvres", u"oeuvres");
        row("a e ligature", u"Cæsar", u"caesar");
        row("sharp s", u"Straße", u"strasse");
        row("stroke letters", u"Łódź Ørsted", u"lodz orsted");
        row("letters of other Latin languages", u"Việt Nam Ţara Ǧ", u"viet nam tara g");
        row("decomposed accent", u"e\u0301cole", u"ecole");
        row("typographic apostrophe", u"l’enfant", u"l'enfant");
        row("modifier letter apostrophe", u"qurʼan", u"qur'an");
        row("hamza on waw and on yaa", u"مسؤولية", u"مسئولية");
        row("hamza on its seat or alone", u"مسؤولية", u"مسءولية");
        row("alef forms", u"أحمد إحياء آمال", u"احمد احياء امال");
        row("taa marbuta", u"مدرسة", u"مدرسه");
        row("alef maqsura", u"ذكرى", u"ذكري");
        row("short vowels, shadda, tatweel", u"مُحَمَّد كـتاب", u"محمد كتاب");
        row("two Latin letters", u"cote", u"cite", false);
        row("hamza and alef", u"ماء", u"ماا", false);
        row("waw and hamza on waw", u"مسوولية", u"مسؤولية", false);
        row("taa and taa marbuta", u"مدرست", u"مدرسة", false);
        row("apostrophe and none", u"l'ete", u"lete", false);
    }
    void folds()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, alike);
        QCOMPARE(SearchFold(stored) == SearchFold(typed), alike);
    }

    // Sorted by their keys, byte by byte, the texts come in the order of the
    // collator of the language, texts it holds equal in the order of their
    // characters.
    void keysOrderAsTheCollator_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("French") << QStringLiteral("FR");
        QTest::newRow("Arabic") << QStringLiteral("AR");
    }
    void keysOrderAsTheCollator()
    {
        QFETCH(QString, language);
        const QCollator c = collator(language);
        QStringList byCollator = samples();
        std::sort(byCollator.begin(), byCollator.end(), [&c](const QString &a, const QString &b) {
            const int r = c.compare(a, b);
            return r != 0 ? r < 0 : a < b;
        });
        QStringList byKey = samples();
        std::sort(byKey.begin(), byKey.end(), [&language](const QString &a, const QString &b) {
            return CollationKey(a, language) < CollationKey(b, language);
        });
        QCOMPARE(byKey, byCollator);
    }

    void orderDiffersByLanguage()
    {
        // Arabic comes before Latin in the Arabic order, after it in the French one.
        const QString latin = QStringLiteral("Zola"), arabic = QStringLiteral("ابن خلدون");
        QVERIFY(CollationKey(latin, QStringLiteral("FR")) < CollationKey(arabic, QStringLiteral("FR")));
        QVERIFY(CollationKey(arabic, QStringLiteral("AR")) < CollationKey(latin, QStringLiteral("AR")));
    }

    // The range of a beginning holds every text whose case-folded form
    // begins with the beginning's, and leaves out texts of other letters.
    void prefixRangeHoldsTheMatches_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("French") << QStringLiteral("FR");
        QTest::newRow("Arabic") << QStringLiteral("AR");
    }
    void prefixRangeHoldsTheMatches()
    {
        QFETCH(QString, language);
        int checked = 0;
        for (const QString &source : samples()) {
            for (qsizetype n = 1; n <= qMin<qsizetype>(4, source.size()); ++n) {
                const QString prefix = source.left(n);
                const CollationRange r = CollationPrefixRange(prefix, language);
                if (r.isEmpty()) {
                    // Only a beginning without any letter gives no range.
                    QVERIFY2(CollationKey(prefix, language).startsWith('\x01'), qPrintable(prefix));
                    continue;
                }
                for (const QString &text : samples()) {
                    const QByteArray key = CollationKey(text, language);
                    const bool inRange = key >= r.from && key < r.to;
                    if (text.toCaseFolded().startsWith(prefix.toCaseFolded())) {
                        ++checked;
                        QVERIFY2(inRange, qPrintable(prefix + QStringLiteral(" / ") + text));
                    }
                }
            }
        }
        QVERIFY(checked > 100);
        const CollationRange be = CollationPrefixRange(QStringLiteral("be"), language);
        const QByteArray zola = CollationKey(QStringLiteral("Zola, Émile"), language);
        QVERIFY(!(zola >= be.from && zola < be.to));
        QVERIFY(CollationPrefixRange(QString(), language).isEmpty());
    }

    void keysAreBounded()
    {
        const QString longTitle = QString(400, QChar(u'م')) + QString(400, QChar(u'é'));
        QVERIFY(CollationKey(longTitle, QStringLiteral("AR")).size() <= 1000);
        QVERIFY(CollationKey(QString(), QStringLiteral("FR")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstSearchText)
#include "tst_searchtext.moc"
