#include "mainwindow/ScannerHost.h"

#include "core/AppState.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/ReceiptControl.h"
#include "platform/Prompts.h"

namespace trv {

ScannerHost::ScannerHost(MainWindowLogic& logic, scanner::ScannerDriver& driver, ScanView& view)
    : m_logic(logic), m_view(view), m_api(driver, logic.prompts(), logic.state().programFolder) {}

ScannerHost::~ScannerHost() {
    m_api.ScanEnd();
}

void ScannerHost::open() {
    m_api.m_objMainForm = this;
    m_config.setMainWindowValues();
    m_api.m_objConfig = &m_config;
    ConfirmationMode = false;
    m_api.SetStatusBackWnd();
    m_api.Configure();
}

void ScannerHost::btnScan_Click() {
    // As with manual entry: a cheque taken while no receipt runs would be booked with no file behind it and
    // dropped by the next start, so the device is not even asked for one.
    if (!m_logic.control().receiptRuns()) {
        m_logic.prompts().info(m_logic.text(QStringLiteral("NeprobihaPrjem")));
        return;
    }
    m_view.setScanEnabled(false);
    m_api.Scan();
}

void ScannerHost::Complate(qint32) {
    m_view.setScanEnabled(true);
}

void ScannerHost::SetBarcodeFront(const QString& text) {
    const QString code = text.trimmed();
    if (code.isEmpty())
        return;
    const QString line = code + QStringLiteral("\r\n");
    m_logic.rtbStrav().append(line);
    // A text that starts with "(" is the driver's report of a failed reading: shown, never booked.
    if (text.startsWith(u'('))
        return;
    m_logic.KodBuffer().setText(line);
    m_logic.processor().ZpracujKod();
}

void ScannerHost::SetImage(const QByteArray& bmp, bool front) {
    m_view.showScanImage(bmp, front);
}

void ScannerHost::setBarcodeText(const QString& text, bool front) {
    m_view.setBarcodeText(text, front);
}

void ScannerHost::setMicrText(const QString& text) {
    m_view.setMicrText(text);
}

void ScannerHost::setOcrText(const QString& text) {
    m_view.setOcrText(text);
}

void ScannerHost::setNearFullCaption(bool nearFull) {
    m_view.setNearFullCaption(nearFull);
}

} // namespace trv
