#include "mainwindow/ReceiptState.h"

#include "core/ConfigAccess.h"

namespace trv {

ReceiptState::ReceiptState(QObject* parent) : QObject(parent) {}

ReceiptState::~ReceiptState() = default;

void ReceiptState::setReceiving(bool on) {
    m_receiving = on;
    Q_EMIT changed(on);
}

QString ReceiptState::panelText(const Config& config, bool receiving) {
    return config.DejText(QStringLiteral("frmHlavni"),
                          receiving ? QStringLiteral("PrijemDatAkt") : QStringLiteral("PrijemDatNeakt"));
}

} // namespace trv
