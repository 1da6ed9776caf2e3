#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace trv {

struct AppState;
class Printer;
class Prompts;

namespace Ui {
class frmTiskUloz;
}

// The output of the duplicate search: the hits printed, saved to a text file of the data folder, or both.
class frmTiskUloz final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmTiskUloz)
public:
    frmTiskUloz(AppState& state, Prompts& prompts, Printer& printer, QStringList hits, QWidget* parent = nullptr);
    ~frmTiskUloz() override;

private:
    void applyRule();
    void btnOK_Click();
    QString text(const char* key) const;

    std::unique_ptr<Ui::frmTiskUloz> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    Printer& m_printer;
    QStringList m_hits;
};

} // namespace trv
