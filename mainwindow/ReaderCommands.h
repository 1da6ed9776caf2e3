#pragma once

#include "mainwindow/ReaderCommandTexts.h"
#include "platform/Result.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

namespace trv {

struct AppState;
struct ReaderState;
class Pause;
class PortSetup;
class Prompts;
class ReadCounters;
class ReaderControl;
class SerialPort;

// The commands the program sends to the bar-code reader: switching it on and off, the maintenance commands
// of the main window's menu and the length parameters of the voucher-type buttons, in the dialect that
// [Comm] TypScaneru names (read again before each).
//
// The pauses between lines keep the order and length the reader needs without freezing the window. A
// command asked for while another is still being sent (from something that ran during a pause) is sent
// after it, never in the middle of it.
class ReaderCommands final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReaderCommands)

public:
    ReaderCommands(AppState& state, ReaderState& reader, SerialPort& port, PortSetup& portSetup, Pause& pause,
                   ReaderControl& readerControl, ReadCounters& counters, Prompts& prompts, QObject* parent = nullptr);
    ~ReaderCommands() override;

    // PrepniSkener: switches the reader on or off. A closed port is opened with the configured settings for
    // the command and closed again (also when the command fails), without touching the receipt state. True
    // when the command went out; scannerSwitched() then tells the window to set the reader panel and the
    // check marks of ScanOn and ScanOff. On failure nothing is shown and lastError() says why.
    bool PrepniSkener(bool on);

    // The settings window's command that makes the reader store its configuration: "<Zp>" in every dialect,
    // opening and closing a closed port as PrepniSkener does. An error names the port and the reason.
    Status UlozNastaveniCtecky();

    // Menu commands. A closed port is reported with ("frmHlavni", "PortNeniOtevren") and nothing is sent.
    void mnuCRLF_Click();
    void mnuSendExtCommand_Click();
    void mnuSendNoread_Click();
    // The reader stop alone (the DTR pulse).
    void mnuTestDTR_Click();
    // The operator's switch (menu and fast menu): a command that did not go out is reported, so the reader
    // panel that kept its text is explained.
    void ScanOn_Click() { switchReader(true); }
    void ScanOff_Click() { switchReader(false); }

    // optT_Click: the voucher-type button `index`, whose tool-tip is the type's name `nazev`, was clicked:
    // remembers the index, sends the length parameters to an open port (reader types 1 to 3) and resets the
    // read counters. `trideni` is the sorting mode of the receipt. An error when sending failed or the
    // name belongs to no voucher type; the counters are reset all the same.
    Status optT_Click(qint32 index, const QString& nazev, bool trideni);

    // Sends the writes in order, each after its pause; stops at the first failed write. `onSent` runs once
    // the whole script has gone out.
    Status send(const ReaderScript& script, std::function<void()> onSent = {});

    const std::optional<Error>& lastError() const { return m_lastError; }

Q_SIGNALS:
    void scannerSwitched(bool on);

private:
    void switchReader(bool on);
    Status sendNow(const ReaderScript& script);
    // Sends on the open port, or opens a closed one with the configured settings for the script and closes
    // it again once the bytes have left, whatever the outcome.
    Status sendOpening(const ReaderScript& script, std::function<void()> onSent);
    bool portOpenOrReport();

    AppState& m_state;
    ReaderState& m_reader;
    SerialPort& m_port;
    PortSetup& m_portSetup;
    Pause& m_pause;
    ReaderControl& m_readerControl;
    ReadCounters& m_counters;
    Prompts& m_prompts;
    std::optional<Error> m_lastError;
    struct Waiting {
        ReaderScript script;
        std::function<void()> onSent;
    };
    bool m_sending = false;
    std::deque<Waiting> m_waiting;
};

} // namespace trv
