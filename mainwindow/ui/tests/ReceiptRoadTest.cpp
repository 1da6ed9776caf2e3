#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/ReceiptRecord.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/Pause.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/Startup.h"
#include "mainwindow/tests/NoPause.h"
#include "mainwindow/ui/VerticalMenu.h"
#include "mainwindow/ui/WidgetReceiptWindows.h"
#include "mainwindow/ui/frmHlavni.h"
#include "mainwindow/ui/tests/WholeProgramFixture.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/Printer.h"
#include "platform/ProfileFile.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "testsupport/GuiTestHelpers.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <map>
#include <memory>
#include <ostream>

using namespace trv;
using trv::test::child;
using trv::test::NoPause;
using trv::test::onNextModal;

namespace {

// Codes of the sample's second voucher type (its values come from a table) and of its first (value in the code).
const QString kCode1 = QStringLiteral("0321054321");
const QString kCode2 = QStringLiteral("0120012345");
const QString kAlfa = QStringLiteral("1012342601005");

// The whole program over a copy of the sample installation: real receipt windows, a fake reader port.
class ReceiptRoadTest : public trv::test::WholeProgramTest {
protected:
    ReceiptRoadTest() { dataFolder = folder / "data"; }

    bool start() { return startProgram(); }

    void clickMenu(int item) const { child<VerticalMenu>(window.get(), "vmnNab")->itemButton(item)->click(); }

    // The record's entry of a receipt into `file` that a kill cut short.
    static ReceiptRecord::Entry recordOf(const std::filesystem::path& file) {
        ReceiptRecord::Entry entry;
        entry.file = file;
        return entry;
    }

    static QByteArray fileBytes(const std::filesystem::path& file) {
        const auto bytes = TextFiles::readBytes(file);
        return bytes.ok() ? bytes.value() : QByteArray("<missing>");
    }

    QString readFile(const std::filesystem::path& file) const {
        auto text = TextFiles::readAll(file);
        return text.ok() ? text.value().text : QStringLiteral("<missing>");
    }

    std::filesystem::path dataFolder;
};

} // namespace

TEST_F(ReceiptRoadTest, AReceiptStartedReadAndClosedLeavesItsCodesInTheDayFile) {
    // The load opens the receipt start: a new day file for cash desk 001, order 1.
    onNextModal([](QWidget* modal) {
        child<QLineEdit>(modal, "txtPokladni")->setText(QStringLiteral("001"));
        child<QLineEdit>(modal, "txtPoradi")->setText(QStringLiteral("1"));
        child<QPushButton>(modal, "btnPrijem")->click();
    });
    ASSERT_TRUE(start());
    const QString name = QStringLiteral("261210001_1.txt");
    ASSERT_TRUE(window->logic().receipt().receiving());
    EXPECT_EQ(window->logic().gDatovySoubor(), name);
    EXPECT_EQ(window->logic().lblSoubor(), TextFiles::toQString(dataFolder / name.toStdU16String()));

    EXPECT_EQ(state.gDatumPrijmu, QStringLiteral("261210"));
    EXPECT_EQ(state.gSM, QStringLiteral("001"));
    EXPECT_EQ(state.gPoradi, QStringLiteral("1"));

    port.deliver((kCode1 + QStringLiteral("\r\n") + kCode2 + QStringLiteral("\r\n") + kAlfa + QStringLiteral("\r\n"))
                     .toLatin1());
    ASSERT_TRUE(trv::test::waitUntil([&] { return window->logic().rtbStrav().text().contains(kAlfa); }));

    // The check statement, printed with the receipt's cash desk, ends the receipt; the closing window saves it.
    bool closingShown = false;
    onNextModal([&](QWidget* statement) {
        onNextModal([&](QWidget* closing) {
            closingShown = true;
            child<QPushButton>(closing, "btnUloz")->click();
        });
        child<QPushButton>(statement, "cmdTisk")->click();
        child<QPushButton>(statement, "cmdUkonci")->click();
    });
    clickMenu(3);

    EXPECT_TRUE(closingShown);
    EXPECT_EQ(windows.receipt().gSM, QStringLiteral("001"));
    EXPECT_EQ(windows.receipt().gDatumPrijmu, QStringLiteral("261210"));
    ASSERT_EQ(printer.printed().size(), 1u);
    EXPECT_TRUE(printer.printed().front().textLines().join(u'\n').contains(QStringLiteral("Pokladna: 001")));
    EXPECT_EQ(prompts.texts().last(),
              QStringLiteral("Soubor %1 byl uložen.").arg(TextFiles::toQString(dataFolder / name.toStdU16String())));
    EXPECT_FALSE(prompts.texts().join(u'\n').contains(QStringLiteral("emise")))
        << prompts.texts().join(u'\n').toStdString();
    EXPECT_FALSE(window->logic().receipt().receiving());
    const QString day = readFile(dataFolder / name.toStdU16String());
    EXPECT_TRUE(day.contains(kCode1)) << day.toStdString();
    EXPECT_TRUE(day.contains(kCode2)) << day.toStdString();
    EXPECT_TRUE(day.contains(kAlfa)) << day.toStdString();
}

namespace {

struct BarcodeCase {
    const char* name;
    QByteArray barcode;
    bool earlierKeptFile; // a kept file of the same second is there already
    const char* recordOf; // the receipt a record left names (a file of the data folder), empty when none
    const char* keptName; // empty: nothing kept
};

void PrintTo(const BarcodeCase& c, std::ostream* out) {
    *out << c.name;
}

class ModeAutStart : public ReceiptRoadTest, public ::testing::WithParamInterface<BarcodeCase> {};

// Codes of the sample's types, a byte of Windows-1250 and a last line without its line end.
const QByteArray kKilledBarcode =
    (kCode1 + QStringLiteral("\r\n") + kCode2 + QStringLiteral("\r\n")).toLatin1() + "x\xE9y\r\n" + kAlfa.toLatin1();

} // namespace

// Mode AUT starts into an empty Barcode.txt. One that holds codes (the last receipt's, or those of a receipt a kill
// cut short) is first moved aside, byte for byte, under the date and time of the start, and the operator told in
// one message naming the kept file; a kept file of the same second stays as it is. A Barcode.txt of blank lines
// holds nothing to keep.
TEST_P(ModeAutStart, KeepsTheCodesBarcodeTxtHoldsBeforeEmptyingIt) {
    const BarcodeCase& c = GetParam();
    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("User"), QStringLiteral("Mode"),
                                   QStringLiteral("AUT"))
                    .ok());
    const std::filesystem::path barcode = dataFolder / "Barcode.txt";
    const std::filesystem::path earlier = dataFolder / "Barcode_20261210_090503.txt";
    ASSERT_TRUE(TextFiles::writeBytes(barcode, c.barcode).ok());
    if (c.earlierKeptFile) {
        ASSERT_TRUE(TextFiles::writeBytes(earlier, "earlier\r\n").ok());
    }
    const std::filesystem::path recorded = dataFolder / c.recordOf;
    if (*c.recordOf != '\0') {
        if (recorded != barcode) {
            ASSERT_TRUE(TextFiles::writeAll(recorded, kCode1 + QStringLiteral("\r\n")).ok());
        }
        ASSERT_TRUE(ReceiptRecord::put(folder, recordOf(recorded)).ok());
    }

    ASSERT_TRUE(start());
    EXPECT_TRUE(window->logic().receipt().receiving());
    EXPECT_EQ(fileBytes(barcode), QByteArray());
    if (c.earlierKeptFile) {
        EXPECT_EQ(fileBytes(earlier), QByteArray("earlier\r\n"));
    }
    if (*c.keptName == '\0') {
        EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(u'\n').toStdString();
        EXPECT_FALSE(TextFiles::exists(earlier));
        return;
    }
    const std::filesystem::path kept = dataFolder / c.keptName;
    EXPECT_EQ(fileBytes(kept), c.barcode);
    ASSERT_EQ(prompts.records().size(), 1u) << prompts.texts().join(u'\n').toStdString();
    // Unfinished only when the record says a receipt into Barcode.txt was cut short; else the codes are what the
    // last receipt left there as its result.
    const QString whose =
        recorded == barcode ? QStringLiteral("kódy nedokončeného příjmu") : QStringLiteral("kódy posledního příjmu");
    const QString keptNotice = QStringLiteral("Soubor Barcode.txt obsahoval %1 (počet kódů: 4); byl uschován jako %2 "
                                              "a pro nový příjem se vyprázdnil.")
                                   .arg(whose, TextFiles::toQString(kept));
    const QString& told = prompts.records()[0].text;
    if (*c.recordOf == '\0' || recorded == barcode) {
        EXPECT_EQ(told, keptNotice);
        return;
    }
    // Another receipt the record names is told in the same message.
    EXPECT_TRUE(told.startsWith(
        QStringLiteral("Příjem do souboru %1 (počet kódů: 1) nebyl uložen").arg(TextFiles::toQString(recorded))))
        << told.toStdString();
    EXPECT_TRUE(told.endsWith(QStringLiteral("\r\n\r\n") + keptNotice)) << told.toStdString();
}

// A save of the last receipt into Barcode.txt that a kill cut short is told at the start of mode AUT, beside the
// kept codes, though the start begins its own receipt in Barcode.txt at once.
TEST_F(ReceiptRoadTest, ModeAutTellsASaveOfBarcodeTxtThatWasCutShort) {
    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("User"), QStringLiteral("Mode"),
                                   QStringLiteral("AUT"))
                    .ok());
    const std::filesystem::path barcode = dataFolder / "Barcode.txt";
    ASSERT_TRUE(TextFiles::writeBytes(barcode, kKilledBarcode).ok());
    ReceiptRecord::Entry entry = recordOf(barcode);
    entry.outputs = QStringList{QStringLiteral("výčetka")};
    ASSERT_TRUE(ReceiptRecord::put(folder, entry).ok());

    ASSERT_TRUE(start());
    EXPECT_TRUE(window->logic().receipt().receiving());
    ASSERT_EQ(prompts.records().size(), 1u) << prompts.texts().join(u'\n').toStdString();
    const QString& told = prompts.records()[0].text;
    EXPECT_TRUE(told.startsWith(QStringLiteral("Ukládání příjmu ze souboru %1 bylo přerušeno. Tyto výstupy mohou "
                                               "chybět nebo být neúplné: výčetka.")
                                    .arg(TextFiles::toQString(barcode))))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("Soubor Barcode.txt obsahoval kódy nedokončeného příjmu (počet kódů: 4)")))
        << told.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    , ModeAutStart,
    ::testing::Values(
        BarcodeCase{"Codes", kKilledBarcode, false, "", "Barcode_20261210_090503.txt"},
        BarcodeCase{"CodesAndTheReceiptsRecord", kKilledBarcode, false, "Barcode.txt", "Barcode_20261210_090503.txt"},
        BarcodeCase{"CodesAndARecordOfAnotherReceipt", kKilledBarcode, false, "261209001_1.txt",
                    "Barcode_20261210_090503.txt"},
        BarcodeCase{"AKeptFileOfTheSameSecond", kKilledBarcode, true, "", "Barcode_20261210_090503_2.txt"},
        BarcodeCase{"BlankLines", "\r\n \r\n", false, "", ""}),
    [](const ::testing::TestParamInfo<BarcodeCase>& info) { return std::string(info.param.name); });

namespace {
class StartsBarcodeMode : public ReceiptRoadTest, public ::testing::WithParamInterface<bool> {};
} // namespace

// The receipt start's Barcode.txt mode keeps the codes Barcode.txt holds as mode AUT does, and tells them as those
// of an unfinished receipt only when the record of unfinished work names Barcode.txt; else they are the last
// receipt's.
TEST_P(StartsBarcodeMode, SaysUnfinishedOnlyWhenTheRecordNamesBarcodeTxt) {
    const bool recorded = GetParam();
    onNextModal([](QWidget* modal) { modal->close(); }); // the load's receipt start: no receipt
    ASSERT_TRUE(start());
    const std::filesystem::path barcode = dataFolder / "Barcode.txt";
    ASSERT_TRUE(TextFiles::writeAll(barcode, kCode1 + QStringLiteral("\r\n") + kAlfa + QStringLiteral("\r\n")).ok());
    if (recorded) {
        ASSERT_TRUE(ReceiptRecord::put(folder, recordOf(barcode)).ok());
    }
    onNextModal([](QWidget* modal) {
        child<QRadioButton>(modal, "optBarC")->click();
        child<QPushButton>(modal, "btnPrijem")->click();
    });
    window->findChild<QAction*>(QStringLiteral("prijem"))->trigger();
    ASSERT_TRUE(window->logic().receipt().receiving());
    ASSERT_EQ(prompts.records().size(), 1u) << prompts.texts().join(u'\n').toStdString();
    EXPECT_EQ(
        prompts.records()[0].text,
        QStringLiteral("Soubor Barcode.txt obsahoval %1 (počet kódů: 2); byl uschován jako %2 a pro nový příjem "
                       "se vyprázdnil.")
            .arg(recorded ? QStringLiteral("kódy nedokončeného příjmu") : QStringLiteral("kódy posledního příjmu"),
                 TextFiles::toQString(dataFolder / "Barcode_20261210_090503.txt")));
}

INSTANTIATE_TEST_SUITE_P(, StartsBarcodeMode, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Recorded" : "NotRecorded");
                         });

// A mode that starts nothing by itself has no closing save either: a record another mode left is neither told nor
// removed there, a receipt started in it writes no record of its own, and the record is told when the program
// next starts in its own mode.
TEST_F(ReceiptRoadTest, TheModeWithoutAClosingNeitherTellsNorTouchesTheRecordOfUnfinishedWork) {
    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("User"), QStringLiteral("Mode"),
                                   QStringLiteral("NIC"))
                    .ok());
    const std::filesystem::path dayFile = dataFolder / "261210001_1.txt";
    ASSERT_TRUE(TextFiles::writeAll(dayFile, kCode1 + QStringLiteral("\r\n") + kAlfa + QStringLiteral("\r\n")).ok());
    ASSERT_TRUE(ReceiptRecord::put(folder, recordOf(dayFile)).ok());
    const std::filesystem::path record = ReceiptRecord::recordFile(folder);
    const QByteArray left = fileBytes(record);

    ASSERT_TRUE(start());
    EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(u'\n').toStdString();
    EXPECT_FALSE(window->logic().receipt().receiving());

    // A receipt of this mode, read and closed with the window.
    onNextModal([](QWidget* modal) {
        child<QLineEdit>(modal, "txtPokladni")->setText(QStringLiteral("002"));
        child<QPushButton>(modal, "btnPrijem")->click();
    });
    window->findChild<QAction*>(QStringLiteral("prijem"))->trigger();
    ASSERT_TRUE(window->logic().receipt().receiving());
    EXPECT_EQ(fileBytes(record), left);
    port.deliver((kCode2 + QStringLiteral("\r\n")).toLatin1());
    const std::filesystem::path plainFile = dataFolder / "261210002_1.txt";
    ASSERT_TRUE(
        trv::test::waitUntil([&] { return fileBytes(plainFile) == (kCode2 + QStringLiteral("\r\n")).toLatin1(); }));
    EXPECT_EQ(fileBytes(record), left);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fileBytes(record), left);
    EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(u'\n').toStdString();

    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("User"), QStringLiteral("Mode"),
                                   QStringLiteral("STD"))
                    .ok());
    window.reset();
    prompts.queueAnswer(Prompts::Answer::No);
    onNextModal([](QWidget* modal) { child<QPushButton>(modal, "btnVen")->click(); });
    ASSERT_TRUE(start());
    ASSERT_FALSE(prompts.records().empty());
    EXPECT_TRUE(prompts.records().front().text.startsWith(
        QStringLiteral("Příjem do souboru %1 (počet kódů: 2) nebyl uložen").arg(TextFiles::toQString(dayFile))));
}

// A collected safe-bag receipt keeps its codes on disk as they are read, in a file of its own beside the record of
// unfinished work, which names it as a safe-bag receipt; once the closing window has written the receipt's list,
// that file and the record go.
TEST_F(ReceiptRoadTest, ASafeBagReceiptKeepsItsCodesInAFileOfItsOwnUntilTheClosingWindowWritesItsList) {
    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("Firma"), QStringLiteral("FirmaID"),
                                   QString(43, u'0') + u'1')
                    .ok());
    onNextModal([](QWidget* modal) { child<QPushButton>(modal, "cmdSafeBag")->click(); });
    ASSERT_TRUE(start());
    ASSERT_TRUE(window->logic().receipt().receiving());
    ASSERT_TRUE(state.gSafeBag);
    const std::filesystem::path codesFile = window->logic().journal().file();
    EXPECT_EQ(codesFile.parent_path(), folder);
    port.deliver((kCode1 + QStringLiteral("\r\n") + kAlfa + QStringLiteral("\r\n")).toLatin1());
    ASSERT_TRUE(trv::test::waitUntil([&] {
        return fileBytes(codesFile) == (kCode1 + QStringLiteral("\r\n") + kAlfa + QStringLiteral("\r\n")).toLatin1();
    }));
    const std::filesystem::path record = ReceiptRecord::recordFile(folder);
    const QString recorded = QString::fromUtf8(fileBytes(record));
    EXPECT_TRUE(recorded.contains(QStringLiteral("Soubor=") + TextFiles::toQString(codesFile)))
        << recorded.toStdString();
    EXPECT_TRUE(recorded.contains(QStringLiteral("Druh=SafeBag"))) << recorded.toStdString();

    bool goneOnceWritten = false;
    onNextModal([&](QWidget* closing) {
        goneOnceWritten = !TextFiles::exists(codesFile) && !TextFiles::exists(record);
        child<QPushButton>(closing, "btnVen")->click();
    });
    clickMenu(4);
    EXPECT_TRUE(goneOnceWritten);
    EXPECT_FALSE(window->logic().receipt().receiving());
    EXPECT_EQ(fileBytes(dataFolder / "sfb" / "261210090503.sfb"),
              (kAlfa + QStringLiteral("\r\n") + kCode1 + QStringLiteral("\r\n")).toLatin1());
    EXPECT_FALSE(TextFiles::exists(codesFile));
    EXPECT_FALSE(TextFiles::exists(record));
}

// A receipt a kill cut short while it appended to a day file is told with the codes it read, not with those the
// file held before it.
TEST_F(ReceiptRoadTest, AnAppendCutShortIsToldWithTheCodesItRead) {
    const std::filesystem::path dayFile = dataFolder / "261210001_1.txt";
    const QString earlier = kCode1 + QStringLiteral("\r\n") + kCode2 + QStringLiteral("\r\n");
    ReceiptRecord::Entry entry;
    entry.file = dayFile;
    entry.created = false;
    ASSERT_TRUE(ReceiptRecord::receiptStarted(folder, entry, earlier.toLatin1()).ok());
    ASSERT_TRUE(TextFiles::writeAll(dayFile, earlier + kAlfa + QStringLiteral("\r\n")).ok());
    prompts.queueAnswer(Prompts::Answer::No); // not taken up now
    onNextModal([](QWidget* modal) { child<QPushButton>(modal, "btnVen")->click(); });
    ASSERT_TRUE(start());
    ASSERT_FALSE(prompts.records().empty());
    EXPECT_TRUE(prompts.records().front().text.startsWith(
        QStringLiteral("Příjem do souboru %1 (počet kódů: 1) nebyl uložen").arg(TextFiles::toQString(dayFile))))
        << prompts.records().front().text.toStdString();
}

TEST_F(ReceiptRoadTest, TheDataFileWindowsOpenFromTheMenuAndTheVerticalMenu) {
    onNextModal([](QWidget* modal) { modal->close(); }); // no receipt is started
    start();
    ASSERT_TRUE(TextFiles::writeAll(dataFolder / "261210_001_01_1.txt", kAlfa + QStringLiteral("\r\n")).ok());

    QStringList shown;
    auto record = [&](QWidget* modal) {
        shown.append(modal->objectName());
        if (auto* list = modal->findChild<QAbstractItemView*>(QStringLiteral("flbSoubor")))
            shown.append(list->model()->index(0, 0).data().toString());
        modal->close();
    };
    onNextModal(record);
    window->findChild<QAction*>(QStringLiteral("soubory"))->trigger();
    onNextModal(record);
    clickMenu(5);
    onNextModal(record);
    window->findChild<QAction*>(QStringLiteral("najdiStrav"))->trigger();
    EXPECT_TRUE(prompts.texts().isEmpty()) << prompts.texts().join(u'\n').toStdString();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("frmSoubory"), QStringLiteral("261210_001_01_1.txt"),
                                  QStringLiteral("frmSoubory"), QStringLiteral("261210_001_01_1.txt"),
                                  QStringLiteral("frmNajdiStrav")}));
}

TEST_F(ReceiptRoadTest, AReceiptStartedWithSmCarriesItsHandOverDateAndOperatorIntoTheStatementFile) {
    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("Firma"), QStringLiteral("FirmaID"),
                                   QStringLiteral("0000000001"))
                    .ok());
    onNextModal([](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), QStringLiteral("frmPrijemSec"));
        child<QLineEdit>(modal, "txtSM")->setText(QStringLiteral("123"));
        child<QLineEdit>(modal, "txtOperator")->setText(QStringLiteral("Eva"));
        child<QPushButton>(modal, "btnPrijem")->click();
    });
    ASSERT_TRUE(start());
    const QString name = QStringLiteral("261210_123_Eva_1.txt");
    ASSERT_TRUE(window->logic().receipt().receiving());
    EXPECT_EQ(window->logic().gDatovySoubor(), name);
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(port.writes().isEmpty()); // the reader-on command went out through the port

    port.deliver((kCode1 + QStringLiteral("\r\n") + kAlfa + QStringLiteral("\r\n")).toLatin1());
    ASSERT_TRUE(trv::test::waitUntil([&] { return window->logic().rtbStrav().text().contains(kAlfa); }));
    onNextModal([&](QWidget* statement) {
        onNextModal([&](QWidget* closing) { child<QPushButton>(closing, "btnUloz")->click(); });
        child<QPushButton>(statement, "cmdUkonci")->click();
    });
    clickMenu(3);

    // Every record: hand-over date (the 10th of a month proposes the last day of the previous one), receipt
    // date, SM, type, code, value, operator.
    const QString vyc = readFile(dataFolder / "261210_123_Eva_1.vyc");
    const QStringList lines = vyc.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << vyc.toStdString();
    for (const QString& line : lines) {
        const QStringList fields = line.split(u';');
        ASSERT_GE(fields.size(), 7) << line.toStdString();
        EXPECT_EQ(fields.front(), QStringLiteral("261130"));
        EXPECT_EQ(fields[1], QStringLiteral("261210"));
        EXPECT_EQ(fields[2], QStringLiteral("123"));
        EXPECT_EQ(fields.back(), QStringLiteral("Eva"));
    }
}

TEST_F(ReceiptRoadTest, SortingModeKeepsTheClosingWindowHiddenUntilAReceiptOutsideIt) {
    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("Firma"), QStringLiteral("FirmaID"),
                                   QStringLiteral("000000000100000000000000000000001"))
                    .ok());
    // The load opens the start in sorting mode: reading starts without a file.
    onNextModal([](QWidget* modal) { child<QPushButton>(modal, "btnPrijem")->click(); });
    ASSERT_TRUE(start());
    ASSERT_TRUE(window->logic().receipt().receiving());
    EXPECT_TRUE(window->logic().gTrideni());
    EXPECT_TRUE(window->logic().gDatovySoubor().isEmpty());
    port.deliver((kCode1 + QStringLiteral("\r\n")).toLatin1());
    ASSERT_TRUE(trv::test::waitUntil([&] { return window->logic().rtbStrav().text().contains(kCode1); }));

    // It runs as any receipt (codes may be typed into it), and its end shows no closing window and does not say
    // that no receipt ran.
    EXPECT_TRUE(window->logic().control().receiptRuns());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuRucne"))->isEnabled());
    onNextModal([&](QWidget* statement) { child<QPushButton>(statement, "cmdUkonci")->click(); });
    clickMenu(3);
    EXPECT_FALSE(window->logic().receipt().receiving());
    EXPECT_FALSE(window->logic().control().receiptRuns());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(prompts.texts().contains(QStringLiteral("Příjem dat neprobíhá.")))
        << prompts.texts().join(u'|').toStdString();

    // A receipt outside sorting mode ends in the closing window, on its own file.
    onNextModal([](QWidget* modal) {
        child<QCheckBox>(modal, "chkSorting")->click();
        child<QLineEdit>(modal, "txtSM")->setText(QStringLiteral("123"));
        child<QLineEdit>(modal, "txtOperator")->setText(QStringLiteral("Eva"));
        child<QPushButton>(modal, "btnPrijem")->click();
    });
    clickMenu(1);
    ASSERT_TRUE(window->logic().receipt().receiving());
    EXPECT_FALSE(window->logic().gTrideni());
    port.deliver((kAlfa + QStringLiteral("\r\n")).toLatin1());
    ASSERT_TRUE(trv::test::waitUntil([&] { return window->logic().rtbStrav().text().contains(kAlfa); }));
    QString shownFile;
    onNextModal([&](QWidget* statement) {
        onNextModal([&](QWidget* closing) {
            shownFile = child<QLabel>(closing, "lblEdit")->text();
            child<QPushButton>(closing, "btnUloz")->click();
        });
        child<QPushButton>(statement, "cmdUkonci")->click();
    });
    clickMenu(3);
    EXPECT_EQ(shownFile, TextFiles::toQString(dataFolder / "261210_123_Eva_1.txt"));
    EXPECT_EQ(readFile(dataFolder / "261210_123_Eva_1.txt"), kAlfa + QStringLiteral("\r\n"));
}

// Every item of the main window's menus and of its vertical menus, chosen while no receipt runs, opens its own
// window or tells the operator its own message: never nothing, and never an error box. The items are the window's
// actions (the menu bar holds only the top-level menus); the items that need a running receipt or a switch of
// the sample's are disabled or hidden.
TEST_F(ReceiptRoadTest, EveryMenuItemAndVerticalMenuButtonDoesSomething) {
    // What the commands ask is answered by closing it: only what they showed is of interest here.
    ScriptedPrompts::setDefaultUnexpectedHandler([](const QString&) {});
    onNextModal([](QWidget* modal) { modal->close(); }); // the load's receipt start: no receipt
    ASSERT_TRUE(start());
    // The windows a choice opened, by object name; the maintenance password is given where it is asked.
    QStringList opened;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal->objectName() == QStringLiteral("frmLoginService")) {
            child<QLineEdit>(modal, "Text1")->setText(QStringLiteral("vraskel"));
            child<QPushButton>(modal, "Command1")->click();
            return;
        }
        opened.append(modal->objectName());
        modal->close();
    });
    closer.start(20);
    // What a choice did: the windows it opened, modal or not, the messages it showed (none of them an error box),
    // what it handed to the shell and whether it wrote to the reader.
    const auto outcome = [&](const std::function<void()>& choose) {
        opened.clear();
        const size_t promptsBefore = prompts.records().size();
        const size_t shellBefore = shell.requests().size();
        const qsizetype written = port.writes().size();
        QList<QWidget*> shownBefore;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                shownBefore.append(w);
        }
        choose();
        QApplication::processEvents();
        QStringList seen;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && !shownBefore.contains(w)) {
                opened.append(w->objectName());
                w->close();
            }
        }
        for (const QString& name : std::as_const(opened))
            seen.append(QStringLiteral("window ") + name);
        for (size_t i = promptsBefore; i < prompts.records().size(); ++i) {
            const auto& r = prompts.records()[i];
            EXPECT_NE(r.icon, Prompts::Icon::Critical) << r.text.toStdString();
            seen.append(r.text);
        }
        for (size_t i = shellBefore; i < shell.requests().size(); ++i)
            seen.append(QStringLiteral("shell ") + TextFiles::toQString(shell.requests()[i].path));
        if (port.writes().size() > written)
            seen.append(QStringLiteral("reader"));
        return seen;
    };
    const auto text = [this](const char* key) {
        return state.config.DejText(QStringLiteral("frmHlavni"), QLatin1String(key));
    };
    const QString noPort = text("PortNeniOtevren");
    const QString noReceipt = text("NeprobihaPrjem");
    const QString restart = state.config.DejText(QStringLiteral("frmServis"), QStringLiteral("ProvedNoveSpust"));
    const QString smQuestion = state.config.DejText(QStringLiteral("frmSM"), QStringLiteral("UlozitZmeny"));
    // clang-format off
    const std::map<QString, QStringList> expected = {
        {QStringLiteral("prijem"), {QStringLiteral("window frmPrijem")}},
        {QStringLiteral("konecpr"), {QStringLiteral("Program už je v režimu, kdy neprobíhá příjem.")}},
        {QStringLiteral("soubory"), {QStringLiteral("window frmSoubory")}},
        {QStringLiteral("mnuMaska"), {QStringLiteral("window frmMaska")}},
        {QStringLiteral("najdiStrav"), {QStringLiteral("window frmNajdiStrav")}},
        {QStringLiteral("nastpr"), {QStringLiteral("window frmServis"), restart}},
        {QStringLiteral("defkonf"), {text("GenerovatVychoziKonf")}},
        {QStringLiteral("mnuStrav"), {QStringLiteral("window frmStrav"), text("ProvedZalohu")}},
        {QStringLiteral("mnuTestDTR"), {noPort}},
        {QStringLiteral("mnuCRLF"), {noPort}},
        {QStringLiteral("mnuSendNoread"), {noPort}},
        {QStringLiteral("mnuSendExtCommand"), {noPort}},
        {QStringLiteral("defSM"), {QStringLiteral("window frmSM"), smQuestion}},
        {QStringLiteral("createExportNowaco"), {QStringLiteral("Tabulka tickets byla vytvořena.")}},
        {QStringLiteral("runTeamViewer"), {QStringLiteral("shell TeamViewerqs_cs.exe")}},
        {QStringLiteral("regLibrary"), {text("RegKnihovnyChybi")}},
        {QStringLiteral("ScanOn"), {QStringLiteral("reader")}},
        {QStringLiteral("ScanOff"), {QStringLiteral("reader")}},
        {QStringLiteral("mnuSoucVycObd"), {QStringLiteral("window frmSoucVycObd")}},
        {QStringLiteral("About"), {QStringLiteral("window frmAbout")}},
        {QStringLiteral("vmnNab 1"), {QStringLiteral("window frmPrijem")}},
        {QStringLiteral("vmnNab 2"), {noReceipt}},
        {QStringLiteral("vmnNab 3"), {QStringLiteral("window frmKontrVyc")}},
        {QStringLiteral("vmnNab 4"), {noReceipt}},
        {QStringLiteral("vmnNab 5"), {QStringLiteral("window frmSoubory")}},
        {QStringLiteral("vmnFast 1"), {QStringLiteral("reader")}},
        {QStringLiteral("vmnFast 2"), {QStringLiteral("reader")}},
        {QStringLiteral("vmnFast 3"), {text("VolbaNeobsazena")}},
        {QStringLiteral("vmnFast 4"), {QStringLiteral("window frmServis"), restart}},
        {QStringLiteral("vmnFast 5"), {QStringLiteral("window frmSoucVycObd")}},
        {QStringLiteral("vmnFast 6"), {QStringLiteral("window frmMaska")}},
    };
    // Manual entry needs a running receipt; the day summary and the deductions need switches 44 and 40.
    const QStringList unavailable = {QStringLiteral("mnuRucne"), QStringLiteral("mnuSoucVycDen"),
                                     QStringLiteral("mnuOdvody")};
    // clang-format on
    QStringList walked;
    for (QAction* action : window->findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.isEmpty() || action->menu() || action->isSeparator() || name == QStringLiteral("konec"))
            continue;
        SCOPED_TRACE(name.toStdString());
        walked.append(name);
        if (unavailable.contains(name)) {
            EXPECT_FALSE(action->isEnabled() && action->isVisible());
            continue;
        }
        EXPECT_TRUE(action->isEnabled());
        const auto it = expected.find(name);
        ASSERT_NE(it, expected.end());
        EXPECT_EQ(outcome([action] { action->trigger(); }), it->second);
    }
    // With "Konec", which ends the program, 24 items.
    EXPECT_EQ(walked.size(), 23) << walked.join(u' ').toStdString();
    for (const char* menu : {"vmnNab", "vmnFast"}) {
        for (int item = 1; item <= 6; ++item) {
            const QString name = QStringLiteral("%1 %2").arg(QLatin1String(menu)).arg(item);
            auto* button = child<VerticalMenu>(window.get(), menu)->itemButton(item);
            // The last button of the receipt menu ends the program.
            if (name == QStringLiteral("vmnNab 6"))
                continue;
            SCOPED_TRACE(name.toStdString());
            const auto it = expected.find(name);
            ASSERT_NE(it, expected.end());
            EXPECT_EQ(outcome([button] { button->click(); }), it->second);
        }
    }
    ScriptedPrompts::setDefaultUnexpectedHandler(&trv::test::failTestOnUnexpectedPrompt);
}
