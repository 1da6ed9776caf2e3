#pragma once

#include "core/AppState.h"
#include "platform/Clock.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

// The includer names the source tree's root (its tests' data folder is a fixed number of levels below it).
#ifndef DATAFILES_SOURCE_ROOT
#define DATAFILES_SOURCE_ROOT TRV_TEST_DATA "/../../.."
#endif

namespace trv::test {

// A program folder of its own: configuration, the program's Czech texts, two voucher types valued by their code,
// and a data folder "data" with a few receipts and their statement files.
class DataFilesFixture : public ::testing::Test {
protected:
    // Two types recognised by length: Alfa (8 digits, value in digits 3-5), Beta (10 digits, value in digits 1-3).
    static constexpr const char* kTypes = "[TYPY]\r\nPocet=2\r\n"
                                          "[TYP1]\r\nNazev=Alfa\r\nDelka=8\r\nPozCastka=3\r\nDelkaCastka=3\r\n"
                                          "KoefCastka=1\r\n"
                                          "[TYP2]\r\nNazev=Beta\r\nDelka=10\r\nPozCastka=1\r\nDelkaCastka=3\r\n"
                                          "KoefCastka=1\r\n";

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        home = std::filesystem::path(tmp.path().toStdString());
        data = home / "data";
        std::filesystem::create_directories(data);
        write(home / "TRV7300.ini", "[Data]\r\nDir=data\r\nExpTxtSeparator=;\r\n[Firma]\r\nHlavicka=Firma s.r.o.\r\n");
        ASSERT_TRUE(QFile::copy(QDir::cleanPath(QStringLiteral(DATAFILES_SOURCE_ROOT "/sample/langCS.ini")),
                                QString::fromStdString((home / "langCS.ini").string())));
        write(home / "TypStrav.ini", kTypes);
        state = std::make_unique<AppState>(home);
        state->gDatovyAdresar = data;
        state->gFirmaHlavicka = QStringLiteral("Firma s.r.o.");
    }

    static QStringList strings(std::initializer_list<const char*> texts) {
        QStringList out;
        for (const char* t : texts)
            out.append(QString::fromUtf8(t));
        return out;
    }

    static void write(const std::filesystem::path& file, const QByteArray& bytes) { test::writeFile(file, bytes); }
    static QByteArray read(const std::filesystem::path& file) { return test::readFile(file); }
    void writeData(const char* name, const QByteArray& bytes) { write(data / name, bytes); }
    QByteArray readData(const char* name) const { return read(data / name); }
    bool existsData(const char* name) const { return std::filesystem::exists(data / name); }

    QTemporaryDir tmp;
    std::filesystem::path home;
    std::filesystem::path data;
    std::unique_ptr<AppState> state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3))};
};

} // namespace trv::test
