#pragma once

#include "platform/Result.h"
#include "platform/SerialSettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QStringView>

namespace trv {

/// The serial line to the bar-code reader: port number, line settings, flow control, buffer sizes, DTR, DSR,
/// sending and receiving, with notifications for received data and DSR changes. Everything runs on the thread
/// that owns the object (the GUI thread); the signals arrive from its event loop.
///
/// The configuration (port number, settings text, handshaking, buffer sizes) is kept here and takes effect at
/// the next open(); the back ends differ only in how they reach the line.
class SerialPort : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SerialPort)

public:
    /// The error number that open() gives when the port is open already: in this program, or in another one
    /// where the system tells it apart (the device is busy, or its lock file belongs to a program that still
    /// runs). Callers test it by number.
    static constexpr int PortAlreadyOpenError = 8005;

    /// `environment` resolves the device behind "COMn" (see serialDeviceName()); tests pass their own.
    explicit SerialPort(EnvironmentLookup environment = systemEnvironment(), QObject* parent = nullptr);
    ~SerialPort() override;

    /// The COM number, 1 and up (the program uses 1 to 6); anything below 1 is refused.
    Status setPortNumber(int port);
    int portNumber() const { return m_portNumber; }

    /// The device that open() uses for the current port number.
    QString deviceName() const;

    /// The line settings as a text "9600,n,8,1"; a text that does not parse is refused and the previous
    /// settings stay.
    Status setSettings(const QString& text);
    QString settings() const { return m_settingsText; }
    const SerialLineSettings& lineSettings() const { return m_lineSettings; }

    /// Flow control by number: 0 none, 1 XOn/XOff, 2 RTS/CTS, 3 RTS with XOn/XOff. Other numbers are refused.
    Status setHandshaking(int number);
    Handshake handshaking() const { return m_handshake; }

    /// The buffer sizes the configuration gives. The system's buffers grow as needed, so no data is ever dropped
    /// or cut for want of room; the sizes are kept so that the configured values can be read back.
    void setInBufferSize(int size) { m_inBufferSize = size; }
    int inBufferSize() const { return m_inBufferSize; }
    void setOutBufferSize(int size) { m_outBufferSize = size; }
    int outBufferSize() const { return m_outBufferSize; }

    /// Opens the port with the current configuration and drives DTR to its set state. Fails with
    /// PortAlreadyOpenError when open already; other failures name the device and the system's reason.
    virtual Status open() = 0;
    /// Closes the port; closing a closed port does nothing.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    /// Sets the DTR line. While the port is closed the state is kept and applied when it opens. A line that cannot
    /// carry DTR (a pseudo-terminal) is reported once through warning() and is not a failure.
    virtual Status setDtr(bool on) = 0;
    bool dtr() const { return m_dtr; }
    /// False once the open line turned out not to carry DTR (see setDtr()): a pulse on it does nothing.
    virtual bool dtrSupported() const { return true; }

    /// The state of the DSR line; false while closed or where the line does not exist.
    virtual bool dsr() const = 0;

    /// While enabled and open, changes of the DSR line are signalled by dsrChanged(). Off by default.
    void setDsrWatch(bool on);
    bool dsrWatch() const { return m_dsrWatch; }

    /// Sends the bytes; they have left the program when it returns, so a pause after it is a pause on the line.
    /// Fails when the port is closed or the system refuses the write.
    virtual Status send(const QByteArray& bytes) = 0;

    /// Takes every received byte that is waiting.
    virtual QByteArray readAll() = 0;
    /// The number of received bytes waiting.
    virtual qint64 bytesAvailable() const = 0;

Q_SIGNALS:
    /// At least one byte has arrived. Emitted from the event loop, so a handler that waits in a modal dialog can
    /// see it again, nested. The data may have been taken already by an earlier handler: read while
    /// bytesAvailable() is not 0.
    void received();

    /// The DSR line changed to `dsr` (only while watched, see setDsrWatch()).
    void dsrChanged(bool dsr);

    /// Something the operator should know that does not stop the port, such as a line without DTR and DSR
    /// (reported once per device, not at every open or pulse).
    void warning(const QString& message);

    /// The device went away (unplugged, or its driver keeps failing): the port has been closed already and
    /// `message` says which device and why.
    void lost(const QString& message);

protected:
    /// Called after the DSR watch has been switched on or off.
    virtual void dsrWatchChanged() {}

    /// "COM3 (/dev/ttyUSB0)": how messages name the port.
    QString portDescription() const;

    /// Keeps the DTR state that dtr() reports and open() applies.
    void storeDtr(bool on) { m_dtr = on; }

private:
    EnvironmentLookup m_environment;
    int m_portNumber = 1;
    QString m_settingsText = QStringLiteral("9600,N,8,1");
    SerialLineSettings m_lineSettings;
    Handshake m_handshake = Handshake::None;
    int m_inBufferSize = 1024;
    int m_outBufferSize = 512;
    bool m_dsrWatch = false;
    bool m_dtr = false;
};

/// The text of bytes received from the reader, which sends ASCII or Windows-1250. Every byte becomes one character;
/// NUL bytes stay in the text as characters, so nothing after them is lost.
QString decodeSerialText(QByteArrayView bytes);

/// Bytes of a text to send to the reader, in Windows-1250.
QByteArray encodeSerialText(QStringView text);

} // namespace trv
