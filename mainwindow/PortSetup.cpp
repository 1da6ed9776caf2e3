#include "mainwindow/PortSetup.h"

#include "core/AppState.h"
#include "core/SettingsLoader.h"
#include "mainwindow/ReceiptState.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"

#include <algorithm>
#include <limits>

namespace trv {

namespace {

int bufferSize(const QString& text) {
    const double value = val(text);
    if (value < 0)
        return 0;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

} // namespace

PortSetup::PortSetup(AppState& state, SerialPort& port, ReceiptState& receipt, Prompts& prompts)
    : m_state(state), m_port(port), m_receipt(receipt), m_prompts(prompts) {}

Status PortSetup::nastavPort() {
    const PortSettings& s = m_state.port;
    m_port.setInBufferSize(bufferSize(s.gInBufferSize));
    m_port.setOutBufferSize(bufferSize(s.gOutBufferSize));
    if (Status st = m_port.setPortNumber(s.gPort); !st)
        return st;
    const std::optional<qint64> handshake = toInteger(s.gHShaking);
    if (!handshake)
        return Status::fail(QStringLiteral("Neplatný způsob řízení toku sériového portu \"%1\".").arg(s.gHShaking));
    if (Status st = m_port.setHandshaking(static_cast<int>(std::clamp<qint64>(*handshake, -1, 4))); !st)
        return st;
    return m_port.setSettings(s.gBaudRate + u',' + s.gParity + u',' + s.gDataBits + u',' + s.gStopBits);
}

bool PortSetup::NastavPrijem(bool open) {
    m_lastError.reset();
    if (!open) {
        m_port.close();
        m_receipt.setReceiving(false);
        return true;
    }

    if (Status st = nastavPort(); !st) {
        m_lastError = st.error();
        return false;
    }
    m_port.setDsrWatch(m_state.sw.gFNoReadDSR);
    if (Status st = m_port.open(); !st) {
        m_lastError = st.error();
        if (st.error().number == SerialPort::PortAlreadyOpenError)
            m_prompts.message(m_state.config.DejText(QStringLiteral("procFce"), QStringLiteral("portJizOtevr")));
        return false;
    }
    m_receipt.setReceiving(true);
    return true;
}

QString PortSetup::handshakeName(const QString& code) {
    const std::optional<qint64> number = toInteger(code);
    if (!number)
        return {};
    switch (*number) {
    case 0:
        return QStringLiteral("None");
    case 1:
        return QStringLiteral("XOn/XOff");
    case 2:
        return QStringLiteral("RTS/CTS");
    case 3:
        return QStringLiteral("RTS XOn/XOff");
    default:
        return {};
    }
}

QString PortSetup::popisPortu(const PortSettings& port) {
    const QString separator = QStringLiteral(", ");
    return QStringLiteral("COM") + QString::number(port.gPort) + separator + handshakeName(port.gHShaking) + separator +
           port.gBaudRate + separator + port.gDataBits + separator + port.gStopBits + separator + port.gParity;
}

QString PortSetup::PopisPortu() {
    // A missing key leaves its setting as it was; the description then shows what is known.
    NactiNastaveniPortu(m_state);
    return popisPortu(m_state.port);
}

} // namespace trv
