#include "closing/StatementTally.h"

#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "core/NominalTable.h"
#include "platform/Conventions.h"

namespace trv {

Result<CompanyTally> sectiNominaly(const CStrav& type, const QString& noRead,
                                   const std::vector<std::pair<QString, qint64>>& takenOff) {
    auto table = nominalTable(type, noRead);
    if (!table.ok())
        return table.error();
    for (const auto& [nominal, count] : takenOff) {
        const auto value = Currency::parse(nominal);
        if (!value)
            return Error{0, QStringLiteral("Hodnotu \"%1\" nelze seřadit jako číslo.").arg(nominal)};
        table.value()[*value] -= count;
    }

    CompanyTally tally;
    for (const auto& [value, count] : table.value()) {
        NominalLine n;
        n.text = plainText(value);
        n.value = value;
        n.count = qint32(count);
        n.amount = n.value * n.count;
        tally.amount += n.amount;
        tally.count += n.count;
        tally.lines.push_back(n);
    }
    return tally;
}

std::vector<CompanyEntry> seznamSpolecnosti(const CColStrav& types, const QString& allCompaniesText) {
    std::vector<CompanyEntry> entries;
    int k = -1;
    if (types.count() != 1) {
        entries.push_back({allCompaniesText, 0});
        k = 0;
    }
    for (const auto& t : types)
        entries.push_back({t->Nazev, ++k});
    return entries;
}

} // namespace trv
