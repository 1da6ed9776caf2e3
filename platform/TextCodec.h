#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace trv {

/// The encodings text files of this program come in. UTF-16 is only met in files saved by other programs, and
/// only with its byte-order mark.
enum class TextEncoding { Utf8, Windows1250, Utf16LE, Utf16BE };

/// Text decoded from bytes, with the encoding it was found in (so a write can keep it).
struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Windows1250;
};

/// The encoding decodeText finds in the bytes and the size of the byte-order mark it drops (0 when none), for a
/// reader that decodes a large file a piece at a time.
struct FoundEncoding {
    TextEncoding encoding = TextEncoding::Windows1250;
    qsizetype bomSize = 0;
};
FoundEncoding findEncoding(const QByteArray& bytes);

/// The encoding a byte-order mark at the start of the bytes names (UTF-16 in either byte order, UTF-8) and the
/// mark's size; Windows1250 and 0 when they start with none. Whether a UTF-8 mark stands before UTF-8 is for the
/// caller to check, as findEncoding does.
FoundEncoding byteOrderMark(QByteArrayView bytes);

/// Bytes after the byte-order mark decoded in the encoding given, as decodeText decodes a file's body found in it.
/// A piece cut after a line end decodes as it does within the whole body.
QString decodeAs(QByteArrayView body, TextEncoding enc);

/// Decodes file bytes: a UTF-16 byte-order mark (either byte order) gives UTF-16, valid UTF-8 gives Utf8 (only
/// the first BOM is dropped: a second one stays in the text as U+FEFF), anything else is read as Windows-1250.
/// UTF-16 bytes that are no character (a surrogate half without its partner, the odd last byte of a file cut in a
/// character) read as one lone low surrogate U+DC00 + byte each, which encodeText and TextEncoder write back as
/// that byte: a UTF-16 file loaded and saved unchanged keeps every byte, whatever they are.
/// Plain ASCII without a BOM reads the same either way and is reported as Windows-1250, the encoding of the
/// stored files. Never fails; NUL and undefined bytes decode to some character, and encoding a Windows-1250
/// text back gives the original bytes.
DecodedText decodeText(const QByteArray& bytes);

/// Encodes text; characters that Windows-1250 cannot hold become '?'. UTF-16 starts with its byte-order mark,
/// without which it would not be read back as UTF-16; UTF-8 gets none (the caller adds it where the file had it).
QByteArray encodeText(const QString& text, TextEncoding enc);

/// Encodes a text piece by piece, each piece appended to the bytes given, as encodeText would encode the pieces
/// joined: the byte-order mark of UTF-16 comes before the first piece, and a character split between two pieces
/// is encoded whole. Used to write a file line by line without building its whole text first.
class TextEncoder {
public:
    explicit TextEncoder(TextEncoding enc);
    void append(QByteArray& out, QStringView piece);
    // After the last piece: what a character cut at the end of the text still owes.
    void finish(QByteArray& out);

private:
    TextEncoding m_enc;
    bool m_started = false;
    char16_t m_pendingHigh = 0; // a high surrogate half that ended the last piece
    bool m_afterHigh = false;   // UTF-16: the last unit put was a high surrogate half
};

/// Windows-1250 bytes as text, one character per byte (NUL bytes included), by table.
QString decodeWindows1250(QByteArrayView bytes);

/// True when every byte is below 0x80.
bool isAscii(QByteArrayView bytes);

/// True when the bytes are well-formed UTF-8 (an empty array is).
bool isValidUtf8(const QByteArray& bytes);

/// Whether bytes given piece by piece are well-formed UTF-8, as isValidUtf8 of the pieces joined: a character
/// may be cut between two pieces. For a reader that checks a large file without holding it.
class Utf8Check {
public:
    /// False once some sequence is known to be invalid.
    bool add(QByteArrayView piece);
    /// After the last piece: whether all of it was well-formed (a character cut at the end is not).
    bool finish();

private:
    bool m_valid = true;
    QByteArray m_carry; // the start of a character the last piece cut
};

} // namespace trv
