#define DATAFILES_SOURCE_ROOT TRV_TEST_DATA "/../../../.."
#include "datafiles/tests/DataFilesFixture.h"

#include "datafiles/ui/frmNajdiStrav.h"
#include "testsupport/GuiTestHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>

using namespace trv;
using test::child;

namespace {

class frmNajdiStravTest : public test::DataFilesFixture {};

} // namespace

TEST_F(frmNajdiStravTest, ListsAFileOncePerMatchingLineAndCountsThem) {
    writeData("150121_001_01_1.txt", "11100001\r\n22050002\r\n 11100001 \r\n");
    writeData("150122_001_01_1.txt", "11100001\r\n");
    writeData("150122_001_01_1.vyc", "10.12.2026;150122;001;1;11100001;100;01\r\n");
    frmNajdiStrav w(*state, prompts);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vyhledání stravenky"));
    auto* code = child<QLineEdit>(&w, "txtCode");
    auto* files = child<QListView>(&w, "lstFiles");
    auto* count = child<QLabel>(&w, "lblCount");

    QTest::keyClicks(code, QStringLiteral("11100001"));
    QTest::keyClick(code, Qt::Key_Return); // Enter runs the search
    EXPECT_EQ(qobject_cast<QStringListModel*>(files->model())->stringList(),
              strings({"150121_001_01_1.txt", "150121_001_01_1.txt", "150122_001_01_1.txt"}));
    EXPECT_EQ(count->text(), QStringLiteral("Počet výskytů: 3"));

    // A second search starts from an empty list.
    code->setText(QStringLiteral("99999999"));
    child<QPushButton>(&w, "cmdNajdi")->click();
    EXPECT_EQ(files->model()->rowCount(), 0);
    EXPECT_EQ(count->text(), QStringLiteral("Stravenka nebyla nalezena."));
    EXPECT_TRUE(prompts.texts().isEmpty());
}

TEST_F(frmNajdiStravTest, AMissingFolderIsReported) {
    state->gDatovyAdresar = home / "chybi";
    frmNajdiStrav w(*state, prompts);
    QTest::keyClicks(child<QLineEdit>(&w, "txtCode"), QStringLiteral("1"));
    child<QPushButton>(&w, "cmdNajdi")->click();
    ASSERT_EQ(prompts.records().size(), size_t(1));
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("chybi")));
}

TEST_F(frmNajdiStravTest, AnUnreadableFileIsNamedAfterTheHitsOfTheOthers) {
    writeData("150122_001_01_1.txt", "11100001\r\n");
    std::filesystem::create_symlink("/proc/self/mem", data / "150121_001_01_1.txt");
    frmNajdiStrav w(*state, prompts);
    QTest::keyClicks(child<QLineEdit>(&w, "txtCode"), QStringLiteral("11100001"));
    child<QPushButton>(&w, "cmdNajdi")->click();
    EXPECT_EQ(child<QLabel>(&w, "lblCount")->text(), QStringLiteral("Počet výskytů: 1"));
    ASSERT_EQ(prompts.records().size(), size_t(1));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("150121_001_01_1.txt")));
}
