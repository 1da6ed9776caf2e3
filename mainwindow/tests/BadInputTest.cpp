#include "ReaderRig.h"

#include <gtest/gtest.h>

namespace trv::test {
namespace {

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.state.sw.gFChybyDoOkna = true; // rejections go to the error log, no message boxes
        rig.openPort();
    }
    ReaderRig rig;
};

TEST_F(BadInputTest, ControlCharactersAndNulBytesDoNotStopReading) {
    QByteArray chunk("\0\x01\x7f\xff\r\n", 6);
    chunk += QByteArray("12\0"
                        "34\r\n",
                        7);
    chunk += alfa(100).toLatin1() + "\r\n";
    chunk += QByteArray("\r\r\n\n\n");
    chunk += alfa(200).toLatin1() + "\r\n";
    rig.receive(chunk);
    EXPECT_EQ(rig.booked(), (QStringList{alfa(100), alfa(200)}));
    // The line that starts with a digit is rejected by the character check; the others are not codes.
    ASSERT_EQ(rig.errorLog.lines.size(), 1);
    EXPECT_TRUE(rig.errorLog.lines[0].startsWith(QString::fromLatin1("12\0"
                                                                     "34",
                                                                     5)));
    // The display box keeps every byte, NUL included.
    EXPECT_EQ(rig.display.text().size(), chunk.size());
}

TEST_F(BadInputTest, CrWithoutLfWaitsForItsLf) {
    rig.receive(alfa(100).toLatin1() + "\r");
    EXPECT_TRUE(rig.booked().isEmpty());
    rig.receive("\n");
    EXPECT_EQ(rig.booked(), QStringList{alfa(100)});
    // A CR inside a line makes it a wrong code, not two codes.
    rig.receive("123\r" + alfa(200).toLatin1() + "\r\n");
    EXPECT_EQ(rig.booked(), QStringList{alfa(100)});
    EXPECT_EQ(rig.errorLog.lines.size(), 1);
}

TEST_F(BadInputTest, VeryLongLinesAreRejectedOrDroppedAndTheNextCodeIsBooked) {
    rig.receive(QByteArray(10000, '7') + "\r\n" + QByteArray(10000, 'X') + "\r\n" + alfa(100).toLatin1() + "\r\n");
    EXPECT_EQ(rig.booked(), QStringList{alfa(100)});
    ASSERT_EQ(rig.errorLog.lines.size(), 1);
    EXPECT_EQ(rig.errorLog.lines[0].size(), 10000 + 1 + QStringLiteral("Chybna delka: ").size());
}

TEST_F(BadInputTest, ALongLineArrivingByteByByteIsSearchedOnce) {
    for (int i = 0; i < 100000; ++i)
        rig.receive("5");
    EXPECT_EQ(rig.buffer.size(), 100000);
    rig.receive("\r\n" + alfa(100).toLatin1() + "\r\n");
    EXPECT_EQ(rig.booked(), QStringList{alfa(100)});
    EXPECT_EQ(rig.errorLog.lines.size(), 1);
    EXPECT_EQ(rig.counters.gPocetPrijmu(), (100000 + 1) % 31 == 0 ? 31 : (100000 + 1) % 31);
}

TEST_F(BadInputTest, AFloodOfCodesIsBookedWhole) {
    QByteArray flood;
    for (int i = 0; i < 100000; ++i)
        flood += alfa(i % 1000, i % 100000).toLatin1() + "\r\n";
    // In chunks that cut codes anywhere, as a fast line delivers them.
    for (qsizetype at = 0; at < flood.size(); at += 4093)
        rig.receive(flood.mid(at, 4093));
    EXPECT_EQ(rig.booked().size(), 100000);
    EXPECT_EQ(rig.counters.gPocetCteni(), 100000);
    EXPECT_TRUE(rig.buffer.isEmpty());
    EXPECT_TRUE(rig.errorLog.lines.isEmpty());
    EXPECT_EQ(rig.display.text().size(), flood.size());
}

} // namespace
} // namespace trv::test
