#include "mainwindow/ReceiveLoop.h"

#include "core/AppState.h"
#include "core/ReaderControl.h"
#include "mainwindow/CodeBuffer.h"
#include "mainwindow/CodeProcessor.h"
#include "mainwindow/DisplayBox.h"
#include "mainwindow/PortSetup.h"
#include "mainwindow/ReadCounters.h"
#include "mainwindow/ReceiptState.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"

#include <QLoggingCategory>

namespace trv {

namespace {
Q_LOGGING_CATEGORY(lcReceive, "trv.reader")
}

ReceiveLoop::ReceiveLoop(AppState& state, SerialPort& port, CodeBuffer& buffer, CodeProcessor& processor,
                         DisplayBox& display, ReadCounters& counters, ReaderControl& readerControl,
                         PortSetup& portSetup, Prompts& prompts, QObject* parent)
    : QObject(parent), m_state(state), m_port(port), m_buffer(buffer), m_processor(processor), m_display(display),
      m_counters(counters), m_readerControl(readerControl), m_portSetup(portSetup), m_prompts(prompts) {
    connect(&m_port, &SerialPort::received, this, &ReceiveLoop::onReceived);
    connect(&m_port, &SerialPort::dsrChanged, this, &ReceiveLoop::onDsrChanged);
    connect(&m_port, &SerialPort::lost, this, &ReceiveLoop::onLost);
    connect(&m_port, &SerialPort::warning, this, &ReceiveLoop::onWarning);
}

ReceiveLoop::~ReceiveLoop() = default;

void ReceiveLoop::onReceived() {
    while (m_port.isOpen() && m_port.bytesAvailable() > 0) {
        const QByteArray bytes = m_port.readAll();
        if (bytes.isEmpty())
            break;
        // Without the code page every byte still becomes one character, so no received byte is lost.
        const QString chunk = m_decoder.isValid() ? QString(m_decoder.decode(bytes)) : QString::fromLatin1(bytes);
        m_counters.ZapocitejPrijem(1);
        // Shown before it is processed: a chunk that arrives while this one waits in a message box must
        // come after it in the box, which is saved as the receipt's file.
        m_display.append(chunk);
        m_buffer.append(chunk);
        m_processor.ZpracujKod();
    }
}

void ReceiveLoop::onDsrChanged(bool dsr) {
    if (!m_state.sw.gFNoReadDSR)
        return;
    if (dsr) {
        m_processor.setKodPrecten(false);
        return;
    }
    if (m_processor.KodPrecten())
        return;
    // The reader gave up on a voucher without sending anything: that is a NOREAD.
    m_readerControl.ZastavCteni();
    const QString line = m_state.gNoRead + QStringLiteral("\r\n");
    m_display.append(line);
    m_buffer.append(line);
    m_processor.ZpracujKod();
}

void ReceiveLoop::onLost(const QString& message) {
    m_portSetup.NastavPrijem(false);
    m_portSetup.receipt().setReaderLost(true);
    m_prompts.error(message);
}

void ReceiveLoop::onWarning(const QString& message) {
    qCWarning(lcReceive).noquote() << message;
}

} // namespace trv
