#pragma once

#include "platform/TextFiles.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace trv::test {

// A test over a temporary folder of its own, with files written and read back byte for byte.
class TempFolderTest : public ::testing::Test {
protected:
    std::filesystem::path path(const QString& name) const { return TextFiles::toPath(m_dir.filePath(name)); }
    std::filesystem::path path(const char* name) const { return path(QString::fromUtf8(name)); }

    std::filesystem::path writeBytes(const char* name, const QByteArray& bytes) const {
        const std::filesystem::path p = path(name);
        QFile f(TextFiles::toQString(p));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return p;
    }

    static QByteArray bytesOf(const std::filesystem::path& p) {
        QFile f(TextFiles::toQString(p));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << p;
        return f.readAll();
    }

    QTemporaryDir m_dir;
};

#ifdef Q_OS_UNIX
// Tests run as root, so permissions cannot make a write fail; a file-size limit can, at any size. While this
// lives, a file of this process cannot grow past `bytes` and the write that tries fails instead of killing it.
class SmallFileSizeLimit final {
public:
    explicit SmallFileSizeLimit(rlim_t bytes = 1024) {
        m_set = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_old;
        small.rlim_cur = bytes;
        m_set = m_set && setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~SmallFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    SmallFileSizeLimit(const SmallFileSizeLimit&) = delete;
    SmallFileSizeLimit& operator=(const SmallFileSizeLimit&) = delete;

    bool set() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};
#endif

} // namespace trv::test
