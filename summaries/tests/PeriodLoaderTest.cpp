#include "summaries/PeriodLoader.h"

#include "core/SharedHelpers.h"
#include "summaries/DaySummary.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodResult.h"
#include "summaries/tests/SummariesFixture.h"
#include "testsupport/CancellingProgress.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <iterator>
#include <system_error>

using namespace trv;
using namespace trv::test;

namespace {

const QString kNoRead = QStringLiteral("NOREAD");

PeriodChoice january() {
    PeriodChoice c;
    c.datumOd = QDate(2015, 1, 1);
    c.datumDo = QDate(2015, 1, 31);
    return c;
}

QStringList codesOf(const PeriodCollection& col, int type) {
    QStringList codes;
    for (const auto& c : col.codes->codes(type))
        codes.append(col.codes->kod(c));
    return codes;
}

// Two days of cash-desk receipts: NOREAD readings, a code read twice in one file and one read again the next day,
// a Gama code whose value the table lacks, a code of no type, and a day outside the period.
struct PeriodData : SummariesEnv {
    PeriodData() {
        write(QStringLiteral("150115001_1.txt"),
              {alfa(50, 1), kNoRead, alfa(50, 2), alfa(100, 3), QStringLiteral("  "), gama("01", 1), alfa(50, 1)});
        write(QStringLiteral("150116002_1.txt"), {beta(100, 1), alfa(50, 2), gama("03", 2), QStringLiteral("XYZ")});
        write(QStringLiteral("150201001_1.txt"), {alfa(200, 9)});
    }
};

TEST(PeriodLoaderTest, ComputationBooksDropsRepeatsAndShowsTheResult) {
    PeriodData env;
    PeriodState st;
    PeriodLoader loader(env.services());
    QString sums;
    env.state.sw.gFBalikyTyden = true;
    const Status done = loader.vypocet(st, january(), &sums);
    ASSERT_TRUE(done.ok()) << done.message().toStdString();

    EXPECT_TRUE(st.m_obdobiNacteno);
    EXPECT_EQ(st.m_datumOd, QDate(2015, 1, 1));
    EXPECT_EQ(codesOf(st.m_col, 0),
              (QStringList{SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2), SummariesEnv::alfa(100, 3)}));
    EXPECT_EQ(codesOf(st.m_col, 2), (QStringList{SummariesEnv::gama("01", 1), SummariesEnv::gama("03", 2)}));
    // The code of no type stopped the reader and was reported; the missing value once; the load went on.
    EXPECT_EQ(env.reader.stops(), 1);
    ASSERT_EQ(env.prompts.records().size(), 2u);
    EXPECT_TRUE(env.prompts.records()[0].text.contains(QStringLiteral("hodnota 03")));
    EXPECT_EQ(env.prompts.records()[1].icon, Prompts::Icon::Critical);
    EXPECT_EQ(sums, QStringLiteral("    Alfa = 200,00    Beta = 100,00    Gama = 75,50"));
    // The receipt's own collection is not touched.
    EXPECT_EQ(env.state.gColStrav->Item(1)->Polozky->count(), 0);
    // The period's codes as code objects, for the operations written against the code collections.
    naplnPolozky(st.m_col);
    const auto alfa = st.m_col.types->Item(1);
    ASSERT_EQ(alfa->Polozky->count(), 3);
    EXPECT_EQ(alfa->Polozky->Item(2)->Kod, SummariesEnv::alfa(50, 2));
    EXPECT_EQ(alfa->Polozky->Item(2)->dataFile, QStringLiteral("150115001_1.txt"));
    EXPECT_EQ(alfa->Polozky->Item(2)->TypS(), alfa);

    const QString expected = QStringLiteral("Filtr SM: 001\r\n"
                                            "Alfa Stravenka\r\n"
                                            "Hodnota     Počet              Celkem\r\n"
                                            "  50,00         2           100,00 Kč\r\n"
                                            " 100,00         1           100,00 Kč\r\n"
                                            "_____________________________________\r\n"
                                            "Celková částka:             200,00 Kč\r\n"
                                            "Celkový počet:                 3 ks\r\n"
                                            "\r\n"
                                            "Beta Poukazka\r\n"
                                            "Hodnota     Počet              Celkem\r\n"
                                            " 100,00         1           100,00 Kč\r\n"
                                            "_____________________________________\r\n"
                                            "Celková částka:             100,00 Kč\r\n"
                                            "Celkový počet:                 1 ks\r\n"
                                            "\r\n"
                                            "Gama Jidlo\r\n"
                                            "Hodnota     Počet              Celkem\r\n"
                                            "   0,00         1             0,00 Kč\r\n"
                                            "  75,50         1            75,50 Kč\r\n"
                                            "_____________________________________\r\n"
                                            "Celková částka:              75,50 Kč\r\n"
                                            "Celkový počet:                 2 ks\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "Celkem za všechny zobrazené typy stravenek:\r\n"
                                            "Celková částka:             375,50 Kč\r\n"
                                            "Celkový počet:                 6 ks\r\n");
    EXPECT_EQ(zobrazVysledek(env.state, st.m_col, st.gColStrav2, {}, QStringLiteral("001"), {}), expected);

    // One type chosen: only it, and the grand totals are its own.
    const QString beta =
        zobrazVysledek(env.state, st.m_col, st.gColStrav2, {false, QStringLiteral("Beta Poukazka")}, {}, {});
    EXPECT_FALSE(beta.contains(QStringLiteral("Alfa")));
    EXPECT_TRUE(beta.endsWith(
        QStringLiteral("Celková částka:             100,00 Kč\r\nCelkový počet:                 1 ks\r\n")));
}

// A nominal, a count or an amount as wide as its field or wider is shown whole, one blank after the field before it:
// "15000149 999 985 000,00 Kč" reads as one number.
TEST(PeriodLoaderTest, NumbersAsWideAsTheirFieldOrWiderAreShownWholeAfterABlank) {
    const struct {
        qint64 nominal;
        int codes;
        QString block; // Beta's, from its table's heading to its count
    } cases[] = {
        {9999999, 15000,
         QStringLiteral("Hodnota     Počet              Celkem\r\n"
                        "9999999,00     15000 149 999 985 000,00 Kč\r\n"
                        "_____________________________________\r\n"
                        "Celková částka:  149 999 985 000,00 Kč\r\n"
                        "Celkový počet:             15000 ks\r\n")},
        // An amount exactly as wide as its 20 characters.
        {99999999999, 1,
         QStringLiteral("Hodnota     Počet              Celkem\r\n"
                        "99999999999,00         1 99 999 999 999,00 Kč\r\n"
                        "_____________________________________\r\n"
                        "Celková částka:  99 999 999 999,00 Kč\r\n"
                        "Celkový počet:                 1 ks\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nominal);
        SummariesEnv env;
        auto col = PeriodLoader(env.services()).novaKolekce(false);
        ASSERT_TRUE(col.ok());
        StoredCodes& codes = *col.value().codes;
        const quint32 f = codes.addFile(QStringLiteral("150110_102_ABC_1.vyc"));
        const auto value = codes.valueIndex(Currency::fromInt(c.nominal));
        for (int i = 0; i < c.codes; ++i)
            codes.add(1, "9000000018", f, value);
        const QString shown =
            zobrazVysledek(env.state, col.value(), {}, {false, QStringLiteral("Beta Poukazka")}, {}, {})
                .replace(QChar(0xA0), u' ');
        EXPECT_TRUE(shown.contains(c.block)) << shown.toStdString();
    }
}

TEST(PeriodLoaderTest, AutoDuplFalseKeepsNoReadAndRepeatsAndAnEmptyPeriodShowsNoCodes) {
    PeriodData env;
    env.state.gAutoDupl = QStringLiteral("false");
    env.prompts.queueAnswer(Prompts::Answer::Ok);
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.vypocet(st, january()).ok());
    EXPECT_EQ(codesOf(st.m_col, 0).count(kNoRead), 1);
    EXPECT_EQ(codesOf(st.m_col, 0).count(SummariesEnv::alfa(50, 1)), 2);
    // NOREAD readings are never counted in the result.
    EXPECT_TRUE(zobrazVysledek(env.state, st.m_col, st.gColStrav2, {}, {}, {})
                    .contains(QStringLiteral("  50,00         4           200,00 Kč\r\n")));

    PeriodChoice none = january();
    none.datumOd = none.datumDo = QDate(2016, 1, 1);
    ASSERT_TRUE(loader.vypocet(st, none).ok());
    const QString empty = zobrazVysledek(env.state, st.m_col, st.gColStrav2, {}, {}, {});
    EXPECT_EQ(empty.count(QStringLiteral("Nebyly načteny žádné stravenky.\r\n\r\n")), 3);
    EXPECT_TRUE(empty.endsWith(QStringLiteral("Celkový počet:                 0 ks\r\n")));
}

TEST(PeriodLoaderTest, StatementFilesAreReadAtTheConfiguredSeparator) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.writeConfig({}, QStringLiteral("|"));
    env.write(QStringLiteral("150121_101_X_1.vyc"),
              {QStringLiteral("150121|150120|101|1|%1|50,00|X").arg(SummariesEnv::alfa(50, 1)),
               QStringLiteral("150121|150120|101|1"), QStringLiteral(" "),
               QStringLiteral(" 150121 | 150120 | 101 | 2 | %1 | 100,00 | X ").arg(SummariesEnv::beta(100, 1))});
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.vypocet(st, january()).ok());
    EXPECT_EQ(codesOf(st.m_col, 0), QStringList{SummariesEnv::alfa(50, 1)});
    EXPECT_EQ(codesOf(st.m_col, 1), QStringList{SummariesEnv::beta(100, 1)});

    // Without the leading date the code is the fourth field; in the depot layout the sixth.
    env.state.sw.gFVycBezData = true;
    env.write(QStringLiteral("150121_101_X_1.vyc"),
              {QStringLiteral("150120|101|1|%1|50,00|X").arg(SummariesEnv::alfa(50, 7))});
    ASSERT_TRUE(loader.vypocet(st, january()).ok());
    EXPECT_EQ(codesOf(st.m_col, 0), QStringList{SummariesEnv::alfa(50, 7)});
    env.state.sw.gFDepo = true;
    env.write(QStringLiteral("150121_101_X_1.vyc"),
              {QStringLiteral("D1|150120|OB1|101|1|%1|50,00|X").arg(SummariesEnv::alfa(50, 8))});
    ASSERT_TRUE(loader.vypocet(st, january()).ok());
    EXPECT_EQ(codesOf(st.m_col, 0), QStringList{SummariesEnv::alfa(50, 8)});
}

TEST(PeriodLoaderTest, StatementFilesAtTheDefaultBlankSeparatorWithEmptyFields) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.state.sw.gFDepo = true;
    // Without [Data] ExpTxtSeparator the fields are separated by a blank; the depot field is empty when no
    // depot was typed, and so may the last field be.
    ASSERT_TRUE(TextFiles::writeAll(env.folder / "TRV7300.ini",
                                    QStringLiteral("[Data]\r\nDir=%1\r\n").arg(TextFiles::toQString(env.folder / "data")))
                    .ok());
    env.write(QStringLiteral("150121_101_X_1.vyc"),
              {QStringLiteral(" 150120 OB1 101 1 %1 50,00 X").arg(SummariesEnv::alfa(50, 1)),
               QStringLiteral(" 150120 OB1 101 2 %1 100,00 ").arg(SummariesEnv::beta(100, 1))});
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.vypocet(st, january()).ok());
    EXPECT_EQ(codesOf(st.m_col, 0), QStringList{SummariesEnv::alfa(50, 1)});
    EXPECT_EQ(codesOf(st.m_col, 1), QStringList{SummariesEnv::beta(100, 1)});

    DaySummary day(env.services());
    ASSERT_TRUE(day.vypocet({QDate(2015, 1, 21), {}, {}}).ok());
    EXPECT_EQ(codesOf(day.kolekce(), 0), QStringList{SummariesEnv::alfa(50, 1)});
    EXPECT_EQ(codesOf(day.kolekce(), 1), QStringList{SummariesEnv::beta(100, 1)});
}

// A lone CR ends a record as CR LF and LF do, in the statement files of the period computation and of the day
// summary.
TEST(PeriodLoaderTest, EveryRecordOfAStatementFileOfLoneCrLinesCounts) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    const QStringList records =
        SummariesEnv::records(QStringLiteral("150121"), QStringLiteral("101"), QStringLiteral("X"),
                              {SummariesEnv::alfa(50, 1), SummariesEnv::beta(100, 1), SummariesEnv::alfa(50, 2)});
    ASSERT_TRUE(
        TextFiles::writeBytes(env.folder / "data" / "150121_101_X_1.vyc", (records.join(u'\r') + u'\r').toLatin1())
            .ok());
    const QStringList alfas{SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2)};
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.vypocet(st, january()).ok());
    EXPECT_EQ(codesOf(st.m_col, 0), alfas);
    EXPECT_EQ(codesOf(st.m_col, 1), QStringList{SummariesEnv::beta(100, 1)});

    DaySummary day(env.services());
    ASSERT_TRUE(day.vypocet({QDate(2015, 1, 21), {}, {}}).ok());
    EXPECT_EQ(codesOf(day.kolekce(), 0), alfas);
    EXPECT_EQ(codesOf(day.kolekce(), 1), QStringList{SummariesEnv::beta(100, 1)});
}

TEST(PeriodLoaderTest, EveryFileIsToldAndACancelledLoadCountsAsFailed) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    for (const char* name : {"150115_001_AB_1.vyc", "150116_001_AB_1.vyc", "150117_001_AB_1.vyc"})
        env.write(QString::fromLatin1(name), SummariesEnv::records(QString::fromLatin1(name).left(6), QStringLiteral("001"),
                                                                   QStringLiteral("AB"), {SummariesEnv::alfa(50, 1)}));
    PeriodState st;
    CancellingProgress all(99);
    PeriodServices services = env.services();
    services.progress = &all;
    ASSERT_TRUE(PeriodLoader(services).vypocet(st, january()).ok());
    EXPECT_EQ(all.steps, (std::vector<std::pair<qint64, qint64>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    EXPECT_TRUE(st.m_obdobiNacteno);

    CancellingProgress second(1);
    services.progress = &second;
    const Status cancelled = PeriodLoader(services).duplicity(st, january());
    ASSERT_FALSE(cancelled.ok());
    EXPECT_EQ(cancelled.message(), QStringLiteral("Načítání bylo přerušeno obsluhou."));
    EXPECT_FALSE(st.m_obdobiNacteno);
    EXPECT_EQ(st.m_chybaNacteni, cancelled.message());
}

// A statement file of several pieces is told again after each piece it is read in, and a cancel is heard within
// it: the load stops before the file's end. The repeat filter and the listing of the folder are told as well, the
// listing before the files are counted (a folder of many names).
TEST(PeriodLoaderTest, ALargeFileTheRepeatFilterAndTheListingAreToldAndCanBeCancelled) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    constexpr int kCodes = 70000; // each twice: more than the filter's steps
    QStringList codes;
    for (int i = 0; i < 2 * kCodes; ++i)
        codes.append(SummariesEnv::alfa(50, i % kCodes));
    env.write(QStringLiteral("150115_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150115"), QStringLiteral("001"), QStringLiteral("AB"), codes));
    ASSERT_GT(std::filesystem::file_size(env.folder / "data" / "150115_001_AB_1.vyc"), 3 * 1024 * 1024u);
    for (int i = 0; i < 3000; ++i)
        env.write(QStringLiteral("141201_%1_XY_1.vyc").arg(i, 4, 10, QChar(u'0')), {});

    CancellingProgress watching(99);
    PeriodServices services = env.services();
    services.progress = &watching;
    PeriodState st;
    ASSERT_TRUE(PeriodLoader(services).vypocet(st, january()).ok());
    EXPECT_EQ(st.m_col.codes->size(), kCodes);
    const auto told = [&](std::pair<qint64, qint64> step) {
        return std::count(watching.steps.begin(), watching.steps.end(), step);
    };
    EXPECT_GE(told({0, 0}), 2);   // listing the folder
    EXPECT_GE(told({0, 1}), 1 + 3); // the file and its pieces
    EXPECT_GE(told({1, 1}), 1 + 2); // the filter's steps and the last one
    EXPECT_EQ(watching.steps.back(), (std::pair<qint64, qint64>{1, 1}));

    // Cancelled at each kind of step: the listing, within the file, in the filter.
    for (const auto& at : {std::pair<qint64, qint64>{0, 0}, {0, 1}, {1, 1}}) {
        SCOPED_TRACE(at.first * 10 + at.second);
        const auto first = std::find(watching.steps.begin(), watching.steps.end(), at) - watching.steps.begin();
        // The step after the first of its kind (the file's own first step is no step within it).
        CancelAtStep cancelling(int(first) + 2);
        services.progress = &cancelling;
        PeriodState cancelled;
        const Status done = PeriodLoader(services).vypocet(cancelled, january());
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.message(), Progress::cancelledText());
        EXPECT_EQ(cancelling.steps.back(), at);
        EXPECT_FALSE(cancelled.m_obdobiNacteno);
    }
}

TEST(PeriodLoaderTest, PackageDigitAndPackageFilesOfPackageMode) {
    SummariesEnv env;
    env.state.sw.gFBalikyTyden = true;
    env.state.sw.gFBalicky = true;
    // Package text "12": Alfa (type 1) is in package 1, Beta (type 2) in package 2.
    env.write(QStringLiteral("150121_101_X_1_12_3.txt"),
              {SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2), SummariesEnv::alfa(50, 3),
               SummariesEnv::alfa(50, 4), SummariesEnv::beta(100, 1)});
    // The package file of the day holds three of the Alfa codes and a value only it holds.
    env.write(QStringLiteral("150121.bal"), {QStringLiteral("#1"), SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2),
                                             SummariesEnv::alfa(50, 3), SummariesEnv::alfa(20, 5)});
    PeriodChoice c = january();
    c.balik = true;
    c.txtBalik = QStringLiteral("1");
    c.txtTyden = QStringLiteral("3");
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.vypocet(st, c).ok());
    EXPECT_EQ(codesOf(st.m_col, 0).size(), 4);
    EXPECT_TRUE(codesOf(st.m_col, 1).isEmpty());
    ASSERT_TRUE(st.gColStrav2.types);
    EXPECT_EQ(codesOf(st.gColStrav2, 0).size(), 4);
    const QString text = zobrazVysledek(env.state, st.m_col, st.gColStrav2, {}, {}, {});
    EXPECT_TRUE(text.contains(QStringLiteral("Alfa Stravenka\r\nHodnota     Počet              Celkem\r\n"
                                             "  50,00         1            50,00 Kč\r\n_")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("  20,00")));
    // The package counts stay for the closing statement by product group: per type position and nominal value.
    const auto& published = env.state.gBalikyObdobi;
    ASSERT_EQ(published.count(1), 1u);
    EXPECT_EQ(published.at(1), (std::vector<std::pair<QString, qint64>>{{QStringLiteral("20"), 1},
                                                                         {QStringLiteral("50"), 3}}));
}

TEST(PeriodLoaderTest, GroupsShowEachGroupWithItsTotals) {
    PeriodData env;
    env.state.sw.gFSkupiny = true;
    env.writeTypes(QStringLiteral("TypStravGroup.ini"), true);
    env.prompts.queueAnswer(Prompts::Answer::Ok);
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.vypocet(st, january()).ok());
    const QString all = zobrazVysledekSkupin(env.state, st.m_col, st.gColStrav2, *env.state.gColStrav,
                                             QStringLiteral("Všechny stravenky"), {}, {});
    EXPECT_TRUE(all.startsWith(QStringLiteral("\r\nAlfa Stravenka\r\n")));
    EXPECT_TRUE(all.contains(QStringLiteral("=====================================\r\n"
                                            "Celkem za produkt: Alfa Stravenka\r\n"
                                            "Celková částka:             275,50 Kč\r\n"
                                            "Celkový počet:                 5 ks\r\n\r\n\r\n")))
        << all.toStdString();
    // Group 3 has no type and still gets its footer.
    EXPECT_TRUE(
        all.contains(QStringLiteral("Celkem za produkt: Gama Jidlo\r\nCelková částka:               0,00 Kč\r\n")));
    // Choosing Gama shows its whole group (Alfa and Gama) only.
    const QString gama = zobrazVysledekSkupin(env.state, st.m_col, st.gColStrav2, *env.state.gColStrav,
                                              QStringLiteral("Gama Jidlo"), {}, {});
    EXPECT_TRUE(gama.contains(QStringLiteral("Alfa Stravenka")));
    EXPECT_FALSE(gama.contains(QStringLiteral("Beta Poukazka")));
}

TEST(PeriodLoaderTest, DuplicateListingAndLog) {
    PeriodData env;
    env.prompts.queueAnswer(Prompts::Answer::Ok);
    env.write(QStringLiteral("150117003_1.txt"), {SummariesEnv::alfa(50, 1), kNoRead, kNoRead});
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.duplicity(st, january()).ok());
    const QString a1 = SummariesEnv::alfa(50, 1);
    const QString a2 = SummariesEnv::alfa(50, 2);
    const QString pad = QString(30, u' ');
    const QString first = QString(40, u' ');
    const QString expected =
        QStringLiteral("Kontrola duplicit za období\r\n*****************\r\nAlfa Stravenka\r\n"
                       "Kód                                     Soubor\r\n") +
        QString(58, u'-') + QStringLiteral("\r\n") + a1 + pad + QStringLiteral("150115001_1.txt\r\n") + first +
        QStringLiteral("150115001_1.txt\r\n") + a2 + pad + QStringLiteral("150116002_1.txt\r\n") + first +
        QStringLiteral("150115001_1.txt\r\n") + a1 + pad + QStringLiteral("150117003_1.txt\r\n") + first +
        QStringLiteral("150115001_1.txt\r\n") + QStringLiteral("NOREAD") + QString(34, u' ') +
        QStringLiteral("150117003_1.txt\r\n") + first + QStringLiteral("150115001_1.txt\r\n") +
        QStringLiteral("NOREAD") + QString(34, u' ') + QStringLiteral("150117003_1.txt\r\n") + first +
        QStringLiteral("150115001_1.txt\r\n\r\n"
                       "Beta Poukazka\r\nNebyly nalezeny žádné duplicity.\r\n\r\n"
                       "Gama Jidlo\r\nNebyly nalezeny žádné duplicity.\r\n\r\n");
    EXPECT_EQ(vypisDuplicit(env.state, st.m_col), expected);
    // Duplicity.log in the program folder: a line per later reading, in reading order.
    EXPECT_EQ(env.bytes(env.folder / "Duplicity.log"),
              (a1 + QStringLiteral("/t/t150115001_1.txt\r\n") + a2 + QStringLiteral("/t/t150116002_1.txt\r\n") + a1 +
               QStringLiteral("/t/t150117003_1.txt\r\nNOREAD/t/t150117003_1.txt\r\nNOREAD/t/t150117003_1.txt\r\n"))
                  .toLatin1());
    // The collection keeps the first reading of each code (the first NOREAD too): what is counted after the check
    // counts each code once.
    EXPECT_EQ(codesOf(st.m_col, 0), (QStringList{a1, kNoRead, a2, SummariesEnv::alfa(100, 3)}));
    EXPECT_EQ(nominalTable(*st.m_col.codes, 0),
              (NominalTable{{Currency::fromInt(50), 2}, {Currency::fromInt(100), 1}}));
    const QString pane = zobrazVysledek(env.state, st.m_col, st.gColStrav2, {}, {}, {});
    EXPECT_TRUE(pane.contains(QStringLiteral("  50,00         2           100,00 Kč\r\n"))) << pane.toStdString();
}

// A log that cannot be written is told once, naming it, with its cause in Czech; the check itself is done.
TEST(PeriodLoaderTest, ADuplicityLogThatCannotBeWrittenIsNamedWithItsCause) {
    struct Case {
        const char* name;
        std::function<bool(const std::filesystem::path&)> make;
        QString cause;
    };
    std::vector<Case> cases{{"a folder", [](const auto& log) { return std::filesystem::create_directory(log); },
                             QStringLiteral("je to složka, ne soubor")}};
#ifdef Q_OS_LINUX
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        cases.push_back({"a full disk",
                         [](const auto& log) {
                             std::filesystem::create_symlink("/dev/full", log);
                             return true;
                         },
                         QStringLiteral("na disku není volné místo (") +
                             QString::fromLocal8Bit(std::generic_category().message(ENOSPC)) + u')'});
    }
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PeriodData env;
        env.prompts.queueAnswer(Prompts::Answer::Ok);
        env.write(QStringLiteral("150117003_1.txt"), {SummariesEnv::alfa(50, 1)});
        const auto log = env.folder / "Duplicity.log";
        ASSERT_TRUE(c.make(log));
        PeriodState st;
        PeriodLoader loader(env.services());
        QString problem;
        ASSERT_TRUE(loader.duplicity(st, january(), nullptr, &problem).ok());
        EXPECT_EQ(problem.count(TextFiles::toQString(log)), 1) << problem.toStdString();
        EXPECT_TRUE(problem.endsWith(QStringLiteral(": ") + c.cause)) << problem.toStdString();
        EXPECT_EQ(problem.count(c.cause), 1) << problem.toStdString();
    }
}

TEST(PeriodLoaderTest, TicketListWritesTheChosenCodes) {
    PeriodData env;
    env.prompts.queueAnswer(Prompts::Answer::Ok);
    PeriodState st;
    CancellingProgress watched(99);
    PeriodServices services = env.services();
    services.progress = &watched;
    PeriodLoader loader(services);
    ASSERT_TRUE(loader.stravenky(st, january()).ok());
    const auto file = souborStravenek(env.state, env.clock.now());
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.value(), env.folder / "export" / "20150121_143005.txt");
    watched.steps.clear();
    const auto count = loader.zapisStravenky(st, {}, file.value());
    ASSERT_TRUE(count.ok());
    EXPECT_EQ(count.value(), 6);
    EXPECT_TRUE(st.m_obdobiNacteno);
    // The codes written of the codes to write.
    EXPECT_EQ(watched.steps, (std::vector<std::pair<qint64, qint64>>{{0, 6}, {6, 6}}));
    EXPECT_EQ(env.bytes(file.value()),
              (QStringList{SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2), SummariesEnv::alfa(100, 3),
                           SummariesEnv::beta(100, 1), SummariesEnv::gama("01", 1), SummariesEnv::gama("03", 2)}
                   .join(QStringLiteral("\r\n")) +
               QStringLiteral("\r\n"))
                  .toLatin1());
    EXPECT_EQ(zpravaUlozeno(6, file.value()), QStringLiteral("Bylo uloženo 6 stravenek do souboru ") +
                                                  TextFiles::toQString(file.value()) + QStringLiteral("."));
    // One type chosen; an unwritable folder is an error and nothing is claimed, the period stays loaded.
    const auto beta = ulozStravenky(st.m_col, {false, QStringLiteral("Beta Poukazka")}, file.value());
    ASSERT_TRUE(beta.ok());
    EXPECT_EQ(env.bytes(file.value()), (SummariesEnv::beta(100, 1) + QStringLiteral("\r\n")).toLatin1());
    EXPECT_FALSE(loader.zapisStravenky(st, {}, env.folder / "missing" / "x.txt").ok());
    EXPECT_TRUE(st.m_obdobiNacteno);
}

TEST(PeriodLoaderTest, ACancelledWriteOfTheTicketListLeavesTheFileAndCountsAsACancelledLoad) {
    PeriodData env;
    env.prompts.queueAnswer(Prompts::Answer::Ok);
    // More codes than one step of the write, so that it is cancelled part way.
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many.append(SummariesEnv::gama("01", 100 + i));
    env.write(QStringLiteral("150120004_1.txt"), many);
    const auto file = env.folder / "export" / "20150121_143005.txt";
    const QByteArray earlier("earlier list\r\n");
    ASSERT_TRUE(TextFiles::writeBytes(file, earlier).ok());
    for (const int at : {1, 2, 4}) {
        SCOPED_TRACE(at);
        PeriodState st;
        ASSERT_TRUE(PeriodLoader(env.services()).stravenky(st, january()).ok());
        CancelAtStep cancelling(at);
        PeriodServices services = env.services();
        services.progress = &cancelling;
        const auto written = PeriodLoader(services).zapisStravenky(st, {}, file);
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.message(), Progress::cancelledText());
        EXPECT_FALSE(st.m_obdobiNacteno);
        EXPECT_EQ(st.m_chybaNacteni, Progress::cancelledText());
        EXPECT_EQ(env.bytes(file), earlier);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(env.folder / "export"),
                                std::filesystem::directory_iterator()),
                  1);
    }
    // Not cancelled: every code once, in the order held, across the steps.
    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.stravenky(st, january()).ok());
    const auto written = loader.zapisStravenky(st, {}, file);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value(), 10006);
    QStringList gama{SummariesEnv::gama("01", 1), SummariesEnv::gama("03", 2)};
    gama.append(many);
    const QStringList all = QStringList{SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2),
                                        SummariesEnv::alfa(100, 3), SummariesEnv::beta(100, 1)} +
                            gama;
    EXPECT_EQ(env.bytes(file), (all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
}

TEST(PeriodLoaderTest, ThePackageFilesAreCountedInTheLoadAndCanBeCancelled) {
    SummariesEnv env;
    env.state.sw.gFBalicky = true;
    env.write(QStringLiteral("150121001_1.txt"), {SummariesEnv::alfa(50, 1)});
    env.write(QStringLiteral("150121.bal"), {QStringLiteral("#1"), SummariesEnv::alfa(50, 1)});
    env.write(QStringLiteral("150122.bal"), {QStringLiteral("#1"), SummariesEnv::alfa(50, 2)});
    PeriodState st;
    CancellingProgress all(99);
    PeriodServices services = env.services();
    services.progress = &all;
    ASSERT_TRUE(PeriodLoader(services).vypocet(st, january()).ok());
    EXPECT_EQ(all.steps, (std::vector<std::pair<qint64, qint64>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(codesOf(st.gColStrav2, 0).size(), 2);

    // Cancelled at the first package file: the period is not computed.
    for (const qint64 at : {1, 2, 3}) {
        SCOPED_TRACE(at);
        CancellingProgress cancelling(at);
        services.progress = &cancelling;
        const Status cancelled = PeriodLoader(services).vypocet(st, january());
        ASSERT_FALSE(cancelled.ok());
        EXPECT_EQ(cancelled.message(), Progress::cancelledText());
        EXPECT_FALSE(st.m_obdobiNacteno);
        EXPECT_EQ(cancelling.steps.back(), std::make_pair(at, qint64(3)));
    }
}

} // namespace

namespace {

TEST(PeriodLoaderTest, ASumTheMoneyTypeCannotHoldEndsTheComputationNamingTheFile) {
    // Gama's value is 50 crowns below the top of the range: one such code fits, two do not, nor one with 100 crowns
    // of Alfa beside it.
    struct Case {
        QStringList second; // the second file's codes, after one Gama code of half the range in the first
        const char* where;
    };
    for (const Case& k : {Case{{SummariesEnv::gama("02", 2)}, "soubor 150116_001_AB_1.vyc, Gama Jidlo"},
                          Case{{SummariesEnv::alfa(100, 1)}, "soubor 150115_001_AB_1.vyc, součet všech typů"}}) {
        SCOPED_TRACE(k.where);
        SummariesEnv env;
        EXPECT_TRUE(TextFiles::writeAll(env.folder / "hodnoty_gama.ini",
                                        QStringLiteral("[Hodnoty]\r\nPocet=1\r\nHodnota1=02:922337203685427,5807\r\n"))
                        .ok());
        env.state.sw.gFVycetky = true;
        env.write(QStringLiteral("150115_001_AB_1.vyc"),
                  SummariesEnv::records(QStringLiteral("150115"), QStringLiteral("001"), QStringLiteral("AB"),
                                        {SummariesEnv::gama("02", 1)}));
        env.write(
            QStringLiteral("150116_001_AB_1.vyc"),
            SummariesEnv::records(QStringLiteral("150116"), QStringLiteral("001"), QStringLiteral("AB"), k.second));
        PeriodState st;
        const Status done = PeriodLoader(env.services()).vypocet(st, january());
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.message(), sumOutOfRangeText(QString::fromUtf8(k.where)));
        EXPECT_FALSE(st.m_obdobiNacteno);
        // Nor is the period loaded by the duplicate check or for the ticket list, whose state the print reads.
        EXPECT_EQ(PeriodLoader(env.services()).duplicity(st, january()).message(), done.message());
        EXPECT_EQ(PeriodLoader(env.services()).stravenky(st, january()).message(), done.message());
        EXPECT_FALSE(st.m_obdobiNacteno);

        // The day summary of the same codes ends alike.
        env.write(QStringLiteral("150116_001_AB_2.vyc"),
                  SummariesEnv::records(QStringLiteral("150116"), QStringLiteral("001"), QStringLiteral("AB"),
                                        {SummariesEnv::gama("02", 1)}));
        DaySummary day(env.services());
        const Status daySum = day.vypocet({QDate(2015, 1, 16), {}, {}});
        ASSERT_FALSE(daySum.ok());
        EXPECT_FALSE(day.vypocteno());
    }
}

} // namespace
