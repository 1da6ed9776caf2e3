#include "mainwindow/ReceiptState.h"

#include "core/ConfigAccess.h"

namespace trv {

ReceiptState::ReceiptState(QObject* parent) : QObject(parent) {}

ReceiptState::~ReceiptState() = default;

void ReceiptState::setReceiving(bool on) {
    m_receiving = on;
    if (on)
        m_readerLost = false;
    Q_EMIT changed(on);
}

void ReceiptState::setReaderLost(bool lost) {
    m_readerLost = lost && !m_receiving;
    Q_EMIT changed(m_receiving);
}

QString ReceiptState::panelText(const Config& config) const {
    const QString key = m_receiving    ? QStringLiteral("PrijemDatAkt")
                        : m_readerLost ? QStringLiteral("PrijemDatCteckaOdpojena")
                                       : QStringLiteral("PrijemDatNeakt");
    return config.DejText(QStringLiteral("frmHlavni"), key);
}

} // namespace trv
