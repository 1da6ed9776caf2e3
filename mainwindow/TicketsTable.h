#pragma once

#include "platform/Result.h"

#include <QString>

#include <filesystem>

namespace trv {

class Config;
class Prompts;

// The database table `tickets` that the closing of a receipt fills, one row per code.
//
// Where it lives: [Data] ConnString, used exactly as configured, names a PostgreSQL server. With no
// connection string configured the table lives in an embedded SQLite file, "tickets.sqlite" in the
// configured data folder ([Data] Dir; not the safe-bag folders, so that every working mode writes the same
// table). The program carries no user name or password of its own: they come with the connection string.
inline const QString kTicketsSqliteFileName = QStringLiteral("tickets.sqlite");

// The connection string of the configuration; empty when none is configured.
QString ticketsConnectionString(const Config& config);
// The embedded database file; an error (60000) when the data folder is not configured.
Result<std::filesystem::path> ticketsSqliteFile(const Config& config);

// Creates the table where the configuration says. An existing table is an error with the database's reason.
Status VytvorTabulkuTickets(const Config& config);

// The maintenance command: creates the table and tells the operator how it went.
void createExportNowaco(const Config& config, Prompts& prompts);

QString ticketsCreatedMessage();
QString ticketsFailedMessage(const Error& error);

} // namespace trv
