#include "settings/ui/frmMaska.h"
#include "settings/ui/frmMaskaNova.h"
#include "settings/ui/frmMaskaUpr.h"

#include "settings/ui/tests/SettingsFixture.h"
#include "testsupport/GuiTestHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace trv;
using test::child;
using test::onNextModal;

namespace {

class frmMaskaTest : public test::SettingsFixture {
protected:
    QByteArray maskFile(const char* name) const {
        const Result<QByteArray> b = TextFiles::readBytes(folder / "maska" / name);
        return b.ok() ? b.value() : QByteArray("<missing>");
    }
    static void selectFile(QWidget* w, const QString& name) {
        auto* list = child<QListWidget>(w, "flbMaska");
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
    }
    void createMask(frmMaska& w, const QString& mask, const QString& name) {
        onNextModal([mask, name](QWidget* dialog) {
            child<QLineEdit>(dialog, "txtMaska")->setText(mask);
            child<QLineEdit>(dialog, "txtSouborM")->setText(name);
            child<QPushButton>(dialog, "btnUloz")->click();
            if (dialog->isVisible())
                child<QPushButton>(dialog, "btnVen")->click();
        });
        child<QPushButton>(&w, "btnNova")->click();
    }
};

} // namespace

TEST_F(frmMaskaTest, MasksAreStoredAsSixteenCharactersAndEditedBack) {
    frmMaska w(state.config, prompts);
    w.show();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "maska"));
    createMask(w, QStringLiteral("12345"), QStringLiteral("kratka"));
    createMask(w, QStringLiteral("12345678901234567890"), QStringLiteral("dlouha.msk"));
    createMask(w, QString(), QStringLiteral("prazdna"));
    EXPECT_EQ(maskFile("kratka.msk"), QByteArray("12345***********"));
    EXPECT_EQ(maskFile("dlouha.msk.msk"), QByteArray("1234567890123456"));
    EXPECT_EQ(maskFile("prazdna.msk"), QByteArray("****************"));
    EXPECT_EQ(child<QListWidget>(&w, "flbMaska")->count(), 3);
    EXPECT_FALSE(child<QPushButton>(&w, "btnUpravit")->isEnabled());

    selectFile(&w, QStringLiteral("kratka.msk"));
    EXPECT_EQ(child<QLabel>(&w, "lblMaska")->text(), QStringLiteral("kratka"));
    onNextModal([](QWidget* dialog) {
        auto* box = child<QLineEdit>(dialog, "txtMaska");
        EXPECT_EQ(box->text(), QStringLiteral("12345***********"));
        box->setText(QStringLiteral("99"));
        child<QPushButton>(dialog, "btnUloz")->click();
    });
    child<QPushButton>(&w, "btnUpravit")->click();
    EXPECT_EQ(maskFile("kratka.msk"), QByteArray("99**************"));
    EXPECT_TRUE(child<QLabel>(&w, "lblMaska")->text().isEmpty());

    // An existing name asks first; No keeps the file and the window.
    prompts.queueAnswer(Prompts::Answer::No);
    createMask(w, QStringLiteral("11"), QStringLiteral("kratka"));
    EXPECT_EQ(maskFile("kratka.msk"), QByteArray("99**************"));
    EXPECT_EQ(prompts.texts().back(), text("frmMaskaNova", "SoubExist"));

    selectFile(&w, QStringLiteral("prazdna.msk"));
    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(&w, "btnSmaz")->click();
    EXPECT_EQ(prompts.texts().back(), text("frmMaska", "SmazatSoub") + QStringLiteral("prazdna.msk' ?"));
    EXPECT_EQ(maskFile("prazdna.msk"), QByteArray("<missing>"));
    EXPECT_EQ(child<QListWidget>(&w, "flbMaska")->count(), 2);
}

TEST_F(frmMaskaTest, NamesThatLeadOutOfTheMaskFolderAreRefused) {
    frmMaska w(state.config, prompts);
    w.show();
    for (const char* name : {"../venku", "a/b", "a\\b", "..", "co?", "x:y"}) {
        SCOPED_TRACE(name);
        const size_t before = prompts.records().size();
        createMask(w, QStringLiteral("1"), QLatin1String(name));
        ASSERT_EQ(prompts.records().size(), before + 1);
        EXPECT_TRUE(prompts.records().back().text.startsWith(text("frmMaskaNova", "ChybaUkl")));
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "venku.msk"));
    EXPECT_EQ(child<QListWidget>(&w, "flbMaska")->count(), 0);
}

TEST_F(frmMaskaTest, AnEmptyMaskFileCannotBeEdited) {
    std::filesystem::create_directories(folder / "maska");
    ASSERT_TRUE(TextFiles::writeAll(folder / "maska" / "nic.msk", QString()).ok());
    frmMaska w(state.config, prompts);
    w.show();
    selectFile(&w, QStringLiteral("nic.msk"));
    child<QPushButton>(&w, "btnUpravit")->click();
    ASSERT_FALSE(prompts.records().empty());
    EXPECT_TRUE(prompts.records().back().text.startsWith(text("frmMaskaUpr", "ChybaNac")));
}
