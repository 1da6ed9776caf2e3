#include "core/StatementLine.h"

#include "platform/TextCodec.h"
#include "platform/TextFiles.h"
#include "testsupport/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;
namespace fs = std::filesystem;

namespace {

QByteArray utf16(const QString& text, bool little) {
    return encodeText(text, little ? TextEncoding::Utf16LE : TextEncoding::Utf16BE);
}

// A statement file read a piece at a time gives the text of the whole file's reading, in pieces of whole lines,
// whatever the encoding, the size of the pieces and where they cut the lines and characters.
TEST(StatementReadingTest, PiecesOfWholeLinesGiveTheTextOfTheWholeFile) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const fs::path file = fs::path(tmp.path().toStdString()) / "150110_101_OP1_1.vyc";
    const QString czech = QStringLiteral("150110;101;1;1234567890;10,50;Šárka Řeřichová\r\n");
    const QString lines = QStringLiteral("a;b\r\n") + czech + QStringLiteral("c;d\nlast;č");
    QByteArray lone16("\xFF\xFE"
                      "A\0\r\0\n\0\x42\xDC"
                      "B\0\x3D\xD8\n\0\x41",
                      17); // lone halves, odd byte
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray()},
        {"ASCII", QByteArray("a;b\r\nc;d\r\n")},
        {"Windows-1250", encodeText(lines, TextEncoding::Windows1250)},
        {"UTF-8", lines.toUtf8()},
        {"UTF-8 with its mark, a second mark in the text", "\xEF\xBB\xBF\xEF\xBB\xBF" + lines.toUtf8()},
        {"a UTF-8 mark before Windows-1250", "\xEF\xBB\xBF" + encodeText(lines, TextEncoding::Windows1250)},
        {"UTF-8 with one Windows-1250 byte at the end", lines.toUtf8() + "\r\n\xE8"},
        {"UTF-8 cut in its last character", lines.toUtf8() + "\r\n\xC5"},
        {"UTF-16 LE", utf16(lines, true)},
        {"UTF-16 BE", utf16(lines, false)},
        {"UTF-16 with lone surrogate halves and an odd byte", lone16},
        {"one line longer than the pieces", QByteArray(300, 'x') + "\r\n" + QByteArray(5, 'y')},
        {"no line end, one character", QByteArray("\xE8")},
        {"lone CR line ends, CR LF and LF among them", QByteArray("a;b\rc;d\r\ne;f\r\rg\nh\r")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeFile(file, c.bytes);
        const auto whole = StatementLine::readUtf8(file);
        ASSERT_TRUE(whole.ok());
        for (const qsizetype size :
             {qsizetype(1), qsizetype(5), qsizetype(6), qsizetype(7), qsizetype(64), StatementLine::kPieceSize}) {
            SCOPED_TRACE(size);
            QByteArray joined;
            bool wholeLines = true;
            const Status read = StatementLine::forEachPiece(
                file,
                [&](std::string_view piece) {
                    // Every piece but the last ends a line, and never between the CR and the LF of one line end.
                    wholeLines = wholeLines && (joined.isEmpty() || joined.endsWith('\n') ||
                                                (joined.endsWith('\r') && !piece.starts_with('\n')));
                    joined.append(piece.data(), qsizetype(piece.size()));
                    return true;
                },
                size);
            ASSERT_TRUE(read.ok()) << read.message().toStdString();
            EXPECT_EQ(joined.toHex(), whole.value().toHex());
            EXPECT_TRUE(wholeLines);
            std::vector<std::string> seen;
            ASSERT_TRUE(StatementLine::forEachLineOf(
                            file, [&](std::string_view l) { seen.emplace_back(l); }, {}, size)
                            .ok());
            std::vector<std::string> expected;
            for (const auto l :
                 StatementLine::lines(std::string_view(whole.value().constData(), size_t(whole.value().size()))))
                expected.emplace_back(l);
            EXPECT_EQ(seen, expected);
        }
    }

    // The encoding is that of the whole file: UTF-8 letters in the first piece, a Windows-1250 byte far past it.
    QByteArray big;
    while (big.size() <= 2 * StatementLine::kPieceSize)
        big += czech.toUtf8();
    big += "\xE8\r\n";
    test::writeFile(file, big);
    QByteArray first;
    ASSERT_TRUE(StatementLine::forEachPiece(file, [&](std::string_view piece) {
                    first = QByteArray(piece.data(), qsizetype(piece.size()));
                    return false; // the first piece is enough
                }).ok());
    EXPECT_TRUE(first.startsWith(decodeWindows1250(czech.toUtf8()).toUtf8()));
    QByteArray joined;
    ASSERT_TRUE(StatementLine::forEachPiece(file, [&](std::string_view piece) {
                    joined.append(piece.data(), qsizetype(piece.size()));
                    return true;
                }).ok());
    EXPECT_EQ(joined, StatementLine::readUtf8(file).value());

    // A file that cannot be read is named.
    const auto missing = StatementLine::forEachPiece(fs::path(tmp.path().toStdString()) / "chybí.vyc",
                                                     [](std::string_view) { return true; });
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.message().contains(QStringLiteral("chybí.vyc"))) << missing.message().toStdString();
}

// CR LF, LF and a lone CR each end a record, of a text and of a file read in pieces however small, in every
// encoding: a CR LF cut between two pieces is one line end, and no empty line stands between its CR and its LF.
TEST(StatementReadingTest, LoneCrCrLfAndLfEachEndALine) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const fs::path file = fs::path(tmp.path().toStdString()) / "150110_101_OP1_1.vyc";
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a;1\rb;2\rc;3\rd;4\re;5\r", {"a;1", "b;2", "c;3", "d;4", "e;5"}},
        {"a;1\rb;2\rc;3", {"a;1", "b;2", "c;3"}},
        {"a;1\r\nb;2\r\nc;3\r\n", {"a;1", "b;2", "c;3"}},
        {"a;1\nb;2\n", {"a;1", "b;2"}},
        {"a\r\rb\n\nc\r\n\r\nd", {"a", "", "b", "", "c", "", "d"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r", {""}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QByteArray(c.text).toHex().toStdString());
        std::vector<std::string> split;
        for (const auto l : StatementLine::lines(c.text))
            split.emplace_back(l);
        EXPECT_EQ(split, c.lines);
        std::vector<std::string> decoded;
        StatementLine::forEachLine(QStringView(QString::fromUtf8(c.text)),
                                   [&](QStringView l) { decoded.push_back(l.toString().toStdString()); });
        EXPECT_EQ(decoded, c.lines);

        // With "á" for "a" the file is Windows-1250 (converted piece by piece) or UTF-16.
        const auto accented = [](const std::string& s) { return QString::fromStdString(s).replace(u'a', QChar(0xE1)); };
        std::vector<std::string> accentedLines;
        for (const auto& l : c.lines)
            accentedLines.push_back(accented(l).toStdString());
        struct Encoded {
            const char* name;
            QByteArray bytes;
            const std::vector<std::string>& lines;
        };
        const Encoded encodings[] = {
            {"ASCII", QByteArray(c.text), c.lines},
            {"Windows-1250", encodeText(accented(c.text), TextEncoding::Windows1250), accentedLines},
            {"UTF-16 LE", utf16(accented(c.text), true), accentedLines},
            {"UTF-16 BE", utf16(accented(c.text), false), accentedLines},
        };
        for (const Encoded& e : encodings) {
            SCOPED_TRACE(e.name);
            test::writeFile(file, e.bytes);
            for (const qsizetype size : {qsizetype(4), qsizetype(5), qsizetype(6), qsizetype(8), qsizetype(64)}) {
                SCOPED_TRACE(size);
                std::vector<std::string> read;
                ASSERT_TRUE(StatementLine::forEachLineOf(
                                file, [&](std::string_view l) { read.emplace_back(l); }, {}, size)
                                .ok());
                EXPECT_EQ(read, e.lines);
                if (std::string_view(e.name) != "ASCII")
                    continue;
                // Only about a piece is held at a time: no piece is longer than the pieces read or a line with its
                // end.
                qsizetype longest = 0;
                ASSERT_TRUE(StatementLine::forEachPiece(
                                file,
                                [&](std::string_view piece) {
                                    longest = std::max(longest, qsizetype(piece.size()));
                                    return true;
                                },
                                size)
                                .ok());
                EXPECT_LE(longest, std::max(size, qsizetype(5)));
            }
        }
    }
}

} // namespace
