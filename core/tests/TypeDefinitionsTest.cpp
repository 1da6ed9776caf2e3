#include "core/TypeDefinitions.h"

#include "VoucherFixture.h"
#include "platform/IniDocument.h"

#include <QDir>
#include <QFile>

using namespace trv;
using trv::test::VoucherFixture;

namespace {

const QString kDataFolder = QStringLiteral(TRV_TEST_DATA "/voucher");

// Every field of a type that the definition files hold, as text, so that two loads compare field by field.
QStringList fieldsOf(const CStrav& t)
{
    const auto n = [](qint64 v) { return QString::number(v); };
    const auto d = [](const QDate& v) { return v.toString(Qt::ISODate); };
    QStringList f = {
        t.Nazev, n(t.Delka), n(t.Delka2), n(t.DelkaCastka), n(t.KoefCastka), n(t.PozCastka), n(t.PozRok),
        n(t.delkaRok), n(t.PozRok2), n(t.delkaRok2), n(t.pozRCDarkove), n(t.delkaRCDarkove), t.RCDarkove,
        t.RCBlokovaneDarkove, n(t.pozRCDarkove2), n(t.delkaRCDarkove2), t.RCDarkove2, t.RCBlokovaneDarkove2,
        n(t.CheckIL), n(t.Export), t.Pripona, t.Cesta, t.ExpTyp, n(t.GainLevel), n(t.ScanSpeed),
        n(t.LaserPower), QString::number(t.Provize), QString::number(t.DPH), t.RozlisovaciCislo, n(t.PoziceRC),
        n(t.ObsahujeRC), n(t.PoradiSpolecnosti), n(t.DelkaCastka2), n(t.KoefCastka2), n(t.PozCastka2),
        t.produktRC, t.obsahujeProduktRC, n(t.poziceProduktRC), n(t.poziceProduktRC2), t.RozlisovaciCislo2,
        n(t.delka1PoziceRC1), n(t.delka2PoziceRC1), n(t.delka1PoziceRC2), n(t.delka2PoziceRC2),
        n(t.ObsahujeRC2), t.RozlisovaciCislo3, n(t.delka1PoziceRC3), n(t.delka2PoziceRC3), n(t.ObsahujeRC3),
        n(t.delkaCh22PoziceRC1), n(t.delkaCh22PoziceRC2), n(t.delkaCh22PoziceRC3), n(t.pozRCDarkoveCh22),
        n(t.delkaRCDarkoveCh22), t.RCDarkoveCh22, t.RCBlokovaneDarkoveCh22, n(t.MaxVycetkaSum.units()),
        n(t.VarningVycetkaSum.units()), n(t.varningSumVycetkaPohyb.units()), t.LastVycetkaDate,
        t.cisloProvozovny, t.kodProvozovny, t.nazevProvozovny, t.ulice, t.mesto, t.ico, t.kontakt,
        t.telPredvolba, t.tel, t.fax, t.email, t.specSymbol, t.FormularExe, t.CBAUcetMD, n(t.groupType),
        n(t.kodTypu), t.vydavatel, n(t.pRok1), n(t.pRok2), n(t.pRok3), n(t.pRok4), n(t.pRok5),
        d(t.pPovolitDo1), d(t.pPovolitDo2), d(t.pPovolitDo3), d(t.pPovolitDo4), d(t.pPovolitDo5),
        n(t.pozInterleave1), n(t.pozInterleave2), t.poukaz ? QStringLiteral("true") : QStringLiteral("false"),
        t.TabulkaHodnot, t.TypCK, t.TypCRC,
    };
    if (t.TabulkaHodnotDict) {
        for (const auto& [key, value] : t.TabulkaHodnotDict->entries())
            f << key + u'=' + value;
    } else {
        f << QStringLiteral("(no table)");
    }
    return f;
}

} // namespace

class DefinitionsTest : public VoucherFixture {
protected:
    void copyFixture(const QString& name)
    {
        ASSERT_TRUE(QFile::copy(kDataFolder + u'/' + name, m_dir.filePath(name)));
    }
    void copyFixtures()
    {
        copyFixture(QStringLiteral("TypStrav.ini"));
        copyFixture(QStringLiteral("TypStravGroup.ini"));
        copyFixture(QStringLiteral("hodnoty_beta.ini"));
    }
    void allSwitches(bool on)
    {
        state.sw.gFBalikyTyden = on;
        state.sw.gFExportSeznamu = on;
        state.sw.gFExportCBA = on;
    }
    std::unique_ptr<CColStrav> freshLoad(bool group = false)
    {
        auto col = std::make_unique<CColStrav>(state, prompts, clock);
        const Status loaded = group ? col->NactiINIGroup() : col->NactiINI();
        EXPECT_TRUE(loaded.ok()) << loaded.message().toStdString();
        return col;
    }
    std::optional<QString> fileValue(const QString& file, const QString& section, const QString& key)
    {
        const auto doc = IniDocument::load(folder / file.toStdU16String());
        return doc.ok() ? doc.value().value(section, key) : std::nullopt;
    }
};

TEST_F(DefinitionsTest, LoadReadsEveryKeyOfAType)
{
    copyFixtures();
    allSwitches(true);
    ASSERT_TRUE(types->NactiINI().ok());
    ASSERT_EQ(types->count(), 4);
    const CStrav& t = *types->Item(1);
    const char* const expected[] = {
        "Alfa Stravenka", "13", "16", "4", "1", "9", "7", "2", "8", "1", "3", "2", "11,12,13", "13",
        "4", "3", "101,102", "102", "1", "1", "alf", "C:\\Export\\Alfa", "ALFAEXP", "3", "2", "5",
        "2.5", "21", "1,2", "1", "1", "1", "3", "-10", "12", "44", "7", "11", "14", "55,56", "2", "3", "4", "5",
        "1", "9", "6", "7", "0", "8", "9", "10", "11", "2", "77", "78", "3000000000", "2500000000", "2500000000",
        "260201", "501", "K501", "Jídelna U Lípy", "Lipová 5",
        "Dolní Lhota", "12345678", "Jana Nováková", "+420", "600100200",
        "600100201", "jidelna@example.cz", "0308", "C:\\Program Files\\Formular\\form.exe",
        "311100", "0", "12", "ALFA S.R.O.", "6", "7", "0", "0", "0", "2027-01-31", "2028-02-28",
        "2004-01-01", "2004-01-01", "2004-01-01", "13", "16", "true", "", "interleave2of5", "mod97",
        "(no table)",
    };
    QStringList expectedFields;
    for (const char* field : expected)
        expectedFields << QString::fromUtf8(field);
    EXPECT_EQ(fieldsOf(t), expectedFields);
    EXPECT_EQ(types->Item(3)->PoradiSpolecnosti, 3);
    EXPECT_TRUE(prompts.records().size() == 1); // the missing value table of type 4
}

TEST_F(DefinitionsTest, DefaultsAndSwitchedKeys)
{
    copyFixtures();
    ASSERT_TRUE(types->NactiINI().ok());
    const CStrav& beta = *types->Item(2);
    EXPECT_EQ(beta.delkaRok, 1);
    EXPECT_EQ(beta.pozRCDarkoveCh22, 1);
    EXPECT_EQ(beta.GainLevel, -1);
    EXPECT_EQ(beta.DPH, 19);
    EXPECT_EQ(beta.Provize, 0);
    EXPECT_EQ(beta.TypCK, QStringLiteral("interleave2of5"));
    EXPECT_EQ(beta.ObsahujeRC, -1);
    EXPECT_EQ(beta.delkaCh22PoziceRC3, -1);
    EXPECT_EQ(beta.obsahujeProduktRC, QStringLiteral("0"));
    EXPECT_EQ(beta.pPovolitDo5, QDate(2004, 1, 1));
    EXPECT_FALSE(beta.poukaz);
    EXPECT_EQ(beta.vydavatel, QStringLiteral("BETA"));

    // Switches off: the keys they guard are not read even when present.
    const CStrav& alfa = *types->Item(1);
    EXPECT_EQ(alfa.MaxVycetkaSum, Currency());
    EXPECT_TRUE(alfa.LastVycetkaDate.isEmpty());
    EXPECT_TRUE(alfa.nazevProvozovny.isEmpty());
    EXPECT_TRUE(alfa.CBAUcetMD.isEmpty());
    EXPECT_EQ(alfa.groupType, 0); // only the group file has product groups

    state.sw.gFBalikyTyden = true;
    const auto withPackages = freshLoad();
    EXPECT_EQ(withPackages->Item(2)->MaxVycetkaSum, Currency::fromInt(500000));
    EXPECT_EQ(withPackages->Item(2)->VarningVycetkaSum, Currency::fromInt(450000));
    EXPECT_EQ(withPackages->Item(2)->varningSumVycetkaPohyb, Currency::fromInt(450000));
    EXPECT_EQ(withPackages->Item(2)->LastVycetkaDate, QStringLiteral("260314")); // the day of the load
    EXPECT_EQ(withPackages->Item(1)->LastVycetkaDate, QStringLiteral("260201"));
}

TEST_F(DefinitionsTest, GroupFile)
{
    copyFixtures();
    const auto groups = freshLoad(true);
    ASSERT_EQ(groups->count(), 2);
    EXPECT_EQ(groups->Item(1)->groupType, 3);
    EXPECT_EQ(groups->Item(2)->groupType, 7);
    EXPECT_EQ(groups->Item(1)->vydavatel, QStringLiteral("alfa s.r.o.")); // kept as written
}

TEST_F(DefinitionsTest, ValueTables)
{
    copyFixtures();
    writeFile(QStringLiteral("prazdna.ini"), QStringLiteral("[Jine]\r\nPocet=3\r\n"));
    ASSERT_TRUE(types->NactiINI().ok());

    const auto& table = types->Item(2)->TabulkaHodnotDict; // named in other letter case than the file
    ASSERT_TRUE(table);
    EXPECT_EQ(table->value(QStringLiteral("01")), QStringLiteral("80"));
    EXPECT_EQ(table->value(QStringLiteral("02")), QStringLiteral("75,50"));
    EXPECT_EQ(table->value(QStringLiteral("03")), QStringLiteral("100")); // up to a second colon
    EXPECT_EQ(table->value(QStringLiteral("Ab")), QStringLiteral("120"));
    EXPECT_FALSE(table->contains(QStringLiteral("AB")));
    EXPECT_EQ(types->Item(1)->TabulkaHodnotDict, nullptr); // no table named

    // A missing table: an empty one, and the message once per type at every load.
    ASSERT_TRUE(types->Item(4)->TabulkaHodnotDict);
    EXPECT_TRUE(types->Item(4)->TabulkaHodnotDict->isEmpty());
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Nebyla definována tabulka hodnot pro Gama karta"));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    freshLoad();
    EXPECT_EQ(prompts.records().size(), 2u);

    // A table in a subfolder, named with backslashes and in other letter case.
    std::filesystem::create_directory(folder / "Tabulky");
    writeFile(QStringLiteral("Tabulky/Delta.INI"), QStringLiteral("[Hodnoty]\r\nPocet=1\r\nHodnota1=7:70\r\n"));
    writeFile(QStringLiteral("TypStrav.ini"),
              QStringLiteral("[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=Delta\r\nTabulkaHodnot=tabulky\\delta.ini\r\n"));
    EXPECT_EQ(freshLoad()->Item(1)->TabulkaHodnotDict->value(QStringLiteral("7")), QStringLiteral("70"));

    // A table file without [Hodnoty]: empty, silently.
    ValueTable empty;
    EXPECT_TRUE(TypeDefinitions::loadValueTable(folder / "prazdna.ini", empty).ok());
    EXPECT_TRUE(empty.isEmpty());
}

TEST_F(DefinitionsTest, MissingFileAndShortFile)
{
    EXPECT_TRUE(types->NactiINI().ok());
    EXPECT_EQ(types->count(), 0);
    writeFile(QStringLiteral("TypStrav.ini"), QStringLiteral("[TYP1]\r\nNazev=Bez hlavičky\r\n"));
    EXPECT_TRUE(types->NactiINI().ok());
    EXPECT_EQ(types->count(), 0);

    writeFile(QStringLiteral("TypStrav.ini"), QStringLiteral("[TYPY]\r\nPocet=2\r\n[TYP1]\r\nNazev=Jediný\r\n"));
    ASSERT_TRUE(types->NactiINI().ok());
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->Item(2)->Nazev, QString());
    EXPECT_EQ(types->Item(2)->Delka, 0);
    EXPECT_EQ(types->Item(2)->PoradiSpolecnosti, 2);
}

TEST_F(DefinitionsTest, MalformedFilesEndTheLoadWithAClearError)
{
    struct Case {
        const char* typ2;      // the keys of [TYP2]
        const char* table;     // the value table, when the type names one
        const char* mentions;  // what the message must name
    };
    const std::vector<Case> cases = {
        {"KodTypu=abc", nullptr, "KodTypu"},
        {"DelkaRok=40000", nullptr, "DelkaRok"},
        {"Delka=99999999999", nullptr, "Delka"},
        {"PovolitRok3=70000", nullptr, "PovolitRok3"},
        {"Provize=", nullptr, "Provize"},
        {"DPH=devatenáct", nullptr, "DPH"},
        {"PovolitDo2=31.2.2027", nullptr, "PovolitDo2"},
        {"TabulkaHodnot=t.ini", "[Hodnoty]\r\nPocet=2\r\nHodnota1=01:80\r\nHodnota2=0290\r\n", "Hodnota2"},
        {"TabulkaHodnot=t.ini", "[Hodnoty]\r\nPocet=2\r\nHodnota1=01:80\r\n", "Hodnota2"},
        {"TabulkaHodnot=t.ini", "[Hodnoty]\r\nPocet=2\r\nHodnota1=01:80\r\nHodnota2=01:90\r\n", "01"},
        {"TabulkaHodnot=t.ini", "[Hodnoty]\r\nPocet=x70000\r\n", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typ2);
        writeFile(QStringLiteral("TypStrav.ini"),
                  QStringLiteral("[TYPY]\r\nPocet=3\r\n[TYP1]\r\nNazev=Dobrý\r\n[TYP2]\r\n") +
                      QString::fromUtf8(c.typ2) + QStringLiteral("\r\n"));
        if (c.table)
            writeFile(QStringLiteral("t.ini"), QString::fromUtf8(c.table));
        CColStrav col(state, prompts, clock);
        const Status loaded = col.NactiINI();
        if (!c.mentions) {
            EXPECT_TRUE(loaded.ok()); // a count that is no number reads as 0, as the profile read has it
            continue;
        }
        ASSERT_FALSE(loaded.ok());
        EXPECT_TRUE(loaded.message().contains(QString::fromUtf8(c.mentions))) << loaded.message().toStdString();
        EXPECT_EQ(col.count(), 1); // the types before stay
    }
}

TEST_F(DefinitionsTest, ProfileIntegerReads)
{
    writeFile(QStringLiteral("TypStrav.ini"),
              QStringLiteral("[TYPY]\r\nPocet= 1 \r\n[TYP1]\r\nDelka=12abc\r\nDelka2=\r\nGainLevel=\r\n"
                             "ScanSpeed=x\r\nPoukaz=0\r\nObsahujeProduktRC=-3\r\nPoziceRC=\"7\"\r\n"));
    ASSERT_TRUE(types->NactiINI().ok());
    const CStrav& t = *types->Item(1);
    EXPECT_EQ(t.Delka, 12);      // the number at the start
    EXPECT_EQ(t.Delka2, 0);      // empty: the default
    EXPECT_EQ(t.GainLevel, -1);
    EXPECT_EQ(t.ScanSpeed, 0);   // no number: 0
    EXPECT_FALSE(t.poukaz);
    EXPECT_EQ(t.obsahujeProduktRC, QStringLiteral("-3"));
    EXPECT_EQ(t.PoziceRC, 7);
}

TEST_F(DefinitionsTest, LongTextsAreCutButPathsAreNot)
{
    const QString list = QString(300, u'7');
    const QString path = QStringLiteral("C:\\") + QString(280, u'p');
    writeFile(QStringLiteral("TypStrav.ini"), QStringLiteral("[TYPY]\r\nPocet=1\r\n[TYP1]\r\nRCDarkove=") + list +
                                                  QStringLiteral("\r\nCesta=") + path + QStringLiteral("\r\n"));
    ASSERT_TRUE(types->NactiINI().ok());
    EXPECT_EQ(types->Item(1)->RCDarkove, list.left(254));
    EXPECT_EQ(types->Item(1)->Cesta, path);

    // The save keeps the file's whole list while the type's view of it is unchanged.
    ASSERT_TRUE(types->UlozINI().ok());
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("RCDarkove")),
              list);
}

TEST_F(DefinitionsTest, SaveRoundTripsEveryField)
{
    copyFixtures();
    allSwitches(true);
    ASSERT_TRUE(types->NactiINI().ok());
    // The editor's changes: a new name with blanks around it, a changed layout, a new type without dates.
    types->Item(1)->Nazev = QStringLiteral(" Alfa Nová ");
    types->Item(1)->PozCastka = 10;
    types->Item(1)->Provize = 3.75;
    types->Item(3)->pPovolitDo2 = QDate(2029, 12, 31);
    auto added = std::make_shared<CStrav>();
    added->Nazev = QStringLiteral("Delta");
    added->Delka = 11;
    added->PoradiSpolecnosti = 5;
    ASSERT_TRUE(types->Add(added).ok());

    ASSERT_TRUE(types->UlozINI().ok());
    const auto reloaded = freshLoad();
    ASSERT_EQ(reloaded->count(), 5);
    for (qint64 i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fieldsOf(*reloaded->Item(i)), fieldsOf(*types->Item(i)));
    }
    // The type that never had dates gets the defaults back, as from a section without them.
    EXPECT_EQ(reloaded->Item(5)->Nazev, QStringLiteral("Delta"));
    EXPECT_EQ(reloaded->Item(5)->pPovolitDo1, QDate(2004, 1, 1));
    EXPECT_EQ(reloaded->Item(5)->Delka, 11);
    const QStringList written = IniDocument::load(folder / "TypStrav.ini").value().keyNames(QStringLiteral("TYP5"));
    for (const char* key : {"Nazev", "ObsahujeRC3", "delkaCh22PoziceRC3", "RCBlokovaneDarkoveCh22", "MaxVycetkaSum",
                            "ExpFormularExe", "CBAUcetMD", "KodTypu", "PovolitRok5", "Poukaz",
                            "TabulkaHodnot", "TypCK", "TypCRC"}) {
        EXPECT_TRUE(written.contains(QString::fromLatin1(key))) << key;
    }
    EXPECT_FALSE(written.contains(QStringLiteral("GroupType")));
    EXPECT_FALSE(written.contains(QStringLiteral("PovolitDo1")));
    EXPECT_FALSE(written.contains(QStringLiteral("LastVycetkaDate"))); // never set: the load's day is no date

    // Keys and sections the load does not know, and comments, stay.
    const QString text = readFile(QStringLiteral("TypStrav.ini"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("; Definice typů stravenek - zkušební data\r\n[TYPY]\r\n")));
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYPY"), QStringLiteral("Verze")),
              QStringLiteral("3"));
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("Poznamka")),
              QStringLiteral("ručně doplněno, program ji nezná"));
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("Servis"), QStringLiteral("Heslo")),
              QStringLiteral("nezname"));
    // The file's own text stays where the value is unchanged.
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("Vydavatel")),
              QStringLiteral("alfa s.r.o."));
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("Provize")),
              QStringLiteral("3,75"));
    // Read back in the encoding it was written in.
    EXPECT_EQ(IniDocument::load(folder / "TypStrav.ini").value().encoding(), TextEncoding::Windows1250);
}

TEST_F(DefinitionsTest, SaveKeepsKeysTheSwitchesHide)
{
    copyFixtures();
    ASSERT_TRUE(types->NactiINI().ok());
    ASSERT_TRUE(types->UlozINI().ok());
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("MaxVycetkaSum")),
              QStringLiteral("300000"));
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("ExpUlice")),
              QStringLiteral("Lipová 5"));
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("GroupType")),
              QStringLiteral("4"));
    EXPECT_FALSE(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP2"), QStringLiteral("MaxVycetkaSum")));
    allSwitches(true);
    EXPECT_EQ(freshLoad()->Item(1)->MaxVycetkaSum, Currency::fromInt(300000));
}

TEST_F(DefinitionsTest, SaveAfterRemovingTheFirstType)
{
    copyFixtures();
    ASSERT_TRUE(types->NactiINI().ok());
    ASSERT_TRUE(types->Remove(1));
    ASSERT_TRUE(types->UlozINI().ok());

    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYPY"), QStringLiteral("Pocet")),
              QStringLiteral("3"));
    const auto reloaded = freshLoad();
    ASSERT_EQ(reloaded->count(), 3);
    EXPECT_EQ(reloaded->Item(1)->Nazev, QStringLiteral("Beta Poukázka"));
    EXPECT_EQ(reloaded->Item(2)->Nazev, QStringLiteral("CHE Dárkový šek"));
    EXPECT_EQ(types->Item(1)->PoradiSpolecnosti, 2); // the types in memory keep their numbers
    // A type's own unknown keys move with it; the removed type's leave with it.
    EXPECT_FALSE(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("Poznamka")));
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP2"), QStringLiteral("Dodatek")),
              QStringLiteral("zůstane"));
    EXPECT_TRUE(IniDocument::load(folder / "TypStrav.ini").value().keyNames(QStringLiteral("TYP4")).isEmpty());
}

TEST_F(DefinitionsTest, GroupSaveWritesTheProductGroup)
{
    copyFixtures();
    const auto groups = freshLoad(true);
    groups->Item(2)->groupType = 9;
    ASSERT_TRUE(groups->UlozINIGroup().ok());
    EXPECT_EQ(freshLoad(true)->Item(2)->groupType, 9);
    EXPECT_EQ(fileValue(QStringLiteral("TypStravGroup.ini"), QStringLiteral("TYP2"), QStringLiteral("GroupType")),
              QStringLiteral("9"));

    // A new file is written from nothing.
    std::filesystem::remove(folder / "TypStrav.ini");
    ASSERT_TRUE(groups->UlozINI().ok());
    const auto reloaded = freshLoad();
    ASSERT_EQ(reloaded->count(), 2);
    EXPECT_EQ(reloaded->Item(1)->Nazev, QStringLiteral("Alfa Stravenka"));
    EXPECT_EQ(reloaded->Item(1)->Delka, 13);
    EXPECT_EQ(reloaded->Item(1)->vydavatel, QStringLiteral("ALFA S.R.O."));
    EXPECT_EQ(reloaded->Item(1)->groupType, 0); // written, but only the group load reads it
    EXPECT_EQ(fileValue(QStringLiteral("TypStrav.ini"), QStringLiteral("TYP1"), QStringLiteral("GroupType")),
              QStringLiteral("3"));
}

TEST_F(DefinitionsTest, FailedSaveLeavesTheOldFile)
{
    copyFixtures();
    ASSERT_TRUE(types->NactiINI().ok());
    const QString before = readFile(QStringLiteral("TypStrav.ini"));

    // A value that would not read back the same (a line break) writes nothing.
    types->Item(2)->Nazev = QStringLiteral("Beta\r\n[TYP1]");
    const Status refused = types->UlozINI();
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.message().startsWith(
        QStringLiteral("Při uložení nastavení nastala chyba! Zkontrolujte prosím, zda máte oprávnění zapisovat "
                       "do souboru ") +
        TextFiles::toQString(folder / "TypStrav.ini")));
    EXPECT_EQ(readFile(QStringLiteral("TypStrav.ini")), before);

    // A file that cannot be replaced.
    types->Item(2)->Nazev = QStringLiteral("Beta");
    std::filesystem::create_directory(folder / "TypStravGroup.ini.d");
    std::filesystem::remove(folder / "TypStravGroup.ini");
    std::filesystem::rename(folder / "TypStravGroup.ini.d", folder / "TypStravGroup.ini");
    const Status failed = types->UlozINIGroup();
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.message().contains(TextFiles::toQString(folder / "TypStravGroup.ini")));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "TypStravGroup.ini"));
}

#ifdef Q_OS_UNIX
#include <sys/stat.h>

TEST_F(DefinitionsTest, AValueTableThatCannotBeReadIsSaidSo)
{
    writeFile(QStringLiteral("TypStrav.ini"),
              QStringLiteral("[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=Delta\r\nTabulkaHodnot=delta.ini\r\n"));
    const std::filesystem::path table = folder / "delta.ini";
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"folder", [&] { std::filesystem::create_directory(table); }},
        {"FIFO", [&] { ASSERT_EQ(mkfifo(table.c_str(), 0600), 0); }},
        {"link loop", [&] { std::filesystem::create_symlink(table, table); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(table);
        make();
        const Status loaded = types->NactiINI();
        ASSERT_FALSE(loaded.ok());
        EXPECT_TRUE(loaded.message().contains(QStringLiteral("Nelze číst soubor"))) << loaded.message().toStdString();
        EXPECT_TRUE(loaded.message().contains(TextFiles::toQString(table))) << loaded.message().toStdString();
        for (const auto& record : prompts.records())
            EXPECT_FALSE(record.text.startsWith(QStringLiteral("Nebyla definována tabulka hodnot")));
    }
}
#endif

TEST_F(DefinitionsTest, SaveWritesTheLastStatementDateOnlyWhenHeldOrSet)
{
    copyFixtures();
    allSwitches(true);
    ASSERT_TRUE(types->NactiINI().ok());
    ASSERT_EQ(types->Item(2)->LastVycetkaDate, QStringLiteral("260314")); // the load's day stands in
    ASSERT_TRUE(types->UlozINI().ok());
    const QString file = QStringLiteral("TypStrav.ini");
    EXPECT_EQ(fileValue(file, QStringLiteral("TYP1"), QStringLiteral("LastVycetkaDate")), QStringLiteral("260201"));
    EXPECT_FALSE(fileValue(file, QStringLiteral("TYP2"), QStringLiteral("LastVycetkaDate")));

    // A later load still takes its own day, not the day of the save.
    clock.set(QDateTime(QDate(2026, 4, 2), QTime(8, 0)));
    EXPECT_EQ(freshLoad()->Item(2)->LastVycetkaDate, QStringLiteral("260402"));

    types->Item(2)->nastavLastVycetkaDate(QStringLiteral("260314"));
    ASSERT_TRUE(types->UlozINI().ok());
    EXPECT_EQ(fileValue(file, QStringLiteral("TYP2"), QStringLiteral("LastVycetkaDate")), QStringLiteral("260314"));
}

TEST_F(DefinitionsTest, LineEndsAndHugeCounts)
{
    copyFixtures();
    const auto reference = freshLoad();
    const QByteArray crlf = [&] {
        QFile f(m_dir.filePath(QStringLiteral("TypStrav.ini")));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }();
    // CR alone and LF alone end lines as CR LF does: the same types, field by field.
    for (const QByteArray& end : {QByteArray("\r"), QByteArray("\n")}) {
        SCOPED_TRACE(end == "\r" ? "CR" : "LF");
        QByteArray bytes = crlf;
        bytes.replace("\r\n", end);
        QFile f(m_dir.filePath(QStringLiteral("TypStrav.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const auto loaded = freshLoad();
        ASSERT_EQ(loaded->count(), reference->count());
        for (qint64 i = 1; i <= reference->count(); ++i)
            EXPECT_EQ(fieldsOf(*loaded->Item(i)), fieldsOf(*reference->Item(i)));
    }

    // A count past the limit makes no type at all, whatever the sections hold.
    writeFile(QStringLiteral("TypStrav.ini"), QStringLiteral("[TYPY]\r\nPocet=40000\r\n[TYP1]\r\nNazev=A\r\n"
                                                             "[TYP2]\r\nNazev=B\r\n[TYP3]\r\nNazev=C\r\n"));
    CColStrav col(state, prompts, clock);
    const Status loaded = col.NactiINI();
    ASSERT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.message().contains(QStringLiteral("32767")));
    EXPECT_EQ(col.count(), 0);
}

TEST_F(DefinitionsTest, FilesInAnyLetterCase)
{
    ASSERT_TRUE(QFile::copy(kDataFolder + QStringLiteral("/TypStrav.ini"), m_dir.filePath(QStringLiteral("TYPSTRAV.INI"))));
    ASSERT_TRUE(QFile::copy(kDataFolder + QStringLiteral("/TypStravGroup.ini"), m_dir.filePath(QStringLiteral("typstravgroup.ini"))));
    copyFixture(QStringLiteral("hodnoty_beta.ini"));
    ASSERT_EQ(freshLoad()->count(), 4);
    const auto groups = freshLoad(true);
    ASSERT_EQ(groups->count(), 2);

    // Saves go to the files found, never to a second file beside them.
    ASSERT_TRUE(freshLoad()->UlozINI().ok());
    ASSERT_TRUE(groups->UlozINIGroup().ok());
    const QStringList files = QDir(m_dir.path()).entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name);
    EXPECT_EQ(files, (QStringList{QStringLiteral("TYPSTRAV.INI"), QStringLiteral("hodnoty_beta.ini"),
                                  QStringLiteral("typstravgroup.ini")}));

    // Where both spellings exist, the exact name wins.
    writeFile(QStringLiteral("TypStrav.ini"), QStringLiteral("[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=Přesný\r\n"));
    EXPECT_EQ(freshLoad()->Item(1)->Nazev, QStringLiteral("Přesný"));
}
