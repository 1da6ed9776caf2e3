#include "platform/Currency.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace trv {

namespace {

// Quotient of n / d rounded half to even (d != 0).
template <typename Int> Int divideHalfEven(Int n, Int d) {
    Int q = n / d;
    const Int r = n % d;
    if (r == 0)
        return q;
    const Int twiceRest = r < 0 ? -2 * r : 2 * r;
    const Int absDivisor = d < 0 ? -d : d;
    const bool awayFromZero = twiceRest > absDivisor || (twiceRest == absDivisor && q % 2 != 0);
    if (awayFromZero)
        q += ((n < 0) != (d < 0)) ? -1 : 1;
    return q;
}

// A wide result kept within the range: its nearer end when it lies outside.
qint64 clamped(__int128 v) {
    return static_cast<qint64>(
        std::clamp<__int128>(v, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()));
}

char16_t unitOf(QChar c) {
    return c.unicode();
}
char16_t unitOf(char c) {
    return static_cast<unsigned char>(c);
}

bool isAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

template <typename Text> std::optional<qint64> parseUnits(Text s) {
    const auto at = [&](auto i) { return unitOf(s[i]); };
    decltype(s.size()) i = 0;
    bool negative = false;
    if (i < s.size() && (at(i) == u'+' || at(i) == u'-')) {
        negative = at(i) == u'-';
        ++i;
    }
    // A sum too wide for 64 bits is no amount; 128 bits hold every text that still fits after the check below.
    __int128 whole = 0;
    int digits = 0;
    for (; i < s.size() && isAsciiDigit(at(i)); ++i, ++digits) {
        whole = whole * 10 + (at(i) - u'0');
        if (whole > std::numeric_limits<qint64>::max())
            return std::nullopt;
    }
    __int128 fraction = 0; // the first four decimals
    int fractionDigits = 0;
    int roundDigit = 0;       // the fifth decimal
    bool restNonZero = false; // anything past the fifth
    if (i < s.size() && (at(i) == u',' || at(i) == u'.')) {
        ++i;
        for (; i < s.size() && isAsciiDigit(at(i)); ++i, ++digits, ++fractionDigits) {
            const int d = at(i) - u'0';
            if (fractionDigits < 4)
                fraction = fraction * 10 + d;
            else if (fractionDigits == 4)
                roundDigit = d;
            else if (d != 0)
                restNonZero = true;
        }
    }
    if (i != s.size() || digits == 0)
        return std::nullopt;
    for (int k = fractionDigits; k < 4; ++k)
        fraction *= 10;
    __int128 units = whole * Currency::kUnitsPerWhole + fraction;
    if (roundDigit > 5 || (roundDigit == 5 && (restNonZero || units % 2 != 0)))
        ++units;
    if (negative)
        units = -units;
    if (units > std::numeric_limits<qint64>::max() || units < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return static_cast<qint64>(units);
}

} // namespace

Currency Currency::fromCents(qint64 hundredths) {
    return Currency(hundredths) * 100;
}

std::optional<Currency> Currency::parse(QStringView text) {
    const auto units = parseUnits(text.trimmed());
    if (!units)
        return std::nullopt;
    return Currency(*units);
}

std::optional<Currency> Currency::parse(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    size_t from = 0, to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    const std::string_view core = text.substr(from, to - from);
    // Blanks beyond ASCII (a no-break space) are the text reading's to trim.
    for (const char c : core)
        if (static_cast<unsigned char>(c) >= 0x80)
            return parse(QString::fromUtf8(text.data(), qsizetype(text.size())));
    const auto units = parseUnits(core);
    if (!units)
        return std::nullopt;
    return Currency(*units);
}

Currency Currency::fromDoubleRounded(double v) {
    if (std::isnan(v))
        return Currency();
    constexpr double kLimit = 9.2e14; // just inside the range of ten-thousandths in 64 bits
    if (v >= kLimit)
        return Currency(std::numeric_limits<qint64>::max());
    if (v <= -kLimit)
        return Currency(std::numeric_limits<qint64>::min());
    // The shortest decimal text that gives the double back is the value the person who typed it meant:
    // 2.345 is taken as 2.345, not as the binary 2.34499999... just below it.
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed);
    if (ec != std::errc())
        return Currency();
    const QString text = QString::fromLatin1(buffer, end - buffer);
    return Currency(parseUnits(text).value_or(0));
}

qint64 Currency::toCentsRounded() const {
    return divideHalfEven<qint64>(m_units, 100);
}

double Currency::toDouble() const {
    return static_cast<double>(m_units) / static_cast<double>(kUnitsPerWhole);
}

Currency Currency::rounded(int decimals) const {
    if (decimals >= 4)
        return *this;
    qint64 factor = 1;
    for (int i = std::max(decimals, 0); i < 4; ++i)
        factor *= 10;
    return Currency(clamped(static_cast<__int128>(divideHalfEven<qint64>(m_units, factor)) * factor));
}

std::optional<Currency> Currency::roundedInRange(int decimals) const {
    if (decimals >= 4)
        return *this;
    qint64 factor = 1;
    for (int i = std::max(decimals, 0); i < 4; ++i)
        factor *= 10;
    const __int128 units = static_cast<__int128>(divideHalfEven<qint64>(m_units, factor)) * factor;
    if (units != clamped(units))
        return std::nullopt;
    return Currency(static_cast<qint64>(units));
}

Currency Currency::roundedHalfAwayFromZero(int decimals) const {
    if (decimals >= 4)
        return *this;
    qint64 factor = 1;
    for (int i = std::max(decimals, 0); i < 4; ++i)
        factor *= 10;
    const qint64 magnitude = m_units < 0 ? -(m_units / factor) : m_units / factor;
    const qint64 rest = m_units < 0 ? -(m_units % factor) : m_units % factor;
    const qint64 roundedMagnitude = magnitude + (2 * rest >= factor ? 1 : 0);
    const __int128 magnitudeUnits = static_cast<__int128>(roundedMagnitude) * factor;
    return Currency(clamped(m_units < 0 ? -magnitudeUnits : magnitudeUnits));
}

Currency Currency::multiplied(Currency other) const {
    const __int128 product = static_cast<__int128>(m_units) * other.m_units;
    return Currency(clamped(divideHalfEven<__int128>(product, kUnitsPerWhole)));
}

std::optional<Currency> Currency::percentagesRounded(std::initializer_list<Currency> percents, int decimals) const {
    if (percents.size() > 4)
        return std::nullopt;
    // units * p1 * p2 ... / (100 * kUnitsPerWhole)^n ten-thousandths; four factors of 64 bits need more than the
    // 128 bits of the product, so each multiplication is checked.
    __int128 numerator = m_units;
    __int128 denominator = 1;
    for (const Currency p : percents) {
        if (__builtin_mul_overflow(numerator, static_cast<__int128>(p.m_units), &numerator))
            return std::nullopt;
        denominator *= 100 * kUnitsPerWhole;
    }
    qint64 step = 1;
    for (int i = std::clamp(decimals, 0, 4); i < 4; ++i)
        step *= 10;
    denominator *= step;
    __int128 quotient = numerator / denominator;
    const __int128 rest = numerator % denominator;
    if (2 * (rest < 0 ? -rest : rest) >= denominator)
        quotient += numerator < 0 ? -1 : 1;
    const __int128 units = quotient * step;
    if (units > std::numeric_limits<qint64>::max() || units < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return Currency(static_cast<qint64>(units));
}

Currency Currency::dividedBy(qint64 divisor) const {
    if (divisor == 0)
        return Currency();
    return Currency(clamped(divideHalfEven<__int128>(m_units, divisor)));
}

} // namespace trv
