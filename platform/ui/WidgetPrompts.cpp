#include "platform/ui/WidgetPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <utility>
#include <vector>

namespace trv {

namespace {

struct Choice {
    QMessageBox::StandardButton button;
    Prompts::Answer answer;
    QString text;
};

std::vector<Choice> choicesFor(Prompts::Buttons buttons) {
    using A = Prompts::Answer;
    const Choice ok{QMessageBox::Ok, A::Ok, QStringLiteral("OK")};
    const Choice cancel{QMessageBox::Cancel, A::Cancel, QStringLiteral("Storno")};
    const Choice yes{QMessageBox::Yes, A::Yes, QStringLiteral("Ano")};
    const Choice no{QMessageBox::No, A::No, QStringLiteral("Ne")};
    const Choice retry{QMessageBox::Retry, A::Retry, QStringLiteral("Opakovat")};
    const Choice abort{QMessageBox::Abort, A::Abort, QStringLiteral("Přerušit")};
    const Choice ignore{QMessageBox::Ignore, A::Ignore, QStringLiteral("Ignorovat")};
    switch (buttons) {
    case Prompts::Buttons::Ok:
        return {ok};
    case Prompts::Buttons::OkCancel:
        return {ok, cancel};
    case Prompts::Buttons::YesNo:
        return {yes, no};
    case Prompts::Buttons::YesNoCancel:
        return {yes, no, cancel};
    case Prompts::Buttons::RetryCancel:
        return {retry, cancel};
    case Prompts::Buttons::AbortRetryIgnore:
        return {abort, retry, ignore};
    }
    return {ok};
}

// The answer of a box closed with Escape or the title bar: Cancel where there is one, else No, else the
// first button (OK, or Abort of abort/retry/ignore).
Prompts::Answer closedAnswer(const std::vector<Choice>& choices) {
    for (const Choice& c : choices) {
        if (c.answer == Prompts::Answer::Cancel) {
            return c.answer;
        }
    }
    for (const Choice& c : choices) {
        if (c.answer == Prompts::Answer::No) {
            return c.answer;
        }
    }
    return choices.front().answer;
}

QMessageBox::Icon toQt(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::None:
        return QMessageBox::NoIcon;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

QString toQString(const std::filesystem::path& p) {
    return QString::fromStdU16String(p.u16string());
}

void setCzechLabels(QFileDialog& dialog, const QString& accept) {
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Storno"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Hledat v:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Název:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Typ souborů:"));
}

std::optional<std::filesystem::path> runFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList selected = dialog.selectedFiles();
    if (selected.isEmpty() || selected.first().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(selected.first().toStdU16String());
}

} // namespace

QWidget* WidgetPrompts::parent() const {
    return m_parent ? m_parent.data() : QApplication::activeWindow();
}

void WidgetPrompts::setFullTextSink(FullTextSink sink) {
    m_fullTextSink = std::move(sink);
    if (!m_fullTextSink)
        return;
    const QStringList pending = std::exchange(m_pendingFullTexts, {});
    for (const QString& text : pending)
        m_fullTextSink(text);
}

Prompts::Answer WidgetPrompts::message(const QString& text, Buttons buttons, Icon icon, const QString& title,
                                       std::optional<Answer> defaultButton) {
    return showMessage(text, buttons, icon, titleOr(title), defaultButton.value_or(firstButton(buttons)));
}

Prompts::Answer WidgetPrompts::messageWithoutTitle(const QString& text, Buttons buttons, Icon icon) {
    return showMessage(text, buttons, icon, QString(), firstButton(buttons));
}

Prompts::Answer WidgetPrompts::showMessage(const QString& text, Buttons buttons, Icon icon, const QString& windowTitle,
                                           Answer defaultButton) {
    const QString shown = shownText(text);
    if (shown.size() != text.size() || shown != text) {
        // The operator reads the beginning in the box; nothing of the rest is lost.
        if (m_fullTextSink)
            m_fullTextSink(text);
        else
            m_pendingFullTexts.append(text);
    }
    QMessageBox box(parent());
    box.setObjectName(QStringLiteral("promptMessage"));
    box.setWindowTitle(windowTitle);
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);
    box.setIcon(toQt(icon));
    const std::vector<Choice> choices = choicesFor(buttons);
    const Answer closed = closedAnswer(choices);
    // A default that is not one of the buttons leaves Enter on the first.
    const bool offered =
        std::any_of(choices.begin(), choices.end(), [&](const Choice& c) { return c.answer == defaultButton; });
    const Answer enter = offered ? defaultButton : choices.front().answer;
    for (const Choice& c : choices) {
        QPushButton* button = box.addButton(c.button);
        button->setText(c.text);
        if (c.answer == closed) {
            box.setEscapeButton(button);
        }
        if (c.answer == enter) {
            box.setDefaultButton(button);
        }
    }
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const Choice& c : choices) {
        if (c.button == clicked) {
            return c.answer;
        }
    }
    return closed;
}

std::optional<QString> WidgetPrompts::input(const QString& prompt, const QString& title, const QString& defaultText) {
    QInputDialog dialog(parent());
    dialog.setObjectName(QStringLiteral("promptInput"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Storno"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

std::optional<std::filesystem::path> WidgetPrompts::openFile(const QString& title, const std::filesystem::path& folder,
                                                             const QString& filter) {
    QFileDialog dialog(parent(), title, toQString(folder), filter);
    dialog.setObjectName(QStringLiteral("promptOpenFile"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    setCzechLabels(dialog, QStringLiteral("Otevřít"));
    return runFileDialog(dialog);
}

std::optional<std::filesystem::path>
WidgetPrompts::saveFile(const QString& title, const std::filesystem::path& suggested, const QString& filter) {
    QFileDialog dialog(parent(), title, toQString(suggested.parent_path()), filter);
    dialog.setObjectName(QStringLiteral("promptSaveFile"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (suggested.has_filename()) {
        dialog.selectFile(toQString(suggested.filename()));
    }
    setCzechLabels(dialog, QStringLiteral("Uložit"));
    return runFileDialog(dialog);
}

std::optional<std::filesystem::path> WidgetPrompts::chooseFolder(const QString& title,
                                                                 const std::filesystem::path& folder) {
    QFileDialog dialog(parent(), title, toQString(folder));
    dialog.setObjectName(QStringLiteral("promptFolder"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    setCzechLabels(dialog, QStringLiteral("Vybrat"));
    return runFileDialog(dialog);
}

bool WidgetPrompts::printDialog(int& copies) {
    QPrinter printer;
    printer.setCopyCount(std::max(1, copies));
    QPrintDialog dialog(&printer, parent());
    dialog.setObjectName(QStringLiteral("promptPrint"));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    copies = printer.copyCount();
    return true;
}

} // namespace trv
