#include "core/TicketsLocation.h"

#include "core/ConfigAccess.h"
#include "core/SettingsLoader.h"

namespace trv {

QString ticketsConnectionString(const Config& config) {
    // Never cut and never changed: a connection string cut or altered on its way reaches another server.
    return config.ctiCestu(QStringLiteral("Data"), QStringLiteral("ConnString")).value_or(QString());
}

Result<std::filesystem::path> ticketsSqliteFile(const Config& config) {
    Result<std::filesystem::path> folder = DejCestuDat(config);
    if (!folder)
        return folder.error();
    return folder.value() / kTicketsSqliteFileName.toStdU16String();
}

Result<std::unique_ptr<TicketsDatabase>> openTicketsDatabase(const Config& config) {
    const QString connection = ticketsConnectionString(config);
    if (!connection.trimmed().isEmpty())
        return TicketsDatabase::connectPostgres(connection);
    Result<std::filesystem::path> file = ticketsSqliteFile(config);
    if (!file)
        return file.error();
    return TicketsDatabase::openSqlite(file.value());
}

} // namespace trv
