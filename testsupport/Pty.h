#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace trv::test {

// A pseudo-terminal for the tests and benchmarks that play the reader: they write to the master side, and the
// port under test (in this process or in one started on it) opens the slave device by its name.
class Pty {
public:
    struct Options {
        bool raw = false;         // no line discipline on the slave side: bytes pass as they are
        bool closeOnExec = false; // neither end goes to processes started meanwhile: they open the device
    };

    Pty() : Pty(Options{}) {}
    explicit Pty(Options options) {
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            return;
        if (options.raw) {
            termios raw{};
            ::tcgetattr(m_slave, &raw);
            ::cfmakeraw(&raw);
            ::tcsetattr(m_slave, TCSANOW, &raw);
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        if (options.closeOnExec) {
            ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
            ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
        }
        m_slaveName = QString::fromLocal8Bit(name);
    }
    ~Pty() {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return m_master >= 0 && !m_slaveName.isEmpty(); }
    const QString& slaveName() const { return m_slaveName; }

    bool write(const QByteArray& bytes) {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads from the master side until `count` bytes have come or the time is up.
    QByteArray read(qsizetype count, int timeoutMs = 5000) {
        QByteArray bytes;
        const QDeadlineTimer deadline(timeoutMs);
        while (bytes.size() < count && !deadline.hasExpired()) {
            pollfd fd{m_master, POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(deadline.remainingTime())) <= 0)
                break;
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                bytes.append(buffer, n);
        }
        return bytes;
    }

    // Reads and drops what the other side sent, so that it never waits on a full line.
    void drain() {
        char buffer[256];
        while (::read(m_master, buffer, sizeof buffer) > 0) {
        }
    }

    void closeMaster() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slaveName;
};

} // namespace trv::test
