#pragma once

#include <QObject>
#include <QStringDecoder>
#include <QString>

namespace trv {

struct AppState;
class CodeBuffer;
class CodeProcessor;
class DisplayBox;
class PortSetup;
class Prompts;
class ReadCounters;
class ReaderControl;
class SerialPort;

// The receive handler of the reader's port (MSComm1_OnComm): every chunk read is counted as a receive
// event, shown in the display box exactly as received and added to the code buffer, and the code processor
// runs. With customer switch 35 a DSR drop with no code read since DSR rose books a NOREAD. When the device
// goes away the port is closed, the receipt shows that it runs without its reader and the operator is
// told; the codes read so far stay.
class ReceiveLoop final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReceiveLoop)

public:
    ReceiveLoop(AppState& state, SerialPort& port, CodeBuffer& buffer, CodeProcessor& processor, DisplayBox& display,
                ReadCounters& counters, ReaderControl& readerControl, PortSetup& portSetup, Prompts& prompts,
                QObject* parent = nullptr);
    ~ReceiveLoop() override;

    void onReceived();
    void onDsrChanged(bool dsr);
    void onLost(const QString& message);
    void onWarning(const QString& message);

private:
    AppState& m_state;
    SerialPort& m_port;
    CodeBuffer& m_buffer;
    CodeProcessor& m_processor;
    DisplayBox& m_display;
    ReadCounters& m_counters;
    ReaderControl& m_readerControl;
    PortSetup& m_portSetup;
    Prompts& m_prompts;
    // One decoder for the port's whole life: the reader's text is Windows-1250, one character per byte.
    QStringDecoder m_decoder{"windows-1250", QStringConverter::Flag::Stateless};
};

} // namespace trv
