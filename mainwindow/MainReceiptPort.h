#pragma once

#include "receipt/ReceiptPort.h"

namespace trv {

class MainWindowLogic;

// The main window's reader and port as the receipt starts and resumes use them: its reader commands, its port
// set-up, and the port and device a failure names.
class MainReceiptPort final : public ReceiptPort {
public:
    explicit MainReceiptPort(MainWindowLogic& logic) : m_logic(logic) {}

    bool PrepniSkener(bool on) override;
    std::optional<PortFailure> readerSwitchFailure() const override;
    bool NastavPrijem(bool open) override;
    std::optional<PortFailure> portFailure() const override;

private:
    // The port and the device it maps to, with the error; nullopt without one.
    std::optional<PortFailure> failureOf(const std::optional<Error>& error) const;

    MainWindowLogic& m_logic;
};

} // namespace trv
