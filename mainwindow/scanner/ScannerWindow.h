#pragma once

#include "platform/ScannerDriver.h"

#include <QByteArray>
#include <QString>

namespace trv {

// What the scanner connection asks of the main window (m_objMainForm): the scan button, the read bar code,
// the scanned images and the near-full warning in the caption. The main window implements it; tests record it.
class ScannerWindow {
public:
    virtual ~ScannerWindow() = default;

    // The scan function has ended (or its start failed): the scan button may be used again.
    virtual void Complate(qint32 transaction) = 0;
    // A bar-code text of one face; an empty text changes nothing, a text starting with "(" is only shown.
    virtual void SetBarcodeFront(const QString& text) = 0;
    // A scanned image for display: the bytes of a BMP file (8-bit gray or 1-bit); empty clears the picture.
    virtual void SetImage(const QByteArray& bmp, bool front) = 0;
    virtual void SetIqaResult(const scanner::IqaResult& result) = 0;
    virtual void SetDeviceStatus(qint32 status) = 0;
    // The bar-code text of one face as read (before SetBarcodeFront takes it).
    virtual void setBarcodeText(const QString& text, bool front) = 0;
    // The MICR and OCR lines of the document.
    virtual void setMicrText(const QString& text) = 0;
    virtual void setOcrText(const QString& text) = 0;
    // The near-full warning after the caption the load gave the window.
    virtual void setNearFullCaption(bool nearFull) = 0;
};

} // namespace trv
