#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace trv::test {

// A serial device's lock file as a program that has ended leaves it where this user cannot remove it: it names
// a process that no longer runs, written as programs other than Qt's write it (the number alone, padded), and it
// is held locked until release(), which keeps it from being removed as another user's file would be.
class LeftLockFile {
public:
    // The lock file of `device` ("/dev/pts/3") in `folder`, named as QSerialPort names it: "LCK..pts_3".
    LeftLockFile(const QString& folder, const QString& device) {
        QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
        m_path = QDir(folder).filePath(QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_')));
        const pid_t ended = ::fork();
        if (ended < 0)
            return;
        if (ended == 0)
            ::_exit(0);
        if (::waitpid(ended, nullptr, 0) != ended)
            return;
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(QByteArray::number(ended).rightJustified(10, ' ') + '\n') < 0)
            return;
        file.close();
        m_holder = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
        if (m_holder >= 0 && ::flock(m_holder, LOCK_EX | LOCK_NB) == 0)
            m_pid = ended;
    }
    ~LeftLockFile() { release(); }
    LeftLockFile(const LeftLockFile&) = delete;
    LeftLockFile& operator=(const LeftLockFile&) = delete;

    bool ok() const { return m_pid > 0; }
    const QString& path() const { return m_path; }
    // The process the file names, which has ended.
    qint64 pid() const { return m_pid; }

    // The file stays, but may now be removed.
    void release() {
        if (m_holder >= 0)
            ::close(m_holder);
        m_holder = -1;
    }

private:
    QString m_path;
    qint64 m_pid = 0;
    int m_holder = -1;
};

} // namespace trv::test
