#include "receipt/ReceiptStartSteps.h"

#include "core/ReceiptRecord.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/ReaderControl.h"
#include "platform/Prompts.h"
#include "platform/SerialSettings.h"
#include "platform/TextFiles.h"
#include "receipt/ReceiptHost.h"
#include "receipt/ReceiptPort.h"

namespace trv {

namespace {

constexpr int kErrOtevreniPortu = 60003;

// The device the port maps to and how the operator can point it elsewhere.
QString deviceOrigin(const ReceiptPort::PortFailure& failure) {
    const QString variable = QStringLiteral("TRV7300_COM%1").arg(failure.port);
    const bool named = failure.device != serialDeviceName(failure.port, EnvironmentLookup{});
    const QString origin = named ? QStringLiteral("podle proměnné prostředí %1").arg(variable)
                                 : QStringLiteral("jiné zařízení lze určit proměnnou prostředí %1").arg(variable);
    return QStringLiteral("odpovídá mu zařízení %1 (%2)").arg(failure.device, origin);
}

std::optional<ReceiptStartSteps::PortError> openPort(ReceiptPort& port, const QString& fallback) {
    if (port.NastavPrijem(true))
        return std::nullopt;
    const std::optional<ReceiptPort::PortFailure> failure = port.portFailure();
    if (!failure)
        return ReceiptStartSteps::PortError{QString(), Error{kErrOtevreniPortu, fallback}};
    return ReceiptStartSteps::PortError{
        QStringLiteral("Port čtečky COM%1 nelze otevřít: %2.").arg(failure->port).arg(deviceOrigin(*failure)),
        Error{kErrOtevreniPortu, failure->error.message}};
}

} // namespace

ReceiptStartSteps::ReceiptStartSteps(AppState& state, Prompts& prompts, ReceiptHost& host)
    : m_state(state), m_prompts(prompts), m_host(host) {}

QString ReceiptStartSteps::unknownFormText(const QString& fileName) {
    return QStringLiteral("Soubor „%1“ nemá tvar názvu denního souboru (datum, středisko nebo pokladna, operátor, "
                          "pořadí): do něj nelze pokračovat v příjmu.")
        .arg(fileName);
}

std::optional<ReceiptStartSteps::ChooseError>
ReceiptStartSteps::choose(const std::filesystem::path& folder, const QString& fileName, Chosen& chosen) const {
    const std::optional<DayFileName> name = DayFileName::parse(fileName);
    if (!name || name->poradi.isEmpty())
        return ChooseError{ChooseFailure::UnknownForm, Error{0, unknownFormText(fileName)}};
    const std::filesystem::path file = folder / TextFiles::toPath(fileName);
    const Result<QStringList> lines = TextFiles::readLines(file);
    if (!lines.ok())
        return ChooseError{ChooseFailure::Unreadable, lines.error()};
    // The booking empties the receipt first: the file's codes are all it will weigh.
    if (m_state.gColStrav && !m_state.gColStrav->vahaKodu(lines.value()))
        return ChooseError{ChooseFailure::OutOfRange, Error{0, Booking::souborMimoRozsahText(file)}};
    chosen.name = *name;
    chosen.lines = lines.value();
    return std::nullopt;
}

ReceiptStartSteps::Booked ReceiptStartSteps::bookStoredLines(const QStringList& lines,
                                                             const std::filesystem::path& file, Start start) {
    Booked booked;
    if (!m_state.gColStrav)
        return booked;
    Booking booking(m_state, *m_state.gColStrav, m_prompts, m_host.reader());
    booking.VymazBuf();
    QStringList refused;
    for (const QString& line : lines) {
        if (line.isEmpty() && start == Start::Sm)
            continue;
        booked.box += line + QStringLiteral("\r\n");
        if (!line.isEmpty())
            ++booked.count;
        const auto code = booking.PridejUlozenyKod(line, 1, file);
        if (!code.ok()) {
            refused.append(code.message());
            continue;
        }
        if (!code.value())
            continue;
        if (start == Start::Sm && m_state.sw.gFBalikyTyden && line != m_state.gNoRead) {
            // Valued silently: the valuation of the statement tells the operator of a code it cannot value.
            if (const auto value = code.value()->DejHodnotu(CPolozka::Report::Silent); value.ok())
                if (const auto type = code.value()->TypS())
                    booking.pripoctiDoBaliku(*type, value.value());
        }
    }
    booking.ohlasNerozpoznane(refused, true);
    return booked;
}

QString ReceiptStartSteps::PortError::description() const {
    return portLine.isEmpty() ? error.message : portLine + u' ' + error.message;
}

std::optional<ReceiptStartSteps::PortError> ReceiptStartSteps::switchOn(const QString& fallback) {
    return switchOn(m_host, m_prompts, fallback);
}

std::optional<ReceiptStartSteps::PortError> ReceiptStartSteps::switchOn(ReceiptPort& port, Prompts& prompts,
                                                                        const QString& fallback) {
    const bool switched = port.PrepniSkener(true);
    if (auto failure = openPort(port, fallback))
        return failure;
    if (!switched) {
        const std::optional<ReceiptPort::PortFailure> failure = port.readerSwitchFailure();
        const QString reason = failure ? QStringLiteral("příkaz nešel na port COM%1 (%2): %3")
                                             .arg(failure->port)
                                             .arg(deviceOrigin(*failure), failure->error.message)
                                       : QStringLiteral("příkaz nešel na port čtečky.");
        prompts.message(readerNotSwitchedOnText(reason), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
    return std::nullopt;
}

std::optional<ReceiptStartSteps::PortError> ReceiptStartSteps::reopen(ReceiptPort& port, const QString& fallback) {
    return openPort(port, fallback);
}

void ReceiptStartSteps::rememberReceipt(const DayFileName& name) {
    m_state.gDatumPrijmu = name.datum;
    m_state.gSM = name.form == DayFileName::Form::CashDesk ? name.pokladna : name.sm;
    m_state.gOperator = name.operator_;
    m_state.gPoradi = name.poradi;
}

Status ReceiptStartSteps::emptyBarcode(const std::filesystem::path& folder, const QString& fileName,
                                       const QDateTime& now) {
    const std::filesystem::path file = folder / TextFiles::toPath(fileName);
    // Unfinished only when a receipt into it was cut short; else they are the last receipt's complete result.
    const bool unfinished = ReceiptRecord::find(m_state.config.programFolder(), file).has_value();
    const Result<std::filesystem::path> kept = ReceiptRecord::keepAndEmptyBarcode(file, now, unfinished);
    if (!kept.ok())
        return Status(kept.error());
    if (!kept.value().empty())
        m_prompts.message(ReceiptRecord::keptBarcodeText(file, kept.value(), unfinished), Prompts::Buttons::Ok,
                          Prompts::Icon::Exclamation);
    return {};
}

} // namespace trv
