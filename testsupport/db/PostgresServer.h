#pragma once

#include "platform/Result.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace trv::test {

/// A throw-away PostgreSQL server for tests: a fresh cluster in a temporary folder, reachable only through a Unix
/// socket in that folder (no TCP), trusting every local connection. When run as root the server runs as the
/// `postgres` system user, since PostgreSQL refuses to run as root. The destructor stops it at once and removes
/// the folder.
class PostgresServer final {
public:
    /// The folder with the server programs of the newest installed PostgreSQL (/usr/lib/postgresql/<version>/bin);
    /// nullopt when none is installed.
    static std::optional<QString> findBinaries();
    /// Why servers cannot be run here (no server programs, no Qt driver, no `postgres` user when root); nullopt
    /// when they can.
    static std::optional<QString> unavailableReason();
    /// Initialises and starts a server and waits until it accepts connections.
    static Result<std::unique_ptr<PostgresServer>> start();

    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    /// Creates an empty database and returns its libpq connection string.
    Result<QString> createDatabase(const QString& name);
    /// The libpq connection string of a database on this server.
    QString connectionString(const QString& database) const;
    QString socketDirectory() const { return m_dir.path(); }

private:
    PostgresServer(QString binaries, QString runAs);
    Result<QString> run(const QString& program, const QStringList& arguments, int timeoutMs) const;

    QTemporaryDir m_dir;
    QString m_binaries;
    QString m_runAs; ///< system user the server programs run as; empty: the current user
    bool m_running = false;
};

/// Test fixture: one server per test suite, a fresh database per test. Tests are skipped with a message when
/// PostgreSQL is not installed; a server that is installed but does not start fails them.
class PostgresTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    /// The connection string of this test's own database.
    const QString& connectionString() const { return m_connectionString; }

private:
    static std::unique_ptr<PostgresServer>& server();
    static QString& startError();

    QString m_connectionString;
};

} // namespace trv::test
