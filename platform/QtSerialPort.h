#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>
#include <QTimer>

namespace trv {

/// The serial port of the machine, through QSerialPort on the owning (GUI) thread.
///
/// - DSR: the system gives no notice of line changes, so while the port is open and the DSR watch is on the
///   line is polled every DsrPollMs milliseconds.
/// - Lines without DTR and DSR (a pseudo-terminal, some adapters): warning() tells it once per device; DTR
///   changes and DSR polling are then skipped and the port goes on working.
/// - A device that goes away (USB adapter pulled) makes the system report read errors over and over: the port
///   closes itself and emits lost().
/// - Lock files (Linux): a device in use is marked by a file "LCK..<device>" in the system's lock folder, which
///   holds the number of the process that made it. A lock file that keeps the port from opening is the
///   failure's cause: the message names the file and says whether its program still runs. A lock of a program
///   that still runs means the port is in use (PortAlreadyOpenError); one whose program has ended and that cannot
///   be removed is an ordinary failure, for nothing has the port open.
class QtSerialPort final : public SerialPort {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QtSerialPort)

public:
    static constexpr int DsrPollMs = 50;

    explicit QtSerialPort(EnvironmentLookup environment = systemEnvironment(), QObject* parent = nullptr);
    ~QtSerialPort() override;

    /// The folder of the devices' lock files. Empty (the default): the system's, the one QSerialPort itself
    /// uses (/var/lock on most Linux systems). Tests give a folder of their own.
    void setLockFolder(const QString& folder) { m_lockFolder = folder; }

    Status open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool dtrSupported() const override { return !m_linesUnsupported; }
    Status setDtr(bool on) override;
    bool dsr() const override;
    Status send(const QByteArray& bytes) override;
    QByteArray readAll() override { return m_port.readAll(); }
    qint64 bytesAvailable() const override { return m_port.bytesAvailable(); }

protected:
    void dsrWatchChanged() override;

private:
    void applyConfiguration();
    // The device's lock file, when one keeps the port from opening, as the failure; success without one.
    Status checkLockFile() const;
    bool applyDtr();
    void pollDsr();
    bool readDsr();
    void onReadyRead();
    // Emits received() when bytes are waiting; the handler runs at once, inside QSerialPort's notice.
    void announce();
    void watchNestedLoops();
    void onError(QSerialPort::SerialPortError error);
    void loseDevice(const QString& reason);
    void reportLinesUnsupported();

    mutable QSerialPort m_port;
    QString m_lockFolder;
    QTimer m_dsrTimer;
    bool m_dsr = false;
    bool m_linesUnsupported = false;
    QString m_linesWarnedFor;
    int m_announcing = 0; // handlers of received() running, nested ones included
    bool m_loopWatched = false;
    bool m_losing = false;
    int m_readErrors = 0;
};

} // namespace trv
