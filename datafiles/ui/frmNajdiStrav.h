#pragma once

#include <QDialog>

#include <memory>

class QStringListModel;

namespace trv {

struct AppState;
class Prompts;

namespace Ui {
class frmNajdiStrav;
}

// Finds a voucher code in the day data files of the current data folder: one entry per matching line, and
// how many lines matched.
class frmNajdiStrav final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmNajdiStrav)

public:
    frmNajdiStrav(AppState& state, Prompts& prompts, QWidget* parent = nullptr);
    ~frmNajdiStrav() override;

private:
    void cmdNajdi_Click();
    void cmdBack_Click();
    QString text(const char* key) const;

    AppState& m_state;
    Prompts& m_prompts;
    std::unique_ptr<Ui::frmNajdiStrav> m_ui;
    QStringListModel* m_files = nullptr;
};

} // namespace trv
