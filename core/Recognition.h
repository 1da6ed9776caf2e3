#pragma once

#include "core/CustomerSwitches.h"
#include "platform/Result.h"

#include <QHash>
#include <QString>

#include <array>
#include <memory>
#include <span>
#include <vector>

namespace trv {

class CStrav;

// Cheque numbers (characters 2-10 of a 22-character cheque, 1-9 or 2-10 of the longer layouts) issued for
// CBA; every other cheque number belongs to a "CHE" type. Inclusive, in the order they are tested.
struct CbaRange {
    qint32 from;
    qint32 to;
};
inline constexpr std::array<CbaRange, 32> kCbaRanges{{
    {248383567, 248436966}, {250233474, 250285173}, {250436431, 250436530}, {252102762, 252155361},
    {307489610, 307540909}, {312589610, 312645609}, {317811990, 317863989}, {322349969, 322398068},
    {326962923, 327018922}, {331169294, 331220293}, {335400250, 335454949}, {339713518, 339766517},
    {344200146, 344255145}, {345928621, 345980260}, {406855039, 406907438}, {410933747, 410984406},
    {415356442, 415407241}, {419658645, 419713044}, {425066415, 425117354}, {429735598, 429785097},
    {434465914, 434517413}, {440295701, 440342500}, {445777742, 445829741}, {451331684, 451382683},
    {456912525, 456964524}, {462701725, 462752724}, {465638703, 465690502}, {505961993, 506010892},
    {510030705, 510080044}, {516453828, 516506927}, {523545700, 523594299}, {529019910, 529068709},
}};

bool CheckCBANumber(qint64 num);

// The two recognisers of a code's voucher type over the types of a collection, in collection order.
// The customer switches read: gFCBA (cheque layouts), gFEuro, gFZakaznik (last type first in the
// whole-code recognition).
namespace Recognition {

using Types = std::span<const std::shared_ptr<CStrav>>;

// What recognition needs of a collection's types, worked out once when the types are loaded: each type's name
// in capitals and the marks read from it, and for each code length the types that have it, in collection
// order. Recognition then looks only at the types of the code's length, with the same results in the same
// order. It reads the names and lengths as they were when prepared: prepare again after changing them.
class PreparedTypes {
public:
    PreparedTypes() = default;
    explicit PreparedTypes(Types types);

    struct Type {
        std::shared_ptr<CStrav> type;
        QString upperName; // Nazev in capitals
        QString prefix;    // the first three characters of Nazev, in capitals
        bool sekservis = false;
    };
    const std::vector<Type>& types() const { return m_types; }
    // Positions in types() of the types whose Delka or Delka2 is the length, ascending.
    const std::vector<qsizetype>& ofLength(qint64 length) const;
    // Whether some type's name begins with "SEKSERVIS" (any letter case).
    bool hasSekservis() const { return m_sekservis; }

private:
    std::vector<Type> m_types;
    QHash<qint64, std::vector<qsizetype>> m_byLength;
    bool m_sekservis = false;
};

// By length, with the CBA/CHE refinement for 22-character cheques: the first matching type, or null.
// A length below 1 (an empty code) matches no type.
// An error when a 22-character cheque has no number at characters 2-10.
Result<std::shared_ptr<CStrav>> najdiDelku(const PreparedTypes& types, const CustomerSwitches& sw, qint64 l,
                                           const QString& s);
Result<std::shared_ptr<CStrav>> najdiDelku(Types types, const CustomerSwitches& sw, qint64 l, const QString& s);

// By the whole code: cheque layouts with check sums, then lengths and distinguishing numbers. The first
// matching type, or null (always for the empty code).
std::shared_ptr<CStrav> najdiDelkuKod(const PreparedTypes& types, const CustomerSwitches& sw, const QString& gNoRead,
                                      const QString& s);
std::shared_ptr<CStrav> najdiDelkuKod(Types types, const CustomerSwitches& sw, const QString& gNoRead,
                                      const QString& s);

} // namespace Recognition
} // namespace trv
