#include "ReaderRig.h"

#include <gtest/gtest.h>

namespace trv::test {
namespace {

class CodeProcessorTest : public ::testing::Test {
protected:
    void SetUp() override { rig.openPort(); }

    QByteArray line(const QString& code) { return code.toLatin1() + "\r\n"; }

    ReaderRig rig;
};

TEST_F(CodeProcessorTest, CodesAreBookedWhenTheirLineIsComplete) {
    // One chunk, a code split over two chunks, and three codes in one chunk.
    rig.receive(line(alfa(100)));
    EXPECT_EQ(rig.booked(), QStringList{alfa(100)});

    rig.receive("12345");
    EXPECT_EQ(rig.booked().size(), 1);
    EXPECT_EQ(rig.buffer.text(), u"12345");
    rig.receive("20000\r\n");
    EXPECT_EQ(rig.booked(), (QStringList{alfa(100), alfa(200)}));

    rig.receive(line(alfa(1, 1)) + line(QStringLiteral("050123456789")) + line(alfa(2, 2)));
    EXPECT_EQ(rig.booked(),
              (QStringList{alfa(100), alfa(200), alfa(1, 1), alfa(2, 2), QStringLiteral("050123456789")}));

    EXPECT_TRUE(rig.messages().isEmpty());
    EXPECT_TRUE(rig.buffer.isEmpty());
    // The display box shows what came, as it came.
    EXPECT_EQ(rig.display.text(), QString::fromLatin1(line(alfa(100)) + "1234520000\r\n" + line(alfa(1, 1)) +
                                                      "050123456789\r\n" + line(alfa(2, 2))));
    EXPECT_EQ(rig.counters.gPocetCteni(), 5);
    EXPECT_EQ(rig.counters.gPocetBezNoRead(), 5);
    EXPECT_EQ(rig.counters.gPocetPrijmu(), 4);
    EXPECT_TRUE(rig.port.events().isEmpty()); // the reader was never stopped
}

TEST_F(CodeProcessorTest, EmptyLinesAndLinesThatAreNotCodesVanishWithoutAWord) {
    rig.receive("\r\n\r\n" + line(alfa(100)) + "ABC\r\n\nXY\r" + line(alfa(200)));
    EXPECT_EQ(rig.booked(), (QStringList{alfa(100), alfa(200)}));
    EXPECT_TRUE(rig.messages().isEmpty());
    EXPECT_TRUE(rig.pause.waits.empty());
    EXPECT_EQ(rig.counters.gPocetCteni(), 2);
}

struct Rejection {
    const char* name;
    QString code;
    QString message; // shown in the message box
    QString logged;  // written to the error log instead, with switch 43
};

TEST_F(CodeProcessorTest, RejectedCodesStopTheReaderAndAreReported) {
    const std::vector<Rejection> cases = {
        {"character check", QStringLiteral("1A2"), QStringLiteral("Nepovolene znaky:\r\n1A2"),
         QStringLiteral("1A2 Nepovolene znaky:")},
        {"check digit", QStringLiteral("12345675"), QStringLiteral("Kontrolni cislice: 12345675"),
         QStringLiteral("12345675 Kontrolni cislice: ")},
        {"length", QStringLiteral("12345"), QStringLiteral("Chybna delka: 12345"),
         QStringLiteral("12345 Chybna delka: ")},
    };
    for (const bool toWindow : {false, true}) {
        for (const Rejection& r : cases) {
            SCOPED_TRACE(std::string(r.name) + (toWindow ? " to the error log" : " in a message box"));
            ReaderRig rig;
            rig.openPort();
            rig.state.sw.gFChybyDoOkna = toWindow;
            rig.receive(line(r.code) + line(alfa(100)));
            // The next code is booked all the same.
            EXPECT_EQ(rig.booked(), QStringList{alfa(100)});
            EXPECT_EQ(rig.port.events(), (QStringList{QStringLiteral("DTR 1"), QStringLiteral("DTR 0")}));
            EXPECT_EQ(rig.pause.waits, std::vector<qint64>{2000});
            if (toWindow) {
                EXPECT_TRUE(rig.messages().isEmpty());
                EXPECT_EQ(rig.errorLog.lines, QStringList{r.logged});
            } else {
                ASSERT_EQ(rig.prompts.records().size(), 1u);
                EXPECT_EQ(rig.prompts.records()[0].text, r.message);
                EXPECT_EQ(rig.prompts.records()[0].icon, Prompts::Icon::Critical);
                EXPECT_TRUE(rig.prompts.records()[0].withoutTitle);
                EXPECT_TRUE(rig.errorLog.lines.isEmpty());
            }
            EXPECT_EQ(rig.counters.gPocetCteni(), 1);
        }
    }
}

TEST_F(CodeProcessorTest, ACodeOfAnotherCompanyThanTheChosenOneIsRejected) {
    rig.state.sw.gFKontrolaSpolecnosti = true;
    rig.reader.ZvolenyTyp = 1; // the second type, Beta
    rig.receive(line(alfa(100)) + "050123456789\r\n");
    EXPECT_EQ(rig.booked(), QStringList{QStringLiteral("050123456789")});
    EXPECT_EQ(rig.messages(), QStringList{QStringLiteral("Jiny typ.")});
    EXPECT_EQ(rig.pause.waits.size(), 1u);
}

TEST_F(CodeProcessorTest, AnExpiredVoucherAndAnInvalidIssueAreReportedOnce) {
    const auto alfaType = rig.state.gColStrav->Item(1);
    alfaType->PozRok = 1; // the first digit is the year of issue
    alfaType->delkaRok = 1;
    rig.state.gKontrolaPlatnostiZap = true;
    rig.state.gKontrolovat = true; // allowed year 2004 ended on 1.1.2004
    rig.receive(line(alfa(100, 45678)) + line(alfa(100, 34567)));
    EXPECT_TRUE(rig.booked().isEmpty());
    // The invalid issue (year digit 3) is reported by the check itself; the processor adds nothing to it.
    EXPECT_EQ(rig.messages(), (QStringList{QStringLiteral("Platnost vyprsela:\r\n") + alfa(100, 45678),
                                           QStringLiteral("Neplatna emise.")}));
}

TEST_F(CodeProcessorTest, AnUnrecognisedCodeIsRefusedByBookingAndNotCounted) {
    // Whole-code recognition: Alfa codes must begin with 99.
    rig.state.sw.gFRozpoznaniKodem = true;
    const auto alfaType = rig.state.gColStrav->Item(1);
    alfaType->RozlisovaciCislo = QStringLiteral("99");
    alfaType->ObsahujeRC = 1;
    alfaType->delka1PoziceRC1 = 1;
    rig.receive(line(alfa(100)) + line(alfa(100, 99000)));
    EXPECT_EQ(rig.booked(), QStringList{alfa(100, 99000)});
    EXPECT_EQ(rig.messages(), QStringList{QStringLiteral("Stravenka ") + alfa(100) + QStringLiteral(" nerozpoznana.")});
    EXPECT_EQ(rig.pause.waits.size(), 1u);
    EXPECT_EQ(rig.counters.gPocetCteni(), 1);
}

TEST_F(CodeProcessorTest, NoReadAndDuplicates) {
    rig.receive("NOREAD\r\n" + line(alfa(100)) + line(alfa(100)));
    // A NOREAD is booked to the first type and counted only as a read; a repeated code is booked again.
    EXPECT_EQ(rig.booked(), (QStringList{QStringLiteral("NOREAD"), alfa(100), alfa(100)}));
    EXPECT_EQ(rig.counters.gPocetCteni(), 3);
    EXPECT_EQ(rig.counters.gPocetBezNoRead(), 2);
    EXPECT_TRUE(rig.pause.waits.empty());

    // Reader type 4 and software stopping each stop the reader at a NOREAD, which is still booked.
    rig.reader.gTypScaneru = 4;
    rig.receive("NOREAD\r\n");
    EXPECT_EQ(rig.pause.waits.size(), 1u);
    rig.reader.gTypScaneru = -1;
    rig.reader.gSoftwZastavovani = true;
    rig.receive("NOREAD\r\n");
    EXPECT_EQ(rig.pause.waits.size(), 2u);
    EXPECT_EQ(rig.booked().count(QStringLiteral("NOREAD")), 3);
    EXPECT_TRUE(rig.messages().isEmpty());
}

TEST_F(CodeProcessorTest, TextArrivingDuringAMessageBoxIsProcessedAfterTheRunningLine) {
    bool checkedDuring = false;
    rig.prompts.setWhileOpen([&] {
        if (checkedDuring)
            return;
        rig.receive(line(alfa(200)) + "1B\r\n");
        // Not processed inside the message box: the processor never runs inside itself.
        EXPECT_TRUE(rig.processor.running());
        EXPECT_TRUE(rig.booked().isEmpty());
        checkedDuring = true;
    });
    rig.receive(line(QStringLiteral("1A")) + line(alfa(100)));
    EXPECT_TRUE(checkedDuring);
    // Lines in the order they came: 1A (rejected), 100, then 200 and 1B from inside the box.
    EXPECT_EQ(rig.booked(), (QStringList{alfa(100), alfa(200)}));
    EXPECT_EQ(rig.messages(),
              (QStringList{QStringLiteral("Nepovolene znaky:\r\n1A"), QStringLiteral("Nepovolene znaky:\r\n1B")}));
    EXPECT_EQ(rig.display.text(), QString::fromLatin1("1A\r\n" + line(alfa(100)) + line(alfa(200)) + "1B\r\n"));
    EXPECT_FALSE(rig.processor.running());
}

TEST_F(CodeProcessorTest, TextArrivingDuringTheReaderStopIsProcessedAndTheStopLastsItsFullLength) {
    rig.state.sw.gFChybyDoOkna = true;
    rig.pause.during = [&] { rig.receive("1B\r\n" + line(alfa(200))); };
    rig.receive("1A\r\n");
    EXPECT_EQ(rig.booked(), QStringList{alfa(200)});
    EXPECT_EQ(rig.errorLog.lines,
              (QStringList{QStringLiteral("1A Nepovolene znaky:"), QStringLiteral("1B Nepovolene znaky:")}));
    // The second stop came after the first pulse: DTR rose once and fell once, two waits of the full length.
    EXPECT_EQ(rig.port.events(), (QStringList{QStringLiteral("DTR 1"), QStringLiteral("DTR 0"), QStringLiteral("DTR 1"),
                                              QStringLiteral("DTR 0")}));
    EXPECT_EQ(rig.pause.waits, (std::vector<qint64>{2000, 2000}));
}

TEST_F(CodeProcessorTest, AStopAskedForDuringAPulseHoldsTheReaderUntilItsOwnWaitEnds) {
    rig.pause.during = [&] { rig.stop.ZastavCteni(); };
    rig.state.gDTRSleep = 0;
    rig.stop.ZastavCteni();
    EXPECT_EQ(rig.port.events(), (QStringList{QStringLiteral("DTR 1"), QStringLiteral("DTR 0")}));
    EXPECT_EQ(rig.pause.waits, (std::vector<qint64>{0, 0}));
}

TEST_F(CodeProcessorTest, ALineThatFailsIsReportedAndTheLinesAfterItAreProcessed) {
    // Package mode in EUR mode without the exchange rate: valuing a code fails.
    rig.state.sw.gFBalicky = true;
    rig.state.sw.gFEuro = true;
    rig.receive(line(alfa(100)) + line(alfa(200)));
    EXPECT_EQ(rig.messages().size(), 2);
    EXPECT_TRUE(rig.messages()[0].startsWith(QStringLiteral("Kód ") + alfa(100) + QStringLiteral(" nebyl zpracován")));
    EXPECT_TRUE(rig.messages()[1].contains(alfa(200)));
    // Nothing is booked that is not in the package value.
    EXPECT_TRUE(rig.booked().isEmpty());
    EXPECT_TRUE(rig.package.gSumaBalik.isZero());
    EXPECT_EQ(rig.pause.waits.size(), 2u);
}

TEST_F(CodeProcessorTest, ADsrDropWithoutACodeBooksANoRead) {
    ReaderRig dsr;
    dsr.state.sw.gFNoReadDSR = true;
    dsr.openPort();
    EXPECT_TRUE(dsr.port.dsrWatch());
    dsr.port.setDsr(true);
    dsr.port.setDsr(false);
    EXPECT_EQ(dsr.booked(), QStringList{QStringLiteral("NOREAD")});
    EXPECT_EQ(dsr.display.text(), QStringLiteral("NOREAD\r\n"));
    EXPECT_EQ(dsr.pause.waits.size(), 1u);
    // A drop after a code was read adds nothing.
    dsr.port.setDsr(true);
    dsr.receive(line(alfa(100)));
    dsr.port.setDsr(false);
    EXPECT_EQ(dsr.booked(), (QStringList{QStringLiteral("NOREAD"), alfa(100)}));
    EXPECT_EQ(dsr.pause.waits.size(), 1u);

    // Without switch 35 DSR is not watched at all.
    rig.port.setDsr(true);
    rig.port.setDsr(false);
    EXPECT_FALSE(rig.port.dsrWatch());
    EXPECT_TRUE(rig.booked().isEmpty());
}

TEST_F(CodeProcessorTest, TheScannerResultReplacesTheBufferAndIsProcessed) {
    rig.receive("123");
    rig.buffer.setText(alfa(300) + QStringLiteral("\r\n"));
    rig.processor.ZpracujKod();
    EXPECT_EQ(rig.booked(), QStringList{alfa(300)});
}

TEST_F(CodeProcessorTest, PackageWeekModeBooksIntoThePackageCollectionToo) {
    rig.state.sw.gFBalikyTyden = true;
    rig.state.gColStravBalik = std::make_shared<CColStrav>(rig.state, rig.prompts, rig.clock);
    ASSERT_TRUE(rig.state.gColStravBalik->Add(makeType({QStringLiteral("Alfa Stravenky"), 10, 6, 3}, 1)).ok());
    QStringList sums;
    QObject::connect(&rig.processor, &CodeProcessor::packageWeekSums, [&](const QString& s) { sums.append(s); });
    rig.receive(line(alfa(150)));
    EXPECT_EQ(rig.state.gColStravBalik->Item(1)->Polozky->count(), 1);
    EXPECT_EQ(sums, QStringList{QStringLiteral("    Alfa = 150,00")});
}

// A code that would carry the receipt's sums past the money type's range stops the reader and is refused: not
// booked, not counted.
TEST_F(CodeProcessorTest, ACodeTheReceiptsSumsCannotTakeIsRefusedAndNotCounted) {
    // Beta codes worth their first nine digits in millions of crowns: 600 000 000 000 000 Kč each.
    const auto beta = rig.state.gColStrav->Item(2);
    beta->PozCastka = 1;
    beta->DelkaCastka = 9;
    beta->KoefCastka = 1000000;
    rig.receive(line(QStringLiteral("600000000000")) + line(QStringLiteral("600000000001")) + line(alfa(100)));
    EXPECT_EQ(rig.booked(), (QStringList{alfa(100), QStringLiteral("600000000000")}));
    EXPECT_EQ(rig.messages(), QStringList{QStringLiteral("Kód 600000000001 nelze přijmout: součet příjmu by "
                                                         "překročil největší částku, kterou program umí sečíst "
                                                         "(922\u00A0337\u00A0203\u00A0685\u00A0477,58 Kč).")});
    EXPECT_EQ(rig.pause.waits.size(), 1u);
    EXPECT_EQ(rig.counters.gPocetCteni(), 2);
}

TEST_F(CodeProcessorTest, AGiftVoucherIsReportedWhateverAnEarlierCheckLeftInTheSilenceFlag) {
    // Gift vouchers are not taken; Alfa codes whose first five digits are 12345 are gift vouchers.
    rig.state.sw.gFDarkove = true;
    rig.state.gPovDarkove = false;
    const std::shared_ptr<CStrav> alfaType = rig.state.gColStrav->Item(1);
    alfaType->pozRCDarkove = 1;
    alfaType->delkaRCDarkove = 5;
    alfaType->RCDarkove = QStringLiteral("12345");
    // Left set by a blocked gift voucher reported earlier (the manual entry, or before PovDarkove changed).
    rig.state.gNehlasitDarkove = true;

    rig.receive(line(alfa(100)) + line(alfa(200, 22222)));
    EXPECT_EQ(rig.booked(), QStringList{alfa(200, 22222)});
    EXPECT_EQ(rig.messages(), QStringList{QStringLiteral("Darkove nepovoleny.")});
}

TEST_F(CodeProcessorTest, OnALineWithoutDtrARejectedCodeDoesNotWaitForAPulse) {
    rig.port.setDtrUnsupported(true);
    rig.receive(line(QStringLiteral("1A2")) + line(alfa(100)));
    EXPECT_EQ(rig.booked(), QStringList{alfa(100)});
    EXPECT_EQ(rig.messages().size(), 1);
    // The reader cannot be stopped by DTR here: no wait froze the input.
    EXPECT_TRUE(rig.pause.waits.empty());
}

} // namespace
} // namespace trv::test
