#pragma once

#include "core/ReaderControl.h"

namespace trv {

struct AppState;
class ErrorLogSink;
class Pause;
class SerialPort;

// The reader stop and the error log of the main window. ZastavCteni raises DTR for [Comm] DTRSleep
// milliseconds, which stops the reader; every rejected code begins with it. LogujDoOkna writes the line to
// the error-log window when customer switch 43 asks for it, and does nothing otherwise.
//
// The pulse waits without freezing the window. A stop asked for while a pulse runs (a code rejected by
// data that arrived during the pulse) waits its own full length before DTR drops, so the reader is held
// at least that long after every rejection.
class ReaderStop final : public ReaderControl {
public:
    ReaderStop(const AppState& state, SerialPort& port, Pause& pause, ErrorLogSink& errorLog);

    void ZastavCteni() override;
    void LogujDoOkna(const QString& text) override;

private:
    const AppState& m_state;
    SerialPort& m_port;
    Pause& m_pause;
    ErrorLogSink& m_errorLog;
    int m_depth = 0;
};

} // namespace trv
