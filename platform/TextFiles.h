#pragma once

#include "platform/Result.h"
#include "platform/TextCodec.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace trv {

class Progress;

/// Text files as the program uses them: decoded as UTF-8 or Windows-1250, written with CR LF line ends,
/// whole-file writes through a temporary file that replaces the old one only when complete.
/// Error messages name the operation, the file and the system's reason.
namespace TextFiles {

/// The raw bytes of a file. With `progress`, read in pieces, each told as bytes read of the file's size; a cancel
/// stops the read within one piece and fails with Progress::cancelledText().
Result<QByteArray> readBytes(const std::filesystem::path& file, Progress* progress = nullptr);
/// The bytes of a file in order, at most `pieceSize` at a time, for a reader that never holds a large file whole;
/// `piece` returns false to stop reading. Errors as readBytes.
Status readPieces(const std::filesystem::path& file, qsizetype pieceSize,
                  const std::function<bool(QByteArrayView)>& piece);
/// Replaces the file with these bytes through a temporary file; on failure the old file stays.
Status writeBytes(const std::filesystem::path& file, const QByteArray& bytes);
/// Takes one piece of a file's bytes; false when it could not be written (the file is then incomplete).
using ByteSink = std::function<bool(QByteArrayView)>;
/// As writeBytes, with the bytes handed to the sink piece by piece by `produce`, which returns false to give up: the
/// file then stays as it was and the status is a failure. Every piece is written as it comes, unbuffered, so that a
/// write cut short (a full disk) is seen at once, never reported as saved.
Status writeBytes(const std::filesystem::path& file, const std::function<bool(const ByteSink&)>& produce);

/// Each line of the text, without its end: CR LF, LF and a lone CR each end a line (files come from editors and
/// readers of every kind), and a final line end adds no empty line. readLines and the readers of statement files
/// (StatementLine) split by this.
template <typename Char, typename F> void forEachLine(std::basic_string_view<Char> text, F&& f) {
    constexpr auto none = std::basic_string_view<Char>::npos;
    // Each kind of line end is looked for again only once the lines have passed the last one found, so that a file
    // of one kind is gone through once for the other.
    size_t cr = text.find(Char('\r'));
    size_t lf = text.find(Char('\n'));
    size_t start = 0;
    while (start < text.size()) {
        if (cr < start)
            cr = text.find(Char('\r'), start);
        if (lf < start)
            lf = text.find(Char('\n'), start);
        const size_t end = std::min(cr, lf);
        if (end == none) {
            f(text.substr(start));
            return;
        }
        f(text.substr(start, end - start));
        start = end == cr && lf == cr + 1 ? lf + 1 : end + 1;
    }
}

/// The same on decoded text.
template <typename F> void forEachLine(QStringView text, F&& f) {
    forEachLine(std::u16string_view(text.utf16(), size_t(text.size())),
                [&](std::u16string_view line) { f(QStringView(line.data(), qsizetype(line.size()))); });
}

Result<DecodedText> readAll(const std::filesystem::path& file);
/// The lines of the file as forEachLine gives them.
Result<QStringList> readLines(const std::filesystem::path& file);
Status writeAll(const std::filesystem::path& file, const QString& text, TextEncoding enc = TextEncoding::Windows1250);
/// CR LF after each line.
Status writeLines(const std::filesystem::path& file, const QStringList& lines,
                  TextEncoding enc = TextEncoding::Windows1250);
/// Hands each line on as it is made: the writer encodes it at once, so no list of the lines is ever held.
using LineSink = std::function<void(QStringView)>;
/// As writeLines, with the lines made by `produce`, which hands them to the sink and returns false to give up: the
/// file then stays as it was and the status is a failure.
Status writeLines(const std::filesystem::path& file, const std::function<bool(const LineSink&)>& produce,
                  TextEncoding enc = TextEncoding::Windows1250);
/// Appends the line and CR LF; creates the file when missing.
Status appendLine(const std::filesystem::path& file, const QString& line, TextEncoding enc = TextEncoding::Windows1250);
Status copy(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite);
Status move(const std::filesystem::path& from, const std::filesystem::path& to);
Status remove(const std::filesystem::path& file);
bool exists(const std::filesystem::path& p);
/// Creates the folder and the folders above it that are missing; an existing folder is success.
Status createFolder(const std::filesystem::path& folder);
/// Files of a folder whose names match a wildcard pattern ("*.txt", any letter case), sorted by name
/// case-insensitively. Folders are not listed.
Result<std::vector<std::filesystem::path>> listFolder(const std::filesystem::path& folder,
                                                      const QString& pattern = QStringLiteral("*"));
/// The file of that name in the folder, whatever the letter case of the stored name; nullopt when none.
/// An exact match is preferred over one differing in case.
std::optional<std::filesystem::path> findCaseInsensitive(const std::filesystem::path& folder, const QString& name);
QString toQString(const std::filesystem::path& p); // native separators
std::filesystem::path toPath(const QString& s);

} // namespace TextFiles
} // namespace trv
