#pragma once

#include "core/CStrav.h"
#include "core/Recognition.h"
#include "core/VoucherContext.h"
#include "platform/Result.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace trv {

// The voucher types of one definition file, in section order, with the codes read for each inside the types.
// The entry point for everything done with voucher types: loading and saving the definitions, recognising a
// code's type, deleting codes and the per-type sums. Booking and the exports are added by their own files.
class CColStrav {
public:
    using StravPtr = std::shared_ptr<CStrav>;

    // The definition files are the program folder's TypStrav.ini and TypStravGroup.ini, in any letter case.
    CColStrav(AppState& state, Prompts& prompts, const Clock& clock);
    // A copy would share its types and their codes with the original; callers that need a collection of
    // their own create and load one.
    CColStrav(const CColStrav&) = delete;
    CColStrav& operator=(const CColStrav&) = delete;
    CColStrav(CColStrav&&) = default;
    CColStrav& operator=(CColStrav&&) = default;

    const VoucherContext& context() const { return *m_context; }
    // The log of codes refused as duplicates, in the program folder.
    std::filesystem::path duplicityLog() const;

    // --- Membership. Types are addressed by 1-based position; a key, when given, compares in any letter case.
    // Appends the type (and gives it this collection's context when it has none); an error when the key is
    // there already.
    Status Add(StravPtr type, const QString& key = {});
    StravPtr Item(qint64 index) const; // null when there is no such position
    StravPtr Item(const QString& key) const;
    qint32 count() const { return static_cast<qint32>(m_types.size()); }
    // The types after it move up by one; false when there is no such position or key.
    bool Remove(qint64 index);
    bool Remove(const QString& key);
    auto begin() const { return m_types.cbegin(); }
    auto end() const { return m_types.cend(); }
    std::span<const StravPtr> types() const { return m_types; }

    // --- Recognition of a code's type
    qint32 pocetSpolecnosti() const { return count(); }
    // Recognition works on what it prepares of the types when it first runs after a change of the collection.
    // Call this after changing a type's name, lengths or distinguishing numbers in place (the type editor).
    void PripravRozpoznani();
    // Whether some type has the length (the cheque refinement does not apply: there is no code).
    bool ExistDelka(qint64 l) const;
    static bool CheckCBANumber(qint64 num);
    // By length; an error when a 22-character cheque has no number at characters 2-10.
    Result<StravPtr> NajdiDelku(qint64 l, const QString& s) const;
    // By the whole code; null when no type matches.
    StravPtr NajdiDelkuKod(const QString& s) const;
    // Delka2 of the first type whose Delka is l, else 0.
    qint32 Najdi2Delku(qint64 l) const;
    // The first type whose Nazev equals the name exactly; null when none.
    StravPtr NajdiNazev(const QString& name) const;
    // The type a code is booked to: the first type for the NOREAD text, else the recogniser the switch for
    // whole-code recognition chooses. Null when the code is not recognised.
    Result<StravPtr> NajdiTypKodu(const QString& s) const;

    // --- Definition files. A load appends to the collection; callers create a new collection for each load.
    // A save keeps every key and section of the file it does not know and replaces the file only when
    // the whole new file is written.
    Status NactiINI();
    Status NactiINIGroup();
    Status UlozINI() const;
    Status UlozINIGroup() const;
    // The files those read and write: found in any letter case, the exact name when none exists yet.
    std::filesystem::path typStravIni() const;
    std::filesystem::path typStravGroupIni() const;

    // --- Deletion of codes from the current receipt
    // Removes the code from the type NajdiDelkuKod finds for it. An unrecognised code is reported to the
    // operator; false then, and when the code is not among its type's codes.
    bool SmazStravenku(const QString& kod);
    // Removes every code worth the nominal value ("12,50" or "12.50") from every type of that exact name.
    Result<bool> SmazNominal(const QString& nominal, const QString& typeName);
    // Removes the first such code, in type order and then code order.
    Result<bool> SmazJedenNominal(const QString& nominal, const QString& typeName);

    // Every code held, NOREAD readings included: the types in collection order, each type's codes in reading
    // order.
    QStringList kodyVsechTypu() const;
    // The same codes in the same order, each handed to `code` in turn (a day file written without a list of them).
    void proKazdyKod(const std::function<void(const QString&)>& code) const;

    // --- Per-type sums
    // Recomputes sumaStravenek of every type.
    Status nactiSouctyStravenek();
    // "    <first word of the name> = <sum>" for every type, with the sums as last computed.
    QString GetStrSum() const;

    // --- The range of the receipt's sums
    // The sum of the values of every booked code taken without their sign (CStrav::vahaKodu): while it lies in
    // the money type's range, so does every sum the statements make of the codes (a type's, a nominal line, a
    // company line, a product group, the total). nullopt when it lies past the range.
    std::optional<Currency> vahaKodu() const;
    // What the codes of `lines` would add to it once booked (the NOREAD text, blank lines and lines of no known
    // type add nothing); nullopt past the range.
    std::optional<Currency> vahaKodu(const QStringList& lines) const;

private:
    std::shared_ptr<const VoucherContext> m_context;
    const Recognition::PreparedTypes& prepared() const;

    std::vector<StravPtr> m_types;
    std::vector<QString> m_keys; // folded key of each type, empty when it has none

    // The code processor recognises a code for the check digit, the validity check and the booking in turn:
    // the last whole-code recognition is kept for the same code under the same switches.
    struct LastRecognition {
        QString code;
        QString noRead;
        bool cba = false;
        bool euro = false;
        bool lastFirst = false;
        StravPtr type;
    };
    mutable std::optional<Recognition::PreparedTypes> m_prepared;
    mutable std::optional<LastRecognition> m_last;
};

} // namespace trv
