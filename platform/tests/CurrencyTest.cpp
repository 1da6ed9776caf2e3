#include "platform/Currency.h"
#include "platform/Conventions.h"

#include <QString>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace trv {
namespace {

struct ParseCase {
    const char16_t* text;
    std::optional<qint64> units;
};

TEST(CurrencyTest, ParseAcceptsCommaPointSignAndBlanks) {
    const std::vector<ParseCase> cases = {
        {u"125,50", 1255000},
        {u"125.5", 1255000},
        {u"-3", -30000},
        {u"+3", 30000},
        {u" 7 ", 70000},
        {u"\t0,0001", 1},
        {u",5", 5000},
        {u"5.", 50000},
        {u"-0", 0},
        {u"0001,25", 12500},
        {u"922337203685477,5807", std::numeric_limits<qint64>::max()},
        {u"-922337203685477,5808", std::numeric_limits<qint64>::min()},
        // More than four decimals: half to even at the fourth.
        {u"1,23445", 12344},
        {u"1,23455", 12346},
        {u"1,234450001", 12345},
        {u"-1,23455", -12346},
        {u"0,00005", 0},
        {u"0,00015", 2},
        // Not numbers.
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"abc", std::nullopt},
        {u"12abc", std::nullopt},
        {u"1,2,3", std::nullopt},
        {u"1.2,3", std::nullopt},
        {u"- 5", std::nullopt},
        {u"+", std::nullopt},
        {u",", std::nullopt},
        {u"1 000", std::nullopt},
        {u"1e3", std::nullopt},
        {u"922337203685477,5808", std::nullopt},
        {u"99999999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const auto parsed = Currency::parse(QStringView(c.text));
        EXPECT_EQ(parsed ? std::optional(parsed->units()) : std::nullopt, c.units);
        // The reading of stored bytes agrees with the reading of text.
        const QByteArray bytes = QString::fromUtf16(c.text).toUtf8();
        const auto fromBytes = Currency::parse(std::string_view(bytes.constData(), size_t(bytes.size())));
        EXPECT_EQ(fromBytes ? std::optional(fromBytes->units()) : std::nullopt, c.units);
    }
    // Bytes beyond ASCII: a no-break space around the number is a blank, a letter is not.
    EXPECT_EQ(Currency::parse(std::string_view("\xc2\xa0"
                                               "12,5\xc2\xa0")),
              *Currency::parse(u"12,5"));
    EXPECT_EQ(Currency::parse(std::string_view("12,5\xc3\xa1")), std::nullopt);
}

TEST(CurrencyTest, RoundedIsHalfToEven) {
    struct Case {
        qint64 units;
        int decimals;
        qint64 expected;
    };
    const std::vector<Case> cases = {
        {23450, 2, 23400},                                                              // 2.345 -> 2.34
        {23550, 2, 23600},                                                              // 2.355 -> 2.36
        {23451, 2, 23500},                                                              // past the half goes up
        {-23450, 2, -23400},                                                            // symmetric for negatives
        {-23550, 2, -23600}, {-23451, 2, -23500}, {5000, 0, 0},                         // 0.5 -> 0
        {15000, 0, 20000},                                                              // 1.5 -> 2
        {25000, 0, 20000},                                                              // 2.5 -> 2
        {-25000, 0, -20000}, {12345, 4, 12345},   {12345, 9, 12345}, {12345, 3, 12340}, // 1.2345 -> 1.234
        {12355, 3, 12360},   {15000, -1, 20000}, // below zero decimals counts as zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.units << " to " << c.decimals);
        EXPECT_EQ(Currency::fromUnits(c.units).rounded(c.decimals).units(), c.expected);
        EXPECT_EQ(Currency::fromUnits(c.units).roundedInRange(c.decimals), Currency::fromUnits(c.expected));
    }
    // At the ends the rounding can lie past the range: rounded() stops at the end, roundedInRange() says so.
    const Currency top = Currency::max();
    const Currency bottom = Currency::min();
    EXPECT_EQ(top.roundedInRange(0), std::nullopt);    // 922337203685477.5807 -> 922337203685478
    EXPECT_EQ(bottom.roundedInRange(1), std::nullopt); // -922337203685477.5808 -> -922337203685477.6
    EXPECT_EQ(top.roundedInRange(2), Currency::fromUnits(9223372036854775800));
    EXPECT_EQ(bottom.roundedInRange(4), bottom);
}

TEST(CurrencyTest, CentsAreRoundedHalfToEven) {
    EXPECT_EQ(Currency::fromUnits(12350).toCentsRounded(), 124);
    EXPECT_EQ(Currency::fromUnits(12250).toCentsRounded(), 122);
    EXPECT_EQ(Currency::fromUnits(12251).toCentsRounded(), 123);
    EXPECT_EQ(Currency::fromUnits(-12350).toCentsRounded(), -124);
    EXPECT_EQ(Currency::fromCents(-12345).units(), -1234500);
    EXPECT_EQ(Currency::fromCents(12345).toCentsRounded(), 12345);
}

TEST(CurrencyTest, FromDoubleTakesTheDecimalTheDoubleWasWrittenAs) {
    struct Case {
        double value;
        qint64 units;
    };
    const std::vector<Case> cases = {
        {2.345, 23450}, // not 23449 from the binary value just below
        {0.1 + 0.2, 3000},
        {1.00005, 10000}, // tie at the fifth decimal: to even
        {1.00015, 10002},
        {1.000051, 10001},
        {-2.67905, -26790},
        {123456789.1234, 1234567891234},
        {1e-300, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {1e300, std::numeric_limits<qint64>::max()},
        {-1e300, std::numeric_limits<qint64>::min()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value);
        EXPECT_EQ(Currency::fromDoubleRounded(c.value).units(), c.units);
    }
    EXPECT_DOUBLE_EQ(Currency::fromUnits(-12345).toDouble(), -1.2345);
}

TEST(CurrencyTest, ArithmeticIsExact) {
    // Ten thousand additions of 0.10 are exactly 1000, which doubles do not manage.
    Currency sum;
    for (int i = 0; i < 10000; ++i)
        sum += Currency::fromCents(10);
    EXPECT_EQ(sum, Currency::fromInt(1000));

    const Currency a = *Currency::parse(u"125,50");
    const Currency b = *Currency::parse(u"0,25");
    EXPECT_EQ(a + b, *Currency::parse(u"125,75"));
    EXPECT_EQ(b - a, *Currency::parse(u"-125,25"));
    EXPECT_EQ(a * 3, *Currency::parse(u"376,5"));
    EXPECT_EQ(3 * a, a * 3);
    EXPECT_EQ(-a, Currency::fromUnits(-1255000));
    EXPECT_EQ((-a).abs(), a);
    EXPECT_LT(b, a);
    EXPECT_GT(a, -a);
    EXPECT_TRUE(Currency().isZero());
    EXPECT_TRUE((-a).isNegative());

    Currency c = a;
    c -= b;
    c *= 2;
    EXPECT_EQ(c, *Currency::parse(u"250,5"));
    static_assert(Currency::fromInt(2).units() == 20000);
}

TEST(CurrencyTest, CheckedArithmeticRefusesWhatDoesNotFitAndOperatorsNeverWrap) {
    const Currency top = Currency::max();
    const Currency bottom = Currency::min();
    const Currency unit = Currency::fromUnits(1);
    const Currency half = *Currency::parse(u"500000000000000");

    // In range: the exact result.
    EXPECT_EQ(top.minus(unit), Currency::fromUnits(std::numeric_limits<qint64>::max() - 1));
    EXPECT_EQ(bottom.plus(top), Currency::fromUnits(-1));
    EXPECT_EQ(Currency::fromInt(-3).times(-2), Currency::fromInt(6));
    // Past either end: nothing.
    EXPECT_EQ(top.plus(unit), std::nullopt);
    EXPECT_EQ(half.plus(half), std::nullopt);
    EXPECT_EQ(bottom.minus(unit), std::nullopt);
    EXPECT_EQ(Currency().minus(bottom), std::nullopt);
    EXPECT_EQ(half.times(2), std::nullopt);
    EXPECT_EQ(half.times(-2), std::nullopt);
    EXPECT_EQ(bottom.times(-1), std::nullopt);

    // The operators stop at the nearer end instead of wrapping to the other sign.
    EXPECT_EQ(top + unit, top);
    EXPECT_EQ(half + half, top);
    EXPECT_EQ(-half - half - half, bottom);
    EXPECT_EQ(bottom - unit, bottom);
    EXPECT_EQ(unit - bottom, top);
    EXPECT_EQ(half * 2, top);
    EXPECT_EQ(half * -2, bottom);
    EXPECT_EQ(-2 * -half, top);
    EXPECT_EQ(-bottom, top);
    EXPECT_EQ(bottom.abs(), top);
    Currency sum = top;
    sum += top;
    EXPECT_EQ(sum, top);
    sum -= bottom;
    EXPECT_EQ(sum, top);
    sum *= -3;
    EXPECT_EQ(sum, bottom);
    EXPECT_EQ(Currency::fromInt(std::numeric_limits<qint64>::max() / 1000), top);
    EXPECT_EQ(Currency::fromCents(std::numeric_limits<qint64>::min() / 10), bottom);
    // Rounding, products and quotients at the ends stay in range too.
    EXPECT_EQ(top.rounded(0), top);
    EXPECT_EQ(bottom.roundedHalfAwayFromZero(0), bottom);
    EXPECT_EQ(top.multiplied(Currency::fromInt(2)), top);
    EXPECT_EQ(bottom.dividedBy(-1), top);
}

TEST(CurrencyTest, PercentagesAreExactAndRoundedOnceAwayFromZero) {
    const auto c = [](const char16_t* t) { return *Currency::parse(QStringView(t)); };
    struct Case {
        Currency value;
        std::vector<Currency> percents;
        int decimals;
        std::optional<Currency> result;
    };
    for (const Case& k : std::vector<Case>{
             {c(u"1000"), {c(u"3")}, 2, c(u"30")},
             {c(u"1000"), {c(u"3"), c(u"21")}, 2, c(u"6,3")},
             {c(u"1000"), {c(u"3"), c(u"79")}, 2, c(u"23,7")},
             {c(u"333,47"), {c(u"3")}, 2, c(u"10")},     // 10.0041
             {c(u"1000,41"), {c(u"3")}, 2, c(u"30,01")}, // 30.0123
             {c(u"0,5"), {c(u"1")}, 2, c(u"0,01")},      // 0.005: a tie goes away from zero
             {c(u"-0,5"), {c(u"1")}, 2, c(u"-0,01")},
             {c(u"0,4999"), {c(u"1")}, 2, c(u"0")}, // 0.004999: never rounded twice up to 0.01
             {c(u"0,4999"), {c(u"1")}, 4, c(u"0,005")},
             {c(u"922337203685477,58"), {c(u"3"), c(u"21")}, 2, c(u"5810724383218,51")},
             {c(u"922337203685477,58"), {c(u"100")}, 2, c(u"922337203685477,58")},
             {c(u"922337203685477,58"), {c(u"200")}, 2, std::nullopt},
             {Currency::max(), {Currency::max(), Currency::max(), Currency::max()}, 2, std::nullopt},
         }) {
        SCOPED_TRACE(plainText(k.value).toStdString());
        std::optional<Currency> got;
        switch (k.percents.size()) {
        case 1:
            got = k.value.percentagesRounded({k.percents[0]}, k.decimals);
            break;
        case 2:
            got = k.value.percentagesRounded({k.percents[0], k.percents[1]}, k.decimals);
            break;
        default:
            got = k.value.percentagesRounded({k.percents[0], k.percents[1], k.percents[2]}, k.decimals);
        }
        EXPECT_EQ(got, k.result);
    }
}

TEST(CurrencyTest, ProductsAndQuotientsRoundHalfToEven) {
    // 0.0005 * 0.1 = 0.00005: a tie at the fourth decimal goes to the even 0.0000.
    EXPECT_EQ(Currency::fromUnits(5).multiplied(Currency::fromUnits(1000)).units(), 0);
    EXPECT_EQ(Currency::fromUnits(15).multiplied(Currency::fromUnits(1000)).units(), 2);
    EXPECT_EQ((*Currency::parse(u"12,5")).multiplied(*Currency::parse(u"-2")), *Currency::parse(u"-25"));
    // Wide products do not overflow on the way.
    EXPECT_EQ(Currency::fromInt(100000000).multiplied(Currency::fromInt(3)), Currency::fromInt(300000000));

    EXPECT_EQ(Currency::fromInt(10).dividedBy(3).units(), 33333);
    EXPECT_EQ(Currency::fromInt(-10).dividedBy(3).units(), -33333);
    EXPECT_EQ(Currency::fromUnits(5).dividedBy(2).units(), 2);
    EXPECT_EQ(Currency::fromUnits(7).dividedBy(2).units(), 4);
    EXPECT_EQ(Currency::fromUnits(7).dividedBy(-2).units(), -4);
    EXPECT_EQ(Currency::fromInt(10).dividedBy(0), Currency());
}

} // namespace
} // namespace trv
