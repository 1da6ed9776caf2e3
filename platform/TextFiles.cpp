#include "platform/TextFiles.h"

#include "platform/SystemErrors.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <system_error>

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

QString withNewlines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

// Matches a name against a wildcard pattern the way the file dialogs do: '*' any run of characters,
// '?' one character, any letter case; "*.*" matches every name, with or without a dot.
bool wildcardMatch(QStringView name, QStringView pattern) {
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool lessByName(const fs::path& a, const fs::path& b) {
    const QString na = toQString(a.filename());
    const QString nb = toQString(b.filename());
    const int c = QString::compare(na, nb, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : na < nb; // names differing only in case keep one fixed order
}

// The reason of a failed write. A write cut short (disk full, file too large) leaves no error on the
// device, so the system's errno is what tells why.
QString writeFailure(const QFileDevice& f, int savedErrno) {
    return SystemErrors::describe(f, savedErrno);
}

// Writes to a temporary file beside the target, renamed over it only when complete, so that a failure
// at any point leaves the old file as it was. Gives the reason of a failure.
std::optional<QString> replaceFile(const fs::path& file, const QByteArray& bytes) {
    std::error_code ec;
    if (fs::is_directory(file, ec))
        return isFolder();
    QSaveFile f(toQString(file));
    f.setDirectWriteFallback(false);
    // Unbuffered: a buffered write cut short is only half noticed at commit, which then renames a
    // truncated file over the old one and reports success.
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailure(f, errno);
    errno = 0;
    if (f.write(bytes) != bytes.size()) {
        const QString reason = writeFailure(f, errno);
        f.cancelWriting();
        return reason;
    }
    errno = 0;
    if (!f.commit())
        return writeFailure(f, errno);
    return std::nullopt;
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

Result<QByteArray> readBytes(const fs::path& file) {
    std::error_code ec;
    const fs::file_status st = fs::status(file, ec);
    if (fs::is_directory(st))
        return fileError(kCannotRead, file, isFolder()).error();
    // Opening a FIFO waits for a writer that never comes, and a device never ends: only files are read.
    if (fs::exists(st) && !fs::is_regular_file(st))
        return fileError(kCannotRead, file, QStringLiteral("není to obyčejný soubor")).error();
    QFile f(toQString(file));
    errno = 0;
    if (!f.open(QIODevice::ReadOnly))
        return fileError(kCannotRead, file, SystemErrors::describe(f, errno)).error();
    errno = 0;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return fileError(kCannotRead, file, SystemErrors::describe(f, errno)).error();
    return bytes;
}

Status writeBytes(const fs::path& file, const QByteArray& bytes) {
    if (const auto reason = replaceFile(file, bytes))
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
    if (text.isEmpty())
        return QStringList();
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

Status writeAll(const fs::path& file, const QString& text, TextEncoding enc) {
    return writeBytes(file, encodeText(text, enc));
}

Status writeLines(const fs::path& file, const QStringList& lines, TextEncoding enc) {
    return writeAll(file, withNewlines(lines), enc);
}

Status appendLine(const fs::path& file, const QString& line, TextEncoding enc) {
    const QString operation = QStringLiteral("Nelze připsat řádek do souboru");
    std::error_code ec;
    if (fs::is_directory(file, ec))
        return fileError(operation, file, isFolder());
    const bool existed = fs::exists(file, ec);
    QFile f(toQString(file));
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fileError(operation, file, writeFailure(f, errno));
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
    const QString operation = QStringLiteral("Nelze číst složku");
    const QString wanted = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    // Each name is converted once: a folder may hold a few hundred thousand day files, and converting in
    // every comparison of the sort made the listing several times slower.
    std::vector<std::pair<QString, fs::path>> named;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return fileError(operation, folder, reasonOf(ec)).error();
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc))
            continue;
        QString name = toQString(it->path().filename());
        if (wildcardMatch(name, wanted))
            named.emplace_back(std::move(name), it->path());
    }
    if (ec)
        return fileError(operation, folder, reasonOf(ec)).error();
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
        const int c = QString::compare(a.first, b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.first < b.first; // names differing only in case keep one fixed order
    });
    std::vector<fs::path> files;
    files.reserve(named.size());
    for (auto& entry : named)
        files.push_back(std::move(entry.second));
    return files;
}

std::optional<fs::path> findCaseInsensitive(const fs::path& folder, const QString& name) {
    std::error_code ec;
    const fs::path exact = folder / toPath(name);
    if (fs::exists(exact, ec))
        return exact;
    std::vector<fs::path> matches;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (QString::compare(toQString(it->path().filename()), name, Qt::CaseInsensitive) == 0)
            matches.push_back(it->path());
    }
    if (matches.empty())
        return std::nullopt;
    return *std::min_element(matches.begin(), matches.end(), lessByName);
}

} // namespace trv::TextFiles
