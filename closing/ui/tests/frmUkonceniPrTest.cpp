#define CLOSING_LANGUAGE_FILE TRV_TEST_DATA "/../../../tests/data/langCS.ini"
#include "closing/tests/ClosingFixture.h"

#include "closing/ui/frmUkonceniPr.h"
#include "platform/DbfTable.h"
#include "platform/ui/PrintRenderer.h"
#include "testsupport/GuiTestHelpers.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <QtMath>

using namespace trv;
using namespace trv::test;

namespace {

class frmUkonceniPrTest : public ::testing::Test {
protected:
    std::unique_ptr<frmUkonceniPr> window() {
        ClosingHooks hooks;
        hooks.vycistiPrijem = [this] { ++m_cleared; };
        return std::make_unique<frmUkonceniPr>(env.state, env.receipt, env.prompts, env.clock, env.printer, hooks);
    }
    // Opens the window on the day data file, lets `act` work the open window and waits until it is closed.
    void open(frmUkonceniPr& w, const std::filesystem::path& dayFile, std::function<void(QWidget*)> act) {
        onNextModal(std::move(act));
        w.Otevri(dayFile);
    }

    ClosingEnv env;
    int m_cleared = 0;
    std::filesystem::path dayFile = env.dataFile(QStringLiteral("260314007_2.txt"));
};

} // namespace

TEST_F(frmUkonceniPrTest, CashDeskReceiptIsShownCleanedAndSaved) {
    env.state.gAutoDupl = QStringLiteral("True");
    auto w = window();
    QString statement;
    QStringList companies;
    open(*w, dayFile, [&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Ukončení příjmu"));
        EXPECT_EQ(child<QLabel>(modal, "lblEdit")->text(), TextFiles::toQString(dayFile));
        // The NOREAD count is taken before the removal of the load.
        EXPECT_EQ(child<QLabel>(modal, "lblPocNR")->text(), QStringLiteral("2"));
        EXPECT_EQ(child<QStatusBar>(modal, "staBar")->currentMessage(),
                  QStringLiteral("Odstraněno 4 položek NOREAD a duplicit."));
        EXPECT_EQ(child<QGroupBox>(modal, "Frame3")->title(), QStringLiteral("Přehled součtů poukázek"));
        EXPECT_TRUE(child<QPushButton>(modal, "cmbTiskVyc")->isHidden());
        EXPECT_FALSE(child<QPushButton>(modal, "btnAS400")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(modal, "btnHlVse")->isEnabled()); // no duplicate search window here
        auto* combo = child<QComboBox>(modal, "cmbStrav");
        for (int i = 0; i < combo->count(); ++i)
            companies.append(combo->itemText(i));
        combo->setCurrentIndex(2);
        statement = child<QPlainTextEdit>(modal, "rtbTextSouc")->toPlainText();
        child<QPushButton>(modal, "btnUloz")->click();
    });

    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Ulozeno);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(m_cleared, 1);
    EXPECT_EQ(companies, (QStringList{QStringLiteral("Všechny společnosti"), QStringLiteral("Cheque Dejeuner"),
                                      QStringLiteral("Sodexo Pass"), QStringLiteral("Ticket Restaurant Card")}));
    EXPECT_TRUE(statement.startsWith(QStringLiteral("Společnost           Počet             Částka\n") +
                                     QString(47, u'_') +
                                     QStringLiteral("\nSodexo Pass       :      3 ks       205,50 Kč\n")));
    // The cleaned receipt is what was saved.
    EXPECT_EQ(env.bytes(dayFile), env.stored(QStringLiteral("0123456789010005500001\r\n0987654321090010000002\r\n"
                                                            "0555555555550005500003\r\n1234561000\r\n1234570555\r\n"
                                                            "1234580500\r\n")));
    auto table = DbfTable::open(env.folder / "export" / "exp_data.dbf", DbfTable::Access::ReadOnly);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.value().readAll().value().at(0).number(u"hodn_CHe"), Currency::fromInt(210));
    EXPECT_EQ(env.prompts.texts().last(),
              QStringLiteral("Soubor ") + TextFiles::toQString(dayFile) + QStringLiteral(" byl uložen."));
}

TEST_F(frmUkonceniPrTest, StatementModeSaveWritesTheStatementFile) {
    env.state.sw.gFVycetky = true;
    const auto smFile = env.dataFile(QStringLiteral("260314_042_Novak_1.txt"));
    auto w = window();
    open(*w, smFile, [](QWidget* modal) { child<QPushButton>(modal, "btnUloz")->click(); });
    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Ulozeno);
    EXPECT_TRUE(
        env.bytes(env.dataFile(QStringLiteral("260314_042_Novak_1.vyc")))
            .startsWith(env.stored(QStringLiteral("260316;260314;042;1;0123456789010005500001;55,00;Novák\r\n"))));
    EXPECT_FALSE(TextFiles::exists(env.folder / "export" / "exp_data.dbf"));
}

TEST_F(frmUkonceniPrTest, AFailedSaveKeepsTheWindowOpenAndClaimsNothing) {
    ASSERT_TRUE(TextFiles::writeAll(dayFile, QStringLiteral("puvodni\r\n")).ok());
    std::filesystem::permissions(dayFile, std::filesystem::perms::owner_read);
    auto w = window();
    bool stillOpen = false;
    env.prompts.queueAnswer(Prompts::Answer::No); // Storno confirmed
    open(*w, dayFile, [&](QWidget* modal) {
        child<QPushButton>(modal, "btnUloz")->click();
        stillOpen = modal->isVisible();
        child<QPushButton>(modal, "btnVen")->click();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(env.bytes(dayFile), QByteArray("puvodni\r\n"));
    for (const QString& text : env.prompts.texts())
        EXPECT_FALSE(text.contains(QStringLiteral("byl uložen"))) << text.toStdString();
}

TEST_F(frmUkonceniPrTest, StornoDeletesANewFileAndKeepsAnAppendedOne) {
    for (const bool createdNew : {true, false}) {
        SCOPED_TRACE(createdNew);
        ASSERT_TRUE(TextFiles::writeAll(dayFile, QStringLiteral("0123456789010005500001\r\n")).ok());
        env.state.gSouborVytvorenNovy = createdNew;
        auto w = window();
        env.prompts.queueAnswer(Prompts::Answer::No); // Storno confirmed
        open(*w, dayFile, [](QWidget* modal) { child<QPushButton>(modal, "btnVen")->click(); });
        EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Storno);
        EXPECT_EQ(TextFiles::exists(dayFile), !createdNew);
    }
    // Each receipt left steps the document number back.
    EXPECT_EQ(env.state.config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("LastFile"), QString()),
              QStringLiteral("260314001_0003"));
    EXPECT_EQ(m_cleared, 2);
}

TEST_F(frmUkonceniPrTest, TheCloseBoxSavesAndDeletesNothing) {
    ASSERT_TRUE(TextFiles::writeAll(dayFile, QStringLiteral("x\r\n")).ok());
    env.state.gSouborVytvorenNovy = true;
    auto w = window();
    env.prompts.queueAnswer(Prompts::Answer::No); // leaving confirmed
    open(*w, dayFile, [](QWidget* modal) { modal->close(); });
    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Zavreno);
    EXPECT_EQ(env.bytes(dayFile), QByteArray("x\r\n"));
    EXPECT_EQ(m_cleared, 0); // the receipt keeps running
}

TEST_F(frmUkonceniPrTest, PrintsTheStatementOfTheChosenCompany) {
    auto w = window();
    env.prompts.queueAnswer(Prompts::Answer::No); // leaving confirmed
    open(*w, dayFile, [](QWidget* modal) {
        child<QComboBox>(modal, "cmbStrav")->setCurrentIndex(1);
        child<QPushButton>(modal, "btnTiskSou")->click();
        modal->close();
    });
    ASSERT_EQ(env.printer.printed().size(), 1u);
    const QStringList lines = env.printer.printed()[0].textLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("          Cheque Dejeuner")));
    EXPECT_FALSE(lines.contains(QStringLiteral("          Sodexo Pass")));
    EXPECT_EQ(env.prompts.texts().first(), QStringLiteral("Tisk součtů proběhl."));
    EXPECT_EQ(env.prompts.records().size(), 2u); // and the question before leaving
}

TEST_F(frmUkonceniPrTest, As400ModeFailureKeepsTheReceiptOpenUntilTheExportSucceeds) {
    env.state.gAS400 = true;
    ASSERT_TRUE(TextFiles::writeAll(env.folder / "as400-file", QStringLiteral("x")).ok());
    env.state.gDirAS400 = env.folder / "as400-file";
    auto w = window();
    bool openAfterFailure = false;
    open(*w, dayFile, [&](QWidget* modal) {
        EXPECT_FALSE(child<QPushButton>(modal, "btnUloz")->isEnabled());
        auto* as400 = child<QPushButton>(modal, "btnAS400");
        EXPECT_TRUE(as400->isEnabled());
        as400->click();
        openAfterFailure = modal->isVisible();
        env.state.gDirAS400 = env.folder / "as400";
        as400->click();
    });
    EXPECT_TRUE(openAfterFailure);
    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::As400);
    ASSERT_EQ(env.prompts.records().size(), 1u);
    EXPECT_EQ(env.prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(env.prompts.records()[0].text.startsWith(
        QStringLiteral("Export pro AS400 se nezdařil, příjem zůstává otevřený.\r\ndescr: ")));
    EXPECT_TRUE(TextFiles::exists(env.folder / "as400" / "260314007_2.400"));
    EXPECT_TRUE(TextFiles::exists(env.dataFile(QStringLiteral("260314007_2.TXT"))));
}

TEST_F(frmUkonceniPrTest, CustomerModeSavesAndPrintsEveryCompany) {
    env.state.sw.gFZakaznik = true;
    auto w = window();
    open(*w, dayFile, [](QWidget* modal) {
        EXPECT_TRUE(child<QPushButton>(modal, "btnUloz")->isHidden());
        EXPECT_TRUE(child<QPushButton>(modal, "btnTiskSou")->isHidden());
        EXPECT_TRUE(child<QGroupBox>(modal, "Frame2")->isHidden());
        child<QPushButton>(modal, "cmbTiskVyc")->click();
    });
    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Vytisteno);
    EXPECT_EQ(env.printer.printed().size(), 2u);
    EXPECT_TRUE(TextFiles::exists(dayFile));
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Tisk součtů proběhl."));
}

TEST_F(frmUkonceniPrTest, SafeBagModeWritesTheListAtLoad) {
    env.state.gSafeBag = true;
    auto w = window();
    open(*w, dayFile, [](QWidget* modal) {
        EXPECT_FALSE(child<QPushButton>(modal, "btnUloz")->isEnabled());
        EXPECT_EQ(child<QPushButton>(modal, "btnVen")->text(), QStringLiteral("Zavřít"));
        auto* periodSummary = child<QPushButton>(modal, "cmdExportSpol");
        EXPECT_FALSE(periodSummary->isHidden());
        EXPECT_FALSE(periodSummary->isEnabled()); // the period summary window is not part of this program yet
        modal->close();
    });
    EXPECT_EQ(env.bytes(env.folder / "sfb" / "260314164530.sfb").count('\n'), 10);
}

TEST_F(frmUkonceniPrTest, SortingModeLoadsWithoutShowing) {
    env.receipt.gTrideni = true;
    env.state.gSafeBag = true;
    auto w = window();
    w->Otevri(dayFile); // returns at once: nothing modal to answer
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Otevreno);
    EXPECT_TRUE(TextFiles::exists(env.folder / "sfb" / "260314164530.sfb"));
}

TEST_F(frmUkonceniPrTest, WithoutAPrinterThePrintGoesToAPdfAndTheOperatorIsTold) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    PrintRenderer renderer([this] { return env.folder / "data"; }, env.clock);
    env.printer.setSpooler(&renderer);
    auto w = window();
    env.prompts.queueAnswer(Prompts::Answer::No); // leaving confirmed
    open(*w, dayFile, [](QWidget* modal) {
        child<QPushButton>(modal, "btnTiskSou")->click();
        modal->close();
    });
    ASSERT_EQ(env.prompts.records().size(), 2u); // the print, then the question before leaving
    const QString text = env.prompts.records()[0].text;
    const QString prefix = QStringLiteral("Tiskárna není k dispozici, tisk byl uložen do souboru ");
    ASSERT_TRUE(text.startsWith(prefix)) << text.toStdString();
    const auto pdf = TextFiles::toPath(text.mid(prefix.size()));
    EXPECT_TRUE(TextFiles::exists(pdf));
    EXPECT_EQ(pdf.parent_path(), PrintRenderer::pdfFolder(env.folder / "data"));
}

TEST_F(frmUkonceniPrTest, TheWindowMadeAsSmallAsItGoesStillShowsWholeStatementLines) {
    auto w = window();
    env.prompts.queueAnswer(Prompts::Answer::No); // leaving confirmed
    open(*w, dayFile, [](QWidget* modal) {
        modal->resize(modal->minimumSizeHint());
        QCoreApplication::processEvents();
        auto* box = child<QPlainTextEdit>(modal, "rtbTextSouc");
        const QFontMetrics metrics(box->font());
        const int room = box->viewport()->width() - 2 * qCeil(box->document()->documentMargin());
        for (const QString& line : box->toPlainText().split(u'\n')) {
            SCOPED_TRACE(line.toStdString());
            EXPECT_LE(metrics.horizontalAdvance(line), room);
        }
        modal->close();
    });
}

// Leaving the window unsaved: Escape, the close box, "Storno" and "Smazat obsah" each ask while the receipt holds
// codes; the safe answers ("Ano", the default, and "Storno", the box's Escape) return to the window with
// everything as it was, and only "Ne" goes on.
TEST_F(frmUkonceniPrTest, LeavingUnsavedAsksFirstAndTheSafeAnswersKeepEverything) {
    const QByteArray before = env.stored(QStringLiteral("0123456789010005500001\r\n"));
    struct Case {
        const char* name;
        std::function<void(QWidget*)> leave;
        frmUkonceniPr::Konec konec;
        int result;
        bool fileKept;
        qint64 codesKept;
    };
    const auto click = [](const char* button) {
        return [button](QWidget* modal) { child<QPushButton>(modal, button)->click(); };
    };
    const std::vector<Case> cases = {
        {"Escape", [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); }, frmUkonceniPr::Konec::Zavreno,
         QDialog::Rejected, true, 10},
        {"close box", [](QWidget* modal) { modal->close(); }, frmUkonceniPr::Konec::Zavreno, QDialog::Rejected, true,
         10},
        {"Storno", click("btnVen"), frmUkonceniPr::Konec::Storno, QDialog::Accepted, false, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClosingEnv fresh;
        const auto file = fresh.dataFile(QStringLiteral("260314007_2.txt"));
        ASSERT_TRUE(TextFiles::writeAll(file, QStringLiteral("0123456789010005500001\r\n")).ok());
        fresh.state.gSouborVytvorenNovy = true;
        int cleared = 0;
        ClosingHooks hooks;
        hooks.vycistiPrijem = [&cleared] { ++cleared; };
        frmUkonceniPr w(fresh.state, fresh.receipt, fresh.prompts, fresh.clock, fresh.printer, hooks);
        fresh.prompts.queueAnswer(Prompts::Answer::Yes);
        fresh.prompts.queueAnswer(Prompts::Answer::Cancel);
        fresh.prompts.queueAnswer(Prompts::Answer::No);
        std::vector<bool> openAfter;
        std::vector<QByteArray> fileAfter;
        onNextModal([&](QWidget* modal) {
            for (int i = 0; i < 3; ++i) {
                c.leave(modal);
                openAfter.push_back(modal->isVisible());
                fileAfter.push_back(fresh.bytes(file));
            }
        });
        w.Otevri(file);
        EXPECT_EQ(openAfter, (std::vector<bool>{true, true, false}));
        EXPECT_EQ(fileAfter[0], before);
        EXPECT_EQ(fileAfter[1], before);
        EXPECT_EQ(w.konec(), c.konec);
        EXPECT_EQ(w.result(), c.result);
        EXPECT_EQ(fresh.bytes(file) == before, c.fileKept);
        EXPECT_EQ(fresh.che->Polozky->count() + fresh.sod->Polozky->count(), c.codesKept);
        // A receipt left running keeps the main window's receipt box and file label.
        EXPECT_EQ(cleared, c.result == QDialog::Accepted ? 1 : 0);
        ASSERT_EQ(fresh.prompts.records().size(), 3u);
        for (const auto& r : fresh.prompts.records()) {
            EXPECT_EQ(r.buttons, Prompts::Buttons::YesNoCancel);
            EXPECT_TRUE(r.text.startsWith(QStringLiteral("Příjem není uložen. Neuložených kódů: 10\r\n")))
                << r.text.toStdString();
            // Each of the box's buttons is named by its own text, and "Storno" means the box's button alone.
            for (const char* button : {"Ano:", "Ne:", "Storno:"})
                EXPECT_EQ(r.text.count(QLatin1String(button)), 1) << button << " in " << r.text.toStdString();
            EXPECT_EQ(r.text.count(QStringLiteral("Storno")), 1) << r.text.toStdString();
        }
    }
}

TEST_F(frmUkonceniPrTest, EmptyingTheReceiptAsksFirstAndAnEmptiedReceiptLeavesWithoutAQuestion) {
    env.state.gSouborVytvorenNovy = true;
    auto w = window();
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    env.prompts.queueAnswer(Prompts::Answer::No);
    qint64 afterSafeAnswer = -1;
    open(*w, dayFile, [&](QWidget* modal) {
        child<QPushButton>(modal, "btnSmazObs")->click();
        afterSafeAnswer = env.che->Polozky->count();
        child<QPushButton>(modal, "btnSmazObs")->click();
        EXPECT_TRUE(child<QPlainTextEdit>(modal, "rtbTextSouc")->toPlainText().contains(QStringLiteral("Nebyly")));
        QTest::keyClick(modal, Qt::Key_Escape); // nothing left to lose: no question
    });
    EXPECT_EQ(afterSafeAnswer, 6);
    EXPECT_EQ(env.che->Polozky->count() + env.sod->Polozky->count(), 0);
    EXPECT_EQ(env.prompts.records().size(), 2u);
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Zavreno);
}

// Enter presses the main action whichever button has the focus: never "Smazat obsah".
TEST_F(frmUkonceniPrTest, EnterSavesWhereverTheFocusIs) {
    auto w = window();
    open(*w, dayFile, [](QWidget* modal) {
        auto* smaz = child<QPushButton>(modal, "btnSmazObs");
        smaz->setFocus();
        QTest::keyClick(smaz, Qt::Key_Return);
    });
    EXPECT_EQ(w->konec(), frmUkonceniPr::Konec::Ulozeno);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(env.che->Polozky->count(), 6); // nothing emptied
    EXPECT_TRUE(env.bytes(dayFile).startsWith(env.stored(QStringLiteral("0123456789010005500001\r\nNOREAD\r\n"))));
}

// The load removes NOREAD readings and repeated codes only when [User] AutoDupl is exactly "True".
TEST_F(frmUkonceniPrTest, TheLoadRemovesRepeatsOnlyForExactlyTrue) {
    const struct {
        const char* autoDupl;
        qint64 codesLeft;
        const char* status;
    } cases[] = {{"True", 6, "Odstraněno 4 položek NOREAD a duplicit."},
                 {"true", 10, ""},
                 {"TRUE", 10, ""},
                 {"False", 10, ""},
                 {"", 10, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.autoDupl);
        ClosingEnv fresh;
        fresh.state.gAutoDupl = QString::fromLatin1(c.autoDupl);
        frmUkonceniPr w(fresh.state, fresh.receipt, fresh.prompts, fresh.clock, fresh.printer);
        ASSERT_TRUE(w.Form_Load(fresh.dataFile(QStringLiteral("260314007_2.txt"))));
        EXPECT_EQ(child<QLabel>(&w, "lblPocNR")->text(), QStringLiteral("2"));
        EXPECT_EQ(child<QStatusBar>(&w, "staBar")->currentMessage(), QString::fromUtf8(c.status));
        EXPECT_EQ(fresh.che->Polozky->count() + fresh.sod->Polozky->count(), c.codesLeft);
    }
}

// With AutoDupl False the two removal buttons remove nothing and say which setting keeps them from it; otherwise
// they remove and say nothing beyond the status bar.
TEST_F(frmUkonceniPrTest, RemovalButtonsNameTheSettingThatSwitchesThemOff) {
    const QString vypnuto = QStringLiteral("NOREAD ani duplicity se neodstraňují: v nastavení programu (Servis, "
                                           "Uživatelské nastavení, Duplicity) je vypnuto „Automatické odstranění "
                                           "NOREAD“ (klíč AutoDupl v sekci User).");
    const struct {
        const char* autoDupl;
        const char* button;
        qint64 codesLeft;
        const char* status;
    } cases[] = {{"False", "btnNoRead", 10, ""},
                 {"FALSE", "btnHlTady", 10, ""},
                 {"true", "btnNoRead", 8, "Odstraněno 2 položek NOREAD."},
                 {"true", "btnHlTady", 6, "Odstraněno 4 položek NOREAD a duplicit."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.autoDupl) + " " + c.button);
        ClosingEnv fresh;
        fresh.state.gAutoDupl = QString::fromLatin1(c.autoDupl);
        frmUkonceniPr w(fresh.state, fresh.receipt, fresh.prompts, fresh.clock, fresh.printer);
        ASSERT_TRUE(w.Form_Load(fresh.dataFile(QStringLiteral("260314007_2.txt"))));
        const size_t before = fresh.prompts.records().size();
        child<QPushButton>(&w, c.button)->click();
        EXPECT_EQ(fresh.che->Polozky->count() + fresh.sod->Polozky->count(), c.codesLeft);
        EXPECT_EQ(child<QStatusBar>(&w, "staBar")->currentMessage(), QString::fromUtf8(c.status));
        QStringList told;
        for (size_t i = before; i < fresh.prompts.records().size(); ++i) {
            told.append(fresh.prompts.records()[i].text);
            EXPECT_EQ(fresh.prompts.records()[i].icon, Prompts::Icon::Information);
        }
        EXPECT_EQ(told, c.codesLeft == 10 ? QStringList{vypnuto} : QStringList{});
    }
}

// Under switch 19 the load cleans the month's last package and shows its sums on the main window; without it the
// package is left alone.
TEST_F(frmUkonceniPrTest, TheLoadShowsTheLastPackagesSumsUnderSwitch19) {
    for (const bool tyden : {true, false}) {
        SCOPED_TRACE(tyden);
        ClosingEnv fresh;
        ClosingEnv package; // the package collection: the fixture's codes again
        fresh.state.sw.gFBalikyTyden = tyden;
        fresh.state.gColStravBalik = package.types;
        // The package is cleaned unless AutoDupl is False in any letter case; the receipt only for exactly "True".
        fresh.state.gAutoDupl = QStringLiteral("true");
        QStringList shown;
        ClosingHooks hooks;
        hooks.zobrazSouctyBaliku = [&shown](const QString& text) { shown.append(text); };
        frmUkonceniPr w(fresh.state, fresh.receipt, fresh.prompts, fresh.clock, fresh.printer, hooks);
        ASSERT_TRUE(w.Form_Load(fresh.dataFile(QStringLiteral("260314007_2.txt"))));
        if (!tyden) {
            EXPECT_TRUE(shown.isEmpty());
            EXPECT_EQ(package.che->Polozky->count() + package.sod->Polozky->count(), 10);
            continue;
        }
        EXPECT_EQ(package.codesOf(package.che),
                  (QStringList{ClosingEnv::kChe55a, ClosingEnv::kChe100, ClosingEnv::kChe55b}));
        EXPECT_EQ(package.codesOf(package.sod),
                  (QStringList{ClosingEnv::kSod100, ClosingEnv::kSod55_5, ClosingEnv::kSod50}));
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0], package.types->GetStrSum());
        EXPECT_EQ(shown[0], QStringLiteral("    Cheque = 210,00    Sodexo = 205,50    Ticket = 0,00"));
        // The receipt itself is not touched by the package's cleaning.
        EXPECT_EQ(fresh.che->Polozky->count() + fresh.sod->Polozky->count(), 10);
    }
}
