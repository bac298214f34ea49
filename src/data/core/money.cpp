#include "data/core/money.h"

namespace folian {

std::optional<Money> Money::parse(const QString &text)
{
    QString t = text.trimmed();
    t.remove(u' ');
    t.remove(QChar(0x00A0));
    t.replace(u',', u'.');
    if (t.isEmpty())
        return std::nullopt;
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t.remove(0, 1);
    }
    const qsizetype dot = t.indexOf(u'.');
    QString whole = dot < 0 ? t : t.left(dot);
    QString frac = dot < 0 ? QString() : t.mid(dot + 1);
    if (whole.isEmpty() && frac.isEmpty())
        return std::nullopt;
    for (const QString *part : {&whole, &frac})
        for (const QChar c : *part)
            if (!c.isDigit() || c.unicode() > 127)
                return std::nullopt;
    while (frac.size() > 2 && frac.endsWith(u'0'))
        frac.chop(1);
    if (frac.size() > 2 || whole.size() > 15)
        return std::nullopt;
    frac = frac.leftJustified(2, u'0');
    const qint64 cents = (whole.isEmpty() ? 0 : whole.toLongLong()) * 100 + frac.toLongLong();
    return fromCents(negative ? -cents : cents);
}

std::optional<Money> Money::fromCentsValue(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    bool ok = false;
    const qint64 c = v.toString().trimmed().toLongLong(&ok);
    return ok ? std::optional<Money>(fromCents(c)) : std::nullopt;
}

std::optional<Money> Money::fromVariant(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    return parse(v.toString());
}

QString Money::toString() const
{
    const qint64 a = cents_ < 0 ? -cents_ : cents_;
    return (cents_ < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 100) + u'.'
        + QString::number(a % 100).rightJustified(2, u'0');
}

std::optional<Money> Money::times(qint64 n) const
{
    qint64 product = 0;
    if (__builtin_mul_overflow(cents_, n, &product))
        return std::nullopt;
    const Money m = fromCents(product);
    return m.fitsColumn() ? std::optional<Money>(m) : std::nullopt;
}

Money Money::roundedToUnitHalfEven() const
{
    const qint64 a = cents_ < 0 ? -cents_ : cents_;
    qint64 units = a / 100;
    const qint64 rest = a % 100;
    if (rest > 50 || (rest == 50 && units % 2 == 1))
        ++units;
    return fromCents((cents_ < 0 ? -units : units) * 100);
}

} // namespace folian
