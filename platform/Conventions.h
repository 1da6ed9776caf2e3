#pragma once

#include "platform/Currency.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

#include <concepts>
#include <optional>

// The regional forms of a Czech Windows machine, fixed whatever the locale of the machine we run on:
// decimal comma (reading accepts "," and "."), "Kč", dates d.M.yyyy or dd.mm.yyyy, times H:mm:ss.
// Every text form of a number, amount, date or time the program writes comes from here.
namespace trv {

/// The leading number of a text, as BASIC's Val: leading blanks skipped, optional sign, digits, one decimal
/// separator ("," or "."), more digits; whatever follows is ignored. 0 when the text does not start with a number.
/// "12abc" -> 12, "abc" -> 0, " 5" -> 5, "1,5" -> 1.5.
double val(QStringView text);
/// The same rule, exact (decimals past the fourth rounded half to even; out of range gives 0).
Currency valCurrency(QStringView text);

/// A whole number, blanks around allowed, optional sign; nullopt for anything else.
std::optional<qint64> toInteger(QStringView text);
/// The whole text a number ("," or "." as decimal separator, blanks around allowed); nullopt otherwise.
std::optional<double> toNumber(QStringView text);

/// A number written after a pattern such as "########0.00", "###0.00", "0.00", "000", "0": '0' is a digit always
/// written, '#' a digit written only when needed, '.' the place of the decimal comma; other characters before or
/// after the digits are written as they stand. A tie rounds away from zero; a value wider than the pattern is
/// written whole; a negative value gets "-", unless it rounds to zero.
QString formatNumber(Currency v, QStringView pattern);
QString formatNumber(qint64 v, QStringView pattern);
/// A double is first rounded half to even to four decimals.
QString formatNumber(double v, QStringView pattern);
template <std::integral T> QString formatNumber(T v, QStringView pattern) {
    return formatNumber(static_cast<qint64>(v), pattern);
}

/// The separator of thousands in the currency form: a no-break space, as the Czech regional settings have it.
inline constexpr QChar kThousandsSeparator = QChar(u'\u00A0');

/// The named format "Currency" of the Czech regional settings: two decimals (a tie away from zero), decimal comma,
/// thousands grouped with kThousandsSeparator, a blank and "Kč": "365,00 Kč", "1 234,50 Kč", "-365,00 Kč".
QString formatCurrency(Currency v);

/// The plain text of an amount in its shortest form: no grouping, decimal comma, no trailing zeros ("80", "75,5",
/// "-3,25"). Parsing it gives the amount back.
QString plainText(Currency v);
/// The plain text of a double under the Czech regional settings: up to 15 significant digits, decimal comma,
/// no grouping, no trailing zeros ("1250,5", "0", "-3").
QString plainText(double v);

/// BASIC's Str, which no regional setting touches: " 5" (a blank where the sign would be), "-5"; a double in its
/// shortest form with up to 15 significant digits and "." as decimal point (" 85.5", "-0.25").
QString signedText(qint64 v);
QString signedText(double v);
template <std::integral T> QString signedText(T v) {
    return signedText(static_cast<qint64>(v));
}

/// BASIC's Mid, Left and Right that never fail. mid is 1-based and takes the characters of the window
/// [pos1, pos1 + count) that lie inside the text (a negative count: to the end), so a start past the end or a
/// count of zero gives the empty text. left and right give the empty text for a count of zero or less and the
/// whole text for a count past its length.
QString mid(const QString& s, qsizetype pos1, qsizetype count = -1);
QString left(const QString& s, qsizetype n);
QString right(const QString& s, qsizetype n);

/// A field of a fixed-pitch line: `blanks` blanks go with its text, of which `width` characters remain.
struct FixedField {
    qsizetype blanks = 0;
    qsizetype width = 0;
};

/// A line of fixed-pitch columns, built from left to right, as the statements, summaries and reports lay them out.
///
/// A right-aligned field puts `blanks` blanks in front of its text and keeps the last `width` characters, so a text
/// shorter than width - blanks gives a shorter field (the stored layouts rely on that); given a width alone, the
/// text is padded to it. A text as wide as its field or wider is never cut, since cutting an amount or a count
/// prints a wrong number: it is written whole, and one blank parts it from whatever stands before it on the line,
/// so that an amount never runs into the count in front of it. At the start of the line, or after a blank, the
/// text needs no blank of its own.
class FieldLine {
public:
    FieldLine() = default;
    explicit FieldLine(const QString& start) : m_text(start) {}

    FieldLine& text(const QString& s) {
        m_text += s;
        return *this;
    }
    FieldLine& right(const QString& s, FixedField field);
    FieldLine& right(const QString& s, qsizetype width) { return right(s, FixedField{width, width}); }

    const QString& str() const { return m_text; }

private:
    QString m_text;
};

/// Right-aligned in a field at the start of a line (FieldLine): blanks in front up to the width; a wider text is
/// returned whole, never cut.
QString padLeft(const QString& s, qsizetype width);
/// Left-aligned in a field: blanks behind up to the width; a wider text is returned whole, never cut.
QString padRight(const QString& s, qsizetype width);

/// "261210" for 10 December 2026; empty for an invalid date.
QString dateYYMMDD(const QDate& d);
/// Exactly six digits naming a real date in 2000-2099; nullopt otherwise.
std::optional<QDate> parseYYMMDD(QStringView s);
/// "10.12.2026", "01.01.2004" (dd.mm.yyyy); empty for an invalid date.
QString dateDMY(const QDate& d);
/// "10.12.2026", "1.1.2004" (d.M.yyyy); empty for an invalid date.
QString dateShort(const QDate& d);
/// "1.1.2004", "01.01.2004", "1/1/2004" (blanks around allowed); nullopt when not a real date.
std::optional<QDate> parseDate(QStringView s);
/// The last day of the month before d's month (28 or 29 February in March, as the year has it).
QDate lastDayOfPreviousMonth(const QDate& d);
/// "9:05:03" (H:mm:ss); empty for an invalid time.
QString timeHms(const QTime& t);

} // namespace trv
