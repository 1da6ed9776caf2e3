#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

namespace trv {

// The reader and its port as every start of receiving and every resume use them: the main window's reader
// commands and its port set-up. The main window implements it; tests record what they were asked.
class ReceiptPort {
public:
    virtual ~ReceiptPort() = default;

    // PrepniSkener: switches the bar-code reader on or off in the configured command dialect. False when the
    // command did not go out: readerSwitchFailure() then names the port and the reason.
    virtual bool PrepniSkener(bool on) = 0;
    // NastavPrijem(True): sets up and opens the port with AppState::port and shows the receiving state. False
    // when the port cannot be opened (an already open port is reported by the main window itself).
    virtual bool NastavPrijem(bool open) = 0;
    // Why the last NastavPrijem(True) did not open the port: the port number ("COMn"), the device it maps to
    // and the system's error. nullopt when the host cannot tell.
    struct PortFailure {
        int port = 0;
        QString device;
        Error error;
    };
    virtual std::optional<PortFailure> portFailure() const { return std::nullopt; }
    // Why the last PrepniSkener did not send its command; nullopt when the host cannot tell.
    virtual std::optional<PortFailure> readerSwitchFailure() const { return std::nullopt; }
};

} // namespace trv
