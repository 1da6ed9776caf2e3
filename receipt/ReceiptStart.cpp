#include "receipt/ReceiptStart.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/DayDataFiles.h"
#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/SerialSettings.h"
#include "platform/TextFiles.h"
#include "receipt/DocumentKind.h"
#include "receipt/ReceiptHost.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace trv {

namespace {

const QString kStartFailureLine = QStringLiteral("Neexistující cesta k datům, chyba při vytváření souboru");

using Kind = ReceiptStart::Outcome::Kind;

ReceiptStart::Outcome started() {
    return {Kind::Started, {}, {}};
}

ReceiptStart::Outcome refused(const QString& message) {
    return {Kind::Refused, message, {}};
}

ReceiptStart::Outcome failed(const Error& error) {
    return {Kind::Failed, ReceiptStart::startFailureText(error), error};
}

ReceiptStart::Outcome failed(int number, const QString& description) {
    return failed(Error{number, description});
}

ReceiptStart::Outcome portSettingsFailed() {
    return failed(kErrKonfiguracePortu,
                  QStringLiteral("Chyba při načítání konfigurace portu. Neexistující sekce nebo klíč."));
}

// The first line of the start's failure text, then the port, the device it maps to and the system's reason.
ReceiptStart::Outcome portOpenFailed(const std::optional<ReceiptHost::PortFailure>& failure) {
    if (!failure)
        return failed(kErrOtevreniPortu,
                      QStringLiteral("Pokus o otevření neexistujícího portu, nebo je již port otevřen."));
    const QString variable = QStringLiteral("TRV7300_COM%1").arg(failure->port);
    const bool named = failure->device != serialDeviceName(failure->port, EnvironmentLookup{});
    const QString origin = named ? QStringLiteral("podle proměnné prostředí %1").arg(variable)
                                 : QStringLiteral("jiné zařízení lze určit proměnnou prostředí %1").arg(variable);
    const Error error{kErrOtevreniPortu, failure->error.message};
    return {Kind::Failed,
            kStartFailureLine + u'\n' +
                QStringLiteral("Port čtečky COM%1 nelze otevřít: odpovídá mu zařízení %2 (%3).")
                    .arg(failure->port)
                    .arg(failure->device, origin) +
                u'\n' + QStringLiteral("Číslo: ") + QString::number(error.number) + QStringLiteral(", popis: ") +
                error.message,
            error};
}

bool isFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec);
}

bool threeDigits(const QString& text) {
    return text.size() == 3 && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString failureText(const QString& opening, const Error& error) {
    // The program stays usable after a failed start (the operator corrects the configuration or the port
    // and starts again), so the message does not announce that it ends.
    return opening + u'\n' + QStringLiteral("Číslo: ") + QString::number(error.number) + QStringLiteral(", popis: ") +
           error.message;
}

// The parts of a day file's name as the new-file mode builds it: date YYMMDD, three-digit cash desk, "_", the
// order and the extension.
struct NameParts {
    QString datum;
    QString pokladni;
    QString poradi;
};

std::optional<NameParts> nameParts(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString stem = dot < 0 ? fileName : fileName.left(dot);
    if (stem.size() < 10 || stem.at(9) != u'_')
        return std::nullopt;
    NameParts parts{stem.left(6), stem.mid(6, 3), stem.mid(10)};
    if (!parseYYMMDD(parts.datum) || !threeDigits(parts.pokladni))
        return std::nullopt;
    return parts;
}

} // namespace

ReceiptStart::ReceiptStart(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host)
    : m_state(state), m_prompts(prompts), m_clock(clock), m_host(host) {}

QString ReceiptStart::newFileName(const QString& datum, const QString& pokladni, const QString& poradi) {
    return datum + pokladni + u'_' + poradi + QStringLiteral(".txt");
}

QString ReceiptStart::loadFailureText(const Error& error) {
    return failureText(QStringLiteral("Neexistující cesta k datům nebo chyba v konfiguračním souboru programu."),
                       error);
}

QString ReceiptStart::startFailureText(const Error& error) {
    return failureText(kStartFailureLine + u'\n' + QStringLiteral("nebo chyba v konfiguračním souboru programu."),
                       error);
}

Result<std::filesystem::path> ReceiptStart::dataFolder() const {
    if (m_state.gDennySafeBag) {
        const Result<std::filesystem::path> daily = DejCestuDenSFB(m_state.config);
        if (!daily.ok())
            return Error{daily.error().number, QStringLiteral("Neexistující sekce DirDenSFB nebo klíč.")};
        return daily;
    }
    return DejCestuDat(m_state.config);
}

Result<ReceiptStart::View> ReceiptStart::load() const {
    const Result<std::filesystem::path> folder = dataFolder();
    if (!folder.ok())
        return folder.error();
    View view;
    view.datum = dateYYMMDD(m_clock.today());
    view.folder = folder.value();
    view.folderExists = isFolder(view.folder);
    if (view.folderExists) {
        // Day data files only: an AS400 nominal summary beside a day file is no receipt to append to.
        const auto files = DayDataFiles::list(view.folder);
        if (!files.ok())
            return files.error();
        for (auto it = files.value().rbegin(); it != files.value().rend(); ++it)
            view.files.append(TextFiles::toQString(it->filename()));
    }
    return view;
}

void ReceiptStart::rememberReceipt(const QString& datum, const QString& pokladni, const QString& poradi) {
    m_state.gDatumPrijmu = datum;
    m_state.gSM = pokladni;
    m_state.gPoradi = poradi;
}

// A file of another form (Barcode.txt, a name typed by hand) tells nothing but that the receipt runs today.
void ReceiptStart::rememberReceipt(const QString& fileName) {
    if (const auto parts = nameParts(fileName))
        rememberReceipt(parts->datum, parts->pokladni, parts->poradi);
    else
        rememberReceipt(dateYYMMDD(m_clock.today()), QString(), QString());
}

bool ReceiptStart::switchOn() {
    m_host.PrepniSkener(true);
    return m_host.NastavPrijem(true);
}

ReceiptStart::Outcome ReceiptStart::start(const ReceiptStartInput& input) {
    const Result<std::filesystem::path> folder = dataFolder();
    if (!folder.ok())
        return failed(folder.error());
    m_state.gDatovyAdresar = folder.value();
    nastavDruhDokladu(m_state, input.typSeku);

    if (input.mode == ReceiptStartMode::Barcode)
        return startBarcode(folder.value());
    if (input.mode == ReceiptStartMode::NewFile)
        return startNewFile(folder.value(), input);
    return startAppend(folder.value(), input);
}

ReceiptStart::Outcome ReceiptStart::startBarcode(const std::filesystem::path& folder) {
    const Status created = TextFiles::writeAll(folder / kBarcodeFileName.toStdU16String(), QString());
    if (!created.ok())
        return failed(created.error());
    if (!NactiNastaveniPortu(m_state))
        return portSettingsFailed();
    if (!switchOn())
        return portOpenFailed(m_host.portFailure());
    m_host.setReceiptText(QString());
    m_host.setReceiptFile(folder, kBarcodeFileName);
    m_state.gSouborVytvorenNovy = true;
    rememberReceipt(kBarcodeFileName);
    return started();
}

ReceiptStart::Outcome ReceiptStart::startNewFile(const std::filesystem::path& folder, const ReceiptStartInput& input) {
    if (!parseYYMMDD(input.datum))
        return refused(QStringLiteral("Název souboru musí být ve formátu datumu(RRMMDD)!"));
    if (!threeDigits(input.pokladni))
        return refused(QStringLiteral("Číslo pokladní musí obsahovat 3 číslice!"));
    const QString name = newFileName(input.datum, input.pokladni, input.poradi);
    // Names differing only in letter case are one file where the day files are shared with Windows machines.
    if (TextFiles::findCaseInsensitive(folder, name))
        return refused(QStringLiteral("Zadaný soubor již existuje. Musíte zvýšit pořadí čtení!"));

    if (!NactiNastaveniPortu(m_state))
        return portSettingsFailed();
    if (!isFolder(folder))
        return failed(kErrNeexistujiciCesta, QStringLiteral("Neexistující cesta."));
    const std::filesystem::path file = folder / name.toStdU16String();
    const Status created = TextFiles::writeAll(file, QString());
    if (!created.ok())
        return failed(created.error());
    if (!switchOn()) {
        // The empty file would only block the same name at the next attempt.
        (void)TextFiles::remove(file);
        return portOpenFailed(m_host.portFailure());
    }
    m_host.setReceiptText(QString());
    m_host.setReceiptFile(folder, name);
    m_state.gSouborVytvorenNovy = true;
    rememberReceipt(input.datum, input.pokladni, input.poradi);
    return started();
}

ReceiptStart::Outcome ReceiptStart::startAppend(const std::filesystem::path& folder, const ReceiptStartInput& input) {
    if (!NactiNastaveniPortu(m_state))
        return portSettingsFailed();
    // The file is read before anything is switched on, so that a file that cannot be read leaves the receipt
    // in memory and the receipt box as they were.
    const Result<QStringList> lines = TextFiles::readLines(folder / input.chosenFile.toStdU16String());
    if (!lines.ok())
        return failed(lines.error());
    if (!m_state.gColStrav)
        return failed(0, QStringLiteral("Typy stravenek nejsou načteny."));

    if (!switchOn())
        return portOpenFailed(m_host.portFailure());
    m_host.setReceiptFile(folder, input.chosenFile);
    m_host.setReceiptText(QString());

    // Every line as it stands, empty and NOREAD lines included: the receipt box mirrors the file. The stored
    // codes are booked whatever their value table says (they were taken when read); lines of no known type
    // are refused and named together once the file is in.
    Booking booking(m_state, *m_state.gColStrav, m_prompts, m_host.reader());
    booking.VymazBuf();
    const std::filesystem::path file = folder / input.chosenFile.toStdU16String();
    QString text;
    QStringList refused;
    for (const QString& line : lines.value()) {
        const auto booked = booking.PridejUlozenyKod(line, 1, file);
        if (!booked.ok())
            refused.append(booked.message());
        text += line + QStringLiteral("\r\n");
    }
    m_host.setReceiptText(text);
    booking.ohlasNerozpoznane(refused, true);
    m_state.gSouborVytvorenNovy = false;
    rememberReceipt(input.chosenFile);
    return started();
}

} // namespace trv
