#pragma once

#include "mainwindow/scanner/ApiUsage.h"
#include "mainwindow/scanner/PropertiseClass.h"
#include "mainwindow/scanner/ScannerWindow.h"

namespace trv {

class MainWindowLogic;

// What the main window shows of the cheque scanner: the scan button, the two images, the MICR, OCR and
// bar-code lines and the near-full warning in the caption. The window implements it.
class ScanView {
public:
    virtual ~ScanView() = default;
    virtual void setScanEnabled(bool enabled) = 0;
    virtual void showScanImage(const QByteArray& bmp, bool front) = 0;
    virtual void setMicrText(const QString& text) = 0;
    virtual void setOcrText(const QString& text) = 0;
    virtual void setBarcodeText(const QString& text, bool front) = 0;
    virtual void setNearFullCaption(bool nearFull) = 0;
};

// The main window's side of the cheque scanner: its option table, the connection, and what a scanned
// document does to the receipt. A bar code read from a cheque goes to the code processor exactly like a code
// from the serial reader.
class ScannerHost final : private ScannerWindow {
public:
    ScannerHost(MainWindowLogic& logic, scanner::ScannerDriver& driver, ScanView& view);
    ~ScannerHost() override;
    ScannerHost(const ScannerHost&) = delete;
    ScannerHost& operator=(const ScannerHost&) = delete;

    // The connection with the main window's option values, registered and configured.
    void open();
    void btnScan_Click();
    // The device is released (also by the destructor).
    void ScanEnd() { m_api.ScanEnd(); }

    PropertiseClass& m_objConfig() { return m_config; }
    ApiUsage& api() { return m_api; }
    bool ConfirmationMode = false;

    // ScannerWindow
    void Complate(qint32 transaction) override;
    void SetBarcodeFront(const QString& text) override;

private:
    void SetImage(const QByteArray& bmp, bool front) override;
    void SetIqaResult(const scanner::IqaResult&) override {}
    void SetDeviceStatus(qint32) override {}
    void setBarcodeText(const QString& text, bool front) override;
    void setMicrText(const QString& text) override;
    void setOcrText(const QString& text) override;
    void setNearFullCaption(bool nearFull) override;

    MainWindowLogic& m_logic;
    ScanView& m_view;
    PropertiseClass m_config;
    ApiUsage m_api;
};

} // namespace trv
