#include "platform/TextCodec.h"

#include "platform/IniDocument.h"
#include "platform/tests/TempFolderTest.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <optional>

using namespace trv;

namespace {

QByteArray bytes(const char* s, qsizetype n = -1) {
    return n < 0 ? QByteArray(s) : QByteArray(s, n);
}

struct DecodeCase {
    const char* name;
    QByteArray input;
    QString text;
    TextEncoding encoding;
};

} // namespace

TEST(TextCodec, DecodesUtf8OrWindows1250) {
    const std::vector<DecodeCase> cases = {
        {"utf-8", bytes("P\xC5\x99\xC3\xADjem"), QString::fromUtf8("Příjem"), TextEncoding::Utf8},
        {"windows-1250", bytes("P\xF8\xEDjem"), QString::fromUtf8("Příjem"), TextEncoding::Windows1250},
        {"utf-8 with BOM",
         bytes("\xEF\xBB\xBF\xC5\xA1"
               "ek"),
         QString::fromUtf8("šek"), TextEncoding::Utf8},
        {"BOM alone", bytes("\xEF\xBB\xBF"), QString(), TextEncoding::Utf8},
        {"plain ASCII", bytes("[General]\r\nLang=langCS.ini\r\n"), QStringLiteral("[General]\r\nLang=langCS.ini\r\n"),
         TextEncoding::Windows1250},
        {"empty", QByteArray(), QString(), TextEncoding::Windows1250},
        {"cut UTF-8 sequence at the end", bytes("P\xC5"), QString::fromUtf8("PĹ"), TextEncoding::Windows1250},
        {"overlong UTF-8", bytes("a\xC0\xAF"), QString::fromUtf8("aŔŻ"), TextEncoding::Windows1250},
        {"two BOMs: the second is text", bytes("\xEF\xBB\xBF\xEF\xBB\xBF[Data]"), QStringLiteral("\uFEFF[Data]"),
         TextEncoding::Utf8},
        {"UTF-16 little-endian", bytes("\xFF\xFE[\0D\0\x59\x01]\0\r\0\n\0", 14), QString::fromUtf8("[Dř]\r\n"),
         TextEncoding::Utf16LE},
        {"UTF-16 big-endian", bytes("\xFE\xFF\0[\0D\x01\x59\0]", 10), QString::fromUtf8("[Dř]"), TextEncoding::Utf16BE},
        {"UTF-16 cut in a character",
         bytes("\xFF\xFE"
               "a\0b",
               5),
         QString(QStringLiteral("a")) + QChar(char16_t(0xDC62)), TextEncoding::Utf16LE},
        {"BOM then Windows-1250", bytes("\xEF\xBB\xBF\xE8"), QString::fromUtf8("ď»żč"), TextEncoding::Windows1250},
        {"NUL bytes", bytes("a\0b", 3), QString(QStringLiteral("a")) + QChar(0) + u'b', TextEncoding::Windows1250},
        {"NUL with Czech", bytes("\0\x9E", 2), QString(QChar(0)) + QString::fromUtf8("ž"), TextEncoding::Windows1250},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedText d = decodeText(c.input);
        EXPECT_EQ(d.text, c.text);
        EXPECT_EQ(d.encoding, c.encoding);
    }
}

TEST(TextCodec, EveryWindows1250ByteSurvivesARoundTrip) {
    QByteArray all;
    for (int i = 1; i < 256; ++i)
        all.append(char(i));
    all.append('\xF8'); // never valid UTF-8, so the whole array is Windows-1250
    const DecodedText d = decodeText(all);
    ASSERT_EQ(d.encoding, TextEncoding::Windows1250);
    EXPECT_EQ(d.text.size(), all.size());
    EXPECT_EQ(encodeText(d.text, TextEncoding::Windows1250), all);
}

TEST(TextCodec, EncodesCzechLettersAsWindows1250) {
    const QString text = QString::fromUtf8("Příliš žluťoučký kůň Šárka Ďábel");
    const QByteArray expected =
        bytes("P\xF8\xEDli\x9A \x9Elu\x9Do\x75\xE8k\xFD k\xF9\xF2 \x8A\xE1rka \xCF\xE1\x62\x65l");
    EXPECT_EQ(encodeText(text, TextEncoding::Windows1250), expected);
    EXPECT_EQ(encodeText(text, TextEncoding::Utf8), text.toUtf8());
}

TEST(TextCodec, UnmappableCharactersBecomeQuestionMarks) {
    // The euro sign exists in Windows-1250; a CJK character and an emoji (two UTF-16 units) do not.
    const QString text = QString::fromUtf8("a€中b😀z");
    EXPECT_EQ(encodeText(text, TextEncoding::Windows1250), bytes("a\x80?b?z"));
    EXPECT_EQ(decodeText(encodeText(text, TextEncoding::Utf8)).text, text);
}

TEST(TextCodec, UnicodeFilesAreWrittenBackInTheirOwnEncoding) {
    const QString text = QString::fromUtf8("[Data]\r\nDir=C:\\Stravenky\\Příjem\r\n");
    for (const TextEncoding enc : {TextEncoding::Utf16LE, TextEncoding::Utf16BE, TextEncoding::Utf8}) {
        SCOPED_TRACE(static_cast<int>(enc));
        const DecodedText d = decodeText(encodeText(text, enc));
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(d.encoding, enc == TextEncoding::Utf8 ? TextEncoding::Utf8 : enc);
    }
    EXPECT_TRUE(encodeText(QStringLiteral("a"), TextEncoding::Utf16LE).startsWith("\xFF\xFE"));
}

// A UTF-16 file loaded and saved unchanged keeps every byte, however it ends: half a unit, a surrogate half
// without its partner (a low one with any value, the values an odd byte is kept as included), or both. Saved
// whole or line by line, in either byte order.
TEST(TextCodec, AMalformedUtf16FileKeepsEveryByte) {
    struct Ending {
        const char* name;
        std::vector<char16_t> units; // after "A"
        std::optional<char> oddByte;
    };
    const std::vector<Ending> endings = {
        {"odd byte", {}, '\x42'},
        {"odd byte 0xDC", {}, '\xDC'},
        {"odd NUL byte", {}, '\0'},
        {"lone high surrogate", {0xD83D}, std::nullopt},
        {"lone low surrogate in the odd-byte range", {0xDC42}, std::nullopt},
        {"lone low surrogate U+DC00", {0xDC00}, std::nullopt},
        {"lone low surrogate U+DCFF", {0xDCFF}, std::nullopt},
        {"lone low surrogate above the odd-byte range", {0xDFFF}, std::nullopt},
        {"lone high surrogate, odd byte", {0xD83D}, '\x3D'},
        {"lone low surrogate, odd byte", {0xDC42}, '\xDC'},
        {"low before high", {0xDE00, 0xD83D}, std::nullopt},
        {"two lone highs", {0xD83D, 0xD83D}, std::nullopt},
        {"a pair after a lone low", {0xDC42, 0xD83D, 0xDE00}, std::nullopt},
        {"lone halves before a line end", {0xDC42, 0x000D, 0xD800, 0x000A, 0x0042}, std::nullopt},
    };
    for (const TextEncoding enc : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const bool little = enc == TextEncoding::Utf16LE;
        QStringList seen;
        for (const Ending& e : endings) {
            SCOPED_TRACE(std::string(e.name) + (little ? " LE" : " BE"));
            QByteArray file = little ? bytes("\xFF\xFE" "A\0", 4) : bytes("\xFE\xFF\0A", 4);
            for (const char16_t u : e.units) {
                const char lo = char(u & 0xFF), hi = char(u >> 8);
                file.append(little ? lo : hi).append(little ? hi : lo);
            }
            if (e.oddByte)
                file.append(*e.oddByte);
            const DecodedText d = decodeText(file);
            ASSERT_EQ(d.encoding, enc);
            EXPECT_EQ(encodeText(d.text, d.encoding).toHex(), file.toHex());
            // Line by line as writeLines saves, cut at every place.
            for (qsizetype at = 0; at <= d.text.size(); ++at) {
                QByteArray pieces;
                TextEncoder encoder(enc);
                encoder.append(pieces, QStringView(d.text).first(at));
                encoder.append(pieces, QStringView(d.text).sliced(at));
                encoder.finish(pieces);
                EXPECT_EQ(pieces.toHex(), file.toHex()) << at;
            }
            EXPECT_FALSE(seen.contains(d.text)) << "two files read as one text";
            seen.append(d.text);
        }
    }
    // Well-formed text is read and written as it stands.
    const QString pair = QString::fromUtf8("A\xF0\x9F\x98\x80");
    EXPECT_EQ(decodeText(bytes("\xFE\xFF\0A\xD8\x3D\xDE\x00", 8)).text, pair);
    EXPECT_EQ(encodeText(pair, TextEncoding::Utf16BE), bytes("\xFE\xFF\0A\xD8\x3D\xDE\x00", 8));
    EXPECT_EQ(encodeText(QStringLiteral("A"), TextEncoding::Utf16BE), bytes("\xFE\xFF\0A", 4));
}

namespace {
using ProfileRoundTrip = test::TempFolderTest;
} // namespace

// A file written line by line gives the bytes of its whole text encoded at once, whatever the lines hold: characters
// outside the BMP, lone surrogate halves (at a line's end too, where the line end follows), letters no code page has.
// A large file is checked a piece at a time: every sequence, well-formed or not, placed across the place where one
// piece ends must be judged as the whole decoder judges it.
TEST(TextCodec, Utf8IsCheckedAcrossPiecesAsAWhole) {
    const QList<QByteArray> sequences = {
        "\xC5\xA1",         "\xE2\x82\xAC",     "\xF0\x9F\x98\x80", "\xEF\xBF\xBF",     // well-formed
        "\xC5",             "\xE2\x82",         "\xF0\x9F\x98",     "\x82",              // cut, stray
        "\xC0\xAF",         "\xED\xA0\x80",     "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", // overlong, surrogate, too large
        "\x80\x80\x80\x80", "\xC5\xA1\xA1"};
    const auto wholeVerdict = [](const QByteArray& b) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString ignored = decoder.decode(b);
        return !decoder.hasError();
    };
    constexpr qsizetype kPiece = 16 * 1024;
    for (const QByteArray& sequence : sequences) {
        for (qsizetype shift = -4; shift <= 4; ++shift) {
            QByteArray b(kPiece + shift, 'a');
            b += sequence;
            b += QByteArray(40, 'b');
            EXPECT_EQ(isValidUtf8(b), wholeVerdict(b)) << sequence.toHex().constData() << " at " << shift;
            b.chop(40); // the sequence at the very end of the file
            EXPECT_EQ(isValidUtf8(b), wholeVerdict(b)) << sequence.toHex().constData() << " ends at " << shift;
        }
        // Given in pieces, cut anywhere in or around the sequence, one byte pieces included.
        const QByteArray b = QByteArray("ab") + sequence + sequence + QByteArray("cd");
        for (qsizetype first = 0; first <= b.size(); ++first) {
            for (qsizetype second = first; second <= b.size(); ++second) {
                Utf8Check check;
                check.add(QByteArrayView(b).first(first));
                for (qsizetype i = first; i < second; ++i)
                    check.add(QByteArrayView(b).sliced(i, 1));
                check.add(QByteArrayView(b).sliced(second));
                EXPECT_EQ(check.finish(), wholeVerdict(b))
                    << sequence.toHex().constData() << " cut at " << first << ", " << second;
            }
        }
    }
}

// The check reads words of eight bytes: a high byte is found wherever it lies, in a word or in the tail after them.
TEST(TextCodec, AHighByteAnywhereIsNoAscii) {
    EXPECT_TRUE(isAscii(QByteArrayView()));
    for (qsizetype size = 1; size <= 19; ++size) {
        const QByteArray ascii(size, '\x7F');
        EXPECT_TRUE(isAscii(ascii)) << size;
        for (qsizetype at = 0; at < size; ++at) {
            QByteArray b = ascii;
            b[at] = '\x80';
            EXPECT_FALSE(isAscii(b)) << size << " at " << at;
            b[at] = '\xFF';
            EXPECT_FALSE(isAscii(QByteArrayView(b).sliced(at))) << size << " from " << at;
        }
    }
}

// The encoder narrows plain ASCII four characters at a time: a Czech letter anywhere in a line, in a group of four
// or in the tail after them, still goes through the table.
TEST(TextCodec, ALetterOutsideAsciiAnywhereInALineIsEncodedByTheTable) {
    for (qsizetype size = 1; size <= 11; ++size) {
        for (qsizetype at = 0; at < size; ++at) {
            QString line(size, u'a');
            line[at] = QChar(0x0161); // š, 0x9A in Windows-1250
            QByteArray bytes;
            TextEncoder encoder(TextEncoding::Windows1250);
            encoder.append(bytes, line);
            encoder.finish(bytes);
            QByteArray expected(size, 'a');
            expected[at] = '\x9A';
            EXPECT_EQ(bytes.toHex(), expected.toHex()) << size << " at " << at;
        }
    }
}

TEST(TextCodec, EncodingPieceByPieceGivesTheBytesOfTheWholeText) {
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units
    const QStringList lines = {QString::fromUtf8("Příjem šeků"), pair + QStringLiteral("x") + pair,
                               QString(QChar(0xD83D)), QStringLiteral("a") + QChar(0xDE00) + QStringLiteral("b"),
                               QString(), QString::fromUtf8("€ 中文 ŘŽ")};
    for (const TextEncoding enc :
         {TextEncoding::Windows1250, TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        QString whole;
        QByteArray pieces;
        TextEncoder encoder(enc);
        encoder.append(pieces, QStringView());
        for (const QString& line : lines) {
            whole += line + QStringLiteral("\r\n");
            encoder.append(pieces, line);
            encoder.append(pieces, QStringLiteral("\r\n"));
        }
        encoder.finish(pieces);
        EXPECT_EQ(pieces.toHex(), encodeText(whole, enc).toHex()) << int(enc);
        // A character split between two pieces is still one character.
        QByteArray split;
        TextEncoder splitEncoder(enc);
        splitEncoder.append(split, QStringView(pair).first(1));
        splitEncoder.append(split, QStringView(pair).sliced(1));
        splitEncoder.finish(split);
        EXPECT_EQ(split.toHex(), encodeText(pair, enc).toHex()) << int(enc);
        // A text ending in half a character.
        QByteArray cut;
        TextEncoder cutEncoder(enc);
        cutEncoder.append(cut, QStringLiteral("a") + QChar(0xD83D));
        cutEncoder.finish(cut);
        EXPECT_EQ(cut.toHex(), encodeText(QStringLiteral("a") + QChar(0xD83D), enc).toHex()) << int(enc);
    }
}

TEST_F(ProfileRoundTrip, EveryByteButTheFirstMarkSurvivesAWrite) {
    struct Case {
        const char* name;
        QByteArray before;
        QByteArray after;
    };
    const std::vector<Case> cases = {
        {"two UTF-8 marks", bytes("\xEF\xBB\xBF\xEF\xBB\xBF[Data]\r\nDir=a\r\n"),
         bytes("\xEF\xBB\xBF\xEF\xBB\xBF[Data]\r\nDir=a\r\n[User]\r\nMode=STD\r\n")},
        {"UTF-16 little-endian", encodeText(QStringLiteral("[User]\r\nMode=X\r\n"), TextEncoding::Utf16LE),
         encodeText(QStringLiteral("[User]\r\nMode=STD\r\n"), TextEncoding::Utf16LE)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = writeBytes("TRV7300.ini", c.before);
        auto doc = IniDocument::load(file);
        ASSERT_TRUE(doc.ok());
        doc.value().setValue(QStringLiteral("User"), QStringLiteral("Mode"), QStringLiteral("STD"));
        ASSERT_TRUE(doc.value().save(file).ok());
        EXPECT_EQ(bytesOf(file), c.after);
    }
}
