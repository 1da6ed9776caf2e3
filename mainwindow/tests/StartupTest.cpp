#include "mainwindow/Startup.h"

#include "core/CColStrav.h"
#include "core/DefaultConfig.h"
#include "platform/Clock.h"
#include "platform/IniDocument.h"
#include "platform/TextFiles.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = TextFiles::toPath(m_dir.path());
    }

    std::filesystem::path ini() const { return m_folder / "TRV7300.ini"; }
    void write(const char* name, const QString& text) { ASSERT_TRUE(TextFiles::writeAll(m_folder / name, text).ok()); }

    QTemporaryDir m_dir;
    std::filesystem::path m_folder;
};

} // namespace

TEST_F(StartupTest, FirstStartWritesTheDefaultFileAndTellsOnce) {
    AppState state;
    ScriptedPrompts prompts;
    ASSERT_TRUE(Main(state, m_folder, prompts).ok());

    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, defaultConfigCreatedMessage());
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Information);

    auto doc = IniDocument::load(ini());
    ASSERT_TRUE(doc.ok());
    EXPECT_EQ(doc.value().value(QStringLiteral("Data"), QStringLiteral("Dir")), TextFiles::toQString(m_folder));
    EXPECT_EQ(doc.value().value(QStringLiteral("Comm"), QStringLiteral("BaudRate")), QStringLiteral("38400"));
    // The settings loader ran after the default file was there and added the empty switches.
    EXPECT_EQ(doc.value().value(QStringLiteral("Firma"), QStringLiteral("FirmaID")), QStringLiteral("0000000000"));

    EXPECT_EQ(state.programFolder, m_folder);
    EXPECT_EQ(state.config.gIniSoubor(), ini());
    EXPECT_EQ(state.config.gJazykovySoubor(), m_folder / "langCS.ini");
    EXPECT_EQ(state.gDatovyAdresar, m_folder);
    EXPECT_EQ(state.gDirAS400, m_folder);
    EXPECT_EQ(state.gMode, QStringLiteral("STD"));
    EXPECT_EQ(state.gNoRead, QStringLiteral("NOREAD"));
    EXPECT_TRUE(state.gKontrolaPlatnostiZap);

    // The next start finds the file and shows nothing.
    const QString before = TextFiles::readAll(ini()).value().text;
    AppState second;
    ScriptedPrompts quiet;
    ASSERT_TRUE(Main(second, m_folder, quiet).ok());
    EXPECT_TRUE(quiet.records().empty());
    EXPECT_EQ(TextFiles::readAll(ini()).value().text, before);
}

TEST_F(StartupTest, MissingDataFolderKeyStopsTheStartWithTheGettersMessage) {
    write("TRV7300.ini", QStringLiteral("[Comm]\r\nPort=COM1\r\n[Firma]\r\nFirmaID=0000000000\r\n"));
    write("langCS.ini", QStringLiteral("[procFce]\r\nneexCestaDatum=Cesta k datům není nastavena.\r\n"));
    AppState state;
    ScriptedPrompts prompts;
    const Status st = Main(state, m_folder, prompts);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().number, 60000);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(prompts.records()[0].text,
              QStringLiteral("Cesta k datům není nastavena.\nNum: 60000, descr: Neexistující sekce nebo klíč."));
}

TEST_F(StartupTest, SettingsAndLanguageFileOfAnInstallation) {
    write("TRV7300.ini", QStringLiteral("[General]\r\nLang=LANGcs.INI\r\n[Data]\r\nDir=data\r\n"
                                        "[Comm]\r\nNOREAD=NR\r\n[Firma]\r\nFirmaID=") +
                             QString(24, u'0') + QStringLiteral("1\r\n[User]\r\nMode=AUT\r\n"));
    write("langCS.ini", QStringLiteral("[frmPrijemSec]\r\nTRVZpracStrav=Zpracování stravenek\r\n"));
    AppState state;
    state.gTypDarkove = true;
    state.gKontrolaPlatnostiZap = false;
    ScriptedPrompts prompts;
    ASSERT_TRUE(Main(state, m_folder, prompts).ok());
    EXPECT_TRUE(prompts.records().empty());

    EXPECT_EQ(state.config.DejText(QStringLiteral("frmPrijemSec"), QStringLiteral("TRVZpracStrav")),
              QStringLiteral("Zpracování stravenek"));
    EXPECT_EQ(state.gNoRead, QStringLiteral("NR"));
    EXPECT_TRUE(state.sw.gFBalicky);
    EXPECT_EQ(state.gMode, QStringLiteral("AUT"));
    EXPECT_EQ(state.gDatovyAdresar, m_folder / "data");
    EXPECT_FALSE(state.gTypDarkove);
    EXPECT_TRUE(state.gKontrolaPlatnostiZap);
}

TEST_F(StartupTest, LanguageFileThatDoesNotExistGivesBlankTexts) {
    write("TRV7300.ini", QStringLiteral("[General]\r\nLang=langEN.ini\r\n[Data]\r\nDir=/srv/data\r\n"));
    write("langCS.ini", QStringLiteral("[frmHlavni]\r\nSoubor=Soubor:\r\n"));
    AppState state;
    ScriptedPrompts prompts;
    ASSERT_TRUE(Main(state, m_folder, prompts).ok());
    EXPECT_EQ(state.config.gJazykovySoubor(), m_folder / "langEN.ini");
    EXPECT_EQ(state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Soubor")), QStringLiteral(" "));
}

TEST_F(StartupTest, SampleProgramFolderStartsQuietly) {
    const std::filesystem::path sample = (std::filesystem::path(TRV_TEST_DATA) / "../../../sample").lexically_normal();
    std::filesystem::copy(sample, m_folder, std::filesystem::copy_options::recursive);
    AppState state;
    ScriptedPrompts prompts;
    ASSERT_TRUE(Main(state, m_folder, prompts).ok());
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(state.gDatovyAdresar, m_folder / "data");
    EXPECT_TRUE(std::filesystem::is_directory(state.gDatovyAdresar));
    EXPECT_EQ(state.gFirmaNazev, QStringLiteral("Vzorová provozovna s.r.o."));

    // Installations keep the language file in Windows-1250; the end of a receipt compares this exact text.
    const auto lang = TextFiles::readAll(m_folder / "langCS.ini");
    ASSERT_TRUE(lang.ok());
    EXPECT_EQ(lang.value().encoding, TextEncoding::Windows1250);
    EXPECT_EQ(state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("PrijemDatNeakt")),
              QStringLiteral("Příjem dat – NEAKTIVNÍ!"));
    EXPECT_EQ(state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("NeexCestaKDatum")),
              QStringLiteral("Chyba při spuštění příjmu dat. "));
}

TEST_F(StartupTest, FolderThatCannotTakeTheDefaultFileFailsTheStartWithTwoMessages) {
    write("not-a-folder", QStringLiteral("x"));
    AppState state;
    ScriptedPrompts prompts;
    const Status st = Main(state, m_folder / "not-a-folder", prompts);
    ASSERT_FALSE(st.ok());
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("TRV7300.ini")));
    EXPECT_EQ(prompts.records()[1].text, QStringLiteral(" \nNum: 60000, descr: Neexistující sekce nebo klíč."));
}

#ifdef Q_OS_UNIX
#include <sys/stat.h>

TEST_F(StartupTest, AConfigurationThatIsNoFileStopsTheStartNamingIt) {
    ASSERT_EQ(mkfifo(ini().c_str(), 0600), 0);
    AppState state;
    ScriptedPrompts prompts;
    ASSERT_FALSE(Main(state, m_folder, prompts).ok());
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[0].text.contains(TextFiles::toQString(ini())))
        << prompts.records()[0].text.toStdString();
    EXPECT_TRUE(std::filesystem::is_fifo(ini()));
}
#endif

TEST_F(StartupTest, ConfigurationAndDefinitionsInAnyLetterCase) {
    // A program folder copied from a Windows installation: the names in other letter cases.
    write("trv7300.ini", QStringLiteral("[Data]\r\nDir=data\r\n"));
    write("TYPSTRAV.INI", QStringLiteral("[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=Alfa\r\nDelka=13\r\n"));
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(10, 30))};
    ASSERT_TRUE(Main(state, m_folder, prompts).ok());
    ASSERT_TRUE(NactiTypyStravenek(state, prompts, clock).ok());
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(state.config.gIniSoubor(), m_folder / "trv7300.ini");
    EXPECT_EQ(state.gDatovyAdresar, m_folder / "data");
    ASSERT_EQ(state.gColStrav->count(), 1);
    EXPECT_EQ(state.gColStrav->Item(1)->Nazev, QStringLiteral("Alfa"));

    // Writes go to the file found (the loader adds the missing FirmaID), never to a second file beside it.
    EXPECT_FALSE(TextFiles::exists(ini()));
    EXPECT_FALSE(TextFiles::exists(m_folder / "TypStrav.ini"));
    EXPECT_EQ(IniDocument::load(m_folder / "trv7300.ini").value().value(QStringLiteral("Firma"),
                                                                          QStringLiteral("FirmaID")),
              QStringLiteral("0000000000"));

    // Where both spellings exist, the exact name wins.
    write("TRV7300.ini", QStringLiteral("[Data]\r\nDir=presne\r\n[Firma]\r\nFirmaID=0000000000\r\n"));
    AppState exact;
    ASSERT_TRUE(Main(exact, m_folder, prompts).ok());
    EXPECT_EQ(exact.config.gIniSoubor(), ini());
    EXPECT_EQ(exact.gDatovyAdresar, m_folder / "presne");
}

TEST_F(StartupTest, DefinitionsThatFailOrYieldNoTypes) {
    write("TRV7300.ini", QStringLiteral("[Data]\r\nDir=data\r\n[Firma]\r\nFirmaID=0000000000\r\n"));
    const QString threeTypes =
        QStringLiteral("[TYP1]\r\nNazev=Alfa\r\nDelka=13\r\n[TYP2]\r\nNazev=Beta\r\nDelka=10\r\n"
                       "[TYP3]\r\nNazev=Gama\r\nDelka=16\r\n");
    struct Case {
        const char* name;
        QString text;
        bool starts;
        qint32 types;
        const char* message; // part of the one message shown; nullptr: none
    };
    const std::vector<Case> cases = {
        {"count past the limit", QStringLiteral("[TYPY]\r\nPocet=40000\r\n") + threeTypes, false, 0, "32767"},
        {"bad value in the second type",
         QStringLiteral("[TYPY]\r\nPocet=3\r\n[TYP1]\r\nNazev=Alfa\r\n[TYP2]\r\nDelka=99999999999\r\n"), false, 1,
         "[TYP2]"},
        {"no types", QStringLiteral("[TYPY]\r\nPocet=0\r\n"), true, 0, "žádný typ"},
        {"no file", QString(), true, 0, "žádný typ"},
        {"CR line ends only", QString(QStringLiteral("[TYPY]\r\nPocet=3\r\n") + threeTypes).remove(u'\n'), true, 3,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(m_folder / "TypStrav.ini");
        if (!c.text.isEmpty())
            write("TypStrav.ini", c.text);
        AppState state;
        ScriptedPrompts prompts;
        FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(10, 30))};
        ASSERT_TRUE(Main(state, m_folder, prompts).ok());
        EXPECT_EQ(NactiTypyStravenek(state, prompts, clock).ok(), c.starts);
        EXPECT_EQ(state.gColStrav->count(), c.types);
        if (!c.message) {
            EXPECT_TRUE(prompts.records().empty());
            continue;
        }
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_TRUE(prompts.records()[0].text.contains(QString::fromUtf8(c.message)))
            << prompts.records()[0].text.toStdString();
    }
}
