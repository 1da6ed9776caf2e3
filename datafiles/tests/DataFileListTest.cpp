#include "datafiles/DataFileList.h"

#include "datafiles/tests/DataFilesFixture.h"

using namespace trv;
using Key = DataFileList::Key;

namespace {

class DataFileListTest : public test::DataFilesFixture {};

} // namespace

TEST_F(DataFileListTest, KeysOfEveryNameFormAndTheSearchesOverThem) {
    for (const char* name :
         {"150121_001_01_1.txt", "150121001_1.txt", "1501210_2.txt", "150121.txt", "150122_002_AB_3_1_7.txt",
          "150121-150125_003_CD_1.txt", "Barcode.txt", "150123_TXT_01_1.txt", "150124_004_X_1_2.txt",
          "150125_005_X.txt"})
        writeData(name, "12345678\r\n");
    // The nominal summary beside a day file is not a day file.
    writeData("150121_001_01_1.TXT", "150121_001_01_1;00001;100\r\n");
    writeData("150121_001_01_1.vyc", "x\r\n");

    const auto loaded = DataFileList::load(data);
    ASSERT_TRUE(loaded.ok()) << loaded.message().toStdString();
    const DataFileList& list = loaded.value();
    EXPECT_EQ(list.names(),
              (strings({"150121-150125_003_CD_1.txt", "150121.txt", "150121001_1.txt", "1501210_2.txt",
                        "150121_001_01_1.txt", "150122_002_AB_3_1_7.txt", "150123_TXT_01_1.txt",
                        "150124_004_X_1_2.txt", "150125_005_X.txt", "Barcode.txt"})));

    struct Case {
        Key key;
        const char* text;
        bool whole;
        QStringList found;
    };
    const std::vector<Case> cases{
        {Key::Text, "150121", true, strings({"150121.txt"})},
        {Key::Text, "150121", false,
         strings(
             {"150121-150125_003_CD_1.txt", "150121.txt", "150121001_1.txt", "1501210_2.txt", "150121_001_01_1.txt"})},
        {Key::Text, "txt", false, list.names()},
        {Key::Text, "TXT", false, strings({"150123_TXT_01_1.txt"})},
        // The date part: the text before the first "_" of every name, whatever its form (of a cash-desk name
        // the cash desk too, of a hand-over name both dates); a name without "_" has none.
        {Key::Datum, "150121", false, strings({"150121_001_01_1.txt"})},
        {Key::Datum, "150121001", false, strings({"150121001_1.txt"})},
        {Key::Datum, "150121-150125", false, strings({"150121-150125_003_CD_1.txt"})},
        {Key::Datum, "1501210", false, strings({"1501210_2.txt"})},
        {Key::Datum, "150125", false, strings({"150125_005_X.txt"})},
        {Key::Datum, "150124", false, strings({"150124_004_X_1_2.txt"})},
        {Key::Sm, "001", false, strings({"150121_001_01_1.txt"})},
        {Key::Sm, "002", false, strings({"150122_002_AB_3_1_7.txt"})},
        {Key::Sm, "003", false, strings({"150121-150125_003_CD_1.txt"})},
        {Key::Sm, "01", false, strings({})},
        // The package name of the first week and a name of no known form.
        {Key::Sm, "004", false, strings({"150124_004_X_1_2.txt"})},
        {Key::Sm, "005", false, strings({"150125_005_X.txt"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.whole ? " whole" : ""));
        const DataFileList::Query q{c.key, QString::fromUtf8(c.text), c.whole};
        EXPECT_EQ(list.filter(q), c.found);
        const auto first = list.find(q);
        if (c.found.isEmpty())
            EXPECT_FALSE(first.has_value());
        else
            EXPECT_EQ(first, list.indexOf(c.found.front()));
    }

    // Finding on from a position: the next match at or after it, none past the last.
    const DataFileList::Query datum{Key::Datum, QStringLiteral("150121"), false};
    EXPECT_EQ(list.find(datum, 1), 4);
    EXPECT_EQ(list.find(datum, 4), 4);
    EXPECT_FALSE(list.find(datum, 5).has_value());
}

TEST_F(DataFileListTest, AMissingFolderIsAnErrorNamingIt) {
    const auto loaded = DataFileList::load(home / "chybi");
    ASSERT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.message().contains(QStringLiteral("chybi")));
}

// A day file whose name another machine wrote in Windows-1250 (0xE9, no valid UTF-8) is listed like any other:
// shown lossily, its path the one listed (its own bytes), its date read where the name has one.
TEST_F(DataFileListTest, ANameInAnotherEncodingIsListedAndOpensByItsOwnBytes) {
    writeData("241208_\xE9_1.txt", "12345678\r\n");
    writeData("150121_001_01_1.txt", "12345678\r\n");
    const auto loaded = DataFileList::load(data);
    ASSERT_TRUE(loaded.ok()) << loaded.message().toStdString();
    const DataFileList& list = loaded.value();
    EXPECT_EQ(list.names(), (QStringList{QStringLiteral("150121_001_01_1.txt"), QString::fromUtf8("241208_\xEF\xBF\xBD_1.txt")}));
    EXPECT_EQ(list.path(1), data / "241208_\xE9_1.txt");
    EXPECT_EQ(read(list.path(1)), QByteArray("12345678\r\n"));
    EXPECT_EQ(list.filter({Key::Text, QStringLiteral("241208"), false}), QStringList{list.names().at(1)});
    trv::test::removeOddNames(data);
}

TEST_F(DataFileListTest, TheListingRemovesWhatAStoppedChangeOfSmLeft) {
    writeData("150121_001_01_1.txt", "12345678\r\n");
    writeData("~150121_005_01_1.vyc.tmp", "x");
    writeData("~150121_005_01_1.TXT.tmp", "x");
    writeData("~jiny.tmp", "x");
    const auto loaded = DataFileList::load(data);
    ASSERT_TRUE(loaded.ok());
    EXPECT_FALSE(existsData("~150121_005_01_1.vyc.tmp"));
    EXPECT_FALSE(existsData("~150121_005_01_1.TXT.tmp"));
    EXPECT_TRUE(existsData("~jiny.tmp"));
}
