#pragma once

#include "closing/ReceiptInfo.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The language texts of the closing windows; the window tests point here from their own folder.
#ifndef CLOSING_LANGUAGE_FILE
#define CLOSING_LANGUAGE_FILE TRV_TEST_DATA "/langCS.ini"
#endif

namespace trv::test {

// An installation of its own (configuration, language texts, data, export, safe-bag and AS400 folders), the state
// over it, scripted prompts, a printer that keeps its documents, a fixed day, and a receipt of three companies:
//  - "Cheque Dejeuner" (22-character codes, value in characters 13-17): 55, 100, 55 and the first code again,
//    plus two NOREAD readings (the NOREAD text is booked to the first type);
//  - "Sodexo Pass" (10 characters, value in tenths in characters 7-10): 100, 55,5, 50 and the first code again;
//  - "Ticket Restaurant Card" (12 characters): no codes.
struct ClosingEnv {
    ClosingEnv() {
        EXPECT_TRUE(dir.isValid());
        folder = TextFiles::toPath(dir.path());
        for (const char* sub : {"data", "export", "sfb", "as400", "sodexo"})
            std::filesystem::create_directory(folder / sub);
        state = AppState(folder);
        EXPECT_TRUE(TextFiles::copy(TextFiles::toPath(QDir::cleanPath(QStringLiteral(CLOSING_LANGUAGE_FILE))),
                                    folder / "langCS.ini", true)
                        .ok());
        writeConfig({});
        // The same three types as definitions: the day totals read the day files with types of their own.
        EXPECT_TRUE(TextFiles::writeAll(folder / "TypStrav.ini",
                                        QStringLiteral("[TYPY]\r\nPocet=3\r\n"
                                                       "[TYP1]\r\nNazev=Cheque Dejeuner\r\nDelka=22\r\nPozCastka=13\r\n"
                                                       "DelkaCastka=5\r\nKoefCastka=1\r\nKodTypu=1\r\n"
                                                       "[TYP2]\r\nNazev=Sodexo Pass\r\nDelka=10\r\nPozCastka=7\r\n"
                                                       "DelkaCastka=4\r\nKoefCastka=-10\r\nKodTypu=2\r\n"
                                                       "[TYP3]\r\nNazev=Ticket Restaurant Card\r\nDelka=12\r\n"
                                                       "PozCastka=9\r\nDelkaCastka=4\r\nKoefCastka=1\r\nKodTypu=3\r\n"))
                        .ok());
        types = std::make_shared<CColStrav>(state, prompts, clock);
        state.gColStrav = types;
        state.gDirAS400 = folder / "as400";

        che = addType(QStringLiteral("Cheque Dejeuner"), 22, [](CStrav& t) {
            t.PozCastka = 13;
            t.DelkaCastka = 5;
            t.KoefCastka = 1;
            t.kodTypu = 1;
        });
        sod = addType(QStringLiteral("Sodexo Pass"), 10, [this](CStrav& t) {
            t.PozCastka = 7;
            t.DelkaCastka = 4;
            t.KoefCastka = -10;
            t.kodTypu = 2;
            t.Export = 1;
            t.ExpTyp = QStringLiteral("sodexho");
            t.Cesta = TextFiles::toQString(folder / "sodexo");
            t.Pripona = QStringLiteral("sod");
        });
        tic = addType(QStringLiteral("Ticket Restaurant Card"), 12, [](CStrav& t) {
            t.PozCastka = 9;
            t.DelkaCastka = 4;
            t.KoefCastka = 1;
            t.kodTypu = 3;
        });

        book(che, kChe55a);
        book(che, QStringLiteral("NOREAD"));
        book(che, kChe100, 2);
        book(che, kChe55b);
        book(che, kChe55a);
        book(che, QStringLiteral("NOREAD"));
        book(sod, kSod100);
        book(sod, kSod55_5);
        book(sod, kSod50);
        book(sod, kSod100);

        receipt.gDatumPrijmu = QStringLiteral("260314");
        receipt.gSM = QStringLiteral("042");
        receipt.gOperator = QStringLiteral("Novák");
        receipt.gDepo = QStringLiteral("D07");
        receipt.gIdentObalky = QStringLiteral("OB-2026-0001");
        receipt.gIdentFA = QStringLiteral("FA-77");
        receipt.gDatumOdvodu = QDate(2026, 3, 16);
        state.gFirmaHlavicka = QStringLiteral("Sběrna poukázek, Dlouhá 12, Praha");
    }

    // The configuration: the folders of the installation, ";" as the statement separator, then `extra` lines.
    void writeConfig(const QString& extra) {
        const QString ini =
            QStringLiteral("[Data]\r\nDir=%1\r\nExpDir=%2\r\nDirSFB=%3\r\nDirAS400=%4\r\n"
                           "ExpTxtSeparator=;\r\nLastFile=260314001_0005\r\n%5")
                .arg(TextFiles::toQString(folder / "data"), TextFiles::toQString(folder / "export"),
                     TextFiles::toQString(folder / "sfb"), TextFiles::toQString(folder / "as400"), extra);
        EXPECT_TRUE(TextFiles::writeAll(folder / "TRV7300.ini", ini).ok());
    }

    std::shared_ptr<CStrav> addType(const QString& name, qint32 delka, const std::function<void(CStrav&)>& configure) {
        auto t = std::make_shared<CStrav>();
        t->Nazev = name;
        t->Delka = delka;
        t->PoziceRC = -1;
        t->ObsahujeRC = -1;
        t->delka1PoziceRC1 = t->delka2PoziceRC1 = t->delka1PoziceRC2 = t->delka2PoziceRC2 = -1;
        t->delka1PoziceRC3 = t->delka2PoziceRC3 = -1;
        t->ObsahujeRC2 = t->ObsahujeRC3 = -1;
        configure(*t);
        t->PoradiSpolecnosti = static_cast<qint16>(types->count() + 1);
        EXPECT_TRUE(types->Add(t).ok());
        return t;
    }

    void book(const std::shared_ptr<CStrav>& t, const QString& kod, qint32 kind = 1) {
        auto code = std::make_shared<CPolozka>();
        code->Kod = kod;
        code->TypNacteni = kind;
        code->setTypS(t);
        t->Polozky->Add(code);
    }

    QStringList codesOf(const std::shared_ptr<CStrav>& t) const {
        QStringList codes;
        for (const auto& c : *t->Polozky)
            codes.append(c->Kod);
        return codes;
    }

    std::filesystem::path dataFile(const QString& name) const { return folder / "data" / name.toStdU16String(); }
    QByteArray bytes(const std::filesystem::path& file) const {
        const auto read = TextFiles::readBytes(file);
        return read.ok() ? read.value() : QByteArray("<missing>");
    }
    // The text as it is stored: Windows-1250, CR LF.
    static QByteArray stored(const QString& text) { return encodeText(text, TextEncoding::Windows1250); }

    static inline const QString kChe55a = QStringLiteral("0123456789010005500001");
    static inline const QString kChe100 = QStringLiteral("0987654321090010000002");
    static inline const QString kChe55b = QStringLiteral("0555555555550005500003");
    static inline const QString kSod100 = QStringLiteral("1234561000");
    static inline const QString kSod55_5 = QStringLiteral("1234570555");
    static inline const QString kSod50 = QStringLiteral("1234580500");

    QTemporaryDir dir;
    std::filesystem::path folder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(16, 45, 30))};
    Printer printer;
    ReceiptInfo receipt;
    std::shared_ptr<CColStrav> types;
    std::shared_ptr<CStrav> che;
    std::shared_ptr<CStrav> sod;
    std::shared_ptr<CStrav> tic;
};

class ClosingTest : public ::testing::Test {
protected:
    ClosingEnv env;
};

} // namespace trv::test
