#include "platform/FakeSerialPort.h"

namespace trv {

FakeSerialPort::FakeSerialPort(EnvironmentLookup environment, QObject* parent)
    : SerialPort(std::move(environment), parent) {
    m_clock.start();
}

FakeSerialPort::~FakeSerialPort() = default;

Status FakeSerialPort::open() {
    if (m_open)
        return Status::fail(QStringLiteral("Sériový port %1 je již otevřen.").arg(portDescription()),
                            PortAlreadyOpenError);
    if (m_openError) {
        record(QStringLiteral("open failed"));
        return Status(*m_openError);
    }
    m_open = true;
    record(QStringLiteral("open"));
    return {};
}

void FakeSerialPort::close() {
    // Every call is recorded, also on a closed port, so tests see what the program asked for.
    m_open = false;
    m_input.clear();
    record(QStringLiteral("close"));
}

Status FakeSerialPort::setDtr(bool on) {
    storeDtr(on);
    if (m_dtrUnsupported) {
        if (!m_dtrWarned) {
            m_dtrWarned = true;
            Q_EMIT warning(QStringLiteral("Sériový port %1 neovládá signály DTR a DSR.").arg(portDescription()));
        }
        return {};
    }
    record(on ? QStringLiteral("DTR 1") : QStringLiteral("DTR 0"));
    return {};
}

Status FakeSerialPort::send(const QByteArray& bytes) {
    if (!m_open)
        return Status::fail(
            QStringLiteral("Na sériový port %1 nelze odesílat: port není otevřen.").arg(portDescription()));
    m_writes.append(bytes);
    record(QStringLiteral("send ") + decodeSerialText(bytes));
    return {};
}

QByteArray FakeSerialPort::readAll() {
    return std::exchange(m_input, QByteArray());
}

void FakeSerialPort::deliver(const QByteArray& bytes) {
    if (!m_open || bytes.isEmpty())
        return;
    m_input.append(bytes);
    emit received();
}

void FakeSerialPort::setDsr(bool on) {
    if (m_dsr == on)
        return;
    m_dsr = on;
    if (m_open && dsrWatch())
        emit dsrChanged(on);
}

void FakeSerialPort::simulateLoss(const QString& message) {
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    record(QStringLiteral("lost"));
    emit lost(message);
}

QByteArray FakeSerialPort::sent() const {
    QByteArray all;
    for (const QByteArray& write : m_writes)
        all.append(write);
    return all;
}

QStringList FakeSerialPort::events() const {
    QStringList list;
    for (const Event& event : m_events)
        list.append(event.what);
    return list;
}

void FakeSerialPort::clearLog() {
    m_writes.clear();
    m_events.clear();
}

void FakeSerialPort::record(QString what) {
    m_events.append(Event{m_clock.elapsed(), std::move(what)});
}

} // namespace trv
