#include "platform/TextFiles.h"

#include "platform/tests/TempFolderTest.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace trv;
namespace fs = std::filesystem;

namespace {

class TextFilesTest : public test::TempFolderTest {
protected:
    static QStringList namesOf(const std::vector<fs::path>& paths) {
        QStringList names;
        for (const auto& p : paths)
            names.append(TextFiles::toQString(p.filename()));
        return names;
    }
};

} // namespace

TEST_F(TextFilesTest, ReadLinesEndsALineAtCrLfLfAndALoneCr) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    };
    const QString a = QStringLiteral("a");
    const QString b = QStringLiteral("b");
    const std::vector<Case> cases = {
        {"CR LF", "a\r\nb\r\n", {a, b}},
        {"LF", "a\nb\n", {a, b}},
        {"no final line end", "a\r\nb", {a, b}},
        {"mixed", "a\nb\r\n", {a, b}},
        {"empty lines kept", "a\r\n\r\nb\r\n\r\n", {a, QString(), b, QString()}},
        {"single line end", "\r\n", {QString()}},
        {"empty file", "", {}},
        {"lone CR", "a\rb\r", {a, b}},
        {"lone CR after LF and before CR LF", "a\n\r\rb\r\n", {a, QString(), QString(), b}},
        {"Windows-1250", "P\xF8\xEDjem\r\n", {QString::fromUtf8("Příjem")}},
        {"UTF-8", "P\xC5\x99\xC3\xADjem\n", {QString::fromUtf8("Příjem")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto lines = TextFiles::readLines(writeBytes("lines.txt", c.bytes));
        ASSERT_TRUE(lines.ok()) << lines.message().toStdString();
        EXPECT_EQ(lines.value(), c.lines);
    }
}

TEST_F(TextFilesTest, ReadingAMissingFileOrAFolderFailsNamingIt) {
    const fs::path missing = path("missing.txt");
    const auto r = TextFiles::readLines(missing);
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.message().startsWith(QStringLiteral("Nelze číst soubor ") + TextFiles::toQString(missing)))
        << r.message().toStdString();
    EXPECT_FALSE(TextFiles::readAll(TextFiles::toPath(m_dir.path())).ok());
}

TEST_F(TextFilesTest, WritesCrLfInTheChosenEncoding) {
    const QStringList lines = {QString::fromUtf8("Příjem"), QString(), QStringLiteral("end")};
    const fs::path file = path("out.txt");
    ASSERT_TRUE(TextFiles::writeLines(file, lines).ok());
    EXPECT_EQ(bytesOf(file), QByteArray("P\xF8\xEDjem\r\n\r\nend\r\n"));
    ASSERT_TRUE(TextFiles::writeLines(file, lines, TextEncoding::Utf8).ok());
    EXPECT_EQ(bytesOf(file), QByteArray("P\xC5\x99\xC3\xADjem\r\n\r\nend\r\n"));
    ASSERT_TRUE(TextFiles::writeAll(file, QString::fromUtf8("šek"), TextEncoding::Windows1250).ok());
    EXPECT_EQ(bytesOf(file), QByteArray("\x9A"
                                        "ek"));

    const auto back = TextFiles::readAll(file);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value().text, QString::fromUtf8("šek"));
    EXPECT_EQ(back.value().encoding, TextEncoding::Windows1250);
}

// Lines made one by one are written as the list of them would be; a maker that gives up half-way (a code that cannot
// be valued) leaves the old file as it was, and nothing beside it.
TEST_F(TextFilesTest, LinesMadeOneByOneAreWrittenWholeOrNotAtAll) {
    const fs::path file = path("made.txt");
    QStringList lines;
    for (int i = 0; i < 5000; ++i) // more than one piece of the writer's buffer
        lines.append(QString::fromUtf8("řádek %1").arg(i));
    const auto make = [&](qsizetype count, bool whole) {
        return [&lines, count, whole](const TextFiles::LineSink& line) {
            for (qsizetype i = 0; i < count; ++i)
                line(lines[i]);
            return whole;
        };
    };
    ASSERT_TRUE(TextFiles::writeLines(path("list.txt"), lines).ok());
    ASSERT_TRUE(TextFiles::writeLines(file, make(lines.size(), true)).ok());
    EXPECT_EQ(bytesOf(file), bytesOf(path("list.txt")));

    for (const qsizetype count : {qsizetype(0), qsizetype(3), qsizetype(4999)}) {
        const Status written = TextFiles::writeLines(file, make(count, false));
        EXPECT_FALSE(written.ok()) << count;
        EXPECT_TRUE(written.message().contains(QStringLiteral("made.txt"))) << written.message().toStdString();
        EXPECT_EQ(bytesOf(file), bytesOf(path("list.txt"))) << count;
    }
    std::vector<fs::path> left;
    for (const auto& e : fs::directory_iterator(path(".")))
        left.push_back(e.path());
    EXPECT_EQ(left.size(), 2u) << namesOf(left).join(u' ').toStdString();
}

TEST_F(TextFilesTest, AppendLineCreatesTheFileAndAddsCrLf) {
    const fs::path file = path("journal.txt");
    ASSERT_TRUE(TextFiles::appendLine(file, QString::fromUtf8("řádek 1")).ok());
    ASSERT_TRUE(TextFiles::appendLine(file, QStringLiteral("line 2")).ok());
    EXPECT_EQ(bytesOf(file), QByteArray("\xF8\xE1\x64\x65k 1\r\nline 2\r\n"));
    EXPECT_FALSE(TextFiles::appendLine(path("no-folder") / "x.txt", QStringLiteral("x")).ok());
}

TEST_F(TextFilesTest, WritingOverAFolderFailsAndLeavesIt) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("day.txt")));
    const Status st = TextFiles::writeAll(path("day.txt"), QStringLiteral("x"));
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().startsWith(QStringLiteral("Nelze uložit soubor ") + TextFiles::toQString(path("day.txt"))))
        << st.message().toStdString();
    EXPECT_TRUE(fs::is_directory(path("day.txt")));
}

TEST_F(TextFilesTest, CreateFolderMakesTheMissingLevelsAndNamesAFolderItCannotMake) {
    EXPECT_TRUE(TextFiles::createFolder(path("a") / "b").ok());
    EXPECT_TRUE(fs::is_directory(path("a") / "b"));
    EXPECT_TRUE(TextFiles::createFolder(path("a") / "b").ok());
    ASSERT_TRUE(TextFiles::writeAll(path("soubor"), QStringLiteral("x")).ok());
    const Status st = TextFiles::createFolder(path("soubor") / "data");
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().startsWith(QStringLiteral("Nelze vytvořit složku ") +
                                        TextFiles::toQString(path("soubor") / "data")))
        << st.message().toStdString();
}

#ifdef Q_OS_UNIX
TEST_F(TextFilesTest, WriteCutShortLeavesTheOldFileAndAppendLeavesNoHalfLine) {
    const fs::path file = writeBytes("day.txt", "old\r\n");
    Status written, appended, created;
    {
        const test::SmallFileSizeLimit limit;
        ASSERT_TRUE(limit.set());
        written = TextFiles::writeAll(file, QString(5000, u'n'));
        appended = TextFiles::appendLine(file, QString(5000, u'n'));
        created = TextFiles::appendLine(path("new.txt"), QString(5000, u'n'));
    }

    EXPECT_FALSE(written.ok());
    EXPECT_FALSE(appended.ok());
    EXPECT_FALSE(created.ok());
    EXPECT_TRUE(appended.message().contains(TextFiles::toQString(file))) << appended.message().toStdString();
    EXPECT_EQ(bytesOf(file), QByteArray("old\r\n"));
    EXPECT_FALSE(TextFiles::exists(path("new.txt")));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("day.txt")});
}
#endif

TEST_F(TextFilesTest, CopyMoveAndRemove) {
    const fs::path a = writeBytes("a.txt", "A");
    const fs::path b = writeBytes("b.txt", "B");

    EXPECT_FALSE(TextFiles::copy(a, b, false).ok());
    EXPECT_EQ(bytesOf(b), QByteArray("B"));
    ASSERT_TRUE(TextFiles::copy(a, b, true).ok());
    EXPECT_EQ(bytesOf(b), QByteArray("A"));
    ASSERT_TRUE(TextFiles::copy(a, path("c.txt"), false).ok());
    EXPECT_EQ(bytesOf(path("c.txt")), QByteArray("A"));
    EXPECT_FALSE(TextFiles::copy(path("none.txt"), path("d.txt"), true).ok());
    EXPECT_FALSE(TextFiles::exists(path("d.txt")));

    // A move never replaces a file.
    const Status refused = TextFiles::move(a, b);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(TextFiles::exists(a));
    ASSERT_TRUE(TextFiles::move(a, path("moved.txt")).ok());
    EXPECT_FALSE(TextFiles::exists(a));
    EXPECT_EQ(bytesOf(path("moved.txt")), QByteArray("A"));
    EXPECT_FALSE(TextFiles::move(a, path("again.txt")).ok());

    ASSERT_TRUE(TextFiles::remove(b).ok());
    EXPECT_FALSE(TextFiles::exists(b));
    const Status gone = TextFiles::remove(b);
    ASSERT_FALSE(gone.ok());
    EXPECT_TRUE(gone.message().contains(TextFiles::toQString(b))) << gone.message().toStdString();
}

TEST_F(TextFilesTest, ListFolderMatchesPatternsAndSortsByNameInAnyCase) {
    for (const char* name : {"b.TXT", "A.txt", "a2.txt", "c.dat", "noext", "x.txt.bak"})
        writeBytes(name, "x");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.txt")));

    struct Case {
        const char* pattern;
        QStringList names;
    };
    const std::vector<Case> cases = {
        {"*.txt", {QStringLiteral("A.txt"), QStringLiteral("a2.txt"), QStringLiteral("b.TXT")}},
        {"*.TXT", {QStringLiteral("A.txt"), QStringLiteral("a2.txt"), QStringLiteral("b.TXT")}},
        {"?.txt", {QStringLiteral("A.txt"), QStringLiteral("b.TXT")}},
        {"a*", {QStringLiteral("A.txt"), QStringLiteral("a2.txt")}},
        {"*",
         {QStringLiteral("A.txt"), QStringLiteral("a2.txt"), QStringLiteral("b.TXT"), QStringLiteral("c.dat"),
          QStringLiteral("noext"), QStringLiteral("x.txt.bak")}},
        {"*.*",
         {QStringLiteral("A.txt"), QStringLiteral("a2.txt"), QStringLiteral("b.TXT"), QStringLiteral("c.dat"),
          QStringLiteral("noext"), QStringLiteral("x.txt.bak")}},
        {"c.dat", {QStringLiteral("c.dat")}},
        {"*.pdf", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const auto files = TextFiles::listFolder(TextFiles::toPath(m_dir.path()), QString::fromUtf8(c.pattern));
        ASSERT_TRUE(files.ok()) << files.message().toStdString();
        EXPECT_EQ(namesOf(files.value()), c.names);
        for (const auto& f : files.value())
            EXPECT_EQ(f.parent_path(), TextFiles::toPath(m_dir.path()));
    }
    EXPECT_FALSE(TextFiles::listFolder(path("missing")).ok());
}

TEST_F(TextFilesTest, FindCaseInsensitive) {
    writeBytes("langcs.ini", "x");
    writeBytes("Hodnoty.TXT", "x");
    writeBytes("same.txt", "x");
    writeBytes("SAME.txt", "x");
    const fs::path folder = TextFiles::toPath(m_dir.path());

    EXPECT_EQ(TextFiles::findCaseInsensitive(folder, QStringLiteral("langCS.ini")), path("langcs.ini"));
    EXPECT_EQ(TextFiles::findCaseInsensitive(folder, QStringLiteral("hodnoty.txt")), path("Hodnoty.TXT"));
    EXPECT_EQ(TextFiles::findCaseInsensitive(folder, QStringLiteral("SAME.txt")), path("SAME.txt"));
    EXPECT_EQ(TextFiles::findCaseInsensitive(folder, QStringLiteral("Same.TXT")), path("SAME.txt"));
    EXPECT_EQ(TextFiles::findCaseInsensitive(folder, QStringLiteral("none.ini")), std::nullopt);
    EXPECT_EQ(TextFiles::findCaseInsensitive(path("missing"), QStringLiteral("x")), std::nullopt);
}

TEST_F(TextFilesTest, CzechFileNamesSurviveThePathConversion) {
    const QString name = QString::fromUtf8("Příjem šeků.txt");
    const fs::path file = path(name);
    EXPECT_EQ(TextFiles::toQString(file), m_dir.filePath(name));
    ASSERT_TRUE(TextFiles::writeAll(file, QStringLiteral("x")).ok());
    const auto files = TextFiles::listFolder(TextFiles::toPath(m_dir.path()), QString::fromUtf8("*ŠEKŮ*"));
    ASSERT_TRUE(files.ok());
    EXPECT_EQ(namesOf(files.value()), QStringList{name});
}

TEST_F(TextFilesTest, AnOddUtf16FileLoadedAndSavedUnchangedKeepsItsSevenBytes) {
    const QByteArray original("\xFE\xFF\x00\x41\x00\x0A\x42", 7);
    const fs::path file = path("odd.txt");
    ASSERT_TRUE(TextFiles::writeBytes(file, original).ok());
    const auto loaded = TextFiles::readAll(file);
    ASSERT_TRUE(loaded.ok());
    ASSERT_TRUE(TextFiles::writeAll(file, loaded.value().text, loaded.value().encoding).ok());
    EXPECT_EQ(TextFiles::readBytes(file).value(), original);
}

#ifdef Q_OS_UNIX
#include <sys/stat.h>

TEST_F(TextFilesTest, AFifoIsRefusedNamingItInsteadOfWaitingForAWriter) {
    const fs::path fifo = path("TRV7300.ini");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto r = TextFiles::readBytes(fifo);
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.message().contains(TextFiles::toQString(fifo))) << r.message().toStdString();
    EXPECT_TRUE(r.message().contains(QStringLiteral("není to obyčejný soubor"))) << r.message().toStdString();
    EXPECT_FALSE(TextFiles::readLines(fifo).ok());
}
#endif

// The common causes of a failed file operation reach the operator in Czech, naming the file, with the
// system's own text after it.
TEST_F(TextFilesTest, CommonFailuresAreToldInCzechWithTheSystemsTextAsADetail) {
    const fs::path missing = path("missing.txt");
    const fs::path inMissingFolder = path("nowhere") / "day.txt";
    struct Case {
        const char* name;
        bool failed;
        QString message;
        fs::path file;
        const char* czech;
    };
    const auto read = TextFiles::readLines(missing);
    const Status written = TextFiles::writeAll(inMissingFolder, QStringLiteral("x"));
    std::vector<Case> cases{
        {"read of a missing file", !read.ok(), read.message(), missing, "soubor nebo složka neexistuje ("},
        {"write into a missing folder", !written.ok(), written.message(), inMissingFolder,
         "soubor nebo složka neexistuje ("},
    };
#ifdef Q_OS_LINUX
    const Status full = TextFiles::appendLine(fs::path("/dev/full"), QStringLiteral("x"));
    cases.push_back({"append to a full disk", !full.ok(), full.message(), fs::path("/dev/full"),
                     "na disku není volné místo (No space left on device)"});
#endif
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.failed);
        EXPECT_TRUE(c.message.contains(TextFiles::toQString(c.file))) << c.message.toStdString();
        EXPECT_TRUE(c.message.contains(QString::fromUtf8(c.czech))) << c.message.toStdString();
    }
}
