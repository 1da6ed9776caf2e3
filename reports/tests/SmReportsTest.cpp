#include "reports/tests/ReportsFixture.h"

#include "core/CStrav.h"
#include "core/SharedHelpers.h"
#include "testsupport/CancellingProgress.h"

using namespace trv;
using namespace trv::test;

namespace {

// The no-break space of the currency's thousands as a plain blank, for readable expectations.
QStringList plain(QStringList lines) {
    for (QString& l : lines)
        l.replace(QChar(0x00A0), u' ');
    return lines;
}
QStringList linesOf(const QString& text) {
    return plain(text.split(QStringLiteral("\r\n")));
}

struct Printed {
    SmReportResult result;
    PrintDocument doc;
};

template <typename F> Printed print(F&& report) {
    Printer printer;
    Printed p;
    p.result = report(printer);
    if (p.result.done) {
        EXPECT_TRUE(printer.endDoc().ok());
    }
    if (!printer.printed().empty())
        p.doc = printer.printed().back();
    return p;
}

TEST(SmReportsTest, DefaultPrintPerSmWithItsAccountingFile) {
    ReportsEnv env;
    SmReports reports(env.services());
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    const auto p = print([&](Printer& pr) { return reports.cmdPrintSM(pr, env.choice()); });
    ASSERT_TRUE(p.result.done);
    EXPECT_EQ(runsOf(p.doc), L({"5 10 B- Sběrna poukázek, Dlouhá 12", "5 16 BU Přehled součtů za SM",
                                "9 16 BU k datu odvodu 05.02.2024",
                                "2 10 BU SM          Alfa Straven     Beta Poukazk     Gama Jidlo     ",
                                "1 10 B-    101           200,00 Kč        100,00 Kč          0,00 Kč",
                                "1 10 B-    102           200,00 Kč          0,00 Kč         75,50 Kč",
                                "1 10 B-    103             0,00 Kč          0,00 Kč          0,00 Kč",
                                "3 10 B- ____________________________________________________________",
                                "3 10 B- Sum           400,00 Kč        100,00 Kč         75,50 Kč",
                                "5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis"}));
    EXPECT_EQ(env.prompts.texts(), L({"Provést export do účetního souboru?"}));
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"),
              QByteArray("101;200;100;0\r\n102;200;0;75,5\r\n103;0;0;0\r\n"));
    expectWholeInPdf(p.doc, env.folder / "souhrn.pdf");
}

TEST(SmReportsTest, DefaultPrintVariants) {
    ReportsEnv env;
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    env.state.sw.gF15 = true;
    env.state.sw.gFExportCBA = true; // no accounting question
    c.typOd = QStringLiteral("2");
    c.typDo = QStringLiteral("3");

    c.nespojovat = true;
    auto p = print([&](Printer& pr) { return reports.tiskniObdobiSM(pr, c); });
    EXPECT_EQ(plain(p.doc.textLines()).mid(1), L({"    Přehled součtů po souborech", "        k datu odvodu 05.02.2024",
                                                  " DATUM/SM/OPER/POR |  Beta Poukazk    Gama Jidlo          Celkem",
                                                  "  240105/101/NOV/1        50,00 Kč         0,00 Kč       250,00 Kč",
                                                  "  240110/102/ABC/1         0,00 Kč        75,50 Kč       275,50 Kč",
                                                  "  240115/101/NOV/2        50,00 Kč         0,00 Kč        50,00 Kč",
                                                  "  _____________________________________________________________",
                                                  "  Sum                  100,00 Kč        75,50 Kč       575,50 Kč",
                                                  "    Datum vyhotovení: 21.1.2015               Razítko, podpis"}));

    c.nespojovat = false;
    c.groupByDay = true;
    c.sm = QStringLiteral("102");
    p = print([&](Printer& pr) { return reports.tiskniObdobiSM(pr, c); });
    EXPECT_EQ(plain(p.doc.textLines()).mid(1),
              L({"    Přehled po dnech načítání", "        za období 01.01.2024 - 31.01.2024", "    Filtr SM: 102",
                 " Datum/SM       |  Beta Poukazk     Gama Jidlo           Celkem",
                 "   240110/102           0,00 Kč         75,50 Kč        275,50 Kč",
                 "  _____________________________________________________________",
                 "  Sum                  0,00 Kč         75,50 Kč        275,50 Kč",
                 "    Datum vyhotovení: 21.1.2015               Razítko, podpis"}));
    EXPECT_TRUE(env.prompts.texts().isEmpty());
    EXPECT_FALSE(TextFiles::exists(env.folder / "uct" / "240205.uct"));
}

TEST(SmReportsTest, PrintWithCommission) {
    ReportsEnv env;
    SmReports reports(env.services());
    env.state.sw.gFTiskSM = env.state.sw.gFRozpoznaniKodem = env.state.sw.gF15 = true;
    SmReportChoice c = env.choice();
    c.typDo = QStringLiteral("2");
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    auto p = print([&](Printer& pr) { return reports.cmdPrintSM(pr, c); });
    ASSERT_TRUE(p.result.done);
    QStringList all = plain(runsOf(p.doc));
    ASSERT_EQ(all.size(), 12);
    EXPECT_EQ(all.takeAt(8), QStringLiteral("3 7 B- ") + QString(134, u'_'));
    EXPECT_EQ(all, L({"5 10 B- Sběrna poukázek, Dlouhá 12", "5 16 BU Přehled za SM", "9 16 BU k datu odvodu 05.02.2024",
                      "3 7 BU SM                            Alfa Straven             |                     Beta "
                      "Poukazk             |Celkem za všechny zobrazené typy stravenek:",
                      "3 7 BU         |             Cena        Provize DPH z provize|             Cena        Provize "
                      "DPH z provize|",
                      "3 7 B- 101           200,00 Kč        6,00 Kč        1,26 Kč        100,00 Kč        5,00 Kč    "
                      "    1,05 Kč        300,00 Kč",
                      "3 7 B- 102           200,00 Kč        6,00 Kč        1,26 Kč          0,00 Kč        0,00 Kč    "
                      "    0,00 Kč        275,50 Kč",
                      "3 7 B- 103             0,00 Kč        0,00 Kč        0,00 Kč          0,00 Kč        0,00 Kč    "
                      "    0,00 Kč          0,00 Kč",
                      "3 7 B- Sum                400,00 Kč       12,00 Kč        2,52 Kč        100,00 Kč        5,00 "
                      "Kč        1,05 Kč        575,50 Kč",
                      "5 10 B- Datum vyhotovení: 21.1.2015", "35 10 B- Razítko, podpis"}));
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"),
              QByteArray("101;200;6;1,26;100;5;1,05\r\n102;200;6;1,26;0;0;0\r\n103;0;0;0;0;0;0\r\n"));
    expectWholeInPdf(p.doc, env.folder / "provize.pdf");

    // One type: b = 8, so 13, 19 and 10 points. Switch 18 takes the rate as including VAT: 1000 at 3 % and 21 %
    // gives 23,70 and 6,30 on paper, while the accounting line keeps 30 and 6,3. With switch 34 the file is named
    // after the period's end.
    env.write(QStringLiteral("240116_104_NOV_1.vyc"),
              {ReportsEnv::line("240116", "104", "1", env.alfa(500, 1), "500"),
               ReportsEnv::line("240116", "104", "1", env.alfa(500, 2), "500")});
    env.state.sw.gF18 = env.state.sw.gFDatumOdvodu = true;
    env.state.sw.gF15 = false;
    c.typDo = QStringLiteral("1");
    c.sm = QStringLiteral("104");
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    p = print([&](Printer& pr) { return reports.tiskniObdobiSMProvize(pr, c); });
    const QStringList runs = plain(runsOf(p.doc));
    EXPECT_EQ(runs[0], QStringLiteral("8 13 B- Sběrna poukázek, Dlouhá 12"));
    EXPECT_EQ(runs[1], QStringLiteral("8 19 BU Přehled za SM"));
    EXPECT_EQ(runs[2], QStringLiteral("12 19 BU za odvod ke dni 31.01.2024"));
    EXPECT_EQ(runs[6], QStringLiteral("6 10 B- 104         1 000,00 Kč       23,70 Kč        6,30 Kč"));
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240131.uct"), QByteArray("104;1000;30;6,3\r\n"));
}

TEST(SmReportsTest, MoneyStaysExactFromTheFileToThePrintAndTheAccountingFile) {
    // 922 337 203 685 477,58 as a double is ...477,625: it printed ",63".
    ReportsEnv env;
    SmReports reports(env.services());
    env.state.sw.gFTiskSM = env.state.sw.gFRozpoznaniKodem = env.state.sw.gF15 = true;
    env.write(QStringLiteral("240116_104_NOV_1.vyc"),
              {ReportsEnv::line("240116", "104", "1", env.alfa(500, 1), "922337203685477,58")});
    SmReportChoice c = env.choice();
    c.typDo = QStringLiteral("1");
    c.sm = QStringLiteral("104");
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    const auto p = print([&](Printer& pr) { return reports.cmdPrintSM(pr, c); });
    ASSERT_TRUE(p.result.done) << env.prompts.texts().join(u'\n').toStdString();
    const QStringList lines = plain(p.doc.textLines());
    // The price, the commission at 3 % and its VAT at 21 %, each rounded once, and the total: wider than their cells
    // and printed whole.
    const QString cells = QStringLiteral("922 337 203 685 477,58 Kč 27 670 116 110 564,33 Kč 5 810 724 383 218,51 Kč"
                                         "922 337 203 685 477,58 Kč");
    EXPECT_TRUE(lines.contains(QStringLiteral("     104   ") + cells)) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("     Sum        ") + cells)) << lines.join(u'\n').toStdString();
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"),
              QByteArray("104;922337203685477,58;27670116110564,33;5810724383218,51\r\n"));

    // A rate far above 100 % gives a commission the money type cannot hold: the report ends before it prints or
    // exports anything.
    env.state.gColStrav->Item(1)->Provize = 1000;
    std::filesystem::remove(env.folder / "uct" / "240205.uct");
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    Printer printer;
    EXPECT_FALSE(reports.cmdPrintSM(printer, c).done);
    EXPECT_FALSE(printer.hasOutput());
    EXPECT_EQ(env.prompts.texts().last(),
              sumOutOfRangeText(QStringLiteral("středisko 104, provize typu Alfa Stravenka")));
    EXPECT_FALSE(TextFiles::exists(env.folder / "uct" / "240205.uct"));
}

TEST(SmReportsTest, CommissionOfTheTotalsFromTheTotalPrice) {
    ReportsEnv env;
    SmReports reports(env.services());
    env.state.sw.gFVycetky = false;
    for (int i = 1; i <= 3; ++i)
        env.write(QStringLiteral("24011%1_20%1_NOV_1.vyc").arg(i),
                  {ReportsEnv::line("240111", "201", "1", env.alfa(333, i), "333.47")});
    SmReportChoice c = env.choice();
    c.sm = QStringLiteral("201 202 203");
    c.typDo = QStringLiteral("1");
    const auto r = reports.zobrazPrehledSMProvize(c);
    ASSERT_TRUE(r.done);
    const QStringList lines = linesOf(*r.rtbText);
    EXPECT_TRUE(lines.contains(QStringLiteral("   201           333,47 Kč       10,00 Kč        2,10 Kč")));
    EXPECT_TRUE(lines.contains(QStringLiteral("   Sum              1 000,41 Kč       30,01 Kč        6,30 Kč")));
}

TEST(SmReportsTest, OverviewWithCommission) {
    ReportsEnv env;
    SmReports reports(env.services());
    env.state.sw.gFVycBezData = false;
    SmReportChoice c = env.choice();
    c.typDo = QStringLiteral("1");
    c.groupByDay = true;
    c.oper = QStringLiteral("nov");
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    const auto r = reports.zobrazPrehledSMProvize(c);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(linesOf(*r.rtbText), L({"",
                                      "Sběrna poukázek, Dlouhá 12",
                                      "",
                                      "     Přehled provizí",
                                      "     po dnech načítání",
                                      "     za období 01.01.2024 - 31.01.2024",
                                      "     Filtr operátor: nov",
                                      "",
                                      "",
                                      "  Datum/SM      |                     Alfa Straven             |",
                                      "                |             Cena        Provize DPH z provize|",
                                      "   240105/101         200,00 Kč        6,00 Kč        1,26 Kč",
                                      "   240115/101           0,00 Kč        0,00 Kč        0,00 Kč",
                                      "   ______________________________________________________________",
                                      "   Sum                200,00 Kč        6,00 Kč        1,26 Kč",
                                      "",
                                      "",
                                      "",
                                      "Celkem za všechny zobrazené typy stravenek:",
                                      "   SM                  Cena",
                                      "",
                                      "   101            250,00 Kč",
                                      "   101             50,00 Kč",
                                      "___________________________",
                                      "Celkem            300,00 Kč",
                                      ""}));
    // Switch 13 off: the hand-over date, the SM and every type's raw sum.
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"), QByteArray("240205;101;200;50;0\r\n240205;101;0;50;0\r\n"));
}

TEST(SmReportsTest, Overview) {
    ReportsEnv env;
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.typOd = QStringLiteral("3");
    c.typDo = QStringLiteral("3");
    c.nespojovat = true;
    const auto r = reports.cmbZobrPrehleduSm(c);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(linesOf(*r.rtbText), L({"",
                                      "Sběrna poukázek, Dlouhá 12",
                                      "",
                                      "Přehled za SM",
                                      "         za období 01.01.2024 - 31.01.2024",
                                      "",
                                      "",
                                      "",
                                      "  SM/OPER/POR  |     Gama Jidlo               ",
                                      "   101/NOV/1           0,00 Kč ",
                                      "   101/NOV/2           0,00 Kč ",
                                      "   102/ABC/1          75,50 Kč ",
                                      "   ______________________________________________________________",
                                      "   Sum            75,50 Kč ",
                                      "",
                                      "",
                                      "",
                                      "Celkem za všechny zobrazené typy stravenek:",
                                      "   SM                  Cena",
                                      "",
                                      "   101            250,00 Kč",
                                      "   101             50,00 Kč",
                                      "   102            275,50 Kč",
                                      "___________________________",
                                      "Celkem            575,50 Kč",
                                      ""}));
    EXPECT_TRUE(env.prompts.texts().isEmpty()); // never asks for the accounting file
}

TEST(SmReportsTest, PrintForThreeIssuers) {
    ReportsEnv env;
    threeIssuerTypes(env);
    env.state.sw.gFTiskSM = true;
    env.state.sw.gFRozpoznaniKodem = false;
    env.state.sw.gFVycBezData = true;
    env.write(QStringLiteral("240108_105_NOV_1.vyc"),
              {QStringLiteral("240108;105;2;A;1000.00;NOV"), QStringLiteral("240108;105;1;B;1000.00;NOV"),
               QStringLiteral("240108;105;3;C;125.50;NOV"), QStringLiteral("240108;105;01;D;80.00;NOV")});
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.sm = QStringLiteral("105");
    const auto p = print([&](Printer& pr) { return reports.cmdPrintSM(pr, c); });
    ASSERT_TRUE(p.result.done);
    const QStringList runs = plain(runsOf(p.doc));
    ASSERT_EQ(runs.size(), 14);
    EXPECT_EQ(runs[1], QStringLiteral("5 12 BU Přehled stravenek za SM"));
    EXPECT_EQ(runs[2], QStringLiteral("12 12 BU za období 01.01.2024 - 31.01.2024"));
    EXPECT_EQ(runs[3], QStringLiteral("5 8 B- Filtr SM: 105"));
    EXPECT_TRUE(runs[4].startsWith(QStringLiteral("5 8 BU SM     |    ")));
    // The zero rows come whatever the filter; the commission on the rows is net of its VAT, and so is the
    // totals line's.
    EXPECT_EQ(runs[10], QStringLiteral("5 8 B- ") + QString(213, u'_'));
    EXPECT_EQ(runs.mid(6, 4),
              L({"1 8 B-      101            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         "
                 "0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
                 "1 8 B-      102            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         "
                 "0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
                 "1 8 B-      103            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         "
                 "0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
                 "1 8 B-      105        1 000,00 Kč        39,50 Kč        10,50 Kč           1 000,00 Kč        "
                 "23,70 Kč         6,30 Kč             125,50 Kč         1,98 Kč         0,53 Kč"}));
    EXPECT_EQ(runs[11],
              QStringLiteral("5 8 B- Sum        1 000,00 Kč        39,50 Kč        10,50 Kč           1 000,00 Kč      "
                             "  23,70 Kč         6,30 Kč             125,50 Kč         1,98 Kč         0,53 Kč"));
    EXPECT_EQ(plain(p.doc.textLines()).mid(12),
              L({"    Datum vyhotovení:21.1.2015 14:30:05", "                   Razítko, podpis"}));
    EXPECT_TRUE(env.prompts.texts().isEmpty());
    expectWholeInPdf(p.doc, env.folder / "tri.pdf");
}

TEST(SmReportsTest, PrintForFiveIssuers) {
    ReportsEnv env;
    env.write(QStringLiteral("240108_105_NOV_1.vyc"),
              {ReportsEnv::line("240108", "105", "4", QStringLiteral("A"), "40.00"),
               ReportsEnv::line("240108", "105", "5", QStringLiteral("B"), "2.50")});
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.nespojovat = true;
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    const auto p = print([&](Printer& pr) { return reports.tiskniPrehledSMPetSpol(pr, c); });
    ASSERT_TRUE(p.result.done);
    EXPECT_EQ(plain(p.doc.textLines()).mid(1),
              L({"    Přehled stravenek po souborech", "        k datu odvodu 05.02.2024",
                 "   SM/OPER/POR      SODEXHO         CHEQUE DJ            TICKET               EXI",
                 "    101/NOV/1       50,00 Kč         200,00 Kč           0,00 Kč           0,00 Kč",
                 "    101/NOV/2       50,00 Kč           0,00 Kč           0,00 Kč           0,00 Kč",
                 "    102/ABC/1        0,00 Kč         200,00 Kč          75,50 Kč           0,00 Kč",
                 "    105/NOV/1        0,00 Kč           0,00 Kč           0,00 Kč          40,00 Kč",
                 "    ___________________________________________________________________________",
                 "    Sum          100,00 Kč         400,00 Kč          75,50 Kč          40,00 Kč",
                 "    Datum vyhotovení: 21.1.2015 14:30:05", "                   Razítko, podpis"}));
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"),
              QByteArray("240205;101;50;200;0;0\r\n240205;101;50;0;0;0\r\n240205;102;0;200;75,5;0\r\n"
                         "240205;105;0;0;0;40\r\n"));
    expectWholeInPdf(p.doc, env.folder / "pet.pdf");
}

TEST(SmReportsTest, ASumAsWideAsItsCellInTheFiveIssuerPrintKeepsABlankFromTheOrder) {
    ReportsEnv env;
    env.write(QStringLiteral("240108_105_NOV_1.vyc"),
              {ReportsEnv::line("240108", "105", "2", QStringLiteral("A"), "9999999.99")});
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.nespojovat = true;
    env.prompts.queueAnswer(Prompts::Answer::No);
    const auto p = print([&](Printer& pr) { return reports.tiskniPrehledSMPetSpol(pr, c); });
    ASSERT_TRUE(p.result.done);
    const QStringList lines = plain(p.doc.textLines());
    EXPECT_TRUE(lines.contains(
        QStringLiteral("    105/NOV/1 9 999 999,99 Kč           0,00 Kč           0,00 Kč           0,00 Kč")))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(
        QStringLiteral("    Sum   10 000 099,99 Kč         400,00 Kč          75,50 Kč           0,00 Kč")))
        << lines.join(u'\n').toStdString();
}

TEST(SmReportsTest, DeclinedExportLeavesTheFileAndNoRowsPrintNothing) {
    ReportsEnv env;
    SmReports reports(env.services());
    EXPECT_TRUE(TextFiles::writeAll(env.folder / "uct" / "240205.uct", QStringLiteral("old\r\n")).ok());
    env.prompts.queueAnswer(Prompts::Answer::No);
    auto p = print([&](Printer& pr) { return reports.tiskniObdobiSM(pr, env.choice()); });
    EXPECT_TRUE(p.result.done);
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"), QByteArray("old\r\n"));

    env.state.sw.gFVycetky = false;
    SmReportChoice c = env.choice();
    c.dt1 = c.dt2 = QDate(2023, 5, 5);
    p = print([&](Printer& pr) { return reports.tiskniObdobiSM(pr, c); });
    EXPECT_FALSE(p.result.done);
    EXPECT_TRUE(p.doc.pages.empty());
}

} // namespace

namespace {

TEST(SmReportsTest, AnAccountingFileThatCannotBeWrittenIsNamedOnceWithItsCause) {
    ReportsEnv env;
    SmReports reports(env.services());
    const auto uct = env.folder / "uct" / "240205.uct";
    std::filesystem::create_directory(uct);
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    print([&](Printer& pr) { return reports.cmdPrintSM(pr, env.choice()); });
    ASSERT_EQ(env.prompts.records().size(), 2u);
    const auto& failure = env.prompts.records().back();
    EXPECT_EQ(failure.icon, Prompts::Icon::Critical);
    EXPECT_EQ(failure.text.count(TextFiles::toQString(uct)), 1) << failure.text.toStdString();
    EXPECT_TRUE(failure.text.endsWith(QStringLiteral(": je to složka, ne soubor"))) << failure.text.toStdString();
    EXPECT_TRUE(std::filesystem::is_directory(uct));
}

TEST(SmReportsTest, AccountingLinesPerDay) {
    ReportsEnv env;
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.groupByDay = true;
    c.sm = QStringLiteral("102");
    c.typDo = QStringLiteral("1");

    // The print with commission: the day, the SM, then price, commission and VAT of each printed type.
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    Printer printer;
    ASSERT_TRUE(reports.tiskniObdobiSMProvize(printer, c).done);
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"), QByteArray("240110;102;200;6;1,26\r\n"));

    // The overview with commission with switch 13 and 18: the same line with the commission net of its VAT.
    env.state.sw.gFTiskSM = env.state.sw.gF18 = true;
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    ASSERT_TRUE(reports.zobrazPrehledSMProvize(c).done);
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"), QByteArray("240110;102;200;4,74;1,26\r\n"));

    // A range without types: the file is written empty.
    c.typOd = QStringLiteral("3");
    c.typDo = QStringLiteral("2");
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    ASSERT_TRUE(reports.zobrazPrehledSMProvize(c).done);
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"), QByteArray());
}

} // namespace

namespace {

TEST(SmReportsTest, PrintWithCommissionPerFile) {
    ReportsEnv env;
    SmReports reports(env.services());
    env.state.sw.gFTiskSM = env.state.sw.gFRozpoznaniKodem = true;
    SmReportChoice c = env.choice();
    c.typDo = QStringLiteral("2");
    c.nespojovat = true;
    env.prompts.queueAnswer(Prompts::Answer::No);
    auto p = print([&](Printer& pr) { return reports.tiskniObdobiSMProvize(pr, c); });
    ASSERT_TRUE(p.result.done);
    // One row per SM, operator and order, labelled by them from the left margin, under the per-file headings.
    EXPECT_EQ(
        plain(runsOf(p.doc)),
        L({"5 10 B- Sběrna poukázek, Dlouhá 12", "5 16 BU Přehled provizí po souborech",
           "9 16 BU k datu odvodu 05.02.2024",
           "2 7 BU SM/OPER/POR  |                     Alfa Straven             |                     Beta Poukazk      "
           "       |",
           "3 7 BU         |             Cena        Provize DPH z provize|             Cena        Provize DPH z "
           "provize|",
           "1 7 B-    101/NOV/1         200,00 Kč        6,00 Kč        1,26 Kč         50,00 Kč        2,50 Kč        "
           "0,53 Kč",
           "1 7 B-    101/NOV/2           0,00 Kč        0,00 Kč        0,00 Kč         50,00 Kč        2,50 Kč        "
           "0,53 Kč",
           "1 7 B-    102/ABC/1         200,00 Kč        6,00 Kč        1,26 Kč          0,00 Kč        0,00 Kč        "
           "0,00 Kč",
           "3 7 B- "
           "__________________________________________________________________________________________________________",
           "3 7 B- Sum                400,00 Kč       12,00 Kč        2,52 Kč        100,00 Kč        5,00 Kč        "
           "1,05 Kč",
           "5 10 B- Datum vyhotovení: 21.1.2015", "35 10 B- Razítko, podpis"}));
}

} // namespace

namespace {

TEST(SmReportsTest, EuroModeTitlesAndKeys) {
    ReportsEnv env;
    SmReports reports(env.services());
    env.state.sw.gFEuro = env.state.sw.gF15 = true;
    env.setConfig(QStringLiteral("kurzEuro=25\r\n"));
    // The title, the period line, the header with its total caption and the closing line of each grouping.
    const auto headings = [](const Printed& p) {
        QStringList runs = plain(runsOf(p.doc));
        return QStringList{runs[1], runs[2], runs[3], runs.last()};
    };
    SmReportChoice c = env.choice();
    env.prompts.queueAnswer(Prompts::Answer::No);
    auto p = print([&](Printer& pr) { return reports.tiskniObdobiSM(pr, c); });
    ASSERT_TRUE(p.result.done);
    EXPECT_EQ(headings(p),
              L({"5 16 BU Přehled součtů za SM (EUR)", "9 16 BU za období 01.01.2024 - 31.01.2024",
                 "2 10 BU SM          Alfa Straven     Beta Poukazk     Gama Jidlo     Celkem za všechny typy poukázek "
                 "(EUR):",
                 "5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis"}));
    c.nespojovat = true;
    env.prompts.queueAnswer(Prompts::Answer::No);
    p = print([&](Printer& pr) { return reports.tiskniObdobiSM(pr, c); });
    ASSERT_TRUE(p.result.done);
    EXPECT_EQ(headings(p),
              L({"5 16 BU Přehled součtů po souborech (EUR)", "9 16 BU k datu odvodu 05.02.2024",
                 "2 10 BU DATUM/SM/OPER/POR |  Alfa Straven    Beta Poukazk    Gama Jidlo    Celkem za všechny typy "
                 "poukázek (EUR):",
                 "5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis"}));
}

TEST(SmReportsTest, EveryFileReadIsToldAndACancelledLoadPrintsAndWritesNothing) {
    ReportsEnv env;
    PeriodServices services = env.services();
    CancellingProgress watched(99);
    services.progress = &watched;
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    auto p = print([&](Printer& pr) { return SmReports(services).cmdPrintSM(pr, env.choice()); });
    ASSERT_TRUE(p.result.done);
    // The three statement files of January, counted as they are read.
    EXPECT_EQ(watched.steps, (std::vector<std::pair<qint64, qint64>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));

    // Cancelled after the first file: no question, no accounting file, no scratch table, nothing printed.
    const auto uct = env.folder / "uct" / "240205.uct";
    const auto scratch = env.folder / "data" / "data.dbf";
    std::filesystem::remove(uct);
    std::filesystem::remove(scratch);
    env.prompts = ScriptedPrompts();
    CancellingProgress cancelling(1);
    services.progress = &cancelling;
    for (const bool overview : {false, true}) {
        SCOPED_TRACE(overview ? "overview" : "print");
        cancelling.steps.clear();
        p = print([&](Printer& pr) {
            SmReports reports(services);
            return overview ? reports.cmbZobrPrehleduSm(env.choice()) : reports.cmdPrintSM(pr, env.choice());
        });
        EXPECT_FALSE(p.result.done);
        EXPECT_FALSE(p.result.rtbText.has_value());
        EXPECT_TRUE(p.doc.pages.empty());
        EXPECT_EQ(cancelling.steps, (std::vector<std::pair<qint64, qint64>>{{0, 3}, {1, 3}}));
        ASSERT_FALSE(env.prompts.records().empty());
        EXPECT_EQ(env.prompts.records().back().text, Progress::cancelledText());
        EXPECT_EQ(env.prompts.records().back().icon, Prompts::Icon::Critical);
    }
    EXPECT_EQ(env.prompts.records().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(uct));
    EXPECT_FALSE(std::filesystem::exists(scratch));
}

} // namespace
