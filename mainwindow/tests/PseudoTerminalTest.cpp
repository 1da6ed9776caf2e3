// The reader logic end to end over a real serial line: a pseudo-terminal whose slave side the program opens
// as COM2 (through TRV7300_COM2 of an environment given to the port), while the test plays the reader on
// the master side.

#include "ReaderRig.h"

#include "mainwindow/Pause.h"
#include "platform/QtSerialPort.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace trv::test {
namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "mainwindow_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return app ? *app : *QCoreApplication::instance();
}

QStringList& warnings() {
    static QStringList list;
    return list;
}

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg)
        warnings().append(message);
}

class PseudoTerminalTest : public ::testing::Test {
protected:
    void SetUp() override {
        application();
        char name[256] = {};
        ASSERT_EQ(openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_device = QString::fromLocal8Bit(name);
    }
    void TearDown() override {
        ::close(m_master);
        ::close(m_slave);
    }

    // Bytes the program wrote to the line, waiting up to two seconds for `expected` to arrive whole.
    QByteArray readMaster(const QByteArray& expected) {
        QByteArray got;
        QDeadlineTimer deadline(2000);
        while (!got.contains(expected) && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 10) > 0) {
                char buf[512];
                const ssize_t n = ::read(m_master, buf, sizeof buf);
                if (n > 0)
                    got.append(buf, n);
            }
        }
        return got;
    }

    void writeMaster(const QByteArray& bytes) {
        ASSERT_EQ(::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
    }

    template <typename Predicate> bool waitFor(Predicate done) {
        QDeadlineTimer deadline(3000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_device;
};

// The reader's command path over the pseudo-terminal, whichever port the settings name.
struct CommandRig {
    explicit CommandRig(const QString& device) : port([device](const QString&) { return device; }) {}

    ReaderRig rig;
    QtSerialPort port;
    EventLoopPause pause;
    ReaderStop stop{rig.state, port, pause, rig.errorLog};
    PortSetup portSetup{rig.state, port, rig.receipt, rig.prompts};
    ReaderCommands commands{rig.state, rig.reader, port, portSetup, pause, stop, rig.counters, rig.prompts};
};

TEST_F(PseudoTerminalTest, CodesWrittenByTheReaderAreBookedAndTheReaderIsSwitched) {
    ReaderRig rig;
    const QString device = m_device;
    QtSerialPort port(
        [device](const QString& name) { return name == QLatin1String("TRV7300_COM2") ? device : QString(); });
    EventLoopPause pause;
    ReaderStop stop(rig.state, port, pause, rig.errorLog);
    PortSetup portSetup(rig.state, port, rig.receipt, rig.prompts);
    CodeProcessor processor(rig.state, rig.reader, rig.buffer, stop, rig.prompts, rig.counters, rig.package,
                            rig.window());
    ReceiveLoop loop(rig.state, port, rig.buffer, processor, rig.display, rig.counters, stop, portSetup, rig.prompts);
    ReaderCommands commands(rig.state, rig.reader, port, portSetup, pause, stop, rig.counters, rig.prompts);
    rig.state.gDTRSleep = 20;
    rig.state.sw.gFChybyDoOkna = true;
    warnings().clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);

    ASSERT_TRUE(NactiNastaveniPortu(rig.state));
    ASSERT_TRUE(portSetup.NastavPrijem(true)) << portSetup.lastError()->message.toStdString();
    EXPECT_EQ(port.deviceName(), m_device);
    EXPECT_TRUE(rig.receipt.receiving());

    ASSERT_TRUE(commands.PrepniSkener(true));
    EXPECT_EQ(readMaster("<Kv0,,,>"), QByteArray("<Kv0,,,>"));

    // A code, a code cut in two, a wrong code (the DTR pulse cannot be given on this line: reading goes on).
    writeMaster(alfa(100).toLatin1() + "\r\n12345");
    ASSERT_TRUE(waitFor([&] { return rig.booked().size() == 1; }));
    writeMaster("20000\r\n1A\r\n" + alfa(300).toLatin1() + "\r\n");
    ASSERT_TRUE(waitFor([&] { return rig.booked().size() == 3; }));
    EXPECT_EQ(rig.booked(), (QStringList{alfa(100), alfa(200), alfa(300)}));
    EXPECT_EQ(rig.errorLog.lines, QStringList{QStringLiteral("1A Nepovolene znaky:")});
    EXPECT_EQ(rig.display.text(), alfa(100) + QStringLiteral("\r\n") + alfa(200) + QStringLiteral("\r\n1A\r\n") +
                                      alfa(300) + QStringLiteral("\r\n"));

    // Two more rejections: the missing DTR line is reported once, in the log.
    writeMaster("1B\r\n1C\r\n");
    ASSERT_TRUE(waitFor([&] { return rig.errorLog.lines.size() == 3; }));
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings().filter(QStringLiteral("DTR")).size(), 1) << warnings().join(u'\n').toStdString();

    ASSERT_TRUE(commands.PrepniSkener(false));
    EXPECT_EQ(readMaster("<Kv2,,,>"), QByteArray("<Kv2,,,>"));

    EXPECT_TRUE(portSetup.NastavPrijem(false));
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(rig.messages().isEmpty());
}

TEST_F(PseudoTerminalTest, LineDialectCommandsArriveWithTheirPause) {
    CommandRig line(m_device);
    auto& [rig, port, pause, stop, portSetup, commands] = line;
    ASSERT_TRUE(ProfileFile::write(rig.root / "TRV7300.ini", QStringLiteral("Comm"), QStringLiteral("TypScaneru"),
                                   QStringLiteral("3"))
                    .ok());

    // With the port closed, the command opens it for itself and closes it again.
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(commands.PrepniSkener(true)) << commands.lastError()->message.toStdString();
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(readMaster("SEND\r\n"), QByteArray("SSET\rWO2000004\rSAVE\rSEND\r\n"));
    EXPECT_FALSE(rig.receipt.receiving());
}

TEST_F(PseudoTerminalTest, TheReaderIsSwitchedOffAfterTheReceiptClosedThePort) {
    CommandRig line(m_device);
    auto& [rig, port, pause, stop, portSetup, commands] = line;
    QList<bool> switched;
    QObject::connect(&commands, &ReaderCommands::scannerSwitched, [&](bool on) { switched.append(on); });

    ASSERT_TRUE(NactiNastaveniPortu(rig.state));
    ASSERT_TRUE(portSetup.NastavPrijem(true));
    ASSERT_TRUE(commands.PrepniSkener(true));
    EXPECT_TRUE(portSetup.NastavPrijem(false));
    EXPECT_TRUE(commands.PrepniSkener(false)) << commands.lastError()->message.toStdString();
    EXPECT_EQ(switched, (QList<bool>{true, false}));
}

} // namespace
} // namespace trv::test
