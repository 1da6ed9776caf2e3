#include "core/StatementLine.h"

#include "core/AppState.h"
#include "platform/Progress.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"

#include <algorithm>

namespace trv {

int statementCodeField(const AppState& state) {
    if (state.sw.gFDepo)
        return 6;
    return state.sw.gFVycBezData ? 4 : 5;
}

} // namespace trv

namespace trv::StatementLine {

std::optional<QStringList> fields(const QString& line, const QString& separator) {
    if (line.trimmed().isEmpty())
        return std::nullopt;
    QStringList parts = separator.isEmpty() ? QStringList{line} : line.split(separator);
    for (QString& p : parts)
        p = p.trimmed();
    return parts;
}

std::optional<QStringList> fieldsWith(const QString& line, const QString& separator, int position) {
    auto f = fields(line, separator);
    if (!f || f->size() < position)
        return std::nullopt;
    return f;
}

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::optional<std::string_view> fieldAt(std::string_view line, std::string_view separator, int position) {
    if (position < 1 || trimmed(line).empty())
        return std::nullopt;
    if (separator.empty())
        return position == 1 ? std::optional<std::string_view>(trimmed(line)) : std::nullopt;
    std::string_view rest = line;
    for (int i = 1; i < position; ++i) {
        const size_t at = rest.find(separator);
        if (at == std::string_view::npos)
            return std::nullopt;
        rest.remove_prefix(at + separator.size());
    }
    const size_t end = rest.find(separator);
    return trimmed(end == std::string_view::npos ? rest : rest.substr(0, end));
}

int fieldsAt(std::string_view line, std::string_view separator, int position, std::string_view* out, int count) {
    if (position < 1 || count < 1 || trimmed(line).empty())
        return 0;
    if (separator.empty()) {
        if (position != 1)
            return 0;
        out[0] = trimmed(line);
        return 1;
    }
    // A one-character separator, the usual one, is looked for by the character alone: the fields are short.
    const auto next = [&](std::string_view s) -> size_t {
        if (separator.size() != 1)
            return s.find(separator);
        const char c = separator.front();
        for (size_t i = 0; i < s.size(); ++i)
            if (s[i] == c)
                return i;
        return std::string_view::npos;
    };
    std::string_view rest = line;
    for (int i = 1; i < position; ++i) {
        const size_t at = next(rest);
        if (at == std::string_view::npos)
            return 0;
        rest.remove_prefix(at + separator.size());
    }
    int found = 0;
    while (found < count) {
        const size_t at = next(rest);
        out[found++] = trimmed(at == std::string_view::npos ? rest : rest.substr(0, at));
        if (at == std::string_view::npos)
            break;
        rest.remove_prefix(at + separator.size());
    }
    return found;
}

Result<QByteArray> readUtf8(const std::filesystem::path& file) {
    auto bytes = TextFiles::readBytes(file);
    if (!bytes.ok())
        return bytes;
    const QByteArray& b = bytes.value();
    if (std::all_of(b.begin(), b.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return bytes;
    return decodeText(b).text.toUtf8();
}

namespace {

bool isWide(TextEncoding enc) {
    return enc == TextEncoding::Utf16LE || enc == TextEncoding::Utf16BE;
}

// Whether the unit (a byte, or two in UTF-16) at `unit` of the bytes is the ASCII character.
bool unitIs(QByteArrayView bytes, TextEncoding enc, qsizetype unit, char c) {
    if (!isWide(enc))
        return bytes[unit] == c;
    const qsizetype lowAt = enc == TextEncoding::Utf16BE ? 1 : 0;
    return bytes[2 * unit + lowAt] == c && bytes[2 * unit + 1 - lowAt] == '\0';
}

// Where the first or the last line of the bytes ends (just after its LF, or its CR where no LF follows), 0 when no
// line ends in them. A CR that ends the bytes may be the first half of a CR LF that the next piece finishes: it ends
// no line here. UTF-16 bytes start at a unit and their CR and LF are units, which no surrogate pair holds.
qsizetype afterLine(QByteArrayView bytes, TextEncoding enc, bool last) {
    const qsizetype width = isWide(enc) ? 2 : 1;
    const qsizetype units = bytes.size() / width;
    // The unit after the line end at `unit`, or -1 when none ends there.
    const auto endAt = [&](qsizetype unit) -> qsizetype {
        if (unitIs(bytes, enc, unit, '\n'))
            return unit + 1;
        if (!unitIs(bytes, enc, unit, '\r') || unit + 1 == units)
            return -1;
        return unitIs(bytes, enc, unit + 1, '\n') ? unit + 2 : unit + 1;
    };
    if (width == 1) {
        // The bytes of a piece are many: the line ends are looked for by the library's search.
        const std::string_view b(bytes.data(), size_t(bytes.size()));
        for (size_t from = last ? b.size() : 0;;) {
            const size_t at = last ? (from == 0 ? std::string_view::npos : b.find_last_of("\r\n", from - 1))
                                   : b.find_first_of("\r\n", from);
            if (at == std::string_view::npos)
                return 0;
            if (const qsizetype end = endAt(qsizetype(at)); end >= 0)
                return end;
            from = last ? at : at + 1; // a CR that ends the bytes
        }
    }
    for (qsizetype i = 0; i < units; ++i) {
        if (const qsizetype end = endAt(last ? units - 1 - i : i); end >= 0)
            return end * width;
    }
    return 0;
}

} // namespace

Status forEachPiece(const std::filesystem::path& file, const std::function<bool(std::string_view)>& piece,
                    qsizetype pieceSize, const std::function<bool()>& going) {
    // A byte-order mark lies whole in the first piece, and every piece starts at a UTF-16 unit.
    pieceSize = std::max<qsizetype>(pieceSize, 4) & ~qsizetype(1);
    // As findEncoding decides on the whole file, without holding it.
    FoundEncoding found;
    bool first = true;
    bool stopped = false; // by `going`
    Utf8Check check;
    // `going` is asked between pieces: after a whole piece, which more may follow.
    const auto goingOn = [&](QByteArrayView bytes) { return bytes.size() < pieceSize || !going || going(); };
    const Status checked = TextFiles::readPieces(file, pieceSize, [&](QByteArrayView bytes) {
        stopped = !goingOn(bytes);
        if (stopped)
            return false;
        if (first) {
            first = false;
            found = byteOrderMark(bytes);
            if (found.encoding != TextEncoding::Utf8 && found.bomSize > 0)
                return false; // UTF-16: the mark alone tells
            bytes = bytes.sliced(found.bomSize);
        }
        return check.add(bytes);
    });
    if (!checked.ok())
        return checked;
    if (stopped)
        return Status::fail(Progress::cancelledText());
    if (found.encoding == TextEncoding::Utf8 || found.bomSize == 0)
        found = check.finish() ? FoundEncoding{TextEncoding::Utf8, found.bomSize} : FoundEncoding{};

    qsizetype skip = found.bomSize;
    QByteArray carried; // the start of a line the last piece cut
    bool goOn = true;
    // Valid UTF-8, plain ASCII among it, is handed on as it stands; the other encodings are converted.
    const auto hand = [&](QByteArrayView lines) {
        if (lines.isEmpty() || found.encoding == TextEncoding::Utf8 ||
            (found.encoding == TextEncoding::Windows1250 && isAscii(lines))) {
            goOn = lines.isEmpty() || piece(std::string_view(lines.data(), size_t(lines.size())));
            return;
        }
        const QByteArray utf8 = decodeAs(lines, found.encoding).toUtf8();
        goOn = piece(std::string_view(utf8.constData(), size_t(utf8.size())));
    };
    const Status read = TextFiles::readPieces(file, pieceSize, [&](QByteArrayView bytes) {
        if (!goingOn(bytes)) {
            stopped = true;
            return false;
        }
        const qsizetype dropped = std::min(skip, bytes.size());
        bytes = bytes.sliced(dropped);
        skip -= dropped;
        if (!carried.isEmpty()) {
            // The cut line is finished alone, so that the rest of the piece is handed on without a copy. A CR that
            // ended the last piece ends its line here, with the LF that starts this piece or without one.
            const qsizetype width = isWide(found.encoding) ? 2 : 1;
            const qsizetype lastUnit = carried.size() / width - 1;
            const bool crPending = carried.size() % width == 0 && unitIs(carried, found.encoding, lastUnit, '\r');
            qsizetype end = 0;
            bool finished = false;
            if (crPending) {
                finished = bytes.size() >= width;
                end = finished && unitIs(bytes, found.encoding, 0, '\n') ? width : 0;
            } else {
                end = afterLine(bytes, found.encoding, false);
                finished = end > 0;
            }
            carried.append(bytes.first(finished ? end : bytes.size()));
            if (!finished)
                return true;
            hand(carried);
            carried.resize(0);
            bytes = bytes.sliced(end);
            if (!goOn)
                return false;
        }
        const qsizetype end = afterLine(bytes, found.encoding, true);
        hand(bytes.first(end));
        carried.append(bytes.sliced(end));
        return goOn;
    });
    if (!read.ok())
        return read;
    if (stopped)
        return Status::fail(Progress::cancelledText());
    if (goOn)
        hand(carried);
    return Status::success();
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    forEachLine(text, [&](std::string_view line) { out.push_back(line); });
    return out;
}

} // namespace trv::StatementLine
