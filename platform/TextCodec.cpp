#include "platform/TextCodec.h"

#include <QHash>
#include <QStringDecoder>
#include <QtGlobal>

#include <array>

namespace trv {

namespace {

const char kWindows1250[] = "windows-1250";

// The 256 characters of Windows-1250, taken once from the converter, so that decoding and encoding
// use one table and every byte survives a round trip (ICU maps the five undefined bytes to C1 controls).
struct Windows1250Table {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

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
        for (int i = 0; i < 256; ++i) {
            toUnicode[size_t(i)] = text.at(i).unicode();
            fromUnicode.insert(text.at(i).unicode(), char(i));
        }
    }
};

const Windows1250Table& table() {
    static const Windows1250Table t;
    return t;
}

QString decodeWindows1250(const QByteArray& bytes) {
    const auto& t = table();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(t.toUnicode[static_cast<unsigned char>(bytes[i])]);
    return out;
}

QByteArray encodeWindows1250(const QString& text) {
    const auto& t = table();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            out.append('?'); // one character outside the BMP, one '?'
            ++i;
            continue;
        }
        const auto it = t.fromUnicode.constFind(c);
        out.append(it != t.fromUnicode.constEnd() ? *it : '?');
    }
    return out;
}

bool isAscii(const QByteArray& bytes) {
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

DecodedText decodeText(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        const QByteArray rest = bytes.mid(bom.size());
        if (isValidUtf8(rest))
            return {QString::fromUtf8(rest), TextEncoding::Utf8};
        return {decodeWindows1250(bytes), TextEncoding::Windows1250};
    }
    // Plain ASCII reads the same either way; it counts as Windows-1250, the encoding of the stored
    // files, so that Czech text added later does not turn a peer's file into UTF-8.
    if (isAscii(bytes))
        return {QString::fromLatin1(bytes), TextEncoding::Windows1250};
    if (isValidUtf8(bytes))
        return {QString::fromUtf8(bytes), TextEncoding::Utf8};
    return {decodeWindows1250(bytes), TextEncoding::Windows1250};
}

QByteArray encodeText(const QString& text, TextEncoding enc) {
    if (enc == TextEncoding::Utf8)
        return text.toUtf8();
    return encodeWindows1250(text);
}

} // namespace trv
