#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace trv {

/// Every question and message the program puts to the operator goes through this interface:
/// message boxes, input boxes, file and folder pickers and the print dialog. The window side
/// implements it with Qt's dialogs; tests install a scripted answerer.
class Prompts {
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
    enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

    virtual ~Prompts() = default;

    /// A message box; returns the button the operator chose (Cancel or No when closed otherwise). Without a title
    /// of its own the box carries the default title, the program's name. Enter chooses `defaultButton`, by default
    /// the first button (OK, Yes, Retry or Abort); a question whose Enter must not lose anything names another.
    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                           const QString& title = {}, std::optional<Answer> defaultButton = std::nullopt) = 0;
    /// A message box whose title bar stays empty, as the rejections of read codes always had it; distinct from a
    /// box without a title of its own, which carries the default title.
    virtual Answer messageWithoutTitle(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;

    /// An input box; std::nullopt when the operator cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title = {},
                                         const QString& defaultText = {}) = 0;

    /// File pickers; `filter` uses Qt's form ("Text (*.txt)"). std::nullopt when cancelled.
    virtual std::optional<std::filesystem::path> openFile(const QString& title, const std::filesystem::path& folder,
                                                          const QString& filter = {}) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const QString& title, const std::filesystem::path& suggested,
                                                          const QString& filter = {}) = 0;
    virtual std::optional<std::filesystem::path> chooseFolder(const QString& title,
                                                              const std::filesystem::path& folder) = 0;

    /// The print dialog: true when the operator confirmed printing; `copies` is shown and may be changed.
    virtual bool printDialog(int& copies) = 0;

    // Short forms used everywhere.
    void error(const QString& text, const QString& title = {}) { message(text, Buttons::Ok, Icon::Critical, title); }
    void info(const QString& text, const QString& title = {}) { message(text, Buttons::Ok, Icon::Information, title); }
    bool askYesNo(const QString& text, const QString& title = {}, Answer defaultButton = Answer::Yes) {
        return message(text, Buttons::YesNo, Icon::Question, title, defaultButton) == Answer::Yes;
    }

    /// The first button of a set, the one Enter chooses unless a message names another.
    static Answer firstButton(Buttons buttons);

    /// The text of a message as a box can show it: a value of any length (a 1 MB configuration value) would make a
    /// box wider than the screen that takes seconds to lay out. Lines longer than kMaxShownLineLength and texts of
    /// more than kMaxShownLines lines are cut, and each cut is marked with an ellipsis. The text is unchanged when
    /// it fits.
    static QString shownText(const QString& text);
    static constexpr qsizetype kMaxShownLineLength = 300;
    static constexpr qsizetype kMaxShownLines = 40;
};

} // namespace trv
