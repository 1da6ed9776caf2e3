#include "mainwindow/MainWindowLogic.h"

#include "core/AppState.h"
#include "mainwindow/MainWindowLoad.h"
#include "mainwindow/MainWindowUnload.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/VerticalMenus.h"
#include "platform/SerialPort.h"
#include "platform/TextFiles.h"

namespace trv {

MainWindowLogic::MainWindowLogic(const Services& services)
    : m_services(services), m_counters(services.state), m_journal(services.state, services.prompts),
      m_portSetup(services.state, services.port, m_receipt, services.prompts),
      m_readerStop(services.state, services.port, services.pause, services.errorLog),
      m_commands(services.state, m_readerState, services.port, m_portSetup, services.pause, m_readerStop, m_counters,
                 services.prompts),
      m_inputLog(services.state.programFolder, services.clock), m_ctrlE(services.state) {
    // The processor reaches the window through these while a code is being processed; they look the parts up
    // at call time, when every one of them exists.
    CodeProcessor::Window window;
    window.dlgNextPackage = [this] { return m_services.view.dlgNextPackage(QString(), QString()); };
    window.konecpr = [this] { m_control->konecpr_Click(); };
    window.lblSoubor = [this] { return TextFiles::toPath(m_lblSoubor); };
    window.journal = &m_journal;
    m_processor = std::make_unique<CodeProcessor>(services.state, m_readerState, m_buffer, m_readerStop,
                                                  services.prompts, m_counters, m_package, window);
    m_receiveLoop = std::make_unique<ReceiveLoop>(services.state, services.port, m_buffer, *m_processor, m_display,
                                                  m_counters, m_readerStop, m_portSetup, services.prompts);
    // The port's notices (a line without DTR and DSR) reach the operator, not only the log.
    QObject::connect(&services.port, &SerialPort::warning, m_receiveLoop.get(),
                     [this](const QString& message) { m_readerStop.oznamJednou(message); });
    m_control = std::make_unique<ReceiptControl>(*this);
    m_menus = std::make_unique<VerticalMenus>(*this);
    m_load = std::make_unique<MainWindowLoad>(*this);
    m_unload = std::make_unique<MainWindowUnload>(*this);
}

MainWindowLogic::~MainWindowLogic() = default;

void MainWindowLogic::setLblSoubor(const QString& path) {
    m_lblSoubor = path;
    m_services.view.setFileLabel(path);
}

QString MainWindowLogic::text(const QString& key) const {
    return m_services.state.config.DejText(QStringLiteral("frmHlavni"), key);
}

} // namespace trv
