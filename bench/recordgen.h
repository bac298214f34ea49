#pragma once
// What the catalogue benchmarks share: the figures of repeated timings and
// the generator of records (French and Arabic titles, valid ISBNs), with
// the multi-row INSERT that writes them.

#include "data/core/helpers.h"
#include "data/core/searchcolumns.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <random>

namespace folian::bench {

struct Stats {
    double min = 0, median = 0, p95 = 0, max = 0;
};

inline Stats stats(QVector<double> v)
{
    Stats s;
    if (v.isEmpty())
        return s;
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    s.min = v.first();
    s.max = v.last();
    s.median = n % 2 ? v.at(n / 2) : (v.at(n / 2 - 1) + v.at(n / 2)) / 2;
    s.p95 = v.at(qBound<qsizetype>(0, qsizetype(std::ceil(0.95 * double(n))) - 1, n - 1));
    return s;
}

// --- record generation -----------------------------------------------------

constexpr QStringView kFrench[] = {
    u"histoire", u"introduction", u"droit", u"civil", u"algérien", u"économie", u"politique",
    u"méthodes", u"analyse", u"numérique", u"géographie", u"Maghreb", u"littérature", u"française",
    u"poésie", u"contemporaine", u"manuel", u"pratique", u"gestion", u"entreprises", u"chimie",
    u"organique", u"physique", u"quantique", u"mathématiques", u"appliquées", u"statistique",
    u"probabilités", u"médecine", u"tropicale", u"pédiatrie", u"architecture", u"islamique",
    u"urbanisme", u"Méditerranée", u"société", u"rurale", u"sociologie", u"éducation", u"réforme",
    u"enseignement", u"supérieur", u"langue", u"arabe", u"grammaire", u"dictionnaire", u"pratique",
    u"informatique", u"réseaux", u"bases", u"données", u"programmation", u"systèmes", u"énergie",
    u"solaire", u"hydraulique", u"agriculture", u"saharienne", u"eau", u"environnement", u"climat",
    u"philosophie", u"pensée", u"médiévale", u"Andalousie", u"Ibn", u"Khaldoun", u"musique",
    u"andalouse", u"théâtre", u"roman", u"nouvelles", u"mémoires", u"guerre", u"indépendance",
    u"colonisation", u"patrimoine", u"archéologie", u"Tassili", u"Numidie", u"Carthage", u"voyage",
    u"atlas", u"encyclopédie", u"études", u"essais", u"recherches", u"actes", u"colloque",
    u"international", u"traité", u"finances", u"publiques", u"fiscalité", u"comptabilité",
    u"banque", u"monnaie", u"commerce", u"extérieur", u"Algérie", u"Tunisie", u"Maroc", u"Afrique"};
constexpr QStringView kFrenchLinks[] = {u"de", u"du", u"des", u"la", u"le", u"et", u"en", u"au", u"pour",
                                        u"dans"};
constexpr QStringView kArabic[] = {
    u"تاريخ", u"الجزائر", u"مدخل", u"إلى", u"القانون", u"المدني", u"الاقتصاد", u"السياسي", u"مناهج",
    u"البحث", u"العلمي", u"الجغرافيا", u"المغرب", u"العربي", u"الأدب", u"الشعر", u"المعاصر", u"دليل",
    u"تطبيقي", u"تسيير", u"المؤسسات", u"الكيمياء", u"العضوية", u"الفيزياء", u"الرياضيات", u"الإحصاء",
    u"الطب", u"العمارة", u"الإسلامية", u"المجتمع", u"علم", u"الاجتماع", u"التربية", u"التعليم",
    u"العالي", u"اللغة", u"العربية", u"النحو", u"معجم", u"الإعلام", u"الآلي", u"الشبكات", u"قواعد",
    u"البيانات", u"البرمجة", u"الطاقة", u"الشمسية", u"الزراعة", u"الصحراوية", u"المياه", u"البيئة",
    u"الفلسفة", u"الفكر", u"الأندلس", u"ابن", u"خلدون", u"الموسيقى", u"المسرح", u"الرواية", u"مذكرات",
    u"الثورة", u"التحرير", u"الاستقلال", u"التراث", u"الآثار", u"رحلة", u"موسوعة", u"دراسات",
    u"أبحاث", u"أعمال", u"الملتقى", u"الدولي", u"المالية", u"العامة", u"الجباية", u"المحاسبة",
    u"البنوك", u"التجارة", u"الخارجية", u"تونس", u"إفريقيا", u"في", u"و", u"من", u"على"};
constexpr QStringView kCitiesFr[] = {u"Alger", u"Oran", u"Constantine", u"Paris", u"Lyon", u"Tunis",
                                     u"Rabat", u"Tlemcen", u"Annaba", u"Bruxelles", u"Montréal"};
constexpr QStringView kCitiesAr[] = {u"الجزائر", u"وهران", u"قسنطينة", u"بيروت", u"القاهرة", u"تونس",
                                     u"الرباط", u"تلمسان", u"دمشق", u"عمان"};
constexpr QStringView kNotes[] = {u"Bibliogr. p. 231-240. Index", u"Texte en français et en arabe",
                                  u"Thèse de doctorat", u"Index", u"بيبليوغرافيا ص. 301-315",
                                  u"Comprend des références bibliographiques"};
constexpr QStringView kEditions[] = {u"2e éd.", u"3e éd. revue et augmentée", u"Nouvelle éd.",
                                     u"ط. 2", u"ط. 3 مزيدة ومنقحة"};

// The columns each generated record fills, in insert order.
inline const QStringList &generatedColumns()
{
    static const QStringList c = {
        QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("IND_ID"),
        QStringLiteral("STA_ID"), QStringLiteral("LAN_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
        QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("DOC_ISBN"), QStringLiteral("DOC_EDITION"),
        QStringLiteral("DOC_LIEU_EDITION"), QStringLiteral("DOC_ANNEE"), QStringLiteral("DOC_NBR_UNITE"),
        QStringLiteral("DOC_FORMAT"), QStringLiteral("PAY_ID"), QStringLiteral("DOC_AGENCE"),
        QStringLiteral("DOC_PRET_INTERNE"), QStringLiteral("DOC_PRET_EXTERNE"), QStringLiteral("DOC_NOTE"),
        QStringLiteral("DOC_KEYWORDS"), QStringLiteral("DOC_MOTS"), QStringLiteral("DOC_CLE_FR"),
        QStringLiteral("DOC_CLE_AR"), QStringLiteral("CREATE_USER"), QStringLiteral("CREATE_DATE")};
    return c;
}

class RecordGenerator
{
public:
    explicit RecordGenerator(quint64 seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return below(100) < percent; }

    template<size_t N>
    QStringView any(const QStringView (&list)[N])
    {
        return list[below(int(N))];
    }

    QString title(bool arabic, int minWords, int maxWords)
    {
        const int n = minWords + below(maxWords - minWords + 1);
        QString t;
        for (int i = 0; i < n; ++i) {
            if (i > 0)
                t += u' ';
            if (!arabic && i > 0 && i + 1 < n && chance(35)) {
                t += any(kFrenchLinks);
                t += u' ';
            }
            const QStringView w = arabic ? any(kArabic) : any(kFrench);
            if (i == 0 && !arabic)
                t += w.left(1).toString().toUpper() + w.mid(1);
            else
                t += w;
        }
        if (!arabic && chance(10))
            t += QStringLiteral(" : tome ") + QString::number(1 + below(5));
        return t;
    }

    // A valid ISBN-13, digits only (as the record rules store it).
    QString isbn(bool arabic)
    {
        QString d = QStringLiteral("978") + (arabic ? QStringLiteral("9947") : QStringLiteral("2"));
        while (d.size() < 12)
            d += QChar(u'0' + below(10));
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (d.at(i).unicode() - u'0') * (i % 2 ? 3 : 1);
        d += QChar(u'0' + (10 - sum % 10) % 10);
        return d;
    }

    static QString hyphenated(const QString &isbn)
    {
        return isbn.left(3) + u'-' + isbn.mid(3, 1) + u'-' + isbn.mid(4, 4) + u'-' + isbn.mid(8, 4) + u'-'
            + isbn.mid(12);
    }

    // One record's values in the order of generatedColumns(), its search
    // columns as the program writes them. A word given is added to the title.
    QVariantList record(int docId, const QDateTime &stamp, const QString &extraWord = QString())
    {
        const bool arabic = chance(30);
        QString titre = title(arabic, 2, 7);
        if (!extraWord.isEmpty())
            titre += u' ' + extraWord;
        const QString complement = chance(30) ? title(arabic, 1, 4) : QString();
        const QVariant none;
        QVariantHash v{
            {QStringLiteral("DOC_ID"), docId},
            {QStringLiteral("TYP_ID"), QString(QChar(u'a' + below(7)))},
            {QStringLiteral("IND_ID"), QStringLiteral("a")},
            {QStringLiteral("STA_ID"), 1},
            {QStringLiteral("LAN_ID"), arabic ? QStringLiteral("ara") : QStringLiteral("fre")},
            {QStringLiteral("DOC_TITRE_PROPRE"), titre},
            {QStringLiteral("DOC_TITRE_COMPLEMENT"), complement.isEmpty() ? none : QVariant(complement)},
            {QStringLiteral("DOC_ISBN"), chance(85) ? QVariant(isbn(arabic)) : none},
            {QStringLiteral("DOC_EDITION"), chance(15) ? QVariant(any(kEditions).toString()) : none},
            {QStringLiteral("DOC_LIEU_EDITION"), (arabic ? any(kCitiesAr) : any(kCitiesFr)).toString()},
            {QStringLiteral("DOC_ANNEE"), QString::number(1950 + below(75))},
            {QStringLiteral("DOC_NBR_UNITE"), QString(QString::number(48 + below(900)) + QStringLiteral(" p."))},
            {QStringLiteral("DOC_FORMAT"), QString(QString::number(16 + below(15)) + QStringLiteral(" cm"))},
            {QStringLiteral("PAY_ID"), arabic || chance(60) ? QStringLiteral("DZ") : QStringLiteral("FR")},
            {QStringLiteral("DOC_AGENCE"), QStringLiteral("Bibliothèque centrale")},
            {QStringLiteral("DOC_PRET_INTERNE"), 0},
            {QStringLiteral("DOC_PRET_EXTERNE"), 0},
            {QStringLiteral("DOC_NOTE"), chance(10) ? QVariant(any(kNotes).toString()) : none},
            {QStringLiteral("CREATE_USER"), QStringLiteral("bench")},
            {QStringLiteral("CREATE_DATE"), stamp}};
        addSearchColumns(QStringLiteral("NOTICE"), v);
        QVariantList r;
        r.reserve(generatedColumns().size());
        for (const QString &c : generatedColumns())
            r << v.value(c);
        return r;
    }

private:
    std::mt19937_64 rng_;
};

// One INSERT of `rowsPerStatement` rows of these columns.
inline QString insertSql(const QString &table, const QStringList &cols, int rowsPerStatement)
{
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral("?");
    const QString tuple = u'(' + marks.join(QStringLiteral(", ")) + u')';
    QStringList tuples;
    for (int i = 0; i < rowsPerStatement; ++i)
        tuples << tuple;
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + QStringLiteral(") VALUES ")
        + tuples.join(QStringLiteral(", "));
}

inline bool execBatch(QSqlQuery &q, const QVector<QVariantList> &batch)
{
    int k = 0;
    for (const QVariantList &row : batch)
        for (const QVariant &v : row)
            q.bindValue(k++, v);
    return q.exec();
}

} // namespace folian::bench
