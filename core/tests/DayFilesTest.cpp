#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "core/SmList.h"
#include "core/StatementLine.h"

#include "platform/TextFiles.h"
#include "testsupport/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;
namespace fs = std::filesystem;

namespace {

std::string u8(const QString& s) {
    return s.toStdString();
}

using Form = DayFileName::Form;

TEST(DayFileNameTest, EveryFormBuildsAndParsesBack) {
    struct Case {
        QString name;
        DayFileName parts;
    };
    auto sm = [](QString d, QString s, QString o, QString p) {
        DayFileName n;
        n.form = Form::Sm;
        n.datum = d, n.sm = s, n.operator_ = o, n.poradi = p;
        return n;
    };
    DayFileName desk;
    desk.form = Form::CashDesk, desk.datum = QStringLiteral("241209"), desk.pokladna = QStringLiteral("007"),
    desk.poradi = QStringLiteral("2");
    DayFileName week = sm(QStringLiteral("141215"), QStringLiteral("123"), QStringLiteral("AB"), QStringLiteral("1"));
    week.form = Form::PackageWeek, week.balik = QStringLiteral("21"), week.tyden = QStringLiteral("3");
    DayFileName handOver =
        sm(QStringLiteral("141215"), QStringLiteral("123"), QStringLiteral("AB"), QStringLiteral("12"));
    handOver.form = Form::HandOver, handOver.datumOdvodu = QStringLiteral("141130");
    // The package name of the first week carries no week part.
    DayFileName package = sm(QStringLiteral("150121"), QStringLiteral("101"), QStringLiteral("X"), QStringLiteral("1"));
    package.form = Form::Package, package.balik = QStringLiteral("2"), package.tyden = QStringLiteral("1");
    const std::vector<Case> cases = {
        {QStringLiteral("241209007_2.txt"), desk},
        {QStringLiteral("141215_123_AB_1.txt"),
         sm(QStringLiteral("141215"), QStringLiteral("123"), QStringLiteral("AB"), QStringLiteral("1"))},
        {QStringLiteral("141215_1234_Nováková_15.txt"),
         sm(QStringLiteral("141215"), QStringLiteral("1234"), QStringLiteral("Nováková"), QStringLiteral("15"))},
        {QStringLiteral("20141215_C0042_AB_1.txt"),
         sm(QStringLiteral("20141215"), QStringLiteral("C0042"), QStringLiteral("AB"), QStringLiteral("1"))},
        {QStringLiteral("141215_123_AB_1_21_3.txt"), week},
        {QStringLiteral("141215-141130_123_AB_12.txt"), handOver},
        {QStringLiteral("150121_101_X_1_2.txt"), package},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u8(c.name));
        const auto built = c.parts.build();
        ASSERT_TRUE(built.ok()) << u8(built.message());
        EXPECT_EQ(built.value(), c.name);
        EXPECT_EQ(DayFileName::parse(c.name), std::optional(c.parts));
    }
    EXPECT_EQ(DayFileName::parse(QStringLiteral("141215_123_AB_1.TXT"))->sm, QStringLiteral("123"));
}

TEST(DayFileNameTest, NamesOfNoFormAndPartsThatCannotStandInANameAreRefused) {
    for (const char* name :
         {"Barcode.txt", "141215.bal", "141215_123_AB.txt", "141215_123_AB_1_.txt", "141215_123_AB_.txt",
          "1-2-3_1_2_3.txt", "141215-_1_2_3.txt", "241209007_.txt", "141215_123_AB_1.vyc", "a_b_c_d_e_f_g.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(DayFileName::parse(QString::fromUtf8(name)), std::nullopt);
    }
    DayFileName n;
    n.datum = QStringLiteral("141215"), n.sm = QStringLiteral("123"), n.operator_ = QStringLiteral("AB"),
    n.poradi = QStringLiteral("1");
    struct Bad {
        QString DayFileName::*part;
        QString value;
    };
    const std::vector<Bad> bad = {
        {&DayFileName::sm, QStringLiteral("1_2")},         {&DayFileName::operator_, QStringLiteral("A_B")},
        {&DayFileName::poradi, QStringLiteral("1_")},      {&DayFileName::poradi, QString()},
        {&DayFileName::datum, QStringLiteral("14-1215")},  {&DayFileName::sm, QStringLiteral("../x")},
        {&DayFileName::operator_, QStringLiteral("a\\b")}, {&DayFileName::operator_, QStringLiteral("a\tb")},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(u8(b.value));
        DayFileName m = n;
        m.*b.part = b.value;
        EXPECT_FALSE(m.build().ok());
    }
}

TEST(DayFileNameTest, KeysOfEveryNameKnownFormOrNot) {
    struct Case {
        const char* name;
        std::optional<QString> datum, sm, oper, balik, tyden;
        std::optional<QString> withSm; // the name with SM "9"
    };
    const auto s = [](const char* t) { return std::optional<QString>(QString::fromUtf8(t)); };
    const std::optional<QString> none;
    const std::vector<Case> cases = {
        {"141215_123_AB_1.txt", s("141215"), s("123"), s("AB"), none, none, s("141215_9_AB_1.txt")},
        {"141215_123_AB_1.TXT", s("141215"), s("123"), s("AB"), none, none, s("141215_9_AB_1.TXT")},
        {"150121_101_X_1_2.txt", s("150121"), s("101"), s("X"), s("2"), s("1"), s("150121_9_X_1_2.txt")},
        {"150121_101_X_1_21_3.txt", s("150121"), s("101"), s("X"), s("21"), s("3"), s("150121_9_X_1_21_3.txt")},
        // The date part is the text before the first "_": both dates of a hand-over name, the cash desk too.
        {"141215-141130_123_AB_12.txt", s("141215-141130"), s("123"), s("AB"), none, none,
         s("141215-141130_9_AB_12.txt")},
        {"241209007_2.txt", s("241209007"), none, none, none, none, none},
        // Names of no known form: the parts by position where the name has them.
        {"1501210_2.txt", s("1501210"), none, none, none, none, none},
        {"150121.txt", none, none, none, none, none, none},
        {"150121_101_X.txt", s("150121"), s("101"), none, none, none, s("150121_9_X.txt")},
        {"150121_101_X_1.vyc", s("150121"), s("101"), s("X"), none, none, s("150121_9_X_1.vyc")},
        {"150121__X_1_2.txt", s("150121"), s(""), s("X"), s("2"), s("1"), s("150121_9_X_1_2.txt")},
        {"a_b_c_d_e_f_g.txt", s("a"), s("b"), s("c"), s("e"), s("f"), s("a_9_c_d_e_f_g.txt")},
        {"1-2-3_101_X_1.txt", s("1-2-3"), s("101"), s("X"), none, none, s("1-2-3_9_X_1.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto k = DayFileName::keys(QString::fromUtf8(c.name));
        EXPECT_EQ(k.datum, c.datum);
        EXPECT_EQ(k.sm, c.sm);
        EXPECT_EQ(k.operator_, c.oper);
        EXPECT_EQ(k.balik, c.balik);
        EXPECT_EQ(k.tyden, c.tyden);
        EXPECT_EQ(DayFileName::withSm(QString::fromUtf8(c.name), QStringLiteral("9")), c.withSm);
    }
}

class DayDataFilesTest : public ::testing::Test {
protected:
    fs::path write(const char* name, const QByteArray& bytes) {
        const fs::path p = TextFiles::toPath(m_dir.filePath(QString::fromUtf8(name)));
        EXPECT_TRUE(TextFiles::writeBytes(p, bytes).ok());
        return p;
    }
    fs::path folder() const { return TextFiles::toPath(m_dir.path()); }
    QTemporaryDir m_dir;
};

TEST_F(DayDataFilesTest, NominalSummariesAreNotDayFiles) {
    write("260314007_2.txt", "1234567890123\r\n");
    write("260314007_2.TXT", "260314007_2;00001;00055\r\n");
    // Alone, but every line in the summary's form.
    write("260314007_3.TXT", "260314007_3;00002;00100\r\n260314007_3;00001;00055\r\n");
    // A day file saved in capitals on another machine: its lines are codes.
    write("260314008_1.TXT", "1234567890123\r\n");
    write("Barcode.txt", "");
    write("260314007_2.vyc", "x");
    std::filesystem::create_directory(folder() / "folder.txt");

    const auto listed = DayDataFiles::list(folder());
    ASSERT_TRUE(listed.ok());
    QStringList names;
    for (const auto& p : listed.value())
        names << QString::fromStdU16String(p.filename().u16string());
    EXPECT_EQ(names, (QStringList{QStringLiteral("260314007_2.txt"), QStringLiteral("260314008_1.TXT"),
                                  QStringLiteral("Barcode.txt")}));
    EXPECT_FALSE(DayDataFiles::isDayDataFile(folder() / "260314007_2.TXT"));
    EXPECT_TRUE(DayDataFiles::isDayDataFile(folder() / "260314007_2.txt"));
    EXPECT_EQ(DayDataFiles::summaryOf(folder() / "260314007_2.txt"), folder() / "260314007_2.TXT");
    EXPECT_EQ(DayDataFiles::summaryOf(folder() / "Barcode.txt"), std::nullopt);
    EXPECT_FALSE(DayDataFiles::list(folder() / "missing").ok());
}

// A day file whose name another machine wrote in Windows-1250 (the bytes 241208_ 0xE9 _1.txt, no valid UTF-8) is
// listed like any other: its path as listed opens its own bytes, its name decodes lossily, and a nominal summary
// under such a name is still told by its twin.
TEST_F(DayDataFilesTest, ANameInAnotherEncodingIsListedLikeAnyOther) {
    const fs::path odd = folder() / "241208_\xE9_1.txt";
    ASSERT_TRUE(TextFiles::writeBytes(odd, "1234567890123\r\n").ok());
    ASSERT_TRUE(TextFiles::writeBytes(folder() / "241208_\xE9_1.TXT", "241208_\xE9_1;00001;00055\r\n").ok());
    write("241208_101_AB_1.txt", "1234567890123\r\n");

    const auto listed = DayDataFiles::entries(folder());
    ASSERT_TRUE(listed.ok()) << listed.message().toStdString();
    ASSERT_EQ(listed.value().size(), 2u);
    EXPECT_EQ(listed.value()[0].name, QStringLiteral("241208_101_AB_1.txt"));
    EXPECT_EQ(listed.value()[1].name, QString::fromUtf8("241208_\xEF\xBF\xBD_1.txt"));
    EXPECT_EQ(listed.value()[1].path(), odd);
    const auto read = TextFiles::readLines(listed.value()[1].path());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), QStringList{QStringLiteral("1234567890123")});
    EXPECT_EQ(DayDataFiles::summaryOf(odd), folder() / "241208_\xE9_1.TXT");
    EXPECT_TRUE(DayDataFiles::isDayDataFile(odd));
    EXPECT_EQ(DayDataFiles::list(folder()).value().size(), 2u);
    trv::test::removeOddNames(folder());
}

TEST(SmListTest, WholeEntriesSplitAtAnythingButLettersAndDigits) {
    const QStringList three{QStringLiteral("123"), QStringLiteral("456"), QStringLiteral("789")};
    for (const char* notation : {" 123, 456 ,789", "123;456;789;", "123 456\t789", "123/456|789", "[123]-456.789"}) {
        SCOPED_TRACE(notation);
        EXPECT_EQ(SmList::parse(QString::fromUtf8(notation)), three);
    }
    EXPECT_EQ(SmList::parse(QStringLiteral("Č1,ž2")), (QStringList{QStringLiteral("Č1"), QStringLiteral("ž2")}));
    struct Case {
        const char* list;
        const char* sm;
        bool in;
    };
    for (const Case& c : std::vector<Case>{{"123,456", "23", false},
                                           {"123,456", "456", true},
                                           {"123,456", " 123 ", true},
                                           {"a1,b2", "B2", true},
                                           {"101;205", "205", true},
                                           {"101;205", "20", false},
                                           {"", "", false},
                                           {"X", "1", false}}) {
        SCOPED_TRACE(std::string(c.list) + " / " + c.sm);
        EXPECT_EQ(SmList::contains(QString::fromUtf8(c.list), QString::fromUtf8(c.sm)), c.in);
    }
    EXPECT_EQ(SmList::join({QStringLiteral("1"), QStringLiteral("2")}), QStringLiteral("1,2,"));

    // A filter that names no SM takes every SM, whether empty or blank.
    for (const char* text : {"", " ", " , "}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(SmList::Filter(QString::fromUtf8(text)).takesAll());
        EXPECT_TRUE(SmList::Filter(QString::fromUtf8(text)).accepts(QStringLiteral("101")));
    }
    EXPECT_TRUE(SmList::Filter(QStringLiteral(" 101 ")).accepts(QStringLiteral("101")));
    EXPECT_FALSE(SmList::Filter(QStringLiteral(" 101 ")).accepts(QStringLiteral("10")));
}

TEST(StatementLineTest, SplitsAtTheSeparatorThenTrims) {
    struct Case {
        const char* line;
        const char* sep;
        std::optional<std::vector<const char*>> fields;
    };
    const std::vector<Case> cases = {
        {"141215;141215;123;1;1234567890123;55,00;AB", ";",
         std::vector<const char*>{"141215", "141215", "123", "1", "1234567890123", "55,00", "AB"}},
        {" a | b |c", "|", std::vector<const char*>{"a", "b", "c"}},
        {" 141215 1 X", " ", std::vector<const char*>{"", "141215", "1", "X"}},
        {"   ", ";", std::nullopt},
        {"", ";", std::nullopt},
        {"a;;b", ";", std::vector<const char*>{"a", "", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::optional<QStringList> expected;
        if (c.fields) {
            expected.emplace();
            for (const char* f : *c.fields)
                expected->append(QString::fromUtf8(f));
        }
        EXPECT_EQ(StatementLine::fields(QString::fromUtf8(c.line), QString::fromUtf8(c.sep)), expected);
        // The byte reader gives each field the list reader gives, and nothing past the last one.
        const int count = expected ? int(expected->size()) : 0;
        for (int position = 1; position <= count + 1; ++position) {
            const auto field = StatementLine::fieldAt(c.line, c.sep, position);
            if (position <= count)
                EXPECT_EQ(QString::fromUtf8(field.value_or("<none>")), expected->at(position - 1)) << position;
            else
                EXPECT_EQ(field, std::nullopt) << position;
        }
    }
    EXPECT_EQ(StatementLine::fieldsWith(QStringLiteral("a;b"), QStringLiteral(";"), 5), std::nullopt);
    EXPECT_TRUE(StatementLine::fieldsWith(QStringLiteral("a;b;c;d;e"), QStringLiteral(";"), 5).has_value());
}

} // namespace
