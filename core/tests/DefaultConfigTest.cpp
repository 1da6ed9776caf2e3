#include "core/DefaultConfig.h"

#include "platform/IniDocument.h"
#include "platform/TextFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

namespace {

std::filesystem::path folderOf(const QTemporaryDir& dir) {
    return TextFiles::toPath(dir.path());
}

QStringList lines(const std::filesystem::path& file) {
    auto read = TextFiles::readLines(file);
    EXPECT_TRUE(read.ok()) << read.message().toStdString();
    return read.valueOr({});
}

const QStringList kCommKeys = {QStringLiteral("Port"),      QStringLiteral("HShaking"),  QStringLiteral("BaudRate"),
                               QStringLiteral("Data bits"), QStringLiteral("Stop bits"), QStringLiteral("Parity")};

} // namespace

TEST(DefaultConfig, NewFileHoldsTheEightKeysInOrder) {
    QTemporaryDir dir;
    const auto folder = folderOf(dir);
    const auto ini = folder / "TRV7300.ini";
    ASSERT_TRUE(VytvorVychoziKonfiguraci(ini, folder).ok());

    auto doc = IniDocument::load(ini);
    ASSERT_TRUE(doc.ok());
    const IniDocument& d = doc.value();
    EXPECT_EQ(d.sectionNames(), (QStringList{QStringLiteral("Data"), QStringLiteral("Comm"), QStringLiteral("User")}));
    EXPECT_EQ(d.keyNames(QStringLiteral("Data")), QStringList{QStringLiteral("Dir")});
    EXPECT_EQ(d.keyNames(QStringLiteral("Comm")), kCommKeys);
    EXPECT_EQ(d.keyNames(QStringLiteral("User")), QStringList{QStringLiteral("Mode")});

    EXPECT_EQ(d.value(QStringLiteral("Data"), QStringLiteral("Dir")), TextFiles::toQString(folder));
    const QStringList values = {QStringLiteral("COM1"), QStringLiteral("XOn/XOff"), QStringLiteral("38400"),
                                QStringLiteral("8"),    QStringLiteral("1"),        QStringLiteral("None")};
    for (qsizetype i = 0; i < kCommKeys.size(); ++i)
        EXPECT_EQ(d.value(QStringLiteral("Comm"), kCommKeys[i]), values[i]) << kCommKeys[i].toStdString();
    EXPECT_EQ(d.value(QStringLiteral("User"), QStringLiteral("Mode")), QStringLiteral("STD"));
    // Written for installations' tools: Windows-1250 and CR LF.
    EXPECT_EQ(d.encoding(), TextEncoding::Windows1250);
}

TEST(DefaultConfig, MenuCommandChangesOnlyTheEightKeys) {
    QTemporaryDir dir;
    const auto folder = folderOf(dir);
    const auto ini = folder / "TRV7300.ini";
    const QStringList before = {
        QStringLiteral("; installation of the Brno office"),
        QStringLiteral("[Data]"),
        QStringLiteral("Dir=/srv/old"),
        QStringLiteral("ExpDir=/srv/export"),
        QStringLiteral("garbage line without equals"),
        QStringLiteral("[Comm]"),
        QStringLiteral("Port=COM3"),
        QStringLiteral("BaudRate=9600"),
        QStringLiteral("NOREAD=NR"),
        QStringLiteral("[Firma]"),
        QStringLiteral("FirmaID=0000000000000000000000001"),
        QStringLiteral("[User]"),
        QStringLiteral("Mode=AUT"),
        QStringLiteral("AutoDupl=True"),
    };
    ASSERT_TRUE(TextFiles::writeLines(ini, before).ok());

    ASSERT_TRUE(PrepisVychoziKonfiguraci(ini, folder).ok());

    const QStringList after = lines(ini);
    const QStringList changed = {QStringLiteral("Dir=/srv/old"), QStringLiteral("Port=COM3"),
                                 QStringLiteral("BaudRate=9600"), QStringLiteral("Mode=AUT")};
    // Every line that is not one of the eight keys stays, in its order.
    QStringList kept;
    for (const QString& line : after) {
        if (before.contains(line))
            kept << line;
    }
    QStringList expectedKept = before;
    for (const QString& c : changed)
        expectedKept.removeAll(c);
    EXPECT_EQ(kept, expectedKept);

    auto doc = IniDocument::load(ini);
    ASSERT_TRUE(doc.ok());
    const IniDocument& d = doc.value();
    EXPECT_EQ(d.value(QStringLiteral("Data"), QStringLiteral("Dir")), TextFiles::toQString(folder));
    EXPECT_EQ(d.value(QStringLiteral("Comm"), QStringLiteral("Port")), QStringLiteral("COM1"));
    EXPECT_EQ(d.value(QStringLiteral("Comm"), QStringLiteral("BaudRate")), QStringLiteral("19200"));
    EXPECT_EQ(d.value(QStringLiteral("Comm"), QStringLiteral("HShaking")), QStringLiteral("XOn/XOff"));
    EXPECT_EQ(d.value(QStringLiteral("Comm"), QStringLiteral("Parity")), QStringLiteral("None"));
    EXPECT_EQ(d.value(QStringLiteral("User"), QStringLiteral("Mode")), QStringLiteral("STD"));
    EXPECT_EQ(after.size(), before.size() + 4); // HShaking, Data bits, Stop bits, Parity were new
}

TEST(DefaultConfig, UnreadableFileIsReportedNotReplaced) {
    QTemporaryDir dir;
    const auto folder = folderOf(dir);
    const auto ini = folder / "TRV7300.ini";
    std::filesystem::create_directory(ini);
    const Status st = PrepisVychoziKonfiguraci(ini, folder);
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.message().isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(ini));
}

TEST(DefaultConfig, MessageHasTwoLines) {
    EXPECT_EQ(defaultConfigCreatedMessage(),
              QStringLiteral("Proběhlo vytvoření výchozího konfiguračního souboru.\n"
                             "Pokud chcete provést změny v konfiguraci otevřete modul Servis."));
}
