#include "platform/TicketsDatabase.h"

#include "testsupport/db/PostgresServer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
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

// The VALUE column of every row by code, read with plain SQL on a connection of the test's own.
std::map<QString, double> rawValues(const std::function<void(QSqlDatabase&)>& configure, const QString& driver) {
    std::map<QString, double> values;
    const QString name = QStringLiteral("test-raw-connection");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        configure(db);
        EXPECT_TRUE(db.open()) << u8(db.lastError().text());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT CODE, VALUE FROM tickets"))) << u8(query.lastError().text());
        while (query.next())
            values[query.value(0).toString()] = query.value(1).toDouble();
    }
    QSqlDatabase::removeDatabase(name);
    return values;
}

// --- behaviour shared by both back ends -------------------------------------------------------------------------

// Amounts are stored as the amounts their "###0.00" texts show: 100,00 Kč is 100, a tie rounds away from zero.
void valuesAreDecimalAmounts(TicketsDatabase& db, const std::function<void(QSqlDatabase&)>& configure,
                             const QString& driver) {
    ASSERT_TRUE(db.createTable().ok());
    std::vector<TicketRow> rows = {ticket(QStringLiteral("HUNDRED"), 10000), ticket(QStringLiteral("HALF"), 12550),
                                   ticket(QStringLiteral("TIE"), 0), ticket(QStringLiteral("NEGTIE"), 0),
                                   ticket(QStringLiteral("BELOW"), 0)};
    rows[2].value = Currency::fromUnits(6109050); // 610,905
    rows[3].value = Currency::fromUnits(-1250);   // -0,125
    rows[4].value = Currency::fromUnits(6109049); // 610,9049
    ASSERT_TRUE(db.insert(rows).ok());
    const std::map<QString, double> raw = rawValues(configure, driver);
    EXPECT_DOUBLE_EQ(raw.at(QStringLiteral("HUNDRED")), 100.0);
    EXPECT_DOUBLE_EQ(raw.at(QStringLiteral("HALF")), 125.5);
    EXPECT_DOUBLE_EQ(raw.at(QStringLiteral("TIE")), 610.91);
    EXPECT_DOUBLE_EQ(raw.at(QStringLiteral("NEGTIE")), -0.13);
    EXPECT_DOUBLE_EQ(raw.at(QStringLiteral("BELOW")), 610.90);
    Result<std::vector<TicketRow>> read = db.readAll();
    ASSERT_TRUE(read.ok()) << u8(read.message());
    ASSERT_EQ(read.value().size(), rows.size());
}

// A table made by the version that stored hundredths in a whole-number column is never written in hundredths.
void anIntegerValueColumnIsRefused(TicketsDatabase& db, const std::function<void(QSqlDatabase&)>& configure,
                                   const QString& driver) {
    execOnSideConnection(configure, driver,
                         QStringLiteral("CREATE TABLE tickets (DEPO VARCHAR(3), DAT DATE, IDENT_OBALKY VARCHAR(13), "
                                        "IDENT_FA VARCHAR(13), TICKET_TYPE VARCHAR(5), CODE VARCHAR(35), "
                                        "VALUE BIGINT, OPERATOR VARCHAR(20), IMPORTED DATE)"));
    for (const Status& refused : {db.createTableIfMissing(), db.insert({ticket(QStringLiteral("A1"), 10000)})}) {
        ASSERT_FALSE(refused.ok());
        EXPECT_TRUE(refused.message().contains(QStringLiteral("VALUE"))) << u8(refused.message());
        EXPECT_TRUE(refused.message().contains(QStringLiteral("BIGINT"))) << u8(refused.message());
    }
    EXPECT_TRUE(rawValues(configure, driver).empty());
}

void createInsertAndReadBack(TicketsDatabase& db) {
    EXPECT_FALSE(db.hasTable().value());
    ASSERT_TRUE(db.createTable().ok());
    EXPECT_TRUE(db.hasTable().value());
    EXPECT_TRUE(db.createTableIfMissing().ok());

    // An existing table is the database's error, as the menu command reports it, with the database's own code.
    const Status again = db.createTable();
    ASSERT_FALSE(again.ok());
    EXPECT_TRUE(again.message().contains(QStringLiteral("tickets"))) << u8(again.message());
    EXPECT_FALSE(again.error().nativeCode.isEmpty());

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

TEST_F(TicketsSqliteTest, ValuesAreDecimalAmounts) {
    const auto configure = [&](QSqlDatabase& db) {
        db.setDatabaseName(m_dir.filePath(QStringLiteral("tickets.sqlite")));
    };
    valuesAreDecimalAmounts(*m_db, configure, QStringLiteral("QSQLITE"));
    EXPECT_EQ(m_db->createTable().error().nativeCode, QStringLiteral("1"));
}

TEST_F(TicketsSqliteTest, AnIntegerValueColumnIsRefused) {
    const auto configure = [&](QSqlDatabase& db) {
        db.setDatabaseName(m_dir.filePath(QStringLiteral("tickets.sqlite")));
    };
    anIntegerValueColumnIsRefused(*m_db, configure, QStringLiteral("QSQLITE"));
}

TEST_F(TicketsSqliteTest, ALockedFileIsInUseNotMissing) {
    ASSERT_TRUE(m_db->createTable().ok());
    m_db.reset();
    auto waiting = TicketsDatabase::openSqlite(file(), 50);
    ASSERT_TRUE(waiting.ok()) << u8(waiting.message());
    const QString name = QStringLiteral("test-other-program");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(m_dir.filePath(QStringLiteral("tickets.sqlite")));
        ASSERT_TRUE(other.open());
        QSqlQuery hold(other);
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN EXCLUSIVE"))) << u8(hold.lastError().text());

        const Result<bool> exists = waiting.value()->hasTable();
        ASSERT_FALSE(exists.ok());
        EXPECT_TRUE(exists.message().contains(QStringLiteral("jiný program"))) << u8(exists.message());
        const Status created = waiting.value()->createTableIfMissing();
        ASSERT_FALSE(created.ok());
        EXPECT_TRUE(created.message().contains(QStringLiteral("jiný program"))) << u8(created.message());
        const Status inserted = waiting.value()->insert({ticket(QStringLiteral("A1"), 100)});
        ASSERT_FALSE(inserted.ok());
        EXPECT_TRUE(inserted.message().contains(QStringLiteral("jiný program"))) << u8(inserted.message());
        EXPECT_TRUE(hold.exec(QStringLiteral("ROLLBACK")));
    }
    QSqlDatabase::removeDatabase(name);
    // Once the other program lets go, the table is there and takes rows.
    EXPECT_TRUE(waiting.value()->hasTable().value());
    EXPECT_TRUE(waiting.value()->insert({ticket(QStringLiteral("A1"), 100)}).ok());
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

TEST_F(TicketsPostgresTest, ValuesAreDecimalAmountsAndOldTablesAreRefused) {
    const PostgresConnection c = PostgresConnection::parse(connectionString()).value();
    const auto configure = [&](QSqlDatabase& side) {
        side.setHostName(c.host);
        side.setPort(c.port);
        side.setDatabaseName(c.databaseName);
        side.setUserName(c.userName);
    };
    {
        auto db = connect();
        ASSERT_TRUE(db);
        valuesAreDecimalAmounts(*db, configure, QStringLiteral("QPSQL"));
        EXPECT_EQ(db->createTable().error().nativeCode, QStringLiteral("42P07"));
    }
    execOnSideConnection(configure, QStringLiteral("QPSQL"), QStringLiteral("DROP TABLE tickets"));
    auto db = connect();
    ASSERT_TRUE(db);
    anIntegerValueColumnIsRefused(*db, configure, QStringLiteral("QPSQL"));
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
