#include "mainwindow/ReaderCommands.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/ReaderControl.h"
#include "core/SettingsLoader.h"
#include "mainwindow/Pause.h"
#include "mainwindow/PortSetup.h"
#include "mainwindow/ReadCounters.h"
#include "mainwindow/ReaderState.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"

namespace trv {

ReaderCommands::ReaderCommands(AppState& state, ReaderState& reader, SerialPort& port, PortSetup& portSetup,
                               Pause& pause, ReaderControl& readerControl, ReadCounters& counters, Prompts& prompts,
                               QObject* parent)
    : QObject(parent), m_state(state), m_reader(reader), m_port(port), m_portSetup(portSetup), m_pause(pause),
      m_readerControl(readerControl), m_counters(counters), m_prompts(prompts) {}

ReaderCommands::~ReaderCommands() = default;

Status ReaderCommands::sendNow(const ReaderScript& script) {
    for (const ReaderWrite& w : script) {
        if (w.pauseBeforeMs > 0)
            m_pause.wait(w.pauseBeforeMs);
        if (Status st = m_port.send(w.bytes); !st)
            return st;
    }
    return {};
}

Status ReaderCommands::send(const ReaderScript& script, std::function<void()> onSent) {
    if (m_sending) {
        m_waiting.push_back(Waiting{script, std::move(onSent)});
        return {};
    }
    m_sending = true;
    const Status result = sendNow(script);
    if (result && onSent)
        onSent();
    while (!m_waiting.empty()) {
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        // A command queued behind this one has no caller left to hear of its failure: the port tells the
        // operator when the line itself is gone.
        if (sendNow(next.script) && next.onSent)
            next.onSent();
    }
    m_sending = false;
    return result;
}

bool ReaderCommands::PrepniSkener(bool on) {
    m_lastError.reset();
    m_reader.gTypScaneru = nactiTypScaneru(m_state.config);
    const ReaderScript script = ReaderCommandTexts::prepni(on, m_reader.gTypScaneru);

    // The window hears of the switch only once the command has gone out, also when it had to wait behind
    // another one.
    const Status sent = sendOpening(script, [this, on] { Q_EMIT scannerSwitched(on); });
    if (!sent) {
        m_lastError = sent.error();
        // A reader that was not told to switch on is shown off, not as it was shown before.
        if (on)
            Q_EMIT scannerSwitched(false);
        return false;
    }
    return true;
}

Status ReaderCommands::UlozNastaveniCtecky() {
    return sendOpening({ReaderWrite{0, QByteArray("<Zp>")}}, {});
}

Status ReaderCommands::sendOpening(const ReaderScript& script, std::function<void()> onSent) {
    if (m_port.isOpen())
        return send(script, std::move(onSent));
    if (!NactiNastaveniPortu(m_state))
        return Status::fail(m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybaPortuSekce")));
    if (Status st = m_portSetup.nastavPort(); !st)
        return st;
    if (Status opened = m_port.open(); !opened)
        return opened;
    // send() returns once the bytes have left; left open, the port would refuse the next open for receiving.
    const Status sent = send(script, std::move(onSent));
    m_port.close();
    return sent;
}

void ReaderCommands::switchReader(bool on) {
    if (!PrepniSkener(on) && m_lastError)
        m_prompts.error(m_lastError->message);
}

bool ReaderCommands::portOpenOrReport() {
    if (m_port.isOpen())
        return true;
    m_prompts.message(m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("PortNeniOtevren")));
    return false;
}

void ReaderCommands::mnuCRLF_Click() {
    m_reader.gTypScaneru = nactiTypScaneru(m_state.config);
    if (!portOpenOrReport())
        return;
    if (Status st = send(ReaderCommandTexts::crlf(m_reader.gTypScaneru)); !st)
        m_prompts.error(st.message());
}

void ReaderCommands::mnuSendExtCommand_Click() {
    m_reader.gTypScaneru = nactiTypScaneru(m_state.config);
    const QString command = ReaderCommandTexts::rozvinExtCmd(
        m_state.config.CtiKonfig(QStringLiteral("Comm"), QStringLiteral("ExtCMD"), QString()));
    if (!portOpenOrReport())
        return;
    if (Status st = send(ReaderCommandTexts::extCommand(command, m_reader.gTypScaneru)); !st) {
        m_prompts.error(st.message());
        return;
    }
    m_prompts.info(QStringLiteral("External command has been sent successfully."));
}

void ReaderCommands::mnuSendNoread_Click() {
    if (!portOpenOrReport())
        return;
    if (Status st = send(ReaderCommandTexts::noRead()); !st)
        m_prompts.error(st.message());
}

void ReaderCommands::mnuTestDTR_Click() {
    // A pulse on a closed port reaches no reader: the operator is told, as for the other reader commands.
    if (!portOpenOrReport())
        return;
    m_readerControl.ZastavCteni();
}

Status ReaderCommands::optT_Click(qint32 index, const QString& nazev, bool trideni) {
    m_reader.ZvolenyTyp = index;
    const std::shared_ptr<CColStrav> types = m_state.gColStrav;
    const std::shared_ptr<CStrav> chosen = types ? types->NajdiNazev(nazev) : nullptr;
    m_reader.gTypScaneru = nactiTypScaneru(m_state.config);
    if (m_state.sw.gF39)
        m_counters.VynulujPocitadla();

    Status result;
    const qint32 typ = m_reader.gTypScaneru;
    if (typ >= 1 && typ <= 3) {
        if (!chosen) {
            result = Status::fail(QStringLiteral("Typ stravenky \"%1\" není definován.").arg(nazev));
        } else if (m_port.isOpen()) {
            result = send(ReaderCommandTexts::typeButton(typ, *chosen, types->types(), m_state.sw.gF39, trideni,
                                                         m_reader.gMinDelka, m_reader.gMaxDelka));
        }
    }
    m_counters.VynulujPocitadla();
    return result;
}

} // namespace trv
