#include "mainwindow/MainWindowLoad.h"

#include "core/AppState.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/ReaderState.h"
#include "mainwindow/ReceiptControl.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

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
    if (state.gMode == QLatin1String("AUT")) {
        if (const Status started = startAutomatic(); !started) {
            m_logic.prompts().error(automaticStartFailedText(started.error()));
            view.closeWindow();
            return false;
        }
    } else if (state.gMode == QLatin1String("STD")) {
        m_logic.control().PrijemDat();
    }

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
    if (const Status emptied = TextFiles::writeAll(file, QString()); !emptied)
        return emptied;
    return m_logic.control().startReceiving(folder, kBarcodeFile, false);
}

QString MainWindowLoad::automaticStartFailedText(const Error& error) const {
    return m_logic.text(QStringLiteral("NeexCestaKDatum")) + QString::number(error.number) +
           QStringLiteral(", descr: ") + error.message;
}

} // namespace trv
