#include "datafiles/DataFileOps.h"

#include "core/CustomerSwitches.h"
#include "datafiles/tests/DataFilesFixture.h"

using namespace trv;

namespace {

class DataFileOpsTest : public test::DataFilesFixture {
protected:
    static constexpr const char* kDay = "150121_001_02_1.txt";
    static constexpr const char* kVyc = "150121_001_02_1.vyc";
    static constexpr const char* kNewDay = "150121_005_02_1.txt";
    static constexpr const char* kNewVyc = "150121_005_02_1.vyc";
    const QByteArray dayBytes = "12345678\r\n1234567890\r\n";
};

} // namespace

TEST_F(DataFileOpsTest, MezeryGivesBlanksUpToThirtyNine) {
    EXPECT_EQ(DataFileOps::mezery(0), QString());
    EXPECT_EQ(DataFileOps::mezery(5), QStringLiteral("     "));
    EXPECT_EQ(DataFileOps::mezery(60), QString(39, u' '));
    EXPECT_EQ(DataFileOps::mezery(-1), QString());
}

TEST_F(DataFileOpsTest, DeleteTakesTheStatementFileAndTheNominalSummaryAlong) {
    writeData(kDay, dayBytes);
    writeData(kVyc, "a;b;001\r\n");
    writeData("150121_001_02_1.TXT", "150121_001_02_1;00001;100\r\n");
    writeData("150121_001_03_1.txt", dayBytes);
    ASSERT_TRUE(DataFileOps::smaz(data / kDay).ok());
    EXPECT_FALSE(existsData(kDay));
    EXPECT_FALSE(existsData(kVyc));
    EXPECT_FALSE(existsData("150121_001_02_1.TXT"));
    EXPECT_TRUE(existsData("150121_001_03_1.txt"));

    // Without a statement file the day file goes alone.
    ASSERT_TRUE(DataFileOps::smaz(data / "150121_001_03_1.txt").ok());
    EXPECT_FALSE(existsData("150121_001_03_1.txt"));
    // A file that is gone already is an error naming it.
    const Status again = DataFileOps::smaz(data / kDay);
    ASSERT_FALSE(again.ok());
    EXPECT_TRUE(again.message().contains(QString::fromLatin1(kDay)));
}

TEST_F(DataFileOpsTest, ChangeOfSmRenamesTheFileAndRewritesTheSmFieldOfEachLayout) {
    struct Case {
        const char* layout;
        bool vycBezData;
        bool depo;
        QString separator;
        QByteArray before;
        QByteArray after;
    };
    const std::vector<Case> cases{
        {"default", false, false, QStringLiteral(";"),
         "  10.12.2026;150121;001;1;12345678;100;01  \r\n\r\n10.12.2026;150121;001;2;1234567890;123;01\r\n",
         "10.12.2026;150121;005;1;12345678;100;01\r\n10.12.2026;150121;005;2;1234567890;123;01\r\n"},
        {"without date", true, false, QStringLiteral(";"), "150121;001;1;12345678;100;01\n",
         "150121;005;1;12345678;100;01\r\n"},
        {"lone CR line ends", false, false, QStringLiteral(";"),
         "10.12.2026;150121;001;1;12345678;100;01\r\r10.12.2026;150121;001;2;1234567890;123;01\r",
         "10.12.2026;150121;005;1;12345678;100;01\r\n10.12.2026;150121;005;2;1234567890;123;01\r\n"},
        {"depot first", true, true, QStringLiteral(";"), "D1;150121;E7;001;1;12345678;100;01\r\n",
         "D1;150121;E7;005;1;12345678;100;01\r\n"},
        {"configured separator", false, false, QStringLiteral("|"), "10.12.2026|150121|001|1|12345678|100|01\r\n",
         "10.12.2026|150121|005|1|12345678|100|01\r\n"},
        // The blank separator with no depot typed: the empty first field and an empty last field are fields.
        {"blank separator, empty fields", true, true, QStringLiteral(" "),
         " 150121 E7 001 1 1234567890 50.00 OP\r\n 150121 E7 001 1 1234567890 50.00 \r\n",
         " 150121 E7 005 1 1234567890 50.00 OP\r\n 150121 E7 005 1 1234567890 50.00 \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        writeData(kDay, dayBytes);
        writeData(kVyc, c.before);
        CustomerSwitches sw;
        sw.gFVycBezData = c.vycBezData;
        sw.gFDepo = c.depo;
        const auto renamed = DataFileOps::zmenSM(data, QString::fromLatin1(kDay), QStringLiteral("005"), c.separator,
                                                 DataFileOps::smField(sw));
        ASSERT_TRUE(renamed.ok()) << renamed.message().toStdString();
        EXPECT_EQ(renamed.value(), QString::fromLatin1(kNewDay));
        EXPECT_FALSE(existsData(kDay));
        EXPECT_FALSE(existsData(kVyc));
        EXPECT_EQ(readData(kNewDay), dayBytes);
        EXPECT_EQ(readData(kNewVyc), c.after);
        std::filesystem::remove(data / kNewDay);
        std::filesystem::remove(data / kNewVyc);
    }
    // Without a statement file only the day file is renamed.
    writeData(kDay, dayBytes);
    ASSERT_TRUE(
        DataFileOps::zmenSM(data, QString::fromLatin1(kDay), QStringLiteral("005"), QStringLiteral(";"), 2).ok());
    EXPECT_EQ(readData(kNewDay), dayBytes);
    EXPECT_FALSE(existsData(kNewVyc));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data), {}), 1);
}

TEST_F(DataFileOpsTest, ChangeOfSmRefusalsLeaveBothFilesAsTheyWere) {
    const QByteArray vyc = "10.12.2026;150121;001;1;12345678;100;01\r\n";
    struct Case {
        const char* why;
        QString name;
        QString sm;
        QByteArray vycBytes;
        const char* occupied; // a file of the target name already there
        const char* inMessage;
    };
    const std::vector<Case> cases{
        {"no selection", QString(), QStringLiteral("005"), vyc, nullptr, "není vybrán"},
        {"empty SM", QString::fromLatin1(kDay), QString(), vyc, nullptr, "není zadáno"},
        {"blank around", QString::fromLatin1(kDay), QStringLiteral(" 005"), vyc, nullptr, "mezerou"},
        {"slash", QString::fromLatin1(kDay), QStringLiteral("0/5"), vyc, nullptr, "lomítko"},
        {"backslash", QString::fromLatin1(kDay), QStringLiteral("0\\5"), vyc, nullptr, "lomítko"},
        {"underscore", QString::fromLatin1(kDay), QStringLiteral("0_5"), vyc, nullptr, "„_“"},
        {"separator", QString::fromLatin1(kDay), QStringLiteral("0;5"), vyc, nullptr, "oddělovač"},
        {"control", QString::fromLatin1(kDay), QStringLiteral("0\t5"), vyc, nullptr, "řídicí"},
        {"one underscore", QStringLiteral("150121001_1.txt"), QStringLiteral("005"), vyc, nullptr, "neobsahuje"},
        {"the same SM", QString::fromLatin1(kDay), QStringLiteral("001"), vyc, nullptr, "středisko se nemění"},
        {"short record", QString::fromLatin1(kDay), QStringLiteral("005"), vyc + "10.12.2026;150121\r\n", nullptr,
         "záznam 2"},
        {"short record after a lone CR", QString::fromLatin1(kDay), QStringLiteral("005"),
         "10.12.2026;150121;001;1;12345678;100;01\r10.12.2026;150121\r", nullptr, "záznam 2"},
        {"day file exists", QString::fromLatin1(kDay), QStringLiteral("005"), vyc, kNewDay, "již existuje"},
        {"statement file exists", QString::fromLatin1(kDay), QStringLiteral("005"), vyc, kNewVyc, "již existuje"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::filesystem::remove_all(data);
        std::filesystem::create_directories(data);
        writeData(kDay, dayBytes);
        writeData(kVyc, c.vycBytes);
        writeData("150121001_1.txt", dayBytes);
        writeData("150121001_1.vyc", c.vycBytes);
        if (c.occupied != nullptr)
            writeData(c.occupied, "obsazeno");
        const auto files = std::distance(std::filesystem::directory_iterator(data), {});

        const auto renamed = DataFileOps::zmenSM(data, c.name, c.sm, QStringLiteral(";"), 2);
        ASSERT_FALSE(renamed.ok());
        EXPECT_TRUE(renamed.message().contains(QString::fromUtf8(c.inMessage))) << renamed.message().toStdString();
        EXPECT_EQ(readData(kDay), dayBytes);
        EXPECT_EQ(readData(kVyc), c.vycBytes);
        EXPECT_EQ(readData("150121001_1.txt"), dayBytes);
        if (c.occupied != nullptr) {
            EXPECT_EQ(readData(c.occupied), "obsazeno");
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data), {}), files);
    }
}

TEST_F(DataFileOpsTest, ANewStatementFileThatCannotBeWrittenLeavesBothFilesAsTheyWere) {
    const QByteArray vyc = "10.12.2026;150121;001;1;12345678;100;01\r\n";
    writeData(kDay, dayBytes);
    writeData(kVyc, vyc);
    // The staging file's place is taken by a folder: the new statement file cannot be written.
    std::filesystem::create_directories(data / "~150121_005_02_1.vyc.tmp");
    const auto renamed = DataFileOps::zmenSM(data, QString::fromLatin1(kDay), QStringLiteral("005"),
                                             QStringLiteral(";"), 2);
    ASSERT_FALSE(renamed.ok());
    EXPECT_EQ(readData(kDay), dayBytes);
    EXPECT_EQ(readData(kVyc), vyc);
    EXPECT_FALSE(existsData(kNewDay));
    EXPECT_FALSE(existsData(kNewVyc));
}

// A file whose name another machine wrote in Windows-1250 stops nothing: the change of SM of another file works
// beside it; its own change of SM, which would rewrite its name, is refused naming it; delete removes it and its
// statement file by their own bytes.
TEST_F(DataFileOpsTest, AFileNamedInAnotherEncodingStopsNothing) {
    writeData(kDay, dayBytes);
    writeData("150121_001_\xE9_1.txt", dayBytes);
    writeData("150121_001_\xE9_1.vyc", "a;b;001\r\n");
    ASSERT_TRUE(DataFileOps::zmenSM(data, QString::fromLatin1(kDay), QStringLiteral("005"), QStringLiteral(";"), 2).ok());
    EXPECT_TRUE(existsData(kNewDay));

    const QString shown = QString::fromUtf8("150121_001_\xEF\xBF\xBD_1.txt");
    const auto refused = DataFileOps::zmenSM(data, shown, QStringLiteral("005"), QStringLiteral(";"), 2);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.message().contains(shown)) << refused.message().toStdString();
    EXPECT_TRUE(existsData("150121_001_\xE9_1.txt"));

    ASSERT_TRUE(DataFileOps::smaz(data / "150121_001_\xE9_1.txt").ok());
    EXPECT_FALSE(existsData("150121_001_\xE9_1.txt"));
    EXPECT_FALSE(existsData("150121_001_\xE9_1.vyc"));
    trv::test::removeOddNames(data);
}

TEST_F(DataFileOpsTest, ChangeOfSmTakesANameOfNoKnownFormAndTheNominalSummaryAlong) {
    // Every name form with an SM, a package name of the first week and a name of no known form among them, carries
    // it between its first two "_".
    for (const char* name : {"150121_001_X_1_2.txt", "150121_001_X.txt", "150121-150125_001_X_1.txt",
                             "150121_001_X_1_2_3.txt", "20150121_001_X_1.txt"}) {
        SCOPED_TRACE(name);
        writeData(name, dayBytes);
        const auto renamed =
            DataFileOps::zmenSM(data, QString::fromLatin1(name), QStringLiteral("005"), QStringLiteral(";"), 2);
        ASSERT_TRUE(renamed.ok()) << renamed.message().toStdString();
        EXPECT_EQ(renamed.value(), QString::fromLatin1(name).replace(QStringLiteral("_001_"), QStringLiteral("_005_")));
        EXPECT_EQ(read(data / renamed.value().toStdString()), dayBytes);
    }

    writeData(kDay, dayBytes);
    writeData(kVyc, "10.12.2026;150121;001;1;12345678;100;01\r\n");
    writeData("150121_001_02_1.TXT", "150121_001_02_1;00001;100\r\n150121_001_02_1;00002;50\r\n");
    // A staged file a killed change left behind goes with the next change.
    writeData("~150121_007_02_1.vyc.tmp", "x");
    const auto renamed =
        DataFileOps::zmenSM(data, QString::fromLatin1(kDay), QStringLiteral("005"), QStringLiteral(";"), 2);
    ASSERT_TRUE(renamed.ok()) << renamed.message().toStdString();
    EXPECT_FALSE(existsData("150121_001_02_1.TXT"));
    EXPECT_EQ(readData("150121_005_02_1.TXT"), "150121_005_02_1;00001;100\r\n150121_005_02_1;00002;50\r\n");
    EXPECT_EQ(readData(kNewVyc), "10.12.2026;150121;005;1;12345678;100;01\r\n");
    EXPECT_FALSE(existsData("~150121_007_02_1.vyc.tmp"));
}

TEST_F(DataFileOpsTest, ASummaryThatCannotBeStagedOrIsInTheWayLeavesEveryFileAsItWas) {
    const QByteArray vyc = "10.12.2026;150121;001;1;12345678;100;01\r\n";
    const QByteArray summary = "150121_001_02_1;00001;100\r\n";
    for (const char* blocker : {"~150121_005_02_1.TXT.tmp", "150121_005_02_1.TXT"}) {
        SCOPED_TRACE(blocker);
        std::filesystem::remove_all(data);
        std::filesystem::create_directories(data / blocker);
        writeData(kDay, dayBytes);
        writeData(kVyc, vyc);
        writeData("150121_001_02_1.TXT", summary);
        const auto renamed =
            DataFileOps::zmenSM(data, QString::fromLatin1(kDay), QStringLiteral("005"), QStringLiteral(";"), 2);
        ASSERT_FALSE(renamed.ok());
        EXPECT_EQ(readData(kDay), dayBytes);
        EXPECT_EQ(readData(kVyc), vyc);
        EXPECT_EQ(readData("150121_001_02_1.TXT"), summary);
        EXPECT_FALSE(existsData(kNewDay));
        EXPECT_FALSE(existsData(kNewVyc));
        EXPECT_FALSE(existsData("~150121_005_02_1.vyc.tmp"));
    }
}
