#include "summaries/PeriodFiles.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodState.h"
#include "platform/Progress.h"
#include "summaries/tests/SummariesFixture.h"
#include "testsupport/TestFiles.h"

using namespace trv;
using namespace trv::test;

namespace {

QStringList selected(const AppState& state, const PeriodChoice& choice, PeriodOperation op = PeriodOperation::Vypocet) {
    const auto files = souboryObdobi(state, choice, op);
    EXPECT_TRUE(files.ok()) << files.message().toStdString();
    QStringList names;
    if (files.ok()) {
        for (const auto& f : files.value())
            names.append(f.name + (f.packageText.isEmpty() ? QString() : u'#' + f.packageText));
    }
    return names;
}

PeriodChoice january(const QString& sm = {}, const QString& oper = {}) {
    PeriodChoice c;
    c.datumOd = QDate(2015, 1, 1);
    c.datumDo = QDate(2015, 1, 31);
    c.sm = sm;
    c.oper = oper;
    return c;
}

TEST(PeriodFilesTest, DayFilesByDateAndCashDesk) {
    SummariesEnv env;
    for (const char* name : {"150121.txt", "150121007_3.txt", "150121008_1.txt", "141231007_1.txt", "150201007_1.txt",
                             "150115_101_AB_1.vyc", "150121.bal"})
        env.write(QString::fromLatin1(name), {SummariesEnv::alfa(50, 1)});
    // The AS400 nominal summary beside a day file is no day file.
    env.write(QStringLiteral("150121007_3.TXT"), {QStringLiteral("150121007_3;00050;1")});
    // A lone ".TXT" file of codes is a day file.
    env.write(QStringLiteral("150121009_1.TXT"), {SummariesEnv::alfa(50, 1)});

    EXPECT_EQ(selected(env.state, january()), (L({"150121007_3.txt", "150121008_1.txt", "150121009_1.TXT"})));
    // The second box filters day files by their cash desk; the SM box does not touch them.
    EXPECT_EQ(selected(env.state, january(QStringLiteral("101"), QStringLiteral("007"))), L({"150121007_3.txt"}));
    PeriodChoice reversed = january();
    std::swap(reversed.datumOd, reversed.datumDo);
    EXPECT_EQ(selected(env.state, reversed), QStringList{});
}

// A folder of a year's names is passed over asking as it goes whether to go on, in the listing and in the
// selection after it; told to stop, the selection fails as a cancelled load does.
TEST(PeriodFilesTest, AFolderOfManyNamesAsksAsItGoesAndStopsWhenTold) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    for (int i = 0; i < 3000; ++i)
        env.write(QStringLiteral("150115_%1_AB_1.vyc").arg(100 + i), {});
    PeriodChoice choice = january(QStringLiteral("99"));
    int asked = 0;
    const auto files = souboryObdobi(env.state, choice, PeriodOperation::Vypocet, [&] { return ++asked > 0; });
    ASSERT_TRUE(files.ok());
    EXPECT_TRUE(files.value().empty());
    EXPECT_GE(asked, 2 + 2); // the listing's entries, then the names tested

    for (const int stopAt : {1, asked}) {
        SCOPED_TRACE(stopAt);
        asked = 0;
        const auto stopped = souboryObdobi(env.state, choice, PeriodOperation::Vypocet, [&] { return ++asked < stopAt; });
        ASSERT_FALSE(stopped.ok());
        EXPECT_EQ(stopped.message(), Progress::cancelledText());
        EXPECT_EQ(asked, stopAt);
    }
}

TEST(PeriodFilesTest, StatementFilesBySmAndOperator) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    for (const char* name : {"150115_001_AB_3.vyc", "150115_002_cd_3.vyc", "150115_0012_AB_1.vyc",
                             "150201_001_AB_1.vyc", "150115_001_AB_3.txt", "150115_001_AB_4.VYC"})
        env.write(QString::fromLatin1(name), {});

    struct Case {
        const char* sm;
        const char* oper;
        std::vector<const char*> files;
    };
    const std::vector<Case> cases = {
        {"", "", {"150115_0012_AB_1.vyc", "150115_001_AB_3.vyc", "150115_002_cd_3.vyc"}},
        {"001", "", {"150115_001_AB_3.vyc"}},
        {"001, 002", "", {"150115_001_AB_3.vyc", "150115_002_cd_3.vyc"}},
        // Whole SMs only: "01" is a piece of "001", not an SM of the list.
        {"01", "", {}},
        {"", "CD", {"150115_002_cd_3.vyc"}},
        {"001 0012", "ab", {"150115_0012_AB_1.vyc", "150115_001_AB_3.vyc"}},
        // A filter of blanks names no SM and takes every file, as an empty one does; any notation separates.
        {" ", "", {"150115_0012_AB_1.vyc", "150115_001_AB_3.vyc", "150115_002_cd_3.vyc"}},
        {"001;002", "", {"150115_001_AB_3.vyc", "150115_002_cd_3.vyc"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sm) + "/" + c.oper);
        EXPECT_EQ(selected(env.state, january(QString::fromLatin1(c.sm), QString::fromLatin1(c.oper))), L(c.files));
    }
}

TEST(PeriodFilesTest, PackageAndWeekSelection) {
    SummariesEnv env;
    env.state.sw.gFBalikyTyden = true;
    for (const char* name : {"150121_101_X_1_2.txt", "150121_101_X_1_21_3.txt", "150121_101_X_2_1_3.txt",
                             "150121_101_X_1.txt", "140101_101_X_1_1_3.txt", "150121_101_X_1_1_3.vyc",
                             "150121_101_X_3_31_3_9.txt"})
        env.write(QString::fromLatin1(name), {});
    env.state.gMaxVycetkaDatumBaliku1 = QStringLiteral("150101");
    PeriodChoice c = january();
    c.balik = true;
    c.txtBalik = QStringLiteral("1");
    c.txtTyden = QStringLiteral("3");
    // The dates of the period play no part; the package text holds the wanted package somewhere.
    c.datumOd = c.datumDo = QDate(2020, 1, 1);
    EXPECT_EQ(selected(env.state, c), (L({"150121_101_X_1_21_3.txt#21", "150121_101_X_2_1_3.txt#1",
                                          "150121_101_X_3_31_3_9.txt#31"})));
    c.txtBalik = QStringLiteral("2");
    c.txtTyden = QStringLiteral("1");
    EXPECT_EQ(selected(env.state, c), L({"150121_101_X_1_2.txt#2"}));
    // The ticket list takes the package's day files too (it used to take none and report 0 saved).
    EXPECT_EQ(selected(env.state, c, PeriodOperation::Stravenky), L({"150121_101_X_1_2.txt#2"}));
}

TEST(PeriodFilesTest, CustomerModeHandOverDateAndSafeBags) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.state.sw.gFZakaznik = true;
    env.write(QStringLiteral("AB150121_101_X_1.vyc"), {});
    env.write(QStringLiteral("AB141231_101_X_1.vyc"), {});
    EXPECT_EQ(selected(env.state, january()), L({"150121_101_X_1.vyc"}));

    env.state.sw.gFZakaznik = false;
    env.state.sw.gFDatumOdvodu = true;
    env.write(QStringLiteral("141201-150115_101_X_1.vyc"), {});
    PeriodChoice c = january();
    c.datumVyc = true;
    // A file without a hand-over date stops the selection whatever its date.
    const auto stopped = souboryObdobi(env.state, c, PeriodOperation::Vypocet);
    ASSERT_FALSE(stopped.ok());
    EXPECT_EQ(stopped.message(), QStringLiteral("Soubor AB141231_101_X_1.vyc neobsahuje v názvu datum odvodu."));
    std::filesystem::remove(env.folder / "data" / "AB141231_101_X_1.vyc");
    std::filesystem::remove(env.folder / "data" / "AB150121_101_X_1.vyc");
    EXPECT_EQ(selected(env.state, c), L({"141201-150115_101_X_1.vyc"}));

    // Collected safe-bag mode: the computation reads the safe-bag folder's .sfb files of the period only.
    env.state.gSafeBag = true;
    env.write(QStringLiteral("150121101500.sfb"), {}, "sfb");
    env.write(QStringLiteral("150221101500.sfb"), {}, "sfb");
    env.write(QStringLiteral("150121_101_X_1.vyc"), {}, "sfb");
    EXPECT_EQ(selected(env.state, january()), L({"150121101500.sfb"}));
    EXPECT_EQ(selected(env.state, c, PeriodOperation::Duplicity), L({"141201-150115_101_X_1.vyc"}));
}

TEST(PeriodFilesTest, SafeBagFilesAreMarkedTakenOver) {
    SummariesEnv env;
    const auto sfb = env.folder / "sfb";
    env.write(QStringLiteral("150121101500.sfb"), {QStringLiteral("x")}, "sfb");
    env.write(QStringLiteral("150121101501.sfb"), {}, "sfb");
    env.write(QStringLiteral("150121101501.exp"), {QStringLiteral("older")}, "sfb");
    env.write(QStringLiteral("a.sfb"), {}, "sfb");
    env.write(QStringLiteral("150121101502.SFB"), {}, "sfb");

    const Status renamed = prejmenujSafeBag(sfb);
    EXPECT_TRUE(std::filesystem::exists(sfb / "150121101500.exp"));
    EXPECT_FALSE(std::filesystem::exists(sfb / "150121101500.sfb"));
    EXPECT_TRUE(std::filesystem::exists(sfb / "a.sfb"));
    EXPECT_TRUE(std::filesystem::exists(sfb / "150121101502.SFB"));
    // A taken name is never overwritten: that file keeps its name and the operator is told.
    EXPECT_TRUE(std::filesystem::exists(sfb / "150121101501.sfb"));
    EXPECT_EQ(env.bytes(sfb / "150121101501.exp"), QByteArray("older\r\n"));
    ASSERT_FALSE(renamed.ok());
    EXPECT_TRUE(renamed.message().contains(QStringLiteral("150121101501.sfb"))) << renamed.message().toStdString();
}

// Files whose names another machine wrote in Windows-1250 (0xE9, no valid UTF-8) are selected like any other of
// their kind, by the parts their names carry, each with its path as listed (its own bytes); a safe-bag file of
// such a name is taken over under its own bytes.
TEST(PeriodFilesTest, NamesInAnotherEncodingAreSelectedLikeAnyOther) {
    SummariesEnv env;
    const QString lossy = QString(QChar::ReplacementCharacter);
    test::writeFile(env.folder / "data" / "150121_101_\xE9_1.txt", "x\r\n");
    test::writeFile(env.folder / "data" / "150121_101_\xE9_1.vyc", "x\r\n");
    test::writeFile(env.folder / "data" / "\xE9_101_X_1.txt", "x\r\n");
    env.write(QStringLiteral("150121_101_AB_1.txt"), {});
    const auto days = souboryObdobi(env.state, january(), PeriodOperation::Vypocet);
    ASSERT_TRUE(days.ok()) << days.message().toStdString();
    ASSERT_EQ(days.value().size(), 2u);
    EXPECT_EQ(days.value()[1].name, QStringLiteral("150121_101_") + lossy + QStringLiteral("_1.txt"));
    EXPECT_EQ(days.value()[1].path, env.folder / "data" / "150121_101_\xE9_1.txt");
    EXPECT_EQ(env.bytes(days.value()[1].path), QByteArray("x\r\n"));

    env.state.sw.gFVycetky = true;
    EXPECT_EQ(selected(env.state, january(QStringLiteral("101"))), QStringList{QStringLiteral("150121_101_") + lossy +
                                                                               QStringLiteral("_1.vyc")});

    env.state.gSafeBag = true;
    const auto sfb = env.folder / "sfb";
    test::writeFile(sfb / "150121\xE9\xE9.sfb", "x\r\n");
    EXPECT_EQ(selected(env.state, january()), QStringList{QStringLiteral("150121") + lossy + lossy + QStringLiteral(".sfb")});
    ASSERT_TRUE(prejmenujSafeBag(sfb).ok());
    EXPECT_EQ(env.bytes(sfb / "150121\xE9\xE9.exp"), QByteArray("x\r\n"));
    trv::test::removeOddNames(env.folder);
}

TEST(PeriodStateTest, HalfMonthAndTypeEntries) {
    struct Case {
        QDate today;
        QDate expected;
    };
    for (const auto& c : std::vector<Case>{{QDate(2015, 3, 16), QDate(2015, 3, 15)},
                                           {QDate(2015, 3, 15), QDate(2015, 2, 28)},
                                           {QDate(2015, 1, 10), QDate(2014, 12, 31)},
                                           {QDate(2015, 5, 2), QDate(2015, 4, 30)},
                                           {QDate(2016, 3, 10), QDate(2016, 2, 29)}}) {
        EXPECT_EQ(vypocitejPerioduDelvity(c.today), c.expected) << c.today.toString(Qt::ISODate).toStdString();
    }

    SummariesEnv env;
    const auto entries = typeEntries(*env.state.gColStrav, QStringLiteral("Vše"));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].text, QStringLiteral("Vše"));
    EXPECT_EQ(entries[0].itemData, 0);
    EXPECT_EQ(entries[3].text, QStringLiteral("Gama Jidlo"));
    EXPECT_EQ(entries[3].itemData, 3);
    CColStrav one(env.state, env.prompts, env.clock);
    ASSERT_TRUE(one.Add(env.state.gColStrav->Item(1)).ok());
    const auto single = typeEntries(one, QStringLiteral("Vše"));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].itemData, 0);
}

} // namespace
