#include "core/SettingsLoader.h"

#include "platform/TextFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

namespace {

// Every customer switch by name, so a failure shows which switches differ.
const std::vector<std::pair<const char*, bool CustomerSwitches::*>> kAllSwitches = {
    {"gFDarkove", &CustomerSwitches::gFDarkove},
    {"gFVycetky", &CustomerSwitches::gFVycetky},
    {"gFVycBezData", &CustomerSwitches::gFVycBezData},
    {"gFSeznamSM", &CustomerSwitches::gFSeznamSM},
    {"gFTiskSM", &CustomerSwitches::gFTiskSM},
    {"gFRozpoznaniKodem", &CustomerSwitches::gFRozpoznaniKodem},
    {"gF15", &CustomerSwitches::gF15},
    {"gFEuro", &CustomerSwitches::gFEuro},
    {"gF17", &CustomerSwitches::gF17},
    {"gF17b", &CustomerSwitches::gF17b},
    {"gF18", &CustomerSwitches::gF18},
    {"gFBalikyTyden", &CustomerSwitches::gFBalikyTyden},
    {"gFExportSeznamu", &CustomerSwitches::gFExportSeznamu},
    {"gFCBA", &CustomerSwitches::gFCBA},
    {"gFExportCBA", &CustomerSwitches::gFExportCBA},
    {"gFExportTesco", &CustomerSwitches::gFExportTesco},
    {"gFExportExp", &CustomerSwitches::gFExportExp},
    {"gFKontrolaSpolecnosti", &CustomerSwitches::gFKontrolaSpolecnosti},
    {"gFBalicky", &CustomerSwitches::gFBalicky},
    {"gFSkenerEpson", &CustomerSwitches::gFSkenerEpson},
    {"gFZakaznik", &CustomerSwitches::gFZakaznik},
    {"gFDepo", &CustomerSwitches::gFDepo},
    {"gFExpVasa", &CustomerSwitches::gFExpVasa},
    {"gFExpDoxx", &CustomerSwitches::gFExpDoxx},
    {"gFExpEdenred", &CustomerSwitches::gFExpEdenred},
    {"gFExpSodexo", &CustomerSwitches::gFExpSodexo},
    {"gF33", &CustomerSwitches::gF33},
    {"gFDatumOdvodu", &CustomerSwitches::gFDatumOdvodu},
    {"gFNoReadDSR", &CustomerSwitches::gFNoReadDSR},
    {"gFExportHtml", &CustomerSwitches::gFExportHtml},
    {"gFSkupiny", &CustomerSwitches::gFSkupiny},
    {"gFOperator", &CustomerSwitches::gFOperator},
    {"gF39", &CustomerSwitches::gF39},
    {"gFOdvody", &CustomerSwitches::gFOdvody},
    {"gFExportVycetkyPath", &CustomerSwitches::gFExportVycetkyPath},
    {"gFChybyDoOkna", &CustomerSwitches::gFChybyDoOkna},
    {"gF44", &CustomerSwitches::gF44},
};

QStringList switchesOn(const CustomerSwitches& sw) {
    QStringList on;
    for (const auto& [name, flag] : kAllSwitches) {
        if (sw.*flag)
            on << QString::fromLatin1(name);
    }
    return on;
}

// A FirmaID with the given characters at the given 1-based positions, zeros elsewhere.
QString firmaId(std::initializer_list<std::pair<int, char>> digits, int length = 44) {
    QString s(length, u'0');
    for (const auto& [pos, c] : digits)
        s[pos - 1] = QLatin1Char(c);
    return s;
}

class SettingsLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = TextFiles::toPath(m_dir.path());
        m_state = AppState(m_folder);
    }

    void writeConfig(const QString& text) { ASSERT_TRUE(TextFiles::writeAll(ini(), text).ok()); }
    std::filesystem::path ini() const { return m_folder / "TRV7300.ini"; }

    QTemporaryDir m_dir;
    std::filesystem::path m_folder;
    AppState m_state;
};

} // namespace

TEST_F(SettingsLoaderTest, FirmaIdSwitchesByPosition) {
    struct Case {
        const char* name;
        QString firmaId;
        QStringList on;
    };
    const std::vector<Case> cases = {
        {"package mode only", QString(24, u'0') + u'1', {QStringLiteral("gFBalicky")}},
        {"24 alone", firmaId({{24, '1'}}), {QStringLiteral("gFKontrolaSpolecnosti")}},
        {"39 clears 24", firmaId({{24, '1'}, {39, '1'}}), {QStringLiteral("gF39")}},
        {"17 = 1", firmaId({{17, '1'}}), {QStringLiteral("gF17")}},
        {"17 = 2", firmaId({{17, '2'}}), {QStringLiteral("gF17"), QStringLiteral("gF17b")}},
        {"23 = 1", firmaId({{23, '1'}}), {QStringLiteral("gFExportCBA")}},
        {"23 = 2", firmaId({{23, '2'}}), {QStringLiteral("gFExportTesco")}},
        {"23 = 3", firmaId({{23, '3'}}), {QStringLiteral("gFExportExp")}},
        {"2 is not 1", firmaId({{10, '2'}, {25, 'x'}}), {}},
        {"positions that select nothing", firmaId({{1, '1'}, {8, '1'}, {22, '1'}, {41, '1'}}), {}},
        {"short text", QStringLiteral("0000000001"), {QStringLiteral("gFVycetky")}},
        {"statement mode with switches 42 to 44",
         firmaId({{10, '1'}, {42, '1'}, {43, '1'}, {44, '1'}}),
         {QStringLiteral("gFVycetky"), QStringLiteral("gFExportVycetkyPath"), QStringLiteral("gFChybyDoOkna"),
          QStringLiteral("gF44")}},
        {"beyond 49 characters nothing is read", QString(49, u'0') + QStringLiteral("1111"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeConfig(QStringLiteral("[Firma]\r\nFirmaID=") + c.firmaId + QStringLiteral("\r\n"));
        m_state.sw.gFOdvody = true; // left over from an earlier run
        ASSERT_TRUE(NactiNastaveni(m_state).ok());
        EXPECT_EQ(switchesOn(m_state.sw), c.on);
    }
}

TEST_F(SettingsLoaderTest, AllOnesTurnOnEverySwitchButTheOnesThatExclude) {
    writeConfig(QStringLiteral("[Firma]\r\nFirmaID=") + QString(44, u'1') + QStringLiteral("\r\n"));
    ASSERT_TRUE(NactiNastaveni(m_state).ok());
    QStringList expected;
    for (const auto& [name, flag] : kAllSwitches)
        expected << QString::fromLatin1(name);
    for (const char* off : {"gF17b", "gFExportTesco", "gFExportExp", "gFKontrolaSpolecnosti"})
        expected.removeAll(QString::fromLatin1(off));
    EXPECT_EQ(switchesOn(m_state.sw), expected);
}

TEST_F(SettingsLoaderTest, MissingOrEmptyFirmaIdIsWrittenAndLeavesSwitchesOff) {
    for (const QString& text : {QStringLiteral("[Comm]\r\nNOREAD=NR\r\n"), QStringLiteral("[Firma]\r\nFirmaID=\r\n")}) {
        SCOPED_TRACE(text.toStdString());
        writeConfig(text);
        ASSERT_TRUE(NactiNastaveni(m_state).ok());
        EXPECT_TRUE(switchesOn(m_state.sw).isEmpty());
        EXPECT_EQ(m_state.config.CtiKonfig(QStringLiteral("Firma"), QStringLiteral("FirmaID"), QString()),
                  QStringLiteral("0000000000"));
    }
}

TEST_F(SettingsLoaderTest, NoReadText) {
    writeConfig(QString());
    ASSERT_TRUE(NactiNastaveni(m_state).ok());
    EXPECT_EQ(m_state.gNoRead, QStringLiteral("NOREAD"));

    writeConfig(QStringLiteral("[Comm]\r\nNOREAD=") + QString(60, u'N') + QStringLiteral("\r\n"));
    ASSERT_TRUE(NactiNastaveni(m_state).ok());
    EXPECT_EQ(m_state.gNoRead, QString(49, u'N'));
}

TEST_F(SettingsLoaderTest, PortSettings) {
    const QString full = QStringLiteral("[Comm]\r\nPort=COM2\r\nHShaking=RTS/CTS\r\nBaudRate=9600\r\n"
                                        "Data bits=7\r\nStop bits=2\r\nParity=Even\r\n");
    struct Case {
        const char* name;
        QString config;
        bool ok;
        PortSettings expected;
    };
    const auto settings = [](quint8 port, const char* hs, const char* baud, const char* data, const char* stop,
                             const char* parity, const char* in = "4096", const char* out = "512") {
        PortSettings p;
        p.gPort = port;
        p.gHShaking = QString::fromLatin1(hs);
        p.gBaudRate = QString::fromLatin1(baud);
        p.gDataBits = QString::fromLatin1(data);
        p.gStopBits = QString::fromLatin1(stop);
        p.gParity = QString::fromLatin1(parity);
        p.gInBufferSize = QString::fromLatin1(in);
        p.gOutBufferSize = QString::fromLatin1(out);
        return p;
    };
    const std::vector<Case> cases = {
        {"all keys", full, true, settings(2, "2", "9600", "7", "2", "E")},
        {"buffer sizes", full + QStringLiteral("InBufferSize=1024\r\nOutBufferSize=64\r\n"), true,
         settings(2, "2", "9600", "7", "2", "E", "1024", "64")},
        {"port above 6", QString(full).replace(QStringLiteral("COM2"), QStringLiteral("COM7")), true,
         settings(0, "2", "9600", "7", "2", "E")},
        {"port in small letters", QString(full).replace(QStringLiteral("COM2"), QStringLiteral("com2")), true,
         settings(0, "2", "9600", "7", "2", "E")},
        {"parity in any case", QString(full).replace(QStringLiteral("Even"), QStringLiteral("nONe")), true,
         settings(2, "2", "9600", "7", "2", "N")},
        {"space parity", QString(full).replace(QStringLiteral("Even"), QStringLiteral("space")), true,
         settings(2, "2", "9600", "7", "2", "S")},
        {"unknown parity", QString(full).replace(QStringLiteral("Even"), QStringLiteral("Evenly")), true,
         settings(2, "2", "9600", "7", "2", "")},
        {"handshake 3", QString(full).replace(QStringLiteral("RTS/CTS"), QStringLiteral("RTS XOn/XOff")), true,
         settings(2, "3", "9600", "7", "2", "E")},
        {"unknown handshake", QString(full).replace(QStringLiteral("RTS/CTS"), QStringLiteral("rts/cts")), true,
         settings(2, "0", "9600", "7", "2", "E")},
        // Values read before the missing key keep their new values; the rest stays as it was.
        {"parity missing", QString(full).remove(QStringLiteral("Parity=Even\r\n")), false,
         settings(2, "2", "9600", "7", "2", "?", "?", "?")},
        {"port missing", QString(full).remove(QStringLiteral("Port=COM2\r\n")), false,
         settings(9, "?", "?", "?", "?", "?", "?", "?")},
        {"no file", QString(), false, settings(9, "?", "?", "?", "?", "?", "?", "?")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.config.isEmpty())
            std::filesystem::remove(ini());
        else
            writeConfig(c.config);
        PortSettings port = settings(9, "?", "?", "?", "?", "?", "?", "?");
        EXPECT_EQ(NactiNastaveniPortu(m_state.config, port), c.ok);
        EXPECT_EQ(port.gPort, c.expected.gPort);
        EXPECT_EQ(port.gHShaking, c.expected.gHShaking);
        EXPECT_EQ(port.gBaudRate, c.expected.gBaudRate);
        EXPECT_EQ(port.gDataBits, c.expected.gDataBits);
        EXPECT_EQ(port.gStopBits, c.expected.gStopBits);
        EXPECT_EQ(port.gParity, c.expected.gParity);
        EXPECT_EQ(port.gInBufferSize, c.expected.gInBufferSize);
        EXPECT_EQ(port.gOutBufferSize, c.expected.gOutBufferSize);
    }
}

TEST_F(SettingsLoaderTest, ExportSeparator) {
    struct Case {
        const char* name;
        QString line;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"absent", QString(), QStringLiteral(" ")},
        {"one character", QStringLiteral("ExpTxtSeparator=;"), QStringLiteral(";")},
        {"four characters", QStringLiteral("ExpTxtSeparator=<|>|"), QStringLiteral("<|>|")},
        {"five or more", QStringLiteral("ExpTxtSeparator=abcdefgh"), QStringLiteral("abcd")},
        {"quoted blank first", QStringLiteral("ExpTxtSeparator=\" ;\""), QStringLiteral(" ")},
        {"empty", QStringLiteral("ExpTxtSeparator="), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeConfig(QStringLiteral("[Data]\r\n") + c.line + QStringLiteral("\r\n"));
        EXPECT_EQ(DejOddelovacExportu(m_state.config), c.expected);
    }
}

TEST_F(SettingsLoaderTest, FolderGettersAndTheirFallbacks) {
    const QString longPath = QStringLiteral("/srv/") + QString(250, u'a') + QStringLiteral("/data");
    writeConfig(QStringLiteral("[Data]\r\nDir=") + longPath +
                QStringLiteral("\r\nExpDir=export\r\nExpSpolDir=/srv/spol\r\nDirSFB=/srv/sfb\r\n"));
    const Config& config = m_state.config;

    ASSERT_TRUE(DejCestuDat(config).ok());
    EXPECT_EQ(DejCestuDat(config).value(), TextFiles::toPath(longPath)); // never cut
    EXPECT_EQ(DejCestuExportu(config).value(), m_folder / "export");     // relative: from the program folder
    EXPECT_EQ(DejCestuExpSpol(config).value(), std::filesystem::path("/srv/spol"));
    EXPECT_EQ(DejCestuSFB(config).value(), std::filesystem::path("/srv/sfb"));
    EXPECT_EQ(DejCestuUCT(config).value(), TextFiles::toPath(longPath));
    EXPECT_EQ(DejCestuAS400(config), std::filesystem::path());
    EXPECT_EQ(DejCestuVycetek(config), std::filesystem::path());

    const Result<std::filesystem::path> denSfb = DejCestuDenSFB(config);
    ASSERT_FALSE(denSfb.ok());
    EXPECT_EQ(denSfb.error().number, 60000);
    EXPECT_EQ(denSfb.message(), QStringLiteral("Neexistující sekce DENSFBDir nebo klíč."));

    writeConfig(QStringLiteral("[Data]\r\nUCTDir=/srv/uct\r\nDirAS400=/srv/as400\r\nExportVycetkyPath=/srv/vyc\r\n"));
    EXPECT_EQ(DejCestuUCT(config).value(), std::filesystem::path("/srv/uct"));
    EXPECT_EQ(DejCestuAS400(config), std::filesystem::path("/srv/as400"));
    EXPECT_EQ(DejCestuVycetek(config), std::filesystem::path("/srv/vyc"));
    for (const auto& failed : {DejCestuDat(config), DejCestuExportu(config), DejCestuExpSpol(config)}) {
        ASSERT_FALSE(failed.ok());
        EXPECT_EQ(failed.error().number, 60000);
        EXPECT_EQ(failed.message(), QStringLiteral("Neexistující sekce nebo klíč."));
    }
    EXPECT_EQ(DejCestuSFB(config).message(), QStringLiteral("Neexistující sekce SFBDir nebo klíč."));

    writeConfig(QStringLiteral("[Data]\r\nDirSFB=/srv/sfb\r\n"));
    EXPECT_EQ(DejCestuUCT(config).error().number, 60000); // no UCTDir and no Dir
}

TEST_F(SettingsLoaderTest, FolderErrorTextNamesTheGettersText) {
    ASSERT_TRUE(TextFiles::writeAll(m_folder / "langCS.ini",
                                    QStringLiteral("[procFce]\r\nneexCestaDatum=Chybí cesta k datům.\r\n"
                                                   "neexCestUCT=Chybí cesta k účetnímu exportu.\r\n"))
                    .ok());
    const Error e{60000, QStringLiteral("Neexistující sekce nebo klíč.")};
    EXPECT_EQ(folderErrorText(m_state.config, DataFolder::Dat, e),
              QStringLiteral("Chybí cesta k datům.\nNum: 60000, descr: Neexistující sekce nebo klíč."));
    EXPECT_EQ(folderErrorText(m_state.config, DataFolder::UCT, e),
              QStringLiteral("Chybí cesta k účetnímu exportu.\nNum: 60000, descr: Neexistující sekce nebo klíč."));
    EXPECT_EQ(folderErrorText(m_state.config, DataFolder::Vycetek, e),
              QStringLiteral(" \nNum: 60000, descr: Neexistující sekce nebo klíč."));
    // An error without a number of its own has no number part: "Num: 0" tells the operator nothing.
    EXPECT_EQ(folderErrorText(m_state.config, DataFolder::Dat, Error{0, QStringLiteral("Složka není.")}),
              QStringLiteral("Chybí cesta k datům.\ndescr: Složka není."));
}

TEST_F(SettingsLoaderTest, DataFoldersOfTheWorkingModes) {
    writeConfig(QStringLiteral("[Data]\r\nDir=/srv/data\r\nDirDenSFB=/srv/densfb\r\n"));
    ASSERT_TRUE(loadDataFolders(m_state).ok());
    EXPECT_EQ(m_state.gDatovyAdresar, std::filesystem::path("/srv/data"));
    EXPECT_EQ(m_state.gDirAS400, std::filesystem::path("/srv/data"));

    m_state.gDennySafeBag = true;
    ASSERT_TRUE(loadDataFolders(m_state).ok());
    EXPECT_EQ(m_state.gDatovyAdresar, std::filesystem::path("/srv/densfb"));
    EXPECT_EQ(m_state.gDirAS400, std::filesystem::path("/srv/data"));

    writeConfig(QStringLiteral("[Data]\r\nDir=/srv/other\r\n"));
    const Status st = loadDataFolders(m_state);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().number, 60000);
    EXPECT_EQ(st.message(), QStringLiteral("Neexistující sekce DENSFBDir nebo klíč."));
    EXPECT_EQ(m_state.gDatovyAdresar, std::filesystem::path("/srv/densfb")); // unchanged
}

TEST_F(SettingsLoaderTest, MainWindowSettingsDefaults) {
    writeConfig(QStringLiteral("[Data]\r\nDir=/srv/data\r\n"));
    m_state.gDebug = true;
    m_state.gMode = QStringLiteral("XYZ");
    loadMainWindowSettings(m_state);
    loadReceivingSettings(m_state);
    const AppState fresh;
    EXPECT_FALSE(m_state.gDebug);
    EXPECT_EQ(m_state.gFirmaNazev, QString());
    EXPECT_EQ(m_state.gAutoDorovn, QStringLiteral("False"));
    EXPECT_EQ(m_state.gAutoDupl, QStringLiteral("False"));
    EXPECT_EQ(m_state.gMode, QStringLiteral("STD"));
    EXPECT_FALSE(m_state.gHideRightPanel);
    EXPECT_FALSE(m_state.gKontrolovat);
    EXPECT_FALSE(m_state.gAutoPoc);
    EXPECT_EQ(m_state.gPovolitRok, fresh.gPovolitRok);
    EXPECT_EQ(m_state.gPovolitDo, fresh.gPovolitDo);
    EXPECT_EQ(m_state.gPovolitDo[4], QDate(2004, 1, 1));
    EXPECT_EQ(m_state.gBlokovatCisloDo2, QStringLiteral("000000000"));
    EXPECT_FALSE(m_state.gKontrolovatCisla);
    EXPECT_FALSE(m_state.gPovDarkove);
    EXPECT_FALSE(m_state.gAutoPrijem);
    EXPECT_FALSE(m_state.gAS400);
    EXPECT_FALSE(m_state.gExpSpolZkraceny);
    EXPECT_EQ(m_state.gMezBalicku, 200.0);
    EXPECT_EQ(m_state.gCisloBaliku, 1);
    EXPECT_EQ(m_state.gDTRSleep, 2000);
}

TEST_F(SettingsLoaderTest, MainWindowSettingsReadingRules) {
    writeConfig(QStringLiteral(
        "[Data]\r\nDebug=True\r\nExpSpolZkraceny=Truely\r\n"
        "[Firma]\r\nNazev=Stravenky Brno s.r.o.\r\nHlavicka=\"  Pobočka Brno  \"\r\n"
        "[User]\r\nAutoDorovn=Falsch\r\nAutoDupl=TRUE\r\nMode=AUTOMAT\r\nHideRightPanel=True\r\nAutoPoc=true\r\n"
        "AS400=yes\r\nAutoPrijem=False\r\n"
        "[Platnost]\r\nKontrolovat=1\r\nPovolitRok1=2025\r\nPovolitRok2=abc\r\nPovolitRok3=\r\n"
        "PovolitDo1=31.12.2025\r\nPovolitDo2=1/2/2026\r\nPovolitDo3=bad\r\n"
        "KontrolovatCisla=Truex\r\nPovDarkove=TRUE\r\nBlokovatCisloOd1=123456789\r\n"
        "[Balickovani]\r\nMezBalicku=150,5\r\nDalsiCisloBaliku= 40000\r\n"
        "[Comm]\r\nDTRSleep=abc\r\n"));
    loadMainWindowSettings(m_state);
    loadReceivingSettings(m_state);
    EXPECT_TRUE(m_state.gDebug);
    EXPECT_EQ(m_state.gFirmaNazev, QStringLiteral("Stravenky Brno s.r.o."));
    EXPECT_EQ(m_state.gFirmaHlavicka, QStringLiteral("  Pobočka Brno  "));
    EXPECT_EQ(m_state.gAutoDorovn, QStringLiteral("False"));
    EXPECT_EQ(m_state.gAutoDupl, QStringLiteral("TRUE")); // neither "True" nor "Fals": kept, not "True"
    EXPECT_EQ(m_state.gMode, QStringLiteral("AUT"));
    EXPECT_TRUE(m_state.gHideRightPanel);
    EXPECT_TRUE(m_state.gAutoPoc);
    EXPECT_TRUE(m_state.gKontrolovat);
    EXPECT_EQ(m_state.gPovolitRok[0], 2025);
    EXPECT_EQ(m_state.gPovolitRok[1], 2004);
    EXPECT_EQ(m_state.gPovolitRok[2], 2004);
    EXPECT_EQ(m_state.gPovolitDo[0], QDate(2025, 12, 31));
    EXPECT_EQ(m_state.gPovolitDo[1], QDate(2026, 2, 1));
    EXPECT_EQ(m_state.gPovolitDo[2], QDate(2004, 1, 1));
    EXPECT_FALSE(m_state.gKontrolovatCisla);
    EXPECT_TRUE(m_state.gPovDarkove);
    EXPECT_EQ(m_state.gBlokovatCisloOd1, QStringLiteral("123456789"));
    EXPECT_TRUE(m_state.gExpSpolZkraceny);
    EXPECT_TRUE(m_state.gAS400);
    EXPECT_FALSE(m_state.gAutoPrijem);
    EXPECT_EQ(m_state.gMezBalicku, 150.5);
    EXPECT_EQ(m_state.gCisloBaliku, 40000); // wider than the old 16-bit counter
    EXPECT_EQ(m_state.gDTRSleep, 0);
}

TEST_F(SettingsLoaderTest, PackageNumberRoundsHalfToEven) {
    for (const auto& [text, expected] : std::vector<std::pair<QString, qint64>>{
             {QStringLiteral("2.5"), 2}, {QStringLiteral("3,5"), 4}, {QStringLiteral("7abc"), 7}}) {
        SCOPED_TRACE(text.toStdString());
        writeConfig(QStringLiteral("[Balickovani]\r\nDalsiCisloBaliku=") + text + QStringLiteral("\r\n"));
        loadReceivingSettings(m_state);
        EXPECT_EQ(m_state.gCisloBaliku, expected);
    }
}
