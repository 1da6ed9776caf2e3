#include "receipt/ReceiptStart.h"

#include "receipt/SmReceiptStart.h"

#include "receipt/tests/ReceiptFixture.h"

#include <array>
#include <vector>

using namespace trv;
using Kind = ReceiptStart::Outcome::Kind;

namespace {

class ReceiptStartTest : public test::ReceiptFixture {
protected:
    ReceiptStart::Outcome start(const ReceiptStartInput& input) {
        ReceiptStart receiptStart(state, prompts, clock, host);
        return receiptStart.start(input);
    }

    static ReceiptStartInput newFile(const char* pokladni, const char* poradi) {
        ReceiptStartInput in;
        in.mode = ReceiptStartMode::NewFile;
        in.datum = QStringLiteral("241209");
        in.pokladni = QString::fromLatin1(pokladni);
        in.poradi = QString::fromLatin1(poradi);
        in.typSeku = QStringLiteral("Faktura");
        return in;
    }
};

} // namespace

TEST_F(ReceiptStartTest, APortThatDoesNotOpenLeavesNoNewFileAndNoReceiptFile) {
    host.setPortOpens(false);
    const auto outcome = start(newFile("007", "2"));
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.error.number, 60003);
    EXPECT_EQ(outcome.message, QStringLiteral("Port čtečky nelze otevřít.\n"
                                              "Číslo: 60003, popis: Pokus o otevření neexistujícího portu, "
                                              "nebo je již port otevřen."));
    // The empty file would only make the operator raise the order at the next attempt.
    EXPECT_FALSE(readData(QStringLiteral("241209007_2.txt")));
    EXPECT_EQ(host.calls(), (QStringList{QStringLiteral("PrepniSkener(True)"), QStringLiteral("NastavPrijem(True)")}));
    EXPECT_TRUE(host.fileName().isEmpty());
}

// A file the data folder does not let the start make is told as the data folder's failure, with the file and the
// reason, and without a number the error does not have.
TEST_F(ReceiptStartTest, AFileTheDataFolderCannotTakeNamesTheFolderAndTheReason) {
    std::filesystem::create_directories(dataFolder / "Barcode.txt");
    ReceiptStartInput in = newFile("007", "1");
    in.mode = ReceiptStartMode::Barcode;
    const auto outcome = start(in);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    const QStringList lines = outcome.message.split(u'\n');
    ASSERT_EQ(lines.size(), 2) << outcome.message.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Chyba v datovém adresáři %1").arg(TextFiles::toQString(dataFolder)));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("popis: ")) && lines[1].contains(QStringLiteral("Barcode.txt")))
        << lines[1].toStdString();
    EXPECT_TRUE(host.calls().isEmpty());
}

TEST_F(ReceiptStartTest, MissingPortSettingsStartNothing) {
    ASSERT_TRUE(ProfileFile::write(state.config.gIniSoubor(), QStringLiteral("Comm"), QStringLiteral("Parity"),
                                   QStringLiteral("hodnota nenalezena"))
                    .ok());
    for (ReceiptStartMode mode : {ReceiptStartMode::NewFile, ReceiptStartMode::Append, ReceiptStartMode::Barcode}) {
        SCOPED_TRACE(int(mode));
        ReceiptStartInput in = newFile("007", "1");
        in.mode = mode;
        in.chosenFile = QStringLiteral("241208007_1.txt");
        writeData(in.chosenFile, QStringLiteral("123\r\n"));
        const auto outcome = start(in);
        EXPECT_EQ(outcome.kind, Kind::Failed);
        EXPECT_EQ(outcome.error.number, 60002);
        EXPECT_TRUE(outcome.message.endsWith(QStringLiteral(
            "Číslo: 60002, popis: Chyba při načítání konfigurace portu. Neexistující sekce nebo klíč.")));
    }
    EXPECT_TRUE(host.calls().isEmpty());
    EXPECT_FALSE(readData(QStringLiteral("241209007_1.txt")));
}

TEST_F(ReceiptStartTest, AFileThatCannotBeReadLeavesTheReceiptAsItWas) {
    const auto type = addType(QStringLiteral("Alfa"), 3, 0);
    auto code = std::make_shared<CPolozka>();
    code->Kod = QStringLiteral("123");
    code->setTypS(type);
    type->Polozky->Add(code);
    host.setReceiptText(QStringLiteral("123\r\n"));

    ReceiptStartInput in;
    in.mode = ReceiptStartMode::Append;
    in.chosenFile = QStringLiteral("241201001_1.txt"); // deleted since the list was filled
    const auto outcome = start(in);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_TRUE(host.calls().isEmpty());
    EXPECT_EQ(host.text(), QStringLiteral("123\r\n"));
    EXPECT_EQ(booked(), QStringList{QStringLiteral("123/0")});
}

TEST_F(ReceiptStartTest, DailySafeBagModeWorksInItsOwnFolder) {
    const std::filesystem::path daily = folder / "densfb";
    std::filesystem::create_directories(daily);
    ASSERT_TRUE(TextFiles::writeAll(daily / "241201001_1.txt", QString()).ok());
    state.gDennySafeBag = true;

    ReceiptStart receiptStart(state, prompts, clock, host);
    const auto view = receiptStart.load();
    ASSERT_TRUE(view.ok());
    EXPECT_EQ(view.value().folder, daily);
    EXPECT_EQ(view.value().files, QStringList{QStringLiteral("241201001_1.txt")});

    EXPECT_EQ(start(newFile("001", "2")).kind, Kind::Started);
    EXPECT_TRUE(TextFiles::exists(daily / "241209001_2.txt"));
    EXPECT_EQ(state.gDatovyAdresar, daily);
    EXPECT_EQ(host.folder(), daily);
}

TEST_F(ReceiptStartTest, AMissingFolderKeyIsReportedWithTheDialogsDescription) {
    setConfig(QStringLiteral("Data"), QStringLiteral("DirDenSFB"), QStringLiteral("hodnota nenalezena"));
    state.gDennySafeBag = true;
    ReceiptStart receiptStart(state, prompts, clock, host);
    const auto view = receiptStart.load();
    ASSERT_FALSE(view.ok());
    EXPECT_EQ(ReceiptStart::loadFailureText(view.error()),
              QStringLiteral("Neexistující cesta k datům nebo chyba v konfiguračním souboru programu.\n"
                             "Číslo: 60000, popis: Neexistující sekce DirDenSFB nebo klíč."));
}

TEST_F(ReceiptStartTest, TheStartRecordsWhetherTheFileHoldsEarlierReadings) {
    writeData(QStringLiteral("241208001_1.txt"), QStringLiteral("NOREAD\r\n"));
    addType(QStringLiteral("Alfa"), 3, 0);

    state.gSouborVytvorenNovy = true;
    ReceiptStartInput append;
    append.mode = ReceiptStartMode::Append;
    append.chosenFile = QStringLiteral("241208001_1.txt");
    EXPECT_EQ(start(append).kind, Kind::Started);
    EXPECT_FALSE(state.gSouborVytvorenNovy);

    ReceiptStartInput barcode;
    barcode.mode = ReceiptStartMode::Barcode;
    EXPECT_EQ(start(barcode).kind, Kind::Started);
    EXPECT_TRUE(state.gSouborVytvorenNovy);

    state.gSouborVytvorenNovy = false;
    EXPECT_EQ(start(newFile("001", "1")).kind, Kind::Started);
    EXPECT_TRUE(state.gSouborVytvorenNovy);
}

TEST_F(ReceiptStartTest, TheStartRecordsTheReceiptsDateCashDeskAndOrder) {
    addType(QStringLiteral("Alfa"), 3, 0);
    writeData(QStringLiteral("241203005_3.txt"), QStringLiteral("123\r\n"));

    ReceiptStartInput append;
    append.mode = ReceiptStartMode::Append;
    ReceiptStartInput barcode;
    barcode.mode = ReceiptStartMode::Barcode;
    struct Case {
        const char* name;
        ReceiptStartInput input;
        const char* chosenFile;
        std::array<const char*, 3> recorded; // date, cash desk, order
    };
    const std::vector<Case> cases{
        {"new file", newFile("007", "2"), "", {"241209", "007", "2"}},
        {"appended file", append, "241203005_3.txt", {"241203", "005", "3"}},
        {"barcode", barcode, "", {"241209", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.gDatumPrijmu = state.gSM = state.gPoradi = QStringLiteral("stale");
        ReceiptStartInput in = c.input;
        in.chosenFile = QString::fromLatin1(c.chosenFile);
        ASSERT_EQ(start(in).kind, Kind::Started);
        EXPECT_EQ(state.gDatumPrijmu, QLatin1String(c.recorded[0]));
        EXPECT_EQ(state.gSM, QLatin1String(c.recorded[1]));
        EXPECT_EQ(state.gPoradi, QLatin1String(c.recorded[2]));
    }

    // A start that fails leaves the previous receipt's details alone.
    state.gSM = QStringLiteral("005");
    host.setPortOpens(false);
    EXPECT_EQ(start(newFile("009", "1")).kind, Kind::Failed);
    EXPECT_EQ(state.gSM, QStringLiteral("005"));
}

TEST_F(ReceiptStartTest, AppendingBooksStoredCodesWithoutValueTableEntryAndNamesUnknownLines) {
    writeLanguageFile(
        QStringLiteral("[CColStrav]\r\nStravCislo=\"Stravenka číslo \"\r\nNebylaRozp=\" nebyla rozpoznána.\"\r\n"));
    // A value-table type whose table is missing: every stored code of it stays booked (at 0).
    addType(QStringLiteral("Tabulkova"), 5, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 2;
        t.TabulkaHodnot = QStringLiteral("chybi.ini");
        t.TabulkaHodnotDict = std::make_shared<ValueTable>();
    });
    writeData(QStringLiteral("241208001_1.txt"), QStringLiteral("12345\r\n54321\r\n777\r\n\r\nNOREAD\r\n"));

    ReceiptStartInput append;
    append.mode = ReceiptStartMode::Append;
    append.chosenFile = QStringLiteral("241208001_1.txt");
    ASSERT_EQ(start(append).kind, Kind::Started);
    EXPECT_EQ(booked(), (QStringList{QStringLiteral("12345/1"), QStringLiteral("54321/1"), QStringLiteral("NOREAD/1")}));
    // The receipt box mirrors the file, so the saved file keeps every line.
    EXPECT_EQ(host.text(), QStringLiteral("12345\r\n54321\r\n777\r\n\r\nNOREAD\r\n"));
    // The one line of no known type: the reader stopped once, one message naming the line and the file.
    EXPECT_EQ(host.nullReader().stops(), 1);
    EXPECT_EQ(prompts.texts(),
              QStringList{QStringLiteral("Stravenka číslo 777 nebyla rozpoznána. Soubor: ") +
                          TextFiles::toQString(dataFolder / "241208001_1.txt")});
}

// The cash-desk start books the stored lines with no package value: in package/week mode it neither counts them
// in their type's running value nor warns at its thresholds.
TEST_F(ReceiptStartTest, AppendingInPackageWeekModeBooksWithoutThePackageValue) {
    const auto type = addType(QStringLiteral("PRVNI"), 7, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 7;
        t.KoefCastka = 1;
        t.VarningVycetkaSum = Currency::fromInt(4500);
        t.MaxVycetkaSum = Currency::fromInt(5000);
        t.varningSumVycetkaPohyb = t.VarningVycetkaSum;
    });
    state.sw.gFBalikyTyden = true;
    writeData(QStringLiteral("241208001_1.txt"), QStringLiteral("0004000\r\n0000600\r\n0000900\r\n"));
    ReceiptStartInput append;
    append.mode = ReceiptStartMode::Append;
    append.chosenFile = QStringLiteral("241208001_1.txt");
    ASSERT_EQ(start(append).kind, Kind::Started);
    EXPECT_EQ(booked().size(), 3);
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_TRUE(type->sumaStravenek.isZero());
    EXPECT_EQ(type->varningSumVycetkaPohyb, Currency::fromInt(4500));
}

// Codes whose values together pass the money type's range would give sums stopped at its end: the file fails as
// an unreadable one does, naming it, before anything is switched on or emptied.
TEST_F(ReceiptStartTest, AFileWhoseCodesPassTheRangeOfAmountsStartsNothing) {
    // Eleven digits, worth the first nine in millions of crowns: 600 000 000 000 000 Kč each.
    addType(QStringLiteral("Velka"), 11, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 9;
        t.KoefCastka = 1000000;
    });
    const auto kept = std::make_shared<CPolozka>();
    kept->Kod = QStringLiteral("00000000101");
    kept->setTypS(state.gColStrav->Item(1));
    state.gColStrav->Item(1)->Polozky->Add(kept);
    host.setReceiptText(QStringLiteral("00000000101\r\n"));
    writeData(QStringLiteral("241208001_1.txt"), QStringLiteral("60000000001\r\n60000000002\r\n"));

    ReceiptStartInput append;
    append.mode = ReceiptStartMode::Append;
    append.chosenFile = QStringLiteral("241208001_1.txt");
    const auto outcome = start(append);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message,
              QStringLiteral("Chyba v datovém adresáři %1\npopis: Kódy souboru %2 dávají součet větší než největší "
                             "částka, kterou program umí sečíst (922\u00A0337\u00A0203\u00A0685\u00A0477,58 Kč).")
                  .arg(TextFiles::toQString(dataFolder), TextFiles::toQString(dataFolder / "241208001_1.txt")));
    EXPECT_TRUE(host.calls().isEmpty());
    EXPECT_EQ(host.text(), QStringLiteral("00000000101\r\n"));
    EXPECT_EQ(booked(), QStringList{QStringLiteral("00000000101/0")});
}

TEST_F(ReceiptStartTest, TheFilesToAppendToAreDayFilesOnly) {
    writeData(QStringLiteral("241208001_1.txt"), QStringLiteral("12345\r\n"));
    writeData(QStringLiteral("241208001_1.TXT"), QStringLiteral("241208001_1;00001;80,00\r\n")); // its summary
    writeData(QStringLiteral("241207002_1.TXT"), QStringLiteral("241207002_1;00002;80,00\r\n")); // a summary alone
    writeData(QStringLiteral("241206003_1.TXT"), QStringLiteral("12345\r\n")); // a day file named in capitals
    ReceiptStart receiptStart(state, prompts, clock, host);
    const auto view = receiptStart.load();
    ASSERT_TRUE(view.ok());
    EXPECT_EQ(view.value().files, (QStringList{QStringLiteral("241208001_1.txt"), QStringLiteral("241206003_1.TXT")}));
}

// A receipt appends only to a day file whose name tells its date, cash desk or SM and order; any other file is
// refused by name before the reader is switched on.
TEST_F(ReceiptStartTest, AppendingToAFileOfNoKnownNameStartsNothing) {
    for (const QString& name : {QStringLiteral("pokladna.txt"), QStringLiteral("Barcode.txt")}) {
        SCOPED_TRACE(name.toStdString());
        host = RecordingReceiptHost();
        writeData(name, QStringLiteral("123\r\n"));
        ReceiptStartInput in;
        in.mode = ReceiptStartMode::Append;
        in.chosenFile = name;
        const auto outcome = start(in);
        EXPECT_EQ(outcome.kind, Kind::Refused);
        EXPECT_TRUE(outcome.message.contains(QStringLiteral("„%1“").arg(name))) << outcome.message.toStdString();
        EXPECT_TRUE(host.calls().isEmpty());
        EXPECT_TRUE(host.fileName().isEmpty());
    }
}

// A switch-on command that does not reach the reader leaves the receipt started (codes can be typed) and
// tells the operator, naming the port and the reason; both starts alike.
TEST_F(ReceiptStartTest, AReaderThatIsNotSwitchedOnIsToldAndTheReceiptRuns) {
    writeLanguageFile(QStringLiteral("[frmPrijemSec]\nByloPridano=\"Přidáno \"\nStravenek=\" stravenek\"\n"));
    const QString reason = QStringLiteral("Zápis na port se nedokončil.");
    for (const bool sm : {false, true}) {
        SCOPED_TRACE(sm ? "statement start" : "cash-desk start");
        host = RecordingReceiptHost();
        prompts = ScriptedPrompts();
        host.setReaderSwitchFailure(RecordingReceiptHost::PortFailure{4, QStringLiteral("/dev/pts/9"), Error{0, reason}});
        bool started = false;
        if (sm) {
            state.gDelkaSM = 3;
            SmReceiptInput in;
            in.soubor = QStringLiteral("241209");
            in.sm = QStringLiteral("123");
            in.operator_ = QStringLiteral("AB");
            in.poradi = QStringLiteral("1");
            started = SmReceiptStart(state, prompts, clock, host).start(in).kind == SmReceiptStart::Outcome::Kind::Started;
        } else {
            started = start(newFile("007", "1")).kind == Kind::Started;
        }
        ASSERT_TRUE(started);
        EXPECT_TRUE(host.receiving());
        EXPECT_FALSE(host.readerOn());
        EXPECT_FALSE(host.fileName().isEmpty());
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Exclamation);
        EXPECT_EQ(prompts.records()[0].text,
                  QStringLiteral("Čtečka nebyla zapnuta, příkaz nešel na port COM4 (odpovídá mu zařízení /dev/pts/9 "
                                 "(podle proměnné prostředí TRV7300_COM4)): ") +
                      reason + QStringLiteral("\nPříjem běží, kódy lze zadávat ručně."));
    }
}
