#include "platform/Shell.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace trv {
namespace {

std::filesystem::path pathOf(const QTemporaryDir& dir) {
    return std::filesystem::path(dir.path().toStdU16String());
}

void touch(const std::filesystem::path& file, bool executable) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    if (executable) {
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
}

TEST(ShellTest, OpenStartsProgramsAndOpensFoldersAndDocuments) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto folder = pathOf(dir);
    touch(folder / "vycetka.ods", true); // executable bits on a document do not make it a program
    touch(folder / "odvody", true);
    touch(folder / "readme", false);

    struct Case {
        const char* name;
        std::filesystem::path target;
        QString parameters;
        RecordingShell::Request::Kind kind;
        QStringList arguments;
    };
    const std::vector<Case> cases{
        {"folder", folder, {}, RecordingShell::Request::Folder, {}},
        {"windows program, any case",
         folder / "Export.EXE",
         QStringLiteral("V-SL \"a b\""),
         RecordingShell::Request::Program,
         {QStringLiteral("V-SL"), QStringLiteral("a b")}},
        {"executable without extension",
         folder / "odvody",
         QStringLiteral("Edenred"),
         RecordingShell::Request::Program,
         {QStringLiteral("Edenred")}},
        {"document", folder / "vycetka.ods", QStringLiteral("ignored"), RecordingShell::Request::Document, {}},
        {"plain file without extension", folder / "readme", {}, RecordingShell::Request::Document, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingShell shell;
        EXPECT_TRUE(shell.open(c.target, c.parameters).ok());
        ASSERT_EQ(shell.requests().size(), 1u);
        EXPECT_EQ(shell.requests()[0].kind, c.kind);
        EXPECT_EQ(shell.requests()[0].path, c.target);
        EXPECT_EQ(shell.requests()[0].arguments, c.arguments);
    }
}

TEST(ShellTest, RecordingShellCanBeMadeToFail) {
    RecordingShell shell;
    shell.setFailure(Error{0, QStringLiteral("Žádný prohlížeč.")});
    const Status opened = shell.openUrl(QUrl(QStringLiteral("https://example.org")));
    EXPECT_FALSE(opened.ok());
    EXPECT_EQ(opened.message(), QStringLiteral("Žádný prohlížeč."));
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].url, QUrl(QStringLiteral("https://example.org")));
}

} // namespace
} // namespace trv
