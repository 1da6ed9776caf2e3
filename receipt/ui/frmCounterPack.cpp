#include "receipt/ui/frmCounterPack.h"

#include "receipt/ui/LedDisplay.h"
#include "ui_frmCounterPack.h"

namespace trv {

frmCounterPack::frmCounterPack(std::function<void()> resetCounters, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::frmCounterPack>()),
      m_resetCounters(std::move(resetCounters)) {
    m_ui->setupUi(this);
    connect(m_ui->cmdReset, &QPushButton::clicked, this, &frmCounterPack::cmdReset_Click);
}

frmCounterPack::~frmCounterPack() = default;

void frmCounterPack::setResetHandler(std::function<void()> resetCounters) {
    m_resetCounters = std::move(resetCounters);
}

void frmCounterPack::setReadCount(qint64 reads) {
    showWholeNumber(m_ui->fwlCount, reads);
}

void frmCounterPack::setReadsWithoutNoRead(qint64 reads) {
    showWholeNumber(m_ui->fwlNOREAD, reads);
}

void frmCounterPack::setReceiveEvents(qint64 events) {
    showWholeNumber(m_ui->FWOdomet, events);
}

void frmCounterPack::setPackageNumber(qint64 number) {
    showWholeNumber(m_ui->FWLedPackageCount, number);
}

void frmCounterPack::setCurrentPackageValue(qint64 value) {
    showWholeNumber(m_ui->FWLedSumActualPackage, value);
}

void frmCounterPack::setAllPackagesValue(qint64 value) {
    showWholeNumber(m_ui->FWLedSumPackage, value);
}

void frmCounterPack::cmdReset_Click() {
    if (m_resetCounters) {
        m_resetCounters();
    }
}

} // namespace trv
