#include "closing/ClosingExports.h"
#include "closing/tests/ClosingFixture.h"

using namespace trv;
using namespace trv::test;

TEST_F(ClosingTest, As400FileAndNominalSummaryOfTheFirstType) {
    // A code of 20 characters has no characters 21 and 22.
    env.book(env.che, QStringLiteral("01111111111100100777"), 2);
    const auto dayFile = env.dataFile(QStringLiteral("260314007_2.txt"));
    ASSERT_TRUE(exportujAS400(dayFile, env.folder / "as400", *env.types, env.state.gNoRead).ok());

    EXPECT_EQ(env.bytes(env.folder / "as400" / "260314007_2.400"),
              env.stored(QStringLiteral("12345678901<000550001<123456789<4007_21\r\n"
                                        "OREAD<<OREAD<4007_21\r\n"
                                        "98765432109<001000002<987654321<4007_22\r\n"
                                        "55555555555<000550003<555555555<4007_21\r\n"
                                        "12345678901<000550001<123456789<4007_21\r\n"
                                        "OREAD<<OREAD<4007_21\r\n"
                                        "11111111111<0010077<111111111<4007_22\r\n")));
    // Beside the day data file, counted per nominal field in order of first occurrence, NOREAD left out.
    EXPECT_EQ(env.bytes(env.folder / "data" / "260314007_2.TXT"),
              env.stored(QStringLiteral("260314007_2;00003;00055\r\n260314007_2;00002;00100\r\n")));
}

TEST_F(ClosingTest, As400ExportOfAnEmptyFirstTypeWritesEmptyFiles) {
    env.che->Polozky = std::make_shared<CColPolozky>();
    const auto dayFile = env.dataFile(QStringLiteral("Barcode.txt"));
    ASSERT_TRUE(exportujAS400(dayFile, env.folder / "as400", *env.types, env.state.gNoRead).ok());
    EXPECT_EQ(env.bytes(env.folder / "as400" / "Barcode.400"), QByteArray());
    EXPECT_EQ(env.bytes(env.folder / "data" / "Barcode.TXT"), QByteArray());
}

TEST_F(ClosingTest, As400ExportIntoAFileWhereItsFolderBelongsFailsAndWritesNothing) {
    ASSERT_TRUE(TextFiles::writeAll(env.folder / "as400-file", QStringLiteral("x")).ok());
    const auto dayFile = env.dataFile(QStringLiteral("260314007_2.txt"));
    const Status exported = exportujAS400(dayFile, env.folder / "as400-file", *env.types, env.state.gNoRead);
    EXPECT_FALSE(exported.ok());
    EXPECT_TRUE(exported.message().contains(QStringLiteral("260314007_2.400")));
    EXPECT_FALSE(TextFiles::exists(env.folder / "data" / "260314007_2.TXT"));

    // A day data file named in capitals would be its own summary: it is never overwritten.
    const auto upper = env.dataFile(QStringLiteral("260314007_3.TXT"));
    ASSERT_TRUE(TextFiles::writeAll(upper, QStringLiteral("kody\r\n")).ok());
    EXPECT_FALSE(exportujAS400(upper, env.folder / "as400", *env.types, env.state.gNoRead).ok());
    EXPECT_EQ(env.bytes(upper), QByteArray("kody\r\n"));
}
