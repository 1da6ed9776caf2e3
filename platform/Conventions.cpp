#include "platform/Conventions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace trv {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isDecimalSeparator(QChar c) {
    return c == u',' || c == u'.';
}

// The extent of the number at the start of s: optional sign, digits, at most one decimal separator, digits;
// at least one digit. Zero when s does not start with a number.
qsizetype leadingNumberLength(QStringView s) {
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    for (; i < s.size() && isAsciiDigit(s[i]); ++i)
        ++digits;
    if (i < s.size() && isDecimalSeparator(s[i])) {
        qsizetype j = i + 1;
        qsizetype decimals = 0;
        for (; j < s.size() && isAsciiDigit(s[j]); ++j)
            ++decimals;
        // "5." is the number 5 followed by a point; ".5" needs its digits.
        if (digits > 0 || decimals > 0)
            i = j;
        digits += decimals;
    }
    return digits > 0 ? i : 0;
}

// The double of a text checked by leadingNumberLength, read the same on every machine.
double toDouble(QStringView number) {
    std::string ascii;
    ascii.reserve(static_cast<size_t>(number.size()) + 2);
    for (QChar c : number) {
        if (c == u'+')
            continue;
        ascii.push_back(isDecimalSeparator(c) ? '.' : static_cast<char>(c.unicode()));
    }
    if (!ascii.empty() && ascii.back() == '.')
        ascii.pop_back();
    double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc() || ptr != ascii.data() + ascii.size())
        return 0;
    return value;
}

QStringView skipLeadingBlanks(QStringView s) {
    qsizetype i = 0;
    while (i < s.size() && s[i].isSpace())
        ++i;
    return s.mid(i);
}

// A number written after a pattern of '0', '#' and one '.', given as its sign, whole part and decimal digits
// (already rounded to what the pattern shows).
QString applyPattern(bool negative, quint64 whole, QString decimals, QStringView pattern) {
    const auto isPlaceholder = [](QChar c) { return c == u'0' || c == u'#' || c == u'.'; };
    qsizetype first = 0;
    while (first < pattern.size() && !isPlaceholder(pattern[first]))
        ++first;
    qsizetype last = pattern.size();
    while (last > first && !isPlaceholder(pattern[last - 1]))
        --last;
    const QStringView prefix = pattern.first(first);
    const QStringView suffix = pattern.mid(last);
    const QStringView body = pattern.sliced(first, last - first);
    const qsizetype point = body.indexOf(u'.');
    const QStringView wholePattern = point < 0 ? body : body.first(point);
    const QStringView decimalPattern = point < 0 ? QStringView() : body.mid(point + 1);

    const qsizetype mandatoryWhole = wholePattern.count(u'0');
    const qsizetype mandatoryDecimals = decimalPattern.count(u'0');
    QString wholeText = whole == 0 ? QString() : QString::number(whole);
    if (wholeText.size() < mandatoryWhole)
        wholeText.prepend(QString(mandatoryWhole - wholeText.size(), u'0'));
    while (decimals.size() > mandatoryDecimals && decimals.endsWith(u'0'))
        decimals.chop(1);

    QString out;
    out.reserve(prefix.size() + wholeText.size() + decimals.size() + suffix.size() + 2);
    out.append(prefix);
    const bool isZero = whole == 0 && decimals.count(u'0') == decimals.size();
    if (negative && !isZero)
        out.append(u'-');
    out.append(wholeText);
    if (!decimals.isEmpty()) {
        out.append(u',');
        out.append(decimals);
    }
    out.append(suffix);
    return out;
}

qsizetype patternDecimals(QStringView pattern) {
    const qsizetype point = pattern.indexOf(u'.');
    if (point < 0)
        return 0;
    qsizetype n = 0;
    for (QChar c : pattern.mid(point + 1))
        if (c == u'0' || c == u'#')
            ++n;
    return n;
}

quint64 magnitude(qint64 v) {
    return v < 0 ? quint64(0) - static_cast<quint64>(v) : static_cast<quint64>(v);
}

// The whole part and the four decimal digits of an amount's magnitude.
std::pair<quint64, QString> splitUnits(Currency v) {
    const quint64 m = magnitude(v.units());
    const quint64 perWhole = static_cast<quint64>(Currency::kUnitsPerWhole);
    return {m / perWhole, QStringLiteral("%1").arg(m % perWhole, 4, 10, QLatin1Char('0'))};
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A number of one to maxDigits ASCII digits, else -1.
int smallNumber(QStringView s, qsizetype maxDigits) {
    if (s.isEmpty() || s.size() > maxDigits)
        return -1;
    int n = 0;
    for (QChar c : s) {
        if (!isAsciiDigit(c))
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// Str and CStr of a double: up to 15 significant digits, shortest form.
QString shortestDouble(double v) {
    if (v == 0)
        return QStringLiteral("0");
    QString text = QString::number(v, 'g', 15);
    text.replace(u'e', u'E');
    return text;
}

} // namespace

double val(QStringView text) {
    const QStringView s = skipLeadingBlanks(text);
    const qsizetype n = leadingNumberLength(s);
    return n == 0 ? 0.0 : toDouble(s.first(n));
}

Currency valCurrency(QStringView text) {
    const QStringView s = skipLeadingBlanks(text);
    const qsizetype n = leadingNumberLength(s);
    if (n == 0)
        return Currency();
    return Currency::parse(s.first(n)).value_or(Currency());
}

std::optional<qint64> toInteger(QStringView text) {
    const QStringView s = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    if (i == s.size())
        return std::nullopt;
    // Gathered as a negative number, whose range reaches one further than the positive one.
    qint64 value = 0;
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    for (; i < s.size(); ++i) {
        if (!isAsciiDigit(s[i]))
            return std::nullopt;
        const int d = s[i].unicode() - u'0';
        if (value < (kMin + d) / 10)
            return std::nullopt;
        value = value * 10 - d;
    }
    if (!negative) {
        if (value == kMin)
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<double> toNumber(QStringView text) {
    const QStringView s = text.trimmed();
    const qsizetype n = leadingNumberLength(s);
    if (n == 0 || n != s.size())
        return std::nullopt;
    return toDouble(s);
}

QString formatNumber(Currency v, QStringView pattern) {
    const qsizetype decimals = patternDecimals(pattern);
    // Texts of amounts round a tie away from zero, as commercial rounding does; the arithmetic stays exact.
    const Currency shown = v.roundedHalfAwayFromZero(static_cast<int>(std::min<qsizetype>(decimals, 4)));
    auto [whole, digits] = splitUnits(shown);
    if (decimals > 4)
        digits.append(QString(decimals - 4, u'0'));
    else
        digits.truncate(decimals);
    return applyPattern(shown.isNegative(), whole, digits, pattern);
}

QString formatNumber(qint64 v, QStringView pattern) {
    return applyPattern(v < 0, magnitude(v), QString(patternDecimals(pattern), u'0'), pattern);
}

QString formatNumber(double v, QStringView pattern) {
    return formatNumber(Currency::fromDoubleRounded(v), pattern);
}

QString formatCurrency(Currency v) {
    const Currency shown = v.roundedHalfAwayFromZero(2);
    const auto [whole, digits] = splitUnits(shown);
    const QString wholeText = QString::number(whole);
    QString out;
    if (shown.isNegative())
        out.append(u'-');
    for (qsizetype i = 0; i < wholeText.size(); ++i) {
        if (i > 0 && (wholeText.size() - i) % 3 == 0)
            out.append(kThousandsSeparator);
        out.append(wholeText[i]);
    }
    out.append(u',');
    out.append(QStringView(digits).first(2));
    out.append(QStringLiteral(" Kč"));
    return out;
}

QString plainText(Currency v) {
    auto [whole, digits] = splitUnits(v);
    while (digits.endsWith(u'0'))
        digits.chop(1);
    QString out = v.isNegative() ? QStringLiteral("-") : QString();
    out.append(QString::number(whole));
    if (!digits.isEmpty()) {
        out.append(u',');
        out.append(digits);
    }
    return out;
}

QString plainText(double v) {
    return shortestDouble(v).replace(u'.', u',');
}

QString signedText(qint64 v) {
    return v < 0 ? QString::number(v) : QLatin1Char(' ') + QString::number(v);
}

QString signedText(double v) {
    const QString text = shortestDouble(v);
    return text.startsWith(u'-') ? text : QLatin1Char(' ') + text;
}

QString mid(const QString& s, qsizetype pos1, qsizetype count) {
    // Wide arithmetic: pos1 and count may be anything a caller computed.
    const __int128 size = s.size();
    const __int128 begin = static_cast<__int128>(pos1) - 1;
    const __int128 end = count < 0 ? size : begin + count;
    const __int128 from = std::max<__int128>(begin, 0);
    const __int128 to = std::min(end, size);
    if (from >= to)
        return QString();
    return s.mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from));
}

QString left(const QString& s, qsizetype n) {
    return n <= 0 ? QString() : s.left(n);
}

QString right(const QString& s, qsizetype n) {
    return n <= 0 ? QString() : s.right(n);
}

FieldLine& FieldLine::right(const QString& s, FixedField field) {
    if (s.size() < field.width) {
        m_text += trv::right(QString(std::max<qsizetype>(field.blanks, 0), u' ') + s, field.width);
        return *this;
    }
    if (!m_text.isEmpty() && !m_text.endsWith(u' '))
        m_text += u' ';
    m_text += s;
    return *this;
}

QString padLeft(const QString& s, qsizetype width) {
    return FieldLine().right(s, width).str();
}

QString padRight(const QString& s, qsizetype width) {
    return s.leftJustified(width, u' ', false);
}

QString dateYYMMDD(const QDate& d) {
    if (!d.isValid())
        return QString();
    return twoDigits(std::abs(d.year()) % 100) + twoDigits(d.month()) + twoDigits(d.day());
}

std::optional<QDate> parseYYMMDD(QStringView s) {
    if (s.size() != 6)
        return std::nullopt;
    const int yy = smallNumber(s.first(2), 2);
    const int mm = smallNumber(s.sliced(2, 2), 2);
    const int dd = smallNumber(s.sliced(4, 2), 2);
    if (yy < 0 || mm < 0 || dd < 0)
        return std::nullopt;
    const QDate date(2000 + yy, mm, dd);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString dateDMY(const QDate& d) {
    if (!d.isValid())
        return QString();
    return QStringLiteral("%1.%2.%3")
        .arg(twoDigits(d.day()), twoDigits(d.month()))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString dateShort(const QDate& d) {
    if (!d.isValid())
        return QString();
    return QStringLiteral("%1.%2.%3").arg(d.day()).arg(d.month()).arg(d.year());
}

QDate lastDayOfPreviousMonth(const QDate& d) {
    if (!d.isValid())
        return {};
    return QDate(d.year(), d.month(), 1).addDays(-1);
}

std::optional<QDate> parseDate(QStringView s) {
    const QStringView t = s.trimmed();
    const QChar separator = t.contains(u'/') ? u'/' : u'.';
    const auto parts = t.split(separator);
    if (parts.size() != 3)
        return std::nullopt;
    const int day = smallNumber(parts[0], 2);
    const int month = smallNumber(parts[1], 2);
    const int year = parts[2].size() == 4 ? smallNumber(parts[2], 4) : -1;
    if (day < 0 || month < 0 || year < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString timeHms(const QTime& t) {
    if (!t.isValid())
        return QString();
    return QStringLiteral("%1:%2:%3").arg(t.hour()).arg(twoDigits(t.minute()), twoDigits(t.second()));
}

} // namespace trv
