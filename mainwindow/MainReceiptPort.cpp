#include "mainwindow/MainReceiptPort.h"

#include "mainwindow/MainWindowLogic.h"
#include "platform/SerialPort.h"

namespace trv {

bool MainReceiptPort::PrepniSkener(bool on) {
    return m_logic.commands().PrepniSkener(on);
}

std::optional<ReceiptPort::PortFailure> MainReceiptPort::readerSwitchFailure() const {
    return failureOf(m_logic.commands().lastError());
}

bool MainReceiptPort::NastavPrijem(bool open) {
    return m_logic.portSetup().NastavPrijem(open);
}

std::optional<ReceiptPort::PortFailure> MainReceiptPort::portFailure() const {
    return failureOf(m_logic.portSetup().lastError());
}

std::optional<ReceiptPort::PortFailure> MainReceiptPort::failureOf(const std::optional<Error>& error) const {
    if (!error)
        return std::nullopt;
    return PortFailure{m_logic.port().portNumber(), m_logic.port().deviceName(), *error};
}

} // namespace trv
