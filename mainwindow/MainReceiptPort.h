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
    MainWindowLogic& m_logic;
};

} // namespace trv
