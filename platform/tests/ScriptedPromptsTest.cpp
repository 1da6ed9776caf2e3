#include "testsupport/ScriptedPromptsGtest.h"

#include <gtest/gtest-spi.h>

namespace trv {
namespace {

using Answer = Prompts::Answer;
using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

TEST(ScriptedPromptsTest, RecordsEveryPromptAndAnswersFromTheQueues) {
    ScriptedPrompts prompts;
    prompts.queueAnswer(Answer::Yes);
    prompts.queueInput(QStringLiteral("125"));
    prompts.queuePath(std::filesystem::path("/data/a.txt"));
    prompts.queuePrint(true, 3);

    prompts.info(QStringLiteral("Tisk proběhl.")); // OK only: nothing queued needed, nothing taken
    EXPECT_TRUE(prompts.askYesNo(QStringLiteral("Smazat 'a.txt' ?"), QStringLiteral("Soubory")));
    EXPECT_EQ(prompts.input(QStringLiteral("Zadejte nominál")), QStringLiteral("125"));
    EXPECT_EQ(prompts.openFile(QStringLiteral("Otevřít"), "/data"), std::filesystem::path("/data/a.txt"));
    int copies = 1;
    EXPECT_TRUE(prompts.printDialog(copies));
    EXPECT_EQ(copies, 3);
    EXPECT_TRUE(prompts.allAnswersUsed());

    const auto& r = prompts.records();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0].kind, ScriptedPrompts::Record::Message);
    EXPECT_EQ(r[0].icon, Icon::Information);
    EXPECT_EQ(r[0].buttons, Buttons::Ok);
    EXPECT_EQ(r[1].title, QStringLiteral("Soubory"));
    EXPECT_EQ(r[1].icon, Icon::Question);
    EXPECT_EQ(r[1].buttons, Buttons::YesNo);
    EXPECT_EQ(r[2].kind, ScriptedPrompts::Record::Input);
    EXPECT_EQ(r[3].kind, ScriptedPrompts::Record::OpenFile);
    EXPECT_EQ(r[4].kind, ScriptedPrompts::Record::Print);
    EXPECT_EQ(prompts.texts().mid(0, 3),
              QStringList({QStringLiteral("Tisk proběhl."), QStringLiteral("Smazat 'a.txt' ?"),
                           QStringLiteral("Zadejte nominál")}));
    EXPECT_TRUE(prompts.unexpected().isEmpty());
}

TEST(ScriptedPromptsTest, UnscriptedPromptsAreReportedAndAnsweredAsClosed) {
    QStringList reported;
    ScriptedPrompts prompts([&reported](const QString& d) { reported.append(d); });

    EXPECT_EQ(prompts.message(QStringLiteral("Uložit?"), Buttons::YesNo), Answer::No);
    EXPECT_EQ(prompts.message(QStringLiteral("Pokračovat?"), Buttons::OkCancel), Answer::Cancel);
    EXPECT_EQ(prompts.message(QStringLiteral("Chyba portu"), Buttons::AbortRetryIgnore), Answer::Abort);
    EXPECT_EQ(prompts.input(QStringLiteral("Kód")), std::nullopt);
    EXPECT_EQ(prompts.chooseFolder(QStringLiteral("Složka"), "/data"), std::nullopt);
    int copies = 2;
    EXPECT_FALSE(prompts.printDialog(copies));
    EXPECT_EQ(copies, 2);

    ASSERT_EQ(reported.size(), 6);
    EXPECT_EQ(reported, prompts.unexpected());
    EXPECT_TRUE(reported[0].contains(QStringLiteral("Uložit?")));
    EXPECT_TRUE(reported[3].contains(QStringLiteral("Kód")));
    EXPECT_EQ(prompts.records().size(), 6u);
}

TEST(ScriptedPromptsTest, AnAnswerThatIsNotAButtonIsReported) {
    QStringList reported;
    ScriptedPrompts prompts([&reported](const QString& d) { reported.append(d); });
    prompts.queueAnswer(Answer::Retry);
    EXPECT_EQ(prompts.message(QStringLiteral("Uložit?"), Buttons::YesNo), Answer::No);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("Retry")));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST(ScriptedPromptsTest, WithTheGtestHelperAnUnscriptedPromptFailsTheTest) {
    ScriptedPrompts prompts;
    EXPECT_NONFATAL_FAILURE(prompts.message(QStringLiteral("Přepsat soubor?"), Buttons::YesNo), "Přepsat soubor?");
    // A message with only OK needs no script.
    prompts.error(QStringLiteral("Soubor nelze otevřít."));
}

TEST(ScriptedPromptsTest, TheHookRunsWhileAPromptIsOpenButNotForItsOwnPrompts) {
    ScriptedPrompts prompts;
    std::vector<size_t> recordsSeen;
    prompts.setWhileOpen([&] {
        recordsSeen.push_back(prompts.records().size());
        prompts.info(QStringLiteral("během"));
    });
    prompts.queueAnswer(Answer::Ok);
    EXPECT_EQ(prompts.message(QStringLiteral("Čekám na data"), Buttons::OkCancel), Answer::Ok);
    EXPECT_EQ(recordsSeen, std::vector<size_t>{1});
    EXPECT_EQ(prompts.texts(), QStringList({QStringLiteral("Čekám na data"), QStringLiteral("během")}));

    prompts.setWhileOpen({});
    prompts.info(QStringLiteral("po"));
    EXPECT_EQ(recordsSeen.size(), 1u);
}

TEST(ScriptedPromptsTest, AnEmptyTitleIsRecordedApartFromTheDefaultTitle) {
    ScriptedPrompts prompts;
    prompts.error(QStringLiteral("a"));
    prompts.messageWithoutTitle(QStringLiteral("b"), Prompts::Buttons::Ok, Prompts::Icon::Critical);
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_FALSE(prompts.records()[0].withoutTitle);
    EXPECT_TRUE(prompts.records()[1].withoutTitle);
    EXPECT_EQ(prompts.records()[1].icon, Prompts::Icon::Critical);
}

TEST(ScriptedPromptsTest, RecordsTheButtonEnterChooses) {
    QStringList reported;
    ScriptedPrompts prompts([&reported](const QString& d) { reported.append(d); });
    prompts.queueAnswer(Answer::Yes);
    prompts.queueAnswer(Answer::Yes);
    prompts.queueAnswer(Answer::Retry);
    prompts.info(QStringLiteral("a"));
    prompts.askYesNo(QStringLiteral("b"));
    prompts.askYesNo(QStringLiteral("c"), {}, Answer::No);
    prompts.message(QStringLiteral("d"), Buttons::RetryCancel);
    std::vector<Answer> defaults;
    for (const auto& r : prompts.records())
        defaults.push_back(r.defaultButton);
    EXPECT_EQ(defaults, (std::vector<Answer>{Answer::Ok, Answer::Yes, Answer::No, Answer::Retry}));
    EXPECT_TRUE(reported.isEmpty());

    // A default that is not a button of the box is a fault of the caller.
    prompts.queueAnswer(Answer::Ok);
    prompts.message(QStringLiteral("e"), Buttons::OkCancel, Icon::Question, {}, Answer::No);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("No"))) << reported[0].toStdString();
}

TEST(PromptsTest, LongTextsAreCutForDisplayWithAnEllipsis) {
    const QChar ellipsis(u'\u2026');
    const QString longLine(Prompts::kMaxShownLineLength + 1, QLatin1Char('x'));
    const QString fullLine(Prompts::kMaxShownLineLength, QLatin1Char('x'));
    QStringList manyLines;
    for (int i = 0; i < Prompts::kMaxShownLines + 5; ++i)
        manyLines.append(QString::number(i));
    struct Case {
        const char* name;
        QString text;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"short", QStringLiteral("Soubor nelze otevřít.\nZkuste to znovu."),
         QStringLiteral("Soubor nelze otevřít.\nZkuste to znovu.")},
        {"a line that just fits", fullLine, fullLine},
        {"a line one too long", longLine, fullLine + ellipsis},
        {"a long line among short ones", QStringLiteral("a\n") + longLine + QStringLiteral("\nb"),
         QStringLiteral("a\n") + fullLine + ellipsis + QStringLiteral("\nb")},
        {"too many lines", manyLines.join(u'\n'),
         manyLines.mid(0, Prompts::kMaxShownLines).join(u'\n') + QLatin1Char('\n') + ellipsis},
        {"empty", QString(), QString()},
        {"a final line end", QStringLiteral("a\n"), QStringLiteral("a\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Prompts::shownText(c.text), c.shown);
    }
    // A megabyte takes no time and shows a line.
    EXPECT_EQ(Prompts::shownText(QString(1 << 20, QLatin1Char('1'))).size(), Prompts::kMaxShownLineLength + 1);
}

} // namespace
} // namespace trv
