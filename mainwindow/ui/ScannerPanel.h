#pragma once

#include "mainwindow/ScannerHost.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace trv {

class MainWindowLogic;

// The cheque scanner on the main window: the front and back images (FrontPicture, BackPicture), the MICR and
// OCR lines (MicrText, OcrText) and the bar codes of both faces (BarcodeFrontText, BarcodeBackText). It drives
// the window's scan button btnScan and adds the near-full warning to the window's caption.
class ScannerPanel final : public QWidget, private ScanView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScannerPanel)
public:
    ScannerPanel(MainWindowLogic& logic, scanner::ScannerDriver& driver, QPushButton& btnScan, QWidget& window,
                 QWidget* parent = nullptr);
    ~ScannerPanel() override;

    // Opens and configures the scanner and enables the scan button.
    void open();
    ScannerHost& host() { return *m_host; }

private:
    void btnScan_Click();
    void setScanEnabled(bool enabled) override;
    void showScanImage(const QByteArray& bmp, bool front) override;
    void setMicrText(const QString& text) override;
    void setOcrText(const QString& text) override;
    void setBarcodeText(const QString& text, bool front) override;
    void setNearFullCaption(bool nearFull) override;

    QPushButton& m_btnScan;
    QWidget& m_window;
    QString m_baseCaption;
    QLabel* m_front = nullptr;
    QLabel* m_back = nullptr;
    QLineEdit* m_micr = nullptr;
    QLineEdit* m_ocr = nullptr;
    QLineEdit* m_barcodeFront = nullptr;
    QLineEdit* m_barcodeBack = nullptr;
    std::unique_ptr<ScannerHost> m_host;
};

} // namespace trv
