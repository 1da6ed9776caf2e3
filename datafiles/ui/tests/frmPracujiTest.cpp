#include "datafiles/ui/WorkingWindowIndicator.h"
#include "datafiles/ui/frmPracuji.h"

#include "core/ConfigAccess.h"
#include "testsupport/GuiTestHelpers.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>

#include <filesystem>

using trv::Config;
using trv::frmPracuji;
using trv::WorkingWindowIndicator;
using trv::test::child;

TEST(frmPracujiTest, ShowsTheMessageUnderTheLanguageCaptionUntilHidden) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile lang(dir.filePath(QStringLiteral("langCS.ini")));
    ASSERT_TRUE(lang.open(QIODevice::WriteOnly));
    lang.write("[frmPracuji]\r\nCaption=Pracuji ...\r\n");
    lang.close();
    const Config config(std::filesystem::path(dir.filePath(QStringLiteral("TRV7300.ini")).toStdString()),
                        std::filesystem::path(dir.filePath(QStringLiteral("langCS.ini")).toStdString()));

    WorkingWindowIndicator indicator(config);
    indicator.hide();  // nothing shown yet: no harm
    EXPECT_EQ(indicator.window(), nullptr);

    indicator.show(QStringLiteral("Probíhá zpracování dat ..."));
    QPointer<frmPracuji> window = indicator.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pracuji ..."));
    EXPECT_EQ(child<QLabel>(window.data(), "Label1")->text(), QStringLiteral("Probíhá zpracování dat ..."));

    // The message is set when the window is made; showing again keeps the window and its text.
    indicator.show(QStringLiteral("Jiná zpráva"));
    EXPECT_EQ(indicator.window(), window.data());
    EXPECT_EQ(child<QLabel>(window.data(), "Label1")->text(), QStringLiteral("Probíhá zpracování dat ..."));

    indicator.hide();
    EXPECT_TRUE(window.isNull());
}
