#include "summaries/DaySummary.h"
#include "platform/Printer.h"
#include "platform/Shell.h"
#include "summaries/Deductions.h"
#include "summaries/tests/SummariesFixture.h"

using namespace trv;
using namespace trv::test;

namespace {

// The statement files of 21 January 2015 (SMs 001 and 002) and one of the day before.
struct DayData : SummariesEnv {
    DayData() {
        state.sw.gFVycetky = true;
        write(QStringLiteral("150121_001_AB_1.vyc"),
              records(QStringLiteral("150121"), QStringLiteral("001"), QStringLiteral("AB"),
                      {alfa(50, 1), alfa(50, 2), alfa(100, 3), alfa(50, 1), alfa(9, 4)}));
        write(QStringLiteral("150121_002_CD_1.vyc"),
              records(QStringLiteral("150121"), QStringLiteral("002"), QStringLiteral("CD"),
                      {beta(100, 1), alfa(50, 2), gama("02", 1)}) +
                  QStringList{QStringLiteral("150121;150121;002")});
        write(QStringLiteral("150120_001_AB_1.vyc"),
              records(QStringLiteral("150120"), QStringLiteral("001"), QStringLiteral("AB"), {alfa(200, 9)}));
        write(QStringLiteral("150121_001_AB_2.VYC"),
              records(QStringLiteral("150121"), QStringLiteral("001"), QStringLiteral("AB"), {alfa(300, 9)}));
    }
};

QString lineOf(const std::vector<PrintRun>& runs, int y) {
    QString line;
    for (const auto& r : runs) {
        if (r.y == y)
            line += r.text;
    }
    return line;
}

TEST(DaySummaryTest, PreviewOfTheDayEachCodeOnce) {
    DayData env;
    DaySummary day(env.services());
    ASSERT_TRUE(day.vypocet({QDate(2015, 1, 21), {}, {}}).ok());
    const QString expected = QStringLiteral("Alfa Stravenka\r\n"
                                            "Hodnota     Počet              Celkem\r\n"
                                            "   9,00         1            9,00 Kč\r\n"
                                            "  50,00         2          100,00 Kč\r\n"
                                            " 100,00         1          100,00 Kč\r\n"
                                            "____________________________________\r\n"
                                            "Celková částka:            209,00 Kč\r\n"
                                            "Celkový počet:                 4 ks\r\n"
                                            "\r\n"
                                            "Beta Poukazka\r\n"
                                            "Hodnota     Počet              Celkem\r\n"
                                            " 100,00         1          100,00 Kč\r\n"
                                            "____________________________________\r\n"
                                            "Celková částka:            100,00 Kč\r\n"
                                            "Celkový počet:                 1 ks\r\n"
                                            "\r\n"
                                            "Gama Jidlo\r\n"
                                            "Hodnota     Počet              Celkem\r\n"
                                            " 100,00         1          100,00 Kč\r\n"
                                            "____________________________________\r\n"
                                            "Celková částka:            100,00 Kč\r\n"
                                            "Celkový počet:                 1 ks\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "Celkem za všechny typy stravenek:\r\n"
                                            "Celková částka:      409,00 Kč\r\n"
                                            "Celkový počet:            6 ks\r\n");
    EXPECT_EQ(day.nahled({}), expected);

    // Filters: SMs as whole entries, the operator in any letter case; one type chosen.
    struct Case {
        const char* sm;
        const char* oper;
        int alfa;
    };
    for (const auto& c :
         std::vector<Case>{{"001", "", 4}, {"001,002", "", 4}, {"002", "", 1}, {"", "cd", 1}, {"01", "", 0}}) {
        SCOPED_TRACE(std::string(c.sm) + "/" + c.oper);
        ASSERT_TRUE(day.vypocet({QDate(2015, 1, 21), QString::fromLatin1(c.sm), QString::fromLatin1(c.oper)}).ok());
        EXPECT_EQ(day.kolekce().codes->codes(0).size(), size_t(c.alfa));
    }
    ASSERT_TRUE(day.vypocet({QDate(2015, 1, 21), {}, {}}).ok());
    const QString beta = day.nahled({false, QStringLiteral("Beta Poukazka")});
    EXPECT_TRUE(beta.startsWith(QStringLiteral("Beta Poukazka\r\n")));
    EXPECT_TRUE(beta.endsWith(QStringLiteral("Celková částka:      100,00 Kč\r\nCelkový počet:            1 ks\r\n")));
    // A day without statement files lists every type as not read.
    ASSERT_TRUE(day.vypocet({QDate(2015, 2, 1), {}, {}}).ok());
    EXPECT_EQ(day.nahled({}).count(QStringLiteral("Nebyly načteny žádné stravenky.\r\n\r\n")), 3);
}

TEST(DaySummaryTest, PrintOnThePageModel) {
    DayData env;
    DaySummary day(env.services());
    ASSERT_TRUE(day.vypocet({QDate(2015, 1, 21), QStringLiteral("002"), {}}).ok());
    Printer printer;
    const auto printed =
        day.vytiskni(printer, {false, QStringLiteral("Beta Poukazka")}, QDateTime(QDate(2015, 1, 22), QTime(9, 5, 3)));
    ASSERT_TRUE(printed.ok());
    ASSERT_EQ(printer.printed().size(), 1u);
    const auto& page = printer.printed().front().pages.front();
    std::vector<int> ys;
    for (const auto& r : page.runs) {
        if (ys.empty() || ys.back() != r.y)
            ys.push_back(r.y);
    }
    QStringList lines;
    for (int y : ys)
        lines.append(lineOf(page.runs, y));
    EXPECT_EQ(
        lines,
        (QStringList{
            QStringLiteral("Sběrna poukázek, Dlouhá 12"), QStringLiteral("Přehled součtů stravenek za den 21.01.2015"),
            QStringLiteral("Beta Poukazka"), QStringLiteral("Hodnota     Počet              Celkem"),
            QStringLiteral(" 100,00             1     100,00 Kč"), QString(37, u'_'),
            QStringLiteral("Celková částka:           100,00 Kč"), QStringLiteral("Celkový počet:               1 ks"),
            QStringLiteral("Celkem za všechny typy stravenek:"), QStringLiteral("Celková částka:         100,00 Kč"),
            QStringLiteral("Celkový počet:               1 ks"), QStringLiteral("22.1.2015 9:05:03")}));
    // Every line starts at column 5 of its font; the title is large and underlined, the heading underlined, all
    // bold.
    for (const auto& r : page.runs) {
        EXPECT_EQ(r.x, 4 * PrintMetrics::charWidth(r.font)) << r.text.toStdString();
        EXPECT_TRUE(r.font.bold) << r.text.toStdString();
        EXPECT_EQ(r.font.underline,
                  r.text.startsWith(QStringLiteral("Přehled")) || r.text.startsWith(QStringLiteral("Hodnota")))
            << r.text.toStdString();
    }
    const auto title = std::find_if(page.runs.begin(), page.runs.end(),
                                    [](const PrintRun& r) { return r.text.startsWith(QStringLiteral("Přehled")); });
    ASSERT_NE(title, page.runs.end());
    EXPECT_EQ(title->font.size, 16.0);
    EXPECT_TRUE(title->font.underline);
    EXPECT_EQ(title->font.name, QStringLiteral("Courier New"));
}

TEST(DaySummaryTest, AnAmountAsWideAsItsFieldOrWiderKeepsABlankFromTheCountBeforeIt) {
    DayData env;
    // A table value whose amounts fill their fields: 99 999 999 999,00 Kč is 20 characters.
    ASSERT_TRUE(TextFiles::writeAll(env.folder / "hodnoty_gama.ini",
                                    QStringLiteral("[Hodnoty]\r\nPocet=1\r\nHodnota1=03:99999999999\r\n"))
                    .ok());
    ASSERT_TRUE(env.state.gColStrav->NactiINI().ok());
    env.write(QStringLiteral("150122_003_EF_1.vyc"),
              SummariesEnv::records(QStringLiteral("150122"), QStringLiteral("003"), QStringLiteral("EF"),
                                    {SummariesEnv::gama("03", 1)}));
    DaySummary day(env.services());
    ASSERT_TRUE(day.vypocet({QDate(2015, 1, 22), {}, {}}).ok());
    const TypeChoice gama{false, QStringLiteral("Gama Jidlo")};
    const QString shown = day.nahled(gama).replace(QChar(0xA0), u' ');
    EXPECT_TRUE(shown.contains(QStringLiteral("99999999999,00         1 99 999 999 999,00 Kč\r\n"
                                              "____________________________________\r\n"
                                              "Celková částka:  99 999 999 999,00 Kč\r\n")))
        << shown.toStdString();
    EXPECT_TRUE(
        shown.contains(QStringLiteral("Celková částka: 99 999 999 999,00 Kč\r\nCelkový počet:            1 ks")))
        << shown.toStdString();

    Printer printer;
    ASSERT_TRUE(day.vytiskni(printer, gama, QDateTime(QDate(2015, 1, 22), QTime(9, 5, 3))).ok());
    QStringList lines;
    for (const auto& r : printer.printed().front().pages.front().runs)
        lines.append(QString(r.text).replace(QChar(0xA0), u' '));
    EXPECT_TRUE(lines.contains(QStringLiteral("99999999999,00             1 99 999 999 999,00 Kč")))
        << lines.join(u'|').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Celková částka: 99 999 999 999,00 Kč")))
        << lines.join(u'|').toStdString();
}

TEST(DeductionsTest, TicketsWrittenAndTheProgramStarted) {
    DayData env;
    RecordingShell shell;
    Deductions odvody(env.services(), shell);
    PeriodChoice choice;
    choice.datumOd = QDate(2015, 1, 1);
    choice.datumDo = QDate(2015, 1, 31);
    choice.sm = QStringLiteral("001");
    ASSERT_TRUE(odvody.pripravOdvody(choice, {}, true).ok());
    // Codes read twice are written twice; the types in collection order.
    EXPECT_EQ(env.bytes(env.folder / "tickets.txt"),
              (QStringList{SummariesEnv::alfa(200, 9), SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2),
                           SummariesEnv::alfa(100, 3), SummariesEnv::alfa(50, 1), SummariesEnv::alfa(9, 4)}
                   .join(QStringLiteral("\r\n")) +
               QStringLiteral("\r\n"))
                  .toLatin1());
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].kind, RecordingShell::Request::Program);
    EXPECT_EQ(shell.requests()[0].path, std::filesystem::path("TRVOdvody.exe"));
    EXPECT_EQ(shell.requests()[0].arguments, QStringList{QStringLiteral("tickets.txt")});
    EXPECT_EQ(shell.requests()[0].workingFolder, env.folder);

    // Deduction: the second argument; one type only.
    choice.sm.clear();
    ASSERT_TRUE(odvody.pripravOdvody(choice, {false, QStringLiteral("Beta Poukazka")}, false).ok());
    EXPECT_EQ(env.bytes(env.folder / "tickets.txt"), (SummariesEnv::beta(100, 1) + QStringLiteral("\r\n")).toLatin1());
    EXPECT_EQ(shell.requests()[1].arguments, (QStringList{QStringLiteral("tickets.txt"), QStringLiteral("1")}));

    // A failed start is reported.
    shell.setFailure(Error{0, QStringLiteral("Program nebyl nalezen.")});
    const Status failed = odvody.pripravOdvody(choice, {}, true);
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.message().contains(QStringLiteral("Program nebyl nalezen."))) << failed.message().toStdString();
}

TEST(DeductionsTest, NoStartWithoutAWholeTicketList) {
    DayData env;
    RecordingShell shell;
    Deductions odvody(env.services(), shell);
    // tickets.txt cannot be replaced: a folder stands in its place.
    std::filesystem::create_directory(env.folder / "tickets.txt");
    PeriodChoice choice;
    choice.datumOd = QDate(2015, 1, 1);
    choice.datumDo = QDate(2015, 1, 31);
    const Status failed = odvody.pripravOdvody(choice, {}, true);
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(shell.requests().empty());

    // Package/week mode: the package and week select, the dates do not; NOREAD readings never reach the list.
    std::filesystem::remove(env.folder / "tickets.txt");
    env.state.sw.gFBalikyTyden = true;
    env.write(QStringLiteral("150121_101_X_1_12_3.txt"), {SummariesEnv::alfa(50, 5), QStringLiteral("NOREAD")});
    env.write(QStringLiteral("150121_101_X_1_2_3.txt"), {SummariesEnv::alfa(50, 6)});
    choice.txtBalik = QStringLiteral("1");
    choice.txtTyden = QStringLiteral("3");
    choice.datumOd = choice.datumDo = QDate(2030, 1, 1);
    ASSERT_TRUE(odvody.pripravOdvody(choice, {}, true).ok());
    EXPECT_EQ(env.bytes(env.folder / "tickets.txt"), (SummariesEnv::alfa(50, 5) + QStringLiteral("\r\n")).toLatin1());
}

} // namespace
