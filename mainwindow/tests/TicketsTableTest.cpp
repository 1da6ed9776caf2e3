#include "mainwindow/TicketsTable.h"

#include "core/ConfigAccess.h"
#include "platform/TextFiles.h"
#include "platform/TicketsDatabase.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/db/PostgresServer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

namespace {

// A configuration over a temporary program folder, with the data folder "data" inside it.
struct Installation {
    Installation() {
        folder = TextFiles::toPath(dir.path());
        std::filesystem::create_directory(folder / "data");
        config = Config(folder / "TRV7300.ini", folder / "langCS.ini");
    }
    void write(const QString& ini) { ASSERT_TRUE(TextFiles::writeAll(folder / "TRV7300.ini", ini).ok()); }

    QTemporaryDir dir;
    std::filesystem::path folder;
    Config config;
};

} // namespace

TEST(TicketsTableTest, WithoutAConnectionStringTheTableLivesInTheDataFolder) {
    Installation inst;
    inst.write(QStringLiteral("[Data]\r\nDir=%1\r\n").arg(TextFiles::toQString(inst.folder / "data")));
    ScriptedPrompts prompts;

    createExportNowaco(inst.config, prompts);

    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Tabulka tickets byla vytvořena."));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::None);
    const std::filesystem::path file = inst.folder / "data" / "tickets.sqlite";
    ASSERT_TRUE(TextFiles::exists(file));
    auto db = TicketsDatabase::openSqlite(file);
    ASSERT_TRUE(db.ok()) << db.message().toStdString();
    EXPECT_TRUE(db.value()->hasTable().valueOr(false));

    // A second creation meets the table and reports the database's reason.
    createExportNowaco(inst.config, prompts);
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[1].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[1].text.startsWith(
        QStringLiteral("Nastala chyba při vytvoření tabulky pro export do databáze! Číslo: 1, popis: ")));
    EXPECT_TRUE(prompts.records()[1].text.contains(QStringLiteral("tickets")));
}

TEST(TicketsTableTest, WithoutADataFolderNothingIsCreatedAndTheOperatorIsTold) {
    Installation inst;
    inst.write(QStringLiteral("[Data]\r\nConnString=\r\n"));
    ScriptedPrompts prompts;

    createExportNowaco(inst.config, prompts);

    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("Číslo: 60000")));
    EXPECT_FALSE(TextFiles::exists(inst.folder / "tickets.sqlite"));
}

TEST(TicketsTableTest, AConnectionStringIsUsedExactlyAsConfigured) {
    // A trailing number is a port or a database suffix, never a counter to raise.
    Installation inst;
    const QString configured = QStringLiteral("host=/nonexistent/socket/folder port=5419 dbname=db19");
    inst.write(QStringLiteral("[Data]\r\nDir=%1\r\nConnString=%2\r\n")
                   .arg(TextFiles::toQString(inst.folder / "data"), configured));
    EXPECT_EQ(ticketsConnectionString(inst.config), configured);

    const Status st = VytvorTabulkuTickets(inst.config);
    ASSERT_FALSE(st.ok());
    // The server was looked for where the string says, and no embedded file stood in for it.
    EXPECT_TRUE(st.message().contains(QStringLiteral("db19"))) << st.message().toStdString();
    EXPECT_FALSE(TextFiles::exists(inst.folder / "data" / "tickets.sqlite"));
}

class TicketsTablePostgresTest : public test::PostgresTest {};

TEST_F(TicketsTablePostgresTest, TheTableIsCreatedOnTheConfiguredServer) {
    Installation inst;
    inst.write(QStringLiteral("[Data]\r\nDir=%1\r\nConnString=%2\r\n")
                   .arg(TextFiles::toQString(inst.folder / "data"), connectionString()));
    ScriptedPrompts prompts;

    createExportNowaco(inst.config, prompts);

    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Tabulka tickets byla vytvořena."));
    auto db = TicketsDatabase::connectPostgres(connectionString());
    ASSERT_TRUE(db.ok()) << db.message().toStdString();
    EXPECT_TRUE(db.value()->hasTable().valueOr(false));
    EXPECT_FALSE(TextFiles::exists(inst.folder / "data" / "tickets.sqlite"));

    createExportNowaco(inst.config, prompts);
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[1].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[1].text.startsWith(
        QStringLiteral("Nastala chyba při vytvoření tabulky pro export do databáze!")));
}
