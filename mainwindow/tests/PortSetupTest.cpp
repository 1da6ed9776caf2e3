#include "ReaderRig.h"

#include <gtest/gtest.h>

namespace trv::test {
namespace {

class PortSetupTest : public ::testing::Test {
protected:
    ReaderRig rig;
};

TEST_F(PortSetupTest, OpeningWithTheConfiguredSettingsMarksTheReceiptAsReceiving) {
    QList<bool> shown;
    QObject::connect(&rig.receipt, &ReceiptState::changed, [&](bool on) { shown.append(on); });
    ASSERT_TRUE(NactiNastaveniPortu(rig.state));
    EXPECT_TRUE(rig.portSetup.NastavPrijem(true));
    EXPECT_EQ(rig.port.settings(), QStringLiteral("38400,N,8,1"));
    EXPECT_EQ(rig.port.handshaking(), Handshake::XOnXOff);
    EXPECT_EQ(rig.port.portNumber(), 2);
    EXPECT_EQ(rig.port.inBufferSize(), 4096);
    EXPECT_EQ(rig.port.outBufferSize(), 512);
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_TRUE(rig.receipt.receiving());
    EXPECT_EQ(rig.receipt.panelText(rig.state.config), QStringLiteral("Prijem AKTIVNI"));

    EXPECT_TRUE(rig.portSetup.NastavPrijem(false));
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.receipt.receiving());
    EXPECT_EQ(shown, (QList<bool>{true, false}));
    EXPECT_TRUE(rig.messages().isEmpty());
}

TEST_F(PortSetupTest, FailuresLeaveTheReceiptStateAsItWas) {
    ASSERT_TRUE(NactiNastaveniPortu(rig.state));
    // The port is in use: the operator hears it once.
    rig.port.setOpenError(Error{SerialPort::PortAlreadyOpenError, QStringLiteral("busy")});
    EXPECT_FALSE(rig.portSetup.NastavPrijem(true));
    EXPECT_EQ(rig.messages(), QStringList{QStringLiteral("Port uz je otevren.")});
    EXPECT_FALSE(rig.receipt.receiving());

    // Any other failure is for the caller to report.
    rig.port.setOpenError(Error{0, QStringLiteral("no such device")});
    EXPECT_FALSE(rig.portSetup.NastavPrijem(true));
    EXPECT_EQ(rig.portSetup.lastError()->message, QStringLiteral("no such device"));
    rig.port.setOpenError(std::nullopt);

    // A port name that is not COM1 to COM6 and a bad line setting never reach the device.
    rig.state.port.gPort = 0;
    EXPECT_FALSE(rig.portSetup.NastavPrijem(true));
    rig.state.port.gPort = 1;
    rig.state.port.gParity.clear();
    EXPECT_FALSE(rig.portSetup.NastavPrijem(true));
    EXPECT_EQ(rig.messages().size(), 1);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.receipt.receiving());
}

TEST_F(PortSetupTest, HandshakesAndTheirDescriptions) {
    struct Case {
        QString code;
        QString description;
        std::optional<Handshake> handshake;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("0"), QStringLiteral("COM1, None, 38400, 8, 1, N"), Handshake::None},
        {QStringLiteral("1"), QStringLiteral("COM1, XOn/XOff, 38400, 8, 1, N"), Handshake::XOnXOff},
        {QStringLiteral("2"), QStringLiteral("COM1, RTS/CTS, 38400, 8, 1, N"), Handshake::RtsCts},
        {QStringLiteral("3"), QStringLiteral("COM1, RTS XOn/XOff, 38400, 8, 1, N"), Handshake::RtsXOnXOff},
        {QStringLiteral("7"), QStringLiteral("COM1, , 38400, 8, 1, N"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        PortSettings settings{
            1, c.code, QStringLiteral("38400"), QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("N")};
        EXPECT_EQ(PortSetup::popisPortu(settings), c.description);
        rig.state.port = settings;
        EXPECT_EQ(rig.portSetup.nastavPort().ok(), c.handshake.has_value());
        if (c.handshake) {
            EXPECT_EQ(rig.port.handshaking(), *c.handshake);
        }
    }
    // Mark and space parity reach the line as they are.
    rig.state.port.gHShaking = QStringLiteral("0");
    rig.state.port.gParity = QStringLiteral("M");
    ASSERT_TRUE(rig.portSetup.nastavPort().ok());
    EXPECT_EQ(rig.port.lineSettings().parity, Parity::Mark);
    rig.state.port.gParity = QStringLiteral("S");
    ASSERT_TRUE(rig.portSetup.nastavPort().ok());
    EXPECT_EQ(rig.port.lineSettings().parity, Parity::Space);

    EXPECT_EQ(rig.portSetup.PopisPortu(), QStringLiteral("COM2, XOn/XOff, 38400, 8, 1, N"));
}

TEST_F(PortSetupTest, ADeviceThatGoesAwayEndsReceivingAndKeepsTheCodes) {
    rig.openPort();
    rig.receive(alfa(100).toLatin1() + "\r\n123");
    rig.port.simulateLoss(QStringLiteral("Čtečka byla odpojena."));
    EXPECT_FALSE(rig.receipt.receiving());
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.messages(), QStringList{QStringLiteral("Čtečka byla odpojena.")});
    EXPECT_EQ(rig.booked(), QStringList{alfa(100)});
    EXPECT_EQ(rig.display.text(), alfa(100) + QStringLiteral("\r\n123"));
}

} // namespace
} // namespace trv::test
