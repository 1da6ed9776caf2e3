#include "summaries/StoredCodeBooking.h"
#include "core/CStrav.h"
#include "summaries/tests/SummariesFixture.h"

#include <random>
#include <set>

using namespace trv;
using namespace trv::test;

namespace {

// The booking of stored codes keeps the recogniser's answer per length and distinguishing parts: it must give
// every code the type the recogniser gives it, whatever the switches.
TEST(StoredCodeBookingTest, SameTypeAsTheRecogniser) {
    SummariesEnv env;
    const QStringList codes = {SummariesEnv::alfa(50, 1),    SummariesEnv::beta(100, 1), SummariesEnv::gama("01", 1),
                               QStringLiteral("0500000019"), QStringLiteral("NOREAD"),   QStringLiteral("12345"),
                               QStringLiteral("ÁB00000007"), SummariesEnv::alfa(50, 2),  SummariesEnv::beta(20, 3)};
    for (const bool wholeCode : {true, false}) {
        SCOPED_TRACE(wholeCode ? "whole code" : "length");
        env.state.sw.gFRozpoznaniKodem = wholeCode;
        CColStrav types(env.state, env.prompts, env.clock);
        ASSERT_TRUE(types.NactiINI().ok());
        StoredCodes into(types.count());
        env.reader.clear();
        StoredCodeBooking booking(env.state, types, env.prompts, env.reader, into);
        int unrecognised = 0;
        for (const QString& code : codes) {
            SCOPED_TRACE(code.toStdString());
            const auto expected = types.NajdiTypKodu(code);
            int expectedIndex = -1;
            for (int i = 0; expected.ok() && expected.value() && i < types.count(); ++i) {
                if (types.Item(i + 1) == expected.value())
                    expectedIndex = i;
            }
            unrecognised += expectedIndex < 0;
            const QByteArray utf8 = code.toUtf8();
            EXPECT_EQ(booking.typeOf(std::string_view(utf8.constData(), size_t(utf8.size()))), expectedIndex);
        }
        // Every code of no type stopped the reader once.
        EXPECT_EQ(env.reader.stops(), unrecognised);
    }
}

// The same over the sample installation's twenty definitions (shared lengths, distinguishing numbers at several
// positions, a value table, CBA number ranges): seeded codes of every length the definitions use, most of them
// carrying one of the distinguishing numbers where a type looks for it.
TEST(StoredCodeBookingTest, SameTypeAsTheRecogniserOverTheSampleDefinitions) {
    SummariesEnv env;
    const std::filesystem::path sample = std::filesystem::path(TRV_TEST_DATA) / ".." / ".." / ".." / "sample";
    for (const char* file : {"TypStrav.ini", "hodnoty_beta.ini"})
        ASSERT_TRUE(TextFiles::copy(sample / file, env.folder / file, true).ok()) << file;
    env.state.sw.gFCBA = true;
    CColStrav types(env.state, env.prompts, env.clock);
    ASSERT_TRUE(types.NactiINI().ok());
    ASSERT_EQ(types.count(), 20);

    std::mt19937 random(7300);
    const auto digits = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + char16_t(random() % 10));
        return s;
    };
    QStringList codes;
    for (int length : {6, 8, 10, 12, 13, 14, 16, 18, 20, 22, 24}) {
        for (int i = 0; i < 600; ++i) {
            QString code = digits(length);
            // A two-digit distinguishing number at the first or the third position.
            const int at = int(random() % 3) * 2;
            code.replace(at, 2, QString::number(10 + int(random() % 90)));
            codes.append(code);
        }
    }
    codes.append(QStringLiteral("NOREAD"));
    codes.append(QStringLiteral("AB12345678901"));

    for (const bool wholeCode : {true, false}) {
        SCOPED_TRACE(wholeCode ? "whole code" : "length");
        env.state.sw.gFRozpoznaniKodem = wholeCode;
        StoredCodes into(types.count());
        StoredCodeBooking booking(env.state, types, env.prompts, env.reader, into);
        int differing = 0;
        std::set<int> seen;
        for (const QString& code : codes) {
            const auto expected = types.NajdiTypKodu(code);
            int expectedIndex = -1;
            for (int i = 0; expected.ok() && expected.value() && i < types.count(); ++i) {
                if (types.Item(i + 1) == expected.value())
                    expectedIndex = i;
            }
            const QByteArray utf8 = code.toUtf8();
            const int fast = booking.typeOf(std::string_view(utf8.constData(), size_t(utf8.size())));
            seen.insert(expectedIndex);
            if (fast != expectedIndex && ++differing <= 5)
                ADD_FAILURE() << code.toStdString() << ": " << fast << " where the recogniser gives " << expectedIndex;
        }
        EXPECT_EQ(differing, 0);
        // The codes reach most of the types, and some reach none.
        EXPECT_GE(seen.size(), 8u);
        EXPECT_TRUE(seen.count(-1));
    }
}

} // namespace
