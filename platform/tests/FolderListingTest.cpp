#include "platform/FolderListing.h"

#include "platform/TextFiles.h"
#include "platform/tests/TempFolderTest.h"
#include "testsupport/TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace trv;
namespace fs = std::filesystem;

namespace {

class FolderListingTest : public test::TempFolderTest {
protected:
    fs::path folder() const { return TextFiles::toPath(m_dir.path()); }
    void touch(const fs::path& file) { std::ofstream(file, std::ios::binary) << "x"; }
    static QStringList namesOf(const std::vector<FolderListing::Entry>& entries) {
        QStringList names;
        for (const auto& e : entries)
            names.append(e.name);
        return names;
    }
};

} // namespace

// A name whose bytes are not valid UTF-8 (written in Windows-1250 by another machine) never stops the listing: it
// is shown lossily, and its path is the one listed, which opens it by its own bytes.
TEST_F(FolderListingTest, ANameThatCannotBeDecodedIsListedLossilyAndOpensByItsOwnBytes) {
    touch(folder() / "241208_\xE9_1.txt");
    touch(folder() / "241208_101_AB_1.txt");
    fs::create_directory(folder() / "sub\xE9");
    const auto files = FolderListing::list(folder(), QStringLiteral("*.txt"));
    ASSERT_TRUE(files.ok()) << files.message().toStdString();
    EXPECT_EQ(namesOf(files.value()), (QStringList{QStringLiteral("241208_101_AB_1.txt"),
                                                   QString::fromUtf8("241208_\xEF\xBF\xBD_1.txt")}));
    EXPECT_EQ(files.value()[1].path(), folder() / "241208_\xE9_1.txt");
    EXPECT_EQ(TextFiles::readBytes(files.value()[1].path()).value(), QByteArray("x"));
    EXPECT_EQ(FolderListing::nameOf(files.value()[1].path()), files.value()[1].name);
    // The name shown leads back to the entry listed, not to the bytes of the lossy name.
    EXPECT_EQ(FolderListing::entryNamed(folder(), files.value()[1].name), folder() / "241208_\xE9_1.txt");
    EXPECT_EQ(FolderListing::entryNamed(folder(), QStringLiteral("241208_101_AB_1.txt")),
              folder() / "241208_101_AB_1.txt");
    EXPECT_EQ(FolderListing::entryNamed(folder(), QStringLiteral("none.txt")), std::nullopt);

    const auto folders = FolderListing::list(folder(), QStringLiteral("*"), {}, FolderListing::Kind::Folders);
    ASSERT_TRUE(folders.ok());
    EXPECT_EQ(namesOf(folders.value()), QStringList{QString::fromUtf8("sub\xEF\xBF\xBD")});
    const auto any = FolderListing::list(folder(), QStringLiteral("*"), {}, FolderListing::Kind::Any);
    ASSERT_TRUE(any.ok());
    EXPECT_EQ(any.value().size(), 3u);
    trv::test::removeOddNames(folder());
}

// The order is the one of QString::compare without regard to case, names differing only in case in one fixed
// order; the filter sees every decoded name and drops those it refuses.
TEST_F(FolderListingTest, SortedByNameInAnyCaseAndFilteredByName) {
    const QStringList names{QStringLiteral("b.txt"),      QStringLiteral("B.txt"),       QStringLiteral("a_1.txt"),
                            QStringLiteral("A1.txt"),     QStringLiteral("Barcode.txt"), QString::fromUtf8("Čaj.txt"),
                            QString::fromUtf8("čaj2.txt"), QStringLiteral("Z.txt"),      QStringLiteral("[x].txt"),
                            QStringLiteral("~a.txt"),     QString::fromUtf8("Šek.txt"),  QStringLiteral("150121_1.TXT"),
                            // Long names alike in their first sixteen bytes, in any case, and one not in ASCII.
                            QStringLiteral("241208_101_AB_10.txt"), QStringLiteral("241208_101_AB_1.txt"),
                            QStringLiteral("241208_101_ab_1.TXT"), QStringLiteral("241208_101_AB_1_.txt"),
                            QStringLiteral("241208_101_AB_1Z.txt"), QString::fromUtf8("241208_101_AB_1Č.txt"),
                            QStringLiteral("241208_101_AB_1.a.txt"), QStringLiteral("241208_101_AB_1.B.txt")};
    for (const QString& n : names)
        touch(folder() / TextFiles::toPath(n));
    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    const auto all = FolderListing::list(folder());
    ASSERT_TRUE(all.ok());
    EXPECT_EQ(namesOf(all.value()), expected);

    QStringList seen;
    const auto some = FolderListing::list(folder(), QStringLiteral("*.txt"), [&seen](const QString& n) {
        seen.append(n);
        return n.startsWith(u'b', Qt::CaseInsensitive);
    });
    ASSERT_TRUE(some.ok());
    EXPECT_EQ(namesOf(some.value()),
              (QStringList{QStringLiteral("B.txt"), QStringLiteral("b.txt"), QStringLiteral("Barcode.txt")}));
    EXPECT_EQ(seen.size(), names.size());
}

TEST_F(FolderListingTest, AMissingFolderIsAnErrorNamingIt) {
    const auto missing = FolderListing::list(folder() / "missing");
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.message().contains(QStringLiteral("missing"))) << missing.message().toStdString();
}
