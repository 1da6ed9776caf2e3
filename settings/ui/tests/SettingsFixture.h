#pragma once

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace trv::test {

// A program folder of its own with the program's Czech language file, the state over it, scripted prompts
// and a fixed day.
class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        folder = TextFiles::toPath(m_dir.path());
        state = AppState(folder);
        ASSERT_TRUE(QFile::copy(QStringLiteral(TRV_SAMPLE_LANG), TextFiles::toQString(state.config.gJazykovySoubor())));
    }

    void setConfig(const QString& section, const QString& key, const QString& value) {
        ASSERT_TRUE(ProfileFile::write(state.config.gIniSoubor(), section, key, value).ok());
    }
    // The raw bytes of the configuration file, as another program would read it.
    QByteArray configBytes() const {
        const Result<QByteArray> bytes = TextFiles::readBytes(state.config.gIniSoubor());
        return bytes.ok() ? bytes.value() : QByteArray();
    }
    void writeConfig(const QString& text) { ASSERT_TRUE(TextFiles::writeAll(state.config.gIniSoubor(), text).ok()); }
    QString text(const char* section, const char* key) const {
        return state.config.DejText(QLatin1String(section), QLatin1String(key));
    }
    std::filesystem::path makeFolder(const char* name) {
        std::filesystem::create_directories(folder / name);
        return folder / name;
    }

    QTemporaryDir m_dir;
    std::filesystem::path folder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2024, 12, 9), QTime(10, 30))};
};

} // namespace trv::test
