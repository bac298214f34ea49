#pragma once
// Records for the tests of the record search: title (with its keywords),
// type, year, status, creator and ISBN, written straight into NOTICE.

#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"

#include <QDateTime>

namespace folian::test {

struct SearchRecord {
    int id = 0;
    QString title;
    QString type = QStringLiteral("a");
    QString year;
    int status = 1;
    QString creator = QStringLiteral("admin");
    QString isbn;
    QString complement;
};

inline bool addRecords(Database &db, const QList<SearchRecord> &records, QString *why)
{
    QVector<QVariantList> rows;
    for (const SearchRecord &r : records) {
        auto text = [](const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); };
        rows << QVariantList{r.id,
                             r.type,
                             r.title,
                             text(r.complement),
                             RecordKeywords(r.title, r.complement, {}, {}),
                             text(r.isbn),
                             text(r.year),
                             r.status,
                             QStringLiteral("fre"),
                             r.creator,
                             QDateTime(QDate(2020, 1, 1).addDays(r.id), QTime(9, 0))};
    }
    return insertRows(db, QStringLiteral("NOTICE"),
                      {QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
                       QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("DOC_KEYWORDS"),
                       QStringLiteral("DOC_ISBN"), QStringLiteral("DOC_ANNEE"), QStringLiteral("STA_ID"),
                       QStringLiteral("LAN_ID"), QStringLiteral("CREATE_USER"), QStringLiteral("CREATE_DATE")},
                      rows, why);
}

// `n` records numbered from `first`, titled "Série <number>".
inline QList<SearchRecord> numberedRecords(int first, int n)
{
    QList<SearchRecord> out;
    for (int i = 0; i < n; ++i) {
        SearchRecord r;
        r.id = first + i;
        r.title = QStringLiteral("Série %1").arg(first + i, 5, 10, QLatin1Char('0'));
        r.year = QString::number(1950 + (first + i) % 70);
        out << r;
    }
    return out;
}

} // namespace folian::test
