#include "platform/ui/DesktopShell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace trv {
namespace {

// A program that cannot be started is told in Czech, naming the file; the system's own text only follows.
TEST(DesktopShellTest, AProgramThatCannotStartIsToldInCzechNamingTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto path = [&dir](const char* name) {
        return std::filesystem::path(dir.filePath(QLatin1String(name)).toStdU16String());
    };
    const auto make = [&dir](const char* name, QFileDevice::Permissions permissions) {
        QFile file(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("MZ\x90\x00 not a program of this system");
        file.close();
        ASSERT_TRUE(file.setPermissions(permissions));
    };
    make("plain.exe", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    make("windows.exe", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"missing.exe", "soubor neexistuje."},
                 {"plain.exe", "soubor nemá právo ke spuštění."},
                 {"windows.exe", "systém jej nedokázal spustit"}};
    DesktopShell shell;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Status st = shell.startProgram(path(c.name), {QStringLiteral("Term.TRM")}, {});
        ASSERT_FALSE(st.ok());
        EXPECT_TRUE(st.message().startsWith(QStringLiteral("Program ") +
                                            QDir::toNativeSeparators(dir.filePath(QLatin1String(c.name))) +
                                            QStringLiteral(" nelze spustit: ") + QString::fromUtf8(c.reason)))
            << st.message().toStdString();
    }
}

} // namespace
} // namespace trv
