#include "exports/IssuerLists.h"
#include "exports/CompanyExportDispatch.h"

#include "ExportsFixture.h"

namespace trv::test {
namespace {

class IssuerListsTest : public ExportsFixture {
protected:
    // The numbered values 1.00, 2.00, ... n.00.
    void bookDistinct(CColStrav& period, int typeIndex, int n) {
        for (int i = 1; i <= n; ++i)
            book(period, typeIndex, code(period.Item(typeIndex)->Delka, i * 100, i));
    }
    static QByteArray csvRows(int from, int to) {
        QByteArray out;
        for (int i = from; i <= to; ++i)
            out += QByteArray::number(i) + ",00;1\r\n";
        return out;
    }
    static QByteArray repeat(const QByteArray& line, int n) {
        QByteArray out;
        for (int i = 0; i < n; ++i)
            out += line;
        return out;
    }
    std::filesystem::path opened() const {
        return shell.requests().empty() ? std::filesystem::path() : shell.requests().back().path;
    }
    const ExportTypeChoice vasa{QStringLiteral("VasaStravovacia"), 2};
    const ExportTypeChoice sodexo{QStringLiteral("Sodexo Pass"), 1};
    const ExportTypeChoice doxx{QStringLiteral("DOXX"), 3};
    const ExportTypeChoice edenred{QStringLiteral("Edenred"), 4};
};

TEST_F(IssuerListsTest, RowsAreSortedByValueAndNoReadIsNotCounted) {
    auto period = newPeriod();
    bookValues(*period, 2, {10000, 8000, 8000, 7550});
    book(*period, 2, state->gNoRead);
    ASSERT_TRUE(exportujSupiskuCsv(*ctx, *period, vasa, Issuer::Vasa).ok());
    EXPECT_EQ(read(spol / "exportVasaStr.csv"), lines({"75,50;1", "80,00;2", "100,00;1"}));
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].kind, RecordingShell::Request::Document);
    EXPECT_EQ(opened(), spol / "SUPISKAV_SL.XLS");
}

TEST_F(IssuerListsTest, CsvRowLimitsStopBeforeTheFormOverflows) {
    struct Case {
        Issuer issuer;
        int typeIndex;
        const char* file;
        const char* templ;
        int fits; // rows the form holds
    };
    for (const Case& c : {Case{Issuer::Vasa, 2, "exportVasaStr.csv", "SUPISKAV_SL.XLS", 31},
                          Case{Issuer::Doxx, 3, "supiska-DOXX.csv", "supiska-DOXX.xls", 32},
                          Case{Issuer::Edenred, 4, "supiska-Edenred.csv", "supiska-Edenred.xls", 45}}) {
        SCOPED_TRACE(c.file);
        const ExportTypeChoice choice{newPeriod()->Item(c.typeIndex)->Nazev, c.typeIndex};
        auto full = newPeriod();
        bookDistinct(*full, c.typeIndex, c.fits);
        shell.clear();
        ASSERT_TRUE(exportujSupiskuCsv(*ctx, *full, choice, c.issuer).ok());
        EXPECT_EQ(read(spol / c.file), csvRows(1, c.fits));
        EXPECT_EQ(opened(), spol / c.templ);
        EXPECT_TRUE(prompts.records().empty());

        auto over = newPeriod();
        bookDistinct(*over, c.typeIndex, c.fits + 1);
        shell.clear();
        ASSERT_TRUE(exportujSupiskuCsv(*ctx, *over, choice, c.issuer).ok());
        EXPECT_EQ(read(spol / c.file), csvRows(1, c.fits));
        EXPECT_TRUE(shell.requests().empty());
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_EQ(prompts.records()[0].text, dejText("expPrekrRadForm"));
        EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
        prompts = ScriptedPrompts();
    }
}

TEST_F(IssuerListsTest, SodexoCsvFillsThreeBlocksOfTwelve) {
    auto period = newPeriod();
    bookValues(*period, 1, {100, 200, 300, 400, 500});
    ASSERT_TRUE(exportujSupiskuCsv(*ctx, *period, sodexo, Issuer::Sodexo).ok());
    EXPECT_EQ(read(spol / "supiska-Sodexo1.csv"),
              lines({"1,00;1", "2,00;1", "3,00;1", "4,00;1", "5,00;1"}) + repeat("0;0\r\n", 7));
    EXPECT_EQ(read(spol / "supiska-Sodexo2.csv"), repeat("0;0\r\n", 12));
    EXPECT_EQ(read(spol / "supiska-Sodexo3.csv"), repeat("0;0\r\n", 12));
    EXPECT_EQ(opened(), spol / "supiska-Sodexo.xls");

    auto full = newPeriod();
    bookDistinct(*full, 1, 36);
    ASSERT_TRUE(exportujSupiskuCsv(*ctx, *full, sodexo, Issuer::Sodexo).ok());
    EXPECT_EQ(read(spol / "supiska-Sodexo3.csv"), csvRows(25, 36));

    auto over = newPeriod();
    bookDistinct(*over, 1, 38);
    shell.clear();
    ASSERT_TRUE(exportujSupiskuCsv(*ctx, *over, sodexo, Issuer::Sodexo).ok());
    EXPECT_EQ(read(spol / "supiska-Sodexo3.csv"), csvRows(25, 37));
    EXPECT_TRUE(shell.requests().empty());
    EXPECT_EQ(prompts.texts(), QStringList{dejText("expPrekrRadForm")});
}

TEST_F(IssuerListsTest, SodexoToTheListProgramUsesOneFileWithoutPadding) {
    state->sw.gFExportVycetkyPath = true;
    auto period = newPeriod();
    bookValues(*period, 1, {100, 200, 300, 400, 500});
    ASSERT_TRUE(exportujSupiskuCsv(*ctx, *period, sodexo, Issuer::Sodexo).ok());
    EXPECT_EQ(read(spol / "supiska-Sodexo1.csv"), lines({"1,00;1", "2,00;1", "3,00;1", "4,00;1", "5,00;1"}));
    EXPECT_EQ(read(spol / "supiska-Sodexo2.csv"), QByteArray());
    EXPECT_EQ(read(spol / "supiska-Sodexo3.csv"), QByteArray());
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].path, home / "seznamy.exe");
    EXPECT_EQ(shell.requests()[0].arguments, QStringList{QStringLiteral("Sodexo")});
}

TEST_F(IssuerListsTest, ExportTypeChoice) {
    auto period = newPeriod();
    bookValues(*period, 2, {5000});
    // The all-types entry exports nothing, yet the empty list is written and the template opened.
    ASSERT_TRUE(exportujSupiskuCsv(*ctx, *period, {QStringLiteral("Všechny"), 0}, Issuer::Vasa).ok());
    EXPECT_EQ(read(spol / "exportVasaStr.csv"), QByteArray());
    EXPECT_EQ(opened(), spol / "SUPISKAV_SL.XLS");
    // The name must match exactly.
    EXPECT_TRUE(chosenTypes(*period, {QStringLiteral("vasastravovacia"), 2}).empty());

    // A period of one type has no all-types entry: its only type carries the mark 0 and is the choice.
    write(home / "TypStrav.ini", "[TYPY]\r\nPocet=1\r\n[TYP1]\r\nNazev=VasaStravovacia\r\nDelka=9\r\nPozCastka=1\r\n"
                                 "DelkaCastka=5\r\nKoefCastka=-100\r\n");
    auto single = newPeriod();
    bookValues(*single, 1, {5000});
    ASSERT_TRUE(exportujSupiskuCsv(*ctx, *single, {QStringLiteral("VasaStravovacia"), 0}, Issuer::Vasa).ok());
    EXPECT_EQ(read(spol / "exportVasaStr.csv"), lines({"50,00;1"}));
}

TEST_F(IssuerListsTest, HtmlListsArePaddedToTheirForms) {
    const QByteArray head = "<HTML><HEAD></HEAD><BODY><TABLE border=\"1\">\r\n";
    const QByteArray tail = "</TABLE></BODY></HTML>\r\n";
    auto period = newPeriod();
    bookValues(*period, 3, {100, 200, 300});
    bookValues(*period, 2, {100, 200, 300});
    bookValues(*period, 1, {100, 200, 300, 400, 500});

    ASSERT_TRUE(exportujSupiskuHtml(*ctx, *period, doxx, Issuer::Doxx).ok());
    EXPECT_EQ(read(spol / "supiska-DOXX.html"),
              head +
                  lines({"<TR><TD>1,00</TD><TD>1</TD></TR>", "<TR><TD>2,00</TD><TD>1</TD></TR>",
                         "<TR><TD>3,00</TD><TD>1</TD></TR>"}) +
                  repeat("<TR><TD></TD><TD></TD></TR>\r\n", 29) + tail);
    EXPECT_EQ(opened(), spol / "supiska-DOXX.ods");

    ASSERT_TRUE(exportujSupiskuHtml(*ctx, *period, vasa, Issuer::Vasa).ok());
    EXPECT_EQ(read(spol / "supiska-VasaStravovacia1.html"),
              head + lines({"<TR><TD>1,00</TD></TR>", "<TR><TD>2,00</TD></TR>", "<TR><TD>3,00</TD></TR>"}) +
                  repeat("<TR><TD></TD></TR>\r\n", 28) + tail);
    EXPECT_EQ(read(spol / "supiska-VasaStravovacia2.html"),
              head + repeat("<TR><TD>1</TD></TR>\r\n", 3) + repeat("<TR><TD></TD></TR>\r\n", 28) + tail);

    ASSERT_TRUE(exportujSupiskuHtml(*ctx, *period, sodexo, Issuer::Sodexo).ok());
    QByteArray first = head;
    for (int i = 1; i <= 5; ++i)
        first += "<TR><TD>" + QByteArray::number(i) + ",00</TD><TD>1</TD></TR>\r\n";
    EXPECT_EQ(read(spol / "supiska-Sodexo1.html"), first + repeat("<TR><TD></TD><TD></TD></TR>\r\n", 7) + tail);
    EXPECT_EQ(read(spol / "supiska-Sodexo3.html"), head + repeat("<TR><TD></TD><TD></TD></TR>\r\n", 12) + tail);
    EXPECT_EQ(opened(), spol / "supiska-Sodexo.ods");
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(IssuerListsTest, EdenredHtmlStopsAtItsThirtySixthRowWithoutTail) {
    auto period = newPeriod();
    bookDistinct(*period, 4, 35);
    ASSERT_TRUE(exportujSupiskuHtml(*ctx, *period, edenred, Issuer::Edenred).ok());
    QByteArray rows;
    for (int i = 1; i <= 35; ++i)
        rows += "<TR><TD >" + QByteArray::number(i) + ",00</TD><TD>1</TD></TR>\r\n";
    const QByteArray head = "<HTML><HEAD></HEAD><BODY><TABLE border=\"1\">\r\n";
    EXPECT_EQ(read(spol / "supiska-Edenred.html"), head + rows + "</TABLE></BODY></HTML>\r\n");
    EXPECT_EQ(opened(), spol / "supiska-Edenred.ods");

    auto over = newPeriod();
    bookDistinct(*over, 4, 36);
    shell.clear();
    ASSERT_TRUE(exportujSupiskuHtml(*ctx, *over, edenred, Issuer::Edenred).ok());
    EXPECT_EQ(read(spol / "supiska-Edenred.html"), head + rows);
    EXPECT_TRUE(shell.requests().empty());
    EXPECT_EQ(prompts.texts(), QStringList{dejText("expPrekrRadForm")});
}

TEST_F(IssuerListsTest, ChequeListAndEstablishment) {
    auto period = newPeriod();
    auto type = period->Item(3);
    type->nazevProvozovny = QStringLiteral("Jídelna U Lípy");
    type->cisloProvozovny = QStringLiteral("17");
    type->email = QStringLiteral("a@b.cz");
    bookValues(*period, 3, {50000}, 3);
    bookValues(*period, 3, {90000});
    ASSERT_TRUE(exportujSupiskuCheque(*ctx, *period, doxx).ok());
    EXPECT_EQ(read(spol / "supiska.csv"), lines({"500,00;3;1500,00", "900,00;1;900,00"}));
    EXPECT_EQ(read(spol / "db.csv"), QByteArray("17;;J\xED"
                                                "delna U L\xED"
                                                "py;;;;;;;;a@b.cz;\r\n"));
    EXPECT_EQ(prompts.texts(), QStringList{dejText("expSoup1") + native(spol / "db.csv") + dejText("expSoup2")});
    EXPECT_TRUE(shell.requests().empty());

    // The form program is started instead of the message.
    prompts = ScriptedPrompts();
    type->FormularExe = QStringLiteral("/opt/formular/run --list supiska.csv");
    ASSERT_TRUE(exportujSupiskuCheque(*ctx, *period, doxx).ok());
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].kind, RecordingShell::Request::Program);
    EXPECT_EQ(shell.requests()[0].path, std::filesystem::path("/opt/formular/run"));
    EXPECT_EQ(shell.requests()[0].arguments, (QStringList{QStringLiteral("--list"), QStringLiteral("supiska.csv")}));
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(IssuerListsTest, ChequeListRefusesAFieldThatWouldShiftDbCsv) {
    auto period = newPeriod();
    period->Item(3)->nazevProvozovny = QStringLiteral("Jídelna");
    period->Item(3)->ulice = QStringLiteral("Dlouhá 5; vchod B");
    bookValues(*period, 3, {50000});
    const Status refused = exportujSupiskuCheque(*ctx, *period, doxx);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.message().contains(QLatin1String("ulice")));
    EXPECT_FALSE(std::filesystem::exists(spol / "db.csv"));
    EXPECT_FALSE(std::filesystem::exists(spol / "supiska.csv"));

    // Without an establishment name the type gives no rows, and db.csv holds the empty fields.
    auto unnamed = newPeriod();
    bookValues(*unnamed, 3, {50000});
    ASSERT_TRUE(exportujSupiskuCheque(*ctx, *unnamed, doxx).ok());
    EXPECT_EQ(read(spol / "supiska.csv"), QByteArray());
    EXPECT_EQ(read(spol / "db.csv"), QByteArray(";;;;;;;;;;;\r\n"));
}

// ---- The export button

TEST_F(IssuerListsTest, PerCompanyFileNames) {
    const QDate jan1(2015, 1, 1), jan31(2015, 1, 31);
    EXPECT_EQ(nazevSouboruSpolecnosti(QStringLiteral("Sodexo Pass"), jan1, jan31, false),
              QStringLiteral("15010131Sod"));
    EXPECT_EQ(nazevSouboruSpolecnosti(QStringLiteral("Sodexo Pass"), jan1, jan31, true), QStringLiteral("5010131S"));
    EXPECT_EQ(nazevSouboruSpolecnosti(QStringLiteral("Sodexo Pass"), QDate(2015, 1, 25), QDate(2015, 2, 5), false),
              QStringLiteral("15012505Sod"));
    EXPECT_EQ(nazevSouboruSpolecnosti(QStringLiteral("AB"), jan1, jan31, false), QStringLiteral("15010131AB"));
}

TEST_F(IssuerListsTest, PerCompanyTextFileTakesEveryTypeOfThePrefix) {
    auto period = newPeriod();
    book(*period, 1, QStringLiteral("0100000001"));
    book(*period, 5, QStringLiteral("0200001"));
    book(*period, 1, QStringLiteral("0100000002"));
    book(*period, 2, QStringLiteral("010000003"));
    ASSERT_TRUE(cmdExport(*ctx, period.get(), sodexo, QDate(2015, 1, 1), QDate(2015, 1, 31)).ok());
    const auto file = spol / "15010131Sod.txt";
    EXPECT_EQ(read(file), lines({"0100000001", "0100000002", "0200001"}));
    EXPECT_EQ(prompts.texts(), QStringList{dejText("Soubor") + native(file) + dejText("BylUlozen")});
    EXPECT_TRUE(shell.requests().empty());
    EXPECT_EQ(period->Item(1)->Polozky->count(), 2); // the period is only read
}

TEST_F(IssuerListsTest, ExportRefusesAPeriodNotComputed) {
    ASSERT_FALSE(cmdExport(*ctx, nullptr, sodexo, QDate(2015, 1, 1), QDate(2015, 1, 31)).ok());
    EXPECT_EQ(prompts.texts(), QStringList{dejText("ObdobiNespocitano")});
    EXPECT_FALSE(std::filesystem::exists(spol / "15010131Sod.txt"));

    // A computed period without codes of the type exports its empty list.
    prompts = ScriptedPrompts();
    auto period = newPeriod();
    ASSERT_TRUE(cmdExport(*ctx, period.get(), sodexo, QDate(2015, 1, 1), QDate(2015, 1, 31)).ok());
    EXPECT_EQ(read(spol / "15010131Sod.txt"), QByteArray());
}

TEST_F(IssuerListsTest, DispatcherChoosesListsByNameAndSwitches) {
    struct Case {
        const char* name;
        bool lists;                     // switch 20
        bool html;                      // switch 36
        std::vector<std::string> made;  // files the run writes in the per-company folder
        std::vector<const char*> order; // what the operator sees, export by export
    };
    const std::vector<Case> cases{
        {"CHEQUE VAS",
         true,
         false,
         {"supiska.csv", "db.csv", "exportVasaStr.csv"},
         {"message db.csv", "open SUPISKAV_SL.XLS"}},
        {"Nic", true, false, {}, {}},
        {"VasaStravovacia",
         false,
         false,
         {"exportVasaStr.csv", "15010131Vas.txt"},
         {"open SUPISKAV_SL.XLS", "message 15010131Vas.txt"}},
        {"Red Card",
         false,
         false,
         {"supiska-Edenred.csv", "15010131Red.txt"},
         {"open supiska-Edenred.xls", "message 15010131Red.txt"}},
        {"Red Card", true, false, {}, {}},
        {"Ticket Edenred", true, true, {"supiska-Edenred.html"}, {"open supiska-Edenred.ods"}},
        {"Sodexo",
         true,
         false,
         {"supiska-Sodexo1.csv", "supiska-Sodexo2.csv", "supiska-Sodexo3.csv"},
         {"open supiska-Sodexo.xls"}},
        {"Sode", true, false, {}, {}},
        // Several words start several exports, in the order of the list, the per-company file last.
        {"VAS DOXX SODEXO TICKET",
         false,
         false,
         {"15010131VAS.txt", "exportVasaStr.csv", "supiska-DOXX.csv", "supiska-Edenred.csv", "supiska-Sodexo1.csv",
          "supiska-Sodexo2.csv", "supiska-Sodexo3.csv"},
         {"open SUPISKAV_SL.XLS", "open supiska-DOXX.xls", "open supiska-Edenred.xls", "open supiska-Sodexo.xls",
          "message 15010131VAS.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(spol);
        std::filesystem::create_directories(spol);
        state->sw.gFExportSeznamu = c.lists;
        state->sw.gFExportHtml = c.html;
        state->sw.gFExpVasa = state->sw.gFExpDoxx = state->sw.gFExpEdenred = state->sw.gFExpSodexo = true;
        prompts = ScriptedPrompts();
        shell.clear();
        // What the operator sees, in order: each export opens its template or names the file it wrote.
        std::vector<std::string> seen;
        size_t opened = 0;
        const auto takeOpened = [&] {
            for (; opened < shell.requests().size(); ++opened)
                seen.push_back("open " + shell.requests()[opened].path.filename().string());
        };
        prompts.setWhileOpen([&] {
            takeOpened();
            for (const auto& e : std::filesystem::directory_iterator(spol)) {
                const std::string file = e.path().filename().string();
                if (prompts.records().back().text.contains(QString::fromStdString(file)))
                    seen.push_back("message " + file);
            }
        });
        auto period = newPeriod();
        ASSERT_TRUE(
            cmdExport(*ctx, period.get(), {QString::fromUtf8(c.name), 7}, QDate(2015, 1, 1), QDate(2015, 1, 31)).ok());
        takeOpened();
        EXPECT_EQ(seen, std::vector<std::string>(c.order.begin(), c.order.end()));
        std::vector<std::string> made;
        for (const auto& e : std::filesystem::directory_iterator(spol))
            made.push_back(e.path().filename().string());
        std::sort(made.begin(), made.end());
        std::vector<std::string> expected = c.made;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(made, expected);
    }
}

TEST_F(IssuerListsTest, AFileThatCannotBeWrittenIsReported) {
    write(home / "TRV7300.ini", "[Data]\r\nDir=data\r\nExpSpolDir=chybi/spol\r\n");
    auto period = newPeriod();
    bookValues(*period, 2, {5000});
    state->sw.gFExpVasa = true;
    const Status failed = cmdExport(*ctx, period.get(), vasa, QDate(2015, 1, 1), QDate(2015, 1, 31));
    ASSERT_FALSE(failed.ok());
    // Both the list and the per-company file fail, each reported with the file it names; nothing is opened.
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[0].text.contains(QLatin1String("exportVasaStr.csv")));
    EXPECT_TRUE(prompts.records()[1].text.contains(QLatin1String("15010131Vas.txt")));
    EXPECT_TRUE(shell.requests().empty());
}

} // namespace
} // namespace trv::test
