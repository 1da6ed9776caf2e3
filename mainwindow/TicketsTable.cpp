#include "mainwindow/TicketsTable.h"

#include "core/ConfigAccess.h"
#include "core/SettingsLoader.h"
#include "platform/Prompts.h"
#include "platform/TicketsDatabase.h"

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

Status VytvorTabulkuTickets(const Config& config) {
    const QString connection = ticketsConnectionString(config);
    Result<std::unique_ptr<TicketsDatabase>> db = [&]() -> Result<std::unique_ptr<TicketsDatabase>> {
        if (!connection.trimmed().isEmpty())
            return TicketsDatabase::connectPostgres(connection);
        Result<std::filesystem::path> file = ticketsSqliteFile(config);
        if (!file)
            return file.error();
        return TicketsDatabase::openSqlite(file.value());
    }();
    if (!db)
        return db.error();
    return db.value()->createTable();
}

void createExportNowaco(const Config& config, Prompts& prompts) {
    const Status created = VytvorTabulkuTickets(config);
    if (created.ok())
        prompts.message(ticketsCreatedMessage(), Prompts::Buttons::Ok, Prompts::Icon::None);
    else
        prompts.error(ticketsFailedMessage(created.error()));
}

QString ticketsCreatedMessage() {
    return QStringLiteral("Tabulka tickets byla vytvořena.");
}

QString ticketsFailedMessage(const Error& error) {
    return QStringLiteral("Nastala chyba při vytvoření tabulky pro export do databáze! Číslo: %1, popis: %2")
        .arg(error.number)
        .arg(error.message);
}

} // namespace trv
