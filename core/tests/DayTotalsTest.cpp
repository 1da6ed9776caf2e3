#include "core/DayTotals.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/ReaderControl.h"
#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;
namespace fs = std::filesystem;

namespace trv {
void PrintTo(const DayTotals::Row& r, std::ostream* os) {
    *os << r.pokladni << ' ' << r.datum.toString(Qt::ISODate).toStdString() << ' ' << r.hodnCHe.units() << ' '
        << r.hodnSod.units() << ' ' << r.hodnExi.units() << ' ' << r.hodnTic.units();
}
} // namespace trv

namespace {

using Row = DayTotals::Row;

Row row(qint64 desk, QDate day, qint64 cheCents, qint64 sodCents, qint64 exiCents, qint64 ticCents) {
    return Row{desk,
               day,
               Currency::fromCents(cheCents),
               Currency::fromCents(sodCents),
               Currency::fromCents(exiCents),
               Currency::fromCents(ticCents)};
}

const QDate kDay(2026, 1, 15);
const QString kNotRecognised = QStringLiteral("Stravenka cislo abc nebyla rozpoznana.");

// The program folder of the fixture: definitions of six voucher types (CHEQUE, Sodik, EXIT, Ticket, one of no
// issuer of the table and a second SOD type), a configuration with Dir=data and ExpDir=export, and day files of
// 15 January 2026 for cash desks 001 (two files) and 002, among files of other days and other names.
class DayTotalsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        folder = TextFiles::toPath(m_dir.path());
        fs::copy(fs::path(TRV_TEST_DATA) / "booking" / "dennisoucty", folder, fs::copy_options::recursive);
        fs::create_directory(folder / "export");
        state = AppState(folder);
        table = folder / "export" / "exp_data.dbf";
    }

    DayTotals totals() { return DayTotals(state, prompts, clock, reader); }
    // The message of the fixture's one line that is no code, naming its file.
    QString notRecognised() const {
        return kNotRecognised + QStringLiteral(" Soubor: ") + TextFiles::toQString(folder / "data" / "260115A001.TXT");
    }

    std::vector<Row> readRows() const {
        auto dbf = DbfTable::open(table, DbfTable::Access::ReadOnly);
        EXPECT_TRUE(dbf.ok()) << dbf.message().toStdString();
        if (!dbf.ok())
            return {};
        const auto records = dbf.value().readAll();
        EXPECT_TRUE(records.ok());
        std::vector<Row> rows;
        for (const DbfRecord& r : records.value()) {
            rows.push_back(Row{r.integer(u"pokladni").value_or(-1), QDate::fromString(r.text(u"datum"), u"yyyyMMdd"),
                               r.number(u"HODN_CHE").value_or(Currency()), r.number(u"hodn_sod").value_or(Currency()),
                               r.number(u"hodn_Exi").value_or(Currency()), r.number(u"hodn_Tic").value_or(Currency())});
        }
        return rows;
    }

    QTemporaryDir m_dir;
    fs::path folder;
    fs::path table;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 1, 16), QTime(8, 0))};
    NullReaderControl reader;
};

} // namespace

TEST_F(DayTotalsTest, CashDeskOfTheFileName) {
    const QString day = QStringLiteral("260115");
    const std::vector<std::pair<QString, std::optional<QString>>> cases = {
        {QStringLiteral("260115001.txt"), QStringLiteral("001")},
        {QStringLiteral("260115A001.TXT"), QStringLiteral("001")},
        {QStringLiteral("260115_x_042.Txt"), QStringLiteral("042")},
        {QStringLiteral("260115_1_7.txt"), std::nullopt}, // no three digits before the extension
        {QStringLiteral("260115007_2.txt"), QStringLiteral("007")}, // a receipt started by cash desk
        {QStringLiteral("260116007_2.txt"), std::nullopt},
        {QStringLiteral("260115' OR 1=1.txt"), std::nullopt},
        {QStringLiteral("260115.txt"), std::nullopt},
        {QStringLiteral("26011500.txt"), std::nullopt}, // the cash desk would overlap the date
        {QStringLiteral("260116001.txt"), std::nullopt},
        {QStringLiteral("260115001.bal"), std::nullopt},
        {QStringLiteral("260115001txt"), std::nullopt},
        {QStringLiteral("x260115001.txt"), std::nullopt},
    };
    for (const auto& [name, desk] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(DayTotals::pokladnaZNazvu(name, day), desk);
    }
}

TEST_F(DayTotalsTest, TotalsPerCashDesk) {
    const auto rows = totals().spoctiDen(QStringLiteral("260115"));
    ASSERT_TRUE(rows.ok()) << rows.message().toStdString();
    const std::vector<Row> expected = {
        row(1, kDay, 1300, 30000, 500, 725), // two files; Sodik counts as SOD; NOREAD and other issuers left out
        row(2, kDay, 9990, 5000, 0, 0),      // the second SOD type adds to the same issuer
    };
    EXPECT_EQ(rows.value(), expected);
    // The line that is no code is named with its file in one message; the rest is totalled; no reader to stop.
    EXPECT_EQ(prompts.texts(), QStringList{notRecognised()});
    EXPECT_EQ(reader.stops(), 0);
}

TEST_F(DayTotalsTest, StoredCodesWithoutValueTableEntryCountAndSummariesAreNoDayFiles) {
    // A TIC type valued from its table, which knows the part 11 only; its codes are in a file of desk 002.
    const auto define = [this](const char* section, const char* key, const char* value) {
        ASSERT_TRUE(ProfileFile::write(folder / "TypStrav.ini", QString::fromLatin1(section), QString::fromLatin1(key),
                                       QString::fromLatin1(value))
                        .ok());
    };
    define("TYPY", "Pocet", "7");
    define("TYP7", "Nazev", "TICKET Tabulka");
    define("TYP7", "Delka", "8");
    define("TYP7", "PozCastka", "1");
    define("TYP7", "DelkaCastka", "2");
    define("TYP7", "TabulkaHodnot", "tab.ini");
    ASSERT_TRUE(TextFiles::writeAll(folder / "tab.ini", QStringLiteral("[Hodnoty]\r\nPocet=1\r\nHodnota1=11:80\r\n")).ok());
    ASSERT_TRUE(TextFiles::writeLines(folder / "data" / "260115002_2.txt",
                                      {QStringLiteral("11000000"), QStringLiteral("22000000"),
                                       QStringLiteral("22000000")})
                    .ok());
    // The AS400 nominal summary beside a day file: same stem, ".TXT" in capitals; never booked.
    ASSERT_TRUE(TextFiles::writeLines(folder / "data" / "260115002.TXT",
                                      {QStringLiteral("260115002;00001;99,90"), QStringLiteral("260115002;00001;50,00")})
                    .ok());

    const auto rows = totals().spoctiDen(QStringLiteral("260115"));
    ASSERT_TRUE(rows.ok()) << rows.message().toStdString();
    const std::vector<Row> expected = {row(1, kDay, 1300, 30000, 500, 725), row(2, kDay, 9990, 5000, 0, 8000)};
    EXPECT_EQ(rows.value(), expected);
    // The code the table lacks counts at 0 and is reported once by its valuation; the reader is not stopped.
    EXPECT_EQ(prompts.texts(),
              (QStringList{QStringLiteral("Nebyla definována hodnota v tabulce hodnot pro TICKET Tabulka hodnota 22"),
                           notRecognised()}));
    EXPECT_EQ(reader.stops(), 0);
}

TEST_F(DayTotalsTest, DefinitionProblemsAreReportedOncePerRunNotPerCashDesk) {
    // A seventh type whose value table is missing: its load reports it, and the day has two cash desks.
    const auto define = [this](const char* section, const char* key, const char* value) {
        ASSERT_TRUE(ProfileFile::write(folder / "TypStrav.ini", QString::fromLatin1(section), QString::fromLatin1(key),
                                       QString::fromLatin1(value))
                        .ok());
    };
    define("TYPY", "Pocet", "7");
    define("TYP7", "Nazev", "Tabulkovy");
    define("TYP7", "Delka", "30");
    define("TYP7", "TabulkaHodnot", "chybi.ini");

    const auto rows = totals().spoctiDen(QStringLiteral("260115"));
    ASSERT_TRUE(rows.ok()) << rows.message().toStdString();
    const std::vector<Row> expected = {row(1, kDay, 1300, 30000, 500, 725), row(2, kDay, 9990, 5000, 0, 0)};
    EXPECT_EQ(rows.value(), expected); // each cash desk still counts only its own codes
    EXPECT_EQ(prompts.texts(),
              (QStringList{QStringLiteral("Nebyla definována tabulka hodnot pro Tabulkovy"), notRecognised()}));
}

TEST_F(DayTotalsTest, TwoRunsForOneDayGiveTheSameRows) {
    // A table as older runs left it: a row of another day, and the day's row of desk 001 added up twice.
    {
        auto dbf = DbfTable::create(table, DayTotals::sloupce());
        ASSERT_TRUE(dbf.ok());
        ASSERT_TRUE(dbf.value()
                        .append({{QStringLiteral("pokladni"), DbfValue::integer(1)},
                                 {QStringLiteral("datum"), DbfValue::text(QStringLiteral("20260114"))},
                                 {QStringLiteral("hodn_CHe"), DbfValue::number(Currency::fromInt(5))}})
                        .ok());
        ASSERT_TRUE(dbf.value()
                        .append({{QStringLiteral("pokladni"), DbfValue::integer(1)},
                                 {QStringLiteral("datum"), DbfValue::text(QStringLiteral("20260115"))},
                                 {QStringLiteral("hodn_CHe"), DbfValue::number(Currency::fromInt(26))},
                                 {QStringLiteral("hodn_Sod"), DbfValue::number(Currency::fromInt(600))}})
                        .ok());
        ASSERT_TRUE(dbf.value().close().ok());
    }
    // The receipt the program holds is not the export's business.
    state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
    ASSERT_TRUE(state.gColStrav->NactiINI().ok());
    auto held = std::make_shared<CPolozka>();
    held->Kod = QStringLiteral("4440000000");
    held->setTypS(state.gColStrav->Item(1));
    state.gColStrav->Item(1)->Polozky->Add(held);

    const std::vector<Row> expected = {
        row(1, QDate(2026, 1, 14), 500, 0, 0, 0),
        row(1, kDay, 1300, 30000, 500, 725),
        row(2, kDay, 9990, 5000, 0, 0),
    };
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const Status st = totals().ExportDoreviz(QStringLiteral("260115"));
        ASSERT_TRUE(st.ok()) << st.message().toStdString();
        EXPECT_EQ(readRows(), expected);
    }
    ASSERT_EQ(state.gColStrav->Item(1)->Polozky->count(), 1);
    EXPECT_EQ(state.gColStrav->Item(1)->Polozky->Item(1), held);
    for (int i = 2; i <= state.gColStrav->count(); ++i)
        EXPECT_EQ(state.gColStrav->Item(i)->Polozky->count(), 0);
    EXPECT_FALSE(fs::exists(folder / "export" / "exp_data.dbf.zapis"));
}

TEST_F(DayTotalsTest, CreatesTheTableWhenMissing) {
    ASSERT_TRUE(totals().ExportDoreviz(QStringLiteral("260117")).ok());
    ASSERT_TRUE(fs::exists(table));
    EXPECT_TRUE(readRows().empty());
    EXPECT_TRUE(prompts.records().empty());

    ASSERT_TRUE(totals().ExportDoreviz(QStringLiteral("260115")).ok());
    const std::vector<Row> expected = {row(1, kDay, 1300, 30000, 500, 725), row(2, kDay, 9990, 5000, 0, 0)};
    EXPECT_EQ(readRows(), expected);
    auto dbf = DbfTable::open(table, DbfTable::Access::ReadOnly);
    ASSERT_TRUE(dbf.ok());
    const auto& fields = dbf.value().fields();
    ASSERT_EQ(fields.size(), DayTotals::sloupce().size());
    for (size_t i = 0; i < fields.size(); ++i) {
        const DbfField& want = DayTotals::sloupce()[i];
        SCOPED_TRACE(want.name.toStdString());
        EXPECT_EQ(fields[i].name.toUpper(), want.name.toUpper());
        EXPECT_EQ(fields[i].type, want.type);
        EXPECT_EQ(fields[i].width, want.width);
        EXPECT_EQ(fields[i].decimals, want.decimals);
    }
}

TEST_F(DayTotalsTest, ATableOfAnotherLayoutKeepsItsColumns) {
    // Column names in other letter cases and wider number fields, as other programs create the table.
    const std::vector<DbfField> fields = {
        {QStringLiteral("POKLADNI"), DbfFieldType::Numeric, 20, 5},
        {QStringLiteral("DATUM"), DbfFieldType::Character, 8, 0},
        {QStringLiteral("HODN_CHE"), DbfFieldType::Numeric, 20, 5},
        {QStringLiteral("HODN_SOD"), DbfFieldType::Numeric, 20, 5},
        {QStringLiteral("HODN_EXI"), DbfFieldType::Numeric, 20, 5},
        {QStringLiteral("HODN_TIC"), DbfFieldType::Numeric, 20, 5},
    };
    ASSERT_TRUE(DbfTable::create(table, fields).ok());
    ASSERT_TRUE(totals().ExportDoreviz(QStringLiteral("260115")).ok());
    const std::vector<Row> expected = {row(1, kDay, 1300, 30000, 500, 725), row(2, kDay, 9990, 5000, 0, 0)};
    EXPECT_EQ(readRows(), expected);
}

TEST_F(DayTotalsTest, FileThatIsNotADbaseTableIsLeftAlone) {
    const QByteArray text("pokladni;datum\r\n1;20260115\r\n");
    ASSERT_TRUE(TextFiles::writeBytes(table, text).ok());
    const Status st = totals().ExportDoreviz(QStringLiteral("260115"));
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains(TextFiles::toQString(table))) << st.message().toStdString();
    EXPECT_FALSE(st.message().contains(QStringLiteral(".zapis")));
    const auto after = TextFiles::readBytes(table);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after.value(), text);
    EXPECT_FALSE(fs::exists(folder / "export" / "exp_data.dbf.zapis"));
}

TEST_F(DayTotalsTest, TableWithoutTheColumnsIsLeftAlone) {
    ASSERT_TRUE(DbfTable::create(table, {{QStringLiteral("pokladni"), DbfFieldType::Numeric, 10, 0}}).ok());
    const auto before = TextFiles::readBytes(table);
    const Status st = totals().ExportDoreviz(QStringLiteral("260115"));
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains(QStringLiteral("datum")));
    EXPECT_EQ(TextFiles::readBytes(table).value(), before.value());
}

TEST_F(DayTotalsTest, BadDateAndMissingFolders) {
    for (const QString& datum :
         {QStringLiteral("260230"), QStringLiteral("2601"), QStringLiteral("26011a"), QString()}) {
        SCOPED_TRACE(datum.toStdString());
        const Status st = totals().ExportDoreviz(datum);
        ASSERT_FALSE(st.ok());
        EXPECT_TRUE(st.message().contains(QStringLiteral("RRMMDD")));
    }
    EXPECT_FALSE(fs::exists(table));

    ASSERT_TRUE(state.config.zapis(QStringLiteral("Data"), QStringLiteral("Dir"), QStringLiteral("chybi")).ok());
    EXPECT_FALSE(totals().ExportDoreviz(QStringLiteral("260115")).ok());
    EXPECT_FALSE(fs::exists(table));

    ASSERT_TRUE(state.config.zapis(QStringLiteral("Data"), QStringLiteral("Dir"), QStringLiteral("data")).ok());
    ASSERT_TRUE(state.config.zapis(QStringLiteral("Data"), QStringLiteral("ExpDir"), QStringLiteral("chybi")).ok());
    const Status noExport = totals().ExportDoreviz(QStringLiteral("260115"));
    ASSERT_FALSE(noExport.ok());
    EXPECT_TRUE(noExport.message().contains(QStringLiteral("exp_data.dbf")));

    const fs::path ini = state.config.gIniSoubor();
    ASSERT_TRUE(TextFiles::writeAll(ini, QStringLiteral("[Data]\r\nDir=data\r\n")).ok());
    const Status noKey = totals().ExportDoreviz(QStringLiteral("260115"));
    ASSERT_FALSE(noKey.ok());
    EXPECT_EQ(noKey.error().number, kErrMissingKey);
}
