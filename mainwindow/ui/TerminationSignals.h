#pragma once

#include "platform/Result.h"

#include <QObject>

#include <array>
#include <csignal>

class QSocketNotifier;
class QWidget;

namespace trv {

// Carries the desktop session's request to end the program (SIGTERM, SIGHUP) into the event loop, so
// that the main window closes as if the operator had closed it and its unload saves the receipt.
// A signal handler may do almost nothing, so it only writes one byte into a socket pair; the notifier on
// the other end emits terminationRequested() on the GUI thread. One instance at a time; the destructor
// puts the previous handlers back.
class TerminationSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // Installs the handlers; an error when the socket pair or a handler cannot be set up, or when another
    // instance is installed already.
    Status install();
    bool installed() const { return m_installed; }

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    void uninstall();
    void closeSockets();

    bool m_installed = false;
    std::array<int, 2> m_sockets{-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_previousTerm {};
    struct sigaction m_previousHup {};
};

// Rejects every open modal window (its exec() returns as if the operator had cancelled it), up to `except`.
void closeModalsForTermination(const QWidget* except = nullptr);

// Ends the program on the session's request even while a modal dialog waits for the operator: every open modal
// window is rejected (its exec() returns as if the operator had cancelled it), then the main window is closed
// once those event loops have returned, so its unload runs as at an ordinary close.
void closeAllForTermination(QWidget& mainWindow);

} // namespace trv
