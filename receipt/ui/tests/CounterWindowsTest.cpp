#include "receipt/ui/frmCounter.h"
#include "receipt/ui/frmCounterPack.h"

#include "core/ConfigAccess.h"
#include "testsupport/GuiTestHelpers.h"

#include <QFile>
#include <QLCDNumber>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>

using trv::Config;
using trv::frmCounter;
using trv::frmCounterPack;
using trv::test::child;

namespace {

class CounterWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile lang(m_dir.filePath(QStringLiteral("langCS.ini")));
        ASSERT_TRUE(lang.open(QIODevice::WriteOnly));
        lang.write("[frmCounter]\r\nCaption=Počítadla čtení\r\nNacteno=Načteno\r\nBezNOREAD=Bez NOREAD\r\n");
        lang.close();
        m_config = std::make_unique<Config>(path(QStringLiteral("TRV7300.ini")), path(QStringLiteral("langCS.ini")));
    }

    std::filesystem::path path(const QString& name) const {
        return std::filesystem::path(m_dir.filePath(name).toStdString());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Config> m_config;
};

QString lcdText(QWidget* window, const char* name) {
    auto* display = child<QLCDNumber>(window, name);
    return QString::number(qint64(display->value()));
}

} // namespace

TEST_F(CounterWindowsTest, CounterCaptionsComeFromTheLanguageFile) {
    frmCounter window(*m_config);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Počítadla čtení"));
    EXPECT_EQ(child<QLabel>(&window, "Label1")->text(), QStringLiteral("Načteno"));
    EXPECT_EQ(child<QLabel>(&window, "Label2")->text(), QStringLiteral("Bez NOREAD"));
    // A text missing from the language file reads as one blank.
    EXPECT_EQ(child<QPushButton>(&window, "cmdReset")->text(), QStringLiteral(" "));
}

TEST_F(CounterWindowsTest, ValuesReachTheirDisplaysAndWideCountsAreShownWhole) {
    frmCounter window(*m_config);
    window.setReadCount(12);
    window.setReadsWithoutNoRead(5'000'000'000);
    window.setReceiveEvents(31);
    EXPECT_EQ(lcdText(&window, "fwlCount"), QStringLiteral("12"));
    EXPECT_EQ(lcdText(&window, "fwlNOREAD"), QStringLiteral("5000000000"));
    EXPECT_GE(child<QLCDNumber>(&window, "fwlNOREAD")->digitCount(), 10);
    EXPECT_EQ(lcdText(&window, "FWOdomet"), QStringLiteral("31"));

    frmCounterPack pack;
    pack.setReadCount(7);
    pack.setReadsWithoutNoRead(6);
    pack.setReceiveEvents(3);
    pack.setPackageNumber(4);
    pack.setCurrentPackageValue(1250);
    pack.setAllPackagesValue(40'000'000'000);
    EXPECT_EQ(lcdText(&pack, "fwlCount"), QStringLiteral("7"));
    EXPECT_EQ(lcdText(&pack, "fwlNOREAD"), QStringLiteral("6"));
    EXPECT_EQ(lcdText(&pack, "FWOdomet"), QStringLiteral("3"));
    EXPECT_EQ(lcdText(&pack, "FWLedPackageCount"), QStringLiteral("4"));
    EXPECT_EQ(lcdText(&pack, "FWLedSumActualPackage"), QStringLiteral("1250"));
    EXPECT_EQ(lcdText(&pack, "FWLedSumPackage"), QStringLiteral("40000000000"));
}

TEST_F(CounterWindowsTest, ResetButtonsCallTheResetOfTheCounters) {
    int resets = 0;
    frmCounter counter(*m_config, [&] { ++resets; });
    child<QPushButton>(&counter, "cmdReset")->click();
    EXPECT_EQ(resets, 1);

    frmCounterPack pack;
    child<QPushButton>(&pack, "cmdReset")->click();  // no handler yet: nothing happens
    pack.setResetHandler([&] { ++resets; });
    child<QPushButton>(&pack, "cmdReset")->click();
    EXPECT_EQ(resets, 2);
}

TEST_F(CounterWindowsTest, PackageCounterHasFixedCzechCaptions) {
    frmCounterPack pack;
    EXPECT_EQ(pack.windowTitle(), QStringLiteral("Počítadla"));
    EXPECT_EQ(child<QLabel>(&pack, "Label5")->text(), QStringLiteral("Číslo balíčku:"));
    EXPECT_EQ(child<QLabel>(&pack, "Label4")->text(), QStringLiteral("Aktuální balíček:"));
    EXPECT_EQ(child<QLabel>(&pack, "Label3")->text(), QStringLiteral("Celkem nabalíčkováno:"));
    EXPECT_EQ(child<QPushButton>(&pack, "cmdReset")->text(), QStringLiteral("Reset"));
}
