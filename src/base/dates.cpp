#include "base/dates.h"

#include "base/session.h"

#include <QStringList>

namespace folian {

namespace {

// First strong isolate and pop directional isolate.
constexpr QChar kIsolate(0x2068);
constexpr QChar kPopIsolate(0x2069);

bool isDateSeparator(QChar c)
{
    // Blanks, and the direction marks an Arabic text may hold around digits.
    return c == u'/' || c == u'-' || c == u'.' || c.isSpace() || c == QChar(0x200E) || c == QChar(0x200F)
        || c == QChar(0x061C);
}

} // namespace

QString DateFormat() { return QStringLiteral("dd/MM/yyyy"); }

QString ShowDate(const QDate &d) { return d.isValid() ? d.toString(DateFormat()) : QString(); }

QString ShowDateTime(const QDateTime &dt)
{
    if (!dt.isValid())
        return {};
    if (dt.time() == QTime(0, 0))
        return ShowDate(dt.date());
    return ShowDate(dt.date()) + u' ' + dt.time().toString(QStringLiteral("HH:mm"));
}

QDate ReadDate(const QString &text, bool *twoDigitYear)
{
    if (twoDigitYear)
        *twoDigitYear = false;
    QStringList groups;
    QString digits;
    for (const QChar c : text.trimmed()) {
        if (c.isDigit()) {
            digits += QChar(u'0' + c.digitValue());
            continue;
        }
        if (!isDateSeparator(c))
            return {};
        if (!digits.isEmpty())
            groups << digits;
        digits.clear();
    }
    if (!digits.isEmpty())
        groups << digits;
    if (groups.size() != 3)
        return {};
    const bool yearFirst = groups.at(0).size() == 4;
    const QString &year = yearFirst ? groups.at(0) : groups.at(2);
    const QString &month = groups.at(1);
    const QString &day = yearFirst ? groups.at(2) : groups.at(0);
    if (day.size() > 2 || month.size() > 2 || (year.size() != 2 && year.size() != 4) || (yearFirst && year.size() != 4))
        return {};
    const bool shortYear = year.size() == 2;
    if (twoDigitYear)
        *twoDigitYear = shortYear;
    return QDate(year.toInt() + (shortYear ? 2000 : 0), month.toInt(), day.toInt());
}

QString Isolated(const QString &value)
{
    if (!session().ArabicMode || value.isEmpty())
        return value;
    return kIsolate + value + kPopIsolate;
}

QString IsolatedDate(const QDate &d) { return Isolated(ShowDate(d)); }

QString IsolatedNumber(qint64 n) { return Isolated(QString::number(n)); }

} // namespace folian
