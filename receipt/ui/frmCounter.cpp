#include "receipt/ui/frmCounter.h"

#include "core/ConfigAccess.h"
#include "receipt/ui/LedDisplay.h"
#include "ui_frmCounter.h"

namespace trv {

frmCounter::frmCounter(const Config& config, std::function<void()> resetCounters, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::frmCounter>()), m_config(config),
      m_resetCounters(std::move(resetCounters)) {
    m_ui->setupUi(this);
    connect(m_ui->cmdReset, &QPushButton::clicked, this, &frmCounter::cmdReset_Click);
    setText();
}

frmCounter::~frmCounter() = default;

void frmCounter::setText() {
    const QString section = QStringLiteral("frmCounter");
    setWindowTitle(m_config.DejText(section, QStringLiteral("Caption")));
    m_ui->Label1->setText(m_config.DejText(section, QStringLiteral("Nacteno")));
    m_ui->Label2->setText(m_config.DejText(section, QStringLiteral("BezNOREAD")));
    m_ui->cmdReset->setText(m_config.DejText(section, QStringLiteral("btnReset")));
}

void frmCounter::setReadCount(qint64 reads) {
    showWholeNumber(m_ui->fwlCount, reads);
}

void frmCounter::setReadsWithoutNoRead(qint64 reads) {
    showWholeNumber(m_ui->fwlNOREAD, reads);
}

void frmCounter::setReceiveEvents(qint64 events) {
    showWholeNumber(m_ui->FWOdomet, events);
}

void frmCounter::cmdReset_Click() {
    if (m_resetCounters) {
        m_resetCounters();
    }
}

} // namespace trv
