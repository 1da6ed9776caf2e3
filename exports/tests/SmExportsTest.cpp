#include "exports/SmExports.h"
#include "core/SharedHelpers.h"
#include "exports/CbaBatch.h"
#include "exports/SmSums.h"
#include "platform/Conventions.h"
#include "platform/DbfTable.h"

#include "ExportsFixture.h"
#include "core/StatementLine.h"
#include "platform/tests/TempFolderTest.h"
#include "testsupport/CancellingProgress.h"

#include <QFile>

#include <cerrno>
#include <system_error>

namespace trv::test {
namespace {

class SmExportsTest : public ExportsFixture {
protected:
    // A statement file in the data folder; each code is written with its value, default layout.
    void vyc(const char* name, const std::vector<std::pair<QString, const char*>>& codes, const char* sep = ";") {
        QByteArray bytes;
        for (const auto& [kod, value] : codes) {
            bytes += QByteArray("150110") + sep + "150110" + sep + "101" + sep + "T" + sep + kod.toLatin1() + sep +
                     value + sep + "OP1\r\n";
        }
        write(data / name, bytes);
    }
    // n codes of the type (by its length) worth `cents`.
    static std::vector<std::pair<QString, const char*>> codes(int length, qint64 cents, int n, const char* value) {
        static int serial = 0;
        std::vector<std::pair<QString, const char*>> out;
        for (int i = 0; i < n; ++i)
            out.emplace_back(code(length, cents, ++serial), value);
        return out;
    }
    static std::vector<std::pair<QString, const char*>> join(std::vector<std::pair<QString, const char*>> a,
                                                             const std::vector<std::pair<QString, const char*>>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    SmSumsRequest january10to12() const { return {QDate(2015, 1, 10), QDate(2015, 1, 12), {}, false, false}; }
    // The export button's request over 10 to 12 January, the merged file named after 15 January.
    PeriodExportRequest exportRequest() const {
        PeriodExportRequest r;
        r.period = january10to12();
        r.dtDek = QDate(2015, 1, 15);
        return r;
    }

    std::vector<DbfRecord> readTable(const std::filesystem::path& file) {
        auto table = DbfTable::open(file, DbfTable::Access::ReadOnly);
        EXPECT_TRUE(table.ok()) << table.message().toStdString();
        if (!table.ok())
            return {};
        auto rows = table.value().readAll();
        EXPECT_TRUE(rows.ok());
        return rows.ok() ? rows.value() : std::vector<DbfRecord>{};
    }
};

TEST_F(SmExportsTest, CountsAndSumsPerSm) {
    // SM 101: ten vouchers of the first type worth 95 and four of the second; SM 102: 95.50 of each of two types.
    vyc("150110_101_OP1_1.vyc", join(codes(10, 9500, 10, "95,00"), codes(9, 9500, 4, "95.00")));
    vyc("150111_102_OP1_1.vyc", join(codes(10, 9550, 1, "95,50"), codes(9, 9550, 1, "95,50")));
    ASSERT_TRUE(exportPocetSM(*ctx, january10to12()).ok());
    const auto file = exp / "20150121.exp";
    EXPECT_EQ(read(file), lines({"101;1330;14;950;10;380;4;0;0;0;0;0;0", "102;191;2;95,5;1;95,5;1;0;0;0;0;0;0"}));
    EXPECT_EQ(prompts.texts(), QStringList{dejText("expCBASoub1") + native(file) + dejText("expCBASoub2")});

    // The scratch table keeps one row per statement file, a count beside every sum.
    const auto rows = readTable(data / "data.dbf");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text(u"sm"), QStringLiteral("101"));
    EXPECT_EQ(rows[0].number(u"hod1"), Currency::fromInt(950));
    EXPECT_EQ(rows[0].integer(u"poc2"), 4);
    EXPECT_EQ(rows[1].number(u"hod2"), Currency::fromCents(9550));
    EXPECT_EQ(rows[1].text(u"operator"), QStringLiteral("OP1"));
    EXPECT_EQ(rows[1].text(u"poradi"), QStringLiteral("1"));
}

TEST_F(SmExportsTest, CountsPerSmOperatorAndOrderWithBlankSeparator) {
    write(home / "TRV7300.ini", "[Data]\r\nDir=data\r\nExpDir=exp\r\nExpSpolDir=spol\r\n");
    vyc("150110_101_AB_1.vyc", codes(10, 5000, 2, "50,00"), " ");
    vyc("150110_101_CD_1.vyc", codes(10, 5000, 1, "50,00"), " ");
    auto request = january10to12();
    request.chkNespojovatSM = true;
    ASSERT_TRUE(exportPocetSM(*ctx, request).ok());
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101 100 2 100 2 0 0 0 0 0 0 0 0", "101 50 1 50 1 0 0 0 0 0 0 0 0"}));
    // A second run of the day replaces the file; merged per SM this time.
    request.chkNespojovatSM = false;
    ASSERT_TRUE(exportPocetSM(*ctx, request).ok());
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101 150 3 150 3 0 0 0 0 0 0 0 0"}));
}

TEST_F(SmExportsTest, FilesOfThePeriodAndTheirParts) {
    write(home / "TRV7300.ini",
          "[Data]\r\nDir=data\r\nExpTxtSeparator=;\r\n[CBA_EXPORT_VEREX]\r\nNeexportovatSM=101,205\r\n");
    const auto one = codes(10, 1000, 1, "10,00");
    vyc("150110_101_OP1_1.vyc", one); // excluded SM
    vyc("150110_01_OP1_1.vyc", one);  // "01" is not the excluded "101"
    vyc("150109_300_OP1_1.vyc", one); // before the period
    vyc("150113_300_OP1_1.vyc", one); // after it
    vyc("150112_300_OPERATOR_12.vyc", one);
    vyc("150110_300_OP1_1.VYC", one); // not a statement file's extension
    write(data / "ab.vyc", "x\r\n");
    vyc("150111_300_OP1_2.txt", one); // a day file
    auto summed = sumPeriodPerSm(*ctx, january10to12(), SmSumsVariant::Cba);
    ASSERT_TRUE(summed.ok()) << summed.message().toStdString();
    const auto rows = readTable(data / "data.dbf");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text(u"sm"), QStringLiteral("01"));
    EXPECT_EQ(rows[1].text(u"sm"), QStringLiteral("300"));
    EXPECT_EQ(rows[1].text(u"operator"), QStringLiteral("OPE"));
    EXPECT_EQ(rows[1].text(u"poradi"), QStringLiteral("2"));
    EXPECT_EQ(rows[1].number(u"hod1"), Currency::fromInt(10));

    // The SM filter compares whole SMs.
    auto filtered = january10to12();
    filtered.txtSM = QStringLiteral("300, 1");
    vyc("150110_3000_OP1_1.vyc", one);
    vyc("150110_30_OP1_1.vyc", one);
    ASSERT_TRUE(sumPeriodPerSm(*ctx, filtered, SmSumsVariant::Tesco).ok());
    const auto taken = readTable(data / "data.dbf");
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].text(u"sm"), QStringLiteral("300"));
}

TEST_F(SmExportsTest, HandOverDateRequiresItInEveryName) {
    state->sw.gFDatumOdvodu = true;
    vyc("150101-150111_101_OP1_1.vyc", codes(10, 1000, 1, "10,00"));
    auto request = january10to12();
    request.optDatumVyc = true;
    auto summed = sumPeriodPerSm(*ctx, request, SmSumsVariant::Tesco);
    ASSERT_TRUE(summed.ok());
    EXPECT_EQ(summed.value().rows.size(), 1u);
    vyc("150111_102_OP1_1.vyc", codes(10, 1000, 1, "10,00"));
    summed = sumPeriodPerSm(*ctx, request, SmSumsVariant::Tesco);
    ASSERT_FALSE(summed.ok());
    EXPECT_EQ(summed.message(), dejText("Soubor") + QStringLiteral("150111_102_OP1_1.vyc") + dejText("NeobsDatum"));
}

TEST_F(SmExportsTest, UnknownCodesAreReportedNotDropped) {
    vyc("150110_101_OP1_1.vyc", join(codes(10, 1000, 1, "10,00"), {{QStringLiteral("123"), "5,00"}}));
    ASSERT_TRUE(exportTesco(*ctx, january10to12()).ok());
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_TRUE(prompts.records()[0].text.startsWith(dejText("NezapocteneRadky") + u'1'));
}

TEST_F(SmExportsTest, TescoFileWithTotal) {
    vyc("150110_101_OP1_1.vyc", join(codes(10, 60000, 1, "600,00"), codes(9, 40000, 1, "400.00")));
    vyc("150111_102_OP1_1.vyc", codes(10, 25050, 1, "250,50"));
    ASSERT_TRUE(exportTesco(*ctx, january10to12()).ok());
    const auto file = data / "20150121strav.txt";
    EXPECT_EQ(read(file), QByteArray("Datum: 21.01.2015\r\n\r\nPokladna\tStrav.spol.\r\n--------\t----------\r\n"
                                     "101\t\t1000\r\n102\t\t250.5\r\n--------\t----------\r\nTOTAL\t\t1250.5\r\n"));
    EXPECT_EQ(prompts.texts(),
              QStringList{QStringLiteral("Exportní soubor ") + native(file) + QStringLiteral(" byl úspěšně vytvořen")});
}

TEST_F(SmExportsTest, NoStatementFileOfThePeriodWritesNothing) {
    vyc("150120_101_OP1_1.vyc", codes(10, 1000, 1, "10,00"));
    state->sw.gFExportTesco = true;
    ASSERT_TRUE(cmdExportDel(*ctx, exportRequest()).ok());
    EXPECT_FALSE(std::filesystem::exists(data / "20150121strav.txt"));
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, dejText("ZadPodmNevyhovuje"));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Exclamation);
}

TEST_F(SmExportsTest, MergedStatementFile) {
    write(data / "150110_101_abc_1.vyc", "a;1\r\n\r\n   \r\n  x;y  \r\n");
    write(data / "150111_102_abc_1.vyc", "b;2\r\nc;3\r\n");
    write(data / "150111_105_abc_1.vyc", "\xe8\x9a;\xe9\r\n"); // Windows-1250, as stored files are
    write(data / "150110_103_abc_1.VYC", "never\r\n");
    write(data / "150113_104_abc_1.vyc", "later\r\n");
    ASSERT_TRUE(cmdExportDel(*ctx, exportRequest()).ok());
    const auto merged = data / "150115.vyc";
    EXPECT_EQ(read(merged), lines({"a;1", "x;y", "b;2", "c;3", "\xe8\x9a;\xe9"}));
    EXPECT_EQ(prompts.texts(),
              QStringList{dejText("ByloVygener") + QStringLiteral(" 5") + dejText("ZaznamuAUloz") + native(merged)});

    // A merge of a period that holds its own merged file never reads it back.
    ASSERT_TRUE(
        exportSlouceneVycetky(*ctx, {QDate(2015, 1, 10), QDate(2015, 1, 31), {}, false, false}, QDate(2015, 1, 15))
            .ok());
    EXPECT_EQ(read(merged), lines({"a;1", "x;y", "b;2", "c;3", "\xe8\x9a;\xe9", "later"}));

    // A name without the hand-over date stops the merge; the previous merged file stays.
    state->sw.gFDatumOdvodu = true;
    ASSERT_FALSE(
        exportSlouceneVycetky(*ctx, {QDate(2015, 1, 10), QDate(2015, 1, 31), {}, true, false}, QDate(2015, 1, 15))
            .ok());
    EXPECT_EQ(read(merged), lines({"a;1", "x;y", "b;2", "c;3", "\xe8\x9a;\xe9", "later"}));
}

// The statement files are read a piece at a time: a file whose text turns out to be Windows-1250 only past the first
// piece is merged as the whole file's reading gives it, like a UTF-8 file with Czech letters.
TEST_F(SmExportsTest, MergedStatementFileReadInPieces) {
    QByteArray ascii;
    QByteArray expected;
    qint64 count = 0;
    while (ascii.size() <= StatementLine::kPieceSize) {
        const QByteArray line = "150110;150110;101;T;" + QByteArray::number(1000000000 + count) + ";10,00;OP1";
        ascii += "  " + line + "\r\n";
        expected += line + "\r\n";
        ++count;
    }
    write(data / "150110_101_abc_1.vyc", ascii + "x;\xe8\x9a;\xe9 \r\nlast");
    write(data / "150111_102_abc_1.vyc", "\xc5\xa0\xc3\xa1rka;\xc5\x98\r\n\r\n");
    ASSERT_TRUE(exportSlouceneVycetky(*ctx, january10to12(), QDate(2015, 1, 15)).ok());
    EXPECT_EQ(read(data / "150115.vyc"), expected + lines({"x;\xe8\x9a;\xe9", "last", "\x8a\xe1rka;\xd8"}));
    EXPECT_EQ(prompts.texts(), QStringList{dejText("ByloVygener") + u' ' + QString::number(count + 3) +
                                           dejText("ZaznamuAUloz") + native(data / "150115.vyc")});
}

// A lone CR ends a record as CR LF and LF do; a CR LF is one line end wherever a piece cuts it.
TEST_F(SmExportsTest, MergedStatementFileTakesEveryRecordOfLoneCrLines) {
    write(data / "150110_101_abc_1.vyc", "a;1\rb;2\r\r  c;3\r");
    write(data / "150111_102_abc_1.vyc", "d;4\r\ne;5\nf;6");
    ASSERT_TRUE(exportSlouceneVycetky(*ctx, january10to12(), QDate(2015, 1, 15)).ok());
    EXPECT_EQ(read(data / "150115.vyc"), lines({"a;1", "b;2", "c;3", "d;4", "e;5", "f;6"}));
    EXPECT_EQ(prompts.texts(), QStringList{dejText("ByloVygener") + QStringLiteral(" 6") + dejText("ZaznamuAUloz") +
                                           native(data / "150115.vyc")});
}

class CbaBatchTest : public SmExportsTest {
protected:
    void SetUp() override {
        SmExportsTest::SetUp();
        state->sw.gFExportCBA = true;
        vyc("150110_101_OP1_1.vyc", join(codes(10, 6000, 1, "60,00"), codes(9, 2550, 1, "25,50")));
        vyc("150111_102_OP1_1.vyc", codes(11, 1000, 2, "10,00"));
    }
    PeriodExportRequest request(const char* cd = " 15 ") const {
        PeriodExportRequest r = exportRequest();
        r.txtCD = QString::fromLatin1(cd);
        r.txtPoznOper = QStringLiteral("Leden");
        r.txtPoradiDavky = QStringLiteral("03");
        r.txtMesic = QStringLiteral("2");
        r.txtRok = QStringLiteral("5");
        r.lblExpFile = QStringLiteral(" ZLO27D03.502 ");
        return r;
    }
    QString counter(const char* key) const {
        return state->config.CtiKonfig(QStringLiteral("CBA_EXPORT_VEREX"), QString::fromLatin1(key),
                                       QStringLiteral("-"));
    }
};

TEST_F(CbaBatchTest, DebitRowPerTypeAndCreditRowPerSm) {
    EXPECT_EQ(cbaWorkName(QStringLiteral("ZLO27D12.011")), QStringLiteral("12011"));
    ASSERT_TRUE(cmdExportDel(*ctx, request()).ok());
    const auto batch = data / "ZLO27D03.502";
    EXPECT_FALSE(std::filesystem::exists(data / "03502.dbf"));
    const auto rows = readTable(batch);
    ASSERT_EQ(rows.size(), 12u); // two SMs, five debit rows and one credit row each
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].integer(u"POL"), static_cast<qint64>(i + 1));
        EXPECT_EQ(rows[i].integer(u"DD"), 9);
        EXPECT_EQ(rows[i].integer(u"CD"), 15);
        EXPECT_EQ(rows[i].date(u"DATUM"), QDate(2015, 1, 12));
        EXPECT_EQ(rows[i].text(u"OPER"), QStringLiteral("Leden"));
        EXPECT_EQ(rows[i].text(u"OSOB"), QStringLiteral("N"));
        EXPECT_FALSE(rows[i].date(u"SPL").isValid());
        EXPECT_EQ(rows[i].text(u"HS"), QString::fromLatin1(i < 6 ? "101" : "102"));
    }
    EXPECT_EQ(rows[0].text(u"UCET"), QStringLiteral("31101"));
    EXPECT_EQ(rows[0].number(u"MD"), Currency::fromInt(60));
    EXPECT_EQ(rows[1].number(u"MD"), Currency::fromCents(2550));
    EXPECT_EQ(rows[2].number(u"MD"), Currency::fromInt(0)); // a type without vouchers still has its row
    EXPECT_EQ(rows[5].text(u"UCET"), QStringLiteral("26101"));
    EXPECT_EQ(rows[5].number(u"MD"), Currency::fromInt(0));
    EXPECT_EQ(rows[5].number(u"DAL"), Currency::fromCents(8550));
    EXPECT_EQ(rows[8].number(u"MD"), Currency::fromInt(20));
    EXPECT_EQ(rows[11].number(u"DAL"), Currency::fromInt(20));
    EXPECT_EQ(counter("PoradiDavky"), QStringLiteral("03"));
    EXPECT_EQ(counter("MesicDavky"), QStringLiteral("2"));
    EXPECT_EQ(counter("RokDavky"), QStringLiteral("5"));
    EXPECT_EQ(prompts.texts(), QStringList{dejText("expCBASoub1") + native(batch) + dejText("expCBASoub2")});
}

TEST_F(CbaBatchTest, PerFileEachSmOperatorAndOrderGetsItsRows) {
    vyc("150111_101_OP2_1.vyc", codes(10, 1000, 1, "10,00"));
    PeriodExportRequest r = request();
    r.period.chkNespojovatSM = true;
    ASSERT_TRUE(cmdExportDel(*ctx, r).ok());
    const auto rows = readTable(data / "ZLO27D03.502");
    ASSERT_EQ(rows.size(), 18u); // SM 101 of two operators and SM 102: five debit rows and one credit row each
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].text(u"HS"), QString::fromLatin1(i < 12 ? "101" : "102")) << i;
    EXPECT_EQ(rows[5].number(u"DAL"), Currency::fromCents(8550));
    EXPECT_EQ(rows[11].number(u"DAL"), Currency::fromInt(10));
    EXPECT_EQ(rows[17].number(u"DAL"), Currency::fromInt(20));
}

TEST_F(CbaBatchTest, TemplateIsCopiedAndNeverChanged) {
    {
        auto templ = DbfTable::create(data / "export_empty.dbf", cbaBatchFields());
        ASSERT_TRUE(templ.ok());
        ASSERT_TRUE(templ.value().close().ok());
    }
    const QByteArray before = read(data / "export_empty.dbf");
    ASSERT_TRUE(cmdExportDel(*ctx, request()).ok());
    EXPECT_EQ(read(data / "export_empty.dbf"), before);
    EXPECT_EQ(readTable(data / "ZLO27D03.502").size(), 12u);
}

TEST_F(CbaBatchTest, FailureKeepsTheOldBatchAndTheCounters) {
    write(data / "ZLO27D03.502", "old batch");
    // A template with a field type the dBASE layer does not write.
    {
        auto templ = DbfTable::create(data / "export_empty.dbf", cbaBatchFields());
        ASSERT_TRUE(templ.ok());
        ASSERT_TRUE(templ.value().close().ok());
    }
    QFile f(QString::fromStdString((data / "export_empty.dbf").string()));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(32 + 11);
    f.write("I");
    f.close();

    const Status failed = cmdExportDel(*ctx, request());
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.message().contains(QLatin1String("DD"))) << failed.message().toStdString();
    EXPECT_EQ(read(data / "ZLO27D03.502"), QByteArray("old batch"));
    EXPECT_FALSE(std::filesystem::exists(data / "03502.dbf"));
    EXPECT_EQ(counter("PoradiDavky"), QStringLiteral("-"));
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
}

TEST_F(CbaBatchTest, CdMustBeANumber) {
    for (const char* cd : {"", "  ", "15a", "1' or 1=1"}) {
        SCOPED_TRACE(cd);
        prompts = ScriptedPrompts();
        ASSERT_TRUE(cmdExportDel(*ctx, request(cd)).ok());
        EXPECT_FALSE(std::filesystem::exists(data / "ZLO27D03.502"));
        EXPECT_FALSE(std::filesystem::exists(data / "data.dbf"));
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
        EXPECT_TRUE(prompts.records()[0].text.startsWith(
            QString::fromLatin1(cd).trimmed().isEmpty() ? dejText("ZadatCD") : dejText("CDNeniCislo")));
    }
}

// An export that cannot write its file names the file once and the cause once, in Czech where it is a common one with
// the system's text after it; the file it would replace stays as it was, and nothing of the attempt is left.
TEST_F(CbaBatchTest, AFailedWriteNamesTheFileAndItsCauseOnce) {
    const auto systemText = [](int error) { return QString::fromLocal8Bit(std::generic_category().message(error)); };
    struct Case {
        const char* name;
        Status status;
        std::filesystem::path file;
        QString cause;
    };
    std::vector<Case> cases;
    const auto merged = data / "150115.vyc";
    const auto mergeInto = [&] { return exportSlouceneVycetky(*ctx, january10to12(), QDate(2015, 1, 15)); };
    std::filesystem::create_directory(merged);
    cases.push_back({"merge onto a folder", mergeInto(), merged, QStringLiteral("je to složka, ne soubor")});
    std::filesystem::remove(merged);
    write(merged, "old merge\r\n");
#ifdef Q_OS_UNIX
    {
        // A write cut short, seen only when the buffered rest is written out, once let a truncated file replace
        // the old one.
        SmallFileSizeLimit limit(2);
        ASSERT_TRUE(limit.set());
        cases.push_back({"merge with no room", mergeInto(), merged, systemText(EFBIG)});
    }
    EXPECT_EQ(read(merged), QByteArray("old merge\r\n"));
#endif
    PeriodExportRequest intoMissingFolder = request();
    intoMissingFolder.lblExpFile = QStringLiteral("chybí/ZLO27D03.502");
    cases.push_back({"batch into a missing folder", exportCbaVerex(*ctx, intoMissingFolder),
                     data / "chybí" / "ZLO27D03.502",
                     QStringLiteral("soubor nebo složka neexistuje (") + systemText(ENOENT) + u')'});
    EXPECT_FALSE(std::filesystem::exists(data / "03502.dbf"));
    EXPECT_EQ(counter("PoradiDavky"), QStringLiteral("-"));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.status.ok());
        const QString message = c.status.message();
        EXPECT_EQ(message.count(native(c.file)), 1) << message.toStdString();
        EXPECT_TRUE(message.endsWith(QStringLiteral(": ") + c.cause)) << message.toStdString();
        EXPECT_EQ(message.count(c.cause), 1) << message.toStdString();
    }
    // The statement files, the scratch table of the sums and the old merge: no temporary file, no batch.
    QStringList left;
    for (const auto& entry : std::filesystem::directory_iterator(data))
        left.append(TextFiles::toQString(entry.path().filename()));
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("150110_101_OP1_1.vyc"), QStringLiteral("150111_102_OP1_1.vyc"),
                                 QStringLiteral("150115.vyc"), QStringLiteral("data.dbf")}));
}

TEST_F(SmExportsTest, EuroModeValuesStoredCodesByTheirTypeAndAMissingValueCountsZero) {
    write(home / "TypStrav.ini", "[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=Gama\r\nDelka=8\r\nPozCastka=1\r\n"
                                 "DelkaCastka=1\r\nKoefCastka=1\r\nTabulkaHodnot=Hodnoty.ini\r\n");
    write(home / "Hodnoty.ini", "[Hodnoty]\r\nPocet=1\r\nHodnota1=1:100\r\n");
    state->sw.gFEuro = true;
    vyc("150110_101_OP1_1.vyc", {{QStringLiteral("10000001"), "55,00"}, {QStringLiteral("90000002"), "55,00"}});
    ASSERT_TRUE(exportPocetSM(*ctx, january10to12()).ok());
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101;100;2;100;2"}));
    // The operator hears once of the code the table lacks, then of the file written.
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_TRUE(prompts.records()[0].text.contains(QLatin1String("Gama")));
}

// A statement file whose name another machine wrote in Windows-1250 (the operator "é" as the byte 0xE9, no valid
// UTF-8) is listed and read like any other: the per-SM sums count it and the merge takes its lines.
TEST_F(SmExportsTest, AStatementFileNamedInAnotherEncodingIsReadLikeAnyOther) {
    vyc("150110_101_OP1_1.vyc", codes(10, 9500, 2, "95,00"));
    vyc("150111_101_\xE9_1.vyc", codes(10, 9500, 1, "95,00"));
    const Status counted = exportPocetSM(*ctx, january10to12());
    ASSERT_TRUE(counted.ok()) << counted.message().toStdString();
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101;285;3;285;3;0;0;0;0;0;0;0;0"}));

    ASSERT_TRUE(cmdExportDel(*ctx, {january10to12(), QDate(2015, 1, 15), {}, {}, {}, {}, {}, {}}).ok());
    EXPECT_EQ(read(data / "150115.vyc").count('\n'), 3);
    trv::test::removeOddNames(data);
}

} // namespace
} // namespace trv::test

namespace trv::test {
namespace {

// The record layouts of statement files: default (hand-over date; receipt date; SM; type; code; value; operator),
// without the leading date (switch 11) and the depot layout (switch 28: depot; date; envelope; SM; type; code;
// value; operator).
struct Layout {
    const char* name;
    bool bezData;
    bool depo;
    QByteArray (*line)(const QByteArray& code, const char* value);
};
const Layout kLayouts[] = {
    {"default", false, false,
     [](const QByteArray& code, const char* value) { return "150110;150110;101;1;" + code + ';' + value + ";OP1"; }},
    {"switch 11", true, false,
     [](const QByteArray& code, const char* value) { return "150110;101;1;" + code + ';' + value + ";OP1"; }},
    {"switch 28", false, true,
     [](const QByteArray& code, const char* value) { return "D7;150110;ENV1;101;1;" + code + ';' + value + ";OP1"; }},
};

class SmScanTest : public ExportsFixture {
protected:
    void vyc(const char* name, const Layout& layout, const std::vector<std::pair<QString, const char*>>& codes) {
        QByteArray bytes;
        for (const auto& [kod, value] : codes)
            bytes += layout.line(kod.toLatin1(), value) + "\r\n";
        write(data / name, bytes);
    }
    void vyc(const char* name, const std::vector<std::pair<QString, const char*>>& codes) {
        vyc(name, kLayouts[0], codes);
    }
    static std::pair<QString, const char*> one(int length, qint64 cents, const char* value) {
        static int serial = 0;
        return {code(length, cents, ++serial), value};
    }
    SmSumsRequest january10to12() const { return {QDate(2015, 1, 10), QDate(2015, 1, 12), {}, false, false}; }
};

TEST_F(SmScanTest, EveryRecordLayoutTakesItsCodeField) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.name);
        state->sw.gFVycBezData = layout.bezData;
        state->sw.gFDepo = layout.depo;
        prompts = ScriptedPrompts();
        vyc("150110_101_OP1_1.vyc", layout, {one(10, 60000, "600,00"), one(9, 40000, "400.00")});
        vyc("150111_102_OP1_1.vyc", layout, {one(10, 25050, "250,50")});

        ASSERT_TRUE(exportTesco(*ctx, january10to12()).ok());
        EXPECT_EQ(read(data / "20150121strav.txt"),
                  QByteArray("Datum: 21.01.2015\r\n\r\nPokladna\tStrav.spol.\r\n--------\t----------\r\n"
                             "101\t\t1000\r\n102\t\t250.5\r\n--------\t----------\r\nTOTAL\t\t1250.5\r\n"));
        ASSERT_TRUE(exportPocetSM(*ctx, january10to12()).ok());
        EXPECT_EQ(read(exp / "20150121.exp"),
                  lines({"101;1000;2;600;1;400;1;0;0;0;0;0;0", "102;250;1;250,5;1;0;0;0;0;0;0;0;0"}));
        EXPECT_EQ(prompts.records().size(), 2u); // the two success messages, no line left out
    }
}

TEST_F(SmScanTest, NamesWithoutAnSmAreNamedBeforeAnythingIsWritten) {
    vyc("150110_101_OP1_1.vyc", {one(10, 1000, "10,00")});
    vyc("150110007_1.vyc", {one(10, 2000, "20,00")}); // the cash-desk form
    vyc("150111_102.vyc", {one(10, 4000, "40,00")});  // no form the name parser knows
    bool tableSeen = true;
    prompts.setWhileOpen([&] {
        if (prompts.records().size() == 1)
            tableSeen = std::filesystem::exists(data / "data.dbf");
    });
    ASSERT_TRUE(exportTesco(*ctx, january10to12()).ok());
    EXPECT_FALSE(tableSeen);
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].text, dejText("SouboryBezSM") + QStringLiteral("150110007_1.vyc, 150111_102.vyc"));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(read(data / "20150121strav.txt"),
              QByteArray("Datum: 21.01.2015\r\n\r\nPokladna\tStrav.spol.\r\n--------\t----------\r\n"
                         "101\t\t10\r\n--------\t----------\r\nTOTAL\t\t10\r\n"));
}

TEST_F(SmExportsTest, ANameOfThreeOrOfSevenPartsGivesItsSmAsThePeriodComputationReadsIt) {
    vyc("150110_102_OP1.vyc", codes(10, 1000, 1, "10,00"));
    vyc("150111_103_OPERATOR_1_2_3_4.vyc", codes(10, 2000, 1, "20,00"));
    auto request = january10to12();
    request.chkNespojovatSM = true;
    ASSERT_TRUE(exportPocetSM(*ctx, request).ok());
    EXPECT_EQ(prompts.records().size(), 1u); // no name left out
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"102;10;1;10;1;0;0;0;0;0;0;0;0", "103;20;1;20;1;0;0;0;0;0;0;0;0"}));
    const auto rows = readTable(data / "data.dbf");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text(u"sm"), QStringLiteral("102"));
    EXPECT_EQ(rows[0].text(u"operator"), QStringLiteral("OP1"));
    EXPECT_EQ(rows[0].text(u"poradi"), QStringLiteral("1"));
    EXPECT_EQ(rows[1].text(u"sm"), QStringLiteral("103"));
    EXPECT_EQ(rows[1].text(u"operator"), QStringLiteral("OPE"));
    EXPECT_EQ(rows[1].text(u"poradi"), QStringLiteral("4"));
}

TEST_F(SmScanTest, ALineItCannotUseIsNeitherCountedNorSummedAndItsFilesAreNamed) {
    vyc("150110_101_OP1_1.vyc", {one(10, 60000, "600,00"), one(10, 1000, "99999999999999999999999")});
    vyc("150111_101_OP1_2.vyc", {one(10, 1000, "10,00"), {QStringLiteral("123"), "5,00"}});
    ASSERT_TRUE(exportPocetSM(*ctx, january10to12()).ok());
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101;610;2;610;2;0;0;0;0;0;0;0;0"}));
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].text, dejText("NezapocteneRadky") + u'2' + dejText("VSouborech") +
                                             QStringLiteral("150110_101_OP1_1.vyc, 150111_101_OP1_2.vyc"));
}

TEST_F(SmScanTest, AValueFieldIsSummedOnlyWhenItIsWhollyAnAmount) {
    struct Case {
        const char* field;
        const char* sum; // the exported sum of the one file; nullptr: the line is skipped and reported
        bool ends = false; // the sum is taken, and its rounding to whole crowns ends the export
    };
    for (const Case& c : std::vector<Case>{
             {"85.50", "85,5"},
             {"85,50", "85,5"},
             {" -3.25 ", "-3,25"},
             {"+7", "7"},
             {"5.", "5"},
             {",5", "0,5"},
             {"1.23456", "1,2346"},                                  // past four decimals: half to even
             {"922337203685467.5807", "922337203685467,5807", true}, // with the other line: the top of the range
             {"12abc", nullptr},
             {"1e400", nullptr},
             {"1e3", nullptr},
             {"12,5.3", nullptr},
             {"0x10", nullptr},
             {"inf", nullptr},
             {"abc", nullptr},
             {"", nullptr},
             {"  ", nullptr},
             {"-", nullptr},
             {"922337203685477.5808", nullptr},
             {"99999999999999999999999", nullptr}}) {
        SCOPED_TRACE(c.field);
        prompts = ScriptedPrompts();
        vyc("150110_101_OP1_1.vyc", {one(10, 1000, "10,00"), one(10, 1000, c.field)});
        std::filesystem::remove(exp / "20150121.exp");
        const Status exported = exportPocetSM(*ctx, january10to12());
        if (c.ends) {
            // 922337203685477.5807 is 922337203685478 in whole crowns, past the top of the money type.
            ASSERT_FALSE(exported.ok());
            EXPECT_EQ(exported.message(), sumOutOfRangeText(QString::fromUtf8("středisko 101, součet všech typů")));
            EXPECT_FALSE(std::filesystem::exists(exp / "20150121.exp"));
            EXPECT_TRUE(prompts.records().empty());
            continue;
        }
        ASSERT_TRUE(exported.ok());
        if (c.sum) {
            const Currency total = *Currency::parse(std::string_view(c.sum)) + Currency::fromInt(10);
            const QString line = QStringLiteral("101;%1;2;%2;2;0;0;0;0;0;0;0;0\r\n")
                                     .arg(total.roundedInRange(0).value().units() / Currency::kUnitsPerWhole)
                                     .arg(plainText(total));
            EXPECT_EQ(read(exp / "20150121.exp"), line.toLatin1());
            EXPECT_EQ(prompts.records().size(), 1u);
        } else {
            EXPECT_EQ(read(exp / "20150121.exp"), lines({"101;10;1;10;1;0;0;0;0;0;0;0;0"}));
            ASSERT_EQ(prompts.records().size(), 2u);
            EXPECT_EQ(prompts.records()[0].text, dejText("NezapocteneRadky") + u'1' + dejText("VSouborech") +
                                                     QStringLiteral("150110_101_OP1_1.vyc"));
        }
    }
}

TEST_F(SmScanTest, ASumTheMoneyTypeCannotHoldEndsTheExportNamingTheFile) {
    // One value at the top of the range and ten crowns more; two halves of the range.
    for (const auto& values : std::vector<std::vector<const char*>>{{"922337203685477.5807", "10,00"},
                                                                    {"500000000000000", "500000000000000"}}) {
        SCOPED_TRACE(values[0]);
        prompts = ScriptedPrompts();
        vyc("150110_101_OP1_1.vyc", {one(10, 1000, "10,00")});
        vyc("150111_101_OP1_2.vyc", {one(10, 1000, values[0]), one(10, 1000, values[1])});
        const Status failed = exportPocetSM(*ctx, january10to12());
        ASSERT_FALSE(failed.ok());
        EXPECT_EQ(failed.message(), sumOutOfRangeText(QStringLiteral("soubor 150111_101_OP1_2.vyc, Sodexo Pass")));
        EXPECT_TRUE(prompts.records().empty());
        EXPECT_FALSE(std::filesystem::exists(exp / "20150121.exp"));
        EXPECT_FALSE(std::filesystem::exists(data / "data.dbf"));
    }

    // Each file fits, their sum per SM does not; nor does an SM's total over its types, nor that of all SMs.
    struct Case {
        std::vector<std::pair<const char*, std::vector<std::pair<QString, const char*>>>> files;
        const char* where;
    };
    const char* half = "500000000000000";
    for (const Case& c : std::vector<Case>{
             {{{"150110_101_OP1_1.vyc", {one(10, 1000, half)}}, {"150111_101_OP1_2.vyc", {one(10, 1000, half)}}},
              "středisko 101, Sodexo Pass"},
             {{{"150110_101_OP1_1.vyc", {one(10, 1000, half), one(9, 1000, half)}}},
              "středisko 101, součet všech typů"},
             {{{"150110_101_OP1_1.vyc", {one(10, 1000, half)}}, {"150111_102_OP1_2.vyc", {one(10, 1000, half)}}},
              "součet všech středisek"}}) {
        SCOPED_TRACE(c.where);
        for (const auto& entry : std::filesystem::directory_iterator(data))
            std::filesystem::remove(entry.path());
        for (const auto& [name, codes] : c.files)
            vyc(name, codes);
        const Status failed = exportTesco(*ctx, january10to12());
        ASSERT_FALSE(failed.ok());
        EXPECT_EQ(failed.message(), sumOutOfRangeText(QString::fromUtf8(c.where)));
        EXPECT_FALSE(std::filesystem::exists(data / "data.dbf"));
        EXPECT_FALSE(std::filesystem::exists(data / "20150121strav.txt"));
    }
}

TEST_F(SmScanTest, ASumTheScratchTableCannotHoldEndsTheExportNamingTheFileOrTheSm) {
    // The table's value columns hold every amount above -10^14, the least of them as it is.
    vyc("150110_101_OP1_1.vyc", {one(10, 1000, "-99999999999999.9999")});
    ASSERT_TRUE(exportPocetSM(*ctx, january10to12()).ok());
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101;-100000000000000;1;-99999999999999,9999;1;0;0;0;0;0;0;0;0"}));
    EXPECT_TRUE(read(data / "data.dbf").contains("-99999999999999.9999"));

    // One file's sum, or an SM's of several files, of -10^14 or below: one message naming them and the limit.
    struct Case {
        std::vector<std::pair<const char*, const char*>> files; // name, value of its one line
        const char* where;
    };
    for (const Case& c :
         std::vector<Case>{{{{"150111_101_OP1_2.vyc", "-100000000000000"}}, "soubor 150111_101_OP1_2.vyc, Sodexo Pass"},
                           {{{"150110_101_OP1_1.vyc", "-60000000000000"}, {"150111_101_OP1_2.vyc", "-40000000000000"}},
                            "středisko 101, Sodexo Pass"}}) {
        for (const bool tesco : {true, false}) {
            SCOPED_TRACE(std::string(c.where) + (tesco ? ", TESCO" : ", counts"));
            for (const auto& entry : std::filesystem::directory_iterator(data))
                std::filesystem::remove(entry.path());
            std::filesystem::remove(exp / "20150121.exp");
            prompts = ScriptedPrompts();
            for (const auto& [name, value] : c.files)
                vyc(name, {one(10, 1000, value)});
            const Status failed = tesco ? exportTesco(*ctx, january10to12()) : exportPocetSM(*ctx, january10to12());
            ASSERT_FALSE(failed.ok());
            EXPECT_EQ(failed.message(), scratchColumnMisfitText(QString::fromUtf8(c.where)));
            EXPECT_TRUE(failed.message().contains(QStringLiteral("data.dbf")));
            EXPECT_TRUE(failed.message().contains(formatCurrency(Currency::fromInt(-100000000000000))));
            EXPECT_TRUE(prompts.records().empty());
            EXPECT_FALSE(std::filesystem::exists(data / "data.dbf"));
            EXPECT_FALSE(std::filesystem::exists(data / "20150121strav.txt"));
            EXPECT_FALSE(std::filesystem::exists(exp / "20150121.exp"));
        }
    }
}

TEST_F(SmScanTest, PerFileAndCustomerPrefixByVariant) {
    vyc("150110_101_AB_1.vyc", {one(10, 1000, "10,00")});
    vyc("150110_101_CD_1.vyc", {one(10, 2000, "20,00")});
    auto request = january10to12();
    request.chkNespojovatSM = true;
    ASSERT_TRUE(exportTesco(*ctx, request).ok());
    EXPECT_EQ(read(data / "20150121strav.txt"),
              QByteArray("Datum: 21.01.2015\r\n\r\nPokladna\tStrav.spol.\r\n--------\t----------\r\n"
                         "101\t\t10\r\n101\t\t20\r\n--------\t----------\r\nTOTAL\t\t30\r\n"));

    // Customer mode: the accounting batch reads the name without its first two characters, TESCO as it stands.
    std::filesystem::remove(data / "150110_101_AB_1.vyc");
    std::filesystem::remove(data / "150110_101_CD_1.vyc");
    state->sw.gFZakaznik = true;
    vyc("XX150110_205_AB_1.vyc", {one(10, 1000, "10,00")});
    auto cba = sumPeriodPerSm(*ctx, january10to12(), SmSumsVariant::Cba);
    ASSERT_TRUE(cba.ok());
    ASSERT_EQ(cba.value().rows.size(), 1u);
    EXPECT_EQ(cba.value().rows[0].sm, QStringLiteral("205"));
    prompts = ScriptedPrompts();
    auto tesco = sumPeriodPerSm(*ctx, january10to12(), SmSumsVariant::Tesco);
    ASSERT_TRUE(tesco.ok());
    EXPECT_TRUE(tesco.value().rows.empty()); // "XX150110" is no date of the period
}

TEST_F(SmScanTest, GroupsOfSwitch37AreTheColumns) {
    write(home / "TypStravGroup.ini",
          "[TYPY]\r\nPocet=2\r\n"
          "[TYP1]\r\nNazev=Papir\r\nDelka=10\r\nPozCastka=1\r\nDelkaCastka=5\r\nKoefCastka=-100\r\n"
          "[TYP2]\r\nNazev=Karty\r\nDelka=9\r\nPozCastka=1\r\nDelkaCastka=5\r\nKoefCastka=-100\r\n");
    state->sw.gFSkupiny = true;
    vyc("150110_101_OP1_1.vyc", {one(10, 60000, "600,00"), one(9, 40000, "400,00"), one(9, 1000, "10,00")});
    ASSERT_TRUE(exportPocetSM(*ctx, january10to12()).ok());
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101;1010;3;600;1;410;2"}));
}

TEST_F(SmScanTest, ExcludedSmsInAnyNotation) {
    for (const char* list : {"101;205", "101,205", "101 205"}) {
        SCOPED_TRACE(list);
        write(home / "TRV7300.ini", QByteArray("[Data]\r\nDir=data\r\nExpTxtSeparator=;\r\n[CBA_EXPORT_VEREX]\r\n"
                                               "NeexportovatSM=") +
                                        list + "\r\n");
        vyc("150110_205_OP1_1.vyc", {one(10, 1000, "10,00")});
        vyc("150110_300_OP1_1.vyc", {one(10, 1000, "10,00")});
        auto summed = sumPeriodPerSm(*ctx, january10to12(), SmSumsVariant::Cba);
        ASSERT_TRUE(summed.ok());
        ASSERT_EQ(summed.value().rows.size(), 1u);
        EXPECT_EQ(summed.value().rows[0].sm, QStringLiteral("300"));
    }
}

TEST_F(SmScanTest, CountsExportRefusesASeparatorAFieldCanHold) {
    vyc("150110_101_OP1_1.vyc", {one(10, 10286, "102,86")});
    for (const char* separator : {",", "1", "-", "a,"}) {
        SCOPED_TRACE(separator);
        write(home / "TRV7300.ini",
              QByteArray("[Data]\r\nDir=data\r\nExpDir=exp\r\nExpTxtSeparator=") + separator + "\r\n");
        const Status refused = exportPocetSM(*ctx, january10to12());
        ASSERT_FALSE(refused.ok());
        EXPECT_TRUE(refused.message().contains(QString::fromLatin1(separator)));
        EXPECT_TRUE(refused.message().contains(QLatin1String("ExpTxtSeparator")));
        EXPECT_FALSE(std::filesystem::exists(exp / "20150121.exp"));
        EXPECT_FALSE(std::filesystem::exists(data / "data.dbf"));
    }
    // Statement files are written with the configured separator too.
    write(home / "TRV7300.ini", "[Data]\r\nDir=data\r\nExpDir=exp\r\nExpTxtSeparator=|\r\n");
    write(data / "150110_101_OP1_1.vyc", "150110|150110|101|1|" + code(10, 10286, 1).toLatin1() + "|102,86|OP1\r\n");
    ASSERT_TRUE(exportPocetSM(*ctx, january10to12()).ok());
    EXPECT_EQ(read(exp / "20150121.exp"), lines({"101|103|1|102,86|1|0|0|0|0|0|0|0|0"}));
}

TEST_F(SmScanTest, EveryFileReadIsToldAndACancelledExportWritesNothing) {
    vyc("150110_101_OP1_1.vyc", {one(10, 1000, "10,00")});
    vyc("150111_102_OP1_1.vyc", {one(10, 2000, "20,00")});
    vyc("150112_101_OP1_2.vyc", {one(10, 3000, "30,00")});
    PeriodExportRequest request;
    request.period = january10to12();
    request.dtDek = QDate(2015, 1, 15);
    using Steps = std::vector<std::pair<qint64, qint64>>;
    // What the export button writes: by the switch, the TESCO file, the counts per SM or the merged statement file.
    struct Case {
        const char* what;
        bool tesco, counts;
        std::filesystem::path file;
    };
    for (const Case& c :
         {Case{"tesco", true, false, data / "20150121strav.txt"}, Case{"counts", false, true, exp / "20150121.exp"},
          Case{"merged", false, false, data / "150115.vyc"}}) {
        SCOPED_TRACE(c.what);
        state->sw.gFExportTesco = c.tesco;
        state->sw.gFExportExp = c.counts;
        // A previous export and scratch table stay as they were when the operator cancels.
        write(c.file, "old\r\n");
        write(data / "data.dbf", "old");
        prompts = ScriptedPrompts();
        CancellingProgress cancelling(1);
        ctx->progress = &cancelling;
        const Status cancelled = cmdExportDel(*ctx, request);
        ASSERT_FALSE(cancelled.ok());
        EXPECT_EQ(cancelled.message(), Progress::cancelledText());
        EXPECT_EQ(cancelling.steps, (Steps{{0, 3}, {1, 3}}));
        EXPECT_EQ(prompts.texts(), QStringList{Progress::cancelledText()});
        EXPECT_EQ(read(c.file), QByteArray("old\r\n"));
        EXPECT_EQ(read(data / "data.dbf"), QByteArray("old"));

        CancellingProgress watched(99);
        ctx->progress = &watched;
        ASSERT_TRUE(cmdExportDel(*ctx, request).ok());
        EXPECT_EQ(watched.steps, (Steps{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
        EXPECT_NE(read(c.file), QByteArray("old\r\n"));
    }
}

} // namespace
} // namespace trv::test
