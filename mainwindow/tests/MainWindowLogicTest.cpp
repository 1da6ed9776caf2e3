#include "mainwindow/MainWindowLogic.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "core/WorkingIndicator.h"
#include "mainwindow/ErrorLogSink.h"
#include "mainwindow/MainWindowLoad.h"
#include "mainwindow/MainWindowUnload.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/PackageFile.h"
#include "mainwindow/Pause.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "mainwindow/TypeButtons.h"
#include "mainwindow/tests/NoPause.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/TestVoucherTypes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

using namespace trv;
using trv::test::NoPause;

namespace {

std::shared_ptr<CStrav> makeType(const QString& name, qint32 delka, qint32 delka2) {
    return test::makeTestType({.name = name, .delka = delka, .delka2 = delka2});
}

// --- The voucher-type buttons

TEST(TypeButtonsTest, CaptionsLengthsAndColours) {
    struct Case {
        const char* name;
        std::vector<std::tuple<QString, qint32, qint32>> types;
        bool safeBag, dennySafeBag;
        QStringList captions;
        qint32 min, max;
        TypeButton::Colour colour;
    };
    const Case cases[] = {
        {"lengths over all types",
         {{QStringLiteral("Alfa Beta Gama"), 24, 0}, {QStringLiteral("Delta"), 10, 12}},
         false,
         false,
         {QStringLiteral("Alfa"), QStringLiteral("Delta")},
         10,
         24,
         TypeButton::Colour::ButtonFace},
        {"a first length 0 stays the shortest",
         {{QStringLiteral("  Nula  Dva "), 0, 0}, {QStringLiteral("Osm"), 8, 0}},
         true,
         false,
         {QStringLiteral("Nula"), QStringLiteral("Osm")},
         0,
         8,
         TypeButton::Colour::SafeBag},
        {"a blank name has no first word",
         {{QStringLiteral("   "), 13, 16}},
         false,
         true,
         {QString()},
         13,
         16,
         TypeButton::Colour::DailySafeBag},
    };
    QTemporaryDir dir;
    AppState state(TextFiles::toPath(dir.path()));
    ScriptedPrompts prompts;
    FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CColStrav types(state, prompts, clock);
        for (const auto& [name, delka, delka2] : c.types)
            ASSERT_TRUE(types.Add(makeType(name, delka, delka2)).ok());
        ReaderState reader;
        const std::vector<TypeButton> buttons = NastavTlacitkaTypu(types, reader, c.safeBag, c.dennySafeBag);
        QStringList captions;
        for (const TypeButton& b : buttons) {
            captions << b.caption;
            EXPECT_EQ(b.colour, c.colour);
        }
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(buttons.front().toolTip, std::get<0>(c.types.front()));
        EXPECT_EQ(reader.gMinDelka, c.min);
        EXPECT_EQ(reader.gMaxDelka, c.max);
    }

    // Without types the lengths keep their values.
    CColStrav none(state, prompts, clock);
    ReaderState reader;
    reader.gMinDelka = 7;
    reader.gMaxDelka = 9;
    EXPECT_TRUE(NastavTlacitkaTypu(none, reader, false, false).empty());
    EXPECT_EQ(reader.gMinDelka, 7);
    EXPECT_EQ(reader.gMaxDelka, 9);
}

// --- The logic over a fake window

class FakeView final : public MainWindowView {
public:
    void setMenuEnabled(MenuItem, bool) override {}
    void setMenuVisible(MenuItem, bool) override {}
    void setVerticalItemCaption(Menu, int, const QString&) override {}
    void setFastMenuVisible(bool) override {}
    void setScanButtonVisible(bool) override {}
    void setPortDescription(const QString&) override {}
    void showTypeButtons(const std::vector<TypeButton>&) override {}
    void checkTypeButton(int) override {}
    void showCounterWindow() override {}
    void hideCounterWindow() override {}
    bool counterWindowShown() const override { return false; }
    void setBusy(bool) override {}
    void setFileLabel(const QString&) override {}
    void showWindow() override {}
    void closeWindow() override { ++closes; }
    void hideDisplayBox() override {}
    int dlgNextPackage(const QString&, const QString&) override {
        ++dialogs;
        if (answers.empty())
            return 0;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }

    std::deque<int> answers;
    int dialogs = 0;
    int closes = 0;
};

class IgnoredErrorLog final : public ErrorLogSink {
public:
    void PridejChybu(const QString&) override {}
};

class MainWindowLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        folder = TextFiles::toPath(m_dir.path());
        state = AppState(folder);
        state.gDatovyAdresar = folder;
        ASSERT_TRUE(TextFiles::writeAll(folder / "TRV7300.ini",
                                        QStringLiteral("[Comm]\r\nPort=COM2\r\nHShaking=None\r\nBaudRate=9600\r\n"
                                                       "Data bits=8\r\nStop bits=1\r\nParity=None\r\n"))
                        .ok());
        ASSERT_TRUE(TextFiles::writeAll(folder / "langCS.ini",
                                        QStringLiteral("[frmHlavni]\r\nChybaUlozSoub=Chyba ukladani.\r\n"))
                        .ok());
        ASSERT_TRUE(NactiNastaveniPortu(state));
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        ASSERT_TRUE(state.gColStrav->Add(makeType(QStringLiteral("Alfa"), 10, 0)).ok());
        ASSERT_TRUE(state.gColStrav->Add(makeType(QStringLiteral("Beta"), 10, 12)).ok());
        logic = std::make_unique<MainWindowLogic>(
            MainWindowLogic::Services{state, prompts, clock, port, pause, errorLog, working, view, windows});
        logic->control().NastavTlacitkaTypu();
    }

    void set(const QString& section, const QString& key, const QString& value) {
        ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", section, key, value).ok());
    }

    QStringList booked() const { return state.gColStrav->kodyVsechTypu(); }

    QTemporaryDir m_dir;
    std::filesystem::path folder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3))};
    FakeSerialPort port;
    NoPause pause;
    IgnoredErrorLog errorLog;
    NoWorkingIndicator working;
    FakeView view;
    NoReceiptWindows windows;
    std::unique_ptr<MainWindowLogic> logic;
};

TEST_F(MainWindowLogicTest, UnloadSendsTheDefaultTypeThroughAPortOpenedForIt) {
    state.gMode = QStringLiteral("STD");
    set(QStringLiteral("Comm"), QStringLiteral("TypScaneru"), QStringLiteral("1"));
    set(QStringLiteral("User"), QStringLiteral("DefaultType"), QStringLiteral("2"));

    EXPECT_EQ(logic->unload().Form_Unload(), MainWindowUnload::Result::Closed);

    EXPECT_EQ(port.writes(), (QList<QByteArray>{QByteArrayLiteral("<Kr1,1,1,10,12><Z>")}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.events().first(), QStringLiteral("open"));
    EXPECT_EQ(port.events().last(), QStringLiteral("close"));
}

TEST_F(MainWindowLogicTest, TheDuplicatePassRemovesWholeNoReadLinesOnly) {
    struct Case {
        const char* name;
        QString noRead;
        QString before;
        QString after;
    };
    const Case cases[] = {
        {"the usual text", QStringLiteral("NOREAD"), QStringLiteral("111\r\nNOREAD\r\n222\r\nNOREAD\r\n111\r\n333\r\n"),
         QStringLiteral("111\r\n222\r\n333\r\n")},
        // A NOREAD text that is also the end of codes leaves the codes whole.
        {"a short text of another length", QStringLiteral("0"), QStringLiteral("12340\r\n0\r\n5550\r\n0\r\n"),
         QStringLiteral("12340\r\n5550\r\n")},
        {"a last line without its line end stays", QStringLiteral("NOREAD"), QStringLiteral("111\r\nNOREAD"),
         QStringLiteral("111\r\nNOREAD")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.gNoRead = c.noRead;
        logic->rtbStrav().setText(c.before);
        logic->unload().vyhodNoReadADupl();
        EXPECT_EQ(logic->rtbStrav().text(), c.after);
    }
}

TEST_F(MainWindowLogicTest, APackageThatCannotBeWrittenKeepsTheWindowAndTheCodes) {
    state.gMode = QStringLiteral("STD");
    state.sw.gFBalicky = true;
    state.gMezBalicku = 10000;
    ASSERT_TRUE(logic->control().startReceiving(folder, QStringLiteral("26121001.txt"), true).ok());
    // The package file's folder is gone.
    logic->setLblSoubor(TextFiles::toQString(folder / "zmizela" / "26121001.bal"));
    port.deliver(QByteArrayLiteral("1234510000\r\n"));
    ASSERT_EQ(booked().size(), 1);

    // At the end of the receipt the receipt goes on.
    view.answers = {1};
    EXPECT_EQ(logic->control().konecpr_Click(), ReceiptControl::Outcome::StillRunning);
    EXPECT_TRUE(logic->receipt().receiving());
    EXPECT_EQ(booked().size(), 1);
    ASSERT_FALSE(prompts.records().empty());
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);

    // At exit the window stays.
    view.answers = {1};
    EXPECT_EQ(logic->unload().Form_Unload(), MainWindowUnload::Result::Cancelled);
    // The write failed without a number of the system's own: no "Num: 0".
    EXPECT_TRUE(prompts.records().back().text.startsWith(QStringLiteral("Chyba ukladani.\r\nDescr.: Nelze ")))
        << prompts.records().back().text.toStdString();
    EXPECT_EQ(booked().size(), 1);
    EXPECT_EQ(state.gCisloBaliku, 1);
}

} // namespace

// The reader's dialect and the software stop come from the configuration when the window loads, so that the
// very first NOREAD of the run stops the reader as configured, before any reader command has been sent.
TEST_F(MainWindowLogicTest, LoadReadsTheReaderTypeAndTheSoftwareStop) {
    struct Case {
        const char* typScaneru;
        const char* softwZastavovani;
        int stops; // DTR pulses for one NOREAD line
    };
    const Case cases[] = {{nullptr, nullptr, 0}, {"4", nullptr, 1}, {nullptr, "True", 1}, {"4", "True", 2},
                          {"3", "False", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("TypScaneru=%1 SoftwZastavovani=%2")
                         .arg(QLatin1String(c.typScaneru ? c.typScaneru : "-"),
                              QLatin1String(c.softwZastavovani ? c.softwZastavovani : "-"))
                         .toStdString());
        ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("Comm"), QStringLiteral("TypScaneru"),
                                       QString::fromLatin1(c.typScaneru ? c.typScaneru : ""))
                        .ok());
        ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("User"),
                                       QStringLiteral("SoftwZastavovani"),
                                       QString::fromLatin1(c.softwZastavovani ? c.softwZastavovani : ""))
                        .ok());
        logic = std::make_unique<MainWindowLogic>(
            MainWindowLogic::Services{state, prompts, clock, port, pause, errorLog, working, view, windows});
        state.gMode = QStringLiteral("XYZ"); // loads and shows, starts nothing
        ASSERT_TRUE(logic->load().Form_Load());

        const qsizetype before = port.events().count(QStringLiteral("DTR 1"));
        logic->KodBuffer().append(QStringLiteral("NOREAD\r\n"));
        logic->processor().ZpracujKod();
        EXPECT_EQ(port.events().count(QStringLiteral("DTR 1")) - before, c.stops);
        for (const auto& type : *state.gColStrav)
            while (type->Polozky->count() > 0)
                type->Polozky->Remove(type->Polozky->count());
    }
}
