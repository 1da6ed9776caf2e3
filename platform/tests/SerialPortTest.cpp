#include "platform/SerialPort.h"
#include "platform/FakeSerialPort.h"
#include "platform/SerialSettings.h"

#include <QHash>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

using namespace trv;

namespace {

EnvironmentLookup environmentOf(QHash<QString, QString> variables) {
    return [variables](const QString& name) { return variables.value(name); };
}

} // namespace

TEST(SerialSettingsTest, ParsesSettingsTexts) {
    struct Case {
        const char* text;
        SerialLineSettings expected;
    };
    const std::vector<Case> cases = {
        {"9600,n,8,1", {9600, Parity::None, 8, StopBits::One}},
        {"38400,N,8,1", {38400, Parity::None, 8, StopBits::One}},
        {" 19200 , e , 7 , 2 ", {19200, Parity::Even, 7, StopBits::Two}},
        {"1200,O,5,1.5", {1200, Parity::Odd, 5, StopBits::OneAndHalf}},
        {"4800,m,6,1", {4800, Parity::Mark, 6, StopBits::One}},
        {"2400,S,8,2", {2400, Parity::Space, 8, StopBits::Two}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Result<SerialLineSettings> parsed = parseSerialSettings(QString::fromLatin1(c.text));
        ASSERT_TRUE(parsed.ok()) << parsed.message().toStdString();
        EXPECT_EQ(parsed.value(), c.expected);
    }
}

TEST(SerialSettingsTest, RefusesBadSettingsNamingTheText) {
    for (const char* text : {"", "9600,n,8", "9600,n,8,1,1", "abc,n,8,1", "0,n,8,1", "-9600,n,8,1", "9600,x,8,1",
                             "9600,,8,1", "9600,n,4,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,1,5"}) {
        SCOPED_TRACE(text);
        const Result<SerialLineSettings> parsed = parseSerialSettings(QString::fromLatin1(text));
        ASSERT_FALSE(parsed.ok());
        EXPECT_TRUE(parsed.message().contains(QString::fromLatin1(text))) << parsed.message().toStdString();
    }
}

TEST(SerialSettingsTest, HandshakeNumbers) {
    EXPECT_EQ(handshakeFromNumber(0).value(), Handshake::None);
    EXPECT_EQ(handshakeFromNumber(1).value(), Handshake::XOnXOff);
    EXPECT_EQ(handshakeFromNumber(2).value(), Handshake::RtsCts);
    EXPECT_EQ(handshakeFromNumber(3).value(), Handshake::RtsXOnXOff);
    for (int bad : {-1, 4, 60}) {
        const Result<Handshake> handshake = handshakeFromNumber(bad);
        ASSERT_FALSE(handshake.ok());
        EXPECT_TRUE(handshake.message().contains(QString::number(bad)));
    }
}

TEST(SerialSettingsTest, ComNumberMapsToEnvironmentOrPlatformDevice) {
    const EnvironmentLookup environment = environmentOf(
        {{QStringLiteral("TRV7300_COM3"), QStringLiteral("/dev/pts/7")}, {QStringLiteral("TRV7300_COM4"), QString()}});
    EXPECT_EQ(serialDeviceName(3, environment), QStringLiteral("/dev/pts/7"));
#ifdef Q_OS_WIN
    EXPECT_EQ(serialDeviceName(1, environment), QStringLiteral("COM1"));
    EXPECT_EQ(serialDeviceName(4, environment), QStringLiteral("COM4"));
    EXPECT_EQ(serialDeviceName(6, EnvironmentLookup()), QStringLiteral("COM6"));
#else
    EXPECT_EQ(serialDeviceName(1, environment), QStringLiteral("/dev/ttyS0"));
    // Set but empty counts as not set.
    EXPECT_EQ(serialDeviceName(4, environment), QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(serialDeviceName(6, EnvironmentLookup()), QStringLiteral("/dev/ttyS5"));
#endif
}

TEST(SerialTextTest, DecodesWindows1250KeepingNulBytes) {
    const QByteArray bytes("12\0"
                           "34\x8A\xE8\r\n",
                           9);
    const QString text = decodeSerialText(bytes);
    ASSERT_EQ(text.size(), 9);
    EXPECT_EQ(text, QStringView(u"12\0"
                                u"34\u0160\u010D\r\n",
                                9)
                        .toString());
    EXPECT_EQ(encodeSerialText(text), bytes);
}

TEST(SerialTextTest, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeSerialText(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(encodeSerialText(text), all);
}

TEST(SerialPortConfigTest, KeepsValidConfigurationAndRefusesBadValues) {
    FakeSerialPort port(environmentOf({{QStringLiteral("TRV7300_COM2"), QStringLiteral("/dev/ttyUSB0")}}));

    ASSERT_TRUE(port.setPortNumber(2).ok());
    EXPECT_EQ(port.deviceName(), QStringLiteral("/dev/ttyUSB0"));
    const Status badPort = port.setPortNumber(0);
    EXPECT_FALSE(badPort.ok());
    EXPECT_EQ(port.portNumber(), 2);

    ASSERT_TRUE(port.setSettings(QStringLiteral("38400,N,8,1")).ok());
    const Status badSettings = port.setSettings(QStringLiteral("38400,Q,8,1"));
    EXPECT_FALSE(badSettings.ok());
    EXPECT_EQ(port.settings(), QStringLiteral("38400,N,8,1"));
    EXPECT_EQ(port.lineSettings().baudRate, 38400);

    ASSERT_TRUE(port.setHandshaking(1).ok());
    const Status badHandshake = port.setHandshaking(4);
    EXPECT_FALSE(badHandshake.ok());
    EXPECT_EQ(port.handshaking(), Handshake::XOnXOff);

    port.setInBufferSize(4096);
    port.setOutBufferSize(512);
    EXPECT_EQ(port.inBufferSize(), 4096);
    EXPECT_EQ(port.outBufferSize(), 512);
}

TEST(FakeSerialPortTest, OpenCloseAndFailures) {
    FakeSerialPort port;
    ASSERT_TRUE(port.open().ok());
    EXPECT_TRUE(port.isOpen());

    const Status again = port.open();
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().number, SerialPort::PortAlreadyOpenError);
    EXPECT_TRUE(port.isOpen());

    port.close();
    port.close();
    EXPECT_FALSE(port.isOpen());

    port.setOpenError(Error{0, QStringLiteral("no such device")});
    const Status failed = port.open();
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.message(), QStringLiteral("no such device"));
    EXPECT_FALSE(port.isOpen());

    port.setOpenError(std::nullopt);
    EXPECT_TRUE(port.open().ok());
    EXPECT_EQ(port.events(), QStringList({QStringLiteral("open"), QStringLiteral("close"), QStringLiteral("close"),
                                          QStringLiteral("open failed"), QStringLiteral("open")}));
}

TEST(FakeSerialPortTest, ReceivesWhatTheReaderDeliversWhileOpen) {
    FakeSerialPort port;
    QByteArray taken;
    int notices = 0;
    QObject::connect(&port, &SerialPort::received, [&] {
        ++notices;
        taken += port.readAll();
    });

    port.deliver("lost\r\n");
    EXPECT_EQ(notices, 0);

    ASSERT_TRUE(port.open().ok());
    port.deliver("123");
    port.deliver("45\r\n");
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(taken, QByteArray("12345\r\n"));
    EXPECT_EQ(port.bytesAvailable(), 0);
}

TEST(FakeSerialPortTest, SendsRecordEachWriteAndNeedAnOpenPort) {
    FakeSerialPort port;
    const Status closed = port.send("SSET\r");
    EXPECT_FALSE(closed.ok());
    EXPECT_TRUE(port.writes().isEmpty());

    ASSERT_TRUE(port.open().ok());
    port.clearLog();
    ASSERT_TRUE(port.send("SSET\r").ok());
    ASSERT_TRUE(port.send("SEND\r\n").ok());
    EXPECT_EQ(port.writes(), QList<QByteArray>({"SSET\r", "SEND\r\n"}));
    EXPECT_EQ(port.sent(), QByteArray("SSET\rSEND\r\n"));
    EXPECT_EQ(port.events(), QStringList({QStringLiteral("send SSET\r"), QStringLiteral("send SEND\r\n")}));
}

TEST(FakeSerialPortTest, DtrPulseIsLoggedInOrderWithTimes) {
    FakeSerialPort port;
    ASSERT_TRUE(port.open().ok());
    port.clearLog();
    ASSERT_TRUE(port.setDtr(true).ok());
    QThread::msleep(30);
    ASSERT_TRUE(port.setDtr(false).ok());
    EXPECT_FALSE(port.dtr());
    EXPECT_EQ(port.events(), QStringList({QStringLiteral("DTR 1"), QStringLiteral("DTR 0")}));
    EXPECT_GE(port.eventLog().at(1).msec - port.eventLog().at(0).msec, 25);
}

TEST(FakeSerialPortTest, DsrChangesAreSignalledOnlyWhileOpenAndWatched) {
    FakeSerialPort port;
    QList<bool> changes;
    QObject::connect(&port, &SerialPort::dsrChanged, [&](bool dsr) { changes.append(dsr); });

    ASSERT_TRUE(port.open().ok());
    port.setDsr(true); // not watched
    port.setDsrWatch(true);
    port.setDsr(false);
    port.setDsr(false); // no change
    port.setDsr(true);
    EXPECT_TRUE(port.dsr());
    port.close();
    port.setDsr(false);
    EXPECT_FALSE(port.dsr());
    EXPECT_EQ(changes, QList<bool>({false, true}));
}

TEST(FakeSerialPortTest, LossClosesThePortAndTellsWhy) {
    FakeSerialPort port;
    QStringList messages;
    QObject::connect(&port, &SerialPort::lost, [&](const QString& m) { messages.append(m); });
    ASSERT_TRUE(port.open().ok());
    port.simulateLoss(QStringLiteral("unplugged"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(messages, QStringList({QStringLiteral("unplugged")}));
}
