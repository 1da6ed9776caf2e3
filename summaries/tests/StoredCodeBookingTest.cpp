#include "summaries/StoredCodeBooking.h"
#include "core/CStrav.h"
#include "summaries/tests/SummariesFixture.h"

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

} // namespace
