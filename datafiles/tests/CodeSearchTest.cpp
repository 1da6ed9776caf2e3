#include "datafiles/CodeSearch.h"

#include "datafiles/tests/DataFilesFixture.h"
#include "platform/Progress.h"

using namespace trv;

namespace {

class CodeSearchTest : public test::DataFilesFixture {
protected:
    void SetUp() override {
        DataFilesFixture::SetUp();
        writeData("150121_001_01_1.txt", "11111111\r\n  22222222  \r\n11111111\r\n\r\n   \r\n");
        writeData("150122_001_01_1.txt", "33333333\n11111111");
        writeData("150123_001_01_1.txt", "111111112\r\n011111111\r\n");
        writeData("150124_001_01_1.TXT", "11111111\r\n");                   // a lone day file in capitals is searched
        writeData("150121_001_01_1.TXT", "150121_001_01_1;11111111;1\r\n"); // a nominal summary is not
        writeData("150125_001_01_1.txt", "\xEF\xBB\xBF"
                                         "22222222\r\n"); // the byte-order mark is no part of a line
        writeData("150121_001_01_1.vyc", "11111111\r\n"); // nor a statement file
        writeData("150121_001_01_1.bal", "11111111\r\n");
    }
};

} // namespace

TEST_F(CodeSearchTest, EveryMatchingLineCountsAndNamesItsFile) {
    struct Case {
        const char* code;
        QStringList files;
    };
    const std::vector<Case> cases{
        {"11111111",
         strings({"150121_001_01_1.txt", "150121_001_01_1.txt", "150122_001_01_1.txt", "150124_001_01_1.TXT"})},
        {"22222222", strings({"150121_001_01_1.txt", "150125_001_01_1.txt"})},
        {"2222222", strings({})},
        {"11111111 ", strings({})}, // only the file's lines lose their blanks
        {"", strings({"150121_001_01_1.txt", "150121_001_01_1.txt"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const auto hits = CodeSearch::najdi(data, QString::fromLatin1(c.code));
        ASSERT_TRUE(hits.ok()) << hits.message().toStdString();
        EXPECT_EQ(hits.value().files, c.files);
        EXPECT_EQ(hits.value().count, c.files.size());
    }
}

// A lone CR ends a line of a day file as CR LF and LF do, as the day-file readers split it.
TEST_F(CodeSearchTest, ALoneCrEndsALineAsTheReadersSeeIt) {
    writeData("150126_001_01_1.txt", "44444444\r11111111\r\r22222222\r\n");
    struct Case {
        const char* code;
        qint64 inFile;
    };
    for (const Case& c : {Case{"11111111", 1}, Case{"44444444", 1}, Case{"22222222", 1}, Case{"", 1}}) {
        SCOPED_TRACE(c.code);
        const auto hits = CodeSearch::najdi(data, QString::fromLatin1(c.code));
        ASSERT_TRUE(hits.ok()) << hits.message().toStdString();
        EXPECT_EQ(hits.value().files.count(QStringLiteral("150126_001_01_1.txt")), c.inFile);
    }
}

TEST_F(CodeSearchTest, AMissingFolderIsAnError) {
    EXPECT_FALSE(CodeSearch::najdi(home / "chybi", QStringLiteral("1")).ok());
}

// A day file whose name another machine wrote in Windows-1250 (0xE9, no valid UTF-8) is searched like any other:
// it is opened by its own bytes and named lossily.
TEST_F(CodeSearchTest, ADayFileNamedInAnotherEncodingIsSearchedLikeAnyOther) {
    writeData("241208_\xE9_1.txt", "11111111\r\n");
    const auto hits = CodeSearch::najdi(data, QStringLiteral("11111111"));
    ASSERT_TRUE(hits.ok()) << hits.message().toStdString();
    EXPECT_EQ(hits.value().count, 5);
    EXPECT_EQ(hits.value().files.last(), QString::fromUtf8("241208_\xEF\xBF\xBD_1.txt"));
    trv::test::removeOddNames(data);
}

TEST_F(CodeSearchTest, AnUnreadableFileIsPassedByAndNamed) {
    // A file that opens but whose bytes cannot be read.
    std::filesystem::create_symlink("/proc/self/mem", data / "150121_002_01_1.txt");
    const auto hits = CodeSearch::najdi(data, QStringLiteral("33333333"));
    ASSERT_TRUE(hits.ok()) << hits.message().toStdString();
    EXPECT_EQ(hits.value().files, strings({"150122_001_01_1.txt"}));
    ASSERT_EQ(hits.value().unreadable.size(), 1);
    EXPECT_TRUE(hits.value().unreadable[0].contains(QStringLiteral("150121_002_01_1.txt")));
}

TEST_F(CodeSearchTest, TheOperatorCanCancelTheSearch) {
    struct Cancel final : Progress {
        bool step(qint64 done, qint64) override { return done < 1; }
    } cancel;
    const auto hits = CodeSearch::najdi(data, QStringLiteral("11111111"), &cancel);
    ASSERT_FALSE(hits.ok());
    EXPECT_EQ(hits.message(), Progress::cancelledText());
}
