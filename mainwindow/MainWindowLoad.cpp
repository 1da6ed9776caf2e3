#include "mainwindow/MainWindowLoad.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/DayDataFiles.h"
#include "core/ErrorText.h"
#include "core/ReceiptRecord.h"
#include "core/SafeBagList.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/ReaderState.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include <algorithm>
#include <limits>

namespace trv {

bool MainWindowLoad::Form_Load() {
    AppState& state = m_logic.state();
    MainWindowView& view = m_logic.view();
    using Item = MainWindowView::MenuItem;
    using Menu = MainWindowView::Menu;

    state.gDatumSouboru.clear();
    m_logic.setTrideni(false);
    view.setMenuVisible(Item::mnuOdvody, state.sw.gFOdvody);
    if (state.sw.gF44 && !state.gSafeBag)
        view.setMenuEnabled(Item::mnuSoucVycDen, true);
    view.setMenuEnabled(Item::mnuRucne, m_logic.control().manualEntryEnabled());
    m_logic.control().NastavTlacitkaTypu();
    m_logic.KodBuffer().clear();
    view.setPortDescription(m_logic.portSetup().PopisPortu());

    if (state.sw.gFExportVycetkyPath) {
        view.setVerticalItemCaption(Menu::vmnNab, 5, QString());
        view.setMenuVisible(Item::soubory, false);
    }
    for (quint8 button = 1; button <= 4; ++button) {
        if (NactiTlacitko(state, button))
            view.setVerticalItemCaption(Menu::vmnFast, button + 2, state.gMaskaNazev);
    }
    view.setFastMenuVisible(!state.gHideRightPanel);

    // Read before anything can receive: mode "AUT" opens the port below, and the first NOREAD must already
    // stop the reader the way this installation's reader needs it.
    m_logic.readerState().gTypScaneru = nactiTypScaneru(state.config);
    m_logic.readerState().gSoftwZastavovani = nactiSoftwZastavovani(state.config);

    // The window shows in every mode, a hidden one could not even be closed; only "STD" and "AUT" start anything.
    view.showWindow();
    // Read before anything starts: a receipt started below writes its own entry into it.
    const std::vector<ReceiptRecord::Entry> left = ReceiptRecord::read(state.config.programFolder());
    if (state.gMode == QLatin1String("AUT")) {
        const Status started = startAutomatic();
        tellUnfinishedWork(left, false);
        if (!started) {
            m_logic.prompts().error(automaticStartFailedText(started.error()));
            view.closeWindow();
            return false;
        }
    } else if (state.gMode == QLatin1String("STD")) {
        // Taken up at once, the append runs through this receipt start.
        tellUnfinishedWork(left, true);
        m_logic.control().PrijemDat();
    }
    // Any other mode starts nothing and has no closing save: a record another mode left is told when the program
    // next starts in that mode.
    // A start that took another way (the safe bag) leaves no append waiting for a later one.
    m_logic.windows().appendAtNextStart(QString());

    // Read after the first receipt-start dialog: the configured values replace what it may have set.
    loadReceivingSettings(state);
    m_logic.package().gColKodyPoslBaliku.clear();
    m_logic.package().gColKodyBaliku.clear();
    if (state.sw.gFSkenerEpson)
        view.setScanButtonVisible(true);
    return true;
}

Status MainWindowLoad::startAutomatic() {
    const std::filesystem::path folder = m_logic.state().gDatovyAdresar;
    const std::filesystem::path file = folder / TextFiles::toPath(kBarcodeFile);
    m_keptBarcode.clear();
    // Unfinished only when a receipt into it was cut short; else they are the last receipt's complete result.
    m_keptUnfinished = ReceiptRecord::find(m_logic.state().config.programFolder(), file).has_value();
    const Result<std::filesystem::path> kept =
        ReceiptRecord::keepAndEmptyBarcode(file, m_logic.clock().now(), m_keptUnfinished);
    if (!kept.ok())
        return Status(kept.error());
    m_keptBarcode = kept.value();
    return m_logic.control().startReceiving(folder, kBarcodeFile, false);
}

bool MainWindowLoad::tellUnfinishedWork(const std::vector<ReceiptRecord::Entry>& left, bool offerAppend) {
    const AppState& state = m_logic.state();
    const std::filesystem::path programFolder = state.config.programFolder();
    const std::filesystem::path barcode = state.gDatovyAdresar / TextFiles::toPath(kBarcodeFile);
    const ReceiptJournal& journal = m_logic.journal();
    const auto same = [](const std::filesystem::path& a, const std::filesystem::path& b) {
        return a.lexically_normal() == b.lexically_normal();
    };
    QStringList parts;
    std::filesystem::path takeUp;
    ReceiptRecord::Ids ids;
    for (const ReceiptRecord::Entry& entry : left) {
        if (entry.kind == ReceiptRecord::Kind::SafeBag) {
            tellSafeBag(entry);
            continue;
        }
        // A save cut short is told even where this start (mode AUT) has begun its own receipt in the same file.
        const bool thisRunsOwn = journal.active() && same(entry.file, journal.file());
        if (thisRunsOwn && entry.outputs.isEmpty())
            continue;
        if (!entry.outputs.isEmpty()) {
            parts << QStringLiteral("Ukládání příjmu ze souboru %1 bylo přerušeno. Tyto výstupy mohou chybět nebo "
                                    "být neúplné: %2.\r\nDoplní je nové uložení příjmu: připište k souboru (přidání "
                                    "do existujícího souboru) a příjem uložte.")
                         .arg(TextFiles::toQString(entry.file), entry.outputs.join(QStringLiteral(", ")));
        } else if (!m_keptBarcode.empty() && same(entry.file, barcode)) {
            // A receipt of Barcode.txt kept above is told with the kept file.
            continue;
        } else if (const qsizetype codes = ReceiptRecord::receiptCodeCount(entry); codes > 0) {
            parts << QStringLiteral("Příjem do souboru %1 (počet kódů: %2) nebyl uložen: co zapisuje až uložení "
                                    "příjmu (exporty, výčetka, denní součty), chybí.\r\nPříjem dokončíte, když k "
                                    "souboru připíšete (přidání do existujícího souboru) a příjem uložíte.")
                         .arg(TextFiles::toQString(entry.file))
                         .arg(codes);
        } else {
            // Killed before its first code: nothing to take up, and nothing to tell at every start.
            (void)ReceiptRecord::ended(programFolder, entry.file);
            continue;
        }
        if (takeUp.empty() && offerable(entry.file)) {
            takeUp = entry.file;
            ids = entry.ids;
        }
    }
    if (!m_keptBarcode.empty())
        parts << ReceiptRecord::keptBarcodeText(barcode, m_keptBarcode, m_keptUnfinished);
    if (parts.isEmpty())
        return false;
    QString text = parts.join(QStringLiteral("\r\n\r\n"));
    Prompts& prompts = m_logic.prompts();
    if (!offerAppend || takeUp.empty()) {
        prompts.message(text, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return false;
    }
    text += QStringLiteral("\r\n\r\nZahájit připisování k souboru %1 nyní?").arg(TextFiles::toQString(takeUp));
    if (!prompts.askYesNo(text))
        return false;
    m_logic.windows().appendAtNextStart(TextFiles::toQString(takeUp.filename()), ids);
    return true;
}

void MainWindowLoad::tellSafeBag(const ReceiptRecord::Entry& entry) {
    const std::filesystem::path programFolder = m_logic.state().config.programFolder();
    Prompts& prompts = m_logic.prompts();
    const QString file = TextFiles::toQString(entry.file);
    const qsizetype codes = ReceiptRecord::codeCount(entry.file);
    if (codes == 0) {
        // Killed before its first code: there is no list to write.
        if (const Status ended = ReceiptRecord::ended(programFolder, entry.file);
            ended && TextFiles::exists(entry.file))
            (void)TextFiles::remove(entry.file);
        return;
    }
    if (!prompts.askYesNo(QStringLiteral("Příjem SafeBag nebyl dokončen: jeho seznam (.sfb) se nezapsal a jeho kódy "
                                         "(počet kódů: %2) jsou jen v souboru %1.\r\n\r\nZapsat seznam nyní? (Ne: "
                                         "soubor zůstane a příjem se ohlásí znovu při příštím spuštění.)")
                              .arg(file)
                              .arg(codes)))
        return;
    const Result<std::filesystem::path> written = zapisSeznam(entry.file);
    if (!written.ok()) {
        prompts.error(QStringLiteral("Seznam SafeBag ze souboru %1 nelze zapsat; soubor zůstává a příjem se ohlásí "
                                     "znovu při příštím spuštění.\r\n")
                          .arg(file) +
                      written.message());
        return;
    }
    // The list is the receipt's saved form now: what kept its codes is no longer needed. The file goes first, so
    // that no later start can write the list again: a record left without its file is dropped there unsaid.
    if (const Status removed = TextFiles::remove(entry.file); !removed) {
        prompts.error(removed.message());
        return;
    }
    if (const Status ended = ReceiptRecord::ended(programFolder, entry.file); !ended)
        prompts.error(ended.message());
    prompts.info(QStringLiteral("Seznam SafeBag byl zapsán do souboru %1 (počet kódů: %2).")
                     .arg(TextFiles::toQString(written.value()))
                     .arg(codes));
}

Result<std::filesystem::path> MainWindowLoad::zapisSeznam(const std::filesystem::path& file) const {
    const AppState& state = m_logic.state();
    const Result<QByteArray> bytes = TextFiles::readBytes(file);
    if (!bytes.ok())
        return bytes.error();
    const QStringList codes = ReceiptRecord::codes(bytes.value());
    // In the order of the voucher types, as the closing window writes the list; a code of no known type last.
    std::vector<std::pair<qsizetype, QString>> ordered;
    ordered.reserve(static_cast<size_t>(codes.size()));
    for (const QString& code : codes) {
        qsizetype position = std::numeric_limits<qsizetype>::max();
        if (state.gColStrav) {
            const auto type = state.gColStrav->NajdiTypKodu(code);
            const auto types = state.gColStrav->types();
            if (type.ok() && type.value())
                position = std::find(types.begin(), types.end(), type.value()) - types.begin();
        }
        ordered.emplace_back(position, code);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const Result<std::filesystem::path> folder = slozkaSafeBag(state.config);
    if (!folder.ok())
        return folder.error();
    return zapisSeznamSafeBag(
        folder.value(),
        [&ordered](const TextFiles::LineSink& line) {
            for (const auto& [position, code] : ordered)
                line(code);
            return true;
        },
        m_logic.clock().now());
}

bool MainWindowLoad::offerable(const std::filesystem::path& file) const {
    // The receipt start appends only to the day files it lists, those of the data folder.
    if (file.empty() || !TextFiles::exists(file))
        return false;
    const Result<std::filesystem::path> folder = DejCestuDat(m_logic.state().config);
    if (!folder.ok() || file.parent_path().lexically_normal() != folder.value().lexically_normal())
        return false;
    const Result<std::vector<std::filesystem::path>> files = DayDataFiles::list(folder.value());
    return files.ok() && std::any_of(files.value().begin(), files.value().end(),
                                     [&](const std::filesystem::path& f) { return f.filename() == file.filename(); });
}

QString MainWindowLoad::automaticStartFailedText(const Error& error) const {
    return m_logic.text(QStringLiteral("NeexCestaKDatum")) +
           errorNumberAndDescription(error, QStringLiteral("Num"), QStringLiteral("descr"));
}

} // namespace trv
