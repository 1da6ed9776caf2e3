#include "mainwindow/ui/MainReceiptHost.h"

#include "core/AppState.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/ReceiptControl.h"
#include "platform/TextFiles.h"

namespace trv {

MainReceiptHost::MainReceiptHost(MainWindowLogic& logic, WindowSide window)
    : m_logic(logic), m_window(std::move(window)) {}

bool MainReceiptHost::PrepniSkener(bool on) {
    return m_logic.receiptPort().PrepniSkener(on);
}

std::optional<ReceiptHost::PortFailure> MainReceiptHost::readerSwitchFailure() const {
    return m_logic.receiptPort().readerSwitchFailure();
}

bool MainReceiptHost::NastavPrijem(bool open) {
    return m_logic.receiptPort().NastavPrijem(open);
}

std::optional<ReceiptHost::PortFailure> MainReceiptHost::portFailure() const {
    return m_logic.receiptPort().portFailure();
}

void MainReceiptHost::setReceiptFile(const std::filesystem::path& folder, const QString& fileName) {
    m_logic.setDatovySoubor(fileName);
    m_logic.control().showReceiptFile(folder / TextFiles::toPath(fileName), m_logic.state().sw.gFBalicky);
    m_logic.control().receiptStarted(folder / TextFiles::toPath(fileName));
}

void MainReceiptHost::setReceiptWithoutFile() {
    m_logic.control().receiptStarted({});
}

// The display box keeps its caret at the end by itself: it only ever grows at the end or is replaced whole.
void MainReceiptHost::setReceiptText(const QString& text) {
    m_logic.rtbStrav().setText(text);
}

void MainReceiptHost::appendReceiptText(const QString& text) {
    m_logic.rtbStrav().append(text);
}

int MainReceiptHost::chosenTypeIndex() const {
    return m_window.chosenTypeIndex ? m_window.chosenTypeIndex() : -1;
}

void MainReceiptHost::setPackageSumsText(const QString& text) {
    if (m_window.setPackageSumsText)
        m_window.setPackageSumsText(text);
}

ReaderControl& MainReceiptHost::reader() {
    return m_logic.readerStop();
}

void MainReceiptHost::setPackageSums(Currency sumaVse, Currency sumaBalik) {
    m_logic.package().gSumaVse = sumaVse;
    m_logic.package().gSumaBalik = sumaBalik;
    m_logic.package().notifyChanged();
}

void MainReceiptHost::setTrideni(bool on) {
    m_logic.setTrideni(on);
}

void MainReceiptHost::setCaption(const QString& text) {
    if (m_window.setCaption)
        m_window.setCaption(text);
}

std::shared_ptr<CPolozka> MainReceiptHost::PridejKod(Booking& booking, const QString& kod, qint32 druh) {
    return m_logic.journal().PridejKod(booking, kod, druh);
}

} // namespace trv
