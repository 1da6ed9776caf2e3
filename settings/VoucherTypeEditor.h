#pragma once

#include "platform/Result.h"

#include <QString>

#include <memory>

namespace trv {

class CColStrav;
class CStrav;

// The fourteen fields of a voucher type that the type dialog edits, as the dialog's boxes show them.
struct StravPolozky {
    QString nazev, delka, delka2, pozRok, pozCastka, delkaCastka, koef;
    bool checkIL = false;
    bool exportDat = false;
    QString pripona, cesta, expTyp, provize, dph;

    bool operator==(const StravPolozky&) const = default;
};

namespace VoucherTypeEditor {

// The boxes of a type: integers as plain decimal text, commission and VAT as their Str text (" 19", " 2.5").
StravPolozky polozky(const CStrav& type);
// The boxes of a new type: empty, except commission and VAT, which start where the definition file's loader
// puts a type without them (0 and 19), so a dialog that hides them cannot store anything else.
StravPolozky novePolozky();

// Checks every box and, when all are valid, puts the fourteen fields into the type. Integers must be whole
// numbers in the 32-bit range, commission and VAT numbers with "," or "." as decimal separator. An error
// names the first box at fault and its text; the type is then unchanged.
Status uloz(const StravPolozky& p, CStrav& type);

// Copies the fourteen fields from one type to another; nothing else of either changes.
void kopiruj(const CStrav& from, CStrav& to);

// Removes exactly this type object (with the codes booked to it) from the collection; false when it is not
// there.
bool smaz(CColStrav& types, const std::shared_ptr<CStrav>& type);

// Everything that must follow a change of the collection's types (added, edited or removed), in one place.
void typyZmeneny(CColStrav& types);

} // namespace VoucherTypeEditor
} // namespace trv
