#pragma once

#include "platform/Result.h"
#include "platform/TicketsDatabase.h"

#include <QString>

#include <filesystem>
#include <memory>

namespace trv {

class Config;

// Where the database table `tickets` lives. [Data] ConnString, used exactly as configured, names a PostgreSQL
// server. With no connection string configured the table lives in an embedded SQLite file, "tickets.sqlite" in
// the configured data folder ([Data] Dir; not the safe-bag folders, so that every working mode writes the same
// table). The program carries no user name or password of its own: they come with the connection string.
inline const QString kTicketsSqliteFileName = QStringLiteral("tickets.sqlite");

// The connection string of the configuration; empty when none is configured.
QString ticketsConnectionString(const Config& config);
// The embedded database file; an error (60000) when the data folder is not configured.
Result<std::filesystem::path> ticketsSqliteFile(const Config& config);
// Connects to the server of the connection string, or opens the embedded file when there is none.
Result<std::unique_ptr<TicketsDatabase>> openTicketsDatabase(const Config& config);

} // namespace trv
