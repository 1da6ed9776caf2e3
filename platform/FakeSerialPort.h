#pragma once

#include "platform/SerialPort.h"

#include <QElapsedTimer>
#include <QList>
#include <QStringList>

#include <optional>

namespace trv {

/// A serial port for tests: it records what the program does to the line and lets the test play the reader.
/// Received data and DSR changes are delivered at once, inside the test's call. The device name follows the
/// given environment lookup, or the platform default when none is given.
class FakeSerialPort final : public SerialPort {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeSerialPort)

public:
    /// One recorded call: milliseconds since the port was made, and what happened: "open", "open failed",
    /// "close", "DTR 1", "DTR 0", "send <text>" (the bytes as Windows-1250 text) or "lost".
    struct Event {
        qint64 msec = 0;
        QString what;
    };

    explicit FakeSerialPort(EnvironmentLookup environment = {}, QObject* parent = nullptr);
    ~FakeSerialPort() override;

    Status open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    Status setDtr(bool on) override;
    bool dtrSupported() const override { return !m_dtrUnsupported; }
    bool dsr() const override { return m_open && m_dsr; }
    Status send(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override { return m_input.size(); }

    // The test's side of the line.

    /// The reader sends `bytes`: they wait to be read and received() is emitted. Ignored while the port is closed,
    /// as a closed port hears nothing.
    void deliver(const QByteArray& bytes);
    /// The reader drives DSR; dsrChanged() is emitted when the state changes while the port is open and watched.
    void setDsr(bool on);
    /// The device goes away: the port closes and lost(`message`) is emitted.
    void simulateLoss(const QString& message);
    /// The line carries no DTR (a pseudo-terminal): setDtr() reports it once through warning() and changes nothing.
    void setDtrUnsupported(bool unsupported) { m_dtrUnsupported = unsupported; }
    /// Every open() fails with `error` until this is called again with std::nullopt.
    void setOpenError(std::optional<Error> error) { m_openError = std::move(error); }

    /// Every send() in order, one entry per call.
    const QList<QByteArray>& writes() const { return m_writes; }
    /// All bytes sent, joined.
    QByteArray sent() const;
    /// The recorded calls in order, without times.
    QStringList events() const;
    /// The recorded calls with their times.
    const QList<Event>& eventLog() const { return m_events; }
    /// Forgets the recorded sends and calls.
    void clearLog();

private:
    void record(QString what);

    QElapsedTimer m_clock;
    bool m_open = false;
    bool m_dsr = false;
    QByteArray m_input;
    QList<QByteArray> m_writes;
    QList<Event> m_events;
    std::optional<Error> m_openError;
    bool m_dtrUnsupported = false;
    bool m_dtrWarned = false;
};

} // namespace trv
