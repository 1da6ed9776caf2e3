#include "core/DocumentNumbering.h"

#include "core/AppState.h"
#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

namespace {

class DocumentNumberingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        state = AppState(TextFiles::toPath(m_dir.path()));
    }

    QString stored(const QString& key) const {
        return ProfileFile::read(state.config.gIniSoubor(), QStringLiteral("Data"), key, QStringLiteral("<chybí>"));
    }
    void store(const QString& key, const QString& value) {
        ASSERT_TRUE(state.config.zapis(QStringLiteral("Data"), key, value).ok());
    }

    QTemporaryDir m_dir;
    AppState state;
};

} // namespace

TEST(DocumentNumbering, ZvysCislo) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("150121001_7"), QStringLiteral("150121001_8")},
        {QStringLiteral("150121001_9"), QStringLiteral("150121001_10")}, // widened: _0 would name an old document
        {QStringLiteral("ABC"), QStringLiteral("ABC")},
        {QStringLiteral("0099"), QStringLiteral("0100")},
        {QStringLiteral("X_0099"), QStringLiteral("X_0100")},
        {QStringLiteral("999"), QStringLiteral("1000")},
        {QStringLiteral("A12B999"), QStringLiteral("A12B1000")},
        {QStringLiteral("10000001"), QStringLiteral("10000002")},
        {QStringLiteral("X_2147483647"), QStringLiteral("X_2147483648")},
        {QStringLiteral("99999999999999999999"), QStringLiteral("100000000000000000000")},
        {QStringLiteral("X_"), QStringLiteral("X_")},
        {QString(), QString()},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(ZvysCislo(name), expected);
    }
}

TEST(DocumentNumbering, SnizCislo) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("150121001_8"), QStringLiteral("150121001_7")},
        {QStringLiteral("X_10"), QStringLiteral("X_09")},
        {QStringLiteral("X_1000"), QStringLiteral("X_0999")},
        {QStringLiteral("10000001"), QStringLiteral("10000000")}, // digits only: stepped like any number
        {QStringLiteral("X_00"), QStringLiteral("X_00")},         // no number below the first
        {QStringLiteral("0"), QStringLiteral("0")},
        {QStringLiteral("X_1"), QStringLiteral("X_0")},
        {QStringLiteral("ABC"), QStringLiteral("ABC")},
        {QString(), QString()},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(SnizCislo(name), expected);
        if (name != expected) {
            EXPECT_EQ(ZvysCislo(expected), name); // stepping back undoes the step forward
        }
    }
}

TEST_F(DocumentNumberingTest, KeyOfTheDocumentKind) {
    struct Case {
        bool dobropis, dovolena, darkove, uni;
        QString key;
        QString defaultName;
    };
    const std::vector<Case> cases = {
        {false, false, false, false, QStringLiteral("LastFile"), QStringLiteral("10000001")},
        {true, false, false, false, QStringLiteral("LastDobr"), QStringLiteral("10000001")},
        {true, true, true, true, QStringLiteral("LastDobr"), QStringLiteral("10000001")},
        {false, true, true, false, QStringLiteral("LastDovolena"), QStringLiteral("50000001")},
        {false, false, true, true, QStringLiteral("LastDarkove"), QStringLiteral("60000001")},
        {false, false, false, true, QStringLiteral("LastUni"), QStringLiteral("70000001")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        state.gTypDobropis = c.dobropis;
        state.gTypDovolena = c.dovolena;
        state.gTypDarkove = c.darkove;
        state.gTypUni = c.uni;
        const DruhDokladu kind = druhDokladu(state);
        EXPECT_EQ(kind.key, c.key);
        EXPECT_EQ(kind.defaultName, c.defaultName);
        ASSERT_TRUE(UlozPosledniSoubor(state, QStringLiteral("150121001_7.txt")).ok());
        EXPECT_EQ(stored(c.key), QStringLiteral("150121001_7"));
        ASSERT_TRUE(state.config.zapis(QStringLiteral("Data"), c.key, QString()).ok());
    }
}

TEST_F(DocumentNumberingTest, UlozPosledniSoubor) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("150121001_7.txt"), QStringLiteral("150121001_7")},
        {QStringLiteral("150121_SM1_op.2.txt"), QStringLiteral("150121_SM1_op")},
        {QStringLiteral("150121001_8"), QStringLiteral("150121001_8")},
        {QStringLiteral("/data/v.1/150121001_9.txt"), QStringLiteral("150121001_9")},
        {QStringLiteral("C:\\data\\150121002_1.txt"), QStringLiteral("150121002_1")},
    };
    for (const auto& [fileName, expected] : cases) {
        SCOPED_TRACE(fileName.toStdString());
        ASSERT_TRUE(UlozPosledniSoubor(state, fileName).ok());
        EXPECT_EQ(stored(QStringLiteral("LastFile")), expected);
    }
    const Status empty = UlozPosledniSoubor(state, QStringLiteral(".txt"));
    EXPECT_FALSE(empty.ok());
    EXPECT_EQ(stored(QStringLiteral("LastFile")), QStringLiteral("150121002_1"));
}

TEST_F(DocumentNumberingTest, VratPosledniSoubor) {
    store(QStringLiteral("LastFile"), QStringLiteral("150121001_8"));
    ASSERT_TRUE(VratPosledniSoubor(state).ok());
    EXPECT_EQ(stored(QStringLiteral("LastFile")), QStringLiteral("150121001_7"));

    state.gTypDovolena = true;
    store(QStringLiteral("LastDovolena"), QStringLiteral("X_10"));
    ASSERT_TRUE(VratPosledniSoubor(state).ok());
    EXPECT_EQ(stored(QStringLiteral("LastDovolena")), QStringLiteral("X_09"));
    store(QStringLiteral("LastDovolena"), QStringLiteral("X_00"));
    ASSERT_TRUE(VratPosledniSoubor(state).ok());
    EXPECT_EQ(stored(QStringLiteral("LastDovolena")), QStringLiteral("X_00"));
    EXPECT_EQ(stored(QStringLiteral("LastFile")), QStringLiteral("150121001_7"));

    // A missing key has no number to give back: its default is written unchanged, never below the first number.
    state.gTypDovolena = false;
    state.gTypUni = true;
    ASSERT_TRUE(VratPosledniSoubor(state).ok());
    EXPECT_EQ(stored(QStringLiteral("LastUni")), QStringLiteral("70000001"));
}

TEST_F(DocumentNumberingTest, ConfigurationThatCannotBeWritten) {
    AppState elsewhere(TextFiles::toPath(m_dir.path()) / "chybi" / "slozka");
    const Status saved = UlozPosledniSoubor(elsewhere, QStringLiteral("150121001_7.txt"));
    ASSERT_FALSE(saved.ok());
    EXPECT_TRUE(saved.message().contains(QStringLiteral("TRV7300.ini")));
    EXPECT_FALSE(VratPosledniSoubor(elsewhere).ok());
}
