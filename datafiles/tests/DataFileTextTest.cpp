#include "datafiles/DataFileText.h"

#include "datafiles/tests/DataFilesFixture.h"
#include "platform/Progress.h"

#include <QFile>

#include <functional>

using namespace trv;

namespace {

class DataFileTextTest : public test::DataFilesFixture {};

// What the process has read through system calls so far (Linux's own count, page cache included).
qint64 bytesReadByThisProcess() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

struct Case {
    const char* why;
    QByteArray bytes;
    QStringList lines;
    QByteArray afterFirstLineSetToX; // the file written after the first line became "X"
};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace

// What the editor shows of a file, what a save without edits writes (the very bytes read), and what a save after
// an edit writes (the file's encoding and byte-order mark, CR LF between lines, the untouched lines' own bytes).
TEST_F(DataFileTextTest, LinesAsShownAndTheBytesASaveWrites) {
    const QString oddByte(QChar(char16_t(0xDC42)));
    const std::vector<Case> cases{
        {"Windows-1250 with CR LF", "12345678\r\nk\xe8\r\n", {QStringLiteral("12345678"), QStringLiteral("kč"), QString()}, "X\r\nk\xe8\r\n"},
        {"LF and CR LF mixed, no final newline", "11\n22\r\n33", {QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("33")}, "X\r\n22\r\n33"},
        {"a lone CR stays in its line", "1\r2\r\n\r\n", {QStringLiteral("1\r2"), QString(), QString()}, "X\r\n\r\n"},
        {"empty file", "", {QString()}, "X"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" "1\r\n\xC4\x8D", {QStringLiteral("1"), QStringLiteral("č")},
         "\xEF\xBB\xBF" "X\r\n\xC4\x8D"},
        {"UTF-16 BE of odd length", bytes({0xFE, 0xFF, 0x00, 0x41, 0x00, 0x0A, 0x42}), {QStringLiteral("A"), oddByte},
         bytes({0xFE, 0xFF, 0x00, 0x58, 0x00, 0x0D, 0x00, 0x0A, 0x42})},
        {"UTF-16 LE with CR LF", bytes({0xFF, 0xFE, 0x31, 0x00, 0x0D, 0x00, 0x0A, 0x00, 0x0A, 0x01}),
         {QStringLiteral("1"), QStringLiteral("Ċ")}, bytes({0xFF, 0xFE, 0x58, 0x00, 0x0D, 0x00, 0x0A, 0x00, 0x0A, 0x01})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        writeData("150121_001_01_1.txt", c.bytes);
        auto loaded = DataFileText::load(data / "150121_001_01_1.txt");
        ASSERT_TRUE(loaded.ok()) << loaded.message().toStdString();
        DataFileText& text = loaded.value();
        QStringList lines;
        for (qsizetype i = 0; i < text.lineCount(); ++i)
            lines.append(text.line(i));
        EXPECT_EQ(lines, c.lines);

        writeData("150121_001_01_1.txt", "jiny obsah");
        ASSERT_TRUE(text.save(data / "150121_001_01_1.txt").ok());
        EXPECT_EQ(readData("150121_001_01_1.txt").toHex(' '), c.bytes.toHex(' '));

        text.setLine(0, lines.at(0)); // the same text again is no change
        EXPECT_FALSE(text.isModified());
        text.setLine(0, QStringLiteral("X"));
        EXPECT_TRUE(text.isModified());
        ASSERT_TRUE(text.save(data / "150121_001_01_1.txt").ok());
        EXPECT_EQ(readData("150121_001_01_1.txt").toHex(' '), c.afterFirstLineSetToX.toHex(' '));
    }
}

TEST_F(DataFileTextTest, LinesAddedAndRemovedAreWrittenAsTheyStand) {
    writeData("150121_001_01_1.txt", "11111111\r\n22222222\r\n33333333\r\n");
    auto loaded = DataFileText::load(data / "150121_001_01_1.txt");
    ASSERT_TRUE(loaded.ok());
    DataFileText& text = loaded.value();
    text.removeLines(1, 1);
    text.insertLine(0, QStringLiteral("00000000"));
    text.setLine(3, QStringLiteral("44444444"));
    EXPECT_EQ(text.text(), QStringLiteral("00000000\n11111111\n33333333\n44444444"));
    ASSERT_TRUE(text.save(data / "150121_001_01_1.txt").ok());
    EXPECT_EQ(readData("150121_001_01_1.txt"), "00000000\r\n11111111\r\n33333333\r\n44444444");
    text.removeLines(0, text.lineCount());
    EXPECT_EQ(text.lineCount(), 1);
    ASSERT_TRUE(text.save(data / "150121_001_01_1.txt").ok());
    EXPECT_EQ(readData("150121_001_01_1.txt"), "");
}

TEST_F(DataFileTextTest, AMissingFileFailsAndTheOperatorCanCancelALongLoad) {
    const auto missing = DataFileText::load(data / "chybi.txt");
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.message().contains(QStringLiteral("chybi.txt")));

    // 24 MB: a cancel at the first step stops the reading there, long before the end of the file.
    QByteArray big;
    for (int i = 0; i < 2'000'000; ++i)
        big.append("1234567890\r\n");
    writeData("150121_001_01_1.txt", big);
    struct Cancel final : Progress {
        qint64 steps = 0;
        qint64 firstDone = -1;
        qint64 firstTotal = -1;
        bool step(qint64 done, qint64 total) override {
            if (++steps == 1) {
                firstDone = done;
                firstTotal = total;
            }
            return false;
        }
    } cancel;
    const qint64 readBefore = bytesReadByThisProcess();
    const auto cancelled = DataFileText::load(data / "150121_001_01_1.txt", &cancel);
    const qint64 read = bytesReadByThisProcess() - readBefore;
    ASSERT_FALSE(cancelled.ok());
    EXPECT_EQ(cancelled.message(), Progress::cancelledText());
    EXPECT_EQ(cancel.steps, 1);
    EXPECT_EQ(cancel.firstTotal, big.size());
    EXPECT_GT(cancel.firstDone, 0);
    EXPECT_LE(cancel.firstDone, 2 << 20);
    EXPECT_LE(read, 2 << 20) << "bytes read after the cancel";
}

// Changes undone one by one, the last first, bring back each text as it stood before them; with all undone, the
// file is as read, to the byte: nothing to save. A view that follows only the edits the undo announces shows the
// same lines as the text.
TEST_F(DataFileTextTest, UndoneChangesBringBackTheLinesAsRead) {
    const QByteArray read("11\n22\r\n33\r\n\xe8\xe8");
    writeData("150121_001_01_1.txt", read);
    auto loaded = DataFileText::load(data / "150121_001_01_1.txt");
    ASSERT_TRUE(loaded.ok());
    DataFileText& text = loaded.value();
    const auto lines = [&] {
        QStringList out;
        for (qsizetype i = 0; i < text.lineCount(); ++i)
            out.append(text.line(i));
        return out;
    };
    const std::vector<std::pair<const char*, std::function<void()>>> changes{
        {"a line typed", [&] { text.setLine(0, QStringLiteral("X")); }},
        {"the same line typed again", [&] { text.setLine(0, QStringLiteral("Y")); }},
        {"a split",
         [&] {
             text.setLine(1, QStringLiteral("2"));
             text.insertLine(2, QStringLiteral("2"));
         }},
        {"a paste",
         [&] {
             text.insertLines(0, {QStringLiteral("a"), QStringLiteral("b")});
         }},
        {"lines removed", [&] { text.removeLines(1, 3); }},
        {"every line removed", [&] { text.removeLines(0, text.lineCount()); }},
        {"the one line left typed", [&] { text.setLine(0, QStringLiteral("Z")); }},
    };
    std::vector<QStringList> before;
    for (const auto& [why, change] : changes) {
        before.push_back(lines());
        text.startChange();
        change();
        EXPECT_TRUE(text.isModified()) << why;
    }
    EXPECT_EQ(lines(), QStringList{QStringLiteral("Z")});

    QStringList shown = lines();
    for (size_t i = changes.size(); i-- > 0;) {
        SCOPED_TRACE(changes[i].first);
        ASSERT_TRUE(text.canUndo());
        text.undo([&](const DataFileText::Edit& edit, const std::function<void()>& make) {
            if (edit.kind == DataFileText::Edit::Removed)
                shown.remove(edit.row, edit.count);
            make();
            for (qsizetype row = edit.row; edit.kind != DataFileText::Edit::Removed && row < edit.row + edit.count;
                 ++row) {
                if (edit.kind == DataFileText::Edit::Inserted)
                    shown.insert(row, text.line(row));
                else
                    shown[row] = text.line(row);
            }
        });
        EXPECT_EQ(lines(), before[i]);
        EXPECT_EQ(shown, before[i]);
    }
    EXPECT_FALSE(text.canUndo());
    EXPECT_FALSE(text.isModified());
    writeData("150121_001_01_1.txt", "jiny obsah");
    ASSERT_TRUE(text.save(data / "150121_001_01_1.txt").ok());
    EXPECT_EQ(readData("150121_001_01_1.txt").toHex(' '), read.toHex(' '));
}
