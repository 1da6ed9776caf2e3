#include "platform/TextFiles.h"

#include "platform/FolderListing.h"
#include "platform/Progress.h"
#include "platform/SystemErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <system_error>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace trv::TextFiles {

namespace fs = std::filesystem;

namespace {

QString reasonOf(const std::error_code& ec) {
    return SystemErrors::describe(ec);
}

Status fileError(const QString& operation, const fs::path& file, const QString& reason) {
    return Status::fail(QStringLiteral("%1 %2: %3").arg(operation, toQString(file), reason));
}

const QString kCannotRead = QStringLiteral("Nelze číst soubor");
const QString kCannotSave = QStringLiteral("Nelze uložit soubor");

QString alreadyExists() {
    return QStringLiteral("soubor již existuje");
}

QString notFound() {
    return QStringLiteral("soubor neexistuje");
}

QString sourceNotFound() {
    return QStringLiteral("zdrojový soubor neexistuje");
}

QString isFolder() {
    return QStringLiteral("je to složka, ne soubor");
}

// Whether Qt's file classes, which take a name as text, open this very path. A name whose bytes are not valid in
// the system's encoding (written by another machine) decodes lossily and would open another file: such a path is
// opened by its own bytes instead.
bool qtOpens(const fs::path& file) {
#ifdef Q_OS_WIN
    Q_UNUSED(file);
    return true;
#else
    return toPath(toQString(file)) == file;
#endif
}

// Opens the file by its own bytes, whatever its name holds. Gives the reason of a failure.
std::optional<QString> openFile(QFile& f, const fs::path& file, QIODevice::OpenMode mode) {
#ifndef Q_OS_WIN
    if (!qtOpens(file)) {
        int flags = O_CLOEXEC;
        if (mode & QIODevice::WriteOnly)
            flags |= O_WRONLY | O_CREAT | ((mode & QIODevice::Append) ? O_APPEND : O_TRUNC);
        else
            flags |= O_RDONLY;
        const int fd = ::open(file.c_str(), flags, 0666);
        if (fd < 0)
            return SystemErrors::describe(errno);
        if (!f.open(fd, mode, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return f.errorString();
        }
        return std::nullopt;
    }
#endif
    f.setFileName(toQString(file));
    errno = 0;
    if (!f.open(mode))
        return SystemErrors::describe(f, errno);
    return std::nullopt;
}

// The reason of a failed write. A write cut short (disk full, file too large) leaves no error on the
// device, so the system's errno is what tells why.
QString writeFailure(const QFileDevice& f, int savedErrno) {
    return SystemErrors::describe(f, savedErrno);
}

// Hands a file's bytes to `put` piece by piece; stops and gives false as soon as `put` gives false.
using Producer = std::function<bool(const ByteSink& put)>;

// Has the system write a file's bytes to the disk while the next ones are still made: the sync that ends a save
// then finds little left to write, rather than all of a file of hundreds of megabytes, through which the program
// would not answer. At most two steps of bytes wait unwritten at a time. A hint only: where the system cannot take
// it, the sync at the end writes them all as before.
class WriteBehind {
public:
    explicit WriteBehind(int fd) : m_fd(fd) {}
    void written(qint64 bytes) {
#ifdef Q_OS_LINUX
        m_written += bytes;
        if (m_fd < 0 || m_written - m_asked < kStep)
            return;
        // This step's bytes started on their way; the step before it waited for, its pages clean before more come.
        ::sync_file_range(m_fd, m_asked, m_written - m_asked, SYNC_FILE_RANGE_WRITE);
        if (m_asked > m_waited)
            ::sync_file_range(m_fd, m_waited, m_asked - m_waited,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
        m_waited = m_asked;
        m_asked = m_written;
#else
        Q_UNUSED(bytes);
#endif
    }

private:
    static constexpr qint64 kStep = qint64(2) << 20;
    int m_fd;
    qint64 m_written = 0; // bytes written so far
    qint64 m_asked = 0;   // the bytes before this are on their way to the disk
    qint64 m_waited = 0;  // the bytes before this are on the disk
};

// Writes every piece of the producer to the open file; the reason of the first failed write, or of a producer that
// gave up before its end (the file is then incomplete and must not replace the old one).
std::optional<QString> writePieces(QFileDevice& f, const Producer& produce) {
    std::optional<QString> failure;
    WriteBehind behind(f.handle());
    const bool whole = produce([&](QByteArrayView piece) {
        errno = 0;
        if (f.write(piece.data(), piece.size()) != piece.size()) {
            failure = writeFailure(f, errno);
            return false;
        }
        behind.written(piece.size());
        return true;
    });
    if (!whole && !failure)
        failure = QStringLiteral("text souboru nebyl vytvořen");
    return failure;
}

// replaceFile for a path that Qt cannot open by its text (a name in bytes not valid in the system's encoding):
// the same steps by the path's own bytes, a temporary file beside the target renamed over it when complete.
std::optional<QString> replaceByOwnBytes(const fs::path& file, const Producer& produce) {
    fs::path staged = file;
    staged += ".~trv" + std::to_string(QCoreApplication::applicationPid()) + ".tmp";
    std::error_code ec;
    {
        QFile f;
        if (const auto reason = openFile(f, staged, QIODevice::WriteOnly | QIODevice::Unbuffered))
            return reason;
        if (const auto reason = writePieces(f, produce)) {
            f.close();
            fs::remove(staged, ec);
            return reason;
        }
#ifndef Q_OS_WIN
        if (::fsync(f.handle()) != 0) {
            const QString reason = QString::fromLocal8Bit(std::strerror(errno));
            f.close();
            fs::remove(staged, ec);
            return reason;
        }
#endif
    }
    fs::rename(staged, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(staged, ignored);
        return reasonOf(ec);
    }
    return std::nullopt;
}

// Writes to a temporary file beside the target, renamed over it only when complete, so that a failure
// at any point leaves the old file as it was. Gives the reason of a failure.
std::optional<QString> replaceFile(const fs::path& file, const Producer& produce) {
    std::error_code ec;
    if (fs::is_directory(file, ec))
        return isFolder();
    if (!qtOpens(file))
        return replaceByOwnBytes(file, produce);
    QSaveFile f(toQString(file));
    f.setDirectWriteFallback(false);
    // Unbuffered: a buffered write cut short is only half noticed at commit, which then renames a
    // truncated file over the old one and reports success.
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailure(f, errno);
    if (const auto reason = writePieces(f, produce)) {
        f.cancelWriting();
        return reason;
    }
    errno = 0;
    if (!f.commit())
        return writeFailure(f, errno);
    return std::nullopt;
}

std::optional<QString> replaceFile(const fs::path& file, const QByteArray& bytes) {
    return replaceFile(file, [&bytes](const auto& put) { return put(QByteArrayView(bytes)); });
}

} // namespace

QString toQString(const fs::path& p) {
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QString::fromStdWString(p.native()));
#else
    return QFile::decodeName(QByteArray::fromStdString(p.native()));
#endif
}

fs::path toPath(const QString& s) {
#ifdef Q_OS_WIN
    return fs::path(s.toStdWString());
#else
    return fs::path(QFile::encodeName(s).toStdString());
#endif
}

bool exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

Status createFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return fileError(QStringLiteral("Nelze vytvořit složku"), folder, reasonOf(ec));
    return Status::success();
}

namespace {

// Opens a file to read it; only files are read.
Status openToRead(QFile& f, const fs::path& file) {
    std::error_code ec;
    const fs::file_status st = fs::status(file, ec);
    if (fs::is_directory(st))
        return fileError(kCannotRead, file, isFolder());
    // Opening a FIFO waits for a writer that never comes, and a device never ends: only files are read.
    if (fs::exists(st) && !fs::is_regular_file(st))
        return fileError(kCannotRead, file, QStringLiteral("není to obyčejný soubor"));
    if (const auto reason = openFile(f, file, QIODevice::ReadOnly))
        return fileError(kCannotRead, file, *reason);
    return Status::success();
}

} // namespace

Result<QByteArray> readBytes(const fs::path& file, Progress* progress) {
    if (progress == nullptr) {
        QFile f;
        if (const Status opened = openToRead(f, file); !opened.ok())
            return opened.error();
        errno = 0;
        QByteArray bytes = f.readAll();
        if (f.error() != QFileDevice::NoError)
            return fileError(kCannotRead, file, SystemErrors::describe(f, errno)).error();
        return bytes;
    }
    // A piece is read in a few milliseconds: the operator's cancel is heard before the next one.
    std::error_code ec;
    const qint64 size = qint64(fs::file_size(file, ec));
    QByteArray bytes;
    if (!ec)
        bytes.reserve(qsizetype(size));
    bool cancelled = false;
    const Status read = readPieces(file, qsizetype(1) << 20, [&](QByteArrayView piece) {
        bytes.append(piece);
        const qint64 done = bytes.size();
        cancelled = !progress->step(done, std::max(done, ec ? done : size));
        return !cancelled;
    });
    if (!read.ok())
        return read.error();
    if (cancelled)
        return Error{0, Progress::cancelledText()};
    return bytes;
}

Status readPieces(const fs::path& file, qsizetype pieceSize, const std::function<bool(QByteArrayView)>& piece) {
    QFile f;
    if (const Status opened = openToRead(f, file); !opened.ok())
        return opened;
    QByteArray buffer(pieceSize, Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 got = f.read(buffer.data(), pieceSize);
        if (got < 0)
            return fileError(kCannotRead, file, SystemErrors::describe(f, errno));
        if (got == 0 || !piece(QByteArrayView(buffer.constData(), got)))
            return Status::success();
    }
}

Status writeBytes(const fs::path& file, const QByteArray& bytes) {
    if (const auto reason = replaceFile(file, bytes))
        return fileError(kCannotSave, file, *reason);
    return Status::success();
}

Status writeBytes(const fs::path& file, const std::function<bool(const ByteSink&)>& produce) {
    if (const auto reason = replaceFile(file, produce))
        return fileError(kCannotSave, file, *reason);
    return Status::success();
}

Result<DecodedText> readAll(const fs::path& file) {
    auto bytes = readBytes(file);
    if (!bytes.ok())
        return bytes.error();
    return decodeText(bytes.value());
}

Result<QStringList> readLines(const fs::path& file) {
    auto decoded = readAll(file);
    if (!decoded.ok())
        return decoded.error();
    const QString& text = decoded.value().text;
    QStringList lines;
    forEachLine(QStringView(text), [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}

Status writeAll(const fs::path& file, const QString& text, TextEncoding enc) {
    return writeBytes(file, encodeText(text, enc));
}

Status writeLines(const fs::path& file, const QStringList& lines, TextEncoding enc) {
    return writeLines(
        file,
        [&](const LineSink& line) {
            for (const QString& l : lines)
                line(l);
            return true;
        },
        enc);
}

Status writeLines(const fs::path& file, const std::function<bool(const LineSink&)>& produceLines, TextEncoding enc) {
    // Encoded a piece at a time as it is written: a save of tens of thousands of lines never holds the whole
    // text, only a buffer of its bytes.
    constexpr qsizetype kPiece = 1 << 16;
    const auto produce = [&](const std::function<bool(QByteArrayView)>& put) {
        TextEncoder encoder(enc);
        QByteArray buffer;
        buffer.reserve(kPiece + 1024);
        static const QString lineEnd = QStringLiteral("\r\n");
        // UTF-16's byte-order mark is there even when there are no lines.
        encoder.append(buffer, QStringView());
        bool written = true; // once a piece fails, the rest of the lines are not encoded
        const bool made = produceLines([&](QStringView line) {
            if (!written)
                return;
            encoder.append(buffer, line);
            encoder.append(buffer, lineEnd);
            if (buffer.size() >= kPiece) {
                written = put(buffer);
                buffer.resize(0);
            }
        });
        if (!made || !written)
            return false;
        encoder.finish(buffer);
        return buffer.isEmpty() || put(buffer);
    };
    if (const auto reason = replaceFile(file, produce))
        return fileError(kCannotSave, file, *reason);
    return Status::success();
}

Status appendLine(const fs::path& file, const QString& line, TextEncoding enc) {
    const QString operation = QStringLiteral("Nelze připsat řádek do souboru");
    std::error_code ec;
    if (fs::is_directory(file, ec))
        return fileError(operation, file, isFolder());
    const bool existed = fs::exists(file, ec);
    QFile f;
    if (const auto reason = openFile(f, file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fileError(operation, file, *reason);
    const qint64 sizeBefore = f.size();
    QByteArray bytes = encodeText(line + QLatin1String("\r\n"), enc);
    // UTF-16 text starts with its byte-order mark, which belongs only at the start of the file.
    if ((enc == TextEncoding::Utf16LE || enc == TextEncoding::Utf16BE) && sizeBefore > 0)
        bytes.remove(0, 2);
    errno = 0;
    if (f.write(bytes) != bytes.size()) {
        const QString reason = writeFailure(f, errno);
        // No half line left behind for the next reader, and no empty file the append created.
        f.resize(sizeBefore);
        f.close();
        if (!existed)
            fs::remove(file, ec);
        return fileError(operation, file, reason);
    }
    return Status::success();
}

Status copy(const fs::path& from, const fs::path& to, bool overwrite) {
    const QString operation = QStringLiteral("Nelze zkopírovat soubor %1 do").arg(toQString(from));
    std::error_code ec;
    if (!fs::is_regular_file(from, ec))
        return fileError(operation, to, fs::is_directory(from, ec) ? isFolder() : sourceNotFound());
    if (!overwrite && fs::exists(to, ec))
        return fileError(operation, to, alreadyExists());
    auto bytes = readBytes(from);
    if (!bytes.ok())
        return Status(bytes.error());
    if (const auto reason = replaceFile(to, bytes.value()))
        return fileError(operation, to, *reason);
    return Status::success();
}

Status move(const fs::path& from, const fs::path& to) {
    const QString operation = QStringLiteral("Nelze přesunout soubor %1 do").arg(toQString(from));
    std::error_code ec;
    if (!fs::exists(from, ec))
        return fileError(operation, to, sourceNotFound());
    // As on the original platform, a move never replaces an existing file.
    if (fs::exists(to, ec))
        return fileError(operation, to, alreadyExists());
    fs::rename(from, to, ec);
    if (!ec)
        return Status::success();
    if (ec != std::errc::cross_device_link)
        return fileError(operation, to, reasonOf(ec));
    // Another file system: copy whole, and delete the original only once the copy is complete.
    if (Status st = copy(from, to, false); !st.ok())
        return st;
    fs::remove(from, ec);
    if (ec)
        return fileError(QStringLiteral("Soubor byl zkopírován, ale nelze odstranit původní soubor"), from,
                         reasonOf(ec));
    return Status::success();
}

Status remove(const fs::path& file) {
    const QString operation = QStringLiteral("Nelze odstranit soubor");
    std::error_code ec;
    const auto st = fs::symlink_status(file, ec);
    if (st.type() == fs::file_type::not_found)
        return fileError(operation, file, notFound());
    if (st.type() == fs::file_type::directory)
        return fileError(operation, file, isFolder());
    if (!fs::remove(file, ec) || ec)
        return fileError(operation, file, ec ? reasonOf(ec) : notFound());
    return Status::success();
}

Result<std::vector<fs::path>> listFolder(const fs::path& folder, const QString& pattern) {
    return FolderListing::listPaths(folder, pattern);
}

std::optional<fs::path> findCaseInsensitive(const fs::path& folder, const QString& name) {
    std::error_code ec;
    const fs::path exact = folder / toPath(name);
    if (fs::exists(exact, ec))
        return exact;
    // The listing's order puts, of the names differing only in case, the same one first every time.
    auto matches = FolderListing::list(
        folder, QStringLiteral("*"),
        [&name](const QString& listed) { return QString::compare(listed, name, Qt::CaseInsensitive) == 0; },
        FolderListing::Kind::Any);
    if (!matches.ok() || matches.value().empty())
        return std::nullopt;
    return matches.value().front().path();
}

} // namespace trv::TextFiles
