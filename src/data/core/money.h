#pragma once
// Exact amounts: prices, totals, budgets. Held as a whole number of cents,
// read from and written to the database as decimal text, so that no binary
// floating point ever rounds a sum.

#include <QString>
#include <QVariant>
#include <optional>

namespace folian {

class Money
{
public:
    Money() = default;
    static Money fromCents(qint64 cents) { Money m; m.cents_ = cents; return m; }
    // "1234.5", "1234,50", "-3", " 12 500.00 "; nullopt when not a number
    // or with more than two decimals that are not zeros.
    static std::optional<Money> parse(const QString &text);
    // A whole number of cents as the database gives it (an integer, or the
    // decimal text of a sum); NULL, or anything else, stays nullopt.
    static std::optional<Money> fromCentsValue(const QVariant &v);
    // NULL stays nullopt; any other value is parsed from its text.
    static std::optional<Money> fromVariant(const QVariant &v);

    // The largest amount a column holds (NUMERIC(15,2)): 9999999999999.99.
    static constexpr qint64 MaxCents = 999'999'999'999'999;
    // Does the amount fit an amount column, negative or positive?
    bool fitsColumn() const { return cents_ >= -MaxCents && cents_ <= MaxCents; }
    // The product, nullopt when it does not fit an amount column.
    std::optional<Money> times(qint64 n) const;

    qint64 cents() const { return cents_; }
    // "1234.50": two decimals, a full stop, no grouping.
    QString toString() const;
    QVariant toVariant() const { return toString(); }

    Money operator+(Money o) const { return fromCents(cents_ + o.cents_); }
    Money operator-(Money o) const { return fromCents(cents_ - o.cents_); }
    Money operator*(qint64 n) const { return fromCents(cents_ * n); }
    Money &operator+=(Money o) { cents_ += o.cents_; return *this; }
    bool operator==(const Money &o) const = default;
    auto operator<=>(const Money &o) const = default;

    // Rounded to a whole unit, halves to the even neighbour.
    Money roundedToUnitHalfEven() const;

private:
    qint64 cents_ = 0;
};

} // namespace folian
