#pragma once

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "exports/ExportContext.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace trv::test {

// A program folder of its own: configuration with a data, an export and a per-company export folder, the
// program's Czech texts, and five voucher types whose value (in hundredths) stands in the first five digits of
// the code; each type is told apart by its length.
class ExportsFixture : public ::testing::Test {
protected:
    static constexpr const char* kTypes =
        "[TYPY]\r\nPocet=5\r\n"
        "[TYP1]\r\nNazev=Sodexo Pass\r\nDelka=10\r\nPozCastka=1\r\nDelkaCastka=5\r\nKoefCastka=-100\r\n"
        "CBAUcetMD=31101\r\n"
        "[TYP2]\r\nNazev=VasaStravovacia\r\nDelka=9\r\nPozCastka=1\r\nDelkaCastka=5\r\nKoefCastka=-100\r\n"
        "CBAUcetMD=31102\r\n"
        "[TYP3]\r\nNazev=DOXX\r\nDelka=11\r\nPozCastka=1\r\nDelkaCastka=5\r\nKoefCastka=-100\r\n"
        "CBAUcetMD=31103\r\n"
        "[TYP4]\r\nNazev=Edenred\r\nDelka=12\r\nPozCastka=1\r\nDelkaCastka=5\r\nKoefCastka=-100\r\n"
        "CBAUcetMD=31104\r\n"
        "[TYP5]\r\nNazev=SODEXO Gift\r\nDelka=7\r\nPozCastka=1\r\nDelkaCastka=5\r\nKoefCastka=-100\r\n"
        "CBAUcetMD=31105\r\n";

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        home = std::filesystem::path(tmp.path().toStdString());
        data = home / "data";
        exp = home / "exp";
        spol = home / "spol";
        for (const auto& d : {data, exp, spol})
            std::filesystem::create_directories(d);
        write(home / "TRV7300.ini", "[Data]\r\nDir=data\r\nExpDir=exp\r\nExpSpolDir=spol\r\nExpTxtSeparator=;\r\n"
                                    "ExportVycetkyPath=seznamy.exe\r\n");
        ASSERT_TRUE(QFile::copy(QDir::cleanPath(QStringLiteral(TRV_TEST_DATA "/../../../sample/langCS.ini")),
                                QString::fromStdString((home / "langCS.ini").string())));
        write(home / "TypStrav.ini", kTypes);
        state = std::make_unique<AppState>(home);
        state->gDatovyAdresar = data;
        ctx = std::make_unique<ExportContext>(ExportContext{*state, prompts, shell, clock});
    }

    // A computed period: the voucher types of the definitions with no codes yet.
    std::unique_ptr<CColStrav> newPeriod() {
        auto period = std::make_unique<CColStrav>(*state, prompts, clock);
        EXPECT_TRUE(period->NactiINI().ok());
        return period;
    }
    // A code of the type (by its length) worth `cents` hundredths; `serial` tells codes of one value apart.
    static QString code(int length, qint64 cents, int serial) {
        return QStringLiteral("%1").arg(cents, 5, 10, QLatin1Char('0')) +
               QStringLiteral("%1").arg(serial, length - 5, 10, QLatin1Char('0'));
    }
    static void book(CColStrav& period, int typeIndex, const QString& kod) {
        auto type = period.Item(typeIndex);
        auto item = std::make_shared<CPolozka>();
        item->Kod = kod;
        item->setTypS(type);
        type->Polozky->Add(item);
    }
    // `count` codes of each value (in hundredths) into the type.
    static void bookValues(CColStrav& period, int typeIndex, std::initializer_list<qint64> cents, int count = 1) {
        static int serial = 0;
        for (qint64 c : cents)
            for (int i = 0; i < count; ++i)
                book(period, typeIndex, code(period.Item(typeIndex)->Delka, c, ++serial));
    }

    static void write(const std::filesystem::path& file, const QByteArray& bytes) { test::writeFile(file, bytes); }
    static QByteArray read(const std::filesystem::path& file) { return test::readFile(file); }
    static QByteArray lines(std::initializer_list<const char*> ls) {
        QByteArray out;
        for (const char* l : ls)
            out += QByteArray(l) + "\r\n";
        return out;
    }
    QString dejText(const char* key) const {
        return state->config.DejText(QStringLiteral("frmSoucVycObd"), QString::fromLatin1(key));
    }
    QString native(const std::filesystem::path& p) const {
        return QDir::toNativeSeparators(QString::fromStdString(p.string()));
    }

    QTemporaryDir tmp;
    std::filesystem::path home, data, exp, spol;
    std::unique_ptr<AppState> state;
    ScriptedPrompts prompts;
    RecordingShell shell;
    FixedClock clock{QDateTime(QDate(2015, 1, 21), QTime(9, 5, 3))};
    std::unique_ptr<ExportContext> ctx;
};

} // namespace trv::test
