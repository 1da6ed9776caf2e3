#pragma once

#include "core/WorkingIndicator.h"

#include <QPointer>

class QWidget;

namespace trv {

class Config;
class frmPracuji;

// Shows the busy window for the logic. One window at a time: while it is shown a further show()
// keeps the message it was made with; hide() closes it and does no harm when nothing is shown.
class WorkingWindowIndicator final : public WorkingIndicator {
public:
    explicit WorkingWindowIndicator(const Config& config, QWidget* owner = nullptr);
    ~WorkingWindowIndicator() override;
    WorkingWindowIndicator(const WorkingWindowIndicator&) = delete;
    WorkingWindowIndicator& operator=(const WorkingWindowIndicator&) = delete;

    void show(const QString& message) override;
    void hide() override;

    frmPracuji* window() const { return m_window; }

private:
    const Config& m_config;
    QPointer<QWidget> m_owner;
    QPointer<frmPracuji> m_window;
};

} // namespace trv
