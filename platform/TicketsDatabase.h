#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

class QSqlError;

#include <filesystem>
#include <memory>
#include <vector>

namespace trv {

/// One row of the table `tickets`: one voucher code taken in at a depot.
struct TicketRow {
    QString depo;         ///< DEPO, at most 3 characters
    QDate dat;            ///< DAT
    QString identObalky;  ///< IDENT_OBALKY (envelope id), at most 13 characters
    QString identFa;      ///< IDENT_FA (invoice id), at most 13 characters
    QString ticketType;   ///< TICKET_TYPE, the 1-based voucher-type number, at most 5 digits
    QString code;         ///< CODE, at most 35 characters
    Currency value;       ///< VALUE, stored as a two-decimal amount (a tie rounded away from zero, as its text)
    QString operatorName; ///< OPERATOR, at most 20 characters
    QDate imported;       ///< IMPORTED; a null date stores NULL

    friend bool operator==(const TicketRow&, const TicketRow&) = default;
};

/// Where a PostgreSQL server is, read from a connection string.
///
/// Two forms are accepted, with keys in any letter case:
///  - "key=value;key=value" (blanks around keys and values are dropped), e.g.
///    "Host=db.example; Port=5432; Database=vouchers; User ID=office; Password=secret"
///  - libpq's "key=value key=value", values with blanks in single quotes, e.g.
///    "host=/run/postgresql dbname=vouchers user=office password='a b'"
/// Keys: host (or server; a folder means the server's Unix socket folder), port, dbname (or database),
/// user (or user id, uid, username), password (or pwd). Any other key is an error.
struct PostgresConnection {
    QString host;
    int port = -1; ///< -1: the driver's default
    QString databaseName;
    QString userName;
    QString password;

    static Result<PostgresConnection> parse(const QString& connectionString);
};

/// The database table `tickets`, through QtSql. An embedded SQLite file when no connection string is configured,
/// else the PostgreSQL server the string names. Values are always bound, never put into SQL text; money is stored
/// as a decimal amount with two decimals (NUMERIC(12,2)) and dates as dates. A table made earlier with a VALUE
/// column of another type (whole numbers) is refused rather than written wrong. A database that another program
/// holds locked is waited for once and then reported as in use; errors carry the database's own code.
///
/// Each instance has its own connection, used from the thread that made it.
class TicketsDatabase final {
public:
    /// The embedded database in this file (created when missing; its folder must exist). A file that another
    /// program holds locked is waited for this long before a statement gives up.
    static Result<std::unique_ptr<TicketsDatabase>> openSqlite(const std::filesystem::path& file,
                                                               int busyTimeoutMs = 5000);
    /// The PostgreSQL server the connection string names (PostgresConnection::parse).
    static Result<std::unique_ptr<TicketsDatabase>> connectPostgres(const QString& connectionString);
    /// The server of a non-empty connection string, else the embedded file.
    static Result<std::unique_ptr<TicketsDatabase>> open(const QString& connectionString,
                                                         const std::filesystem::path& sqliteFile);

    ~TicketsDatabase();
    TicketsDatabase(const TicketsDatabase&) = delete;
    TicketsDatabase& operator=(const TicketsDatabase&) = delete;

    /// "SQLite <file>" or "PostgreSQL <database> (<host>)", for messages.
    const QString& description() const { return m_description; }

    /// Whether the table exists, from the database's catalogue; a locked database is an error, not "no table".
    Result<bool> hasTable() const;
    /// Creates the table; an existing table is an error carrying the database's reason.
    Status createTable();
    /// Creates the table unless it exists; an existing table must have a VALUE column that holds amounts.
    Status createTableIfMissing();
    /// Inserts all rows in one transaction: all of them or none. Values longer than their column are refused
    /// before anything is written, whatever the database would do with them.
    /// A table whose VALUE column cannot hold a two-decimal amount is refused, naming the column and its type.
    Status insert(const std::vector<TicketRow>& rows);
    /// As insert(), but of each code only the rows beyond those the table already holds with the same DEPO,
    /// IDENT_OBALKY, IDENT_FA and CODE: a code given twice where the table holds it once adds one row. Saving the
    /// same receipt again (after an interrupted save, or after codes were appended to it) thus adds only its new
    /// codes. Counting and inserting are one transaction.
    Status insertMissing(const std::vector<TicketRow>& rows);
    /// Every row, ordered by DAT, DEPO, IDENT_OBALKY and CODE.
    Result<std::vector<TicketRow>> readAll() const;

private:
    TicketsDatabase(QString connectionName, QString description, bool sqlite);

    Error databaseError(const QString& sentence, const QSqlError& error) const;
    Status checkValueColumn() const;
    Status insertRows(const std::vector<TicketRow>& rows, bool onlyMissing);

    QString m_connectionName;
    QString m_description;
    bool m_sqlite = false;
};

} // namespace trv
