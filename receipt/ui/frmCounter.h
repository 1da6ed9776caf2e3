#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace trv {

class Config;

namespace Ui {
class frmCounter;
}

// The read counters of a receipt outside package mode: all reads, reads other than NOREAD and the
// receive events of the port. The counting itself lives in the main window's logic, which pushes
// the values here and owns the reset.
class frmCounter final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmCounter)

public:
    explicit frmCounter(const Config& config, std::function<void()> resetCounters = {}, QWidget* parent = nullptr);
    ~frmCounter() override;

    // Re-reads the captions from the language file (the language file may change at run time).
    void setText();

    void setReadCount(qint64 reads);               // fwlCount
    void setReadsWithoutNoRead(qint64 reads);      // fwlNOREAD
    void setReceiveEvents(qint64 events);          // FWOdomet

private:
    void cmdReset_Click();

    std::unique_ptr<Ui::frmCounter> m_ui;
    const Config& m_config;
    std::function<void()> m_resetCounters;
};

} // namespace trv
