#include "platform/QtSerialPort.h"

#include "platform/SystemErrors.h"

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>

#include <optional>

#ifndef Q_OS_WIN
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace trv {

namespace {

// How long send() waits for the system to take the bytes. Normally it takes them at once; only a line held by
// flow control makes it wait, and then the rest goes out from the event loop.
constexpr int SendWaitMs = 1000;

// A vanished device may report failed reads without naming the cause; this many in a row with no data between
// them means it is gone.
constexpr int MaxReadErrors = 10;

QSerialPort::Parity qtParity(Parity parity) {
    switch (parity) {
    case Parity::None:
        return QSerialPort::NoParity;
    case Parity::Even:
        return QSerialPort::EvenParity;
    case Parity::Odd:
        return QSerialPort::OddParity;
    case Parity::Mark:
        return QSerialPort::MarkParity;
    case Parity::Space:
        return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(StopBits stopBits) {
    switch (stopBits) {
    case StopBits::One:
        return QSerialPort::OneStop;
    case StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case StopBits::Two:
        return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

QSerialPort::FlowControl qtFlowControl(Handshake handshake) {
    switch (handshake) {
    case Handshake::None:
        return QSerialPort::NoFlowControl;
    case Handshake::XOnXOff:
        return QSerialPort::SoftwareControl;
    case Handshake::RtsCts:
        return QSerialPort::HardwareControl;
    // Qt has no mode with both; the RTS/CTS half is the one that holds the line in the hardware, and XON/XOFF
    // bytes then pass as data, which the reader's codes never contain.
    case Handshake::RtsXOnXOff:
        return QSerialPort::HardwareControl;
    }
    return QSerialPort::NoFlowControl;
}

#ifndef Q_OS_WIN
QString devicePath(const QString& portName) {
    return portName.startsWith(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
}

// The name of a device's lock file as QSerialPort makes it: the device's name below /dev (its whole path
// elsewhere) with "/" written as "_".
QString lockFileName(const QString& portName) {
    QString name = portName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

// The lock folder QSerialPort takes for a device: the first of its folders that can be read and either holds
// the device's lock file or can take it. Empty when none can.
QString systemLockFolder(const QString& fileName) {
    static const char* const folders[] = {"/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
                                          "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};
    for (const char* folder : folders) {
        const QFileInfo info(QString::fromLatin1(folder));
        if (info.isReadable() && (QFileInfo::exists(QDir(info.filePath()).filePath(fileName)) || info.isWritable()))
            return info.filePath();
    }
    return {};
}

struct LockOwner {
    qint64 pid = 0;
    QString program; // empty where the lock file does not name it
};

// The process a lock file names: Qt's lock files hold its number, its program and the host on lines of their
// own; other programs write the number alone, padded with blanks.
std::optional<LockOwner> lockOwner(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0 || pid > INT_MAX)
        return std::nullopt;
    return LockOwner{pid, QString::fromUtf8(lines.value(1).trimmed())};
}

// A process of another user runs too: the system only refuses to signal it.
bool processRuns(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Why a lock file whose program has ended could not be removed.
QString whyLockStays(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return SystemErrors::describe(errno);
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    if (held)
        return QStringLiteral("soubor má otevřený a zamčený jiný proces");
    // Writable but not removable: a shared lock folder lets only a file's owner remove it.
    return SystemErrors::describe(EPERM);
}
#endif

} // namespace

QtSerialPort::QtSerialPort(EnvironmentLookup environment, QObject* parent)
    : SerialPort(std::move(environment), parent) {
    m_dsrTimer.setInterval(DsrPollMs);
    connect(&m_dsrTimer, &QTimer::timeout, this, &QtSerialPort::pollDsr);
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() = default;

Status QtSerialPort::open() {
    if (m_port.isOpen())
        return Status::fail(QStringLiteral("Sériový port %1 je již otevřen.").arg(portDescription()),
                            PortAlreadyOpenError);

    m_port.setPortName(deviceName());
    applyConfiguration();
    if (Status unlocked = checkLockFile(); !unlocked)
        return unlocked;
    m_port.clearError();
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString reason = SystemErrors::describe(m_port.error(), m_port.errorString());
        if (m_port.error() == QSerialPort::PermissionError) {
            // The system says "busy" and "no permission" with the same error; a device we may use is busy.
#ifdef Q_OS_WIN
            const bool busy = true;
#else
            const QFileInfo device(devicePath(m_port.portName()));
            const bool busy = device.isReadable() && device.isWritable();
#endif
            if (busy)
                return Status::fail(
                    QStringLiteral("Sériový port %1 je již používán: %2.").arg(portDescription(), reason),
                    PortAlreadyOpenError);
        }
        return Status::fail(QStringLiteral("Sériový port %1 nelze otevřít: %2.").arg(portDescription(), reason));
    }

    m_linesUnsupported = false;
    m_losing = false;
    m_readErrors = 0;
    watchNestedLoops();
    // The system raises DTR when it opens a line; the reader expects the state the program set.
    applyDtr();
    m_dsr = m_linesUnsupported ? false : readDsr();
    if (dsrWatch() && !m_linesUnsupported)
        m_dsrTimer.start();
    return {};
}

Status QtSerialPort::checkLockFile() const {
#ifdef Q_OS_WIN
    return {};
#else
    const QString name = lockFileName(m_port.portName());
    const QString folder = m_lockFolder.isEmpty() ? systemLockFolder(name) : m_lockFolder;
    if (folder.isEmpty())
        return {};
    const QString path = QDir(folder).filePath(name);
    if (!QFileInfo::exists(path))
        return {};
    {
        // QSerialPort's own rule: a lock file whose program has ended is removed where that is allowed. The lock
        // is let go at once; the port takes its own when it opens.
        QLockFile lock(path);
        if (lock.tryLock(0)) {
            lock.unlock();
            return {};
        }
    }

    const QString file = QDir::toNativeSeparators(path);
    const std::optional<LockOwner> owner = lockOwner(path);
    if (!owner)
        return Status::fail(
            QStringLiteral("Sériový port %1 nelze otevřít: brání tomu soubor zámku %2, ze kterého nelze "
                           "přečíst číslo procesu, který ho vytvořil.")
                .arg(portDescription(), file));
    const QString program = owner->program.isEmpty()
                                ? QStringLiteral("programu s číslem procesu %1").arg(owner->pid)
                                : QStringLiteral("programu %1 (číslo procesu %2)").arg(owner->program).arg(owner->pid);
    if (processRuns(owner->pid))
        return Status::fail(QStringLiteral("Sériový port %1 je již používán: soubor zámku %2 patří %3, který stále "
                                           "běží.")
                                .arg(portDescription(), file, program),
                            PortAlreadyOpenError);
    const QString fileOwner = QFileInfo(path).owner();
    return Status::fail(
        QStringLiteral("Sériový port %1 nelze otevřít: soubor zámku %2%3 zůstal po %4, který už neběží, "
                       "a nelze ho odstranit: %5. Soubor zámku je třeba smazat.")
            .arg(portDescription(), file,
                 fileOwner.isEmpty() ? QString() : QStringLiteral(" (vlastník %1)").arg(fileOwner), program,
                 whyLockStays(path)));
#endif
}

void QtSerialPort::close() {
    m_dsrTimer.stop();
    m_losing = false;
    m_dsr = false;
    if (m_port.isOpen())
        m_port.close();
}

Status QtSerialPort::setDtr(bool on) {
    storeDtr(on);
    if (!m_port.isOpen() || m_linesUnsupported)
        return {};
    if (applyDtr())
        return {};
    return Status::fail(QStringLiteral("Signál DTR sériového portu %1 nelze nastavit: %2.")
                            .arg(portDescription(), SystemErrors::describe(m_port.error(), m_port.errorString())));
}

bool QtSerialPort::dsr() const {
    if (!m_port.isOpen() || m_linesUnsupported)
        return false;
    if (m_dsrTimer.isActive())
        return m_dsr;
    return m_port.pinoutSignals().testFlag(QSerialPort::DataSetReadySignal);
}

Status QtSerialPort::send(const QByteArray& bytes) {
    if (!m_port.isOpen())
        return Status::fail(
            QStringLiteral("Na sériový port %1 nelze odesílat: port není otevřen.").arg(portDescription()));
    m_port.clearError();
    const auto failed = [this] {
        return Status::fail(QStringLiteral("Zápis na sériový port %1 selhal: %2.")
                                .arg(portDescription(), SystemErrors::describe(m_port.error(), m_port.errorString())));
    };
    if (m_port.write(bytes) != bytes.size())
        return failed();

    // QSerialPort writes from the event loop; the reader's commands are separated by pauses that block the
    // thread, so each command must be on the line before the pause starts.
    const QDeadlineTimer deadline(SendWaitMs);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    const QSerialPort::SerialPortError error = m_port.error();
    if (error == QSerialPort::WriteError || error == QSerialPort::ResourceError || !m_port.isOpen())
        return failed();
    // Bytes still queued are not on the line (flow control holds it, or the device stopped taking them): a
    // caller that closes the port now would drop them, so the command did not go out.
    if (m_port.bytesToWrite() > 0)
        return Status::fail(
            QStringLiteral("Zápis na sériový port %1 se nedokončil: zařízení nepřevzalo %2 z %3 bajtů do %4 ms.")
                .arg(portDescription())
                .arg(m_port.bytesToWrite())
                .arg(bytes.size())
                .arg(SendWaitMs));
    return {};
}

void QtSerialPort::dsrWatchChanged() {
    if (!dsrWatch() || !m_port.isOpen() || m_linesUnsupported) {
        m_dsrTimer.stop();
        return;
    }
    m_dsr = readDsr();
    if (!m_linesUnsupported)
        m_dsrTimer.start();
}

void QtSerialPort::applyConfiguration() {
    const SerialLineSettings& line = lineSettings();
    m_port.setBaudRate(line.baudRate);
    m_port.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits));
    m_port.setParity(qtParity(line.parity));
    m_port.setStopBits(qtStopBits(line.stopBits));
    m_port.setFlowControl(qtFlowControl(handshaking()));
}

bool QtSerialPort::applyDtr() {
    m_port.clearError();
    if (m_port.setDataTerminalReady(dtr()))
        return true;
    if (m_port.error() == QSerialPort::UnsupportedOperationError) {
        m_port.clearError();
        reportLinesUnsupported();
        return true;
    }
    return false;
}

bool QtSerialPort::readDsr() {
    m_port.clearError();
    const QSerialPort::PinoutSignals pins = m_port.pinoutSignals();
    if (m_port.error() == QSerialPort::UnsupportedOperationError) {
        m_port.clearError();
        reportLinesUnsupported();
        return false;
    }
    return pins.testFlag(QSerialPort::DataSetReadySignal);
}

void QtSerialPort::pollDsr() {
    if (!m_port.isOpen() || m_linesUnsupported) {
        m_dsrTimer.stop();
        return;
    }
    const bool now = readDsr();
    if (m_linesUnsupported || now == m_dsr)
        return;
    m_dsr = now;
    emit dsrChanged(now);
}

void QtSerialPort::onReadyRead() {
    m_readErrors = 0;
    announce();
}

void QtSerialPort::announce() {
    if (!m_port.isOpen() || m_port.bytesAvailable() <= 0)
        return;
    ++m_announcing;
    const auto done = qScopeGuard([this] { --m_announcing; });
    emit received();
}

void QtSerialPort::watchNestedLoops() {
    if (m_loopWatched)
        return;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread());
    if (!dispatcher)
        return;
    m_loopWatched = true;
    // QSerialPort does not signal new data while a handler of its signal is still running, and the receive
    // handler may wait in a modal dialog. Each turn of a loop nested in the handler (the dialog's) looks for
    // data that came meanwhile and announces it there, nested, as the port would have.
    connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] {
        if (m_announcing > 0)
            announce();
    });
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (!m_port.isOpen())
        return;
    if (error == QSerialPort::ResourceError) {
        loseDevice(SystemErrors::describe(error, m_port.errorString()));
        return;
    }
    if (error != QSerialPort::ReadError)
        return;
        // A failed read that names no cause carries a stale system message; say what is known instead.
#ifndef Q_OS_WIN
    if (!QFileInfo::exists(devicePath(m_port.portName()))) {
        loseDevice(QStringLiteral("zařízení bylo odpojeno"));
        return;
    }
#endif
    if (++m_readErrors >= MaxReadErrors)
        loseDevice(QStringLiteral("čtení opakovaně selhává"));
}

void QtSerialPort::loseDevice(const QString& reason) {
    if (m_losing)
        return;
    m_losing = true;
    const QString message = QStringLiteral("Spojení se čtečkou bylo přerušeno, port %1 byl zavřen.\nPříčina: %2.")
                                .arg(portDescription(), reason);
    // This runs inside QSerialPort's own read notification; closing there would delete the notifier under it.
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (!m_losing)
                return; // closed by the program meanwhile
            close();
            emit lost(message);
        },
        Qt::QueuedConnection);
}

void QtSerialPort::reportLinesUnsupported() {
    m_linesUnsupported = true;
    m_dsrTimer.stop();
    const QString device = m_port.portName();
    if (m_linesWarnedFor == device)
        return;
    m_linesWarnedFor = device;
    emit warning(QStringLiteral("Sériový port %1 neovládá signály DTR a DSR (například pseudoterminál): čtečku nelze "
                                "zastavit signálem DTR a změny DSR se nehlásí. Port pracuje dál.")
                     .arg(portDescription()));
}

} // namespace trv
