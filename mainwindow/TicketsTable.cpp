#include "mainwindow/TicketsTable.h"

#include "platform/Prompts.h"
#include "platform/TicketsDatabase.h"

namespace trv {

Status VytvorTabulkuTickets(const Config& config) {
    Result<std::unique_ptr<TicketsDatabase>> db = openTicketsDatabase(config);
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
