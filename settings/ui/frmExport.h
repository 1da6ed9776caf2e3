#pragma once

#include "platform/Result.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace trv {

class Clock;
class Config;
class Prompts;

namespace Ui {
class frmExport;
}

// Asks for the day (YYMMDD, today to begin with) whose receipts go to the retail chain's day-total table, and
// runs that export (DayTotals::ExportDoreviz) with it. No menu item opens it.
class frmExport final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmExport)

public:
    using Export = std::function<Status(const QString& datum)>;
    frmExport(const Config& config, Prompts& prompts, const Clock& clock, Export exportDne, QWidget* parent = nullptr);
    ~frmExport() override;

private:
    void OKButton_Click();

    std::unique_ptr<Ui::frmExport> m_ui;
    const Config& m_config;
    Prompts& m_prompts;
    Export m_export;
};

} // namespace trv
