#include "platform/FolderListing.h"

#include "platform/Progress.h"
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

#ifdef _WIN32
// A listed name before it gets its path: the sort key (the name case-folded) computed once.
struct Named {
    QString key;
    QString name;
    size_t offset = 0;
    size_t length = 0;
};

bool byKey(const Named& a, const Named& b) {
    const int c = QtPrivate::compareStrings(a.key, b.key, Qt::CaseSensitive);
    if (c != 0)
        return c < 0;
    return QtPrivate::compareStrings(a.name, b.name, Qt::CaseSensitive) < 0; // names differing only in case
}
#else
constexpr quint32 none = ~quint32(0);

// A listed name before it gets its path, small and without a heap block of its own: where its bytes stand in the
// listing's one buffer, the first sixteen of them lowered (an ASCII name's sort key, nearly always all of it that a
// comparison reads), and, only where one was made, its decoded name and its case-folded key.
struct Named {
    quint64 head0 = 0;
    quint64 head1 = 0;
    quint32 offset = 0;
    quint32 length = 0;
    quint32 name = none; // in names
    quint32 wide = none; // in keys (names not in ASCII)
    bool ascii = false;
};

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

// The wildcard match of an ASCII name against an ASCII pattern, by bytes: the same answers as wildcardMatch.
bool asciiWildcardMatch(std::string_view name, std::string_view pattern) {
    size_t n = 0;
    size_t p = 0;
    size_t starP = std::string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
#endif

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

namespace {

Result<std::vector<Entry>> listing(const fs::path& folder, const QString& pattern, const NameFilter& keep, Kind kind,
                                   bool withNames, const Going& going) {
    size_t read = 0;
    const auto stopped = [&] { return going && ++read % kGoingEvery == 0 && !going(); };
    const bool everyName = pattern.isEmpty() || pattern == QLatin1String("*") || pattern == QLatin1String("*.*");
#ifdef _WIN32
    std::vector<Named> named;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return Error{0, folderError(folder, QString::fromLocal8Bit(ec.message()))};
    auto block = std::make_shared<Entry::Block>();
    block->text = folder.native();
    if (!block->text.empty() && block->text.back() != L'\\' && block->text.back() != L'/')
        block->text.push_back(L'\\');
    block->prefix = block->text.size();
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (stopped())
            return Error{0, Progress::cancelledText()};
        std::error_code typeEc;
        const bool wanted = kind == Kind::Files     ? it->is_regular_file(typeEc)
                            : kind == Kind::Folders ? it->is_directory(typeEc)
                                                    : true;
        if (!wanted)
            continue;
        const fs::path leaf = it->path().filename();
        const std::wstring& raw = leaf.native();
        QString name = QString::fromStdWString(raw);
        if ((!everyName && !wildcardMatch(name, pattern)) || (keep && !keep(name)))
            continue;
        named.push_back({caseFolded(name), std::move(name), block->text.size(), raw.size()});
        block->text.append(raw);
    }
    if (ec)
        return Error{0, folderError(folder, QString::fromLocal8Bit(ec.message()))};
    std::sort(named.begin(), named.end(), byKey);
    std::vector<Entry> out;
    out.reserve(named.size());
    std::shared_ptr<const Entry::Block> shared = std::move(block);
    for (Named& n : named)
        out.push_back({withNames ? std::move(n.name) : QString(), shared, n.offset, n.length});
    return out;
#else
    std::vector<QString> names; // the names decoded while reading
    auto block = std::make_shared<Entry::Block>();
    std::string& bytes = block->text; // the folder's path, then every kept name's bytes one after the other
    bytes = folder.native();
    if (!bytes.empty() && bytes.back() != '/')
        bytes.push_back('/');
    block->prefix = bytes.size();
    std::vector<QString> keys; // the case-folded keys of names not in ASCII
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return Error{0, folderError(folder, QString::fromLocal8Bit(std::strerror(errno)))};
    const int fd = ::dirfd(dir);
    // A pattern of ASCII matches an ASCII name by its bytes, with no QString made for a name it refuses.
    std::string asciiPattern;
    bool patternAscii = !everyName;
    for (const QChar c : pattern) {
        patternAscii = patternAscii && c.unicode() < 0x80;
        asciiPattern.push_back(char(c.unicode()));
    }
    std::vector<Named> named;
    named.reserve(1024);
    bytes.reserve(bytes.size() + 64 * 1024);
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
        if (stopped()) {
            ::closedir(dir);
            return Error{0, Progress::cancelledText()};
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
        bool ascii = true;
        for (size_t i = 0; i < length; ++i)
            ascii = ascii && static_cast<unsigned char>(raw[i]) < 0x80;
        const std::string_view view(raw, length);
        // The name as a QString only where something reads it: the filter, a pattern not matched by bytes, or a
        // name not in ASCII (its sort key is a case folding). Other names get theirs when they are returned.
        QString name;
        if (!ascii || keep || (!everyName && !patternAscii))
            name = QFile::decodeName(QByteArray::fromRawData(raw, qsizetype(length)));
        if (!everyName && (ascii && patternAscii ? !asciiWildcardMatch(view, asciiPattern) : !wildcardMatch(name, pattern)))
            continue;
        if (keep && !keep(name))
            continue;
        Named n;
        n.offset = quint32(bytes.size());
        n.length = quint32(length);
        n.ascii = ascii;
        if (ascii) {
            // The first sixteen lowered bytes, big-endian, order two ASCII names without reading them again.
            unsigned char head[16] = {};
            for (size_t i = 0; i < length && i < 16; ++i)
                head[i] = static_cast<unsigned char>(lowerAscii(raw[i]));
            for (int i = 0; i < 8; ++i) {
                n.head0 = (n.head0 << 8) | head[i];
                n.head1 = (n.head1 << 8) | head[8 + i];
            }
        } else {
            n.wide = quint32(keys.size());
            keys.push_back(caseFolded(name));
        }
        if (!name.isNull())
            n.name = quint32(names.size()), names.push_back(std::move(name));
        named.push_back(n);
        bytes.append(raw, length);
    }
    ::closedir(dir);
    const std::string_view raws(bytes);
    const auto rawOf = [&](const Named& n) { return raws.substr(n.offset, n.length); };
    const auto nameOfNamed = [&](const Named& n) -> QString {
        return n.name != none ? names[n.name] : QString::fromLatin1(bytes.data() + n.offset, qsizetype(n.length));
    };
    std::sort(named.begin(), named.end(), [&](const Named& a, const Named& b) {
        if (a.ascii && b.ascii) {
            if (a.head0 != b.head0)
                return a.head0 < b.head0;
            if (a.head1 != b.head1)
                return a.head1 < b.head1;
            // Equal heads: the lowered rest, then the bytes as they are (names differing only in case).
            const std::string_view ra = rawOf(a);
            const std::string_view rb = rawOf(b);
            for (size_t i = 16; i < ra.size() && i < rb.size(); ++i) {
                const char ca = lowerAscii(ra[i]);
                const char cb = lowerAscii(rb[i]);
                if (ca != cb)
                    return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
            }
            if (ra.size() != rb.size())
                return ra.size() < rb.size();
            return ra < rb;
        }
        if (!a.ascii && !b.ascii) {
            const int c = QtPrivate::compareStrings(keys[a.wide], keys[b.wide], Qt::CaseSensitive);
            if (c != 0)
                return c < 0;
            return QtPrivate::compareStrings(names[a.name], names[b.name], Qt::CaseSensitive) < 0;
        }
        // One ASCII name against one that is not: the ASCII name's lowered bytes are its key.
        const Named& asc = a.ascii ? a : b;
        const Named& other = a.ascii ? b : a;
        const std::string_view ra = rawOf(asc);
        std::string lowered(ra);
        for (char& ch : lowered)
            ch = lowerAscii(ch);
        int c = QtPrivate::compareStrings(QStringView(keys[other.wide]),
                                          QLatin1String(lowered.data(), qsizetype(lowered.size())), Qt::CaseSensitive);
        if (c == 0)
            c = QtPrivate::compareStrings(QStringView(names[other.name]), QLatin1String(ra.data(), qsizetype(ra.size())),
                                          Qt::CaseSensitive);
        return a.ascii ? c > 0 : c < 0;
    });
    // No path yet: an entry makes its own from the shared bytes when asked.
    std::vector<Entry> out;
    out.reserve(named.size());
    std::shared_ptr<const Entry::Block> shared = std::move(block);
    for (const Named& n : named)
        out.push_back({withNames ? nameOfNamed(n) : QString(), shared, n.offset, n.length});
    return out;
#endif
}

} // namespace

fs::path Entry::path() const {
    if (!block)
        return {};
    fs::path::string_type text;
    text.reserve(block->prefix + length);
    text.append(block->text, 0, block->prefix);
    text.append(block->text, offset, length);
    return fs::path(std::move(text));
}

Result<std::vector<Entry>> list(const fs::path& folder, const QString& pattern, const NameFilter& keep, Kind kind,
                                const Going& going) {
    return listing(folder, pattern, keep, kind, true, going);
}

Result<std::vector<fs::path>> listPaths(const fs::path& folder, const QString& pattern) {
    auto listed = listing(folder, pattern, {}, Kind::Files, false, {});
    if (!listed.ok())
        return listed.error();
    return pathsOf(std::move(listed).value());
}

std::vector<fs::path> pathsOf(std::vector<Entry>&& entries) {
    std::vector<fs::path> paths;
    paths.reserve(entries.size());
    for (const Entry& e : entries)
        paths.push_back(e.path());
    return paths;
}

std::optional<fs::path> entryNamed(const fs::path& folder, const QString& name) {
    std::error_code ec;
    if (fs::path exact = folder / TextFiles::toPath(name); fs::is_regular_file(exact, ec))
        return exact;
    auto listed = list(folder, QStringLiteral("*"), [&name](const QString& n) { return n == name; });
    if (!listed.ok() || listed.value().empty())
        return std::nullopt;
    return listed.value().front().path();
}

} // namespace trv::FolderListing
