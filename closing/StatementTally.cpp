#include "closing/StatementTally.h"

#include "core/CColStrav.h"
#include "core/CColVycet.h"
#include "core/CStrav.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"

namespace trv {

Result<CompanyTally> sectiNominaly(const CStrav& type, const QString& noRead,
                                   const std::vector<std::pair<QString, qint64>>& takenOff) {
    CColVycet vycet;
    for (const auto& code : *type.Polozky) {
        if (code->Kod == noRead)
            continue;
        const auto value = code->DejHodnotu();
        if (!value.ok())
            return value.error();
        vycet.Item(plainText(value.value()))->Pocet += 1;
    }
    for (const auto& [nominal, count] : takenOff)
        vycet.Item(nominal)->Pocet -= count;

    CompanyTally tally;
    QStringList nominals;
    for (const auto& line : vycet)
        nominals.append(line->Hodnota);
    if (Status sorted = SetridPole(nominals); !sorted.ok())
        return sorted.error();
    for (const QString& text : nominals) {
        const auto line = vycet.Item(text);
        NominalLine n;
        n.text = text;
        n.value = Currency::parse(text).value_or(Currency());
        n.count = line->Pocet;
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
