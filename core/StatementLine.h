#pragma once

#include "platform/Result.h"
#include "platform/TextFiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace trv {

struct AppState;

// The code field of a statement line (1-based) by the record layout: depot 6, without the leading date 4, else 5.
// The type number stands just before the code and the value just after it, in every layout.
int statementCodeField(const AppState& state);

// One record of a statement file (.vyc), read back at the separator it was written with
// (`DejOddelovacExportu`, [Data] ExpTxtSeparator). Every reader of statement files uses this.
namespace StatementLine {

// The fields of the line: split at the separator first, then each field trimmed (with a blank separator,
// trimming first would shift the fields when the first is empty). nullopt for a line holding nothing but
// blanks.
std::optional<QStringList> fields(const QString& line, const QString& separator);

// The fields when the line has at least `position` fields (1-based position of the field the caller needs,
// the code field say); nullopt for an empty line or a shorter one, which the readers skip.
std::optional<QStringList> fieldsWith(const QString& line, const QString& separator, int position);

// The same reading on the UTF-8 bytes of one line, for readers that go through a month of statement files:
// the field at `position` (1-based), trimmed of blanks, without building a list. nullopt where fieldsWith
// gives nullopt.
std::optional<std::string_view> fieldAt(std::string_view line, std::string_view separator, int position);

// The fields from `position` (1-based) on, up to `count` of them, each as fieldAt gives it, in one pass over the
// line: the number found (0 where fieldAt gives nullopt for `position`).
int fieldsAt(std::string_view line, std::string_view separator, int position, std::string_view* out, int count);

// The bytes without the blanks around them (space, tab, CR, LF, VT, FF).
std::string_view trimmed(std::string_view s);

// A whole stored file's text as UTF-8, for the readers that go through it as bytes: stored files are
// Windows-1250 unless they are valid UTF-8; pure ASCII is taken as it stands.
Result<QByteArray> readUtf8(const std::filesystem::path& file);

// The size of the pieces forEachPiece reads: a statement file of a month can hold millions of lines.
inline constexpr qsizetype kPieceSize = qsizetype(1) << 20;

// A stored file's text as readUtf8 gives it, handed on in pieces of whole lines (the last piece may end without a
// line end), so that only about one piece of a large file is held at a time. The encoding is decided by a first
// pass over the whole file that only checks its bytes; the file is then read `pieceSize` bytes at a time (made even,
// at least 4), a line a piece cuts carried to the next, and converted. A piece never ends between the CR and the LF
// of one line end. `piece` returns false to stop. `going`, when given, is asked after every whole piece read in
// either pass (a file of one piece never asks), so that a reader of a large file can tell its progress and hear a
// cancel within it; false stops the reading, which then fails as cancelled (Progress::cancelledText()). Errors: an
// unreadable file.
Status forEachPiece(const std::filesystem::path& file, const std::function<bool(std::string_view)>& piece,
                    qsizetype pieceSize = kPieceSize, const std::function<bool()>& going = {});

// Each line without its end: CR LF, LF and a lone CR each end a record (TextFiles::forEachLine).
template <typename F> void forEachLine(std::string_view text, F&& f) {
    TextFiles::forEachLine(text, f);
}

// The same on decoded text, for the readers that hold a statement file as text.
template <typename F> void forEachLine(QStringView text, F&& f) {
    TextFiles::forEachLine(text, f);
}

// Each line of a stored file as forEachLine gives the lines of its readUtf8 text, read by forEachPiece (`going` as
// it asks it).
template <typename F>
Status forEachLineOf(const std::filesystem::path& file, F&& f, const std::function<bool()>& going = {},
                     qsizetype pieceSize = kPieceSize) {
    return forEachPiece(
        file,
        [&](std::string_view text) {
            forEachLine(text, f);
            return true;
        },
        pieceSize, going);
}

// The lines of the text as forEachLine gives them.
std::vector<std::string_view> lines(std::string_view text);

} // namespace StatementLine
} // namespace trv
