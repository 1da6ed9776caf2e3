#include "receipt/ReceiptStart.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/DayDataFiles.h"
#include "core/ErrorText.h"
#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"
#include "receipt/DocumentKind.h"
#include "receipt/ReceiptHost.h"
#include "receipt/ReceiptStartSteps.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace trv {

namespace {

using Kind = ReceiptStart::Outcome::Kind;

ReceiptStart::Outcome started() {
    return {Kind::Started, {}, {}};
}

ReceiptStart::Outcome refused(const QString& message) {
    return {Kind::Refused, message, {}};
}

// A failed start names what failed on its first line (the configuration, the port, the data folder), then the
// error's number and the system's reason.
ReceiptStart::Outcome failed(const QString& what, const Error& error) {
    return {Kind::Failed, ReceiptStart::startFailureText(what, error), error};
}

const QString kConfigurationFailed = QStringLiteral("Chyba v konfiguračním souboru programu.");

ReceiptStart::Outcome portSettingsFailed() {
    return failed(kConfigurationFailed,
                  Error{kErrKonfiguracePortu,
                        QStringLiteral("Chyba při načítání konfigurace portu. Neexistující sekce nebo klíč.")});
}

// The port, the device it maps to and the system's reason.
ReceiptStart::Outcome portOpenFailed(const ReceiptStartSteps::PortError& failure) {
    return failed(failure.portLine.isEmpty() ? QStringLiteral("Port čtečky nelze otevřít.") : failure.portLine,
                  failure.error);
}

// The data folder, named, with the reason (the error names the file and why it could not be made or read).
ReceiptStart::Outcome dataFolderFailed(const std::filesystem::path& folder, const Error& error) {
    return failed(QStringLiteral("Chyba v datovém adresáři %1").arg(TextFiles::toQString(folder)), error);
}

const QString kPortFallback = QStringLiteral("Pokus o otevření neexistujícího portu, nebo je již port otevřen.");

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
    return opening + u'\n' + errorNumberAndDescription(error, QStringLiteral("Číslo"), QStringLiteral("popis"));
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

QString ReceiptStart::startFailureText(const QString& what, const Error& error) {
    return failureText(what, error);
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

std::optional<ReceiptStartSteps::PortError> ReceiptStart::switchOn() {
    return ReceiptStartSteps(m_state, m_prompts, m_host).switchOn(kPortFallback);
}

ReceiptStart::Outcome ReceiptStart::start(const ReceiptStartInput& input) {
    const Result<std::filesystem::path> folder = dataFolder();
    if (!folder.ok())
        return failed(kConfigurationFailed, folder.error());
    m_state.gDatovyAdresar = folder.value();
    nastavDruhDokladu(m_state, input.typSeku);

    if (input.mode == ReceiptStartMode::Barcode)
        return startBarcode(folder.value());
    if (input.mode == ReceiptStartMode::NewFile)
        return startNewFile(folder.value(), input);
    return startAppend(folder.value(), input);
}

ReceiptStart::Outcome ReceiptStart::startBarcode(const std::filesystem::path& folder) {
    const Status created =
        ReceiptStartSteps(m_state, m_prompts, m_host).emptyBarcode(folder, kBarcodeFileName, m_clock.now());
    if (!created.ok())
        return dataFolderFailed(folder, created.error());
    if (!NactiNastaveniPortu(m_state))
        return portSettingsFailed();
    if (const auto failure = switchOn())
        return portOpenFailed(*failure);
    m_host.setReceiptText(QString());
    m_host.setReceiptFile(folder, kBarcodeFileName);
    m_state.gSouborVytvorenNovy = true;
    // Barcode.txt tells nothing but that the receipt runs today.
    rememberReceipt(dateYYMMDD(m_clock.today()), QString(), QString());
    return started();
}

ReceiptStart::Outcome ReceiptStart::startNewFile(const std::filesystem::path& folder, const ReceiptStartInput& input) {
    if (!parseYYMMDD(input.datum))
        return refused(QStringLiteral("Název souboru musí být ve formátu datumu(RRMMDD)!"));
    if (!threeDigits(input.pokladni))
        return refused(QStringLiteral("Číslo pokladní musí obsahovat 3 číslice!"));
    const QString name = newFileName(input.datum, input.pokladni, input.poradi);
    // Names differing only in letter case are one file where the day files are shared with Windows machines.
    if (const auto existing = TextFiles::findCaseInsensitive(folder, name))
        return refused(QStringLiteral("Zadaný soubor %1 již existuje. Musíte zvýšit pořadí čtení!")
                           .arg(TextFiles::toQString(existing->filename())));

    if (!NactiNastaveniPortu(m_state))
        return portSettingsFailed();
    if (!isFolder(folder))
        return failed(QStringLiteral("Neexistující cesta k datům: %1").arg(TextFiles::toQString(folder)),
                      Error{kErrNeexistujiciCesta, QStringLiteral("Neexistující cesta.")});
    const std::filesystem::path file = folder / name.toStdU16String();
    const Status created = TextFiles::writeAll(file, QString());
    if (!created.ok())
        return dataFolderFailed(folder, created.error());
    if (const auto failure = switchOn()) {
        // The empty file would only block the same name at the next attempt.
        (void)TextFiles::remove(file);
        return portOpenFailed(*failure);
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
    ReceiptStartSteps steps(m_state, m_prompts, m_host);
    ReceiptStartSteps::Chosen chosen;
    if (const auto refusal = steps.choose(folder, input.chosenFile, chosen))
        return refusal->kind == ReceiptStartSteps::ChooseFailure::UnknownForm
                   ? refused(refusal->error.message)
                   : dataFolderFailed(folder, refusal->error);
    if (!m_state.gColStrav)
        return failed(kStartImpossible, Error{0, QStringLiteral("Typy stravenek nejsou načteny.")});

    if (const auto failure = switchOn())
        return portOpenFailed(*failure);
    m_host.setReceiptFile(folder, input.chosenFile);
    m_host.setReceiptText(QString());
    // Every line as it stands, empty and NOREAD lines included: the receipt box mirrors the file.
    const auto booked = steps.bookStoredLines(chosen.lines, folder / TextFiles::toPath(input.chosenFile),
                                              ReceiptStartSteps::Start::CashDesk);
    m_host.setReceiptText(booked.box);
    m_state.gSouborVytvorenNovy = false;
    steps.rememberReceipt(chosen.name);
    return started();
}

} // namespace trv
