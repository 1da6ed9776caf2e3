#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

namespace trv {

struct AppState;
struct PortSettings;
class Prompts;
class ReceiptState;
class SerialPort;

// Opens and closes the reader's port with the settings of section [Comm] (AppState::port, filled by
// NactiNastaveniPortu) and keeps the receipt state in step with it.
class PortSetup {
public:
    PortSetup(AppState& state, SerialPort& port, ReceiptState& receipt, Prompts& prompts);

    // Puts the port settings on the closed port: buffer sizes, port number, handshaking ("RTS XOn/XOff" is
    // hardware flow control), and the line settings "baud,parity,data bits,stop bits".
    Status nastavPort();

    // NastavPrijem(True): sets the port up, opens it (watching DSR when customer switch 35 books a NOREAD
    // on a DSR drop) and marks the receipt as receiving. NastavPrijem(False): closes the port and marks it
    // as not receiving. False when a step failed; the steps before it stay done. A port that is open already
    // is reported to the operator with ("procFce", "portJizOtevr"); other failures are kept in lastError()
    // for the caller, which reports them under its own error number.
    bool NastavPrijem(bool open);
    const std::optional<Error>& lastError() const { return m_lastError; }
    // The receipt state the port's opening and closing keep in step.
    ReceiptState& receipt() { return m_receipt; }

    // PopisPortu: loads the port settings and gives the description of the status bar's port panel,
    // "COM1, XOn/XOff, 38400, 8, 1, N".
    QString PopisPortu();
    static QString popisPortu(const PortSettings& port);

    // The name of a handshake code "0" to "3" ("None", "XOn/XOff", "RTS/CTS", "RTS XOn/XOff"); empty for any
    // other code.
    static QString handshakeName(const QString& code);

private:
    AppState& m_state;
    SerialPort& m_port;
    ReceiptState& m_receipt;
    Prompts& m_prompts;
    std::optional<Error> m_lastError;
};

} // namespace trv
