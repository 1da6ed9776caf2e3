#pragma once

#include <QByteArray>
#include <QString>

namespace trv {

/// The two encodings text files of this program come in.
enum class TextEncoding { Utf8, Windows1250 };

/// Text decoded from bytes, with the encoding it was found in (so a write can keep it).
struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Windows1250;
};

/// Decodes file bytes: valid UTF-8 (a leading BOM is dropped) gives Utf8, anything else is read as
/// Windows-1250. Plain ASCII without a BOM reads the same either way and is reported as Windows-1250,
/// the encoding of the stored files. Never fails; NUL and undefined bytes decode to some character, and
/// encoding a Windows-1250 text back gives the original bytes.
DecodedText decodeText(const QByteArray& bytes);

/// Encodes text; characters that Windows-1250 cannot hold become '?'.
QByteArray encodeText(const QString& text, TextEncoding enc);

/// True when the bytes are well-formed UTF-8 (an empty array is).
bool isValidUtf8(const QByteArray& bytes);

} // namespace trv
