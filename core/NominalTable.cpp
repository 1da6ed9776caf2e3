#include "core/NominalTable.h"

#include "core/CColPolozky.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "platform/Prompts.h"

#include <QSet>

namespace trv {

namespace {

// The tally; `unvalued` decides on a code whose value cannot be computed: false stops the tally with its error.
template <typename Unvalued> Result<NominalTable> tally(const CStrav& type, const QString& noRead, Unvalued unvalued) {
    NominalTable table;
    if (!type.Polozky)
        return table;
    for (const auto& code : *type.Polozky) {
        if (!code || code->Kod == noRead)
            continue;
        const auto value = code->DejHodnotu();
        if (value.ok())
            ++table[value.value()];
        else if (unvalued(value.error()))
            ++table[Currency()];
        else
            return value.error();
    }
    return table;
}

} // namespace

Result<NominalTable> nominalTable(const CStrav& type, const QString& noRead) {
    return tally(type, noRead, [](const Error&) { return false; });
}

NominalTable nominalTableAtZero(const CStrav& type, const QString& noRead, Prompts& prompts) {
    QSet<QString> told;
    return tally(type, noRead,
                 [&](const Error& e) {
                     if (!told.contains(e.message)) {
                         told.insert(e.message);
                         prompts.error(e.message);
                     }
                     return true;
                 })
        .value();
}

} // namespace trv
