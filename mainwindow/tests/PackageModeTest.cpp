#include "ReaderRig.h"

#include "mainwindow/PackageFile.h"
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

namespace trv::test {
namespace {

class PackageModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.state.sw.gFBalicky = true;
        rig.state.gMezBalicku = 200;
        rig.state.gCisloBaliku = 1;
        rig.packageFile = rig.root / "260310_001.bal";
        rig.openPort();
    }

    static QByteArray line(const QString& code) { return code.toLatin1() + "\r\n"; }

    QString packageFileText() const {
        const auto bytes = TextFiles::readBytes(rig.packageFile);
        return bytes ? QString::fromLatin1(bytes.value()) : QStringLiteral("<missing>");
    }
    QString nextNumberStored() const {
        return ProfileFile::read(rig.root / "TRV7300.ini", QStringLiteral("Balickovani"),
                                 QStringLiteral("DalsiCisloBaliku"), QString());
    }

    ReaderRig rig;
};

TEST_F(PackageModeTest, ACodeFillingThePackageOpensTheDialogAndEachAnswerClosesItItsWay) {
    struct Case {
        int answer;
        QString file;       // the package file afterwards
        qint64 number;      // gCisloBaliku afterwards
        QString stored;     // DalsiCisloBaliku afterwards
        qint64 total;       // gSumaVse
        qint64 current;     // gSumaBalik
        QStringList booked; // codes still held in memory
        int receiptEnds;
    };
    const QString a = alfa(150);
    const QString b = alfa(100, 22222);
    const std::vector<Case> cases = {
        {1,
         QStringLiteral("#1\r\n") + a + QStringLiteral("\r\n") + b + QStringLiteral("\r\n"),
         2,
         QStringLiteral(" 2"),
         250,
         0,
         {},
         0},
        {2, QStringLiteral("<missing>"), 1, QStringLiteral("1"), 0, 0, {}, 0},
        {3,
         QStringLiteral("#1\r\n") + a + QStringLiteral("\r\n") + b + QStringLiteral("\r\n#2\r\n"),
         2,
         QStringLiteral(" 3"),
         250,
         0,
         {},
         1},
        {0, QStringLiteral("<missing>"), 1, QStringLiteral("1"), 250, 250, {a, b}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ReaderRig rig;
        rig.state.sw.gFBalicky = true;
        rig.state.gMezBalicku = 200;
        rig.packageFile = rig.root / "260310_001.bal";
        rig.openPort();
        rig.dialogAnswers = {c.answer};

        rig.receive(line(a));
        EXPECT_EQ(rig.package.gSumaBalik, Currency::fromInt(150));
        EXPECT_EQ(rig.dialogsShown, 0);
        EXPECT_TRUE(rig.pause.waits.empty());

        rig.receive(line(b));
        EXPECT_EQ(rig.dialogsShown, 1);
        EXPECT_EQ(rig.pause.waits, std::vector<qint64>{2000}); // the reader stops before the dialog
        const auto bytes = TextFiles::readBytes(rig.packageFile);
        EXPECT_EQ(bytes ? QString::fromLatin1(bytes.value()) : QStringLiteral("<missing>"), c.file);
        EXPECT_EQ(rig.state.gCisloBaliku, c.number);
        // Written with a leading blank, read back by the profile reader without it.
        EXPECT_TRUE(QString::fromLatin1(TextFiles::readBytes(rig.root / "TRV7300.ini").value())
                        .contains(QStringLiteral("DalsiCisloBaliku=") + c.stored));
        EXPECT_EQ(rig.package.gSumaVse, Currency::fromInt(c.total));
        EXPECT_EQ(rig.package.gSumaBalik, Currency::fromInt(c.current));
        EXPECT_EQ(rig.booked(), c.booked);
        EXPECT_EQ(rig.receiptEnds, c.receiptEnds);
        // Package mode does not advance the read counters.
        EXPECT_EQ(rig.counters.gPocetCteni(), 0);
        EXPECT_TRUE(rig.messages().isEmpty());
        // Answer 3 writes the next number's header last, a package without codes.
        if (c.answer == 1) {
            EXPECT_EQ(rig.package.gColKodyPoslBaliku.codes(), (QStringList{a, b}));
        }
    }
}

TEST_F(PackageModeTest, APackageLeftAboveItsLimitTakesNoMoreCodes) {
    rig.dialogAnswers = {0};
    rig.receive(line(alfa(250)));
    EXPECT_EQ(rig.dialogsShown, 1);
    rig.receive(line(alfa(10, 33333)) + line(alfa(20, 44444)));
    // The run ends at the first refused code; the rest waits for the next call.
    EXPECT_EQ(rig.messages(),
              QStringList{QStringLiteral("Stravenka ") + alfa(10, 33333) + QStringLiteral(" prekrocila mez.")});
    EXPECT_EQ(rig.booked(), QStringList{alfa(250)});
    EXPECT_EQ(rig.buffer.text(), QString::fromLatin1(line(alfa(20, 44444))));
    EXPECT_EQ(rig.pause.waits.size(), 2u);
}

TEST_F(PackageModeTest, ACodeOfThePackageSavedLastDiscardsTheCurrentPackage) {
    rig.package.gColKodyPoslBaliku.append(alfa(50));
    rig.receive(line(alfa(100, 11111)) + line(alfa(50)) + line(alfa(20, 22222)));
    EXPECT_EQ(rig.prompts.records().size(), 2u);
    EXPECT_EQ(rig.messages()[0], QStringLiteral("Pozor! ") + alfa(50) + QStringLiteral(" je v jinem balicku."));
    // The code waiting behind it goes with the package, and the operator is told so.
    EXPECT_TRUE(rig.messages()[1].endsWith(alfa(20, 22222)));
    EXPECT_TRUE(rig.booked().isEmpty());
    EXPECT_TRUE(rig.package.gSumaBalik.isZero());
    EXPECT_TRUE(rig.package.gSumaVse.isZero());
    EXPECT_TRUE(rig.package.gColKodyBaliku.isEmpty());
    EXPECT_TRUE(rig.buffer.isEmpty());
}

TEST_F(PackageModeTest, ACodeReadTwiceInOnePackageCountsOnceAndNoReadsAreDropped) {
    rig.receive(line(alfa(40)) + "NOREAD\r\n" + line(alfa(40)));
    EXPECT_EQ(rig.package.gSumaBalik, Currency::fromInt(40));
    EXPECT_EQ(rig.package.gSumaVse, Currency::fromInt(40));
    EXPECT_EQ(rig.booked(), (QStringList{alfa(40), alfa(40)}));
    EXPECT_EQ(rig.package.gColKodyBaliku.codes(), (QStringList{alfa(40), alfa(40)}));
    EXPECT_EQ(rig.counters.gPocetCteni(), 0);
}

// The value of all packages spans packages no longer in memory: a code that would carry it past the money type's
// range is refused and changes no sum.
TEST_F(PackageModeTest, ACodeTheValueOfAllPackagesCannotTakeIsRefused) {
    rig.package.gSumaVse = Currency::max() - Currency::fromInt(100);
    rig.receive(line(alfa(150)) + line(alfa(50, 22222)));
    EXPECT_EQ(
        rig.messages(),
        QStringList{QStringLiteral("Kód ") + alfa(150) +
                    QStringLiteral(" nelze přijmout: součet příjmu by překročil největší "
                                   "částku, kterou program umí sečíst (922\u00A0337\u00A0203\u00A0685\u00A0477,58 "
                                   "Kč).")});
    EXPECT_EQ(rig.pause.waits.size(), 1u);
    EXPECT_EQ(rig.booked(), QStringList{alfa(50, 22222)});
    EXPECT_EQ(rig.package.gColKodyBaliku.codes(), QStringList{alfa(50, 22222)});
    EXPECT_EQ(rig.package.gSumaBalik, Currency::fromInt(50));
    EXPECT_EQ(rig.package.gSumaVse, Currency::max() - Currency::fromInt(50));
}

TEST_F(PackageModeTest, TheValueIsTakenFromTheTypeTheCodeIsBookedTo) {
    // Two types of length 10: by length a 55... code is Alfa (value in digits 6-8); by the whole code it would be
    // Delta (value in digits 1-3), since Alfa's list refuses 55.
    ReaderRig two({{QStringLiteral("Alfa Stravenky"), 10, 6, 3}, {QStringLiteral("Delta Karty"), 10, 1, 3}});
    two.state.sw.gFBalicky = true;
    two.state.gMezBalicku = 1000;
    const auto alfaType = two.state.gColStrav->Item(1);
    alfaType->RozlisovaciCislo = QStringLiteral("55");
    alfaType->ObsahujeRC = 0;
    alfaType->delka1PoziceRC1 = 1;
    two.openPort();
    two.receive("5512310000\r\n");
    EXPECT_EQ(two.state.gColStrav->Item(1)->Polozky->count(), 1);
    EXPECT_EQ(two.package.gSumaBalik, Currency::fromInt(100));
}

TEST_F(PackageModeTest, AnUnrecognisedCodeChangesNoSum) {
    rig.state.sw.gFRozpoznaniKodem = true;
    const auto alfaType = rig.state.gColStrav->Item(1);
    alfaType->RozlisovaciCislo = QStringLiteral("99");
    alfaType->ObsahujeRC = 1;
    alfaType->delka1PoziceRC1 = 1;
    rig.receive(line(alfa(100)) + line(alfa(60, 99000)));
    EXPECT_EQ(rig.messages(), QStringList{QStringLiteral("Stravenka ") + alfa(100) + QStringLiteral(" nerozpoznana.")});
    EXPECT_EQ(rig.package.gSumaBalik, Currency::fromInt(60));
    EXPECT_EQ(rig.package.gColKodyBaliku.codes(), QStringList{alfa(60, 99000)});
}

TEST_F(PackageModeTest, CodesWaitingWhenThePackageIsSavedAreNamedAndTheDialogsOwnArrivalsToo) {
    rig.dialogAnswers = {1};
    rig.whileDialog = [&] { rig.receive(line(alfa(30, 77777))); };
    rig.receive(line(alfa(250)) + line(alfa(20, 66666)));
    EXPECT_EQ(packageFileText(), QStringLiteral("#1\r\n") + alfa(250) + QStringLiteral("\r\n"));
    ASSERT_EQ(rig.messages().size(), 1);
    EXPECT_TRUE(rig.messages()[0].contains(alfa(20, 66666)));
    EXPECT_TRUE(rig.messages()[0].contains(alfa(30, 77777)));
    EXPECT_TRUE(rig.booked().isEmpty());
    EXPECT_TRUE(rig.buffer.isEmpty());

    // After a cancelled package what came during the dialog goes on into the next one.
    ReaderRig other;
    other.state.sw.gFBalicky = true;
    other.state.gMezBalicku = 200;
    other.openPort();
    other.dialogAnswers = {2};
    other.whileDialog = [&] { other.receive(line(alfa(30, 77777))); };
    other.receive(line(alfa(250)));
    EXPECT_EQ(other.booked(), QStringList{alfa(30, 77777)});
    EXPECT_EQ(other.package.gSumaBalik, Currency::fromInt(30));
    EXPECT_EQ(other.package.gSumaVse, Currency::fromInt(30));
}

TEST_F(PackageModeTest, APackageFileThatCannotBeWrittenLosesNothing) {
    rig.packageFile = rig.root / "no such folder" / "x.bal";
    rig.dialogAnswers = {1};
    rig.receive(line(alfa(250)));
    ASSERT_EQ(rig.messages().size(), 1);
    EXPECT_TRUE(rig.messages()[0].contains(QStringLiteral("x.bal")));
    EXPECT_EQ(rig.booked(), QStringList{alfa(250)});
    EXPECT_EQ(rig.state.gCisloBaliku, 1);
    EXPECT_EQ(nextNumberStored(), QStringLiteral("1"));
    EXPECT_EQ(rig.package.gSumaBalik, Currency::fromInt(250));
}

TEST(PackageFileTest, PackagesFollowEachOtherInTheFile) {
    QTemporaryDir dir;
    const auto file = TextFiles::toPath(dir.path()) / "a.bal";
    PackageState package;
    package.gColKodyBaliku.append(QStringLiteral("111"));
    ASSERT_TRUE(UlozBalik(file, 1, QStringList{QStringLiteral("111"), QStringLiteral("222")}, package).ok());
    EXPECT_TRUE(package.gColKodyBaliku.isEmpty());
    ASSERT_TRUE(UlozBalik(file, 12, QStringList{}, package).ok());
    EXPECT_TRUE(package.gColKodyPoslBaliku.isEmpty());
    ASSERT_TRUE(UlozBalik(file, 13, QStringList{QStringLiteral("333")}, package).ok());
    EXPECT_EQ(package.gColKodyPoslBaliku.codes(), QStringList{QStringLiteral("333")});
    EXPECT_EQ(TextFiles::readBytes(file).value(), QByteArray("#1\r\n111\r\n222\r\n#12\r\n#13\r\n333\r\n"));

    // A file whose last line lost its line end still gets the header on a line of its own.
    const auto cut = TextFiles::toPath(dir.path()) / "b.bal";
    ASSERT_TRUE(TextFiles::writeBytes(cut, "#1\r\n111").ok());
    ASSERT_TRUE(UlozBalik(cut, 2, QStringList{QStringLiteral("222")}, package).ok());
    EXPECT_EQ(TextFiles::readBytes(cut).value(), QByteArray("#1\r\n111\r\n#2\r\n222\r\n"));
}

TEST(ReadCountersTest, ReceiveCounterCyclesAndReadCountersAreWide) {
    AppState state;
    ReadCounters counters(state);
    int changes = 0;
    QObject::connect(&counters, &ReadCounters::changed, [&] { ++changes; });
    std::vector<qint64> shown;
    for (int i = 0; i < 33; ++i) {
        counters.ZapocitejPrijem(1);
        shown.push_back(counters.gPocetPrijmu());
    }
    EXPECT_EQ(shown[0], 1);
    EXPECT_EQ(shown[30], 31);
    EXPECT_EQ(shown[31], 1);
    EXPECT_EQ(shown[32], 2);

    for (int i = 0; i < 40000; ++i)
        counters.ZapocitejCteni(i % 4 == 0 ? QStringLiteral("NOREAD") : QStringLiteral("123"));
    EXPECT_EQ(counters.gPocetCteni(), 40000);
    EXPECT_EQ(counters.gPocetBezNoRead(), 30000);
    counters.VynulujPocitadla();
    EXPECT_EQ(counters.gPocetCteni(), 0);
    EXPECT_EQ(counters.gPocetBezNoRead(), 0);
    EXPECT_EQ(counters.gPocetPrijmu(), 2); // the receive counter goes on
    EXPECT_EQ(changes, 33 + 40000 + 1);
}

} // namespace
} // namespace trv::test
