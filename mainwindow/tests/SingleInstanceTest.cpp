#include "mainwindow/SingleInstance.h"

#include "platform/TextFiles.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

TEST(SingleInstanceTest, ASecondCopyIsToldAndStopsWhileTheFirstRuns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path folder = TextFiles::toPath(dir.path());

    ScriptedPrompts prompts;
    SingleInstance first(folder);
    ASSERT_TRUE(first.claim(prompts));
    EXPECT_TRUE(first.held());
    EXPECT_TRUE(prompts.records().empty());

    {
        SingleInstance second(folder);
        EXPECT_FALSE(second.claim(prompts));
        EXPECT_FALSE(second.held());
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Aplikace je již jednou spuštěna!"));
        EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Exclamation);
    }
    // The refused copy left the first one's lock alone.
    EXPECT_TRUE(first.held());
    EXPECT_TRUE(TextFiles::exists(folder / "TRV7300.lock"));
}

TEST(SingleInstanceTest, TheLockIsFreeAgainAfterTheFirstCopyEnds) {
    QTemporaryDir dir;
    const std::filesystem::path folder = TextFiles::toPath(dir.path());
    {
        SingleInstance first(folder);
        ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);
    }
    SingleInstance next(folder);
    EXPECT_EQ(next.acquire(), SingleInstance::Outcome::Acquired);
}

TEST(SingleInstanceTest, ALockLeftByACrashedCopyIsTakenOver) {
    QTemporaryDir dir;
    const std::filesystem::path folder = TextFiles::toPath(dir.path());

    // A process that has ended: its number names no running program any more.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForStarted(10000));
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished(10000));
    const QString lockText = QStringLiteral("%1\ntrv7300\n%2\n").arg(deadPid).arg(QSysInfo::machineHostName());
    ASSERT_TRUE(TextFiles::writeAll(folder / "TRV7300.lock", lockText, TextEncoding::Utf8).ok());

    ScriptedPrompts prompts;
    SingleInstance start(folder);
    EXPECT_TRUE(start.claim(prompts));
    EXPECT_TRUE(start.held());
    EXPECT_TRUE(prompts.records().empty());
}

TEST(SingleInstanceTest, AFolderOfTheLocksNameIsNoRunningCopy) {
    QTemporaryDir dir;
    const std::filesystem::path folder = TextFiles::toPath(dir.path());
    std::filesystem::create_directory(folder / "TRV7300.lock");

    ScriptedPrompts prompts;
    SingleInstance instance(folder);
    EXPECT_TRUE(instance.claim(prompts));
    ASSERT_EQ(prompts.records().size(), 1u);
    const QString text = prompts.records()[0].text;
    EXPECT_NE(text, SingleInstance::alreadyRunningMessage());
    EXPECT_TRUE(text.contains(TextFiles::toQString(folder / "TRV7300.lock"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("nelze vytvořit"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("složka"))) << text.toStdString();
    EXPECT_EQ(instance.acquire(), SingleInstance::Outcome::Unavailable);
}
