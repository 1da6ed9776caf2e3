#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace trv {

class Config;

// Whether a receipt is being read: set where the reader's port is opened for receiving and where it is
// closed (also when the device goes away). The receipt start and end ask this flag; the first panel of the
// status bar only shows it (its text and colour below) and the display box is visible while it is set.
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
    void setReceiving(bool on);

    // The panel's text: ("frmHlavni", "PrijemDatAkt") or ("frmHlavni", "PrijemDatNeakt").
    static QString panelText(const Config& config, bool receiving);

Q_SIGNALS:
    // Also emitted when the state is set again to what it was, so the panel is always redrawn.
    void changed(bool receiving);

private:
    bool m_receiving = false;
};

} // namespace trv
