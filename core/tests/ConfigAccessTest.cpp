#include "core/ConfigAccess.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

using namespace trv;

namespace {

std::filesystem::path pathIn(const QTemporaryDir& dir, const char* name) {
    return std::filesystem::path(dir.path().toStdString()) / name;
}

void writeBytes(const std::filesystem::path& file, const QByteArray& bytes) {
    QFile f(QString::fromStdString(file.string()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct ReadCase {
    const char* name;
    QByteArray file;
    QString def;
    std::optional<QString> expected; // nullopt: the default comes back
};

} // namespace

TEST(ConfigAccess, CtiINIFollowsTheProfileConventions) {
    const QString longValue(300, u'x');
    const std::vector<ReadCase> cases = {
        {"exact", "[Data]\r\nKey=value\r\n", QStringLiteral("def"), QStringLiteral("value")},
        {"any letter case", "[DATA]\r\nkEY=value\r\n", QStringLiteral("def"), QStringLiteral("value")},
        {"blanks dropped", "[Data]\r\nKey =   value  \r\n", QStringLiteral("def"), QStringLiteral("value")},
        {"quotes dropped", "[Data]\r\nKey=\" quoted \"\r\n", QStringLiteral("def"), QStringLiteral(" quoted ")},
        {"empty is not missing", "[Data]\r\nKey=\r\n", QStringLiteral("def"), QString()},
        {"missing key", "[Data]\r\nOther=1\r\n", QStringLiteral("def"), std::nullopt},
        {"missing section", "[Comm]\r\nKey=1\r\n", QStringLiteral("def"), std::nullopt},
        {"LF line ends", "[Data]\nKey=value\n", QStringLiteral("def"), QStringLiteral("value")},
        {"300 characters cut to 254", "[Data]\r\nKey=" + longValue.toLatin1() + "\r\n", QStringLiteral("def"),
         longValue.left(254)},
        {"garbage lines around", "]][[\r\nno equals sign\r\n\x01\x02=\r\n[Data]\r\n==\r\nKey=value\r\n[",
         QStringLiteral("def"), QStringLiteral("value")},
    };
    QTemporaryDir dir;
    const auto file = pathIn(dir, "test.ini");
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(file, c.file);
        EXPECT_EQ(CtiINI(QStringLiteral("Data"), QStringLiteral("Key"), c.def, file), c.expected.value_or(c.def));
        EXPECT_EQ(CtiINI2(QStringLiteral("Data"), QStringLiteral("Key"), c.def, file), c.expected.value_or(c.def));
    }
}

TEST(ConfigAccess, MissingOrUnreadableFileGivesTheDefault) {
    QTemporaryDir dir;
    EXPECT_EQ(CtiINI(QStringLiteral("Data"), QStringLiteral("Key"), QStringLiteral("def"), pathIn(dir, "none.ini")),
              QStringLiteral("def"));
    // A folder where the file should be cannot be read as a file.
    std::filesystem::create_directory(pathIn(dir, "folder.ini"));
    EXPECT_EQ(CtiINI(QStringLiteral("Data"), QStringLiteral("Key"), QStringLiteral("def"), pathIn(dir, "folder.ini")),
              QStringLiteral("def"));
    const Config config(pathIn(dir, "folder.ini"), pathIn(dir, "folder.ini"));
    EXPECT_EQ(config.ctiSentinel(QStringLiteral("Data"), QStringLiteral("Key")), std::nullopt);
    EXPECT_EQ(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Soubor")), QStringLiteral(" "));
}

TEST(ConfigAccess, BytesInvalidInBothEncodingsDoNotBreakTheReaders) {
    QTemporaryDir dir;
    const auto file = pathIn(dir, "TRV7300.ini");
    // 0x81, 0x83, 0x88, 0x90, 0x98 are neither UTF-8 nor defined in Windows-1250; NUL inside a value too.
    writeBytes(file, QByteArray("[Data]\r\nBad=a\x81\x83\x88\x90\x98z\r\nNul=ab") + QByteArray(1, '\0') +
                         "cd\r\nGood=P\xF8\xEDjem\r\n");
    const Config config(file, file);
    EXPECT_EQ(config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("Good"), QString()), QStringLiteral("Příjem"));
    const QString bad = config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("Bad"), QString());
    EXPECT_TRUE(bad.startsWith(u'a'));
    EXPECT_TRUE(bad.endsWith(u'z'));
    EXPECT_EQ(config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("Nul"), QString()), QStringLiteral("ab"));
}

TEST(ConfigAccess, SentinelReadTreatsTheSentinelAsMissingAndCutsAt49) {
    const QString sixty = QStringLiteral("0123456789").repeated(6);
    const QString path300 = QStringLiteral("/data/") + QString(294, u'd');
    struct Case {
        const char* name;
        QString line; // empty: the key is absent
        std::optional<QString> sentinel;
        std::optional<QString> path;
    };
    const std::vector<Case> cases = {
        {"absent", QString(), std::nullopt, std::nullopt},
        {"empty", QStringLiteral("Key="), QString(), QString()},
        {"sentinel itself", QStringLiteral("Key=hodnota nenalezena"), std::nullopt, std::nullopt},
        {"sentinel prefix", QStringLiteral("Key=hodnota nenalezena!"), std::nullopt, std::nullopt},
        {"quoted", QStringLiteral("Key=\"  x \""), QStringLiteral("  x "), QStringLiteral("  x ")},
        {"60 characters", QStringLiteral("Key=") + sixty, sixty.left(49), sixty},
        {"long path", QStringLiteral("Key=") + path300, path300.left(49), path300},
    };
    QTemporaryDir dir;
    const auto file = pathIn(dir, "TRV7300.ini");
    const Config config(file, pathIn(dir, "langCS.ini"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(file, "[Data]\r\n" + c.line.toUtf8() + "\r\n");
        EXPECT_EQ(config.ctiSentinel(QStringLiteral("data"), QStringLiteral("KEY")), c.sentinel);
        EXPECT_EQ(config.ctiCestu(QStringLiteral("Data"), QStringLiteral("Key")), c.path);
    }
}

TEST(ConfigAccess, WriteCreatesFileAndReadsBack) {
    QTemporaryDir dir;
    const Config config(pathIn(dir, "TRV7300.ini"), pathIn(dir, "langCS.ini"));
    ASSERT_TRUE(
        config.zapis(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku"), QStringLiteral(" 5")).ok());
    EXPECT_EQ(config.CtiKonfig(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku"), QString()),
              QStringLiteral("5"));
}

TEST(ConfigAccess, DejTextReadsTheLanguageFile) {
    QTemporaryDir dir;
    const auto lang = pathIn(dir, "langCS.ini");
    // Windows-1250, as installations have it.
    writeBytes(lang, "[frmHlavni]\r\nSoubor=Soubor:\r\nPrazdny=\r\nDlouhy=" + QByteArray(300, 'x') +
                         "\r\n[Menu]\r\nPrijem=P\xF8\xEDjem dat\r\n");
    const Config config(pathIn(dir, "TRV7300.ini"), lang);
    EXPECT_EQ(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Soubor")), QStringLiteral("Soubor:"));
    EXPECT_EQ(config.DejText(QStringLiteral("menu"), QStringLiteral("prijem")), QStringLiteral("Příjem dat"));
    EXPECT_EQ(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Prazdny")), QString());
    EXPECT_EQ(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Dlouhy")).size(), 254);
    EXPECT_EQ(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Chybi")), QStringLiteral(" "));
    EXPECT_EQ(config.DejText(QStringLiteral("frmNeni"), QStringLiteral("Soubor")), QStringLiteral(" "));

    // An edited language file is read again, also right after the last read and at the same size.
    writeBytes(lang, "[frmHlavni]\r\nSoubor=AAAA\r\n");
    EXPECT_EQ(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Soubor")), QStringLiteral("AAAA"));
    writeBytes(lang, "[frmHlavni]\r\nSoubor=BBBB\r\n");
    EXPECT_EQ(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Soubor")), QStringLiteral("BBBB"));

    Config other = config;
    other.setLanguageFile(pathIn(dir, "langEN.ini"));
    EXPECT_EQ(other.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Soubor")), QStringLiteral(" "));
}
