#include "datafiles/CodeSearch.h"

#include "core/DayDataFiles.h"
#include "platform/Progress.h"
#include "platform/TextFiles.h"

#include <QStringEncoder>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace trv {

namespace {

bool isBlank(char c) {
    return c == ' ';
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Whether the line [begin, end), without its end, holds the code with nothing but blanks around it.
bool lineEquals(const char* begin, const char* end, const QByteArray& code) {
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    return end - begin == code.size() && std::memcmp(begin, code.constData(), size_t(code.size())) == 0;
}

// The lines are those the day-file readers see: CR LF, LF and a lone CR each end one.
qint64 countLines(const char* data, qsizetype size, const QByteArray& code) {
    qint64 hits = 0;
    TextFiles::forEachLine(std::string_view(data, size_t(size)), [&](std::string_view line) {
        if (lineEquals(line.data(), line.data() + line.size(), code))
            ++hits;
    });
    return hits;
}

// Looks for the code's bytes and checks the line around each occurrence, so that most of a file is passed
// over by memmem rather than line by line.
qint64 countOccurrences(const char* data, qsizetype size, const QByteArray& code) {
    qint64 hits = 0;
    const char* p = data;
    const char* end = data + size;
    const size_t n = size_t(code.size());
    while (p < end) {
        const void* found = memmem(p, size_t(end - p), code.constData(), n);
        if (found == nullptr)
            break;
        const char* at = static_cast<const char*>(found);
        const char* lineStart = at;
        while (lineStart > data && !isLineEnd(lineStart[-1]))
            --lineStart;
        const char* lineEnd = std::find_if(at + n, end, isLineEnd);
        if (lineEquals(lineStart, lineEnd, code))
            ++hits;
        p = lineEnd;
    }
    return hits;
}

// The code as it may stand in a file: in Windows-1250, the encoding of the stored files, and in UTF-8 when
// that differs (a file edited elsewhere).
QList<QByteArray> encodings(const QString& code) {
    QStringEncoder cp1250("windows-1250");
    QByteArray ansi = cp1250.encode(code);
    const QByteArray utf8 = code.toUtf8();
    if (cp1250.hasError() || ansi.isEmpty())
        return {utf8};
    if (ansi == utf8)
        return {ansi};
    return {ansi, utf8};
}

} // namespace

qint64 CodeSearch::countIn(const QByteArray& bytes, const QByteArray& code) {
    const qsizetype bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const char* data = bytes.constData() + bom;
    const qsizetype size = bytes.size() - bom;
    if (code.isEmpty())
        return countLines(data, size, code);
    // Only the file's lines lose their blanks: a code typed with a blank at either end matches no line.
    if (isBlank(code.front()) || isBlank(code.back()) || code.contains('\n') || code.contains('\r'))
        return 0;
    return countOccurrences(data, size, code);
}

Result<CodeSearch::Hits> CodeSearch::najdi(const std::filesystem::path& folder, const QString& code,
                                           Progress* progress) {
    auto files = DayDataFiles::entries(folder);
    if (!files.ok())
        return files.error();
    const QList<QByteArray> forms = encodings(code);
    Hits hits;
    std::vector<char> buffer(1 << 16);
    QByteArray content;
    const qint64 total = qint64(files.value().size());
    qint64 done = 0;
    for (const auto& entry : files.value()) {
        if (progress && !progress->step(done++, total))
            return Error{0, Progress::cancelledText()};
        const std::filesystem::path file = entry.path();
        const QString& name = entry.name;
#ifdef _WIN32
        std::FILE* f = _wfopen(file.c_str(), L"rb");
#else
        std::FILE* f = std::fopen(file.c_str(), "rb");
#endif
        if (f == nullptr) {
            hits.unreadable.append(QStringLiteral("Soubor %1 nelze otevřít: %2")
                                       .arg(TextFiles::toQString(file), QString::fromLocal8Bit(std::strerror(errno))));
            continue;
        }
        content.resize(0);
        size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
            content.append(buffer.data(), qsizetype(got));
        const bool failed = std::ferror(f) != 0;
        std::fclose(f);
        if (failed) {
            hits.unreadable.append(QStringLiteral("Soubor %1 nelze přečíst.").arg(TextFiles::toQString(file)));
            continue;
        }
        qint64 inFile = 0;
        for (const QByteArray& form : forms)
            inFile += countIn(content, form);
        for (qint64 i = 0; i < inFile; ++i)
            hits.files.append(name);
        hits.count += inFile;
    }
    return hits;
}

} // namespace trv
