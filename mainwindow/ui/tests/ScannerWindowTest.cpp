#include "mainwindow/ui/frmHlavni.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "mainwindow/Startup.h"
#include "mainwindow/tests/NoPause.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/Shell.h"
#include "platform/SimulatedScanner.h"
#include "platform/TextFiles.h"
#include "testsupport/GuiTestHelpers.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/TestVoucherTypes.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;
using trv::test::child;
using trv::test::waitUntil;

namespace {

QByteArray bmp(QImage::Format format) {
    QImage image(64, 24, format);
    if (format == QImage::Format_Mono) {
        image.fill(1);
    } else {
        image.fill(200);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The main window with the cheque scanner switched on (switch 26) and a simulated device holding one cheque
// whose front bears the code of a voucher.
TEST(ScannerWindowTest, TheScanButtonScansAChequeShowsItsImagesAndBooksItsBarCode) {
    QTemporaryDir dir;
    const auto folder = TextFiles::toPath(dir.path());
    const auto data = folder / "data";
    const auto device = folder / "device";
    std::filesystem::create_directories(device / "7");
    std::filesystem::create_directories(data);
    ASSERT_TRUE(
        TextFiles::copy(TextFiles::toPath(QStringLiteral(TRV_TEST_DATA "/langCS.ini")), folder / "langCS.ini", true)
            .ok());
    QString switches(50, u'0');
    switches[25] = u'1';
    ASSERT_TRUE(
        TextFiles::writeAll(
            folder / "TRV7300.ini",
            QStringLiteral("[Comm]\r\nPort=COM2\r\nHShaking=None\r\nBaudRate=38400\r\nData bits=8\r\nStop bits=1\r\n"
                           "Parity=None\r\nNOREAD=NOREAD\r\n[Data]\r\nDir=%1\r\n"
                           "[User]\r\nMode=STD\r\n[Firma]\r\nFirmaID=%2\r\n")
                .arg(TextFiles::toQString(data), switches))
            .ok());
    ASSERT_TRUE(TextFiles::writeBytes(device / "7" / "front.bmp", bmp(QImage::Format_Grayscale8)).ok());
    ASSERT_TRUE(TextFiles::writeBytes(device / "7" / "back.bmp", bmp(QImage::Format_Mono)).ok());
    ASSERT_TRUE(TextFiles::writeBytes(device / "7" / "barcode.txt", " 1234505500 \r\n").ok());

    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3))};
    FakeSerialPort port;
    RecordingShell shell;
    NoReceiptWindows windows;
    test::NoPause pause;
    scanner::SimulatedScanner scanner(device);
    ASSERT_TRUE(Main(state, folder, prompts).ok());
    state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
    ASSERT_TRUE(
        state.gColStrav->Add(test::makeTestType({.name = QStringLiteral("Alfa"), .delka = 10, .order = 1})).ok());
    frmHlavni window({state, prompts, clock, port, shell, windows, pause});
    window.setScannerDriver(&scanner);
    ASSERT_TRUE(window.Form_Load());
    auto* btnScan = child<QPushButton>(&window, "btnScan");

    // No receipt runs: the device is not asked for a cheque, so nothing is served, shown or booked.
    btnScan->click();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Příjem dat neprobíhá.")});
    EXPECT_TRUE(btnScan->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(&window, "BarcodeFrontText")->text().isEmpty());
    EXPECT_TRUE(state.gColStrav->kodyVsechTypu().isEmpty());
    const size_t before = prompts.records().size();

    const Status started = window.logic().control().startReceiving(data, QStringLiteral("261210001_1.txt"), false);
    ASSERT_TRUE(started.ok()) << started.message().toStdString();

    ASSERT_TRUE(btnScan->isVisible());
    // Each result box carries its caption.
    for (const auto& [label, box] :
         {std::pair{"lblMicr", "MicrText"}, std::pair{"lblOcr", "OcrText"},
          std::pair{"lblBarcodeFront", "BarcodeFrontText"}, std::pair{"lblBarcodeBack", "BarcodeBackText"}}) {
        auto* caption = child<QLabel>(&window, label);
        EXPECT_FALSE(caption->text().isEmpty());
        EXPECT_EQ(caption->buddy(), child<QLineEdit>(&window, box));
    }
    ASSERT_TRUE(btnScan->isEnabled());
    btnScan->click();
    EXPECT_FALSE(btnScan->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return btnScan->isEnabled(); }));

    EXPECT_FALSE(child<QLabel>(&window, "FrontPicture")->pixmap().isNull());
    EXPECT_FALSE(child<QLabel>(&window, "BackPicture")->pixmap().isNull());
    EXPECT_EQ(child<QLineEdit>(&window, "BarcodeFrontText")->text(), QStringLiteral(" 1234505500  "));
    EXPECT_TRUE(child<QLineEdit>(&window, "BarcodeBackText")->text().isEmpty());
    // The display box shows what arrived on its next refresh.
    EXPECT_TRUE(waitUntil([&] {
        return child<QPlainTextEdit>(&window, "rtbStrav")->toPlainText().contains(QStringLiteral("1234505500"));
    }));
    EXPECT_EQ(state.gColStrav->kodyVsechTypu(), QStringList{QStringLiteral("1234505500")});
    EXPECT_EQ(prompts.records().size(), before);

    // A cheque without images clears the pictures of the one before, on both faces.
    std::filesystem::create_directories(device / "8");
    ASSERT_TRUE(TextFiles::writeBytes(device / "8" / "barcode.txt", "1234505600\r\n").ok());
    btnScan->click();
    ASSERT_TRUE(waitUntil([&] { return btnScan->isEnabled(); }));
    EXPECT_TRUE(child<QLabel>(&window, "FrontPicture")->pixmap().isNull());
    EXPECT_TRUE(child<QLabel>(&window, "BackPicture")->pixmap().isNull());
    EXPECT_EQ(state.gColStrav->kodyVsechTypu(),
              (QStringList{QStringLiteral("1234505500"), QStringLiteral("1234505600")}));
    EXPECT_EQ(prompts.records().size(), before);

    // Both cheques were taken: the feeder is empty, the device gives up waiting for paper and says so, and
    // nothing is booked a second time.
    btnScan->click();
    ASSERT_TRUE(waitUntil([&] { return btnScan->isEnabled(); }));
    EXPECT_EQ(state.gColStrav->kodyVsechTypu(),
              (QStringList{QStringLiteral("1234505500"), QStringLiteral("1234505600")}));
    ASSERT_EQ(prompts.records().size(), before + 1);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("ERR_PAPERINSERT_TIMEOUT"));
    EXPECT_EQ(prompts.records().back().title, QStringLiteral("Error"));
}

} // namespace
