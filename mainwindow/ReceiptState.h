#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace trv {

class Config;

// Whether a receipt is being read: set where the reader's port is opened for receiving and where it is
// closed (also when the device goes away). The receipt start and end ask this flag; the first panel of the
// status bar only shows it (its text and colour below) and the display box is visible while it is set.
// A receipt whose reader went away still runs (ReceiptControl::receiptRuns) and must be ended and saved: the
// panel says so, on the red of a panel that is not receiving, until the port opens again or the receipt ends.
class ReceiptState final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReceiptState)

public:
    // Background of the panel: green while receiving, red otherwise.
    static constexpr quint32 kReceivingColor = 0x32FF50;    // RGB(50, 255, 80)
    static constexpr quint32 kNotReceivingColor = 0xFF4B4B; // RGB(255, 75, 75)

    explicit ReceiptState(QObject* parent = nullptr);
    ~ReceiptState() override;

    bool receiving() const { return m_receiving; }
    // Opening the port for receiving ends a loss of the reader.
    void setReceiving(bool on);

    // The running receipt lost its reader (the device went away, or the port did not open again): false once
    // the port receives again or the receipt has ended.
    bool readerLost() const { return m_readerLost; }
    void setReaderLost(bool lost);

    // The panel's text: ("frmHlavni", "PrijemDatAkt") while receiving, ("frmHlavni", "PrijemDatCteckaOdpojena")
    // while the receipt runs without its reader, else ("frmHlavni", "PrijemDatNeakt").
    QString panelText(const Config& config) const;

Q_SIGNALS:
    // Also emitted when the state is set again to what it was, so the panel is always redrawn.
    void changed(bool receiving);

private:
    bool m_receiving = false;
    bool m_readerLost = false;
};

} // namespace trv
