#include "platform/TicketsDatabase.h"

#include "testsupport/db/PostgresServer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace trv {
namespace {

std::string u8(const QString& s) {
    return s.toStdString();
}

TicketRow ticket(const QString& code, qint64 hundredths) {
    TicketRow r;
    r.depo = QStringLiteral("D01");
    r.dat = QDate(2024, 1, 5);
    r.identObalky = QStringLiteral("OB0000000001");
    r.identFa = QStringLiteral("FA2024/0001");
    r.ticketType = QStringLiteral("3");
    r.code = code;
    r.value = Currency::fromCents(hundredths);
    r.operatorName = QStringLiteral("NOV");
    return r;
}

std::vector<TicketRow> sorted(std::vector<TicketRow> rows) {
    std::sort(rows.begin(), rows.end(), [](const TicketRow& a, const TicketRow& b) { return a.code < b.code; });
    return rows;
}

// Runs a statement on a second connection of the test's own, as another program using the database would.
void execOnSideConnection(const std::function<void(QSqlDatabase&)>& configure, const QString& driver,
                          const QString& statement) {
    const QString name = QStringLiteral("test-side-connection");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        configure(db);
        ASSERT_TRUE(db.open()) << u8(db.lastError().text());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement)) << u8(query.lastError().text());
    }
    QSqlDatabase::removeDatabase(name);
}

// --- behaviour shared by both back ends -------------------------------------------------------------------------

void createInsertAndReadBack(TicketsDatabase& db) {
    EXPECT_FALSE(db.hasTable().value());
    ASSERT_TRUE(db.createTable().ok());
    EXPECT_TRUE(db.hasTable().value());
    EXPECT_TRUE(db.createTableIfMissing().ok());

    // An existing table is the database's error, as the menu command reports it.
    const Status again = db.createTable();
    ASSERT_FALSE(again.ok());
    EXPECT_TRUE(again.message().contains(QStringLiteral("tickets"))) << u8(again.message());

    std::vector<TicketRow> rows = {ticket(QStringLiteral("1234567890123"), 12550), ticket(QStringLiteral("B2"), 0),
                                   ticket(QStringLiteral("C3"), -7)};
    rows[1].imported = QDate(2024, 2, 29);
    rows[2].identFa.clear();
    ASSERT_TRUE(db.insert(rows).ok());
    ASSERT_TRUE(db.insert({}).ok());

    Result<std::vector<TicketRow>> read = db.readAll();
    ASSERT_TRUE(read.ok()) << u8(read.message());
    EXPECT_EQ(sorted(read.value()), sorted(rows));
}

void aFailingBatchLeavesNoRows(TicketsDatabase& db, const std::function<void()>& refuseCodeBad) {
    ASSERT_TRUE(db.createTable().ok());
    ASSERT_TRUE(db.insert({ticket(QStringLiteral("A1"), 100)}).ok());

    // Refused by the database in the middle of the batch.
    refuseCodeBad();
    const Status refused = db.insert(
        {ticket(QStringLiteral("A2"), 100), ticket(QStringLiteral("BAD"), 100), ticket(QStringLiteral("A3"), 1)});
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.message().contains(QStringLiteral("BAD"))) << u8(refused.message());
    EXPECT_TRUE(refused.message().contains(QStringLiteral("no_bad_code"))) << u8(refused.message());

    // Refused before the database sees it: a value longer than its column.
    TicketRow tooLong = ticket(QStringLiteral("A4"), 100);
    tooLong.ticketType = QStringLiteral("123456");
    const Status tooLongRefused = db.insert({ticket(QStringLiteral("A5"), 100), tooLong});
    ASSERT_FALSE(tooLongRefused.ok());
    EXPECT_TRUE(tooLongRefused.message().contains(QStringLiteral("TICKET_TYPE"))) << u8(tooLongRefused.message());
    // The tenth and later voucher types fit.
    TicketRow tenth = ticket(QStringLiteral("A6"), 100);
    tenth.ticketType = QStringLiteral("12");
    ASSERT_TRUE(db.insert({tenth}).ok());

    Result<std::vector<TicketRow>> read = db.readAll();
    ASSERT_TRUE(read.ok()) << u8(read.message());
    EXPECT_EQ(read.value(), (std::vector<TicketRow>{ticket(QStringLiteral("A1"), 100), tenth}));
}

void textIsStoredVerbatim(TicketsDatabase& db) {
    ASSERT_TRUE(db.createTable().ok());
    TicketRow r = ticket(QStringLiteral("'); DROP TABLE tickets; --"), 100);
    r.depo = QStringLiteral("a'b");
    r.identObalky = QStringLiteral("x' OR '1'='1");
    r.identFa = QStringLiteral("\\\"%_;");
    r.operatorName = QStringLiteral("Žluťoučký O'Neill");
    ASSERT_TRUE(db.insert({r}).ok());
    Result<std::vector<TicketRow>> read = db.readAll();
    ASSERT_TRUE(read.ok()) << u8(read.message());
    EXPECT_EQ(read.value(), std::vector<TicketRow>{r});
}

// --- SQLite -------------------------------------------------------------------------------------------------------

class TicketsSqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // No connection string: the embedded file.
        auto opened = TicketsDatabase::open(QString(), file());
        ASSERT_TRUE(opened.ok()) << u8(opened.message());
        m_db = std::move(opened).value();
    }

    std::filesystem::path file() const {
        return std::filesystem::path(m_dir.filePath(QStringLiteral("tickets.sqlite")).toStdU16String());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TicketsDatabase> m_db;
};

TEST_F(TicketsSqliteTest, CreateInsertAndReadBack) {
    createInsertAndReadBack(*m_db);
    // The rows are in the file, not only in this connection.
    m_db.reset();
    auto reopened = TicketsDatabase::openSqlite(file());
    ASSERT_TRUE(reopened.ok());
    EXPECT_EQ(reopened.value()->readAll().value().size(), 3u);
}

TEST_F(TicketsSqliteTest, AFailingBatchLeavesNoRows) {
    aFailingBatchLeavesNoRows(*m_db, [&] {
        execOnSideConnection(
            [&](QSqlDatabase& db) { db.setDatabaseName(m_dir.filePath(QStringLiteral("tickets.sqlite"))); },
            QStringLiteral("QSQLITE"),
            QStringLiteral("CREATE TRIGGER no_bad_code BEFORE INSERT ON tickets WHEN NEW.CODE = 'BAD' "
                           "BEGIN SELECT RAISE(ABORT, 'no_bad_code'); END"));
    });
}

TEST_F(TicketsSqliteTest, TextIsStoredVerbatim) {
    textIsStoredVerbatim(*m_db);
}

TEST_F(TicketsSqliteTest, AFileInAMissingFolderIsAnError) {
    auto opened =
        TicketsDatabase::openSqlite(std::filesystem::path(m_dir.path().toStdU16String()) / "missing" / "t.sqlite");
    ASSERT_FALSE(opened.ok());
    EXPECT_TRUE(opened.message().contains(QStringLiteral("t.sqlite"))) << u8(opened.message());
}

// --- PostgreSQL ---------------------------------------------------------------------------------------------------

class TicketsPostgresTest : public test::PostgresTest {
protected:
    std::unique_ptr<TicketsDatabase> connect() {
        auto opened = TicketsDatabase::open(connectionString(), "unused.sqlite");
        EXPECT_TRUE(opened.ok()) << u8(opened.message());
        return opened.ok() ? std::move(opened).value() : nullptr;
    }
};

TEST_F(TicketsPostgresTest, CreateInsertAndReadBack) {
    auto db = connect();
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->description().startsWith(QStringLiteral("PostgreSQL")));
    createInsertAndReadBack(*db);
}

TEST_F(TicketsPostgresTest, AFailingBatchLeavesNoRows) {
    auto db = connect();
    ASSERT_TRUE(db);
    const PostgresConnection c = PostgresConnection::parse(connectionString()).value();
    aFailingBatchLeavesNoRows(*db, [&] {
        execOnSideConnection(
            [&](QSqlDatabase& side) {
                side.setHostName(c.host);
                side.setPort(c.port);
                side.setDatabaseName(c.databaseName);
                side.setUserName(c.userName);
            },
            QStringLiteral("QPSQL"),
            QStringLiteral("ALTER TABLE tickets ADD CONSTRAINT no_bad_code CHECK (CODE <> 'BAD')"));
    });
}

TEST_F(TicketsPostgresTest, TextIsStoredVerbatim) {
    auto db = connect();
    ASSERT_TRUE(db);
    textIsStoredVerbatim(*db);
}

TEST_F(TicketsPostgresTest, AMissingDatabaseIsAnErrorWithTheServersReason) {
    const PostgresConnection c = PostgresConnection::parse(connectionString()).value();
    auto opened = TicketsDatabase::connectPostgres(
        QStringLiteral("host='%1' port=%2 dbname=nonexistent user=%3").arg(c.host).arg(c.port).arg(c.userName));
    ASSERT_FALSE(opened.ok());
    EXPECT_TRUE(opened.message().contains(QStringLiteral("nonexistent"))) << u8(opened.message());
}

// --- connection strings -------------------------------------------------------------------------------------------

TEST(PostgresConnectionTest, BothFormsAreRead) {
    struct Case {
        QString text;
        PostgresConnection expected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("Host=db.example; Port=5433; Database=vouchers; User ID = office; Password=se cret"),
         {QStringLiteral("db.example"), 5433, QStringLiteral("vouchers"), QStringLiteral("office"),
          QStringLiteral("se cret")}},
        {QStringLiteral("server=db;database=v;uid=u;pwd=p;"),
         {QStringLiteral("db"), -1, QStringLiteral("v"), QStringLiteral("u"), QStringLiteral("p")}},
        {QStringLiteral("host=/run/postgresql dbname=vouchers user=office password='it\\'s a b'"),
         {QStringLiteral("/run/postgresql"), -1, QStringLiteral("vouchers"), QStringLiteral("office"),
          QStringLiteral("it's a b")}},
        {QStringLiteral("  host = 'a b'   port=1 dbname=x\\ y  "),
         {QStringLiteral("a b"), 1, QStringLiteral("x y"), QString(), QString()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(u8(c.text));
        Result<PostgresConnection> parsed = PostgresConnection::parse(c.text);
        ASSERT_TRUE(parsed.ok()) << u8(parsed.message());
        EXPECT_EQ(parsed.value().host, c.expected.host);
        EXPECT_EQ(parsed.value().port, c.expected.port);
        EXPECT_EQ(parsed.value().databaseName, c.expected.databaseName);
        EXPECT_EQ(parsed.value().userName, c.expected.userName);
        EXPECT_EQ(parsed.value().password, c.expected.password);
    }
}

TEST(PostgresConnectionTest, WhatCannotBeUnderstoodIsAnError) {
    const std::vector<QString> bad = {
        QString(),
        QStringLiteral("Provider=MSDAORA.1; Password=x; User ID=y; Data Source = z; Persist Security Info=True"),
        QStringLiteral("host=db port=http"),
        QStringLiteral("host=db port=70000"),
        QStringLiteral("host=db password='open"),
        QStringLiteral("host=db password='a''b'"),
        QStringLiteral("host db"),
        QStringLiteral("Host=db; secret"),
    };
    for (const QString& text : bad) {
        SCOPED_TRACE(u8(text));
        EXPECT_FALSE(PostgresConnection::parse(text).ok());
    }
    // A password never appears in the message.
    const auto message = PostgresConnection::parse(QStringLiteral("Host=db; Password=se;cret")).message();
    EXPECT_FALSE(message.contains(QStringLiteral("cret"))) << u8(message);
}

} // namespace
} // namespace trv
