#include "summaries/PeriodState.h"

#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "platform/Conventions.h"

namespace trv {

std::vector<TypeEntry> typeEntries(const CColStrav& types, const QString& allText) {
    std::vector<TypeEntry> entries;
    int counter = 0;
    if (types.count() != 1)
        entries.push_back({allText, 0});
    else
        counter = -1;
    for (const auto& t : types)
        entries.push_back({t->Nazev, ++counter});
    return entries;
}

void naplnPolozky(const PeriodCollection& collection) {
    int index = 0;
    for (const auto& t : *collection.types) {
        auto polozky = std::make_shared<CColPolozky>();
        for (const auto& c : collection.codes->codes(index)) {
            auto item = std::make_shared<CPolozka>();
            item->Kod = collection.codes->kod(c);
            item->TypNacteni = 1;
            item->dataFile = collection.codes->fileName(c.file);
            item->setTypS(t);
            polozky->Add(std::move(item));
        }
        t->Polozky = std::move(polozky);
        ++index;
    }
}

QDate vypocitejPerioduDelvity(const QDate& today) {
    if (!today.isValid())
        return today;
    if (today.day() > 15)
        return QDate(today.year(), today.month(), 15);
    return lastDayOfPreviousMonth(today);
}

} // namespace trv
