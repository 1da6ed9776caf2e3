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
    QByteArray lone16("\xFF\xFE" "A\0\r\0\n\0\x42\xDC" "B\0\x3D\xD8\n\0\x41", 17); // lone halves, odd byte
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeFile(file, c.bytes);
        const auto whole = StatementLine::readUtf8(file);
        ASSERT_TRUE(whole.ok());
        for (const qsizetype size : {qsizetype(1), qsizetype(5), qsizetype(6), qsizetype(7), qsizetype(64),
                                     StatementLine::kPieceSize}) {
            SCOPED_TRACE(size);
            QByteArray joined;
            bool wholeLines = true;
            const Status read = StatementLine::forEachPiece(
                file,
                [&](std::string_view piece) {
                    wholeLines = wholeLines && joined.size() == joined.lastIndexOf('\n') + 1;
                    joined.append(piece.data(), qsizetype(piece.size()));
                    return true;
                },
                size);
            ASSERT_TRUE(read.ok()) << read.message().toStdString();
            EXPECT_EQ(joined.toHex(), whole.value().toHex());
            EXPECT_TRUE(wholeLines);
            std::vector<std::string> seen;
            ASSERT_TRUE(StatementLine::forEachLineOf(file, [&](std::string_view l) { seen.emplace_back(l); }).ok());
            std::vector<std::string> expected;
            for (const auto l : StatementLine::lines(std::string_view(whole.value().constData(),
                                                                      size_t(whole.value().size()))))
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

} // namespace
