#pragma once

#include "platform/Progress.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace trv {

/// The progress of a long load started from a window: a small modal window with the files read of the files to
/// read and a cancel button, shown once the load has taken longer than `showAfterMs`. While it lives the
/// program keeps painting, the serial port waits (its codes are taken after the load), and the window that
/// started the load takes no input and cannot be closed, so that nothing typed meanwhile lands in its filters.
class ProgressWindow final : public QDialog, public Progress {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressWindow)

public:
    ProgressWindow(QWidget* owner, const QString& title, int showAfterMs = 400);
    ~ProgressWindow() override;

    bool step(qint64 done, qint64 total) override;
    /// Shows the window at once, without a count and without the cancel button, until a step comes (for a load
    /// that tells no progress of its own).
    void showBusy();
    bool cancelled() const { return m_cancelled; }
    /// What the window says of a step, %1 the steps done and %2 of how many; files read unless told otherwise.
    void setStepText(const QString& text) { m_stepText = text; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    QPointer<QWidget> m_owner;
    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    QElapsedTimer m_started;
    QElapsedTimer m_painted;
    int m_showAfterMs;
    QString m_stepText = QStringLiteral("Načteno %1 z %2 souborů");
    bool m_cancelled = false;
    qint64 m_lastDone = -1;
    qint64 m_lastTotal = -1;
};

} // namespace trv
