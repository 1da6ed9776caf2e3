#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QString>

#include <memory>

namespace trv {

class CStrav;

// One voucher code as it came in (reader, data file, package file, keyboard), with the voucher type it was
// booked to and how it came in. It works out its own face value from its type's settings.
class CPolozka {
public:
    QString SM;       // not used by the program itself
    QString dataFile; // the day data file the code was read from (duplicate checks over a period)
    QString oper;     // not used by the program itself
    QString Kod;      // the code as received, or the NOREAD text
    qint32 TypNacteni = 0; // how the code came in; the AS400 line carries it as its last character

    // The type the code was booked to. The type owns its codes; a code only refers back, so a code that
    // outlives its type has none.
    std::shared_ptr<CStrav> TypS() const { return m_typS.lock(); }
    void setTypS(const std::shared_ptr<CStrav>& type) { m_typS = type; }

    // Rebuilds TypNacteni and Kod from a line of an AS400 file: the 22-character code with its check pair
    // recomputed. An error when the line is too short or holds no number where one belongs.
    Status NactiAS400(const QString& line);

    // The face value, from the type's value table or value field and the program's switches. Worked out once
    // and remembered while the code, its type's valuation settings (CStrav::valuationStamp) and the switches stay
    // as they were; any change of them works it out afresh. A value-table type whose table lacks the code's part is worth 0; the operator is
    // told once per code in a run. Errors: no type, a value part that is not a number, and EUR mode without
    // [Data] kurzEuro (60002). A check that only peeks at the value (Report::Silent) tells nobody and leaves
    // the one message to the booking or a later valuation.
    enum class Report { Operator, Silent };
    Result<Currency> DejHodnotu(Report report = Report::Operator) const;

private:
    Result<Currency> valueOf(const CStrav& t, quint64 stamp, Report report) const;

    std::weak_ptr<CStrav> m_typS;
    // The last value worked out, with what it was worked out from. The code's text is held (shared, not copied)
    // so that a new text, which never shares its characters with the one held, is told by their address.
    struct KnownValue {
        const CStrav* type = nullptr;
        quint64 stamp = 0;
        QString kod;
        Currency value;
    };
    mutable KnownValue m_known;
};

} // namespace trv
