#include "platform/ui/WidgetPrompts.h"

#include "testsupport/GuiTestHelpers.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

namespace trv {
namespace {

using Answer = Prompts::Answer;
using Buttons = Prompts::Buttons;

QStringList buttonTexts(QWidget* dialog) {
    QStringList texts;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisible()) {
            texts.append(button->text());
        }
    }
    texts.sort();
    return texts;
}

void click(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    dialog->close();
}

TEST(WidgetPromptsTest, MessageBoxesHaveCzechButtonsAndReturnTheOneClicked) {
    struct Case {
        const char* name;
        Buttons buttons;
        QStringList texts; // sorted
        QString clicked;
        Answer answer;
    };
    const std::vector<Case> cases{
        {"ok", Buttons::Ok, {QStringLiteral("OK")}, QStringLiteral("OK"), Answer::Ok},
        {"ok cancel",
         Buttons::OkCancel,
         {QStringLiteral("OK"), QStringLiteral("Storno")},
         QStringLiteral("Storno"),
         Answer::Cancel},
        {"yes no", Buttons::YesNo, {QStringLiteral("Ano"), QStringLiteral("Ne")}, QStringLiteral("Ne"), Answer::No},
        {"yes no cancel",
         Buttons::YesNoCancel,
         {QStringLiteral("Ano"), QStringLiteral("Ne"), QStringLiteral("Storno")},
         QStringLiteral("Ano"),
         Answer::Yes},
        {"retry cancel",
         Buttons::RetryCancel,
         {QStringLiteral("Opakovat"), QStringLiteral("Storno")},
         QStringLiteral("Opakovat"),
         Answer::Retry},
        {"abort retry ignore",
         Buttons::AbortRetryIgnore,
         {QStringLiteral("Ignorovat"), QStringLiteral("Opakovat"), QStringLiteral("Přerušit")},
         QStringLiteral("Ignorovat"),
         Answer::Ignore},
    };
    WidgetPrompts prompts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList shown;
        QString text;
        QString title;
        test::onNextModal([&](QWidget* dialog) {
            shown = buttonTexts(dialog);
            text = static_cast<QMessageBox*>(dialog)->text();
            title = dialog->windowTitle();
            click(dialog, c.clicked);
        });
        EXPECT_EQ(prompts.message(QStringLiteral("Smazat soubor <a.txt>?"), c.buttons, Prompts::Icon::Question,
                                  QStringLiteral("Soubory")),
                  c.answer);
        EXPECT_EQ(shown, c.texts);
        EXPECT_EQ(text, QStringLiteral("Smazat soubor <a.txt>?"));
        EXPECT_EQ(title, QStringLiteral("Soubory"));
    }
}

TEST(WidgetPromptsTest, AnEmptyTitleIsNotTheDefaultTitle) {
    QApplication::setApplicationDisplayName(QStringLiteral("TRV7300"));
    WidgetPrompts prompts;
    QString defaultTitle = QStringLiteral("unset");
    test::onNextModal([&](QWidget* dialog) {
        defaultTitle = dialog->windowTitle();
        dialog->close();
    });
    prompts.error(QStringLiteral("Chybná délka kódu"));
    EXPECT_EQ(defaultTitle, QStringLiteral("TRV7300"));

    QString emptyTitle = QStringLiteral("unset");
    test::onNextModal([&](QWidget* dialog) {
        emptyTitle = dialog->windowTitle();
        dialog->close();
    });
    prompts.messageWithoutTitle(QStringLiteral("Chybná délka kódu"), Buttons::Ok, Prompts::Icon::Critical);
    EXPECT_TRUE(emptyTitle.isEmpty()) << emptyTitle.toStdString();
}

TEST(WidgetPromptsTest, AHugeValueIsShownCutAndGoesWholeToTheSink) {
    const QString value(1024 * 1024, QLatin1Char('x'));
    const QString text = QStringLiteral("Chybná hodnota klíče Dir: ") + value;
    WidgetPrompts prompts;
    // A message cut before the sink is there is handed over when it comes.
    QString shown;
    QSize size;
    test::onNextModal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        shown = box ? box->text() : QString();
        size = dialog->size();
        dialog->close();
    });
    prompts.error(text);
    EXPECT_EQ(shown.size(), Prompts::kMaxShownLineLength + 1);
    EXPECT_TRUE(shown.endsWith(QChar(u'\u2026')));
    EXPECT_TRUE(text.startsWith(shown.chopped(1)));
    EXPECT_LT(size.width(), 4000);

    QStringList whole;
    prompts.setFullTextSink([&](const QString& t) { whole.append(t); });
    ASSERT_EQ(whole.size(), 1);
    EXPECT_EQ(whole[0], text);

    // A short message is shown as it is and goes nowhere else.
    test::onNextModal([&](QWidget* dialog) {
        shown = static_cast<QMessageBox*>(dialog)->text();
        dialog->close();
    });
    prompts.error(QStringLiteral("Krátká zpráva"));
    EXPECT_EQ(shown, QStringLiteral("Krátká zpráva"));
    EXPECT_EQ(whole.size(), 1);
}

// Enter chooses the first button unless the question names another; Escape answers No whichever is the default.
TEST(WidgetPromptsTest, EnterChoosesTheDefaultButtonAndEscapeAnswersNo) {
    struct Case {
        const char* name;
        Buttons buttons;
        std::optional<Answer> defaultButton;
        Qt::Key key;
        Answer answer;
    };
    const std::vector<Case> cases{
        {"yes no, Enter", Buttons::YesNo, std::nullopt, Qt::Key_Return, Answer::Yes},
        {"yes no, Escape", Buttons::YesNo, std::nullopt, Qt::Key_Escape, Answer::No},
        {"default No, Enter", Buttons::YesNo, Answer::No, Qt::Key_Return, Answer::No},
        {"default No, Escape", Buttons::YesNo, Answer::No, Qt::Key_Escape, Answer::No},
        {"default Cancel, Enter", Buttons::YesNoCancel, Answer::Cancel, Qt::Key_Enter, Answer::Cancel},
        {"a default not offered, Enter", Buttons::OkCancel, Answer::No, Qt::Key_Return, Answer::Ok},
    };
    WidgetPrompts prompts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::onNextModal([&](QWidget* dialog) { QTest::keyClick(dialog, c.key); });
        EXPECT_EQ(prompts.message(QStringLiteral("Zavřít editor a změny zahodit?"), c.buttons, Prompts::Icon::Question,
                                  {}, c.defaultButton),
                  c.answer);
    }
    test::onNextModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    EXPECT_FALSE(prompts.askYesNo(QStringLiteral("Zavřít editor a změny zahodit?"), {}, Answer::No));
}

TEST(WidgetPromptsTest, InputBoxReturnsTheTextOrNothingWhenCancelled) {
    WidgetPrompts prompts;
    test::onNextModal([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("125"));
        click(dialog, QStringLiteral("OK"));
    });
    EXPECT_EQ(prompts.input(QStringLiteral("Zadejte nominál"), QStringLiteral("Smazat nominál")),
              QStringLiteral("125"));

    test::onNextModal([](QWidget* dialog) { click(dialog, QStringLiteral("Storno")); });
    EXPECT_EQ(prompts.input(QStringLiteral("Zadejte kód")), std::nullopt);
}

} // namespace
} // namespace trv
