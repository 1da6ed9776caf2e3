#include "mainwindow/scanner/ApiUsage.h"

#include "mainwindow/scanner/ScannerWindow.h"
#include "platform/SimulatedScanner.h"
#include "platform/TextFiles.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/TestFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;
using namespace trv::scanner;
namespace fs = std::filesystem;

namespace {

struct RecordingWindow final : ScannerWindow {
    QStringList events;
    QStringList barcodes;
    QByteArray front, back;
    QString micr, ocr;
    int complate = 0;
    std::vector<bool> captions;

    void Complate(qint32 transaction) override {
        ++complate;
        events << QStringLiteral("Complate %1").arg(transaction);
    }
    void SetBarcodeFront(const QString& text) override { barcodes << text; }
    void SetImage(const QByteArray& bmp, bool isFront) override {
        (isFront ? front : back) = bmp;
        events << (isFront ? QStringLiteral("front") : QStringLiteral("back"));
    }
    void setBarcodeText(const QString&, bool) override {}
    void SetIqaResult(const IqaResult&) override { events << QStringLiteral("iqa"); }
    void SetDeviceStatus(qint32) override {}
    void setMicrText(const QString& text) override { micr = text; }
    void setOcrText(const QString& text) override { ocr = text; }
    void setNearFullCaption(bool on) override { captions.push_back(on); }
};

class ScannerTest : public ::testing::Test {
protected:
    fs::path device() const { return TextFiles::toPath(m_dir.filePath(QStringLiteral("device"))); }
    fs::path program() const { return TextFiles::toPath(m_dir.filePath(QStringLiteral("program"))); }

    void SetUp() override {
        fs::create_directories(device());
        fs::create_directories(program());
    }

    void write(const fs::path& p, const QByteArray& bytes) {
        fs::create_directories(p.parent_path());
        ASSERT_TRUE(TextFiles::writeBytes(p, bytes).ok());
    }
    QByteArray read(const fs::path& p) {
        QFile f(TextFiles::toQString(p));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << p;
        return f.readAll();
    }

    // A connection as the main window's load makes it: the main window's option values, registered and
    // configured.
    std::unique_ptr<ApiUsage> open() {
        auto api = std::make_unique<ApiUsage>(m_driver, m_prompts, program());
        api->m_objMainForm = &m_window;
        m_config.setMainWindowValues();
        api->m_objConfig = &m_config;
        return api;
    }

    void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    SimulatedScanner m_driver{TextFiles::toPath(m_dir.filePath(QStringLiteral("device")))};
    ScriptedPrompts m_prompts;
    RecordingWindow m_window;
    PropertiseClass m_config;
};

TEST(PropertiseClassTest, DefaultsMainWindowValuesAndLookups) {
    PropertiseClass t;
    ASSERT_EQ(t.entries().size(), 60u);
    EXPECT_EQ(t.entries().front().first, QStringLiteral("ScanFunction"));
    EXPECT_EQ(t.entries().back().first, QStringLiteral("BarcodeBackCancel"));
    EXPECT_EQ(t.GetValue(QStringLiteral("Dobule Detect")), 1);
    EXPECT_EQ(t.GetValue(QStringLiteral("Double Detect")), 0);
    EXPECT_EQ(t.GetValue(QStringLiteral("Baddata Count")), 255);
    EXPECT_EQ(t.GetValue(QStringLiteral("micr")), 0); // letter case counts
    t.SetValue(QStringLiteral("MICR"), 0);
    EXPECT_EQ(t.entries().size(), 60u);
    t.setMainWindowValues();
    // The load adds the OCR and buzzer options the table does not have.
    EXPECT_EQ(t.entries().size(), 68u);
    EXPECT_EQ(PropertiseClass::mainWindowValues().size(), 60u);
    struct Case {
        const char* name;
        qint16 value;
    };
    for (const Case& c : std::vector<Case>{{"MICR", 0},
                                           {"Micr Save Enable", 0},
                                           {"Baddata Detect", 0},
                                           {"Nodata Detect", 0},
                                           {"BarcodeFrontErrorDetect", 1},
                                           {"BarcodeFrontErrorEject", 1},
                                           {"Buzzer Error Hz", 2},
                                           {"Buzzer Error Count", 2},
                                           {"Buzzer Success Count", 1},
                                           {"Confirmation EjectType", 0},
                                           {"Noise Cancel", 1}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(t.GetValue(QString::fromLatin1(c.name)), c.value);
    }
    EXPECT_EQ(t.entries()[60].first, QStringLiteral("Ocr Ab"));
}

TEST(ErrorCodeTest, NamesAndNumbers) {
    struct Case {
        qint32 code;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{{0, "SUCCESS"},
                                           {-1020, "ERR_PAPER_JAM"},
                                           {-1130, "ERR_BARCODE_NODATA"},
                                           {-2060, "ERR_MECHANICAL"},
                                           {-360, "-360"},
                                           {-5, "-5"},
                                           {7, "7"}}) {
        EXPECT_EQ(ErrorCode::ChangeErrorCode(c.code), QString::fromLatin1(c.text));
    }
}

// The device's text fields are Windows-1250, read as every other Windows-1250 byte the program reads.
TEST(ScannerMapsTest, DeviceTextIsReadAsWindows1250) {
    const char bytes[] = "\x8A\xE8\xED\xF8 12";
    EXPECT_EQ(ApiUsage::ByteArrayToString(bytes, 7), QString::fromUtf8("Ščíř 12"));
    EXPECT_EQ(ApiUsage::ByteArrayToString(bytes, 3), QString::fromUtf8("Ščí"));
}

TEST(ScannerMapsTest, OptionTranslations) {
    using namespace ScannerMaps;
    struct Case {
        qint16 in;
        quint8 detect, eject, stamp, next, hz, count;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 34, 0, 1, 1, 0},
                                           {1, 1, 36, 1, 2, 2, 1},
                                           {2, 1, 40, 0, 3, 0, 2},
                                           {3, 1, 34, 0, 1, 1, 3},
                                           {4, 1, 34, 0, 1, 1, 0},
                                           {-1, 1, 34, 0, 1, 1, 0}}) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(MapDetect(c.in), c.detect);
        EXPECT_EQ(MapEjectType(c.in), c.eject);
        EXPECT_EQ(MapStampCancel(c.in), c.stamp);
        EXPECT_EQ(MapNextCheck(c.in), c.next);
        EXPECT_EQ(MapBuzzerHz(c.in), c.hz);
        EXPECT_EQ(MapBuzzerCount(c.in), c.count);
    }
}

TEST_F(ScannerTest, AnAbsentDeviceIsReportedAndConfigureStopsAtItsFirstCall) {
    fs::remove_all(device());
    auto api = open();
    ASSERT_EQ(m_prompts.records().size(), 1u);
    EXPECT_EQ(m_prompts.records()[0].text, QStringLiteral("ERR_NO_PRINTER"));
    EXPECT_EQ(m_prompts.records()[0].title, ApiUsage::openFailedTitle());
    api->SetStatusBackWnd(); // skipped with a negative handle
    api->Configure();
    ASSERT_EQ(m_prompts.records().size(), 2u);
    EXPECT_EQ(m_prompts.records()[1].text, QStringLiteral("ERR_HANDLE"));
    EXPECT_EQ(m_prompts.records()[1].title, QStringLiteral("BiSetPrintStation(m_lHandle, MF_ST_E_ENDORSEMENT)"));
    EXPECT_FALSE(m_driver.calls().join(u' ').contains(QStringLiteral("BiSCNMICRFunction")));
    api->ScanEnd();
    EXPECT_FALSE(m_driver.calls().contains(QStringLiteral("BiCloseMonPrinter(-30)")));
}

TEST_F(ScannerTest, ParameterLoadsFollowTheScanFunctionAndTheFaceOptions) {
    struct Case {
        qint16 scanFunction;
        const char* family;
    };
    for (const Case& c : std::vector<Case>{{0, "BiSCNMICRFunctionContinuously"},
                                           {1, "BiSCNMICRFunctionPostPrint"},
                                           {2, "BiSCNMICRFunctionContinuously"}}) {
        SCOPED_TRACE(c.scanFunction);
        auto api = open();
        m_config.SetValue(QStringLiteral("ScanFunction"), c.scanFunction);
        m_config.SetValue(QStringLiteral("Front Scan"), 0);
        m_config.SetValue(QStringLiteral("Micr Font"), 2);
        m_config.SetValue(QStringLiteral("Near Full"), 5);
        m_driver.clearCalls();
        api->Configure();
        const QString f = QString::fromLatin1(c.family);
        QStringList expected{QStringLiteral("BiSetPrintStation(4)"), QStringLiteral("BiBufferedPrint(3)")};
        for (const char* code : {"0x30", "0x10", "0x31", "0x11", "0x22", "0x33", "0x13", "0x34", "0x14", "0x35", "0x15",
                                 "0x36", "0x16", "0x37", "0x38", "0x17", "0x18"})
            expected << f + u'(' + QString::fromLatin1(code) + u')';
        EXPECT_EQ(m_driver.calls(), expected);
        EXPECT_TRUE(m_prompts.records().empty());
        EXPECT_EQ(m_driver.micr().font, SimulatedScanner::kDefaultMicrFont);
        EXPECT_EQ(m_driver.process().nearFull, SimulatedScanner::kDefaultNearFull);
        EXPECT_TRUE(m_driver.scanFront().cleared);
        EXPECT_EQ(m_driver.scanFront().header.size, 39);
        EXPECT_EQ(m_driver.base().header.size, 295);
        EXPECT_EQ(m_driver.base().header.version, 0x101);
        // The main window's values reach the blocks through the mappings.
        EXPECT_EQ(m_driver.base().errorHz, 0);
        EXPECT_EQ(m_driver.base().errorCount, 2);
        EXPECT_EQ(m_driver.process().noise, (Behaviour{1, 34, 0, 1}));
        EXPECT_EQ(m_driver.process().confirmation, 1);
        EXPECT_EQ(m_driver.process().badDataCount, 255);
        EXPECT_EQ(m_driver.barcodeFront().behaviour, (Behaviour{1, 36, 0, 0}));
        EXPECT_EQ(m_driver.iqa().imageA, 1);
    }
}

TEST_F(ScannerTest, AFailingParameterCallIsNamedAndEndsTheLoad) {
    auto api = open();
    m_driver.failCall(QStringLiteral("BiSCNMICRFunctionContinuously"), -90);
    m_driver.clearCalls();
    api->Configure();
    ASSERT_EQ(m_prompts.records().size(), 1u);
    EXPECT_EQ(m_prompts.records()[0].text, QStringLiteral("ERR_PARAM"));
    EXPECT_EQ(m_prompts.records()[0].title,
              QStringLiteral("BiSCNMICRFunctionContinuously(m_lHandle, m_objmfBase01, MF_GET_BASE_DEFAULT)"));
    EXPECT_EQ(m_driver.calls().size(), 3);
}

TEST_F(ScannerTest, OneChequeEndToEnd) {
    const fs::path cheque = device() / "7";
    const QByteArray frontBmp("BM-front-display"), backBmp("BM-back-display");
    const QByteArray jpeg("\xff\xd8\xff\xe0-jpeg\0bytes", 16), tiff("II*\0-tiff", 9);
    write(cheque / "front.bmp", frontBmp);
    write(cheque / "front.jpg", jpeg);
    write(cheque / "back.bmp", backBmp);
    write(cheque / "back.tif", tiff);
    write(cheque / "micr.txt", "raw=T123456789T 0012345678O\r\naccount=0012345678\r\ntype=2\r\ncountry=7\r\n");
    write(cheque / "ocr.txt", "A1\r\n");
    write(cheque / "barcode.txt", "  1234567890123\r\n");
    auto api = open();
    for (const auto& [name, value] : std::vector<std::pair<const char*, qint16>>{{"Front Grayscale", 1},
                                                                                 {"Front Save", 1},
                                                                                 {"Back Save", 1},
                                                                                 {"MICR", 1},
                                                                                 {"Micr Save", 1},
                                                                                 {"Micr Save Enable", 1},
                                                                                 {"Ocr Ab", 1}})
        m_config.SetValue(QString::fromLatin1(name), value);
    api->SetStatusBackWnd();
    api->Configure();
    api->Scan();
    settle();

    EXPECT_EQ(m_window.front, frontBmp);
    EXPECT_EQ(m_window.back, backBmp);
    EXPECT_EQ(read(program() / "007.front.jpg"), jpeg);
    EXPECT_EQ(read(program() / "007.back.tif"), tiff);
    EXPECT_EQ(m_window.barcodes, (QStringList{QStringLiteral("  1234567890123 "), QString()}));
    EXPECT_EQ(m_window.micr.left(23), QStringLiteral("T123456789T 0012345678O"));
    EXPECT_EQ(m_window.micr.size(), 81);
    EXPECT_EQ(m_window.ocr.left(8), QStringLiteral("OCR_A:A1"));
    EXPECT_EQ(m_window.complate, 1);
    EXPECT_TRUE(m_window.captions.empty());

    QByteArray pad = QByteArray(81, '\0');
    auto fieldLine = [&](const char* label, const QByteArray& value) {
        QByteArray v = pad;
        v.replace(0, value.size(), value);
        return QByteArray(label) + v + "\r\n";
    };
    QByteArray expected = "# MICR Data Output\r\n\r\n# General Transaction Information:\r\n\r\n"
                          "m_lTransactionNumber = 7\r\nResult = SUCCESS\r\nm_lStatus = 0\r\nDetail = 0\r\n\r\n\r\n"
                          "# Magnetic Character Results:\r\n\r\n";
    expected += fieldLine("Raw Data       = ", "T123456789T 0012345678O");
    expected += fieldLine("Account Number = ", "0012345678");
    for (const char* label :
         {"Amount         = ", "Bank Number    = ", "Serial Number  = ", "EPC Property   = ", "Transit Number = "})
        expected += fieldLine(label, QByteArray());
    expected += "Check Type     = CHECK_BUSINESS\r\nCountry Code   = 7\r\n\r\n\r\n# OCR A character probabilities:\r\n"
                "\r\nOcrAbResult = SUCCESS\r\n\r\n";
    QByteArray ocrLine = pad;
    ocrLine[0] = 'A';
    ocrLine[1] = '1';
    expected += "OcrString = " + ocrLine +
                "\r\nNumberOfCharacters = 2\r\nHighestPercentage  = 90\r\n"
                "LowestPercentage   = 90\r\nAveragePercentage  = 90,00\r\n\r\n";
    // Entry 1 'A' (65) and entry 2 '1' (49) are listed, their numbers being below the codes.
    expected += "OcrPrimaryCharacter1    = 'A'\r\nOcrPrimaryPercentage1   = 90\r\n\r\n"
                "OcrPrimaryCharacter2    = '1'\r\nOcrPrimaryPercentage2   = 90\r\n\r\n";
    for (int i = 3; i <= 128; ++i)
        expected += "\r\n";
    EXPECT_EQ(read(program() / "7.Micr.txt"), expected);
}

TEST_F(ScannerTest, ScanErrorsAndTheNearFullWarning) {
    write(device() / "1" / "front.bmp", "BM");
    auto api = open();
    api->SetStatusBackWnd();
    api->Configure();

    m_driver.setEndDetail(kErrPaperJam);
    api->Scan();
    settle();
    ASSERT_EQ(m_prompts.records().size(), 1u);
    EXPECT_EQ(m_prompts.records()[0].text, QStringLiteral("Remove the paper"));
    EXPECT_EQ(m_prompts.records()[0].title, QStringLiteral("MECHANICAL ERROR"));
    EXPECT_TRUE(m_driver.calls().contains(QStringLiteral("BiCancelError()")));

    // Each scan takes the cheques put in since the last one.
    write(device() / "2" / "front.bmp", "BM");
    m_driver.setEndDetail(-1030);
    m_driver.setNearFull(true);
    api->Scan();
    settle();
    ASSERT_EQ(m_prompts.records().size(), 2u);
    EXPECT_EQ(m_prompts.records()[1].text, QStringLiteral("ERR_COVER_OPEN"));
    EXPECT_EQ(m_prompts.records()[1].title, QStringLiteral("Error"));
    EXPECT_EQ(m_window.captions, std::vector<bool>{true});
    EXPECT_TRUE(m_driver.calls().contains(QStringLiteral("BiRingBuzzer(0,3,1,0)")));

    // A new scan forgets the warning without touching the caption: the next near-full status sets it again.
    write(device() / "3" / "front.bmp", "BM");
    m_driver.setEndDetail(0);
    api->Scan();
    settle();
    EXPECT_EQ(m_window.captions, (std::vector<bool>{true, true}));
    EXPECT_EQ(m_window.complate, 3);

    m_driver.failCall(QStringLiteral("BiSCNMICRFunctionContinuously"), -110);
    api->Scan();
    ASSERT_EQ(m_prompts.records().size(), 3u);
    EXPECT_EQ(m_prompts.records()[2].text, QStringLiteral("ERR_OFFLINE"));
    EXPECT_EQ(m_prompts.records()[2].title, QStringLiteral("BiSCNMICRFunctionContinuously(m_lHandle, Null, MF_EXEC)"));
    EXPECT_EQ(m_window.complate, 4);
}

// A press with an empty feeder ends as the device ends it, with its detail named; a press that served a cheque
// ends without one.
TEST_F(ScannerTest, AScanThatServesNoChequeEndsWithThePaperInsertTimeout) {
    auto api = open();
    api->SetStatusBackWnd();
    api->Configure();
    api->Scan();
    settle();
    EXPECT_EQ(m_window.complate, 1);
    ASSERT_EQ(m_prompts.records().size(), 1u);
    EXPECT_EQ(m_prompts.records()[0].text, QStringLiteral("ERR_PAPERINSERT_TIMEOUT"));
    EXPECT_EQ(m_prompts.records()[0].title, QStringLiteral("Error"));

    write(device() / "4" / "front.bmp", "BM");
    api->Scan();
    settle();
    EXPECT_EQ(m_window.complate, 2);
    EXPECT_EQ(m_prompts.records().size(), 1u);
}

// A face without its image file is handed over empty, so the window clears the picture of the cheque before.
TEST_F(ScannerTest, AFaceWithoutAnImageClearsThePictureShownBefore) {
    write(device() / "1" / "front.bmp", "BM-front");
    write(device() / "1" / "back.bmp", "BM-back");
    auto api = open();
    api->SetStatusBackWnd();
    api->Configure();
    api->Scan();
    settle();
    ASSERT_EQ(m_window.front, QByteArray("BM-front"));
    ASSERT_EQ(m_window.back, QByteArray("BM-back"));

    write(device() / "2" / "barcode.txt", "123\r\n");
    m_window.events.clear();
    api->Scan();
    settle();
    EXPECT_EQ(m_window.events,
              (QStringList{QStringLiteral("front"), QStringLiteral("back"), QStringLiteral("Complate 2")}));
    EXPECT_TRUE(m_window.front.isEmpty());
    EXPECT_TRUE(m_window.back.isEmpty());
    EXPECT_TRUE(m_prompts.records().empty());
}

TEST_F(ScannerTest, BarcodeTextsOfBothFaces) {
    write(device() / "12" / "front.bmp", "BM");
    auto api = open();
    m_config.SetValue(QStringLiteral("BarcodeBackErrorDetect"), 1);
    m_driver.setBarcodes(12, 0, {QByteArray("123"), QByteArray("45")});
    m_driver.setBarcodes(12, 1,
                         {QByteArray("9\0"
                                     "8",
                                     3)});
    api->ReadBarcodes(12);
    EXPECT_EQ(m_window.barcodes, (QStringList{QStringLiteral("123 45 "), QStringLiteral("9 8 ")}));
    m_window.barcodes.clear();
    m_driver.setBarcodes(12, 0, {});
    m_config.SetValue(QStringLiteral("BarcodeBackErrorDetect"), 0);
    api->ReadBarcodes(12);
    EXPECT_EQ(m_window.barcodes, (QStringList{QStringLiteral("(ERR_BARCODE_NODATA)"), QString()}));
}

// A cheque folder whose name another machine wrote in Windows-1250 (0xE9, no valid UTF-8) is a cheque like any
// other of no digit name: served at its position, its files read by the folder's own bytes.
TEST_F(ScannerTest, AChequeFolderNamedInAnotherEncodingIsServedLikeAnyOther) {
    write(device() / "\xE9" / "front.bmp", "BM");
    write(device() / "\xE9" / "barcode.txt", "123\r\n");
    auto api = open();
    api->ReadBarcodes(1);
    EXPECT_EQ(m_window.barcodes, (QStringList{QStringLiteral("123 "), QString()}));
    trv::test::removeOddNames(device());
}

TEST_F(ScannerTest, MicrReportWithoutMicrAndOcrHoldsTheHeaderOnly) {
    write(device() / "5" / "micr.txt", "raw=1\r\n");
    auto api = open();
    api->SaveMicrResult(5);
    EXPECT_EQ(read(program() / "5.Micr.txt"), QByteArray("# MICR Data Output\r\n\r\n# General Transaction "
                                                         "Information:\r\n\r\nm_lTransactionNumber = 5\r\n"));
    EXPECT_EQ(ApiUsage::imageFileName(5, true, true), QStringLiteral("005.front.jpg"));
    EXPECT_EQ(ApiUsage::imageFileName(1234, false, false), QStringLiteral("1234.back.tif"));
    EXPECT_EQ(ApiUsage::imageFileName(70000, true, false), QStringLiteral("70000.front.tif"));
}

TEST_F(ScannerTest, EndorsementTextAndImage) {
    write(device() / "3" / "front.bmp", "BM");
    auto api = open();
    m_config.SetValue(QStringLiteral("Electronic Endorse Text"), 1);
    m_config.SetValue(QStringLiteral("Electronic Endorse Image"), 1);
    api->SetStatusBackWnd();
    api->Configure();
    // No Image.JPG in the program folder: one message, and the configuration goes on.
    ASSERT_EQ(m_prompts.records().size(), 1u);
    EXPECT_EQ(m_prompts.records()[0].text, QStringLiteral("ERR_IMAGE_FILEOPEN"));
    EXPECT_EQ(m_prompts.records()[0].title, QStringLiteral("BiPrintImage(m_lHandle, Image.JPG"));
    const QStringList calls = m_driver.calls();
    const qsizetype image = calls.indexOf(QStringLiteral("BiSetPrintSize(30,30)"));
    ASSERT_GE(image, 0);
    EXPECT_EQ(calls[image - 2], QStringLiteral("BiBufferedPrint(1)"));
    EXPECT_EQ(calls[image - 1], QStringLiteral("BiSetPrintPosition(100,30)"));
    EXPECT_EQ(calls[image + 2], QStringLiteral("BiBufferedPrint(2)"));
    EXPECT_TRUE(calls.last().startsWith(QStringLiteral("BiSCNMICRFunctionContinuously(0x18)")));

    m_driver.clearCalls();
    api->Scan();
    settle();
    EXPECT_TRUE(m_driver.calls().contains(QStringLiteral("BiSetPrintPosition(10,60)")));
    EXPECT_TRUE(m_driver.calls().contains(QStringLiteral("BiPrintTextToVB(Transaction#:<00000000>,512,3,0,0,30)")));
    EXPECT_EQ(api->GetStartWaitTime(), 6400); // the device's 7000, capped
}

TEST_F(ScannerTest, ScanEndReleasesTheDeviceOnce) {
    auto api = open();
    m_driver.clearCalls();
    api->ScanEnd();
    EXPECT_EQ(m_driver.calls(),
              (QStringList{QStringLiteral("BiSCNMICRCancelStatusBack()"), QStringLiteral("BiCancelStatusBack()"),
                           QStringLiteral("BiSCNMICRCancelFunction(0)"), QStringLiteral("BiCloseMonPrinter(1)")}));
    EXPECT_FALSE(m_driver.isOpen());
    m_driver.clearCalls();
    api->ScanEnd();
    EXPECT_TRUE(m_driver.calls().isEmpty());
}

} // namespace
