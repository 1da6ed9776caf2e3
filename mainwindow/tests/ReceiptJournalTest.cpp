#include "ReaderRig.h"

#include "core/Booking.h"
#include "core/ReceiptRecord.h"
#include "mainwindow/ReceiptJournal.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace trv::test {
namespace {

QByteArray bytesOf(const std::filesystem::path& file) {
    QFile f(TextFiles::toQString(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class ReceiptJournalTest : public ::testing::Test {
protected:
    std::shared_ptr<CPolozka> book(const QString& code) { return book(journal, code); }
    std::shared_ptr<CPolozka> book(ReceiptJournal& into, const QString& code) {
        Booking booking(rig.state, *rig.state.gColStrav, rig.prompts, rig.stop);
        return into.PridejKod(booking, code, 1);
    }

    ReaderRig rig;
    ReceiptJournal journal{rig.state, rig.prompts};
    std::filesystem::path file = rig.root / "261210001_1.txt";
};

TEST_F(ReceiptJournalTest, BookedCodesAreOnDiskAsTheyAreBookedAndLeaveItWithMemory) {
    ASSERT_TRUE(TextFiles::writeAll(file, QString()).ok());
    journal.begin(file);
    ASSERT_TRUE(book(alfa(100)));
    ASSERT_TRUE(book(alfa(200, 22222)));
    // A code booking refuses (no such type) is not written.
    EXPECT_FALSE(book(QStringLiteral("1234567")));
    EXPECT_EQ(bytesOf(file),
              (alfa(100) + QStringLiteral("\r\n") + alfa(200, 22222) + QStringLiteral("\r\n")).toLatin1());

    // The check statement deleted the first code: the file follows memory.
    rig.state.gColStrav->Item(1)->Polozky->Remove(1);
    journal.obnov(*rig.state.gColStrav);
    EXPECT_EQ(bytesOf(file), (alfa(200, 22222) + QStringLiteral("\r\n")).toLatin1());

    // Ended: nothing more is written.
    journal.end();
    ASSERT_TRUE(book(alfa(300, 33333)));
    EXPECT_EQ(bytesOf(file), (alfa(200, 22222) + QStringLiteral("\r\n")).toLatin1());
    // Only the refusal was told: every write succeeded.
    EXPECT_EQ(rig.messages().size(), 1);
}

TEST_F(ReceiptJournalTest, StornoRemovesACreatedFileAndPutsAnAppendedOneBack) {
    // Created by this receipt.
    ASSERT_TRUE(TextFiles::writeAll(file, QString()).ok());
    rig.state.gSouborVytvorenNovy = true;
    journal.begin(file);
    ASSERT_TRUE(book(alfa(100)));
    EXPECT_TRUE(journal.zahod().ok());
    EXPECT_FALSE(TextFiles::exists(file));
    EXPECT_FALSE(journal.active());

    // Appended to: an earlier receipt whose last line has no line end.
    const QByteArray earlier = "0120012345\r\n0321054321";
    QFile f(TextFiles::toQString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(earlier);
    f.close();
    rig.state.gSouborVytvorenNovy = false;
    journal.begin(file);
    ASSERT_TRUE(book(alfa(100)));
    EXPECT_EQ(bytesOf(file), earlier + "\r\n" + alfa(100).toLatin1() + "\r\n");
    EXPECT_TRUE(journal.zahod().ok());
    EXPECT_EQ(bytesOf(file), earlier);
}

// A receipt a kill cut short, taken up again (its file rewritten whole, in type order, as when codes leave memory)
// and cut short again, then discarded: the file is put back as it was before the receipt first began, removed when
// that receipt created it, its earlier bytes when it appended to it, and the receipt's record goes.
TEST_F(ReceiptJournalTest, AResumedReceiptDiscardedPutsTheFileBackAsItWasBeforeItFirstBegan) {
    rig.state.gMode = QStringLiteral("STD");
    for (const QByteArray& earlier : {QByteArray(), QByteArray("0120012345\r\n0321054321")}) {
        SCOPED_TRACE(earlier.isEmpty() ? "created" : "appended to");
        ASSERT_TRUE(TextFiles::writeBytes(file, earlier).ok());
        {
            ReceiptJournal first{rig.state, rig.prompts};
            first.begin(file);
            ASSERT_TRUE(book(first, alfa(200, 22222)));
            ASSERT_TRUE(book(first, alfa(100)));
        }
        {
            ReceiptJournal resumed{rig.state, rig.prompts};
            resumed.begin(file);
            resumed.obnov(*rig.state.gColStrav);
            ASSERT_TRUE(book(resumed, alfa(300, 33333)));
        }
        ReceiptJournal last{rig.state, rig.prompts};
        last.begin(file);
        ASSERT_TRUE(book(last, alfa(400, 44444)));
        const ReceiptRecord::Discard discard = last.zahozeni();
        EXPECT_EQ(discard.fate,
                  earlier.isEmpty() ? ReceiptRecord::Discard::Fate::Removed : ReceiptRecord::Discard::Fate::PutBack);
        EXPECT_EQ(discard.codesBefore, ReceiptRecord::codes(earlier));
        EXPECT_TRUE(last.zahod().ok());
        if (earlier.isEmpty())
            EXPECT_FALSE(TextFiles::exists(file));
        else
            EXPECT_EQ(bytesOf(file), earlier);
        EXPECT_FALSE(TextFiles::exists(ReceiptRecord::recordFile(rig.root)));
        // No copy of the earlier bytes is left behind.
        EXPECT_EQ(QDir(TextFiles::toQString(rig.root)).entryList({QStringLiteral("*.puvodni")}), QStringList());
        Booking(rig.state, *rig.state.gColStrav, rig.prompts, rig.stop).VymazBuf();
    }
    EXPECT_TRUE(rig.messages().isEmpty()) << rig.messages().join(u'\n').toStdString();
}

TEST_F(ReceiptJournalTest, ARecordOfTheEarlierFormStillTellsItsReceiptAndItsCutShortSave) {
    // Written before each receipt had an entry of its own: the receipt, and a save that did not end, of that
    // receipt's file or of another.
    const std::filesystem::path other = rig.root / "261210001_2.txt";
    const auto record = [&](const std::filesystem::path& saved) {
        EXPECT_TRUE(TextFiles::writeAll(ReceiptRecord::recordFile(rig.root),
                                        QStringLiteral("[Prijem]\r\nSoubor=%1\r\nDepo=D1\r\n"
                                                       "[Ulozeni]\r\nSoubor=%2\r\nVystup1=a.vyc\r\nVystup2=tickets\r\n")
                                            .arg(TextFiles::toQString(file), TextFiles::toQString(saved)))
                        .ok());
        return ReceiptRecord::read(rig.root);
    };
    const QStringList outputs{QStringLiteral("a.vyc"), QStringLiteral("tickets")};

    std::vector<ReceiptRecord::Entry> entries = record(file);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].file, file);
    EXPECT_EQ(entries[0].ids.depo, QStringLiteral("D1"));
    EXPECT_EQ(entries[0].outputs, outputs);

    entries = record(other);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].file, file);
    EXPECT_TRUE(entries[0].outputs.isEmpty());
    EXPECT_EQ(entries[1].file, other);
    EXPECT_EQ(entries[1].outputs, outputs);
}

TEST_F(ReceiptJournalTest, AFileThatCannotBeWrittenIsToldOnceAndBookingGoesOn) {
    journal.begin(rig.root / "missing-folder" / "x.txt");
    ASSERT_TRUE(book(alfa(100)));
    ASSERT_TRUE(book(alfa(200, 22222)));
    EXPECT_EQ(rig.messages().size(), 1);
    EXPECT_EQ(rig.booked().size(), 2);
}

// A full disk: the reason is told in Czech from the error the write left, as the save tells it, and the codes
// stay booked for the save.
TEST_F(ReceiptJournalTest, AWriteToAFullDiskSaysTheDiskIsFull) {
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    std::filesystem::create_symlink("/dev/full", file);
    journal.begin(file);
    ASSERT_TRUE(book(alfa(100)));
    ASSERT_TRUE(book(alfa(200, 22222)));
    ASSERT_EQ(rig.messages().size(), 1);
    EXPECT_TRUE(rig.messages().front().contains(
        QStringLiteral("Nelze připsat řádek do souboru %1: na disku není volné místo").arg(TextFiles::toQString(file))))
        << rig.messages().front().toStdString();
    EXPECT_EQ(rig.booked().size(), 2);
}

} // namespace
} // namespace trv::test
