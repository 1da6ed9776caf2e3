#include "closing/TicketsExport.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/SettingsLoader.h"

namespace trv {

namespace {
const QString kSqliteFileName = QStringLiteral("tickets.sqlite");
}

Result<std::vector<TicketRow>> radkyTickets(const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                                            const QDate& today) {
    std::vector<TicketRow> rows;
    for (const auto& t : types) {
        for (const auto& code : *t->Polozky) {
            if (code->Kod == state.gNoRead)
                continue;
            const auto value = code->DejHodnotu();
            if (!value.ok())
                return value.error();
            const auto type = code->TypS();
            TicketRow row;
            row.depo = receipt.gDepo;
            row.dat = today;
            row.identObalky = receipt.gIdentObalky;
            row.identFa = receipt.gIdentFA;
            row.ticketType = QString::number(type ? type->kodTypu : t->kodTypu);
            row.code = code->Kod;
            row.value = value.value();
            row.operatorName = receipt.gOperator;
            rows.push_back(row);
        }
    }
    return rows;
}

QString pripojeniTickets(const Config& config) {
    // Used as configured: a connection string cut or altered on its way reaches another server.
    return config.ctiCestu(QStringLiteral("Data"), QStringLiteral("ConnString")).value_or(QString());
}

Result<std::filesystem::path> sqliteTickets(const Config& config) {
    auto folder = DejCestuDat(config);
    if (!folder.ok())
        return folder.error();
    return folder.value() / kSqliteFileName.toStdU16String();
}

Status zapisTickets(const Config& config, const std::vector<TicketRow>& rows) {
    const QString connection = pripojeniTickets(config);
    Result<std::unique_ptr<TicketsDatabase>> db = [&]() -> Result<std::unique_ptr<TicketsDatabase>> {
        if (!connection.trimmed().isEmpty())
            return TicketsDatabase::connectPostgres(connection);
        auto file = sqliteTickets(config);
        if (!file.ok())
            return file.error();
        return TicketsDatabase::openSqlite(file.value());
    }();
    if (!db.ok())
        return Status(db.error());
    if (Status created = db.value()->createTableIfMissing(); !created.ok())
        return created;
    return db.value()->insert(rows);
}

} // namespace trv
