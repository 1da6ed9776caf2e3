#pragma once

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/ReaderControl.h"
#include "platform/Clock.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodState.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef SUMMARIES_LANGUAGE_FILE
#define SUMMARIES_LANGUAGE_FILE TRV_TEST_DATA "/langCS.ini"
#endif

namespace trv::test {

inline QStringList L(const std::vector<const char*>& texts) {
    QStringList list;
    for (const char* t : texts)
        list.append(QString::fromUtf8(t));
    return list;
}

// An installation of its own: configuration (";" as the statement separator, export and safe-bag folders),
// the summaries' language texts, three voucher types and an empty data folder; the state over it with
// recognition by the whole code, scripted prompts, a fixed day and a reader that only counts its stops.
//  - "Alfa Stravenka": 10 characters ending in 7, value in crowns in characters 1-3 (alfa(50, n));
//  - "Beta Poukazka": 10 characters ending in 8, value in crowns in characters 1-3 (beta(100, n));
//  - "Gama Jidlo": 12 characters, value from the table by characters 1-2 (gama("01", n) is 75,50).
struct SummariesEnv {
    SummariesEnv() {
        EXPECT_TRUE(dir.isValid());
        folder = TextFiles::toPath(dir.path());
        for (const char* sub : {"data", "export", "sfb"})
            std::filesystem::create_directory(folder / sub);
        state = AppState(folder);
        EXPECT_TRUE(TextFiles::copy(TextFiles::toPath(QDir::cleanPath(QStringLiteral(SUMMARIES_LANGUAGE_FILE))),
                                    folder / "langCS.ini", true)
                        .ok());
        writeConfig({});
        writeTypes(QStringLiteral("TypStrav.ini"), false);
        EXPECT_TRUE(
            TextFiles::writeAll(folder / "hodnoty_gama.ini",
                                QStringLiteral("[Hodnoty]\r\nPocet=2\r\nHodnota1=01:75,50\r\nHodnota2=02:100\r\n"))
                .ok());
        state.gDatovyAdresar = folder / "data";
        state.sw.gFRozpoznaniKodem = true;
        state.gAutoDupl = QStringLiteral("True");
        state.gFirmaHlavicka = QStringLiteral("Sběrna poukázek, Dlouhá 12");
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        EXPECT_TRUE(state.gColStrav->NactiINI().ok());
    }

    void writeConfig(const QString& extra, const QString& separator = QStringLiteral(";")) {
        const QString ini = QStringLiteral("[Data]\r\nDir=%1\r\nExpDir=%2\r\nDirSFB=%3\r\nExpTxtSeparator=%4\r\n%5")
                                .arg(TextFiles::toQString(folder / "data"), TextFiles::toQString(folder / "export"),
                                     TextFiles::toQString(folder / "sfb"), separator, extra);
        EXPECT_TRUE(TextFiles::writeAll(folder / "TRV7300.ini", ini).ok());
    }

    // The three types; with `groups` each carries a group (Alfa and Gama group 1, Beta group 2).
    void writeTypes(const QString& file, bool groups) {
        const QString ini =
            QStringLiteral("[TYPY]\r\nPocet=3\r\n"
                           "[TYP1]\r\nNazev=Alfa Stravenka\r\nDelka=10\r\nPozCastka=1\r\nDelkaCastka=3\r\n"
                           "KoefCastka=1\r\nRozlisovaciCislo=7\r\nPoziceRC=10\r\nObsahujeRC=1\r\nKodTypu=1\r\n%1"
                           "[TYP2]\r\nNazev=Beta Poukazka\r\nDelka=10\r\nPozCastka=1\r\nDelkaCastka=3\r\n"
                           "KoefCastka=1\r\nRozlisovaciCislo=8\r\nPoziceRC=10\r\nObsahujeRC=1\r\nKodTypu=2\r\n%2"
                           "[TYP3]\r\nNazev=Gama Jidlo\r\nDelka=12\r\nPozCastka=1\r\nDelkaCastka=2\r\n"
                           "TabulkaHodnot=hodnoty_gama.ini\r\nKodTypu=3\r\n%3")
                .arg(groups ? QStringLiteral("GroupType=1\r\n") : QString(),
                     groups ? QStringLiteral("GroupType=2\r\n") : QString(),
                     groups ? QStringLiteral("GroupType=1\r\n") : QString());
        EXPECT_TRUE(TextFiles::writeAll(folder / file.toStdU16String(), ini).ok());
    }

    static QString alfa(int crowns, int n) {
        return QStringLiteral("%1%2").arg(crowns, 3, 10, QChar(u'0')).arg(n, 6, 10, QChar(u'0')) + u'7';
    }
    static QString beta(int crowns, int n) {
        return QStringLiteral("%1%2").arg(crowns, 3, 10, QChar(u'0')).arg(n, 6, 10, QChar(u'0')) + u'8';
    }
    static QString gama(const char* key, int n) {
        return QString::fromLatin1(key) + QStringLiteral("%1").arg(n, 10, 10, QChar(u'0'));
    }

    // A file of the data folder (or another folder), CR LF after each line.
    void write(const QString& name, const QStringList& lines, const char* sub = "data") {
        EXPECT_TRUE(TextFiles::writeLines(folder / sub / name.toStdU16String(), lines).ok());
    }
    // Statement records of the default layout for the codes: today, receipt date, SM, type, code, value, operator.
    static QStringList records(const QString& date, const QString& sm, const QString& oper, const QStringList& codes) {
        QStringList lines;
        for (const QString& c : codes)
            lines.append(QStringLiteral("%1;%1;%2;1;%3;0,00;%4").arg(date, sm, c, oper));
        return lines;
    }

    QByteArray bytes(const std::filesystem::path& file) const {
        const auto read = TextFiles::readBytes(file);
        return read.ok() ? read.value() : QByteArray("<missing>");
    }

    PeriodServices services() { return {state, prompts, clock, reader}; }

    QTemporaryDir dir;
    std::filesystem::path folder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2015, 1, 21), QTime(14, 30, 5))};
    NullReaderControl reader;
};

} // namespace trv::test
