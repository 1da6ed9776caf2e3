#include "mainwindow/MainWindowLoad.h"

#include "core/AppState.h"
#include "core/DayDataFiles.h"
#include "core/ErrorText.h"
#include "core/ReceiptRecord.h"
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
    // Read before anything starts: a receipt started below writes its own record over it.
    const std::optional<ReceiptRecord::Left> left = ReceiptRecord::read(state.config.programFolder());
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
    const Result<std::filesystem::path> kept = ReceiptRecord::keepAndEmptyBarcode(file, m_logic.clock().now());
    if (!kept.ok())
        return Status(kept.error());
    m_keptBarcode = kept.value();
    return m_logic.control().startReceiving(folder, kBarcodeFile, false);
}

bool MainWindowLoad::tellUnfinishedWork(const std::optional<ReceiptRecord::Left>& left, bool offerAppend) {
    const AppState& state = m_logic.state();
    QStringList parts;
    std::filesystem::path takeUp;
    ReceiptRecord::Ids ids;
    if (left) {
        const std::filesystem::path barcode = state.gDatovyAdresar / TextFiles::toPath(kBarcodeFile);
        if (!left->savedFile.empty()) {
            parts << QStringLiteral("Ukládání příjmu ze souboru %1 bylo přerušeno. Tyto výstupy mohou chybět nebo "
                                    "být neúplné: %2.\r\nDoplní je nové uložení příjmu: připište k souboru (přidání "
                                    "do existujícího souboru) a příjem uložte.")
                         .arg(TextFiles::toQString(left->savedFile), left->outputs.join(QStringLiteral(", ")));
            takeUp = left->savedFile;
            ids = left->ids;
        } else if (!left->receiptFile.empty() && (m_keptBarcode.empty() || left->receiptFile != barcode)) {
            // A receipt of Barcode.txt kept above is told with the kept file.
            if (const qsizetype codes = ReceiptRecord::codeCount(left->receiptFile); codes > 0) {
                parts << QStringLiteral("Příjem do souboru %1 (počet kódů: %2) nebyl uložen: co zapisuje až uložení "
                                        "příjmu (exporty, výčetka, denní součty), chybí.\r\nPříjem dokončíte, když k "
                                        "souboru připíšete (přidání do existujícího souboru) a příjem uložíte.")
                             .arg(TextFiles::toQString(left->receiptFile))
                             .arg(codes);
                takeUp = left->receiptFile;
                ids = left->ids;
            }
        }
    }
    if (!m_keptBarcode.empty())
        parts << ReceiptRecord::keptBarcodeText(state.gDatovyAdresar / TextFiles::toPath(kBarcodeFile), m_keptBarcode);
    if (parts.isEmpty())
        return false;
    QString text = parts.join(QStringLiteral("\r\n\r\n"));
    Prompts& prompts = m_logic.prompts();
    if (!offerAppend || !offerable(takeUp)) {
        prompts.message(text, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return false;
    }
    text += QStringLiteral("\r\n\r\nZahájit připisování k souboru %1 nyní?").arg(TextFiles::toQString(takeUp));
    if (!prompts.askYesNo(text))
        return false;
    m_logic.windows().appendAtNextStart(TextFiles::toQString(takeUp.filename()), ids);
    return true;
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
