#pragma once

#include <QDialog>

#include <memory>

namespace trv {

struct AppState;
class Printer;
class Prompts;

namespace Ui {
class frmUkonceniHled;
}

// The duplicate search in the AS400 files: the .400 files of the AS400 folder are listed, the operator chooses
// some and searches them for the codes of the current receipt; files with hits are marked (bold, red) and each
// hit is listed as "file - code part". btnVolba prints or saves the hits (frmTiskUloz).
class frmUkonceniHled final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmUkonceniHled)
public:
    frmUkonceniHled(AppState& state, Prompts& prompts, Printer& printer, QWidget* parent = nullptr);
    ~frmUkonceniHled() override;

    void Form_Load();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdSelAll_Click();
    void btnHled_Click();
    void btnVolba_Click();
    bool hledejDuplicity();
    void resetMarks();
    QString text(const char* key) const;

    std::unique_ptr<Ui::frmUkonceniHled> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    Printer& m_printer;
};

} // namespace trv
