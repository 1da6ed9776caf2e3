#include "datafiles/DataFilePrint.h"

#include "core/ReaderControl.h"
#include "datafiles/tests/DataFilesFixture.h"
#include "platform/Printer.h"

using namespace trv;

namespace {

class DataFilePrintTest : public test::DataFilesFixture {
protected:
    QStringList printSummary(const char* name) {
        const auto summary = DataFilePrint::spocti(*state, prompts, clock, reader, data / name);
        EXPECT_TRUE(summary.ok()) << summary.message().toStdString();
        if (!summary.ok())
            return {};
        DataFilePrint::Hlavicka heading{QStringLiteral("Courier New"), {}, QStringLiteral("Firma s.r.o."), clock.now()};
        DataFilePrint::tiskniSouhrn(printer, state->config, summary.value(), heading);
        EXPECT_TRUE(printer.endDoc().ok());
        return printer.printed().back().textLines();
    }

    NullReaderControl reader;
    Printer printer;
};

} // namespace

TEST_F(DataFilePrintTest, SummaryCountsPerTypeAndValueInNumericOrderAndLeavesTheReceiptAlone) {
    state->gDatumPrijmu = QStringLiteral("261210");
    state->gSM = QStringLiteral("777");
    writeData("150121_001_02_1.txt", "11100001\r\n22050002\r\nNOREAD\r\n11100003\r\n\r\n1201234567\r\n");
    const QStringList lines = printSummary("150121_001_02_1.txt");
    EXPECT_EQ(lines, strings({"           Součty souboru", "             SM:...................",
                              "               Firma s.r.o.", "                    Alfa",
                              "       Hodnota       Množství           Součet Kč",
                              "          50,00       X           1        =           50,00 Kč",
                              "         100,00       X           2        =          200,00 Kč",
                              "       Součet        X         3        =         250,00 Kč", "                    Beta",
                              "       Hodnota       Množství           Součet Kč",
                              "         120,00       X           1        =          120,00 Kč",
                              "       Součet        X         1        =         120,00 Kč",
                              "     Celkem za všechny typy", "     Celková částka:         370,00 Kč",
                              "     Celkový počet:           4 ks", "     10.12.2026 9:05:03"}));
    // Each table ruled: a rule above and below the type's name, below the heading, each row and the total, and
    // the verticals of every row.
    const auto& page = printer.printed().back().pages.front();
    EXPECT_EQ(page.rules.size(), size_t(6 + 20 + 5 + 14));
    EXPECT_EQ(page.rules.front().x2 - page.rules.front().x1, 5800);
    EXPECT_EQ(state->gDatumPrijmu, QStringLiteral("261210"));
    EXPECT_EQ(state->gSM, QStringLiteral("777"));
    EXPECT_EQ(state->gColStrav, nullptr);
}

TEST_F(DataFilePrintTest, AFileWithoutCountedCodesPrintsEveryTypeWithItsNoCodesLine) {
    writeData("150121_001_02_1.txt", "NOREAD\r\nNOREAD\r\n");
    const QStringList lines = printSummary("150121_001_02_1.txt");
    EXPECT_EQ(lines.mid(3), strings({"                    Alfa", "Nebyly načteny žádné stravenky.",
                                     "                    Beta", "Nebyly načteny žádné stravenky.",
                                     "     Celkem za všechny typy", "     Celková částka:           0,00 Kč",
                                     "     Celkový počet:           0 ks", "     10.12.2026 9:05:03"}));
}

TEST_F(DataFilePrintTest, AnUnknownCodeIsReportedAndTheRestCounted) {
    writeData("150121_001_02_1.txt", "123\r\n11100001\r\n");
    const QStringList lines = printSummary("150121_001_02_1.txt");
    EXPECT_TRUE(lines.contains(QStringLiteral("         100,00       X           1        =          100,00 Kč")));
    ASSERT_EQ(prompts.records().size(), size_t(1));
    EXPECT_TRUE(prompts.records().front().text.contains(QStringLiteral("123")));
    // A stored file is no reading: the reader is left alone.
    EXPECT_EQ(reader.stops(), 0);
}

TEST_F(DataFilePrintTest, AMissingFileIsAnErrorNamingIt) {
    const auto summary = DataFilePrint::spocti(*state, prompts, clock, reader, data / "chybi.txt");
    ASSERT_FALSE(summary.ok());
    EXPECT_TRUE(summary.message().contains(QStringLiteral("chybi.txt")));
}

TEST_F(DataFilePrintTest, ACodeWhoseValueCannotBeComputedCountsAtZeroAfterAMessage) {
    write(home / "TypStrav.ini", "[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=Gama\r\nDelka=8\r\nPozCastka=1\r\n"
                                 "DelkaCastka=1\r\nKoefCastka=1\r\nTabulkaHodnot=Hodnoty.ini\r\n");
    write(home / "Hodnoty.ini", "[Hodnoty]\r\nPocet=2\r\nHodnota1=1:100\r\nHodnota2=2:abc\r\n");
    writeData("150121_001_02_1.txt", "10000001\r\n20000002\r\n20000003\r\n");
    const QStringList lines = printSummary("150121_001_02_1.txt");
    EXPECT_TRUE(lines.contains(QStringLiteral("           0,00       X           2        =            0,00 Kč")))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("     Celkový počet:           3 ks")));
    const auto told = std::count_if(prompts.records().begin(), prompts.records().end(),
                                    [](const auto& r) { return r.text.contains(QStringLiteral("abc")); });
    EXPECT_EQ(told, 1);
}
