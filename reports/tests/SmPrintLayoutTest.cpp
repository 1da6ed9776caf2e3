// The whole printed document of each print per SM in each of its variants: every run with its line (y in twips),
// column, size, emphasis and text, with the question asked, the accounting file left and what rtbVyc is given.

#include "reports/tests/ReportsFixture.h"

#include "core/CStrav.h"
#include "core/SharedHelpers.h"

#include <QRegularExpression>

#include <functional>

using namespace trv;
using namespace trv::test;

namespace {

using Report = SmReportResult (SmReports::*)(Printer&, const SmReportChoice&);

// The runs of the document as "y column size emphasis text", the no-break space of the amounts as a blank; a page
// after the first starts with a line of its own.
QStringList layoutOf(const PrintDocument& doc) {
    const QStringList runs = runsOf(doc);
    QStringList out;
    qsizetype i = 0;
    for (size_t page = 0; page < doc.pages.size(); ++page) {
        if (page > 0)
            out.append(QStringLiteral("-- page %1").arg(page + 1));
        for (const PrintRun& run : doc.pages[page].runs) {
            QString text = QString::number(run.y) + u' ' + runs[i++];
            text.replace(QChar(0x00A0), u' ');
            // A rule as its length.
            static const QRegularExpression rule(QStringLiteral("_{10,}"));
            for (auto m = rule.match(text); m.hasMatch(); m = rule.match(text))
                text.replace(m.capturedStart(), m.capturedLength(), QStringLiteral("[%1 x _]").arg(m.capturedLength()));
            out.append(text);
        }
    }
    return out;
}

// A statement record without the receipt date, as the files are with switch 11: date, SM, type, code, value,
// operator.
QString shortLine(const char* date, const char* sm, const char* type, const QString& code, const char* value) {
    return QStringLiteral("%1;%2;%3;%4;%5;NOV")
        .arg(QString::fromLatin1(date), QString::fromLatin1(sm), QString::fromLatin1(type), code,
             QString::fromLatin1(value));
}

// The January files of the fixture in the record layout of switch 11.
void shortLayoutPeriod(ReportsEnv& env) {
    env.write(QStringLiteral("240105_101_NOV_1.vyc"), {shortLine("240105", "101", "1", env.alfa(100, 1), "100.00"),
                                                       shortLine("240105", "101", "1", env.alfa(100, 2), "100,00"),
                                                       shortLine("240105", "101", "2", env.beta(50, 1), "50.00")});
    env.write(QStringLiteral("240110_102_ABC_1.vyc"), {shortLine("240110", "102", "3", env.gama("01", 1), "75.50"),
                                                       shortLine("240110", "102", "1", env.alfa(200, 3), "200.00")});
    env.write(QStringLiteral("240115_101_NOV_2.vyc"), {shortLine("240115", "101", "2", env.beta(50, 2), "50.00")});
}

// A file of SM 104 whose second code no type knows.
void withUnknownCode(ReportsEnv& env) {
    env.write(QStringLiteral("240120_104_NOV_1.vyc"),
              {ReportsEnv::line("240120", "104", "1", env.alfa(30, 1), "30.00"),
               ReportsEnv::line("240120", "104", "1", QStringLiteral("X1"), "5.00")});
}

// A file of SM 105 with a line for each of the five fixed issuers (type fields 2, 1, 3, 4 and 5), in the record
// layout of switch 11 or the default one.
void fixedIssuerFile(ReportsEnv& env) {
    const auto rec = [&](const char* type, const char* code, const char* value) {
        return env.state.sw.gFVycBezData ? shortLine("240108", "105", type, QString::fromLatin1(code), value)
                                         : ReportsEnv::line("240108", "105", type, QString::fromLatin1(code), value);
    };
    env.write(QStringLiteral("240108_105_NOV_1.vyc"),
              {rec("2", "A", "1000.00"), rec("1", "B", "1000.00"), rec("3", "C", "125.50"), rec("4", "D", "40.00"),
               rec("5", "E", "2.50")});
}

struct PrintCase {
    const char* name;
    Report report;
    std::function<void(ReportsEnv&, SmReportChoice&)> setUp;
    std::optional<Prompts::Answer> answer; // to the accounting-export question
    QStringList layout;
    QStringList prompts;
    const char* uct; // the accounting file of 5 February 2024 (31 January with switch 34)
    const char* rtb; // nullptr: rtbVyc is left as it was
};

TEST(SmPrintLayoutTest, EveryVariantOfEveryPrint) {
    const auto yes = Prompts::Answer::Yes;
    const auto no = Prompts::Answer::No;
    const auto souhrn = &SmReports::tiskniObdobiSM;
    const auto provize = &SmReports::tiskniObdobiSMProvize;
    const auto tri = &SmReports::tiskniPrehledSMTriSpol;
    const auto pet = &SmReports::tiskniPrehledSMPetSpol;
    // clang-format off
    const std::vector<PrintCase> cases = {
        {"default per SM with its accounting file", souhrn,
         [](ReportsEnv&, SmReportChoice&) {},
         yes,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled součtů za SM",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2928 2 10 BU SM          Alfa Straven     Beta Poukazk     Gama Jidlo     ",
             "3168 1 10 B-    101           200,00 Kč        100,00 Kč          0,00 Kč",
             "3408 1 10 B-    102           200,00 Kč          0,00 Kč         75,50 Kč",
             "3648 1 10 B-    103             0,00 Kč          0,00 Kč          0,00 Kč",
             "3888 3 10 B- [60 x _]",
             "4128 3 10 B- Sum           400,00 Kč        100,00 Kč         75,50 Kč",
             "5328 5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "101;200;100;0\r\n102;200;0;75,5\r\n103;0;0;0\r\n",
         nullptr},
        {"default per SM with switch 15, the period by its dates, both filters, the export declined", souhrn,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gF15 = e.state.sw.gFVycBezData = true;
             shortLayoutPeriod(e);
             c.sm = QStringLiteral("101,102");
             c.oper = QStringLiteral("nov");
         },
         no,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled součtů za SM",
             "1824 9 16 BU za období 01.01.2024 - 31.01.2024",
             "2448 5 10 B- Filtr SM: 101,102",
             "2688 5 10 B- Filtr operátor: nov",
             "3408 2 10 BU SM          Alfa Straven     Beta Poukazk     Gama Jidlo     Celkem za všechny typy stravenek:",
             "3648 1 10 B-    101           200,00 Kč        100,00 Kč          0,00 Kč        300,00 Kč",
             "3888 3 10 B- [75 x _]",
             "4128 3 10 B- Sum           200,00 Kč        100,00 Kč          0,00 Kč        300,00 Kč",
             "5328 5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "<missing>",
         nullptr},
        {"default per SM in EUR with switch 15", souhrn,
         [](ReportsEnv& e, SmReportChoice&) {
             e.state.sw.gFEuro = e.state.sw.gF15 = e.state.sw.gFExportCBA = true;
             e.setConfig(QStringLiteral("kurzEuro=25\r\n"));
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled součtů za SM (EUR)",
             "1824 9 16 BU za období 01.01.2024 - 31.01.2024",
             "2928 2 10 BU SM          Alfa Straven     Beta Poukazk     Gama Jidlo     Celkem za všechny typy poukázek (EUR):",
             "3168 1 10 B-    101           200,00 Kč        100,00 Kč          0,00 Kč        300,00 Kč",
             "3408 1 10 B-    102           200,00 Kč          0,00 Kč         75,50 Kč        275,50 Kč",
             "3648 1 10 B-    103             0,00 Kč          0,00 Kč          0,00 Kč          0,00 Kč",
             "3888 3 10 B- [75 x _]",
             "4128 3 10 B- Sum           400,00 Kč        100,00 Kč         75,50 Kč        575,50 Kč",
             "5328 5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis",
         }),
         {},
         "<missing>",
         nullptr},
        {"default per file with switch 15 and its accounting file", souhrn,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gF15 = true;
             c.nespojovat = true;
         },
         yes,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled součtů po souborech",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2928 2 10 BU DATUM/SM/OPER/POR |  Alfa Straven    Beta Poukazk    Gama Jidlo          Celkem",
             "3168 1 10 B-   240105/101/NOV/1       200,00 Kč        50,00 Kč         0,00 Kč       250,00 Kč",
             "3408 1 10 B-   240110/102/ABC/1       200,00 Kč         0,00 Kč        75,50 Kč       275,50 Kč",
             "3648 1 10 B-   240115/101/NOV/2         0,00 Kč        50,00 Kč         0,00 Kč        50,00 Kč",
             "3888 3 10 B- [75 x _]",
             "4128 3 10 B- Sum                  400,00 Kč       100,00 Kč        75,50 Kč       575,50 Kč",
             "5328 5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "101;200;50;0\r\n102;200;0;75,5\r\n101;0;50;0\r\n",
         nullptr},
        {"default per file in EUR with an unknown code", souhrn,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gFEuro = true;
             e.state.sw.gFVycetky = false;
             e.setConfig(QStringLiteral("kurzEuro=25\r\n"));
             withUnknownCode(e);
             c.nespojovat = true;
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled součtů po souborech (EUR)",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2928 2 10 BU DATUM/SM/OPER/POR |  Alfa Straven    Beta Poukazk    Gama Jidlo    ",
             "3168 1 10 B-   240105/101/NOV/1       200,00 Kč        50,00 Kč         0,00 Kč",
             "3408 1 10 B-   240110/102/ABC/1       200,00 Kč         0,00 Kč        75,50 Kč",
             "3648 1 10 B-   240115/101/NOV/2         0,00 Kč        50,00 Kč         0,00 Kč",
             "3888 1 10 B-   240120/104/NOV/1        30,00 Kč         0,00 Kč         0,00 Kč",
             "4128 3 10 B- [60 x _]",
             "4368 3 10 B- Sum                  430,00 Kč       100,00 Kč        75,50 Kč",
             "5568 5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis",
         }),
         L({"Řádky výčetek, jejichž kód nepatří žádnému typu, které nemají pole kódu a hodnoty nebo jejichž hodnota není částka, nebyly započteny. Počet: 1, v souborech: 240120_104_NOV_1.vyc"}),
         "<missing>",
         "240120_104_NOV_1.vyc Nerozpoznaná stravenka! : X1\r\n"},
        {"default per day of loading with switch 15 and its accounting file", souhrn,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gF15 = true;
             c.groupByDay = true;
             c.typOd = QStringLiteral("2");
         },
         yes,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled po dnech načítání",
             "1824 9 16 BU za období 01.01.2024 - 31.01.2024",
             "2928 2 10 BU Datum/SM       |  Beta Poukazk     Gama Jidlo           Celkem",
             "3168 1 10 B-    240105/101          50,00 Kč          0,00 Kč        250,00 Kč",
             "3408 1 10 B-    240110/102           0,00 Kč         75,50 Kč        275,50 Kč",
             "3648 1 10 B-    240115/101          50,00 Kč          0,00 Kč         50,00 Kč",
             "3888 1 10 B-    240201/101           0,00 Kč          0,00 Kč          0,00 Kč",
             "4128 1 10 B-    240201/102           0,00 Kč          0,00 Kč          0,00 Kč",
             "4368 1 10 B-    240201/103           0,00 Kč          0,00 Kč          0,00 Kč",
             "4608 3 10 B- [61 x _]",
             "4848 3 10 B- Sum                100,00 Kč         75,50 Kč        575,50 Kč",
             "6048 5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "101;50;0\r\n102;0;75,5\r\n101;50;0\r\n101;0;0\r\n102;0;0\r\n103;0;0\r\n",
         nullptr},
        {"default per day of hand-over", souhrn,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gFVycetky = false;
             c.groupByDay = c.datumVyc = true;
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled po dnech odvodu",
             "1824 9 16 BU za období 01.01.2024 - 31.01.2024",
             "2928 2 10 BU Datum/SM       |  Alfa Straven     Beta Poukazk     Gama Jidlo     ",
             "3168 1 10 B-    240105/101         200,00 Kč         50,00 Kč          0,00 Kč",
             "3408 1 10 B-    240110/102         200,00 Kč          0,00 Kč         75,50 Kč",
             "3648 1 10 B-    240115/101           0,00 Kč         50,00 Kč          0,00 Kč",
             "3888 3 10 B- [60 x _]",
             "4128 3 10 B- Sum                400,00 Kč        100,00 Kč         75,50 Kč",
             "5328 5 10 B- Datum vyhotovení: 21.1.2015               Razítko, podpis",
         }),
         {},
         "<missing>",
         nullptr},
        {"commission per SM with switch 15 and its accounting file", provize,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gF15 = true;
             c.typDo = QStringLiteral("2");
         },
         yes,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled za SM",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2712 3 7 BU SM                            Alfa Straven             |                     Beta Poukazk             |Celkem za všechny zobrazené typy stravenek:",
             "2880 3 7 BU         |             Cena        Provize DPH z provize|             Cena        Provize DPH z provize|",
             "3048 3 7 B- 101           200,00 Kč        6,00 Kč        1,26 Kč        100,00 Kč        5,00 Kč        1,05 Kč        300,00 Kč",
             "3216 3 7 B- 102           200,00 Kč        6,00 Kč        1,26 Kč          0,00 Kč        0,00 Kč        0,00 Kč        275,50 Kč",
             "3384 3 7 B- 103             0,00 Kč        0,00 Kč        0,00 Kč          0,00 Kč        0,00 Kč        0,00 Kč          0,00 Kč",
             "3552 3 7 B- [134 x _]",
             "3720 3 7 B- Sum                400,00 Kč       12,00 Kč        2,52 Kč        100,00 Kč        5,00 Kč        1,05 Kč        575,50 Kč",
             "4560 5 10 B- Datum vyhotovení: 21.1.2015",
             "4560 35 10 B- Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "101;200;6;1,26;100;5;1,05\r\n102;200;6;1,26;0;0;0\r\n103;0;0;0;0;0;0\r\n",
         nullptr},
        {"commission of one type with switches 18 and 34 and an SM filter", provize,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gF18 = e.state.sw.gFDatumOdvodu = true;
             c.typDo = QStringLiteral("1");
             c.sm = QStringLiteral("101");
         },
         yes,
         L({
             "720 8 13 B- Sběrna poukázek, Dlouhá 12",
             "1656 8 19 BU Přehled za SM",
             "2112 12 19 BU za odvod ke dni 31.01.2024",
             "2808 8 10 B- Filtr SM: 101",
             "3528 6 10 BU SM                            Alfa Straven             |",
             "3768 6 10 BU         |             Cena        Provize DPH z provize|",
             "4008 6 10 B- 101           200,00 Kč        4,74 Kč        1,26 Kč",
             "4248 6 10 B- [62 x _]",
             "4488 6 10 B- Sum                200,00 Kč        4,74 Kč        1,26 Kč",
             "5688 8 13 B- Datum vyhotovení: 21.1.2015Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "101;200;6;1,26\r\n",
         nullptr},
        {"commission per file, the export declined", provize,
         [](ReportsEnv&, SmReportChoice& c) {
             c.nespojovat = true;
             c.typDo = QStringLiteral("2");
         },
         no,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled provizí po souborech",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2712 2 7 BU SM/OPER/POR  |                     Alfa Straven             |                     Beta Poukazk             |",
             "2880 3 7 BU         |             Cena        Provize DPH z provize|             Cena        Provize DPH z provize|",
             "3048 1 7 B-    101/NOV/1         200,00 Kč        6,00 Kč        1,26 Kč         50,00 Kč        2,50 Kč        0,53 Kč",
             "3216 1 7 B-    101/NOV/2           0,00 Kč        0,00 Kč        0,00 Kč         50,00 Kč        2,50 Kč        0,53 Kč",
             "3384 1 7 B-    102/ABC/1         200,00 Kč        6,00 Kč        1,26 Kč          0,00 Kč        0,00 Kč        0,00 Kč",
             "3552 3 7 B- [106 x _]",
             "3720 3 7 B- Sum                400,00 Kč       12,00 Kč        2,52 Kč        100,00 Kč        5,00 Kč        1,05 Kč",
             "4560 5 10 B- Datum vyhotovení: 21.1.2015",
             "4560 35 10 B- Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "<missing>",
         nullptr},
        {"commission per day with switch 15, both filters and its accounting file", provize,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gF15 = true;
             c.groupByDay = true;
             c.sm = QStringLiteral("101");
             c.oper = QStringLiteral("NOV");
         },
         yes,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled provizí po dnech načítání",
             "1824 9 16 BU za období 01.01.2024 - 31.01.2024",
             "2376 5 7 B- Filtr SM: 101",
             "2544 5 7 B- Filtr operátor: NOV",
             "3048 2 7 BU Datum/SM       |                     Alfa Straven             |                     Beta Poukazk             |                     Gama Jidlo               |Celkem za všechny zobrazené typy stravenek:",
             "3216 3 7 BU               |             Cena        Provize DPH z provize|             Cena        Provize DPH z provize|             Cena        Provize DPH z provize|",
             "3384 1 7 B-    240105/101         200,00 Kč        6,00 Kč        1,26 Kč         50,00 Kč        2,50 Kč        0,53 Kč          0,00 Kč        0,00 Kč        0,00 Kč        250,00 Kč",
             "3552 1 7 B-    240115/101           0,00 Kč        0,00 Kč        0,00 Kč         50,00 Kč        2,50 Kč        0,53 Kč          0,00 Kč        0,00 Kč        0,00 Kč         50,00 Kč",
             "3720 3 7 B- [178 x _]",
             "3888 3 7 B- Sum                200,00 Kč        6,00 Kč        1,26 Kč        100,00 Kč        5,00 Kč        1,05 Kč          0,00 Kč        0,00 Kč        0,00 Kč        300,00 Kč",
             "4728 5 10 B- Datum vyhotovení: 21.1.2015",
             "4728 35 10 B- Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "240105;101;200;6;1,26;50;2,5;0,53;0;0;0\r\n240115;101;0;0;0;50;2,5;0,53;0;0;0\r\n",
         nullptr},
        {"commission per SM in EUR with an unknown code", provize,
         [](ReportsEnv& e, SmReportChoice&) {
             e.state.sw.gFEuro = true;
             e.state.sw.gFVycetky = false;
             e.setConfig(QStringLiteral("kurzEuro=25\r\n"));
             withUnknownCode(e);
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled za SM",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2712 3 7 BU SM                            Alfa Straven             |                     Beta Poukazk             |                     Gama Jidlo               |",
             "2880 3 7 BU         |             Cena        Provize DPH z provize|             Cena        Provize DPH z provize|             Cena        Provize DPH z provize|",
             "3048 3 7 B- 101           200,00 Kč        6,00 Kč        1,26 Kč        100,00 Kč        5,00 Kč        1,05 Kč          0,00 Kč        0,00 Kč        0,00 Kč",
             "3216 3 7 B- 102           200,00 Kč        6,00 Kč        1,26 Kč          0,00 Kč        0,00 Kč        0,00 Kč         75,50 Kč        0,00 Kč        0,00 Kč",
             "3384 3 7 B- 104            30,00 Kč        0,90 Kč        0,19 Kč          0,00 Kč        0,00 Kč        0,00 Kč          0,00 Kč        0,00 Kč        0,00 Kč",
             "3552 3 7 B- [150 x _]",
             "3720 3 7 B- Sum                430,00 Kč       12,90 Kč        2,71 Kč        100,00 Kč        5,00 Kč        1,05 Kč         75,50 Kč        0,00 Kč        0,00 Kč",
             "4560 5 10 B- Datum vyhotovení: 21.1.2015",
             "4560 35 10 B- Razítko, podpis",
         }),
         L({"Řádky výčetek, jejichž kód nepatří žádnému typu, které nemají pole kódu a hodnoty nebo jejichž hodnota není částka, nebyly započteny. Počet: 1, v souborech: 240120_104_NOV_1.vyc"}),
         "<missing>",
         "240120_104_NOV_1.vyc Nerozpoznaná stravenka! : X1\r\n"},
        {"commission without a type in the range, switch 15, the period by its dates", provize,
         [](ReportsEnv& e, SmReportChoice& c) {
             e.state.sw.gF15 = e.state.sw.gFVycBezData = true;
             e.state.sw.gFVycetky = false;
             shortLayoutPeriod(e);
             c.typOd = QStringLiteral("3");
             c.typDo = QStringLiteral("2");
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled za SM",
             "1824 9 16 BU za období 01.01.2024 - 31.01.2024",
             "2712 3 7 BU SM       Celkem za všechny zobrazené typy stravenek:",
             "2880 3 7 BU         |",
             "3048 3 7 B- 101           300,00 Kč",
             "3216 3 7 B- 102           275,50 Kč",
             "3384 3 7 B- [46 x _]",
             "3552 3 7 B- Sum                575,50 Kč",
             "4392 5 10 B- Datum vyhotovení: 21.1.2015",
             "4392 35 10 B- Razítko, podpis",
         }),
         {},
         "<missing>",
         nullptr},
        {"three issuers, the period by its dates, an SM filter", tri,
         [](ReportsEnv& e, SmReportChoice& c) {
             threeIssuerTypes(e);
             e.state.sw.gFVycBezData = true;
             fixedIssuerFile(e);
             c.sm = QStringLiteral("105");
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 12 BU Přehled stravenek za SM",
             "1728 12 12 BU za období 01.01.2024 - 31.01.2024",
             "2208 5 8 B- Filtr SM: 105",
             "2784 5 8 BU SM     |                       SODEXHO                     |                       CHEQUE DJ                      |                   TICKET                       |",
             "2976 5 8 BU        |         Cena   |      Provize   |  DPH z provize  |          Cena      |   Provize     |  DPH z provize  |          Cena    |     Provize  | DPH z provize|",
             "3168 1 8 B-      101            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
             "3360 1 8 B-      102            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
             "3552 1 8 B-      103            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
             "3744 1 8 B-      105        1 000,00 Kč        39,50 Kč        10,50 Kč           1 000,00 Kč        23,70 Kč         6,30 Kč             125,50 Kč         1,98 Kč         0,53 Kč",
             "3936 5 8 B- [213 x _]",
             "4128 5 8 B- Sum        1 000,00 Kč        39,50 Kč        10,50 Kč           1 000,00 Kč        23,70 Kč         6,30 Kč             125,50 Kč         1,98 Kč         0,53 Kč",
             "5088 5 8 B- Datum vyhotovení:21.1.2015 14:30:05",
             "5280 20 8 B- Razítko, podpis",
         }),
         {},
         "<missing>",
         nullptr},
        {"three issuers, the hand-over date, an operator filter", tri,
         [](ReportsEnv& e, SmReportChoice& c) {
             threeIssuerTypes(e);
             fixedIssuerFile(e);
             c.oper = QStringLiteral("NOV");
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 12 BU Přehled stravenek za SM",
             "1728 9 12 BU k datu odvodu 05.02.2024",
             "2208 5 8 B- Filtr operátor: NOV",
             "2784 5 8 BU SM     |                       SODEXHO                     |                       CHEQUE DJ                      |                   TICKET                       |",
             "2976 5 8 BU        |         Cena   |      Provize   |  DPH z provize  |          Cena      |   Provize     |  DPH z provize  |          Cena    |     Provize  | DPH z provize|",
             "3168 1 8 B-      101          100,00 Kč         3,95 Kč         1,05 Kč             200,00 Kč         4,74 Kč         1,26 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
             "3360 1 8 B-      102            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
             "3552 1 8 B-      103            0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč               0,00 Kč         0,00 Kč         0,00 Kč",
             "3744 1 8 B-      105        1 000,00 Kč        39,50 Kč        10,50 Kč           1 000,00 Kč        23,70 Kč         6,30 Kč             125,50 Kč         1,98 Kč         0,53 Kč",
             "3936 5 8 B- [213 x _]",
             "4128 5 8 B- Sum        1 100,00 Kč        43,45 Kč        11,55 Kč           1 200,00 Kč        28,44 Kč         7,56 Kč             125,50 Kč         1,98 Kč         0,53 Kč",
             "5088 5 8 B- Datum vyhotovení:21.1.2015 14:30:05",
             "5280 20 8 B- Razítko, podpis",
         }),
         {},
         "<missing>",
         nullptr},
        {"five issuers per file with the accounting file", pet,
         [](ReportsEnv& e, SmReportChoice& c) {
             fixedIssuerFile(e);
             c.nespojovat = true;
         },
         yes,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled stravenek po souborech",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2928 4 10 BU SM/OPER/POR      SODEXHO         CHEQUE DJ            TICKET               EXI",
             "3168 1 10 B-     101/NOV/1       50,00 Kč         200,00 Kč           0,00 Kč           0,00 Kč",
             "3408 1 10 B-     101/NOV/2       50,00 Kč           0,00 Kč           0,00 Kč           0,00 Kč",
             "3648 1 10 B-     102/ABC/1        0,00 Kč         200,00 Kč          75,50 Kč           0,00 Kč",
             "3888 1 10 B-     105/NOV/1    1 000,00 Kč       1 000,00 Kč         125,50 Kč          40,00 Kč",
             "4128 5 10 B- [75 x _]",
             "4368 5 10 B- Sum        1 100,00 Kč       1 400,00 Kč         201,00 Kč          40,00 Kč",
             "5568 5 10 B- Datum vyhotovení: 21.1.2015 14:30:05",
             "5808 20 10 B- Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "240205;101;50;200;0;0\r\n240205;101;50;0;0;0\r\n240205;102;0;200;75,5;0\r\n240205;105;1000;1000;125,5;40\r\n",
         nullptr},
        {"five issuers per SM, the period by its dates, the export declined", pet,
         [](ReportsEnv& e, SmReportChoice&) {
             e.state.sw.gFVycBezData = true;
             shortLayoutPeriod(e);
             fixedIssuerFile(e);
         },
         no,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled stravenek za SM",
             "1824 9 16 BU za období 01.01.2024 - 31.01.2024",
             "2928 5 10 BU SM                 SODEXHO         CHEQUE DJ            TICKET               EXI",
             "3168 1 10 B-      101         100,00 Kč         200,00 Kč           0,00 Kč           0,00 Kč",
             "3408 1 10 B-      102           0,00 Kč         200,00 Kč          75,50 Kč           0,00 Kč",
             "3648 1 10 B-      103           0,00 Kč           0,00 Kč           0,00 Kč           0,00 Kč",
             "3888 1 10 B-      105       1 000,00 Kč       1 000,00 Kč         125,50 Kč          40,00 Kč",
             "4128 5 10 B- [75 x _]",
             "4368 5 10 B- Sum        1 100,00 Kč       1 400,00 Kč         201,00 Kč          40,00 Kč",
             "5568 5 10 B- Datum vyhotovení: 21.1.2015 14:30:05",
             "5808 20 10 B- Razítko, podpis",
         }),
         L({"Provést export do účetního souboru?"}),
         "<missing>",
         nullptr},
        {"five issuers per SM without switch 10", pet,
         [](ReportsEnv& e, SmReportChoice&) {
             e.state.sw.gFVycetky = false;
             fixedIssuerFile(e);
         },
         std::nullopt,
         L({
             "720 5 10 B- Sběrna poukázek, Dlouhá 12",
             "1440 5 16 BU Přehled stravenek za SM",
             "1824 9 16 BU k datu odvodu 05.02.2024",
             "2928 5 10 BU SM                 SODEXHO         CHEQUE DJ            TICKET               EXI",
             "3168 1 10 B-      101         100,00 Kč         200,00 Kč           0,00 Kč           0,00 Kč",
             "3408 1 10 B-      102           0,00 Kč         200,00 Kč          75,50 Kč           0,00 Kč",
             "3648 1 10 B-      105       1 000,00 Kč       1 000,00 Kč         125,50 Kč          40,00 Kč",
             "3888 5 10 B- [75 x _]",
             "4128 5 10 B- Sum        1 100,00 Kč       1 400,00 Kč         201,00 Kč          40,00 Kč",
             "5328 5 10 B- Datum vyhotovení: 21.1.2015 14:30:05",
             "5568 20 10 B- Razítko, podpis",
         }),
         {},
         "<missing>",
         nullptr},
    };
    // clang-format on
    for (const PrintCase& k : cases) {
        SCOPED_TRACE(k.name);
        ReportsEnv env;
        SmReportChoice c = env.choice();
        c.fontName = QStringLiteral("Liberation Mono"); // rtbVyc's font, whatever it is
        k.setUp(env, c);
        if (k.answer)
            env.prompts.queueAnswer(*k.answer);
        SmReports reports(env.services());
        Printer printer;
        const SmReportResult r = (reports.*k.report)(printer, c);
        ASSERT_TRUE(r.done) << env.prompts.texts().join(u'\n').toStdString();
        ASSERT_TRUE(printer.endDoc().ok());
        ASSERT_EQ(printer.printed().size(), 1u);
        const QStringList layout = layoutOf(printer.printed().back());
        const QByteArray uct =
            env.bytes(env.folder / "uct" / (env.state.sw.gFDatumOdvodu ? "240131.uct" : "240205.uct"));
        EXPECT_EQ(layout, k.layout);
        for (const PrintRun& run : printer.printed().back().pages.front().runs)
            EXPECT_EQ(run.font.name, c.fontName) << run.text.toStdString();
        EXPECT_EQ(env.prompts.texts(), k.prompts);
        EXPECT_EQ(uct, QByteArray(k.uct));
        EXPECT_EQ(r.rtbText, k.rtb ? std::optional(QString::fromUtf8(k.rtb)) : std::nullopt);
    }
}

TEST(SmPrintLayoutTest, APrintThatCannotWriteItsAccountingFileOrFigureACommissionPrintsNothing) {
    struct Case {
        const char* name;
        Report report;
        std::function<void(ReportsEnv&, SmReportChoice&)> setUp;
        QString failure; // the last message, or its start
    };
    const auto uctIsAFolder = [](ReportsEnv& e, SmReportChoice&) {
        std::filesystem::create_directory(e.folder / "uct" / "240205.uct");
        e.prompts.queueAnswer(Prompts::Answer::Yes);
    };
    const QString unwritten = QStringLiteral("Účetní soubor se nepodařilo zapsat.\r\n");
    const std::vector<Case> cases = {
        {"default", &SmReports::tiskniObdobiSM, uctIsAFolder, unwritten},
        {"commission", &SmReports::tiskniObdobiSMProvize, uctIsAFolder, unwritten},
        {"five issuers", &SmReports::tiskniPrehledSMPetSpol, uctIsAFolder, unwritten},
        {"three issuers", &SmReports::tiskniPrehledSMTriSpol,
         [](ReportsEnv& e, SmReportChoice&) {
             threeIssuerTypes(e);
             e.state.gColStrav->Item(1)->Provize = 100000;
             e.write(QStringLiteral("240108_105_NOV_1.vyc"),
                     {ReportsEnv::line("240108", "105", "2", QStringLiteral("A"), "2000000000000.00")});
         },
         sumOutOfRangeText(QStringLiteral("středisko 105, provize typu SODEXHO"))},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ReportsEnv env;
        SmReportChoice c = env.choice();
        k.setUp(env, c);
        SmReports reports(env.services());
        Printer printer;
        const SmReportResult r = (reports.*k.report)(printer, c);
        EXPECT_FALSE(r.done);
        EXPECT_FALSE(r.rtbText.has_value());
        EXPECT_FALSE(printer.hasOutput());
        EXPECT_TRUE(printer.printed().empty());
        ASSERT_FALSE(env.prompts.records().empty());
        EXPECT_EQ(env.prompts.records().back().icon, Prompts::Icon::Critical);
        EXPECT_TRUE(env.prompts.texts().last().startsWith(k.failure)) << env.prompts.texts().join(u'|').toStdString();
    }
}

} // namespace
