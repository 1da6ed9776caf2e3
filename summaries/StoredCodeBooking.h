#pragma once

#include "summaries/StoredCodes.h"

#include <QHash>
#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trv {

struct AppState;
class Booking;
class CColStrav;
class CStrav;
class Prompts;
class ReaderControl;

// Books the codes of stored files (day files, statement files, package and safe-bag files) into a summary's own
// StoredCodes, with the type and face value the booking of a live code would give them. A summary reads up to a
// million codes, so the type is looked up by the code's length: where the voucher types of that length tell
// codes apart only by fixed parts of the code (distinguishing numbers), the answer of the recogniser is kept per
// length and those parts, and the face value per type and value part. Codes the value table lacks are booked at
// 0 (a stored code was accepted when it was read; the operator hears of each missing value once). A code no type
// recognises stops the reader and is reported by the booking, once per line, and is not booked.
class StoredCodeBooking {
public:
    StoredCodeBooking(AppState& state, CColStrav& types, Prompts& prompts, ReaderControl& reader, StoredCodes& into);
    ~StoredCodeBooking();
    StoredCodeBooking(const StoredCodeBooking&) = delete;
    StoredCodeBooking& operator=(const StoredCodeBooking&) = delete;

    // The 0-based type of the code (the first type for the NOREAD text); -1 when no type recognises it, which
    // has then been reported.
    int typeOf(std::string_view code);
    // The same look-up without a word about a code no type recognises (-1): for the reports, which show such a
    // code themselves and go on.
    int typeQuietly(std::string_view code) { return recognise(code); }
    // PridejKod of a stored code (UTF-8): false when it was not booked.
    bool book(std::string_view code, quint32 file);
    // PridejKodDoBaliku: the code is booked only when the package character of its type (at the type's number)
    // in `packageText` is the wanted package (one character for every type, or one per type).
    bool bookToPackage(std::string_view code, quint32 file, const QString& packageText, const QString& wanted);

private:
    struct LengthRule {
        bool cached = false;                    // the answer depends only on the parts below
        std::vector<std::pair<int, int>> parts; // 1-based position and width of each part the types look at
    };
    const LengthRule& ruleFor(size_t length);
    int recognise(std::string_view code);
    qint32 valueOf(int type, std::string_view code);

    AppState& m_state;
    CColStrav& m_types;
    Prompts& m_prompts;
    StoredCodes& m_into;
    std::unique_ptr<Booking> m_booking;
    std::string m_noRead;
    std::unordered_map<size_t, LengthRule> m_rules;
    std::vector<const LengthRule*> m_ruleByLength; // the rules of short codes, by length
    std::unordered_map<std::string, int> m_typeByParts;
    std::unordered_map<std::string, qint32> m_valueByParts;
    std::string m_key;
};

} // namespace trv
