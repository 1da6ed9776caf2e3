#include "summaries/StoredCodes.h"

#include <gtest/gtest.h>

#include <string>

using namespace trv;

namespace {

// A code's length is held in two parts of its record and its file and value beside them: codes of every length
// class (odd and even digit counts, past one byte of length, at the cut) come back whole, with their file and
// value, and the duplicate check still finds the first reading of each.
TEST(StoredCodesTest, CodesOfAnyLengthComeBackWithTheirFileAndValue) {
    const std::string longDigits(300, '7');
    const std::string longText = std::string(257, 'a') + "X";
    const std::string tooLong(StoredCodes::kMaxLength + 10, '5');
    StoredCodes codes(2);
    const qint32 ten = codes.valueIndex(Currency::fromInt(10));
    const qint32 twenty = codes.valueIndex(Currency::fromInt(20));
    const quint32 first = codes.addFile(QStringLiteral("250301.vyc"));
    codes.add(0, "123", first, ten);
    codes.add(0, longDigits, first, twenty);
    codes.add(1, longText, first, ten);
    codes.add(0, "NOREAD", first, StoredCodes::kNoRead);
    const quint32 second = codes.addFile(QStringLiteral("250302.vyc"));
    codes.add(0, tooLong, second, twenty);
    codes.add(0, longDigits, second, ten);
    codes.add(1, std::string(257, 'A') + "x", second, twenty);
    codes.add(0, "1234", second, ten);

    struct Want {
        std::string text;
        quint32 file;
        qint32 value;
    };
    const auto check = [&](int type, const std::vector<Want>& want) {
        SCOPED_TRACE(type);
        const auto& held = codes.codes(type);
        ASSERT_EQ(held.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(codes.kod(held[i]), QString::fromStdString(want[i].text));
            EXPECT_EQ(codes.fileName(held[i].file), codes.fileName(want[i].file));
            EXPECT_EQ(held[i].value, want[i].value);
        }
    };
    const std::string cut(StoredCodes::kMaxLength, '5');
    codes.setAsideRepeats();
    const auto& repeats = codes.setAside(0);
    ASSERT_EQ(repeats.size(), 1u);
    EXPECT_EQ(codes.kod(repeats[0].again), QString::fromStdString(longDigits));
    EXPECT_EQ(repeats[0].again.file, second);
    EXPECT_EQ(repeats[0].first.file, first);
    ASSERT_EQ(codes.setAside(1).size(), 1u);

    codes.keepFirstReadings();
    check(0, {{"123", first, ten}, {longDigits, first, twenty}, {cut, second, twenty}, {"1234", second, ten}});
    check(1, {{longText, first, ten}});
}

// A month large enough to be held in large regions, filled past the room its file sizes promised: every code
// comes back in its type's reading order across blocks and regions, and the first reading of each is kept.
TEST(StoredCodesTest, ALargeMonthComesBackWholeAcrossBlocksAndRegions) {
    constexpr int kCodes = 1'200'000;
    StoredCodes codes(2);
    codes.reserve(22'000'000);
    const qint32 ten = codes.valueIndex(Currency::fromInt(10));
    const quint32 file = codes.addFile(QStringLiteral("250301.vyc"));
    // The codes past the first 1,100,000 repeat them in turn.
    const auto text = [](int i) {
        const int j = i % 1'100'000;
        std::string t = std::to_string(10'000'000'000'000'000'000ull + quint64(j));
        return j % 3 == 0 ? t + "A" : t;
    };
    const auto typeOf = [](int i) { return (i % 1'100'000) % 7 == 0 ? 1 : 0; };
    for (int i = 0; i < kCodes; ++i)
        codes.add(typeOf(i), text(i), file, ten);

    const auto check = [&](bool firstOnly) {
        int at[2] = {0, 0};
        for (int i = 0; i < kCodes; ++i) {
            const int type = typeOf(i);
            if (firstOnly && i >= 1'100'000)
                continue;
            const auto& held = codes.codes(type);
            ASSERT_LT(size_t(at[type]), held.size());
            const auto& c = held[size_t(at[type]++)];
            ASSERT_EQ(codes.kod(c).toStdString(), text(i)) << i;
        }
        EXPECT_EQ(size_t(at[0]), codes.codes(0).size());
        EXPECT_EQ(size_t(at[1]), codes.codes(1).size());
    };
    check(false);
    codes.setAsideRepeats();
    EXPECT_EQ(codes.setAside(0).size() + codes.setAside(1).size(), size_t(kCodes - 1'100'000));
    codes.keepFirstReadings();
    check(true);
}

// The repeat filter of a month asks as it goes whether to go on, and stops when told; the counts per face value
// follow the codes it keeps (NOREAD readings never counted).
TEST(StoredCodesTest, TheRepeatFilterAsksAsItGoesStopsWhenToldAndKeepsTheCountsPerValue) {
    constexpr int kCodes = 100'000;
    const auto filled = [](StoredCodes& codes) {
        const qint32 ten = codes.valueIndex(Currency::fromInt(10));
        const qint32 twenty = codes.valueIndex(Currency::fromInt(20));
        const quint32 file = codes.addFile(QStringLiteral("250301.vyc"));
        // Every code twice, the second reading after all the first ones; a few NOREAD readings among them.
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < kCodes; ++i)
                codes.add(0, std::to_string(1'000'000 + i), file, i % 4 == 0 ? twenty : ten);
            codes.add(0, "NOREAD", file, StoredCodes::kNoRead);
        }
        codes.add(1, "77", file, ten);
    };
    for (const bool setAside : {false, true}) {
        SCOPED_TRACE(setAside);
        StoredCodes codes(2);
        filled(codes);
        EXPECT_EQ(codes.valueCounts(0), (std::vector<qint64>{2 * kCodes * 3 / 4, 2 * kCodes / 4}));
        int asked = 0;
        const auto going = [&] { return ++asked > 0; };
        ASSERT_TRUE(setAside ? codes.setAsideRepeats(going) : codes.keepFirstReadings(going));
        EXPECT_GE(asked, 2 * kCodes / 65536);
        EXPECT_EQ(codes.codes(0).size(), size_t(kCodes + (setAside ? 1 : 0)));
        EXPECT_EQ(codes.valueCounts(0), (std::vector<qint64>{kCodes * 3 / 4, kCodes / 4}));
        EXPECT_EQ(codes.valueCounts(1), (std::vector<qint64>{1, 0}));

        StoredCodes stopped(2);
        filled(stopped);
        asked = 0;
        const auto stop = [&] { return ++asked < 2; };
        EXPECT_FALSE(setAside ? stopped.setAsideRepeats(stop) : stopped.keepFirstReadings(stop));
        EXPECT_EQ(asked, 2);
    }
}

} // namespace
