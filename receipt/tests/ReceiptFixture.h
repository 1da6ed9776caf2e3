#pragma once

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/tests/DefinedType.h"
#include "platform/Clock.h"
#include "platform/ProfileFile.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"
#include "receipt/ReceiptHost.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace trv::test {

// A program folder of its own with a configuration (data folder "data", daily safe-bag folder "densfb", the
// reader's port), the state over it with an empty voucher-type collection, scripted prompts, the day
// 9 December 2024 and a main window that only records what it is asked to do.
class ReceiptFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        folder = TextFiles::toPath(m_dir.path());
        dataFolder = folder / "data";
        std::filesystem::create_directories(dataFolder);
        state = AppState(folder);
        setConfig(QStringLiteral("Data"), QStringLiteral("Dir"), QStringLiteral("data"));
        setConfig(QStringLiteral("Data"), QStringLiteral("DirDenSFB"), QStringLiteral("densfb"));
        const QStringList comm{QStringLiteral("Port=COM1"),      QStringLiteral("HShaking=None"),
                               QStringLiteral("BaudRate=38400"), QStringLiteral("Data bits=8"),
                               QStringLiteral("Stop bits=1"),    QStringLiteral("Parity=None")};
        for (const QString& entry : comm)
            setConfig(QStringLiteral("Comm"), entry.section(u'=', 0, 0), entry.section(u'=', 1));
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
    }

    void setConfig(const QString& section, const QString& key, const QString& value) {
        ASSERT_TRUE(ProfileFile::write(state.config.gIniSoubor(), section, key, value).ok());
    }

    void writeLanguageFile(const QString& text) {
        ASSERT_TRUE(TextFiles::writeAll(state.config.gJazykovySoubor(), text, TextEncoding::Utf8).ok());
    }

    // A type of the receipt's collection, with the layout defaults of the definition file where a test does
    // not set them.
    std::shared_ptr<CStrav> addType(const QString& name, qint32 delka, qint32 delka2,
                                    const std::function<void(CStrav&)>& configure = {}) {
        auto t = makeDefinedType(name, delka, delka2, configure);
        t->PoradiSpolecnosti = static_cast<qint16>(state.gColStrav->count() + 1);
        EXPECT_TRUE(state.gColStrav->Add(t).ok());
        return t;
    }

    // The booked codes of every type, in collection order, each as "code/read kind".
    QStringList booked() const {
        QStringList codes;
        for (const auto& t : *state.gColStrav) {
            for (const auto& code : *t->Polozky)
                codes.append(code->Kod + u'/' + QString::number(code->TypNacteni));
        }
        return codes;
    }

    void writeData(const QString& name, const QString& text) {
        ASSERT_TRUE(TextFiles::writeAll(dataFolder / name.toStdU16String(), text).ok());
    }

    std::optional<QString> readData(const QString& name) const {
        const auto text = TextFiles::readAll(dataFolder / name.toStdU16String());
        if (!text.ok())
            return std::nullopt;
        return text.value().text;
    }

    QTemporaryDir m_dir;
    std::filesystem::path folder;
    std::filesystem::path dataFolder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2024, 12, 9), QTime(10, 30))};
    RecordingReceiptHost host;
};

} // namespace trv::test
