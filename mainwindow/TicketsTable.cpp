#include "mainwindow/TicketsTable.h"

#include "core/ErrorText.h"
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
    // The database's own code where it gave one (SQLite's number, PostgreSQL's SQLSTATE), else the system's number.
    const QString number = !error.nativeCode.isEmpty() ? error.nativeCode
                           : error.number != 0         ? QString::number(error.number)
                                                       : QString();
    return QStringLiteral("Nastala chyba při vytvoření tabulky pro export do databáze! ") +
           errorNumberAndDescription(number, error.message, QStringLiteral("Číslo"), QStringLiteral("popis"));
}

} // namespace trv
