#include "platform/ScriptedPrompts.h"

#include <QtGlobal>

namespace trv {

namespace {

ScriptedPrompts::UnexpectedHandler& defaultHandler() {
    static ScriptedPrompts::UnexpectedHandler handler;
    return handler;
}

QString pathText(const std::filesystem::path& p) {
    return QString::fromStdU16String(p.u16string());
}

bool offers(Prompts::Buttons buttons, Prompts::Answer answer) {
    using A = Prompts::Answer;
    switch (buttons) {
    case Prompts::Buttons::Ok:
        return answer == A::Ok;
    case Prompts::Buttons::OkCancel:
        return answer == A::Ok || answer == A::Cancel;
    case Prompts::Buttons::YesNo:
        return answer == A::Yes || answer == A::No;
    case Prompts::Buttons::YesNoCancel:
        return answer == A::Yes || answer == A::No || answer == A::Cancel;
    case Prompts::Buttons::RetryCancel:
        return answer == A::Retry || answer == A::Cancel;
    case Prompts::Buttons::AbortRetryIgnore:
        return answer == A::Abort || answer == A::Retry || answer == A::Ignore;
    }
    return false;
}

// What the box answers when the operator closes it without choosing.
Prompts::Answer closedAnswer(Prompts::Buttons buttons) {
    switch (buttons) {
    case Prompts::Buttons::Ok:
        return Prompts::Answer::Ok;
    case Prompts::Buttons::YesNo:
        return Prompts::Answer::No;
    case Prompts::Buttons::AbortRetryIgnore:
        return Prompts::Answer::Abort;
    case Prompts::Buttons::OkCancel:
    case Prompts::Buttons::YesNoCancel:
    case Prompts::Buttons::RetryCancel:
        return Prompts::Answer::Cancel;
    }
    return Prompts::Answer::Cancel;
}

QString answerName(Prompts::Answer answer) {
    switch (answer) {
    case Prompts::Answer::Ok:
        return QStringLiteral("Ok");
    case Prompts::Answer::Cancel:
        return QStringLiteral("Cancel");
    case Prompts::Answer::Yes:
        return QStringLiteral("Yes");
    case Prompts::Answer::No:
        return QStringLiteral("No");
    case Prompts::Answer::Retry:
        return QStringLiteral("Retry");
    case Prompts::Answer::Abort:
        return QStringLiteral("Abort");
    case Prompts::Answer::Ignore:
        return QStringLiteral("Ignore");
    }
    return {};
}

} // namespace

void ScriptedPrompts::setDefaultUnexpectedHandler(UnexpectedHandler handler) {
    defaultHandler() = std::move(handler);
}

void ScriptedPrompts::queueAnswer(Answer a) {
    m_answers.push_back(a);
}

void ScriptedPrompts::queueInput(std::optional<QString> text) {
    m_inputs.push_back(std::move(text));
}

void ScriptedPrompts::queuePath(std::optional<std::filesystem::path> p) {
    m_paths.push_back(std::move(p));
}

void ScriptedPrompts::queuePrint(bool ok, int copies) {
    m_prints.push_back(PrintAnswer{ok, copies});
}

QStringList ScriptedPrompts::texts() const {
    QStringList result;
    for (const Record& r : m_records) {
        result.append(r.text);
    }
    return result;
}

bool ScriptedPrompts::allAnswersUsed() const {
    return m_answers.empty() && m_inputs.empty() && m_paths.empty() && m_prints.empty();
}

void ScriptedPrompts::record(Record::Kind kind, const QString& title, const QString& text, Icon icon, Buttons buttons) {
    m_records.push_back(Record{kind, title, text, icon, buttons});
}

void ScriptedPrompts::complain(const QString& description) {
    m_unexpected.append(description);
    const UnexpectedHandler& handler = m_onUnexpected ? m_onUnexpected : defaultHandler();
    if (handler) {
        handler(description);
    } else {
        qWarning("%s", qUtf8Printable(description));
    }
}

void ScriptedPrompts::runWhileOpen() {
    if (!m_whileOpen || m_inWhileOpen) {
        return;
    }
    // A copy, so that the hook may replace or clear itself.
    const std::function<void()> hook = m_whileOpen;
    m_inWhileOpen = true;
    hook();
    m_inWhileOpen = false;
}

Prompts::Answer ScriptedPrompts::message(const QString& text, Buttons buttons, Icon icon, const QString& title,
                                         std::optional<Answer> defaultButton) {
    record(Record::Message, title, text, icon, buttons);
    m_records.back().defaultButton = defaultButton.value_or(firstButton(buttons));
    if (!offers(buttons, m_records.back().defaultButton))
        complain(QStringLiteral("default button %1 is not a button of the message box \"%2\"")
                     .arg(answerName(m_records.back().defaultButton), text));
    Answer answer = closedAnswer(buttons);
    if (buttons != Buttons::Ok) {
        if (m_answers.empty()) {
            complain(QStringLiteral("unscripted message box: \"%1\"").arg(text));
        } else if (!offers(buttons, m_answers.front())) {
            complain(QStringLiteral("scripted answer %1 is not a button of the message box \"%2\"")
                         .arg(answerName(m_answers.front()), text));
            m_answers.pop_front();
        } else {
            answer = m_answers.front();
            m_answers.pop_front();
        }
    }
    runWhileOpen();
    return answer;
}

Prompts::Answer ScriptedPrompts::messageWithoutTitle(const QString& text, Buttons buttons, Icon icon) {
    // By position: a prompt opened while this one is open (setWhileOpen) is recorded after it.
    const size_t index = m_records.size();
    const Answer answer = message(text, buttons, icon, QString());
    m_records[index].withoutTitle = true;
    return answer;
}

std::optional<QString> ScriptedPrompts::input(const QString& prompt, const QString& title, const QString&) {
    record(Record::Input, title, prompt, Icon::None, Buttons::OkCancel);
    std::optional<QString> answer;
    if (m_inputs.empty()) {
        complain(QStringLiteral("unscripted input box: \"%1\"").arg(prompt));
    } else {
        answer = m_inputs.front();
        m_inputs.pop_front();
    }
    runWhileOpen();
    return answer;
}

std::optional<std::filesystem::path> ScriptedPrompts::answerPath(Record::Kind kind, const QString& title,
                                                                 const std::filesystem::path& shown) {
    record(kind, title, pathText(shown), Icon::None, Buttons::OkCancel);
    std::optional<std::filesystem::path> answer;
    if (m_paths.empty()) {
        complain(QStringLiteral("unscripted file or folder picker: \"%1\" at \"%2\"").arg(title, pathText(shown)));
    } else {
        answer = m_paths.front();
        m_paths.pop_front();
    }
    runWhileOpen();
    return answer;
}

std::optional<std::filesystem::path> ScriptedPrompts::openFile(const QString& title,
                                                               const std::filesystem::path& folder, const QString&) {
    return answerPath(Record::OpenFile, title, folder);
}

std::optional<std::filesystem::path> ScriptedPrompts::saveFile(const QString& title,
                                                               const std::filesystem::path& suggested, const QString&) {
    return answerPath(Record::SaveFile, title, suggested);
}

std::optional<std::filesystem::path> ScriptedPrompts::chooseFolder(const QString& title,
                                                                   const std::filesystem::path& folder) {
    return answerPath(Record::Folder, title, folder);
}

bool ScriptedPrompts::printDialog(int& copies) {
    record(Record::Print, {}, {}, Icon::None, Buttons::OkCancel);
    bool ok = false;
    if (m_prints.empty()) {
        complain(QStringLiteral("unscripted print dialog"));
    } else {
        const PrintAnswer answer = m_prints.front();
        m_prints.pop_front();
        ok = answer.ok;
        if (answer.ok && answer.copies >= 0) {
            copies = answer.copies;
        }
    }
    runWhileOpen();
    return ok;
}

} // namespace trv
