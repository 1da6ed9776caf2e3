#include "platform/Conventions.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace trv {
namespace {

std::string u8(const QString& s) {
    return s.toStdString();
}

Currency money(const char16_t* text) {
    return Currency::parse(QStringView(text)).value();
}

TEST(ConventionsTest, ValTakesTheLeadingNumber) {
    struct Case {
        const char16_t* text;
        double value;
        qint64 units;
    };
    const std::vector<Case> cases = {
        {u"12abc", 12, 120000},
        {u"abc", 0, 0},
        {u"", 0, 0},
        {u" 5", 5, 50000},
        {u"  \t-5 kusů", -5, -50000},
        {u"+7", 7, 70000},
        {u"1,5", 1.5, 15000},
        {u"1.5", 1.5, 15000},
        {u"125,50 Kč", 125.5, 1255000},
        {u"1,5,3", 1.5, 15000},
        {u"1.5.3", 1.5, 15000},
        {u",25", 0.25, 2500},
        {u"5.", 5, 50000},
        {u"5.x", 5, 50000},
        {u".", 0, 0},
        {u"-", 0, 0},
        {u"- 5", 0, 0},
        {u"x5", 0, 0},
        {u"0,123456", 0.123456, 1235},
        {u"1e5", 1, 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(QString::fromUtf16(c.text)));
        EXPECT_DOUBLE_EQ(val(c.text), c.value);
        EXPECT_EQ(valCurrency(c.text).units(), c.units);
    }
    // Too wide for an amount: no number rather than a wrapped one.
    EXPECT_EQ(valCurrency(u"99999999999999999999"), Currency());
    EXPECT_DOUBLE_EQ(val(u"99999999999999999999"), 1e20);
}

TEST(ConventionsTest, ToIntegerAcceptsOnlyWholeNumbers) {
    struct Case {
        const char16_t* text;
        std::optional<qint64> value;
    };
    const std::vector<Case> cases = {
        {u"42", 42},
        {u" -42 ", -42},
        {u"+0", 0},
        {u"007", 7},
        {u"9223372036854775807", std::numeric_limits<qint64>::max()},
        {u"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {u"9223372036854775808", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"4 2", std::nullopt},
        {u"4,2", std::nullopt},
        {u"12abc", std::nullopt},
        {u"٣", std::nullopt}, // digits of other scripts are not ours
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(QString::fromUtf16(c.text)));
        EXPECT_EQ(toInteger(c.text), c.value);
    }
}

TEST(ConventionsTest, ToNumberNeedsTheWholeText) {
    struct Case {
        const char16_t* text;
        std::optional<double> value;
    };
    const std::vector<Case> cases = {
        {u"1,5", 1.5},          {u" 1.5 ", 1.5},        {u"-0,25", -0.25},       {u"3", 3},
        {u",5", 0.5},           {u"", std::nullopt},    {u"1,5x", std::nullopt}, {u"1,2,3", std::nullopt},
        {u"abc", std::nullopt}, {u"1 5", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(QString::fromUtf16(c.text)));
        EXPECT_EQ(toNumber(c.text), c.value);
    }
}

TEST(ConventionsTest, FormatNumberFollowsThePattern) {
    struct Case {
        const char16_t* value;
        const char16_t* pattern;
        const char16_t* expected;
    };
    const std::vector<Case> cases = {
        {u"125,5", u"###0.00", u"125,50"},
        {u"0", u"###0.00", u"0,00"},
        {u"0,5", u"########0.00", u"0,50"},
        {u"1500", u"########0.00", u"1500,00"},
        {u"2,345", u"0.00", u"2,35"}, // a tie away from zero
        {u"2,355", u"0.00", u"2,36"},
        {u"2,3451", u"0.00", u"2,35"},
        {u"-2,345", u"0.00", u"-2,35"},
        {u"610,905", u"########0.00", u"610,91"},
        {u"610,9049", u"###0.00", u"610,90"},
        {u"-610,905", u"###0.00", u"-610,91"},
        {u"-0,005", u"0.00", u"-0,01"},
        {u"-125,5", u"###0.00", u"-125,50"},
        {u"-0,004", u"0.00", u"0,00"},            // no minus on a value that rounds to zero
        {u"123456,78", u"###0.00", u"123456,78"}, // wider than the pattern: whole
        {u"2,5", u"0", u"3"},
        {u"3,5", u"0", u"4"},
        {u"7", u"000", u"007"},
        {u"1234", u"000", u"1234"},
        {u"1,25", u"0.0", u"1,3"},
        {u"1,35", u"0.0", u"1,4"},
        {u"1,5", u"0.0#", u"1,5"},
        {u"1,567", u"0.0#", u"1,57"},
        {u"0,5", u"#.00", u",50"},
        {u"1,2345", u"0.000000", u"1,234500"},
        {u"1,2", u"0.00 Kč", u"1,20 Kč"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(QString::fromUtf16(c.value) + u' ' + QString::fromUtf16(c.pattern)));
        EXPECT_EQ(u8(formatNumber(money(c.value), c.pattern)), u8(QString::fromUtf16(c.expected)));
    }
}

TEST(ConventionsTest, FormatNumberOfWholeNumbersAndDoubles) {
    EXPECT_EQ(u8(formatNumber(qint64(7), u"000")), "007");
    EXPECT_EQ(u8(formatNumber(1234, u"000")), "1234");
    EXPECT_EQ(u8(formatNumber(-5, u"000")), "-005");
    EXPECT_EQ(u8(formatNumber(42, u"0.00")), "42,00");
    EXPECT_EQ(u8(formatNumber(std::numeric_limits<qint64>::min(), u"0")), "-9223372036854775808");
    EXPECT_EQ(u8(formatNumber(2.345, u"0.00")), "2,35");
    EXPECT_EQ(u8(formatNumber(2.355, u"0.00")), "2,36");
    EXPECT_EQ(u8(formatNumber(12.0 / 7.0, u"0.00")), "1,71");
    EXPECT_EQ(u8(formatNumber(-0.5, u"0")), "-1");
    EXPECT_EQ(u8(formatNumber(-0.4, u"0")), "0");
}

TEST(ConventionsTest, FormatCurrencyIsTheCzechCurrencyForm) {
    const QString nbsp(kThousandsSeparator);
    struct Case {
        const char16_t* value;
        QString expected;
    };
    const std::vector<Case> cases = {
        {u"365", QStringLiteral("365,00 Kč")},
        {u"-365", QStringLiteral("-365,00 Kč")},
        {u"0", QStringLiteral("0,00 Kč")},
        {u"999,995", QStringLiteral("1") + nbsp + QStringLiteral("000,00 Kč")},
        {u"1234,5", QStringLiteral("1") + nbsp + QStringLiteral("234,50 Kč")},
        {u"-1234567,125", QStringLiteral("-1") + nbsp + QStringLiteral("234") + nbsp + QStringLiteral("567,13 Kč")},
        {u"610,905", QStringLiteral("610,91 Kč")},
        {u"-0,005", QStringLiteral("-0,01 Kč")},
        {u"100000", QStringLiteral("100") + nbsp + QStringLiteral("000,00 Kč")},
        {u"0,005", QStringLiteral("0,01 Kč")},
        {u"0,0049", QStringLiteral("0,00 Kč")},
        {u"0,015", QStringLiteral("0,02 Kč")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(QString::fromUtf16(c.value)));
        EXPECT_EQ(u8(formatCurrency(money(c.value))), u8(c.expected));
    }
}

TEST(ConventionsTest, PlainAndSignedTexts) {
    EXPECT_EQ(u8(plainText(money(u"80"))), "80");
    EXPECT_EQ(u8(plainText(money(u"75,50"))), "75,5");
    EXPECT_EQ(u8(plainText(money(u"-3,25"))), "-3,25");
    EXPECT_EQ(u8(plainText(money(u"0,0001"))), "0,0001");
    EXPECT_EQ(u8(plainText(Currency())), "0");
    EXPECT_EQ(Currency::parse(plainText(money(u"1234,5678"))), money(u"1234,5678"));

    EXPECT_EQ(u8(plainText(1250.5)), "1250,5");
    EXPECT_EQ(u8(plainText(0.0)), "0");
    EXPECT_EQ(u8(plainText(-3.0)), "-3");
    EXPECT_EQ(u8(plainText(0.1 + 0.2)), "0,3");

    EXPECT_EQ(u8(signedText(5)), " 5");
    EXPECT_EQ(u8(signedText(0)), " 0");
    EXPECT_EQ(u8(signedText(-5)), "-5");
    EXPECT_EQ(u8(signedText(std::numeric_limits<qint64>::min())), "-9223372036854775808");
    EXPECT_EQ(u8(signedText(170.0)), " 170");
    EXPECT_EQ(u8(signedText(85.5)), " 85.5");
    EXPECT_EQ(u8(signedText(-0.25)), "-0.25");
    EXPECT_EQ(u8(signedText(-0.0)), " 0");
}

TEST(ConventionsTest, MidLeftRightNeverFail) {
    const QString s = QStringLiteral("abcdef");
    struct Case {
        qsizetype pos;
        qsizetype count;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {1, 3, "abc"},
        {2, -1, "bcdef"},
        {4, 100, "def"},
        {6, 1, "f"},
        {7, 1, ""}, // just past the end
        {100, 5, ""},
        {3, 0, ""},
        {0, 3, "ab"}, // the part of the window that lies inside the text
        {-5, 3, ""},
        {-5, -1, "abcdef"},
        {2, std::numeric_limits<qsizetype>::max(), "bcdef"},
        {std::numeric_limits<qsizetype>::min(), std::numeric_limits<qsizetype>::max(), ""},
        {std::numeric_limits<qsizetype>::max(), 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pos << ", " << c.count);
        EXPECT_EQ(u8(mid(s, c.pos, c.count)), c.expected);
    }
    EXPECT_EQ(u8(mid(s, 3)), "cdef");
    EXPECT_EQ(u8(mid(QString(), 1, 1)), "");

    EXPECT_EQ(u8(left(s, 2)), "ab");
    EXPECT_EQ(u8(left(s, 99)), "abcdef");
    EXPECT_EQ(u8(left(s, 0)), "");
    EXPECT_EQ(u8(left(s, -1)), "");
    EXPECT_EQ(u8(right(s, 2)), "ef");
    EXPECT_EQ(u8(right(s, 99)), "abcdef");
    EXPECT_EQ(u8(right(s, -3)), "");
}

TEST(ConventionsTest, PaddingNeverCuts) {
    EXPECT_EQ(u8(padLeft(QStringLiteral("12,50"), 7)), "  12,50");
    EXPECT_EQ(u8(padLeft(QStringLiteral("123456,50"), 7)), "123456,50");
    EXPECT_EQ(u8(padLeft(QString(), 3)), "   ");
    EXPECT_EQ(u8(padLeft(QStringLiteral("x"), -2)), "x");
    EXPECT_EQ(u8(padRight(QStringLiteral("ab"), 4)), "ab  ");
    EXPECT_EQ(u8(padRight(QStringLiteral("abcdef"), 4)), "abcdef");
}

// A right-aligned field never cuts its text, and a text that fills its field or is wider keeps one blank from what
// stands before it: "15000149 999 985 000,00" would read as one number.
TEST(ConventionsTest, AFieldAsWideAsItsWidthOrWiderKeepsABlankFromTheTextBeforeIt) {
    const struct {
        const char* before;
        const char* text;
        FixedField field;
        const char* line;
    } cases[] = {
        {"15000", "150,00 Kč", {15, 20}, "15000           150,00 Kč"},
        // Fewer blanks than the width leaves a shorter field.
        {"2 ks", "0,00 Kč", {7, 16}, "2 ks       0,00 Kč"},
        {"15000", "12345678901234567,00", {15, 20}, "15000 12345678901234567,00"},
        {"15000", "123456789012345678,00", {15, 20}, "15000 123456789012345678,00"},
        {"2 ks", "1234567890123,00", {10, 16}, "2 ks 1234567890123,00"},
        // After a blank, or at the start of the line, the text needs no blank of its own.
        {"Počet: ", "12345", {3, 5}, "Počet: 12345"},
        {"     ", "1000,00", {7, 7}, "     1000,00"},
        {"", "1000000,00", {11, 7}, "1000000,00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(u8(FieldLine(QString::fromUtf8(c.before)).right(QString::fromUtf8(c.text), c.field).str()), c.line);
    }
    EXPECT_EQ(u8(FieldLine().right(QStringLiteral("55,00"), 7).right(QStringLiteral("1234567890"), 10).str()),
              "  55,00 1234567890");
}

TEST(ConventionsTest, DateTexts) {
    EXPECT_EQ(u8(dateYYMMDD(QDate(2026, 12, 10))), "261210");
    EXPECT_EQ(u8(dateYYMMDD(QDate(2004, 1, 2))), "040102");
    EXPECT_EQ(u8(dateYYMMDD(QDate())), "");
    EXPECT_EQ(u8(dateDMY(QDate(2026, 12, 10))), "10.12.2026");
    EXPECT_EQ(u8(dateDMY(QDate(2004, 1, 1))), "01.01.2004");
    EXPECT_EQ(u8(dateShort(QDate(2026, 12, 10))), "10.12.2026");
    EXPECT_EQ(u8(dateShort(QDate(2004, 1, 1))), "1.1.2004");
    EXPECT_EQ(u8(dateShort(QDate())), "");
    EXPECT_EQ(u8(timeHms(QTime(9, 5, 3))), "9:05:03");
    EXPECT_EQ(u8(timeHms(QTime(23, 59, 0))), "23:59:00");
    EXPECT_EQ(u8(timeHms(QTime(0, 0, 0))), "0:00:00");
    EXPECT_EQ(u8(timeHms(QTime())), "");
}

TEST(ConventionsTest, ParseYYMMDDNeedsSixDigitsOfARealDate) {
    struct Case {
        const char16_t* text;
        QDate date;
    };
    const std::vector<Case> cases = {
        {u"261210", QDate(2026, 12, 10)},
        {u"000101", QDate(2000, 1, 1)},
        {u"991231", QDate(2099, 12, 31)},
        {u"240229", QDate(2024, 2, 29)},
        {u"230229", QDate()}, // not a leap year
        {u"241301", QDate()},
        {u"240100", QDate()},
        {u"240431", QDate()},
        {u"24121", QDate()},
        {u"2412100", QDate()},
        {u" 41210", QDate()},
        {u"24-210", QDate()},
        {u"", QDate()},
        {u"abcdef", QDate()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(QString::fromUtf16(c.text)));
        EXPECT_EQ(parseYYMMDD(c.text), c.date.isValid() ? std::optional(c.date) : std::nullopt);
    }
    const QDate day(2031, 7, 4);
    EXPECT_EQ(parseYYMMDD(dateYYMMDD(day)), day);
}

TEST(ConventionsTest, ParseDateAcceptsTheShortAndLongForms) {
    struct Case {
        const char16_t* text;
        QDate date;
    };
    const std::vector<Case> cases = {
        {u"1.1.2004", QDate(2004, 1, 1)},
        {u"01.01.2004", QDate(2004, 1, 1)},
        {u"1/1/2004", QDate(2004, 1, 1)},
        {u"10/12/2026", QDate(2026, 12, 10)},
        {u" 29.2.2024 ", QDate(2024, 2, 29)},
        {u"29.2.2023", QDate()},
        {u"31.4.2024", QDate()},
        {u"1.13.2024", QDate()},
        {u"0.1.2024", QDate()},
        {u"1.1.04", QDate()},
        {u"1.1/2004", QDate()},
        {u"1.1.2004.", QDate()},
        {u"001.1.2004", QDate()},
        {u"a.b.cdef", QDate()},
        {u"", QDate()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(QString::fromUtf16(c.text)));
        EXPECT_EQ(parseDate(c.text), c.date.isValid() ? std::optional(c.date) : std::nullopt);
    }
}

TEST(ConventionsTest, LastDayOfPreviousMonthFollowsTheCalendar) {
    const std::vector<std::pair<QDate, QDate>> cases = {
        {QDate(2024, 3, 15), QDate(2024, 2, 29)},
        {QDate(2023, 3, 1), QDate(2023, 2, 28)},
        {QDate(2026, 1, 10), QDate(2025, 12, 31)},
        {QDate(2026, 5, 31), QDate(2026, 4, 30)},
        {QDate(), QDate()},
    };
    for (const auto& [day, expected] : cases) {
        SCOPED_TRACE(u8(day.toString(Qt::ISODate)));
        EXPECT_EQ(lastDayOfPreviousMonth(day), expected);
    }
}

} // namespace
} // namespace trv
