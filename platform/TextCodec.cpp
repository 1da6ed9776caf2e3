#include "platform/TextCodec.h"

#include <cstring>

#include <QStringDecoder>
#include <QtGlobal>

#include <array>

#include <algorithm>

namespace trv {

namespace {

const char kWindows1250[] = "windows-1250";

// The 256 characters of Windows-1250, taken once from the converter, so that decoding and encoding
// use one table and every byte survives a round trip (ICU maps the five undefined bytes to C1 controls).
struct Windows1250Table {
    std::array<char16_t, 256> toUnicode{};
    // Indexed by UTF-16 code unit; '?' where Windows-1250 has no byte for the character (the byte of '?'
    // itself is '?', so no separate "missing" mark is needed).
    std::array<char, 0x10000> fromUnicode;

    Windows1250Table() {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QStringDecoder decoder(kWindows1250, QStringDecoder::Flag::Stateless);
        QString text;
        if (decoder.isValid())
            text = decoder.decode(all);
        if (text.size() != 256) {
            // A Qt without ICU has no Windows-1250: fall back to Latin-1 so bytes still round-trip.
            qWarning("Windows-1250 converter unavailable; text files are read as Latin-1");
            text = QString::fromLatin1(all);
        }
        fromUnicode.fill('?');
        for (int i = 0; i < 256; ++i) {
            toUnicode[size_t(i)] = text.at(i).unicode();
            fromUnicode[text.at(i).unicode()] = char(i);
        }
    }
};

const Windows1250Table& table() {
    static const Windows1250Table t;
    return t;
}

} // namespace

QString decodeWindows1250(QByteArrayView bytes) {
    // Nearly every line of the program's files is plain ASCII, which reads the same byte for byte.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    const auto& t = table();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(t.toUnicode[static_cast<unsigned char>(bytes[i])]);
    return out;
}

namespace {

QByteArray encodeWindows1250(const QString& text) {
    const auto& t = table();
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    QByteArray out(n, Qt::Uninitialized);
    char* dst = out.data();
    qsizetype written = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]))
            ++i; // one character outside the BMP, one '?' (the table gives '?' for the high half)
        dst[written++] = t.fromUnicode[c];
    }
    out.truncate(written);
    return out;
}

// A UTF-16 file of odd length: its last byte is no character. It is read as a lone low surrogate U+DC00 + byte
// (shown as an unknown character) and written back as that byte, so a file saved unchanged keeps every byte.
constexpr char16_t kOddByteMark = 0xDC00;

bool isOddByteMark(QChar last, QChar before) {
    return (last.unicode() & 0xFF00) == kOddByteMark && !before.isHighSurrogate();
}

QByteArray encodeUtf16(const QString& text, TextEncoding enc) {
    const bool little = enc == TextEncoding::Utf16LE;
    QByteArray out;
    out.reserve(2 * (text.size() + 1));
    const auto put = [&](char16_t c) {
        const char low = char(c & 0xFF);
        const char high = char(c >> 8);
        out.append(little ? low : high);
        out.append(little ? high : low);
    };
    put(0xFEFF);
    qsizetype n = text.size();
    // The odd last byte of a file cut in a character, kept by the decoder as a lone low surrogate, is written back
    // as the one byte it was.
    const bool oddByte = n > 0 && isOddByteMark(text.at(n - 1), n > 1 ? text.at(n - 2) : QChar());
    if (oddByte)
        --n;
    for (qsizetype i = 0; i < n; ++i)
        put(text.at(i).unicode());
    if (oddByte)
        out.append(char(text.at(n).unicode() & 0xFF));
    return out;
}

QString decodeUtf16(QByteArrayView bytes, bool little) {
    QString out;
    out.reserve(bytes.size() / 2 + 1);
    qsizetype i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        out.append(QChar(char16_t(little ? (a | b << 8) : (b | a << 8))));
    }
    if (i < bytes.size()) // half a character at the end of a cut file: kept, so that a write gives the byte back
        out.append(QChar(char16_t(kOddByteMark | static_cast<unsigned char>(bytes[i]))));
    return out;
}

} // namespace

bool isAscii(QByteArrayView bytes) {
    // Eight bytes at a time: every file the program reads is checked whole before it is decoded.
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    quint64 high = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, p + i, sizeof word);
        high |= word;
    }
    for (; i < n; ++i)
        high |= static_cast<unsigned char>(p[i]);
    return (high & 0x8080808080808080ull) == 0;
}

bool isValidUtf8(const QByteArray& bytes) {
    // A piece at a time, each cut before a byte that starts a character, so that a large file is checked without
    // a decoded copy of it: whether a sequence is well-formed never depends on the bytes of another character.
    constexpr qsizetype kPiece = 16 * 1024;
    const auto isContinuation = [&](qsizetype i) { return (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80; };
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype to = std::min(bytes.size(), from + kPiece);
        for (int back = 0; back < 3 && to < bytes.size() && to > from + 1 && isContinuation(to); ++back)
            --to;
        const QString ignored = decoder.decode(QByteArrayView(bytes).sliced(from, to - from));
        if (decoder.hasError())
            return false;
        from = to;
    }
    return true;
}

FoundEncoding findEncoding(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    // Notepad's "Unicode" files: only the byte-order mark tells them, and no Windows-1250 text starts with
    // "˙ţ" or "ţ˙".
    if (bytes.startsWith("\xFF\xFE"))
        return {TextEncoding::Utf16LE, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return {TextEncoding::Utf16BE, 2};
    if (bytes.startsWith(bom)) {
        if (isValidUtf8(QByteArray::fromRawData(bytes.constData() + bom.size(), bytes.size() - bom.size())))
            return {TextEncoding::Utf8, bom.size()};
        return {TextEncoding::Windows1250, 0};
    }
    // Plain ASCII reads the same either way; it counts as Windows-1250, the encoding of the stored
    // files, so that Czech text added later does not turn a peer's file into UTF-8.
    if (isAscii(bytes) || !isValidUtf8(bytes))
        return {TextEncoding::Windows1250, 0};
    return {TextEncoding::Utf8, 0};
}

DecodedText decodeText(const QByteArray& bytes) {
    const FoundEncoding found = findEncoding(bytes);
    const QByteArrayView body = QByteArrayView(bytes).sliced(found.bomSize);
    switch (found.encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return {decodeUtf16(body, found.encoding == TextEncoding::Utf16LE), found.encoding};
    case TextEncoding::Utf8: {
        // Only the first mark is the file's; a second one is text and must survive a write.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return {decoder.decode(body), TextEncoding::Utf8};
    }
    case TextEncoding::Windows1250:
        break;
    }
    return {decodeWindows1250(bytes), TextEncoding::Windows1250};
}

TextEncoder::TextEncoder(TextEncoding enc)
    : m_enc(enc) {}

void TextEncoder::append(QByteArray& out, QStringView piece) {
    const char16_t* src = reinterpret_cast<const char16_t*>(piece.utf16());
    const qsizetype n = piece.size();
    switch (m_enc) {
    case TextEncoding::Utf8: {
        // As QString::toUtf8 encodes: a character outside the BMP in four bytes, a lone surrogate half as '?'.
        qsizetype at = out.size();
        out.resize(at + 3 * n + 4);
        char* dst = out.data();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = src[i];
            if (m_pendingHigh) {
                const char16_t high = m_pendingHigh;
                m_pendingHigh = 0;
                if (QChar::isLowSurrogate(c)) {
                    const char32_t u = QChar::surrogateToUcs4(high, c);
                    dst[at++] = char(0xF0 | (u >> 18));
                    dst[at++] = char(0x80 | ((u >> 12) & 0x3F));
                    dst[at++] = char(0x80 | ((u >> 6) & 0x3F));
                    dst[at++] = char(0x80 | (u & 0x3F));
                    continue;
                }
                dst[at++] = '?';
            }
            if (c < 0x80) {
                dst[at++] = char(c);
            } else if (c < 0x800) {
                dst[at++] = char(0xC0 | (c >> 6));
                dst[at++] = char(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c)) {
                m_pendingHigh = c;
            } else if (QChar::isLowSurrogate(c)) {
                dst[at++] = '?';
            } else {
                dst[at++] = char(0xE0 | (c >> 12));
                dst[at++] = char(0x80 | ((c >> 6) & 0x3F));
                dst[at++] = char(0x80 | (c & 0x3F));
            }
        }
        out.resize(at);
        return;
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool little = m_enc == TextEncoding::Utf16LE;
        qsizetype at = out.size();
        out.resize(at + 2 * (n + (m_started ? 0 : 1)));
        char* dst = out.data();
        const auto put = [&](char16_t c) {
            const char low = char(c & 0xFF);
            const char high = char(c >> 8);
            dst[at++] = little ? low : high;
            dst[at++] = little ? high : low;
        };
        if (!m_started)
            put(0xFEFF);
        m_started = true;
        for (qsizetype i = 0; i < n; ++i)
            put(src[i]);
        return;
    }
    case TextEncoding::Windows1250:
        break;
    }
    qsizetype at = out.size();
    out.resize(at + n);
    char* dst = out.data();
    const auto& t = table();
    qsizetype i = 0;
    // The low half of a character whose high half ended the last piece: that character is already its '?'.
    if (m_pendingHigh && n > 0 && QChar::isLowSurrogate(src[0]))
        i = 1;
    m_pendingHigh = 0;
    for (; i < n; ++i) {
        // Nearly every line of the program's files is plain ASCII, and a line with a Czech name in it mostly so:
        // runs of four ASCII characters are narrowed without the table.
        while (i + 4 <= n) {
            char16_t four[4];
            std::memcpy(four, src + i, sizeof four);
            if ((four[0] | four[1] | four[2] | four[3]) >= 0x80)
                break;
            const char bytes[4] = {char(four[0]), char(four[1]), char(four[2]), char(four[3])};
            std::memcpy(dst + at, bytes, sizeof bytes);
            at += 4;
            i += 4;
        }
        if (i == n)
            break;
        const char16_t c = src[i];
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < n && QChar::isLowSurrogate(src[i + 1]))
                ++i;
            else if (i + 1 == n)
                m_pendingHigh = c;
        }
        dst[at++] = t.fromUnicode[c];
    }
    out.resize(at);
}

void TextEncoder::finish(QByteArray& out) {
    // A high surrogate half that ended the text: alone, so '?' (in Windows-1250 it is written already).
    if (m_enc == TextEncoding::Utf8 && m_pendingHigh)
        out.append('?');
    m_pendingHigh = 0;
}

QByteArray encodeText(const QString& text, TextEncoding enc) {
    switch (enc) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return encodeUtf16(text, enc);
    case TextEncoding::Windows1250:
        break;
    }
    return encodeWindows1250(text);
}

} // namespace trv
