#pragma once

#include "platform/Prompts.h"

#include <QPointer>
#include <QWidget>

namespace trv {

/// The operator's prompts as Qt dialogs with Czech buttons: QMessageBox, QInputDialog, QFileDialog and
/// QPrintDialog. Each dialog is modal over the given parent or, without one, over the active window. A
/// message without a title of its own carries the application's name, as the program's boxes always did.
class WidgetPrompts final : public Prompts {
public:
    explicit WidgetPrompts(QWidget* parent = nullptr) : m_parent(parent) {}

    Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   const QString& title = {}) override;
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

    QPointer<QWidget> m_parent;
};

} // namespace trv
