#pragma once

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/tests/DefinedType.h"
#include "platform/Clock.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace trv::test {

// A program folder of its own, the state over it, scripted prompts, a fixed day and an empty voucher-type
// collection.
class VoucherFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        folder = TextFiles::toPath(m_dir.path());
        state = AppState(folder);
        types = std::make_unique<CColStrav>(state, prompts, clock);
    }

    // A type added to the collection, with the layout defaults of the definition file where a test does
    // not set them.
    std::shared_ptr<CStrav> addType(const QString& name, qint32 delka, qint32 delka2,
                                    const std::function<void(CStrav&)>& configure = {})
    {
        auto t = makeDefinedType(name, delka, delka2, configure);
        t->PoradiSpolecnosti = static_cast<qint16>(types->count() + 1);
        EXPECT_TRUE(types->Add(t).ok());
        return t;
    }

    // A code booked to the type without any check, as the booking does.
    std::shared_ptr<CPolozka> book(const std::shared_ptr<CStrav>& t, const QString& kod)
    {
        auto code = std::make_shared<CPolozka>();
        code->Kod = kod;
        code->setTypS(t);
        t->Polozky->Add(code);
        return code;
    }

    void writeFile(const QString& name, const QString& text, TextEncoding enc = TextEncoding::Windows1250)
    {
        ASSERT_TRUE(TextFiles::writeAll(folder / name.toStdU16String(), text, enc).ok());
    }

    QString readFile(const QString& name) const
    {
        const auto text = TextFiles::readAll(folder / name.toStdU16String());
        return text.ok() ? text.value().text : QString();
    }

    QTemporaryDir m_dir;
    std::filesystem::path folder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(10, 30))};
    std::unique_ptr<CColStrav> types;
};

} // namespace trv::test
