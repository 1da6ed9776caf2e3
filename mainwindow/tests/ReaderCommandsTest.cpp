#include "ReaderRig.h"

#include "mainwindow/ReaderCommandTexts.h"

#include <gtest/gtest.h>

namespace trv::test {
namespace {

QList<QByteArray> bytes(std::initializer_list<const char*> writes) {
    QList<QByteArray> list;
    for (const char* w : writes)
        list.append(QByteArray(w));
    return list;
}

class ReaderCommandsTest : public ::testing::Test {
protected:
    void setTyp(const QString& typ) {
        ASSERT_TRUE(
            ProfileFile::write(rig.root / "TRV7300.ini", QStringLiteral("Comm"), QStringLiteral("TypScaneru"), typ)
                .ok());
    }

    ReaderRig rig;
};

struct CommandCase {
    const char* name;
    QString typ; // empty: the key is missing
    std::function<void(ReaderCommands&)> run;
    QList<QByteArray> writes;
    std::vector<qint64> waits;
    std::vector<qsizetype> writesBeforeWaits;
};

TEST_F(ReaderCommandsTest, CommandsOfBothDialectsByteForByteWithTheirPauses) {
    auto on = [](ReaderCommands& c) { c.ScanOn_Click(); };
    auto off = [](ReaderCommands& c) { c.ScanOff_Click(); };
    auto crlf = [](ReaderCommands& c) { c.mnuCRLF_Click(); };
    auto ext = [](ReaderCommands& c) { c.mnuSendExtCommand_Click(); };
    auto noread = [](ReaderCommands& c) { c.mnuSendNoread_Click(); };
    const std::vector<CommandCase> cases = {
        {"on, type missing", {}, on, bytes({"<Kv0,,,>"}), {}, {}},
        {"off, type 2", QStringLiteral("2"), off, bytes({"<Kv2,,,>"}), {}, {}},
        {"on, type 3", QStringLiteral("3"), on, bytes({"SSET\r", "WO2000004\r", "SAVE\r", "SEND\r\n"}), {200}, {3}},
        {"off, type 5", QStringLiteral("5"), off, bytes({"SSET\r", "WO2000000\r", "SAVE\r", "SEND\r\n"}), {200}, {3}},
        {"CR LF, type 1", QStringLiteral("1"), crlf, bytes({"<K142,1,\r\n><Z>"}), {}, {}},
        {"CR LF, type 3",
         QStringLiteral("3"),
         crlf,
         bytes({"SSET\r", "WP520D0A\r", "WS0001\r", "WS0103\r", "WS020000007D0\r", "WO1100200\r", "W02100200\r",
                "SAVE\r", "SEND\r\n"}),
         {},
         {}},
        {"external command, type 1", QStringLiteral("1"), ext, bytes({"AB\r\nC<Z>"}), {}, {}},
        {"external command, type 3",
         QStringLiteral("3"),
         ext,
         bytes({"SSET\r", "AB\r\nC\r", "SAVE\r", "SEND\r\n"}),
         {200},
         {3}},
        {"NOREAD text, type 1", QStringLiteral("1"), noread, bytes({"<K714,1,NOREAD><Z>"}), {}, {}},
        {"NOREAD text, type 3", QStringLiteral("3"), noread, bytes({"<K714,1,NOREAD><Z>"}), {}, {}},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReaderRig rig;
        if (!c.typ.isEmpty()) {
            ASSERT_TRUE(ProfileFile::write(rig.root / "TRV7300.ini", QStringLiteral("Comm"),
                                           QStringLiteral("TypScaneru"), c.typ)
                            .ok());
        }
        ASSERT_TRUE(ProfileFile::write(rig.root / "TRV7300.ini", QStringLiteral("Comm"), QStringLiteral("ExtCMD"),
                                       QStringLiteral("AB<CR><LF>C"))
                        .ok());
        rig.openPort();
        c.run(rig.commands);
        EXPECT_EQ(rig.port.writes(), c.writes);
        EXPECT_EQ(rig.pause.waits, c.waits);
        EXPECT_EQ(rig.pause.writesBefore, c.writesBeforeWaits);
    }
}

TEST_F(ReaderCommandsTest, SwitchingTellsTheWindowOnlyAfterTheCommandWentOut) {
    QList<bool> switched;
    QObject::connect(&rig.commands, &ReaderCommands::scannerSwitched, [&](bool on) { switched.append(on); });

    // A closed port is opened for the command with the configured settings and closed again; the receipt state
    // stays as it was.
    EXPECT_TRUE(rig.commands.PrepniSkener(true));
    EXPECT_EQ(rig.port.events(),
              (QStringList{QStringLiteral("open"), QStringLiteral("send <Kv0,,,>"), QStringLiteral("close")}));
    EXPECT_EQ(rig.port.settings(), QStringLiteral("38400,N,8,1"));
    EXPECT_EQ(rig.port.portNumber(), 2);
    EXPECT_FALSE(rig.receipt.receiving());
    EXPECT_EQ(switched, QList<bool>{true});

    // A port that cannot be opened: nothing shown, nothing switched.
    rig.port.clearLog();
    rig.port.setOpenError(Error{0, QStringLiteral("no device")});
    EXPECT_FALSE(rig.commands.PrepniSkener(false));
    EXPECT_EQ(rig.commands.lastError()->message, QStringLiteral("no device"));
    EXPECT_EQ(switched, QList<bool>{true});
    EXPECT_TRUE(rig.messages().isEmpty());
}

TEST_F(ReaderCommandsTest, StoringTheReaderConfigurationSendsZpInEveryDialect) {
    for (const QString& typ : {QString(), QStringLiteral("1"), QStringLiteral("3")}) {
        SCOPED_TRACE(typ.toStdString());
        ReaderRig rig;
        if (!typ.isEmpty()) {
            ASSERT_TRUE(
                ProfileFile::write(rig.root / "TRV7300.ini", QStringLiteral("Comm"), QStringLiteral("TypScaneru"), typ)
                    .ok());
        }
        // A closed port is opened with the configured settings for the four characters and closed again.
        EXPECT_TRUE(rig.commands.UlozNastaveniCtecky().ok());
        EXPECT_EQ(rig.port.events(),
                  (QStringList{QStringLiteral("open"), QStringLiteral("send <Zp>"), QStringLiteral("close")}));
        EXPECT_EQ(rig.port.sent(), QByteArray("<Zp>"));
        EXPECT_EQ(rig.port.settings(), QStringLiteral("38400,N,8,1"));
        // An open port (a receipt running) stays open.
        rig.port.clearLog();
        rig.openPort();
        rig.port.clearLog();
        EXPECT_TRUE(rig.commands.UlozNastaveniCtecky().ok());
        EXPECT_EQ(rig.port.events(), QStringList{QStringLiteral("send <Zp>")});
        EXPECT_TRUE(rig.port.isOpen());
    }
    // A port that cannot be opened is an error naming why; nothing stays open.
    rig.port.setOpenError(Error{0, QStringLiteral("no device")});
    const Status st = rig.commands.UlozNastaveniCtecky();
    EXPECT_EQ(st.message(), QStringLiteral("no device"));
    EXPECT_FALSE(rig.port.isOpen());
}

TEST_F(ReaderCommandsTest, MenuCommandsReportAClosedPortAndSendNothing) {
    rig.commands.mnuCRLF_Click();
    rig.commands.mnuSendExtCommand_Click();
    rig.commands.mnuSendNoread_Click();
    EXPECT_TRUE(rig.port.writes().isEmpty());
    EXPECT_EQ(rig.messages(), QStringList(3, QStringLiteral("Port neni otevren.")));

    rig.openPort();
    rig.commands.mnuSendExtCommand_Click();
    EXPECT_EQ(rig.port.writes(), bytes({"<Z>"})); // an empty command goes out as it is
    EXPECT_EQ(rig.messages().last(), QStringLiteral("External command has been sent successfully."));
    EXPECT_EQ(rig.prompts.records().back().icon, Prompts::Icon::Information);
}

TEST_F(ReaderCommandsTest, TestDtrIsTheReaderStopAloneOnAnOpenPort) {
    rig.state.gDTRSleep = 750;
    rig.commands.mnuTestDTR_Click();
    EXPECT_TRUE(rig.port.events().isEmpty());
    EXPECT_EQ(rig.prompts.texts(),
              QStringList{rig.state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("PortNeniOtevren"))});
    rig.openPort();
    const qsizetype before = rig.port.events().size();
    rig.commands.mnuTestDTR_Click();
    EXPECT_EQ(rig.port.events().mid(before), (QStringList{QStringLiteral("DTR 1"), QStringLiteral("DTR 0")}));
    EXPECT_EQ(rig.pause.waits, std::vector<qint64>{750});
    EXPECT_EQ(rig.prompts.texts().size(), 1);
}

TEST_F(ReaderCommandsTest, ACommandAskedForDuringAPauseGoesOutAfterTheRunningOne) {
    setTyp(QStringLiteral("3"));
    rig.openPort();
    QList<bool> switched;
    QObject::connect(&rig.commands, &ReaderCommands::scannerSwitched, [&](bool on) { switched.append(on); });
    rig.pause.during = [&] { rig.commands.PrepniSkener(false); };
    rig.commands.PrepniSkener(true);
    EXPECT_EQ(rig.port.writes(),
              bytes({"SSET\r", "WO2000004\r", "SAVE\r", "SEND\r\n", "SSET\r", "WO2000000\r", "SAVE\r", "SEND\r\n"}));
    // The window shows the state the reader is left in.
    EXPECT_EQ(switched, (QList<bool>{true, false}));
}

struct ButtonCase {
    const char* name;
    QString typ;
    bool f39;
    bool trideni;
    std::function<void(CStrav&)> adjust;
    QList<QByteArray> writes;
    std::vector<qint64> waits;
};

TEST_F(ReaderCommandsTest, VoucherTypeButtonsSendTheLengthParameters) {
    auto none = [](CStrav&) {};
    const std::vector<ButtonCase> cases = {
        {"type missing", {}, false, false, none, {}, {}},
        {"type 1", QStringLiteral("1"), false, false, none, bytes({"<Kr1,1,1,10,10><Z>"}), {}},
        {"type 1, all types",
         QStringLiteral("1"),
         true,
         false,
         [](CStrav& t) { t.CheckIL = 0; },
         bytes({"<Kr1,0,0,8,12><Z>"}),
         {}},
        {"type 2",
         QStringLiteral("2"),
         false,
         false,
         [](CStrav& t) { t.ScanSpeed = 5; },
         bytes({"<K472,1,1,1,10,10,,0>", "<K472,1,1,1,10,10,,0><K500,5><Z>"}),
         {}},
        {"type 2, optics, second length, sorting",
         QStringLiteral("2"),
         false,
         true,
         [](CStrav& t) {
             t.Delka2 = 11;
             t.GainLevel = 3;
             t.LaserPower = 70;
         },
         bytes({"<K472,1,1,1,7,13,,1>", "<K472,1,1,1,7,13,,1><K504,3,,,><K700,,,,,70><Z>"}),
         {}},
        {"type 3",
         QStringLiteral("3"),
         false,
         false,
         none,
         bytes({"SSET\r", "WC0101\r", "WC0111\r", "MIN0=10\r", "MAX0=10\r", "SAVE\r", "SEND\r\n"}),
         {200}},
        {"type 3, Code128",
         QStringLiteral("3"),
         false,
         false,
         [](CStrav& t) { t.TypCK = QStringLiteral("Code128"); },
         bytes({"SSET\r", "MIN0=10\r", "MAX0=10\r", "SAVE\r", "SEND\r\n"}),
         {200}},
        {"type 3, sorting",
         QStringLiteral("3"),
         false,
         true,
         none,
         bytes({"SSET\r", "WC0100\r", "WC0110\r", "MIN0=7\r", "MAX0=13\r", "SAVE\r", "SEND\r\n"}),
         {}},
        {"type 3, sorting, all types",
         QStringLiteral("3"),
         true,
         true,
         none,
         bytes({"SSET\r", "WC0101\r", "WC0111\r", "MIN0=8\r", "MAX0=12\r", "SAVE\r", "SEND\r\n"}),
         {}},
        {"type 4", QStringLiteral("4"), false, false, none, {}, {}},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReaderRig rig;
        if (!c.typ.isEmpty()) {
            ASSERT_TRUE(ProfileFile::write(rig.root / "TRV7300.ini", QStringLiteral("Comm"),
                                           QStringLiteral("TypScaneru"), c.typ)
                            .ok());
        }
        rig.state.sw.gF39 = c.f39;
        rig.reader.gMinDelka = 7;
        rig.reader.gMaxDelka = 13;
        c.adjust(*rig.state.gColStrav->Item(1));
        rig.openPort();
        rig.counters.ZapocitejCteni(QStringLiteral("1"));
        EXPECT_TRUE(rig.commands.optT_Click(0, QStringLiteral("Alfa Stravenky"), c.trideni).ok());
        EXPECT_EQ(rig.port.writes(), c.writes);
        EXPECT_EQ(rig.pause.waits, c.waits);
        EXPECT_EQ(rig.reader.ZvolenyTyp, 0);
        EXPECT_EQ(rig.counters.gPocetCteni(), 0);
    }

    // A closed port hears nothing; the counters are reset all the same.
    setTyp(QStringLiteral("1"));
    rig.counters.ZapocitejCteni(QStringLiteral("1"));
    EXPECT_TRUE(rig.commands.optT_Click(2, QStringLiteral("Gama Sek"), false).ok());
    EXPECT_TRUE(rig.port.writes().isEmpty());
    EXPECT_EQ(rig.reader.ZvolenyTyp, 2);
    EXPECT_EQ(rig.counters.gPocetCteni(), 0);
    EXPECT_FALSE(rig.commands.optT_Click(1, QStringLiteral("Nikdo"), false).ok());
}

} // namespace
} // namespace trv::test
