#include "platform/QtSerialPort.h"
#include "testsupport/LeftLockFile.h"
#include "testsupport/Pty.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace trv;

namespace {

// QSerialPort needs an event loop; the executable's main() comes from gtest, so make the application once.
void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

// Runs the event loop until the predicate holds or the time is up.
bool waitFor(const std::function<bool()>& predicate, int timeoutMs = 5000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!predicate()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Lets the event loop run for a while, for checks that something does not happen.
void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

using test::Pty;

class PtySerialTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        ASSERT_TRUE(m_pty.ok()) << "openpty failed";
        m_port = std::make_unique<QtSerialPort>([this](const QString& name) {
            return name == QLatin1String("TRV7300_COM3") ? m_pty.slaveName() : QString();
        });
        QObject::connect(m_port.get(), &SerialPort::warning, [this](const QString& m) { m_warnings.append(m); });
        QObject::connect(m_port.get(), &SerialPort::lost, [this](const QString& m) { m_lost.append(m); });
        ASSERT_TRUE(m_port->setPortNumber(3).ok());
        ASSERT_TRUE(m_port->setSettings(QStringLiteral("9600,n,8,1")).ok());
        ASSERT_TRUE(m_port->setHandshaking(0).ok());
    }

    Pty m_pty;
    QTemporaryDir m_locks; // the test's own lock folder
    std::unique_ptr<QtSerialPort> m_port;
    QStringList m_warnings;
    QStringList m_lost;
};

} // namespace

TEST_F(PtySerialTest, ReceivesAndSendsThroughTheComNumber) {
    EXPECT_EQ(m_port->deviceName(), m_pty.slaveName());
    const Status opened = m_port->open();
    ASSERT_TRUE(opened.ok()) << opened.message().toStdString();

    QByteArray received;
    QObject::connect(m_port.get(), &SerialPort::received, [&] { received += m_port->readAll(); });
    ASSERT_TRUE(m_pty.write("123"));
    ASSERT_TRUE(waitFor([&] { return received == "123"; }));
    ASSERT_TRUE(m_pty.write("45\r\n"));
    ASSERT_TRUE(waitFor([&] { return received == "12345\r\n"; })) << received.toStdString();

    // Each send is on the line when it returns, before any pause the caller makes.
    ASSERT_TRUE(m_port->send("SSET\r").ok());
    EXPECT_EQ(m_pty.read(5, 2000), QByteArray("SSET\r"));
    ASSERT_TRUE(m_port->send(QByteArray("<K714,1,NOREAD><Z>\0\xE8", 20)).ok());
    EXPECT_EQ(m_pty.read(20), QByteArray("<K714,1,NOREAD><Z>\0\xE8", 20));

    m_port->close();
    EXPECT_FALSE(m_port->isOpen());
    const Status closedSend = m_port->send("x");
    EXPECT_FALSE(closedSend.ok());
}

TEST_F(PtySerialTest, ReceiveNoticeReachesAHandlerWaitingInANestedLoop) {
    ASSERT_TRUE(m_port->open().ok());
    int depth = 0;
    int deepest = 0;
    QByteArray received;
    QObject::connect(m_port.get(), &SerialPort::received, [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        received += m_port->readAll();
        if (depth == 1) {
            // As a message box would: wait in a nested loop while more data comes.
            ASSERT_TRUE(m_pty.write("222\r\n"));
            waitFor([&] { return received.contains("222"); }, 3000);
        }
        --depth;
    });
    ASSERT_TRUE(m_pty.write("111\r\n"));
    ASSERT_TRUE(waitFor([&] { return received == "111\r\n222\r\n"; })) << received.toStdString();
    EXPECT_EQ(deepest, 2);
}

TEST_F(PtySerialTest, MissingDtrAndDsrAreReportedOnceAndTheLineStillWorks) {
    ASSERT_TRUE(m_port->open().ok());
    m_port->setDsrWatch(true);
    EXPECT_TRUE(m_port->setDtr(true).ok());
    EXPECT_TRUE(m_port->setDtr(false).ok());
    EXPECT_FALSE(m_port->dsr());
    spin(3 * QtSerialPort::DsrPollMs);
    m_port->close();
    ASSERT_TRUE(m_port->open().ok());
    EXPECT_TRUE(m_port->setDtr(true).ok());

    ASSERT_EQ(m_warnings.size(), 1);
    EXPECT_TRUE(m_warnings.front().contains(m_pty.slaveName())) << m_warnings.front().toStdString();
    EXPECT_TRUE(m_warnings.front().contains(QLatin1String("DTR")));

    QByteArray received;
    QObject::connect(m_port.get(), &SerialPort::received, [&] { received += m_port->readAll(); });
    ASSERT_TRUE(m_pty.write("12345\r\n"));
    EXPECT_TRUE(waitFor([&] { return received == "12345\r\n"; }));
}

TEST_F(PtySerialTest, VanishedDeviceClosesThePortAndTellsOnce) {
    ASSERT_TRUE(m_port->open().ok());
    m_pty.closeMaster();
    ASSERT_TRUE(waitFor([&] { return !m_lost.isEmpty(); })) << "no report of the lost device";
    spin(100);
    EXPECT_FALSE(m_port->isOpen());
    ASSERT_EQ(m_lost.size(), 1);
    EXPECT_TRUE(m_lost.front().contains(m_pty.slaveName())) << m_lost.front().toStdString();
    // The operator reads in Czech that the reader's connection is gone; the system's text at most follows.
    EXPECT_TRUE(m_lost.front().startsWith(QStringLiteral("Spojení se čtečkou bylo přerušeno, port COM3 (")))
        << m_lost.front().toStdString();
}

// A line that takes no more bytes (nobody reads the other end) keeps the command queued: that is no send,
// whatever the caller does with the port next.
TEST_F(PtySerialTest, ASendThatStaysQueuedIsAFailedSend) {
    ASSERT_TRUE(m_port->open().ok());
    const Status sent = m_port->send(QByteArray(4 * 1024 * 1024, 'x'));
    ASSERT_FALSE(sent.ok());
    EXPECT_TRUE(sent.message().contains(QStringLiteral("se nedokončil"))) << sent.message().toStdString();
    EXPECT_TRUE(sent.message().contains(m_pty.slaveName())) << sent.message().toStdString();
}

TEST_F(PtySerialTest, OpeningABusyPortIsPortAlreadyOpen) {
    ASSERT_TRUE(m_port->open().ok());
    const Status again = m_port->open();
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().number, SerialPort::PortAlreadyOpenError);
    EXPECT_TRUE(m_port->isOpen());

    // Another user of the same device.
    QtSerialPort other([this](const QString&) { return m_pty.slaveName(); });
    const Status busy = other.open();
    ASSERT_FALSE(busy.ok());
    EXPECT_EQ(busy.error().number, SerialPort::PortAlreadyOpenError);
    EXPECT_TRUE(busy.message().contains(m_pty.slaveName())) << busy.message().toStdString();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The lock file of a program that runs (here: this test, as QLockFile writes it) means the port is in use; the
// message says whose lock it is.
TEST_F(PtySerialTest, ALockFileOfAProgramThatRunsIsThePortInUse) {
    m_port->setLockFolder(m_locks.path());
    const QString lock = m_locks.filePath(QStringLiteral("LCK..") + m_pty.slaveName().mid(5).replace(u'/', u'_'));
    const qint64 pid = QCoreApplication::applicationPid();
    ASSERT_NO_FATAL_FAILURE(writeFile(lock, QByteArray::number(pid) + '\n' +
                                                QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() +
                                                '\n' + QSysInfo::machineHostName().toUtf8() + '\n'));

    const Status opened = m_port->open();
    ASSERT_FALSE(opened.ok());
    EXPECT_FALSE(m_port->isOpen());
    EXPECT_EQ(opened.error().number, SerialPort::PortAlreadyOpenError);
    const QString& text = opened.message();
    EXPECT_TRUE(text.contains(QStringLiteral("soubor zámku %1 patří programu").arg(lock))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("(číslo procesu %1), který stále běží").arg(pid))) << text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(lock));
}

// A lock file whose program has ended, left where this user cannot remove it, keeps the port closed though
// nothing uses it: the message names the file and says that its program no longer runs, and it is no "port
// already open". Once the file can go, the port opens and the file is gone.
TEST_F(PtySerialTest, ALockFileLeftByAProgramThatEndedIsNamedUntilItCanBeRemoved) {
    m_port->setLockFolder(m_locks.path());
    test::LeftLockFile lock(m_locks.path(), m_pty.slaveName());
    ASSERT_TRUE(lock.ok());

    const Status opened = m_port->open();
    ASSERT_FALSE(opened.ok());
    EXPECT_FALSE(m_port->isOpen());
    EXPECT_NE(opened.error().number, SerialPort::PortAlreadyOpenError);
    const QString& text = opened.message();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Sériový port COM3 (%1) nelze otevřít: soubor zámku %2 (vlastník ")
                                    .arg(m_pty.slaveName(), lock.path())))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("zůstal po programu s číslem procesu %1, který už neběží").arg(lock.pid())))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("Soubor zámku je třeba smazat."))) << text.toStdString();

    lock.release();
    const Status again = m_port->open();
    ASSERT_TRUE(again.ok()) << again.message().toStdString();
    EXPECT_FALSE(QFileInfo::exists(lock.path()));
}

// What the system alone says of a device that is no serial port is told in Czech, with its words after it.
TEST(QtSerialPortTest, AFailureTheSystemNamesIsToldInCzechWithTheSystemsWords) {
    ensureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plain.txt"));
    ASSERT_NO_FATAL_FAILURE(writeFile(file, "not a port"));
    struct Case {
        QString device;
        int errnoValue;
        QString czech;
    };
    const Case cases[] = {
        {dir.path(), EISDIR, QStringLiteral("jde o složku, ne o sériové zařízení")},
        {file, ENOTTY, QStringLiteral("nejde o sériové zařízení")},
        {dir.filePath(QStringLiteral("ttyNone")), ENOENT, QStringLiteral("zařízení neexistuje")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        QtSerialPort port([&](const QString&) { return c.device; });
        const Status opened = port.open();
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.message().toStdString(), QStringLiteral("Sériový port COM1 (%1) nelze otevřít: %2 (%3).")
                                                      .arg(c.device, c.czech, qt_error_string(c.errnoValue))
                                                      .toStdString());
    }
}

TEST(QtSerialPortTest, MissingDeviceFailsNamingItAndTheReason) {
    ensureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("ttyNone"));
    QtSerialPort port([&](const QString&) { return device; });
    const Status opened = port.open();
    ASSERT_FALSE(opened.ok());
    EXPECT_NE(opened.error().number, SerialPort::PortAlreadyOpenError);
    EXPECT_TRUE(opened.message().contains(device)) << opened.message().toStdString();
    EXPECT_TRUE(opened.message().contains(QLatin1String("COM1")));
    EXPECT_FALSE(port.isOpen());
}
