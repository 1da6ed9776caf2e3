#include "mainwindow/TypeButtons.h"

#include "core/CColStrav.h"
#include "mainwindow/ReaderState.h"

#include <algorithm>

namespace trv {

QString firstWord(const QString& name) {
    return name.trimmed().section(QLatin1Char(' '), 0, 0);
}

std::vector<TypeButton> NastavTlacitkaTypu(const CColStrav& types, ReaderState& reader, bool safeBag,
                                           bool dennySafeBag) {
    std::vector<TypeButton> buttons;
    if (types.count() == 0)
        return buttons;

    const auto first = types.Item(1);
    reader.gMinDelka = first ? first->Delka : 0;
    reader.gMaxDelka = reader.gMinDelka;
    const TypeButton::Colour colour = safeBag        ? TypeButton::Colour::SafeBag
                                      : dennySafeBag ? TypeButton::Colour::DailySafeBag
                                                     : TypeButton::Colour::ButtonFace;
    for (const auto& type : types) {
        if (!type) {
            buttons.push_back(TypeButton{QString(), QString(), colour});
            continue;
        }
        for (const qint32 length : {type->Delka, type->Delka2}) {
            reader.gMaxDelka = std::max(reader.gMaxDelka, length);
            if (length != 0 && length < reader.gMinDelka)
                reader.gMinDelka = length;
        }
        buttons.push_back(TypeButton{firstWord(type->Nazev), type->Nazev, colour});
    }
    return buttons;
}

} // namespace trv
