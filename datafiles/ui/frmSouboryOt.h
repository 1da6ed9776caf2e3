#pragma once

#include "datafiles/DataFileText.h"

#include <QDialog>

#include <filesystem>
#include <memory>

namespace trv {

struct AppState;
class Prompts;

namespace Ui {
class frmSouboryOt;
}

// The editor of one day data file: the file a code a line, written back after a question. The file is held as
// read (DataFileText) and shown a line at a time, so that a file of any size opens at the pace of reading it.
class frmSouboryOt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSouboryOt)

public:
    frmSouboryOt(AppState& state, Prompts& prompts, std::filesystem::path file, QWidget* parent = nullptr);
    ~frmSouboryOt() override;

    // Loads the file; false, after the message, when it cannot be read or the operator cancelled the load (the
    // editor is then not shown).
    bool Form_Load();

protected:
    // Escape and the window's close button: edits not saved are thrown away only when the operator says so.
    void reject() override;

private:
    void rtbEdit_Change();
    void btnUloz_Click();
    void btnVen_Click();
    QString text(const char* key) const;

    AppState& m_state;
    Prompts& m_prompts;
    std::filesystem::path m_file;
    DataFileText m_text;
    std::unique_ptr<Ui::frmSouboryOt> m_ui;
};

} // namespace trv
