#include "platform/IniDocument.h"

#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"

#include "platform/tests/TempFolderTest.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace trv;
namespace fs = std::filesystem;

namespace {

class IniDocumentTest : public test::TempFolderTest {
protected:
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }
};

// A configuration file as installations have them: comments, blank lines, odd spacing, garbage, a
// key before any section, duplicates, and CR LF line ends.
const QByteArray kSample = QByteArray("; settings of the cash desk\r\n"
                                      "Orphan=before any section\r\n"
                                      "[General]\r\n"
                                      "Lang=langCS.ini\r\n"
                                      "  Pokladna   =   3   \r\n"
                                      "Empty=\r\n"
                                      "Blank=    \r\n"
                                      "Quoted=\"  with blanks  \"\r\n"
                                      "OneQuote=\"\r\n"
                                      "HalfQuoted=\"open\r\n"
                                      "Equation=a=b=c\r\n"
                                      "lang=second copy is ignored\r\n"
                                      ";Commented=yes\r\n"
                                      "this line is garbage\r\n"
                                      "[broken header\r\n"
                                      "Tab\t=\tvalue\t\r\n"
                                      "\r\n"
                                      "[ Cesty ]\r\n"
                                      "Data=C:\\TRV\\DATA\r\n"
                                      "[general]\r\n"
                                      "Lang=duplicate section is ignored\r\n"
                                      "Extra=only in the duplicate\r\n");

} // namespace

TEST_F(IniDocumentTest, ReadsWithProfileConventions) {
    const auto doc = IniDocument::load(writeBytes("sample.ini", kSample));
    ASSERT_TRUE(doc.ok()) << doc.message().toStdString();

    struct Case {
        const char* section;
        const char* key;
        std::optional<QString> expected;
    };
    const std::vector<Case> cases = {
        {"General", "Lang", QStringLiteral("langCS.ini")},
        {"GENERAL", "LANG", QStringLiteral("langCS.ini")},
        {"general", "pokladna", QStringLiteral("3")},
        {"General", "Empty", QString()},
        {"General", "Blank", QString()},
        {"General", "Missing", std::nullopt},
        {"General", "Quoted", QStringLiteral("  with blanks  ")},
        {"General", "OneQuote", QStringLiteral("\"")},
        {"General", "HalfQuoted", QStringLiteral("\"open")},
        {"General", "Equation", QStringLiteral("a=b=c")},
        {"General", "Commented", std::nullopt},
        {"General", ";Commented", std::nullopt},
        {"General", "this line is garbage", std::nullopt},
        {"General", "Tab", QStringLiteral("value")},
        {"General", "Extra", std::nullopt},
        {"Cesty", "Data", QStringLiteral("C:\\TRV\\DATA")},
        {" cesty ", " data ", QStringLiteral("C:\\TRV\\DATA")},
        {"Missing", "Lang", std::nullopt},
        {"", "Orphan", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key);
        const auto v = doc.value().value(QString::fromUtf8(c.section), QString::fromUtf8(c.key));
        EXPECT_EQ(v.has_value(), c.expected.has_value());
        if (v && c.expected) {
            EXPECT_EQ(v->toStdString(), c.expected->toStdString());
        }
    }
    // An empty value is a value: the default is not used.
    EXPECT_EQ(ProfileFile::read(path("sample.ini"), QStringLiteral("General"), QStringLiteral("Empty"),
                                QStringLiteral("default")),
              QString());
    EXPECT_EQ(ProfileFile::read(path("sample.ini"), QStringLiteral("General"), QStringLiteral("Nope"),
                                QStringLiteral("default")),
              QStringLiteral("default"));

    EXPECT_EQ(doc.value().sectionNames(), (QStringList{QStringLiteral("General"), QStringLiteral("Cesty")}));
    EXPECT_EQ(doc.value().keyNames(QStringLiteral("general")),
              (QStringList{QStringLiteral("Lang"), QStringLiteral("Pokladna"), QStringLiteral("Empty"),
                           QStringLiteral("Blank"), QStringLiteral("Quoted"), QStringLiteral("OneQuote"),
                           QStringLiteral("HalfQuoted"), QStringLiteral("Equation"), QStringLiteral("Tab")}));
    EXPECT_TRUE(doc.value().hasSection(QStringLiteral("CESTY")));
    EXPECT_FALSE(doc.value().hasSection(QStringLiteral("broken header")));
}

TEST_F(IniDocumentTest, ChangingOneKeyKeepsEveryOtherLineByteForByte) {
    const fs::path file = writeBytes("sample.ini", kSample);
    ASSERT_TRUE(
        ProfileFile::write(file, QStringLiteral("GENERAL"), QStringLiteral("pokladna"), QStringLiteral("7")).ok());
    QByteArray expected = kSample;
    expected.replace("  Pokladna   =   3   \r\n", "Pokladna=7\r\n");
    EXPECT_EQ(bytesOf(file), expected);
    // The duplicate section is not touched: the first one is the one read.
    ASSERT_TRUE(
        ProfileFile::write(file, QStringLiteral("general"), QStringLiteral("Lang"), QStringLiteral("en.ini")).ok());
    expected.replace("Lang=langCS.ini\r\n", "Lang=en.ini\r\n");
    EXPECT_EQ(bytesOf(file), expected);
}

TEST_F(IniDocumentTest, NewKeysAndSectionsGoWhereTheProfileFunctionsPutThem) {
    const QByteArray original("[A]\r\nx=1\r\n; end of A\r\n\r\n[Empty]\r\n[B]\r\ny=2\r\n");
    const fs::path file = writeBytes("new.ini", original);
    auto doc = IniDocument::load(file);
    ASSERT_TRUE(doc.ok());
    doc.value().setValue(QStringLiteral("a"), QStringLiteral("Novy"), QStringLiteral("n"));
    doc.value().setValue(QStringLiteral("Empty"), QStringLiteral("k"), QStringLiteral("v"));
    doc.value().setValue(QStringLiteral("C"), QStringLiteral("z"), QStringLiteral("3"));
    const QString longValue(300, u'x');
    doc.value().setValue(QStringLiteral("B"), QStringLiteral("Long"), longValue);
    ASSERT_TRUE(doc.value().save(file).ok());
    EXPECT_EQ(bytesOf(file),
              QByteArray("[A]\r\nx=1\r\nNovy=n\r\n; end of A\r\n\r\n[Empty]\r\nk=v\r\n[B]\r\ny=2\r\nLong=") +
                  longValue.toLatin1() + QByteArray("\r\n[C]\r\nz=3\r\n"));
    EXPECT_EQ(ProfileFile::read(file, QStringLiteral("b"), QStringLiteral("long")), longValue);

    EXPECT_TRUE(doc.value().removeKey(QStringLiteral("A"), QStringLiteral("NOVY")));
    EXPECT_FALSE(doc.value().removeKey(QStringLiteral("A"), QStringLiteral("Novy")));
    EXPECT_FALSE(doc.value().value(QStringLiteral("A"), QStringLiteral("Novy")).has_value());
}

TEST_F(IniDocumentTest, RemovingAKeyRemovesItsDuplicatesToo) {
    auto doc = IniDocument::fromText(QStringLiteral("[S]\nk=1\nK=2\nother=3\n"));
    EXPECT_TRUE(doc.removeKey(QStringLiteral("s"), QStringLiteral("k")));
    EXPECT_FALSE(doc.value(QStringLiteral("S"), QStringLiteral("k")).has_value());
    EXPECT_EQ(doc.toText(), QStringLiteral("[S]\r\nother=3\r\n"));
}

TEST_F(IniDocumentTest, LfFileIsWrittenBackWithCrLf) {
    const fs::path file = writeBytes("lf.ini", "[S]\nk=1\n# kept\nlast line without end");
    ASSERT_TRUE(ProfileFile::write(file, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("2")).ok());
    EXPECT_EQ(bytesOf(file), QByteArray("[S]\r\nk=2\r\n# kept\r\nlast line without end\r\n"));
}

TEST_F(IniDocumentTest, KeepsTheEncodingItWasReadIn) {
    const QString prijem = QString::fromUtf8("Příjem");
    struct Case {
        const char* name;
        std::optional<QByteArray> before; // nullopt: no file yet
        TextEncoding encoding;
        QByteArray after;
    };
    const std::vector<Case> cases = {
        {"Windows-1250", QByteArray("[frmHlavni]\r\nbtnPrijem=P\xF8\xEDjem\r\n"), TextEncoding::Windows1250,
         QByteArray("[frmHlavni]\r\nbtnPrijem=P\xF8\xEDjem\r\nnovy=\x9A\x65k\r\n")},
        {"UTF-8", QByteArray("[frmHlavni]\r\nbtnPrijem=P\xC5\x99\xC3\xADjem\r\n"), TextEncoding::Utf8,
         QByteArray("[frmHlavni]\r\nbtnPrijem=P\xC5\x99\xC3\xADjem\r\nnovy=\xC5\xA1"
                    "ek\r\n")},
        {"UTF-8 with BOM", QByteArray("\xEF\xBB\xBF[frmHlavni]\r\nbtnPrijem=P\xC5\x99\xC3\xADjem\r\n"),
         TextEncoding::Utf8,
         QByteArray("\xEF\xBB\xBF[frmHlavni]\r\nbtnPrijem=P\xC5\x99\xC3\xADjem\r\nnovy=\xC5\xA1"
                    "ek\r\n")},
        {"ASCII", QByteArray("[frmHlavni]\r\n"), TextEncoding::Windows1250,
         QByteArray("[frmHlavni]\r\nnovy=\x9A\x65k\r\n")},
        {"new file", std::nullopt, TextEncoding::Windows1250, QByteArray("[frmHlavni]\r\nnovy=\x9A\x65k\r\n")},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = path(qPrintable(QStringLiteral("enc%1.ini").arg(++n)));
        if (c.before)
            writeBytes(qPrintable(QStringLiteral("enc%1.ini").arg(n)), *c.before);
        const auto doc = IniDocument::load(file);
        ASSERT_TRUE(doc.ok());
        EXPECT_EQ(doc.value().encoding(), c.encoding);
        if (c.before && c.before->contains("btnPrijem")) {
            EXPECT_EQ(doc.value().value(QStringLiteral("FRMHLAVNI"), QStringLiteral("btnprijem")), prijem);
        }
        ASSERT_TRUE(
            ProfileFile::write(file, QStringLiteral("frmHlavni"), QStringLiteral("novy"), QString::fromUtf8("šek"))
                .ok());
        EXPECT_EQ(bytesOf(file), c.after);
    }
}

// UTF-16 as another program writes it: the byte-order mark, then each character's two bytes in the byte order.
QByteArray utf16(const char* text, bool little) {
    QByteArray bytes = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : QString::fromUtf8(text)) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        bytes.append(little ? low : high).append(little ? high : low);
    }
    return bytes;
}

// A UTF-16 file whose last byte is odd (half a character, as a program cut it) keeps that byte as its last after every
// write, in no line: a key added to the last section goes before it and every key written reads back. A file without
// the odd byte is written as it always was.
TEST_F(IniDocumentTest, TheOddLastByteOfAUtf16FileStaysLastAndInNoLine) {
    struct Case {
        const char* name;
        const char* before;
        std::optional<char> odd;
    };
    const std::vector<Case> cases = {
        {"after the last line end", "[Data]\r\nDir=C:\\TRV\r\n[User]\r\nMode=STD\r\n", 'A'},
        {"right after the last value", "[Data]\r\nDir=C:\\TRV\r\n[User]\r\nMode=STD", '\x0D'},
        {"alone", "", '\x00'},
        {"no odd byte", "[Data]\r\nDir=C:\\TRV\r\n[User]\r\nMode=STD", std::nullopt},
    };
    // The file's text before the odd byte after each write.
    const char* const afterAdd = "[Data]\r\nDir=C:\\TRV\r\n[User]\r\nMode=STD\r\nPocetKopii=2\r\n";
    const char* const afterChange = "[Data]\r\nDir=C:\\TRV\r\n[User]\r\nMode=AUT\r\nPocetKopii=2\r\n";
    const QString user = QStringLiteral("User");
    for (const Case& c : cases) {
        for (const bool little : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (little ? " LE" : " BE"));
            const QByteArray odd = c.odd ? QByteArray(1, *c.odd) : QByteArray();
            const fs::path file = writeBytes("TRV7300.ini", utf16(c.before, little) + odd);
            const bool empty = *c.before == '\0';
            if (!empty) {
                EXPECT_EQ(ProfileFile::read(file, user, QStringLiteral("Mode")), QStringLiteral("STD"));
                ASSERT_TRUE(ProfileFile::write(file, user, QStringLiteral("PocetKopii"), QStringLiteral("2")).ok());
                EXPECT_EQ(bytesOf(file), utf16(afterAdd, little) + odd);
                EXPECT_EQ(ProfileFile::read(file, user, QStringLiteral("PocetKopii")), QStringLiteral("2"));
                ASSERT_TRUE(ProfileFile::write(file, user, QStringLiteral("Mode"), QStringLiteral("AUT")).ok());
                EXPECT_EQ(bytesOf(file), utf16(afterChange, little) + odd);
            } else {
                ASSERT_TRUE(ProfileFile::write(file, user, QStringLiteral("Mode"), QStringLiteral("AUT")).ok());
                EXPECT_EQ(bytesOf(file), utf16("[User]\r\nMode=AUT\r\n", little) + odd);
            }
            EXPECT_EQ(ProfileFile::read(file, user, QStringLiteral("Mode")), QStringLiteral("AUT"));
            EXPECT_EQ(ProfileFile::read(file, user, QStringLiteral("PocetKopii")),
                      empty ? std::nullopt : std::optional(QStringLiteral("2")));
            // The definition files' reader, a section at a time, reads the same.
            const auto sections = IniSections::load(file);
            ASSERT_TRUE(sections.ok());
            EXPECT_EQ(sections.value()->section(user).entries(user), IniDocument::load(file).value().entries(user));
        }
    }
}

TEST_F(IniDocumentTest, UnreadableFileReadsAsDefaultButWriteFails) {
    const fs::path folder = path("config.ini");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("config.ini")));

    const auto doc = IniDocument::load(folder);
    ASSERT_FALSE(doc.ok());
    EXPECT_TRUE(doc.message().contains(TextFiles::toQString(folder))) << doc.message().toStdString();
    EXPECT_EQ(ProfileFile::read(folder, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("def")),
              QStringLiteral("def"));
    const Status st = ProfileFile::write(folder, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_FALSE(st.ok());

    // Saving a document over the folder fails, names the operation and the file, and leaves the folder.
    const Status save = IniDocument::fromText(QStringLiteral("[S]\nk=v\n")).save(folder);
    ASSERT_FALSE(save.ok());
    EXPECT_TRUE(save.message().startsWith(QStringLiteral("Nelze uložit soubor ") + TextFiles::toQString(folder)))
        << save.message().toStdString();
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("config.ini")});
}

TEST_F(IniDocumentTest, MissingFolderIsReportedOnWrite) {
    const fs::path file = path("no-such-folder") / "TRV7300.ini";
    EXPECT_EQ(ProfileFile::read(file, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("def")),
              QStringLiteral("def"));
    const Status st = ProfileFile::write(file, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains(TextFiles::toQString(file))) << st.message().toStdString();
}

TEST_F(IniDocumentTest, EntriesThatWouldReadBackDifferentlyAreRefused) {
    const fs::path file = writeBytes("t.ini", "[S]\r\nk=1\r\n");
    struct Case {
        const char* name;
        QString section, key, value;
    };
    const std::vector<Case> cases = {
        {"line break in value", QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a\r\n[X]")},
        {"'=' in key", QStringLiteral("S"), QStringLiteral("a=b"), QStringLiteral("v")},
        {"empty key", QStringLiteral("S"), QStringLiteral("  "), QStringLiteral("v")},
        {"']' in section", QStringLiteral("S]x"), QStringLiteral("k"), QStringLiteral("v")},
        {"empty section", QString(), QStringLiteral("k"), QStringLiteral("v")},
        {"comment key", QStringLiteral("S"), QStringLiteral(";k"), QStringLiteral("v")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Status st = ProfileFile::write(file, c.section, c.key, c.value);
        EXPECT_FALSE(st.ok());
        EXPECT_TRUE(st.message().contains(TextFiles::toQString(file))) << st.message().toStdString();
        EXPECT_EQ(bytesOf(file), QByteArray("[S]\r\nk=1\r\n"));
    }
}

#ifdef Q_OS_UNIX
TEST_F(IniDocumentTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    const QByteArray original("[S]\r\nk=old\r\n");
    const fs::path file = writeBytes("limited.ini", original);
    auto doc = IniDocument::load(file);
    ASSERT_TRUE(doc.ok());
    doc.value().setValue(QStringLiteral("S"), QStringLiteral("k"), QString(4096, u'n'));

    Status st;
    {
        const test::SmallFileSizeLimit limit;
        ASSERT_TRUE(limit.set());
        st = doc.value().save(file);
    }

    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().startsWith(QStringLiteral("Nelze uložit soubor ") + TextFiles::toQString(file)))
        << st.message().toStdString();
    EXPECT_EQ(bytesOf(file), original);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("limited.ini")});
}
#endif

TEST_F(IniDocumentTest, CrLfLfAndLoneCrEndLinesAlike) {
    QByteArray lf = kSample;
    lf.replace("\r\n", "\n");
    QByteArray cr = kSample;
    cr.replace("\r\n", "\r");
    QByteArray mixed = kSample;
    mixed.replace("[General]\r\n", "[General]\r").replace("Empty=\r\n", "Empty=\n");
    const auto reference = IniDocument::load(writeBytes("crlf.ini", kSample)).value();
    for (const auto& [name, bytes] : {std::pair{"lf.ini", lf}, std::pair{"cr.ini", cr}, std::pair{"mixed.ini", mixed}}) {
        SCOPED_TRACE(name);
        const auto doc = IniDocument::load(writeBytes(name, bytes));
        ASSERT_TRUE(doc.ok());
        EXPECT_EQ(doc.value().toText(), reference.toText()); // the same lines, written back with CR LF
        EXPECT_EQ(doc.value().value(QStringLiteral("general"), QStringLiteral("pokladna")), QStringLiteral("3"));
        EXPECT_EQ(doc.value().value(QStringLiteral("Cesty"), QStringLiteral("Data")), QStringLiteral("C:\\TRV\\DATA"));
        EXPECT_EQ(doc.value().keyNames(QStringLiteral("General")), reference.keyNames(QStringLiteral("General")));
    }
}

TEST_F(IniDocumentTest, LookupsStayRightThroughChanges) {
    // Changes in the middle of a large file: every later lookup sees them, in the first of duplicate sections.
    QString text = QStringLiteral("; head\r\n");
    for (int s = 1; s <= 50; ++s) {
        text += QStringLiteral("[S%1]\r\n").arg(s);
        for (int k = 1; k <= 20; ++k)
            text += QStringLiteral("K%1=%2.%1\r\n").arg(k).arg(s);
        text += QStringLiteral("; end of S%1\r\n").arg(s);
    }
    text += QStringLiteral("[s7]\r\nK1=duplicate\r\nNew=duplicate\r\n");
    auto doc = IniDocument::fromText(text);
    doc.setValue(QStringLiteral("S7"), QStringLiteral("New"), QStringLiteral("n"));
    doc.setValue(QStringLiteral("s7"), QStringLiteral("k3"), QStringLiteral("three"));
    EXPECT_TRUE(doc.removeKey(QStringLiteral("S7"), QStringLiteral("K2")));
    doc.removeKeys(QStringLiteral("S8"));
    doc.setValue(QStringLiteral("S8"), QStringLiteral("Only"), QStringLiteral("1"));
    doc.setValue(QStringLiteral("S51"), QStringLiteral("Last"), QStringLiteral("x"));

    EXPECT_EQ(doc.value(QStringLiteral("S7"), QStringLiteral("New")), QStringLiteral("n"));
    EXPECT_EQ(doc.value(QStringLiteral("S7"), QStringLiteral("K3")), QStringLiteral("three"));
    EXPECT_EQ(doc.value(QStringLiteral("S7"), QStringLiteral("K2")), std::nullopt);
    EXPECT_EQ(doc.value(QStringLiteral("S7"), QStringLiteral("K1")), QStringLiteral("7.1"));
    EXPECT_EQ(doc.keyNames(QStringLiteral("S8")), QStringList{QStringLiteral("Only")});
    EXPECT_EQ(doc.value(QStringLiteral("S9"), QStringLiteral("K20")), QStringLiteral("9.20"));
    EXPECT_EQ(doc.value(QStringLiteral("S51"), QStringLiteral("Last")), QStringLiteral("x"));

    // The text: the new key after the section's last key, before its closing comment; the emptied section
    // keeps its header and comment; the key kept its spelling; the new section at the end.
    const QString out = doc.toText();
    EXPECT_TRUE(out.contains(QStringLiteral("K20=7.20\r\nNew=n\r\n; end of S7\r\n[S8]\r\nOnly=1\r\n; end of S8\r\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("K1=7.1\r\nK3=three\r\nK4=7.4\r\n")));
    EXPECT_TRUE(out.endsWith(QStringLiteral("[s7]\r\nK1=duplicate\r\nNew=duplicate\r\n[S51]\r\nLast=x\r\n")));
    EXPECT_EQ(IniDocument::fromText(out).toText(), out);
}

TEST_F(IniDocumentTest, NamesOutsideAsciiMatchInAnyLetterCase) {
    // The Kelvin sign folds to a plain k: a key spelt with it is the same key as one spelt in ASCII.
    const auto doc = IniDocument::fromText(QString::fromUtf8("[Žlutá]\r\nČas=1\r\n\u212Aey=2\r\nkey=3\r\n[Typ1]\r\n"
                                                             "Nazev=A\r\nNAZEV=B\r\nDelka=10\r\n"));
    EXPECT_EQ(doc.value(QString::fromUtf8("žLUTÁ"), QString::fromUtf8("čAS")), QStringLiteral("1"));
    EXPECT_EQ(doc.value(QString::fromUtf8("ŽLUTÁ"), QStringLiteral("KEY")), QStringLiteral("2"));
    EXPECT_EQ(doc.keyNames(QString::fromUtf8("žlutá")), (QStringList{QString::fromUtf8("Čas"), QString::fromUtf8("\u212Aey")}));

    // A section read key by key gives what the document gives: the first of duplicate keys, in file order.
    const IniDocument::SectionView typ = doc.section(QStringLiteral("TYP1"));
    EXPECT_EQ(typ.value(QStringLiteral("nazev")), QStringLiteral("A"));
    EXPECT_EQ(typ.value(QStringLiteral(" Delka ")), QStringLiteral("10"));
    EXPECT_EQ(typ.value(QStringLiteral("Missing")), std::nullopt);
    EXPECT_EQ(typ.entries(), doc.entries(QStringLiteral("Typ1")));
    EXPECT_EQ(typ.entries().size(), 2u);
    EXPECT_EQ(doc.section(QStringLiteral("Missing")).value(QStringLiteral("Nazev")), std::nullopt);
    EXPECT_TRUE(doc.section(QStringLiteral("Missing")).entries().empty());
}

// A file read a section at a time must read each section as the document of the whole file reads it, in every
// encoding and with every oddity a hand-edited file has.
TEST_F(IniDocumentTest, ASectionReadAloneReadsAsInTheWholeFile) {
    const QString text = QString::fromUtf8(
        "stray=before any header\r\n"
        "[Typy]\r\nPocet=2\r\n"
        "[Typ1]\r\nNazev=Alfa\r\n[not a header\r\nKod = 12 \r\n; comment\r\nNazev=second\r\n\r\n"
        "  [ typ2 ]  \rnazev=\"Beta\"\rKod=7\n"
        "[TYP1]\r\nNazev=duplicate section\r\n"
        "[Žlutá]\nČas=ráno\n"
        "[Empty]\r\n"
        "[Last]\r\nKey=no line end");
    const QStringList names = {QStringLiteral("Typy"), QStringLiteral("typ1"), QStringLiteral("Typ2 "),
                               QString::fromUtf8("žLUTÁ"), QStringLiteral("Empty"), QStringLiteral("Last"),
                               QStringLiteral("Missing"), QString()};
    for (const TextEncoding enc :
         {TextEncoding::Windows1250, TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const auto file = writeBytes("sections.ini", encodeText(text, enc));
        const auto whole = IniDocument::load(file);
        const auto sections = IniSections::load(file);
        ASSERT_TRUE(whole.ok() && sections.ok());
        for (const QString& name : names) {
            const IniDocument alone = sections.value()->section(name);
            EXPECT_EQ(alone.entries(name), whole.value().entries(name)) << int(enc) << " " << name.toStdString();
            EXPECT_EQ(alone.hasSection(name), whole.value().hasSection(name)) << int(enc) << " " << name.toStdString();
            // Read in one pass for a set of keys: each as the whole file's document reads it, keys in any letter
            // case, around blanks, asked twice, or missing.
            const QStringList keys = {QStringLiteral("NAZEV"), QStringLiteral(" kod "), QStringLiteral("Pocet"),
                                      QString::fromUtf8("čAS"), QStringLiteral("key"), QStringLiteral("nazev"),
                                      QStringLiteral("stray"), QStringLiteral("Missing"), QStringLiteral("[not a header")};
            const std::vector<std::optional<QString>> values = sections.value()->values(name, IniKeys(keys));
            ASSERT_EQ(values.size(), size_t(keys.size()));
            for (qsizetype k = 0; k < keys.size(); ++k)
                EXPECT_EQ(values[size_t(k)], whole.value().value(name, keys[k]))
                    << int(enc) << " " << name.toStdString() << " " << keys[k].toStdString();
        }
    }
    const auto missing = IniSections::load(path("missing.ini"));
    ASSERT_TRUE(missing.ok());
    EXPECT_TRUE(missing.value()->section(QStringLiteral("Typy")).entries(QStringLiteral("Typy")).empty());
}
