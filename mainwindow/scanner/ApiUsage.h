#pragma once

#include "mainwindow/scanner/PropertiseClass.h"
#include "platform/ScannerDriver.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>

namespace trv {

class Prompts;
class ScannerWindow;

// The program's one connection to the cheque scanner: opens the device, loads its parameter blocks from the
// option table, starts scans, handles the driver's notifications (the document's MICR line, OCR line, images,
// endorsement, bar codes) and releases the device at the end. The images and the MICR report are written to
// the program folder.
class ApiUsage final {
public:
    ApiUsage(scanner::ScannerDriver& driver, Prompts& prompts, std::filesystem::path programFolder);
    ~ApiUsage();
    ApiUsage(const ApiUsage&) = delete;
    ApiUsage& operator=(const ApiUsage&) = delete;

    ScannerWindow* m_objMainForm = nullptr;
    // The option table in use: the connection's own until the main window gives it its table.
    PropertiseClass* m_objConfig = nullptr;

    void Configure();
    void Scan();
    void Cancel();
    void ScanEnd();
    void MicrStatusCallback();
    void SetStatusBackWnd();
    qint32 GetTransactionNumber();

    void StopBuzzer();
    qint32 GetStatus();
    void SetStatusCallback();
    void Cleaning();
    qint32 GetStartWaitTime() const;

    // Results of one document (also run by MicrStatusCallback).
    void SaveMicrResult(qint32 transaction);
    void ReadBarcodes(qint32 transaction);
    // The bytes as characters of the ANSI code page; zero bytes become NUL characters, so the text always has
    // exactly `length` characters.
    static QString ByteArrayToString(const char* bytes, qsizetype length);
    // "007.front.jpg", "1234.back.tif".
    static QString imageFileName(qint32 transaction, bool front, bool grayscale);

    qint32 handle() const { return m_lHandle; }
    bool nearFull() const { return m_bNearFull; }
    // Notification fields, as the driver stored them before its call of MicrStatusCallback.
    void storeNotification(qint32 transaction, qint16 status, qint16 detail);

    // The three-line title of the message when the device cannot be opened.
    static QString openFailedTitle();

private:
    bool ShowError(qint32 code, const QString& title);
    bool setParams(scanner::ScannerDriver::Family family);
    bool call(scanner::ScannerDriver::Family family, scanner::Block block, int code, const char* blockName);
    void exec(scanner::ScannerDriver::Family family);
    void fetchImage(qint32 transaction, bool front);
    void PrintEndorseText();
    void PrintEndorseImage();
    qint16 opt(const char* name) const;

    scanner::ScannerDriver& m_driver;
    Prompts& m_prompts;
    std::filesystem::path m_programFolder;
    PropertiseClass m_ownConfig;
    bool m_connected = false;

    qint32 m_lHandle = 0;
    qint32 m_lTransactionNumber = 0;
    qint16 m_iStatus = 0;
    qint16 m_iDetail = 0;
    qint32 m_lStatus = 0;
    bool m_bNearFull = false;

    scanner::BaseBlock m_objmfBase01;
    scanner::MicrBlock m_objmfMicr;
    scanner::ScanBlock m_objmfScanFront;
    scanner::ScanBlock m_objmfScanBack;
    scanner::PrintBlock m_objmfPrint01;
    scanner::ProcessBlock m_objmfProcess;
    scanner::IqaBlock m_objmfIqa;
    scanner::BarcodeBlock m_objmfBarcodeFront;
    scanner::BarcodeBlock m_objmfBarcodeBack;
};

// The option translations of the parameter blocks.
namespace ScannerMaps {
quint8 MapDetect(qint16 v);
quint8 MapEjectType(qint16 v);
quint8 MapStampCancel(qint16 v);
quint8 MapNextCheck(qint16 v);
quint8 MapBuzzerHz(qint16 v);
quint8 MapBuzzerCount(qint16 v);
} // namespace ScannerMaps

} // namespace trv
