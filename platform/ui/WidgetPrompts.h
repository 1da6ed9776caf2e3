#pragma once

#include "platform/Prompts.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace trv {

/// The operator's prompts as Qt dialogs with Czech buttons: QMessageBox, QInputDialog, QFileDialog and
/// QPrintDialog. Each dialog is modal over the given parent or, without one, over the active window. A
/// message without a title of its own carries the application's name, as the program's boxes always did.
/// A message box shows its text cut for display (Prompts::shownText); the whole text of a cut message goes to
/// the full-text sink, once one is set (messages cut before that are handed over when it is set).
class WidgetPrompts final : public Prompts {
public:
    using FullTextSink = std::function<void(const QString& text)>;

    explicit WidgetPrompts(QWidget* parent = nullptr) : m_parent(parent) {}

    /// Where the whole text of a message goes when its box shows it cut (the error-log window).
    void setFullTextSink(FullTextSink sink);

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
    QWidget* parent() const;
    Answer showMessage(const QString& text, Buttons buttons, Icon icon, const QString& windowTitle,
                       Answer defaultButton);

    QPointer<QWidget> m_parent;
    FullTextSink m_fullTextSink;
    QStringList m_pendingFullTexts;
};

} // namespace trv
