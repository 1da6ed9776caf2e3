#pragma once

// The sample's language file; a test of another folder names it from its own data folder first.
#ifndef SUMMARIES_LANGUAGE_FILE
#define SUMMARIES_LANGUAGE_FILE TRV_TEST_DATA "/../../../sample/langCS.ini"
#endif
#include "summaries/tests/SummariesFixture.h"

#include "platform/PrintDocument.h"
#include "platform/ui/PrintRenderer.h"
#include "reports/SmReports.h"

#include <QProcess>

namespace trv::test {

// The summaries' installation with commission rates (Alfa 3 % and VAT 21 %, Beta 5 % and 21 %, Gama 0 %), an SM
// list whose last entry has no comma, and a small period of January 2024:
//  - 240105_101_NOV_1.vyc: Alfa 100, Alfa 100, Beta 50 (one line with the value written with a decimal comma);
//  - 240110_102_ABC_1.vyc: Gama 75,50, Alfa 200;
//  - 240115_101_NOV_2.vyc: Beta 50;
//  - 240201_101_NOV_1.vyc: outside the period.
struct ReportsEnv : SummariesEnv {
    ReportsEnv() {
        std::filesystem::create_directory(folder / "uct");
        setConfig({});
        EXPECT_TRUE(TextFiles::writeAll(
                        folder / "TypStrav.ini",
                        QStringLiteral(
                            "[TYPY]\r\nPocet=3\r\n"
                            "[TYP1]\r\nNazev=Alfa Stravenka\r\nDelka=10\r\nPozCastka=1\r\nDelkaCastka=3\r\n"
                            "KoefCastka=1\r\nRozlisovaciCislo=7\r\nPoziceRC=10\r\nObsahujeRC=1\r\nKodTypu=1\r\n"
                            "Provize=3\r\nDPH=21\r\n"
                            "[TYP2]\r\nNazev=Beta Poukazka\r\nDelka=10\r\nPozCastka=1\r\nDelkaCastka=3\r\n"
                            "KoefCastka=1\r\nRozlisovaciCislo=8\r\nPoziceRC=10\r\nObsahujeRC=1\r\nKodTypu=2\r\n"
                            "Provize=5\r\nDPH=21\r\n"
                            "[TYP3]\r\nNazev=Gama Jidlo\r\nDelka=12\r\nPozCastka=1\r\nDelkaCastka=2\r\n"
                            "TabulkaHodnot=hodnoty_gama.ini\r\nKodTypu=3\r\nProvize=0\r\nDPH=0\r\n"))
                        .ok());
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        EXPECT_TRUE(state.gColStrav->NactiINI().ok());
        state.sw.gFVycetky = true;
        write(QStringLiteral("240105_101_NOV_1.vyc"),
              {line("240105", "101", "1", alfa(100, 1), "100.00"), line("240105", "101", "1", alfa(100, 2), "100,00"),
               line("240105", "101", "2", beta(50, 1), "50.00")});
        write(QStringLiteral("240110_102_ABC_1.vyc"),
              {line("240110", "102", "3", gama("01", 1), "75.50"), QString(),
               line("240110", "102", "1", alfa(200, 3), "200.00")});
        write(QStringLiteral("240115_101_NOV_2.vyc"), {line("240115", "101", "2", beta(50, 2), "50.00")});
        write(QStringLiteral("240201_101_NOV_1.vyc"), {line("240201", "101", "1", alfa(100, 9), "100.00")});
    }

    void setConfig(const QString& extra) {
        writeConfig(QStringLiteral("SM=101,102,103\r\nDelkaSM=3\r\nUCTDir=%1\r\n").arg(TextFiles::toQString(folder / "uct")) +
                    extra);
    }

    static QString line(const char* date, const char* sm, const char* type, const QString& code, const char* value) {
        return QStringLiteral("%1;%1;%2;%3;%4;%5;NOV")
            .arg(QString::fromLatin1(date), QString::fromLatin1(sm), QString::fromLatin1(type), code,
                 QString::fromLatin1(value));
    }

    SmReportChoice choice() const {
        SmReportChoice c;
        c.dt1 = QDate(2024, 1, 1);
        c.dt2 = QDate(2024, 1, 31);
        c.dtDek = QDate(2024, 2, 5);
        c.typOd = QStringLiteral("1");
        c.typDo = QStringLiteral("3");
        return c;
    }
};

// Three issuers: the types of code lengths 20 (5 %), 22 (3 %) and, without one of 28, 32 (2 %), all 21 % VAT.
inline void threeIssuerTypes(ReportsEnv& env) {
    QString ini = QStringLiteral("[TYPY]\r\nPocet=3\r\n");
    const int lengths[] = {20, 22, 32};
    const int rates[] = {5, 3, 2};
    for (int i = 0; i < 3; ++i)
        ini += QStringLiteral("[TYP%1]\r\nNazev=T%1\r\nDelka=%2\r\nPozCastka=1\r\nDelkaCastka=3\r\nKoefCastka=1\r\n"
                              "KodTypu=%1\r\nProvize=%3\r\nDPH=21\r\n")
                   .arg(i + 1)
                   .arg(lengths[i])
                   .arg(rates[i]);
    EXPECT_TRUE(TextFiles::writeAll(env.folder / "TypStrav.ini", ini).ok());
    env.state.gColStrav = std::make_shared<CColStrav>(env.state, env.prompts, env.clock);
    EXPECT_TRUE(env.state.gColStrav->NactiINI().ok());
}

// The runs of a printed document as "column size emphasis text": the character column (from 1) its position
// gives in its own font, the font size, B for the body emphasis and U for the heading emphasis.
inline QStringList runsOf(const PrintDocument& doc) {
    QStringList out;
    for (const PrintPage& page : doc.pages)
        for (const PrintRun& run : page.runs)
            out.append(QStringLiteral("%1 %2 %3%4 %5")
                           .arg(run.x / PrintMetrics::charWidth(run.font) + 1)
                           .arg(run.font.size)
                           .arg(QString(QChar(run.font.bold ? u'B' : u'-')))
                           .arg(QString(QChar(run.font.underline ? u'U' : u'-')))
                           .arg(run.text));
    return out;
}

// The document as a PDF read back with pdftotext: every printed line is there whole (blanks collapsed).
inline void expectWholeInPdf(const PrintDocument& doc, const std::filesystem::path& pdf) {
    ASSERT_TRUE(PrintRenderer::renderToPdf(doc, pdf).ok());
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                TextFiles::toQString(pdf), QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).simplified();
    for (const QString& line : doc.textLines()) {
        // pdftotext writes the no-break space of the amounts as a blank.
        const QString expected = QString(line).replace(QChar(0x00A0), u' ').simplified();
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\nmissing from\n" << text.toStdString();
    }
}

} // namespace trv::test
