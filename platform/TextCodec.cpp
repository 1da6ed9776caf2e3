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

// UTF-16 bytes that are no character (a surrogate half without its partner, the odd last byte of a file cut in a
// character) are kept in the text one byte per lone low surrogate U+DC00 + byte (shown as unknown characters), and
// written back as those bytes, so that a file saved unchanged keeps every byte. Such a unit read from the file is
// itself a lone half, so it is kept the same way and cannot be taken for another.
constexpr char16_t kByteMark = 0xDC00;

bool isByteMark(char16_t c) {
    return (c & 0xFF00) == kByteMark;
}

// Puts UTF-16 units; a byte mark that follows no high surrogate half goes out as its byte.
void putUtf16(QByteArray& out, const char16_t* src, qsizetype n, bool little, bool& afterHigh) {
    qsizetype at = out.size();
    out.resize(at + 2 * n);
    char* dst = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (isByteMark(c) && !afterHigh) {
            dst[at++] = char(c & 0xFF);
        } else {
            const char low = char(c & 0xFF);
            const char high = char(c >> 8);
            dst[at++] = little ? low : high;
            dst[at++] = little ? high : low;
        }
        afterHigh = QChar::isHighSurrogate(c);
    }
    out.resize(at);
}

QByteArray encodeUtf16(const QString& text, TextEncoding enc) {
    QByteArray out;
    out.reserve(2 * (text.size() + 1));
    TextEncoder encoder(enc);
    encoder.append(out, text);
    encoder.finish(out);
    return out;
}

QString decodeUtf16(QByteArrayView bytes, bool little) {
    const qsizetype n = bytes.size();
    const auto unitAt = [&](qsizetype i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return char16_t(little ? (a | b << 8) : (b | a << 8));
    };
    const auto keepBytes = [&](QString& out, qsizetype from, qsizetype count) {
        for (qsizetype k = from; k < from + count; ++k)
            out.append(QChar(char16_t(kByteMark | static_cast<unsigned char>(bytes[k]))));
    };
    QString out;
    out.reserve(n / 2 + 1);
    qsizetype i = 0;
    for (; i + 1 < n; i += 2) {
        const char16_t c = unitAt(i);
        if (!QChar::isSurrogate(c)) {
            out.append(QChar(c));
        } else if (QChar::isHighSurrogate(c) && i + 3 < n && QChar::isLowSurrogate(unitAt(i + 2))) {
            out.append(QChar(c));
            out.append(QChar(unitAt(i + 2)));
            i += 2;
        } else {
            keepBytes(out, i, 2);
        }
    }
    keepBytes(out, i, n - i); // half a character at the end of a cut file
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

namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Whether the bytes are well-formed UTF-8, when no character is cut at their end or the cut one is a fault.
bool wellFormed(QByteArrayView bytes) {
    // Checked a piece at a time, each cut before a byte that starts a character, so that a large file is checked
    // without a decoded copy of it: whether a sequence is well-formed never depends on the bytes of another.
    constexpr qsizetype kPiece = 16 * 1024;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype to = std::min(bytes.size(), from + kPiece);
        for (int back = 0; back < 3 && to < bytes.size() && to > from + 1 && isContinuation(bytes[to]); ++back)
            --to;
        const QByteArrayView piece = bytes.sliced(from, to - from);
        if (!isAscii(piece)) {
            const QString ignored = decoder.decode(piece);
            if (decoder.hasError())
                return false;
        }
        from = to;
    }
    return true;
}

} // namespace

bool isValidUtf8(const QByteArray& bytes) {
    return wellFormed(bytes);
}

bool Utf8Check::add(QByteArrayView piece) {
    if (!m_valid)
        return false;
    if (!m_carry.isEmpty()) {
        // The character the last piece cut, with the continuation bytes it still needs by its lead byte.
        const auto lead = static_cast<unsigned char>(m_carry[0]);
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        qsizetype take = 0;
        while (m_carry.size() + take < length && take < piece.size() && isContinuation(piece[take]))
            ++take;
        m_carry.append(piece.first(take));
        piece = piece.sliced(take);
        if (m_carry.size() < length && piece.isEmpty())
            return true; // still cut
        m_valid = wellFormed(m_carry);
        m_carry.clear();
        if (!m_valid)
            return false;
    }
    // A character the piece may cut at its end waits for the next piece: a lead byte among the last four bytes with
    // only continuation bytes after it.
    qsizetype cut = piece.size();
    for (int back = 0; back < 3 && cut > 0 && isContinuation(piece[cut - 1]); ++back)
        --cut;
    if (cut > 0 && static_cast<unsigned char>(piece[cut - 1]) >= 0xC0)
        --cut;
    else
        cut = piece.size();
    m_valid = wellFormed(piece.first(cut));
    if (m_valid)
        m_carry = piece.sliced(cut).toByteArray();
    return m_valid;
}

bool Utf8Check::finish() {
    if (m_valid && !m_carry.isEmpty())
        m_valid = wellFormed(m_carry);
    m_carry.clear();
    return m_valid;
}

FoundEncoding byteOrderMark(QByteArrayView bytes) {
    // Notepad's "Unicode" files: only the byte-order mark tells them, and no Windows-1250 text starts with
    // "˙ţ" or "ţ˙".
    if (bytes.startsWith("\xFF\xFE"))
        return {TextEncoding::Utf16LE, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return {TextEncoding::Utf16BE, 2};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {TextEncoding::Utf8, 3};
    return {TextEncoding::Windows1250, 0};
}

FoundEncoding findEncoding(const QByteArray& bytes) {
    const FoundEncoding mark = byteOrderMark(bytes);
    if (mark.bomSize > 0) {
        if (mark.encoding != TextEncoding::Utf8 ||
            isValidUtf8(QByteArray::fromRawData(bytes.constData() + mark.bomSize, bytes.size() - mark.bomSize)))
            return mark;
        return {TextEncoding::Windows1250, 0};
    }
    // Plain ASCII reads the same either way; it counts as Windows-1250, the encoding of the stored
    // files, so that Czech text added later does not turn a peer's file into UTF-8.
    if (isAscii(bytes) || !isValidUtf8(bytes))
        return {TextEncoding::Windows1250, 0};
    return {TextEncoding::Utf8, 0};
}

QString decodeAs(QByteArrayView body, TextEncoding enc) {
    switch (enc) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return decodeUtf16(body, enc == TextEncoding::Utf16LE);
    case TextEncoding::Utf8: {
        // Only the first mark is the file's; a second one is text and must survive a write.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(body);
    }
    case TextEncoding::Windows1250:
        break;
    }
    return decodeWindows1250(body);
}

DecodedText decodeText(const QByteArray& bytes) {
    const FoundEncoding found = findEncoding(bytes);
    return {decodeAs(QByteArrayView(bytes).sliced(found.bomSize), found.encoding), found.encoding};
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
        if (!m_started) {
            static constexpr char16_t kMark = 0xFEFF;
            bool none = false;
            putUtf16(out, &kMark, 1, little, none);
        }
        m_started = true;
        putUtf16(out, src, n, little, m_afterHigh);
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
