#pragma once

#include "platform/TextCodec.h"

#include <QDialog>

#include <filesystem>
#include <memory>

namespace trv {

struct AppState;
class Prompts;

namespace Ui {
class frmSouboryOt;
}

// The editor of one day data file: the file as plain text, one code a line, written back after a question.
class frmSouboryOt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSouboryOt)

public:
    frmSouboryOt(AppState& state, Prompts& prompts, std::filesystem::path file, QWidget* parent = nullptr);
    ~frmSouboryOt() override;

    // Loads the file; false, after the message, when it cannot be read (the editor is then not shown).
    bool Form_Load();

private:
    void rtbEdit_Change();
    void btnUloz_Click();
    void btnVen_Click();
    QString text(const char* key) const;

    AppState& m_state;
    Prompts& m_prompts;
    std::filesystem::path m_file;
    TextEncoding m_encoding = TextEncoding::Windows1250;
    std::unique_ptr<Ui::frmSouboryOt> m_ui;
};

} // namespace trv
