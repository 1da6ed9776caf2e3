#pragma once

#include <QDialog>

#include <filesystem>
#include <memory>

namespace trv {

struct AppState;
class Prompts;

namespace Ui {
class frmUlozJako;
}

// Copies the chosen day data file under a number the operator types (".txt" is added) in the data folder.
class frmUlozJako final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmUlozJako)

public:
    frmUlozJako(AppState& state, Prompts& prompts, std::filesystem::path source, std::filesystem::path folder,
                QWidget* parent = nullptr);
    ~frmUlozJako() override;

private:
    void txtUlozJako_Change();
    void btnUloz_Click();
    void btnVen_Click();
    QString text(const char* key) const;

    AppState& m_state;
    Prompts& m_prompts;
    std::filesystem::path m_source;
    std::filesystem::path m_folder;
    std::unique_ptr<Ui::frmUlozJako> m_ui;
};

} // namespace trv
