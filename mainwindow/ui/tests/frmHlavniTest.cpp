#include "mainwindow/ui/frmHlavni.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/PackageFile.h"
#include "mainwindow/Pause.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "mainwindow/Startup.h"
#include "mainwindow/tests/NoPause.h"
#include "mainwindow/ui/VerticalMenu.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/IniDocument.h"
#include "platform/ProfileFile.h"
#include "platform/QtSerialPort.h"
#include "platform/SerialSettings.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "platform/TicketsDatabase.h"
#include "receipt/ui/frmCounter.h"
#include "receipt/ui/frmCounterPack.h"
#include "settings/ui/frmChyby.h"
#include "testsupport/GuiTestHelpers.h"
#include "testsupport/LeftLockFile.h"
#include "testsupport/Pty.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/TestVoucherTypes.h"
#include "testsupport/db/PostgresServer.h"

#include <QLCDNumber>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>
#include <optional>

using namespace trv;
using trv::test::child;
using trv::test::makeTestType;
using trv::test::NoPause;
using trv::test::onNextModal;

namespace {

const QString kAkt = QStringLiteral("Příjem dat – AKTIVNÍ");
const QString kNeakt = QStringLiteral("Příjem dat – NEAKTIVNÍ!");
const QColor kGreen(50, 255, 80);
const QColor kRed(255, 75, 75);

// The windows of the receipt's road, played by the test.
class FakeReceiptWindows final : public ReceiptWindows {
public:
    struct Closing {
        QString label;
        bool show;
    };

    bool frmPrijem(bool withSm) override {
        ++prijemCalls;
        lastWithSm = withSm;
        return onPrijem ? onPrijem() : false;
    }
    bool frmRucne() override { return false; }
    bool frmSafeBag() override {
        ++safeBagCalls;
        if (onSafeBag)
            onSafeBag();
        return true;
    }
    std::optional<int> frmKontrVyc() override {
        ++kontrVycCalls;
        return kontrVyc;
    }
    std::optional<bool> frmUkonceniPr(const QString& label, bool show) override {
        closings.push_back({label, show});
        return closingResult;
    }

    std::function<bool()> onPrijem;
    std::function<void()> onSafeBag;
    std::optional<int> kontrVyc;
    std::optional<bool> closingResult = true;
    int kontrVycCalls = 0;
    int prijemCalls = 0;
    bool lastWithSm = false;
    int safeBagCalls = 0;
    std::vector<Closing> closings;
};

// "12345" + value in three digits + "00": a code of the first type worth `value`.
QString alfa(int value, int serial = 12345) {
    return QStringLiteral("%1%2%3")
        .arg(serial, 5, 10, QLatin1Char('0'))
        .arg(value, 3, 10, QLatin1Char('0'))
        .arg(QStringLiteral("00"));
}

// The customer switches with the given positions on.
QString firmaId(std::initializer_list<int> on) {
    QString id(50, QLatin1Char('0'));
    for (int position : on)
        id[position - 1] = QLatin1Char('1');
    return id;
}

// A program folder with the test's language file and a data folder, the collaborators of the main window
// played by the test, and the window once start() has run.
struct MainWindowRig {
    MainWindowRig() {
        EXPECT_TRUE(m_dir.isValid());
        folder = TextFiles::toPath(m_dir.path());
        dataFolder = folder / "data";
        std::filesystem::create_directory(dataFolder);
        EXPECT_TRUE(
            TextFiles::copy(TextFiles::toPath(QStringLiteral(TRV_TEST_DATA "/langCS.ini")), folder / "langCS.ini", true)
                .ok());
    }

    // The configuration: the reader on COM2, the data folder, the mode and the switches, plus `more` lines.
    void configure(const QString& mode, std::initializer_list<int> switches = {}, const QString& more = {}) {
        const QString text = QStringLiteral("[Comm]\r\nPort=COM2\r\nHShaking=XOn/XOff\r\nBaudRate=38400\r\n"
                                            "Data bits=8\r\nStop bits=1\r\nParity=None\r\nNOREAD=NOREAD\r\n"
                                            "[Data]\r\nDir=%1\r\n[User]\r\nMode=%2\r\n[Firma]\r\nFirmaID=%3\r\n"
                                            "[Balickovani]\r\nDalsiCisloBaliku=1\r\nMezBalicku=1000\r\n")
                                 .arg(TextFiles::toQString(dataFolder), mode, firmaId(switches));
        EXPECT_TRUE(TextFiles::writeAll(ini(), text + more).ok());
    }

    void set(const QString& section, const QString& key, const QString& value) {
        EXPECT_TRUE(ProfileFile::write(ini(), section, key, value).ok());
    }

    std::filesystem::path ini() const { return folder / "TRV7300.ini"; }

    // The start-up procedure, the voucher types, the main window and its load.
    bool start() {
        EXPECT_TRUE(Main(state, folder, prompts).ok());
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        EXPECT_TRUE(
            state.gColStrav->Add(makeTestType({.name = QStringLiteral("Alfa Stravenky Plus"), .delka = 10, .order = 1}))
                .ok());
        EXPECT_TRUE(
            state.gColStrav->Add(makeTestType({.name = QStringLiteral("Beta"), .delka = 12, .delka2 = 24, .order = 2}))
                .ok());
        window = std::make_unique<frmHlavni>(
            frmHlavni::Services{state, prompts, clock, realPort ? *realPort : port, shell, windows, pause});
        return window->Form_Load();
    }

    // The receipt-start dialog starts a receipt into `name` in the data folder when it opens.
    void startDialogStarts(const QString& name) {
        windows.onPrijem = [this, name] {
            const Status st = window->logic().control().startReceiving(dataFolder, name, state.sw.gFBalicky);
            EXPECT_TRUE(st.ok()) << st.message().toStdString();
            return true;
        };
    }

    void receive(const QString& lines) { port.deliver(lines.toLatin1()); }

    // A receipt of mode STD started from the menu into 12345678.txt, with one code read.
    void startAReceiptOfOneCode() {
        configure(QStringLiteral("STD"));
        ASSERT_TRUE(start());
        startDialogStarts(QStringLiteral("12345678.txt"));
        click("vmnNab", 1);
        receive(alfa(100) + QStringLiteral("\r\n"));
    }

    QStringList booked() const { return state.gColStrav->kodyVsechTypu(); }

    QLabel* panel(int n) const {
        const QByteArray name = "StatusBar1Panel" + QByteArray::number(n);
        return child<QLabel>(window.get(), name.constData());
    }
    QColor statusColour() const {
        return child<QStatusBar>(window.get(), "StatusBar1")->palette().color(QPalette::Window);
    }
    QAction* action(const char* name) const { return child<QAction>(window.get(), name); }
    VerticalMenu* menu(const char* name) const { return child<VerticalMenu>(window.get(), name); }
    void click(const char* menuName, int item) const { menu(menuName)->itemButton(item)->click(); }
    // The display box as the operator sees it once the view's short delay has passed.
    QString display() const {
        window->showPending();
        return child<QPlainTextEdit>(window.get(), "rtbStrav")->toPlainText();
    }
    bool receiving() { return window->logic().receipt().receiving(); }
    QString readFile(const std::filesystem::path& file) const {
        auto text = TextFiles::readAll(file);
        return text.ok() ? text.value().text : QStringLiteral("<missing>");
    }
    std::optional<QString> iniValue(const QString& section, const QString& key) const {
        return ProfileFile::read(ini(), section, key);
    }

    QTemporaryDir m_dir;
    std::filesystem::path folder;
    std::filesystem::path dataFolder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3))};
    FakeSerialPort port;
    SerialPort* realPort = nullptr; // the window's port in place of `port` when set
    RecordingShell shell;
    FakeReceiptWindows windows;
    NoPause pause;
    std::unique_ptr<frmHlavni> window;
};

class frmHlavniTest : public ::testing::Test, protected MainWindowRig {};

} // namespace

// --- Load

TEST_F(frmHlavniTest, LoadInStdShowsTheTextsAndOpensTheReceiptStart) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zpracování stravenek"));
    EXPECT_EQ(windows.prijemCalls, 1);
    EXPECT_FALSE(windows.lastWithSm);
    EXPECT_TRUE(prompts.records().empty());

    EXPECT_EQ(panel(1)->text(), kNeakt);
    EXPECT_EQ(statusColour(), kRed);
    EXPECT_EQ(panel(2)->text(), QStringLiteral("E"));
    EXPECT_EQ(panel(5)->text(), QStringLiteral("COM2, XOn/XOff, 38400, 8, 1, N"));
    EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("Soubor:"));
    EXPECT_FALSE(child<QPlainTextEdit>(window.get(), "rtbStrav")->isVisible());

    EXPECT_EQ(menu("vmnNab")->heading(), QStringLiteral("Akce"));
    EXPECT_EQ(menu("vmnNab")->itemCaption(1), QStringLiteral("Příjem dat"));
    EXPECT_EQ(menu("vmnNab")->itemCaption(5), QStringLiteral("Soubory"));
    EXPECT_EQ(menu("vmnFast")->itemCaption(6), QStringLiteral("Maska"));
    EXPECT_EQ(action("prijem")->text(), QStringLiteral("Příjem dat"));
    EXPECT_EQ(child<QMenu>(window.get(), "mnuScanner")->title(), QStringLiteral("Čtečka"));
    // The data-file browser is there; a missing language text reads as one space.
    EXPECT_TRUE(action("soubory")->isEnabled());
    EXPECT_EQ(action("soubory")->text(), QStringLiteral(" "));
    EXPECT_FALSE(action("mnuOdvody")->isVisible());
    EXPECT_TRUE(action("prijem")->isEnabled());
    // The start dialog started nothing: no receipt runs, so nothing can be typed into one.
    EXPECT_FALSE(action("mnuRucne")->isEnabled());

    auto* first = child<QRadioButton>(window.get(), "optT0");
    EXPECT_EQ(first->text(), QStringLiteral("Alfa"));
    EXPECT_EQ(first->toolTip(), QStringLiteral("Alfa Stravenky Plus"));
    EXPECT_TRUE(first->isChecked());
    EXPECT_EQ(child<QRadioButton>(window.get(), "optT1")->text(), QStringLiteral("Beta"));
    EXPECT_EQ(window->logic().readerState().gMinDelka, 10);
    EXPECT_EQ(window->logic().readerState().gMaxDelka, 24);
}

TEST_F(frmHlavniTest, LoadHidesAndRenamesItemsBySwitchesAndMaskButtons) {
    configure(QStringLiteral("STD"), {40, 42},
              QStringLiteral("[Button1]\r\nName=Maska A\r\nMask=12*\r\n[Button3]\r\nName=Maska C\r\nMask=34*\r\n"));
    set(QStringLiteral("User"), QStringLiteral("HideRightPanel"), QStringLiteral("True"));
    ASSERT_TRUE(start());

    EXPECT_FALSE(action("soubory")->isVisible());
    EXPECT_EQ(menu("vmnNab")->itemCaption(5), QString());
    EXPECT_TRUE(action("mnuOdvody")->isVisible());
    EXPECT_EQ(menu("vmnFast")->itemCaption(3), QStringLiteral("Maska A"));
    EXPECT_EQ(menu("vmnFast")->itemCaption(4), QStringLiteral("Servis"));
    EXPECT_EQ(menu("vmnFast")->itemCaption(5), QStringLiteral("Maska C"));
    EXPECT_EQ(menu("vmnFast")->itemCaption(6), QStringLiteral("Maska"));
    EXPECT_FALSE(menu("vmnFast")->isVisible());

    // With switch 42 the blank item does nothing, whatever switch 27 says.
    click("vmnNab", 5);
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(frmHlavniTest, FirstStartWritesTheDefaultConfigurationAndRunsInStd) {
    ASSERT_TRUE(start());

    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Information);
    EXPECT_TRUE(TextFiles::exists(ini()));
    EXPECT_EQ(state.gMode, QStringLiteral("STD"));
    EXPECT_EQ(state.gDatovyAdresar, folder);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(windows.prijemCalls, 1);
    EXPECT_EQ(panel(5)->text(), QStringLiteral("COM1, XOn/XOff, 38400, 8, 1, N"));
}

TEST_F(frmHlavniTest, LoadInAutReceivesIntoAnEmptiedBarcodeTxt) {
    configure(QStringLiteral("AUT"));
    ASSERT_TRUE(TextFiles::writeAll(dataFolder / "Barcode.txt", QStringLiteral("stary obsah\r\n")).ok());
    ASSERT_TRUE(start());

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(windows.prijemCalls, 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(receiving());
    EXPECT_EQ(panel(1)->text(), kAkt);
    EXPECT_EQ(statusColour(), kGreen);
    EXPECT_EQ(readFile(dataFolder / "Barcode.txt"), QString());
    EXPECT_EQ(child<QLabel>(window.get(), "lblSoubor")->text(), TextFiles::toQString(dataFolder / "Barcode.txt"));
    EXPECT_TRUE(port.sent().contains("<Kv0,,,>"));
    EXPECT_TRUE(child<QPlainTextEdit>(window.get(), "rtbStrav")->isVisible());

    receive(alfa(100) + QStringLiteral("\r\n"));
    EXPECT_EQ(display(), alfa(100) + QStringLiteral("\n"));
}

// The message says what failed: the configuration, the port (with its device and the system's reason) or the
// data folder (the file and the reason), with no number where the error has none.
TEST_F(frmHlavniTest, LoadInAutThatCannotStartReceivingTellsAndCloses) {
    struct Case {
        const char* name;
        bool dropPort;
        bool portFails;
        bool barcodeIsAFolder;
        QString expectedStart;
        QString expectedEnd;
    };
    const QString portLine = QStringLiteral("Port čtečky COM2 nelze otevřít: odpovídá mu zařízení %1 (")
                                 .arg(serialDeviceName(2, EnvironmentLookup{}));
    const Case cases[] = {
        {"port key missing", true, false, false,
         QStringLiteral(
             "Chyba při spuštění příjmu dat. Num: 60002, descr: V konfiguraci chybí nastavení portu čtečky."),
         QString()},
        {"port does not open", false, true, false,
         QStringLiteral("Chyba při spuštění příjmu dat. Num: 60003, descr: ") + portLine,
         QStringLiteral("TRV7300_COM2). zarizeni chybi")},
        {"data folder cannot take Barcode.txt", false, false, true,
         QStringLiteral("Chyba při spuštění příjmu dat. descr: "), QStringLiteral("Barcode.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.reset();
        state = AppState();
        ScriptedPrompts local;
        configure(QStringLiteral("AUT"));
        if (c.dropPort) {
            auto doc = IniDocument::load(ini());
            ASSERT_TRUE(doc.ok());
            doc.value().removeKey(QStringLiteral("Comm"), QStringLiteral("Port"));
            ASSERT_TRUE(doc.value().save(ini()).ok());
        }
        std::filesystem::remove_all(dataFolder / "Barcode.txt");
        if (c.barcodeIsAFolder) {
            std::filesystem::create_directories(dataFolder / "Barcode.txt" / "x");
        }
        port.setOpenError(c.portFails ? std::optional<Error>(Error{0, QStringLiteral("zarizeni chybi")})
                                      : std::nullopt);

        ASSERT_TRUE(Main(state, folder, local).ok());
        state.gColStrav = std::make_shared<CColStrav>(state, local, clock);
        window = std::make_unique<frmHlavni>(frmHlavni::Services{state, local, clock, port, shell, windows, pause});
        EXPECT_FALSE(window->Form_Load());

        EXPECT_FALSE(window->isVisible());
        ASSERT_FALSE(local.records().empty());
        const QString& told = local.records().front().text;
        if (c.expectedEnd.isEmpty()) {
            EXPECT_EQ(told, c.expectedStart);
        } else {
            EXPECT_TRUE(told.startsWith(c.expectedStart)) << told.toStdString();
            EXPECT_TRUE(told.contains(c.expectedEnd)) << told.toStdString();
        }
        EXPECT_FALSE(told.contains(QStringLiteral("Num: 0"))) << told.toStdString();
        EXPECT_EQ(local.records().front().icon, Prompts::Icon::Critical);
        EXPECT_FALSE(receiving());
        window.reset();
    }
    std::filesystem::remove_all(dataFolder / "Barcode.txt");
    port.setOpenError(std::nullopt);
}

// --- Receiving

TEST_F(frmHlavniTest, AReceiptStartedFromTheVerticalMenuShowsAndCountsTheCodes) {
    configure(QStringLiteral("STD"));
    set(QStringLiteral("User"), QStringLiteral("AutoPoc"), QStringLiteral("True"));
    ASSERT_TRUE(start());
    ASSERT_FALSE(receiving());

    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    ASSERT_TRUE(receiving());
    EXPECT_EQ(windows.prijemCalls, 2);
    EXPECT_EQ(statusColour(), kGreen);
    EXPECT_EQ(child<QLabel>(window.get(), "lblSoubor")->text(), TextFiles::toQString(dataFolder / "12345678.txt"));

    receive(alfa(100) + QStringLiteral("\r\n") + alfa(50, 22222).left(4));
    receive(alfa(50, 22222).mid(4) + QStringLiteral("\r\nNOREAD\r\n"));

    EXPECT_EQ(display(), alfa(100) + QStringLiteral("\n") + alfa(50, 22222) + QStringLiteral("\nNOREAD\n"));
    EXPECT_EQ(booked(), (QStringList{alfa(100), alfa(50, 22222), QStringLiteral("NOREAD")}));
    auto* counter = child<frmCounter>(window.get(), "frmCounter");
    EXPECT_TRUE(counter->isVisible());
    window->showPending();
    EXPECT_EQ(child<QLCDNumber>(counter, "fwlCount")->intValue(), 3);
    EXPECT_EQ(child<QLCDNumber>(counter, "fwlNOREAD")->intValue(), 2);

    // A second start while receiving only says so and keeps the codes.
    click("vmnNab", 1);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Příjem dat již probíhá."));
    EXPECT_EQ(booked().size(), 3);
}

TEST_F(frmHlavniTest, CtrlETogglesTheChecksAndPanelTwoWhereverTheFocusIs) {
    configure(QStringLiteral("STD"), {24});
    ASSERT_TRUE(start());
    ASSERT_TRUE(state.gKontrolaPlatnostiZap);
    ASSERT_TRUE(state.sw.gFKontrolaSpolecnosti);
    child<QRadioButton>(window.get(), "optT0")->setFocus();
    QWindow* handle = window->windowHandle();

    QTest::keyClick(handle, Qt::Key_E, Qt::ControlModifier);
    EXPECT_FALSE(state.gKontrolaPlatnostiZap);
    EXPECT_FALSE(state.sw.gFKontrolaSpolecnosti);
    EXPECT_EQ(panel(2)->text(), QString());

    // E held first, then Ctrl: one toggle as well.
    QTest::keyPress(handle, Qt::Key_E);
    QTest::keyPress(handle, Qt::Key_Control);
    QTest::keyRelease(handle, Qt::Key_Control);
    QTest::keyRelease(handle, Qt::Key_E);
    EXPECT_TRUE(state.gKontrolaPlatnostiZap);
    EXPECT_TRUE(state.sw.gFKontrolaSpolecnosti);
    EXPECT_EQ(panel(2)->text(), QStringLiteral("E"));

    // E alone, released, then Ctrl alone: nothing.
    QTest::keyClick(handle, Qt::Key_E);
    QTest::keyClick(handle, Qt::Key_Control);
    EXPECT_TRUE(state.gKontrolaPlatnostiZap);
}

// --- End of a receipt

class frmHlavniEndTest : public frmHlavniTest, public ::testing::WithParamInterface<bool> {
protected:
    bool vertical() const { return GetParam(); }
    void endReceipt() {
        if (vertical())
            click("vmnNab", 4);
        else
            action("konecpr")->trigger();
    }
};

TEST_P(frmHlavniEndTest, ACashDeskReceiptGoesToTheClosingWindow) {
    configure(QStringLiteral("STD"));
    set(QStringLiteral("Data"), QStringLiteral("Debug"), QStringLiteral("True"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    receive(alfa(100) + QStringLiteral("\r\n"));
    ASSERT_TRUE(receiving());

    endReceipt();

    EXPECT_FALSE(receiving());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(panel(1)->text(), kNeakt);
    EXPECT_EQ(statusColour(), kRed);
    EXPECT_EQ(iniValue(QStringLiteral("Data"), QStringLiteral("LastFile")), QStringLiteral("12345678"));
    ASSERT_EQ(windows.closings.size(), 1u);
    EXPECT_EQ(windows.closings[0].label, TextFiles::toQString(dataFolder / "12345678.txt"));
    EXPECT_TRUE(windows.closings[0].show);
    EXPECT_FALSE(action("mnuRucne")->isEnabled());
    // The codes stay in memory for the closing window.
    EXPECT_EQ(booked(), QStringList{alfa(100)});
    // One start line from the load's receipt start, one from the vertical menu's; only that menu logs the end.
    const QString start = QStringLiteral("Start prijmu 10.12.2026 9:05:03\r\n");
    EXPECT_EQ(readFile(folder / "Input.log"),
              start + start + (vertical() ? QStringLiteral("Konec prijmu 10.12.2026 9:05:03\r\n") : QString()));
    EXPECT_TRUE(prompts.records().empty());
}

TEST_P(frmHlavniEndTest, EndingWhenNothingRunsOnlySaysSoWhateverThePanelReads) {
    configure(QStringLiteral("STD"));
    // The language file's not-receiving text differs from the program's fixed message.
    ASSERT_TRUE(ProfileFile::write(folder / "langCS.ini", QStringLiteral("frmHlavni"), QStringLiteral("PrijemDatNeakt"),
                                   QStringLiteral("Čtečka stojí"))
                    .ok());
    ASSERT_TRUE(start());
    ASSERT_EQ(panel(1)->text(), QStringLiteral("Čtečka stojí"));

    endReceipt();

    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, vertical() ? QStringLiteral("Příjem dat neprobíhá.")
                                                    : QStringLiteral("Program už je v režimu, kdy neprobíhá příjem."));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Information);
    EXPECT_TRUE(windows.closings.empty());
    EXPECT_FALSE(iniValue(QStringLiteral("Data"), QStringLiteral("LastFile")).has_value());
}

INSTANTIATE_TEST_SUITE_P(MenuAndVerticalMenu, frmHlavniEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "VerticalMenu" : "Menu"; });

// The package dialog's answer at the end of a receipt in package mode, by the menu and by the vertical menu.
class frmHlavniPackageEndTest : public frmHlavniTest, public ::testing::WithParamInterface<std::tuple<int, bool>> {};

void answerPackageDialog(int result) {
    onNextModal([result](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Uložení balíčku"));
        EXPECT_EQ(child<QPushButton>(dialog, "OKButton")->text(), QStringLiteral("Ulož balík"));
        switch (result) {
        case 1:
            child<QPushButton>(dialog, "OKButton")->click();
            break;
        case 2:
            child<QPushButton>(dialog, "CancelButton")->click();
            break;
        case 3:
            child<QPushButton>(dialog, "btnEnd")->click();
            break;
        default:
            dialog->close();
            break;
        }
    });
}

TEST_P(frmHlavniPackageEndTest, TheOpenPackageIsSavedDroppedOrKeptByTheAnswer) {
    const auto [result, vertical] = GetParam();
    configure(QStringLiteral("STD"), {25});
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("26121001.txt"));
    click("vmnNab", 1);
    receive(alfa(100) + QStringLiteral("\r\n") + alfa(200, 22222) + QStringLiteral("\r\n"));
    ASSERT_TRUE(receiving());
    ASSERT_EQ(window->logic().package().gSumaBalik, Currency::fromInt(300));
    const std::filesystem::path bal = dataFolder / "26121001.bal";
    EXPECT_EQ(child<QLabel>(window.get(), "lblSoubor")->text(), TextFiles::toQString(bal));

    answerPackageDialog(result);
    if (vertical)
        click("vmnNab", 4);
    else
        action("konecpr")->trigger();

    const PackageState& package = window->logic().package();
    EXPECT_TRUE(windows.closings.empty());
    switch (result) {
    case 1:
    case 3:
        EXPECT_FALSE(receiving());
        EXPECT_EQ(readFile(bal), QStringLiteral("#1\r\n") + alfa(100) + QStringLiteral("\r\n") + alfa(200, 22222) +
                                     QStringLiteral("\r\n"));
        EXPECT_EQ(iniValue(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku")), QStringLiteral("2"));
        EXPECT_EQ(state.gCisloBaliku, 2);
        EXPECT_EQ(package.gSumaBalik, Currency());
        EXPECT_EQ(package.gSumaVse, Currency::fromInt(300));
        EXPECT_TRUE(booked().isEmpty());
        EXPECT_EQ(iniValue(QStringLiteral("Data"), QStringLiteral("LastFile")), QStringLiteral("26121001"));
        break;
    case 2:
        EXPECT_FALSE(receiving());
        EXPECT_FALSE(TextFiles::exists(bal));
        EXPECT_EQ(iniValue(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku")), QStringLiteral("1"));
        EXPECT_EQ(package.gSumaBalik, Currency());
        EXPECT_EQ(package.gSumaVse, Currency());
        EXPECT_TRUE(booked().isEmpty());
        break;
    default:
        // Closed without an answer: the receipt goes on with its package whole.
        EXPECT_TRUE(receiving());
        EXPECT_TRUE(port.isOpen());
        EXPECT_FALSE(TextFiles::exists(bal));
        EXPECT_EQ(package.gSumaBalik, Currency::fromInt(300));
        EXPECT_EQ(booked().size(), 2);
        EXPECT_FALSE(iniValue(QStringLiteral("Data"), QStringLiteral("LastFile")).has_value());
        EXPECT_TRUE(action("mnuRucne")->isEnabled());
        receive(alfa(300, 33333) + QStringLiteral("\r\n"));
        EXPECT_EQ(booked().size(), 3);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(EachAnswer, frmHlavniPackageEndTest,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3), ::testing::Values(false, true)),
                         [](const auto& info) {
                             return std::string(std::get<1>(info.param) ? "VerticalMenu" : "Menu") + "Result" +
                                    std::to_string(std::get<0>(info.param));
                         });

TEST_F(frmHlavniTest, TheCheckStatementEndsTheReceiptOrGoesBackToReceiving) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    receive(alfa(100) + QStringLiteral("\r\nNOREAD\r\n"));

    windows.kontrVyc = 2;
    click("vmnNab", 3);
    EXPECT_TRUE(receiving());
    // Back from the check statement the box shows the codes held in memory.
    EXPECT_EQ(display(), alfa(100) + QStringLiteral("\nNOREAD\n"));

    windows.kontrVyc = 1;
    click("vmnNab", 3);
    EXPECT_FALSE(receiving());
    EXPECT_EQ(windows.closings.size(), 1u);
}

TEST_F(frmHlavniTest, WithAutoPrijemTheNextReceiptStartsRightAfterTheEnd) {
    configure(QStringLiteral("STD"));
    set(QStringLiteral("User"), QStringLiteral("AutoPrijem"), QStringLiteral("True"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    ASSERT_EQ(windows.prijemCalls, 2);

    click("vmnNab", 4);

    EXPECT_EQ(windows.closings.size(), 1u);
    EXPECT_EQ(windows.prijemCalls, 3);
    EXPECT_TRUE(receiving());
}

// --- Safe bag

TEST_F(frmHlavniTest, ASafeBagStartShowsReceivingOnlyOnceThePortIsOpen) {
    configure(QStringLiteral("STD"), {44});
    windows.onSafeBag = [this] { state.gSafeBag = true; };
    port.setOpenError(Error{0, QStringLiteral("zarizeni chybi")});
    QString panelWhileTold;
    QColor colourWhileTold;
    prompts.setWhileOpen([&] {
        panelWhileTold = panel(1)->text();
        colourWhileTold = statusColour();
    });

    ASSERT_TRUE(start());

    EXPECT_EQ(windows.safeBagCalls, 1);
    EXPECT_EQ(windows.prijemCalls, 0);
    ASSERT_EQ(prompts.records().size(), 1u);
    // The port, its device and the reason, as every start tells them.
    EXPECT_TRUE(
        prompts.records()[0].text.startsWith(QStringLiteral("Port čtečky COM2 nelze otevřít: odpovídá mu zařízení ")))
        << prompts.records()[0].text.toStdString();
    EXPECT_TRUE(prompts.records()[0].text.endsWith(QStringLiteral(" zarizeni chybi")))
        << prompts.records()[0].text.toStdString();
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(panelWhileTold, kNeakt);
    EXPECT_EQ(colourWhileTold, kRed);
    EXPECT_FALSE(receiving());
    EXPECT_EQ(panel(1)->text(), kNeakt);
    EXPECT_FALSE(child<QMenu>(window.get(), "mnuVyc")->menuAction()->isVisible());

    port.setOpenError(std::nullopt);
    click("vmnNab", 1);
    EXPECT_TRUE(receiving());
    EXPECT_EQ(statusColour(), kGreen);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Pozor, režim safe bag."));
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(child<QRadioButton>(window.get(), "optT0")->palette().color(QPalette::Window), QColor(192, 192, 255));
}

// --- Unload

TEST_F(frmHlavniTest, UnloadInAutCleansTheDisplayBoxAndSavesItAsBarcodeTxt) {
    configure(QStringLiteral("AUT"));
    set(QStringLiteral("User"), QStringLiteral("AutoDorovn"), QStringLiteral("True"));
    set(QStringLiteral("User"), QStringLiteral("AutoDupl"), QStringLiteral("True"));
    ASSERT_TRUE(start());
    // Two codes whose line end got lost, a NOREAD, a third code and the first one again.
    receive(alfa(100) + alfa(200, 22222) + QStringLiteral("\r\nNOREAD\r\n") + alfa(300, 33333) +
            QStringLiteral("\r\n") + alfa(100) + QStringLiteral("\r\n"));

    EXPECT_TRUE(window->close());

    EXPECT_FALSE(port.isOpen());
    const QString saved = readFile(dataFolder / "Barcode.txt");
    EXPECT_TRUE(saved.endsWith(QStringLiteral("\r\n")));
    QStringList lines = saved.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    lines.sort();
    EXPECT_EQ(lines, (QStringList{alfa(100), alfa(200, 22222), alfa(300, 33333)}));
}

TEST_F(frmHlavniTest, UnloadInStdRemembersTheDocumentAndHandsTheReceiptOn) {
    ASSERT_NO_FATAL_FAILURE(startAReceiptOfOneCode());

    EXPECT_TRUE(window->close());

    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(iniValue(QStringLiteral("Data"), QStringLiteral("LastFile")), QStringLiteral("12345678"));
    ASSERT_EQ(windows.closings.size(), 1u);
    EXPECT_EQ(windows.closings[0].label, TextFiles::toQString(dataFolder / "12345678.txt"));
}

TEST_F(frmHlavniTest, UnloadInStdWithAnEmptyBoxOnlyRemembersTheDocument) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);

    EXPECT_TRUE(window->close());

    EXPECT_EQ(iniValue(QStringLiteral("Data"), QStringLiteral("LastFile")), QStringLiteral("12345678"));
    EXPECT_TRUE(windows.closings.empty());
}

TEST_F(frmHlavniTest, UnloadInPackageModeAsksForThePackageAndAClosedDialogKeepsTheWindow) {
    configure(QStringLiteral("STD"), {25});
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("26121001.txt"));
    click("vmnNab", 1);
    receive(alfa(100) + QStringLiteral("\r\n"));
    const std::filesystem::path bal = dataFolder / "26121001.bal";

    answerPackageDialog(0);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(receiving());
    EXPECT_EQ(booked(), QStringList{alfa(100)});
    EXPECT_FALSE(TextFiles::exists(bal));

    answerPackageDialog(1);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(readFile(bal), QStringLiteral("#1\r\n") + alfa(100) + QStringLiteral("\r\n"));
    EXPECT_EQ(iniValue(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku")), QStringLiteral("2"));
    EXPECT_TRUE(windows.closings.empty());
}

// The package dialog closes the port while it asks; the resume after it reopens the port as every start opens
// it, and a port that does not open names the port, its device and the reason. The receipt goes on without its
// reader, and the panel says so.
TEST_F(frmHlavniTest, AResumeWhosePortDoesNotOpenNamesThePortAndKeepsTheReceipt) {
    configure(QStringLiteral("STD"), {25});
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("26121001.txt"));
    click("vmnNab", 1);
    receive(alfa(100) + QStringLiteral("\r\n"));
    const qsizetype told = prompts.records().size();

    port.setOpenError(Error{0, QStringLiteral("zarizeni chybi")});
    answerPackageDialog(0);
    action("konecpr")->trigger();
    port.setOpenError(std::nullopt);

    ASSERT_EQ(prompts.records().size(), told + 1);
    const QString& text = prompts.records().back().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Port čtečky COM2 nelze otevřít: odpovídá mu zařízení %1 (")
                                    .arg(serialDeviceName(2, EnvironmentLookup{}))))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral(" zarizeni chybi"))) << text.toStdString();
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
    EXPECT_FALSE(receiving());
    EXPECT_TRUE(window->logic().control().receiptRuns());
    EXPECT_EQ(booked(), QStringList{alfa(100)});
    EXPECT_EQ(panel(1)->text(), QStringLiteral("Příjem dat – AKTIVNÍ, čtečka odpojena!"));
}

// A lock file that a program which has ended left where this user cannot remove it: the receipt start names the
// file and says that its program no longer runs, without "already open", and the exit, which opens the port
// only to give the reader its default type, closes without a word about a port that never opened.
TEST_F(frmHlavniTest, ALeftLockFileIsTheStartsCauseAndTheExitSaysNothingOfThePort) {
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    QTemporaryDir locks;
    ASSERT_TRUE(locks.isValid());
    QtSerialPort serial(
        [&](const QString& name) { return name == QLatin1String("TRV7300_COM2") ? pty.slaveName() : QString(); });
    serial.setLockFolder(locks.path());
    test::LeftLockFile lock(locks.path(), pty.slaveName());
    ASSERT_TRUE(lock.ok());
    realPort = &serial;
    configure(QStringLiteral("STD"));
    std::optional<Status> started;
    windows.onPrijem = [&] {
        started = window->logic().control().startReceiving(dataFolder, QStringLiteral("12345678.txt"), false);
        return false;
    };

    ASSERT_TRUE(start());

    ASSERT_TRUE(started.has_value());
    ASSERT_FALSE(started->ok());
    EXPECT_EQ(started->error().number, 60003);
    EXPECT_TRUE(started->message().contains(QStringLiteral("soubor zámku %1").arg(lock.path())))
        << started->message().toStdString();
    EXPECT_TRUE(started->message().contains(QStringLiteral("který už neběží"))) << started->message().toStdString();
    EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(u'\n').toStdString();

    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(u'\n').toStdString();
    EXPECT_FALSE(serial.isOpen());
    window.reset(); // before the port it uses
}

// --- Menu commands

TEST_F(frmHlavniTest, TheTicketsTableIsCreatedInTheEmbeddedDatabase) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());

    action("createExportNowaco")->trigger();

    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Tabulka tickets byla vytvořena."));
    auto db = TicketsDatabase::openSqlite(dataFolder / "tickets.sqlite");
    ASSERT_TRUE(db.ok());
    EXPECT_TRUE(db.value()->hasTable().valueOr(false));
}

class frmHlavniPostgresTest : public test::PostgresTest, protected MainWindowRig {};

TEST_F(frmHlavniPostgresTest, TheTicketsTableIsCreatedOnTheConfiguredServer) {
    configure(QStringLiteral("STD"));
    set(QStringLiteral("Data"), QStringLiteral("ConnString"), connectionString());
    ASSERT_TRUE(start());

    action("createExportNowaco")->trigger();
    action("createExportNowaco")->trigger();

    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Tabulka tickets byla vytvořena."));
    EXPECT_EQ(prompts.records()[1].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[1].text.startsWith(
        QStringLiteral("Nastala chyba při vytvoření tabulky pro export do databáze! Číslo: 42P07, popis: ")));
    auto db = TicketsDatabase::connectPostgres(connectionString());
    ASSERT_TRUE(db.ok());
    EXPECT_TRUE(db.value()->hasTable().valueOr(false));
    EXPECT_FALSE(TextFiles::exists(dataFolder / "tickets.sqlite"));
}

TEST_F(frmHlavniTest, ShellCommandsHandTheirTargetToTheDesktop) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());

    // Without its key the item says which setting names its file.
    action("regLibrary")->trigger();
    EXPECT_TRUE(shell.requests().empty());
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Soubor k registraci knihovny není zadán: v konfiguraci chybí "
                                                        "klíč RegKnihovny v sekci Data."));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Information);

    set(QStringLiteral("Data"), QStringLiteral("RegKnihovny"), QStringLiteral("/opt/knihovny/registrace.reg"));
    action("regLibrary")->trigger();
    action("runTeamViewer")->trigger();
    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_EQ(shell.requests()[0].path, std::filesystem::path("/opt/knihovny/registrace.reg"));
    EXPECT_EQ(shell.requests()[1].path, std::filesystem::path("TeamViewerqs_cs.exe"));
    EXPECT_EQ(prompts.records().size(), 1u);

    // What the shell cannot open is told with its reason.
    shell.setFailure(Error{0, QStringLiteral("Program TeamViewerqs_cs.exe nelze spustit: soubor neexistuje.")});
    action("runTeamViewer")->trigger();
    EXPECT_EQ(prompts.records().back().text,
              QStringLiteral("Program TeamViewerqs_cs.exe nelze spustit: soubor neexistuje."));
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
}

TEST_F(frmHlavniTest, TheSummaryWindowsOpenFromTheMenusAndTheQuickMenu) {
    configure(QStringLiteral("STD"), {40, 44});
    EXPECT_TRUE(TextFiles::writeAll(folder / "TypStrav.ini",
                                    QStringLiteral("[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=Alfa\r\nDelka=10\r\n"))
                    .ok());
    ASSERT_TRUE(start());

    struct Case {
        const char* open;
        const char* window;
        std::function<void()> trigger;
    };
    const std::vector<Case> cases = {
        {"mnuSoucVycObd", "frmSoucVycObd", [this] { action("mnuSoucVycObd")->trigger(); }},
        {"mnuSoucVycDen", "frmSoucVycDen", [this] { action("mnuSoucVycDen")->trigger(); }},
        {"vmnFast 5", "frmSoucVycObd", [this] { click("vmnFast", 5); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.open);
        QString opened;
        onNextModal([&opened](QWidget* modal) {
            opened = modal->objectName();
            child<QPushButton>(modal, "cmdEnd")->click();
        });
        c.trigger();
        EXPECT_EQ(opened, QString::fromLatin1(c.window));
    }

    // The deductions window is one, shown without blocking; Konec unloads it.
    action("mnuOdvody")->trigger();
    auto* odvody = window->findChild<QWidget*>(QStringLiteral("frmOdvody"));
    ASSERT_NE(odvody, nullptr);
    EXPECT_TRUE(odvody->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    child<QPushButton>(odvody, "cmdEnd")->click();
    EXPECT_TRUE(
        trv::test::waitUntil([this] { return window->findChild<QWidget*>(QStringLiteral("frmOdvody")) == nullptr; }));
    EXPECT_TRUE(prompts.unexpected().isEmpty());
}

// --- A receipt's life: it runs from a successful start until it is ended

TEST_F(frmHlavniTest, AReceiptWhoseReaderWasLostKeepsItsCodesAndEndsNormally) {
    ASSERT_NO_FATAL_FAILURE(startAReceiptOfOneCode());

    EXPECT_EQ(panel(3)->text(), QStringLiteral("Čtečka zapnuta"));
    port.simulateLoss(QStringLiteral("COM2 (/dev/ttyUSB0) zmizel."));
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("COM2 (/dev/ttyUSB0) zmizel."));
    EXPECT_FALSE(receiving());
    // The status bar and the reader menu say that the reader is gone while the receipt is still open; the
    // receipt stays in sight.
    EXPECT_EQ(panel(1)->text(), QStringLiteral("Příjem dat – AKTIVNÍ, čtečka odpojena!"));
    EXPECT_EQ(statusColour(), kRed);
    EXPECT_EQ(panel(3)->text(), QStringLiteral("Čtečka odpojena"));
    EXPECT_FALSE(action("ScanOn")->isChecked());
    EXPECT_TRUE(action("ScanOff")->isChecked());
    EXPECT_TRUE(child<QWidget>(window.get(), "rtbStrav")->isVisible());
    // Still a receipt: its codes stay, codes can be typed into it, and it ends through the closing window.
    EXPECT_EQ(booked(), QStringList{alfa(100)});
    EXPECT_TRUE(action("mnuRucne")->isEnabled());
    EXPECT_EQ(readFile(dataFolder / "12345678.txt"), alfa(100) + QStringLiteral("\r\n"));

    click("vmnNab", 4);
    ASSERT_EQ(windows.closings.size(), 1u);
    EXPECT_EQ(windows.closings[0].label, TextFiles::toQString(dataFolder / "12345678.txt"));
    EXPECT_FALSE(window->logic().control().receiptRuns());
    EXPECT_FALSE(action("mnuRucne")->isEnabled());
    EXPECT_FALSE(prompts.texts().contains(QStringLiteral("Příjem dat neprobíhá.")));
    EXPECT_FALSE(child<QWidget>(window.get(), "rtbStrav")->isVisible());
    EXPECT_EQ(panel(1)->text(), kNeakt);
}

// Panel 3 says that the reader is gone whenever panel 1 does, already while the message about it is open, and
// shows the reader's last state again once the port is open again. Two roads to it: the device goes away, and
// the port does not reopen when the receipt goes on after the closing window was left without saving.
class frmHlavniReaderGoneTest : public frmHlavniTest, public ::testing::WithParamInterface<bool> {};

TEST_P(frmHlavniReaderGoneTest, PanelThreeSaysSoBeforeTheMessageAndUntilThePortIsOpenAgain) {
    const bool portDoesNotReopen = GetParam();
    ASSERT_NO_FATAL_FAILURE(startAReceiptOfOneCode());
    ASSERT_EQ(panel(3)->text(), QStringLiteral("Čtečka zapnuta"));
    const QString gone = QStringLiteral("Příjem dat – AKTIVNÍ, čtečka odpojena! | Čtečka odpojena");
    const auto panels = [this] { return panel(1)->text() + QStringLiteral(" | ") + panel(3)->text(); };
    QStringList whileTold;
    prompts.setWhileOpen([&] { whileTold.append(panels()); });
    const qsizetype told = prompts.records().size();

    if (portDoesNotReopen) {
        // Taken by another program meanwhile: "already open", then the failed reopen, are two messages.
        port.setOpenError(Error{SerialPort::PortAlreadyOpenError, QStringLiteral("COM2 je obsazen")});
        windows.closingResult = false;
        click("vmnNab", 4);
        port.setOpenError(std::nullopt);
    } else {
        port.simulateLoss(QStringLiteral("zmizel"));
    }

    const qsizetype messages = portDoesNotReopen ? 2 : 1;
    ASSERT_EQ(prompts.records().size(), told + messages) << prompts.texts().join(u'\n').toStdString();
    EXPECT_EQ(whileTold.join(u'\n').toStdString(), QStringList(messages, gone).join(u'\n').toStdString());
    EXPECT_EQ(panels().toStdString(), gone.toStdString());
    EXPECT_TRUE(action("ScanOff")->isChecked());

    // Left without saving again, the receipt goes on and its port opens.
    windows.closingResult = false;
    click("vmnNab", 4);
    EXPECT_TRUE(receiving());
    EXPECT_EQ(panels().toStdString(), (kAkt + QStringLiteral(" | Čtečka zapnuta")).toStdString());
    EXPECT_TRUE(action("ScanOn")->isChecked());
    EXPECT_EQ(prompts.records().size(), told + messages);
}

INSTANTIATE_TEST_SUITE_P(LossAndPortNotReopened, frmHlavniReaderGoneTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PortNotReopened" : "DeviceLost"; });

// Closing the window asks the receipt's own state whether a receipt runs: one whose reader was lost remembers its
// document number as any other.
TEST_F(frmHlavniTest, UnloadRemembersTheDocumentOfAReceiptWhoseReaderWasLost) {
    ASSERT_NO_FATAL_FAILURE(startAReceiptOfOneCode());
    port.simulateLoss(QStringLiteral("zmizel"));

    EXPECT_TRUE(window->close());

    EXPECT_EQ(iniValue(QStringLiteral("Data"), QStringLiteral("LastFile")), QStringLiteral("12345678"));
    ASSERT_EQ(windows.closings.size(), 1u);
}

TEST_F(frmHlavniTest, ANewStartWhileALostReceiptHoldsCodesOffersToEndItFirst) {
    ASSERT_NO_FATAL_FAILURE(startAReceiptOfOneCode());
    port.simulateLoss(QStringLiteral("zmizel"));
    const int starts = windows.prijemCalls;

    // "No": no new start, the codes stay.
    prompts.queueAnswer(Prompts::Answer::No);
    action("prijem")->trigger();
    EXPECT_EQ(prompts.records().back().buttons, Prompts::Buttons::YesNo);
    EXPECT_TRUE(prompts.records().back().text.contains(TextFiles::toQString(dataFolder / "12345678.txt")));
    EXPECT_EQ(windows.prijemCalls, starts);
    EXPECT_EQ(booked(), QStringList{alfa(100)});
    EXPECT_TRUE(windows.closings.empty());

    // "Yes": the receipt is ended through the closing window, then the new one starts.
    prompts.queueAnswer(Prompts::Answer::Yes);
    click("vmnNab", 1);
    EXPECT_EQ(windows.closings.size(), 1u);
    EXPECT_EQ(windows.prijemCalls, starts + 1);
    EXPECT_TRUE(receiving());
}

TEST_F(frmHlavniTest, LeavingTheClosingWindowWithoutSavingKeepsTheReceiptAndCancelsTheExit) {
    configure(QStringLiteral("STD"));
    set(QStringLiteral("User"), QStringLiteral("AutoPoc"), QStringLiteral("True"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    child<QRadioButton>(window.get(), "optT1")->click();
    receive(alfa(100) + QStringLiteral("\r\n"));
    const ReadCounters::Counts counts = window->logic().counters().counts();
    windows.closingResult = false;

    click("vmnNab", 4);
    EXPECT_EQ(windows.closings.size(), 1u);
    EXPECT_TRUE(receiving());
    EXPECT_TRUE(window->logic().control().receiptRuns());
    EXPECT_TRUE(action("mnuRucne")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>(window.get(), "optT1")->isChecked());
    EXPECT_TRUE(window->counterWindow()->isVisible());
    EXPECT_EQ(window->logic().counters().counts().cteni, counts.cteni);
    receive(alfa(200, 22222) + QStringLiteral("\r\n"));
    EXPECT_EQ(booked().size(), 2);

    // At exit the same answer means "don't quit".
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(receiving());
    EXPECT_EQ(booked().size(), 2);

    windows.closingResult = true;
    EXPECT_TRUE(window->close());
}

TEST_F(frmHlavniTest, AFailedPackageSaveAtTheEndLeavesTheReceiptAsItWas) {
    configure(QStringLiteral("STD"), {25});
    set(QStringLiteral("User"), QStringLiteral("AutoPoc"), QStringLiteral("True"));
    set(QStringLiteral("Data"), QStringLiteral("Debug"), QStringLiteral("True"));
    set(QStringLiteral("Comm"), QStringLiteral("TypScaneru"), QStringLiteral("1"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("26121001.txt"));
    click("vmnNab", 1);
    child<QRadioButton>(window.get(), "optT1")->click();
    receive(alfa(100) + QStringLiteral("\r\n"));
    // The package file cannot be written: a folder stands in its place.
    std::filesystem::create_directory(dataFolder / "26121001.bal");
    const ReadCounters::Counts counts = window->logic().counters().counts();
    ASSERT_TRUE(window->counterWindow()->isVisible());
    port.clearLog();

    answerPackageDialog(1);
    click("vmnNab", 4);

    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
    EXPECT_TRUE(receiving());
    EXPECT_TRUE(window->counterWindow()->isVisible());
    const ReadCounters::Counts after = window->logic().counters().counts();
    EXPECT_EQ(after.cteni, counts.cteni);
    EXPECT_EQ(after.prijmu, counts.prijmu);
    EXPECT_TRUE(child<QRadioButton>(window.get(), "optT1")->isChecked());
    EXPECT_EQ(window->logic().readerState().ZvolenyTyp, 1);
    // The chosen type's command went to the reader again after the port reopened.
    const QStringList events = port.events();
    const qsizetype reopened = events.lastIndexOf(QStringLiteral("open"));
    ASSERT_GE(reopened, 0);
    EXPECT_GT(events.size(), reopened + 1) << events.join(u'\n').toStdString();
    EXPECT_TRUE(events.mid(reopened + 1).join(u'\n').contains(QStringLiteral("send")));
    EXPECT_TRUE(window->logic().inputLog().isOpen());
    EXPECT_EQ(booked(), QStringList{alfa(100)});
    EXPECT_TRUE(action("mnuRucne")->isEnabled());
}

TEST_F(frmHlavniTest, WithSwitchTenTheReceiptStartIsTheOneWithSm) {
    configure(QStringLiteral("STD"), {10});
    ASSERT_TRUE(start());
    EXPECT_EQ(windows.prijemCalls, 1);
    EXPECT_TRUE(windows.lastWithSm);
    EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(u'\n').toStdString();
    EXPECT_FALSE(receiving());
    EXPECT_FALSE(action("mnuRucne")->isEnabled());
}

TEST_F(frmHlavniTest, TheReaderPanelFollowsTheSwitchAfterTheReceiptEnded) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    window->logic().commands().PrepniSkener(true);
    EXPECT_EQ(panel(3)->text(), QStringLiteral("Čtečka zapnuta"));
    click("vmnNab", 4);

    action("ScanOff")->trigger();
    EXPECT_EQ(panel(3)->text(), QStringLiteral("Čtečka vypnuta"));
    EXPECT_TRUE(action("ScanOff")->isChecked());

    // A switch that cannot reach the reader is told, and the panel keeps what the reader was last told.
    port.setOpenError(Error{0, QStringLiteral("COM2 nelze otevřít")});
    click("vmnFast", 1);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("COM2 nelze otevřít"));
    EXPECT_EQ(panel(3)->text(), QStringLiteral("Čtečka vypnuta"));
    port.setOpenError(std::nullopt);
}

// --- Windows of the main window

TEST_F(frmHlavniTest, TheErrorLogWindowOpensOnTheFirstLineIsReusedAndReopensAfterClose) {
    configure(QStringLiteral("STD"), {43});
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    EXPECT_EQ(window->findChild<frmChyby*>(), nullptr);

    receive(QStringLiteral("1A\r\n"));
    auto* first = window->findChild<frmChyby*>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    receive(QStringLiteral("1B\r\n"));
    EXPECT_EQ(window->findChildren<frmChyby*>().size(), 1);
    EXPECT_EQ(window->findChild<frmChyby*>(), first);
    const QString lines = child<QPlainTextEdit>(first, "rtb")->toPlainText();
    EXPECT_TRUE(lines.contains(QStringLiteral("1A"))) << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("1B"))) << lines.toStdString();

    first->close();
    ASSERT_TRUE(trv::test::waitUntil([&] { return window->findChild<frmChyby*>() == nullptr; }));
    receive(QStringLiteral("1C\r\n"));
    auto* second = window->findChild<frmChyby*>();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(child<QPlainTextEdit>(second, "rtb")->toPlainText().startsWith(QStringLiteral("1C")));
    EXPECT_FALSE(child<QPlainTextEdit>(second, "rtb")->toPlainText().contains(QStringLiteral("1A")));
}

TEST_F(frmHlavniTest, ThePackageDialogsPrintButtonShowsTheCheckStatement) {
    configure(QStringLiteral("STD"), {25});
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("26121001.txt"));
    click("vmnNab", 1);
    receive(alfa(100) + QStringLiteral("\r\n"));
    windows.kontrVyc = 2;

    onNextModal([](QWidget* dialog) {
        child<QPushButton>(dialog, "cmbPrint")->click();
        dialog->close();
    });
    click("vmnNab", 4);

    EXPECT_EQ(windows.kontrVycCalls, 1);
    EXPECT_TRUE(receiving());
}

TEST_F(frmHlavniTest, TheCounterWindowIsThePackageOneUnderSwitchTwentyFive) {
    for (const bool packages : {false, true}) {
        SCOPED_TRACE(packages ? "package mode" : "cash-desk mode");
        window.reset();
        state = AppState();
        configure(QStringLiteral("STD"), packages ? std::initializer_list<int>{25} : std::initializer_list<int>{});
        set(QStringLiteral("User"), QStringLiteral("AutoPoc"), QStringLiteral("True"));
        ASSERT_TRUE(start());
        startDialogStarts(QStringLiteral("26121001.txt"));
        click("vmnNab", 1);
        QWidget* counter = window->counterWindow();
        ASSERT_NE(counter, nullptr);
        EXPECT_TRUE(counter->isVisible());
        EXPECT_EQ(qobject_cast<frmCounterPack*>(counter) != nullptr, packages);
        EXPECT_EQ(qobject_cast<frmCounter*>(counter) != nullptr, !packages);
        EXPECT_EQ(window->findChildren<frmCounterPack*>().size(), packages ? 1 : 0);
        EXPECT_EQ(window->findChildren<frmCounter*>().size(), packages ? 0 : 1);
        window->close();
    }
}

TEST_F(frmHlavniTest, TheUnloadKeepsTheDisplayBoxsLineOrder) {
    configure(QStringLiteral("AUT"));
    set(QStringLiteral("User"), QStringLiteral("AutoDupl"), QStringLiteral("True"));
    ASSERT_TRUE(start());
    receive(alfa(300, 33333) + QStringLiteral("\r\nNOREAD\r\n") + alfa(100) + QStringLiteral("\r\n") +
            alfa(300, 33333) + QStringLiteral("\r\n") + alfa(200, 22222) + QStringLiteral("\r\n"));

    EXPECT_TRUE(window->close());

    EXPECT_EQ(readFile(dataFolder / "Barcode.txt"), alfa(300, 33333) + QStringLiteral("\r\n") + alfa(100) +
                                                        QStringLiteral("\r\n") + alfa(200, 22222) +
                                                        QStringLiteral("\r\n"));
}

TEST_F(frmHlavniTest, CodesWaitingInTheBufferWhenThePackageIsSavedAtTheEndAreNamed) {
    configure(QStringLiteral("STD"), {25});
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("26121001.txt"));
    click("vmnNab", 1);
    // Past the limit of 1000; the package dialog is closed without an answer, so the package stays open.
    onNextModal([](QWidget* dialog) { dialog->close(); });
    receive(alfa(900) + QStringLiteral("\r\n") + alfa(200, 22222) + QStringLiteral("\r\n"));
    // The next code meets the limit and stops the pass: the code after it waits in the buffer.
    receive(alfa(300, 33333) + QStringLiteral("\r\n") + alfa(400, 44444) + QStringLiteral("\r\n"));
    ASSERT_TRUE(window->logic().KodBuffer().text().contains(alfa(400, 44444)));

    answerPackageDialog(1);
    click("vmnNab", 4);

    EXPECT_FALSE(receiving());
    EXPECT_TRUE(window->logic().KodBuffer().isEmpty());
    EXPECT_TRUE(prompts.texts().last().contains(alfa(400, 44444))) << prompts.texts().join(u'\n').toStdString();
}

// --- The display box

TEST_F(frmHlavniTest, TheDisplayBoxFollowsTheModelOnAShortTickAndShowsASplitLineEndOnce) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    auto* box = child<QPlainTextEdit>(window.get(), "rtbStrav");

    // CR and LF arrive in separate chunks, shown on separate ticks.
    receive(alfa(100) + QStringLiteral("\r"));
    EXPECT_EQ(window->logic().rtbStrav().text(), alfa(100) + QStringLiteral("\r"));
    ASSERT_TRUE(trv::test::waitUntil([&] { return box->toPlainText().contains(alfa(100)); }));
    receive(QStringLiteral("\n") + alfa(200, 22222) + QStringLiteral("\r\n"));
    ASSERT_TRUE(trv::test::waitUntil([&] { return box->toPlainText().contains(alfa(200, 22222)); }));

    EXPECT_EQ(box->toPlainText(), alfa(100) + QStringLiteral("\n") + alfa(200, 22222) + QStringLiteral("\n"));
    EXPECT_EQ(booked(), (QStringList{alfa(100), alfa(200, 22222)}));
}

TEST_F(frmHlavniTest, AReaderLineWithoutLineEndsIsKeptWholeAndShownInShortLines) {
    configure(QStringLiteral("AUT"));
    ASSERT_TRUE(start());
    ASSERT_TRUE(receiving());
    // A reader configured without a suffix: 1 MB of digits and never a CR LF.
    const QString digits = QStringLiteral("0123456789").repeated(100 * 1024);
    for (qsizetype at = 0; at < digits.size(); at += 4096)
        receive(digits.mid(at, 4096));

    // The receipt keeps every byte; nothing was taken for a code.
    EXPECT_EQ(window->logic().rtbStrav().text(), digits);
    EXPECT_EQ(window->logic().KodBuffer().size(), digits.size());
    EXPECT_TRUE(booked().isEmpty());

    // The box shows it all, in lines short enough to lay out.
    const QString shown = display();
    EXPECT_EQ(QString(shown).remove(u'\n'), digits);
    qsizetype longest = 0;
    for (const QStringView line : QStringView(shown).split(u'\n'))
        longest = std::max(longest, line.size());
    EXPECT_LE(longest, 200);
}

TEST_F(frmHlavniTest, TheUnloadDoesNotRefillTheDisplayBoxOfAClosingWindow) {
    configure(QStringLiteral("AUT"));
    set(QStringLiteral("User"), QStringLiteral("AutoDupl"), QStringLiteral("True"));
    ASSERT_TRUE(start());
    receive(alfa(100) + QStringLiteral("\r\nNOREAD\r\n") + alfa(100) + QStringLiteral("\r\n"));
    display();
    auto* box = child<QPlainTextEdit>(window.get(), "rtbStrav");
    const int revision = box->document()->revision();

    EXPECT_TRUE(window->close());
    QTest::qWait(100);

    EXPECT_EQ(box->document()->revision(), revision);
    EXPECT_EQ(readFile(dataFolder / "Barcode.txt"), alfa(100) + QStringLiteral("\r\n"));
}

TEST_F(frmHlavniTest, ALineWithoutDtrIsToldToTheOperatorOnce) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("12345678.txt"));
    click("vmnNab", 1);
    port.setDtrUnsupported(true);

    receive(QStringLiteral("1A\r\n"));
    receive(QStringLiteral("1B\r\n"));

    auto* log = window->findChild<frmChyby*>();
    ASSERT_NE(log, nullptr);
    const QString lines = child<QPlainTextEdit>(log, "rtb")->toPlainText();
    EXPECT_EQ(lines.count(QStringLiteral("neovládá signály DTR")), 1) << lines.toStdString();
}

TEST_F(frmHlavniTest, AnyNumberOfVoucherTypeButtonsScrollsInsteadOfCrashing) {
    configure(QStringLiteral("STD"));
    ASSERT_TRUE(start());
    std::vector<TypeButton> buttons;
    constexpr int kTypes = 32767;
    for (int i = 0; i < kTypes; ++i)
        buttons.push_back(
            {QStringLiteral("T%1").arg(i), QStringLiteral("Typ %1").arg(i), TypeButton::Colour::ButtonFace});
    window->logic().view().showTypeButtons(buttons);
    window->repaint();
    QTest::qWait(50);

    EXPECT_NE(window->findChild<QRadioButton*>(QStringLiteral("optT%1").arg(kTypes - 1)), nullptr);
    auto* area = child<QScrollArea>(window.get(), "scrTypy");
    EXPECT_LT(area->height(), window->height());
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
}

TEST_F(frmHlavniTest, InPackageModeTheOpenPackagesCodesAreOnDiskUntilThePackageFileHasThem) {
    configure(QStringLiteral("STD"), {25});
    ASSERT_TRUE(start());
    startDialogStarts(QStringLiteral("26121001.txt"));
    click("vmnNab", 1);
    receive(alfa(100) + QStringLiteral("\r\n") + alfa(200, 22222) + QStringLiteral("\r\n"));
    const std::filesystem::path day = dataFolder / "26121001.txt";
    EXPECT_EQ(readFile(day), alfa(100) + QStringLiteral("\r\n") + alfa(200, 22222) + QStringLiteral("\r\n"));

    answerPackageDialog(1);
    click("vmnNab", 4);

    EXPECT_EQ(readFile(dataFolder / "26121001.bal"), QStringLiteral("#1\r\n") + alfa(100) + QStringLiteral("\r\n") +
                                                         alfa(200, 22222) + QStringLiteral("\r\n"));
    EXPECT_EQ(readFile(day), QString());
}
