#pragma once

#include <QString>

namespace trv {

struct AppState;
class CColStrav;
class CStrav;
class Prompts;
class ReaderControl;

// The checks a voucher code must pass before it is booked, and the date check of the receipt-start dialogs.
// Each returns true when the code passes or the check does not apply to it; the NOREAD text passes them.
// The code processor runs OverZnaky, OverInterleave, OverDelku, OverPlatnost and OverDarkove in this order and
// reports a failure under its own message key, except where a check has reported it itself: then the check
// stops the reader and sets AppState::bNeplatnaEmise (invalid issue) or AppState::gNehlasitDarkove (blocked
// gift voucher), and the processor drops the code without a second message.
class Kontrola {
public:
    Kontrola(AppState& state, CColStrav& types, Prompts& prompts, ReaderControl& reader);

    // Six digits naming a real day, YYMMDD.
    bool OverDatum(const QString& datum) const;
    // Every character a digit "0" to "9" (the empty text passes).
    bool OverZnaky(const QString& kod) const;
    // Some voucher type accepts the code's length.
    bool OverDelku(const QString& kod) const;
    // The voucher's issue is accepted and its validity has not ended. Reports an invalid issue itself.
    bool OverPlatnost(const QString& kod);
    // Not a refused gift voucher. Reports a blocked gift voucher itself.
    bool OverDarkove(const QString& kod);
    // Every code passes: the blocked number ranges of the configuration are not applied.
    bool OverRozsah(const QString& kod) const;

private:
    struct GiftNumber {
        QString number;   // the code's gift-voucher number, empty when its position is not given
        QString giftList; // the type's gift list for the code's length
        QString blockedList;
    };
    GiftNumber giftNumber(const CStrav& t, const QString& kod, bool cheRule = true) const;
    void reportInvalidIssue(const QString& kod);

    AppState& m_state;
    CColStrav& m_types;
    Prompts& m_prompts;
    ReaderControl& m_reader;
};

// Whether `number` is one of the comma-separated entries of `list` (blanks around entries ignored). An empty
// number is in no list.
bool jeVSeznamu(const QString& list, const QString& number);

} // namespace trv
