#include "mainwindow/ReaderStop.h"

#include "core/AppState.h"
#include "mainwindow/ErrorLogSink.h"
#include "mainwindow/Pause.h"
#include "platform/SerialPort.h"

#include <QLoggingCategory>

namespace trv {

namespace {
Q_LOGGING_CATEGORY(lcReader, "trv.reader")

void setDtr(SerialPort& port, bool on) {
    // A line that cannot take the change has already been reported by the port; the stop goes on, since the
    // rejection itself is still shown to the operator.
    const Status status = port.setDtr(on);
    if (!status)
        qCWarning(lcReader).noquote() << status.message();
}
} // namespace

ReaderStop::ReaderStop(const AppState& state, SerialPort& port, Pause& pause, ErrorLogSink& errorLog)
    : m_state(state), m_port(port), m_pause(pause), m_errorLog(errorLog) {}

void ReaderStop::ZastavCteni() {
    if (m_depth++ == 0)
        setDtr(m_port, true);
    // DTR must drop again whatever happens during the wait, or the reader stays stopped.
    struct Release {
        ReaderStop& stop;
        ~Release() {
            if (--stop.m_depth == 0)
                setDtr(stop.m_port, false);
        }
    } release{*this};
    // A line without DTR has no pulse to wait for: the input would only freeze for nothing.
    if (!m_port.dtrSupported())
        return;
    m_pause.wait(m_state.gDTRSleep);
}

void ReaderStop::oznamJednou(const QString& text) {
    if (m_told.contains(text))
        return;
    m_told.append(text);
    m_errorLog.PridejChybu(text);
}

void ReaderStop::LogujDoOkna(const QString& text) {
    if (!m_state.sw.gFChybyDoOkna)
        return;
    m_errorLog.PridejChybu(text);
}

} // namespace trv
