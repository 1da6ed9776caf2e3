#include "mainwindow/VerticalMenus.h"

#include "core/AppState.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "platform/Prompts.h"

namespace trv {

bool VerticalMenus::refusedForCustomer() {
    if (!m_logic.state().sw.gFZakaznik)
        return false;
    m_logic.prompts().info(m_logic.text(QStringLiteral("FunkceNepovolena")));
    return true;
}

void VerticalMenus::vmnNab_ItemClick(int item) {
    switch (item) {
    case 1:
        m_logic.control().PrijemDat();
        break;
    case 2:
        m_logic.control().Rucne();
        break;
    case 3:
        m_logic.control().KontrVyc();
        break;
    case 4:
        m_logic.control().UkoncPrijmu();
        break;
    case 5:
        // With switch 42 the item is blank.
        if (!m_logic.state().sw.gFExportVycetkyPath && !refusedForCustomer())
            m_logic.windows().frmSoubory();
        break;
    case 6:
        m_logic.view().closeWindow();
        break;
    default:
        break;
    }
}

void VerticalMenus::vmnFast_ItemClick(int item) {
    switch (item) {
    case 1:
        m_logic.commands().ScanOn_Click();
        break;
    case 2:
        m_logic.commands().ScanOff_Click();
        break;
    case 3:
        // The spare quick button has no command of its own: it says so rather than doing nothing.
        if (!refusedForCustomer())
            m_logic.prompts().info(m_logic.text(QStringLiteral("VolbaNeobsazena")));
        break;
    case 4:
    case 5:
    case 6:
        // The window opens the settings, the period summary and the masks itself; here only the customer
        // switch's refusal.
        refusedForCustomer();
        break;
    default:
        break;
    }
}

} // namespace trv
