#include "platform/FolderListing.h"

#include "platform/TextFiles.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace trv::FolderListing {

namespace fs = std::filesystem;

namespace {

// Matches a name against a wildcard pattern the way the file dialogs do: '*' any run of characters, '?' one
// character, any letter case.
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

QString folderError(const fs::path& folder, const QString& reason) {
    return QStringLiteral("Nelze číst složku %1: %2").arg(TextFiles::toQString(folder), reason);
}

// A listed name before it gets its path: the sort key (the name case-folded) computed once, and where the name's
// bytes stand in the listing's one buffer.
struct Named {
    QString key;
    QString name;
    size_t offset = 0;
    size_t length = 0;
    bool ascii = false; // the name's bytes are ASCII: its key is also in the buffer of lowered bytes
};

bool byKey(const Named& a, const Named& b) {
    const int c = QtPrivate::compareStrings(a.key, b.key, Qt::CaseSensitive);
    if (c != 0)
        return c < 0;
    return QtPrivate::compareStrings(a.name, b.name, Qt::CaseSensitive) < 0; // names differing only in case
}

QString caseFolded(const QString& name) {
    // Plain lowercase ASCII is its own key, shared without a copy; other ASCII is lowered here (the case folding of
    // ASCII), anything else folded by Qt.
    bool upper = false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return name.toCaseFolded();
        upper = upper || (u >= u'A' && u <= u'Z');
    }
    if (!upper)
        return name;
    QString key(name.size(), Qt::Uninitialized);
    const char16_t* src = reinterpret_cast<const char16_t*>(name.constData());
    char16_t* dst = reinterpret_cast<char16_t*>(key.data());
    for (qsizetype i = 0; i < name.size(); ++i)
        dst[i] = (src[i] >= u'A' && src[i] <= u'Z') ? char16_t(src[i] + 32) : src[i];
    return key;
}

} // namespace

QString nameOf(const fs::path& p) {
#ifdef _WIN32
    return QString::fromStdWString(p.filename().native());
#else
    return QFile::decodeName(QByteArray::fromStdString(p.filename().native()));
#endif
}

Result<std::vector<Entry>> list(const fs::path& folder, const QString& pattern, const NameFilter& keep, Kind kind) {
    const bool everyName = pattern.isEmpty() || pattern == QLatin1String("*") || pattern == QLatin1String("*.*");
    std::vector<Named> named;
    std::string bytes;   // every kept name's bytes, one after the other
    std::string lowered; // the same with ASCII capitals lowered
#ifdef _WIN32
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return Error{0, folderError(folder, QString::fromLocal8Bit(ec.message()))};
    std::vector<fs::path> kept;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        const bool wanted = kind == Kind::Files     ? it->is_regular_file(typeEc)
                            : kind == Kind::Folders ? it->is_directory(typeEc)
                                                    : true;
        if (!wanted)
            continue;
        QString name = QString::fromStdWString(it->path().filename().native());
        if ((!everyName && !wildcardMatch(name, pattern)) || (keep && !keep(name)))
            continue;
        named.push_back({caseFolded(name), std::move(name), kept.size(), 0});
        kept.push_back(it->path());
    }
    if (ec)
        return Error{0, folderError(folder, QString::fromLocal8Bit(ec.message()))};
    std::sort(named.begin(), named.end(), byKey);
    std::vector<Entry> out;
    out.reserve(named.size());
    for (Named& n : named)
        out.push_back({std::move(kept[n.offset]), std::move(n.name)});
    return out;
#else
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return Error{0, folderError(folder, QString::fromLocal8Bit(std::strerror(errno)))};
    const int fd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* d = ::readdir(dir);
        if (d == nullptr) {
            if (errno != 0) {
                const int failure = errno;
                ::closedir(dir);
                return Error{0, folderError(folder, QString::fromLocal8Bit(std::strerror(failure)))};
            }
            break;
        }
        const char* raw = d->d_name;
        unsigned char type = d->d_type;
        if (kind != Kind::Any && (type == DT_LNK || type == DT_UNKNOWN)) {
            struct stat st {};
            if (::fstatat(fd, raw, &st, 0) != 0)
                continue; // a dangling link or an entry gone meanwhile: neither file nor folder
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (kind == Kind::Files ? type != DT_REG : kind == Kind::Folders && type != DT_DIR)
            continue;
        const size_t length = std::strlen(raw);
        if (kind != Kind::Files && ((length == 1 && raw[0] == '.') || (length == 2 && raw[0] == '.' && raw[1] == '.')))
            continue;
        QString name = QFile::decodeName(QByteArray::fromRawData(raw, qsizetype(length)));
        if ((!everyName && !wildcardMatch(name, pattern)) || (keep && !keep(name)))
            continue;
        bool ascii = true;
        for (size_t i = 0; i < length; ++i) {
            const char c = raw[i];
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
            lowered.push_back(c >= 'A' && c <= 'Z' ? char(c + 32) : c);
        }
        QString key = ascii ? QString() : caseFolded(name);
        named.push_back({std::move(key), std::move(name), bytes.size(), length, ascii});
        bytes.append(raw, length);
    }
    ::closedir(dir);
    // Two ASCII names (nearly every name) compare by their bytes, the same order as their UTF-16 keys at a fraction
    // of the work; an ASCII name has no key of its own, its lowered bytes stand for it. Positions are sorted, not
    // the entries.
    const std::string_view folded(lowered);
    const std::string_view raws(bytes);
    const auto keyOf = [&](const Named& n) { return folded.substr(n.offset, n.length); };
    const auto rawOf = [&](const Named& n) { return raws.substr(n.offset, n.length); };
    const auto latin1 = [](std::string_view v) { return QLatin1String(v.data(), qsizetype(v.size())); };
    std::vector<quint32> order(named.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = quint32(i);
    std::sort(order.begin(), order.end(), [&](quint32 ia, quint32 ib) {
        const Named& a = named[ia];
        const Named& b = named[ib];
        int c = 0;
        if (a.ascii && b.ascii) {
            c = keyOf(a).compare(keyOf(b));
            if (c == 0)
                c = rawOf(a).compare(rawOf(b));
            return c < 0;
        }
        if (!a.ascii && !b.ascii)
            return byKey(a, b);
        c = a.ascii ? -QtPrivate::compareStrings(QStringView(b.key), latin1(keyOf(a)), Qt::CaseSensitive)
                    : QtPrivate::compareStrings(QStringView(a.key), latin1(keyOf(b)), Qt::CaseSensitive);
        if (c == 0)
            c = a.ascii ? -QtPrivate::compareStrings(QStringView(b.name), latin1(rawOf(a)), Qt::CaseSensitive)
                        : QtPrivate::compareStrings(QStringView(a.name), latin1(rawOf(b)), Qt::CaseSensitive);
        return c < 0;
    });
    // Paths only for the entries returned, each the folder's bytes and the name's own bytes.
    std::string prefix = folder.native();
    if (!prefix.empty() && prefix.back() != '/')
        prefix.push_back('/');
    std::vector<Entry> out;
    out.reserve(named.size());
    std::string full;
    for (const quint32 i : order) {
        Named& n = named[i];
        full.assign(prefix);
        full.append(bytes, n.offset, n.length);
        out.push_back({fs::path(std::move(full)), std::move(n.name)});
    }
    return out;
#endif
}

std::vector<fs::path> pathsOf(std::vector<Entry>&& entries) {
    std::vector<fs::path> paths;
    paths.reserve(entries.size());
    for (Entry& e : entries)
        paths.push_back(std::move(e.path));
    return paths;
}

std::optional<fs::path> entryNamed(const fs::path& folder, const QString& name) {
    std::error_code ec;
    if (fs::path exact = folder / TextFiles::toPath(name); fs::is_regular_file(exact, ec))
        return exact;
    auto listed = list(folder, QStringLiteral("*"), [&name](const QString& n) { return n == name; });
    if (!listed.ok() || listed.value().empty())
        return std::nullopt;
    return std::move(listed.value().front().path);
}

} // namespace trv::FolderListing
