#include "core/Booking.h"

#include "VoucherFixture.h"
#include "core/ReaderControl.h"
#include "platform/Conventions.h"

using namespace trv;

namespace {

const QString kNotRecognised = QStringLiteral("Stravenka číslo %1 nebyla rozpoznána.");

class BookingTest : public test::VoucherFixture {
protected:
    void SetUp() override {
        VoucherFixture::SetUp();
        writeFile(
            QStringLiteral("langCS.ini"),
            QStringLiteral("[CColStrav]\r\nStravCislo=\"Stravenka číslo \"\r\nNebylaRozp=\" nebyla rozpoznána.\"\r\n"));
        // Two companies whose codes carry their value: 8 digits (company 1) and 9 digits (company 2), in crowns.
        prvni = valuedType(QStringLiteral("PRVNI stravenky"), 8);
        treti = valuedType(QStringLiteral("TRETI"), 9);
        booking = std::make_unique<Booking>(state, *types, prompts, reader);
    }

    std::shared_ptr<CStrav> valuedType(const QString& name, qint32 length) {
        return addType(name, length, 0, [&](CStrav& t) {
            t.PozCastka = 1;
            t.DelkaCastka = length;
            t.KoefCastka = 1;
            t.VarningVycetkaSum = Currency::fromInt(450000);
            t.MaxVycetkaSum = Currency::fromInt(500000);
            t.varningSumVycetkaPohyb = t.VarningVycetkaSum;
        });
    }

    static QString code8(qint64 value) { return QStringLiteral("%1").arg(value, 8, 10, QChar(u'0')); }
    static QString code9(qint64 value) { return QStringLiteral("%1").arg(value, 9, 10, QChar(u'0')); }

    static QStringList kody(const CStrav& t) {
        QStringList list;
        for (const auto& c : *t.Polozky)
            list.append(c->Kod);
        return list;
    }

    QString warning(const QString& name, qint64 sum) const {
        return QStringLiteral("Společnost ") + name + QStringLiteral(" má v balíku načteno za ") +
               formatCurrency(Currency::fromInt(sum)) +
               QStringLiteral(". Mělo by se u této společnosti zvýšit číslo balíku. ");
    }

    NullReaderControl reader;
    std::shared_ptr<CStrav> prvni;
    std::shared_ptr<CStrav> treti;
    std::unique_ptr<Booking> booking;
};

} // namespace

TEST_F(BookingTest, PridejKodBooksIntoTheRecognisedType) {
    const auto a = booking->PridejKod(code8(100), 1, false);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->TypS(), prvni);
    EXPECT_EQ(a->TypNacteni, 1);
    ASSERT_TRUE(booking->PridejKod(code9(80), 3, false));
    ASSERT_TRUE(booking->PridejKod(code8(100), 1, false)); // a repeated code is booked again
    const auto noRead = booking->PridejKod(QStringLiteral("NOREAD"), 1, false);
    ASSERT_TRUE(noRead);
    EXPECT_EQ(noRead->TypS(), prvni); // failed reads always go to the first type

    EXPECT_EQ(kody(*prvni), (QStringList{code8(100), code8(100), QStringLiteral("NOREAD")}));
    EXPECT_EQ(kody(*treti), QStringList{code9(80)});
    EXPECT_EQ(treti->Polozky->Item(1)->TypNacteni, 3);
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(reader.stops(), 0);
    EXPECT_FALSE(booking->lastError());
}

TEST_F(BookingTest, UnrecognisedCodesAreRefused) {
    const std::vector<QString> bad = {QStringLiteral("1234"), QStringLiteral(" "), QStringLiteral("12a4567"),
                                      QString(10000, u'1')};
    for (const QString& kod : bad) {
        SCOPED_TRACE(kod.size());
        const size_t shown = prompts.records().size();
        reader.clear();
        EXPECT_FALSE(booking->PridejKod(kod, 1, false));
        EXPECT_EQ(reader.stops(), 1);
        ASSERT_EQ(prompts.records().size(), shown + 1);
        EXPECT_EQ(prompts.records().back().text, kNotRecognised.arg(kod));
        EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
        ASSERT_TRUE(booking->lastError());
    }
    // An empty line is no code: refused without a message or a reader stop.
    const size_t shown = prompts.records().size();
    reader.clear();
    EXPECT_FALSE(booking->PridejKod(QString(), 1, false));
    EXPECT_FALSE(booking->PridejKodDoBaliku(QString(), QStringLiteral("AA"), QStringLiteral("A"), true));
    ASSERT_TRUE(booking->lastError());
    EXPECT_EQ(prompts.records().size(), shown);
    EXPECT_EQ(reader.stops(), 0);
    EXPECT_EQ(prvni->Polozky->count() + treti->Polozky->count(), 0);

    // With the error-log switch, PridejKod logs the refusal instead; the other variants keep the message box.
    state.sw.gFChybyDoOkna = true;
    prompts = ScriptedPrompts();
    reader.clear();
    EXPECT_FALSE(booking->PridejKod(QStringLiteral("1234"), 1, false));
    EXPECT_EQ(reader.logged(), QStringList{QStringLiteral("1234 ") + kNotRecognised.arg(QStringLiteral("1234"))});
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_FALSE(booking->PridejKodDuplicityCheque(QStringLiteral("1234"), 1, QStringLiteral("a.txt")));
    EXPECT_FALSE(booking->PridejKodLastDate(QStringLiteral("1234"), QStringLiteral("260101")));
    EXPECT_FALSE(booking->PridejKodDoBaliku(QStringLiteral("1234"), QStringLiteral("AA"), QStringLiteral("A"), true));
    EXPECT_EQ(prompts.records().size(), 3u);
    EXPECT_EQ(reader.stops(), 4);
}

TEST_F(BookingTest, CodeMissingFromTheValueTableIsRefused) {
    auto tabulka = addType(QStringLiteral("TABULKA"), 10, 0, [](CStrav& t) {
        t.TabulkaHodnot = QStringLiteral("hodnoty.ini");
        t.TabulkaHodnotDict = std::make_shared<ValueTable>();
        t.TabulkaHodnotDict->add(QStringLiteral("100"), QStringLiteral("80"));
        t.PozCastka = 1;
        t.DelkaCastka = 3;
    });
    ASSERT_TRUE(booking->PridejKod(QStringLiteral("1000000001"), 1, false));
    EXPECT_FALSE(booking->PridejKod(QStringLiteral("9990000001"), 1, false));
    EXPECT_EQ(reader.stops(), 1);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text,
              QStringLiteral("Nebyla definována hodnota v tabulce hodnot pro TABULKA hodnota 999"));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    ASSERT_TRUE(booking->lastError());
    EXPECT_EQ(kody(*tabulka), QStringList{QStringLiteral("1000000001")});
    // The sums of the receipt never meet the refused code: nothing more is shown.
    ASSERT_TRUE(types->nactiSouctyStravenek().ok());
    EXPECT_EQ(tabulka->sumaStravenek, Currency::fromInt(80));
    EXPECT_EQ(prompts.records().size(), 1u);

    state.sw.gFChybyDoOkna = true;
    EXPECT_FALSE(booking->PridejKod(QStringLiteral("9980000001"), 1, false));
    EXPECT_EQ(reader.logged(), QStringList{QStringLiteral("9980000001 Nebyla definována hodnota v tabulce hodnot pro "
                                                          "TABULKA hodnota 998")});
    EXPECT_EQ(prompts.records().size(), 1u);
}

// Warning threshold 450000, maximum 500000: a warning each time the sum passes the threshold, which then moves
// on by 10000, one step per warning.
TEST_F(BookingTest, PackageWarningsAtEachFifthOfTheGap) {
    state.sw.gFBalikyTyden = true;
    struct Step {
        qint64 value;
        qint64 sum;
        bool warned;
    };
    const std::vector<Step> steps = {
        {400000, 400000, false}, {50000, 450000, false}, {5000, 455000, true},  {5000, 460000, false},
        {5000, 465000, true},    {30000, 495000, true},  {1000, 496000, true},  {1000, 497000, true},
        {1000, 498000, false},   {5000, 503000, true},   {10000, 513000, true}, {1, 513001, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.sum);
        const size_t shown = prompts.records().size();
        ASSERT_TRUE(booking->PridejKod(code8(s.value), 1, true));
        EXPECT_EQ(prvni->sumaStravenek, Currency::fromInt(s.sum));
        ASSERT_EQ(prompts.records().size(), shown + (s.warned ? 1 : 0));
        if (s.warned) {
            EXPECT_EQ(prompts.records().back().text, warning(prvni->Nazev, s.sum));
            EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Exclamation);
        }
    }
    EXPECT_EQ(prvni->varningSumVycetkaPohyb, Currency::fromInt(520000));
    EXPECT_EQ(reader.stops(), 0);

    // No sum without the warning flag, for NOREAD, or outside package/week mode.
    const size_t shown = prompts.records().size();
    ASSERT_TRUE(booking->PridejKod(code8(90000), 1, false));
    ASSERT_TRUE(booking->PridejKod(QStringLiteral("NOREAD"), 1, true));
    state.sw.gFBalikyTyden = false;
    ASSERT_TRUE(booking->PridejKod(code8(90000), 1, true));
    EXPECT_EQ(prvni->sumaStravenek, Currency::fromInt(513001));
    EXPECT_EQ(prompts.records().size(), shown);

    booking->VymazBuf();
    EXPECT_EQ(prvni->Polozky->count(), 0);
    EXPECT_EQ(prvni->sumaStravenek, Currency());
    EXPECT_EQ(prvni->varningSumVycetkaPohyb, Currency::fromInt(520000)); // the threshold stays
}

TEST_F(BookingTest, PridejKodDoBalikuComparesThePackageCharacter) {
    struct Case {
        QString kod;
        QString mask;
        QString tisk;
        bool booked;
    };
    const std::vector<Case> cases = {
        {code8(1), QStringLiteral("AB"), QStringLiteral("A"), true},  // company 1: "A"
        {code9(1), QStringLiteral("AB"), QStringLiteral("A"), false}, // company 2: "B"
        {code9(2), QStringLiteral("AB"), QStringLiteral("B"), true},
        {code9(3), QStringLiteral("AB"), QStringLiteral("AB"), true}, // character 2 against character 2
        {code9(4), QStringLiteral("AA"), QStringLiteral("AB"), false},
        {code8(5), QStringLiteral("BA"), QStringLiteral("AB"), false},
        {code8(6), QString(), QStringLiteral("A"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.kod + u' ' + c.mask + u' ' + c.tisk).toStdString());
        const auto code = booking->PridejKodDoBaliku(c.kod, c.mask, c.tisk, true);
        EXPECT_EQ(code != nullptr, c.booked);
        if (code) {
            EXPECT_EQ(code->TypNacteni, 2);
        }
    }
    EXPECT_EQ(kody(*prvni), QStringList{code8(1)});
    EXPECT_EQ(kody(*treti), (QStringList{code9(2), code9(3)}));
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(BookingTest, PackageMaximumIsAnnouncedOncePerOpening) {
    state.sw.gFBalikyTyden = true;
    state.gHlasitMaxVycetku = true;
    ASSERT_TRUE(booking->PridejKodDoBaliku(code8(400000), QStringLiteral("A"), QStringLiteral("A"), true));
    ASSERT_TRUE(booking->PridejKodDoBaliku(code8(60000), QStringLiteral("A"), QStringLiteral("A"), true));
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, warning(prvni->Nazev, 460000));
    ASSERT_TRUE(booking->PridejKodDoBaliku(code8(50000), QStringLiteral("A"), QStringLiteral("A"), true));
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[1].text, QStringLiteral("Společnost PRVNI stravenky má v balíku načteno za ") +
                                             formatCurrency(Currency::fromInt(510000)) +
                                             QStringLiteral(". Došlo k překročení maximální výčetky . "));
    EXPECT_EQ(prompts.records()[1].icon, Prompts::Icon::Critical);
    EXPECT_FALSE(state.gHlasitMaxVycetku);
    // Past the maximum everything is booked silently, for every company.
    ASSERT_TRUE(booking->PridejKodDoBaliku(code8(10000), QStringLiteral("AA"), QStringLiteral("A"), true));
    ASSERT_TRUE(booking->PridejKodDoBaliku(code9(600000), QStringLiteral("AA"), QStringLiteral("A"), true));
    EXPECT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prvni->sumaStravenek, Currency::fromInt(520000));
    EXPECT_EQ(treti->sumaStravenek, Currency::fromInt(600000));

    // Without hlasitPresah nothing is shown, but the maximum counts as announced and the threshold moves.
    booking->VymazBuf();
    state.gHlasitMaxVycetku = true;
    const auto before = treti->varningSumVycetkaPohyb;
    ASSERT_TRUE(booking->PridejKodDoBaliku(code9(460000), QStringLiteral("AA"), QStringLiteral("A"), false));
    EXPECT_EQ(treti->varningSumVycetkaPohyb, before + Currency::fromInt(10000));
    ASSERT_TRUE(booking->PridejKodDoBaliku(code9(60000), QStringLiteral("AA"), QStringLiteral("A"), false));
    EXPECT_FALSE(state.gHlasitMaxVycetku);
    EXPECT_EQ(prompts.records().size(), 2u);
}

TEST_F(BookingTest, OverZvolenouSplecnost) {
    struct Case {
        bool check;
        QString kod;
        int index;
        bool expected;
    };
    const std::vector<Case> cases = {
        {false, code9(1), 0, true},
        {true, code8(1), 0, true},
        {true, code8(1), 1, false},
        {true, code9(1), 1, true},
        {true, code9(1), 0, false},
        {true, QStringLiteral("NOREAD"), 1, true},
        {true, QStringLiteral("12"), 0, true}, // unrecognised: the booking refuses it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kod.toStdString());
        state.sw.gFKontrolaSpolecnosti = c.check;
        EXPECT_EQ(booking->OverZvolenouSplecnost(c.kod, c.index), c.expected);
    }
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(reader.stops(), 0);
}

TEST_F(BookingTest, PridejKodDuplicityChequeLogsRepeatedCodes) {
    ASSERT_TRUE(booking->PridejKodDuplicityCheque(code8(10), 1, QStringLiteral("260301_a.txt")));
    const auto second = booking->PridejKodDuplicityCheque(code8(10), 1, QStringLiteral("260302_b.txt"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->dataFile, QStringLiteral("260302_b.txt"));
    EXPECT_EQ(prvni->Polozky->count(), 1);
    ASSERT_EQ(prvni->Polozky->colDuplicity.size(), 1u);
    EXPECT_EQ(prvni->Polozky->colDuplicity[0], second);
    EXPECT_EQ(readFile(QStringLiteral("Duplicity.log")), code8(10) + QStringLiteral("/t/t260302_b.txt\r\n"));
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(BookingTest, DuplicityLogThatCannotBeWrittenIsReportedOnce) {
    std::filesystem::create_directory(folder / "Duplicity.log");
    ASSERT_TRUE(booking->PridejKodDuplicityCheque(code8(10), 1, QStringLiteral("a.txt")));
    ASSERT_TRUE(booking->PridejKodDuplicityCheque(code8(10), 1, QStringLiteral("b.txt")));
    ASSERT_TRUE(booking->lastError());
    ASSERT_TRUE(booking->PridejKodDuplicityCheque(code8(10), 1, QStringLiteral("c.txt")));
    EXPECT_EQ(prvni->Polozky->colDuplicity.size(), 2u);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("Duplicity.log")));
}

TEST_F(BookingTest, PridejKodLastDate) {
    prvni->LastVycetkaDate = QStringLiteral("260301");
    EXPECT_TRUE(booking->PridejKodLastDate(code8(1), QStringLiteral("260302")));
    const auto older = booking->PridejKodLastDate(code8(2), QStringLiteral("260301"));
    ASSERT_TRUE(older);
    EXPECT_EQ(older->TypNacteni, 1);
    EXPECT_EQ(kody(*prvni), QStringList{code8(1)});
}

TEST_F(BookingTest, VyhodDuplDropsRepeatsAndNoReads) {
    for (const QString& kod : {code8(1), QStringLiteral("NOREAD"), code8(2), code8(1), code9(3), code9(3)})
        ASSERT_TRUE(booking->PridejKod(kod, 1, false));
    const auto first = prvni->Polozky->Item(1);

    state.gAutoDupl = QStringLiteral("false");
    booking->VyhodDupl();
    EXPECT_EQ(prvni->Polozky->count(), 4);

    state.gAutoDupl = QStringLiteral("True");
    booking->VyhodDupl();
    EXPECT_EQ(kody(*prvni), (QStringList{code8(1), code8(2)}));
    EXPECT_EQ(prvni->Polozky->Item(1), first); // the first reading stays
    EXPECT_EQ(kody(*treti), QStringList{code9(3)});
}

namespace {

class PosledniBalikTest : public BookingTest {
protected:
    void SetUp() override {
        BookingTest::SetUp();
        const auto data = folder / "data";
        std::filesystem::copy(std::filesystem::path(TRV_TEST_DATA) / "booking" / "balik", data);
        state.gDatovyAdresar = data;
        state.gAutoDupl = QStringLiteral("True");
        state.gMaxVycetkaDatumBaliku1 = QStringLiteral("260301");
        state.sw.gFVycetky = true;
        state.sw.gFBalikyTyden = true;
    }
};

} // namespace

TEST_F(PosledniBalikTest, LoadsThePackageOfTheWeekFromTheDayFiles) {
    ASSERT_TRUE(booking->nactiPosledniBalik(QStringLiteral("A"), 1, false).ok());
    // Company 1 has "A" in the files of week 1 named AB (and in poznamky_a_b_c_A.txt, whose fifth part is
    // "A": any name with four "_" is read by position); company 2 in the one named BA. Files of week 2, from
    // before the first package, or with fewer than four "_" are left out; repeats and NOREAD dropped.
    EXPECT_EQ(kody(*prvni), (QStringList{code8(1000), code8(2000), code8(500), code8(5555)}));
    EXPECT_EQ(kody(*treti), (QStringList{code9(300), code9(400)}));
    EXPECT_EQ(prvni->sumaStravenek, Currency::fromInt(9055));
    EXPECT_EQ(treti->sumaStravenek, Currency::fromInt(700));
    for (const auto& code : *prvni->Polozky)
        EXPECT_EQ(code->TypNacteni, 2);
    // The one line that is no code is reported as booking reports it.
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, kNotRecognised.arg(QStringLiteral("abc")));
}

TEST_F(PosledniBalikTest, OtherWeekAndStatementModeOff) {
    ASSERT_TRUE(booking->nactiPosledniBalik(QStringLiteral("B"), 2, false).ok());
    EXPECT_EQ(kody(*prvni), QStringList{code8(9999)});
    EXPECT_TRUE(kody(*treti).isEmpty());

    booking->VymazBuf();
    state.sw.gFVycetky = false;
    ASSERT_TRUE(booking->nactiPosledniBalik(QStringLiteral("A"), 1, false).ok());
    EXPECT_EQ(prvni->Polozky->count() + treti->Polozky->count(), 0);
}

TEST_F(PosledniBalikTest, CustomerModeNamesAreReadByTheirDatePartAsText) {
    // In customer mode the first part of a name is whatever the operator typed (by default YYYYMMDD), the SM
    // part the customer number. The date part is compared with the first package's day as text.
    state.sw.gFZakaznik = true;
    std::filesystem::remove_all(folder / "data");
    std::filesystem::create_directory(folder / "data");
    writeFile(QStringLiteral("data/260306a_4711_jan_1_AB_1.txt"), QStringLiteral("00000710\r\n"));
    writeFile(QStringLiteral("data/260228a_4711_jan_2_AB_1.txt"), QStringLiteral("00000720\r\n"));
    writeFile(QStringLiteral("data/20260306_4711_jan_3_AB_1.txt"), QStringLiteral("00000730\r\n"));
    writeFile(QStringLiteral("data/260307a_4711_jan_4_AB.txt"), QStringLiteral("00000740\r\n"));
    ASSERT_TRUE(booking->nactiPosledniBalik(QStringLiteral("A"), 1, false).ok());
    // "20260306" sorts before "260301": an eight-digit date is older than any first package's YYMMDD.
    EXPECT_EQ(kody(*prvni), (QStringList{code8(710), code8(740)}));
}

TEST_F(PosledniBalikTest, MissingDataFolderIsAnError) {
    state.gDatovyAdresar = folder / "chybi";
    const Status st = booking->nactiPosledniBalik(QStringLiteral("A"), 1, false);
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains(QStringLiteral("chybi")));
}

TEST_F(BookingTest, ValueThatCannotBeWorkedOutIsNotAddedToThePackage) {
    state.sw.gFBalikyTyden = true;
    EXPECT_FALSE(booking->PridejKod(QStringLiteral("0000100A"), 1, true));
    EXPECT_EQ(reader.stops(), 1);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    ASSERT_TRUE(booking->lastError());
    EXPECT_EQ(booking->lastError()->message, prompts.records()[0].text);
    EXPECT_EQ(prvni->Polozky->count(), 0);
    EXPECT_EQ(prvni->sumaStravenek, Currency());
}

TEST_F(PosledniBalikTest, CodeOfNoValueInADayFileIsAnError) {
    writeFile(QStringLiteral("data/260306_SM1_jan_6_AB.txt"), QStringLiteral("00000700\r\n0000100A\r\n"));
    const Status st = booking->nactiPosledniBalik(QStringLiteral("A"), 1, false);
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains(QStringLiteral("260306_SM1_jan_6_AB.txt"))) << st.message().toStdString();
    EXPECT_TRUE(kody(*prvni).contains(code8(700))); // what was read before it stays
}

TEST_F(PosledniBalikTest, NominalSummaryBesideADayFileIsNotRead) {
    // The AS400 export's summary of 260306_SM1_jan_6_AB.txt: same stem, ".TXT" in capitals.
    writeFile(QStringLiteral("data/260306_SM1_jan_6_AB.txt"), QStringLiteral("00000700\r\n"));
    writeFile(QStringLiteral("data/260306_SM1_jan_6_AB.TXT"), QStringLiteral("260306_SM1_jan_6_AB;00001;7,00\r\n"));
    ASSERT_TRUE(booking->nactiPosledniBalik(QStringLiteral("A"), 1, false).ok());
    EXPECT_TRUE(kody(*prvni).contains(code8(700)));
    EXPECT_EQ(prompts.records().size(), 1u); // only the fixture's one line that is no code
}

TEST_F(BookingTest, StoredLinesAreBookedWithoutValueTableEntryAndUnknownOnesNamed) {
    const auto tabulkova = addType(QStringLiteral("Tabulkova"), 5, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 2;
        t.TabulkaHodnot = QStringLiteral("t.ini");
        t.TabulkaHodnotDict = std::make_shared<ValueTable>();
    });
    const std::filesystem::path file = folder / "data" / "260306001_1.txt";
    struct Case {
        const char* line;
        bool booked;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"12345", true, false},   // its table lacks "12": booked all the same
        {"NOREAD", true, false},  // to the first type
        {"", false, false},       // a blank line holds nothing
        {"   ", false, false},
        {"777", false, true},     // no type of that length
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto booked = booking->PridejUlozenyKod(QString::fromLatin1(c.line), 1, file);
        EXPECT_EQ(!booked.ok(), c.refused);
        if (booked.ok()) {
            EXPECT_EQ(booked.value() != nullptr, c.booked);
        }
        if (c.refused) {
            EXPECT_TRUE(booked.message().contains(QStringLiteral("777")));
            EXPECT_TRUE(booked.message().contains(TextFiles::toQString(file)));
        }
    }
    EXPECT_EQ(kody(*tabulkova), QStringList{QStringLiteral("12345")});
    // Nothing shown and no reader stopped: the caller reports once for its run.
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(reader.stops(), 0);

    booking->ohlasNerozpoznane({QStringLiteral("a"), QStringLiteral("b")}, true);
    EXPECT_EQ(reader.stops(), 1);
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("a\nb")});
    state.sw.gFChybyDoOkna = true;
    booking->ohlasNerozpoznane({QStringLiteral("c")}, false);
    EXPECT_EQ(reader.logged(), QStringList{QStringLiteral("c")});
    EXPECT_EQ(reader.stops(), 1);
}

// The receipt's sums never stop at the end of the money type's range: a sum past it is an error, and a code read
// live that would carry the receipt past it is refused as other refused codes are. The weight the check keeps
// follows the codes however they change: removed, and others booked from a file.
TEST_F(BookingTest, ACodeTheReceiptsSumsCannotTakeIsRefused) {
    const QString limitText =
        QStringLiteral("Kód %1 nelze přijmout: součet příjmu by překročil největší částku, "
                       "kterou program umí sečíst (922\u00A0337\u00A0203\u00A0685\u00A0477,58 Kč).");
    // Eleven digits, worth the first nine in millions of crowns: 600 000 000 000 000 Kč for 60000000001.
    const auto velka = addType(QStringLiteral("VELKA"), 11, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 9;
        t.KoefCastka = 1000000;
    });
    // The receipt is this collection (owned by the fixture).
    state.gColStrav = std::shared_ptr<CColStrav>(std::shared_ptr<CColStrav>(), types.get());
    const std::filesystem::path file = folder / "260306001_1.txt";

    // Stored codes past the range: their sum is an error, not a total stopped at the end of the range.
    book(velka, QStringLiteral("60000000001"));
    book(velka, QStringLiteral("60000000002"));
    const Status sums = types->nactiSouctyStravenek();
    ASSERT_FALSE(sums.ok());
    EXPECT_TRUE(sums.message().contains(QStringLiteral("VELKA"))) << sums.message().toStdString();
    EXPECT_FALSE(velka->hodnotaStravenek().ok());
    EXPECT_FALSE(booking->PridejKod(code8(1), 1, false));
    EXPECT_TRUE(booking->PridejKod(QStringLiteral("NOREAD"), 1, false)); // a failed read has no value
    booking->VymazBuf();
    prompts = ScriptedPrompts();
    reader.clear();

    ASSERT_TRUE(booking->PridejKod(QStringLiteral("60000000001"), 1, false));
    EXPECT_FALSE(booking->PridejKod(QStringLiteral("60000000002"), 1, false));
    EXPECT_EQ(reader.stops(), 1);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, limitText.arg(QStringLiteral("60000000002")));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    ASSERT_TRUE(booking->lastError());
    EXPECT_EQ(kody(*velka), QStringList{QStringLiteral("60000000001")});

    // The code removed and a small one booked from a file in its place: the big one fits again.
    ASSERT_TRUE(velka->Polozky->Remove(1));
    ASSERT_TRUE(booking->PridejUlozenyKod(QStringLiteral("00000000101"), 1, file).ok());
    ASSERT_TRUE(booking->PridejKod(QStringLiteral("60000000002"), 1, false));
    // The small one removed and another booked from a file: the receipt holds 922 337 203 000 000 Kč, and the
    // codes of another type fit up to the last whole crown of the range.
    ASSERT_TRUE(velka->Polozky->Remove(1));
    ASSERT_TRUE(booking->PridejUlozenyKod(QStringLiteral("32233720301"), 1, file).ok());
    ASSERT_TRUE(booking->PridejKod(code8(685477), 1, false));
    EXPECT_FALSE(booking->PridejKod(code8(1), 1, false));
    EXPECT_EQ(prompts.texts().back(), limitText.arg(code8(1)));
    EXPECT_EQ(kody(*prvni), QStringList{code8(685477)});
    ASSERT_TRUE(types->nactiSouctyStravenek().ok());
    EXPECT_EQ(velka->sumaStravenek + prvni->sumaStravenek, Currency::fromInt(922337203685477));

    // With the error-log switch the refusal goes to the log.
    state.sw.gFChybyDoOkna = true;
    const size_t shown = prompts.records().size();
    EXPECT_FALSE(booking->PridejKod(code9(1), 1, false));
    EXPECT_EQ(reader.logged(), QStringList{code9(1) + u' ' + limitText.arg(code9(1))});
    EXPECT_EQ(prompts.records().size(), shown);
}
