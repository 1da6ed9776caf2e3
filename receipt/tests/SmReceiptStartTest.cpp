#include "receipt/SmReceiptStart.h"

#include "core/Booking.h"
#include "core/DayFileName.h"
#include "platform/Conventions.h"
#include "receipt/tests/ReceiptFixture.h"

using namespace trv;
using Kind = SmReceiptStart::Outcome::Kind;
using Mode = SmReceiptInput::Mode;

namespace {

const QStringList kReaderOn{QStringLiteral("PrepniSkener(True)"), QStringLiteral("NastavPrijem(True)")};

class SmReceiptStartTest : public test::ReceiptFixture {
protected:
    void SetUp() override {
        ReceiptFixture::SetUp();
        writeLanguageFile(QStringLiteral(
            "[frmPrijemSec]\nDatumFormat=Datum RRMMDD\nCisSMMusiObsahovat=\"SM má mít \"\nCislicDleNast=\" číslic\"\n"
            "CisSMNeniPlatne=SM neplatné\nMusZadatOper=Zadejte operátora\nZvysPoradi=\" už je, zvyšte pořadí\"\n"
            "ZadejDepo=Depo?\nZadejIdObalky=Obálka?\nZadejIdFakt=Faktura?\nSoubor=\"Soubor \"\n"
            "NeobsDatOdv=\" bez data odvodu\"\nNeobsTvarNazvu=\" má neznámý tvar\"\nByloPridano=\"Přidáno \"\n"
            "Stravenek=\" stravenek\"\nSoubBalZalozen=Balíky existují\nNeexCestaKDatum=\"Chyba startu. \"\n"
            "TRVTrid=Třídění\nTRVZpracStrav=Zpracování\n[frmHlavni]\nPokusNeexPort=Port nejde otevřít\n"));
        // Alfa: six digits, worth its first three; Beta: eight digits, worth its first two. Their package
        // thresholds are the definition file's defaults.
        addType(QStringLiteral("Alfa stravenky"), 6, 0, [](CStrav& t) {
            t.PozCastka = 1;
            t.DelkaCastka = 3;
            t.KoefCastka = 1;
            defaultThresholds(t);
        });
        addType(QStringLiteral("Beta šeky"), 8, 0, [](CStrav& t) {
            t.PozCastka = 1;
            t.DelkaCastka = 2;
            t.KoefCastka = 1;
            defaultThresholds(t);
        });
        state.gDelkaSM = 3;
    }

    static void defaultThresholds(CStrav& t) {
        t.VarningVycetkaSum = Currency::fromInt(450000);
        t.MaxVycetkaSum = Currency::fromInt(500000);
        t.varningSumVycetkaPohyb = t.VarningVycetkaSum;
    }

    SmReceiptStart::Outcome start(const SmReceiptInput& input) {
        SmReceiptStart start(state, prompts, clock, host);
        return start.start(input);
    }

    static SmReceiptInput newFile(const char* sm = "123", const char* op = "AB", const char* poradi = "1") {
        SmReceiptInput in;
        in.mode = Mode::NewFile;
        in.soubor = QStringLiteral("241209");
        in.sm = QString::fromUtf8(sm);
        in.operator_ = QString::fromUtf8(op);
        in.poradi = QString::fromUtf8(poradi);
        in.balik = QStringLiteral("12");
        in.tyden = QStringLiteral("3");
        in.dtDek = QDate(2024, 11, 30);
        in.typSeku = QStringLiteral("Stravenky");
        return in;
    }

    static SmReceiptInput append(const QString& file) {
        SmReceiptInput in = newFile();
        in.mode = Mode::Append;
        in.chosenFile = file;
        return in;
    }

    QStringList dataFiles() const {
        QStringList names;
        for (const auto& e : std::filesystem::directory_iterator(dataFolder))
            names.append(TextFiles::toQString(e.path().filename()));
        names.sort();
        return names;
    }
};

} // namespace

TEST_F(SmReceiptStartTest, TheNameFollowsTheCustomerSwitchesAndParsesBackToItsParts) {
    struct Case {
        bool balikyTyden, datumOdvodu, zakaznik;
        const char* soubor;
        const char* name;
    };
    const std::vector<Case> cases{
        {false, false, false, "141215", "141215_123_AB_1.txt"},
        {true, false, false, "141215", "141215_123_AB_1_12_3.txt"},
        {false, true, false, "141215", "141215-241130_123_AB_1.txt"},
        {true, true, false, "141215", "141215-241130_123_AB_1.txt"},
        {false, false, true, "20141215", "20141215_123_AB_1.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.sw.gFBalikyTyden = c.balikyTyden;
        state.sw.gFDatumOdvodu = c.datumOdvodu;
        state.sw.gFZakaznik = c.zakaznik;
        SmReceiptInput in = newFile();
        in.soubor = QString::fromLatin1(c.soubor);
        const auto name = SmReceiptStart(state, prompts, clock, host).fileName(in);
        ASSERT_TRUE(name.ok()) << name.message().toStdString();
        EXPECT_EQ(name.value(), QString::fromLatin1(c.name));
        const auto parts = DayFileName::parse(name.value());
        ASSERT_TRUE(parts);
        EXPECT_EQ(parts->datum, QString::fromLatin1(c.soubor));
        EXPECT_EQ(parts->sm, QStringLiteral("123"));
        EXPECT_EQ(parts->operator_, QStringLiteral("AB"));
    }
}

TEST_F(SmReceiptStartTest, TheHandOverDateIsTheFifteenthOrTheLastDayOfThePreviousMonth) {
    struct Case {
        QDate today, expected;
        bool switch34;
    };
    const std::vector<Case> cases{
        {QDate(2015, 3, 16), QDate(2015, 3, 15), false},
        {QDate(2015, 3, 15), QDate(2015, 2, 28), false},
        {QDate(2015, 5, 10), QDate(2015, 4, 30), false},
        {QDate(2015, 8, 10), QDate(2015, 7, 31), false},
        {QDate(2015, 1, 5), QDate(2014, 12, 31), false},
        // In a leap year February has 29 days.
        {QDate(2016, 3, 10), QDate(2016, 2, 29), false},
        {QDate(2016, 3, 10), QDate(2016, 3, 10), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(SmReceiptStart::VypocitejPerioduDelvity(c.today, c.switch34), c.expected);
    }
}

TEST_F(SmReceiptStartTest, ARefusedEntryStartsNothingAndCreatesNothing) {
    struct Case {
        const char* what;
        std::function<void(AppState&, SmReceiptInput&)> set;
        const char* message;
        Prompts::Icon icon;
    };
    const auto crit = Prompts::Icon::Critical;
    const std::vector<Case> cases{
        {"date", [](AppState&, SmReceiptInput& in) { in.soubor = QStringLiteral("241332"); }, "Datum RRMMDD", crit},
        {"SM length", [](AppState&, SmReceiptInput& in) { in.sm = QStringLiteral("12"); }, "SM má mít 3 číslic", crit},
        {"SM length in customer mode",
         [](AppState& s, SmReceiptInput& in) {
             s.sw.gFZakaznik = true;
             in.soubor = QStringLiteral("free");
             in.sm = QStringLiteral("1234");
         },
         "SM má mít 3 číslic", crit},
        {"SM inside an entry",
         [](AppState& s, SmReceiptInput& in) {
             s.sw.gFSeznamSM = true;
             s.gSeznamSM = QStringLiteral("1234, 456,");
             in.sm = QStringLiteral("123");
         },
         "SM neplatné", crit},
        {"no SM list",
         [](AppState& s, SmReceiptInput&) {
             s.sw.gFSeznamSM = true;
             s.gSeznamSM = QStringLiteral("X");
         },
         "SM neplatné", crit},
        {"operator", [](AppState&, SmReceiptInput& in) { in.operator_.clear(); }, "Zadejte operátora", crit},
        {"operator with an underscore", [](AppState&, SmReceiptInput& in) { in.operator_ = QStringLiteral("A_B"); },
         "Operátor „A_B“ nesmí obsahovat znak „_“.", crit},
        {"empty order", [](AppState&, SmReceiptInput& in) { in.poradi.clear(); }, "Pořadí nesmí být prázdné.", crit},
        // Named as it is on disk.
        {"existing name", [](AppState&, SmReceiptInput&) {}, "Soubor 241209_123_AB_1.TXT už je, zvyšte pořadí", crit},
        {"depot",
         [](AppState& s, SmReceiptInput& in) {
             s.sw.gFDepo = true;
             in.identObalky = QStringLiteral("O1");
         },
         "Depo?", Prompts::Icon::None},
        {"envelope",
         [](AppState& s, SmReceiptInput& in) {
             s.sw.gFDepo = true;
             in.depo = QStringLiteral("100");
         },
         "Obálka?", Prompts::Icon::None},
        {"invoice id for Barcode.txt",
         [](AppState& s, SmReceiptInput& in) {
             s.sw.gFDepo = true;
             in.mode = Mode::Barcode;
             in.depo = QStringLiteral("100");
             in.identObalky = QStringLiteral("O1");
             in.sm.clear();
         },
         "Faktura?", Prompts::Icon::None},
    };
    writeData(QStringLiteral("241209_123_AB_1.TXT"), QStringLiteral("500123\r\n"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        state.sw = CustomerSwitches();
        SmReceiptInput in = newFile();
        if (QLatin1String(c.what) != QLatin1String("existing name"))
            in.poradi = in.poradi.isEmpty() ? in.poradi : QStringLiteral("2");
        c.set(state, in);
        const auto outcome = start(in);
        EXPECT_EQ(outcome.kind, Kind::Refused);
        EXPECT_EQ(outcome.message, QString::fromUtf8(c.message));
        EXPECT_EQ(outcome.icon, c.icon);
        EXPECT_EQ(outcome.focusPoradi, QLatin1String(c.what) == QLatin1String("existing name"));
    }
    EXPECT_TRUE(host.calls().isEmpty());
    EXPECT_EQ(dataFiles(), QStringList{QStringLiteral("241209_123_AB_1.TXT")});
}

TEST_F(SmReceiptStartTest, WholeEntriesOfTheSmListPass) {
    state.sw.gFSeznamSM = true;
    state.gSeznamSM = QStringLiteral("12a, 456 789");
    for (const char* sm : {"12A", "456", "789"}) {
        SCOPED_TRACE(sm);
        const auto outcome = start(newFile(sm));
        EXPECT_EQ(outcome.kind, Kind::Started) << outcome.message.toStdString();
    }
}

TEST_F(SmReceiptStartTest, RoadANewBarcodeFileRoadBANewDayFile) {
    writeData(QStringLiteral("Barcode.txt"), QStringLiteral("old\r\n"));
    SmReceiptInput barcode = newFile();
    barcode.mode = Mode::Barcode;
    ASSERT_EQ(start(barcode).kind, Kind::Started);
    EXPECT_EQ(readData(QStringLiteral("Barcode.txt")), QString());
    EXPECT_EQ(host.fileName(), QStringLiteral("Barcode.txt"));
    EXPECT_EQ(host.calls().mid(0, 2), kReaderOn);
    EXPECT_EQ(state.gDatumOdvodu, QDate(2024, 11, 30));

    state.sw.gFBalikyTyden = true;
    const auto outcome = start(newFile("007", "Novák", "2"));
    ASSERT_EQ(outcome.kind, Kind::Started) << outcome.message.toStdString();
    EXPECT_EQ(readData(QStringLiteral("241209_007_Novák_2_12_3.txt")), QString());
    EXPECT_EQ(host.fileName(), QStringLiteral("241209_007_Novák_2_12_3.txt"));
    EXPECT_EQ(host.folder(), dataFolder);
    EXPECT_TRUE(host.receiving());
    EXPECT_EQ(state.gSM, QStringLiteral("007"));
    EXPECT_EQ(state.gOperator, QStringLiteral("Novák"));
    EXPECT_EQ(state.gDatumPrijmu, QStringLiteral("241209"));
    EXPECT_EQ(state.gDatumOdvodu, QDate(2024, 11, 30));
    EXPECT_EQ(state.gDatumSouboru, QStringLiteral("241209"));
    EXPECT_FALSE(state.gNemazatSoubor);
    EXPECT_TRUE(state.gSouborVytvorenNovy);
}

TEST_F(SmReceiptStartTest, APortThatDoesNotOpenLeavesNoNewFile) {
    host.setPortOpens(false);
    const auto outcome = start(newFile());
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, QStringLiteral("Chyba startu. Err: 60003, Descr.: Port nejde otevřít"));
    EXPECT_TRUE(dataFiles().isEmpty());
    EXPECT_TRUE(host.fileName().isEmpty());
}

// What failed is named: the port with its device and the system's reason, or the data folder; an error without
// a number shows none.
TEST_F(SmReceiptStartTest, AFailedStartNamesThePortOrTheDataFolder) {
    host.setPortOpens(false);
    host.setPortFailure(RecordingReceiptHost::PortFailure{
        3, QStringLiteral("/dev/pts/7"),
        Error{0, QStringLiteral("Sériový port COM3 (/dev/pts/7) nelze otevřít: chybí oprávnění.")}});
    auto outcome = start(newFile());
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message,
              QStringLiteral("Chyba startu. Err: 60003, Descr.: Port čtečky COM3 nelze otevřít: odpovídá mu zařízení "
                             "/dev/pts/7 (podle proměnné prostředí TRV7300_COM3). Sériový port COM3 (/dev/pts/7) nelze "
                             "otevřít: chybí oprávnění."));

    host.setPortOpens(true);
    std::filesystem::remove_all(dataFolder);
    outcome = start(newFile());
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, QStringLiteral("Chyba startu. Err: 60001, Descr.: Neexistující cesta k datům: %1")
                                   .arg(TextFiles::toQString(dataFolder)));

    // Barcode.txt that the folder holds as a folder of its own cannot be emptied.
    std::filesystem::create_directories(dataFolder / "Barcode.txt" / "x");
    SmReceiptInput barcode = newFile();
    barcode.mode = Mode::Barcode;
    outcome = start(barcode);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_TRUE(outcome.message.startsWith(QStringLiteral("Chyba startu. Descr.: "))) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("Barcode.txt"))) << outcome.message.toStdString();
    EXPECT_FALSE(host.receiving());
}

TEST_F(SmReceiptStartTest, RoadCAppendReadsTheNameByItsForm) {
    struct Case {
        const char* name;
        bool switch34;
        const char* sm; // nullptr: refused before the reader is switched on
        const char* op;
        const char* datum;
    };
    const std::vector<Case> cases{
        {"141215_123_AB_1.txt", false, "123", "AB", "141215"},
        {"141215_123_Novák_12.txt", false, "123", "Novák", "141215"},
        {"141215_12345_AB_1_21_3.txt", false, "12345", "AB", "141215"},
        {"141215-141130_123_XY_1.txt", true, "123", "XY", "141215"},
        {"20141215_0815_AB_1.txt", false, "0815", "AB", "20141215"},
        {"141215_123_AB_1.txt", true, nullptr, nullptr, nullptr},
        {"Barcode.txt", false, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host = RecordingReceiptHost();
        prompts = ScriptedPrompts();
        state.sw.gFDatumOdvodu = c.switch34;
        state.gSM = QStringLiteral("before");
        const QString name = QString::fromUtf8(c.name);
        writeData(name, QStringLiteral("500123\r\n\r\n50012345\r\n500123\r\n"));
        const auto outcome = start(append(name));
        if (c.sm == nullptr) {
            EXPECT_EQ(outcome.kind, Kind::Refused);
            EXPECT_EQ(outcome.message,
                      QStringLiteral("Soubor ") + name +
                          (c.switch34 ? QStringLiteral(" bez data odvodu") : QStringLiteral(" má neznámý tvar")));
            EXPECT_TRUE(host.calls().isEmpty());
            EXPECT_EQ(state.gSM, QStringLiteral("before"));
            continue;
        }
        ASSERT_EQ(outcome.kind, Kind::Started) << outcome.message.toStdString();
        EXPECT_EQ(host.calls().mid(0, 2), kReaderOn);
        EXPECT_EQ(state.gSM, QString::fromUtf8(c.sm));
        EXPECT_EQ(state.gOperator, QString::fromUtf8(c.op));
        EXPECT_EQ(state.gDatumPrijmu, QString::fromUtf8(c.datum));
        EXPECT_EQ(state.gDatumOdvodu, QDate(2024, 11, 30));
        EXPECT_TRUE(state.gNemazatSoubor);
        EXPECT_FALSE(state.gSouborVytvorenNovy);
        // Empty lines are skipped; a repeated code is booked again and counted.
        EXPECT_EQ(booked(),
                  (QStringList{QStringLiteral("500123/1"), QStringLiteral("500123/1"), QStringLiteral("50012345/1")}));
        EXPECT_EQ(prompts.records().back().text, QStringLiteral("Přidáno 3 stravenek"));
        EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Information);
        // The box keeps the file's codes: it is what the file becomes when the program closes.
        EXPECT_EQ(host.text(), QStringLiteral("500123\r\n50012345\r\n500123\r\n"));
        EXPECT_EQ(host.fileName(), name);
    }
}

TEST_F(SmReceiptStartTest, RoadsDAndFNumberThePackagesAfterThoseInTheFile) {
    state.sw.gFBalicky = true;
    struct Case {
        const char* what;
        const char* text; // nullptr: no such file
        qint64 cislo;
        qint64 vse;
    };
    const std::vector<Case> cases{
        {"no file", nullptr, 1, 0},
        {"two packages", "#1\r\n500123\r\n250000\r\n#2\r\n50012345\r\n", 3, 800},
        {"ending in the empty header of the end of packaging", "#1\r\n500123\r\n#2\r\n250000\r\n#3\r\n", 4, 750},
        {"empty file", "", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host = RecordingReceiptHost();
        prompts = ScriptedPrompts();
        const QString name = QStringLiteral("balik%1").arg(c.cislo);
        if (c.text)
            writeData(name + QStringLiteral(".bal"), QString::fromLatin1(c.text));
        setConfig(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku"), QStringLiteral("7"));
        SmReceiptInput in = newFile();
        in.soubor = name;
        ASSERT_EQ(start(in).kind, Kind::Started);
        EXPECT_EQ(host.calls().mid(0, 2), kReaderOn);
        EXPECT_EQ(host.fileName(), name + QStringLiteral(".bal"));
        EXPECT_EQ(state.gCisloBaliku, c.cislo);
        EXPECT_EQ(host.sumaVse(), Currency::fromInt(c.vse));
        EXPECT_TRUE(host.sumaBalik().isZero());
        EXPECT_EQ(state.config.CtiKonfig(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku"), {}),
                  c.text ? QStringLiteral("7") : QStringLiteral("1"));
        if (c.text)
            EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Balíky existují")});
        else
            EXPECT_FALSE(TextFiles::exists(dataFolder / (name + QStringLiteral(".bal")).toStdU16String()));

        if (!c.text)
            continue;
        // Appending to the same file continues after its last package, and says what it holds.
        host = RecordingReceiptHost();
        prompts = ScriptedPrompts();
        ASSERT_EQ(start(append(name + QStringLiteral(".bal"))).kind, Kind::Started);
        EXPECT_EQ(state.gCisloBaliku, c.cislo);
        EXPECT_EQ(host.sumaVse(), Currency::fromInt(c.vse));
        EXPECT_EQ(
            prompts.texts(),
            QStringList{
                QStringLiteral("Bylo načteno %1 balíčků v celkové hodnotě %2,00 Kč").arg(c.cislo - 1).arg(c.vse)});
    }
}

TEST_F(SmReceiptStartTest, APackageFileWithAnUnknownCodeStartsNothing) {
    state.sw.gFBalicky = true;
    writeData(QStringLiteral("b.bal"), QStringLiteral("#1\r\n12\r\n"));
    SmReceiptInput in = newFile();
    in.soubor = QStringLiteral("b");
    const auto outcome = start(in);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("„12“"))) << outcome.message.toStdString();
    EXPECT_TRUE(host.calls().isEmpty());
}

// A day file or a package file whose codes together pass the money type's range starts nothing: the message
// names the file.
TEST_F(SmReceiptStartTest, AnAppendedFileWhoseCodesPassTheRangeOfAmountsStartsNothing) {
    // Eleven digits, worth the first nine in millions of crowns: 600 000 000 000 000 Kč each.
    addType(QStringLiteral("Velka"), 11, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 9;
        t.KoefCastka = 1000000;
    });
    struct Case {
        const char* file;
        bool packages;
        const char* text;
    };
    const std::vector<Case> cases{{"141215_123_AB_1.txt", false, "60000000001\r\n\r\n60000000002\r\n"},
                                  {"b.bal", true, "#1\r\n60000000001\r\n#2\r\n60000000002\r\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        host = RecordingReceiptHost();
        state.sw.gFBalicky = c.packages;
        const QString name = QString::fromUtf8(c.file);
        writeData(name, QString::fromUtf8(c.text));
        const auto outcome = start(append(name));
        EXPECT_EQ(outcome.kind, Kind::Failed);
        EXPECT_TRUE(outcome.message.endsWith(
            QStringLiteral("Kódy souboru %1 dávají součet větší než největší částka, kterou program umí sečíst "
                           "(922\u00A0337\u00A0203\u00A0685\u00A0477,58 Kč).")
                .arg(TextFiles::toQString(dataFolder / name.toStdU16String()))))
            << outcome.message.toStdString();
        EXPECT_TRUE(host.calls().isEmpty());
        EXPECT_TRUE(booked().isEmpty());
    }
}

TEST_F(SmReceiptStartTest, SortingModeStartsTheReaderWithoutAFile) {
    SmReceiptInput in = newFile("", "", "");
    in.sorting = true;
    // Without switch 33 the box means nothing: the entries are checked.
    EXPECT_EQ(start(in).kind, Kind::Refused);
    EXPECT_FALSE(host.trideni());

    state.sw.gF33 = true;
    ASSERT_EQ(start(in).kind, Kind::Started);
    EXPECT_EQ(host.calls(), kReaderOn);
    EXPECT_TRUE(host.trideni());
    EXPECT_TRUE(host.fileName().isEmpty());
    EXPECT_TRUE(dataFiles().isEmpty());

    SmReceiptStart(state, prompts, clock, host).sortingMode(false);
    EXPECT_FALSE(host.trideni());
    EXPECT_EQ(host.caption(), QStringLiteral("Zpracování"));
}

TEST_F(SmReceiptStartTest, TheSetUpProposesTheFirstFreeSmAndTheStoredPackages) {
    writeData(QStringLiteral("241209_001_1_1.txt"), QString());
    writeData(QStringLiteral("241209_002_1_1.txt"), QString());
    writeData(QStringLiteral("241208_003_1_1.txt"), QString());
    state.sw.gF17 = true;
    SmReceiptStart setUp(state, prompts, clock, host);
    auto view = setUp.load();
    ASSERT_TRUE(view.ok()) << view.message().toStdString();
    EXPECT_EQ(view.value().sm, QStringLiteral("003"));
    EXPECT_EQ(view.value().operator_, QStringLiteral("1"));
    EXPECT_EQ(view.value().files.front(), QStringLiteral("241209_002_1_1.txt"));

    // Package/week mode with nothing stored: one package 1 per voucher type, week 1, numbering from today.
    state.sw = CustomerSwitches();
    state.sw.gFVycetky = true;
    state.sw.gFBalikyTyden = true;
    ASSERT_TRUE(state.gColStrav->UlozINI().ok());
    view = setUp.load();
    ASSERT_TRUE(view.ok()) << view.message().toStdString();
    EXPECT_EQ(view.value().balik, QStringLiteral("11"));
    EXPECT_EQ(view.value().tyden, QStringLiteral("1"));
    EXPECT_EQ(view.value().typyBaliku, (QStringList{QStringLiteral("Alfa"), QStringLiteral("Beta")}));
    EXPECT_EQ(state.gMaxVycetkaDatumBaliku1, QStringLiteral("241209"));
    ASSERT_TRUE(state.gColStravBalik);
    EXPECT_EQ(state.gColStravBalik->count(), 2);

    // [Data] SM is read whole, however long.
    const QString longList = QString(2000, u'9') + QStringLiteral(",123");
    setConfig(QStringLiteral("Data"), QStringLiteral("SM"), longList);
    ASSERT_TRUE(setUp.load().ok());
    EXPECT_EQ(state.gSeznamSM, longList);
}

// A stored code whose value table lacks its part was taken when it was read: it stays booked, so the save
// writes it back. A line of no known type is told once. The count tells every line handed to the booking that is
// not empty, also one of no known type and one of blanks. In package/week mode every stored code counts in its
// type's running package value.
TEST_F(SmReceiptStartTest, RoadCKeepsStoredCodesTheValueTableLacksAndCountsThemInThePackage) {
    writeLanguageFile(QStringLiteral("[frmPrijemSec]\nSoubor=\"Soubor \"\nNeobsTvarNazvu=\" má neznámý tvar\"\n"
                                     "ByloPridano=\"Přidáno \"\nStravenek=\" stravenek\"\n"
                                     "[CColStrav]\nStravCislo=\"Stravenka číslo \"\nNebylaRozp=\" nebyla rozpoznána.\"\n"));
    addType(QStringLiteral("Gama tabulka"), 5, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 2;
        t.KoefCastka = 1;
        t.TabulkaHodnot = QStringLiteral("gama.ini");
        t.TabulkaHodnotDict = std::make_shared<ValueTable>();
    });
    state.sw.gFBalikyTyden = true;
    const QString name = QStringLiteral("141215_123_AB_1.txt");
    writeData(name, QStringLiteral("500123\r\n12345\r\n777\r\n   \r\n200456\r\n"));
    ASSERT_EQ(start(append(name)).kind, Kind::Started);

    EXPECT_EQ(booked(), (QStringList{QStringLiteral("500123/1"), QStringLiteral("200456/1"),
                                     QStringLiteral("12345/1")}));
    EXPECT_EQ(host.nullReader().stops(), 1);
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Stravenka číslo 777 nebyla rozpoznána. Soubor: ") +
                                             TextFiles::toQString(dataFolder / name.toStdU16String()));
    EXPECT_EQ(prompts.records()[1].text, QStringLiteral("Přidáno 5 stravenek"));
    EXPECT_EQ(state.gColStrav->Item(1)->sumaStravenek, Currency::fromUnits(700 * 10000));
    // The box, and with it the saved file, keeps every line.
    EXPECT_EQ(host.text(), QStringLiteral("500123\r\n12345\r\n777\r\n   \r\n200456\r\n"));
}

// Package/week mode: the append warns while it books the stored codes, at each threshold they pass. Codes read
// live then go to the receipt without the package value and to the package collection with it, as the code
// processor books them: the package collection warns at its own thresholds.
TEST_F(SmReceiptStartTest, RoadCWarnsOfThePackageValueAtEachThresholdThePackagePasses) {
    writeLanguageFile(QStringLiteral("[frmPrijemSec]\nByloPridano=\"Přidáno \"\nStravenek=\" stravenek\"\n"));
    // Warned past 4 500, then at every further 100.
    const auto type = addType(QStringLiteral("PRVNI"), 7, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 7;
        t.KoefCastka = 1;
        t.VarningVycetkaSum = Currency::fromInt(4500);
        t.MaxVycetkaSum = Currency::fromInt(5000);
        t.varningSumVycetkaPohyb = t.VarningVycetkaSum;
    });
    state.sw.gFBalikyTyden = true;
    const QString name = QStringLiteral("141215_123_AB_1.txt");
    // Sums 4 000, 4 600 (past 4 500), 4 650 (past 4 600), 4 670, 4 680.
    writeData(name, QStringLiteral("0004000\r\n0000600\r\n0000050\r\nNOREAD\r\n0000020\r\n0000010\r\n"));
    ASSERT_EQ(start(append(name)).kind, Kind::Started);

    const auto warning = [](qint64 sum) {
        return QStringLiteral("Společnost PRVNI má v balíku načteno za ") + formatCurrency(Currency::fromInt(sum)) +
               QStringLiteral(". Mělo by se u této společnosti zvýšit číslo balíku. ");
    };
    ASSERT_EQ(prompts.records().size(), 3u);
    EXPECT_EQ(prompts.records()[0].text, warning(4600));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(prompts.records()[1].text, warning(4650));
    EXPECT_EQ(prompts.records()[2].text, QStringLiteral("Přidáno 6 stravenek"));
    EXPECT_EQ(type->sumaStravenek, Currency::fromInt(4680));

    // The month's packages as the dialog loaded them: 4 680 of PRVNI, its next threshold 4 700.
    state.gColStravBalik = std::make_shared<CColStrav>(state, prompts, clock);
    const auto packaged = test::makeDefinedType(QStringLiteral("PRVNI"), 7, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 7;
        t.KoefCastka = 1;
        t.VarningVycetkaSum = Currency::fromInt(4500);
        t.MaxVycetkaSum = Currency::fromInt(5000);
        t.sumaStravenek = Currency::fromInt(4680);
        t.varningSumVycetkaPohyb = Currency::fromInt(4700);
    });
    packaged->PoradiSpolecnosti = 1;
    ASSERT_TRUE(state.gColStravBalik->Add(packaged).ok());
    const auto readLive = [&](const QString& code) {
        ASSERT_TRUE(Booking(state, *state.gColStrav, prompts, host.reader()).PridejKod(code, 1, false));
        ASSERT_TRUE(Booking(state, *state.gColStravBalik, prompts, host.reader()).PridejKod(code, 1, true));
    };
    readLive(QStringLiteral("0000010")); // the package collection at 4 690
    EXPECT_EQ(prompts.records().size(), 3u);
    readLive(QStringLiteral("0000020")); // 4 710
    ASSERT_EQ(prompts.records().size(), 4u);
    EXPECT_EQ(prompts.records()[3].text, warning(4710));
    // The receipt's running value stays what the file left.
    EXPECT_EQ(type->sumaStravenek, Currency::fromInt(4680));
    EXPECT_EQ(packaged->sumaStravenek, Currency::fromInt(4710));
}
