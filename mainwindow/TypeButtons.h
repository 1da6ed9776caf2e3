#pragma once

#include <QString>

#include <vector>

namespace trv {

class CColStrav;
struct ReaderState;

// One voucher-type button optT: the first word of the type's name, the whole name as its tool-tip (the
// button's handler finds the type by it) and the colour of the working mode.
struct TypeButton {
    enum class Colour { ButtonFace, SafeBag, DailySafeBag };

    QString caption;
    QString toolTip;
    Colour colour = Colour::ButtonFace;

    friend bool operator==(const TypeButton&, const TypeButton&) = default;
};

// NastavTlacitkaTypu: one button per voucher type in collection order, and the shortest and longest code
// length over all types into gMinDelka and gMaxDelka (a length of 0 is "not used" and never the shortest;
// with no types both keep their values).
std::vector<TypeButton> NastavTlacitkaTypu(const CColStrav& types, ReaderState& reader, bool safeBag,
                                           bool dennySafeBag);

// The first word of a name after trimming; empty for an empty or blank name.
QString firstWord(const QString& name);

} // namespace trv
