#pragma once

#include "core/ReaderControl.h"

#include <QStringList>

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
    // Something about the reader's line the operator must know once (a line without DTR, so rejected codes
    // cannot stop the reader): shown in the error-log window whatever switch 43 says, each text once.
    void oznamJednou(const QString& text);

private:
    const AppState& m_state;
    SerialPort& m_port;
    Pause& m_pause;
    ErrorLogSink& m_errorLog;
    int m_depth = 0;
    QStringList m_told;
};

} // namespace trv
