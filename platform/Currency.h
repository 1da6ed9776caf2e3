#pragma once

#include <QStringView>
#include <QtGlobal>

#include <compare>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string_view>

namespace trv {

/// Exact fixed-point money: a signed 64-bit count of ten-thousandths, like the currency type the stored
/// files and peers were written with. Wherever a value has to lose decimals it is rounded half to even
/// (banker's rounding), so sums of rounded amounts do not drift upwards.
class Currency {
public:
    static constexpr qint64 kUnitsPerWhole = 10000;

    constexpr Currency() = default;

    static constexpr Currency fromUnits(qint64 tenThousandths) { return Currency(tenThousandths); }
    /// Whole units; a number outside the range stops at its nearer end, as the operators below do.
    static constexpr Currency fromInt(qint64 whole) { return Currency(1) * whole * kUnitsPerWhole; }
    static Currency fromCents(qint64 hundredths);

    /// "125,50", "125.5", "-3", " 7 ", "+1,2345": both "," and "." are the decimal separator, blanks around are
    /// allowed, more than four decimals are rounded half to even. nullopt when the text is not a number
    /// (empty, garbage, two separators, out of range).
    static std::optional<Currency> parse(QStringView text);
    /// The same reading of UTF-8 text, without making a QString for plain ASCII.
    static std::optional<Currency> parse(std::string_view text);

    /// Half to even at the 4th decimal. Only for values that arrive as doubles from elsewhere; NaN gives 0 and
    /// values out of range are clamped.
    static Currency fromDoubleRounded(double v);

    constexpr qint64 units() const { return m_units; }
    /// Whole hundredths, rounded half to even.
    qint64 toCentsRounded() const;
    double toDouble() const;

    /// The value rounded half to even to 0..4 decimals (other counts are clamped into that range).
    Currency rounded(int decimals) const;
    /// As rounded, or nullopt when the rounded value lies outside the range, where rounded() stops at the range's
    /// end (922337203685477.5807 rounds to 922337203685478, which the type cannot hold).
    std::optional<Currency> roundedInRange(int decimals) const;
    /// The value rounded to 0..4 decimals with a tie going away from zero (610.905 -> 610.91, -0.125 -> -0.13),
    /// as amounts are rounded for display and in written number fields.
    Currency roundedHalfAwayFromZero(int decimals) const;

    constexpr bool isZero() const { return m_units == 0; }
    constexpr bool isNegative() const { return m_units < 0; }
    constexpr Currency abs() const { return m_units < 0 ? -*this : *this; }

    /// Product of two amounts, rounded half to even to four decimals (as currency * currency did).
    Currency multiplied(Currency other) const;
    /// The amount times the percentages in turn (v / 100 * p1 / 100 * p2 ..., at most four of them), exact, rounded
    /// once to 0..4 decimals with a tie going away from zero, as ZaokrouhliText rounds; nullopt when the result
    /// lies outside the range. Commissions and their VAT are figured so, with no rounding on the way.
    std::optional<Currency> percentagesRounded(std::initializer_list<Currency> percents, int decimals) const;
    /// Quotient by a whole number, rounded half to even to four decimals; a zero divisor gives 0.
    Currency dividedBy(qint64 divisor) const;

    /// Checked arithmetic: the exact result, or nullopt when it lies outside the range. Sums built from stored
    /// files go through these, so that a value nobody could have meant ends the operation instead of a wrong total.
    constexpr std::optional<Currency> plus(Currency o) const {
        qint64 r = 0;
        if (__builtin_add_overflow(m_units, o.m_units, &r))
            return std::nullopt;
        return Currency(r);
    }
    constexpr std::optional<Currency> minus(Currency o) const {
        qint64 r = 0;
        if (__builtin_sub_overflow(m_units, o.m_units, &r))
            return std::nullopt;
        return Currency(r);
    }
    constexpr std::optional<Currency> times(qint64 n) const {
        qint64 r = 0;
        if (__builtin_mul_overflow(m_units, n, &r))
            return std::nullopt;
        return Currency(r);
    }

    /// The operators never wrap: a result outside the range stops at its nearer end (min() or max()). They are
    /// for amounts that cannot get near the range (a receipt's, a typed one); where the range can be reached use
    /// plus, minus and times and report what does not fit.
    static constexpr Currency min() { return Currency(std::numeric_limits<qint64>::min()); }
    static constexpr Currency max() { return Currency(std::numeric_limits<qint64>::max()); }
    constexpr Currency operator-() const { return Currency(0).minus(*this).value_or(max()); }
    constexpr Currency& operator+=(Currency o) { return *this = *this + o; }
    constexpr Currency& operator-=(Currency o) { return *this = *this - o; }
    constexpr Currency& operator*=(qint64 n) { return *this = *this * n; }
    friend constexpr Currency operator+(Currency a, Currency b) {
        return a.plus(b).value_or(b.m_units < 0 ? min() : max());
    }
    friend constexpr Currency operator-(Currency a, Currency b) {
        return a.minus(b).value_or(b.m_units > 0 ? min() : max());
    }
    friend constexpr Currency operator*(Currency a, qint64 n) {
        return a.times(n).value_or((a.m_units < 0) != (n < 0) ? min() : max());
    }
    friend constexpr Currency operator*(qint64 n, Currency a) { return a * n; }
    friend constexpr auto operator<=>(Currency a, Currency b) = default;
    friend constexpr bool operator==(Currency a, Currency b) = default;

private:
    constexpr explicit Currency(qint64 units) : m_units(units) {}

    qint64 m_units = 0;
};

} // namespace trv
