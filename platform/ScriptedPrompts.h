#pragma once

#include "platform/Prompts.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace trv {

/// The prompts of a test: answers are queued in advance and every prompt shown is recorded.
///
/// A message box with only an OK button needs no scripted answer: it answers Ok and takes nothing from
/// the queue. Any other prompt with nothing queued for it is unexpected: it is reported (see below) and
/// answered as if the operator had closed it (Cancel, No, Abort for abort/retry/ignore, std::nullopt, or
/// false for the print dialog). A queued answer that is not one of the message box's buttons is reported
/// the same way, and so is a default button that is not one of the box's buttons.
///
/// Unexpected prompts are collected in `unexpected()` and passed to a handler: the one given to the
/// constructor, else the process-wide default. The platform library knows nothing of the test framework;
/// testsupport/ScriptedPromptsGtest.h installs a default that fails the running gtest, so a test
/// executable that includes it fails any test that meets a prompt nobody scripted.
class ScriptedPrompts final : public Prompts {
public:
    struct Record {
        enum Kind { Message, Input, OpenFile, SaveFile, Folder, Print } kind;
        QString title, text;
        Icon icon;
        Buttons buttons;
        bool withoutTitle = false;         ///< shown by messageWithoutTitle: an empty title bar, not the default title
        Answer defaultButton = Answer::Ok; ///< of a message box: the button Enter chooses
    };
    using UnexpectedHandler = std::function<void(const QString& description)>;

    ScriptedPrompts() = default;
    explicit ScriptedPrompts(UnexpectedHandler onUnexpected) : m_onUnexpected(std::move(onUnexpected)) {}

    /// The handler used by every ScriptedPrompts constructed without one. Without it, unexpected prompts
    /// are only logged as warnings and collected.
    static void setDefaultUnexpectedHandler(UnexpectedHandler handler);

    /// The next message box with more than an OK button returns this.
    void queueAnswer(Answer a);
    /// The next input box returns this (std::nullopt: cancelled).
    void queueInput(std::optional<QString> text);
    /// The next file or folder picker returns this (std::nullopt: cancelled).
    void queuePath(std::optional<std::filesystem::path> p);
    /// The next print dialog returns `ok` and, unless `copies` is negative, sets the copies to it.
    void queuePrint(bool ok, int copies = -1);

    /// Every prompt shown, in order. For input boxes `text` is the prompt; for pickers it is the folder or
    /// the suggested file.
    const std::vector<Record>& records() const { return m_records; }
    /// The texts of the records, in order.
    QStringList texts() const;
    /// Descriptions of the prompts nobody scripted and of scripted answers that did not fit.
    const QStringList& unexpected() const { return m_unexpected; }
    /// True when every queued answer has been used.
    bool allAnswersUsed() const;

    /// Runs while a prompt is open, before it returns (to let a test deliver serial data during a message
    /// box). A prompt opened by the hook itself does not run it again.
    void setWhileOpen(std::function<void()> hook) { m_whileOpen = std::move(hook); }

    Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   const QString& title = {}, std::optional<Answer> defaultButton = std::nullopt) override;
    Answer messageWithoutTitle(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None) override;
    std::optional<QString> input(const QString& prompt, const QString& title = {},
                                 const QString& defaultText = {}) override;
    std::optional<std::filesystem::path> openFile(const QString& title, const std::filesystem::path& folder,
                                                  const QString& filter = {}) override;
    std::optional<std::filesystem::path> saveFile(const QString& title, const std::filesystem::path& suggested,
                                                  const QString& filter = {}) override;
    std::optional<std::filesystem::path> chooseFolder(const QString& title,
                                                      const std::filesystem::path& folder) override;
    bool printDialog(int& copies) override;

private:
    struct PrintAnswer {
        bool ok;
        int copies;
    };

    void record(Record::Kind kind, const QString& title, const QString& text, Icon icon, Buttons buttons);
    void complain(const QString& description);
    void runWhileOpen();
    std::optional<std::filesystem::path> answerPath(Record::Kind kind, const QString& title,
                                                    const std::filesystem::path& shown);

    UnexpectedHandler m_onUnexpected;
    std::function<void()> m_whileOpen;
    bool m_inWhileOpen = false;
    std::vector<Record> m_records;
    QStringList m_unexpected;
    std::deque<Answer> m_answers;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<std::optional<std::filesystem::path>> m_paths;
    std::deque<PrintAnswer> m_prints;
};

} // namespace trv
