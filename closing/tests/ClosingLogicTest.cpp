#include "closing/CheckStatementLogic.h"
#include "closing/ClosingWindowLogic.h"
#include "closing/tests/ClosingFixture.h"
#include "core/ConfigAccess.h"

using namespace trv;
using namespace trv::test;

namespace {

// A spooler standing in for the renderer: every job goes to a PDF file (no printer installed), or fails.
class PdfSpooler final : public PrintSpooler {
public:
    explicit PdfSpooler(std::filesystem::path file, bool fail = false) : m_file(std::move(file)), m_fail(fail) {}
    Result<PrintOutcome> spool(const PrintDocument& document) override {
        jobs.push_back(document);
        if (m_fail)
            return Error{0, QStringLiteral("Tiskárna neodpovídá.")};
        return PrintOutcome{true, m_file};
    }
    std::vector<PrintDocument> jobs;

private:
    std::filesystem::path m_file;
    bool m_fail;
};

} // namespace

TEST_F(ClosingTest, RemovalOfNoreadAndRepeatedCodesFollowsAutoDupl) {
    const struct {
        QString autoDupl;
        bool removes;
    } cases[] = {{QStringLiteral("True"), true},
                 {QStringLiteral("true"), true},
                 {QString(), true},
                 {QStringLiteral("False"), false},
                 {QStringLiteral("fALSE"), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.autoDupl.toStdString());
        ClosingEnv local;
        local.state.gAutoDupl = c.autoDupl;
        UkonceniPrijmu closing(local.state, local.receipt, local.prompts, local.clock, local.printer, {});
        EXPECT_EQ(closing.pocetNoRead(), 2);
        const auto noread = closing.vyhodNoread();
        ASSERT_EQ(noread.has_value(), c.removes);
        if (!c.removes) {
            EXPECT_FALSE(closing.vyhodNoreadPriNacteni().has_value());
            EXPECT_EQ(local.codesOf(local.che).size(), 6);
            continue;
        }
        // Only the NOREAD readings: the repeated code stays.
        EXPECT_EQ(*noread, QStringLiteral("Odstraněno 2 položek NOREAD."));
        EXPECT_EQ(local.codesOf(local.che).size(), 4);
        // Then the repeated codes, the first of equal codes staying.
        EXPECT_EQ(*closing.vyhodNoreadPriNacteni(), QStringLiteral("Odstraněno 2 položek NOREAD a duplicit."));
        EXPECT_EQ(local.codesOf(local.che),
                  (QStringList{ClosingEnv::kChe55a, ClosingEnv::kChe100, ClosingEnv::kChe55b}));
        EXPECT_EQ(local.codesOf(local.sod),
                  (QStringList{ClosingEnv::kSod100, ClosingEnv::kSod55_5, ClosingEnv::kSod50}));
    }
}

TEST_F(ClosingTest, StornoDeletesOnlyAFileThisReceiptCreated) {
    const struct {
        const char* name;
        bool createdNew;
        bool keep;
        bool readOnly;
        bool deleted;
    } cases[] = {
        {"created new", true, false, false, true},
        {"appended to", false, false, false, false},
        {"kept by the receipt start", true, true, false, false},
        {"read-only", true, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClosingEnv local;
        const auto dayFile = local.dataFile(QStringLiteral("260314007_2.txt"));
        ASSERT_TRUE(TextFiles::writeAll(dayFile, QStringLiteral("0123456789010005500001\r\n")).ok());
        if (c.readOnly)
            std::filesystem::permissions(dayFile, std::filesystem::perms::owner_read);
        local.state.gSouborVytvorenNovy = c.createdNew;
        local.receipt.gNemazatSoubor = c.keep;
        UkonceniPrijmu closing(local.state, local.receipt, local.prompts, local.clock, local.printer, {});
        closing.setDenniSoubor(dayFile);
        closing.storno();
        EXPECT_EQ(TextFiles::exists(dayFile), !c.deleted);
        // The document number is stepped back in every case.
        EXPECT_EQ(local.state.config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("LastFile"), QString()),
                  QStringLiteral("260314001_0004"));
        EXPECT_TRUE(local.prompts.records().empty());
    }
}

// Before a Storno the question counts the codes the Storno throws away (not those the file held before the receipt,
// which come back with it), says what becomes of the file, and names what an earlier save of the receipt that did
// not end wrote, which stays.
TEST_F(ClosingTest, TheStornoQuestionCountsTheCodesThrownAwayAndSaysWhatBecomesOfTheFile) {
    using Fate = ReceiptRecord::Discard::Fate;
    const auto file = env.dataFile(QStringLiteral("260314007_2.txt"));
    const QString path = TextFiles::toQString(file);
    // Three of the receipt's ten codes were in the file before it; the rest of what it held is no longer in memory.
    const QStringList before{ClosingEnv::kChe55a, ClosingEnv::kChe55a, ClosingEnv::kChe55a, ClosingEnv::kSod100,
                             QStringLiteral("9999")};
    const QStringList outputs{QStringLiteral("denní soubor ") + path, QStringLiteral("export Sodexo Pass")};
    const QString back = QStringLiteral("\r\n\r\nVrátit se do okna a příjem ponechat? (Ano: zpět do okna. Ne: zahodit "
                                        "příjem. Storno: zpět do okna.)");
    const struct {
        const char* name;
        ReceiptRecord::Discard discard;
        QString question;
    } cases[] = {
        {"created",
         {file, Fate::Removed, {}, {}},
         QStringLiteral("Příjem není uložen. Neuložených kódů: 10\r\nZahození příjmu smaže soubor, který tento příjem "
                        "vytvořil: ") +
             path + back},
        {"appended to",
         {file, Fate::PutBack, before, {}},
         QStringLiteral("Příjem není uložen. Neuložených kódů: 7\r\nZahození příjmu vrátí soubor do stavu před tímto "
                        "příjmem: ") +
             path + back},
        {"after an interrupted save",
         {file, Fate::PutBack, before, outputs},
         QStringLiteral("Příjem není uložen. Neuložených kódů: 7\r\nZahození příjmu vrátí soubor do stavu před tímto "
                        "příjmem: ") +
             path +
             QStringLiteral("\r\nDřívější uložení tohoto příjmu bylo přerušeno; co z něj už je zapsáno, zahození "
                            "ponechá: denní soubor ") +
             path + QStringLiteral(", export Sodexo Pass") + back},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClosingHooks hooks;
        hooks.popisZahozeni = [&c] { return c.discard; };
        UkonceniPrijmu closing(env.state, env.receipt, env.prompts, env.clock, env.printer, hooks);
        env.prompts.queueAnswer(Prompts::Answer::Yes);
        EXPECT_FALSE(closing.potvrdOdchod(UkonceniPrijmu::Odchod::Storno));
        EXPECT_EQ(env.prompts.records().back().text, c.question);
    }
}

TEST_F(ClosingTest, SaveAndPrintPrintsEveryCompanyWithTheConfiguredCopies) {
    env.state.sw.gFZakaznik = true;
    env.writeConfig(QString());
    ASSERT_TRUE(env.state.config.zapis(QStringLiteral("User"), QStringLiteral("PocetKopii"), QStringLiteral("2")).ok());
    UkonceniPrijmu closing(env.state, env.receipt, env.prompts, env.clock, env.printer, {});
    closing.setDenniSoubor(env.dataFile(QStringLiteral("260314007_2.txt")));
    std::vector<int> shown;
    ASSERT_TRUE(closing.ulozATiskni([&](int entry) { shown.push_back(entry); }));

    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3}));
    // The company without codes prints nothing in customer mode.
    ASSERT_EQ(env.printer.printed().size(), 2u);
    for (const auto& doc : env.printer.printed())
        EXPECT_EQ(doc.copies, 2);
    EXPECT_TRUE(env.printer.printed()[0].textLines().contains(QString(23, u' ') + QStringLiteral("Cheque Dejeuner")));
    EXPECT_TRUE(TextFiles::exists(env.dataFile(QStringLiteral("260314007_2.txt"))));
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Tisk součtů proběhl."));

    // No copies: the receipt is saved, nothing printed, and the operator told all the same.
    ClosingEnv none;
    none.state.sw.gFZakaznik = true;
    ASSERT_TRUE(
        none.state.config.zapis(QStringLiteral("User"), QStringLiteral("PocetKopii"), QStringLiteral("0")).ok());
    UkonceniPrijmu noCopies(none.state, none.receipt, none.prompts, none.clock, none.printer, {});
    noCopies.setDenniSoubor(none.dataFile(QStringLiteral("260314007_2.txt")));
    ASSERT_TRUE(noCopies.ulozATiskni({}));
    EXPECT_TRUE(none.printer.printed().empty());
    EXPECT_EQ(none.prompts.texts().last(), QStringLiteral("Tisk součtů proběhl."));
}

TEST_F(ClosingTest, APrintThatWentToAFileSaysWhereAndAFailedOneSaysWhy) {
    const auto pdf = env.folder / "tisk" / "tisk-260314-164530.pdf";
    PdfSpooler spooler(pdf);
    env.printer.setSpooler(&spooler);
    UkonceniPrijmu closing(env.state, env.receipt, env.prompts, env.clock, env.printer, {});
    closing.tiskSouctu(StatementChoice::allCompanies());
    ASSERT_EQ(spooler.jobs.size(), 1u);
    EXPECT_EQ(env.prompts.texts(),
              QStringList{QStringLiteral("Tiskárna není k dispozici, tisk byl uložen do souboru ") +
                          TextFiles::toQString(pdf)});

    PdfSpooler failing(pdf, true);
    env.printer.setSpooler(&failing);
    KontrolniVycetka check(env.state, env.receipt, env.prompts, env.clock, env.printer, {});
    check.tisk();
    ASSERT_EQ(env.prompts.records().size(), 2u);
    EXPECT_EQ(env.prompts.records()[1].icon, Prompts::Icon::Critical);
    EXPECT_EQ(env.prompts.records()[1].text, QStringLiteral("Tisk se nezdařil.\r\nTiskárna neodpovídá."));

    // To a printer: the message of a finished print.
    env.printer.setSpooler(nullptr);
    check.tisk();
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Tisk proběhl."));
}

TEST_F(ClosingTest, CheckStatementDeletesCodes) {
    KontrolniVycetka check(env.state, env.receipt, env.prompts, env.clock, env.printer, {});

    env.prompts.queueInput(ClosingEnv::kChe100);
    check.smazStravenku();
    env.prompts.queueInput(QStringLiteral("1234569999")); // a Sodexo code that was not read
    check.smazStravenku();
    env.prompts.queueInput(QStringLiteral("XYZ")); // a code of no type
    check.smazStravenku();
    env.prompts.queueInput(std::nullopt);
    check.smazStravenku();
    EXPECT_EQ(env.prompts.texts(), (QStringList{
                                       QStringLiteral("Zadejte kód stravenky, kterou chcete smazat:"),
                                       QStringLiteral("Stravenka byla smazána."),
                                       QStringLiteral("Zadejte kód stravenky, kterou chcete smazat:"),
                                       QStringLiteral("Stravenka nebyla nalezena."),
                                       QStringLiteral("Zadejte kód stravenky, kterou chcete smazat:"),
                                       QStringLiteral(" Stravenka nebyla rozpoznána!"),
                                       QStringLiteral("Stravenka nebyla nalezena."),
                                       QStringLiteral("Zadejte kód stravenky, kterou chcete smazat:"),
                                   }));
    EXPECT_FALSE(env.codesOf(env.che).contains(ClosingEnv::kChe100));
}

TEST_F(ClosingTest, CheckStatementDeletesANominalValueOfTheChosenCompany) {
    KontrolniVycetka check(env.state, env.receipt, env.prompts, env.clock, env.printer, {});
    const QString sodexo = QStringLiteral("Sodexo Pass");

    // All companies chosen: refused after the value is asked.
    env.prompts.queueInput(QStringLiteral("100"));
    check.smazNominal(QStringLiteral("Všechny typy"));
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Musíte vybrat stravenkovou společnost."));

    // No: one code of the value goes.
    env.prompts.queueInput(QStringLiteral("100"));
    env.prompts.queueAnswer(Prompts::Answer::No);
    check.smazNominal(sodexo);
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Stravenka byla smazána."));
    EXPECT_EQ(env.codesOf(env.sod), (QStringList{ClosingEnv::kSod55_5, ClosingEnv::kSod50, ClosingEnv::kSod100}));

    // Yes with a decimal comma: every code of the value goes.
    env.prompts.queueInput(QStringLiteral("55,50"));
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    check.smazNominal(sodexo);
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Stravenky byly smazány."));
    EXPECT_EQ(env.codesOf(env.sod), (QStringList{ClosingEnv::kSod50, ClosingEnv::kSod100}));

    env.prompts.queueInput(QStringLiteral("75"));
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    check.smazNominal(sodexo);
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Stravenky nebyly nalezeny."));
    EXPECT_EQ(env.prompts.records().back().icon, Prompts::Icon::Critical);
    EXPECT_TRUE(env.prompts.allAnswersUsed());
}

TEST_F(ClosingTest, CheckStatementStartRemovesNoreadAndRepeatedCodes) {
    env.state.gAutoDupl = QStringLiteral("True");
    KontrolniVycetka check(env.state, env.receipt, env.prompts, env.clock, env.printer, {});
    EXPECT_EQ(check.vyhodNoread(), QStringLiteral("4 položek NOREAD a duplicit bylo smazáno."));
    EXPECT_EQ(env.codesOf(env.che), (QStringList{ClosingEnv::kChe55a, ClosingEnv::kChe100, ClosingEnv::kChe55b}));

    env.state.gAutoDupl = QStringLiteral("FALSE");
    env.book(env.che, QStringLiteral("NOREAD"));
    EXPECT_FALSE(check.vyhodNoread().has_value());
    EXPECT_EQ(env.codesOf(env.che).size(), 4);
}
