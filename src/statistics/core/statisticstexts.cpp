#include "statistics/core/statisticstexts.h"

#include "base/messages.h"

#include <QDir>

namespace folian::stats {

QString sourceText(StatSource source)
{
    switch (source) {
    case StatSource::LoanCounters:
        return tr2(QStringLiteral("Source : compteurs de prêt depuis la dernière initialisation"),
                   QStringLiteral("المصدر: عدادات الإعارة منذ آخر تصفير"));
    case StatSource::Readers:
        return tr2(QStringLiteral("Source : fichier des lecteurs"), QStringLiteral("المصدر: ملف القراء"));
    case StatSource::Catalogue:
        return tr2(QStringLiteral("Source : notices et exemplaires du catalogue"),
                   QStringLiteral("المصدر: بطاقات الفهرس ونسخه"));
    case StatSource::Copies:
        return tr2(QStringLiteral("Source : date d'acquisition des exemplaires"),
                   QStringLiteral("المصدر: تاريخ اقتناء النسخ"));
    case StatSource::Deliveries:
        return tr2(QStringLiteral("Source : lignes livrées des commandes livrées dans la période"),
                   QStringLiteral("المصدر: السطور المستلمة من الطلبيات المستلمة خلال الفترة"));
    case StatSource::LoanJournal:
        return tr2(QStringLiteral("Source : journal des prêts (chaque prêt et chaque retour daté)"),
                   QStringLiteral("المصدر: سجل الإعارة (كل إعارة وكل إرجاع بتاريخه)"));
    }
    return {};
}

QString periodMissing()
{
    return tr2(QStringLiteral("Indiquez la période (du ... au ...)."), QStringLiteral("حدد الفترة (من ... إلى ...)."));
}

QString periodReversed()
{
    return tr2(QStringLiteral("La date de fin précède la date de début."),
               QStringLiteral("تاريخ النهاية يسبق تاريخ البداية."));
}

QString readFailed(const QString &why)
{
    return tr2(QStringLiteral("La statistique n'a pas pu être lue : %1"), QStringLiteral("تعذرت قراءة الإحصاء: %1"))
        .arg(why);
}

QString unknownGroup() { return tr2(QStringLiteral("Non précisé"), QStringLiteral("غير محدد")); }

QString chartTruncated(int shown, int rows)
{
    return tr2(QStringLiteral("Seules les %1 premières barres sur %2 sont dessinées."),
               QStringLiteral("رُسمت الأعمدة الـ%1 الأولى فقط من أصل %2."))
        .arg(shown)
        .arg(rows);
}

QString recordsFound(int n)
{
    return tr2(QStringLiteral(" %1 notice(s) trouvé(s)"), QStringLiteral(" %1 بطاقة (بطاقات) موجودة")).arg(n);
}

QString titlesFound(int n) { return tr2(QStringLiteral(" %1 titre(s)"), QStringLiteral(" %1 عنوان (عناوين)")).arg(n); }

QString searchResult() { return tr2(QStringLiteral(" Résultat de recherche"), QStringLiteral(" نتيجة البحث")); }

QString exportWritten(const QString &path, int rows)
{
    return tr2(QStringLiteral("%1 ligne(s) enregistrée(s) dans %2"), QStringLiteral("حُفظ %1 سطر (سطور) في %2"))
        .arg(rows)
        .arg(QDir::toNativeSeparators(path));
}

QString exportFailed(const QString &path, const QString &why)
{
    return tr2(QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2"), QStringLiteral("تعذرت كتابة الملف %1: %2"))
        .arg(QDir::toNativeSeparators(path), why);
}

QString fileNotWritable()
{
    return tr2(QStringLiteral("écriture impossible"), QStringLiteral("تعذرت الكتابة"));
}

} // namespace folian::stats
