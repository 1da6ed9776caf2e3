#pragma once

#include "mainwindow/CodeBuffer.h"
#include "mainwindow/CodeProcessor.h"
#include "mainwindow/DisplayBox.h"
#include "mainwindow/InputLog.h"
#include "mainwindow/MainReceiptPort.h"
#include "mainwindow/PackageState.h"
#include "mainwindow/PortSetup.h"
#include "mainwindow/ReadCounters.h"
#include "mainwindow/ReaderCommands.h"
#include "mainwindow/ReaderState.h"
#include "mainwindow/ReaderStop.h"
#include "mainwindow/ReceiptJournal.h"
#include "mainwindow/ReceiptState.h"
#include "mainwindow/ReceiveLoop.h"
#include "mainwindow/ValidityToggle.h"

#include <QString>

#include <memory>

namespace trv {

struct AppState;
class Clock;
class ErrorLogSink;
class MainWindowLoad;
class MainWindowUnload;
class MainWindowView;
class Pause;
class Prompts;
class ReceiptControl;
class ReceiptWindows;
class SerialPort;
class VerticalMenus;
class WorkingIndicator;

// Everything the main window does that is not drawing: the reader (port, receive loop, code processor,
// counters, package state), the receipt start and end, the load and the unload. The window owns one,
// forwards its events here and shows what the parts signal.
class MainWindowLogic final {
public:
    struct Services {
        AppState& state;
        Prompts& prompts;
        const Clock& clock;
        SerialPort& port;
        Pause& pause;
        ErrorLogSink& errorLog;
        WorkingIndicator& working;
        MainWindowView& view;
        ReceiptWindows& windows;
    };

    explicit MainWindowLogic(const Services& services);
    ~MainWindowLogic();
    MainWindowLogic(const MainWindowLogic&) = delete;
    MainWindowLogic& operator=(const MainWindowLogic&) = delete;

    AppState& state() const { return m_services.state; }
    Prompts& prompts() const { return m_services.prompts; }
    const Clock& clock() const { return m_services.clock; }
    SerialPort& port() const { return m_services.port; }
    WorkingIndicator& working() const { return m_services.working; }
    MainWindowView& view() const { return m_services.view; }
    ReceiptWindows& windows() const { return m_services.windows; }
    ErrorLogSink& errorLog() const { return m_services.errorLog; }

    ReaderState& readerState() { return m_readerState; }
    CodeBuffer& KodBuffer() { return m_buffer; }
    DisplayBox& rtbStrav() { return m_display; }
    ReadCounters& counters() { return m_counters; }
    PackageState& package() { return m_package; }
    ReceiptState& receipt() { return m_receipt; }
    // The receipt's file on disk as codes are booked; every road that books live codes goes through it.
    ReceiptJournal& journal() { return m_journal; }
    PortSetup& portSetup() { return m_portSetup; }
    // The reader and the port as every start of receiving and every resume take them up.
    ReceiptPort& receiptPort() { return m_receiptPort; }
    ReaderStop& readerStop() { return m_readerStop; }
    ReaderCommands& commands() { return m_commands; }
    CodeProcessor& processor() { return *m_processor; }
    InputLog& inputLog() { return m_inputLog; }
    ValidityToggle& ctrlE() { return m_ctrlE; }

    ReceiptControl& control() { return *m_control; }
    VerticalMenus& menus() { return *m_menus; }
    MainWindowLoad& load() { return *m_load; }
    MainWindowUnload& unload() { return *m_unload; }

    // --- Main-window state of the current receipt
    // gDatovySoubor: the name of the current day data file, in the data folder.
    const QString& gDatovySoubor() const { return m_datovySoubor; }
    void setDatovySoubor(const QString& name) { m_datovySoubor = name; }
    // The caption of lblSoubor: the full path of the current receipt file (the package file in package mode).
    const QString& lblSoubor() const { return m_lblSoubor; }
    void setLblSoubor(const QString& path);
    // gTrideni: the sorting mode, set by the receipt start; the closing window then stays hidden.
    bool gTrideni() const { return m_trideni; }
    void setTrideni(bool on) { m_trideni = on; }

    // A language text of the main window ("frmHlavni", key).
    QString text(const QString& key) const;

private:
    Services m_services;
    ReaderState m_readerState;
    CodeBuffer m_buffer;
    DisplayBox m_display;
    ReadCounters m_counters;
    PackageState m_package;
    ReceiptState m_receipt;
    ReceiptJournal m_journal;
    PortSetup m_portSetup;
    ReaderStop m_readerStop;
    ReaderCommands m_commands;
    std::unique_ptr<CodeProcessor> m_processor;
    std::unique_ptr<ReceiveLoop> m_receiveLoop;
    InputLog m_inputLog;
    MainReceiptPort m_receiptPort{*this};
    ValidityToggle m_ctrlE;
    std::unique_ptr<ReceiptControl> m_control;
    std::unique_ptr<VerticalMenus> m_menus;
    std::unique_ptr<MainWindowLoad> m_load;
    std::unique_ptr<MainWindowUnload> m_unload;

    QString m_datovySoubor;
    QString m_lblSoubor;
    bool m_trideni = false;
};

} // namespace trv
