#pragma once

#include <QStringView>
#include <QtGlobal>

#include <compare>
#include <optional>

namespace trv {

/// Exact fixed-point money: a signed 64-bit count of ten-thousandths, like the currency type the stored
/// files and peers were written with. Wherever a value has to lose decimals it is rounded half to even
/// (banker's rounding), so sums of rounded amounts do not drift upwards.
class Currency {
public:
    static constexpr qint64 kUnitsPerWhole = 10000;

    constexpr Currency() = default;

    static constexpr Currency fromUnits(qint64 tenThousandths) { return Currency(tenThousandths); }
    static constexpr Currency fromInt(qint64 whole) { return Currency(whole * kUnitsPerWhole); }
    static Currency fromCents(qint64 hundredths);

    /// "125,50", "125.5", "-3", " 7 ", "+1,2345": both "," and "." are the decimal separator, blanks around are
    /// allowed, more than four decimals are rounded half to even. nullopt when the text is not a number
    /// (empty, garbage, two separators, out of range).
    static std::optional<Currency> parse(QStringView text);

    /// Half to even at the 4th decimal. Only for values that arrive as doubles from elsewhere; NaN gives 0 and
    /// values out of range are clamped.
    static Currency fromDoubleRounded(double v);

    constexpr qint64 units() const { return m_units; }
    /// Whole hundredths, rounded half to even.
    qint64 toCentsRounded() const;
    double toDouble() const;

    /// The value rounded half to even to 0..4 decimals (other counts are clamped into that range).
    Currency rounded(int decimals) const;
    /// The value rounded to 0..4 decimals with a tie going away from zero (610.905 -> 610.91, -0.125 -> -0.13),
    /// as amounts are rounded for display and in written number fields.
    Currency roundedHalfAwayFromZero(int decimals) const;

    constexpr bool isZero() const { return m_units == 0; }
    constexpr bool isNegative() const { return m_units < 0; }
    constexpr Currency abs() const { return Currency(m_units < 0 ? -m_units : m_units); }

    /// Product of two amounts, rounded half to even to four decimals (as currency * currency did).
    Currency multiplied(Currency other) const;
    /// Quotient by a whole number, rounded half to even to four decimals; a zero divisor gives 0.
    Currency dividedBy(qint64 divisor) const;

    constexpr Currency operator-() const { return Currency(-m_units); }
    constexpr Currency& operator+=(Currency o) {
        m_units += o.m_units;
        return *this;
    }
    constexpr Currency& operator-=(Currency o) {
        m_units -= o.m_units;
        return *this;
    }
    constexpr Currency& operator*=(qint64 n) {
        m_units *= n;
        return *this;
    }
    friend constexpr Currency operator+(Currency a, Currency b) { return Currency(a.m_units + b.m_units); }
    friend constexpr Currency operator-(Currency a, Currency b) { return Currency(a.m_units - b.m_units); }
    friend constexpr Currency operator*(Currency a, qint64 n) { return Currency(a.m_units * n); }
    friend constexpr Currency operator*(qint64 n, Currency a) { return Currency(a.m_units * n); }
    friend constexpr auto operator<=>(Currency a, Currency b) = default;
    friend constexpr bool operator==(Currency a, Currency b) = default;

private:
    constexpr explicit Currency(qint64 units) : m_units(units) {}

    qint64 m_units = 0;
};

} // namespace trv
