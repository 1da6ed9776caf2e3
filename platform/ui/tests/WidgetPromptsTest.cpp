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

TEST(WidgetPromptsTest, EscapeAnswersNoToAQuestion) {
    WidgetPrompts prompts;
    test::onNextModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(prompts.askYesNo(QStringLiteral("Ukončit příjem?")));
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
