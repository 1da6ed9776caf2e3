#include "core/WorkingCopy.h"

#include "platform/TextFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

using namespace trv;

namespace {

// A copy that cannot take the table's place: the table is named once (never the copy) and the cause in Czech, with
// the system's text once after it; the copy is gone.
TEST(WorkingCopyTest, ACopyThatCannotTakeTheTablesPlaceNamesTheTableAndItsCauseOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path folder = TextFiles::toPath(dir.path());
    const std::filesystem::path table = folder / "chybí" / "exp_data.dbf";
    const std::filesystem::path work = folder / "exp_data.dbf.zapis";
    ASSERT_TRUE(TextFiles::writeBytes(work, "table").ok());

    const Status placed = WorkingCopy::putInPlace(work, table, Status::success());
    ASSERT_FALSE(placed.ok());
    const QString systemText = QString::fromLocal8Bit(std::generic_category().message(ENOENT));
    EXPECT_EQ(placed.message(), QStringLiteral("Nelze uložit tabulku ") + TextFiles::toQString(table) +
                                    QStringLiteral(": soubor nebo složka neexistuje (") + systemText + u')');
    EXPECT_FALSE(std::filesystem::exists(work));
}

} // namespace
