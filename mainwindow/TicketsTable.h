#pragma once

#include "core/TicketsLocation.h"
#include "platform/Result.h"

#include <QString>

#include <filesystem>

namespace trv {

class Config;
class Prompts;

// The database table `tickets` that the closing of a receipt fills, one row per code, where TicketsLocation
// says it lives.

// Creates the table where the configuration says. An existing table is an error with the database's reason.
Status VytvorTabulkuTickets(const Config& config);

// The maintenance command: creates the table and tells the operator how it went.
void createExportNowaco(const Config& config, Prompts& prompts);

QString ticketsCreatedMessage();
QString ticketsFailedMessage(const Error& error);

} // namespace trv
