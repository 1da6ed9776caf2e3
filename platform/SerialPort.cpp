#include "platform/SerialPort.h"

#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace trv {

SerialPort::SerialPort(EnvironmentLookup environment, QObject* parent)
    : QObject(parent), m_environment(std::move(environment)) {}

SerialPort::~SerialPort() = default;

Status SerialPort::setPortNumber(int port) {
    if (port < 1)
        return Status::fail(QStringLiteral("Neplatné číslo sériového portu %1 (povoleno 1 a více).").arg(port));
    m_portNumber = port;
    return {};
}

QString SerialPort::deviceName() const {
    return serialDeviceName(m_portNumber, m_environment);
}

Status SerialPort::setSettings(const QString& text) {
    const Result<SerialLineSettings> parsed = parseSerialSettings(text);
    if (!parsed)
        return Status::from(parsed);
    m_settingsText = text;
    m_lineSettings = parsed.value();
    return {};
}

Status SerialPort::setHandshaking(int number) {
    const Result<Handshake> handshake = handshakeFromNumber(number);
    if (!handshake)
        return Status::from(handshake);
    m_handshake = handshake.value();
    return {};
}

void SerialPort::setDsrWatch(bool on) {
    if (m_dsrWatch == on)
        return;
    m_dsrWatch = on;
    dsrWatchChanged();
}

QString SerialPort::portDescription() const {
    return QStringLiteral("COM%1 (%2)").arg(m_portNumber).arg(deviceName());
}

QString decodeSerialText(QByteArrayView bytes) {
    // One table for the whole program, built once: no converter is made per received chunk. Every byte becomes
    // one character (NUL included), also where the code page is missing.
    return decodeWindows1250(bytes);
}

QByteArray encodeSerialText(QStringView text) {
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

} // namespace trv
