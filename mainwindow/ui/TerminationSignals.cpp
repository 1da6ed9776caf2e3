#include "mainwindow/ui/TerminationSignals.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace trv {

namespace {

// The write end for the handler; -1 while no instance is installed.
volatile std::sig_atomic_t g_writeSocket = -1;

extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const int socket = g_writeSocket;
    if (socket >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        // Nothing can be reported from here; a full socket means a request is waiting already.
        [[maybe_unused]] const ssize_t written = ::write(socket, &byte, 1);
    }
    errno = savedErrno;
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}

TerminationSignals::~TerminationSignals() {
    uninstall();
}

Status TerminationSignals::install() {
    if (m_installed)
        return Status::success();
    if (g_writeSocket >= 0)
        return Status::fail(QStringLiteral("Zachytávání ukončení programu je již nastaveno."));

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_sockets.data()) != 0)
        return Status::fail(QStringLiteral("Zachytávání ukončení programu nelze nastavit: %1").arg(systemReason()));

    m_notifier = new QSocketNotifier(m_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    g_writeSocket = m_sockets[0];

    struct sigaction action {};
    action.sa_handler = &onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    const bool termSet = ::sigaction(SIGTERM, &action, &m_previousTerm) == 0;
    const bool hupSet = termSet && ::sigaction(SIGHUP, &action, &m_previousHup) == 0;
    if (!hupSet) {
        const Status failed =
            Status::fail(QStringLiteral("Zachytávání ukončení programu nelze nastavit: %1").arg(systemReason()));
        if (termSet)
            ::sigaction(SIGTERM, &m_previousTerm, nullptr);
        closeSockets();
        return failed;
    }
    m_installed = true;
    return Status::success();
}

void TerminationSignals::uninstall() {
    if (!m_installed)
        return;
    ::sigaction(SIGTERM, &m_previousTerm, nullptr);
    ::sigaction(SIGHUP, &m_previousHup, nullptr);
    closeSockets();
    m_installed = false;
}

void TerminationSignals::closeSockets() {
    g_writeSocket = -1;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_sockets[0]);
    ::close(m_sockets[1]);
    m_sockets = {-1, -1};
}

void TerminationSignals::readSignal() {
    unsigned char byte = 0;
    int last = -1;
    while (::read(m_sockets[1], &byte, 1) == 1)
        last = byte;
    if (last >= 0)
        Q_EMIT terminationRequested(last);
}

void closeModalsForTermination(const QWidget* except) {
    // Dialogs opened one from another stack up; a dialog that refuses to go is hidden, and the bound keeps a
    // dialog that reappears at once from holding the program here.
    constexpr int kMostDialogs = 32;
    for (int i = 0; i < kMostDialogs; ++i) {
        const QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == except)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal.data()))
            dialog->reject();
        else
            modal->close();
        if (modal && modal->isVisible())
            modal->hide();
    }
}

void closeAllForTermination(QWidget& mainWindow) {
    closeModalsForTermination(&mainWindow);
    // Closing at once would run the unload inside the event loop of a dialog whose exec() has not returned yet.
    QWidget* window = &mainWindow;
    QMetaObject::invokeMethod(
        window, [window] { window->close(); }, Qt::QueuedConnection);
}

} // namespace trv
