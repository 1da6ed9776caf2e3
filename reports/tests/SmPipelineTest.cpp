#include "reports/tests/ReportsFixture.h"

#include "core/SharedHelpers.h"
#include "exports/SmSums.h"
#include "platform/DbfTable.h"

using namespace trv;
using namespace trv::test;

namespace {

struct Row {
    std::string sm, datum, oper, poradi;
    std::vector<double> sums;
};

// Sums small enough to compare as doubles.
std::vector<double> doubles(const std::vector<Currency>& sums) {
    std::vector<double> out;
    for (const Currency& s : sums)
        out.push_back(s.toDouble());
    return out;
}

std::vector<Row> rowsOf(const SmPeriod& p) {
    std::vector<Row> out;
    for (const SmRow& r : p.rows)
        out.push_back(
            {r.sm.toStdString(), r.datum.toStdString(), r.oper.toStdString(), r.poradi.toStdString(), doubles(r.sums)});
    return out;
}

bool operator==(const Row& a, const Row& b) {
    return a.sm == b.sm && a.datum == b.datum && a.oper == b.oper && a.poradi == b.poradi && a.sums == b.sums;
}
void PrintTo(const Row& r, std::ostream* os) {
    *os << r.sm << "/" << r.datum << "/" << r.oper << "/" << r.poradi << ":";
    for (double s : r.sums)
        *os << " " << s;
}

TEST(SmPipelineTest, GroupsTheScratchTablePerVariant) {
    ReportsEnv env;
    SmReports reports(env.services());
    SmReportChoice c = env.choice();

    // Per SM: the decimal comma of a value field counts its decimals; the SM list's last entry (no comma) gives
    // a zero row.
    auto p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(rowsOf(*p), (std::vector<Row>{{"101", "", "", "", {200, 100, 0}},
                                             {"102", "", "", "", {200, 0, 75.5}},
                                             {"103", "", "", "", {0, 0, 0}}}));

    // The table as a dBASE reader sees it: one row per file, then the zero rows; sm as wide as DelkaSM.
    auto table = DbfTable::open(env.folder / "data" / "data.dbf", DbfTable::Access::ReadOnly);
    ASSERT_TRUE(table.ok());
    const auto& f = table.value().fields();
    QStringList names;
    for (const DbfField& field : f)
        names.append(field.name.toLower() + QString::number(field.width));
    EXPECT_EQ(names, L({"sm3", "hod120", "hod220", "hod320", "operator3", "poradi3", "datum6"}));
    EXPECT_EQ(table.value().recordCount(), 6);

    // Per day: rows by day, then SM; the zero rows carry the day of the last statement file looked at.
    c.groupByDay = true;
    p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(rowsOf(*p), (std::vector<Row>{{"101", "240105", "", "", {200, 50, 0}},
                                             {"102", "240110", "", "", {200, 0, 75.5}},
                                             {"101", "240115", "", "", {0, 50, 0}},
                                             {"101", "240201", "", "", {0, 0, 0}},
                                             {"102", "240201", "", "", {0, 0, 0}},
                                             {"103", "240201", "", "", {0, 0, 0}}}));

    // Per file, without zero rows.
    c.groupByDay = false;
    c.nespojovat = true;
    p = reports.nactiObdobi(SmReportKind::Prehled, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(rowsOf(*p), (std::vector<Row>{{"101", "", "NOV", "1", {200, 50, 0}},
                                             {"101", "", "NOV", "2", {0, 50, 0}},
                                             {"102", "", "ABC", "1", {200, 0, 75.5}}}));
    EXPECT_TRUE(env.prompts.texts().isEmpty());
}

TEST(SmPipelineTest, FiltersAndWidths) {
    ReportsEnv env;
    SmReports reports(env.services());
    SmReportChoice c = env.choice();

    // Whole SMs: "10" and "1" are not SM 101; the filter drops the zero rows.
    env.write(QStringLiteral("240106_10_NOV_1.vyc"), {ReportsEnv::line("240106", "10", "1", env.alfa(30, 1), "30")});
    c.sm = QStringLiteral("101, 10");
    auto p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->rows.size(), 2u);
    EXPECT_EQ(p->rows[0].sm, QStringLiteral("10"));
    EXPECT_EQ(p->rows[1].sm, QStringLiteral("101"));

    // Operator filter in any case; an SM longer than DelkaSM widens the column instead of being cut.
    c.sm.clear();
    c.oper = QStringLiteral("abc");
    env.write(QStringLiteral("240107_10234_ABC_1.vyc"), {ReportsEnv::line("240107", "10234", "1", env.alfa(40, 1), "40")});
    env.setConfig(QStringLiteral("DelkaSM=\r\n"));
    p = reports.nactiObdobi(SmReportKind::Provize, c);
    ASSERT_TRUE(p);
    QStringList sms;
    for (const SmRow& r : p->rows)
        sms.append(r.sm);
    EXPECT_EQ(sms, L({"101", "102", "10234", "103"}));
    auto table = DbfTable::open(env.folder / "data" / "data.dbf", DbfTable::Access::ReadOnly);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.value().fields()[0].width, 5);

    // A long operator is cut to three characters, the order is the character before the extension; an upper-case
    // extension is not a statement file of the reports.
    c.oper = QStringLiteral("novak");
    c.nespojovat = true;
    env.write(QStringLiteral("240108_106_NOVAK_12.vyc"), {ReportsEnv::line("240108", "106", "1", env.alfa(10, 1), "10")});
    env.write(QStringLiteral("240108_106_NOVAK_3.VYC"), {ReportsEnv::line("240108", "106", "1", env.alfa(10, 2), "10")});
    p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->rows.size(), 1u);
    EXPECT_EQ(p->rows[0].oper, QStringLiteral("NOV"));
    EXPECT_EQ(p->rows[0].poradi, QStringLiteral("2"));
    EXPECT_EQ(doubles(p->rows[0].sums), (std::vector<double>{10, 0, 0}));
}

TEST(SmPipelineTest, EndsWithItsMessages) {
    ReportsEnv env;
    SmReports reports(env.services());
    SmReportChoice c = env.choice();

    // An unrecognised code counts nothing, is shown and counted among the lines left out.
    env.write(QStringLiteral("240120_104_NOV_1.vyc"), {ReportsEnv::line("240120", "104", "1", QStringLiteral("XYZ"), "10")});
    auto p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->note, QStringLiteral("240120_104_NOV_1.vyc Nerozpoznaná stravenka! : XYZ\r\n"));
    EXPECT_EQ(env.prompts.texts(), L({"Řádky výčetek, jejichž kód nepatří žádnému typu, které nemají pole kódu a "
                                      "hodnoty nebo jejichž hodnota není částka, nebyly započteny. Počet: 1, v "
                                      "souborech: 240120_104_NOV_1.vyc"}));

    // No rows.
    env.state.sw.gFVycetky = false;
    c.dt1 = c.dt2 = QDate(2023, 1, 1);
    EXPECT_FALSE(reports.nactiObdobi(SmReportKind::Prehled, c));
    EXPECT_EQ(env.prompts.texts().mid(1), L({"Za zvolené období nebyly nalezeny žádné výčetky."}));

    // The hand-over date selects and a name has none.
    env.state.sw.gFDatumOdvodu = true;
    c.datumVyc = true;
    c = env.choice();
    c.datumVyc = true;
    EXPECT_FALSE(reports.nactiObdobi(SmReportKind::Souhrn, c));
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Soubor 240105_101_NOV_1.vyc neobsahuje v názvu datum odvodu."));
}

TEST(SmPipelineTest, ASumTheScratchTableCannotHoldEndsTheReportNamingTheFileOrTheSm) {
    // One file's sum, or the sum of an SM's files, of -10^14 or below: the table's value column holds no such number.
    struct Case {
        std::vector<std::pair<const char*, const char*>> files; // name, value of its one Alfa line
        const char* where;
    };
    for (const Case& k : std::vector<Case>{
             {{{"240106_104_OP1_1.vyc", "-100000000000000"}}, "soubor 240106_104_OP1_1.vyc, Alfa Stravenka"},
             {{{"240106_104_OP1_1.vyc", "-60000000000000"}, {"240107_104_OP1_2.vyc", "-40000000000000"}},
              "středisko 104, Alfa Stravenka"},
         }) {
        SCOPED_TRACE(k.where);
        ReportsEnv env;
        int serial = 10;
        for (const auto& [name, value] : k.files)
            env.write(QString::fromLatin1(name),
                      {ReportsEnv::line("240106", "104", "1", env.alfa(100, ++serial), value)});
        SmReports reports(env.services());
        Printer printer;
        const SmReportResult r = reports.cmdPrintSM(printer, env.choice());
        EXPECT_FALSE(r.done);
        EXPECT_FALSE(printer.hasOutput());
        EXPECT_EQ(env.prompts.texts(), QStringList{scratchColumnMisfitText(QString::fromUtf8(k.where))});
        EXPECT_FALSE(TextFiles::exists(env.folder / "data" / "data.dbf"));
    }
}

TEST(SmPipelineTest, FixedIssuersByTypeField) {
    ReportsEnv env;
    SmReports reports(env.services());
    env.write(QStringLiteral("240108_105_NOV_1.vyc"),
              {ReportsEnv::line("240108", "105", "2", QStringLiteral("A"), "500.00"), ReportsEnv::line("240108", "105", "1", QStringLiteral("B"), "250.00"),
               ReportsEnv::line("240108", "105", "7", QStringLiteral("C"), "80.00"), ReportsEnv::line("240108", "105", "5", QStringLiteral("D"), "2.50"),
               ReportsEnv::line("240108", "105", "5", QStringLiteral("E"), "1.00")});
    auto p = reports.nactiObdobi(SmReportKind::PetSpol, env.choice());
    ASSERT_TRUE(p);
    // 2.5 rounds to the even 2, then 2 + 1.
    EXPECT_EQ(p->rows[3].sm, QStringLiteral("105"));
    EXPECT_EQ(doubles(p->rows[3].sums), (std::vector<double>{500, 250, 0, 0, 3}));

    // Whole crowns whose rounding passes the top of the money type end the report as any sum that does not fit.
    ASSERT_TRUE(TextFiles::remove(env.folder / "data" / "240108_105_NOV_1.vyc").ok());
    env.write(QStringLiteral("240109_106_NOV_1.vyc"),
              {ReportsEnv::line("240109", "106", "5", QStringLiteral("F"), "922337203685477.5")});
    EXPECT_FALSE(reports.nactiObdobi(SmReportKind::PetSpol, env.choice()));
    EXPECT_EQ(env.prompts.texts().last(),
              sumOutOfRangeText(QString::fromUtf8("soubor 240109_106_NOV_1.vyc, poukázky")));
}

} // namespace

namespace {

TEST(SmPipelineTest, DatesPrefixesAndValuesByVariant) {
    ReportsEnv env;
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.groupByDay = true;

    // Selection by the hand-over date that follows the load date.
    for (const char* name : {"240105_101_NOV_1.vyc", "240110_102_ABC_1.vyc", "240115_101_NOV_2.vyc", "240201_101_NOV_1.vyc"})
        ASSERT_TRUE(TextFiles::remove(env.folder / "data" / name).ok());
    env.write(QStringLiteral("231229-240116_101_NOV_1.vyc"), {ReportsEnv::line("231229", "101", "1", env.alfa(20, 1), "20")});
    env.state.sw.gFDatumOdvodu = true;
    env.state.sw.gFVycetky = false;
    c.datumVyc = true;
    auto p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->rows.size(), 1u);
    EXPECT_EQ(p->rows[0].datum, QStringLiteral("240116"));
    c.datumVyc = false;
    EXPECT_FALSE(reports.nactiObdobi(SmReportKind::Souhrn, c)); // loaded on 29 December: outside

    // Customer mode: the overviews and the print with commission drop two characters of the name, the default
    // print reads it as it stands.
    env.state.sw.gFDatumOdvodu = false;
    env.state.sw.gFZakaznik = true;
    env.write(QStringLiteral("XX240120_104_NOV_1.vyc"), {ReportsEnv::line("240120", "104", "1", env.alfa(30, 1), "30")});
    p = reports.nactiObdobi(SmReportKind::Prehled, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->rows.back().sm, QStringLiteral("104"));
    EXPECT_FALSE(reports.nactiObdobi(SmReportKind::Souhrn, c));

    // The plain overview takes the code's own value whatever the value field says; the print takes the field,
    // and in EUR mode the code's value too.
    env.state.sw.gFZakaznik = false;
    env.write(QStringLiteral("240121_105_NOV_1.vyc"), {ReportsEnv::line("240121", "105", "1", env.alfa(40, 1), "12.5")});
    c.groupByDay = false;
    c.sm = QStringLiteral("105");
    p = reports.nactiObdobi(SmReportKind::Prehled, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(doubles(p->rows[0].sums), (std::vector<double>{40, 0, 0}));
    p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(doubles(p->rows[0].sums), (std::vector<double>{12.5, 0, 0}));
    env.state.sw.gFEuro = true;
    env.setConfig(QStringLiteral("kurzEuro=25\r\n"));
    p = reports.nactiObdobi(SmReportKind::Provize, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(doubles(p->rows[0].sums), (std::vector<double>{40, 0, 0}));
}

} // namespace

namespace {

TEST(SmPipelineTest, RecordLayoutsOfSwitches11And28) {
    struct Case {
        const char* name;
        bool bezData, depo;
        const char* line; // %1 the code
    };
    for (const Case& layout : std::vector<Case>{{"switch 11", true, false, "240105;101;1;%1;100.00;NOV"},
                                                {"switch 28", false, true, "D7;240105;ENV1;101;1;%1;100.00;NOV"}}) {
        SCOPED_TRACE(layout.name);
        ReportsEnv env;
        env.state.sw.gFVycBezData = layout.bezData;
        env.state.sw.gFDepo = layout.depo;
        for (const char* name : {"240105_101_NOV_1.vyc", "240110_102_ABC_1.vyc", "240115_101_NOV_2.vyc"})
            ASSERT_TRUE(TextFiles::remove(env.folder / "data" / name).ok());
        env.write(QStringLiteral("240106_101_NOV_1.vyc"),
                  {QString::fromLatin1(layout.line).arg(env.alfa(100, 1)),
                   QString::fromLatin1(layout.line).arg(env.beta(50, 1)).replace(QStringLiteral("100.00"),
                                                                                 QStringLiteral("50.00"))});
        SmReports reports(env.services());
        SmReportChoice c = env.choice();
        c.sm = QStringLiteral("101");
        auto p = reports.nactiObdobi(SmReportKind::Souhrn, c);
        ASSERT_TRUE(p);
        ASSERT_EQ(p->rows.size(), 1u);
        EXPECT_EQ(doubles(p->rows[0].sums), (std::vector<double>{100, 50, 0}));
        EXPECT_TRUE(env.prompts.texts().isEmpty()) << env.prompts.texts().join(u'\n').toStdString();
    }
}

TEST(SmPipelineTest, ANameWithoutAnSmIsNamedAndLeftOut) {
    ReportsEnv env;
    env.write(QStringLiteral("240106007_1.vyc"), {ReportsEnv::line("240106", "101", "1", env.alfa(30, 1), "30")});
    env.write(QStringLiteral("240107_101.vyc"), {ReportsEnv::line("240107", "101", "1", env.alfa(40, 1), "40")});
    SmReports reports(env.services());
    auto p = reports.nactiObdobi(SmReportKind::Souhrn, env.choice());
    ASSERT_TRUE(p);
    EXPECT_EQ(rowsOf(*p), (std::vector<Row>{{"101", "", "", "", {200, 100, 0}},
                                             {"102", "", "", "", {200, 0, 75.5}},
                                             {"103", "", "", "", {0, 0, 0}}}));
    EXPECT_EQ(env.prompts.texts(),
              L({"Tyto výčetky nenesou v názvu středisko a nebyly započteny: 240106007_1.vyc, 240107_101.vyc"}));
}

} // namespace

namespace {

TEST(SmPipelineTest, ABlankFilterTakesEverySmAndAValueOutOfRangeIsLeftOut) {
    ReportsEnv env;
    env.write(QStringLiteral("240106_101_NOV_3.vyc"),
              {ReportsEnv::line("240106", "101", "1", env.alfa(100, 5), "99999999999999999999999"),
               ReportsEnv::line("240106", "101", "1", env.alfa(100, 6), "100.00")});
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.sm = QStringLiteral(" ");
    auto p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    // As with no filter: every file, and the zero row of the SM list's 103.
    EXPECT_EQ(rowsOf(*p), (std::vector<Row>{{"101", "", "", "", {300, 100, 0}},
                                             {"102", "", "", "", {200, 0, 75.5}},
                                             {"103", "", "", "", {0, 0, 0}}}));
    EXPECT_EQ(env.prompts.texts(), L({"Řádky výčetek, jejichž kód nepatří žádnému typu, které nemají pole kódu a "
                                      "hodnoty nebo jejichž hodnota není částka, nebyly započteny. Počet: 1, v "
                                      "souborech: 240106_101_NOV_3.vyc"}));
}

} // namespace

namespace {

TEST(SmPipelineTest, ANameOfThreeOrOfSevenPartsGivesItsSmAsThePeriodComputationReadsIt) {
    ReportsEnv env;
    env.write(QStringLiteral("240106_104_OP1.vyc"), {ReportsEnv::line("240106", "104", "1", env.alfa(30, 1), "30")});
    env.write(QStringLiteral("240107_105_NOVAK_1_2_3_4.vyc"),
              {ReportsEnv::line("240107", "105", "1", env.alfa(40, 1), "40")});
    SmReports reports(env.services());
    SmReportChoice c = env.choice();
    c.sm = QStringLiteral("104,105");
    c.nespojovat = true;
    auto p = reports.nactiObdobi(SmReportKind::Souhrn, c);
    ASSERT_TRUE(p);
    EXPECT_EQ(rowsOf(*p),
              (std::vector<Row>{{"104", "240106", "OP1", "1", {30, 0, 0}}, {"105", "240107", "NOV", "4", {40, 0, 0}}}));
    EXPECT_TRUE(env.prompts.texts().isEmpty());
}

TEST(SmPipelineTest, ASumTheMoneyTypeCannotHoldEndsTheReportBeforeItPrints) {
    // Each file fits; the sum of SM 104 does not, nor the total of its types, nor that of all rows, nor a column's.
    // A file: its name and the types ("1" Alfa, "2" Beta) of its lines, each worth half the range.
    struct Case {
        std::vector<std::pair<const char*, std::vector<const char*>>> files;
        const char* where;
    };
    for (const Case& k : std::vector<Case>{
             {{{"240106_104_OP1_1.vyc", {"1"}}, {"240107_104_OP1_2.vyc", {"1"}}}, "středisko 104, Alfa Stravenka"},
             {{{"240106_104_OP1_1.vyc", {"1", "2"}}}, "středisko 104, součet všech typů"},
             {{{"240106_104_OP1_1.vyc", {"1"}}, {"240107_105_OP1_2.vyc", {"2"}}}, "součet všech středisek a typů"},
             {{{"240106_104_OP1_1.vyc", {"1"}}, {"240107_105_OP1_2.vyc", {"1"}}}, "všechna střediska, Alfa Stravenka"},
         }) {
        SCOPED_TRACE(k.where);
        ReportsEnv env;
        int serial = 10;
        for (const auto& [name, types] : k.files) {
            QStringList lines;
            for (const char* type : types) {
                const QString code = QByteArray(type) == "1" ? env.alfa(100, ++serial) : env.beta(50, ++serial);
                lines.append(ReportsEnv::line("240106", "104", type, code, "500000000000000"));
            }
            env.write(QString::fromLatin1(name), lines);
        }
        SmReports reports(env.services());
        env.state.sw.gFTiskSM = env.state.sw.gFRozpoznaniKodem = true;
        Printer printer;
        const SmReportResult r = reports.cmdPrintSM(printer, env.choice());
        EXPECT_FALSE(r.done);
        EXPECT_FALSE(printer.hasOutput());
        EXPECT_EQ(env.prompts.texts(), QStringList{sumOutOfRangeText(QString::fromUtf8(k.where))});
        EXPECT_FALSE(TextFiles::exists(env.folder / "uct" / "240205.uct"));
        // Nor is the scratch table written, nor its working copy left.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(env.folder / "data"), {}),
                  std::ptrdiff_t(k.files.size() + 4));
        EXPECT_FALSE(TextFiles::exists(env.folder / "data" / "data.dbf"));
    }
}

} // namespace
